#include "core/IcsImport.h"

#include "core/ImportsUnderWay.h"
#include "core/LocalCalendar.h"
#include "core/Store.h"
#include "model/ICalendarEventReader.h"
#include "platform/FileAccess.h"
#include "storage/AllOrNothing.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/ImportUndoLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace {
// The import's messages as one translation context.
struct IcsImport
{
    Q_DECLARE_TR_FUNCTIONS(IcsImport)
};

IcsImportResult failure(const QString &message)
{
    IcsImportResult result;
    result.message = message;
    return result;
}

// Rows a step of the undo log takes back. A step's cost is mostly its own, not its rows': 5,000
// rows take some 0.5 s at 150,000 stored (the longest the window then waits), and 500-row steps
// take more than twice as long in all.
constexpr int kRowsTakenBackAStep = 5000;
// Rows of each of the record's tables a step forgets: only those rows go, which is quick.
constexpr int kRowsForgottenAStep = 1000;

// Runs a step of the undo log until it says nothing is left (0) or that it failed (below 0), or
// until the budget is spent (a budget below 0 runs it to the end); answers its last word.
template<typename Step> int repeatFor(qint64 budgetMs, Step step)
{
    QElapsedTimer slice;
    slice.start();
    int left = 0;
    do {
        left = step();
    } while (left > 0 && (budgetMs < 0 || slice.elapsed() < budgetMs));
    return left;
}

// Runs write while a statement waits for another program's write lock only briefly: the window
// is not held up, and the job tries again from the event loop. A job that finishes at once (the
// program ending) waits as long as any write.
template<typename Write> auto withBriefWait(Database *db, bool brief, Write write)
{
    const int usual = brief ? db->setStatementWait(IcsImportJob::kLockWaitMilliseconds) : 0;
    const auto result = write();
    if (brief)
        db->setStatementWait(usual);
    return result;
}

// " 3 events without an identifier or a start were skipped.", or nothing when none was.
QString skippedNote(int skipped)
{
    return skipped == 0 ? QString()
                        : QLatin1Char(' ')
            + IcsImport::tr("%Ln event(s) without an identifier or a start were skipped.", nullptr,
                            skipped);
}

QString noEventsFound(const QString &fileName, int skipped)
{
    return IcsImport::tr("Import failed: no events found in %1.").arg(fileName)
        + skippedNote(skipped);
}

// Whether the text gives at least one event the store can take (one with a start); skipped counts
// the components before it that give none. Reads no further than that event.
bool hasUsableEvent(const QString &text, int *skipped)
{
    ICalendarEventReader reader(text);
    int unusable = 0;
    while (!reader.atEnd()) {
        const QList<Event> events = reader.next(1);
        if (!events.isEmpty() && events.first().start_time.isValid())
            return true;
        unusable += int(events.size());
    }
    *skipped = reader.skipped() + unusable;
    return false;
}

} // namespace

