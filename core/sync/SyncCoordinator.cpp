#include "core/sync/SyncCoordinator.h"

#include "core/sync/SyncNowReport.h"

#include "core/AppState.h"
#include "core/sync/SyncClientRegistry.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"

#include <QStringList>

namespace Sync {

SyncCoordinator::SyncCoordinator(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{ }

void SyncCoordinator::syncNow()
{
    QStringList missing;
    int syncing = 0;
    const QList<Account> accounts = m_state->accounts()->listActive();
    const QList<Calendar> calendars = m_state->calendars()->listAll();
    for (const Account &account : accounts) {
        if (!account.enabled || account.exclude_from_sync)
            continue;
        // Two runs of one account would push the same rows twice.
        if (isRunning(account.id)) {
            ++syncing;
            continue;
        }
        AccountSyncRun *run = SyncClientRegistry::create(m_state, account, this);
        if (!run) {
            // Calendars kept on this device have nothing to sync: no word about them.
            if (!missing.contains(account.type)
                && !SyncNowReport::isOnDeviceOnly(account, calendars))
                missing << account.type;
            continue;
        }
        ++syncing;
        this->run(account, run);
    }
    emit statusMessage(SyncNowReport::message(syncing, missing));
}

void SyncCoordinator::run(const Account &account, AccountSyncRun *run)
{
    const QString accountId = account.id;
    m_runs.insert(accountId, run);
    m_state->beginSync();
    // The first terminal signal ends the run; a second one from a faulty client is ignored.
    auto end = [this, run, accountId] {
        run->disconnect(this);
        run->deleteLater();
        m_runs.remove(accountId);
    };
    connect(run, &AccountSyncRun::finished, this, [this, end] {
        end();
        m_state->endSync(false);
        // A failure of another account in the same round keeps its message.
        if (!m_state->isSyncBusy() && !m_state->lastSyncErrored())
            emit statusMessage(tr("Sync finished."));
    });
    connect(run, &AccountSyncRun::failed, this,
            [this, end](const QString &calendarId, const QString &reason) {
                end();
                m_state->setLastSyncError(calendarId, reason);
                m_state->endSync(true);
                emit statusMessage(tr("Sync failed: %1").arg(reason));
            });
    run->start();
}

} // namespace Sync
