#pragma once

// The sync runs that start by themselves, through the coordinator: one shortly after start-up,
// a check of due accounts every minute (an account is due when its last run is older than its
// sync interval; an interval of 0 syncs only on request), and a push shortly after a local edit
// of a synced calendar. Each asks the state's RunGate: a source that asked to be left alone
// until a time is not started by itself before then, and no run touches a calendar while an
// import is writing into it (the gate keeps it back for a run once the import has ended or was
// taken back). A due run the gate refuses is not kept: the next check asks again. A push the gate
// refuses (a run of the account is under way, or its source asked
// to wait) is kept back there for the run after. A calendar whose last run failed is not pushed
// after an edit, and one synced moments ago waits out its quiet time: pacing of this scheduler's
// own, not holds. "Now" is the database clock, so tests can move it.

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class AppState;
class QTimer;
struct Account;

namespace Sync {

class SyncCoordinator;

class SyncScheduler : public QObject
{
    Q_OBJECT
public:
    struct Timing
    {
        int startupMs = 3000;
        int dueCheckMs = 60000;
        // Quiet time after the change signal of an edit before its calendar is pushed.
        int pushDelayMs = 300;
        // A calendar synced this recently waits until this long after that run.
        int recentSyncSecs = 60;
    };

    SyncScheduler(AppState *state, SyncCoordinator *coordinator, QObject *parent = nullptr);

    void setTiming(const Timing &timing) { m_timing = timing; }
    // Arms the start-up run, the due check and the watch of local edits. Once.
    void start();

    // Starts the run of every account due now; the number of runs started.
    int runDueAccounts();

private:
    int startRuns(bool startup);
    // Enabled, and a client syncs its type.
    static bool syncs(const Account &account);
    void onLocalChange();
    void pushQueued();
    void onCalendarDone(const QString &calendarId, bool failed);
    void onAccountEnded(const QString &);
    QDateTime now() const;

    AppState *m_state;
    SyncCoordinator *m_coordinator;
    Timing m_timing;
    bool m_started = false;
    QTimer *m_dueCheck = nullptr;
    QTimer *m_push = nullptr;
    // Calendars with local edits waiting for their push, by account.
    QHash<QString, QSet<QString>> m_queued;
    // When each calendar's last run ended without failure.
    QHash<QString, QDateTime> m_lastSynced;
    // Calendars whose last run failed: their edits wait for the account's next due run, so a
    // failing source is not asked again at every change.
    QSet<QString> m_failing;
};

} // namespace Sync
