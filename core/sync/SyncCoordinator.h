#pragma once

// The program's sync runs: "Sync Now" (every enabled account) and the runs the scheduler starts
// by itself, one run per account through the client registered for its type. Every run asks the
// state's RunGate, whose record of the runs under way is what "busy" means: an account whose run
// is still under way is not started again ("Sync Now" has the whole account follow a run of some
// of its calendars), and "Sync Now" waits for the time a source asked for and says so; what a
// hold kept back (an account, or the calendars an import held) is started here once the hold is
// gone, and "Sync finished." waits for it and for the last run to end. The end of each run is
// written to the account (last_sync_time, last_sync_error) and each calendar's outcome to the
// calendar (last_sync_error); the run's engine writes everything else.
// A run that hears nothing from its source for longer than any one request may take ends as failed,
// and nothing it would still do is done. What to show the user comes out as statusMessage.

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class AccountSyncRun;
class AppState;
class QTimer;
struct Account;

namespace Sync {

class RunGate;
class SyncScheduler;

class SyncCoordinator : public QObject
{
    Q_OBJECT
public:
    explicit SyncCoordinator(AppState *state, QObject *parent = nullptr);

    void syncNow();
    // One account's run, limited to some of its calendars when calendarIds is not empty. False
    // when it has no sync here, its run is under way or its source asked to wait.
    bool syncAccount(const QString &accountId, const QStringList &calendarIds = {});
    bool isRunning(const QString &accountId) const;
    // When the account's source asked to be left alone until; invalid when it did not.
    QDateTime notBefore(const QString &accountId) const;
    RunGate *gate() const { return m_gate; }

    // The runs that start by themselves: a scheduler made once, a child of this coordinator.
    SyncScheduler *scheduler();

    // How long a run may go without an answer of its source (to any of its requests, which the
    // run reports as progressed) before it is stopped; above the longest a single request may
    // take.
    void setSilenceLimit(int ms) { m_silenceLimitMs = ms; }

signals:
    void statusMessage(const QString &text);
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const QString &reason);
    void accountSyncEnded(const QString &accountId);

private:
    void run(const Account &account, AccountSyncRun *run);
    // Ends a run that went silent as failed and deletes it.
    void abandon(const QString &accountId);
    void onCalendarDone(const QString &calendarId, int eventCount, const QString &reason);
    void recordEnd(const QString &accountId, const QString &reason, const QDateTime &retryAfter,
                   bool failed);
    // The last word once no run is under way: what still waits, or what the round brought.
    void sayRoundEnd();
    // Starts what the gate kept back and has let go.
    void startReleased();
    // Why a run left the calendar alone, and when it follows.
    QString heldText(const QString &calendarId) const;
    // The account waits for the time its source asked for.
    QString waitText(const Account &account) const;
    // What the gate keeps back, said: empty when nothing; nullopt when a run of it starts now.
    std::optional<QString> waitingText() const;

    AppState *m_state;
    RunGate *m_gate;
    SyncScheduler *m_scheduler = nullptr;
    int m_silenceLimitMs = 5 * 60 * 1000;
    QHash<QString, QTimer *> m_silence; // by account, reused from run to run
    QHash<QString, QString> m_syncingCalendar; // by account: the calendar under way
    // Items pulled by the calendars of the runs under way, for the last status line.
    int m_pulledThisRound = 0;
};

} // namespace Sync
