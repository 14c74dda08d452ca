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

namespace {

Reminder readReminder(const Reader &r, SharedTexts *texts)
{
    Reminder out;
    out.id = r.text(0);
    out.minutes_before = r.integer(2);
    out.action = texts ? texts->text(r, 3) : r.text(3);
    out.acknowledged = r.integer(4) != 0;
    out.trigger_time = r.optionalDateTime(5);
    return out;
}

} // namespace

Reminder readReminderRow(const Reader &r)
{
    return readReminder(r, nullptr);
}

Reminder readReminderRowSharing(const Reader &r, SharedTexts &texts)
{
    return readReminder(r, &texts);
}

RowValues reminderRowValues(const QString &ownerId, const Reminder &reminder,
                            QString Reminder::*ownerOf, const QVariant &triggerTime)
{
    return {childId(reminder.id, reminder.*ownerOf, ownerId),
            ownerId,
            reminder.minutes_before,
            reminder.action.isEmpty() ? QStringLiteral("display") : reminder.action,
            reminder.acknowledged ? 1 : 0,
            triggerTime};
}

std::optional<QList<RowValues>> readOwnedRows(StatementCache &cache, const QString &table,
                                              const QString &columns, const QString &ownerColumn,
                                              const QString &ownerId, const char *logName)
{
    // By rowid: the order the rows were written in, which reads keep among equal sort keys.
    Reader r(cache,
             QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + table
                 + QStringLiteral(" WHERE ") + ownerColumn + QStringLiteral(" = ? ORDER BY rowid"),
             logName);
    r.bind(ownerId);
    QList<RowValues> rows;
    const int count = int(columns.count(QLatin1Char(',')) + 1);
    while (r.next())
        rows.append(readRowValues(r, count));
    if (r.failed())
        return std::nullopt;
    return rows;
}

RowValues readRowValues(const Reader &r, int count)
{
    RowValues row;
    row.reserve(count);
    for (int c = 0; c < count; ++c)
        row.append(r.isNull(c) ? QVariant() : QVariant(r.text(c)));
    return row;
}

bool sameValue(const QVariant &stored, const QVariant &written)
{
    const auto isNull = [](const QVariant &v) {
        return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isNull());
    };
    const bool storedNull = isNull(stored);
    return storedNull == isNull(written) && (storedNull || stored.toString() == written.toString());
}

bool sameRows(const QList<RowValues> &stored, const QList<RowValues> &written)
{
    return std::equal(stored.cbegin(), stored.cend(), written.cbegin(), written.cend(),
                      [](const RowValues &a, const RowValues &b) {
                          return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), sameValue);
                      });
}

bool writeOwnedRows(StatementCache &cache, const QString &table, const QString &columns,
                    const QString &ownerColumn, const QString &ownerId,
                    const QList<RowValues> &rows, bool replace, const char *logName)
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
    if (rows.isEmpty())
        return true;
    QSqlQuery &q = cache.get(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns
                             + QStringLiteral(") VALUES (") + placeholders(int(rows.first().size()))
                             + QLatin1Char(')'));
    for (const RowValues &row : rows) {
        for (const QVariant &value : row)
            q.addBindValue(value);
        if (!q.exec()) {
            qWarning() << logName << "insert failed:" << q.lastError().text();
            return false;
        }
    }
    return true;
}

bool writeReminderRows(StatementCache &cache, const QString &table, const QString &ownerColumn,
                       const QString &ownerId, const QList<Reminder> &reminders, bool replace,
                       QString Reminder::*ownerOf,
                       const std::function<QVariant(const Reminder &)> &triggerTime,
                       const char *logName)
{
    QList<RowValues> rows;
    rows.reserve(reminders.size());
    for (const Reminder &r : reminders)
        rows.append(reminderRowValues(ownerId, r, ownerOf, triggerTime(r)));
    return writeOwnedRows(cache, table,
                          QStringLiteral("id, ") + ownerColumn
                              + QStringLiteral(", minutes_before, action, acknowledged, "
                                               "trigger_time"),
                          ownerColumn, ownerId, rows, replace, logName);
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
