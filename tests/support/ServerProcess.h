#pragma once

// A real server program (a CalDAV server, a sync server) started by a test on a free loopback
// port and stopped when the object goes. start() returns once the port accepts connections.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace LarkTest {

class ServerProcess
{
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    // Starts program with arguments in which every "%PORT%" is replaced by a free port on
    // 127.0.0.1, and waits up to timeoutMs for that port to accept a connection. Another port
    // is tried when the program exits early (a port taken by a test running beside this one).
    // False when it never came up; output() tells why.
    [[nodiscard]] bool start(const QString &program, const QStringList &arguments,
                             int timeoutMs = 15000);
    void stop();

    bool isRunning() const;
    quint16 port() const { return m_port; }
    // What the program wrote to stdout and stderr so far.
    QString output() const;

    // A port that was free on 127.0.0.1 a moment ago.
    static quint16 freePort();

private:
    bool waitForPort(int timeoutMs);

    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    mutable QByteArray m_output;
};

} // namespace LarkTest
