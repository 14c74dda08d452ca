// Graph event resources and Event rows, both ways. Times are read as UTC instants (every request
// asks for UTC) and placed in the zone the event was made in; they are written as wall times in
// that zone, so a series keeps its local hour across daylight-saving changes.

#include "services/sync/microsoft/CalendarClient.h"

#include "model/ICalendar.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <tuple>

namespace Microsoft {

namespace {

QString text(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString();
}

QJsonObject object(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toObject();
}

bool isUtcName(const QString &name)
{
    return name.compare(QLatin1String("UTC"), Qt::CaseInsensitive) == 0
        || name == QLatin1String("tzone://Microsoft/Utc") || name == QLatin1String("Etc/UTC")
        || name == QLatin1String("Etc/GMT");
}

QString attendeeStatus(const QString &response)
{
    const QString r = response.toLower();
    if (r == QLatin1String("accepted") || r == QLatin1String("organizer"))
        return QStringLiteral("accepted");
    if (r == QLatin1String("declined"))
        return QStringLiteral("declined");
    if (r == QLatin1String("tentativelyaccepted"))
        return QStringLiteral("tentative");
    return QStringLiteral("needs-action");
}

QDateTime readTimestamp(const QString &value)
{
    if (value.isEmpty())
        return {};
    QDateTime dt = QDateTime::fromString(value, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(value, Qt::ISODate);
    return dt.isValid() ? dt.toUTC() : QDateTime();
}

QString recurrenceIdFrom(const QJsonObject &event, bool allDay)
{
    const QDateTime original = readTimestamp(text(event, "originalStart"));
    if (!original.isValid())
        return QString();
    // An all-day series is expanded at UTC midnight of each day.
    const QDateTime slot = allDay ? QDateTime(original.date(), QTime(0, 0), Qt::UTC) : original;
    return formatICalendarUtc(slot);
}

QJsonObject bodyOf(const QString &description, const QString &contentType)
{
    QJsonObject body;
    body.insert(QStringLiteral("contentType"),
                contentType.isEmpty() ? QStringLiteral("text") : contentType);
    body.insert(QStringLiteral("content"), description);
    return body;
}

QJsonObject locationOf(const QString &location)
{
    QJsonObject o;
    o.insert(QStringLiteral("displayName"), location);
    return o;
}

QString showAsOf(const QString &status)
{
    if (status == QLatin1String("tentative"))
        return QStringLiteral("tentative");
    if (status == QLatin1String("cancelled"))
        return QStringLiteral("free");
    return QStringLiteral("busy");
}

QJsonArray attendeesOf(const QList<Attendee> &attendees)
{
    QJsonArray out;
    for (const Attendee &a : attendees) {
        QJsonObject address;
        address.insert(QStringLiteral("address"), a.email);
        if (!a.name.isEmpty())
            address.insert(QStringLiteral("name"), a.name);
        QJsonObject entry;
        entry.insert(QStringLiteral("emailAddress"), address);
        entry.insert(QStringLiteral("type"),
                     a.role == QLatin1String("optional") ? QStringLiteral("optional")
                                                         : QStringLiteral("required"));
        out.append(entry);
    }
    return out;
}

auto attendeeKeys(const QList<Attendee> &attendees)
{
    QList<std::tuple<QString, QString, bool>> keys;
    for (const Attendee &a : attendees)
        keys.append({a.email.toLower(), a.name, a.role == QLatin1String("optional")});
    return keys;
}

int reminderMinutes(const Event &e)
{
    return e.reminders.isEmpty() ? -1 : e.reminders.first().minutes_before;
}

// The end a body carries: an event without one lasts an hour, or its one day.
QDateTime endOf(const Event &event)
{
    if (event.is_all_day) {
        const QDate last = event.end_time ? event.end_time->date() : QDate();
        const QDate first = event.start_time.date();
        return QDateTime(last.isValid() && last > first ? last : first.addDays(1), QTime(0, 0),
                         Qt::UTC);
    }
    return event.end_time && event.end_time->isValid() ? *event.end_time
                                                       : event.start_time.addSecs(3600);
}

// Start and end as Graph wants them, in the zone the event keeps.
void putTimes(const Event &event, QJsonObject &out)
{
    QDateTime start = event.start_time;
    QDateTime end = endOf(event);
    if (!event.is_all_day && start.timeSpec() != Qt::TimeZone) {
        if (const std::optional<QTimeZone> zone = CalendarClient::zoneFromGraph(event.timezone)) {
            start = start.toTimeZone(*zone);
            end = end.toTimeZone(*zone);
        }
    }
    out.insert(QStringLiteral("start"), CalendarClient::toGraphDateTime(start, event.is_all_day));
    out.insert(QStringLiteral("end"), CalendarClient::toGraphDateTime(end, event.is_all_day));
    out.insert(QStringLiteral("isAllDay"), event.is_all_day);
}

bool putRecurrence(const Event &event, QJsonObject &out, QString *error)
{
    if (!event.master_event_uid.isEmpty())
        return true; // an occurrence follows its series
    if (event.recurrence_rule.isEmpty()) {
        out.insert(QStringLiteral("recurrence"), QJsonValue::Null);
        return true;
    }
    QDateTime start = event.start_time;
    if (!event.is_all_day && start.timeSpec() != Qt::TimeZone) {
        if (const std::optional<QTimeZone> zone = CalendarClient::zoneFromGraph(event.timezone))
            start = start.toTimeZone(*zone);
    }
    const QJsonObject recurrence = CalendarClient::rruleToGraphRecurrence(
        event.recurrence_rule, start, event.is_all_day, error);
    if (recurrence.isEmpty())
        return false;
    out.insert(QStringLiteral("recurrence"), recurrence);
    return true;
}

void putReminder(const Event &event, QJsonObject &out)
{
    const int minutes = reminderMinutes(event);
    out.insert(QStringLiteral("isReminderOn"), minutes >= 0);
    if (minutes >= 0)
        out.insert(QStringLiteral("reminderMinutesBeforeStart"), minutes);
}

} // namespace

std::optional<QTimeZone> CalendarClient::zoneFromGraph(const QString &name)
{
    if (isUtcName(name))
        return QTimeZone::utc();
    return knownTimeZone(name);
}

QString CalendarClient::zoneToGraph(const QTimeZone &zone)
{
    if (!zone.isValid() || zone == QTimeZone::utc())
        return QStringLiteral("UTC");
    const QByteArray windows = QTimeZone::ianaIdToWindowsId(zone.id());
    return QString::fromUtf8(windows.isEmpty() ? zone.id() : windows);
}

GraphDateTime CalendarClient::fromGraphDateTime(const QJsonObject &value, bool allDay)
{
    GraphDateTime out;
    out.timeZone = text(value, "timeZone");
    QString t = text(value, "dateTime");
    if (t.isEmpty())
        return out;
    const int dot = t.indexOf(QLatin1Char('.'));
    if (dot > 0 && t.size() > dot + 4)
        t.truncate(dot + 4);
    if (allDay) {
        const QDate date = QDate::fromString(t.left(10), Qt::ISODate);
        if (date.isValid()) {
            out.dateTime = QDateTime(date, QTime(0, 0), Qt::UTC);
            out.dateOnly = true;
        }
        return out;
    }
    // The usual form, a wall time without offset, is read by its parts: read whole it would
    // become a local time first, which asks the system zone for every value.
    QDate date;
    QTime time;
    if (t.size() >= 19 && t.at(10) == QLatin1Char('T')
        && (t.size() == 19 || t.at(19) == QLatin1Char('.'))) {
        date = QDate::fromString(t.left(10), Qt::ISODate);
        time = QTime::fromString(t.mid(11), Qt::ISODateWithMs);
    }
    if (!date.isValid() || !time.isValid()) {
        QDateTime read = QDateTime::fromString(t, Qt::ISODateWithMs);
        if (!read.isValid())
            read = QDateTime::fromString(t, Qt::ISODate);
        if (!read.isValid())
            return out;
        if (read.timeSpec() != Qt::LocalTime) {
            out.dateTime = read; // the text carried its own offset
            return out;
        }
        date = read.date();
        time = read.time();
    }
    // A wall time in the named zone; a zone nobody knows is read as UTC, which every request
    // asks for.
    const QTimeZone zone = zoneFromGraph(out.timeZone).value_or(QTimeZone::utc());
    out.dateTime = QDateTime(date, time, zone);
    return out;
}

QJsonObject CalendarClient::toGraphDateTime(const QDateTime &value, bool allDay)
{
    QJsonObject out;
    if (allDay) {
        out.insert(QStringLiteral("dateTime"),
                   QString(value.date().toString(Qt::ISODate) + QStringLiteral("T00:00:00")));
        out.insert(QStringLiteral("timeZone"), QStringLiteral("UTC"));
        return out;
    }
    const bool zoned = value.timeSpec() == Qt::TimeZone && value.timeZone() != QTimeZone::utc();
    const QDateTime wall = zoned ? value : value.toUTC();
    out.insert(QStringLiteral("dateTime"), wall.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")));
    out.insert(QStringLiteral("timeZone"),
               zoned ? zoneToGraph(value.timeZone()) : QStringLiteral("UTC"));
    return out;
}

Event CalendarClient::eventFromJson(const QJsonObject &event, const QString &calendarId)
{
    Event e;
    e.calendar_id = calendarId;
    e.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    e.provider_event_id = text(event, "id");
    e.etag = etagOf(event);
    e.title = text(event, "subject");
    if (e.title.isEmpty())
        e.title = QStringLiteral("Untitled Event");
    e.description = text(object(event, "body"), "content");
    e.location = text(object(event, "location"), "displayName");
    e.event_url = text(event, "webLink");
    e.conference_url = text(object(event, "onlineMeeting"), "joinUrl");
    if (e.conference_url.isEmpty())
        e.conference_url = text(event, "onlineMeetingUrl");

    e.is_all_day = event.value(QStringLiteral("isAllDay")).toBool(false);
    const GraphDateTime start = fromGraphDateTime(object(event, "start"), e.is_all_day);
    const GraphDateTime end = fromGraphDateTime(object(event, "end"), e.is_all_day);
    e.start_time = start.dateTime;
    if (end.dateTime.isValid())
        e.end_time = end.dateTime;
    // The zone the event was made in; all-day events stay on their dates in UTC.
    if (!e.is_all_day) {
        QString zoneName = text(event, "originalStartTimeZone");
        std::optional<QTimeZone> zone = zoneFromGraph(zoneName);
        if (!zone)
            zone = zoneFromGraph(start.timeZone);
        if (zone && *zone != QTimeZone::utc()) {
            e.timezone = QString::fromUtf8(zone->id());
            e.start_time = e.start_time.toTimeZone(*zone);
            if (e.end_time)
                e.end_time = e.end_time->toTimeZone(*zone);
        }
    }

    const QJsonObject recurrence = object(event, "recurrence");
    if (!recurrence.isEmpty())
        e.recurrence_rule = graphRecurrenceToRrule(recurrence, e.start_time, e.is_all_day);
    e.uid = e.provider_event_id;
    const QString master = text(event, "seriesMasterId");
    if (!master.isEmpty()) {
        // An occurrence or exception fills one slot of its series.
        e.uid = master;
        e.master_event_uid = master;
        e.recurrence_id = recurrenceIdFrom(event, e.is_all_day);
        e.recurrence_rule.clear();
    }

    const QString showAs = text(event, "showAs");
    if (event.value(QStringLiteral("isCancelled")).toBool(false))
        e.status = QStringLiteral("cancelled");
    else if (showAs == QLatin1String("free") || showAs == QLatin1String("tentative"))
        e.status = QStringLiteral("tentative");

    const QJsonObject organizer = object(object(event, "organizer"), "emailAddress");
    e.organizer_email = text(organizer, "address");
    e.organizer_name = text(organizer, "name");
    for (const QJsonValue &v : event.value(QStringLiteral("attendees")).toArray()) {
        const QJsonObject entry = v.toObject();
        const QJsonObject address = object(entry, "emailAddress");
        if (text(address, "address").isEmpty())
            continue;
        Attendee a;
        a.email = text(address, "address");
        a.name = text(address, "name");
        a.role = text(entry, "type").toLower() == QLatin1String("optional")
            ? QStringLiteral("optional")
            : QStringLiteral("required");
        a.status = attendeeStatus(text(object(entry, "status"), "response"));
        a.rsvp = true;
        e.attendees.append(a);
    }
    const QJsonValue minutes = event.value(QStringLiteral("reminderMinutesBeforeStart"));
    if (event.value(QStringLiteral("isReminderOn")).toBool(false) && minutes.isDouble()
        && minutes.toInt(-1) >= 0) {
        Reminder r;
        r.minutes_before = minutes.toInt();
        r.action = QStringLiteral("display");
        e.reminders.append(r);
    }
    e.last_modified = readTimestamp(text(event, "lastModifiedDateTime"));
    e.created = readTimestamp(text(event, "createdDateTime"));
    if (!e.created.isValid())
        e.created = e.last_modified;
    // The Graph object itself: the base that later updates are measured against.
    e.raw_icalendar = QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact));
    e.sync_status = QStringLiteral("synced");
    return e;
}

QJsonObject CalendarClient::eventToJson(const Event &event, QString *error)
{
    QJsonObject out;
    out.insert(QStringLiteral("subject"), event.title);
    if (!event.description.isEmpty())
        out.insert(QStringLiteral("body"), bodyOf(event.description, QString()));
    if (!event.location.isEmpty())
        out.insert(QStringLiteral("location"), locationOf(event.location));
    putTimes(event, out);
    out.insert(QStringLiteral("showAs"), showAsOf(event.status));
    if (!event.recurrence_rule.isEmpty() && !putRecurrence(event, out, error))
        return {};
    putReminder(event, out);
    if (!event.attendees.isEmpty())
        out.insert(QStringLiteral("attendees"), attendeesOf(event.attendees));
    return out;
}

QJsonObject CalendarClient::eventPatch(const Event &event, const QJsonObject &base, QString *error)
{
    if (text(base, "id").isEmpty())
        return eventToJson(event, error);
    const Event was = eventFromJson(base, event.calendar_id);
    QJsonObject out;
    if (event.title != was.title)
        out.insert(QStringLiteral("subject"), event.title);
    if (event.description != was.description)
        out.insert(QStringLiteral("body"),
                   bodyOf(event.description, text(object(base, "body"), "contentType")));
    if (event.location != was.location)
        out.insert(QStringLiteral("location"), locationOf(event.location));
    const bool timesChanged = event.is_all_day != was.is_all_day
        || event.start_time != was.start_time || endOf(event) != endOf(was)
        || (!event.is_all_day && event.timezone != was.timezone);
    if (timesChanged)
        putTimes(event, out);
    // A series whose rule or first day changed gets its whole recurrence again.
    if ((event.recurrence_rule != was.recurrence_rule
         || (timesChanged && !event.recurrence_rule.isEmpty()))
        && !putRecurrence(event, out, error))
        return {};
    if (event.status != was.status)
        out.insert(QStringLiteral("showAs"), showAsOf(event.status));
    if (reminderMinutes(event) != reminderMinutes(was))
        putReminder(event, out);
    if (attendeeKeys(event.attendees) != attendeeKeys(was.attendees))
        out.insert(QStringLiteral("attendees"), attendeesOf(event.attendees));
    return out;
}

} // namespace Microsoft
