#pragma once

class AppState;
class QObject;

namespace Sync {

class SyncCoordinator;

// Gives a started state its conflict records and the coordinator of its account runs, both owned
// by `owner` (the application, or a test's own state), and answers the coordinator. The state
// only holds them: it knows nothing of how a run goes.
SyncCoordinator *attachSyncServices(AppState &state, QObject *owner);

} // namespace Sync
