// Graph recurrence objects ("pattern" and "range") and RRULE values, both ways. Every pattern
// kind Graph has maps to one rule form and back; a rule Graph cannot hold is refused with a
// reason rather than sent as a single event.

#include "services/sync/microsoft/CalendarClient.h"

#include "model/Recurrence.h"

#include <QJsonArray>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace Microsoft {

namespace {

// RRULE weekday codes and Graph day names, in Graph's week order.
constexpr std::array<std::pair<const char *, const char *>, 7> kDays = {{
    {"SU", "sunday"},
    {"MO", "monday"},
    {"TU", "tuesday"},
    {"WE", "wednesday"},
    {"TH", "thursday"},
    {"FR", "friday"},
    {"SA", "saturday"},
}};

// Positions Graph knows in a month, as BYSETPOS or BYDAY ordinals.
constexpr std::array<std::pair<int, const char *>, 5> kIndexes = {{
    {1, "first"},
    {2, "second"},
    {3, "third"},
    {4, "fourth"},
    {-1, "last"},
}};

QString dayName(const QString &code)
{
    for (const auto &[c, name] : kDays) {
        if (code == QLatin1String(c))
            return QLatin1String(name);
    }
    return QString();
}

QString dayCode(const QString &name)
{
    const QString lower = name.toLower();
    for (const auto &[c, n] : kDays) {
        if (lower == QLatin1String(n))
            return QLatin1String(c);
    }
    return QString();
}

QString indexName(int position)
{
    for (const auto &[p, name] : kIndexes) {
        if (p == position)
            return QLatin1String(name);
    }
    return QString();
}

int indexPosition(const QString &name)
{
    const QString lower = name.isEmpty() ? QStringLiteral("first") : name.toLower();
    for (const auto &[p, n] : kIndexes) {
        if (lower == QLatin1String(n))
            return p;
    }
    return 0;
}

// The zone the series is computed in.
QTimeZone zoneOf(const QDateTime &start)
{
    return start.timeSpec() == Qt::TimeZone ? start.timeZone() : QTimeZone::utc();
}

QDate seriesDate(const QDateTime &start, bool allDay)
{
    return allDay ? start.date() : start.toTimeZone(zoneOf(start)).date();
}

// The monthly or yearly position part of a pattern: days of the week and their index, from
// either BYDAY=2TU or BYDAY=MO,TU;BYSETPOS=2. False when the rule says something else.
bool readRelative(const RRule &rule, QJsonObject &pattern)
{
    QJsonArray days;
    int position = 0;
    if (rule.byDay.size() == 1 && rule.bySetPos.isEmpty()) {
        const QString entry = rule.byDay.first();
        const QString code = entry.right(2);
        bool ok = false;
        position = entry.left(entry.size() - 2).toInt(&ok);
        if (!ok || dayName(code).isEmpty())
            return false;
        days.append(dayName(code));
    } else if (rule.bySetPos.size() == 1) {
        position = rule.bySetPos.first();
        for (const QString &code : rule.byDay) {
            if (dayName(code).isEmpty())
                return false;
            days.append(dayName(code));
        }
    }
    if (days.isEmpty() || indexName(position).isEmpty())
        return false;
    pattern.insert(QStringLiteral("daysOfWeek"), days);
    pattern.insert(QStringLiteral("index"), indexName(position));
    return true;
}

bool readWeekDays(const QStringList &byDay, QJsonArray &days)
{
    for (const QString &code : byDay) {
        if (dayName(code).isEmpty())
            return false;
        days.append(dayName(code));
    }
    return true;
}

// The fewest and most days a month has (any year for February).
int shortestMonth(int month)
{
    return month == 2 ? 28 : QDate(2001, month, 1).daysInMonth();
}

int longestMonth(int month)
{
    return month == 2 ? 29 : QDate(2001, month, 1).daysInMonth();
}

// Graph puts an absolute day that a month lacks on that month's last day. The rule that says
// the same: the last day itself for a day no month outgrows, else the last of the days from 28
// up to it that the month has.
QStringList lateDayParts(int day, int longest)
{
    if (day >= longest)
        return {QStringLiteral("BYMONTHDAY=-1")};
    QStringList days;
    for (int d = 28; d <= day; ++d)
        days << QString::number(d);
    return {QStringLiteral("BYMONTHDAY=") + days.join(QLatin1Char(',')),
            QStringLiteral("BYSETPOS=-1")};
}

// The absolute day a rule's BYMONTHDAY (and BYSETPOS) stands for in Graph, in a month of at
// most `longest` days; 0 when Graph has no such day.
int absoluteDayOf(const RRule &rule, const QDate &first, int longest)
{
    if (rule.byMonthDay.isEmpty())
        return rule.bySetPos.isEmpty() ? first.day() : 0;
    QList<int> days = rule.byMonthDay;
    std::sort(days.begin(), days.end());
    if (rule.bySetPos.isEmpty()) {
        if (days.size() != 1)
            return 0;
        return days.first() == -1 ? longest : days.first();
    }
    // 28 up to the day, the last one the month has.
    if (rule.bySetPos != QList<int> {-1} || days.first() != 28)
        return 0;
    for (int i = 1; i < days.size(); ++i) {
        if (days.at(i) != 28 + i)
            return 0;
    }
    return days.last() <= longest ? days.last() : 0;
}

// The pattern of a rule; empty when Graph has none for it.
QJsonObject patternOf(const RRule &rule, const QDate &first)
{
    const bool hasUnsupported = !rule.byWeekNo.isEmpty() || !rule.byYearDay.isEmpty()
        || !rule.byHour.isEmpty() || !rule.byMinute.isEmpty() || !rule.bySecond.isEmpty()
        || rule.byMonth.size() > 1 || rule.interval < 1;
    if (hasUnsupported)
        return {};
    QJsonObject pattern;
    pattern.insert(QStringLiteral("interval"), rule.interval);
    const bool plain = rule.byDay.isEmpty() && rule.byMonthDay.isEmpty() && rule.byMonth.isEmpty()
        && rule.bySetPos.isEmpty();
    if (rule.freq == QLatin1String("DAILY")) {
        if (plain) {
            pattern.insert(QStringLiteral("type"), QStringLiteral("daily"));
            return pattern;
        }
        // "Every weekday" written as a daily rule is a weekly pattern in Graph.
        QJsonArray days;
        if (rule.interval != 1 || !rule.byMonthDay.isEmpty() || !rule.byMonth.isEmpty()
            || !rule.bySetPos.isEmpty() || !readWeekDays(rule.byDay, days))
            return {};
        pattern.insert(QStringLiteral("type"), QStringLiteral("weekly"));
        pattern.insert(QStringLiteral("daysOfWeek"), days);
        pattern.insert(QStringLiteral("firstDayOfWeek"), dayName(QStringLiteral("MO")));
        return pattern;
    }
    if (rule.freq == QLatin1String("WEEKLY")) {
        QJsonArray days;
        if (!rule.byMonthDay.isEmpty() || !rule.byMonth.isEmpty() || !rule.bySetPos.isEmpty()
            || !readWeekDays(rule.byDay, days))
            return {};
        if (days.isEmpty())
            days.append(QLatin1String(kDays[first.dayOfWeek() % 7].second));
        pattern.insert(QStringLiteral("type"), QStringLiteral("weekly"));
        pattern.insert(QStringLiteral("daysOfWeek"), days);
        pattern.insert(QStringLiteral("firstDayOfWeek"),
                       QLatin1String(kDays[rule.weekStart % 7].second));
        return pattern;
    }
    const bool yearly = rule.freq == QLatin1String("YEARLY");
    if (!yearly && rule.freq != QLatin1String("MONTHLY"))
        return {};
    if (!yearly && !rule.byMonth.isEmpty())
        return {};
    const int month = rule.byMonth.isEmpty() ? first.month() : rule.byMonth.first();
    if (yearly)
        pattern.insert(QStringLiteral("month"), month);
    if (rule.byDay.isEmpty()) {
        const int day = absoluteDayOf(rule, first, yearly ? longestMonth(month) : 31);
        if (day < 1)
            return {};
        pattern.insert(QStringLiteral("type"),
                       yearly ? QStringLiteral("absoluteYearly")
                              : QStringLiteral("absoluteMonthly"));
        pattern.insert(QStringLiteral("dayOfMonth"), day);
        return pattern;
    }
    if (!rule.byMonthDay.isEmpty() || !readRelative(rule, pattern))
        return {};
    pattern.insert(QStringLiteral("type"),
                   yearly ? QStringLiteral("relativeYearly") : QStringLiteral("relativeMonthly"));
    return pattern;
}

// The absolute day of a pattern that Graph moves to the last day of shorter months, where the
// rule skips those months instead (its own day 29 to 31, not one of its "last day" forms); 0
// when Graph and the rule agree on every month.
int fallbackDay(const RRule &rule, const QJsonObject &pattern)
{
    const bool ownDay
        = rule.bySetPos.isEmpty() && (rule.byMonthDay.isEmpty() || rule.byMonthDay.first() > 0);
    const QString type = pattern.value(QStringLiteral("type")).toString();
    const int day = pattern.value(QStringLiteral("dayOfMonth")).toInt();
    if (!ownDay)
        return 0;
    if (type == QLatin1String("absoluteMonthly"))
        return day > 28 ? day : 0;
    if (type == QLatin1String("absoluteYearly"))
        return day > shortestMonth(pattern.value(QStringLiteral("month")).toInt()) ? day : 0;
    return 0;
}

// The dates an absolute monthly or yearly pattern gives from `first` through `last`.
QList<QDate> patternDates(const QJsonObject &pattern, const QDate &first, const QDate &last)
{
    const bool yearly
        = pattern.value(QStringLiteral("type")).toString() == QLatin1String("absoluteYearly");
    const int step
        = qMax(1, pattern.value(QStringLiteral("interval")).toInt(1)) * (yearly ? 12 : 1);
    const int day = pattern.value(QStringLiteral("dayOfMonth")).toInt();
    QDate month(first.year(),
                yearly ? pattern.value(QStringLiteral("month")).toInt() : first.month(), 1);
    if (month < QDate(first.year(), first.month(), 1))
        month = month.addYears(1);
    QList<QDate> dates;
    for (; month.isValid() && month <= last; month = month.addMonths(step)) {
        const QDate date(month.year(), month.month(), qMin(day, month.daysInMonth()));
        if (date >= first && date <= last)
            dates << date;
    }
    return dates;
}

// Graph's form of a rule whose day shorter months lack: its range ends on a date (the rule's
// last one for a counted rule), and the dates Graph adds up to it are cancelled after the write.
struct FallbackForm
{
    QDate last; // the range's end date
    QList<QDate> added; // in the series' zone
};

// The most added dates a series may have cancelled; beyond that it is not sent.
constexpr int kMostAdded = 120;

std::optional<FallbackForm> fallbackForm(const RRule &rule, const QJsonObject &pattern,
                                         const QDateTime &start, bool allDay)
{
    if (rule.count < 1 && !rule.until.isValid())
        return std::nullopt; // without an end the added dates never end either
    const QDateTime end = rule.until.isValid() ? rule.until.addDays(2) : start.addYears(4000);
    QSet<QDate> ruleDates;
    QDate lastOfRule;
    for (const QDateTime &at : recurrenceStarts(rule, start, end)) {
        lastOfRule = seriesDate(at, allDay);
        ruleDates.insert(lastOfRule);
    }
    if (ruleDates.isEmpty())
        return std::nullopt;
    FallbackForm form;
    form.last = rule.count > 0 ? lastOfRule
        : allDay               ? rule.until.date()
                               : rule.until.toTimeZone(zoneOf(start)).date();
    for (const QDate &date : patternDates(pattern, seriesDate(start, allDay), form.last)) {
        if (!ruleDates.contains(date))
            form.added << date;
    }
    if (form.added.size() > kMostAdded)
        return std::nullopt;
    return form;
}

} // namespace

