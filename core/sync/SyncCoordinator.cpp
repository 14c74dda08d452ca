#include "core/sync/SyncCoordinator.h"

#include "core/sync/SyncNowReport.h"
#include "core/sync/SyncScheduler.h"

#include "core/AppState.h"
#include "core/ImportsUnderWay.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncClientRegistry.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"

#include <QLocale>
#include <QStringList>
#include <QTimer>

#include <QtDebug>
#include <utility>

namespace Sync {

SyncCoordinator::SyncCoordinator(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_gate(state->syncGate())
{
    // Queued: a hold ends inside the run or import that held, which must be done first.
    connect(m_gate, &RunGate::released, this, &SyncCoordinator::startReleased,
            Qt::QueuedConnection);
    // Every run's end, whoever started it: the last one to end has the last word.
    connect(m_gate, &RunGate::runEnded, this, &SyncCoordinator::sayRoundEnd);
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
    QStringList waits;
    int syncing = 0;
    QList<std::pair<Account, AccountSyncRun *>> toStart;
    const QList<Account> accounts = m_state->accounts()->listActive();
    const QList<Calendar> calendars = m_state->calendars()->listAll();
    const QDateTime now = m_state->database()->currentDateTimeUtc();
    for (const Account &account : accounts) {
        if (!account.enabled || account.exclude_from_sync)
            continue;
        // Two runs of one account would push the same rows twice: a run under way of the whole
        // account serves, and one of some of its calendars is followed by one of all of them.
        if (isRunning(account.id)) {
            if (!m_gate->runCoversAccount(account.id))
                m_gate->hold(account.id);
            ++syncing;
            continue;
        }
        // Asked earlier than its source allows, it would only be refused again: it runs then.
        if (!m_gate->mayRunAccount(account.id, now)
            && SyncClientRegistry::hasClient(account.type)) {
            m_gate->hold(account.id);
            waits << waitText(account);
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
    emit statusMessage(SyncNowReport::message(syncing, missing, waits));
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
    if (m_gate->isIdle())
        m_pulledThisRound = 0;
    m_gate->beginRun(accountId, run, run->calendarFilter());
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
    connect(run, &AccountSyncRun::calendarSyncHeld, this, [this, heard](const QString &calendarId) {
        heard();
        emit statusMessage(heldText(calendarId));
    });
    heard();
    // The first terminal signal ends the run; a second one from a faulty client is ignored.
    auto end = [this, run, accountId](const QString &reason, bool failed) {
        run->disconnect(this);
        run->deleteLater();
        m_silence.value(accountId)->stop();
        m_syncingCalendar.remove(accountId);
        recordEnd(accountId, reason, run->retryAfter(), failed);
    };
    connect(run, &AccountSyncRun::finished, this, [this, end, accountId] {
        end(QString(), false);
        emit accountSyncEnded(accountId);
    });
    connect(run, &AccountSyncRun::failed, this,
            [this, end, accountId](const QString &calendarId, const QString &reason) {
                m_state->setLastSyncError(calendarId, reason);
                end(reason, true);
                emit statusMessage(tr("Sync failed: %1").arg(reason));
                emit accountSyncEnded(accountId);
            });
    run->start();
}

void SyncCoordinator::abandon(const QString &accountId)
{
    auto *run = qobject_cast<AccountSyncRun *>(m_gate->runOf(accountId));
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

QString SyncCoordinator::heldText(const QString &calendarId) const
{
    const std::optional<Calendar> calendar = m_state->calendars()->byId(calendarId);
    const QString name = calendar ? calendar->name : calendarId;
    if (m_state->store().imports()->isImportingInto(calendarId))
        return tr("\"%1\" was not synced: an import into it is not over yet. It is synced once "
                  "the import has ended.")
            .arg(name);
    return tr("\"%1\" was not synced: another sync of it was under way. It is synced once that "
              "one has ended.")
        .arg(name);
}

QString SyncCoordinator::waitText(const Account &account) const
{
    return tr("%1 waits until %2, as its server asked; it is synced then.")
        .arg(account.name,
             QLocale().toString(m_gate->notBefore(account.id).toLocalTime(), QLocale::ShortFormat));
}

std::optional<QString> SyncCoordinator::waitingText() const
{
    const QDateTime now = m_state->database()->currentDateTimeUtc();
    const QHash<QString, QStringList> waiting = m_gate->waiting();
    QStringList texts;
    for (auto it = waiting.cbegin(); it != waiting.cend(); ++it) {
        if (!m_gate->mayRunAccount(it.key(), now)) {
            const std::optional<Account> account = m_state->accounts()->byId(it.key());
            if (account && !m_gate->isRunning(it.key()))
                texts << waitText(*account);
            continue;
        }
        if (it->isEmpty())
            return std::nullopt;
        for (const QString &calendarId : it.value()) {
            if (!m_gate->holds(calendarId))
                return std::nullopt;
            texts << heldText(calendarId);
        }
    }
    texts.sort();
    return texts.join(QLatin1Char(' '));
}

void SyncCoordinator::recordEnd(const QString &accountId, const QString &reason,
                                const QDateTime &retryAfter, bool failed)
{
    std::optional<Account> account = m_state->accounts()->byId(accountId);
    if (account) {
        account->last_sync_time = m_state->database()->currentDateTimeUtc();
        account->last_sync_error = reason;
        if (!m_state->accounts()->update(*account))
            qWarning().noquote() << "[Sync] could not note the end of the run of" << accountId;
    }
    m_gate->endRun(accountId, retryAfter, failed);
}

void SyncCoordinator::sayRoundEnd()
{
    // A failure of another account in the same round keeps its message; work kept back that
    // starts now has the last word when it ends.
    const std::optional<QString> waiting = waitingText();
    if (m_gate->isIdle() && !m_state->lastSyncErrored() && waiting)
        emit statusMessage(!waiting->isEmpty() ? *waiting
                               : m_pulledThisRound > 0
                               ? tr("Synced %Ln event(s)", nullptr, m_pulledThisRound)
                               : tr("Sync finished."));
}

void SyncCoordinator::startReleased()
{
    const QHash<QString, QStringList> released
        = m_gate->takeReleased(m_state->database()->currentDateTimeUtc());
    bool dropped = false;
    for (auto it = released.cbegin(); it != released.cend(); ++it) {
        if (syncAccount(it.key(), it.value()))
            qInfo().noquote() << "[Sync] run of account" << it.key() << "started after a hold"
                              << it.value();
        else
            dropped = true;
    }
    // What was kept back for an account turned off or gone meanwhile starts nothing: the round
    // that waited for it ends here.
    if (dropped)
        sayRoundEnd();
}

} // namespace Sync
