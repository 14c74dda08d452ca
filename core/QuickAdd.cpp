#include "core/QuickAdd.h"

#include "core/AppState.h"
#include "model/ICalendar.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <algorithm>

namespace {

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

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

// The part the reminder and the task share; only the due time and the alarm differ.
Task makeQuickAddTodo(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                      const QString &preferredCalendarId, const QDateTime &now, bool reminder)
{
    Task task = Task::newLocal();
    task.id = newId();
    task.uid = task.id;
    task.calendar_id = quickAddTargetCalendar(state, preferredCalendarId, true);
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

} // namespace

QString createFromQuickAdd(AppState *state, const QString &line, const QString &preferredCalendarId)
{
    return createFromQuickAdd(state, line, preferredCalendarId, QDateTime::currentDateTime());
}

QString createFromQuickAdd(AppState *state, const QString &line, const QString &preferredCalendarId,
                           const QDateTime &now)
{
    if (!state)
        return QString();
    const NLParser::ParseResult parsed = NLParser::parse(line, now);
    // A day the month does not have ("feb 30") would store an item without its date.
    if (!parsed.start.isValid())
        return QString();

    if (parsed.isReminder || parsed.isTask) {
        const Task task = parsed.isReminder
            ? makeQuickAddReminder(state, line, parsed, preferredCalendarId, now)
            : makeQuickAddTask(state, line, parsed, preferredCalendarId, now);
        if (task.title.isEmpty() || task.calendar_id.isEmpty() || !state->tasks())
            return QString();
        return state->tasks()->insert(task) ? task.id : QString();
    }
    const Event event = makeQuickAddEvent(state, line, preferredCalendarId, true, now);
    if (event.title.isEmpty() || event.calendar_id.isEmpty() || !state->events())
        return QString();
    return state->events()->insert(event) ? event.id : QString();
}

Task makeQuickAddReminder(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                          const QString &preferredCalendarId)
{
    return makeQuickAddReminder(state, line, parsed, preferredCalendarId,
                                QDateTime::currentDateTime());
}

Task makeQuickAddReminder(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                          const QString &preferredCalendarId, const QDateTime &now)
{
    return makeQuickAddTodo(state, line, parsed, preferredCalendarId, now, true);
}

Task makeQuickAddTask(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                      const QString &preferredCalendarId)
{
    return makeQuickAddTask(state, line, parsed, preferredCalendarId, QDateTime::currentDateTime());
}

Task makeQuickAddTask(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                      const QString &preferredCalendarId, const QDateTime &now)
{
    return makeQuickAddTodo(state, line, parsed, preferredCalendarId, now, false);
}

Event makeQuickAddEvent(AppState *state, const QString &line, const QString &preferredCalendarId,
                        bool assignIdentity)
{
    return makeQuickAddEvent(state, line, preferredCalendarId, assignIdentity,
                             QDateTime::currentDateTime());
}

Event makeQuickAddEvent(AppState *state, const QString &line, const QString &preferredCalendarId,
                        bool assignIdentity, const QDateTime &now)
{
    Event event = Event::newLocal();
    if (line.trimmed().isEmpty())
        return event; // its empty title makes creation fail

    const NLParser::ParseResult parsed = NLParser::parse(line, now);
    event.title = titleFor(parsed, line);
    event.start_time = parsed.start;
    event.end_time = parsed.end;
    event.is_all_day = parsed.isAllDay;
    event.timezone = QStringLiteral("UTC");
    event.calendar_id = quickAddTargetCalendar(state, preferredCalendarId);
    event.status = QStringLiteral("confirmed");
    if (assignIdentity) {
        event.id = newId();
        event.uid = event.id;
        event.created = now.toUTC();
        event.last_modified = event.created;
        event.sequence = 0;
        event.raw_icalendar = writeMinimalICalendarEvent(event, now);
    }
    return event;
}

QString quickAddTargetCalendar(AppState *state, const QString &preferredCalendarId, bool forTodo)
{
    if (!state || !state->calendars())
        return QString();
    CalendarRepository *calendars = state->calendars();
    if (!preferredCalendarId.isEmpty()) {
        const std::optional<Calendar> preferred = calendars->byId(preferredCalendarId);
        if (preferred && !preferred->is_read_only)
            return preferredCalendarId;
    }

    // Subscriptions and read-only shared calendars would refuse the item at the next sync.
    QList<Calendar> candidates;
    const QList<Calendar> all = calendars->listAll();
    for (const Calendar &c : all) {
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

QString writeMinimalICalendarEvent(const Event &event)
{
    return writeMinimalICalendarEvent(event, QDateTime::currentDateTimeUtc());
}

QString writeMinimalICalendarEvent(const Event &event, const QDateTime &now)
{
    const QLatin1String crlf("\r\n");
    QString text = QLatin1String("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:") + iCalendarProductId()
        + QLatin1String("\r\nBEGIN:VEVENT\r\n");
    text += QLatin1String("UID:") + escapeICalendarText(event.uid) + crlf;
    text += QLatin1String("DTSTAMP:") + formatICalendarUtc(now) + crlf;
    text += QLatin1String("SUMMARY:") + escapeICalendarText(event.title) + crlf;
    if (event.is_all_day) {
        // Dates, so the event comes back as an all-day one; the end date is exclusive.
        const QDate start = event.start_time.date();
        QDate end = event.end_time ? event.end_time->date() : QDate();
        if (!end.isValid() || end <= start)
            end = start.addDays(1);
        text += QLatin1String("DTSTART;VALUE=DATE:") + formatICalendarDate(start) + crlf;
        text += QLatin1String("DTEND;VALUE=DATE:") + formatICalendarDate(end) + crlf;
    } else {
        const QString start = formatICalendarUtc(event.start_time);
        const QString end = event.end_time ? formatICalendarUtc(*event.end_time) : start;
        text += QLatin1String("DTSTART:") + start + crlf;
        text += QLatin1String("DTEND:") + end + crlf;
    }
    if (!event.related_to_uid.isEmpty())
        text += QLatin1String("RELATED-TO;RELTYPE=PARENT:")
            + escapeICalendarText(event.related_to_uid) + crlf;
    text += QLatin1String("END:VEVENT\r\nEND:VCALENDAR\r\n");
    return text;
}
