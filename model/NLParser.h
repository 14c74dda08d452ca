#pragma once

// Turns one line of plain English ("lunch tomorrow at 12:30 for 45 min #work") into a title, a
// start and end and what kind of item the line names. A fixed English vocabulary, no state.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace NLParser {

struct ParseResult
{
    QString title; // the line without the recognised phrases; may be empty
    QDateTime start; // in the zone of the reference date-time
    std::optional<QDateTime> end; // set for every non-blank line
    bool isAllDay = false; // a date but no time
    bool hasTime = false;
    bool isReminder = false; // begins with "remind me to", "don't forget" and the like
    bool isTask = false; // begins with "task:", "to-do" and the like, or nothing else classified it
    QStringList tags; // "#" tags without "#", first form of each, in order
};

// now is the reference: its date is today and its zone is the zone of every date-time produced.
[[nodiscard]] ParseResult parse(const QString &text, const QDateTime &now);

// The date and clock time in the zone (or the UTC, offset or local setting) of reference; an
// invalid time falls at midnight.
[[nodiscard]] QDateTime inZoneOf(const QDate &date, const QTime &time, const QDateTime &reference);

// now without seconds, moved forwards to the next full or half hour unless it is on one.
[[nodiscard]] QDateTime defaultQuickAddStart(const QDateTime &now);

} // namespace NLParser
