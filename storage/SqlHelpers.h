#pragma once

// Small pieces every repository needs: value conversion between records and columns,
// savepoints for writes made of several statements, and binding of long id lists.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <optional>

namespace Sql {

// Ids bound per statement, well below SQLite's limit on bound parameters.
constexpr int kIdChunkSize = 500;

// A text as a bound value: a null text is SQL NULL, an empty text stays the empty text.
QVariant text(const QString &value);

// ISO 8601 text of the value itself (Z, an offset or no suffix); an invalid value is NULL.
QVariant dateTime(const QDateTime &value);
QVariant dateTime(const std::optional<QDateTime> &value);
QString isoText(const QDateTime &value);

// Parses stored ISO 8601 text; empty or NULL gives an invalid date-time.
QDateTime parseDateTime(const QVariant &value);
// Parses stored ISO 8601 text; empty or NULL gives no value.
std::optional<QDateTime> parseOptionalDateTime(const QVariant &value);

// "?, ?, ?" with n placeholders.
QString placeholders(int n, const QString &separator = QStringLiteral(", "));

// A new row id: a UUID without braces.
QString newId();

// An id list as one bound value: a JSON array for "IN (SELECT value FROM json_each(?))".
// One parameter instead of one per id keeps long lists cheap to bind.
QString jsonList(const QStringList &ids);
inline const QString kInJsonList = QStringLiteral("IN (SELECT value FROM json_each(?))");

// Calls fn with consecutive slices of ids, at most chunkSize each; stops at the first false.
bool forEachChunk(const QStringList &ids, const std::function<bool(const QStringList &)> &fn,
                  int chunkSize = kIdChunkSize);

// Binds every value of the list in order after the ones already bound.
void bindAll(QSqlQuery &query, const QStringList &values);

// Runs a prepared read with the values bound in order and turns every row into a record.
// A failing statement reads as no rows.
template<typename Record, typename ReadRow>
QList<Record> selectAll(QSqlDatabase &db, const QString &statement, const QStringList &values,
                        ReadRow readRow)
{
    QList<Record> out;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(statement);
    bindAll(q, values);
    if (!q.exec())
        return out;
    while (q.next())
        out.append(readRow(q));
    return out;
}

// The first record a read yields.
template<typename Record, typename ReadRow>
std::optional<Record> selectOne(QSqlDatabase &db, const QString &statement,
                                const QStringList &values, ReadRow readRow)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(statement);
    bindAll(q, values);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return readRow(q);
}

// Executes a statement that needs no bound values; false on failure.
bool exec(QSqlDatabase &db, const QString &statement, QString *error = nullptr);

// Prepared statements kept for the life of a repository: compiling an insert into a table
// with many indexes costs more than running it. Only for statements that are never nested
// (writes, single-row lookups), since one statement object serves every call.
class StatementCache
{
public:
    // Keeps the connection by address: a copy of the handle would keep the connection
    // registered after its owner closed it.
    explicit StatementCache(QSqlDatabase *db)
        : m_db(db)
    { }
    QSqlQuery &get(const QString &statement);

private:
    struct Entry
    {
        QSqlQuery query;
        bool prepared = false;
    };
    QSqlDatabase *m_db;
    std::map<QString, Entry> m_queries;
};

// A savepoint that rolls back unless released. Works inside or outside a transaction the
// caller holds; released as the outermost savepoint it commits, and a failed commit is rolled
// back, so the connection never stays inside an open transaction.
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
    bool run(const QString &statement, QString *error = nullptr);

    QSqlDatabase m_db;
    StatementCache *m_cache = nullptr;
    QString m_name;
    QString m_error;
    bool m_active = false;
};

} // namespace Sql
