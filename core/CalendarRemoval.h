#pragma once

// Removing a calendar, and an account that was removed, for good: what they hold goes first, in
// the order the foreign keys allow, and the whole removal is one write.

#include <QString>

class Store;

namespace CalendarRemoval {

// Deletes the calendar with its events and tasks and their reminder, guest and file rows; all or
// nothing. False when the store refused (the repositories log why) or while an import or its
// take-back writes into the calendar.
[[nodiscard]] bool removeCalendar(const Store &store, const QString &calendarId);

// Deletes a removed account's row for good once its calendars, with everything in them, are
// gone; all or nothing, and refused alike while an import writes into one of them. An account
// that was not removed keeps everything (and this is true).
[[nodiscard]] bool reapAccount(const Store &store, const QString &accountId);

} // namespace CalendarRemoval
