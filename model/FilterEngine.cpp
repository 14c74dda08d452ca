#include "model/FilterEngine.h"
#include "model/JsonText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

// Weekday and "HH:mm" of an event's start as the time conditions see it. An all-day event is
// judged by its stored date: converting its UTC midnight to local time would move it to the
// previous day west of UTC.
struct StartKey
{
    int weekday = 0;
    QString timeOfDay;
};

StartKey startKeyOf(const Event &event)
{
    const QDateTime start = event.is_all_day ? event.start_time : event.start_time.toLocalTime();
    const QTime t = start.time();
    return {start.date().dayOfWeek(),
            QStringLiteral("%1:%2")
                .arg(t.hour(), 2, 10, QLatin1Char('0'))
                .arg(t.minute(), 2, 10, QLatin1Char('0'))};
}

bool timeMatches(const Event &event, const TimeCondition &c, const StartKey &key)
{
    if (c.recurringOnly && event.recurrence_rule.isEmpty())
        return false;
    if (!c.daysOfWeek.isEmpty()) {
        const bool dayOk
            = std::any_of(c.daysOfWeek.begin(), c.daysOfWeek.end(),
                          [&](const QString &d) { return weekdayFromName(d) == key.weekday; });
        if (!dayOk)
            return false;
    }
    if (!c.timeExact.isEmpty() && c.timeExact != key.timeOfDay)
        return false;
    if (!c.timeRangeStart.isEmpty() && key.timeOfDay < c.timeRangeStart)
        return false;
    if (!c.timeRangeEnd.isEmpty() && key.timeOfDay > c.timeRangeEnd)
        return false;
    return !(c.timeExact.isEmpty() && c.timeRangeStart.isEmpty() && c.timeRangeEnd.isEmpty()
             && c.daysOfWeek.isEmpty());
}

bool specificMatches(const Event &event, const FilterRule &rule)
{
    if (event.calendar_id != rule.event_calendar_id)
        return false;
    return event.uid == rule.event_uid
        || (!event.provider_event_id.isEmpty() && event.provider_event_id == rule.event_uid);
}

bool allDayMatches(const Event &event, const AllDayCondition &c)
{
    return event.is_all_day && (!c.recurringOnly || !event.recurrence_rule.isEmpty());
}

// Matches one event against one condition; the event's start key is worked out once per event,
// however many time rules ask for it.
class EventMatcher
{
public:
    explicit EventMatcher(const Event &event)
        : m_event(event)
    { }

    bool matches(const FilterRule &rule, const FilterCondition &condition)
    {
        if (const auto *p = std::get_if<PatternCondition>(&condition))
            return patternConditionMatches(m_event, *p);
        if (const auto *t = std::get_if<TimeCondition>(&condition)) {
            if (!m_key)
                m_key = startKeyOf(m_event);
            return timeMatches(m_event, *t, *m_key);
        }
        if (std::holds_alternative<SpecificCondition>(condition))
            return specificMatches(m_event, rule);
        return allDayMatches(m_event, std::get<AllDayCondition>(condition));
    }

    // The first rule, in order, that admits the event's calendar and whose condition matches.
    const CompiledFilterRule *firstMatch(const QList<CompiledFilterRule> &rules)
    {
        for (const CompiledFilterRule &c : rules) {
            if (!c.calendarIds.isEmpty() && !c.calendarIds.contains(m_event.calendar_id))
                continue;
            if (matches(c.rule, c.condition))
                return &c;
        }
        return nullptr;
    }

private:
    const Event &m_event;
    std::optional<StartKey> m_key;
};

QList<CompiledFilterRule> compileFilterRules(const QList<FilterRule> &rules)
{
    QList<CompiledFilterRule> compiled;
    compiled.reserve(rules.size());
    for (const FilterRule &rule : rules) {
        if (!rule.enabled || rule.deleted_at)
            continue;
        std::optional<FilterCondition> condition = parseFilterConditions(rule.conditions);
        if (!condition)
            continue;
        compiled.append({rule, std::move(*condition), parseCalendarIdSet(rule.calendar_ids)});
    }
    // Equal priorities keep their input order (the repository's order by name).
    std::stable_sort(compiled.begin(), compiled.end(),
                     [](const CompiledFilterRule &a, const CompiledFilterRule &b) {
                         return a.rule.priority < b.rule.priority;
                     });
    return compiled;
}

bool anyEquals(const QStringList &phrases, const QString &text, Qt::CaseSensitivity cs)
{
    return std::any_of(phrases.begin(), phrases.end(),
                       [&](const QString &p) { return text.compare(p, cs) == 0; });
}

