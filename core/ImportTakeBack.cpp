#include "core/ImportTakeBack.h"

#include "core/ImportsUnderWay.h"
#include "core/Store.h"
#include "storage/EventRepository.h"
#include "storage/ImportUndoLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {
// The import's messages as one translation context.
struct IcsImport
{
    Q_DECLARE_TR_FUNCTIONS(IcsImport)
};

// Rows a step takes back, and so about what a turn of the event loop does: a step's cost is
// mostly its commit (some 0.3 s at 150,000 rows), so smaller steps would make the whole take
// longer (500-row steps triple it); 5,000 take some 0.7 s.
constexpr int kBatch = 5000;
} // namespace

ImportTakeBack::ImportTakeBack(const Store &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_log(std::make_unique<ImportUndoLog>(store.database()))
{
    switch (m_log->resume()) {
    case ImportUndoLog::Held::Kept:
        // The import was complete; only its record was left.
        (void)m_log->forget(-1);
        m_log.reset();
        break;
    case ImportUndoLog::Held::Nothing:
    case ImportUndoLog::Held::Unreadable:
        m_log.reset();
        break;
    case ImportUndoLog::Held::Unfinished:
        m_total = qMax(0, m_log->eventsLeft());
        break;
    }
}

ImportTakeBack::~ImportTakeBack()
{
    release();
}

void ImportTakeBack::release()
{
    if (m_holding)
        m_store.imports()->endImportInto(m_log->calendarId());
    m_holding = false;
}

QString ImportTakeBack::calendarId() const
{
    return m_log ? m_log->calendarId() : QString();
}

QString ImportTakeBack::fileName() const
{
    return m_log ? m_log->fileName() : QString();
}

void ImportTakeBack::start()
{
    // No sync run touches the calendar before its rows are as they were.
    if (m_log && !m_holding) {
        m_store.imports()->beginImportInto(m_log->calendarId());
        m_holding = true;
    }
    scheduleNext();
}

IcsImportResult ImportTakeBack::runToEnd()
{
    while (slice(-1)) { }
    return m_result;
}

void ImportTakeBack::scheduleNext()
{
    QTimer::singleShot(0, this, [this] {
        if (slice(IcsImportJob::kSliceMilliseconds))
            scheduleNext();
    });
}

bool ImportTakeBack::slice(qint64 budgetMs)
{
    if (m_finished)
        return false;
    if (!m_log) {
        m_finished = true;
        emit finished(m_result);
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    int left = 0;
    do {
        int events = 0;
        left = m_log->undo(kBatch, &events);
        m_done += qMax(0, events);
    } while (left > 0 && (budgetMs < 0 || clock.elapsed() < budgetMs));
    if (left > 0) {
        emit progress(m_done, m_total);
        return true;
    }
    emit progress(m_done, m_total);
    // Views may show rows of the import.
    m_store.events()->notifyChanged(m_log->calendarId());
    IcsImportResult result;
    result.cancelled = left == 0;
    result.message = left == 0
        ? IcsImport::tr("The import of %1 was cut short when the program ended; the %Ln event(s) "
                        "it had stored have been taken back.",
                        nullptr, m_done)
              .arg(m_log->fileName())
        : IcsImport::tr("The import of %1 was cut short when the program ended, and the events it "
                        "had stored could not be taken back.")
              .arg(m_log->fileName());
    m_finished = true;
    m_result = std::move(result);
    release();
    emit finished(m_result);
    return false;
}

IcsImportResult takeBackInterruptedImport(const Store &store)
{
    ImportTakeBack takeBack(store);
    return takeBack.runToEnd();
}
