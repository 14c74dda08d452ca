#include "ui/tray/NotificationService.h"

#include "core/AppState.h"
#include "core/TimeFormat.h"
#include "model/Clock.h"
#include "model/FilterEngine.h"
#include "model/Recurrence.h"
#include "platform/DesktopNotifier.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/TaskRepository.h"
#include "ui/dialogs/MissedRemindersDialog.h"

#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace Reminders {

bool eventReminderFires(const QDateTime &trigger, const QDateTime &start, const QDateTime &now)
{
    if (!trigger.isValid() || !start.isValid())
        return false;
    return trigger <= now && start > now.addSecs(-kLateCutoffSecs);
}

bool taskReminderFires(const QDateTime &due, int minutesBefore, const QDateTime &now)
{
    if (!due.isValid())
        return false;
    return due.addSecs(-qint64(minutesBefore) * 60) <= now && due > now.addSecs(-kLateCutoffSecs);
}

SeriesReminders seriesReminders(const Event &master, const QList<Event> &overrides,
                                int minutesBefore, const std::optional<QDateTime> &handledUntil,
                                const QDateTime &now)
{
    const qint64 offset = qint64(minutesBefore) * 60;
    // Occurrences starting after `after` are still owed their reminder; those starting up to
    // dueEnd are owed it now.
    QDateTime after = now.addSecs(-kLateCutoffSecs);
    if (handledUntil && handledUntil->isValid() && handledUntil->addSecs(offset) > after)
        after = handledUntil->addSecs(offset);
    const QDateTime dueEnd = now.addSecs(offset);

    QList<Event> series {master};
    series += overrides;
    SeriesReminders out;
    std::optional<QDateTime> next;
    QDateTime from = after;
    // The next occurrence is looked for a day ahead, then a month, then a year: a daily series
    // never expands a year, and one without an occurrence for a year is looked at yearly.
    for (const int days : {1, 32, 366}) {
        const QDateTime to = dueEnd.addDays(days);
        const QList<Event> occurrences = expandOccurrences(series, from, to);
        for (const Event &occ : occurrences) {
            const bool remindsItself = occ.id != master.id && !occ.reminders.isEmpty();
            if (remindsItself || occ.status == QLatin1String("cancelled")
                || !(occ.start_time > after) || occ.start_time < from)
                continue;
            if (occ.start_time <= dueEnd)
                out.due.append(occ);
            else if (!next || occ.start_time < *next)
                next = occ.start_time;
        }
        from = to;
        if (next)
            break;
    }
    std::stable_sort(out.due.begin(), out.due.end(),
                     [](const Event &a, const Event &b) { return a.start_time < b.start_time; });
    out.nextTrigger = (next ? *next : from).addSecs(-offset);
    return out;
}

bool suppressed(const Event &event, const QList<FilterRule> &rules)
{
    // One event at a time: the result holds ids, and the occurrences of a series share theirs.
    return !rules.isEmpty()
        && applyFilterRules(QList<Event> {event}, rules).suppressedIds.contains(event.id);
}

QString eventBody(int minutesBefore, const QString &timeText, const QString &location)
{
    QString body;
    if (minutesBefore == 0)
        body = QObject::tr("Starting now (%1)").arg(timeText);
    else if (minutesBefore < 60)
        body = QObject::tr("In %n minute(s) (%1)", nullptr, minutesBefore).arg(timeText);
    else if (minutesBefore < 1440)
        body = QObject::tr("In %1h (%2)").arg(minutesBefore / 60).arg(timeText);
    else
        body = QObject::tr("Tomorrow at %1").arg(timeText);
    if (!location.isEmpty())
        body += QStringLiteral(" \u00B7 ") + location;
    return body;
}

QString taskBody(bool dateOnly, int minutesBefore, const QString &timeText)
{
    if (dateOnly)
        return minutesBefore != 0 ? QObject::tr("Due soon") : QObject::tr("Due today");
    return minutesBefore != 0 ? QObject::tr("Due soon (%1)").arg(timeText)
                              : QObject::tr("Due now (%1)").arg(timeText);
}

