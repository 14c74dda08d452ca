#include "storage/Savepoint.h"

#include "storage/StatementCache.h"

#include <QSqlError>
#include <QSqlQuery>

#include <optional>

namespace Sql {

Savepoint::Savepoint(QSqlDatabase db, const QString &name)
    : m_db(std::move(db))
    , m_name(name)
{
    m_active = run(QStringLiteral("SAVEPOINT ") + m_name, &m_error);
}

Savepoint::Savepoint(StatementCache &cache, const QString &name)
    : m_cache(&cache)
    , m_name(name)
{
    m_active = run(QStringLiteral("SAVEPOINT ") + m_name, &m_error);
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
    if (run(QStringLiteral("RELEASE ") + m_name, &m_error)) {
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
    run(QStringLiteral("ROLLBACK TO ") + m_name);
    run(QStringLiteral("RELEASE ") + m_name);
    m_active = false;
}

} // namespace Sql
