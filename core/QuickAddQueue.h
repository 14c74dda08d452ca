#pragma once

#include "core/QuickAdd.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class Store;

// Quick-add lines the user handed over, stored in the order given. While another program holds
// the database's write lock a line is kept, and tried again from the event loop until it is
// stored, so the window never waits for that program; lines handed over meanwhile queue up
// behind it.
class QuickAddQueue : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 1000;

    explicit QuickAddQueue(const Store &store, QObject *parent = nullptr);

    // now is when the line was typed: "tomorrow" keeps that meaning however late it is stored.
    // Stored and Refused tell at once (and signal); Busy means the line waits.
    QuickAddOutcome add(const QString &line, const QString &preferredCalendarId,
                        const QDateTime &now);
    int waitingCount() const { return int(m_waiting.size()); }
    // The pause between tries (tests scale it down).
    void setRetryInterval(int ms) { m_retry.setInterval(ms); }

signals:
    void added(const QString &line, const QString &id);
    void refused(const QString &line);
    // The line waits for another program's write to end; count lines wait in all.
    void waiting(const QString &line, int count);

private:
    struct Line
    {
        QString text;
        QString preferredCalendarId;
        QDateTime now;
    };

    QuickAddOutcome tryFirst();
    void retry();

    const Store &m_store;
    QList<Line> m_waiting; // oldest first
    QTimer m_retry;
};
