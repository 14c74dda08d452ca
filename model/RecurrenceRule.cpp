// Reading an RRULE value, and making it with the series' start into day and time filters.

#include "model/Recurrence.h"
#include "model/RecurrenceDetail.h"

#include <algorithm>

namespace {

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

} // namespace

namespace RecurrenceDetail {

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

} // namespace RecurrenceDetail

using namespace RecurrenceDetail;

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
