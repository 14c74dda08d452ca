#include "model/VTimeZone.h"

#include "model/ContentLine.h"
#include "model/Recurrence.h"
#include "model/TimeZoneNames.h"

#include <algorithm>

namespace {

constexpr qint64 kDay = 86400;
constexpr qint64 kJulianDayOfEpoch = 2440588;
// Bounds the work one zone can cause; real zones have a few changes a year.
constexpr int kMaxObservances = 500;
constexpr qsizetype kMaxChanges = 100000;
// Changes are first worked out this many years past the year asked for; a later year then
// takes them all, so a zone is worked out at most twice.
constexpr int kYearsAhead = 100;
constexpr int kLastYear = 9999;

qint64 wallSeconds(const QDate &date, const QTime &time)
{
    return (date.toJulianDay() - kJulianDayOfEpoch) * kDay + time.msecsSinceStartOfDay() / 1000;
}

// "+hhmm" or "+hhmmss" (RFC 5545 UTC-OFFSET) in seconds east of UTC.
std::optional<int> parseUtcOffset(QStringView v)
{
    v = v.trimmed();
    int sign = 1;
    if (!v.isEmpty() && (v.front() == QLatin1Char('+') || v.front() == QLatin1Char('-'))) {
        sign = v.front() == QLatin1Char('-') ? -1 : 1;
        v = v.mid(1);
    }
    if (v.size() != 4 && v.size() != 6)
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    for (qsizetype i = 0; i < v.size(); ++i) {
        const char16_t c = v.at(i).unicode();
        if (c < '0' || c > '9')
            return std::nullopt;
        parts[i / 2] = parts[i / 2] * 10 + (c - '0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2]);
}

// A DTSTART or RDATE value: wall-clock seconds, or UTC seconds when the value ends in "Z". A
// PERIOD counts from its start.
std::optional<std::pair<qint64, bool>> parseOnset(QStringView v)
{
    const qsizetype slash = v.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        v = v.left(slash);
    const std::optional<ICalendarTimeFields> fields = readICalendarTimeFields(v);
    if (!fields)
        return std::nullopt;
    return std::make_pair(wallSeconds(fields->date, fields->time), fields->utc);
}

QString unquoted(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

// "+0800" style names and west-positive offsets, as POSIX zone rules write them.
QString posixName(int offset)
{
    const int minutes = qAbs(offset) / 60;
    return QStringLiteral("<%1%2%3>")
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString posixClock(int seconds)
{
    const int a = qAbs(seconds);
    return QStringLiteral("%1%2:%3:%4")
        .arg(seconds < 0 ? QStringLiteral("-") : QString())
        .arg(a / 3600)
        .arg(a / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(a % 60, 2, 10, QLatin1Char('0'));
}

// "Mm.w.d/hh:mm:ss" for a yearly rule on one weekday of one month ("-1SU" is week 5, the last),
// at the onset's wall-clock time; nothing for any other rule.
std::optional<QString> posixRuleDate(const QString &ruleText, qint64 onsetWall)
{
    const RRule rule = parseRRule(ruleText);
    if (rule.freq != QLatin1String("YEARLY") || rule.interval != 1 || rule.count != 0
        || rule.until.isValid() || rule.byMonth.size() != 1 || rule.byDay.size() != 1
        || !rule.byMonthDay.isEmpty() || !rule.byYearDay.isEmpty() || !rule.byWeekNo.isEmpty()
        || !rule.bySetPos.isEmpty() || !rule.byHour.isEmpty() || !rule.byMinute.isEmpty())
        return std::nullopt;
    const QString &day = rule.byDay.first();
    if (day.size() < 3)
        return std::nullopt;
    bool ok = false;
    const int ordinal = day.chopped(2).toInt(&ok);
    const int weekday = weekdayFromCode(day.right(2));
    if (!ok || weekday == 0 || !(ordinal == -1 || (ordinal >= 1 && ordinal <= 4)))
        return std::nullopt;
    const qint64 clock = ((onsetWall % kDay) + kDay) % kDay;
    return QStringLiteral("M%1.%2.%3/%4")
        .arg(rule.byMonth.first())
        .arg(ordinal == -1 ? 5 : ordinal)
        .arg(weekday % 7)
        .arg(posixClock(int(clock)));
}

} // namespace

std::optional<QTimeZone> VTimeZone::systemZone()
{
    if (m_systemZone)
        return *m_systemZone;
    m_systemZone.emplace();
    // The observances still in force are those with an open-ended rule; without any, the zone
    // ends at the offset its latest onset brings.
    QList<const Observance *> ongoing;
    const Observance *latest = nullptr;
    for (const Observance &o : std::as_const(m_observances)) {
        if (!latest || o.start > latest->start)
            latest = &o;
        if (o.rule.isEmpty())
            continue;
        const RRule rule = parseRRule(o.rule);
        if (!rule.until.isValid() && rule.count == 0)
            ongoing.append(&o);
    }
    QString rule;
    if (ongoing.isEmpty() && latest) {
        rule = posixName(latest->offsetTo) + posixClock(-latest->offsetTo);
    } else if (ongoing.size() == 2 && ongoing[0]->offsetTo != ongoing[1]->offsetTo) {
        const bool firstIsSummer = ongoing[0]->offsetTo > ongoing[1]->offsetTo;
        const Observance *summer = ongoing[firstIsSummer ? 0 : 1];
        const Observance *winter = ongoing[firstIsSummer ? 1 : 0];
        const std::optional<QString> toSummer = posixRuleDate(summer->rule, summer->start);
        const std::optional<QString> toWinter = posixRuleDate(winter->rule, winter->start);
        if (!toSummer || !toWinter)
            return std::nullopt;
        rule = posixName(winter->offsetTo) + posixClock(-winter->offsetTo)
            + posixName(summer->offsetTo) + posixClock(-summer->offsetTo) + QLatin1Char(',')
            + *toSummer + QLatin1Char(',') + *toWinter;
    } else {
        return std::nullopt;
    }
    const QTimeZone zone(rule.toLatin1());
    if (zone.isValid())
        m_systemZone.emplace(zone);
    return *m_systemZone;
}

std::optional<QTimeZone> eventTimeZone(const QString &tzid, const QString &text)
{
    if (std::optional<QTimeZone> known = knownTimeZone(tzid))
        return known;
    VTimeZoneSet zones(text);
    VTimeZone *defined = zones.find(tzid);
    return defined ? defined->systemZone() : std::nullopt;
}

std::optional<VTimeZone> VTimeZone::parse(const QStringList &lines)
{
    VTimeZone zone;
    std::optional<Observance> current;
    bool haveStart = false;
    bool haveFrom = false;
    bool haveTo = false;
    int depth = 0;
    for (const QString &line : lines) {
        const ContentLine cl = parseContentLine(line);
        if (cl.name == QLatin1String("BEGIN")) {
            ++depth;
            const bool observance
                = cl.value.compare(QLatin1String("STANDARD"), Qt::CaseInsensitive) == 0
                || cl.value.compare(QLatin1String("DAYLIGHT"), Qt::CaseInsensitive) == 0;
            if (depth == 2 && observance) {
                current.emplace();
                haveStart = haveFrom = haveTo = false;
            }
            continue;
        }
        if (cl.name == QLatin1String("END")) {
            if (depth == 2 && current && haveStart && haveTo
                && zone.m_observances.size() < kMaxObservances) {
                // A missing TZOFFSETFROM means the observance changes nothing at its onset.
                if (!haveFrom)
                    current->offsetFrom = current->offsetTo;
                zone.m_observances.append(std::move(*current));
            }
            if (depth == 2)
                current.reset();
            depth = qMax(0, depth - 1);
            continue;
        }
        if (depth == 1 && cl.name == QLatin1String("TZID")) {
            // A TEXT value: "Kuala Lumpur\, Singapore" names "Kuala Lumpur, Singapore".
            zone.m_id = unescapeICalendarText(unquoted(cl.value));
            continue;
        }
        if (depth != 2 || !current)
            continue;
        if (cl.name == QLatin1String("DTSTART")) {
            if (const auto onset = parseOnset(cl.value)) {
                current->start = onset->first;
                current->startIsUtc = onset->second;
                haveStart = true;
            }
        } else if (cl.name == QLatin1String("TZOFFSETFROM")) {
            if (const std::optional<int> offset = parseUtcOffset(cl.value)) {
                current->offsetFrom = *offset;
                haveFrom = true;
            }
        } else if (cl.name == QLatin1String("TZOFFSETTO")) {
            if (const std::optional<int> offset = parseUtcOffset(cl.value)) {
                current->offsetTo = *offset;
                haveTo = true;
            }
        } else if (cl.name == QLatin1String("RRULE")) {
            current->rule = cl.value;
        } else if (cl.name == QLatin1String("RDATE")) {
            const QList<QStringView> parts = QStringView(cl.value).split(QLatin1Char(','));
            for (const QStringView part : parts) {
                if (const auto onset = parseOnset(part))
                    current->extraOnsets.append(*onset);
            }
        }
    }
    if (zone.m_id.isEmpty() || zone.m_observances.isEmpty())
        return std::nullopt;
    return zone;
}

void VTimeZone::cover(int year)
{
    if (year <= m_coveredYear)
        return;
    const bool firstTime = m_coveredYear == std::numeric_limits<int>::min();
    m_coveredYear = firstTime ? qMin(kLastYear, year + kYearsAhead) : kLastYear;
    const QDateTime rangeEnd(QDate(m_coveredYear + 1, 1, 1), QTime(0, 0), Qt::UTC);
    const qint64 endSecs = rangeEnd.toSecsSinceEpoch();
    m_changes.clear();
    for (const Observance &o : std::as_const(m_observances)) {
        // The onset written as DTSTART always counts, whatever its rule says.
        const qint64 onset = o.startIsUtc ? o.start : o.start - o.offsetFrom;
        m_changes.append({onset, o.offsetFrom, o.offsetTo});
        for (const auto &[value, isUtc] : o.extraOnsets) {
            const qint64 utc = isUtc ? value : value - o.offsetFrom;
            if (utc < endSecs)
                m_changes.append({utc, o.offsetFrom, o.offsetTo});
        }
        if (o.rule.isEmpty() || m_changes.size() >= kMaxChanges)
            continue;
        // Zones change their offsets once or twice a year; a daily "zone rule" would only cost
        // time.
        const RRule rule = parseRRule(o.rule);
        if (rule.freq != QLatin1String("YEARLY") && rule.freq != QLatin1String("MONTHLY"))
            continue;
        // A fixed offset keeps the wall-clock time of each onset, and the instants it gives
        // compare rightly with a rule's UNTIL, which is in UTC.
        const QDateTime start
            = QDateTime::fromSecsSinceEpoch(onset, Qt::OffsetFromUTC, o.offsetFrom);
        const QList<QDateTime> onsets = recurrenceStarts(rule, start, rangeEnd);
        for (const QDateTime &later : onsets)
            m_changes.append({later.toSecsSinceEpoch(), o.offsetFrom, o.offsetTo});
    }
    std::stable_sort(m_changes.begin(), m_changes.end(),
                     [](const Change &a, const Change &b) { return a.utc < b.utc; });
}

int VTimeZone::offsetOfInterval(qsizetype index) const
{
    // Interval i lies between change i-1 and change i; before the first change the offset is the
    // one that change leaves.
    return index == 0 ? m_changes.first().offsetBefore : m_changes.at(index - 1).offsetAfter;
}

QDateTime VTimeZone::at(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid() || m_observances.isEmpty())
        return {};
    // The changes of the next year too: a wall-clock time late in December can lie in it.
    cover(qMin(date.year() + 1, kLastYear));
    const qint64 wall = wallSeconds(date, time);
    const qsizetype count = m_changes.size();
    const auto firstAfter = [this](qint64 t) {
        return std::upper_bound(m_changes.cbegin(), m_changes.cend(), t,
                                [](qint64 v, const Change &c) { return v < c.utc; })
            - m_changes.cbegin();
    };
    // Offsets stay below a day, so only the intervals around the wall-clock time can hold it.
    const qsizetype lo = firstAfter(wall - kDay);
    const qsizetype hi = firstAfter(wall + kDay);
    auto inInterval = [&](qsizetype i, qint64 utc) {
        return (i == 0 || utc >= m_changes.at(i - 1).utc)
            && (i == count || utc < m_changes.at(i).utc);
    };
    for (qsizetype i = lo; i <= hi; ++i) {
        // From the earliest interval up: a time that occurs twice takes its first instant.
        const int offset = offsetOfInterval(i);
        if (inInterval(i, wall - offset))
            return QDateTime::fromSecsSinceEpoch(wall - offset, Qt::OffsetFromUTC, offset);
    }
    for (qsizetype i = lo; i < hi; ++i) {
        // Skipped by change i: read with the offset before it, which lands after the change.
        const int before = offsetOfInterval(i);
        const int after = offsetOfInterval(i + 1);
        const qint64 utc = m_changes.at(i).utc;
        if (wall - before >= utc && wall - after < utc)
            return QDateTime::fromSecsSinceEpoch(wall - before, Qt::OffsetFromUTC, after);
    }
    // Offsets that contradict each other: the one in force a day earlier.
    const int offset = offsetOfInterval(lo);
    return QDateTime::fromSecsSinceEpoch(wall - offset, Qt::OffsetFromUTC, offset);
}

VTimeZoneSet::VTimeZoneSet(const QString &text)
    : m_text(text)
{ }

VTimeZone *VTimeZoneSet::find(const QString &tzid)
{
    if (!m_loaded)
        load();
    const auto it = m_index.constFind(unquoted(tzid));
    if (it == m_index.constEnd())
        return nullptr;
    if (!m_used.contains(it.value()))
        m_used.append(it.value());
    return &m_zones[it.value()];
}

QString VTimeZoneSet::usedDefinitions() const
{
    QString out;
    for (const size_t i : m_used)
        out += m_definitions[i];
    return out;
}

void VTimeZoneSet::load()
{
    m_loaded = true;
    static const QString begin = QStringLiteral("BEGIN:VTIMEZONE");
    static const QString end = QStringLiteral("END:VTIMEZONE");
    qsizetype from = 0;
    while (from < m_text.size()) {
        const qsizetype at = m_text.indexOf(begin, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        from = at + begin.size();
        if (at > 0 && m_text.at(at - 1) != QLatin1Char('\n'))
            continue;
        const qsizetype stop = m_text.indexOf(end, from, Qt::CaseInsensitive);
        from = stop < 0 ? m_text.size() : stop + end.size();
        QStringList lines = unfoldICalendarLines(m_text.mid(at, from - at));
        // A definition left open ends where the next event begins: its text is copied in front
        // of events and must not bring one along.
        const qsizetype event = lines.indexOf(QStringLiteral("BEGIN:VEVENT"));
        if (event >= 0)
            lines.resize(event);
        while (!lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
        std::optional<VTimeZone> zone = VTimeZone::parse(lines);
        // The first definition of a name wins, as with any repeated property.
        if (zone && !m_index.contains(zone->id())) {
            m_index.insert(zone->id(), m_zones.size());
            m_zones.push_back(std::move(*zone));
            m_definitions.push_back(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
        }
    }
}
