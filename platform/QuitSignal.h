#pragma once

#include <QObject>

class QSocketNotifier;

// The system's requests to end the program (SIGTERM: a service stop, the end of the session;
// SIGHUP: the terminal it runs in goes away) as a Qt signal on the event loop, so that they end
// it the way its own Quit does. A second request while it still ends takes the system's default
// action: the program is ended at once.
class QuitSignal : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // One per process; false when the signals cannot be caught (they then end it as before).
    [[nodiscard]] bool install();

signals:
    void requested();

private:
    void readRequest();

    QSocketNotifier *m_notifier = nullptr;
};
