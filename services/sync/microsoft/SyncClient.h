#pragma once

// One local calendar of a Microsoft account brought up to date with the Microsoft calendar it
// mirrors: syncCalendar and its three signals, over the sync core with MicrosoftSyncProvider.

#include "core/sync/CalendarSyncClient.h"

namespace Microsoft {

class SyncClient : public Sync::CalendarSyncClient
{
    Q_OBJECT
public:
    explicit SyncClient(AppState *state, QObject *parent = nullptr);

protected:
    AccountSyncRun *newRun(const Account &account, const Calendar &calendar) override;
};

} // namespace Microsoft
