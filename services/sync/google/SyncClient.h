#pragma once

// One local calendar of a Google account brought up to date with the Google calendar it mirrors:
// syncCalendar and its three signals, over the sync core with GoogleSyncProvider.

#include "core/sync/CalendarSyncClient.h"

namespace Google {

class SyncClient : public Sync::CalendarSyncClient
{
    Q_OBJECT
public:
    explicit SyncClient(AppState *state, QObject *parent = nullptr);

protected:
    AccountSyncRun *newRun(const Account &account, const Calendar &calendar) override;
};

} // namespace Google
