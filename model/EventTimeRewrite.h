#pragma once

#include "model/Records.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// Edits of one event's or task's own lines in a stored iCalendar text: the lines written are folded
// at 75 octets, every line not edited stays as it was.

// Which VEVENT of a text an edit goes to: the one with this UID and RECURRENCE-ID (in the form
// the event reader stores it; empty for a series or a single event). The first VEVENT when no
// uid is given or none matches.
struct EventInText
{
    QString uid;
    QString recurrenceId;
};

// How the new times are written: in the form each line had, or all as dates or all as
// date-times, for an event switched to or from all-day.
enum class TimeValues { AsWritten, Dates, DateTimes };

// Brings the stored iCalendar text of an event in line with a new start and end by editing the
// event's own DTSTART, DTEND and DURATION lines; every other line survives unchanged. Date-times
// go in `zone` where one is given that the system knows (a series moved to another zone, or
// switched from all-day, keeps its wall clock there on other devices); else a time that carried
// a known zone keeps that zone, and other times become UTC. An all-day date stays a date, an
// all-day end falls after its start. The event's cancelled dates (EXDATE) move with the start as
// movedCancelledDates says, written in the start's form. Empty text, text without a VEVENT or an
// invalid start come back as they are.
[[nodiscard]] QString rewriteEventTimes(const QString &raw, const QDateTime &start,
                                        const QDateTime &end, const EventInText &which = {},
                                        TimeValues values = TimeValues::AsWritten,
                                        const QString &zone = QString());

// Stored cancelled dates of a series (yyyyMMdd, or date-times as yyyyMMddTHHmmssZ) after its
// start moved from `from` to `to`, in the series' form now: dates for an all-day series, UTC
// date-times for a timed one. Each moves by the part of the move shorter than a day, as
// SeriesDateMove.h says, read from the wall clock of the zone `from` is given in to that of the
// zone `to` is given in (UTC for a time given otherwise; an all-day side counts from the midnight
// of the date it shows). Given the series as it is now, whole days of the move take a cancelled
// date along as SeriesDateMove.h says; without it they leave the date on its day. Without both
// times the entries come back as they are.
[[nodiscard]] QStringList movedCancelledDates(const QStringList &entries, const QDateTime &from,
                                              bool fromAllDay, const QDateTime &to, bool toAllDay,
                                              const Event *series = nullptr);

// The cancelled dates of a series edited here, in the form it has now: those its held copy
// (was) also listed moved with the series from there (from its old zone's wall clock to the new
// one's where the row changed zone), the others as the series' own.
[[nodiscard]] QStringList cancelledDatesNow(const Event &was, const Event &now);

// Writes the event's cancelled dates over its EXDATE lines (none: the lines go), in the form of
// its DTSTART line: dates for an all-day series, date-times in its zone for a timed one.
[[nodiscard]] QString rewriteCancelledDates(const QString &raw, const QStringList &entries,
                                            const EventInText &which = {});

// Replaces the event's own lines of each named property (folded continuations included; lines
// of nested components such as alarms stay) by the given lines, written where the first of them
// stood, or before END:VEVENT when the event had none. Text without a VEVENT comes back as it
// is.
[[nodiscard]] QString rewriteEventProperties(const QString &raw,
                                             const QHash<QString, QStringList> &replacements,
                                             const EventInText &which = {});

// The same for the own lines of the VTODO with this UID (the first VTODO when none has it).
[[nodiscard]] QString rewriteTodoProperties(const QString &raw,
                                            const QHash<QString, QStringList> &replacements,
                                            const QString &uid);
