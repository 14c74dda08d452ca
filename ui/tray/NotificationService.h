#pragma once

#include "core/ReminderRound.h"
#include "ui/dialogs/MissedRemindersDialog.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class AppState;
class DesktopNotifier;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace Reminders {

// The pause before the next try of a notification the desktop failed to show, after this many
// failures in a row: firstMs, doubling with each, at most a minute.
[[nodiscard]] int retryPauseMs(int failures, int firstMs);

} // namespace Reminders

// Raises the event and task reminders a ReminderRound finds due (core/ReminderRound) as tray
// balloons, or through the desktop's notification service when there is no tray icon, and has
// each settled once it was shown, so it fires once; a reminder of a repeating event moves on to
// the next occurrence instead. With neither way to show them, reminders wait and are listed when
// the main window is shown. What the round settles without a balloon is written at each poll.
// Balloons that fall due together are queued and shown one after another.
class NotificationService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 30000;
    static constexpr int kFirstPollDelayMs = 2000;
    static constexpr int kBalloonMs = 15000;
    // A notification the desktop refused or did not answer is tried again after a pause that
    // doubles each time, and listed as missed once it could not be shown for this long.
    static constexpr int kFirstRetryPauseMs = 5000;
    static constexpr qint64 kGiveUpSecs = 60;

    // What a reminder round decided to show, or the test balloon.
    using Balloon = ReminderNotice;

    NotificationService(AppState *appState, QSystemTrayIcon *trayIcon, QObject *parent = nullptr);

    // How a balloon reaches the screen; true when it was shown. The tray icon unless replaced.
    void setPresenter(std::function<bool(const Balloon &)> presenter)
    {
        m_presenter = std::move(presenter);
    }
    // How long a balloon stays before the next queued one replaces it.
    void setBalloonDuration(int ms);
    // Where reminders go when no balloon can be shown; the session bus's service unless
    // replaced. Not owned.
    void setDesktopNotifier(DesktopNotifier *notifier);
    // The window whose showing lists the reminders that could not be shown anywhere.
    void setWindow(QWidget *window);
    // The first pause before a failed desktop notification is tried again (tests shorten it).
    void setFirstRetryPause(int ms) { m_firstRetryPauseMs = ms; }

    // Reminders due but not shown yet (no tray, no notification service), oldest first.
    const QList<Balloon> &waiting() const { return m_waiting; }
    // Reminders the desktop failed to show, waiting for their next try, oldest first.
    int retryingCount() const { return m_retrying.size(); }
    MissedRemindersDialog *missedDialog() const { return m_missedDialog; }

    // The balloon on screen now, if any, and those waiting behind it.
    const Balloon *currentBalloon() const { return m_showing ? &m_current : nullptr; }
    int queuedCount() const { return m_queue.size(); }

public slots:
    // One pass: read due reminders, queue their balloons, acknowledge them.
    void poll();
    void showTestNotification();
    // The user clicked the balloon on screen.
    void onBalloonClicked();

signals:
    void reminderClicked(const QString &eventId, const QDate &date);
    // The user opened a task's reminder from the list of missed ones; date is its due day.
    void taskReminderOpened(const QDate &date);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enqueue(const Balloon &balloon);
    void showNext();
    bool presentOnTray(const Balloon &balloon);
    // A balloon the tray could not show: on the desktop, else waiting for the window.
    void presentElsewhere(const Balloon &balloon);
    void wait(const Balloon &balloon);
    // Hands one balloon to the desktop; `since` is when it was first tried there.
    void sendToDesktop(const Balloon &balloon, const QDateTime &since);
    void onDesktopFailed(const Balloon &balloon, const QDateTime &since);
    // Gives up on the reminders that could not be shown for a minute and tries the oldest of
    // the rest once more.
    void retryDesktop();
    void scheduleRetry();
    // A reminder that could not be shown anywhere in time: listed with the window.
    void miss(const Balloon &balloon);
    // Lists the waiting reminders when the window is on screen; queues them when a way to show
    // balloons has come.
    void showWaiting();
    // Marks what a shown balloon reminded of as done.
    void settle(const Balloon &balloon);
    void onDesktopActivated(uint id);
    // The reminders of one kind on their way to the user: a round leaves them out.
    QStringList pendingIds(bool task) const;
    QHash<QString, int> &pending(bool task) { return task ? m_pendingTasks : m_pendingEvents; }

    AppState *m_appState;
    QSystemTrayIcon *m_trayIcon;
    QTimer *m_pollTimer;
    QTimer *m_balloonTimer;
    std::function<bool(const Balloon &)> m_presenter;
    QList<Balloon> m_queue;
    Balloon m_current;
    bool m_showing = false;
    QPointer<DesktopNotifier> m_desktop;
    // Reminders queued, on their way to the desktop or waiting, by id (event and task reminders
    // apart): a poll leaves them alone, so nothing fires twice.
    QHash<QString, int> m_pendingEvents;
    QHash<QString, int> m_pendingTasks;
    QList<Balloon> m_waiting;
    // Balloons the desktop failed to show, with when they were first tried there.
    struct Retry
    {
        Balloon balloon;
        QDateTime since;
    };
    QList<Retry> m_retrying;
    QTimer *m_retryTimer;
    // In a row, while reminders wait for the desktop: the pause doubles with each. Once none
    // waits, the next reminder is tried at once.
    int m_desktopFailures = 0;
    // Calls to m_desktop not answered yet: no retry starts while one is, its answer decides.
    int m_callsUnderWay = 0;
    int m_firstRetryPauseMs = kFirstRetryPauseMs;
    // Reminders given up on the desktop: only the missed-reminders list shows them.
    QList<Balloon> m_missed;
    QHash<uint, Balloon> m_onDesktop;
    QPointer<QWidget> m_window;
    QPointer<MissedRemindersDialog> m_missedDialog;
};
