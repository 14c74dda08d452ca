#include "services/sync/microsoft/SyncClient.h"

#include "core/sync/SyncEngine.h"
#include "services/sync/microsoft/MicrosoftSyncProvider.h"

namespace Microsoft {

SyncClient::SyncClient(AppState *state, QObject *parent)
    : Sync::CalendarSyncClient(state, parent)
{ }

AccountSyncRun *SyncClient::newRun(const Account &account, const Calendar &)
{
    return new Sync::SyncEngine(Sync::SyncStore::of(*state()), account,
                                new MicrosoftSyncProvider(account), this);
}

} // namespace Microsoft
