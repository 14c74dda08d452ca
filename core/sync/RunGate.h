#pragma once

// Whether a sync run may start now, for every run the program makes: on request, by itself, or
// one calendar's. An account runs once at a time and not before the time its source asked for; a
// calendar is synced by one run at a time and not while an import or a take-back writes into it.
// What a hold kept back waits here by account and is handed out once, when the hold is gone;
// released() says when to ask. The one record of the runs under way: the state's sync status
// counts what begins and ends here. One per state, owned by it, and asked by every run.

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class AccountSyncRun;
class ImportsUnderWay;
class QTimer;

namespace Sync {

class RunGate : public QObject
{
    Q_OBJECT
public:
    explicit RunGate(const ImportsUnderWay *imports, QObject *parent = nullptr);

    // No run of the account is under way, and the time its source asked for (if any) is past.
    [[nodiscard]] bool mayRunAccount(const QString &accountId, const QDateTime &now) const;
    bool isRunning(const QString &accountId) const { return m_running.contains(accountId); }
    bool isIdle() const { return m_running.isEmpty(); }
    // The account's run under way; null when none is.
    QObject *runOf(const QString &accountId) const { return m_running.value(accountId).run; }
    // A run of the account is under way and syncs all of its calendars.
    bool runCoversAccount(const QString &accountId) const;
    // When the account's source asked to be left alone until; invalid when it did not.
    QDateTime notBefore(const QString &accountId) const { return m_notBefore.value(accountId); }
    // The run serves what was kept back of its calendars (all of the account's when empty). A run
    // deleted before its end ends here too.
    void beginRun(const QString &accountId, QObject *run, const QStringList &calendarIds = {});
    // retryAfter: the time the run's source asked for, invalid when it asked for none.
    void endRun(const QString &accountId, const QDateTime &retryAfter, bool failed = false);
    // For a run of some calendars made outside the coordinator: true when the account may run
    // now; otherwise false, and the calendars are kept back for the coordinator's run.
    [[nodiscard]] bool admit(const QString &accountId, const QStringList &calendarIds,
                             const QDateTime &now);
    // Such a run, admitted: begun here, and ended by its terminal signal.
    void beginOwnRun(const QString &accountId, AccountSyncRun *run, const QStringList &calendarIds);

    // An import writes into the calendar, or a run other than `run` syncs it.
    [[nodiscard]] bool holds(const QString &calendarId, const QObject *run = nullptr) const;
    // False when the calendar is held; the claim lasts until released or the run is deleted.
    [[nodiscard]] bool claim(const QString &calendarId, const QObject *run);
    void release(const QString &calendarId);

    // Keeps work back for later: the given calendars of the account, or all of it when empty.
    void hold(const QString &accountId, const QStringList &calendarIds = {});
    // The work kept back whose holds are gone, taken out: account -> its calendars (empty: all).
    QHash<QString, QStringList> takeReleased(const QDateTime &now);
    // The calendar's work is kept back here, for a run once its hold ends.
    [[nodiscard]] bool keepsBack(const QString &accountId, const QString &calendarId) const;
    // The work kept back, taken out or not: account -> its calendars (empty: all).
    QHash<QString, QStringList> waiting() const;

signals:
    // A hold ended (a run, a calendar's sync, an import, a wait the source asked for).
    void released();
    void runBegan();
    void runEnded(bool failed);

private:
    // Wakes when the earliest wait of an account with work kept back is over.
    void armWake();

    struct Running
    {
        QObject *run = nullptr; // forgotten when it ends or is deleted
        QStringList calendarIds; // empty: all of the account's
    };

    const ImportsUnderWay *m_imports;
    QHash<QString, Running> m_running;
    QHash<QString, QDateTime> m_notBefore;
    QHash<QString, const QObject *> m_claims; // calendar id -> the run syncing it
    // Account id -> calendars kept back; an empty set keeps the whole account.
    QHash<QString, QSet<QString>> m_waiting;
    QTimer *m_wake;
};

} // namespace Sync
