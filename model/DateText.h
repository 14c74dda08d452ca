#pragma once

// Dates and times as the interface language writes them. The patterns are translatable texts
// (each language orders day, month and weekday its own way) filled in with the default locale's
// names, which the application sets to the interface language. Without a translation and with
// the C locale they read as English: "Monday, Dec 7", "Mon, Dec 7", "Mon 7 Dec 2026".

#include <QDate>
#include <QString>
#include <QTime>

namespace DateText {

enum class Style {
    WeekdayMonthDay, // "Monday, Dec 7"
    ShortWeekdayMonthDay, // "Mon, Dec 7"
    ShortWeekdayDateYear, // "Mon 7 Dec 2026"
    MonthDayYear, // "Dec 7, 2026"
};

// The pattern for QLocale::toString or a date edit's display format.
[[nodiscard]] QString pattern(Style style);
[[nodiscard]] QString format(const QDate &date, Style style);
// A time of day in the given pattern ("HH:mm", "h:mm AP") with the language's AM and PM.
[[nodiscard]] QString time(const QTime &time, const QString &pattern);

// Where a text about when something starts stands: inside a sentence, or opening one.
enum class Placement { InSentence, OpensSentence };
// When something starts, seen from today: "at 9:30 AM" on the day itself, "tomorrow at 9:30 AM"
// on the next, else the day named with the time ("Mon, Dec 14 9:30 AM"). time is the start's
// time of day as the user reads it; opening a sentence, the words are capitalised. The tray's
// tooltip and the reminders both say it this way, so the two never word one start differently.
[[nodiscard]] QString dayAndTime(const QDate &date, const QDate &today, const QString &time,
                                 Placement placement = Placement::InSentence);

} // namespace DateText
