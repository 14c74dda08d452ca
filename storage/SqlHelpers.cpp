#include "storage/SqlHelpers.h"

#include "storage/Savepoint.h"

#include <QDebug>
#include <QSqlError>

#include <algorithm>

namespace Sql {

QVariant text(const QString &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return value;
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

namespace {

// An id with JSON's escapes, for the rare id that needs any.
QString escapedJson(const QString &id)
{
    QString out;
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
    return out;
}

} // namespace

QByteArray jsonListUtf8(const QStringList &ids)
{
    // Ids are plain ASCII nearly always: each is copied straight into a list sized beforehand,
    // and written again with escapes only when a character asks for it.
    qsizetype size = 2;
    for (const QString &id : ids)
        size += id.size() + 3;
    QByteArray out(size, Qt::Uninitialized);
    char *w = out.data();
    *w++ = '[';
    for (const QString &id : ids) {
        if (w - out.constData() > 1)
            *w++ = ',';
        *w++ = '"';
        const auto *p = reinterpret_cast<const char16_t *>(id.utf16());
        const qsizetype n = id.size();
        bool plain = true;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = p[i];
            w[i] = char(c);
            plain &= c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\';
        }
        if (plain) {
            w += n;
        } else {
            const QByteArray escaped = escapedJson(id).toUtf8();
            const qsizetype at = w - out.constData();
            out.resize(at + escaped.size() + (size - at - n));
            size = out.size();
            w = std::copy(escaped.begin(), escaped.end(), out.data() + at);
        }
        *w++ = '"';
    }
    *w++ = ']';
    out.truncate(w - out.constData());
    return out;
}

QString jsonList(const QStringList &ids)
{
    return QString::fromUtf8(jsonListUtf8(ids));
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

int runCounting(QSqlDatabase &db, const QString &statement, const QVariantList &values,
                const char *logName)
{
    QSqlQuery q(db);
    q.prepare(statement);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.exec())
        return q.numRowsAffected();
    qWarning() << logName << q.lastError().text();
    return -1;
}

QString likePrefix(const QString &prefix)
{
    QString pattern;
    pattern.reserve(prefix.size() + 1);
    for (QChar c : prefix) {
        if (c == u'%' || c == u'_' || c == u'\\')
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    pattern += QLatin1Char('%');
    return pattern;
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

} // namespace Sql
