#include "app/Application.h"
#include "platform/LocalZone.h"
#include "platform/SingleInstance.h"

#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    // Before any thread starts: setting TZ later would race with readers of the environment.
    LocalZone::pin();
    const QString rules = startupLoggingRules(qEnvironmentVariable("CALENDAR_INSTANCE"),
                                              qgetenv("QT_LOGGING_RULES"));
    if (!rules.isEmpty())
        QLoggingCategory::setFilterRules(rules);

    Application app(argc, argv);
    auto *singleInstance = new SingleInstance(&app);

    // Qt decodes the process's arguments correctly for every platform (wide characters on
    // Windows), so non-ASCII paths arrive intact.
    const InstanceCommand command = InstanceCommand::fromArguments(QCoreApplication::arguments());
    // This process listens for second starts only once it can carry their commands out
    // (Application::run): a start refused the data folder answers none of them.
    if (const std::optional<int> code
        = SingleInstance::exitCodeOf(singleInstance->forward(command)))
        return *code;
    app.setSingleInstance(singleInstance);
    app.setStartupCommand(command);
    return app.run();
}
