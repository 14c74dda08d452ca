#include "storage/TaskRepository.h"

#include "model/ICalendar.h"
#include "model/JsonText.h"
#include "model/Recurrence.h"
#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

const QString kColumns = QStringLiteral(
    "id, calendar_id, uid, etag, href, title, description, status, priority, percent_complete, "
    "due_date, start_date, completed_date, categories, parent_task_uid, sort_order, color, "
    "recurrence_rule, sequence, raw_icalendar, created, last_modified, sync_status, deleted_at, "
    "due_is_date_only, start_is_date_only, repeat_mode, item_type");
constexpr int kColumnCount = 28;

const QString kFromDueDate = QStringLiteral("fromDueDate");
const QString kTaskType = QStringLiteral("task");

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

Task readRow(const Sql::Reader &r)
{
    Task t;
    t.id = r.text(0);
    t.calendar_id = r.text(1);
    t.uid = r.text(2);
    t.etag = r.text(3);
    t.href = r.text(4);
    t.title = r.text(5);
    t.description = r.text(6);
    t.status = r.text(7);
    t.priority = r.integer(8);
    t.percent_complete = r.integer(9);
    t.due_date = r.optionalDateTime(10);
    t.start_date = r.optionalDateTime(11);
    t.completed_date = r.optionalDateTime(12);
    t.categories = jsonTextList(r.text(13));
    t.parent_task_uid = r.text(14);
    t.sort_order = r.integer(15);
    t.color = r.text(16);
    t.recurrence_rule = r.text(17);
    t.sequence = r.integer(18);
    t.raw_icalendar = r.text(19);
    t.created = r.dateTime(20);
    t.last_modified = r.dateTime(21);
    t.sync_status = r.text(22);
    t.deleted_at = r.optionalDateTime(23);
    t.due_is_date_only = r.integer(24) != 0;
    t.start_is_date_only = r.integer(25) != 0;
    t.repeat_mode = orDefault(r.text(26), kFromDueDate);
    t.item_type = orDefault(r.text(27), kTaskType);
    return t;
}

bool inRange(const std::optional<QDateTime> &t, const QDateTime &from, const QDateTime &to)
{
    return t && t->isValid() && *t >= from && *t < to;
}

// Orders by due instant, then sort order; stored texts with different suffixes do not sort
// by instant in SQL.
void sortByDue(QList<Task> &tasks, bool undatedFirst)
{
    std::stable_sort(tasks.begin(), tasks.end(), [undatedFirst](const Task &a, const Task &b) {
        const bool aDue = a.due_date && a.due_date->isValid();
        const bool bDue = b.due_date && b.due_date->isValid();
        if (aDue != bDue)
            return undatedFirst ? bDue : aDue;
        if (aDue && *a.due_date != *b.due_date)
            return *a.due_date < *b.due_date;
        return a.sort_order < b.sort_order;
    });
}

QDateTime midnightOf(const QDateTime &t)
{
    QDateTime m = t;
    m.setTime(QTime(0, 0));
    return m;
}

// The rule with its COUNT lowered by one; the other parts stay as written.
QString withCountLowered(const QString &rule)
{
    QStringList parts = rule.split(QLatin1Char(';'));
    for (QString &part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0 || part.left(eq).trimmed().compare(QLatin1String("COUNT"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int count = part.mid(eq + 1).trimmed().toInt(&ok);
        if (ok && count > 1)
            part = part.left(eq + 1) + QString::number(count - 1);
    }
    return parts.join(QLatin1Char(';'));
}

// A due date as the reminder poll reads it: a bare date is local midnight of that day.
QDateTime dueOfReminder(const QString &text)
{
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        return date.isValid() ? date.startOfDay() : QDateTime();
    }
    return QDateTime::fromString(text, Qt::ISODate);
}

} // namespace

TaskRepository::TaskRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_statements(&db->connection())
    , m_changes(this, [this](const QString &calendarId) { emit tasksChanged(calendarId); })
{ }

QList<Task> TaskRepository::list(const QString &sql, const QStringList &values,
                                 const char *logName) const
{
    QList<Task> tasks
        = Sql::readAll<Task>(m_statements, sql.arg(kColumns), values, logName, &readRow);
    loadRemindersFor(tasks);
    return tasks;
}

