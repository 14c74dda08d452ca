#pragma once

// Gregorian calendar arithmetic on plain numbers, for counting the periods of long series: QDate's
// conversions dominate counting a century of days. The calendar repeats every 400 years
// (146,097 days, whole weeks), so spans of years are read from one cycle's running counts.

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <utility>

namespace CalendarCycle {

inline qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

inline qint64 floorMod(qint64 a, qint64 b)
{
    return a - floorDiv(a, b) * b;
}

inline bool isLeap(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

inline int daysInMonth(int year, int month)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : lengths[month - 1];
}

// The days of the year before the first of the month.
inline int daysBeforeMonth(int year, int month)
{
    static const int before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return before[month - 1] + (month > 2 && isLeap(year) ? 1 : 0);
}

// The Julian day of a Gregorian date (years from 1 on).
inline qint64 julianDay(int year, int month, int day)
{
    const qint64 y = year - (month <= 2 ? 1 : 0);
    const qint64 era = floorDiv(y, 400);
    const qint64 yearOfEra = y - era * 400;
    const qint64 dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra + 1721120;
}

// 1 (Monday) to 7 (Sunday).
inline int weekdayOf(qint64 julianDay)
{
    return int(floorMod(julianDay, 7)) + 1;
}

// Years by what a rule's days in them depend on: leap or not and the weekday of 1 January, 14
// kinds; months by their length and the weekday of their first day, 28 shapes.
class YearKinds
{
public:
    static constexpr int kKinds = 14;
    // Months by length (28 to 31 days) and the weekday of their first day.
    static constexpr int kMonthShapes = 28;

    static int kindOf(int year)
    {
        return int(isLeap(year)) + 2 * (weekdayOf(julianDay(year, 1, 1)) - 1);
    }

    int kindAt(qint64 year) const { return m_kind[size_t(floorMod(year - kBase, kCycle))]; }

    // Years of each kind in [first, end).
    void count(qint64 first, qint64 end, qint64 (&years)[kKinds]) const
    {
        readSpan(m_before, first, end, years);
    }
    // Months of each shape in the years [first, end).
    void countMonths(qint64 first, qint64 end, qint64 (&months)[kMonthShapes]) const
    {
        readSpan(m_monthsBefore, first, end, months);
    }
    // A year of the kind.
    int example(int kind) const { return m_example[kind]; }
    // The month's length less 28, times 7, plus the weekday of its first day (Monday 0).
    int monthShape(int kind, int month) const { return m_shape[kind][month - 1]; }
    // A month of the shape, as a year and a month.
    std::pair<int, int> shapeExample(int shape) const { return m_shapeExample[shape]; }

    static const YearKinds &instance()
    {
        static const YearKinds kinds;
        return kinds;
    }

private:
    YearKinds();

    static constexpr int kCycle = 400;
    static constexpr int kBase = 2000;
    template<size_t N> using RunningCounts = std::array<std::array<quint16, N>, kCycle + 1>;

    // The counts of [first, end) from the running counts of one cycle.
    template<size_t N>
    static void readSpan(const RunningCounts<N> &before, qint64 first, qint64 end,
                         qint64 (&counts)[N])
    {
        const qint64 endCycles = floorDiv(end - kBase, kCycle);
        const qint64 firstCycles = floorDiv(first - kBase, kCycle);
        const auto &endRow = before[size_t(end - kBase - endCycles * kCycle)];
        const auto &firstRow = before[size_t(first - kBase - firstCycles * kCycle)];
        for (size_t i = 0; i < N; ++i)
            counts[i] = (endCycles - firstCycles) * before[kCycle][i] + endRow[i] - firstRow[i];
    }

    RunningCounts<kKinds> m_before {};
    std::array<quint8, kCycle> m_kind {};
    RunningCounts<kMonthShapes> m_monthsBefore {};
    int m_example[kKinds];
    quint8 m_shape[kKinds][12];
    std::pair<int, int> m_shapeExample[kMonthShapes] {};
};

} // namespace CalendarCycle
