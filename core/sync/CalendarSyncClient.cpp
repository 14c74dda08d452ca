#include "core/sync/CalendarSyncClient.h"

#include "core/AppState.h"
#include "core/sync/SyncClientRegistry.h"
#include "storage/AccountRepository.h"

#include <memory>

namespace Sync {

CalendarSyncClient::CalendarSyncClient(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{ }

AccountSyncRun *CalendarSyncClient::newRun(const Account &account)
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
    AccountSyncRun *run = newRun(*account);
    if (!run) {
        emit calendarSyncFailed(calendarId,
                                tr("Sync is not available for this calendar's account."));
        return;
    }
    run->setCalendarFilter({calendarId});
    auto pulled = std::make_shared<int>(0);
    connect(run, &AccountSyncRun::calendarSyncCompleted, this,
            [pulled, calendarId](const QString &id, int count) {
                if (id == calendarId)
                    *pulled = count;
            });
    connect(run, &AccountSyncRun::finished, this, [this, run, pulled, calendarId] {
        run->disconnect(this);
        run->deleteLater();
        emit calendarSyncCompleted(calendarId, *pulled);
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
