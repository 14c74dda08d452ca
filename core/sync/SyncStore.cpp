#include "core/sync/SyncStore.h"

#include "core/AppState.h"
#include "core/ImportsUnderWay.h"

namespace Sync {

SyncStore SyncStore::of(const AppState &state)
{
    const ImportsUnderWay *imports = state.store().imports();
    const auto importing = [imports](const QString &calendarId) {
        return imports->isImportingInto(calendarId);
    };
    return {state.database(), state.calendars(), state.events(),
            state.tasks(),    state.conflicts(), importing};
}

} // namespace Sync
