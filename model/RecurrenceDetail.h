#pragma once

// What the recurrence files share and nothing else includes: the zone of a series, stored date
// entries, the rule made into day and time filters, and the walker that makes a series' starts.

#include "model/CalendarCycle.h"
#include "model/Recurrence.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>
#include <QTimeZone>
#include <QVarLengthArray>

#include <algorithm>
#include <bitset>
#include <optional>
#include <utility>
#include <vector>

namespace RecurrenceDetail {

using CalendarCycle::daysBeforeMonth;
using CalendarCycle::daysInMonth;
using CalendarCycle::floorDiv;
using CalendarCycle::floorMod;
using CalendarCycle::isLeap;
using CalendarCycle::julianDay;
using CalendarCycle::weekdayOf;
using CalendarCycle::YearKinds;

constexpr qint64 kDefaultDurationMs = 3600000;
// Bounds the memory of one call; 100000 daily starts are more than 270 years.
constexpr int kMaxStarts = 100000;
// Bounds the time of one call: every day from year 1 to 9999 is fewer periods than this.
constexpr qint64 kMaxPeriods = 4000000;
// Wall dates and UTC dates differ by less than a day; two days leave room for DST shifts.
constexpr int kZoneMarginDays = 2;

inline QDate lastSupportedDate()
{
    return QDate(9999, 12, 31);
}

// A change where a zone's clocks went back: from `at` (UTC milliseconds) for `back` ms, wall
// times are shown a second time.
struct FallBack
{
    qint64 at;
    qint64 back;
};

// The changes back of a zone (empty: the system's), ascending; made once per zone and thread.
const std::vector<FallBack> &fallBacks(const QByteArray &zoneId);

// The same wall date and time in the zone that `proto` carries; a time in a DST gap moves forward.
class ZoneOf
{
public:
    explicit ZoneOf(const QDateTime &proto)
        : m_spec(proto.timeSpec())
        // Only a fixed offset is read here; asking a local time for it costs a zone lookup.
        , m_offset(m_spec == Qt::OffsetFromUTC ? proto.offsetFromUtc() : 0)
    {
        if (m_spec == Qt::TimeZone)
            m_zone = proto.timeZone();
    }

    QDateTime at(const QDate &date, const QTime &time) const
    {
        QDateTime result = build(date, time);
        if (result.isValid())
            return hasTransitions() ? firstInstance(result) : result;
        if (!date.isValid() || !time.isValid())
            return result;
        // The wall time falls in a DST gap: read it with the offset in force before the gap,
        // which moves it forward by the gap's length.
        const QDateTime asUtc(date, time, Qt::UTC);
        const int offsetBefore = convert(asUtc.addDays(-1)).offsetFromUtc();
        return convert(asUtc.addSecs(-offsetBefore));
    }

    // Whether wall times can be skipped or repeated (a zone with DST, or local time).
    bool hasTransitions() const { return m_spec == Qt::TimeZone || m_spec == Qt::LocalTime; }

    QDateTime convert(const QDateTime &instant) const
    {
        switch (m_spec) {
        case Qt::UTC:
            return instant.toUTC();
        case Qt::OffsetFromUTC:
            return instant.toOffsetFromUtc(m_offset);
        case Qt::TimeZone:
            return instant.toTimeZone(m_zone);
        case Qt::LocalTime:
            break;
        }
        return instant.toLocalTime();
    }

private:
    // A wall time that clocks going back repeat names its first instance, as one read from text
    // does (wallClockTime).
    QDateTime firstInstance(const QDateTime &at) const
    {
        if (!m_fallBacks)
            m_fallBacks = &fallBacks(m_spec == Qt::TimeZone ? m_zone.id() : qgetenv("TZ"));
        const qint64 ms = at.toMSecsSinceEpoch();
        const auto after = std::upper_bound(m_fallBacks->begin(), m_fallBacks->end(), ms,
                                            [](qint64 v, const FallBack &f) { return v < f.at; });
        if (after == m_fallBacks->begin() || ms >= std::prev(after)->at + std::prev(after)->back)
            return at;
        const QDateTime earlier = convert(at.addMSecs(-std::prev(after)->back));
        return earlier.time() == at.time() && earlier.date() == at.date() ? earlier : at;
    }