IcsFileContents readIcsFile(const QString &path)
{
    IcsFileContents contents;
    const auto unreadable = [&](const QString &reason) {
        contents.error
            = IcsImport::tr("Import failed: the file %1 could not be read (%2).").arg(path, reason);
        return contents;
    };
    const QFileInfo info(path);
    if (!info.exists()) {
        contents.error = IcsImport::tr("Import failed: the file %1 does not exist.").arg(path);
        return contents;
    }
    const QString notRegular = IcsImport::tr("Import failed: %1 is not a regular file.").arg(path);
    const QString tooLarge = IcsImport::tr("Import failed: the file %1 is larger than %2 MB.")
                                 .arg(path)
                                 .arg(kMaxIcsFileBytes / (1024 * 1024));
    // Looked at before opening, and again on what was opened in case the path changed between:
    // opening a pipe would wait for a writer.
    if (!info.isFile()) {
        contents.error = notRegular;
        return contents;
    }
    QFile file;
    qint64 size = 0;
    QString reason;
    switch (openRegularFile(file, path, &size, &reason)) {
    case RegularFileOpen::Failed:
        return unreadable(reason);
    case RegularFileOpen::NotRegular:
        contents.error = notRegular;
        return contents;
    case RegularFileOpen::Opened:
        break;
    }
    if (size > kMaxIcsFileBytes) {
        contents.error = tooLarge;
        return contents;
    }
    // Read in pieces up to the limit: the file may still be growing.
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return unreadable(file.errorString());
        if (got == 0)
            break;
        if (bytes.size() + got > kMaxIcsFileBytes) {
            contents.error = tooLarge;
            return contents;
        }
        bytes.append(chunk.constData(), qsizetype(got));
    }
    contents.text = decodeICalendarText(std::move(bytes));
    bytes = QByteArray();
    contents.eventCount = countICalendarEvents(contents.text);
    // Nobody is asked where to put the events of a file that gives none.
    int skipped = 0;
    if (!hasUsableEvent(contents.text, &skipped)) {
        contents.text = QString();
        contents.error = noEventsFound(QFileInfo(path).fileName(), skipped);
    }
    return contents;
}

IcsImportJob::IcsImportJob(const Store &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_db(store.database())
    , m_events(store.events())
{
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, [this] { run(kSliceMilliseconds); });
}

IcsImportJob::IcsImportJob(const Store &store, QString text, QString calendarId, QString fileName,
                           QObject *parent)
    : IcsImportJob(store, parent)
{
    m_text = std::move(text);
    m_calendarId = std::move(calendarId);
    m_fileName = std::move(fileName);
    m_total = countICalendarEvents(m_text);
}

IcsImportJob *IcsImportJob::resumeLeftover(const Store &store, QObject *parent)
{
    auto log = std::make_unique<ImportUndoLog>(store.database());
    const ImportUndoLog::Held held = log->resume();
    if (held != ImportUndoLog::Held::Unfinished && held != ImportUndoLog::Held::Kept)
        return nullptr;
    auto *job = new IcsImportJob(store, parent);
    job->m_leftover = true;
    job->m_calendarId = log->calendarId();
    job->m_fileName = log->fileName();
    // A complete import's record goes without a word; an unfinished one's rows are taken back.
    job->m_state = held == ImportUndoLog::Held::Kept ? State::Forgetting : State::TakingBack;
    if (held == ImportUndoLog::Held::Unfinished)
        job->m_total = qMax(0, log->eventsLeft());
    job->m_log = std::move(log);
    return job;
}

IcsImportJob::~IcsImportJob()
{
    // A job dropped half-way (the program ending) leaves no half import behind; nobody listens
    // any more. What another program's lock keeps from going now goes at the next start.
    if (!m_holding || m_finished)
        return;
    blockSignals(true);
    m_atOnce = true;
    if (m_worker) {
        cancel();
        wake();
        m_worker->wait();
        m_worker.reset();
    } else if (m_state != State::Done) {
        cancel();
        while (slice(-1) == Slice::More) { }
    }
    if (m_state == State::Done && m_recordGone && std::exchange(m_holding, false))
        m_store.imports()->endImportInto(m_calendarId);
}

IcsImportResult IcsImportJob::cancelled()
{
    IcsImportResult result;
    result.cancelled = true;
    result.message = IcsImport::tr("Import cancelled; nothing was imported.");
    return result;
}

void IcsImportJob::start()
{
    if (m_holding || m_state == State::Done)
        return;
    if (!m_leftover) {
        const std::optional<Calendar> calendar = m_store.calendars()->byId(m_calendarId);
        if (!calendar) {
            end(failure(IcsImport::tr("Import failed: the chosen calendar does not exist.")));
            return;
        }
        if (calendar->is_read_only) {
            end(failure(IcsImport::tr("Import failed: the calendar \"%1\" is read-only.")
                            .arg(LocalCalendar::displayName(*calendar))));
            return;
        }
    }
    // From the first write until the record is gone, no sync run touches the calendar, whoever
    // started the job.
    m_store.imports()->beginImportInto(m_calendarId);
    m_holding = true;
    m_wrote = m_leftover;
    // An import's first slice runs at once, so a small file is done before a dialog could
    // appear; what the last run left goes from the event loop, once its dialog is up.
    if (m_leftover)
        m_next.start(0);
    else
        run(kSliceMilliseconds);
}

