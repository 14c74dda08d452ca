#include "model/QuickAddItems.h"

#include "model/ICalendar.h"
#include "model/Identifiers.h"
#include "model/LocalEvent.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {

QString titleFor(const NLParser::ParseResult &parsed, const QString &line)
{
    return parsed.title.isEmpty() ? line.trimmed() : parsed.title;
}

bool acceptsTodos(const Calendar &calendar)
{
    const QJsonArray components
        = QJsonDocument::fromJson(calendar.supported_components.toUtf8()).array();
    for (const QJsonValue &c : components) {
        if (c.toString().compare(QLatin1String("VTODO"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

Task quickAddTodo(const QString &line, const NLParser::ParseResult &parsed,
                  const QString &calendarId, bool reminder, const QDateTime &now)
{
    Task task = Task::newLocal();
    task.id = newId();
    task.uid = task.id;
    task.calendar_id = calendarId;
    task.title = titleFor(parsed, line);
    task.item_type = reminder ? QStringLiteral("reminder") : QStringLiteral("task");
    task.status = QStringLiteral("needs-action");
    task.categories = parsed.tags;
    if (parsed.hasTime) {
        task.due_date = parsed.start;
        task.due_is_date_only = false;
    } else if (parsed.isAllDay) {
        // A reminder of a day rings in the morning; a task of a day is due on the day itself.
        const QTime clock = reminder ? QTime(9, 0) : QTime(0, 0);
        task.due_date = NLParser::inZoneOf(parsed.start.date(), clock, parsed.start);
        task.due_is_date_only = !reminder;
    }
    if (reminder && task.due_date) {
        Reminder alarm;
        alarm.task_id = task.id;
        alarm.minutes_before = 0;
        alarm.action = QStringLiteral("display");
        task.reminders.append(alarm);
    }
    task.created = now.toUTC();
    task.last_modified = task.created;
    task.sequence = 0;
    task.raw_icalendar = writeICalendarTodo(task, now);
    return task;
}

Event quickAddEvent(const QString &line, const NLParser::ParseResult &parsed,
                    const QString &calendarId, bool assignIdentity, const QDateTime &now)
{
    Event event = Event::newLocal();
    event.title = titleFor(parsed, line);
    event.start_time = parsed.start;
    event.end_time = parsed.end;
    event.is_all_day = parsed.isAllDay;
    event.timezone = QStringLiteral("UTC");
    event.calendar_id = calendarId;
    event.status = QStringLiteral("confirmed");
    return assignIdentity ? newLocalEvent(std::move(event), now)
                          : withAllDayDates(std::move(event));
}

QString quickAddCalendarAmong(const QList<Calendar> &calendars, bool forTodo)
{
    // Subscriptions and read-only shared calendars would refuse the item at the next sync.
    QList<Calendar> candidates;
    for (const Calendar &c : calendars) {
        if (!c.is_read_only)
            candidates.append(c);
    }
    if (forTodo && std::any_of(candidates.cbegin(), candidates.cend(), acceptsTodos))
        candidates.removeIf([](const Calendar &c) { return !acceptsTodos(c); });

    const Calendar *firstVisible = nullptr;
    for (const Calendar &c : std::as_const(candidates)) {
        if (c.is_default)
            return c.id;
        if (!firstVisible && c.is_visible)
            firstVisible = &c;
    }
    if (firstVisible)
        return firstVisible->id;
    return candidates.isEmpty() ? QString() : candidates.first().id;
}
