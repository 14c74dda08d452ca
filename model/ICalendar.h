#pragma once

// Reading and writing of iCalendar text (RFC 5545): date-time and list values, the event
// reader, and the to-do reader and writer. The line-level lexer is in ContentLine.h.

#include "model/ContentLine.h"
#include "model/Records.h"
#include "model/TimeZoneNames.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <functional>
#include <optional>

class VTimeZoneSet;

// Reads a DATE or DATE-TIME value (leading blanks skipped); dateOnly tells which it was. A TZID
// the system knows places the clock time in that zone; else a zone the text defines itself
// (zones, when given) gives the instant; otherwise a value without "Z" is local time.
[[nodiscard]] QDateTime
parseICalendarDateTime(const QString &value, const QHash<QString, QString> &params, bool &dateOnly);
[[nodiscard]] QDateTime parseICalendarDateTime(const QString &value,
                                               const QHash<QString, QString> &params,
                                               bool &dateOnly, VTimeZoneSet *zones);

// The instant of a wall-clock time in a zone, or in the machine's own zone: a time that occurs
// twice (clocks going back) is its first instance, and a time that a change skips takes the
// offset in force before the gap, so 02:30 on the night clocks go from 02:00 to 03:00 is 03:30.
[[nodiscard]] QDateTime wallClockTime(const QDate &date, const QTime &time, const QTimeZone &zone);
[[nodiscard]] QDateTime localWallClockTime(const QDate &date, const QTime &time);

// A RELATED-TO line that names a parent (RELTYPE=PARENT, the default).
[[nodiscard]] bool isParentRelation(const ContentLine &line);

// Signed seconds of a DURATION value; 0 for anything that is not a positive duration.
[[nodiscard]] qint64 parseICalendarDuration(const QString &value);

// Formats used in stored texts.
[[nodiscard]] QString formatICalendarUtc(const QDateTime &dateTime); // yyyyMMddTHHmmssZ
[[nodiscard]] QString formatICalendarDate(const QDate &date); // yyyyMMdd

// Adds the comma-separated values of one EXDATE or RDATE line in the stored forms: dates as
// yyyyMMdd, date-times in UTC. A PERIOD contributes its start. Zones the text defines itself
// (zones, when given) place a TZID the system does not know.
void collectICalendarDateList(const ContentLine &line, QStringList &out,
                              VTimeZoneSet *zones = nullptr);

inline const QString &iCalendarProductId()
{
    static const QString id = QStringLiteral("-//Larkspindle//Calendar Desktop//EN");
    return id;
}

// Every VEVENT with a UID, in text order, each wrapped in its own minimal VCALENDAR together
// with the VTIMEZONE components of the zones it uses that only the text itself defines.
[[nodiscard]] QList<Event> parseICalendarEvents(const QString &text);

// Every VTODO with a UID, in text order, with its alarms as reminders.
[[nodiscard]] QList<Task> parseICalendarTodo(const QString &text);

// The complete iCalendar text of one task; DTSTAMP is the given time, or the clock's.
[[nodiscard]] QString writeICalendarTodo(const Task &task);
[[nodiscard]] QString writeICalendarTodo(const Task &task, const QDateTime &now);
// The task's text after an edit made here: its stored text with the lines of the fields that
// changed written over those of its own VTODO (alarms aside), every other line as it stood, so
// that what other clients wrote stays; a whole new text when the stored one lacks the task.
[[nodiscard]] QString updatedICalendarTodo(const Task &task);
[[nodiscard]] QString updatedICalendarTodo(const Task &task, const QDateTime &now);
