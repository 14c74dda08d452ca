#include "ui/tray/NotificationService.h"

#include "core/AppState.h"
#include "model/Clock.h"
#include "platform/DesktopNotifier.h"
#include "ui/dialogs/MissedRemindersDialog.h"

#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace Reminders {

int retryPauseMs(int failures, int firstMs)
{
    constexpr qint64 kMaxMs = 60000;
    qint64 pause = firstMs;
    for (int i = 1; i < failures && pause < kMaxMs; ++i)
        pause *= 2;
    return int(std::min(pause, kMaxMs));
}

} // namespace Reminders

NotificationService::NotificationService(AppState *appState, QSystemTrayIcon *trayIcon,
                                         QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_trayIcon(trayIcon)
    , m_pollTimer(new QTimer(this))
    , m_balloonTimer(new QTimer(this))
    , m_retryTimer(new QTimer(this))
{
    m_presenter = [this](const Balloon &b) {
        return presentOnTray(b);
    };
    m_pollTimer->setInterval(kPollIntervalMs);
    connect(m_pollTimer, &QTimer::timeout, this, &NotificationService::poll);
    m_pollTimer->start();
    QTimer::singleShot(kFirstPollDelayMs, this, &NotificationService::poll);

    m_balloonTimer->setSingleShot(true);
    m_balloonTimer->setInterval(kBalloonMs);
    connect(m_balloonTimer, &QTimer::timeout, this, &NotificationService::showNext);
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer, &QTimer::timeout, this, &NotificationService::retryDesktop);
    if (m_trayIcon)
        connect(m_trayIcon, &QSystemTrayIcon::messageClicked, this,
                &NotificationService::onBalloonClicked);
    setDesktopNotifier(new DesktopNotifier(this));
}

void NotificationService::setDesktopNotifier(DesktopNotifier *notifier)
{
    if (m_desktop)
        disconnect(m_desktop, nullptr, this, nullptr);
    m_desktop = notifier;
    m_callsUnderWay = 0;
    if (!notifier)
        return;
    connect(notifier, &DesktopNotifier::activated, this, &NotificationService::onDesktopActivated);
    connect(notifier, &DesktopNotifier::closed, this, [this](uint id) { m_onDesktop.remove(id); });
}

void NotificationService::setWindow(QWidget *window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window)
        window->installEventFilter(this);
}

bool NotificationService::eventFilter(QObject *watched, QEvent *event)
{
    // Once the window is up, so that the list opens over it.
    if (watched == m_window && event->type() == QEvent::Show
        && !(m_waiting.isEmpty() && m_missed.isEmpty()))
        QTimer::singleShot(0, this, &NotificationService::showWaiting);
    return QObject::eventFilter(watched, event);
}

void NotificationService::setBalloonDuration(int ms)
{
    m_balloonTimer->setInterval(ms);
}

void NotificationService::poll()
{
    if (!m_appState)
        return;
    const ReminderRound round(m_appState->store());
    if (!round.isReady())
        return;
    const QDateTime now = Clock::now();
    showWaiting();

    QString error;
    const std::optional<ReminderRound::EventReminders> events
        = round.dueEvents(now, pendingIds(false), &error);
    if (!events) {
        qWarning() << "NotificationService poll failed:" << error;
        return;
    }
    // A failed acknowledgement leaves the reminders to fire again at the next poll.
    for (const QString &failure : round.settleUnshown(*events))
        qWarning() << "NotificationService ack failed for" << QStringLiteral("reminders") << ":"
                   << failure;
    for (const Balloon &b : events->notices)
        enqueue(b);

    const std::optional<QList<ReminderNotice>> tasks
        = round.dueTasks(now, pendingIds(true), &error);
    if (!tasks) {
        qWarning() << "NotificationService task poll failed:" << error;
        return;
    }
    for (const Balloon &b : *tasks)
        enqueue(b);
}

QStringList NotificationService::pendingIds(bool task) const
{
    return (task ? m_pendingTasks : m_pendingEvents).keys();
}

void NotificationService::showTestNotification()
{
    Balloon b;
    b.title = tr("Test reminder");
    b.body = tr("If you can see this, your desktop notifications are wired up correctly. Real "
                "reminders look just like this one.");
    enqueue(b);
}

