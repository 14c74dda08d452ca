#include "core/UpcomingOccurrences.h"

#include "core/Store.h"
#include "model/Clock.h"
#include "model/Upcoming.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/ViewRepository.h"

#include <QJsonArray>
#include <QJsonDocument>

QStringList activeCalendarIds(const Store &store, const QString &activeViewId)
{
    QStringList ids;
    if (store.views()) {
        if (const std::optional<CalendarView> view = store.views()->byId(activeViewId)) {
            const QJsonDocument doc = QJsonDocument::fromJson(view->calendar_ids.toUtf8());
            const QJsonArray members = doc.array();
            for (const QJsonValue &member : members)
                ids.append(member.toString()); // not a string: an empty id, kept
        }
    }
    if (ids.isEmpty() && store.calendars()) {
        const QList<Calendar> calendars = store.calendars()->listAll();
        for (const Calendar &c : calendars) {
            if (c.is_visible)
                ids.append(c.id);
        }
    }
    return ids;
}

QList<Event> upcomingOccurrences(const Store &store, const QString &activeViewId)
{
    return upcomingOccurrences(store, activeViewId, Clock::now());
}

QList<Event> upcomingOccurrences(const Store &store, const QString &activeViewId,
                                 const QDateTime &now)
{
    if (!store.events())
        return {};
    const QStringList calendarIds = activeCalendarIds(store, activeViewId);
    // An empty list would mean every calendar to the range query.
    if (calendarIds.isEmpty())
        return {};

    const UpcomingWindow window = upcomingWindow(now);
    QList<Event> stored = store.events()->listInRange(window.from, window.to, calendarIds);
    const QList<FilterRule> rules
        = store.filterRules() ? store.filterRules()->listEnabled() : QList<FilterRule>();
    return upcomingAmong(std::move(stored), rules, now);
}

std::optional<Event> nextUpcomingOccurrence(const Store &store, const QString &activeViewId)
{
    return nextUpcomingOccurrence(store, activeViewId, Clock::now());
}

std::optional<Event> nextUpcomingOccurrence(const Store &store, const QString &activeViewId,
                                            const QDateTime &now)
{
    const QList<Event> upcoming = upcomingOccurrences(store, activeViewId, now);
    if (upcoming.isEmpty())
        return std::nullopt;
    return upcoming.first();
}
