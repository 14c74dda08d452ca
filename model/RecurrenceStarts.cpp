// The days a rule selects, and the walk over a series' periods that makes its starts from them.

#include "model/Recurrence.h"
#include "model/RecurrenceDetail.h"

#include <algorithm>
#include <limits>
#include <map>

namespace RecurrenceDetail {

namespace {

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

// The bits of the days of a month that fall on a weekday, given the weekday of its first day.
quint32 weekdayDays(int firstWeekday, int weekday, int daysInMonth)
{
    quint32 bits = 0;
    for (int day = 1 + (weekday - firstWeekday + 7) % 7; day <= daysInMonth; day += 7)
        bits |= dayBit(day);
    return bits;
}

} // namespace

const std::vector<FallBack> &fallBacks(const QByteArray &zoneId)
{
    // Nodes stay put as zones are added: callers keep a reference.
    thread_local std::map<QByteArray, std::vector<FallBack>> known;
    const auto found = known.find(zoneId);
    if (found != known.end())
        return found->second;
    const QByteArray name = zoneId.startsWith(':') ? zoneId.mid(1) : zoneId;
    const QTimeZone zone = name.isEmpty() ? QTimeZone::systemTimeZone() : QTimeZone(name);
    std::vector<FallBack> list;
    // Far enough either way for any calendar in use; beyond, a repeated time keeps Qt's reading.
    const QDateTime from(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime to(QDate(2200, 1, 1), QTime(0, 0), Qt::UTC);
    int offset = zone.offsetFromUtc(from);
    for (const QTimeZone::OffsetData &change : zone.transitions(from, to)) {
        if (change.offsetFromUtc < offset)
            list.push_back(
                {change.atUtc.toMSecsSinceEpoch(), qint64(offset - change.offsetFromUtc) * 1000});
        offset = change.offsetFromUtc;
    }
    return known.emplace(zoneId, std::move(list)).first->second;
}

QDate weekStartOf(const QDate &date, int weekStart)
{
    return date.addDays(-((date.dayOfWeek() - weekStart + 7) % 7));
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

QList<QDateTime> StartGenerator::run()
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

bool StartGenerator::walkPeriod(qint64 k, QVarLengthArray<QDate, 32> &days)
{
    days.clear();
    return periodDays(k, &days) && producePeriod(days);
}

// Index of the first period that can reach the window.
qint64 StartGenerator::firstPeriod() const
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
        return qMax<qint64>(0,
                            floorDiv(monthIndex(m_windowDate) - monthIndex(m_startDate), interval));
    case Freq::Yearly:
        return qMax<qint64>(0,
                            floorDiv(qint64(m_windowDate.year()) - m_startDate.year(), interval));
    case Freq::Single:
        break;
    }
    return 0;
}

// The first day of period k.
QDate StartGenerator::periodStart(qint64 k) const
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

// Whether the walk selects the day; one month's days are worked out at a time.
inline bool StartGenerator::selects(const QDate &d) const
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
inline bool StartGenerator::periodDays(qint64 k, QVarLengthArray<QDate, 32> *days) const
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
        appendMonthDays(int(floorDiv(index, 12)), int(index - floorDiv(index, 12) * 12) + 1, days);
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

inline void StartGenerator::appendMonthDays(int year, int month,
                                            QVarLengthArray<QDate, 32> *days) const
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

inline bool StartGenerator::producePeriod(const QVarLengthArray<QDate, 32> &days)
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

inline bool StartGenerator::produceDay(const QDate &d)
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

inline bool StartGenerator::produce(const QDate &d, const QTime &t)
{
    // The start stays the instance it names where clocks going back repeat its wall time.
    const QDateTime c = d == m_startDate && t == m_dtstart.time() ? m_dtstart : m_zone.at(d, t);
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

} // namespace RecurrenceDetail

using namespace RecurrenceDetail;

QList<QDateTime> recurrenceStarts(const RRule &rule, const QDateTime &dtstart,
                                  const QDateTime &rangeEnd)
{
    return StartGenerator(rule, dtstart, QDateTime(), rangeEnd).run();
}
