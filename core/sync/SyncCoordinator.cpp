#include "core/sync/SyncCoordinator.h"

#include "core/sync/SyncNowReport.h"
#include "core/sync/SyncScheduler.h"

#include "core/AppState.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncClientRegistry.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QStringList>
#include <QTimer>

#include <QtDebug>
#include <utility>

namespace Sync {

SyncCoordinator::SyncCoordinator(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    // One gate for every run of the state: a second coordinator (a test's) shares the first's.
    , m_gate(state->syncCoordinator() ? state->syncCoordinator()->gate()
                                      : new RunGate(state->store().imports(), this))
{
    // Queued: a hold ends inside the run or import that held, which must be done first.
    connect(m_gate, &RunGate::released, this, &SyncCoordinator::startReleased,
            Qt::QueuedConnection);
}

bool SyncCoordinator::isRunning(const QString &accountId) const
{
    return m_gate->isRunning(accountId);
}

QDateTime SyncCoordinator::notBefore(const QString &accountId) const
{
    return m_gate->notBefore(accountId);
}

SyncScheduler *SyncCoordinator::scheduler()
{
    if (!m_scheduler)
        m_scheduler = new SyncScheduler(m_state, this, this);
    return m_scheduler;
}

void SyncCoordinator::syncNow()
{
    QStringList missing;
    int syncing = 0;
    QList<std::pair<Account, AccountSyncRun *>> toStart;
    const QList<Account> accounts = m_state->accounts()->listActive();
    const QList<Calendar> calendars = m_state->calendars()->listAll();
    const QDateTime now = m_state->database()->currentDateTimeUtc();
    for (const Account &account : accounts) {
        if (!account.enabled || account.exclude_from_sync)
            continue;
        // Two runs of one account would push the same rows twice; the run under way serves.
        if (isRunning(account.id)) {
            ++syncing;
            continue;
        }
        // Asked earlier than its source allows, it would only be refused again: it runs then.
        if (!m_gate->mayRunAccount(account.id, now)
            && SyncClientRegistry::hasClient(account.type)) {
            m_gate->hold(account.id);
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
        toStart.append({account, run});
    }
    // Said before the runs start: one that ends at once must have the last word.
    emit statusMessage(SyncNowReport::message(syncing, missing));
    for (const auto &[account, run] : std::as_const(toStart))
        this->run(account, run);
}

bool SyncCoordinator::syncAccount(const QString &accountId, const QStringList &calendarIds)
{
    const std::optional<Account> account = m_state->accounts()->byId(accountId);
    if (!account || !account->enabled || account->exclude_from_sync
        || !m_gate->mayRunAccount(accountId, m_state->database()->currentDateTimeUtc()))
        return false;
    AccountSyncRun *run = SyncClientRegistry::create(m_state, *account, this);
    if (!run)
        return false;
    run->setCalendarFilter(calendarIds);
    this->run(*account, run);
    return true;
}

void SyncCoordinator::run(const Account &account, AccountSyncRun *run)
{
    const QString accountId = account.id;
    m_runs.insert(accountId, run);
    m_gate->beginRun(accountId, run->calendarFilter());
    if (!m_state->isSyncBusy())
        m_pulledThisRound = 0;
    m_state->beginSync();
    QTimer *&silence = m_silence[accountId];
    if (!silence) {
        silence = new QTimer(this);
        silence->setSingleShot(true);
        connect(silence, &QTimer::timeout, this, [this, accountId] { abandon(accountId); });
    }
    const auto heard = [this, silence = silence] {
        silence->start(m_silenceLimitMs);
    };
    connect(run, &AccountSyncRun::progressed, this, heard);
    connect(run, &AccountSyncRun::calendarSyncStarted, this,
            [this, heard, accountId](const QString &calendarId) {
                heard();
                m_syncingCalendar.insert(accountId, calendarId);
            });
    connect(run, &AccountSyncRun::calendarSyncCompleted, this,
            [this, heard](const QString &calendarId, int count) {
                heard();
                onCalendarDone(calendarId, count, QString());
            });
    connect(run, &AccountSyncRun::calendarSyncFailed, this,
            [this, heard](const QString &calendarId, const QString &reason) {
                heard();
                onCalendarDone(calendarId, 0, reason);
            });
    heard();
    // The first terminal signal ends the run; a second one from a faulty client is ignored.
    auto end = [this, run, accountId](const QString &reason) {
        run->disconnect(this);
        run->deleteLater();
        m_silence.value(accountId)->stop();
        m_syncingCalendar.remove(accountId);
        m_runs.remove(accountId);
        recordEnd(accountId, reason, run->retryAfter());
    };
    connect(run, &AccountSyncRun::finished, this, [this, end, accountId] {
        end(QString());
        m_state->endSync(false);
        // A failure of another account in the same round keeps its message.
        if (!m_state->isSyncBusy() && !m_state->lastSyncErrored())
            emit statusMessage(m_pulledThisRound > 0
                                   ? tr("Synced %Ln event(s)", nullptr, m_pulledThisRound)
                                   : tr("Sync finished."));
        emit accountSyncEnded(accountId);
    });
    connect(run, &AccountSyncRun::failed, this,
            [this, end, accountId](const QString &calendarId, const QString &reason) {
                end(reason);
                m_state->setLastSyncError(calendarId, reason);
                m_state->endSync(true);
                emit statusMessage(tr("Sync failed: %1").arg(reason));
                emit accountSyncEnded(accountId);
            });
    run->start();
}

void SyncCoordinator::abandon(const QString &accountId)
{
    AccountSyncRun *run = m_runs.value(accountId);
    if (!run)
        return;
    qWarning().noquote() << "[Sync] run of account" << accountId << "heard nothing for"
                         << m_silenceLimitMs << "ms: stopped";
    const QString reason = tr("The server did not answer for too long; the sync stopped and is "
                              "tried again later.");
    const QString calendarId = m_syncingCalendar.value(accountId);
    if (!calendarId.isEmpty())
        onCalendarDone(calendarId, 0, reason);
    run->stop(calendarId, reason);
    // At once rather than later: an answer that comes in the meantime must write nothing.
    delete run;
}

void SyncCoordinator::onCalendarDone(const QString &calendarId, int eventCount,
                                     const QString &reason)
{
    if (reason.isEmpty()) {
        m_pulledThisRound += eventCount;
        if (eventCount > 0)
            emit statusMessage(tr("Synced %Ln event(s)", nullptr, eventCount));
    } else {
        emit statusMessage(tr("Sync failed: %1").arg(reason));
    }
    std::optional<Calendar> calendar = m_state->calendars()->byId(calendarId);
    if (calendar && calendar->last_sync_error != reason) {
        calendar->last_sync_error = reason;
        if (!m_state->calendars()->update(*calendar))
            qWarning().noquote() << "[Sync] could not note the sync outcome of" << calendarId;
    }
    if (reason.isEmpty())
        emit calendarSyncCompleted(calendarId, eventCount);
    else
        emit calendarSyncFailed(calendarId, reason);
}

void SyncCoordinator::recordEnd(const QString &accountId, const QString &reason,
                                const QDateTime &retryAfter)
{
    std::optional<Account> account = m_state->accounts()->byId(accountId);
    if (account) {
        account->last_sync_time = m_state->database()->currentDateTimeUtc();
        account->last_sync_error = reason;
        if (!m_state->accounts()->update(*account))
            qWarning().noquote() << "[Sync] could not note the end of the run of" << accountId;
    }
    m_gate->endRun(accountId, retryAfter);
}

void SyncCoordinator::startReleased()
{
    const QHash<QString, QStringList> released
        = m_gate->takeReleased(m_state->database()->currentDateTimeUtc());
    for (auto it = released.cbegin(); it != released.cend(); ++it) {
        if (syncAccount(it.key(), it.value()))
            qInfo().noquote() << "[Sync] run of account" << it.key() << "started after a hold"
                              << it.value();
    }
}

} // namespace Sync