QList<QDate> CalendarClient::graphOnlyDates(const QString &rule, const QDateTime &start,
                                            bool allDay)
{
    const RRule parsed = parseRRule(rule);
    const QJsonObject pattern = patternOf(parsed, seriesDate(start, allDay));
    if (!fallbackDay(parsed, pattern))
        return {};
    const std::optional<FallbackForm> form = fallbackForm(parsed, pattern, start, allDay);
    return form ? form->added : QList<QDate>();
}

QJsonObject CalendarClient::rruleToGraphRecurrence(const QString &rule, const QDateTime &start,
                                                   bool allDay, QString *error)
{
    const RRule parsed = parseRRule(rule);
    const QDate first = seriesDate(start, allDay);
    const QJsonObject pattern
        = parsed.count > 0 && parsed.until.isValid() ? QJsonObject() : patternOf(parsed, first);
    const bool movesDays = !pattern.isEmpty() && fallbackDay(parsed, pattern);
    const std::optional<FallbackForm> fallback
        = movesDays ? fallbackForm(parsed, pattern, start, allDay) : std::nullopt;
    if (pattern.isEmpty() || !first.isValid() || (movesDays && !fallback)) {
        if (error)
            *error = tr("Microsoft calendars cannot keep the repeat rule \"%1\".").arg(rule);
        return {};
    }
    QJsonObject range;
    range.insert(QStringLiteral("startDate"), first.toString(Qt::ISODate));
    if (fallback) {
        // A count would take the added dates as occurrences: the rule's last date ends it.
        range.insert(QStringLiteral("type"), QStringLiteral("endDate"));
        range.insert(QStringLiteral("endDate"), fallback->last.toString(Qt::ISODate));
    } else if (parsed.count > 0) {
        range.insert(QStringLiteral("type"), QStringLiteral("numbered"));
        range.insert(QStringLiteral("numberOfOccurrences"), parsed.count);
    } else if (parsed.until.isValid()) {
        // Graph's end date counts the whole day in the series' zone.
        const QDate last
            = allDay ? parsed.until.date() : parsed.until.toTimeZone(zoneOf(start)).date();
        range.insert(QStringLiteral("type"), QStringLiteral("endDate"));
        range.insert(QStringLiteral("endDate"), last.toString(Qt::ISODate));
    } else {
        range.insert(QStringLiteral("type"), QStringLiteral("noEnd"));
    }
    if (!allDay)
        range.insert(QStringLiteral("recurrenceTimeZone"), zoneToGraph(zoneOf(start)));
    QJsonObject recurrence;
    recurrence.insert(QStringLiteral("pattern"), pattern);
    recurrence.insert(QStringLiteral("range"), range);
    return recurrence;
}

