// Compiled into every test executable: the program's services are registered for any AppState
// a test starts, as the program's start does.
#include "app/ServiceWiring.h"

#include <QCoreApplication>

Q_COREAPP_STARTUP_FUNCTION(registerAppServices)
