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
#include <QTimer>

#include <algorithm>
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

IcsImportJob::IcsImportJob(const Store &store, QString text, QString calendarId, QString fileName,
                           QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_text(std::move(text))
    , m_calendarId(std::move(calendarId))
    , m_fileName(std::move(fileName))
    , m_total(countICalendarEvents(m_text))
{ }

IcsImportJob::~IcsImportJob()
{
    // A job dropped half-way (the program ending) leaves no half import behind; nobody listens
    // any more.
    if (m_started && !m_finished) {
        blockSignals(true);
        finishNow();
    }
}

void IcsImportJob::start()
{
    if (begin() && storeSlice(kSliceMilliseconds))
        scheduleNext();
}

IcsImportResult IcsImportJob::runToEnd()
{
    m_atOnce = true;
    if (begin()) {
        while (storeSlice(-1)) { }
    }
    return m_result;
}

void IcsImportJob::cancel()
{
    if (m_finished || m_undoing || m_forgetting)
        return;
    IcsImportResult result;
    result.cancelled = true;
    result.message = IcsImport::tr("Import cancelled; nothing was imported.");
    if (m_log)
        takeBack(std::move(result));
    else
        end(std::move(result));
}

void IcsImportJob::finishNow()
{
    if (m_finished)
        return;
    m_atOnce = true;
    if (m_forgetting) {
        while (forgetSlice(-1)) { }
    } else if (m_undoing) {
        while (undoSlice(-1)) { }
    } else {
        cancel();
    }
}

bool IcsImportJob::begin()
{
    if (m_started)
        return !m_finished && !m_undoing && !m_forgetting;
    m_started = true;
    const std::optional<Calendar> calendar = m_store.calendars()->byId(m_calendarId);
    if (!calendar) {
        end(failure(IcsImport::tr("Import failed: the chosen calendar does not exist.")));
        return false;
    }
    if (calendar->is_read_only) {
        end(failure(IcsImport::tr("Import failed: the calendar \"%1\" is read-only.")
                        .arg(LocalCalendar::displayName(*calendar))));
        return false;
    }
    m_log = std::make_unique<ImportUndoLog>(m_store.database());
    if (m_log->resume() == ImportUndoLog::Held::Unfinished) {
        m_log.reset();
        end(failure(IcsImport::tr("Import failed: an earlier import has not been taken back.")));
        return false;
    }
    QString error;
    if (!m_log->begin(m_calendarId, m_fileName, &error)) {
        m_log.reset();
        end(failure(
            IcsImport::tr("Import failed: the events could not be stored (%1).").arg(error)));
        return false;
    }
    // From the first write until the import ended or was taken back, no sync run touches the
    // calendar, whoever started the job.
    m_store.imports()->beginImportInto(m_calendarId);
    m_holding = true;
    m_reader = std::make_unique<ICalendarEventReader>(m_text, ICalendarEventReader::Lines::Bounded);
    return true;
}

bool IcsImportJob::storeSlice(qint64 budgetMs)
{
    QElapsedTimer slice;
    slice.start();
    const QDateTime now = m_store.database()->currentDateTimeUtc();
    // One commit a slice: every write waits for the disk once, not once a batch.
    const auto write = [&] {
        bool stored = true;
        do {
            stored = storeBatch(now);
        } while (stored && !m_reader->atEnd() && (budgetMs < 0 || slice.elapsed() < budgetMs));
        return stored;
    };
    // The repository announces the rows it replaced; the slice adds nothing to that.
    if (!Sql::applyAllOrNothing(m_store.database()->connection(), QStringLiteral("ics_import"), {},
                                write, {})) {
        takeBack(failure(IcsImport::tr("Import failed: the events of %1 could not be stored; "
                                       "nothing was imported.")
                             .arg(m_fileName)));
        return false;
    }
    emit progress(m_read, m_total);
    // A receiver may have cancelled.
    if (m_finished || m_undoing)
        return false;
    if (!m_reader->atEnd())
        return true;
    finishStoring();
    return false;
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
    if (!m_store.events()->replaceByUid(events, nullptr, m_log.get()))
        return false;
    m_imported += int(events.size());
    return true;
}

void IcsImportJob::finishStoring()
{
    // From here the import stands, also if the program ends while its record is emptied.
    if (!m_log->keep()) {
        takeBack(failure(IcsImport::tr("Import failed: the events of %1 could not be stored; "
                                       "nothing was imported.")
                             .arg(m_fileName)));
        return;
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
    m_forgetting = true;
    m_afterUndo = std::move(result);
    m_reader.reset();
    if (m_atOnce) {
        while (forgetSlice(-1)) { }
    } else if (forgetSlice(kSliceMilliseconds)) {
        scheduleNext();
    }
}

void IcsImportJob::scheduleNext()
{
    QTimer::singleShot(0, this, [this] {
        if (m_finished)
            return;
        const bool more = m_undoing ? undoSlice(kSliceMilliseconds)
            : m_forgetting          ? forgetSlice(kSliceMilliseconds)
                                    : storeSlice(kSliceMilliseconds);
        if (more)
            scheduleNext();
    });
}

void IcsImportJob::takeBack(IcsImportResult result)
{
    m_undoing = true;
    m_afterUndo = std::move(result);
    m_reader.reset();
    if (m_atOnce) {
        while (undoSlice(-1)) { }
    } else if (undoSlice(kSliceMilliseconds)) {
        scheduleNext();
    }
}

bool IcsImportJob::undoSlice(qint64 budgetMs)
{
    const int left = repeatFor(budgetMs, [this] { return m_log->undo(500); });
    if (left > 0)
        return true;
    // Views may have shown rows of the import while it ran.
    m_store.events()->notifyChanged(m_calendarId);
    if (left < 0) {
        end(failure(IcsImport::tr("Import failed, and some of the events it had stored could not "
                                  "be removed again.")));
        return false;
    }
    end(std::move(m_afterUndo));
    return false;
}

bool IcsImportJob::forgetSlice(qint64 budgetMs)
{
    if (repeatFor(budgetMs, [this] { return m_log->forget(1000); }) > 0)
        return true;
    // The import is stored either way; a log that could not be emptied goes with the tables.
    end(std::move(m_afterUndo));
    return false;
}

void IcsImportJob::end(IcsImportResult result)
{
    m_finished = true;
    m_reader.reset();
    m_log.reset();
    m_text = QString();
    m_result = std::move(result);
    if (std::exchange(m_holding, false))
        m_store.imports()->endImportInto(m_calendarId);
    emit finished(m_result);
}

IcsImportResult importIcsFile(const Store &store, const QString &path, const QString &calendarId)
{
    IcsFileContents contents = readIcsFile(path);
    if (!contents.error.isEmpty())
        return failure(contents.error);
    IcsImportJob job(store, std::move(contents.text), calendarId, QFileInfo(path).fileName());
    return job.runToEnd();
}