bool anyFoundIn(const QStringList &phrases, const QString &text, Qt::CaseSensitivity cs)
{
    return std::any_of(phrases.begin(), phrases.end(),
                       [&](const QString &p) { return text.contains(p, cs); });
}

} // namespace

QStringList jsonStringList(const QJsonValue &value)
{
    QStringList out;
    if (!value.isArray())
        return out;
    const QJsonArray array = value.toArray();
    out.reserve(array.size());
    for (const QJsonValue &v : array)
        out.append(v.toString());
    return out;
}

QSet<QString> parseCalendarIdSet(const QString &text)
{
    QSet<QString> ids;
    const QStringList texts = jsonTextList(text);
    for (const QString &id : texts) {
        if (!id.isEmpty())
            ids.insert(id);
    }
    return ids;
}

int weekdayFromName(const QString &name)
{
    static const QLatin1String names[]
        = {QLatin1String("mon"), QLatin1String("tue"), QLatin1String("wed"), QLatin1String("thu"),
           QLatin1String("fri"), QLatin1String("sat"), QLatin1String("sun")};
    const QString lower = name.toLower();
    for (int i = 0; i < 7; ++i) {
        if (lower == names[i])
            return i + 1;
    }
    return 0;
}

std::optional<FilterCondition> parseFilterConditions(const QString &conditions)
{
    if (conditions.isEmpty())
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(conditions.toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const QString type = o.value(QLatin1String("runtimeType")).toString();
    if (type == QLatin1String("pattern")) {
        PatternCondition c;
        c.titleContains = jsonStringList(o.value(QLatin1String("titleContains")));
        c.titleExact = jsonStringList(o.value(QLatin1String("titleExact")));
        c.descriptionContains = jsonStringList(o.value(QLatin1String("descriptionContains")));
        c.locationContains = jsonStringList(o.value(QLatin1String("locationContains")));
        c.caseSensitive = o.value(QLatin1String("caseSensitive")).toBool(false);
        return c;
    }
    if (type == QLatin1String("time")) {
        TimeCondition c;
        c.timeExact = o.value(QLatin1String("timeExact")).toString();
        const QJsonObject range = o.value(QLatin1String("timeRange")).toObject();
        c.timeRangeStart = range.value(QLatin1String("start")).toString();
        c.timeRangeEnd = range.value(QLatin1String("end")).toString();
        c.daysOfWeek = jsonStringList(o.value(QLatin1String("daysOfWeek")));
        c.recurringOnly = o.value(QLatin1String("recurringOnly")).toBool(false);
        return c;
    }
    if (type == QLatin1String("specific"))
        return SpecificCondition {};
    if (type == QLatin1String("allDay")) {
        AllDayCondition c;
        c.recurringOnly = o.value(QLatin1String("recurringOnly")).toBool(false);
        return c;
    }
    return std::nullopt;
}

bool patternConditionMatches(const Event &event, const PatternCondition &c)
{
    const Qt::CaseSensitivity cs = c.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (anyEquals(c.titleExact, event.title, cs))
        return true;
    if (anyFoundIn(c.titleContains, event.title, cs))
        return true;
    if (!event.description.isEmpty() && anyFoundIn(c.descriptionContains, event.description, cs))
        return true;
    return !event.location.isEmpty() && anyFoundIn(c.locationContains, event.location, cs);
}

bool timeConditionMatches(const Event &event, const TimeCondition &condition)
{
    return timeMatches(event, condition, startKeyOf(event));
}

bool filterConditionMatches(const Event &event, const FilterRule &rule,
                            const FilterCondition &condition)
{
    return EventMatcher(event).matches(rule, condition);
}

FilterResult applyFilterRules(const QList<Event> &events, const QList<FilterRule> &rules)
{
    const QList<CompiledFilterRule> compiled = compileFilterRules(rules);
    FilterResult result;
    result.events.reserve(events.size());
    for (const Event &event : events) {
        const CompiledFilterRule *decider = EventMatcher(event).firstMatch(compiled);
        if (!decider) {
            result.events.append(event);
            continue;
        }
        const FilterRule &rule = decider->rule;
        if (rule.action == QLatin1String("hide")) {
            ++result.hiddenCount;
            result.suppressedIds.insert(event.id);
            continue;
        }
        if (rule.action == QLatin1String("dim")) {
            result.dimmedIds.insert(event.id);
            if (rule.suppress_reminders)
                result.suppressedIds.insert(event.id);
        }
        result.events.append(event);
    }
    return result;
}

std::optional<FilterRule> firstMatchingFilterRule(const Event &event,
                                                  const QList<FilterRule> &rules)
{
    const QList<CompiledFilterRule> compiled = compileFilterRules(rules);
    const CompiledFilterRule *match = EventMatcher(event).firstMatch(compiled);
    if (!match)
        return std::nullopt;
    return match->rule;
}
