#include "storage/SqlReader.h"

#include "storage/StatementCache.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

#include <sqlite3.h>

namespace Sql {

sqlite3 *handleOf(QSqlDatabase &db)
{
    const QVariant handle = db.isOpen() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

DataVersion dataVersion(QSqlDatabase &db)
{
    DataVersion v;
    sqlite3 *handle = handleOf(db);
    if (!handle || !sqlite3_get_autocommit(handle))
        return v;
    // The file's version moves with every commit on this connection and with every commit of
    // another one that a read of this connection has since seen.
    unsigned file = 0;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_DATA_VERSION, &file) != SQLITE_OK)
        return v;
    v.db = handle;
    v.file = file;
    return v;
}

Reader::Reader(QSqlDatabase &db, const QString &statement, const char *logName)
    : m_logName(logName)
{
    m_db = handleOf(db);
    if (!m_db) {
        m_failed = true;
        m_error = QStringLiteral("the database is not open");
        qWarning() << m_logName << m_error;
        return;
    }
    const QByteArray sql = statement.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK
        || !m_stmt)
        fail();
}

Reader::Reader(StatementCache &cache, const QString &statement, const char *logName)
    : m_logName(logName)
{
    const QSqlQuery &query = cache.get(statement);
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3_stmt*") == 0)
        m_stmt = *static_cast<sqlite3_stmt *const *>(handle.data());
    if (!m_stmt) {
        m_failed = true;
        m_error = query.lastError().text();
        qWarning() << m_logName << m_error;
        return;
    }
    m_borrowed = true;
    m_db = sqlite3_db_handle(m_stmt);
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

Reader::~Reader()
{
    if (!m_borrowed) {
        sqlite3_finalize(m_stmt);
        return;
    }
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Reader::fail()
{
    m_failed = true;
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    qWarning() << m_logName << m_error;
}

void Reader::bind(const QString &value)
{
    if (!m_stmt)
        return;
    const int i = m_nextParameter++;
    if (value.isNull()) {
        sqlite3_bind_null(m_stmt, i);
        return;
    }
    // UTF-16 in native order, copied by SQLite, as the Qt driver binds texts.
    sqlite3_bind_text16(m_stmt, i, value.utf16(), int(value.size() * sizeof(char16_t)),
                        SQLITE_TRANSIENT);
}

void Reader::bind(qint64 value)
{
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, m_nextParameter++, value);
}

void Reader::bindReal(double value)
{
    if (m_stmt)
        sqlite3_bind_double(m_stmt, m_nextParameter++, value);
}

void Reader::bindAll(const QStringList &values)
{
    for (const QString &v : values)
        bind(v);
}

bool Reader::next()
{
    if (!m_stmt || m_failed)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

bool Reader::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QByteArrayView Reader::utf8(int column) const
{
    // The pointer is taken before the length, as SQLite asks, so both describe the same text.
    // SQLite gives no pointer for NULL, and an empty one for an empty text.
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (!p)
        return {};
    return QByteArrayView(p, sqlite3_column_bytes(m_stmt, column));
}

QString Reader::text(int column) const
{
    return QString::fromUtf8(utf8(column));
}

// Each call into SQLite for a column takes the connection's lock: a row of many columns reads
// each with as few calls as it can.
int Reader::integer(int column) const
{
    const int type = sqlite3_column_type(m_stmt, column);
    // Texts convert as a QVariant read through Qt does.
    if (type == SQLITE_TEXT)
        return text(column).toInt();
    return int(integer64(column, type));
}

qint64 Reader::integer64(int column) const
{
    return integer64(column, sqlite3_column_type(m_stmt, column));
}

qint64 Reader::integer64(int column, int type) const
{
    switch (type) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(m_stmt, column);
    case SQLITE_FLOAT:
        return qRound64(sqlite3_column_double(m_stmt, column));
    default:
        return text(column).toLongLong();
    }
}

QDateTime Reader::dateTime(int column) const
{
    return parseUtf8DateTime(utf8(column));
}

std::optional<QDateTime> Reader::optionalDateTime(int column) const
{
    const QByteArrayView text = utf8(column);
    if (text.isEmpty())
        return std::nullopt;
    return parseUtf8DateTime(text);
}

qint64 Reader::rowBytes() const
{
    qint64 bytes = 0;
    const int columns = m_stmt ? sqlite3_column_count(m_stmt) : 0;
    for (int c = 0; c < columns; ++c) {
        // Asking a number for its bytes would turn it into text.
        const int type = sqlite3_column_type(m_stmt, c);
        bytes += type == SQLITE_TEXT || type == SQLITE_BLOB ? sqlite3_column_bytes(m_stmt, c) : 8;
    }
    return bytes;
}

QString SharedTexts::text(const Reader &r, int column)
{
    const QByteArrayView bytes = r.utf8(column);
    if (bytes.isNull())
        return {};
    for (const auto &[known, text] : std::as_const(m_texts)) {
        if (known == bytes)
            return text;
    }
    QString text = QString::fromUtf8(bytes);
    if (m_texts.size() < kMaxTexts)
        m_texts.append({bytes.toByteArray(), text});
    return text;
}

QString readText(QSqlDatabase &db, const QString &statement, const QStringList &values,
                 const char *logName)
{
    Reader r(db, statement, logName);
    r.bindAll(values);
    return r.next() ? r.text(0) : QString();
}

} // namespace Sql
