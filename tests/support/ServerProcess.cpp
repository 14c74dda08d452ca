#include "support/ServerProcess.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace LarkTest {

namespace {
constexpr int kAttempts = 3;
}

ServerProcess::~ServerProcess()
{
    stop();
}

quint16 ServerProcess::freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool ServerProcess::start(const QString &program, const QStringList &arguments, int timeoutMs)
{
    stop();
    m_output.clear();
    const QDeadlineTimer deadline(timeoutMs);
    for (int attempt = 0; attempt < kAttempts && !deadline.hasExpired(); ++attempt) {
        m_port = freePort();
        if (m_port == 0)
            return false;
        QStringList args = arguments;
        for (QString &a : args)
            a.replace(QLatin1String("%PORT%"), QString::number(m_port));
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::MergedChannels);
        // A test that crashes or is killed for its time-out takes its server along.
        m_process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        // Drained as it comes so that a chatty server never blocks on a full pipe.
        QProcess *process = m_process.get();
        QObject::connect(process, &QProcess::readyRead, process,
                         [this, process] { m_output += process->readAll(); });
        m_process->start(program, args);
        if (!m_process->waitForStarted(int(deadline.remainingTime()))) {
            m_output += m_process->errorString().toUtf8();
            m_process.reset();
            return false;
        }
        if (waitForPort(int(deadline.remainingTime())))
            return true;
        stop();
    }
    return false;
}

bool ServerProcess::waitForPort(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (m_process->state() == QProcess::NotRunning)
            return false;
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(200)) {
            probe.disconnectFromHost();
            return true;
        }
        QThread::msleep(20);
    }
    return false;
}

void ServerProcess::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    m_output += m_process->readAll();
    m_process.reset();
}

bool ServerProcess::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QString ServerProcess::output() const
{
    if (m_process)
        m_output += m_process->readAll();
    return QString::fromUtf8(m_output);
}

} // namespace LarkTest