std::optional<Task> TaskRepository::one(const QString &sql, const QStringList &values,
                                        const char *logName) const
{
    std::optional<Task> t
        = Sql::readOne<Task>(m_statements, sql.arg(kColumns), values, logName, &readRow);
    if (!t)
        return t;
    QList<Task> tasks {std::move(*t)};
    loadRemindersFor(tasks);
    return tasks.first();
}

QList<Task> TaskRepository::listByCalendar(const QString &calendarId) const
{
    QList<Task> tasks = list(QStringLiteral("SELECT %1 FROM tasks WHERE calendar_id = ? AND "
                                            "deleted_at IS NULL ORDER BY due_date IS NULL, "
                                            "due_date, sort_order"),
                             {calendarId}, "TaskRepository::listByCalendar failed:");
    sortByDue(tasks, false);
    return tasks;
}

QList<Task> TaskRepository::listInRange(const QDateTime &from, const QDateTime &to,
                                        const QStringList &calendarIds) const
{
    const QString fromBound = Sql::widenedBound(from, -Sql::kZoneSlackSecs);
    const QString toBound = Sql::widenedBound(to, Sql::kZoneSlackSecs);
    const QString base = QStringLiteral(
        "SELECT %1 FROM tasks WHERE deleted_at IS NULL AND ((due_date IS NOT NULL AND due_date "
        ">= ? AND due_date < ?) OR (start_date IS NOT NULL AND start_date >= ? AND start_date < "
        "?))%2 ORDER BY due_date, sort_order");

    QList<Task> tasks;
    const auto run = [&](const QStringList &ids) {
        const QString filter
            = ids.isEmpty() ? QString() : QStringLiteral(" AND calendar_id ") + Sql::kInJsonList;
        Sql::Reader r(m_db->connection(), base.arg(kColumns, filter),
                      "TaskRepository::listInRange failed:");
        r.bindAll({fromBound, toBound, fromBound, toBound});
        if (!ids.isEmpty())
            r.bind(Sql::jsonList(ids));
        while (r.next()) {
            Task t = readRow(r);
            if (inRange(t.due_date, from, to) || inRange(t.start_date, from, to))
                tasks.append(std::move(t));
        }
        return !r.failed();
    };
    if (calendarIds.isEmpty())
        run({});
    else
        Sql::forEachChunk(calendarIds, run);

    sortByDue(tasks, true);
    loadRemindersFor(tasks);
    return tasks;
}

QList<Task> TaskRepository::listPending(const QString &calendarId) const
{
    return list(QStringLiteral("SELECT %1 FROM tasks WHERE calendar_id = ? AND sync_status = "
                               "'pending' ORDER BY last_modified"),
                {calendarId}, "TaskRepository::listPending failed:");
}

std::optional<Task> TaskRepository::byId(const QString &id) const
{
    return one(QStringLiteral("SELECT %1 FROM tasks WHERE id = ?"), {id},
               "TaskRepository::byId failed:");
}

std::optional<Task> TaskRepository::byUid(const QString &uid) const
{
    if (uid.isEmpty())
        return std::nullopt;
    return one(QStringLiteral("SELECT %1 FROM tasks WHERE uid = ? AND deleted_at IS NULL LIMIT 1"),
               {uid}, "TaskRepository::byUid failed:");
}

std::optional<Task> TaskRepository::byUidInCalendar(const QString &uid,
                                                    const QString &calendarId) const
{
    return one(QStringLiteral("SELECT %1 FROM tasks WHERE uid = ? AND calendar_id = ?"),
               {uid, calendarId}, "TaskRepository::byUidInCalendar failed:");
}

void TaskRepository::loadRemindersFor(QList<Task> &tasks) const
{
    Sql::loadChildrenFor(m_statements, tasks,
                         QStringLiteral("SELECT id, task_id, minutes_before, action, acknowledged, "
                                        "trigger_time FROM task_reminders WHERE task_id %1"),
                         "TaskRepository::loadRemindersFor failed:", &Sql::readReminderRow,
                         &Task::reminders, &Reminder::task_id);
}

