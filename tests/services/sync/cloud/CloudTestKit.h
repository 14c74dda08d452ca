#pragma once

// Rows for the cloud sync tests: events and tasks as this program's editors store them, with
// their iCalendar text, and a calendar of the on-device account.

#include "core/AppState.h"
#include "model/ICalendar.h"
#include "model/Identifiers.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QDateTime>
#include <QString>

namespace CloudTest {

inline const QString localAccountId = kOnDeviceAccountId;

inline QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, 0), Qt::UTC);
}

inline QString stamp(const QDateTime &t)
{
    return formatICalendarUtc(t);
}

struct EventFields
{
    QString id;
    QString uid;
    QString title;
    QDateTime start;
    QString rrule;
    QDateTime recurrenceId; // set for an override of one occurrence
};

// A pending local event with its iCalendar text, one hour long.
inline Event localEvent(const QString &calendarId, const EventFields &fields)
{
    Event e = Event::newLocal();
    e.id = fields.id;
    e.calendar_id = calendarId;
    e.uid = fields.uid.isEmpty() ? fields.id : fields.uid;
    e.title = fields.title;
    e.start_time = fields.start;
    e.end_time = fields.start.addSecs(3600);
    e.recurrence_rule = fields.rrule;
    if (fields.recurrenceId.isValid()) {
        e.recurrence_id = stamp(fields.recurrenceId);
        e.master_event_uid = e.uid;
    }
    e.created = e.last_modified = at(1, 8);
    QString text = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                                  "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20260301T080000Z\r\n"
                                  "SUMMARY:%2\r\nDTSTART:%3\r\nDTEND:%4\r\n")
                       .arg(e.uid, e.title, stamp(e.start_time), stamp(*e.end_time));
    if (!fields.rrule.isEmpty())
        text += QStringLiteral("RRULE:%1\r\n").arg(fields.rrule);
    if (fields.recurrenceId.isValid())
        text += QStringLiteral("RECURRENCE-ID:%1\r\n").arg(e.recurrence_id);
    e.raw_icalendar = text + QStringLiteral("END:VEVENT\r\nEND:VCALENDAR\r\n");
    return e;
}

// The same event retitled, as the program saves an edit: the field changes and the row waits
// for the next sync; the text the service last sent stays as it was.
inline Event retitled(Event e, const QString &title)
{
    e.title = title;
    e.sync_status = QStringLiteral("pending");
    return e;
}

inline Task localTask(const QString &calendarId, const QString &id, const QString &title)
{
    Task t;
    t.id = id;
    t.calendar_id = calendarId;
    t.uid = id;
    t.title = title;
    t.created = t.last_modified = at(1, 8);
    t.sync_status = QStringLiteral("pending");
    t.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                                     "BEGIN:VTODO\r\nUID:%1\r\nDTSTAMP:20260301T080000Z\r\n"
                                     "SUMMARY:%2\r\nEND:VTODO\r\nEND:VCALENDAR\r\n")
                          .arg(id, title);
    return t;
}

inline Calendar localCalendar(const QString &id, const QString &name,
                              const QString &accountId = localAccountId)
{
    Calendar c;
    c.id = id;
    c.account_id = accountId;
    c.url = QStringLiteral("local://calendar/") + id;
    c.name = name;
    c.color = QStringLiteral("#336699");
    c.timezone = QStringLiteral("Europe/Berlin");
    c.created_at = c.updated_at = at(1, 8);
    return c;
}

} // namespace CloudTest
