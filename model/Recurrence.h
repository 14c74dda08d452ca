#pragma once

// Turns stored events (plain events, recurring masters and overrides of single occurrences) into
// the concrete occurrences that overlap a date-time range. Free functions over values: no state,
// no storage, no signals. Every computation runs in the zone that the master's start carries.
// This is the whole interface; the work is split by subject: RecurrenceRule.cpp reads a rule
// and makes it, with the series' start, into day and time filters, RecurrenceDates.cpp reads the
// stored date lists, RecurrenceStarts.cpp walks a series' periods to make its starts,
// RecurrenceCount.cpp counts the starts of a COUNT series before a range without making them, and
// Recurrence.cpp makes the occurrences in a range with exception and extra dates and overrides.

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QLoggingCategory>
#include <QSet>
#include <QString>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcCalendarExpansion)

// A parsed RRULE value.
struct RRule
{
    QString freq;
    int interval = 1;
    int count = 0; // 0: no limit
    QDateTime until; // UTC, inclusive; invalid: no limit
    // UNTIL named a date alone (read as its UTC midnight above): the series runs through that
    // whole day in the zone of its start.
    bool untilIsDate = false;
    QStringList byDay; // as written, upper-cased, ordinal prefixes kept
    // Out-of-range entries are dropped while parsing.
    QList<int> byMonth;
    QList<int> byWeekNo;
    QList<int> byYearDay;
    QList<int> byMonthDay;
    QList<int> byHour;
    QList<int> byMinute;
    QList<int> bySecond;
    QList<int> bySetPos;
    int weekStart = 1; // WKST as ISO weekday number
};

// The plain events, then the occurrences of each recurring master with its overrides in place.
[[nodiscard]] QList<Event> expandOccurrences(const QList<Event> &events,
                                             const QDateTime &rangeStart,
                                             const QDateTime &rangeEnd);
// The same, moving the plain events out of a list the caller no longer needs.
[[nodiscard]] QList<Event> expandOccurrences(QList<Event> &&events, const QDateTime &rangeStart,
                                             const QDateTime &rangeEnd);

// The occurrences of one event that overlap [rangeStart, rangeEnd), ascending by start.
[[nodiscard]] QList<Event> expandRecurringMaster(const Event &master, const QDateTime &rangeStart,
                                                 const QDateTime &rangeEnd);

[[nodiscard]] RRule parseRRule(const QString &text);

// Every start of the series from dtstart up to (excluding) rangeEnd, ascending, limited by COUNT
// and UNTIL; at most 100000 of them.
[[nodiscard]] QList<QDateTime> recurrenceStarts(const RRule &rule, const QDateTime &dtstart,
                                                const QDateTime &rangeEnd);

// Milliseconds since the epoch of each valid entry of a JSON array of date or date-time texts.
[[nodiscard]] QSet<qint64> parseExceptionInstants(const QString &text);

// The instant one stored date or date-time entry names (an exception date, a recurrence id): a
// date alone is its UTC midnight. Invalid for anything else.
[[nodiscard]] QDateTime dateEntryInstant(const QString &entry);

// 1 (MO) to 7 (SU); 0 for anything else, including codes with an ordinal.
[[nodiscard]] int weekdayFromCode(const QString &code);
