#pragma once

// Reading and writing of iCalendar text (RFC 5545): the line-level helpers shared by every
// reader and writer, the event reader, and the to-do reader and writer.

#include "model/Records.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <functional>
#include <optional>

// One unfolded content line split into its parts.
struct ContentLine
{
    QString name; // upper-cased
    QHash<QString, QString> params; // upper-cased names to raw values (quotes kept)
    QString value; // everything after the separating ":", unchanged
};

// Splits at LF or CR LF and joins folded continuation lines (a leading space or tab).
[[nodiscard]] QStringList unfoldICalendarLines(const QString &text);

// The same lines as unfoldICalendarLines, handed to visit one by one without building a list.
void forEachUnfoldedLine(const QString &text, const std::function<void(QStringView)> &visit);

// The same lines again, one per call, for readers that stop and go on later. Lines are views
// into the text; a folded line is joined in a buffer that the next call reuses.
class UnfoldedLineCursor
{
public:
    explicit UnfoldedLineCursor(QStringView text)
        : m_text(text)
    { }
    // False once every line has been handed out.
    [[nodiscard]] bool next(QStringView &line);

private:
    QStringView physicalLine(qsizetype from, qsizetype &after) const;

    QStringView m_text;
    qsizetype m_pos = 0; // past the end once done
    QString m_folded;
};

// Splits one unfolded line. A ":" or ";" inside a double-quoted parameter value belongs to the
// value.
[[nodiscard]] ContentLine parseContentLine(const QString &line);
[[nodiscard]] ContentLine parseContentLine(QStringView line);

// The property name as written (not upper-cased), for a quick look before a full split. Equal
// to parseContentLine's name, ignoring case, whenever that name is a plain property name.
[[nodiscard]] QStringView contentLineName(QStringView line);

[[nodiscard]] QString paramValue(const QHash<QString, QString> &params, const QString &key,
                                 const QString &defaultValue = QString());

[[nodiscard]] QString unescapeICalendarText(const QString &text);

// Escapes a TEXT value so that unescapeICalendarText gives it back unchanged: backslash,
// semicolon and comma get a backslash, every line break becomes "\n".
[[nodiscard]] QString escapeICalendarText(const QString &text);

class VTimeZoneSet;

// Reads a DATE or DATE-TIME value (leading blanks skipped); dateOnly tells which it was. A TZID
// the system knows places the clock time in that zone; else a zone the text defines itself
// (zones, when given) gives the instant; otherwise a value without "Z" is local time.
[[nodiscard]] QDateTime
parseICalendarDateTime(const QString &value, const QHash<QString, QString> &params, bool &dateOnly);
[[nodiscard]] QDateTime parseICalendarDateTime(const QString &value,
                                               const QHash<QString, QString> &params,
                                               bool &dateOnly, VTimeZoneSet *zones);

// The fields of a DATE ("yyyyMMdd", at 00:00) or DATE-TIME ("yyyyMMddTHHmmss", "Z" for UTC)
// value, leading blanks skipped; nothing when the value is neither.
struct ICalendarTimeFields
{
    QDate date;
    QTime time;
    bool dateOnly = false;
    bool utc = false;
};
[[nodiscard]] std::optional<ICalendarTimeFields> readICalendarTimeFields(QStringView value);

// The instant of a wall-clock time in a zone, or in the machine's own zone: a time that occurs
// twice (clocks going back) is its first instance, and a time that a change skips takes the
// offset in force before the gap, so 02:30 on the night clocks go from 02:00 to 03:00 is 03:30.
[[nodiscard]] QDateTime wallClockTime(const QDate &date, const QTime &time, const QTimeZone &zone);
[[nodiscard]] QDateTime localWallClockTime(const QDate &date, const QTime &time);

// The zone a TZID parameter names, when the system knows it: an IANA id (also behind a path
// prefix such as "/example.org/20050125_1/Europe/Berlin"), a Windows zone name, or a POSIX
// rule that states an offset. A bare word is none of these, whatever the zone library makes of it.
[[nodiscard]] std::optional<QTimeZone> knownTimeZone(const QString &tzid);

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
