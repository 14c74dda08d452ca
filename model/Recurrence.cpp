#include "model/Recurrence.h"
#include "model/CalendarCycle.h"
#include "model/ContentLine.h"
#include "model/JsonText.h"

#include <QHash>
#include <QTimeZone>
#include <QVarLengthArray>

#include <algorithm>
#include <bitset>
#include <limits>
#include <utility>

Q_LOGGING_CATEGORY(lcCalendarExpansion, "calendar.expansion", QtWarningMsg)

namespace {

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

QDate lastSupportedDate()
{
    return QDate(9999, 12, 31);
}

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
        if (result.isValid() || !date.isValid() || !time.isValid())
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
};

// The value of n decimal digits; -1 when one is not a digit.
int digitsAt(const QString &text, qsizetype at, int n)
{
    int value = 0;
    for (qsizetype i = at; i < at + n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "yyyyMMdd"; invalid unless it names a real date.
QDate parseCompactDate(const QString &text)
{
    if (text.size() != 8)
        return {};
    const int y = digitsAt(text, 0, 4), m = digitsAt(text, 4, 2), d = digitsAt(text, 6, 2);
    return y < 0 || m < 0 || d < 0 ? QDate() : QDate(y, m, d);
}

// "yyyyMMddTHHmmss": date and time fields only, no zone.
bool parseCompactDateTime(const QString &text, QDate *date, QTime *time)
{
    if (text.size() != 15 || text.at(8) != QLatin1Char('T'))
        return false;
    *date = parseCompactDate(text.left(8));
    const int h = digitsAt(text, 9, 2), m = digitsAt(text, 11, 2), s = digitsAt(text, 13, 2);
    *time = h < 0 || m < 0 || s < 0 ? QTime() : QTime(h, m, s);
    return date->isValid() && time->isValid();
}

// One entry of an RDATE or EXDATE list: a date alone, or a date-time (UTC with Z, local without).
struct DateEntry
{
    QDateTime instant;
    QDate dateOnly; // valid for a date alone
};

DateEntry parseDateEntry(const QString &text)
{
    DateEntry entry;
    if (text.contains(QLatin1Char('T'))) {
        QString rest = text;
        const bool utc = rest.endsWith(QLatin1Char('Z'));
        if (utc)
            rest.chop(1);
        QDate d;
        QTime t;
        if (parseCompactDateTime(rest, &d, &t))
            entry.instant = QDateTime(d, t, utc ? Qt::UTC : Qt::LocalTime);
    } else {
        entry.dateOnly = parseCompactDate(text);
        if (entry.dateOnly.isValid())
            entry.instant = QDateTime(entry.dateOnly, QTime(0, 0), Qt::UTC);
    }
    return entry;
}

QList<DateEntry> parseDateEntries(const QString &text)
{
    QList<DateEntry> entries;
    const QStringList texts = jsonTextList(text);
    for (const QString &t : texts) {
        DateEntry entry = parseDateEntry(t);
        if (entry.instant.isValid())
            entries.append(std::move(entry));
    }
    return entries;
}

QList<int> parseIntList(const QString &value, int min, int max, bool allowNegative)
{
    QList<int> out;
    const QStringList parts = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        bool ok = false;
        const int n = p.toInt(&ok);
        if (!ok)
            continue;
        const int magnitude = n < 0 ? -n : n;
        if (n < 0 && !allowNegative)
            continue;
        if (magnitude < min || magnitude > max)
            continue;
        if (!out.contains(n))
            out.append(n);
    }
    return out;
}

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

int weekdayBit(int weekday)
{
    return 1 << weekday;
}

Plan makePlan(const RRule &rule, const QDateTime &dtstart)
{
    Plan plan;
    if (rule.freq == QLatin1String("DAILY"))
        plan.freq = Freq::Daily;
    else if (rule.freq == QLatin1String("WEEKLY"))
        plan.freq = Freq::Weekly;
    else if (rule.freq == QLatin1String("MONTHLY"))
        plan.freq = Freq::Monthly;
    else if (rule.freq == QLatin1String("YEARLY"))
        plan.freq = Freq::Yearly;
    else
        return plan;

    plan.interval = qMax<qint64>(1, rule.interval);
    plan.count = qMax(0, rule.count);
    plan.until = rule.until;
    // A date alone ends the series after that day, wherever the series' day ends.
    if (rule.untilIsDate && rule.until.isValid() && dtstart.isValid())
        plan.until = ZoneOf(dtstart).at(rule.until.date().addDays(1), QTime(0, 0)).addMSecs(-1);
    plan.weekStart = (rule.weekStart >= 1 && rule.weekStart <= 7) ? rule.weekStart : 1;

    const bool ordinalsAllowed = plan.freq == Freq::Monthly || plan.freq == Freq::Yearly;
    for (const QString &entry : rule.byDay) {
        if (const int wd = weekdayFromCode(entry)) {
            plan.weekdayMask |= weekdayBit(wd);
            continue;
        }
        // An ordinal means something only within a month or a year.
        if (!ordinalsAllowed || entry.size() < 3)
            continue;
        const int wd = weekdayFromCode(entry.right(2));
        bool ok = false;
        const int n = entry.left(entry.size() - 2).toInt(&ok);
        if (wd == 0 || !ok || n == 0 || n > 53 || n < -53)
            continue;
        const std::pair<int, int> nth(n, wd);
        if (!plan.nthWeekdays.contains(nth))
            plan.nthWeekdays.append(nth);
    }
    plan.nthInMonth = plan.freq == Freq::Monthly || !rule.byMonth.isEmpty();

    for (int m : rule.byMonth)
        plan.monthMask |= 1u << m;
    plan.weekNos = rule.byWeekNo;
    plan.yearDays = rule.byYearDay;
    plan.monthDays = rule.byMonthDay;
    plan.setPos = rule.bySetPos;

    const QDate startDate = dtstart.date();
    const bool noDaySelection = plan.weekNos.isEmpty() && plan.yearDays.isEmpty()
        && plan.monthDays.isEmpty() && !plan.hasByDay();
    if (noDaySelection) {
        switch (plan.freq) {
        case Freq::Yearly:
            if (plan.monthMask == 0)
                plan.monthMask = 1u << startDate.month();
            plan.clampedMonthDay = startDate.day();
            break;
        case Freq::Monthly:
            plan.clampedMonthDay = startDate.day();
            break;
        case Freq::Weekly:
            plan.weekdayMask = weekdayBit(startDate.dayOfWeek());
            break;
        default:
            break;
        }
    }

    const QTime startTime = dtstart.time();
    if (rule.byHour.isEmpty() && rule.byMinute.isEmpty() && rule.bySecond.isEmpty()) {
        plan.times.append(startTime);
    } else {
        const QList<int> hours
            = rule.byHour.isEmpty() ? QList<int> {startTime.hour()} : rule.byHour;
        const QList<int> minutes
            = rule.byMinute.isEmpty() ? QList<int> {startTime.minute()} : rule.byMinute;
        const QList<int> seconds
            = rule.bySecond.isEmpty() ? QList<int> {startTime.second()} : rule.bySecond;
        plan.times.reserve(hours.size() * minutes.size() * seconds.size());
        for (int h : hours)
            for (int m : minutes)
                for (int s : seconds)
                    plan.times.append(QTime(h, m, s, startTime.msec()));
        std::sort(plan.times.begin(), plan.times.end());
        plan.times.erase(std::unique(plan.times.begin(), plan.times.end()), plan.times.end());
    }
    return plan;
}

QDate weekStartOf(const QDate &date, int weekStart)
{
    return date.addDays(-((date.dayOfWeek() - weekStart + 7) % 7));
}

// Week 1 is the first week with at least four days in the year, so it always holds 4 January.
QDate firstWeekStart(int year, int weekStart)
{
    return weekStartOf(QDate(year, 1, 4), weekStart);
}

bool weekNoMatches(const Plan &plan, const QDate &date)
{
    const QDate ws = weekStartOf(date, plan.weekStart);
    const int weekYear = ws.addDays(3).year();
    const QDate first = firstWeekStart(weekYear, plan.weekStart);
    const int weekNo = int(first.daysTo(ws) / 7) + 1;
    const int weeksInYear = int(first.daysTo(firstWeekStart(weekYear + 1, plan.weekStart)) / 7);
    for (int n : plan.weekNos) {
        if (n > 0 ? n == weekNo : weeksInYear + 1 + n == weekNo)
            return true;
    }
    return false;
}

// The indices that BYSETPOS picks among a period's `total` candidates, ascending, each once.
QVarLengthArray<qint64, 16> setPositions(const QList<int> &setPos, qint64 total)
{
    QVarLengthArray<qint64, 16> picks;
    for (int pos : setPos) {
        const qint64 index = pos > 0 ? pos - 1 : total + pos;
        if (index >= 0 && index < total)
            picks.append(index);
    }
    std::sort(picks.begin(), picks.end());
    picks.erase(std::unique(picks.begin(), picks.end()), picks.end());
    return picks;
}

// Days of a month as bits 1 to 31.
quint32 dayBit(int day)
{
    return 1u << day;
}

quint32 daysFromTo(int first, int last)
{
    if (first > last)
        return 0;
    const quint32 upTo = last >= 31 ? ~0u : (dayBit(last + 1) - 1);
    return upTo & ~(dayBit(first) - 1);
}

// The bits of the days of a month that fall on a weekday, given the weekday of its first day.
quint32 weekdayDays(int firstWeekday, int weekday, int daysInMonth)
{
    quint32 bits = 0;
    for (int day = 1 + (weekday - firstWeekday + 7) % 7; day <= daysInMonth; day += 7)
        bits |= dayBit(day);
    return bits;
}

bool inMonths(const Plan &plan, int month)
{
    return plan.monthMask == 0 || (plan.monthMask & (1u << month));
}

// The days of one month that the rule's day filters other than BYMONTH select, as bits: the
// filters each select a set of days and a day must be in all of them.
quint32 filteredDays(const Plan &plan, int year, int month)
{
    if (year < 1 || year > 9999)
        return 0;
    const int monthLength = daysInMonth(year, month);
    quint32 days = daysFromTo(1, monthLength);
    if (plan.clampedMonthDay != 0)
        days &= dayBit(qMin(plan.clampedMonthDay, monthLength));
    const auto positions = [](const QList<int> &list, int length, int offset) {
        quint32 bits = 0;
        for (int n : list) {
            const int day = (n > 0 ? n : length + 1 + n) - offset;
            if (day >= 1 && day <= 31)
                bits |= dayBit(day);
        }
        return bits;
    };
    if (!plan.monthDays.isEmpty())
        days &= positions(plan.monthDays, monthLength, 0);
    const qint64 first = julianDay(year, month, 1);
    const int dayOfYear = daysBeforeMonth(year, month) + 1;
    const int daysInYear = isLeap(year) ? 366 : 365;
    if (!plan.yearDays.isEmpty())
        days &= positions(plan.yearDays, daysInYear, dayOfYear - 1);
    if (plan.hasByDay()) {
        const int firstWeekday = weekdayOf(first);
        quint32 byDay = 0;
        for (int weekday = 1; weekday <= 7; ++weekday) {
            if (plan.weekdayMask & weekdayBit(weekday))
                byDay |= weekdayDays(firstWeekday, weekday, monthLength);
        }
        // The n-th weekday counts within the month or, for a yearly rule without months,
        // within the year.
        for (const auto &[n, weekday] : plan.nthWeekdays) {
            for (int day = 1 + (weekday - firstWeekday + 7) % 7; day <= monthLength; day += 7) {
                const int pos = plan.nthInMonth ? day : dayOfYear + day - 1;
                const int length = plan.nthInMonth ? monthLength : daysInYear;
                if ((n > 0 ? (pos - 1) / 7 + 1 : -((length - pos) / 7 + 1)) == n)
                    byDay |= dayBit(day);
            }
        }
        days &= byDay;
    }
    if (!plan.weekNos.isEmpty()) {
        const QDate firstDate = QDate::fromJulianDay(first);
        for (int day = 1; day <= monthLength; ++day) {
            if ((days & dayBit(day)) && !weekNoMatches(plan, firstDate.addDays(day - 1)))
                days &= ~dayBit(day);
        }
    }
    return days;
}

// The days of one month that the rule selects, as bits.
quint32 monthDays(const Plan &plan, int year, int month)
{
    return inMonths(plan, month) ? filteredDays(plan, year, month) : 0;
}

// Bit counting by halves: the builtin is a library call on the baseline instruction set.
int dayCount(quint32 days)
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

    QList<QDateTime> run()
    {
        if (!m_dtstart.isValid())
            return {};
        if (m_plan.freq == Freq::Single)
            return {m_dtstart};
        if (!m_rangeEnd.isValid())
            return {};

        m_startDate = m_dtstart.date();
        m_dtstartMs = m_dtstart.toMSecsSinceEpoch();
        m_rangeEndMs = m_rangeEnd.toMSecsSinceEpoch();
        if (m_plan.until.isValid())
            m_untilMs = m_plan.until.toMSecsSinceEpoch();
        if (m_window.isValid())
            m_windowMs = m_window.toMSecsSinceEpoch();
        m_rangeEndDate = m_rangeEnd.toUTC().date().addDays(kZoneMarginDays);
        m_lastDate = m_rangeEndDate;
        if (m_plan.until.isValid())
            m_lastDate = qMin(m_lastDate, m_plan.until.toUTC().date().addDays(kZoneMarginDays));
        m_lastDate = qMin(m_lastDate, lastSupportedDate());
        if (m_window.isValid())
            m_windowDate = m_window.toUTC().date().addDays(-kZoneMarginDays);

        qint64 first = firstPeriod();
        if (m_plan.count > 0 && first > 0) {
            first = skipCounted(first);
            if (first < 0)
                return std::move(m_out);
        }
        QVarLengthArray<QDate, 32> days;
        for (qint64 k = first; k - first < kMaxPeriods; ++k) {
            if (!walkPeriod(k, days))
                break;
        }
        return std::move(m_out);
    }

private:
    bool walkPeriod(qint64 k, QVarLengthArray<QDate, 32> &days)
    {
        days.clear();
        return periodDays(k, &days) && producePeriod(days);
    }

    // Index of the first period that can reach the window.
    qint64 firstPeriod() const
    {
        if (!m_windowDate.isValid() || m_windowDate <= m_startDate)
            return 0;
        const qint64 interval = m_plan.interval;
        switch (m_plan.freq) {
        case Freq::Daily:
            return qMax<qint64>(0, floorDiv(m_startDate.daysTo(m_windowDate), interval));
        case Freq::Weekly:
            return qMax<qint64>(
                0,
                floorDiv(weekStartOf(m_startDate, m_plan.weekStart).daysTo(m_windowDate),
                         7 * interval));
        case Freq::Monthly:
            return qMax<qint64>(
                0, floorDiv(monthIndex(m_windowDate) - monthIndex(m_startDate), interval));
        case Freq::Yearly:
            return qMax<qint64>(
                0, floorDiv(qint64(m_windowDate.year()) - m_startDate.year(), interval));
        case Freq::Single:
            break;
        }
        return 0;
    }

    // COUNT counts from the start, so the periods before the window are walked near the start
    // (where a candidate may still precede it) and counted arithmetically after that. Returns
    // the period to walk on from, or -1 when the series is over before `window`.
    qint64 skipCounted(qint64 window)
    {
        qint64 k = 0;
        QVarLengthArray<QDate, 32> days;
        for (; k < window && m_startDate.daysTo(periodStart(k)) <= kZoneMarginDays; ++k) {
            if (!walkPeriod(k, days))
                return -1;
        }
        if (k == window)
            return k;
        const std::optional<qint64> counted = countStarts(k, window);
        if (!counted)
            return k;
        m_produced += *counted;
        m_lastProduced = QDateTime();
        return m_produced >= m_plan.count ? -1 : window;
    }

    static qint64 monthIndex(const QDate &d) { return qint64(d.year()) * 12 + d.month() - 1; }

    // The first day of period k.
    QDate periodStart(qint64 k) const
    {
        const qint64 step = k * m_plan.interval;
        switch (m_plan.freq) {
        case Freq::Daily:
            return m_startDate.addDays(step);
        case Freq::Weekly:
            return weekStartOf(m_startDate, m_plan.weekStart).addDays(7 * step);
        case Freq::Monthly: {
            const qint64 index = monthIndex(m_startDate) + step;
            return QDate(int(floorDiv(index, 12)), int(index - floorDiv(index, 12) * 12) + 1, 1);
        }
        case Freq::Yearly:
            return QDate(int(m_startDate.year() + step), 1, 1);
        case Freq::Single:
            break;
        }
        return {};
    }

    // The starts that the walk would produce in the periods [k0, k1), all after the first days
    // of the series and before the window; none when this rule has to be walked.
    std::optional<qint64> countStarts(qint64 k0, qint64 k1)
    {
        const QDate from = periodStart(k0);
        const QDate to = periodStart(k1);
        // UNTIL ends a series within a period, and only the walk notices wall times of one day
        // that meet on one instant in a DST gap.
        if (m_plan.until.isValid() || !from.isValid() || !to.isValid() || from.year() < 2
            || to.year() > 9998 || !oneInstantPerTime())
            return std::nullopt;
        m_weekdaysMatter = m_plan.hasByDay() || !m_plan.weekNos.isEmpty();
        m_shapeOnly = m_plan.yearDays.isEmpty() && m_plan.weekNos.isEmpty()
            && (m_plan.nthWeekdays.isEmpty() || m_plan.nthInMonth);
        m_lengthFree = m_shapeOnly && m_plan.clampedMonthDay <= 28
            && std::all_of(m_plan.monthDays.begin(), m_plan.monthDays.end(),
                           [](int day) { return day > 0; })
            && std::all_of(m_plan.nthWeekdays.begin(), m_plan.nthWeekdays.end(),
                           [](const std::pair<int, int> &nth) { return nth.first > 0; });
        switch (m_plan.freq) {
        case Freq::Daily:
            return countDays(from, to, 1) * perPeriod(1);
        case Freq::Weekly: {
            const bool weekdaysOnly = m_plan.monthMask == 0 && m_plan.monthDays.isEmpty()
                && m_plan.yearDays.isEmpty() && m_plan.weekNos.isEmpty()
                && m_plan.nthWeekdays.isEmpty();
            if (weekdaysOnly)
                return (k1 - k0) * perPeriod(dayCount(m_plan.weekdayMask));
            if (m_plan.setPos.isEmpty())
                return countDays(from, to, 7) * perPeriod(1);
            return std::nullopt;
        }
        case Freq::Monthly:
            return countMonths(k0, k1);
        case Freq::Yearly:
            return countYears(k0, k1);
        case Freq::Single:
            break;
        }
        return std::nullopt;
    }

    // Whether each wall time of a day is its own instant: with several times a day in a zone
    // with DST, two of them can meet in a gap and count once.
    bool oneInstantPerTime() const { return m_plan.times.size() == 1 || !m_zone.hasTransitions(); }

    // The starts a period with this many selected days produces.
    qint64 perPeriod(qint64 days) const
    {
        const qint64 total = days * m_plan.times.size();
        return m_plan.setPos.isEmpty() ? total : setPositions(m_plan.setPos, total).size();
    }

    // A year's count, remembered by what decides it: the year's length, the weekday it begins
    // on when weekdays matter (and its neighbours' lengths for week numbers), and the phase of
    // the periods at its start.
    template<typename Count> qint64 memo(int year, qint64 jan1, qint64 phase, Count count)
    {
        int kind = int(isLeap(year));
        if (m_weekdaysMatter)
            kind += 2 * weekdayOf(jan1);
        if (!m_plan.weekNos.isEmpty())
            kind += 16 * int(isLeap(year - 1)) + 32 * int(isLeap(year + 1));
        if (phase == 0) {
            if (!(m_kindsKnown & (quint64(1) << kind))) {
                m_byKind[kind] = count();
                m_kindsKnown |= quint64(1) << kind;
            }
            return m_byKind[kind];
        }
        // A few dozen keys at most for all but very long intervals: a list is quickest.
        const qint64 key = kind + 64 * phase;
        for (const auto &[known, value] : std::as_const(m_yearCounts)) {
            if (known == key)
                return value;
        }
        const qint64 value = count();
        m_yearCounts.append({key, value});
        return value;
    }

    // The sum of count(year, jan1) over the years [first, end), each count taken once per kind
    // of year (memoised as memo() does, with the phase the periods have at 1 January).
    template<typename Count> qint64 overYears(qint64 first, qint64 end, qint64 phase, Count count)
    {
        qint64 total = 0;
        // Week numbers also depend on the neighbouring years, and a short span is quicker walked.
        if (!m_plan.weekNos.isEmpty() || end - first <= YearKinds::kKinds) {
            for (qint64 year = first; year < end; ++year) {
                const qint64 jan1 = julianDay(int(year), 1, 1);
                total += memo(int(year), jan1, phase, [&] { return count(int(year), jan1); });
            }
            return total;
        }
        const YearKinds &kinds = YearKinds::instance();
        qint64 years[YearKinds::kKinds];
        kinds.count(first, end, years);
        for (int kind = 0; kind < YearKinds::kKinds; ++kind) {
            if (years[kind] == 0)
                continue;
            const int year = kinds.example(kind);
            const qint64 jan1 = julianDay(year, 1, 1);
            total += years[kind] * memo(year, jan1, phase, [&] { return count(year, jan1); });
        }
        return total;
    }

    // The selected days of a month, worked out once for each shape of month where its length
    // and first weekday alone decide them, else once for each month of each kind of year. Week
    // numbers also depend on the neighbouring years: such months are worked out each time.
    quint32 selection(int year, int month)
    {
        if (!m_plan.weekNos.isEmpty())
            return monthDays(m_plan, year, month);
        return kindSelection(YearKinds::instance().kindAt(year), month);
    }

    // The selected days of a month of a year of the kind; not for rules with week numbers.
    quint32 kindSelection(int kind, int month)
    {
        return inMonths(m_plan, month) ? slotSelection(monthSlot(kind, month)) : 0;
    }

    // The slot of the caches below for a month: its shape where that decides its days, else
    // its place in a year of the kind.
    int monthSlot(int kind, int month) const
    {
        // Without weekday filters, the weekday a month or year begins on plays no part.
        if (!m_shapeOnly)
            return YearKinds::kMonthShapes + (m_weekdaysMatter ? kind : kind % 2) * 12 + month - 1;
        const int shape = YearKinds::instance().monthShape(kind, month);
        return m_weekdaysMatter ? shape : shape - shape % 7;
    }

    // The days that the rule's filters other than BYMONTH select in the months of a slot.
    quint32 slotSelection(int slot)
    {
        if (m_selectionKnown.test(size_t(slot)))
            return m_selections[slot];
        const YearKinds &kinds = YearKinds::instance();
        quint32 days = 0;
        if (slot >= YearKinds::kMonthShapes) {
            const int kind = (slot - YearKinds::kMonthShapes) / 12;
            days = filteredDays(m_plan, kinds.example(kind),
                                (slot - YearKinds::kMonthShapes) % 12 + 1);
        } else if (m_lengthFree && slot < YearKinds::kMonthShapes - 7) {
            // A shorter month selects the days of a long one that begins on the same weekday.
            days = slotSelection(YearKinds::kMonthShapes - 7 + slot % 7)
                & daysFromTo(1, 28 + slot / 7);
        } else {
            const auto [year, month] = kinds.shapeExample(slot);
            days = filteredDays(m_plan, year, month);
        }
        m_selections[slot] = days;
        m_selectionKnown.set(size_t(slot));
        return days;
    }

    // The starts of a monthly period in the months of a slot.
    qint64 slotStarts(int slot)
    {
        if (!m_monthStartsKnown.test(size_t(slot))) {
            // Months with as many days have as many starts.
            const int days = dayCount(slotSelection(slot));
            if (!(m_monthStartsByDaysKnown & (1u << days))) {
                m_monthStartsByDays[days] = perPeriod(days);
                m_monthStartsByDaysKnown |= 1u << days;
            }
            m_monthStarts[slot] = m_monthStartsByDays[days];
            m_monthStartsKnown.set(size_t(slot));
        }
        return m_monthStarts[slot];
    }

    // The starts of the monthly period in month `index` (years times 12 plus month less 1).
    qint64 monthStartsAt(qint64 index)
    {
        const int year = int(floorDiv(index, 12));
        const int month = int(index - qint64(year) * 12) + 1;
        if (!inMonths(m_plan, month))
            return 0;
        if (!m_plan.weekNos.isEmpty())
            return perPeriod(dayCount(filteredDays(m_plan, year, month)));
        return slotStarts(monthSlot(YearKinds::instance().kindAt(year), month));
    }

    // The selected days of a year whose days since the first period's start are `offset` at
    // 1 January, counting only the days in periods of blockLen days every `cycle` days.
    qint64 yearDays(int year, qint64 jan1, qint64 offset, qint64 cycle, qint64 blockLen = 1)
    {
        qint64 days = 0;
        qint64 first = jan1;
        for (int month = 1; month <= 12; ++month) {
            if (m_plan.monthMask == 0 || (m_plan.monthMask & (1u << month))) {
                const quint32 selected = selection(year, month);
                days += dayCount(selected & inPeriods(offset + first - jan1, cycle, blockLen));
            }
            first += daysInMonth(year, month);
        }
        return days;
    }

    // The days of a month in periods, by their offset from the first period's start.
    static quint32 inPeriods(qint64 offset, qint64 cycle, qint64 blockLen)
    {
        if (cycle == blockLen)
            return ~0u;
        quint32 bits = 0;
        for (int day = 1; day <= 31; ++day) {
            if (floorMod(offset + day - 1, cycle) < blockLen)
                bits |= dayBit(day);
        }
        return bits;
    }

    // The selected days in [from, to) of the periods, which are blocks of blockLen days that
    // begin every blockLen * interval days from the first period's start.
    qint64 countDays(const QDate &from, const QDate &to, int blockLen)
    {
        const qint64 cycle = qint64(blockLen) * m_plan.interval;
        const qint64 base = periodStart(0).toJulianDay();
        const qint64 end = to.toJulianDay();
        int year = 0, month = 0, day = 0;
        from.getDate(&year, &month, &day);
        qint64 total = 0;
        for (qint64 jd = from.toJulianDay(); jd < end;) {
            const qint64 monthStart = jd - day + 1;
            const qint64 nextYear = jd + (isLeap(year) ? 366 : 365);
            if (month == 1 && day == 1 && cycle == 1 && to.year() > year + 1) {
                // Every day is a period: whole years all begin at the same phase.
                total += overYears(year, to.year(), 0,
                                   [&](int y, qint64 jan1) { return yearDays(y, jan1, 0, 1, 1); });
                jd = julianDay(to.year(), 1, 1);
                year = to.year();
                continue;
            }
            if (month == 1 && day == 1 && nextYear <= end) {
                const qint64 phase = floorMod(jd - base, cycle);
                total += memo(year, jd, phase,
                              [&] { return yearDays(year, jd, phase, cycle, blockLen); });
                jd = nextYear;
                ++year;
                continue;
            }
            const qint64 stop = qMin(monthStart + daysInMonth(year, month), end);
            total += dayCount(selection(year, month) & inPeriods(monthStart - base, cycle, blockLen)
                              & daysFromTo(day, int(stop - monthStart)));
            jd = stop;
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        return total;
    }

    // The starts of the monthly periods [k0, k1). Where the interval divides a year, every
    // whole year holds the same months of the series, so whole years are counted by how many
    // of each kind of year they hold; the months around them are taken one by one.
    qint64 countMonths(qint64 k0, qint64 k1)
    {
        const qint64 interval = m_plan.interval;
        const qint64 end = monthIndex(m_startDate) + k1 * interval;
        qint64 index = monthIndex(m_startDate) + k0 * interval;
        qint64 total = 0;
        if (12 % interval == 0 && m_plan.weekNos.isEmpty()) {
            for (; index < end && floorMod(index, 12) >= interval; index += interval)
                total += monthStartsAt(index);
            const qint64 year = floorDiv(index, 12);
            const qint64 years = index < end ? (end - year * 12) / 12 : 0;
            if (years > 0) {
                total += wholeYearMonths(year, year + years, int(index - year * 12) + 1,
                                         int(interval));
                index += years * 12;
            }
        }
        for (; index < end; index += interval)
            total += monthStartsAt(index);
        return total;
    }

    // The starts of the monthly periods in the months firstMonth, firstMonth + step... of each
    // year in [firstYear, endYear): the months are gathered by slot over the kinds of year.
    qint64 wholeYearMonths(qint64 firstYear, qint64 endYear, int firstMonth, int step)
    {
        const YearKinds &kinds = YearKinds::instance();
        qint64 byKind[YearKinds::kKinds];
        quint32 months = 0;
        for (int month = firstMonth; month <= 12; month += step) {
            if (inMonths(m_plan, month))
                months |= 1u << month;
        }
        qint64 total = 0;
        if (!m_shapeOnly || months != kEveryMonth)
            kinds.count(firstYear, endYear, byKind);
        if (!m_shapeOnly) {
            for (int kind = 0; kind < YearKinds::kKinds; ++kind) {
                for (int month = 1; month <= 12; ++month) {
                    if (byKind[kind] != 0 && (months & (1u << month)))
                        total += byKind[kind] * slotStarts(monthSlot(kind, month));
                }
            }
            return total;
        }
        qint64 byShape[YearKinds::kMonthShapes] = {};
        if (months == kEveryMonth) {
            kinds.countMonths(firstYear, endYear, byShape);
        } else {
            for (int kind = 0; kind < YearKinds::kKinds; ++kind) {
                for (quint32 left = byKind[kind] != 0 ? months : 0; left != 0; left &= left - 1)
                    byShape[kinds.monthShape(kind, __builtin_ctz(left))] += byKind[kind];
            }
        }
        for (int shape = 0; shape < YearKinds::kMonthShapes; ++shape) {
            if (byShape[shape] != 0)
                total += byShape[shape] * slotStarts(m_weekdaysMatter ? shape : shape - shape % 7);
        }
        return total;
    }

    // The starts of the yearly periods [k0, k1): every year by its kind, and for every year at
    // once by how many of each kind the span holds.
    qint64 countYears(qint64 k0, qint64 k1)
    {
        const qint64 first = m_startDate.year() + k0 * m_plan.interval;
        const YearKinds &kinds = YearKinds::instance();
        qint64 total = 0;
        if (!m_plan.weekNos.isEmpty()) {
            for (qint64 k = k0; k < k1; ++k) {
                const int year = int(first + (k - k0) * m_plan.interval);
                const qint64 jan1 = julianDay(year, 1, 1);
                total += memo(year, jan1, 0, [&] { return perPeriod(yearDays(year, jan1, 0, 1)); });
            }
            return total;
        }
        if (m_plan.interval == 1) {
            qint64 byKind[YearKinds::kKinds];
            kinds.count(first, first + k1 - k0, byKind);
            for (int kind = 0; kind < YearKinds::kKinds; ++kind)
                total += byKind[kind] == 0 ? 0 : byKind[kind] * kindYearStarts(kind);
            return total;
        }
        for (qint64 k = k0; k < k1; ++k)
            total += kindYearStarts(kinds.kindAt(first + (k - k0) * m_plan.interval));
        return total;
    }

    // The starts of a yearly period in a year of the kind; not for rules with week numbers.
    qint64 kindYearStarts(int kind)
    {
        if (!m_weekdaysMatter)
            kind %= 2;
        if (!(m_yearStartsKnown & (1u << kind))) {
            qint64 days = 0;
            const quint32 months = m_plan.monthMask != 0 ? m_plan.monthMask : kEveryMonth;
            for (quint32 left = months; left != 0; left &= left - 1)
                days += dayCount(slotSelection(monthSlot(kind, __builtin_ctz(left))));
            m_yearStarts[kind] = perPeriod(days);
            m_yearStartsKnown |= 1u << kind;
        }
        return m_yearStarts[kind];
    }

    // Whether the walk selects the day; one month's days are worked out at a time.
    bool selects(const QDate &d) const
    {
        int year = 0, month = 0, day = 0;
        d.getDate(&year, &month, &day);
        if (year != m_cachedYear || month != m_cachedMonth) {
            m_cachedYear = year;
            m_cachedMonth = month;
            m_cachedDays = monthDays(m_plan, year, month);
        }
        return m_cachedDays & dayBit(day);
    }

    // The days of period k that the rule selects; false once the period lies past the end.
    bool periodDays(qint64 k, QVarLengthArray<QDate, 32> *days) const
    {
        const qint64 maxSteps = std::numeric_limits<qint64>::max() / 8 / m_plan.interval;
        if (k > maxSteps)
            return false;
        const qint64 step = k * m_plan.interval;
        switch (m_plan.freq) {
        case Freq::Daily: {
            if (step > m_startDate.daysTo(m_lastDate))
                return false;
            const QDate d = m_startDate.addDays(step);
            if (selects(d))
                days->append(d);
            return true;
        }
        case Freq::Weekly: {
            const QDate ws = weekStartOf(m_startDate, m_plan.weekStart);
            if (step > ws.daysTo(m_lastDate) / 7)
                return false;
            const QDate first = ws.addDays(7 * step);
            for (int i = 0; i < 7; ++i) {
                const QDate d = first.addDays(i);
                if (selects(d))
                    days->append(d);
            }
            return true;
        }
        case Freq::Monthly: {
            const qint64 index = monthIndex(m_startDate) + step;
            if (index > monthIndex(m_lastDate))
                return false;
            appendMonthDays(int(floorDiv(index, 12)), int(index - floorDiv(index, 12) * 12) + 1,
                            days);
            return true;
        }
        case Freq::Yearly: {
            const qint64 year = qint64(m_startDate.year()) + step;
            if (year > m_lastDate.year())
                return false;
            for (int month = 1; month <= 12; ++month)
                appendMonthDays(int(year), month, days);
            return true;
        }
        case Freq::Single:
            break;
        }
        return false;
    }

    void appendMonthDays(int year, int month, QVarLengthArray<QDate, 32> *days) const
    {
        const quint32 selected = monthDays(m_plan, year, month);
        if (selected == 0)
            return;
        const QDate first(year, month, 1);
        for (int day = 1; day <= 31; ++day) {
            if (selected & dayBit(day))
                days->append(first.addDays(day - 1));
        }
    }
    bool producePeriod(const QVarLengthArray<QDate, 32> &days)
    {
        const qsizetype timeCount = m_plan.times.size();
        if (m_plan.setPos.isEmpty()) {
            for (const QDate &d : days) {
                if (!produceDay(d))
                    return false;
            }
            return true;
        }
        const QVarLengthArray<qint64, 16> picks
            = setPositions(m_plan.setPos, qint64(days.size()) * timeCount);
        for (qint64 pick : picks) {
            if (!produce(days[pick / timeCount], m_plan.times[pick % timeCount]))
                return false;
        }
        return true;
    }

    bool produceDay(const QDate &d)
    {
        // A day well inside the counted part of a series, before anything the caller wants,
        // is only counted; no date-time needs building.
        const bool onlyCounted = m_windowDate.isValid() && d < m_windowDate
            && m_startDate.daysTo(d) > kZoneMarginDays && oneInstantPerTime();
        if (onlyCounted) {
            if (m_plan.count > 0) {
                m_produced += m_plan.times.size();
                if (m_produced >= m_plan.count)
                    return false;
            }
            m_lastProduced = QDateTime();
            return true;
        }
        for (const QTime &t : std::as_const(m_plan.times)) {
            if (!produce(d, t))
                return false;
        }
        return true;
    }

    bool produce(const QDate &d, const QTime &t)
    {
        const QDateTime c = m_zone.at(d, t);
        if (!c.isValid())
            return true;
        // Each comparison of a local time converts it again, so the instant is read once.
        const qint64 ms = c.toMSecsSinceEpoch();
        if (ms < m_dtstartMs)
            return true;
        // Two wall times can meet on one instant around a DST gap.
        if (m_lastProduced.isValid() && c == m_lastProduced)
            return true;
        if (m_plan.until.isValid() && ms > m_untilMs)
            return false;
        if (!(ms < m_rangeEndMs))
            return false;
        ++m_produced;
        m_lastProduced = c;
        if (!m_window.isValid() || ms >= m_windowMs) {
            m_out.append(c);
            if (m_out.size() >= kMaxStarts)
                return false;
        }
        return !(m_plan.count > 0 && m_produced >= m_plan.count);
    }

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

// "yyyyMMddTHHmmssZ" in UTC, written by hand: it is made for every occurrence of every view.
QString utcStamp(const QDateTime &utc)
{
    const QDate d = utc.date();
    const QTime t = utc.time();
    if (d.year() < 0 || d.year() > 9999)
        return utc.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QChar text[16];
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = QChar(char16_t(u'0' + value % 10));
    };
    put(0, d.year(), 4);
    put(4, d.month(), 2);
    put(6, d.day(), 2);
    text[8] = QLatin1Char('T');
    put(9, t.hour(), 2);
    put(11, t.minute(), 2);
    put(13, t.second(), 2);
    text[15] = QLatin1Char('Z');
    return QString(text, 16);
}

QString recurrenceIdOf(const QDateTime &start)
{
    return utcStamp(start.toUTC());
}

qint64 durationOf(const Event &event)
{
    return event.end_time ? event.start_time.msecsTo(*event.end_time) : kDefaultDurationMs;
}

bool overlaps(const QDateTime &start, const QDateTime &end, const QDateTime &rangeStart,
              const QDateTime &rangeEnd)
{
    return end > rangeStart && start < rangeEnd;
}

// What one master's rule, RDATE and EXDATE lists make of it.
class Series
{
public:
    explicit Series(const Event &master)
        : m_master(master)
        , m_rule(parseRRule(master.recurrence_rule))
        , m_zone(master.start_time)
    {
        const QList<DateEntry> exceptions = parseDateEntries(master.exception_dates);
        for (const DateEntry &e : exceptions) {
            m_exceptionInstants.insert(e.instant.toMSecsSinceEpoch());
            if (e.dateOnly.isValid())
                m_exceptionDates.insert(e.dateOnly);
        }
        const QList<DateEntry> extra = parseDateEntries(master.recurrence_dates);
        for (const DateEntry &e : extra) {
            // A date alone takes the series' time of day.
            m_extraStarts.append(e.dateOnly.isValid()
                                     ? m_zone.at(e.dateOnly, master.start_time.time())
                                     : m_zone.convert(e.instant));
        }
    }

    // The starts from `window` on and before rangeEnd, exceptions removed, ascending.
    QList<QDateTime> starts(const QDateTime &window, const QDateTime &rangeEnd) const
    {
        QList<QDateTime> all = StartGenerator(m_rule, m_master.start_time, window, rangeEnd).run();
        for (const QDateTime &s : m_extraStarts) {
            if (s.isValid() && s < rangeEnd && (!window.isValid() || s >= window))
                all.append(s);
        }
        if (!m_extraStarts.isEmpty()) {
            std::sort(all.begin(), all.end());
            all.erase(std::unique(all.begin(), all.end()), all.end());
        }
        all.removeIf([this](const QDateTime &s) { return isException(s); });
        return all;
    }

    bool isException(const QDateTime &start) const
    {
        if (!m_exceptionInstants.isEmpty()
            && m_exceptionInstants.contains(start.toMSecsSinceEpoch()))
            return true;
        // A date alone names that day of an all-day series, wherever its midnight lies.
        return m_master.is_all_day && !m_exceptionDates.isEmpty()
            && m_exceptionDates.contains(start.date());
    }

private:
    const Event &m_master;
    const RRule m_rule;
    const ZoneOf m_zone;
    QSet<qint64> m_exceptionInstants;
    QSet<QDate> m_exceptionDates;
    QList<QDateTime> m_extraStarts;
};

Event occurrenceOf(const Event &master, const QDateTime &start, const QDateTime &end,
                   qint64 startMs)
{
    Event occ = master;
    occ.start_time = start;
    occ.end_time = end;
    occ.recurrence_id = utcStamp(QDateTime::fromMSecsSinceEpoch(startMs, Qt::UTC));
    return occ;
}

QString overrideKey(const QString &uid, const QString &recurrenceId)
{
    return uid + QLatin1Char('|') + recurrenceId;
}

bool isOverride(const Event &e)
{
    return !e.master_event_uid.isEmpty() && !e.recurrence_id.isEmpty();
}

// A cancelled override is how a source says that one occurrence no longer takes place.
bool isCancelled(const Event &e)
{
    return e.status == QLatin1String("cancelled");
}

// Whether the slot an override names is a start of its master that no exception removed.
bool isRealSlot(const Series &series, const QString &recurrenceId)
{
    const DateEntry slot = parseDateEntry(recurrenceId);
    if (!slot.instant.isValid())
        return false;
    const QList<QDateTime> found = series.starts(slot.instant, slot.instant.addMSecs(1));
    return found.size() == 1 && recurrenceIdOf(found.first()) == recurrenceId;
}

// The date a RECURRENCE-ID in the stored text names as its writer wrote it: the date of a DATE
// or the wall-clock date of a local or zoned date-time. Invalid for a UTC value or none.
QDate writtenRecurrenceDate(const QString &raw)
{
    QDate found;
    forEachUnfoldedLine(raw, [&found](QStringView line) {
        if (found.isValid()
            || contentLineName(line).compare(QLatin1String("RECURRENCE-ID"), Qt::CaseInsensitive)
                != 0)
            return;
        const std::optional<ICalendarTimeFields> fields
            = readICalendarTimeFields(parseContentLine(line).value);
        if (fields && !fields->utc)
            found = fields->date;
    });
    return found;
}

// A date-only series has one slot a day. Some servers write an override's RECURRENCE-ID as
// local midnight in their own zone, an instant on no slot: such an override takes the slot of
// the date it was written with, unless another override names that slot exactly.
void matchOverridesByDate(const Event &master, QStringList &slotIds,
                          QHash<QString, Event> &overrides)
{
    const ZoneOf zone(master.start_time);
    const QTime timeOfDay = master.start_time.time();
    const auto slotOn = [&](const QDate &date) {
        return recurrenceIdOf(zone.at(date, timeOfDay));
    };
    for (QString &slotId : slotIds) {
        const DateEntry entry = parseDateEntry(slotId);
        if (!entry.instant.isValid() || slotOn(zone.convert(entry.instant).date()) == slotId)
            continue;
        const QString oldKey = overrideKey(master.uid, slotId);
        const auto it = overrides.constFind(oldKey);
        const QDate written = it == overrides.constEnd()
            ? QDate()
            : writtenRecurrenceDate(it.value().raw_icalendar);
        if (!written.isValid())
            continue;
        const QString slot = slotOn(written);
        const QString newKey = overrideKey(master.uid, slot);
        if (overrides.contains(newKey))
            continue;
        overrides.insert(newKey, overrides.take(oldKey));
        slotId = slot;
    }
}

} // namespace

