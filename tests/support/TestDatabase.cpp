#include "support/TestDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace LarkTest {

QList<Database::Migration> migrationsUpTo(int n)
{
    return Database::builtinMigrations().mid(0, n);
}

TestDatabase::TestDatabase(int upToVersion)
{
    m_db = std::make_unique<Database>();
    if (!m_dir.isValid() || !m_db->open(path()))
        return;
    if (upToVersion >= 0)
        m_db->setMigrations(migrationsUpTo(upToVersion));
    m_valid = m_db->migrate();
    m_db->setMigrations(Database::builtinMigrations());
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::path() const
{
    return m_dir.filePath(QStringLiteral("calendar.db"));
}

void TestDatabase::close()
{
    m_db.reset();
}

Database *TestDatabase::reopen()
{
    m_db.reset();
    m_db = std::make_unique<Database>();
    m_valid = m_db->open(path());
    return m_db.get();
}

bool TestDatabase::exec(const QString &statement, const QVariantList &values) const
{
    QSqlQuery q(m_db->connection());
    q.prepare(statement);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.exec())
        return true;
    qWarning().noquote() << "test statement failed:" << q.lastError().text() << statement;
    return false;
}

QVariant TestDatabase::scalar(const QString &statement, const QVariantList &values) const
{
    QSqlQuery q(m_db->connection());
    q.prepare(statement);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        return {};
    return q.value(0);
}

bool TestDatabase::addCalendar(const QString &calendarId, const QString &accountId)
{
    return exec(QStringLiteral(
                    "INSERT OR IGNORE INTO accounts (id, name, type) VALUES (?, ?, 'caldav')"),
                {accountId, accountId})
        && exec(QStringLiteral(
                    "INSERT INTO calendars (id, account_id, url, name) VALUES (?, ?, ?, ?)"),
                {calendarId, accountId, calendarId, calendarId});
}

bool TestDatabase::failUpdatesOf(const QString &table, const QString &id, const QString &failAt)
{
    // Trigger bodies cannot take bound values; the names and ids are the test's own literals.
    const QString when = QStringLiteral(" AFTER UPDATE ON ") + table
        + QStringLiteral(" WHEN NEW.id = '") + id + QStringLiteral("' BEGIN ");
    if (failAt == QLatin1String("update"))
        return exec(QStringLiteral("CREATE TRIGGER fail_update") + when
                    + QStringLiteral("SELECT RAISE(ABORT, 'update refused'); END"));
    return exec(QStringLiteral("CREATE TABLE IF NOT EXISTS commit_guard_parent (id TEXT PRIMARY "
                               "KEY)"))
        && exec(QStringLiteral("CREATE TABLE IF NOT EXISTS commit_guard (parent TEXT REFERENCES "
                               "commit_guard_parent(id) DEFERRABLE INITIALLY DEFERRED)"))
        && exec(QStringLiteral("CREATE TRIGGER fail_commit") + when
                + QStringLiteral("INSERT INTO commit_guard VALUES ('missing'); END"));
}

} // namespace LarkTest
