#include "core/sync/SyncStore.h"

#include "core/AppState.h"

namespace Sync {

SyncStore SyncStore::of(const AppState &state)
{
    return {state.database(), state.calendars(), state.events(),
            state.tasks(),    state.conflicts(), state.syncGate()};
}

} // namespace Sync
