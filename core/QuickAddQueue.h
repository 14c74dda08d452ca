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
// behind it. The waiting lines are also kept in a small file, so that a quit, the end of the
// session or a crash never loses them: the next start stores them.
class QuickAddQueue : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 1000;
    // How long the last try on the way out waits for another program's write.
    static constexpr int kLastTryWaitMs = 5000;
    // How long one turn of the event loop stores lines that no longer wait (longer while the
    // file takes longer to write); the file is written once a turn, so that thousands of lines
    // neither hold the window nor rewrite the file after each.
    static constexpr int kSliceMs = 40;
    // A file of waiting lines larger than this was not written for a few lines: it is not read.
    static constexpr qint64 kMaxKeptBytes = 16 * 1024 * 1024;

    explicit QuickAddQueue(const Store &store, QObject *parent = nullptr);

    // now is when the line was typed: "tomorrow" keeps that meaning however late it is stored.
    // Stored and Refused tell at once (and signal); Busy means the line waits (waitingLinesKept
    // then tells whether the file took it).
    QuickAddOutcome add(const QString &line, const QString &preferredCalendarId,
                        const QDateTime &now);
    int waitingCount() const { return int(m_waiting.size()); }
    // False while lines wait that the file could not take: they are lost if the program ends.
    bool waitingLinesKept() const { return !m_notKept || m_waiting.isEmpty(); }
    // The pause between tries (tests scale it down).
    void setRetryInterval(int ms) { m_retry.setInterval(ms); }
    // While held, lines are only kept, not tried: no calendar may take them yet because the one
    // they go to is still being made. release() starts the tries.
    void hold() { m_held = true; }
    void release();

    // Adds a line to the waiting lines in path without a database, for whichever start opens it
    // first; a damaged file is kept aside as keepWaitingLinesIn does. False, with the reason,
    // when the file could not take it.
    [[nodiscard]] static bool keepForLater(const QString &path, const QString &line,
                                           const QDateTime &now, QString *error);

    // Keeps the waiting lines in path from now on, and takes over those a run before left
    // there: they are tried from the event loop, typed when they were, and restoredAdded tells
    // how many of them were stored. A file that cannot be read whole is kept aside (keptAside),
    // and the whole lines it holds are taken. A link of that name is neither read nor written
    // through.
    void keepWaitingLinesIn(const QString &path);
    // The last try on the way out, waiting up to waitMs for another program's write and storing
    // for about as long; the lines left stay in the file for the next start (the file is written
    // once more, in case it could not be before). Answers how many stay.
    int tryOnceMoreBeforeQuit(int waitMs = kLastTryWaitMs);
    // On the way out the last tries take over from the tries of the event loop.
    void stopRetrying() { m_retry.stop(); }

signals:
    void added(const QString &line, const QString &id);
    // reason: why the write failed, in SQLite's words; empty when the line itself was refused.
    void refused(const QString &line, const QString &reason);
    // The line waits for another program's write to end; count lines wait in all.
    void waiting(const QString &line, int count);
    // count lines that an earlier run could not store are stored now.
    void restoredAdded(int count);
    // The waiting lines could not be written to the file (count wait): they are lost if the
    // program ends before they are stored.
    void notKept(int count);
    // The file an earlier run left could not be read whole; it is kept as path.
    void keptAside(const QString &path);

private:
    struct Line
    {
        QString text;
        QString preferredCalendarId;
        QDateTime now;
        QString key; // stored with the item, so that a line the file still holds after a
                     // crash is not stored twice
        QByteArray kept; // as the file holds it, made once
    };
    struct Read
    {
        QList<Line> lines;
        QString keptAside; // where a file not read whole went
    };
    static Line newLine(const QString &text, const QString &calendar, const QDateTime &now);
    static Read readFile(const QString &path);
    static QString keepAside(const QString &path);
    // Writes the lines to path, private, checked to the end; the reason when it failed.
    static QString writeFile(const QString &path, QList<Line> &lines);

    QuickAddOutcome tryFirst();
    void retry();
    // Stores lines oldest first until one waits for another program's write or budgetMs pass,
    // then writes the file once. True when it stopped at the budget.
    bool storeSlice(int budgetMs);
    // Writes the waiting lines to the file (removes it when none waits).
    void keep();
    void readKeptLines();

    const Store &m_store;
    QList<Line> m_waiting; // oldest first
    QTimer m_retry;
    QString m_keepPath;
    bool m_kept = false; // the file holds lines
    bool m_notKept = false; // the last write of the file failed
    bool m_held = false;
    QString m_keptAside;
    qint64 m_lastKeepMs = 0; // how long the last write of the file took
    int m_restored = 0; // the first m_restored waiting lines came from the file
    int m_restoredStored = 0;
};
