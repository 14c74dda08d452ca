#pragma once

#include <QString>

#include <functional>

class QObject;
class QTimer;

// Announces a calendar's change once writes have been quiet for 150 ms; the last calendar id
// given wins. The timer is a child of the owner.
class ChangeCoalescer
{
public:
    ChangeCoalescer(QObject *owner, std::function<void(const QString &)> announce);
    // A change still waiting is dropped.
    ~ChangeCoalescer();
    ChangeCoalescer(const ChangeCoalescer &) = delete;
    ChangeCoalescer &operator=(const ChangeCoalescer &) = delete;
    void notify(const QString &calendarId);

private:
    QTimer *m_timer;
    QString m_pendingCalendarId;
    std::function<void(const QString &)> m_announce;
};
