#include "core/SampleData.h"

#include "core/Store.h"
#include "model/Clock.h"
#include "model/ICalendar.h"
#include "model/Records.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QStringList>

namespace SampleData {
namespace {

const QString kAccountId = QStringLiteral("sample-account");

struct CalendarRow
{
    const char *key;
    const char *name;
    const char *color;
};

const CalendarRow kCalendars[] = {
    {"work", "Work", "#1565C0"},
    {"personal", "Personal", "#2E7D32"},
    {"family", "Family", "#E65100"},
    {"birthdays", "Birthdays", "#6A1B9A"},
};

struct EventRow
{
    const char *key;
    const char *calendar;
    const char *title;
    int startDay;
    QTime start; // invalid: all day
    int endDay;
    QTime end;
    const char *rrule;
    const char *location;
    const char *description;
};

const EventRow kEvents[] = {
    {"yesterday-retro", "work", "Sprint retrospective", -1, QTime(15, 0), -1, QTime(16, 0), "", "",
     "Review what went well and what to improve"},
    {"today-deadline", "work", "Project Phoenix deadline", 0, QTime(), 1, QTime(), "", "",
     "Final submission for Project Phoenix"},
    {"today-run", "personal", "Morning run", 0, QTime(6, 30), 0, QTime(7, 15), "", "", ""},
    {"today-standup", "work", "Team standup", 0, QTime(9, 0), 0, QTime(9, 30),
     "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", "", ""},
    {"today-design", "work", "Design review", 0, QTime(10, 30), 0, QTime(11, 30), "", "",
     "Review new dashboard mockups with design team"},
    {"today-lunch", "personal", "Lunch with Alex", 0, QTime(12, 0), 0, QTime(13, 0), "",
     "Corner Salad Bar", ""},
    {"today-sprint", "work", "Sprint planning", 0, QTime(14, 0), 0, QTime(15, 30), "", "",
     "Plan next sprint priorities and assignments"},
    {"today-yoga", "personal", "Yoga class", 0, QTime(17, 30), 0, QTime(18, 30),
     "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE,FR", "Studio Stretch", ""},
    {"today-date", "family", "Date night", 0, QTime(19, 0), 0, QTime(21, 0), "", "Corner Bistro",
     ""},
    {"tom-client", "work", "Client presentation", 1, QTime(10, 0), 1, QTime(11, 0), "",
     "Conference Room B", "Q1 progress presentation for Client Co"},
    {"tom-dentist", "personal", "Dentist appointment", 1, QTime(14, 0), 1, QTime(15, 0), "",
     "Riverside Dental Care", ""},
    {"d2-1on1", "work", "1:1 with manager", 2, QTime(11, 0), 2, QTime(11, 30), "FREQ=WEEKLY", "",
     ""},
    {"d2-pickup", "family", "Pick up kids", 2, QTime(15, 45), 2, QTime(16, 15),
     "FREQ=WEEKLY;BYDAY=MO,WE,FR", "Maple Primary School", ""},
    {"d3-bookclub", "personal", "Book club", 3, QTime(19, 0), 3, QTime(21, 0),
     "FREQ=MONTHLY;BYDAY=1TH", "Downtown Library", ""},
    {"d5-happy-hour", "work", "Happy hour", 5, QTime(17, 0), 5, QTime(19, 0), "", "The Local Pub",
     ""},
    {"d5-birthday", "family", "Kim's birthday party", 5, QTime(15, 0), 5, QTime(18, 0), "",
     "7 Birch Lane", "Bring a wrapped gift and swimsuit"},
    {"d2-redeye", "personal", "Red-eye to Tokyo (multi-day timed)", 2, QTime(21, 30), 4,
     QTime(6, 15), "", "Terminal 2", ""},
    {"d6-conf", "work", "Developer conference 2026 (multi-day all-day)", 6, QTime(), 9, QTime(), "",
     "Convention Center Hall A", "Three-day conference, badge required"},
};

struct TaskRow
{
    const char *key;
    const char *calendar;
    const char *title;
    bool hasDue;
    int dueDay;
    QTime dueTime;
    int priority;
    bool completed;
};

const TaskRow kTasks[] = {
    {"review-mockups", "work", "Review design mockups", true, 1, QTime(17, 0), 5, false},
    {"q1-report", "work", "Prepare Q1 report", true, -2, QTime(17, 0), 2, false},
    {"anniversary", "family", "Book restaurant for anniversary", true, 7, QTime(17, 0), 4, false},
    {"buy-gift", "family", "Buy birthday gift for Mom", true, 14, QTime(17, 0), 3, false},
    {"dentist-followup", "personal", "Schedule dentist follow-up", true, 12, QTime(12, 0), 8,
     false},
    {"buy-milk", "personal", "Buy milk", false, 0, QTime(), 0, false},
    {"renew-license", "personal", "Renew driver's license", true, 30, QTime(17, 0), 5, false},
    {"old-completed", "work", "File expense report", true, -3, QTime(17, 0), 5, true},
};

QString calendarId(const char *key)
{
    return QStringLiteral("sample-cal-") + QLatin1String(key);
}

const QString kCrLf = QStringLiteral("\r\n");

QStringList icsHead()
{
    return {QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
            QStringLiteral("PRODID:") + iCalendarProductId()};
}

bool ensureAccount(const Store &store, const QDateTime &now)
{
    if (store.accounts()->byId(kAccountId))
        return true;
    Account account;
    account.id = kAccountId;
    account.name = QStringLiteral("Sample Data");
    account.type = QStringLiteral("larkspindle");
    account.color = QStringLiteral("#9E9E9E");
    account.sync_interval_minutes = 0;
    account.enabled = true;
    account.created_at = now;
    account.updated_at = now;
    return store.accounts()->insert(account);
}

int ensureCalendar(const Store &store, const QDateTime &now)
{
    int created = 0;
    for (const CalendarRow &row : kCalendars) {
        const QString id = calendarId(row.key);
        if (store.calendars()->byId(id))
            continue;
        Calendar calendar;
        calendar.id = id;
        calendar.account_id = kAccountId;
        calendar.url = QStringLiteral("local://calendar/") + id;
        calendar.name = QString::fromUtf8(row.name);
        calendar.color = QString::fromLatin1(row.color);
        calendar.timezone = QStringLiteral("UTC");
        calendar.is_visible = true;
        calendar.is_read_only = false;
        calendar.is_default = false;
        calendar.supported_components = QStringLiteral("[\"VEVENT\"]");
        calendar.sort_order = 0;
        calendar.created_at = now;
        calendar.updated_at = now;
        if (store.calendars()->insert(calendar))
            ++created;
    }
    return created;
}

QString eventIcs(const Event &event)
{
    QStringList lines = icsHead();
    lines << QStringLiteral("BEGIN:VEVENT") << QStringLiteral("UID:") + event.id
          << QStringLiteral("SUMMARY:") + event.title;
    if (event.is_all_day) {
        lines << QStringLiteral("DTSTART;VALUE=DATE:")
                + formatICalendarDate(event.start_time.date());
        if (event.end_time)
            lines << QStringLiteral("DTEND;VALUE=DATE:")
                    + formatICalendarDate(event.end_time->date());
    } else {
        lines << QStringLiteral("DTSTART:") + formatICalendarUtc(event.start_time);
        if (event.end_time)
            lines << QStringLiteral("DTEND:") + formatICalendarUtc(*event.end_time);
    }
    if (!event.location.isEmpty())
        lines << QStringLiteral("LOCATION:") + event.location;
    if (!event.description.isEmpty())
        lines << QStringLiteral("DESCRIPTION:") + event.description;
    if (!event.recurrence_rule.isEmpty())
        lines << QStringLiteral("RRULE:") + event.recurrence_rule;
    lines << QStringLiteral("END:VEVENT") << QStringLiteral("END:VCALENDAR");
    return lines.join(kCrLf);
}

QString taskIcs(const Task &task)
{
    QStringList lines = icsHead();
    lines << QStringLiteral("BEGIN:VTODO") << QStringLiteral("UID:") + task.id
          << QStringLiteral("SUMMARY:") + task.title
          << QStringLiteral("STATUS:") + task.status.toUpper();
    if (task.priority > 0)
        lines << QStringLiteral("PRIORITY:") + QString::number(task.priority);
    if (task.due_date)
        lines << QStringLiteral("DUE:") + formatICalendarUtc(*task.due_date);
    lines << QStringLiteral("END:VTODO") << QStringLiteral("END:VCALENDAR");
    return lines.join(kCrLf);
}

bool insertEvent(const Store &store, const EventRow &row, const QDate &today, const QDateTime &now)
{
    const QString id = QStringLiteral("sample-event-") + QLatin1String(row.key);
    if (store.events()->byId(id))
        return false;
    Event event;
    event.id = id;
    event.uid = id;
    event.calendar_id = calendarId(row.calendar);
    event.title = QString::fromUtf8(row.title);
    event.is_all_day = !row.start.isValid();
    const QTime midnight(0, 0);
    event.start_time
        = QDateTime(today.addDays(row.startDay), event.is_all_day ? midnight : row.start);
    event.end_time = QDateTime(today.addDays(row.endDay), event.is_all_day ? midnight : row.end);
    event.location = QString::fromUtf8(row.location);
    event.description = QString::fromUtf8(row.description);
    event.recurrence_rule = QString::fromLatin1(row.rrule);
    event.timezone = QStringLiteral("UTC");
    event.status = QStringLiteral("confirmed");
    event.sync_status = QStringLiteral("synced");
    event.created = now;
    event.last_modified = now;
    event.raw_icalendar = eventIcs(event);
    return store.events()->insert(event);
}

bool insertTask(const Store &store, const TaskRow &row, const QDate &today, const QDateTime &now)
{
    const QString id = QStringLiteral("sample-task-") + QLatin1String(row.key);
    if (store.tasks()->byId(id))
        return false;
    Task task;
    task.id = id;
    task.uid = id;
    task.calendar_id = calendarId(row.calendar);
    task.title = QString::fromUtf8(row.title);
    if (row.hasDue)
        task.due_date = QDateTime(today.addDays(row.dueDay), row.dueTime);
    task.priority = row.priority;
    if (row.completed) {
        task.status = QStringLiteral("completed");
        task.percent_complete = 100;
        task.completed_date = now;
    } else {
        task.status = QStringLiteral("needs-action");
    }
    task.created = now;
    task.last_modified = now;
    task.sync_status = QStringLiteral("synced");
    task.raw_icalendar = taskIcs(task);
    return store.tasks()->insert(task);
}

} // namespace

int seed(const Store &store)
{
    return seed(store, Clock::today());
}

int seed(const Store &store, const QDate &today)
{
    const QDateTime now = Clock::nowUtc();
    if (!ensureAccount(store, now))
        return 0;
    int count = ensureCalendar(store, now);
    for (const EventRow &row : kEvents)
        count += insertEvent(store, row, today, now) ? 1 : 0;
    for (const TaskRow &row : kTasks)
        count += insertTask(store, row, today, now) ? 1 : 0;
    return count;
}

int clear(const Store &store)
{
    // Events and tasks before their calendars, calendars before the account: the order the
    // foreign keys allow.
    int total = store.events()->purgeByIdPrefix(QStringLiteral("sample-event-"));
    total += store.tasks()->purgeByIdPrefix(QStringLiteral("sample-task-"));
    total += store.calendars()->purgeByIdPrefix(QStringLiteral("sample-cal-"));
    // The account is not counted: loading reports calendars, events and tasks.
    (void)store.accounts()->purge(kAccountId);
    return total;
}

} // namespace SampleData
