#include "storage/Database.h"

#include "model/Clock.h"
#include "storage/SqlReader.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

// When a connection of this program last tried for the write lock in vain (steady clock, ns);
// a background writer counts as awaited for a few tries of the waiter after it.
std::atomic<qint64> g_lastWaitNs {0};
// Background writers open now: while there is one, it alone copies the log.
std::atomic<int> g_backgroundWriters {0};
constexpr qint64 kAwaitedNs = 5'000'000;

qint64 steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const QString kSchemaVersionTable = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS schema_version (  version    INTEGER PRIMARY KEY,  name  "
    "     TEXT NOT NULL,  applied_at TEXT NOT NULL DEFAULT (datetime('now')))");

Database::Migration migration(int version, const char *name, const char *file)
{
    return {version, QString::fromLatin1(name),
            QStringLiteral(":/sql/sql/migrations/") + QString::fromLatin1(file)};
}

} // namespace

Database::Database(QObject *parent)
    : QObject(parent)
    , m_migrations(builtinMigrations())
{ }

Database::~Database()
{
    setBackgroundWriter(false);
    if (m_opened) {
        const QString name = m_db.connectionName();
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
}

const QList<Database::Migration> &Database::builtinMigrations()
{
    static const QList<Migration> migrations = {
        migration(1, "initial", "001_initial.sql"),
        migration(2, "event_sync", "002_event_sync.sql"),
        migration(3, "tasks_sync", "003_tasks_sync.sql"),
        migration(4, "accounts_sort_order", "004_accounts_sort_order.sql"),
        migration(5, "provider_event_idx", "005_provider_event_id_index.sql"),
        migration(6, "events_uid_unique", "006_events_uid_unique.sql"),
        migration(7, "tasks_dateonly_repeat", "007_tasks_dateonly_and_repeat_mode.sql"),
        migration(8, "accounts_soft_delete", "008_accounts_soft_delete.sql"),
        migration(9, "event_related_to", "009_event_related_to.sql"),
        migration(10, "task_reminders", "010_task_reminders.sql"),
        migration(11, "task_item_type", "011_task_item_type.sql"),
        migration(12, "reminder_schedule", "012_reminder_schedule.sql"),
        migration(13, "events_range_indexes", "013_events_range_indexes.sql"),
        migration(14, "reminder_triggers_utc", "014_reminder_triggers_utc.sql"),
        migration(15, "calendar_preference_time", "015_calendar_preference_time.sql"),
        migration(16, "import_log", "016_import_log.sql"),
        migration(17, "quick_add_keys", "017_quick_add_keys.sql"),
    };
    return migrations;
}

QDateTime Database::currentDateTimeUtc() const
{
    return Clock::nowUtc();
}

bool Database::open(const QString &path, const QString &connectionName)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    m_db.setDatabaseName(path);
    if (!m_db.open()) {
        qCritical() << "Failed to open database:" << m_db.lastError().text();
        noteOpenFailure(m_db.lastError().databaseText());
        return false;
    }
    if (const QString mismatch = librarySharedWithDriver(); !mismatch.isEmpty()) {
        qCritical().noquote() << "Refusing the database:" << mismatch;
        m_openFailure = mismatch;
        m_openFailureBusy = false;
        m_db.close();
        return false;
    }
    QSqlQuery q(m_db);
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    // Statement and savepoint journals, and the temporary tables, stay in memory: as files they
    // were written and thrown away by the hundred during a large import.
    q.exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    // Reading through a memory map and a larger page cache keeps view reloads of big
    // calendars from being dominated by read calls. Both count in the program's memory, beside
    // the range reads' records, so they stay at 64 MB each.
    q.exec(QStringLiteral("PRAGMA mmap_size=67108864"));
    q.exec(QStringLiteral("PRAGMA cache_size=-65536"));
    if (sqlite3 *handle = Sql::handleOf(m_db)) {
        // The connection's only hooks: Qt's driver sets one only for notifications, which this
        // program does not subscribe to.
        sqlite3_update_hook(handle, &Database::onRowWrite, this);
        sqlite3_commit_hook(handle, &Database::onCommit, this);
        sqlite3_rollback_hook(handle, &Database::onRollback, this);
        // In place of SQLite's own automatic checkpoint, which does the same without telling.
        sqlite3_wal_hook(handle, &Database::onLogWritten, this);
        if (q.exec(QStringLiteral("PRAGMA page_size")) && q.next())
            m_pageSize = q.value(0).toLongLong();
        q.finish();
    }
    m_opened = true;
    applyBusyTimeout(m_busyTimeoutMs);
    return true;
}

void Database::setBusyTimeouts(int statementMs, int migrationMs)
{
    m_busyTimeoutMs = statementMs;
    m_migrationBusyTimeoutMs = migrationMs;
    if (m_opened)
        applyBusyTimeout(m_busyTimeoutMs);
}

