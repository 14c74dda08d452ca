#pragma once

#include "storage/StatementCache.h"

#include <QString>

class Database;

// What an import that commits as it goes has written, kept in the database (the import_ tables)
// so that it can be taken back: the event rows it added, and a copy of each row it replaced (with
// its reminders and attendees) as it was before. The record outlives the process: an import that
// a crash or a kill cut short is found again at the next start (resume) and taken back. One
// import at a time has a record.
class ImportUndoLog
{
public:
    // What the record holds when it is taken up.
    enum class Held {
        Nothing,
        Unfinished, // an import under way, or one cut short: to be taken back
        Kept, // a completed import whose record was not emptied yet
        Unreadable,
    };

    explicit ImportUndoLog(Database *db);
    ~ImportUndoLog();
    ImportUndoLog(const ImportUndoLog &) = delete;
    ImportUndoLog &operator=(const ImportUndoLog &) = delete;

    // Starts the record of an import into the calendar; false (with the store's reason) when it
    // cannot be written. Refused while another import's record is unfinished; the rest of a kept
    // one is emptied first.
    [[nodiscard]] bool begin(const QString &calendarId, const QString &fileName,
                             QString *error = nullptr);
    // Takes up the record an earlier import left.
    [[nodiscard]] Held resume();
    // Of the record taken up or begun.
    [[nodiscard]] QString calendarId() const { return m_calendarId; }
    [[nodiscard]] QString fileName() const { return m_fileName; }

    // Called before the row is written, inside the writer's savepoint.
    [[nodiscard]] bool noteAdded(const QString &eventId);
    [[nodiscard]] bool noteReplaced(const QString &eventId);

    // The import is complete: from here on its record is only emptied, also after a crash.
    [[nodiscard]] bool keep();

    // Events the record still has to take back: added ones and replaced ones.
    [[nodiscard]] int eventsLeft();

    // Takes back up to limit rows, all or nothing; 0 when nothing is left to take back, more
    // while rows are left, or -1 when it failed. The record ends with its last row, or at once
    // when its calendar is gone. "events", when given, is set to how many events this call took
    // back.
    [[nodiscard]] int undo(int limit, int *events = nullptr);

    // Forgets up to limit rows of each table once the import is kept, so that the log does not
    // go all at once (dropping a million rows at the end would hold the window up); a limit
    // below 0 forgets everything. How many rounds may be left (0 when none), or -1 when it
    // failed. The record ends with its last row.
    [[nodiscard]] int forget(int limit);

private:
    enum class Presence { There, Gone, Unknown };
    // Whether the record's calendar still exists.
    [[nodiscard]] Presence calendarPresent();
    [[nodiscard]] int remaining();
    [[nodiscard]] bool endIfEmpty();

    Database *m_db;
    Sql::StatementCache m_statements;
    QString m_calendarId;
    QString m_fileName;
};
