#pragma once

#include "model/Clock.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QtDebug>

namespace LarkTest {

// The reminder tests' day: 10 January 2024, 10:00 UTC, and times on the days around it.
inline const QDateTime kReminderNow(QDate(2024, 1, 10), QTime(10, 0), Qt::UTC);

inline QDateTime reminderTime(int day, int h, int mi = 0, int s = 0)
{
    return QDateTime(QDate(2024, 1, day), QTime(h, mi, s), Qt::UTC);
}

inline QString isoText(const QDateTime &dt)
{
    return dt.toString(Qt::ISODate);
}

// Events, tasks and their reminder rows written as plain SQL into one calendar, so that
// unreadable values (a start of "next tuesday") can be stored too. The clock stands at
// kReminderNow, pinned before whatever store a test builds on this, until the test moves it.
struct ReminderRows
{
    TestClock clock {kReminderNow};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    QSqlDatabase connection;
    QString calendarId;
    QDateTime deletedAt = kReminderNow; // written for rows added as deleted

    bool exec(const QString &sql, const QVariantList &values = {}) const
    {
        QSqlQuery q(connection);
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
        qWarning() << sql << q.lastError().text();
        return false;
    }

    bool addEvent(const QString &id, const QString &title, const QString &start,
                  const QString &location = QString(), bool deleted = false) const
    {
        return exec(QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, "
                                   "location, raw_icalendar, deleted_at) VALUES (?, ?, ?, ?, ?, "
                                   "?, '', ?)"),
                    {id, calendarId, id, title, start, location, deletedValue(deleted)});
    }

    bool addReminder(const QString &id, const QString &eventId, int minutes,
                     const QVariant &trigger) const
    {
        return exec(QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, "
                                   "trigger_time) VALUES (?, ?, ?, ?)"),
                    {id, eventId, minutes, trigger});
    }

    bool addTask(const QString &id, const QString &title, const QVariant &due, bool dateOnly,
                 const QString &status = QStringLiteral("needs-action"), bool deleted = false) const
    {
        return exec(
            QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, status, "
                           "due_date, due_is_date_only, raw_icalendar, deleted_at) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?, '', ?)"),
            {id, calendarId, id, title, status, due, dateOnly ? 1 : 0, deletedValue(deleted)});
    }

    bool addTaskReminder(const QString &id, const QString &taskId, int minutes) const
    {
        return exec(QStringLiteral("INSERT INTO task_reminders (id, task_id, minutes_before) "
                                   "VALUES (?, ?, ?)"),
                    {id, taskId, minutes});
    }

    // Whether the row of table ("reminders" or "task_reminders") is acknowledged.
    bool acknowledged(const QString &table, const QString &id) const
    {
        QSqlQuery q(connection);
        q.prepare(QStringLiteral("SELECT acknowledged FROM %1 WHERE id = ?").arg(table));
        q.addBindValue(id);
        return q.exec() && q.next() && q.value(0).toInt() == 1;
    }

private:
    QVariant deletedValue(bool deleted) const
    {
        return deleted ? QVariant(deletedAt.toString(Qt::ISODate)) : QVariant();
    }
};

} // namespace LarkTest