    QDateTime build(const QDate &date, const QTime &time) const
    {
        switch (m_spec) {
        case Qt::UTC:
            return QDateTime(date, time, Qt::UTC);
        case Qt::OffsetFromUTC:
            return QDateTime(date, time, Qt::OffsetFromUTC, m_offset);
        case Qt::TimeZone:
            return QDateTime(date, time, m_zone);
        case Qt::LocalTime:
            break;
        }
        return QDateTime(date, time, Qt::LocalTime);
    }

    Qt::TimeSpec m_spec;
    int m_offset;
    QTimeZone m_zone;
    mutable const std::vector<FallBack> *m_fallBacks = nullptr;
};

// Compact date texts and stored date entries (RecurrenceDates.cpp).
QDate parseCompactDate(const QString &text);
bool parseCompactDateTime(const QString &text, QDate *date, QTime *time);

// One entry of an RDATE or EXDATE list: a date alone, or a date-time (UTC with Z, local without).
struct DateEntry
{
    QDateTime instant;
    QDate dateOnly; // valid for a date alone
};

DateEntry parseDateEntry(const QString &text);
QList<DateEntry> parseDateEntries(const QString &text);

enum class Freq { Single, Daily, Weekly, Monthly, Yearly };

// The rule turned into day and time filters, with the implicit parts taken from the start.
struct Plan
{
    Freq freq = Freq::Single;
    qint64 interval = 1;
    int count = 0;
    QDateTime until;
    int weekStart = 1;
    unsigned weekdayMask = 0; // bit d for ISO weekday d
    QList<std::pair<int, int>> nthWeekdays; // (ordinal, weekday)
    unsigned monthMask = 0; // bit m for month m
    QList<int> weekNos;
    QList<int> yearDays;
    QList<int> monthDays;
    int clampedMonthDay = 0; // the start's day of month, falling back to the month's last day
    bool nthInMonth = false;
    QList<QTime> times;
    QList<int> setPos;

