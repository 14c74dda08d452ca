#include "storage/Savepoint.h"

#include "storage/SqlReader.h"
#include "storage/StatementCache.h"

#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <optional>

namespace Sql {

namespace {

bool inTransaction(QSqlDatabase &db)
{
    sqlite3 *handle = handleOf(db);
    return handle && sqlite3_get_autocommit(handle) == 0;
}

} // namespace

Savepoint::Savepoint(QSqlDatabase db, const QString &name)
    : m_db(std::move(db))
    , m_name(name)
{
    begin();
}

Savepoint::Savepoint(StatementCache &cache, const QString &name)
    : m_db(cache.connection())
    , m_cache(&cache)
    , m_name(name)
{
    begin();
}

void Savepoint::begin()
{
    // A deferred transaction that has read cannot wait for the write lock (SQLite answers
    // "database is locked" at once rather than risk a deadlock), so the outermost write takes
    // it first.
    m_ownsTransaction = !inTransaction(m_db);
    m_active = run(m_ownsTransaction ? QStringLiteral("BEGIN IMMEDIATE")
                                     : QStringLiteral("SAVEPOINT ") + m_name,
                   &m_error);
}

Savepoint::~Savepoint()
{
    if (m_active)
        rollback();
}

bool Savepoint::run(const QString &statement, QString *error)
{
    std::optional<QSqlQuery> own;
    QSqlQuery *q = nullptr;
    bool ok = false;
    if (m_cache) {
        q = &m_cache->get(statement);
        ok = q->exec();
    } else {
        q = &own.emplace(m_db);
        ok = q->exec(statement);
    }
    if (!ok && error)
        *error = q->lastError().text();
    return ok;
}

bool Savepoint::release()
{
    if (!m_active)
        return false;
    if (run(m_ownsTransaction ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + m_name,
            &m_error)) {
        m_active = false;
        return true;
    }
    // A failed release of the outermost savepoint is a failed commit: the transaction is
    // still open and must not swallow the session's later writes.
    rollback();
    return false;
}

void Savepoint::rollback()
{
    if (!m_active)
        return;
    if (m_ownsTransaction) {
        run(QStringLiteral("ROLLBACK"));
    } else {
        run(QStringLiteral("ROLLBACK TO ") + m_name);
        run(QStringLiteral("RELEASE ") + m_name);
    }
    m_active = false;
}

} // namespace Sql