void NotificationService::enqueue(const Balloon &balloon)
{
    if (!balloon.reminderId.isEmpty())
        ++pending(balloon.task)[balloon.reminderId];
    m_queue.append(balloon);
    if (!m_showing)
        showNext();
}

void NotificationService::showNext()
{
    m_balloonTimer->stop();
    m_showing = false;
    m_current = Balloon();
    while (!m_queue.isEmpty()) {
        // Said as of now: a balloon waits its turn behind the others, and its event draws near
        // or begins meanwhile.
        Balloon next = m_queue.takeFirst();
        next.body = Reminders::bodyAt(next, Clock::now());
        if (m_presenter && m_presenter(next)) {
            m_current = next;
            m_showing = true;
            settle(next);
            m_balloonTimer->start();
            return;
        }
        presentElsewhere(next);
    }
}

void NotificationService::presentElsewhere(const Balloon &balloon)
{
    if (!m_desktop || !m_desktop->isAvailable()) {
        wait(balloon);
        return;
    }
    const QDateTime now = Clock::nowUtc();
    // While the desktop keeps failing, a new reminder waits with the others for the next try
    // instead of adding a call of its own.
    if (m_desktopFailures > 0) {
        m_retrying.append({balloon, now});
        scheduleRetry();
        return;
    }
    sendToDesktop(balloon, now);
}

void NotificationService::sendToDesktop(const Balloon &balloon, const QDateTime &since)
{
    // The desktop stacks its notifications itself: no queue here.
    QPointer<NotificationService> self(this);
    const QPointer<DesktopNotifier> to(m_desktop);
    ++m_callsUnderWay;
    // A retry says the time left as of its own try.
    m_desktop->notify(balloon.title, Reminders::bodyAt(balloon, Clock::now()), kBalloonMs,
                      [self, to, balloon, since](std::optional<uint> id) {
                          if (!self)
                              return;
                          if (self->m_desktop == to)
                              --self->m_callsUnderWay;
                          if (!id) {
                              self->onDesktopFailed(balloon, since);
                              return;
                          }
                          self->m_desktopFailures = 0;
                          self->m_onDesktop.insert(*id, balloon);
                          self->settle(balloon);
                          // It shows again: the others need not wait for their pause.
                          if (!self->m_retrying.isEmpty())
                              self->m_retryTimer->start(0);
                      });
}

void NotificationService::onDesktopFailed(const Balloon &balloon, const QDateTime &since)
{
    ++m_desktopFailures;
    m_retrying.append({balloon, since});
    std::stable_sort(m_retrying.begin(), m_retrying.end(),
                     [](const Retry &a, const Retry &b) { return a.since < b.since; });
    // The doubled pause runs from this answer, not from a shorter one set while it was awaited.
    m_retryTimer->stop();
    scheduleRetry();
}

void NotificationService::scheduleRetry()
{
    if (m_retrying.isEmpty())
        return;
    const qint64 pause = Reminders::retryPauseMs(m_desktopFailures, m_firstRetryPauseMs);
    // The oldest is given up on at its minute, whatever the pause.
    const qint64 untilGiveUp
        = Clock::nowUtc().msecsTo(m_retrying.first().since.addSecs(kGiveUpSecs));
    const int interval = int(std::clamp<qint64>(untilGiveUp, 0, pause));
    if (!m_retryTimer->isActive() || m_retryTimer->remainingTime() > interval)
        m_retryTimer->start(interval);
}

