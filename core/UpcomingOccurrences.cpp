#include "core/UpcomingOccurrences.h"

#include "core/AppState.h"
#include "model/Clock.h"
#include "model/Upcoming.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/ViewRepository.h"

#include <QJsonArray>
#include <QJsonDocument>

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
    return upcomingOccurrences(state, Clock::now());
}

QList<Event> upcomingOccurrences(AppState *state, const QDateTime &now)
{
    if (!state || !state->events())
        return {};
    const QStringList calendarIds = activeCalendarIds(state);
    // An empty list would mean every calendar to the range query.
    if (calendarIds.isEmpty())
        return {};

    const UpcomingWindow window = upcomingWindow(now);
    QList<Event> stored = state->events()->listInRange(window.from, window.to, calendarIds);
    const QList<FilterRule> rules
        = state->filterRules() ? state->filterRules()->listEnabled() : QList<FilterRule>();
    return upcomingAmong(std::move(stored), rules, now);
}

std::optional<Event> nextUpcomingOccurrence(AppState *state)
{
    return nextUpcomingOccurrence(state, Clock::now());
}

std::optional<Event> nextUpcomingOccurrence(AppState *state, const QDateTime &now)
{
    const QList<Event> upcoming = upcomingOccurrences(state, now);
    if (upcoming.isEmpty())
        return std::nullopt;
    return upcoming.first();
}
