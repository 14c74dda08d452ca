#pragma once

// Which occurrences of a repeating event its reminder owes a notice: one rule for the store,
// which arms a series' reminder as it is written, and the reminder poll, which shows them.

#include "model/Records.h"

#include <QDateTime>
#include <QList>

#include <optional>

// How long after its event's start a reminder may still fire; one of an event that started
// longer ago can never fire.
inline constexpr qint64 kReminderLateSecs = 1800;

namespace Reminders {

// A reminder of a repeating event at `now`: the occurrences it reminds of now (their trigger
// after handledUntil, not after now, and not over for 30 minutes), and when to look at it again.
struct SeriesReminders
{
    QList<Event> due; // by start
    QDateTime nextTrigger;
    // The trigger of the first occurrence owed its reminder: the first due one's, else
    // nextTrigger.
    QDateTime firstTrigger;
};
// overrides are the series' stored overrides; those with reminders of their own remind by
// themselves, and cancelled ones not at all.
[[nodiscard]] SeriesReminders seriesReminders(const Event &master, const QList<Event> &overrides,
                                              int minutesBefore,
                                              const std::optional<QDateTime> &handledUntil,
                                              const QDateTime &now);

} // namespace Reminders