int weekdayFromCode(const QString &code)
{
    static const QLatin1String codes[]
        = {QLatin1String("MO"), QLatin1String("TU"), QLatin1String("WE"), QLatin1String("TH"),
           QLatin1String("FR"), QLatin1String("SA"), QLatin1String("SU")};
    for (int i = 0; i < 7; ++i) {
        if (code == codes[i])
            return i + 1;
    }
    return 0;
}

RRule parseRRule(const QString &text)
{
    RRule rule;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).toUpper();
        const QString value = part.mid(eq + 1);
        if (key == QLatin1String("FREQ")) {
            rule.freq = value.toUpper();
        } else if (key == QLatin1String("INTERVAL")) {
            rule.interval = qMax(1, value.toInt());
        } else if (key == QLatin1String("COUNT")) {
            rule.count = qMax(0, value.toInt());
        } else if (key == QLatin1String("UNTIL")) {
            QString copy = value.toUpper();
            if (copy.endsWith(QLatin1Char('Z')))
                copy.chop(1);
            QDate d;
            QTime t;
            rule.untilIsDate = !parseCompactDateTime(copy, &d, &t);
            if (rule.untilIsDate) {
                d = parseCompactDate(value);
                t = QTime(0, 0);
            }
            rule.until = d.isValid() ? QDateTime(d, t, Qt::UTC) : QDateTime();
            rule.untilIsDate = rule.untilIsDate && d.isValid();
        } else if (key == QLatin1String("BYDAY")) {
            rule.byDay = value.toUpper().split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else if (key == QLatin1String("BYMONTH")) {
            rule.byMonth = parseIntList(value, 1, 12, false);
        } else if (key == QLatin1String("BYWEEKNO")) {
            rule.byWeekNo = parseIntList(value, 1, 53, true);
        } else if (key == QLatin1String("BYYEARDAY")) {
            rule.byYearDay = parseIntList(value, 1, 366, true);
        } else if (key == QLatin1String("BYMONTHDAY")) {
            rule.byMonthDay = parseIntList(value, 1, 31, true);
        } else if (key == QLatin1String("BYHOUR")) {
            rule.byHour = parseIntList(value, 0, 23, false);
        } else if (key == QLatin1String("BYMINUTE")) {
            rule.byMinute = parseIntList(value, 0, 59, false);
        } else if (key == QLatin1String("BYSECOND")) {
            rule.bySecond = parseIntList(value, 0, 59, false);
        } else if (key == QLatin1String("BYSETPOS")) {
            rule.bySetPos = parseIntList(value, 1, 366, true);
        } else if (key == QLatin1String("WKST")) {
            const int wd = weekdayFromCode(value.toUpper());
            rule.weekStart = wd != 0 ? wd : 1;
        }
    }
    return rule;
}