void IcsImportJob::cancel()
{
    // The job's thread may be ending the storing at the same moment: one of the two wins.
    State storing = State::Storing;
    if (!m_state.compare_exchange_strong(storing, State::TakingBack))
        return;
    if (m_worker) {
        m_cancelPending = true;
        wake();
        return;
    }
    IcsImportResult result = cancelled();
    if (!m_log) {
        end(std::move(result));
        return;
    }
    // A small import is taken back at once.
    takeBack(std::move(result));
    run(kSliceMilliseconds);
}

void IcsImportJob::run(qint64 budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    Slice went = Slice::More;
    bool handedOver = false;
    do {
        const State before = m_state;
        went = slice(qMax(qint64(1), budgetMs - clock.elapsed()));
        // A state that ended hands over to the next in the same turn: a small import is done
        // before start returns.
        handedOver = m_state != before;
    } while (went == Slice::More && (handedOver || clock.elapsed() < budgetMs));
    if (went == Slice::Busy) {
        m_next.start(kRetryMilliseconds);
        if (!std::exchange(m_waiting, true))
            emit waitingForWriter(true);
        return;
    }
    if (went == Slice::More) {
        if (std::exchange(m_waiting, false))
            emit waitingForWriter(false);
        if (m_atOnce || m_ownThreadFailed) {
            m_next.start(0);
            return;
        }
        // The rest is written from the job's own thread, on its own connection.
        m_log.reset();
        m_databasePath = m_db->connection().databaseName();
        m_worker.reset(QThread::create([this] { work(); }));
        m_worker->start();
    }
}

void IcsImportJob::work()
{
    Database db;
    if (!db.open(m_databasePath, QStringLiteral("ics-import-%1").arg(quintptr(this)))) {
        // The window's thread goes on with it, as it began.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_worker->wait();
                m_worker.reset();
                m_ownThreadFailed = true;
                takeUpRecord();
                run(kSliceMilliseconds);
            },
            Qt::QueuedConnection);
        return;
    }
    db.setBackgroundWriter(true);
    EventRepository events(&db);
    m_db = &db;
    m_events = &events;
    m_onWorker = true;
    takeUpRecord();
    // The longer a transaction, the fewer times the pages every one of them touches (those of
    // the indexes) are written; but all it wrote stays in the log until it commits, and a large
    // calendar's indexes make that much. So the budget shrinks when a commit left more in the
    // log than wanted, and grows back when less.
    qint64 budgetMs = kWorkerSliceMilliseconds;
    for (;;) {
        m_cancelPending = false;
        const Slice went = slice(budgetMs);
        if (went != Slice::Busy && std::exchange(m_ownThreadWaits, false))
            tellWaiting(false);
        const qint64 logged = db.logBytesAtLastCommit();
        if (logged > kLogBytesATransaction)
            budgetMs = qMax<qint64>(kSliceMilliseconds, budgetMs * 3 / 4);
        else if (logged < kLogBytesATransaction * 3 / 4)
            budgetMs = qMin<qint64>(kWorkerSliceMilliseconds, budgetMs * 5 / 4);
        if (went == Slice::Ended)
            break;
        if (went == Slice::Busy) {
            // Ending, the rest goes at the next start.
            if (m_atOnce)
                break;
            if (!std::exchange(m_ownThreadWaits, true))
                tellWaiting(true);
            std::unique_lock<std::mutex> lock(m_wakeMutex);
            m_wakeUp.wait_for(lock, std::chrono::milliseconds(kRetryMilliseconds),
                              [this] { return m_cancelPending || m_atOnce; });
            continue;
        }
        // A write of the window that waits goes first; another program's gets a moment too.
        // The log is copied to its end once the window's readers let it, so that the next
        // transaction starts it again from its head instead of making it longer.
        QElapsedTimer yielding;
        yielding.start();
        bool copied = false;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            // Again after a write of the window went in: it left its pages in the log too.
            copied = db.copyLog();
        } while ((Database::anotherConnectionWaits() || !copied)
                 && yielding.elapsed() < kSliceMilliseconds);
    }
    // Nothing is left for the window's next write to copy.
    (void)db.copyLog();
    m_log.reset();
    m_onWorker = false;
    m_db = m_store.database();
    m_events = m_store.events();
}

