// The conversion between a Google Calendar event resource and a stored event.

#include "model/Clock.h"
#include "model/EventTimeRewrite.h"
#include "model/ICalendar.h"
#include "model/JsonText.h"
#include "services/sync/google/CalendarClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>
#include <QUuid>

namespace Google {

namespace {

const QString kUntitled = QStringLiteral("Untitled Event");

QString text(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString();
}

QDateTime parseInstant(const QString &value)
{
    QDateTime t = QDateTime::fromString(value, Qt::ISODateWithMs);
    if (!t.isValid())
        t = QDateTime::fromString(value, Qt::ISODate);
    return t;
}

// A timed value is kept in the zone it was written for, so that a series repeats at the same
// clock time across daylight-saving changes.
QDateTime inZone(const QDateTime &time, const QString &zoneName)
{
    if (!time.isValid() || zoneName.isEmpty())
        return time;
    const std::optional<QTimeZone> zone = knownTimeZone(zoneName);
    return zone ? time.toTimeZone(*zone) : time;
}

QString attendeeStatusFrom(const QString &responseStatus)
{
    const QString s = responseStatus.toLower();
    if (s == QLatin1String("accepted") || s == QLatin1String("declined")
        || s == QLatin1String("tentative"))
        return s;
    return QStringLiteral("needs-action");
}

QString responseStatusOf(const QString &status)
{
    if (status == QLatin1String("accepted") || status == QLatin1String("declined")
        || status == QLatin1String("tentative"))
        return status;
    return QStringLiteral("needsAction");
}

QList<Attendee> attendeesFrom(const QJsonArray &list)
{
    QList<Attendee> out;
    for (const QJsonValue &v : list) {
        const QJsonObject a = v.toObject();
        Attendee attendee;
        attendee.email = text(a, "email");
        if (attendee.email.isEmpty())
            continue;
        attendee.name = text(a, "displayName");
        attendee.role = a.value(QLatin1String("organizer")).toBool() ? QStringLiteral("chair")
            : a.value(QLatin1String("optional")).toBool()            ? QStringLiteral("optional")
                                                                     : QStringLiteral("required");
        attendee.status = attendeeStatusFrom(text(a, "responseStatus"));
        attendee.rsvp = true;
        out.append(attendee);
    }
    return out;
}

QList<Reminder> remindersFrom(const QJsonObject &reminders)
{
    QList<Reminder> out;
    const QJsonArray overrides = reminders.value(QLatin1String("overrides")).toArray();
    for (const QJsonValue &v : overrides) {
        const QJsonObject o = v.toObject();
        const int minutes = o.value(QLatin1String("minutes")).toInt(-1);
        if (minutes < 0)
            continue;
        Reminder r;
        r.minutes_before = minutes;
        const QString method = text(o, "method");
        r.action = method.isEmpty() ? QStringLiteral("display") : method;
        out.append(r);
    }
    return out;
}

// The recurrence lines we keep besides the rule: exception and extra dates.
void readDateLines(const QJsonArray &lines, Event &event)
{
    QStringList exceptions;
    QStringList extra;
    for (const QJsonValue &v : lines) {
        const QString line = v.toString();
        if (line.startsWith(QLatin1String("RRULE:")))
            continue;
        const ContentLine cl = parseContentLine(line);
        if (cl.name == QLatin1String("EXDATE"))
            collectICalendarDateList(cl, exceptions);
        else if (cl.name == QLatin1String("RDATE"))
            collectICalendarDateList(cl, extra);
    }
    if (!exceptions.isEmpty())
        event.exception_dates = jsonTextArray(exceptions);
    if (!extra.isEmpty())
        event.recurrence_dates = jsonTextArray(extra);
}

// One EXDATE or RDATE line per stored entry: a date alone, or a UTC date-time.
void appendDateLines(QJsonArray &out, const char *name, const QString &stored)
{
    const QStringList entries = jsonTextList(stored);
    for (const QString &entry : entries) {
        if (entry.isEmpty())
            continue;
        const bool dateOnly = !entry.contains(QLatin1Char('T'));
        const QString line = QLatin1String(name)
            + (dateOnly ? QStringLiteral(";VALUE=DATE:") : QStringLiteral(":")) + entry;
        out.append(line);
    }
}

QJsonArray attendeesJson(const QList<Attendee> &attendees, const QJsonArray &stored)
{
    QJsonArray out;
    for (const Attendee &a : attendees) {
        QJsonObject o;
        // What the server keeps about the person (their id, comment, self) stays.
        for (const QJsonValue &v : stored) {
            if (text(v.toObject(), "email").compare(a.email, Qt::CaseInsensitive) == 0) {
                o = v.toObject();
                break;
            }
        }
        o.insert(QStringLiteral("email"), a.email);
        if (!a.name.isEmpty())
            o.insert(QStringLiteral("displayName"), a.name);
        if (a.role == QLatin1String("optional"))
            o.insert(QStringLiteral("optional"), true);
        else
            o.remove(QStringLiteral("optional"));
        o.insert(QStringLiteral("responseStatus"), responseStatusOf(a.status));
        out.append(o);
    }
    return out;
}

QDateTime effectiveEnd(const Event &event)
{
    QDateTime end = event.end_time ? *event.end_time
        : event.is_all_day         ? event.start_time.addDays(1)
                                   : event.start_time.addSecs(3600);
    if (event.is_all_day && end.date() <= event.start_time.date()) {
        // The next midnight in the end's own zone: an all-day event spans at least one day.
        end.setDate(event.start_time.date().addDays(1));
        end.setTime(QTime(0, 0));
    }
    return end;
}

} // namespace

CalendarClient::EventTime CalendarClient::readEventTime(const QJsonObject &time)
{
    EventTime out;
    const QString dateTime = text(time, "dateTime");
    const QString date = text(time, "date");
    if (!dateTime.isEmpty()) {
        out.dateTime = parseInstant(dateTime);
        out.timeZone = text(time, "timeZone");
    } else if (!date.isEmpty()) {
        out.dateTime = QDateTime(QDate::fromString(date, Qt::ISODate), QTime(0, 0), Qt::LocalTime);
        out.isDate = true;
    }
    return out;
}

QJsonObject CalendarClient::writeEventTime(const QDateTime &time, bool allDay,
                                           const QString &timeZone)
{
    if (allDay)
        return {{QStringLiteral("date"), time.date().toString(Qt::ISODate)}};
    return {{QStringLiteral("dateTime"), time.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("timeZone"), timeZone.isEmpty() ? QStringLiteral("UTC") : timeZone}};
}

QString CalendarClient::recurrenceRuleOf(const QJsonObject &item)
{
    const QJsonArray lines = item.value(QLatin1String("recurrence")).toArray();
    for (const QJsonValue &v : lines) {
        const QString line = v.toString();
        if (line.startsWith(QLatin1String("RRULE:")))
            return line.mid(6);
    }
    return QString();
}

QString CalendarClient::normalizeStatus(const QString &status)
{
    if (status == QLatin1String("confirmed") || status == QLatin1String("tentative")
        || status == QLatin1String("cancelled"))
        return status;
    return QStringLiteral("confirmed");
}

QString CalendarClient::zoneNameOf(const Event &event)
{
    if (!event.timezone.isEmpty() && event.timezone != QLatin1String("UTC")) {
        if (const std::optional<QTimeZone> zone = knownTimeZone(event.timezone))
            return QString::fromUtf8(zone->id());
    }
    switch (event.start_time.timeSpec()) {
    case Qt::TimeZone:
        return QString::fromUtf8(event.start_time.timeZone().id());
    case Qt::LocalTime:
        return QString::fromUtf8(QTimeZone::systemTimeZoneId());
    default:
        return QStringLiteral("UTC");
    }
}

Event CalendarClient::eventFromJson(const QJsonObject &item, const QString &calendarId)
{
    Event e;
    e.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    e.calendar_id = calendarId;
    e.provider_event_id = text(item, "id");
    e.uid = e.provider_event_id;
    e.etag = text(item, "etag");
    e.title = text(item, "summary");
    if (e.title.isEmpty())
        e.title = kUntitled;
    e.description = text(item, "description");
    e.location = text(item, "location");

    const EventTime start = readEventTime(item.value(QLatin1String("start")).toObject());
    const EventTime end = readEventTime(item.value(QLatin1String("end")).toObject());
    e.start_time = inZone(start.dateTime, start.timeZone);
    if (end.dateTime.isValid())
        e.end_time = inZone(end.dateTime, start.timeZone.isEmpty() ? end.timeZone : start.timeZone);
    e.is_all_day = start.isDate;
    e.timezone = start.timeZone.isEmpty() ? QStringLiteral("UTC") : start.timeZone;

    e.recurrence_rule = recurrenceRuleOf(item);
    readDateLines(item.value(QLatin1String("recurrence")).toArray(), e);
    // An instance of a series names its slot by the original start, in the form the expansion
    // gives each occurrence, so that it takes that occurrence's place.
    e.master_event_uid = text(item, "recurringEventId");
    if (!e.master_event_uid.isEmpty()) {
        const EventTime original
            = readEventTime(item.value(QLatin1String("originalStartTime")).toObject());
        if (original.dateTime.isValid()) {
            e.recurrence_id = formatICalendarUtc(original.dateTime);
            // A cancelled instance comes without times of its own.
            if (!e.start_time.isValid()) {
                e.start_time = inZone(original.dateTime, original.timeZone);
                e.is_all_day = original.isDate;
            }
        }
    }

    e.status = normalizeStatus(text(item, "status"));
    e.event_url = text(item, "htmlLink");
    e.conference_url = text(item, "hangoutLink");
    if (e.conference_url.isEmpty()) {
        const QJsonArray entryPoints = item.value(QLatin1String("conferenceData"))
                                           .toObject()
                                           .value(QLatin1String("entryPoints"))
                                           .toArray();
        for (const QJsonValue &v : entryPoints) {
            if (text(v.toObject(), "entryPointType") == QLatin1String("video")) {
                e.conference_url = text(v.toObject(), "uri");
                break;
            }
        }
    }
    const QJsonObject organizer = item.value(QLatin1String("organizer")).toObject();
    e.organizer_email = text(organizer, "email");
    e.organizer_name = text(organizer, "displayName");
    e.attendees = attendeesFrom(item.value(QLatin1String("attendees")).toArray());
    e.sequence = item.value(QLatin1String("sequence")).toInt(0);

    const QString updated = text(item, "updated");
    e.last_modified = updated.isEmpty() ? Clock::nowUtc() : parseInstant(updated);
    const QDateTime created = parseInstant(text(item, "created"));
    e.created = created.isValid() ? created : e.last_modified;
    e.reminders = remindersFrom(item.value(QLatin1String("reminders")).toObject());
    e.raw_icalendar = QString::fromUtf8(QJsonDocument(item).toJson(QJsonDocument::Compact));
    e.sync_status = QStringLiteral("synced");
    return e;
}

QJsonObject CalendarClient::eventToJson(const Event &event)
{
    QJsonObject o;
    o.insert(QStringLiteral("summary"), event.title);
    if (!event.description.isEmpty())
        o.insert(QStringLiteral("description"), event.description);
    if (!event.location.isEmpty())
        o.insert(QStringLiteral("location"), event.location);
    const QString zone = zoneNameOf(event);
    o.insert(QStringLiteral("start"), writeEventTime(event.start_time, event.is_all_day, zone));
    o.insert(QStringLiteral("end"), writeEventTime(effectiveEnd(event), event.is_all_day, zone));

    QJsonArray recurrence;
    if (!event.recurrence_rule.isEmpty()) {
        recurrence.append(QString(QStringLiteral("RRULE:") + event.recurrence_rule));
        appendDateLines(recurrence, "EXDATE", event.exception_dates);
        appendDateLines(recurrence, "RDATE", event.recurrence_dates);
    }
    if (!recurrence.isEmpty())
        o.insert(QStringLiteral("recurrence"), recurrence);
    if (!event.status.isEmpty())
        o.insert(QStringLiteral("status"), event.status);

    if (!event.reminders.isEmpty()) {
        QJsonArray overrides;
        for (const Reminder &r : event.reminders) {
            const bool popup = r.action.isEmpty() || r.action == QLatin1String("display");
            overrides.append(
                QJsonObject {{QStringLiteral("method"), popup ? QStringLiteral("popup") : r.action},
                             {QStringLiteral("minutes"), r.minutes_before}});
        }
        o.insert(QStringLiteral("reminders"),
                 QJsonObject {{QStringLiteral("useDefault"), false},
                              {QStringLiteral("overrides"), overrides}});
    }
    if (!event.attendees.isEmpty())
        o.insert(QStringLiteral("attendees"), attendeesJson(event.attendees, {}));
    return o;
}

QJsonObject CalendarClient::eventToJson(const Event &event, const QJsonObject &stored)
{
    // A series' cancelled dates follow a move of its start, in its form now.
    Event sent = event;
    if (!event.recurrence_rule.isEmpty())
        sent.exception_dates
            = jsonTextArray(cancelledDatesNow(eventFromJson(stored, event.calendar_id), event));
    const QJsonObject mine = eventToJson(sent);
    QJsonObject o = stored;
    auto take = [&](const QString &key) {
        if (mine.contains(key))
            o.insert(key, mine.value(key));
        else
            o.remove(key);
    };
    // A resource that came without a title keeps having none.
    if (!(event.title == kUntitled && text(stored, "summary").isEmpty()))
        take(QStringLiteral("summary"));
    take(QStringLiteral("description"));
    take(QStringLiteral("location"));
    take(QStringLiteral("start"));
    take(QStringLiteral("end"));
    take(QStringLiteral("status"));
    // An instance carries its series' rule on the master only.
    if (text(stored, "recurringEventId").isEmpty())
        take(QStringLiteral("recurrence"));

    if (mine.contains(QLatin1String("reminders"))) {
        o.insert(QStringLiteral("reminders"), mine.value(QLatin1String("reminders")));
    } else if (!stored.value(QLatin1String("reminders"))
                    .toObject()
                    .value(QLatin1String("overrides"))
                    .toArray()
                    .isEmpty()) {
        // Every reminder was removed here; the calendar's defaults were not asked for.
        o.insert(QStringLiteral("reminders"),
                 QJsonObject {{QStringLiteral("useDefault"), false},
                              {QStringLiteral("overrides"), QJsonArray()}});
    }

    if (event.attendees.isEmpty())
        o.remove(QStringLiteral("attendees"));
    else
        o.insert(
            QStringLiteral("attendees"),
            attendeesJson(event.attendees, stored.value(QLatin1String("attendees")).toArray()));
    return o;
}

} // namespace Google