int retryPauseMs(int failures, int firstMs)
{
    constexpr qint64 kMaxMs = 60000;
    qint64 pause = firstMs;
    for (int i = 1; i < failures && pause < kMaxMs; ++i)
        pause *= 2;
    return int(std::min(pause, kMaxMs));
}

QString balloonTitle(const QString &title)
{
    return title.isEmpty() ? QObject::tr("Reminder") : title;
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

QString NotificationService::timeText(const QDateTime &dt) const
{
    return formatTimeOfDay(m_appState ? m_appState->preferences() : nullptr, dt.toLocalTime());
}

void NotificationService::poll()
{
    if (!m_appState || !m_appState->database() || !m_appState->database()->isOpen()
        || !m_appState->events() || !m_appState->tasks())
        return;
    const QDateTime now = Clock::now();
    showWaiting();
    if (pollEvents(now))
        pollTasks(now);
}

bool NotificationService::isPending(bool task, const QString &reminderId) const
{
    return m_pending.contains((task ? QStringLiteral("t:") : QStringLiteral("e:")) + reminderId);
}

bool NotificationService::pollEvents(const QDateTime &now)
{
    EventRepository *events = m_appState->events();
    QString error;
    QStringList pending;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (it.key().startsWith(QLatin1String("e:")))
            pending << it.key().mid(2);
    }
    const std::optional<QList<EventReminderAlert>> alerts
        = events->unacknowledgedReminders(now, &error, pending);
    if (!alerts) {
        qWarning() << "NotificationService poll failed:" << error;
        return false;
    }

    struct Due
    {
        Event event;
        int minutesBefore;
        QDateTime trigger;
        QString reminderId;
        std::optional<ReminderSchedule> series; // where the series goes on after this one
    };
    QList<Due> due;
    QStringList settled;
    QList<ReminderSchedule> movedOn;
    for (const EventReminderAlert &alert : *alerts) {
        const Event &event = alert.event;
        if (event.deleted_at) {
            // Bringing the event back arms its reminders afresh.
            settled << alert.reminderId;
        } else if (event.isSeriesMaster()) {
            const Reminders::SeriesReminders series = Reminders::seriesReminders(
                event, events->overridesOf(event), alert.minutesBefore, alert.handledUntil, now);
            const ReminderSchedule schedule {alert.reminderId, series.nextTrigger, now};
            for (const Event &occurrence : series.due)
                due.append({occurrence, alert.minutesBefore,
                            occurrence.start_time.addSecs(-qint64(alert.minutesBefore) * 60),
                            alert.reminderId, schedule});
            movedOn.append(schedule);
        } else if (Reminders::eventReminderFires(alert.trigger, event.start_time, now)) {
            due.append({event, alert.minutesBefore, alert.trigger, alert.reminderId, {}});
        } else {
            // Missed while the program was closed, a one-off reminder is done with.
            settled << alert.reminderId;
        }
    }

    QList<Balloon> balloons;
    QHash<QString, qsizetype> lastOfSeries;
    if (!due.isEmpty()) {
        const QList<FilterRule> rules = m_appState->filterRules()
            ? m_appState->filterRules()->listEnabled()
            : QList<FilterRule>();
        std::stable_sort(due.begin(), due.end(),
                         [](const Due &a, const Due &b) { return a.trigger < b.trigger; });
        for (const Due &d : std::as_const(due)) {
            // Silenced reminders were due all the same.
            if (Reminders::suppressed(d.event, rules)) {
                if (!d.series)
                    settled << d.reminderId;
                continue;
            }
            Balloon b;
            b.title = Reminders::balloonTitle(d.event.title);
            b.body = Reminders::eventBody(d.minutesBefore, timeText(d.event.start_time),
                                          d.event.location);
            b.eventId = d.event.id;
            b.date = d.event.start_time.toLocalTime().date();
            b.reminderId = d.reminderId;
            // Shown, an occurrence is reminded of; the series goes on after its last one.
            if (d.series)
                b.moveOn = ReminderSchedule {d.reminderId, now, d.trigger};
            balloons.append(b);
            lastOfSeries.insert(d.reminderId, balloons.size() - 1);
        }
        for (const Due &d : std::as_const(due)) {
            if (d.series && lastOfSeries.contains(d.reminderId))
                balloons[lastOfSeries.value(d.reminderId)].moveOn = d.series;
        }
        movedOn.erase(std::remove_if(movedOn.begin(), movedOn.end(),
                                     [&](const ReminderSchedule &s) {
                                         return lastOfSeries.contains(s.reminderId);
                                     }),
                      movedOn.end());
    }

    // A failed acknowledgement leaves the reminders to fire again at the next poll.
    if (!settled.isEmpty() && !events->acknowledgeReminders(settled, &error))
        qWarning() << "NotificationService ack failed for" << QStringLiteral("reminders") << ":"
                   << error;
    if (!movedOn.isEmpty() && !events->rescheduleReminders(movedOn, &error))
        qWarning() << "NotificationService ack failed for" << QStringLiteral("reminders") << ":"
                   << error;
    for (const Balloon &b : std::as_const(balloons))
        enqueue(b);
    return true;
}