QList<QDateTime> recurrenceStarts(const RRule &rule, const QDateTime &dtstart,
                                  const QDateTime &rangeEnd)
{
    return StartGenerator(rule, dtstart, QDateTime(), rangeEnd).run();
}

QDateTime dateEntryInstant(const QString &entry)
{
    return parseDateEntry(entry).instant;
}

QSet<qint64> parseExceptionInstants(const QString &text)
{
    QSet<qint64> instants;
    const QList<DateEntry> entries = parseDateEntries(text);
    for (const DateEntry &e : entries)
        instants.insert(e.instant.toMSecsSinceEpoch());
    return instants;
}

QList<Event> expandRecurringMaster(const Event &master, const QDateTime &rangeStart,
                                   const QDateTime &rangeEnd)
{
    if (master.recurrence_rule.isEmpty()) {
        if (!master.start_time.isValid() || !(master.start_time < rangeEnd))
            return {};
        if (master.end_time && !(*master.end_time > rangeStart))
            return {};
        return {master};
    }
    if (!master.start_time.isValid())
        return {};

    const qint64 duration = durationOf(master);
    // Starts before the window cannot reach into the range; one at its very edge ends as the
    // range begins, so the window starts a millisecond later and the bound on the number of
    // starts counts only those in the range.
    const QDateTime window = rangeStart.isValid() ? rangeStart.addMSecs(1 - duration) : QDateTime();
    const QList<QDateTime> starts = Series(master).starts(window, rangeEnd);

    QList<Event> result;
    result.reserve(starts.size());
    // Each start is read as an instant once: comparing a local time converts it every time.
    const bool bounded = rangeStart.isValid() && rangeEnd.isValid();
    const qint64 rangeStartMs = bounded ? rangeStart.toMSecsSinceEpoch() : 0;
    const qint64 rangeEndMs = bounded ? rangeEnd.toMSecsSinceEpoch() : 0;
    const ZoneOf zone(master.start_time);
    for (const QDateTime &s : starts) {
        const qint64 startMs = s.toMSecsSinceEpoch();
        if (bounded && !(startMs + duration > rangeStartMs && startMs < rangeEndMs))
            continue;
        const QDateTime occEnd
            = zone.convert(QDateTime::fromMSecsSinceEpoch(startMs + duration, Qt::UTC));
        if (bounded || overlaps(s, occEnd, rangeStart, rangeEnd))
            result.append(occurrenceOf(master, s, occEnd, startMs));
    }
    return result;
}

