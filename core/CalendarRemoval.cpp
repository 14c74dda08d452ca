#include "core/CalendarRemoval.h"

#include "core/ImportsUnderWay.h"
#include "core/Store.h"
#include "storage/AccountRepository.h"
#include "storage/AllOrNothing.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QDebug>

namespace CalendarRemoval {

namespace {

bool removeInside(const Store &store, const QString &calendarId)
{
    // An import or take-back writing into the calendar would be left with a record it could
    // never take back: the removal waits for it (the caller tries again later).
    if (store.imports()->isImportingInto(calendarId)) {
        qWarning().noquote() << "[CalendarRemoval]" << calendarId
                             << "not removed: an import writes into it";
        return false;
    }
    return store.events()->purgeCalendar(calendarId) && store.tasks()->purgeCalendar(calendarId)
        && store.calendars()->remove(calendarId);
}

bool isReady(const Store &store)
{
    return store.database() && store.events() && store.tasks() && store.calendars()
        && store.accounts() && store.imports();
}

} // namespace

bool removeCalendar(const Store &store, const QString &calendarId)
{
    if (!isReady(store))
        return false;
    // The repositories announce their own rows, so nothing is held back and nothing added.
    return Sql::applyAllOrNothing(store.database()->connection(),
                                  QStringLiteral("calendar_removal"), {},
                                  [&] { return removeInside(store, calendarId); }, {});
}

bool reapAccount(const Store &store, const QString &accountId)
{
    if (!isReady(store))
        return false;
    // An account still in use is not a tombstone; its calendars stay.
    if (store.accounts()->byId(accountId))
        return true;
    const auto write = [&] {
        const QList<Calendar> calendars = store.calendars()->listByAccount(accountId);
        for (const Calendar &calendar : calendars) {
            if (!removeInside(store, calendar.id))
                return false;
        }
        return store.accounts()->reapTombstone(accountId);
    };
    return Sql::applyAllOrNothing(store.database()->connection(), QStringLiteral("account_reap"),
                                  {}, write, {});
}

} // namespace CalendarRemoval
