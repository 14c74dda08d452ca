#include "core/sync/SyncScheduler.h"

#include "core/AppState.h"
#include "core/ImportsUnderWay.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncClientRegistry.h"
#include "core/sync/SyncCoordinator.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QTimer>
#include <QtDebug>

#include <algorithm>
#include <utility>

namespace Sync {

SyncScheduler::SyncScheduler(AppState *state, SyncCoordinator *coordinator, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_coordinator(coordinator)
{ }

QDateTime SyncScheduler::now() const
{
    return m_state->database()->currentDateTimeUtc();
}

void SyncScheduler::start()
{
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(m_timing.startupMs, this, [this] { startRuns(true); });
    m_dueCheck = new QTimer(this);
    connect(m_dueCheck, &QTimer::timeout, this, &SyncScheduler::runDueAccounts);
    m_dueCheck->start(m_timing.dueCheckMs);
    m_push = new QTimer(this);
    m_push->setSingleShot(true);
    connect(m_push, &QTimer::timeout, this, &SyncScheduler::pushQueued);
    connect(m_state->events(), &EventRepository::eventsChanged, this,
            &SyncScheduler::onLocalChange);
    connect(m_state->tasks(), &TaskRepository::tasksChanged, this, &SyncScheduler::onLocalChange);
    connect(m_coordinator, &SyncCoordinator::calendarSyncCompleted, this,
            [this](const QString &calendarId) { onCalendarDone(calendarId, false); });
    connect(m_coordinator, &SyncCoordinator::calendarSyncFailed, this,
            [this](const QString &calendarId) { onCalendarDone(calendarId, true); });
    connect(m_coordinator, &SyncCoordinator::accountSyncEnded, this,
            &SyncScheduler::onAccountEnded);
    // Whatever an import left waits for its push.
    connect(m_state->store().imports(), &ImportsUnderWay::importsChanged, this,
            &SyncScheduler::onLocalChange);
}

bool SyncScheduler::syncs(const Account &account)
{
    return account.enabled && !account.exclude_from_sync
        && SyncClientRegistry::hasClient(account.type);
}

int SyncScheduler::runDueAccounts()
{
    return startRuns(false);
}

int SyncScheduler::startRuns(bool startup)
{
    const QDateTime at = now();
    int started = 0;
    for (const Account &account : m_state->accounts()->listActive()) {
        // 0: only when the user asks.
        if (account.sync_interval_minutes <= 0 || !syncs(account)
            || !m_coordinator->gate()->mayRunAccount(account.id, at))
            continue;
        // At start-up every account catches up, whenever its last run was.
        if (!startup && account.last_sync_time
            && account.last_sync_time->addSecs(qint64(account.sync_interval_minutes) * 60) > at)
            continue;
        if (m_coordinator->syncAccount(account.id)) {
            qInfo().noquote() << "[Sync] run of account" << account.id << "started by itself";
            ++started;
        }
    }
    return started;
}

void SyncScheduler::onLocalChange()
{
    // The change signal names only the last calendar of a burst: look at every synced one. One
    // an import writes into is looked at again once the import has ended.
    const QDateTime at = now();
    QHash<QString, Account> accounts;
    for (const Account &account : m_state->accounts()->listActive())
        accounts.insert(account.id, account);
    for (const Calendar &calendar : m_state->calendars()->listAll()) {
        const auto account = accounts.constFind(calendar.account_id);
        if (account == accounts.constEnd() || !calendar.sync_enabled
            || calendar.url.startsWith(QLatin1String("local://")) || m_failing.contains(calendar.id)
            || m_coordinator->gate()->holds(calendar.id)
            || m_coordinator->gate()->keepsBack(account->id, calendar.id) || !syncs(*account)
            || m_queued.value(account->id).contains(calendar.id))
            continue;
        if (!m_state->events()->listPending(calendar.id).isEmpty()
            || !m_state->tasks()->listPending(calendar.id).isEmpty())
            m_queued[account->id].insert(calendar.id);
    }
    if (m_queued.isEmpty())
        return;
    // A calendar synced moments ago waits for the rest of its quiet time; the latest edit
    // restarts the wait, so a burst of changes is pushed once.
    QDateTime wake = at;
    for (const QSet<QString> &calendars : std::as_const(m_queued)) {
        for (const QString &id : calendars) {
            const QDateTime last = m_lastSynced.value(id);
            if (last.isValid())
                wake = std::max(wake, last.addSecs(m_timing.recentSyncSecs));
        }
    }
    m_push->start(int(at.msecsTo(wake)) + m_timing.pushDelayMs);
}

void SyncScheduler::pushQueued()
{
    const QHash<QString, QSet<QString>> queued = std::exchange(m_queued, {});
    for (auto it = queued.cbegin(); it != queued.cend(); ++it) {
        const std::optional<Account> account = m_state->accounts()->byId(it.key());
        if (!account || !syncs(*account))
            continue;
        QStringList calendars;
        for (const QString &id : it.value()) {
            if (!m_failing.contains(id))
                calendars << id;
        }
        if (calendars.isEmpty())
            continue;
        // A run under way, or a wait its source asked for: the gate keeps the push back for
        // then.
        if (m_coordinator->syncAccount(it.key(), calendars))
            qInfo().noquote() << "[Sync] pushing local edits of" << calendars;
        else
            m_coordinator->gate()->hold(it.key(), calendars);
    }
}

void SyncScheduler::onCalendarDone(const QString &calendarId, bool failed)
{
    if (failed) {
        m_failing.insert(calendarId);
        m_lastSynced.remove(calendarId);
    } else {
        m_failing.remove(calendarId);
        m_lastSynced.insert(calendarId, now());
    }
}

void SyncScheduler::onAccountEnded(const QString &)
{
    // Edits made while the run was under way may have missed its push.
    onLocalChange();
}

} // namespace Sync
