#pragma once

#include <QSqlDatabase>
#include <QString>

namespace Sql {

class StatementCache;

// A savepoint that rolls back unless released. Works inside or outside a transaction the
// caller holds; released as the outermost savepoint it commits, and a failed commit is rolled
// back, so the connection never stays inside an open transaction. The outermost one takes the
// write lock as it begins: a write that meets another writer then waits for it (the
// connection's busy timeout), instead of failing at once when it reads before it writes.
class Savepoint
{
public:
    Savepoint(QSqlDatabase db, const QString &name);
    // Runs its statements through the cache: for writes made thousands of times in a row.
    Savepoint(StatementCache &cache, const QString &name);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    bool isActive() const { return m_active; }
    // Keeps the changes. False (with everything rolled back) when the release fails.
    [[nodiscard]] bool release();
    // Drops every change made since the savepoint.
    void rollback();
    QString errorText() const { return m_error; }

private:
    void begin();
    bool run(const QString &statement, QString *error = nullptr);

    QSqlDatabase m_db;
    StatementCache *m_cache = nullptr;
    QString m_name;
    QString m_error;
    bool m_active = false;
    bool m_ownsTransaction = false;
};

} // namespace Sql