void IcsImportJob::takeUpRecord()
{
    if (m_state == State::Done)
        return;
    m_log = std::make_unique<ImportUndoLog>(m_db);
    (void)m_log->resume();
}

void IcsImportJob::tellProgress(int done, int total)
{
    if (QThread::currentThread() == thread()) {
        emit progress(done, total);
        return;
    }
    // A write that went through ends the wait first.
    if (std::exchange(m_ownThreadWaits, false))
        tellWaiting(false);
    QMetaObject::invokeMethod(
        this,
        [this, done, total] {
            // The window's views hear of the rows written on the other connection.
            m_store.events()->notifyChanged(m_calendarId);
            emit progress(done, total);
        },
        Qt::QueuedConnection);
}

void IcsImportJob::tellWaiting(bool waiting)
{
    QMetaObject::invokeMethod(
        this, [this, waiting] { emit waitingForWriter(waiting); }, Qt::QueuedConnection);
}

void IcsImportJob::wake()
{
    {
        const std::lock_guard<std::mutex> lock(m_wakeMutex);
    }
    m_wakeUp.notify_all();
}

IcsImportJob::Slice IcsImportJob::slice(qint64 budgetMs)
{
    // Finishing at once, every slice runs to its end.
    if (m_atOnce)
        budgetMs = -1;
    // A cancel from the window's thread while this thread stored: what was stored goes.
    if (m_state == State::TakingBack && m_reader)
        takeBack(cancelled());
    switch (m_state.load()) {
    case State::Storing:
        return storeSlice(budgetMs);
    case State::Keeping:
        return keepSlice();
    case State::Forgetting:
        return forgetSlice(budgetMs);
    case State::TakingBack:
        return undoSlice(budgetMs);
    case State::Done:
        break;
    }
    return Slice::Ended;
}

bool IcsImportJob::busy() const
{
    return m_db->lastFailureWasBusy();
}

