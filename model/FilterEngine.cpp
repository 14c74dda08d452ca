#include "model/FilterEngine.h"
#include "model/JsonText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <limits>

namespace {

int weekdayBit(int weekday)
{
    return 1 << weekday;
}

unsigned weekdayMaskOf(const QStringList &names)
{
    unsigned mask = 0;
    for (const QString &name : names)
        mask |= weekdayBit(weekdayFromName(name));
    return mask & ~1u; // an unknown name (0) matches no day
}

// Folding ASCII text needs no Unicode tables, and most titles are ASCII. Writes the folded text
// to `to` (room for text.size() characters); false when the text is not ASCII.
bool foldAscii(QStringView text, QChar *to)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u >= 0x80)
            return false;
        to[i] = (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 32)) : QChar(u);
    }
    return true;
}

QString caseFolded(const QString &text)
{
    QString out(text.size(), Qt::Uninitialized);
    return foldAscii(text, out.data()) ? out : text.toCaseFolded();
}

QStringList caseFolded(const QStringList &phrases)
{
    QStringList out;
    out.reserve(phrases.size());
    for (const QString &p : phrases)
        out.append(caseFolded(p));
    return out;
}

// Work done once per rule and call, so that matching an event neither parses nor folds case.
void prepare(CompiledFilterRule *c)
{
    if (const auto *t = std::get_if<TimeCondition>(&c->condition)) {
        c->weekdayMask = weekdayMaskOf(t->daysOfWeek);
    } else if (const auto *p = std::get_if<PatternCondition>(&c->condition)) {
        if (!p->caseSensitive) {
            c->foldedPattern.titleExact = caseFolded(p->titleExact);
            c->foldedPattern.titleContains = caseFolded(p->titleContains);
            c->foldedPattern.descriptionContains = caseFolded(p->descriptionContains);
            c->foldedPattern.locationContains = caseFolded(p->locationContains);
        }
    }
}

// Weekday and "HH:mm" of an event's start as the time conditions see it. An all-day event is
// judged by its stored date: converting its UTC midnight to local time would move it to the
// previous day west of UTC.
struct StartKey
{
    int weekday = 0;
    int hhmm = 0; // hour * 100 + minute, the digits of its "HH:mm" text
};

// Local wall time of instants for one call over many events: the zone's offset is looked up
// once per UTC hour instead of once per event.
class LocalWallClock
{
public:
    // An instant whose date and time fields are the local wall time of `t`.
    QDateTime wall(const QDateTime &t)
    {
        if (t.timeSpec() == Qt::LocalTime)
            return t;
        const qint64 ms = t.toMSecsSinceEpoch();
        const qint64 hour = ms >= 0 ? ms / kHourMs : (ms - kHourMs + 1) / kHourMs;
        auto it = m_offsetByHour.constFind(hour);
        if (it == m_offsetByHour.constEnd()) {
            // An hour with a change of offset inside it is converted event by event.
            const int first = offsetAt(hour * kHourMs);
            const int last = offsetAt(hour * kHourMs + kHourMs - 1);
            it = m_offsetByHour.insert(hour, first == last ? first : kChanging);
        }
        if (*it == kChanging)
            return t.toLocalTime();
        return QDateTime::fromMSecsSinceEpoch(ms + qint64(*it) * 1000, Qt::UTC);
    }

private:
    static constexpr qint64 kHourMs = 3600000;
    static constexpr int kChanging = std::numeric_limits<int>::min();

    // Read from the local wall time itself: asking a local time for its offset converts it back
    // to UTC, a zone lookup that can cost a file check each time.
    static int offsetAt(qint64 ms)
    {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
        const QDateTime wallAsUtc(local.date(), local.time(), Qt::UTC);
        return int((wallAsUtc.toMSecsSinceEpoch() - ms) / 1000);
    }

    QHash<qint64, int> m_offsetByHour;
};

StartKey startKeyOf(const Event &event, LocalWallClock *clock)
{
    QDateTime start = event.start_time;
    if (!event.is_all_day)
        start = clock ? clock->wall(start) : start.toLocalTime();
    const QTime t = start.time();
    return {start.date().dayOfWeek(), t.hour() * 100 + t.minute()};
}

QString timeText(int hhmm)
{
    const auto digit = [](int d) {
        return QChar(char16_t(u'0' + d));
    };
    const QChar text[5] = {digit(hhmm / 1000), digit(hhmm / 100 % 10), QLatin1Char(':'),
                           digit(hhmm / 10 % 10), digit(hhmm % 10)};
    return QString(text, 5);
}

