#include "platform/LocalZone.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <time.h>

namespace LocalZone {

namespace {

// The name TZ was pinned to; empty while TZ is not ours.
QByteArray &pinned()
{
    static QByteArray name;
    return name;
}

bool setZone(const QByteArray &name)
{
    if (name.isEmpty() || !QTimeZone(name).isValid())
        return false;
    qputenv("TZ", name);
    tzset();
    pinned() = name;
    return true;
}

} // namespace

QByteArray systemZoneName()
{
    // The link names the zone file below a zoneinfo folder.
    const QString target = QFileInfo(QStringLiteral("/etc/localtime")).symLinkTarget();
    const qsizetype at = target.indexOf(QLatin1String("/zoneinfo/"));
    if (at >= 0)
        return target.mid(at + 10).toUtf8();
    QFile file(QStringLiteral("/etc/timezone"));
    if (file.open(QIODevice::ReadOnly))
        return file.readLine().trimmed();
    return {};
}

void pin()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        setZone(systemZoneName());
}

bool refresh()
{
    if (pinned().isEmpty())
        return false;
    const QByteArray current = systemZoneName();
    return current != pinned() && setZone(current);
}

} // namespace LocalZone
