#include "storage/SqlHelpers.h"

#include <QDebug>
#include <QSqlDriver>
#include <QSqlError>
#include <QTimer>
#include <QUuid>

#include <sqlite3.h>

#include <algorithm>
#include <string_view>

namespace Sql {

QVariant text(const QString &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

namespace {

char *putDigits(char *out, int value, int n)
{
    for (int i = n - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + n;
}

} // namespace

QString isoText(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    // The forms the store writes, built without Qt's general formatter, which shows in every
    // write of many rows. Other zones and years are left to Qt.
    const Qt::TimeSpec spec = value.timeSpec();
    const QDate date = value.date();
    if (spec == Qt::TimeZone || date.year() < 1 || date.year() > 9999)
        return value.toString(Qt::ISODate);
    const QTime time = value.time();
    char buf[32];
    char *p = putDigits(buf, date.year(), 4);
    *p++ = '-';
    p = putDigits(p, date.month(), 2);
    *p++ = '-';
    p = putDigits(p, date.day(), 2);
    *p++ = 'T';
    p = putDigits(p, time.hour(), 2);
    *p++ = ':';
    p = putDigits(p, time.minute(), 2);
    *p++ = ':';
    p = putDigits(p, time.second(), 2);
    if (spec == Qt::UTC) {
        *p++ = 'Z';
    } else if (spec == Qt::OffsetFromUTC) {
        const int offset = value.offsetFromUtc();
        *p++ = offset >= 0 ? '+' : '-';
        p = putDigits(p, qAbs(offset) / 3600, 2);
        *p++ = ':';
        p = putDigits(p, (qAbs(offset) / 60) % 60, 2);
    }
    return QString::fromLatin1(buf, p - buf);
}

QVariant dateTime(const QDateTime &value)
{
    return text(isoText(value));
}

QVariant dateTime(const std::optional<QDateTime> &value)
{
    if (!value)
        return text(QString());
    return dateTime(*value);
}

namespace {

template<typename Char> int digits(const Char *p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char16_t c = char16_t(p[i]);
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// The forms the store writes, "yyyy-MM-ddTHH:mm:ss" with "Z", "+HH:MM" or no suffix, parsed
// without Qt's general ISO parser, which dominates reading large lists. Anything else (fractions,
// other separators, dates alone) is left to Qt. Takes UTF-16 or UTF-8 (these forms are ASCII).
template<typename Char> std::optional<QDateTime> parseStoredForm(const Char *p, qsizetype n)
{
    if (n != 19 && n != 20 && n != 25)
        return std::nullopt;
    if (p[4] != '-' || p[7] != '-' || p[10] != 'T' || p[13] != ':' || p[16] != ':')
        return std::nullopt;
    const int y = digits(p, 4), mo = digits(p + 5, 2), d = digits(p + 8, 2);
    const int h = digits(p + 11, 2), mi = digits(p + 14, 2), sec = digits(p + 17, 2);
    if (y < 0 || mo < 0 || d < 0 || h < 0 || h > 23 || mi < 0 || sec < 0)
        return std::nullopt;
    const QDate date(y, mo, d);
    const QTime time(h, mi, sec);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    if (n == 19)
        return QDateTime(date, time, Qt::LocalTime);
    if (n == 20)
        return p[19] == 'Z' ? std::optional<QDateTime>(QDateTime(date, time, Qt::UTC))
                            : std::nullopt;
    const Char sign = p[19];
    const int oh = digits(p + 20, 2), om = digits(p + 23, 2);
    if ((sign != '+' && sign != '-') || p[22] != ':' || oh < 0 || om < 0 || (oh == 0 && om == 0))
        return std::nullopt;
    const int offset = (oh * 3600 + om * 60) * (sign == '-' ? -1 : 1);
    return QDateTime(date, time, Qt::OffsetFromUTC, offset);
}

} // namespace

QDateTime parseDateTime(const QVariant &value)
{
    const QString s = value.toString();
    if (s.isEmpty())
        return {};
    if (std::optional<QDateTime> fast = parseStoredForm(s.utf16(), s.size()))
        return *fast;
    return QDateTime::fromString(s, Qt::ISODate);
}

std::optional<QDateTime> parseOptionalDateTime(const QVariant &value)
{
    if (value.toString().isEmpty())
        return std::nullopt;
    return parseDateTime(value);
}

QString placeholders(int n, const QString &separator)
{
    QString out;
    out.reserve(n * (1 + separator.size()));
    for (int i = 0; i < n; ++i) {
        if (i)
            out += separator;
        out += QLatin1Char('?');
    }
    return out;
}

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString jsonList(const QStringList &ids)
{
    QString out;
    qsizetype size = 2;
    for (const QString &id : ids)
        size += id.size() + 3;
    out.reserve(size);
    out += QLatin1Char('[');
    for (const QString &id : ids) {
        if (out.size() > 1)
            out += QLatin1Char(',');
        out += QLatin1Char('"');
        for (QChar c : id) {
            if (c == u'"' || c == u'\\') {
                out += QLatin1Char('\\');
                out += c;
            } else if (c.unicode() < 0x20) {
                out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
        out += QLatin1Char('"');
    }
    out += QLatin1Char(']');
    return out;
}

bool forEachChunk(const QStringList &ids, const std::function<bool(const QStringList &)> &fn,
                  int chunkSize)
{
    for (qsizetype i = 0; i < ids.size(); i += chunkSize) {
        if (!fn(ids.mid(i, chunkSize)))
            return false;
    }
    return true;
}

void bindAll(QSqlQuery &query, const QStringList &values)
{
    for (const QString &v : values)
        query.addBindValue(v);
}

bool exec(QSqlDatabase &db, const QString &statement, QString *error)
{
    QSqlQuery q(db);
    if (q.exec(statement))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

sqlite3 *handleOf(QSqlDatabase &db)
{
    const QVariant handle = db.isOpen() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

Reader::Reader(QSqlDatabase &db, const QString &statement, const char *logName)
    : m_logName(logName)
{
    m_db = handleOf(db);
    if (!m_db) {
        m_failed = true;
        qWarning() << m_logName << "the database is not open";
        return;
    }
    const QByteArray sql = statement.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK
        || !m_stmt)
        fail();
}

Reader::~Reader()
{
    sqlite3_finalize(m_stmt);
}

void Reader::fail()
{
    m_failed = true;
    qWarning() << m_logName << QString::fromUtf8(sqlite3_errmsg(m_db));
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
    if (isNull(column))
        return {};
    // The pointer is taken before the length, as SQLite asks, so both describe the same text.
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    const int n = sqlite3_column_bytes(m_stmt, column);
    // Not null: an empty text reads as the empty text, not as NULL.
    return p ? QByteArrayView(p, n) : QByteArrayView("", 0);
}

QString Reader::text(int column) const
{
    return QString::fromUtf8(utf8(column));
}

int Reader::integer(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return int(sqlite3_column_int64(m_stmt, column));
    case SQLITE_FLOAT:
        return int(qRound64(sqlite3_column_double(m_stmt, column)));
    default:
        // Texts convert as a QVariant read through Qt does.
        return text(column).toInt();
    }
}

QDateTime Reader::dateTime(int column) const
{
    const QByteArrayView v = utf8(column);
    if (v.isEmpty())
        return {};
    if (std::optional<QDateTime> fast = parseStoredForm(v.data(), v.size()))
        return *fast;
    return QDateTime::fromString(QString::fromUtf8(v), Qt::ISODate);
}

std::optional<QDateTime> Reader::optionalDateTime(int column) const
{
    if (utf8(column).isEmpty())
        return std::nullopt;
    return dateTime(column);
}

QString selectText(QSqlDatabase &db, const QString &statement, const QStringList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(statement);
    bindAll(q, values);
    if (!q.exec() || !q.next())
        return {};
    return q.value(0).toString();
}

bool run(QSqlDatabase &db, const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery q(db);
    q.prepare(statement);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool markDeleted(QSqlDatabase &db, const QString &table, const QString &id, const QVariant &now)
{
    return run(db,
               QStringLiteral("UPDATE ") + table
                   + QStringLiteral(" SET deleted_at = ?, sync_status = 'pending', updated_at = ? "
                                    "WHERE id = ?"),
               {now, now, id});
}

bool renumber(QSqlDatabase &db, const QString &statement, const QStringList &ids,
              const QVariant &now)
{
    if (ids.isEmpty())
        return true;
    Savepoint sp(db, QStringLiteral("renumber"));
    if (!sp.isActive())
        return false;
    QSqlQuery q(db);
    if (!q.prepare(statement))
        return false;
    int key = 10;
    for (const QString &id : ids) {
        q.addBindValue(key);
        q.addBindValue(now);
        q.addBindValue(id);
        if (!q.exec())
            return false;
        key += 10;
    }
    return sp.release();
}

QString widenedBound(const QDateTime &t, qint64 secs)
{
    return t.toUTC().addSecs(secs).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

QString childId(const QString &id, const QString &recordOwnerId, const QString &ownerId)
{
    if (id.isEmpty() || (!recordOwnerId.isEmpty() && recordOwnerId != ownerId))
        return newId();
    return id;
}

Reminder readReminderRow(const Reader &r)
{
    Reminder out;
    out.id = r.text(0);
    out.minutes_before = r.integer(2);
    out.action = r.text(3);
    out.acknowledged = r.integer(4) != 0;
    out.trigger_time = r.optionalDateTime(5);
    return out;
}

bool writeReminderRows(StatementCache &cache, const QString &table, const QString &ownerColumn,
                       const QString &ownerId, const QList<Reminder> &reminders, bool replace,
                       QString Reminder::*ownerOf,
                       const std::function<QVariant(const Reminder &)> &triggerTime,
                       const char *logName)
{
    if (replace) {
        QSqlQuery &del
            = cache.get(QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE ")
                        + ownerColumn + QStringLiteral(" = ?"));
        del.addBindValue(ownerId);
        if (!del.exec()) {
            qWarning() << logName << "delete failed:" << del.lastError().text();
            return false;
        }
    }
    QSqlQuery &q
        = cache.get(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (id, ") + ownerColumn
                    + QStringLiteral(", minutes_before, action, acknowledged, "
                                     "trigger_time) VALUES (?, ?, ?, ?, ?, ?)"));
    for (const Reminder &r : reminders) {
        q.addBindValue(childId(r.id, r.*ownerOf, ownerId));
        q.addBindValue(ownerId);
        q.addBindValue(r.minutes_before);
        q.addBindValue(r.action.isEmpty() ? QStringLiteral("display") : r.action);
        q.addBindValue(r.acknowledged ? 1 : 0);
        q.addBindValue(triggerTime(r));
        if (!q.exec()) {
            qWarning() << logName << "insert failed:" << q.lastError().text();
            return false;
        }
    }
    return true;
}

bool ChildOwners::add(const QString &id, qsizetype row)
{
    const auto it = m_index.constFind(id);
    if (it != m_index.constEnd()) {
        m_repeats.append({row, *it});
        return false;
    }
    m_index.insert(id, row);
    return true;
}

void ChildOwners::setIds(QStringList ids)
{
    // QString's order (by UTF-16 code unit), compared inline: sorting 20,000 ids through
    // QString::operator< costs more than the statements it speeds up.
    std::sort(ids.begin(), ids.end(), [](const QString &a, const QString &b) {
        return std::u16string_view(reinterpret_cast<const char16_t *>(a.constData()),
                                   size_t(a.size()))
            < std::u16string_view(reinterpret_cast<const char16_t *>(b.constData()),
                                  size_t(b.size()));
    });
    forEachChunk(ids, [this](const QStringList &chunk) {
        m_idChunks << jsonList(chunk);
        return true;
    });
}

ChangeCoalescer::ChangeCoalescer(QObject *owner, std::function<void(const QString &)> announce)
    : m_timer(new QTimer(owner))
    , m_announce(std::move(announce))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(150);
    // A coarse timer may fire up to 5 % early; the quiet period is a promise to listeners.
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] {
        // Cleared before announcing so that a write made by a listener schedules its own.
        const QString calendarId = m_pendingCalendarId;
        m_pendingCalendarId.clear();
        m_announce(calendarId);
    });
}

ChangeCoalescer::~ChangeCoalescer()
{
    delete m_timer;
}

void ChangeCoalescer::notify(const QString &calendarId)
{
    m_pendingCalendarId = calendarId;
    m_timer->start();
}

QSqlQuery &StatementCache::get(const QString &statement)
{
    auto it = m_queries.find(statement);
    if (it == m_queries.end())
        it = m_queries.emplace(statement, Entry {QSqlQuery(*m_db), false}).first;
    // A statement that failed to prepare is tried again; executing it reports the failure.
    Entry &entry = it->second;
    if (!entry.prepared)
        entry.prepared = entry.query.prepare(statement);
    return entry.query;
}

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
    if (!m_cache)
        return exec(m_db, statement, error);
    QSqlQuery &q = m_cache->get(statement);
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
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
