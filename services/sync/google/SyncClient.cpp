#include "services/sync/google/SyncClient.h"

#include "core/sync/SyncEngine.h"
#include "services/sync/google/GoogleSyncProvider.h"

namespace Google {

SyncClient::SyncClient(AppState *state, QObject *parent)
    : Sync::CalendarSyncClient(state, parent)
{ }

AccountSyncRun *SyncClient::newRun(const Account &account, const Calendar &)
{
    return new Sync::SyncEngine(Sync::SyncStore::of(*state()), account,
                                new GoogleSyncProvider(account), this);
}

} // namespace Google
