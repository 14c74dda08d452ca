#pragma once

// What is coming up today and tomorrow, for the tray's tooltip and popover: the shown
// calendars' event occurrences that have not ended, filter rules applied, in start order.
// Every call reads the store again; the selection itself is model/Upcoming.

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

class Store;

// The calendars of the active group (activeViewId), or every visible calendar when the group
// lists none.
[[nodiscard]] QStringList activeCalendarIds(const Store &store, const QString &activeViewId);

[[nodiscard]] QList<Event> upcomingOccurrences(const Store &store, const QString &activeViewId);
[[nodiscard]] QList<Event> upcomingOccurrences(const Store &store, const QString &activeViewId,
                                               const QDateTime &now);

[[nodiscard]] std::optional<Event> nextUpcomingOccurrence(const Store &store,
                                                          const QString &activeViewId);
[[nodiscard]] std::optional<Event>
nextUpcomingOccurrence(const Store &store, const QString &activeViewId, const QDateTime &now);