void NotificationService::pollTasks(const QDateTime &now)
{
    QString error;
    const std::optional<QList<TaskReminderAlert>> alerts
        = m_appState->tasks()->unacknowledgedReminders(now.addSecs(-Reminders::kLateCutoffSecs),
                                                       now, &error);
    if (!alerts) {
        qWarning() << "NotificationService task poll failed:" << error;
        return;
    }
    for (const TaskReminderAlert &alert : *alerts) {
        if (isPending(true, alert.reminderId)
            || !Reminders::taskReminderFires(alert.due, alert.minutesBefore, now))
            continue;
        Balloon b;
        b.title = Reminders::balloonTitle(alert.title);
        b.body = Reminders::taskBody(alert.dueIsDateOnly, alert.minutesBefore, timeText(alert.due));
        b.date = alert.due.toLocalTime().date();
        b.reminderId = alert.reminderId;
        b.task = true;
        enqueue(b);
    }
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
        ++m_pending[(balloon.task ? QStringLiteral("t:") : QStringLiteral("e:"))
                    + balloon.reminderId];
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
        const Balloon next = m_queue.takeFirst();
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
    m_desktop->notify(balloon.title, balloon.body, kBalloonMs,
                      [self, balloon, since](std::optional<uint> id) {
                          if (!self)
                              return;
                          self->m_probing = false;
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
    const int interval = int(std::clamp<qint64>(std::min(pause, untilGiveUp), 0, pause));
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
    // One try at a time: the answer to it decides for the others.
    if (m_retrying.isEmpty() || m_probing)
        return;
    if (!m_desktop || !m_desktop->isAvailable()) {
        for (const Retry &r : std::exchange(m_retrying, {}))
            wait(r.balloon);
        return;
    }
    if (m_desktopFailures == 0) {
        for (const Retry &r : std::exchange(m_retrying, {}))
            sendToDesktop(r.balloon, r.since);
        return;
    }
    const Retry probe = m_retrying.takeFirst();
    m_probing = true;
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
        m_missedDialog->add(b.title, b.body, b.eventId, b.date, b.task);
        settle(b);
    }
    m_missedDialog->show();
    m_missedDialog->raise();
}

void NotificationService::settle(const Balloon &balloon)
{
    if (balloon.reminderId.isEmpty())
        return;
    const QString key
        = (balloon.task ? QStringLiteral("t:") : QStringLiteral("e:")) + balloon.reminderId;
    if (--m_pending[key] <= 0)
        m_pending.remove(key);
    if (!m_appState || !m_appState->events() || !m_appState->tasks())
        return;
    QString error;
    const QString table
        = balloon.task ? QStringLiteral("task_reminders") : QStringLiteral("reminders");
    bool ok = true;
    if (balloon.task)
        ok = m_appState->tasks()->acknowledgeReminders({balloon.reminderId}, &error);
    else if (balloon.moveOn)
        ok = m_appState->events()->rescheduleReminders({*balloon.moveOn}, &error);
    else
        ok = m_appState->events()->acknowledgeReminders({balloon.reminderId}, &error);
    // A failed acknowledgement leaves the reminder to fire again at the next poll.
    if (!ok)
        qWarning() << "NotificationService ack failed for" << table << ":" << error;
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
