#pragma once

// The one way the store reads rows: SQLite's own statement interface on the connection Qt holds.
// Every failure (a statement that does not prepare, a step that fails) is logged with SQLite's
// text and reads as the rows read before it.

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <initializer_list>
#include <optional>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace Sql {

class StatementCache;

// SQLite's handle of an open connection; null when it is closed.
sqlite3 *handleOf(QSqlDatabase &db);

// Where the data of a connection's database stands. Two readings are equal only when nothing
// was written on the connection between them and no commit of another connection showed up in
// a read the connection began in between. Inside a transaction there is no reading (what is
// written there can still be rolled back), and an invalid one equals none.
struct DataVersion
{
    const sqlite3 *db = nullptr;
    unsigned file = 0;

    bool isValid() const { return db != nullptr; }

    friend bool operator==(const DataVersion &a, const DataVersion &b)
    {
        return a.db && a.db == b.db && a.file == b.file;
    }
    friend bool operator!=(const DataVersion &a, const DataVersion &b) { return !(a == b); }
};

// The connection's data version now; invalid while the connection is closed or in a transaction.
DataVersion dataVersion(QSqlDatabase &db);

// A read run through SQLite's own statement interface on the connection Qt holds. Texts come
// straight from the row's UTF-8 and numbers as numbers: reading large lists through QSqlQuery
// spends most of its time converting every text to UTF-16 and wrapping every column in a
// QVariant. Values read as QSqlQuery's would (NULL is the null text, an empty text is empty).
class Reader
{
public:
    // Prepares the statement; a failure is logged after logName ("<Class>::<op> failed:").
    Reader(QSqlDatabase &db, const QString &statement, const char *logName);
    // Runs the statement as the cache keeps it prepared, for long statements read often: it is
    // compiled once, and reset when the reader ends. Never nest two readers of one statement.
    Reader(StatementCache &cache, const QString &statement, const char *logName);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // Binds the next parameter; a null text binds NULL.
    void bind(const QString &value);
    // Binds text that is UTF-8 already; a null view binds NULL.
    void bindUtf8(QByteArrayView value);
    void bind(qint64 value);
    void bindReal(double value);
    void bindAll(const QStringList &values);
    // Steps to the next row. False at the end and on a failure, which is logged.
    bool next();
    bool failed() const { return m_failed; }
    // SQLite's text for the failure; empty while nothing failed.
    QString errorText() const { return m_error; }

    bool isNull(int column) const;
    QString text(int column) const;
    // Reads text columns of the row into the fields, as text() would, with one allocation for
    // all of them: each field is a text of its own that shares the block, as copies of a text
    // share their data (a change to one copies it first), and the block goes with the last of
    // them. For rows of many texts read by the thousand.
    void texts(std::initializer_list<std::pair<int, QString *>> columns) const;
    // The column's text as SQLite holds it (UTF-8); null for NULL.
    QByteArrayView utf8(int column) const;
    int integer(int column) const;
    qint64 integer64(int column) const;
    QDateTime dateTime(int column) const;
    std::optional<QDateTime> optionalDateTime(int column) const;

    // About how many bytes the current row's values take: texts by their UTF-8, numbers 8.
    qint64 rowBytes() const;

private:
    void fail();
    sqlite3_value *value(int column) const;
    qint64 integer64(sqlite3_value *value) const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_borrowed = false;
    const char *m_logName;
    int m_nextParameter = 1;
    bool m_failed = false;
    QString m_error;
};

// Texts that repeat across the rows of one read (a calendar id, a zone, a status) are made once
// and shared, so that a list of many rows does not hold a copy of each in every row.
class SharedTexts
{
public:
    QString text(const Reader &r, int column);

private:
    static constexpr int kMaxTexts = 32;
    QVarLengthArray<std::pair<QByteArray, QString>, kMaxTexts> m_texts;
};

// Runs a read with the values bound in order and turns every row into a record. A failing
// statement is logged and yields the rows read before it failed. The source is the connection,
// or a StatementCache for reads run often.
template<typename Record, typename Source, typename ReadRow>
QList<Record> readAll(Source &db, const QString &statement, const QStringList &values,
                      const char *logName, ReadRow readRow)
{
    QList<Record> out;
    Reader r(db, statement, logName);
    r.bindAll(values);
    while (r.next())
        out.append(readRow(r));
    return out;
}

// As readAll, but a failing statement yields no list at all, with SQLite's text in *error.
template<typename Record, typename ReadRow>
std::optional<QList<Record>> readAllOrNone(QSqlDatabase &db, const QString &statement,
                                           const QStringList &values, const char *logName,
                                           ReadRow readRow, QString *error)
{
    QList<Record> out;
    Reader r(db, statement, logName);
    r.bindAll(values);
    while (r.next())
        out.append(readRow(r));
    if (!r.failed())
        return out;
    if (error)
        *error = r.errorText();
    return std::nullopt;
}

// The first record a read yields.
template<typename Record, typename Source, typename ReadRow>
std::optional<Record> readOne(Source &db, const QString &statement, const QStringList &values,
                              const char *logName, ReadRow readRow)
{
    Reader r(db, statement, logName);
    r.bindAll(values);
    if (!r.next())
        return std::nullopt;
    return readRow(r);
}

// The first column of the first row a read yields as text; empty when there is none.
QString readText(QSqlDatabase &db, const QString &statement, const QStringList &values,
                 const char *logName);

} // namespace Sql
