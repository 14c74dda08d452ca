#include "services/sync/google/SyncClient.h"

#include "core/sync/SyncEngine.h"
#include "services/sync/google/GoogleSyncProvider.h"

namespace Google {

SyncClient::SyncClient(AppState *state, QObject *parent)
    : Sync::CalendarSyncClient(state, parent)
{ }

AccountSyncRun *SyncClient::newRun(const Account &account)
{
    return new Sync::SyncEngine(state(), account, new GoogleSyncProvider(state(), account), this);
}

} // namespace Google
