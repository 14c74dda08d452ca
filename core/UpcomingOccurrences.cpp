#include "core/UpcomingOccurrences.h"

#include "core/AppState.h"
#include "model/FilterEngine.h"
#include "model/NLParser.h"
#include "model/Recurrence.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/ViewRepository.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

QStringList activeCalendarIds(AppState *state)
{
    QStringList ids;
    if (!state)
        return ids;
    if (state->views()) {
        if (const std::optional<CalendarView> view = state->views()->byId(state->activeViewId())) {
            const QJsonDocument doc = QJsonDocument::fromJson(view->calendar_ids.toUtf8());
            const QJsonArray members = doc.array();
            for (const QJsonValue &member : members)
                ids.append(member.toString()); // not a string: an empty id, kept
        }
    }
    if (ids.isEmpty() && state->calendars()) {
        const QList<Calendar> calendars = state->calendars()->listAll();
        for (const Calendar &c : calendars) {
            if (c.is_visible)
                ids.append(c.id);
        }
    }
    return ids;
}

QList<Event> upcomingOccurrences(AppState *state)
{
    return upcomingOccurrences(state, QDateTime::currentDateTime());
}

QList<Event> upcomingOccurrences(AppState *state, const QDateTime &now)
{
    if (!state || !state->events())
        return {};
    const QStringList calendarIds = activeCalendarIds(state);
    // An empty list would mean every calendar to the range query.
    if (calendarIds.isEmpty())
        return {};

    const QDate today = now.date();
    const QDate tomorrow = today.addDays(1);
    const QDateTime from = NLParser::inZoneOf(today, QTime(0, 0), now);
    // Through the end of tomorrow. The range reads are half-open, so their end is the midnight
    // after tomorrow; an end at 23:59:59 would drop an event starting in tomorrow's last second.
    const QDateTime to = NLParser::inZoneOf(tomorrow.addDays(1), QTime(0, 0), now);

    const QList<Event> stored = state->events()->listInRange(from, to, calendarIds);
    QList<Event> occurrences = expandOccurrences(stored, from, to);
    const QList<FilterRule> rules
        = state->filterRules() ? state->filterRules()->listEnabled() : QList<FilterRule>();
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

std::optional<Event> nextUpcomingOccurrence(AppState *state)
{
    return nextUpcomingOccurrence(state, QDateTime::currentDateTime());
}

std::optional<Event> nextUpcomingOccurrence(AppState *state, const QDateTime &now)
{
    const QList<Event> upcoming = upcomingOccurrences(state, now);
    if (upcoming.isEmpty())
        return std::nullopt;
    return upcoming.first();
}
