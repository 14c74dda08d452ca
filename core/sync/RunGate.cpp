#include "core/sync/RunGate.h"

#include "core/ImportsUnderWay.h"
#include "core/sync/SyncClientRegistry.h"
#include "model/Clock.h"

#include <QTimer>

#include <algorithm>

namespace Sync {

RunGate::RunGate(const ImportsUnderWay *imports, QObject *parent)
    : QObject(parent)
    , m_imports(imports)
    , m_wake(new QTimer(this))
{
    m_wake->setSingleShot(true);
    m_wake->setTimerType(Qt::PreciseTimer);
    connect(m_wake, &QTimer::timeout, this, [this] {
        emit released();
        armWake();
    });
    if (imports)
        connect(imports, &ImportsUnderWay::importsChanged, this, &RunGate::released);
}

bool RunGate::mayRunAccount(const QString &accountId, const QDateTime &now) const
{
    const QDateTime until = notBefore(accountId);
    return !isRunning(accountId) && (!until.isValid() || until <= now);
}

bool RunGate::runCoversAccount(const QString &accountId) const
{
    const auto running = m_running.constFind(accountId);
    return running != m_running.constEnd() && running->calendarIds.isEmpty();
}

void RunGate::beginRun(const QString &accountId, QObject *run, const QStringList &calendarIds)
{
    const bool counted = m_running.contains(accountId);
    m_running.insert(accountId, {run, calendarIds});
    if (!counted)
        emit runBegan();
    connect(run, &QObject::destroyed, this, [this, accountId, run] {
        if (m_running.value(accountId).run == run)
            endRun(accountId, notBefore(accountId));
    });
    const auto waiting = m_waiting.find(accountId);
    if (waiting == m_waiting.end() || (waiting->isEmpty() && !calendarIds.isEmpty()))
        return;
    for (const QString &id : calendarIds)
        waiting->remove(id);
    if (calendarIds.isEmpty() || waiting->isEmpty())
        m_waiting.erase(waiting);
}

void RunGate::endRun(const QString &accountId, const QDateTime &retryAfter, bool failed)
{
    if (retryAfter.isValid())
        m_notBefore.insert(accountId, retryAfter);
    else
        m_notBefore.remove(accountId);
    if (m_running.remove(accountId) > 0)
        emit runEnded(failed);
    armWake();
    emit released();
}

bool RunGate::admit(const QString &accountId, const QStringList &calendarIds, const QDateTime &now)
{
    if (mayRunAccount(accountId, now))
        return true;
    hold(accountId, calendarIds);
    return false;
}

void RunGate::beginOwnRun(const QString &accountId, AccountSyncRun *run,
                          const QStringList &calendarIds)
{
    beginRun(accountId, run, calendarIds);
    connect(run, &AccountSyncRun::finished, this,
            [this, run, accountId] { endRun(accountId, run->retryAfter()); });
    connect(run, &AccountSyncRun::failed, this,
            [this, run, accountId] { endRun(accountId, run->retryAfter(), true); });
}

bool RunGate::holds(const QString &calendarId, const QObject *run) const
{
    if (m_imports && m_imports->isImportingInto(calendarId))
        return true;
    const auto claim = m_claims.constFind(calendarId);
    return claim != m_claims.constEnd() && claim.value() != run;
}

bool RunGate::claim(const QString &calendarId, const QObject *run)
{
    if (holds(calendarId, run))
        return false;
    if (m_claims.contains(calendarId))
        return true;
    m_claims.insert(calendarId, run);
    // A run deleted before it let go (stopped from outside) frees its calendars all the same.
    connect(run, &QObject::destroyed, this, [this, calendarId, run] {
        if (m_claims.value(calendarId) == run)
            release(calendarId);
    });
    return true;
}

void RunGate::release(const QString &calendarId)
{
    if (m_claims.remove(calendarId) > 0)
        emit released();
}

void RunGate::hold(const QString &accountId, const QStringList &calendarIds)
{
    const auto waiting = m_waiting.find(accountId);
    if (calendarIds.isEmpty())
        m_waiting.insert(accountId, {});
    else if (waiting == m_waiting.end())
        m_waiting.insert(accountId, QSet<QString>(calendarIds.cbegin(), calendarIds.cend()));
    else if (!waiting->isEmpty())
        waiting->unite(QSet<QString>(calendarIds.cbegin(), calendarIds.cend()));
    armWake();
}

bool RunGate::keepsBack(const QString &accountId, const QString &calendarId) const
{
    const auto waiting = m_waiting.constFind(accountId);
    return waiting != m_waiting.constEnd() && (waiting->isEmpty() || waiting->contains(calendarId));
}

QHash<QString, QStringList> RunGate::waiting() const
{
    QHash<QString, QStringList> out;
    for (auto it = m_waiting.cbegin(); it != m_waiting.cend(); ++it) {
        QStringList calendars(it->cbegin(), it->cend());
        std::sort(calendars.begin(), calendars.end());
        out.insert(it.key(), calendars);
    }
    return out;
}

QHash<QString, QStringList> RunGate::takeReleased(const QDateTime &now)
{
    QHash<QString, QStringList> free;
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (!mayRunAccount(it.key(), now)) {
            ++it;
            continue;
        }
        // The whole account: a calendar still held is left again by its run.
        QStringList calendars;
        for (auto c = it->begin(); c != it->end();) {
            if (holds(*c)) {
                ++c;
                continue;
            }
            calendars << *c;
            c = it->erase(c);
        }
        if (calendars.isEmpty() && !it->isEmpty()) {
            ++it;
            continue;
        }
        std::sort(calendars.begin(), calendars.end());
        free.insert(it.key(), calendars);
        if (it->isEmpty())
            it = m_waiting.erase(it);
        else
            ++it;
    }
    return free;
}

void RunGate::armWake()
{
    const QDateTime now = Clock::nowUtc();
    QDateTime earliest;
    for (auto it = m_waiting.cbegin(); it != m_waiting.cend(); ++it) {
        const QDateTime until = notBefore(it.key());
        if (until.isValid() && until > now && (!earliest.isValid() || until < earliest))
            earliest = until;
    }
    if (earliest.isValid())
        m_wake->start(int(std::min<qint64>(now.msecsTo(earliest) + 1, 24 * 3600 * 1000)));
    else
        m_wake->stop();
}

} // namespace Sync
