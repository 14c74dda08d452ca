#include "core/sync/SyncStore.h"

#include "core/AppState.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncCoordinator.h"

namespace Sync {

SyncStore SyncStore::of(const AppState &state)
{
    const SyncCoordinator *coordinator = state.syncCoordinator();
    return {state.database(), state.calendars(), state.events(),
            state.tasks(),    state.conflicts(), coordinator ? coordinator->gate() : nullptr};
}

} // namespace Sync