bool TaskRepository::writeReminders(const Task &task, bool replace)
{
    return Sql::writeReminderRows(
        m_statements, QStringLiteral("task_reminders"), QStringLiteral("task_id"), task.id,
        task.reminders, replace, &Reminder::task_id,
        [](const Reminder &r) { return Sql::dateTime(r.trigger_time); },
        "TaskRepository::writeReminders");
}

bool TaskRepository::writeTask(const Task &t, bool isInsert)
{
    const char *failed
        = isInsert ? "TaskRepository::insert failed:" : "TaskRepository::update failed:";
    if (isInsert && t.id.isEmpty()) {
        // SQLite would accept the empty key, and every later task without an id would clash.
        qWarning() << failed << "the task has no id";
        return false;
    }

    // The row and its reminder rows are written together or not at all.
    Sql::Savepoint sp(m_statements, QStringLiteral("task_write"));
    if (!sp.isActive()) {
        qWarning() << failed << sp.errorText();
        return false;
    }

    static const QString insertSql = QStringLiteral("INSERT INTO tasks (") + kColumns
        + QStringLiteral(") VALUES (") + Sql::placeholders(kColumnCount) + QLatin1Char(')');
    QSqlQuery &q = m_statements.get(
        isInsert ? insertSql
                 : QStringLiteral(
                     "UPDATE tasks SET calendar_id = ?, uid = ?, etag = ?, href = ?, title = ?, "
                     "description = ?, status = ?, priority = ?, percent_complete = ?, "
                     "due_date = ?, start_date = ?, completed_date = ?, categories = ?, "
                     "parent_task_uid = ?, sort_order = ?, color = ?, recurrence_rule = ?, "
                     "sequence = ?, raw_icalendar = ?, last_modified = ?, sync_status = ?, "
                     "deleted_at = ?, due_is_date_only = ?, start_is_date_only = ?, "
                     "repeat_mode = ?, item_type = ? WHERE id = ?"));
    if (isInsert)
        q.addBindValue(t.id);
    q.addBindValue(Sql::text(t.calendar_id));
    q.addBindValue(Sql::text(t.uid));
    q.addBindValue(Sql::text(t.etag));
    q.addBindValue(Sql::text(t.href));
    q.addBindValue(Sql::text(t.title));
    q.addBindValue(Sql::text(t.description));
    q.addBindValue(Sql::text(t.status));
    q.addBindValue(t.priority);
    q.addBindValue(t.percent_complete);
    q.addBindValue(Sql::dateTime(t.due_date));
    q.addBindValue(Sql::dateTime(t.start_date));
    q.addBindValue(Sql::dateTime(t.completed_date));
    q.addBindValue(jsonTextArray(t.categories));
    q.addBindValue(Sql::text(t.parent_task_uid));
    q.addBindValue(t.sort_order);
    q.addBindValue(Sql::text(t.color));
    q.addBindValue(Sql::text(t.recurrence_rule));
    q.addBindValue(t.sequence);
    q.addBindValue(Sql::text(t.raw_icalendar));
    if (isInsert) {
        q.addBindValue(Sql::dateTime(t.created));
        q.addBindValue(Sql::dateTime(t.last_modified));
        q.addBindValue(orDefault(t.sync_status, QStringLiteral("synced")));
    } else {
        q.addBindValue(Sql::dateTime(m_db->currentDateTimeUtc()));
        q.addBindValue(orDefault(t.sync_status, QStringLiteral("pending")));
    }
    q.addBindValue(Sql::dateTime(t.deleted_at));
    q.addBindValue(t.due_is_date_only ? 1 : 0);
    q.addBindValue(t.start_is_date_only ? 1 : 0);
    q.addBindValue(orDefault(t.repeat_mode, kFromDueDate));
    q.addBindValue(orDefault(t.item_type, kTaskType));
    if (!isInsert)
        q.addBindValue(t.id);

    if (!q.exec()) {
        qWarning() << failed << q.lastError().text();
        return false;
    }
    // A new row has no reminder rows yet.
    if (!writeReminders(t, !isInsert)) {
        qWarning() << failed << "reminder rows could not be written; nothing was changed";
        return false;
    }
    if (!sp.release()) {
        qWarning() << failed << sp.errorText();
        return false;
    }
    m_changes.notify(t.calendar_id);
    return true;
}

