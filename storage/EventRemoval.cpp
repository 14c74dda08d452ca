// Removing events: a deletion kept as a tombstone for sync, and deletions for good with the
// event's reminder, attendee and attachment rows.

#include "storage/EventRepository.h"

#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

bool EventRepository::remove(const QString &id)
{
    const QString calendarId = calendarOf(id);
    const QVariant now = Sql::dateTime(m_db->currentDateTimeUtc());
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("UPDATE events SET deleted_at = ?, sync_status = 'pending', "
                             "last_modified = ? WHERE id = ?"));
    q.addBindValue(now);
    q.addBindValue(now);
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "EventRepository::remove failed:" << q.lastError().text();
        return false;
    }
    // A removed override gives its occurrence back to the series.
    wakeSeriesReminders(id);
    notifyChanged(calendarId);
    return true;
}

bool EventRepository::deleteChildRows(const QString &table, const QString &eventId)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM %1 WHERE event_id = ?").arg(table));
    q.addBindValue(eventId);
    if (q.exec())
        return true;
    qWarning() << "EventRepository::hardDelete child cleanup failed:" << table << ":"
               << q.lastError().text();
    return false;
}

bool EventRepository::hardDelete(const QString &id)
{
    const QString calendarId = calendarOf(id);
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("event_hard_delete"));
    if (!sp.isActive()) {
        qWarning() << "EventRepository::hardDelete failed:" << sp.errorText();
        return false;
    }
    wakeSeriesReminders(id);
    for (const QString &table : {QStringLiteral("attendees"), QStringLiteral("attachments"),
                                 QStringLiteral("reminders")}) {
        if (!deleteChildRows(table, id))
            return false;
    }
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM events WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "EventRepository::hardDelete failed:" << q.lastError().text();
        return false;
    }
    if (!sp.release()) {
        qWarning() << "EventRepository::hardDelete failed:" << sp.errorText();
        return false;
    }
    notifyChanged(calendarId);
    return true;
}

int EventRepository::purgeByIdPrefix(const QString &prefix)
{
    const QVariantList pattern {Sql::likePrefix(prefix)};
    // Child rows first: a user may have given such an event a reminder, a guest or a file, and
    // those rows would otherwise stop the event's deletion on the foreign key.
    static const char *const statements[] = {
        "DELETE FROM reminders WHERE event_id LIKE ? ESCAPE '\\'",
        "DELETE FROM attendees WHERE event_id LIKE ? ESCAPE '\\'",
        "DELETE FROM attachments WHERE event_id LIKE ? ESCAPE '\\'",
        "DELETE FROM events WHERE id LIKE ? ESCAPE '\\'",
    };
    // The count is of events alone, as the callers report events.
    int events = 0;
    for (const char *sql : statements)
        events = std::max(0,
                          Sql::runCounting(m_db->connection(), QString::fromLatin1(sql), pattern,
                                           "EventRepository::purgeByIdPrefix failed:"));
    notifyChanged(QString());
    return events;
}

bool EventRepository::purgeCalendar(const QString &calendarId, QString *error)
{
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("event_purge_calendar"));
    QString failure = sp.errorText();
    // Child rows first: the foreign keys keep an event with children.
    static const char *const statements[] = {
        "DELETE FROM reminders WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM attendees WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM attachments WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM events WHERE calendar_id = ?",
    };
    bool ok = sp.isActive();
    for (const char *sql : statements) {
        if (ok)
            ok = Sql::run(m_db->connection(), QString::fromLatin1(sql), {calendarId}, &failure);
    }
    if (ok && !sp.release()) {
        ok = false;
        failure = sp.errorText();
    }
    if (!ok) {
        qWarning() << "EventRepository::purgeCalendar failed:" << failure;
        if (error)
            *error = failure;
        return false;
    }
    notifyChanged(calendarId);
    return true;
}
