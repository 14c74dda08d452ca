#include "storage/ImportUndoLog.h"

#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"

#include <QDebug>
#include <QSqlError>

namespace {

// The tables of the record and the key their rows are forgotten by.
struct LogTable
{
    const char *name;
    const char *key;
};
const LogTable kLogTables[] = {{"import_added", "id"},
                               {"import_saved_events", "rowid"},
                               {"import_saved_reminders", "rowid"},
                               {"import_saved_attendees", "rowid"}};

} // namespace

ImportUndoLog::ImportUndoLog(Database *db)
    : m_db(db)
    , m_statements(&db->connection())
{ }

ImportUndoLog::~ImportUndoLog() = default;

ImportUndoLog::Held ImportUndoLog::resume()
{
    // The ids of a batch being taken back; nothing that must outlive the connection.
    if (!Sql::exec(m_db->connection(),
                   QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS import_batch (id TEXT PRIMARY "
                                  "KEY)")))
        return Held::Unreadable;
    Sql::Reader r(
        m_db->connection(),
        QStringLiteral("SELECT calendar_id, file_name, kept FROM import_run WHERE id = 1"),
        "ImportUndoLog::resume failed:");
    if (!r.next())
        return r.failed() ? Held::Unreadable : Held::Nothing;
    m_calendarId = r.text(0);
    m_fileName = r.text(1);
    return r.integer(2) != 0 ? Held::Kept : Held::Unfinished;
}

bool ImportUndoLog::begin(const QString &calendarId, const QString &fileName, QString *error)
{
    switch (resume()) {
    case Held::Unreadable:
        if (error)
            *error = QStringLiteral("the import record cannot be read");
        return false;
    case Held::Unfinished:
        if (error)
            *error = QStringLiteral("an earlier import has not ended");
        return false;
    case Held::Kept:
    case Held::Nothing:
        break;
    }
    if (forget(-1) != 0) {
        if (error)
            *error = QStringLiteral("the import record cannot be emptied");
        return false;
    }
    m_calendarId = calendarId;
    m_fileName = fileName;
    return Sql::run(m_db->connection(),
                    QStringLiteral("INSERT INTO import_run (id, calendar_id, file_name) VALUES (1, "
                                   "?, ?)"),
                    {calendarId, fileName}, error);
}

bool ImportUndoLog::noteAdded(const QString &eventId)
{
    QSqlQuery &q
        = m_statements.get(QStringLiteral("INSERT OR IGNORE INTO import_added (id) VALUES (?)"));
    q.addBindValue(eventId);
    if (q.exec())
        return true;
    qWarning() << "ImportUndoLog::noteAdded failed:" << q.lastError().text();
    return false;
}

bool ImportUndoLog::noteReplaced(const QString &eventId)
{
    // A row this import added, or one already saved, keeps what the log has of it.
    QSqlQuery &saveEvent = m_statements.get(QStringLiteral(
        "INSERT INTO import_saved_events SELECT * FROM events WHERE id = ? AND NOT EXISTS "
        "(SELECT 1 FROM import_added WHERE id = ?) AND NOT EXISTS (SELECT 1 FROM "
        "import_saved_events WHERE id = ?)"));
    for (int i = 0; i < 3; ++i)
        saveEvent.addBindValue(eventId);
    if (!saveEvent.exec()) {
        qWarning() << "ImportUndoLog::noteReplaced failed:" << saveEvent.lastError().text();
        return false;
    }
    if (saveEvent.numRowsAffected() <= 0)
        return true;
    for (const QString &sql :
         {QStringLiteral(
              "INSERT INTO import_saved_reminders SELECT * FROM reminders WHERE event_id = ?"),
          QStringLiteral(
              "INSERT INTO import_saved_attendees SELECT * FROM attendees WHERE event_id = ?")}) {
        QSqlQuery &q = m_statements.get(sql);
        q.addBindValue(eventId);
        if (!q.exec()) {
            qWarning() << "ImportUndoLog::noteReplaced failed:" << q.lastError().text();
            return false;
        }
    }
    return true;
}

bool ImportUndoLog::keep()
{
    return Sql::runCounting(m_db->connection(),
                            QStringLiteral("UPDATE import_run SET kept = 1 WHERE id = 1"), {},
                            "ImportUndoLog::keep failed:")
        == 1;
}

int ImportUndoLog::eventsLeft()
{
    Sql::Reader r(m_db->connection(),
                  QStringLiteral("SELECT (SELECT COUNT(*) FROM import_added) + (SELECT COUNT(*) "
                                 "FROM import_saved_events)"),
                  "ImportUndoLog::eventsLeft failed:");
    return r.next() ? r.integer(0) : -1;
}