bool TaskRepository::insert(const Task &task)
{
    return writeTask(task, true);
}

bool TaskRepository::update(const Task &task)
{
    return writeTask(task, false);
}

QString TaskRepository::calendarOf(const QString &id) const
{
    return Sql::readText(m_db->connection(),
                         QStringLiteral("SELECT calendar_id FROM tasks WHERE id = ?"), {id},
                         "TaskRepository::calendarOf failed:");
}

bool TaskRepository::remove(const QString &id)
{
    const QString calendarId = calendarOf(id);
    const QVariant now = Sql::dateTime(m_db->currentDateTimeUtc());
    QString error;
    if (!Sql::run(m_db->connection(),
                  QStringLiteral("UPDATE tasks SET deleted_at = ?, sync_status = 'pending', "
                                 "last_modified = ? WHERE id = ?"),
                  {now, now, id}, &error)) {
        qWarning() << "TaskRepository::remove failed:" << error;
        return false;
    }
    m_changes.notify(calendarId);
    return true;
}

bool TaskRepository::hardDelete(const QString &id)
{
    const QString calendarId = calendarOf(id);
    QString error;
    // The reminder rows go with the task through the cascading key.
    if (!Sql::run(m_db->connection(), QStringLiteral("DELETE FROM tasks WHERE id = ?"), {id},
                  &error)) {
        qWarning() << "TaskRepository::hardDelete failed:" << error;
        return false;
    }
    m_changes.notify(calendarId);
    return true;
}

bool TaskRepository::markSynced(const QString &id, const QString &href, const QString &etag)
{
    return Sql::run(m_db->connection(),
                    QStringLiteral("UPDATE tasks SET href = ?, etag = ?, sync_status = 'synced' "
                                   "WHERE id = ?"),
                    {Sql::text(href), Sql::text(etag), id});
}

// Moves a recurring task on to its next occurrence. False when the series is used up.
bool TaskRepository::advance(Task &task, const QDateTime &now) const
{
    const RRule rule = parseRRule(task.recurrence_rule);
    // The stored COUNT is what is left of the series, this occurrence included.
    if (rule.count == 1)
        return false;

    QDateTime base;
    if (task.repeat_mode == QLatin1String("fromCompletionDate"))
        base = now.toLocalTime();
    else if (task.due_date)
        base = *task.due_date;
    else if (task.start_date)
        base = *task.start_date;
    if (!base.isValid())
        return false;

    Event scratch;
    scratch.start_time = base;
    scratch.end_time = base;
    scratch.recurrence_rule = task.recurrence_rule;
    const QList<Event> next = expandRecurringMaster(scratch, base.addSecs(1), base.addYears(5));
    if (next.isEmpty())
        return false;

    QDateTime when = next.first().start_time;
    if (task.due_is_date_only)
        when = midnightOf(when);
    if (task.due_date)
        task.due_date = when;
    else if (task.start_date)
        task.start_date = task.start_is_date_only ? midnightOf(when) : when;

    if (rule.count > 1)
        task.recurrence_rule = withCountLowered(task.recurrence_rule);

    // The next occurrence reminds again, measured back from its own date.
    const std::optional<QDateTime> anchor = task.due_date ? task.due_date : task.start_date;
    for (Reminder &r : task.reminders) {
        r.acknowledged = false;
        r.trigger_time.reset();
        if (anchor && anchor->isValid())
            r.trigger_time = anchor->addSecs(-qint64(r.minutes_before) * 60);
    }

    task.status = QStringLiteral("needs-action");
    task.completed_date.reset();
    task.percent_complete = 0;
    return true;
}