// How the start's "HH:mm" text sorts against a condition's text. Texts of that same shape sort
// like the numbers their digits spell, which spares building the start's text.
int compareTime(int hhmm, const QString &text)
{
    const auto isDigit = [&text](int i) {
        const char16_t u = text.at(i).unicode();
        return u >= u'0' && u <= u'9';
    };
    if (text.size() == 5 && text.at(2) == QLatin1Char(':') && isDigit(0) && isDigit(1) && isDigit(3)
        && isDigit(4)) {
        const auto value = [&text](int i) {
            return text.at(i).unicode() - u'0';
        };
        const int other = value(0) * 1000 + value(1) * 100 + value(3) * 10 + value(4);
        return hhmm < other ? -1 : (hhmm > other ? 1 : 0);
    }
    return timeText(hhmm).compare(text);
}

bool timeMatches(const Event &event, const TimeCondition &c, unsigned weekdayMask,
                 const StartKey &key)
{
    if (c.recurringOnly && event.recurrence_rule.isEmpty())
        return false;
    if (!c.daysOfWeek.isEmpty() && !(weekdayMask & weekdayBit(key.weekday)))
        return false;
    if (!c.timeExact.isEmpty() && compareTime(key.hhmm, c.timeExact) != 0)
        return false;
    if (!c.timeRangeStart.isEmpty() && compareTime(key.hhmm, c.timeRangeStart) < 0)
        return false;
    if (!c.timeRangeEnd.isEmpty() && compareTime(key.hhmm, c.timeRangeEnd) > 0)
        return false;
    return !(c.timeExact.isEmpty() && c.timeRangeStart.isEmpty() && c.timeRangeEnd.isEmpty()
             && c.daysOfWeek.isEmpty());
}

bool anyEquals(const QStringList &phrases, QStringView text)
{
    return std::any_of(phrases.begin(), phrases.end(), [&](const QString &p) { return text == p; });
}

bool anyFoundIn(const QStringList &phrases, QStringView text)
{
    return std::any_of(phrases.begin(), phrases.end(),
                       [&](const QString &p) { return text.contains(p); });
}

// The pattern tests, on texts that are either as written (case-sensitive) or all case-folded;
// each text is asked for only when its test runs.
template<typename Texts> bool patternIn(const PatternCondition &c, Texts &texts)
{
    if (!c.titleExact.isEmpty() && anyEquals(c.titleExact, texts.title()))
        return true;
    if (!c.titleContains.isEmpty() && anyFoundIn(c.titleContains, texts.title()))
        return true;
    if (!c.descriptionContains.isEmpty() && !texts.description().isEmpty()
        && anyFoundIn(c.descriptionContains, texts.description()))
        return true;
    return !c.locationContains.isEmpty() && !texts.location().isEmpty()
        && anyFoundIn(c.locationContains, texts.location());
}

struct WrittenTexts
{
    const Event &event;
    QStringView title() const { return event.title; }
    QStringView description() const { return event.description; }
    QStringView location() const { return event.location; }
};

// Case-folded texts of one event, folded on first use. ASCII texts of usual length are folded
// into buffers on the stack, so most events cost no allocation here.
class FoldedTexts
{
public:
    explicit FoldedTexts(const Event &event)
        : m_event(event)
    { }
    QStringView title() { return m_title.of(m_event.title); }
    QStringView description() { return m_description.of(m_event.description); }
    QStringView location() { return m_location.of(m_event.location); }

private:
    class Slot
    {
    public:
        Slot() = default;
        Slot(const Slot &) = delete; // the view may point into this object
        Slot &operator=(const Slot &) = delete;

        QStringView of(const QString &text)
        {
            if (m_done)
                return m_view;
            m_done = true;
            const bool fits = text.size() <= m_buffer.capacity();
            if (fits)
                m_buffer.resize(text.size());
            m_view = fits && foldAscii(text, m_buffer.data())
                ? QStringView(m_buffer.constData(), m_buffer.size())
                : QStringView(m_other = caseFolded(text));
            return m_view;
        }

    private:
        bool m_done = false;
        QStringView m_view;
        QVarLengthArray<QChar, 96> m_buffer;
        QString m_other;
    };

    const Event &m_event;
    Slot m_title;
    Slot m_description;
    Slot m_location;
};

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

// The compiled rules of one call, in deciding order, with their calendar sets as flags by
// calendar number.
struct RuleSet
{
    QList<CompiledFilterRule> rules;
    QHash<QString, int> calendarIndex; // every calendar id that some rule names
    QList<QList<bool>> admits; // per rule; empty: every calendar
};

// Matches one event against compiled rules; its start key and case-folded texts are worked out
// once per event, however many rules ask for them.
class EventMatcher
{
public:
    explicit EventMatcher(const Event &event, LocalWallClock *clock = nullptr)
        : m_event(event)
        , m_folded(event)
        , m_clock(clock)
    { }

    bool matches(const CompiledFilterRule &c)
    {
        if (const auto *p = std::get_if<PatternCondition>(&c.condition)) {
            if (p->caseSensitive) {
                WrittenTexts written {m_event};
                return patternIn(*p, written);
            }
            return patternIn(c.foldedPattern, m_folded);
        }
        if (const auto *t = std::get_if<TimeCondition>(&c.condition)) {
            if (!m_key)
                m_key = startKeyOf(m_event, m_clock);
            return timeMatches(m_event, *t, c.weekdayMask, *m_key);
        }
        if (std::holds_alternative<SpecificCondition>(c.condition))
            return specificMatches(m_event, c.rule);
        return allDayMatches(m_event, std::get<AllDayCondition>(c.condition));
    }

