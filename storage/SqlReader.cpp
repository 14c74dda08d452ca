#include "storage/SqlReader.h"

#include "storage/StatementCache.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

#include <sqlite3.h>

#include <algorithm>

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
    // As UTF-8, the database's own encoding: a UTF-16 text would be translated by SQLite again
    // wherever the statement compares or parses it.
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void Reader::bindUtf8(QByteArrayView value)
{
    if (!m_stmt)
        return;
    const int i = m_nextParameter++;
    if (value.isNull())
        sqlite3_bind_null(m_stmt, i);
    else
        sqlite3_bind_text(m_stmt, i, value.data(), int(value.size()), SQLITE_TRANSIENT);
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

// Each call into SQLite for a column takes the connection's lock: a column is fetched with one
// such call and its value read without the lock, which guards against other threads only (a
// connection is used by the thread that opened it alone).
sqlite3_value *Reader::value(int column) const
{
    return sqlite3_column_value(m_stmt, column);
}

bool Reader::isNull(int column) const
{
    return sqlite3_value_type(value(column)) == SQLITE_NULL;
}

QByteArrayView Reader::utf8(int column) const
{
    // The pointer is taken before the length, as SQLite asks, so both describe the same text.
    // SQLite gives no pointer for NULL, and an empty one for an empty text.
    sqlite3_value *v = value(column);
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    if (!p)
        return {};
    return QByteArrayView(p, sqlite3_value_bytes(v));
}

QString Reader::text(int column) const
{
    const QByteArrayView bytes = utf8(column);
    if (bytes.isNull())
        return {};
    return QString::fromUtf8(bytes);
}

void Reader::texts(std::initializer_list<std::pair<int, QString *>> columns) const
{
    // ASCII texts (nearly all of an event's) go into one block, widened as Latin-1; others are
    // decoded one by one.
    struct Place
    {
        QString *field;
        QByteArrayView bytes;
        qsizetype at = 0;
    };
    QVarLengthArray<Place, 32> places;
    qsizetype units = 0;
    for (const auto &[column, field] : columns) {
        const QByteArrayView bytes = utf8(column);
        if (bytes.isEmpty()) {
            // NULL stays the null text, the empty text the empty one, as text() has them.
            *field = bytes.isNull() ? QString() : QString::fromUtf8(bytes);
        } else if (!QtPrivate::isAscii(QLatin1StringView(bytes))) {
            *field = QString::fromUtf8(bytes);
        } else {
            places.append({field, bytes});
            units += bytes.size() + 1;
        }
    }
    if (places.isEmpty())
        return;
    // Sized once, so that the texts never move while they are appended; each ends in a
    // terminator, as every text's data does.
    QString block(units, Qt::Uninitialized);
    block.resize(0);
    for (Place &p : places) {
        p.at = block.size();
        // SQLite ends every text it hands out in a terminator: taken along, it ends the copy too.
        block.append(QLatin1StringView(p.bytes.data(), p.bytes.size() + 1));
    }
    QStringPrivate &data = block.data_ptr();
    for (const Place &p : places) {
        data.d_ptr()->ref();
        *p.field = QString(QStringPrivate(data.d_ptr(), data.data() + p.at, p.bytes.size()));
    }
}

int Reader::integer(int column) const
{
    sqlite3_value *v = value(column);
    // Texts convert as a QVariant read through Qt does.
    if (sqlite3_value_type(v) == SQLITE_TEXT)
        return text(column).toInt();
    return int(integer64(v));
}

qint64 Reader::integer64(int column) const
{
    return integer64(value(column));
}

qint64 Reader::integer64(sqlite3_value *v) const
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return sqlite3_value_int64(v);
    case SQLITE_FLOAT:
        return qRound64(sqlite3_value_double(v));
    default: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
        return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)).toLongLong() : 0;
    }
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
        if (known.size() == bytes.size()
            && std::equal(bytes.begin(), bytes.end(), known.constBegin()))
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