QString CalendarClient::graphRecurrenceToRrule(const QJsonObject &recurrence,
                                               const QDateTime &start, bool allDay)
{
    const QJsonObject pattern = recurrence.value(QStringLiteral("pattern")).toObject();
    const QJsonObject range = recurrence.value(QStringLiteral("range")).toObject();
    const QString type = pattern.value(QStringLiteral("type")).toString();
    QStringList parts;
    QStringList days;
    for (const QJsonValue &v : pattern.value(QStringLiteral("daysOfWeek")).toArray()) {
        const QString code = dayCode(v.toString());
        if (!code.isEmpty())
            days << code;
    }
    const int month = pattern.value(QStringLiteral("month")).toInt();
    const int dayOfMonth = pattern.value(QStringLiteral("dayOfMonth")).toInt();
    const auto relative = [&]() -> bool {
        const int position = indexPosition(pattern.value(QStringLiteral("index")).toString());
        if (days.isEmpty() || position == 0)
            return false;
        if (days.size() == 1) {
            parts << QStringLiteral("BYDAY=%1%2").arg(position).arg(days.first());
        } else {
            parts << QStringLiteral("BYDAY=") + days.join(QLatin1Char(','));
            parts << QStringLiteral("BYSETPOS=%1").arg(position);
        }
        return true;
    };

    if (type == QLatin1String("daily")) {
        parts << QStringLiteral("FREQ=DAILY");
    } else if (type == QLatin1String("weekly")) {
        if (days.isEmpty())
            return QString();
        parts << QStringLiteral("FREQ=WEEKLY")
              << QStringLiteral("BYDAY=") + days.join(QLatin1Char(','));
    } else if (type == QLatin1String("absoluteMonthly")) {
        if (dayOfMonth < 1)
            return QString();
        parts << QStringLiteral("FREQ=MONTHLY");
        if (dayOfMonth > 28)
            parts << lateDayParts(dayOfMonth, 31);
        else
            parts << QStringLiteral("BYMONTHDAY=%1").arg(dayOfMonth);
    } else if (type == QLatin1String("relativeMonthly")) {
        parts << QStringLiteral("FREQ=MONTHLY");
        if (!relative())
            return QString();
    } else if (type == QLatin1String("absoluteYearly")) {
        if (month < 1 || dayOfMonth < 1)
            return QString();
        if (month > 12)
            return QString();
        parts << QStringLiteral("FREQ=YEARLY") << QStringLiteral("BYMONTH=%1").arg(month);
        if (dayOfMonth > shortestMonth(month))
            parts << lateDayParts(dayOfMonth, longestMonth(month));
        else
            parts << QStringLiteral("BYMONTHDAY=%1").arg(dayOfMonth);
    } else if (type == QLatin1String("relativeYearly")) {
        if (month < 1)
            return QString();
        parts << QStringLiteral("FREQ=YEARLY") << QStringLiteral("BYMONTH=%1").arg(month);
        if (!relative())
            return QString();
    } else {
        return QString();
    }

    const int interval = pattern.value(QStringLiteral("interval")).toInt(1);
    if (interval >= 2)
        parts << QStringLiteral("INTERVAL=%1").arg(interval);
    if (type == QLatin1String("weekly")) {
        const QString weekStart
            = dayCode(pattern.value(QStringLiteral("firstDayOfWeek")).toString());
        if (!weekStart.isEmpty() && weekStart != QLatin1String("MO"))
            parts << QStringLiteral("WKST=") + weekStart;
    }

    const QString rangeType = range.value(QStringLiteral("type")).toString();
    if (rangeType == QLatin1String("numbered")) {
        const int count = range.value(QStringLiteral("numberOfOccurrences")).toInt();
        if (count >= 1)
            parts << QStringLiteral("COUNT=%1").arg(count);
    } else if (rangeType == QLatin1String("endDate")) {
        const QDate last
            = QDate::fromString(range.value(QStringLiteral("endDate")).toString(), Qt::ISODate);
        if (last.isValid()) {
            // The end date includes its own occurrences: a timed series ends with that day.
            const QString until = allDay ? last.toString(QStringLiteral("yyyyMMdd"))
                                         : QDateTime(last, QTime(23, 59, 59), zoneOf(start))
                                               .toUTC()
                                               .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
            parts << QStringLiteral("UNTIL=") + until;
        }
    }
    return parts.join(QLatin1Char(';'));
}

} // namespace Microsoft
