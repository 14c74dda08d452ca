#pragma once

#include "model/Records.h"
#include "storage/ChangeCoalescer.h"
#include "storage/StatementCache.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;

// A reminder of a live, open task with a due date that has not been acknowledged, as the
// reminder poll reads it.
struct TaskReminderAlert
{
    QString reminderId;
    QString title;
    QDateTime due; // a date-only due date is local midnight; invalid when unreadable
    bool dueIsDateOnly = false;
    int minutesBefore = 0;
};

// The one reader and writer of tasks and reminder items with their reminder rows. Keeps the
// task half of the outbox: local changes are "pending" until a sync marks them "synced", and a
// local deletion is a pending tombstone.
class TaskRepository : public QObject
{
    Q_OBJECT
public:
    explicit TaskRepository(Database *db, QObject *parent = nullptr);

    // Active tasks of the calendar: those with a due date first, by due date, then sort order.
    QList<Task> listByCalendar(const QString &calendarId) const;
    // Active tasks due or starting in [from, to); those without a due date first, then by due
    // date and sort order. An empty calendar list means every calendar.
    QList<Task> listInRange(const QDateTime &from, const QDateTime &to,
                            const QStringList &calendarIds = {}) const;
    // The outbox of a calendar, tombstones included.
    QList<Task> listPending(const QString &calendarId) const;

    // byId and byUidInCalendar return tombstones too.
    std::optional<Task> byId(const QString &id) const;
    std::optional<Task> byUid(const QString &uid) const;
    std::optional<Task> byUidInCalendar(const QString &uid, const QString &calendarId) const;

    bool insert(const Task &task);
    bool update(const Task &task);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    // Stores a push result; announces nothing.
    bool markSynced(const QString &id, const QString &href, const QString &etag);
    // Completes or reopens the task; a recurring task moves on to its next occurrence instead
    // of being completed. False when no task has that id.
    bool setCompleted(const QString &taskId, bool completed);

    // Deletes for good, without tombstones, the tasks whose id begins with prefix (compared as
    // SQL's LIKE does, ignoring ASCII case), their reminder rows with them. Returns how many
    // task rows went.
    int purgeByIdPrefix(const QString &prefix);
    // Deletes for good every task of the calendar, tombstones too, with their reminder rows.
    // False (with the driver's text) on failure.
    [[nodiscard]] bool purgeCalendar(const QString &calendarId, QString *error = nullptr);

    // The unacknowledged reminders of tasks that are not deleted, completed or cancelled and
    // are due after dueAfter, by due date: every one whose time (the due time less its offset)
    // has come by `until`, and perhaps a few due within the next hours. No value when the read
    // failed (*error then holds the driver's text).
    std::optional<QList<TaskReminderAlert>> unacknowledgedReminders(const QDateTime &dueAfter,
                                                                    const QDateTime &until,
                                                                    QString *error = nullptr) const;
    // Marks the reminders acknowledged so that they fire once. False (with the driver's text)
    // when a statement failed; the reminders before it stay acknowledged.
    bool acknowledgeReminders(const QStringList &reminderIds, QString *error = nullptr);

signals:
    void tasksChanged(const QString &calendarId);

private:
    QList<Task> list(const QString &sql, const QStringList &values, const char *logName) const;
    std::optional<Task> one(const QString &sql, const QStringList &values,
                            const char *logName) const;
    void loadRemindersFor(QList<Task> &tasks) const;
    bool writeReminders(const Task &task, bool replace);
    bool writeTask(const Task &task, bool isInsert);
    QString calendarOf(const QString &id) const;
    bool advance(Task &task, const QDateTime &now) const;

    Database *m_db;
    mutable Sql::StatementCache m_statements;
    ChangeCoalescer m_changes;
};
