#include "model/LocalEvent.h"

#include "model/Clock.h"
#include "model/ICalendar.h"
#include "model/Identifiers.h"

QString writeMinimalICalendarEvent(const Event &event)
{
    return writeMinimalICalendarEvent(event, Clock::nowUtc());
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

QDateTime allDayInstant(const QDate &date)
{
    return QDateTime(date, QTime(0, 0), Qt::UTC);
}

Event withAllDayDates(Event event)
{
    if (!event.is_all_day)
        return event;
    event.start_time = allDayInstant(event.start_time.date());
    if (event.end_time)
        event.end_time = allDayInstant(event.end_time->date());
    return event;
}

Event newLocalEvent(Event event, const QDateTime &now)
{
    event = withAllDayDates(std::move(event));
    event.id = newId();
    event.uid = event.id;
    event.created = now.toUTC();
    event.last_modified = event.created;
    event.sequence = 0;
    event.sync_status = QStringLiteral("pending");
    event.raw_icalendar = writeMinimalICalendarEvent(event, now);
    return event;
}
