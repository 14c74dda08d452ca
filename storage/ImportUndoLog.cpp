#include "storage/ImportUndoLog.h"

#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"

#include <QDebug>

namespace {

const char *const kTables[] = {"import_added", "import_batch", "import_saved_events",
                               "import_saved_reminders", "import_saved_attendees"};

} // namespace

ImportUndoLog::ImportUndoLog(Database *db)
    : m_db(db)
{ }

ImportUndoLog::~ImportUndoLog()
{
    if (!m_begun)
        return;
    for (const char *table : kTables)
        Sql::exec(m_db->connection(),
                  QLatin1String("DROP TABLE IF EXISTS temp.") + QLatin1String(table));
}

bool ImportUndoLog::begin(QString *error)
{
    static const char *const statements[] = {
        "CREATE TEMP TABLE IF NOT EXISTS import_added (id TEXT PRIMARY KEY)",
        "CREATE TEMP TABLE IF NOT EXISTS import_batch (id TEXT PRIMARY KEY)",
        "CREATE TEMP TABLE IF NOT EXISTS import_saved_events AS SELECT * FROM main.events WHERE 0",
        "CREATE TEMP TABLE IF NOT EXISTS import_saved_reminders AS SELECT * FROM main.reminders "
        "WHERE 0",
        "CREATE TEMP TABLE IF NOT EXISTS import_saved_attendees AS SELECT * FROM main.attendees "
        "WHERE 0",
        "DELETE FROM temp.import_added",
        "DELETE FROM temp.import_saved_events",
        "DELETE FROM temp.import_saved_reminders",
        "DELETE FROM temp.import_saved_attendees",
    };
    m_begun = true;
    for (const char *sql : statements) {
        if (!Sql::exec(m_db->connection(), QString::fromLatin1(sql), error))
            return false;
    }
    return true;
}

bool ImportUndoLog::noteAdded(const QString &eventId)
{
    return Sql::run(m_db->connection(),
                    QStringLiteral("INSERT OR IGNORE INTO temp.import_added (id) VALUES (?)"),
                    {eventId});
}

bool ImportUndoLog::noteReplaced(const QString &eventId)
{
    // A row this import added, or one already saved, keeps what the log has of it.
    const int saved = Sql::runCounting(
        m_db->connection(),
        QStringLiteral("INSERT INTO temp.import_saved_events SELECT * FROM main.events WHERE id = "
                       "? AND NOT EXISTS (SELECT 1 FROM temp.import_added WHERE id = ?) AND NOT "
                       "EXISTS (SELECT 1 FROM temp.import_saved_events WHERE id = ?)"),
        {eventId, eventId, eventId}, "ImportUndoLog::noteReplaced failed:");
    if (saved <= 0)
        return saved == 0;
    return Sql::run(m_db->connection(),
                    QStringLiteral("INSERT INTO temp.import_saved_reminders SELECT * FROM "
                                   "main.reminders WHERE event_id = ?"),
                    {eventId})
        && Sql::run(m_db->connection(),
                    QStringLiteral("INSERT INTO temp.import_saved_attendees SELECT * FROM "
                                   "main.attendees WHERE event_id = ?"),
                    {eventId});
}

int ImportUndoLog::undo(int limit)
{
    static const char *const takeBackAdded[] = {
        "DELETE FROM temp.import_batch",
        "INSERT INTO temp.import_batch SELECT id FROM temp.import_added LIMIT ?",
        "DELETE FROM main.reminders WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.attendees WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.attachments WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.events WHERE id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM temp.import_added WHERE id IN (SELECT id FROM temp.import_batch)",
    };
    // The replaced row goes and its copy comes back under the same id; files attached to it
    // meanwhile point at that id, so the keys are checked once the copy is back.
    static const char *const restoreReplaced[] = {
        "DELETE FROM temp.import_batch",
        "INSERT INTO temp.import_batch SELECT id FROM temp.import_saved_events LIMIT ?",
        "PRAGMA defer_foreign_keys = ON",
        "DELETE FROM main.reminders WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.attendees WHERE event_id IN (SELECT id FROM temp.import_batch)",
        "DELETE FROM main.events WHERE id IN (SELECT id FROM temp.import_batch)",
        "INSERT INTO main.events SELECT * FROM temp.import_saved_events WHERE id IN (SELECT id "
        "FROM temp.import_batch)",
        "INSERT INTO main.reminders SELECT * FROM temp.import_saved_reminders WHERE event_id IN "
        "(SELECT id FROM temp.import_batch)",
        "INSERT INTO main.attendees SELECT * FROM temp.import_saved_attendees WHERE event_id IN "
        "(SELECT id FROM temp.import_batch)",
        "DELETE FROM temp.import_saved_reminders WHERE event_id IN (SELECT id FROM "
        "temp.import_batch)",
        "DELETE FROM temp.import_saved_attendees WHERE event_id IN (SELECT id FROM "
        "temp.import_batch)",
        "DELETE FROM temp.import_saved_events WHERE id IN (SELECT id FROM temp.import_batch)",
    };
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("import_undo"));
    QString failure = sp.errorText();
    bool ok = sp.isActive();
    const auto runSteps = [&](const auto &steps) {
        for (const char *step : steps) {
            const QString sql = QString::fromLatin1(step);
            if (ok)
                ok = sql.contains(QLatin1String("LIMIT ?"))
                    ? Sql::run(m_db->connection(), sql, {limit}, &failure)
                    : Sql::exec(m_db->connection(), sql, &failure);
        }
    };
    runSteps(takeBackAdded);
    runSteps(restoreReplaced);
    if (ok && !sp.release()) {
        ok = false;
        failure = sp.errorText();
    }
    if (!ok) {
        qWarning() << "ImportUndoLog::undo failed:" << failure;
        return -1;
    }
    return remaining();
}

int ImportUndoLog::forget(int limit)
{
    static const char *const logTables[] = {"import_added", "import_saved_events",
                                            "import_saved_reminders", "import_saved_attendees"};
    int left = 0;
    for (const char *table : logTables) {
        const QString name = QLatin1String("temp.") + QLatin1String(table);
        const int deleted
            = Sql::runCounting(m_db->connection(),
                               QLatin1String("DELETE FROM ") + name
                                   + QLatin1String(" WHERE rowid IN (SELECT rowid FROM ") + name
                                   + QLatin1String(" LIMIT ?)"),
                               {limit}, "ImportUndoLog::forget failed:");
        if (deleted < 0)
            return -1;
        if (deleted == limit)
            left = 1;
    }
    return left;
}

int ImportUndoLog::remaining()
{
    Sql::Reader r(m_db->connection(),
                  QStringLiteral("SELECT (SELECT COUNT(*) FROM temp.import_added) + (SELECT "
                                 "COUNT(*) FROM temp.import_saved_events)"),
                  "ImportUndoLog::remaining failed:");
    return r.next() ? r.integer(0) : -1;
}
