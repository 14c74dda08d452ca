#include "services/sync/cloud/CloudItems.h"

#include "model/EventTimeRewrite.h"
#include "model/ICalendar.h"
#include "model/JsonText.h"
#include "services/account/ApiClient.h"

namespace Larkspindle {

QString cloudCalendarUrl(const QString &serverId)
{
    return QStringLiteral("larkspindle://") + serverId;
}

QString cloudCalendarPath(const QString &serverId)
{
    return QStringLiteral("/calendars/") + LarkAccount::ApiClient::pathSegment(serverId);
}

QString cloudEventsPath(const QString &serverId)
{
    return cloudCalendarPath(serverId) + QLatin1String("/events");
}

QString cloudTasksPath(const QString &serverId)
{
    return cloudCalendarPath(serverId) + QLatin1String("/tasks");
}

namespace {

QStringList dateLines(const QString &name, const QString &dates)
{
    QStringList lines;
    for (const QString &date : jsonTextList(dates)) {
        const QString form = date.contains(QLatin1Char('T')) ? QStringLiteral(":")
                                                             : QStringLiteral(";VALUE=DATE:");
        lines << name + form + date;
    }
    return lines;
}

// The row's own component among those of its text.
const Event *ownComponent(const QList<Event> &held, const Event &row)
{
    for (const Event &e : held) {
        if (e.uid == row.uid && e.recurrence_id == row.recurrence_id)
            return &e;
    }
    return nullptr;
}

} // namespace

std::optional<Event> cloudHeldEvent(const Event &row)
{
    const QList<Event> held = parseICalendarEvents(row.raw_icalendar);
    const Event *own = ownComponent(held, row);
    return own ? std::optional(*own) : std::nullopt;
}

QString cloudEventText(const Event &event)
{
    const QList<Event> held = parseICalendarEvents(event.raw_icalendar);
    if (held.isEmpty())
        return event.raw_icalendar;
    // The row's own component; the other components of the item go back as the service had them.
    const EventInText which {event.uid, event.recurrence_id};
    const Event *own = ownComponent(held, event);
    const Event &was = own ? *own : held.first();
    // Only what differs is written: every other line stays as the service had it.
    QHash<QString, QStringList> lines;
    const auto text = [&](const QString &name, const QString &now, const QString &before) {
        if (now != before)
            lines.insert(name,
                         now.isEmpty()
                             ? QStringList()
                             : QStringList {name + QLatin1Char(':') + escapeICalendarText(now)});
    };
    text(QStringLiteral("SUMMARY"), event.title, was.title);
    text(QStringLiteral("LOCATION"), event.location, was.location);
    text(QStringLiteral("DESCRIPTION"), event.description, was.description);
    if (event.recurrence_rule != was.recurrence_rule)
        lines.insert(QStringLiteral("RRULE"),
                     event.recurrence_rule.isEmpty()
                         ? QStringList()
                         : QStringList {QLatin1String("RRULE:") + event.recurrence_rule});
    if (jsonTextList(event.recurrence_dates) != jsonTextList(was.recurrence_dates))
        lines.insert(QStringLiteral("RDATE"),
                     dateLines(QStringLiteral("RDATE"), event.recurrence_dates));
    QString out = rewriteEventProperties(event.raw_icalendar, lines, which);
    // A timed row's zone goes with it where the text holds none or another one, so that the
    // series keeps the row's wall clock on other devices.
    const QString zone = !event.is_all_day && (was.is_all_day || event.timezone != was.timezone)
        ? event.timezone
        : QString();
    const bool moved = event.is_all_day != was.is_all_day || event.start_time != was.start_time
        || event.end_time != was.end_time || !zone.isEmpty();
    if (moved)
        out = rewriteEventTimes(out, event.start_time, event.end_time.value_or(QDateTime()), which,
                                event.is_all_day == was.is_all_day ? TimeValues::AsWritten
                                    : event.is_all_day             ? TimeValues::Dates
                                                                   : TimeValues::DateTimes,
                                zone);
    // A move takes the cancelled dates the text held along, into the series' form now; where it
    // moved by whole days, to the occurrences they still stand for.
    const QStringList cancelled = jsonTextList(event.exception_dates);
    if (cancelled != jsonTextList(was.exception_dates) || (moved && !cancelled.isEmpty()))
        out = rewriteCancelledDates(out, cancelledDatesNow(was, event), which);
    return out;
}

QJsonObject cloudEventObject(const Event &event, const QString &id)
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("uid"), event.uid);
    o.insert(QStringLiteral("title"), event.title);
    o.insert(QStringLiteral("raw_icalendar"), cloudEventText(event));
    o.insert(QStringLiteral("start_time"), event.start_time.toMSecsSinceEpoch());
    if (event.end_time)
        o.insert(QStringLiteral("end_time"), event.end_time->toMSecsSinceEpoch());
    o.insert(QStringLiteral("is_all_day"), event.is_all_day);
    if (!event.recurrence_rule.isEmpty())
        o.insert(QStringLiteral("recurrence_rule"), event.recurrence_rule);
    if (!event.master_event_uid.isEmpty())
        o.insert(QStringLiteral("master_event_uid"), event.master_event_uid);
    o.insert(QStringLiteral("sequence"), event.sequence);
    return o;
}

QJsonObject cloudTaskObject(const Task &task, const QString &id)
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("uid"), task.uid);
    o.insert(QStringLiteral("title"), task.title);
    o.insert(QStringLiteral("raw_icalendar"), updatedICalendarTodo(task));
    o.insert(QStringLiteral("status"), task.status);
    if (task.due_date)
        o.insert(QStringLiteral("due_date"), task.due_date->toMSecsSinceEpoch());
    o.insert(QStringLiteral("sequence"), task.sequence);
    return o;
}

} // namespace Larkspindle