bool TaskRepository::setCompleted(const QString &taskId, bool completed)
{
    const std::optional<Task> stored = byId(taskId);
    if (!stored)
        return false;
    Task task = *stored;
    const QDateTime now = m_db->currentDateTimeUtc();

    const bool repeats
        = !task.recurrence_rule.isEmpty() && task.status != QLatin1String("completed");
    if (!completed) {
        task.status = QStringLiteral("needs-action");
        task.completed_date.reset();
        task.percent_complete = 0;
    } else if (!repeats || !advance(task, now)) {
        task.status = QStringLiteral("completed");
        task.completed_date = now.toUTC();
        task.percent_complete = 100;
    }

    ++task.sequence;
    task.sync_status = QStringLiteral("pending");
    task.raw_icalendar = updatedICalendarTodo(task, now);
    return update(task);
}

int TaskRepository::purgeByIdPrefix(const QString &prefix)
{
    // Reminder rows go with their task through the foreign key's cascade.
    const int removed = Sql::runCounting(
        m_db->connection(), QStringLiteral("DELETE FROM tasks WHERE id LIKE ? ESCAPE '\\'"),
        {Sql::likePrefix(prefix)}, "TaskRepository::purgeByIdPrefix failed:");
    m_changes.notify(QString());
    return std::max(0, removed);
}

bool TaskRepository::purgeCalendar(const QString &calendarId, QString *error)
{
    // Reminder rows go with their task through the foreign key's cascade.
    QString failure;
    if (!Sql::run(m_db->connection(), QStringLiteral("DELETE FROM tasks WHERE calendar_id = ?"),
                  {calendarId}, &failure)) {
        qWarning() << "TaskRepository::purgeCalendar failed:" << failure;
        if (error)
            *error = failure;
        return false;
    }
    m_changes.notify(calendarId);
    return true;
}

std::optional<QList<TaskReminderAlert>>
TaskRepository::unacknowledgedReminders(const QDateTime &dueAfter, const QDateTime &until,
                                        QString *error) const
{
    // The due date's index bounds the read below on both sides, so neither the tasks of years
    // past nor those of the months ahead are read at every poll: a reminder up to a day ahead
    // is found by its task's due date, the few set further ahead by their own index. SQLite's
    // reading of the texts (local ones as UTC, so widened by the largest offset) leaves out
    // those whose time is still to come.
    const QString columns = QStringLiteral(
        "SELECT tr.id, t.title, t.due_date, t.due_is_date_only, tr.minutes_before ");
    const QString due = QStringLiteral(
        "tr.acknowledged = 0 AND t.deleted_at IS NULL AND t.status NOT IN ('completed', "
        "'cancelled') AND julianday(t.due_date) - tr.minutes_before / 1440.0 <= julianday(?3)");
    return Sql::readAllOrNone<TaskReminderAlert>(
        m_db->connection(),
        columns
            + QStringLiteral("FROM tasks t CROSS JOIN task_reminders tr ON tr.task_id = t.id "
                             "WHERE t.due_date >= ?1 AND t.due_date <= ?2 AND ")
            + due + QStringLiteral(" UNION ALL ") + columns
            + QStringLiteral("FROM task_reminders tr CROSS JOIN tasks t ON t.id = tr.task_id "
                             "WHERE tr.minutes_before > 1440 AND t.due_date > ?2 AND ")
            + due + QStringLiteral(" ORDER BY 3"),
        {Sql::widenedBound(dueAfter, -Sql::kZoneSlackSecs),
         Sql::widenedBound(until.addDays(1), Sql::kZoneSlackSecs),
         Sql::widenedBound(until, Sql::kZoneSlackSecs)},
        "TaskRepository::unacknowledgedReminders failed:",
        [](const Sql::Reader &r) {
            TaskReminderAlert a;
            a.reminderId = r.text(0);
            a.title = r.text(1);
            a.due = dueOfReminder(r.text(2));
            a.dueIsDateOnly = r.integer(3) != 0;
            a.minutesBefore = r.integer(4);
            return a;
        },
        error);
}

bool TaskRepository::acknowledgeReminders(const QStringList &reminderIds, QString *error)
{
    return Sql::acknowledgeReminderRows(m_db->connection(), QStringLiteral("task_reminders"),
                                        reminderIds, error,
                                        "TaskRepository::acknowledgeReminders failed:");
}
