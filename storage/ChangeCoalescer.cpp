#include "storage/ChangeCoalescer.h"

#include <QTimer>

ChangeCoalescer::ChangeCoalescer(QObject *owner, std::function<void(const QString &)> announce)
    : m_timer(new QTimer(owner))
    , m_announce(std::move(announce))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(150);
    // A coarse timer may fire up to 5 % early; the quiet period is a promise to listeners.
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] {
        // Cleared before announcing so that a write made by a listener schedules its own.
        const QString calendarId = m_pendingCalendarId;
        m_pendingCalendarId.clear();
        m_announce(calendarId);
    });
}

ChangeCoalescer::~ChangeCoalescer()
{
    delete m_timer;
}

void ChangeCoalescer::notify(const QString &calendarId)
{
    m_pendingCalendarId = calendarId;
    m_timer->start();
}
