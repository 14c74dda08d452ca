#pragma once

#include "model/Records.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <optional>

// How a series' cancelled and extra dates move when its start moves. The move is read on the
// series' wall clock and split into whole days and a rest shorter than a day. The rest moves a
// date as it moves the occurrence the date names: from the series' own time of day, into the
// next or previous day where it crosses midnight. The whole days move an extra date always, and a
// cancelled date only where it no longer names an occurrence (cancelledEntryMoved).

// A series' wall clock: the zone its occurrences keep their time of day in (UTC for an all-day
// series) and its start on that clock. Wall dates and times are held as UTC values, so moving one
// by hours or days ignores clock changes, as the series' own occurrences do.
struct SeriesClock
{
    QTimeZone zone;
    QDateTime start;
    bool allDay = false;
};

// The clock of a series starting at `start`, in `zone` when it is timed; an all-day series starts
// on the date its start shows.
[[nodiscard]] SeriesClock seriesClock(const QDateTime &start, const QTimeZone &zone, bool allDay);

// The move from one series start to another on the wall clock, in seconds: the whole days
// (counted toward zero) and the rest.
struct WallMove
{
    qint64 days = 0;
    qint64 rest = 0;
};

[[nodiscard]] WallMove wallMove(const SeriesClock &from, const SeriesClock &to);

// The wall date and time the series gave its occurrence at `instant`. Where a clock change skips
// the series' time of day, that day's occurrence lies after the gap but still stands for it.
[[nodiscard]] QDateTime occurrenceWallClock(const SeriesClock &series, const QDateTime &instant);

// The wall date and time of a stored date entry of the series `from` moved by `rest` seconds. A
// date alone, or any entry of an all-day series, names that day's occurrence at the series' time
// of day; a date-time names the occurrence at that instant.
[[nodiscard]] QDateTime movedWallClock(const QDateTime &instant, bool dateOnly,
                                       const SeriesClock &from, qint64 rest);

// The stored entry for the series' occurrence at a wall date and time: the date for an all-day
// series, else the instant in UTC.
[[nodiscard]] QString entryAtWallClock(const SeriesClock &series, const QDateTime &wall);

// The stored entry for the series' occurrence at `instant`.
[[nodiscard]] QString entryAtInstant(const SeriesClock &series, const QDateTime &instant);

// The stored entry of a cancelled date at `wall` (already moved by the rest) once the series has
// moved by `days` whole days to `series`, on its clock `now`: the occurrence it still names, else
// the one the days move it to (a weekly series moved from Monday to Tuesday); nothing when it
// names none either way.
[[nodiscard]] std::optional<QString> cancelledEntryMoved(const Event &series,
                                                         const SeriesClock &now,
                                                         const QDateTime &wall, qint64 days);
