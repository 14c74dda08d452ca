#pragma once

// Client-side filter rules that hide or dim events in the views without touching stored events.
// Free functions without state.

#include "model/Records.h"

#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

struct PatternCondition
{
    QStringList titleContains;
    QStringList titleExact;
    QStringList descriptionContains;
    QStringList locationContains;
    bool caseSensitive = false;
};

struct TimeCondition
{
    QString timeExact; // "HH:mm"
    QString timeRangeStart; // "HH:mm", inclusive; empty: open
    QString timeRangeEnd; // "HH:mm", inclusive; empty: open
    QStringList daysOfWeek; // "mon" ... "sun", as written
    bool recurringOnly = false;
};

struct SpecificCondition
{
};

struct AllDayCondition
{
    bool recurringOnly = false;
};

using FilterCondition
    = std::variant<PatternCondition, TimeCondition, SpecificCondition, AllDayCondition>;

// A rule ready for matching; lives for one call only.
struct CompiledFilterRule
{
    FilterRule rule;
    FilterCondition condition;
    QSet<QString> calendarIds; // empty: every calendar
    // Worked out once per call so that matching an event neither parses nor folds case.
    unsigned weekdayMask = 0; // a time condition's day names as bits 1 (Monday) to 7 (Sunday)
    PatternCondition foldedPattern; // a case-insensitive pattern's phrases, case-folded
};

struct FilterResult
{
    QList<Event> events; // not hidden, input order
    QSet<QString> dimmedIds;
    int hiddenCount = 0;
    QSet<QString> suppressedIds; // reminders of these events stay silent
};

[[nodiscard]] std::optional<FilterCondition> parseFilterConditions(const QString &conditions);
[[nodiscard]] bool filterConditionMatches(const Event &event, const FilterRule &rule,
                                          const FilterCondition &condition);
[[nodiscard]] FilterResult applyFilterRules(const QList<Event> &events,
                                            const QList<FilterRule> &rules);
// The same, moving the kept events out of a list the caller no longer needs.
[[nodiscard]] FilterResult applyFilterRules(QList<Event> &&events, const QList<FilterRule> &rules);
[[nodiscard]] std::optional<FilterRule> firstMatchingFilterRule(const Event &event,
                                                                const QList<FilterRule> &rules);

[[nodiscard]] QSet<QString> parseCalendarIdSet(const QString &text);
[[nodiscard]] QStringList jsonStringList(const QJsonValue &value);
// 1 ("mon") to 7 ("sun"), case-insensitive; 0 for anything else.
[[nodiscard]] int weekdayFromName(const QString &name);
[[nodiscard]] bool patternConditionMatches(const Event &event, const PatternCondition &condition);
[[nodiscard]] bool timeConditionMatches(const Event &event, const TimeCondition &condition);
