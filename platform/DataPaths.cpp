#include "platform/DataPaths.h"

#include "platform/DesktopEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

QString environmentText(const char *name)
{
    return QString::fromUtf8(qgetenv(name));
}

const auto kIcsDesktopId = QStringLiteral("LarkspindleCalendar.desktop");
const auto kProductName = QStringLiteral("Larkspindle Calendar");

QString programCommand(const QString &programPath, const QString &arguments)
{
    return DesktopEntry::execArgument(QDir::toNativeSeparators(programPath), true)
        + QLatin1Char(' ') + arguments;
}

} // namespace

QString dataDirectory()
{
    QString dir = environmentText("CALENDAR_DATA_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Larkspindle/Calendar");
    // A failure shows up later, when the database cannot be opened there.
    QDir().mkpath(dir);
    return dir;
}

QString databasePath()
{
    return dataDirectory() + QStringLiteral("/calendar.db");
}

QString instanceName()
{
    return environmentText("CALENDAR_INSTANCE");
}

bool isDevInstance()
{
    return instanceName() == QLatin1String("dev");
}

QString applicationIdentifier()
{
    const QString base = QStringLiteral("com.larkspindle.calendar");
    const QString instance = instanceName();
    return instance.isEmpty() ? base : base + QLatin1Char('.') + instance;
}

QString launchAtLoginValueName()
{
    const QString base = QStringLiteral("LarkspindleCalendar");
    const QString instance = instanceName();
    return instance.isEmpty() ? base : base + QLatin1Char('-') + instance;
}

QString launchAtLoginEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/") + launchAtLoginValueName() + QStringLiteral(".desktop");
}

bool isLaunchAtLoginEnabled()
{
    const auto keys = DesktopEntry::read(launchAtLoginEntryPath());
    if (!keys)
        return false;
    // Session managers honour these two switches, so an entry carrying them does not start us.
    const bool hidden = keys->value(QStringLiteral("Hidden")) == QLatin1String("true");
    const bool gnomeOff
        = keys->value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false");
    return !keys->value(QStringLiteral("Exec")).trimmed().isEmpty() && !hidden && !gnomeOff;
}

bool setLaunchAtLogin(bool enabled)
{
    return setLaunchAtLogin(enabled, QCoreApplication::applicationFilePath());
}

bool setLaunchAtLogin(bool enabled, const QString &programPath)
{
    const QString path = launchAtLoginEntryPath();
    if (!enabled) {
        QFile::remove(path);
        return !QFile::exists(path);
    }
    return DesktopEntry::write(
        path,
        {{QStringLiteral("Type"), QStringLiteral("Application")},
         {QStringLiteral("Name"), kProductName},
         {QStringLiteral("Exec"), programCommand(programPath, QStringLiteral("--background"))}});
}

QString icsDesktopEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/applications/") + kIcsDesktopId;
}

QString mimeAppsListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/mimeapps.list");
}

bool registerIcsFileAssociation()
{
    return registerIcsFileAssociation(QCoreApplication::applicationFilePath());
}

bool registerIcsFileAssociation(const QString &programPath)
{
    // "%f" is the launcher's placeholder for the opened file; it must stay outside quotes.
    const bool entryWritten = DesktopEntry::write(
        icsDesktopEntryPath(),
        {{QStringLiteral("Type"), QStringLiteral("Application")},
         {QStringLiteral("Name"), kProductName},
         {QStringLiteral("Exec"), programCommand(programPath, QStringLiteral("--ics %f"))},
         {QStringLiteral("MimeType"), QStringLiteral("text/calendar;")},
         {QStringLiteral("NoDisplay"), QStringLiteral("true")}});
    return entryWritten
        && DesktopEntry::setDefaultApplicationIfUnset(
               mimeAppsListPath(), QStringLiteral("text/calendar"), kIcsDesktopId);
}
