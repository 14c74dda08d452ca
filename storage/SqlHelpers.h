#pragma once

// Small pieces every repository needs: value conversion between records and columns,
// savepoints for writes made of several statements, and binding of long id lists.

#include "model/Records.h"

#include <QByteArrayView>
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
#include <vector>

class QObject;
class QTimer;
struct sqlite3;
struct sqlite3_stmt;

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

// SQLite's handle of an open connection; null when it is closed.
sqlite3 *handleOf(QSqlDatabase &db);

// A read run through SQLite's own statement interface on the connection Qt holds. Texts come
// straight from the row's UTF-8 and numbers as numbers: reading large lists through QSqlQuery
// spends most of its time converting every text to UTF-16 and wrapping every column in a
// QVariant. Values read as QSqlQuery's would (NULL is the null text, an empty text is empty).
class Reader
{
public:
    // Prepares the statement; a failure is logged after logName ("<Class>::<op> failed:").
    Reader(QSqlDatabase &db, const QString &statement, const char *logName);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // Binds the next parameter; a null text binds NULL.
    void bind(const QString &value);
    void bind(qint64 value);
    void bindAll(const QStringList &values);
    // Steps to the next row. False at the end and on a failure, which is logged.
    bool next();
    bool failed() const { return m_failed; }

    bool isNull(int column) const;
    QString text(int column) const;
    int integer(int column) const;
    QDateTime dateTime(int column) const;
    std::optional<QDateTime> optionalDateTime(int column) const;

private:
    // The column's text as SQLite holds it; null for NULL.
    QByteArrayView utf8(int column) const;
    void fail();

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    const char *m_logName;
    int m_nextParameter = 1;
    bool m_failed = false;
};

// Runs a read with the values bound in order and turns every row into a record. A failing
// statement is logged and yields the rows read before it failed.
template<typename Record, typename ReadRow>
QList<Record> readAll(QSqlDatabase &db, const QString &statement, const QStringList &values,
                      const char *logName, ReadRow readRow)
{
    QList<Record> out;
    Reader r(db, statement, logName);
    r.bindAll(values);
    while (r.next())
        out.append(readRow(r));
    return out;
}

// The first record a read yields.
template<typename Record, typename ReadRow>
std::optional<Record> readOne(QSqlDatabase &db, const QString &statement, const QStringList &values,
                              const char *logName, ReadRow readRow)
{
    Reader r(db, statement, logName);
    r.bindAll(values);
    if (!r.next())
        return std::nullopt;
    return readRow(r);
}

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

// The first column of the first row a read yields as text; empty when there is none.
QString selectText(QSqlDatabase &db, const QString &statement, const QStringList &values);

// Executes a statement that needs no bound values; false on failure.
bool exec(QSqlDatabase &db, const QString &statement, QString *error = nullptr);

// Executes a statement with the values bound in order; false (with the driver's text) on failure.
bool run(QSqlDatabase &db, const QString &statement, const QVariantList &values,
         QString *error = nullptr);

// Leaves a tombstone for the configuration sync: deleted_at and updated_at set to now and the
// row "pending". The table name is one of the program's own, never outside text.
bool markDeleted(QSqlDatabase &db, const QString &table, const QString &id, const QVariant &now);

// Gives the ids the keys 10, 20, 30 ... in list order through a statement that takes
// (key, now, id), all or nothing. An empty list changes nothing.
bool renumber(QSqlDatabase &db, const QString &statement, const QStringList &ids,
              const QVariant &now);

// Stored date-times keep their own suffix (Z, an offset or none for local time), so range
// queries compare their texts against bounds widened by the largest UTC offsets (-12 h to
// +14 h) and then filter the rows exactly by instant.
constexpr qint64 kZoneSlackSecs = 14 * 3600;
// The UTC text of t moved by secs, without suffix, for comparing with stored texts.
QString widenedBound(const QDateTime &t, qint64 secs);

// Child rows keep their id only when they already belong to this owner; rows copied from
// another owner (a duplicate, a split series) get fresh ids instead of colliding.
QString childId(const QString &id, const QString &recordOwnerId, const QString &ownerId);

// Reminder rows of events and tasks share their shape:
// (id, owner id, minutes_before, action, acknowledged, trigger_time).
Reminder readReminderRow(const Reader &r);

