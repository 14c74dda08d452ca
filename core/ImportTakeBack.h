#pragma once

// Taking back, at start, an import that the last run left unfinished (a crash, a kill): the rows
// it added go and those it replaced come back as they were.

#include "core/IcsImport.h"

#include <QObject>
#include <QString>

#include <memory>

class Store;
class ImportUndoLog;

// Runs a slice at a time from the event loop, so that a window can say what is going on: a
// large import takes many seconds to go. Stopped half-way (the program ending), the rest goes at
// the next start: each slice is all or nothing, and the record stays until its last row.
class ImportTakeBack : public QObject
{
    Q_OBJECT
public:
    // Takes up the record the last run left; what is left of a completed import's record is
    // emptied here.
    explicit ImportTakeBack(const Store &store, QObject *parent = nullptr);
    ~ImportTakeBack() override;

    // An unfinished import was found, for start or runToEnd to take back.
    [[nodiscard]] bool isNeeded() const { return m_log != nullptr; }
    [[nodiscard]] QString calendarId() const;
    [[nodiscard]] QString fileName() const;
    // Events to take back, added and replaced ones.
    [[nodiscard]] int total() const { return m_total; }

    // The first slice follows from the event loop; finished comes once, after the last. From
    // here until finished, sync keeps off the calendar.
    void start();
    // Takes it all back before returning, without the event loop.
    IcsImportResult runToEnd();

signals:
    void progress(int done, int total);
    void finished(const IcsImportResult &result);

private:
    // One slice; false once it ended.
    bool slice(qint64 budgetMs);
    void scheduleNext();
    // Ends the hold on sync that start set.
    void release();

    const Store &m_store;
    std::unique_ptr<ImportUndoLog> m_log;
    int m_total = 0;
    int m_done = 0;
    bool m_finished = false;
    bool m_holding = false;
    IcsImportResult m_result;
};

// The take-back at once; the result is cancelled when it was taken back, with what the user is
// told; its message is empty when no import was left.
IcsImportResult takeBackInterruptedImport(const Store &store);