IcsImportJob::Slice IcsImportJob::storeSlice(qint64 budgetMs)
{
    if (!m_log) {
        auto log = std::make_unique<ImportUndoLog>(m_db);
        if (log->resume() == ImportUndoLog::Held::Unfinished) {
            end(failure(
                IcsImport::tr("Import failed: an earlier import has not been taken back.")));
            return Slice::Ended;
        }
        QString error;
        if (!withBriefWait(m_db, briefWaits(),
                           [&] { return log->begin(m_calendarId, m_fileName, &error); })) {
            if (busy())
                return Slice::Busy;
            m_diskFull = m_db->lastFailureWasFull();
            end(m_diskFull
                    ? writeFailure()
                    : failure(IcsImport::tr("Import failed: the events could not be stored (%1).")
                                  .arg(error)));
            return Slice::Ended;
        }
        m_log = std::move(log);
        m_wrote = true;
        m_reader
            = std::make_unique<ICalendarEventReader>(m_text, ICalendarEventReader::Lines::Bounded);
    }
    QElapsedTimer slice;
    slice.start();
    const QDateTime now = m_db->currentDateTimeUtc();
    bool began = false;
    // One commit a slice: every write waits for the disk once, not once a batch.
    const auto write = [&] {
        began = true;
        // The slice is the one savepoint: a failed slice is rolled back whole and taken back.
        const EventRepository::WholeStep step(m_events);
        bool stored = true;
        do {
            stored = storeBatch(now);
        } while (stored && !m_reader->atEnd() && (budgetMs < 0 || slice.elapsed() < budgetMs)
                 && !(m_onWorker && Database::anotherConnectionWaits()));
        // Told before the rollback, which leaves the connection's last word at success.
        m_diskFull = !stored && m_db->lastFailureWasFull();
        return stored;
    };
    // The repository announces the rows it replaced; the slice adds nothing to that.
    if (!withBriefWait(m_db, briefWaits(), [&] {
            return Sql::applyAllOrNothing(m_db->connection(), QStringLiteral("ics_import"), {},
                                          write, {});
        })) {
        // Events read by a slice rolled back cannot be read again: only one that never began
        // waits for the other program.
        if (!began && busy())
            return Slice::Busy;
        takeBack(writeFailure());
        return Slice::More;
    }
    tellProgress(m_read, m_total);
    // A receiver may have cancelled, or a cancel may come from the window's thread now.
    State storing = State::Storing;
    if (m_reader && m_reader->atEnd())
        m_state.compare_exchange_strong(storing, State::Keeping);
    return Slice::More;
}

IcsImportResult IcsImportJob::writeFailure() const
{
    if (m_diskFull)
        return failure(IcsImport::tr("Import failed: the disk is full, so nothing was imported."));
    return failure(IcsImport::tr("Import failed: the events of %1 could not be stored; nothing "
                                 "was imported.")
                       .arg(m_fileName));
}

bool IcsImportJob::storeBatch(const QDateTime &now)
{
    // Small batches, so that a slice ends soon after its budget is spent.
    constexpr int kBatch = 50;
    QList<Event> events = m_reader->next(kBatch);
    m_read = m_reader->skipped() + m_imported + m_invalid + int(events.size());
    // The store needs a start; an event without a usable one is skipped, not the file.
    const auto unusable = std::remove_if(events.begin(), events.end(),
                                         [](const Event &e) { return !e.start_time.isValid(); });
    m_invalid += int(events.end() - unusable);
    events.erase(unusable, events.end());
    for (Event &event : events) {
        event.calendar_id = m_calendarId;
        event.sync_status = QStringLiteral("pending");
        event.deleted_at.reset();
        event.etag.clear();
        event.href.clear();
        if (!event.created.isValid())
            event.created = now;
        if (!event.last_modified.isValid())
            event.last_modified = now;
    }
    // The same event imported again replaces the earlier copy instead of doubling it.
    if (!m_events->replaceByUid(events, nullptr, m_log.get()))
        return false;
    m_imported += int(events.size());
    return true;
}

IcsImportJob::Slice IcsImportJob::keepSlice()
{
    // From here the import stands, also if the program ends while its record is emptied.
    if (!withBriefWait(m_db, briefWaits(), [&] { return m_log->keep(); })) {
        if (busy())
            return Slice::Busy;
        m_diskFull = m_db->lastFailureWasFull();
        takeBack(writeFailure());
        return Slice::More;
    }
    const int skipped = m_reader->skipped() + m_invalid;
    IcsImportResult result;
    result.skipped = skipped;
    result.shortened = m_reader->shortened();
    const QString shortenedText = result.shortened == 0 ? QString()
                                                        : QLatin1Char(' ')
            + IcsImport::tr("Over-long text in %Ln event(s) was shortened.", nullptr,
                            result.shortened);
    if (m_imported == 0) {
        result.message = noEventsFound(m_fileName, skipped);
    } else {
        result.ok = true;
        result.imported = m_imported;
        result.message
            = IcsImport::tr("Imported %Ln event(s) from %1.", nullptr, m_imported).arg(m_fileName)
            + shortenedText + skippedNote(skipped);
    }
    m_outcome = std::move(result);
    m_reader.reset();
    m_text = QString();
    m_state = State::Forgetting;
    return Slice::More;
}