    // The first rule, in order, that admits the event's calendar and whose condition matches.
    const CompiledFilterRule *firstMatch(const RuleSet &set)
    {
        // One lookup of the event's calendar serves every rule's calendar set.
        const int calendar
            = set.calendarIndex.isEmpty() ? -1 : set.calendarIndex.value(m_event.calendar_id, -1);
        for (qsizetype i = 0; i < set.rules.size(); ++i) {
            const QList<bool> &admits = set.admits[i];
            if (!admits.isEmpty() && (calendar < 0 || !admits[calendar]))
                continue;
            if (matches(set.rules[i]))
                return &set.rules[i];
        }
        return nullptr;
    }

private:
    const Event &m_event;
    std::optional<StartKey> m_key;
    FoldedTexts m_folded;
    LocalWallClock *m_clock;
};

CompiledFilterRule compileOne(const FilterRule &rule, FilterCondition condition,
                              QSet<QString> calendarIds)
{
    CompiledFilterRule c;
    c.rule = rule;
    c.condition = std::move(condition);
    c.calendarIds = std::move(calendarIds);
    prepare(&c);
    return c;
}

RuleSet compileFilterRules(const QList<FilterRule> &rules)
{
    RuleSet set;
    set.rules.reserve(rules.size());
    for (const FilterRule &rule : rules) {
        if (!rule.enabled || rule.deleted_at)
            continue;
        std::optional<FilterCondition> condition = parseFilterConditions(rule.conditions);
        if (!condition)
            continue;
        set.rules.append(
            compileOne(rule, std::move(*condition), parseCalendarIdSet(rule.calendar_ids)));
    }
    // Equal priorities keep their input order (the repository's order by name).
    std::stable_sort(set.rules.begin(), set.rules.end(),
                     [](const CompiledFilterRule &a, const CompiledFilterRule &b) {
                         return a.rule.priority < b.rule.priority;
                     });

    for (const CompiledFilterRule &c : std::as_const(set.rules)) {
        for (const QString &id : c.calendarIds) {
            if (!set.calendarIndex.contains(id))
                set.calendarIndex.insert(id, int(set.calendarIndex.size()));
        }
    }
    set.admits.reserve(set.rules.size());
    for (const CompiledFilterRule &c : std::as_const(set.rules)) {
        QList<bool> admits;
        if (!c.calendarIds.isEmpty()) {
            admits.fill(false, set.calendarIndex.size());
            for (const QString &id : c.calendarIds)
                admits[set.calendarIndex.value(id)] = true;
        }
        set.admits.append(admits);
    }
    return set;
}

// Kept events are copied from a list the caller keeps, or moved out of one it hands over.
template<bool Move, typename List>
FilterResult applyCompiled(List &events, const QList<FilterRule> &rules)
{
    const RuleSet compiled = compileFilterRules(rules);
    FilterResult result;
    if constexpr (!Move)
        result.events.reserve(events.size());
    LocalWallClock clock;
    // A handed-over list keeps its kept events in place, closing the gaps hidden ones leave.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < events.size(); ++i) {
        auto &event = events[i];
        const CompiledFilterRule *decider = EventMatcher(event, &clock).firstMatch(compiled);
        if (decider) {
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
        }
        if constexpr (Move) {
            if (kept != i)
                events[kept] = std::move(event);
            ++kept;
        } else {
            result.events.append(event);
        }
    }
    if constexpr (Move) {
        events.resize(kept);
        result.events = std::move(events);
    }
    return result;
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

bool patternConditionMatches(const Event &event, const PatternCondition &condition)
{
    return filterConditionMatches(event, FilterRule(), condition);
}

bool timeConditionMatches(const Event &event, const TimeCondition &condition)
{
    return filterConditionMatches(event, FilterRule(), condition);
}

bool filterConditionMatches(const Event &event, const FilterRule &rule,
                            const FilterCondition &condition)
{
    return EventMatcher(event).matches(compileOne(rule, condition, {}));
}

FilterResult applyFilterRules(const QList<Event> &events, const QList<FilterRule> &rules)
{
    return applyCompiled<false>(events, rules);
}

FilterResult applyFilterRules(QList<Event> &&events, const QList<FilterRule> &rules)
{
    return applyCompiled<true>(events, rules);
}

std::optional<FilterRule> firstMatchingFilterRule(const Event &event,
                                                  const QList<FilterRule> &rules)
{
    const RuleSet compiled = compileFilterRules(rules);
    const CompiledFilterRule *match = EventMatcher(event).firstMatch(compiled);
    if (!match)
        return std::nullopt;
    return match->rule;
}
