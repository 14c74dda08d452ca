#include "core/QuickAdd.h"

#include "core/Store.h"
#include "model/Clock.h"
#include "model/QuickAddItems.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/QuickAddKeyRepository.h"
#include "storage/Savepoint.h"
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
                               const QString &preferredCalendarId, const QDateTime &now,
                               const QString &key)
{
    CalendarRepository *calendars = store.calendars();
    const NLParser::ParseResult parsed = NLParser::parse(line, now);
    // A day the month does not have ("feb 30") would store an item without its date.
    if (!parsed.start.isValid())
        return {};

    const bool todo = parsed.isReminder || parsed.isTask;
    const Task task = !todo ? Task()
        : parsed.isReminder
        ? makeQuickAddReminder(calendars, line, parsed, preferredCalendarId, now)
        : makeQuickAddTask(calendars, line, parsed, preferredCalendarId, now);
    const Event event = todo
        ? Event()
        : quickAddEventFrom(calendars, line, parsed, preferredCalendarId, true, now);
    const QString title = todo ? task.title : event.title;
    const QString calendarId = todo ? task.calendar_id : event.calendar_id;
    if (title.isEmpty())
        return {};
    if (calendarId.isEmpty())
        return {};
    Database *db = store.database();
    if (!db || !store.tasks() || !store.events() || !store.quickAddKeys())
        return {};

    // The key and the item in one transaction: a kill between them cannot store one alone.
    Sql::Savepoint write(db->connection(), QStringLiteral("quick_add"));
    if (!write.isActive() && db->lastFailureWasBusy())
        return {QuickAddOutcome::Busy, {}, {}};
    const auto failed = [&](const QString &sqliteText) -> QuickAddResult {
        const QString reason = store.writeFailure(sqliteText);
        qWarning("[QuickAdd] storing a line failed: %s", qUtf8Printable(reason));
        return {QuickAddOutcome::Refused, {}, reason};
    };
    if (!write.isActive())
        return failed(write.errorText());
    const bool stored = (key.isEmpty() || store.quickAddKeys()->insert(key, now))
        && (todo ? store.tasks()->insert(task) : store.events()->insert(event));
    if (!stored)
        return failed(QString());
    if (!write.release())
        return failed(write.errorText());
    return {QuickAddOutcome::Stored, todo ? task.id : event.id, {}};
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
