#include "core/QuickAddQueue.h"

#include "core/Store.h"

QuickAddQueue::QuickAddQueue(const Store &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    m_retry.setInterval(kRetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &QuickAddQueue::retry);
}

QuickAddOutcome QuickAddQueue::add(const QString &line, const QString &preferredCalendarId,
                                   const QDateTime &now)
{
    m_waiting.append({line, preferredCalendarId, now});
    // Behind a waiting line this one waits too, so that lines are stored in the order given.
    if (m_waiting.size() > 1) {
        emit waiting(line, waitingCount());
        return QuickAddOutcome::Busy;
    }
    return tryFirst();
}

QuickAddOutcome QuickAddQueue::tryFirst()
{
    const Line line = m_waiting.first();
    const QuickAddResult result
        = addFromQuickAdd(m_store, line.text, line.preferredCalendarId, line.now);
    switch (result.outcome) {
    case QuickAddOutcome::Busy:
        if (!m_retry.isActive()) {
            m_retry.start();
            emit waiting(line.text, waitingCount());
        }
        return result.outcome;
    case QuickAddOutcome::Stored:
        m_waiting.removeFirst();
        emit added(line.text, result.id);
        break;
    case QuickAddOutcome::Refused:
        m_waiting.removeFirst();
        emit refused(line.text);
        break;
    }
    if (m_waiting.isEmpty())
        m_retry.stop();
    return result.outcome;
}

void QuickAddQueue::retry()
{
    while (!m_waiting.isEmpty() && tryFirst() != QuickAddOutcome::Busy) { }
}
