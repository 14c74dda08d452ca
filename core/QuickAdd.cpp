#include "core/QuickAdd.h"

#include "core/AppState.h"
#include "model/Clock.h"
#include "model/QuickAddItems.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

namespace {

// The event a line makes once it is parsed; a blank line makes none (its empty title makes
// creation fail).
Event quickAddEventFrom(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                        const QString &preferredCalendarId, bool assignIdentity,
                        const QDateTime &now)
{
    if (line.trimmed().isEmpty())
        return Event();
    return quickAddEvent(line, parsed, quickAddTargetCalendar(state, preferredCalendarId),
                         assignIdentity, now);
}

} // namespace

QString createFromQuickAdd(AppState *state, const QString &line, const QString &preferredCalendarId)
{
    return createFromQuickAdd(state, line, preferredCalendarId, Clock::now());
}

QString createFromQuickAdd(AppState *state, const QString &line, const QString &preferredCalendarId,
                           const QDateTime &now)
{
    if (!state)
        return QString();
    const NLParser::ParseResult parsed = NLParser::parse(line, now);
    // A day the month does not have ("feb 30") would store an item without its date.
    if (!parsed.start.isValid())
        return QString();

    if (parsed.isReminder || parsed.isTask) {
        const Task task = parsed.isReminder
            ? makeQuickAddReminder(state, line, parsed, preferredCalendarId, now)
            : makeQuickAddTask(state, line, parsed, preferredCalendarId, now);
        if (task.title.isEmpty() || task.calendar_id.isEmpty() || !state->tasks())
            return QString();
        return state->tasks()->insert(task) ? task.id : QString();
    }
    const Event event = quickAddEventFrom(state, line, parsed, preferredCalendarId, true, now);
    if (event.title.isEmpty() || event.calendar_id.isEmpty() || !state->events())
        return QString();
    return state->events()->insert(event) ? event.id : QString();
}

Task makeQuickAddReminder(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                          const QString &preferredCalendarId)
{
    return makeQuickAddReminder(state, line, parsed, preferredCalendarId, Clock::now());
}

Task makeQuickAddReminder(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                          const QString &preferredCalendarId, const QDateTime &now)
{
    return quickAddTodo(line, parsed, quickAddTargetCalendar(state, preferredCalendarId, true),
                        true, now);
}

Task makeQuickAddTask(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                      const QString &preferredCalendarId)
{
    return makeQuickAddTask(state, line, parsed, preferredCalendarId, Clock::now());
}

Task makeQuickAddTask(AppState *state, const QString &line, const NLParser::ParseResult &parsed,
                      const QString &preferredCalendarId, const QDateTime &now)
{
    return quickAddTodo(line, parsed, quickAddTargetCalendar(state, preferredCalendarId, true),
                        false, now);
}

Event makeQuickAddEvent(AppState *state, const QString &line, const QString &preferredCalendarId,
                        bool assignIdentity)
{
    return makeQuickAddEvent(state, line, preferredCalendarId, assignIdentity, Clock::now());
}

Event makeQuickAddEvent(AppState *state, const QString &line, const QString &preferredCalendarId,
                        bool assignIdentity, const QDateTime &now)
{
    return quickAddEventFrom(state, line, NLParser::parse(line, now), preferredCalendarId,
                             assignIdentity, now);
}

QString quickAddTargetCalendar(AppState *state, const QString &preferredCalendarId, bool forTodo)
{
    if (!state || !state->calendars())
        return QString();
    CalendarRepository *calendars = state->calendars();
    if (!preferredCalendarId.isEmpty()) {
        const std::optional<Calendar> preferred = calendars->byId(preferredCalendarId);
        if (preferred && !preferred->is_read_only)
            return preferredCalendarId;
    }
    return quickAddCalendarAmong(calendars->listAll(), forTodo);
}
