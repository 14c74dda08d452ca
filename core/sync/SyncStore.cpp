#include "core/sync/SyncStore.h"

#include "core/AppState.h"
#include "core/SyncStatus.h"

namespace Sync {

SyncStore SyncStore::of(const AppState &state)
{
    const SyncStatus *status = state.syncStatus();
    return {state.database(), state.calendars(), state.events(), state.tasks(), state.conflicts(),
            [status](const QString &calendarId) { return status->isImportingInto(calendarId); }};
}

} // namespace Sync
