#pragma once

// Importing the events of one ".ics" file into one calendar: all of them or none.

#include "model/Records.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class BackgroundCheckpoints;
class Store;
class ICalendarEventReader;
class ImportUndoLog;

struct IcsFileContents
{
    QString text; // the whole file; events are read from it while they are stored
    int eventCount = 0; // VEVENT components in the text
    QString error; // why nothing can be imported from the file; empty when events were found
};

struct IcsImportResult
{
    bool ok = false;
    bool cancelled = false;
    int imported = 0;
    int skipped = 0; // components that make no event the calendar can hold
    int shortened = 0; // events stored with a text cut short
    QString message; // what the user is told, success or not
};

// Largest file taken, far above any real calendar.
constexpr qint64 kMaxIcsFileBytes = 100 * 1024 * 1024;

// Reads the file; a missing or unreadable file, anything but a regular file (a pipe would block,
// a device never ends), one over the size limit, or one without events gives an error. The
// bytes become text through decodeICalendarText, so a fold through a multi-byte character reads
// whole.
IcsFileContents readIcsFile(const QString &path);

// One import's whole life, from its first write until its record is gone: the events of a
// file's text are stored in one calendar, a slice at a time from the event loop so the window
// stays responsive, each slice committed on its own; what the import wrote is recorded, and a
// failure or a cancel takes it all back (in slices too) before the job finishes. A job also takes
// up the record an earlier run left. A slice that meets another program's write lock is tried
// again a moment later, so such a program never fails the import. From its first write until
// its record is gone, sync keeps off the calendar.
class IcsImportJob : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Storing, // the file's events are written
        Keeping, // all are stored; the record is marked complete
        Forgetting, // the import stands; its record is emptied
        TakingBack, // what was stored goes again: a cancel, a failure or the last run's end
        Done,
    };

    // "fileName" names the source in the messages.
    IcsImportJob(const Store &store, QString text, QString calendarId, QString fileName,
                 QObject *parent = nullptr);
    // The import the last run left, taken up from its record: an unfinished one is taken back,
    // a complete one's record emptied. Null when it left none.
    static IcsImportJob *resumeLeftover(const Store &store, QObject *parent = nullptr);
    ~IcsImportJob() override;

    // Stores the first slice; the rest follow from the event loop. finished comes exactly once,
    // possibly before start returns.
    void start();
    // Takes back everything stored so far; finished follows, with a cancelled result, once it
    // is all gone. An import that is complete, or already going, goes on.
    void cancel();

    [[nodiscard]] State state() const { return m_state; }
    [[nodiscard]] bool isFinished() const { return m_state == State::Done; }
    [[nodiscard]] bool isTakingBack() const { return m_state == State::TakingBack; }
    // Taken up from the record of an import the last run cut short.
    [[nodiscard]] bool isLeftover() const { return m_leftover; }
    [[nodiscard]] int total() const { return m_total; }
    [[nodiscard]] QString fileName() const { return m_fileName; }
    [[nodiscard]] const IcsImportResult &result() const { return m_result; }

    // Work done in one turn of the event loop before it gets control back.
    static constexpr int kSliceMilliseconds = 40;
    // The pause before a slice that met another program's write lock is tried again.
    static constexpr int kRetryMilliseconds = 500;
    // How long a slice waits for such a lock before it gives the event loop back: a part of
    // its own budget, not the connection's usual wait.
    static constexpr int kLockWaitMilliseconds = 20;

signals:
    // Events read while storing, or taken back of what the last run left.
    void progress(int done, int total);
    // A slice met another program's write lock (true) and waits for it; the first slice that
    // goes on after it says false.
    void waitingForWriter(bool waiting);
    void finished(const IcsImportResult &result);

private:
    // How a slice went.
    enum class Slice { More, Busy, Ended };

    IcsImportJob(const Store &store, QObject *parent);
    // The one slice loop: runs the state's slices until the job ends or waits for a lock.
    void run(qint64 budgetMs);
    Slice slice(qint64 budgetMs);
    Slice storeSlice(qint64 budgetMs);
    bool storeBatch(const QDateTime &now);
    Slice keepSlice();
    Slice forgetSlice(qint64 budgetMs);
    Slice undoSlice(qint64 budgetMs);
    // Takes back what was stored, then ends with result.
    void takeBack(IcsImportResult result);
    // The write just failed because another connection holds the lock.
    bool busy() const;
    // recordGone: the import's rows are as they will stay, so sync may touch the calendar.
    void end(IcsImportResult result, bool recordGone = true);

    const Store &m_store;
    QString m_text;
    QString m_calendarId;
    QString m_fileName;
    State m_state = State::Storing;
    int m_total = 0;
    int m_read = 0;
    int m_imported = 0;
    int m_invalid = 0; // events without a usable start
    int m_takenBack = 0;
    std::unique_ptr<ICalendarEventReader> m_reader;
    std::unique_ptr<ImportUndoLog> m_log;
    std::unique_ptr<BackgroundCheckpoints> m_checkpoints; // while the job writes
    bool m_leftover = false;
    bool m_holding = false; // sync is held off the calendar
    bool m_atOnce = false; // the program is ending: no event loop
    bool m_waiting = false; // the last slice met another program's write lock
    QTimer m_next;
    IcsImportResult m_outcome; // the result once the record is gone
    IcsImportResult m_result;
};