    bool hasByDay() const { return weekdayMask != 0 || !nthWeekdays.isEmpty(); }
};

inline int weekdayBit(int weekday)
{
    return 1 << weekday;
}

// The rule and its start made into filters (RecurrenceRule.cpp).
Plan makePlan(const RRule &rule, const QDateTime &dtstart);

// The days a rule selects (RecurrenceStarts.cpp).
QDate weekStartOf(const QDate &date, int weekStart);
QVarLengthArray<qint64, 16> setPositions(const QList<int> &setPos, qint64 total);
quint32 filteredDays(const Plan &plan, int year, int month);
quint32 monthDays(const Plan &plan, int year, int month);

// Days of a month as bits 1 to 31.
inline quint32 dayBit(int day)
{
    return 1u << day;
}

inline quint32 daysFromTo(int first, int last)
{
    if (first > last)
        return 0;
    const quint32 upTo = last >= 31 ? ~0u : (dayBit(last + 1) - 1);
    return upTo & ~(dayBit(first) - 1);
}

inline bool inMonths(const Plan &plan, int month)
{
    return plan.monthMask == 0 || (plan.monthMask & (1u << month));
}

// Bit counting by halves: the builtin is a library call on the baseline instruction set.
inline int dayCount(quint32 days)
{
    days = days - ((days >> 1) & 0x55555555u);
    days = (days & 0x33333333u) + ((days >> 2) & 0x33333333u);
    return int((((days + (days >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

// Months as bits 1 to 12.
constexpr quint32 kEveryMonth = 0x1FFEu;

// Walks the periods of a series and produces its starts in ascending order. With a window,
// periods that end before it are skipped arithmetically (a series with COUNT counts the starts
// of those periods without making them) and only starts at or after the window are kept.
class StartGenerator
{
public:
    StartGenerator(const RRule &rule, const QDateTime &dtstart, const QDateTime &window,
                   const QDateTime &rangeEnd)
        : m_plan(makePlan(rule, dtstart))
        , m_zone(dtstart)
        , m_dtstart(dtstart)
        , m_window(window)
        , m_rangeEnd(rangeEnd)
    { }

    QList<QDateTime> run();

private:
    // The walk (RecurrenceStarts.cpp); the inline ones are used there alone.
    bool walkPeriod(qint64 k, QVarLengthArray<QDate, 32> &days);
    qint64 firstPeriod() const;
    static qint64 monthIndex(const QDate &d) { return qint64(d.year()) * 12 + d.month() - 1; }
    QDate periodStart(qint64 k) const;
    inline bool selects(const QDate &d) const;
    inline bool periodDays(qint64 k, QVarLengthArray<QDate, 32> *days) const;
    inline void appendMonthDays(int year, int month, QVarLengthArray<QDate, 32> *days) const;
    inline bool producePeriod(const QVarLengthArray<QDate, 32> &days);
    inline bool produceDay(const QDate &d);
    inline bool produce(const QDate &d, const QTime &t);
    // Whether each wall time of a day is its own instant: with several times a day in a zone
    // with DST, two of them can meet in a gap and count once.
    bool oneInstantPerTime() const { return m_plan.times.size() == 1 || !m_zone.hasTransitions(); }

    // Counting without walking (RecurrenceCount.cpp).
    qint64 skipCounted(qint64 window);
    std::optional<qint64> countStarts(qint64 k0, qint64 k1);
    qint64 perPeriod(qint64 days) const;
    template<typename Count> qint64 memo(int year, qint64 jan1, qint64 phase, Count count);
    template<typename Count> qint64 overYears(qint64 first, qint64 end, qint64 phase, Count count);
    quint32 selection(int year, int month);
    quint32 kindSelection(int kind, int month);
    int monthSlot(int kind, int month) const;
    quint32 slotSelection(int slot);
    qint64 slotStarts(int slot);
    qint64 monthStartsAt(qint64 index);
    qint64 yearDays(int year, qint64 jan1, qint64 offset, qint64 cycle, qint64 blockLen = 1);
    static quint32 inPeriods(qint64 offset, qint64 cycle, qint64 blockLen);
    qint64 countDays(const QDate &from, const QDate &to, int blockLen);
    qint64 countMonths(qint64 k0, qint64 k1);
    qint64 wholeYearMonths(qint64 firstYear, qint64 endYear, int firstMonth, int step);
    qint64 countYears(qint64 k0, qint64 k1);
    qint64 kindYearStarts(int kind);

    const Plan m_plan;
    const ZoneOf m_zone;
    const QDateTime m_dtstart;
    const QDateTime m_window;
    const QDateTime m_rangeEnd;
    qint64 m_dtstartMs = 0;
    qint64 m_rangeEndMs = 0;
    qint64 m_untilMs = 0;
    qint64 m_windowMs = 0;
    QDate m_startDate;
    QDate m_rangeEndDate;
    QDate m_lastDate;
    QDate m_windowDate;
    qint64 m_produced = 0;
    QDateTime m_lastProduced;
    QList<QDateTime> m_out;
    QVarLengthArray<std::pair<qint64, qint64>, 32> m_yearCounts;
    qint64 m_byKind[64];
    quint64 m_kindsKnown = 0;
    bool m_weekdaysMatter = false;
    bool m_shapeOnly = false;
    // With the month's shape deciding, its length only cuts off the days past its end.
    bool m_lengthFree = false;
    // By month slot: shapes of month, then the months of each kind of year.
    static constexpr int kMonthSlots = YearKinds::kMonthShapes + YearKinds::kKinds * 12;
    quint32 m_selections[kMonthSlots];
    std::bitset<kMonthSlots> m_selectionKnown;
    qint64 m_monthStarts[kMonthSlots];
    std::bitset<kMonthSlots> m_monthStartsKnown;
    qint64 m_monthStartsByDays[32];
    quint32 m_monthStartsByDaysKnown = 0;
    qint64 m_yearStarts[YearKinds::kKinds];
    quint32 m_yearStartsKnown = 0;
    mutable int m_cachedYear = 0;
    mutable int m_cachedMonth = 0;
    mutable quint32 m_cachedDays = 0;
};

} // namespace RecurrenceDetail
