#pragma once

// Plain-language texts for recurrence rules and reminder offsets, shared by every screen that
// shows them. Free functions without state; every phrase is translatable.

#include <QString>

#include <utility>

namespace RruleFormat {

// "Every 2 weeks · Mon, Wed · 10 time(s)" for an RRULE value without the "RRULE:" prefix;
// empty for an empty rule.
[[nodiscard]] QString describe(const QString &rule);

// "At time of event", "%1 min before", "%1 hour(s) before" or "%1 day(s) before".
[[nodiscard]] QString reminderOffsetLabel(int minutes);

// "Mon" for "MO" and so on; an unknown code comes back upper-cased and untranslated.
[[nodiscard]] QString weekdayLabel(const QString &code);

// 1st, 2nd, 3rd, 4th, 11th, 22nd ...
[[nodiscard]] QString ordinalNumber(int n);

// A position in a month: "first" to "fifth", "6th" and on, "last", "second-to-last", and
// "3th-from-last" and so on further back.
[[nodiscard]] QString ordinalWord(int n);

// A BYDAY entry split into its ordinal (0 when absent) and its upper-cased weekday code:
// "-1FR" gives -1 and "FR".
[[nodiscard]] std::pair<int, QString> parseByDayEntry(const QString &entry);

} // namespace RruleFormat