int ImportUndoLog::undo(int limit, int *events)
{
    static const char *const takeBackAdded[] = {
        "DELETE FROM temp.import_batch",
        "INSERT INTO temp.import_batch SELECT id FROM import_added LIMIT ?",
        "DELETE FROM main.reminders WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.attendees WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.attachments WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.events WHERE id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM import_added WHERE id IN (SELECT id FROM temp.import_batch)",
    };
    // The replaced row goes and its copy comes back under the same id; files attached to it
    // meanwhile point at that id, so the keys are checked once the copy is back.
    static const char *const restoreReplaced[] = {
        "DELETE FROM temp.import_batch",
        "INSERT INTO temp.import_batch SELECT id FROM import_saved_events LIMIT ?",
        "PRAGMA defer_foreign_keys = ON",
        "DELETE FROM main.reminders WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.attendees WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.events WHERE id IN (SELECT id FROM temp.import_batch)",
        "INSERT INTO main.events SELECT * FROM import_saved_events WHERE id IN (SELECT id FROM "
        "temp.import_batch)",
        "INSERT INTO main.reminders SELECT * FROM import_saved_reminders WHERE event_id IN "
        "(SELECT id FROM temp.import_batch)",
        "INSERT INTO main.attendees SELECT * FROM import_saved_attendees WHERE event_id IN "
        "(SELECT id FROM temp.import_batch)",
        "DELETE FROM import_saved_reminders WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM import_saved_attendees WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM import_saved_events WHERE id IN (SELECT id FROM temp.import_batch)",
    };
    // A calendar removed meanwhile took every row of the import with it, and a replaced row's
    // copy could not come back without it: nothing is left to take back, and the record goes.
    switch (calendarPresent()) {
    case Presence::Unknown:
        return -1;
    case Presence::Gone:
        if (events)
            *events = 0;
        return forget(-1);
    case Presence::There:
        break;
    }
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("import_undo"));
    QString failure = sp.errorText();
    bool ok = sp.isActive();
    int taken = 0;
    const auto runSteps = [&](const auto &steps) {
        for (const char *step : steps) {
            const QString sql = QString::fromLatin1(step);
            if (!ok)
                continue;
            if (!sql.contains(QLatin1String("LIMIT ?"))) {
                ok = Sql::exec(m_db->connection(), sql, &failure);
                continue;
            }
            // The batch's events, counted as they are chosen.
            const int batch
                = Sql::runCounting(m_db->connection(), sql, {limit}, "ImportUndoLog::undo failed:");
            ok = batch >= 0;
            if (ok)
                taken += batch;
            else
                failure = QStringLiteral("the rows to take back could not be chosen");
        }
    };
    runSteps(takeBackAdded);
    runSteps(restoreReplaced);
    // The last batch ends the record in the same write.
    if (ok && !endIfEmpty()) {
        ok = false;
        failure = QStringLiteral("the import record could not be ended");
    }
    if (ok && !sp.release()) {
        ok = false;
        failure = sp.errorText();
    }
    if (!ok) {
        qWarning() << "ImportUndoLog::undo failed:" << failure;
        return -1;
    }
    if (events)
        *events = taken;
    return remaining();
}

int ImportUndoLog::forget(int limit)
{
    int left = 0;
    for (const LogTable &table : kLogTables) {
        const QString name = QLatin1String(table.name);
        const QString key = QLatin1String(table.key);
        // All at once, SQLite empties the table without visiting its rows.
        const int deleted = limit < 0
            ? Sql::runCounting(m_db->connection(), QLatin1String("DELETE FROM ") + name, {},
                               "ImportUndoLog::forget failed:")
            : Sql::runCounting(m_db->connection(),
                               QLatin1String("DELETE FROM ") + name + QLatin1String(" WHERE ") + key
                                   + QLatin1String(" IN (SELECT ") + key + QLatin1String(" FROM ")
                                   + name + QLatin1String(" LIMIT ?)"),
                               {limit}, "ImportUndoLog::forget failed:");
        if (deleted < 0)
            return -1;
        if (deleted == limit)
            left = 1;
    }
    if (left > 0)
        return left;
    return endIfEmpty() ? 0 : -1;
}

bool ImportUndoLog::endIfEmpty()
{
    return Sql::exec(m_db->connection(),
                     QStringLiteral("DELETE FROM import_run WHERE NOT EXISTS (SELECT 1 FROM "
                                    "import_added) AND NOT EXISTS (SELECT 1 FROM "
                                    "import_saved_events) AND NOT EXISTS (SELECT 1 FROM "
                                    "import_saved_reminders) AND NOT EXISTS (SELECT 1 FROM "
                                    "import_saved_attendees)"));
}

int ImportUndoLog::remaining()
{
    Sql::Reader r(m_db->connection(),
                  QStringLiteral("SELECT EXISTS (SELECT 1 FROM import_added) + EXISTS (SELECT 1 "
                                 "FROM import_saved_events)"),
                  "ImportUndoLog::remaining failed:");
    return r.next() ? r.integer(0) : -1;
}

ImportUndoLog::Presence ImportUndoLog::calendarPresent()
{
    Sql::Reader r(m_db->connection(), QStringLiteral("SELECT 1 FROM calendars WHERE id = ?"),
                  "ImportUndoLog::undo failed:");
    r.bind(m_calendarId);
    if (r.next())
        return Presence::There;
    return r.failed() ? Presence::Unknown : Presence::Gone;
}
