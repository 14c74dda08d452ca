#pragma once

// Events made on this device (quick add, the event form) as they are first stored.

#include "model/Records.h"

#include <QDateTime>
#include <QString>

// The short iCalendar text stored with a new event (lines end in CR LF). DTSTAMP is now, or the
// given time.
[[nodiscard]] QString writeMinimalICalendarEvent(const Event &event);
[[nodiscard]] QString writeMinimalICalendarEvent(const Event &event, const QDateTime &now);

// All-day events hold their dates as midnight UTC wherever they are made, as calendar files and
// other devices write them: the date is what matters, and every device stores the same instant.
[[nodiscard]] QDateTime allDayInstant(const QDate &date);
// An all-day event with its start and end moved to allDayInstant of the dates they show; other
// events as they are.
[[nodiscard]] Event withAllDayDates(Event event);

// The event with the identity of a new one made here (all-day dates as above): a new id that is
// also its uid, created and last modified now (in UTC), sequence 0, "pending" so that the next sync
// sends it, and last its stored text. What the event says (title, times, calendar) is the caller's.
[[nodiscard]] Event newLocalEvent(Event event, const QDateTime &now);
