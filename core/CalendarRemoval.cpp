#include "core/CalendarRemoval.h"

#include "core/AppState.h"
#include "storage/AccountRepository.h"
#include "storage/AllOrNothing.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

namespace CalendarRemoval {

namespace {

bool removeInside(AppState *state, const QString &calendarId)
{
    return state->events()->purgeCalendar(calendarId) && state->tasks()->purgeCalendar(calendarId)
        && state->calendars()->remove(calendarId);
}

bool isReady(AppState *state)
{
    return state && state->database() && state->events() && state->tasks() && state->calendars()
        && state->accounts();
}

} // namespace

bool removeCalendar(AppState *state, const QString &calendarId)
{
    if (!isReady(state))
        return false;
    // The repositories announce their own rows, so nothing is held back and nothing added.
    return Sql::applyAllOrNothing(state->database()->connection(),
                                  QStringLiteral("calendar_removal"), {},
                                  [&] { return removeInside(state, calendarId); }, {});
}

bool reapAccount(AppState *state, const QString &accountId)
{
    if (!isReady(state))
        return false;
    // An account still in use is not a tombstone; its calendars stay.
    if (state->accounts()->byId(accountId))
        return true;
    const auto write = [&] {
        const QList<Calendar> calendars = state->calendars()->listByAccount(accountId);
        for (const Calendar &calendar : calendars) {
            if (!removeInside(state, calendar.id))
                return false;
        }
        return state->accounts()->reapTombstone(accountId);
    };
    return Sql::applyAllOrNothing(state->database()->connection(), QStringLiteral("account_reap"),
                                  {}, write, {});
}

} // namespace CalendarRemoval
