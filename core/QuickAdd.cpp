#include "core/QuickAdd.h"

#include "core/Store.h"
#include "model/Clock.h"
#include "model/QuickAddItems.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

namespace {

// The event a line makes once it is parsed; a blank line makes none (its empty title makes
// creation fail).
Event quickAddEventFrom(CalendarRepository *calendars, const QString &line,
                        const NLParser::ParseResult &parsed, const QString &preferredCalendarId,
                        bool assignIdentity, const QDateTime &now)
{
    if (line.trimmed().isEmpty())
        return Event();
    return quickAddEvent(line, parsed, quickAddTargetCalendar(calendars, preferredCalendarId),
                         assignIdentity, now);
}

} // namespace

QString createFromQuickAdd(const Store &store, const QString &line,
                           const QString &preferredCalendarId)
{
    return createFromQuickAdd(store, line, preferredCalendarId, Clock::now());
}

QString createFromQuickAdd(const Store &store, const QString &line,
                           const QString &preferredCalendarId, const QDateTime &now)
{
    return addFromQuickAdd(store, line, preferredCalendarId, now).id;
}

QuickAddResult addFromQuickAdd(const Store &store, const QString &line,
                               const QString &preferredCalendarId, const QDateTime &now)
{
    CalendarRepository *calendars = store.calendars();
    const NLParser::ParseResult parsed = NLParser::parse(line, now);
    // A day the month does not have ("feb 30") would store an item without its date.
    if (!parsed.start.isValid())
        return {};

    QString id;
    bool stored = false;
    if (parsed.isReminder || parsed.isTask) {
        const Task task = parsed.isReminder
            ? makeQuickAddReminder(calendars, line, parsed, preferredCalendarId, now)
            : makeQuickAddTask(calendars, line, parsed, preferredCalendarId, now);
        if (task.title.isEmpty() || task.calendar_id.isEmpty() || !store.tasks())
            return {};
        id = task.id;
        stored = store.tasks()->insert(task);
    } else {
        const Event event
            = quickAddEventFrom(calendars, line, parsed, preferredCalendarId, true, now);
        if (event.title.isEmpty() || event.calendar_id.isEmpty() || !store.events())
            return {};
        id = event.id;
        stored = store.events()->insert(event);
    }
    if (stored)
        return {QuickAddOutcome::Stored, id};
    if (store.database() && store.database()->lastFailureWasBusy())
        return {QuickAddOutcome::Busy, QString()};
    return {};
}

Task makeQuickAddReminder(CalendarRepository *calendars, const QString &line,
                          const NLParser::ParseResult &parsed, const QString &preferredCalendarId)
{
    return makeQuickAddReminder(calendars, line, parsed, preferredCalendarId, Clock::now());
}

Task makeQuickAddReminder(CalendarRepository *calendars, const QString &line,
                          const NLParser::ParseResult &parsed, const QString &preferredCalendarId,
                          const QDateTime &now)
{
    return quickAddTodo(line, parsed, quickAddTargetCalendar(calendars, preferredCalendarId, true),
                        true, now);
}

Task makeQuickAddTask(CalendarRepository *calendars, const QString &line,
                      const NLParser::ParseResult &parsed, const QString &preferredCalendarId)
{
    return makeQuickAddTask(calendars, line, parsed, preferredCalendarId, Clock::now());
}

Task makeQuickAddTask(CalendarRepository *calendars, const QString &line,
                      const NLParser::ParseResult &parsed, const QString &preferredCalendarId,
                      const QDateTime &now)
{
    return quickAddTodo(line, parsed, quickAddTargetCalendar(calendars, preferredCalendarId, true),
                        false, now);
}

Event makeQuickAddEvent(CalendarRepository *calendars, const QString &line,
                        const QString &preferredCalendarId, bool assignIdentity)
{
    return makeQuickAddEvent(calendars, line, preferredCalendarId, assignIdentity, Clock::now());
}

Event makeQuickAddEvent(CalendarRepository *calendars, const QString &line,
                        const QString &preferredCalendarId, bool assignIdentity,
                        const QDateTime &now)
{
    return quickAddEventFrom(calendars, line, NLParser::parse(line, now), preferredCalendarId,
                             assignIdentity, now);
}

QString quickAddTargetCalendar(CalendarRepository *calendars, const QString &preferredCalendarId,
                               bool forTodo)
{
    if (!calendars)
        return QString();
    if (!preferredCalendarId.isEmpty()) {
        const std::optional<Calendar> preferred = calendars->byId(preferredCalendarId);
        if (preferred && !preferred->is_read_only)
            return preferredCalendarId;
    }
    return quickAddCalendarAmong(calendars->listAll(), forTodo);
}
