#pragma once

// Importing the events of one ".ics" file into one calendar: all of them or none.

#include "model/Records.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class Database;
class EventRepository;
class QThread;
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
// file's text are stored in one calendar, a slice at a time, each slice committed on its own;
// what the import wrote is recorded, and a failure or a cancel takes it all back (in slices too)
// before the job finishes. A job also takes up the record an earlier run left. The first slice
// runs on the window's thread, so a small file is done at once; the rest are written from a
// thread of the job's own, on a connection of its own that copies its log into the database as
// it goes, in transactions of up to a second that give way to the window's writes; the window
// hears only of the progress. A slice that meets another program's write lock is
// tried again a moment later, so such a program never fails the import. From its first write
// until its record is gone, sync keeps off the calendar.
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
    [[nodiscard]] bool isFinished() const { return m_finished; }
    [[nodiscard]] bool isTakingBack() const { return m_state == State::TakingBack; }
    // Taken up from the record of an import the last run cut short.
    [[nodiscard]] bool isLeftover() const { return m_leftover; }
    [[nodiscard]] int total() const { return m_total; }
    [[nodiscard]] QString fileName() const { return m_fileName; }
    [[nodiscard]] const IcsImportResult &result() const { return m_result; }

    // Work done in one turn of the event loop before it gets control back.
    static constexpr int kSliceMilliseconds = 20;
    // The longest transaction of the job's own thread: each rewrites the index pages it
    // touches, so fewer of them write far less; a write of the window that waits for one ends
    // it early, so the window never waits long behind it.
    static constexpr int kWorkerSliceMilliseconds = 1000;
    // What a transaction of that thread may leave in the database's log, about: the log stays
    // within this and what one transaction grows past it.
    static constexpr qint64 kLogBytesATransaction = qint64(48) << 20;
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
    // The one slice loop of the window's thread: runs the state's slices until the job ends,
    // waits for a lock, or hands the rest to its own thread.
    void run(qint64 budgetMs);
    // The job's own thread: its connection, and the slice loop until the job ends.
    void work();
    // Takes up the import's record on the connection the slices now use.
    void takeUpRecord();
    // Tells the window's thread, from either thread.
    void tellProgress(int done, int total);
    void tellWaiting(bool waiting);
    // Wakes the job's thread from a wait for another program's lock.
    void wake();
    // On the window's thread, once the job ended: the thread is joined, the calendar freed and
    // finished told.
    void finish();
    // The result of a cancel.
    static IcsImportResult cancelled();
    Slice slice(qint64 budgetMs);
    Slice storeSlice(qint64 budgetMs);
    bool storeBatch(const QDateTime &now);
    // Why a write of the import failed, as the user is told: a full disk by its name.
    IcsImportResult writeFailure() const;
    Slice keepSlice();
    Slice forgetSlice(qint64 budgetMs);
    Slice undoSlice(qint64 budgetMs);
    // Takes back what was stored, then ends with result.
    void takeBack(IcsImportResult result);
    // The write just failed because another connection holds the lock.
    bool busy() const;
    // A write waits for another program's lock only briefly, then the event loop goes on; the
    // job's own thread and a job that ends with the program wait as long as any write.
    bool briefWaits() const { return !m_atOnce && !m_onWorker; }
    // recordGone: the import's rows are as they will stay, so sync may touch the calendar.
    void end(IcsImportResult result, bool recordGone = true);

    const Store &m_store;
    // Where the slices write: the store's connection, or the job thread's own while it runs.
    Database *m_db;
    EventRepository *m_events;
    QString m_text;
    QString m_calendarId;
    QString m_fileName;
    std::atomic<State> m_state {State::Storing};
    int m_total = 0;
    int m_read = 0;
    int m_imported = 0;
    int m_invalid = 0; // events without a usable start
    int m_takenBack = 0;
    std::unique_ptr<ICalendarEventReader> m_reader;
    std::unique_ptr<ImportUndoLog> m_log;
    QString m_databasePath; // for the job's own connection
    std::unique_ptr<QThread> m_worker; // the job's own thread, once the first slice is done
    bool m_onWorker = false; // the slices run on the job's own thread
    bool m_ownThreadWaits = false; // the job's thread told that it waits for another program
    bool m_ownThreadFailed = false; // its connection could not be opened: all on the window's
    std::atomic<bool> m_cancelPending {false}; // for the job's thread to take up
    std::mutex m_wakeMutex;
    std::condition_variable m_wakeUp;
    bool m_leftover = false;
    bool m_holding = false; // sync is held off the calendar
    bool m_wrote = false; // rows may have been written or taken back
    bool m_diskFull = false; // the last write failed for want of room
    bool m_recordGone = true; // as end was told
    bool m_finished = false; // finished was told
    std::atomic<bool> m_atOnce {false}; // the program is ending: no event loop
    bool m_waiting = false; // the last slice met another program's write lock
    QTimer m_next;
    IcsImportResult m_outcome; // the result once the record is gone
    IcsImportResult m_result;
};