void NotificationService::retryDesktop()
{
    const QDateTime now = Clock::nowUtc();
    QList<Balloon> missed;
    m_retrying.erase(std::remove_if(m_retrying.begin(), m_retrying.end(),
                                    [&](const Retry &r) {
                                        if (r.since.secsTo(now) < kGiveUpSecs)
                                            return false;
                                        missed.append(r.balloon);
                                        return true;
                                    }),
                     m_retrying.end());
    for (const Balloon &b : std::as_const(missed))
        miss(b);
    // Nothing waits for the desktop any more: whatever comes next is tried at once.
    if (m_retrying.isEmpty() && m_callsUnderWay == 0)
        m_desktopFailures = 0;
    // One call at a time: the answer to the one under way decides for the others.
    if (m_retrying.isEmpty() || m_callsUnderWay > 0)
        return;
    if (!m_desktop || !m_desktop->isAvailable()) {
        for (const Retry &r : std::exchange(m_retrying, {}))
            wait(r.balloon);
        m_desktopFailures = 0;
        return;
    }
    if (m_desktopFailures == 0) {
        for (const Retry &r : std::exchange(m_retrying, {}))
            sendToDesktop(r.balloon, r.since);
        return;
    }
    const Retry probe = m_retrying.takeFirst();
    sendToDesktop(probe.balloon, probe.since);
    scheduleRetry();
}

void NotificationService::miss(const Balloon &balloon)
{
    m_missed.append(balloon);
    qInfo() << "[Reminders]" << m_missed.size()
            << "reminder(s) could not be shown for a minute: listed as missed";
    showWaiting();
}

void NotificationService::wait(const Balloon &balloon)
{
    m_waiting.append(balloon);
    qInfo() << "[Reminders]" << m_waiting.size()
            << "reminder(s) waiting: no tray icon and no notification service";
    showWaiting();
}

void NotificationService::showWaiting()
{
    const bool canShowBalloons = m_trayIcon && m_trayIcon->isVisible();
    if (!m_waiting.isEmpty() && (canShowBalloons || (m_desktop && m_desktop->isAvailable()))) {
        // A tray icon or a notification service has come since: shown the usual way.
        const QList<Balloon> waiting = std::exchange(m_waiting, {});
        m_queue += waiting;
        if (!m_showing)
            showNext();
    }
    if (m_waiting.isEmpty() && m_missed.isEmpty())
        return;
    if (!m_window || !m_window->isVisible() || m_window->isMinimized())
        return;
    if (!m_missedDialog) {
        m_missedDialog = new MissedRemindersDialog(m_window);
        connect(m_missedDialog, &MissedRemindersDialog::eventChosen, this,
                &NotificationService::reminderClicked);
        connect(m_missedDialog, &MissedRemindersDialog::taskChosen, this,
                &NotificationService::taskReminderOpened);
    }
    QList<Balloon> listed = std::exchange(m_missed, {});
    listed += std::exchange(m_waiting, {});
    for (const Balloon &b : std::as_const(listed)) {
        m_missedDialog->add(b);
        settle(b);
    }
    m_missedDialog->show();
    m_missedDialog->raise();
}

void NotificationService::settle(const Balloon &balloon)
{
    if (balloon.reminderId.isEmpty())
        return;
    QHash<QString, int> &ids = pending(balloon.task);
    if (--ids[balloon.reminderId] <= 0)
        ids.remove(balloon.reminderId);
    if (!m_appState)
        return;
    const ReminderRound round(m_appState->store());
    QString error;
    // A failed acknowledgement leaves the reminder to fire again at the next poll.
    if (round.isReady() && !round.settleShown(balloon, &error))
        qWarning() << "NotificationService ack failed for"
                   << (balloon.task ? QStringLiteral("task_reminders")
                                    : QStringLiteral("reminders"))
                   << ":" << error;
}

void NotificationService::onDesktopActivated(uint id)
{
    const auto it = m_onDesktop.constFind(id);
    if (it == m_onDesktop.constEnd())
        return;
    const Balloon clicked = *it;
    m_onDesktop.erase(it);
    if (!clicked.eventId.isEmpty())
        emit reminderClicked(clicked.eventId, clicked.date);
}

bool NotificationService::presentOnTray(const Balloon &balloon)
{
    if (!m_trayIcon || !m_trayIcon->isVisible())
        return false;
    m_trayIcon->showMessage(balloon.title, balloon.body, QSystemTrayIcon::Information,
                            m_balloonTimer->interval());
    return true;
}

void NotificationService::onBalloonClicked()
{
    if (!m_showing)
        return;
    const Balloon clicked = m_current;
    showNext();
    if (!clicked.eventId.isEmpty())
        emit reminderClicked(clicked.eventId, clicked.date);
}
