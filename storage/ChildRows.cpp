#include "storage/ChildRows.h"

#include "model/Identifiers.h"
#include "storage/StatementCache.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <string_view>

namespace Sql {

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

bool acknowledgeReminderRows(QSqlDatabase &db, const QString &table, const QStringList &ids,
                             QString *error, const char *logName)
{
    // Chunked so that a backlog of reminders never binds one huge list.
    return forEachChunk(ids, [&](const QStringList &chunk) {
        QString failure;
        if (run(db,
                QStringLiteral("UPDATE ") + table
                    + QStringLiteral(" SET acknowledged = 1 WHERE id ") + kInJsonList,
                {jsonList(chunk)}, &failure))
            return true;
        qWarning() << logName << failure;
        if (error)
            *error = failure;
        return false;
    });
}

void ChildOwners::index(const QStringList &ids)
{
    m_index.reserve(ids.size());
    QStringList distinct;
    distinct.reserve(ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (add(ids.at(i), i))
            distinct << ids.at(i);
    }
    setIds(distinct);
}

bool ChildOwners::add(const QString &id, qsizetype row)
{
    const QByteArray key = id.toUtf8();
    const auto it = m_index.constFind(key);
    if (it != m_index.constEnd()) {
        m_repeats.append({row, *it});
        return false;
    }
    m_index.insert(key, row);
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

} // namespace Sql
