#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace LarkTest {

// A private session bus for one test: a dbus-daemon of its own in a temporary folder, ended with
// the test (and with the test process, should that die first).
class SessionBus
{
public:
    SessionBus();
    ~SessionBus();

    // Starts the daemon and waits for its address; false with the reason where it cannot.
    [[nodiscard]] bool start(QString *error);
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

} // namespace LarkTest
