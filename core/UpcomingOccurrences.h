#pragma once

// What is coming up today and tomorrow, for the tray's tooltip and popover: the shown
// calendars' event occurrences that have not ended, filter rules applied, in start order.
// Every call reads the store again; the selection itself is model/Upcoming.

#include "model/Records.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

class AppState;

// The calendars of the active group, or every visible calendar when the group lists none.
[[nodiscard]] QStringList activeCalendarIds(AppState *state);

[[nodiscard]] QList<Event> upcomingOccurrences(AppState *state);
[[nodiscard]] QList<Event> upcomingOccurrences(AppState *state, const QDateTime &now);

[[nodiscard]] std::optional<Event> nextUpcomingOccurrence(AppState *state);
[[nodiscard]] std::optional<Event> nextUpcomingOccurrence(AppState *state, const QDateTime &now);