IcsImportJob::Slice IcsImportJob::forgetSlice(qint64 budgetMs)
{
    // Each step commits on its own: the rows only go, and a step that went stays gone.
    const int left = withBriefWait(m_db, briefWaits(), [&] {
        return repeatFor(budgetMs,
                         [&] { return m_log->forget(budgetMs < 0 ? -1 : kRowsForgottenAStep); });
    });
    if (left < 0 && busy())
        return Slice::Busy;
    if (left > 0)
        return Slice::More;
    // The import stands either way; a record that could not be emptied goes with the next one.
    end(std::move(m_outcome));
    return Slice::Ended;
}

void IcsImportJob::takeBack(IcsImportResult result)
{
    m_state = State::TakingBack;
    m_outcome = std::move(result);
    m_reader.reset();
    m_text = QString();
}

IcsImportJob::Slice IcsImportJob::undoSlice(qint64 budgetMs)
{
    int left = 0;
    int taken = 0;
    const bool undone = withBriefWait(m_db, briefWaits(), [&] {
        return Sql::applyAllOrNothing(
            m_db->connection(), QStringLiteral("import_take_back"), {},
            [&] {
                left = repeatFor(budgetMs, [&] {
                    int events = 0;
                    const int rest = m_log->undo(kRowsTakenBackAStep, &events);
                    taken += qMax(0, events);
                    return rest;
                });
                return left >= 0;
            },
            {});
    });
    if (!undone && busy())
        return Slice::Busy;
    if (undone) {
        m_takenBack += taken;
        // What the last run left is counted down; a cancel's take-back is only said to go on.
        if (m_leftover)
            tellProgress(m_takenBack, m_total);
        if (left > 0)
            return Slice::More;
    }
    if (!undone) {
        // The record stays, and the next start takes the rest back; till then sync keeps off.
        // A take-back that fails after the disk filled up fails for that.
        const QString full = m_diskFull || m_db->lastFailureWasFull()
            ? QLatin1Char(' ') + IcsImport::tr("The disk is full.")
            : QString();
        end(failure((m_leftover
                         ? IcsImport::tr("The import of %1 did not finish in the last run; some "
                                         "of the events it had stored could not be taken back "
                                         "yet, and will be at the next start.")
                               .arg(m_fileName)
                         : IcsImport::tr("Import failed, and some of the events it had stored "
                                         "could not be removed again."))
                    + full),
            false);
        return Slice::Ended;
    }
    // Whatever ended the last run (a kill, the system's end, a full disk), it ended the import.
    if (m_leftover) {
        m_outcome.cancelled = true;
        m_outcome.message
            = IcsImport::tr("The import of %1 did not finish in the last run; the %Ln event(s) "
                            "it had stored have been taken back.",
                            nullptr, m_takenBack)
                  .arg(m_fileName);
    }
    end(std::move(m_outcome));
    return Slice::Ended;
}

void IcsImportJob::end(IcsImportResult result, bool recordGone)
{
    m_reader.reset();
    m_log.reset();
    m_text = QString();
    m_result = std::move(result);
    m_recordGone = recordGone;
    m_state = State::Done;
    if (m_onWorker)
        QMetaObject::invokeMethod(this, &IcsImportJob::finish, Qt::QueuedConnection);
    else
        finish();
}

void IcsImportJob::finish()
{
    m_next.stop();
    if (m_worker) {
        m_worker->wait();
        m_worker.reset();
    }
    m_finished = true;
    // Views may have shown rows of the import, or may show them now.
    if (m_wrote)
        m_store.events()->notifyChanged(m_calendarId);
    if (m_recordGone && std::exchange(m_holding, false))
        m_store.imports()->endImportInto(m_calendarId);
    emit finished(m_result);
}
