#include "model/SeriesDateMove.h"

#include "model/ICalendar.h"

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
