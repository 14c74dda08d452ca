#include "core/sync/SyncServices.h"

#include "core/AppState.h"
#include "core/sync/ConflictResolutionService.h"
#include "core/sync/SyncCoordinator.h"

namespace Sync {

SyncCoordinator *attachSyncServices(AppState &state, QObject *owner)
{
    state.setConflicts(new ConflictResolutionService(&state, owner));
    auto *coordinator = new SyncCoordinator(&state, owner);
    state.setSyncCoordinator(coordinator);
    return coordinator;
}

} // namespace Sync
