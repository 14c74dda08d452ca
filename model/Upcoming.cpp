#include "model/Upcoming.h"

#include "model/NLParser.h"
#include "model/Recurrence.h"

#include <algorithm>

UpcomingWindow upcomingWindow(const QDateTime &now)
{
    const QDate today = now.date();
    return {NLParser::inZoneOf(today, QTime(0, 0), now),
            NLParser::inZoneOf(today.addDays(2), QTime(0, 0), now)};
}

QList<Event> upcomingAmong(QList<Event> stored, const QList<FilterRule> &rules,
                           const QDateTime &now)
{
    const UpcomingWindow window = upcomingWindow(now);
    const QDate today = now.date();
    const QDate tomorrow = today.addDays(1);
    QList<Event> occurrences = expandOccurrences(std::move(stored), window.from, window.to);
    const FilterResult filtered = applyFilterRules(std::move(occurrences), rules);

    QList<Event> kept;
    for (const Event &e : filtered.events) {
        if (e.is_all_day) {
            // An all-day item counts by its start date alone, as carried in its own zone.
            const QDate day = e.start_time.date();
            if (day == today || day == tomorrow)
                kept.append(e);
        } else if (e.end_time.value_or(e.start_time) > now) {
            kept.append(e);
        }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Event &a, const Event &b) { return a.start_time < b.start_time; });
    return kept;
}
