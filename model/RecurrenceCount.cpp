// Counting the starts of a COUNT series before a window without making them, by kinds of year.

#include "model/RecurrenceDetail.h"

#include <algorithm>

namespace RecurrenceDetail {

// COUNT counts from the start, so the periods before the window are walked near the start
// (where a candidate may still precede it) and counted arithmetically after that. Returns
// the period to walk on from, or -1 when the series is over before `window`.
qint64 StartGenerator::skipCounted(qint64 window)
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

// The starts that the walk would produce in the periods [k0, k1), all after the first days
// of the series and before the window; none when this rule has to be walked.
std::optional<qint64> StartGenerator::countStarts(qint64 k0, qint64 k1)
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

// The starts a period with this many selected days produces.
qint64 StartGenerator::perPeriod(qint64 days) const
{
    const qint64 total = days * m_plan.times.size();
    return m_plan.setPos.isEmpty() ? total : setPositions(m_plan.setPos, total).size();
}

// A year's count, remembered by what decides it: the year's length, the weekday it begins
// on when weekdays matter (and its neighbours' lengths for week numbers), and the phase of
// the periods at its start.
template<typename Count>
qint64 StartGenerator::memo(int year, qint64 jan1, qint64 phase, Count count)
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
template<typename Count>
qint64 StartGenerator::overYears(qint64 first, qint64 end, qint64 phase, Count count)
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
quint32 StartGenerator::selection(int year, int month)
{
    if (!m_plan.weekNos.isEmpty())
        return monthDays(m_plan, year, month);
    return kindSelection(YearKinds::instance().kindAt(year), month);
}

// The selected days of a month of a year of the kind; not for rules with week numbers.
quint32 StartGenerator::kindSelection(int kind, int month)
{
    return inMonths(m_plan, month) ? slotSelection(monthSlot(kind, month)) : 0;
}

// The slot of the caches below for a month: its shape where that decides its days, else
// its place in a year of the kind.
int StartGenerator::monthSlot(int kind, int month) const
{
    // Without weekday filters, the weekday a month or year begins on plays no part.
    if (!m_shapeOnly)
        return YearKinds::kMonthShapes + (m_weekdaysMatter ? kind : kind % 2) * 12 + month - 1;
    const int shape = YearKinds::instance().monthShape(kind, month);
    return m_weekdaysMatter ? shape : shape - shape % 7;
}

// The days that the rule's filters other than BYMONTH select in the months of a slot.
quint32 StartGenerator::slotSelection(int slot)
{
    if (m_selectionKnown.test(size_t(slot)))
        return m_selections[slot];
    const YearKinds &kinds = YearKinds::instance();
    quint32 days = 0;
    if (slot >= YearKinds::kMonthShapes) {
        const int kind = (slot - YearKinds::kMonthShapes) / 12;
        days = filteredDays(m_plan, kinds.example(kind), (slot - YearKinds::kMonthShapes) % 12 + 1);
    } else if (m_lengthFree && slot < YearKinds::kMonthShapes - 7) {
        // A shorter month selects the days of a long one that begins on the same weekday.
        days = slotSelection(YearKinds::kMonthShapes - 7 + slot % 7) & daysFromTo(1, 28 + slot / 7);
    } else {
        const auto [year, month] = kinds.shapeExample(slot);
        days = filteredDays(m_plan, year, month);
    }
    m_selections[slot] = days;
    m_selectionKnown.set(size_t(slot));
    return days;
}

// The starts of a monthly period in the months of a slot.
qint64 StartGenerator::slotStarts(int slot)
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
qint64 StartGenerator::monthStartsAt(qint64 index)
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
qint64 StartGenerator::yearDays(int year, qint64 jan1, qint64 offset, qint64 cycle, qint64 blockLen)
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
quint32 StartGenerator::inPeriods(qint64 offset, qint64 cycle, qint64 blockLen)
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
qint64 StartGenerator::countDays(const QDate &from, const QDate &to, int blockLen)
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
qint64 StartGenerator::countMonths(qint64 k0, qint64 k1)
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
            total += wholeYearMonths(year, year + years, int(index - year * 12) + 1, int(interval));
            index += years * 12;
        }
    }
    for (; index < end; index += interval)
        total += monthStartsAt(index);
    return total;
}

// The starts of the monthly periods in the months firstMonth, firstMonth + step... of each
// year in [firstYear, endYear): the months are gathered by slot over the kinds of year.
qint64 StartGenerator::wholeYearMonths(qint64 firstYear, qint64 endYear, int firstMonth, int step)
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
qint64 StartGenerator::countYears(qint64 k0, qint64 k1)
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
qint64 StartGenerator::kindYearStarts(int kind)
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

} // namespace RecurrenceDetail