namespace {

// Plain events are copied from a list the caller keeps, or moved out of one it hands over.
template<bool Move, typename List>
QList<Event> expandList(List &events, const QDateTime &rangeStart, const QDateTime &rangeEnd)
{
    using EventPtr = std::conditional_t<Move, Event *, const Event *>;
    QHash<QString, Event> overrides;
    QHash<QString, QStringList> overrideKeysByMaster;
    QList<EventPtr> plain;
    QList<const Event *> masters;
    for (auto &e : events) {
        if (isOverride(e)) {
            const QString key = overrideKey(e.master_event_uid, e.recurrence_id);
            if (!overrides.contains(key))
                overrideKeysByMaster[e.master_event_uid].append(e.recurrence_id);
            overrides.insert(key, e);
        } else if (e.recurrence_rule.isEmpty()) {
            plain.append(&e);
        } else {
            masters.append(&e);
        }
    }

    QList<Event> result;
    result.reserve(plain.size() + 4 * masters.size());
    for (EventPtr e : std::as_const(plain)) {
        if constexpr (Move)
            result.append(std::move(*e));
        else
            result.append(*e);
    }

    for (const Event *master : std::as_const(masters)) {
        QList<Event> occurrences = expandRecurringMaster(*master, rangeStart, rangeEnd);
        if (occurrences.isEmpty() && lcCalendarExpansion().isDebugEnabled()) {
            const QString line = QStringLiteral("master uid=") + master->uid
                + QStringLiteral(" title=") + master->title + QStringLiteral(" rrule=")
                + master->recurrence_rule + QStringLiteral(" dtstart=")
                + master->start_time.toString(Qt::ISODate)
                + QStringLiteral(" \u2192 0 occurrences in range ")
                + rangeStart.toString(Qt::ISODate) + QStringLiteral(" ... ")
                + rangeEnd.toString(Qt::ISODate);
            qCDebug(lcCalendarExpansion, "%s", qUtf8Printable(line));
        }

        QStringList slotIds = overrideKeysByMaster.value(master->uid);
        if (slotIds.isEmpty()) {
            result.append(std::move(occurrences));
            continue;
        }
        if (master->is_all_day)
            matchOverridesByDate(*master, slotIds, overrides);

        // Each entry keeps the instant of the slot it fills, so moved occurrences stay in order.
        QList<std::pair<qint64, Event>> placed;
        placed.reserve(occurrences.size() + slotIds.size());
        QSet<QString> handled;
        for (const Event &occ : occurrences) {
            const QString key = overrideKey(master->uid, occ.recurrence_id);
            const auto it = overrides.constFind(key);
            if (it == overrides.constEnd()) {
                placed.append({occ.start_time.toMSecsSinceEpoch(), occ});
                continue;
            }
            handled.insert(occ.recurrence_id);
            const Event &moved = it.value();
            if (isCancelled(moved))
                continue;
            const QDateTime movedEnd
                = moved.end_time ? *moved.end_time : moved.start_time.addMSecs(kDefaultDurationMs);
            if (overlaps(moved.start_time, movedEnd, rangeStart, rangeEnd))
                placed.append({occ.start_time.toMSecsSinceEpoch(), moved});
        }

        // Overrides whose original slot lies outside the range but that were moved into it.
        std::optional<Series> series;
        for (const QString &slotId : slotIds) {
            if (handled.contains(slotId))
                continue;
            const Event &moved = overrides[overrideKey(master->uid, slotId)];
            if (isCancelled(moved))
                continue;
            const QDateTime movedEnd
                = moved.end_time ? *moved.end_time : moved.start_time.addMSecs(kDefaultDurationMs);
            if (!moved.start_time.isValid()
                || !overlaps(moved.start_time, movedEnd, rangeStart, rangeEnd))
                continue;
            if (!series)
                series.emplace(*master);
            if (isRealSlot(*series, slotId))
                placed.append({parseDateEntry(slotId).instant.toMSecsSinceEpoch(), moved});
        }
        std::stable_sort(placed.begin(), placed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (auto &p : placed)
            result.append(std::move(p.second));
    }
    return result;
}

} // namespace

QList<Event> expandOccurrences(const QList<Event> &events, const QDateTime &rangeStart,
                               const QDateTime &rangeEnd)
{
    return expandList<false>(events, rangeStart, rangeEnd);
}

QList<Event> expandOccurrences(QList<Event> &&events, const QDateTime &rangeStart,
                               const QDateTime &rangeEnd)
{
    return expandList<true>(events, rangeStart, rangeEnd);
}
