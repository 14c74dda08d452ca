#pragma once

#include <QString>

class Database;

// What an import that commits as it goes has written, kept in the connection's temporary tables
// so that it can be taken back: the event rows it added, and a copy of each row it replaced
// (with its reminders and attendees) as it was before. Temporary tables live outside the data
// file, so keeping the log costs the store nothing; it ends with the object (or the process).
class ImportUndoLog
{
public:
    explicit ImportUndoLog(Database *db);
    ~ImportUndoLog();
    ImportUndoLog(const ImportUndoLog &) = delete;
    ImportUndoLog &operator=(const ImportUndoLog &) = delete;

    // Starts an empty log; false (with the store's reason) when the tables cannot be made.
    [[nodiscard]] bool begin(QString *error = nullptr);

    // Called before the row is written, inside the writer's savepoint.
    [[nodiscard]] bool noteAdded(const QString &eventId);
    [[nodiscard]] bool noteReplaced(const QString &eventId);

    // Takes back up to limit rows, all or nothing; how many are left to take back, or -1 when
    // it failed.
    [[nodiscard]] int undo(int limit);

    // Forgets up to limit rows of each table once the import is kept, so that the log does not
    // go all at once (dropping a million rows at the end would hold the window up); how many
    // rounds may be left (0 when none), or -1 when it failed.
    [[nodiscard]] int forget(int limit);

private:
    [[nodiscard]] int remaining();

    Database *m_db;
    bool m_begun = false;
};