int Database::setStatementWait(int ms)
{
    const int was = std::exchange(m_busyTimeoutMs, ms);
    if (m_opened)
        applyBusyTimeout(m_busyTimeoutMs);
    return was;
}

void Database::applyBusyTimeout(int ms)
{
    m_waitMs = ms;
    if (sqlite3 *handle = Sql::handleOf(m_db))
        sqlite3_busy_handler(handle, &Database::onBusy, this);
}

int Database::onBusy(void *self, int count)
{
    auto *db = static_cast<Database *>(self);
    if (count == 0)
        db->m_busySince.start();
    if (!db->m_backgroundWriter)
        g_lastWaitNs.store(steadyNs(), std::memory_order_relaxed);
    if (db->m_busySince.elapsed() >= db->m_waitMs)
        return 0;
    // Short steps: a background writer lets the waiter in between two of its transactions.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

bool Database::anotherConnectionWaits()
{
    return steadyNs() - g_lastWaitNs.load(std::memory_order_relaxed) < kAwaitedNs;
}

QString Database::librarySharedWithDriver()
{
    // The driver's library answers through Qt's query, this program's through its own call.
    QSqlQuery q(m_db);
    const QString theirs = q.exec(QStringLiteral("SELECT sqlite_source_id()")) && q.next()
        ? q.value(0).toString()
        : QString();
    q.finish();
    const QString ours = QString::fromLatin1(sqlite3_sourceid());
    if (theirs != ours) {
        return QStringLiteral("Qt's SQLite driver uses SQLite %1, the program SQLite %2; both "
                              "must use the same library")
            .arg(theirs.isEmpty() ? QStringLiteral("(unknown)") : theirs.left(19), ours.left(19));
    }
    // The handle must be the driver's connection to this very file, as this library sees it.
    sqlite3 *handle = Sql::handleOf(m_db);
    const char *file = handle ? sqlite3_db_filename(handle, "main") : nullptr;
    if (!file
        || QFileInfo(QString::fromUtf8(file)).canonicalFilePath()
            != QFileInfo(m_db.databaseName()).canonicalFilePath())
        return QStringLiteral("Qt's SQLite driver gave no connection the program can use");
    return QString();
}

bool Database::lastFailureWasBusy()
{
    sqlite3 *handle = Sql::handleOf(m_db);
    if (!handle)
        return false;
    const int code = sqlite3_errcode(handle) & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool Database::lastFailureWasFull()
{
    sqlite3 *handle = Sql::handleOf(m_db);
    return handle && (sqlite3_errcode(handle) & 0xff) == SQLITE_FULL;
}

void Database::watchRowWrites(QObject *owner,
                              std::function<void(QByteArrayView table, qint64 rowid)> watcher)
{
    m_watchers.emplace_back(owner, std::move(watcher));
    connect(owner, &QObject::destroyed, this, [this, owner] {
        m_watchers.erase(std::remove_if(m_watchers.begin(), m_watchers.end(),
                                        [owner](const auto &w) { return w.first == owner; }),
                         m_watchers.end());
    });
}

Sql::DataVersion Database::rowVersion()
{
    Sql::DataVersion v = Sql::dataVersion(m_db);
    // The file's version moves once with every commit of this connection; those that wrote
    // rows were told to the watchers row by row.
    if (v.isValid())
        v.file -= m_rowCommits;
    return v;
}

void Database::onRowWrite(void *self, int, const char *database, const char *table, qint64 rowid)
{
    if (qstrcmp(database, "main") != 0)
        return;
    auto *db = static_cast<Database *>(self);
    db->m_rowsWritten = true;
    const QByteArrayView name(table);
    for (const auto &[owner, watcher] : db->m_watchers)
        watcher(name, rowid);
}

int Database::onCommit(void *self)
{
    auto *db = static_cast<Database *>(self);
    if (db->m_rowsWritten)
        ++db->m_rowCommits;
    db->m_rowsWritten = false;
    return 0; // the commit goes ahead
}

int Database::onLogWritten(void *self, sqlite3 *handle, const char *database, int pages)
{
    auto *db = static_cast<Database *>(self);
    db->m_logBytes = qint64(pages) * db->m_pageSize;
    // Copies what no reader still needs without waiting for anyone; run after the commit, with
    // the write lock already given up.
    constexpr int kUsualPages = 1000;
    if (pages >= kUsualPages && (db->m_backgroundWriter || g_backgroundWriters == 0))
        sqlite3_wal_checkpoint_v2(handle, database, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
}

void Database::setBackgroundWriter(bool background)
{
    if (std::exchange(m_backgroundWriter, background) != background)
        g_backgroundWriters += background ? 1 : -1;
}

bool Database::copyLog()
{
    sqlite3 *handle = Sql::handleOf(m_db);
    int logged = 0;
    int copied = 0;
    return handle
        && sqlite3_wal_checkpoint_v2(handle, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logged, &copied)
        == SQLITE_OK
        && copied == logged;
}

void Database::onRollback(void *self)
{
    static_cast<Database *>(self)->m_rowsWritten = false;
}

void Database::noteOpenFailure(const QString &error)
{
    m_openFailureBusy = lastFailureWasBusy();
    m_openFailure = error;
}

bool Database::anotherWriterHolds(const QString &path)
{
    sqlite3 *handle = nullptr;
    bool held = false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE,
                        nullptr)
        == SQLITE_OK) {
        const int begun = sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        held = (begun & 0xff) == SQLITE_BUSY || (begun & 0xff) == SQLITE_LOCKED;
        if (begun == SQLITE_OK)
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(handle);
    return held;
}

bool Database::migrate()
{
    m_openFailure.clear();
    m_openFailureBusy = false;
    applyBusyTimeout(m_migrationBusyTimeoutMs);
    const bool migrated = migrateSchema();
    applyBusyTimeout(m_busyTimeoutMs);
    return migrated;
}

bool Database::migrateSchema()
{
    QSqlQuery q(m_db);
    if (!q.exec(kSchemaVersionTable)) {
        qCritical() << "Failed to create schema_version table:" << q.lastError().text();
        noteOpenFailure(q.lastError().databaseText());
        return false;
    }

    int current = 0;
    {
        Sql::Reader r(m_db, QStringLiteral("SELECT MAX(version) FROM schema_version"),
                      "Database::migrate failed:");
        if (r.next())
            current = r.integer(0);
    }

    for (const Migration &m : std::as_const(m_migrations)) {
        if (m.version <= current)
            continue;
        QFile file(m.resourcePath);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            const QString message
                = QStringLiteral("Cannot read migration file: %1").arg(m.resourcePath);
            qCritical().noquote() << message;
            noteOpenFailure(message);
            emit migrationError(m.version, message);
            return false;
        }
        const QString script = QString::fromUtf8(file.readAll());
        if (!applyMigration(m.version, m.name, script))
            return false;
    }

    // A schema that is current but cannot be written would let every later edit fail.
    return checkWritable();
}

bool Database::checkWritable()
{
    QSqlQuery q(m_db);
    if (q.exec(QStringLiteral("DELETE FROM schema_version WHERE version IS NULL")))
        return true;
    qCritical() << "Database is not writable:" << q.lastError().text();
    noteOpenFailure(q.lastError().databaseText());
    return false;
}

bool Database::applyMigration(int version, const QString &name, const QString &script)
{
    // Without a transaction a failure would leave the migration half applied for good.
    if (!m_db.transaction()) {
        const QString error = m_db.lastError().text();
        qCritical() << "Migration" << version << "failed: cannot begin a transaction:" << error;
        noteOpenFailure(m_db.lastError().databaseText());
        emit migrationError(version, error);
        return false;
    }

    const QStringList statements = splitStatements(script);
    for (const QString &statement : statements) {
        QSqlQuery q(m_db);
        if (!q.exec(statement)) {
            const QString error = q.lastError().text();
            qCritical().noquote() << "Migration" << version << "failed:" << error
                                  << "\nStatement:" << statement.left(200);
            noteOpenFailure(q.lastError().databaseText());
            q.finish();
            m_db.rollback();
            emit migrationError(version, error);
            return false;
        }
    }

    QSqlQuery insert(m_db);
    insert.prepare(QStringLiteral("INSERT INTO schema_version (version, name) VALUES (?, ?)"));
    insert.addBindValue(version);
    insert.addBindValue(name);
    if (!insert.exec()) {
        const QString error = insert.lastError().text();
        noteOpenFailure(insert.lastError().databaseText());
        insert.finish();
        m_db.rollback();
        emit migrationError(version, error);
        return false;
    }
    insert.finish();

    if (!m_db.commit()) {
        const QString error = m_db.lastError().text();
        qCritical() << "Migration" << version << "failed: commit failed:" << error;
        noteOpenFailure(m_db.lastError().databaseText());
        m_db.rollback();
        emit migrationError(version, error);
        return false;
    }
    qInfo() << "Applied migration" << version << name;
    emit migrationApplied(version, name);
    return true;
}

QStringList Database::splitStatements(const QString &script)
{
    QStringList result;
    QString current;
    int depth = 0;

    const auto flush = [&]() {
        QString s = current.trimmed();
        current.clear();
        if (s.isEmpty() || s == QLatin1String(";"))
            return;
        if (s.endsWith(QLatin1Char(';')))
            s.chop(1);
        s = s.trimmed();
        if (!s.isEmpty())
            result.append(s);
    };

    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("--")))
            continue;
        current += line;
        current += QLatin1Char('\n');
        const QString upper = t.toUpper();
        if (upper.contains(QLatin1String("BEGIN")))
            ++depth;
        if (upper.startsWith(QLatin1String("END")) && depth >= 1)
            --depth;
        if (depth != 0)
            continue;
        if (!t.endsWith(QLatin1Char(';')))
            continue;
        flush();
    }
    flush();
    return result;
}
