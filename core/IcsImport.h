#pragma once

// Importing the events of one ".ics" file into one calendar: all of them or none.

#include "model/Records.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

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
// a device never ends), one over the size limit, or one without events gives an error.
IcsFileContents readIcsFile(const QString &path);

// Stores the events of one file's text in one calendar, a slice at a time from the event loop so
// the window stays responsive. Each slice is committed on its own, so no write waits for the
// whole file; what the import wrote is logged, and a failure or a cancel takes it all back (in
// slices too) before the job finishes. Records are read from the text slice by slice, never all
// at once.
class IcsImportJob : public QObject
{
    Q_OBJECT
public:
    // "fileName" names the source in the messages.
    IcsImportJob(const Store &store, QString text, QString calendarId, QString fileName,
                 QObject *parent = nullptr);
    ~IcsImportJob() override;

    // Checks the calendar and stores the first slice; the rest follow from the event loop.
    // finished comes exactly once, possibly before start returns.
    void start();
    // Stores everything before returning, without the event loop.
    IcsImportResult runToEnd();
    // Takes back everything stored so far; finished follows, with a cancelled result, once it
    // is all gone.
    void cancel();
    // Ends the job before returning, without the event loop (the program is about to end): an
    // import under way is cancelled and taken back, a take-back runs to its end, and so does
    // the emptying of a complete import's record. finished follows as usual.
    void finishNow();

    [[nodiscard]] int total() const { return m_total; }
    [[nodiscard]] bool isFinished() const { return m_finished; }
    // A cancel or a failure is taking back what was stored.
    [[nodiscard]] bool isTakingBack() const { return m_undoing && !m_finished; }
    [[nodiscard]] const IcsImportResult &result() const { return m_result; }

    // Work done in one turn of the event loop before it gets control back.
    static constexpr int kSliceMilliseconds = 40;

signals:
    void progress(int read, int total);
    void finished(const IcsImportResult &result);

private:
    bool begin();
    // One slice; false once the storing has ended.
    bool storeSlice(qint64 budgetMs);
    bool storeBatch(const QDateTime &now);
    void scheduleNext();
    void finishStoring();
    // Takes back what was stored, then ends with result.
    void takeBack(IcsImportResult result);
    bool undoSlice(qint64 budgetMs);
    // Empties the log of a kept import, then ends with the result waiting.
    bool forgetSlice(qint64 budgetMs);
    void end(IcsImportResult result);

    const Store &m_store;
    QString m_text;
    QString m_calendarId;
    QString m_fileName;
    int m_total = 0;
    int m_read = 0;
    int m_imported = 0;
    int m_invalid = 0; // events without a usable start
    std::unique_ptr<ICalendarEventReader> m_reader;
    std::unique_ptr<ImportUndoLog> m_log;
    bool m_started = false;
    bool m_finished = false;
    bool m_atOnce = false; // runToEnd: no event loop
    bool m_undoing = false;
    bool m_forgetting = false;
    bool m_holding = false; // sync is held off the calendar
    IcsImportResult m_afterUndo; // the result once the log is empty
    IcsImportResult m_result;
};

// Reads the file and stores its events, at once.
IcsImportResult importIcsFile(const Store &store, const QString &path, const QString &calendarId);
