#include "support/SessionBus.h"

#include <QDeadlineTimer>

#include <sys/prctl.h>

#include <csignal>

namespace LarkTest {

SessionBus::SessionBus()
{
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

SessionBus::~SessionBus()
{
    m_daemon.kill();
    m_daemon.waitForFinished(5000);
}

bool SessionBus::start(QString *error)
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--address=unix:dir=") + m_dir.path(),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(5000)) {
        *error = QStringLiteral("dbus-daemon is missing: run scripts/setup");
        return false;
    }
    const QDeadlineTimer deadline(5000);
    while (!m_daemon.canReadLine() && !deadline.hasExpired())
        m_daemon.waitForReadyRead(100);
    if (!m_daemon.canReadLine()) {
        *error = QStringLiteral("dbus-daemon printed no address");
        return false;
    }
    m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    return true;
}

} // namespace LarkTest
