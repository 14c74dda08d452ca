#pragma once

// What is coming up today and tomorrow among given events: the occurrences that have not ended,
// filter rules applied, in start order.

#include "model/FilterEngine.h"
#include "model/Records.h"

#include <QDateTime>
#include <QList>

// From today's midnight to the midnight after tomorrow, in now's zone. Ranges are half-open, so
// an event starting in tomorrow's last second is inside.
struct UpcomingWindow
{
    QDateTime from;
    QDateTime to;
};
[[nodiscard]] UpcomingWindow upcomingWindow(const QDateTime &now);

// The occurrences of the stored events inside the window that are still to come: all-day ones
// of today and tomorrow (by start date), timed ones that end (or, without an end, start) after
// now. Hidden ones are dropped, dimmed ones kept; sorted by start, equal starts in input order.
[[nodiscard]] QList<Event> upcomingAmong(QList<Event> stored, const QList<FilterRule> &rules,
                                         const QDateTime &now);