class StatementCache;
// Writes the reminder rows of one owner into table (owner id in ownerColumn), first deleting
// the old ones when replace is set. ownerOf names the record field holding the owner a reminder
// came from; triggerTime gives the stored trigger. Stops at the first failure, logged under
// logName.
bool writeReminderRows(StatementCache &cache, const QString &table, const QString &ownerColumn,
                       const QString &ownerId, const QList<Reminder> &reminders, bool replace,
                       QString Reminder::*ownerOf,
                       const std::function<QVariant(const Reminder &)> &triggerTime,
                       const char *logName);

// The owners of child rows, indexed once for every child table loaded for them: the row of
// each owner id, and the ids as JSON lists of 500, sorted so that each statement walks one
// stretch of the owner-id index.
class ChildOwners
{
public:
    template<typename Owner> explicit ChildOwners(const QList<Owner> &owners)
    {
        m_index.reserve(owners.size());
        QStringList ids;
        ids.reserve(owners.size());
        for (qsizetype i = 0; i < owners.size(); ++i) {
            if (add(owners.at(i).id, i))
                ids << owners.at(i).id;
        }
        setIds(ids);
    }

    // The row of the owner with this id; -1 for none.
    qsizetype indexOf(const QString &id) const { return m_index.value(id, -1); }
    const QStringList &idChunks() const { return m_idChunks; }
    // Owners listed again after their first row: (row, first row).
    const QList<std::pair<qsizetype, qsizetype>> &repeats() const { return m_repeats; }

private:
    // False when the id was listed before.
    bool add(const QString &id, qsizetype row);
    void setIds(QStringList ids);

    QHash<QString, qsizetype> m_index;
    QStringList m_idChunks;
    QList<std::pair<qsizetype, qsizetype>> m_repeats;
};

// Loads one child table for the owners, 500 owner ids a statement, and moves each owner its
// rows in statement order. The statement has "%1" where the id filter goes and yields the owner
// id in its second column. A failing statement is logged after logName.
template<typename Owner, typename Child, typename ReadChild>
void loadChildrenFor(QSqlDatabase &db, QList<Owner> &owners, const ChildOwners &index,
                     const QString &statement, const char *logName, ReadChild readChild,
                     QList<Child> Owner::*field, QString Child::*ownerField)
{
    // Rows replace whatever children an owner held; owners without rows keep theirs.
    std::vector<bool> replaced(size_t(owners.size()), false);
    const QString sql = statement.arg(kInJsonList);
    for (const QString &chunk : index.idChunks()) {
        Reader r(db, sql, logName);
        r.bind(chunk);
        while (r.next()) {
            QString ownerId = r.text(1);
            const qsizetype row = index.indexOf(ownerId);
            if (row < 0)
                continue;
            QList<Child> &children = owners[row].*field;
            if (!replaced[size_t(row)]) {
                replaced[size_t(row)] = true;
                children.clear();
            }
            Child c = readChild(r);
            c.*ownerField = std::move(ownerId);
            children.append(std::move(c));
        }
        if (r.failed())
            break;
    }
    // An owner listed twice gets a copy of the first one's rows.
    for (const auto &[repeat, first] : index.repeats()) {
        if (replaced[size_t(first)])
            owners[repeat].*field = owners.at(first).*field;
    }
}

template<typename Owner, typename Child, typename ReadChild>
void loadChildrenFor(QSqlDatabase &db, QList<Owner> &owners, const QString &statement,
                     const char *logName, ReadChild readChild, QList<Child> Owner::*field,
                     QString Child::*ownerField)
{
    if (!owners.isEmpty())
        loadChildrenFor(db, owners, ChildOwners(owners), statement, logName, readChild, field,
                        ownerField);
}

// Announces a calendar's change once writes have been quiet for 150 ms; the last calendar id
// given wins. The timer is a child of the owner.
class ChangeCoalescer
{
public:
    ChangeCoalescer(QObject *owner, std::function<void(const QString &)> announce);
    // A change still waiting is dropped.
    ~ChangeCoalescer();
    ChangeCoalescer(const ChangeCoalescer &) = delete;
    ChangeCoalescer &operator=(const ChangeCoalescer &) = delete;
    void notify(const QString &calendarId);

private:
    QTimer *m_timer;
    QString m_pendingCalendarId;
    std::function<void(const QString &)> m_announce;
};

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
