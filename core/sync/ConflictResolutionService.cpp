#include "core/sync/ConflictResolutionService.h"

#include "model/Clock.h"
#include "model/Identifiers.h"

namespace Sync {

ConflictResolutionService::ConflictResolutionService(AppState *appState, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
{ }

void ConflictResolutionService::recordConflict(const Event &local, const Event &remote)
{
    for (const Conflict &conflict : qAsConst(m_conflicts)) {
        if (conflict.local.id == local.id)
            return;
    }
    Conflict conflict;
    conflict.id = newId();
    conflict.local = local;
    conflict.remote = remote;
    conflict.detectedAt = Clock::nowUtc();
    m_conflicts.append(conflict);
    emit conflictsChanged();
}

} // namespace Sync
