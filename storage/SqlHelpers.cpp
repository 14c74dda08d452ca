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
        const bool plain = std::all_of(id.cbegin(), id.cend(), [](QChar c) {
            return c.unicode() >= 0x20 && c != u'"' && c != u'\\';
        });
        if (plain) {
            out += id;
            out += QLatin1Char('"');
            continue;
        }
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
