#include "model/SeriesDateMove.h"

#include "model/ICalendar.h"
#include "model/Recurrence.h"

namespace {

QDateTime wallClock(const QDate &day, const QTime &time)
{
    return QDateTime(day, time, Qt::UTC);
}

} // namespace

SeriesClock seriesClock(const QDateTime &start, const QTimeZone &zone, bool allDay)
{
    SeriesClock clock;
    clock.zone = allDay ? QTimeZone::utc() : zone;
    clock.allDay = allDay;
    // An all-day start names its date, held at midnight in whatever zone its row was stored.
    if (allDay) {
        clock.start = wallClock(start.date(), QTime(0, 0));
        return clock;
    }
    const QDateTime at = start.toTimeZone(clock.zone);
    clock.start = wallClock(at.date(), at.time());
    return clock;
}

WallMove wallMove(const SeriesClock &from, const SeriesClock &to)
{
    constexpr qint64 secondsPerDay = 86400;
    const qint64 move = from.start.secsTo(to.start);
    return WallMove {move / secondsPerDay, move % secondsPerDay};
}

QDateTime occurrenceWallClock(const SeriesClock &series, const QDateTime &instant)
{
    const QTime own = series.start.time();
    const QDateTime wall = instant.toTimeZone(series.zone);
    for (const QDate &day : {wall.date(), wall.date().addDays(-1)}) {
        if (wallClockTime(day, own, series.zone) == instant)
            return wallClock(day, own);
    }
    return wallClock(wall.date(), wall.time());
}

QDateTime movedWallClock(const QDateTime &instant, bool dateOnly, const SeriesClock &from,
                         qint64 rest)
{
    const QDateTime wall = dateOnly || from.allDay
        ? wallClock(instant.toUTC().date(), from.start.time())
        : occurrenceWallClock(from, instant);
    return wall.addSecs(rest);
}

QString entryAtWallClock(const SeriesClock &series, const QDateTime &wall)
{
    if (series.allDay)
        return formatICalendarDate(wall.date());
    return formatICalendarUtc(wallClockTime(wall.date(), wall.time(), series.zone));
}

QString entryAtInstant(const SeriesClock &series, const QDateTime &instant)
{
    return series.allDay ? formatICalendarDate(instant.toUTC().date())
                         : formatICalendarUtc(instant);
}

namespace {

// The occurrence the series (its cancelled dates aside) has at the wall date and time `wall` on
// its clock.
std::optional<QDateTime> occurrenceAt(const Event &series, const SeriesClock &clock,
                                      const QDateTime &wall)
{
    Event scratch = series;
    scratch.exception_dates.clear();
    // Expanded on the clock of the series' zone, as its own occurrences are; an all-day series
    // from the midnight of its date.
    scratch.start_time = clock.allDay ? clock.start : series.start_time.toTimeZone(clock.zone);
    if (series.end_time)
        scratch.end_time = scratch.start_time.addSecs(series.start_time.secsTo(*series.end_time));
    // Zone offsets stay below a day.
    const QList<Event> found = expandRecurringMaster(scratch, wall.addDays(-1), wall.addDays(1));
    for (const Event &occurrence : found) {
        if (occurrenceWallClock(clock, occurrence.start_time) == wall)
            return occurrence.start_time;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> cancelledEntryMoved(const Event &series, const SeriesClock &now,
                                           const QDateTime &wall, qint64 days)
{
    for (const QDateTime &at : {wall, wall.addDays(days)}) {
        if (const std::optional<QDateTime> found = occurrenceAt(series, now, at))
            return entryAtInstant(now, *found);
    }
    return std::nullopt;
}
