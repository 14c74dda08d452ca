#include "core/sync/CalendarSyncClient.h"

#include "core/AppState.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncClientRegistry.h"
#include "storage/AccountRepository.h"
#include "storage/Database.h"

#include <memory>
#include <optional>

namespace Sync {

CalendarSyncClient::CalendarSyncClient(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{ }

AccountSyncRun *CalendarSyncClient::newRun(const Account &account, const Calendar &)
{
    return SyncClientRegistry::create(m_state, account, this);
}

void CalendarSyncClient::syncCalendar(const Calendar &calendar)
{
    const QString calendarId = calendar.id;
    emit calendarSyncStarted(calendarId);
    const std::optional<Account> account = m_state->accounts()->byId(calendar.account_id);
    if (!account) {
        emit calendarSyncFailed(calendarId, tr("Parent account missing"));
        return;
    }
    // An account runs once at a time, and not before the time its source asked for: otherwise
    // the gate keeps the calendar back for the coordinator's run once the hold is gone.
    RunGate *gate = m_state->syncGate();
    if (!gate->admit(account->id, {calendarId}, m_state->database()->currentDateTimeUtc())) {
        emit calendarSyncHeld(calendarId);
        return;
    }
    AccountSyncRun *run = newRun(*account, calendar);
    if (!run) {
        emit calendarSyncFailed(calendarId,
                                tr("Sync is not available for this calendar's account."));
        return;
    }
    run->setCalendarFilter({calendarId});
    gate->beginOwnRun(account->id, run, {calendarId});
    auto pulled = std::make_shared<std::optional<int>>(0); // nullopt: held
    connect(run, &AccountSyncRun::calendarSyncCompleted, this,
            [pulled, calendarId](const QString &id, int count) {
                if (id == calendarId)
                    *pulled = count;
            });
    connect(run, &AccountSyncRun::calendarSyncHeld, this, [pulled, calendarId](const QString &id) {
        if (id == calendarId)
            pulled->reset();
    });
    connect(run, &AccountSyncRun::finished, this, [this, run, pulled, calendarId] {
        run->disconnect(this);
        run->deleteLater();
        if (*pulled)
            emit calendarSyncCompleted(calendarId, **pulled);
        else
            emit calendarSyncHeld(calendarId);
    });
    connect(run, &AccountSyncRun::failed, this,
            [this, run, calendarId](const QString &, const QString &reason) {
                run->disconnect(this);
                run->deleteLater();
                emit calendarSyncFailed(calendarId, reason);
            });
    run->start();
}

} // namespace Sync
