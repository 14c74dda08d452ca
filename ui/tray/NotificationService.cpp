#include "ui/tray/NotificationService.h"

#include "core/AppState.h"
#include "core/TimeFormat.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/TaskRepository.h"

#include <QSystemTrayIcon>
#include <QTimer>

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
    if (m_trayIcon)
        connect(m_trayIcon, &QSystemTrayIcon::messageClicked, this,
                &NotificationService::onBalloonClicked);
}

void NotificationService::setBalloonDuration(int ms)
{
    m_balloonTimer->setInterval(ms);
}

QString NotificationService::timeText(const QDateTime &dt) const
{
    return formatTimeOfDay(m_appState, dt.toLocalTime());
}

void NotificationService::poll()
{
    if (!m_appState || !m_appState->database() || !m_appState->database()->isOpen()
        || !m_appState->events() || !m_appState->tasks())
        return;

    QString error;
    const std::optional<QList<EventReminderAlert>> eventAlerts
        = m_appState->events()->unacknowledgedReminders(&error);
    if (!eventAlerts) {
        qWarning() << "NotificationService poll failed:" << error;
        return;
    }

    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    QStringList shownEvents;
    for (const EventReminderAlert &alert : *eventAlerts) {
        if (!Reminders::eventReminderFires(alert.trigger, alert.start, now))
            continue;
        Balloon b;
        b.title = Reminders::balloonTitle(alert.title);
        b.body = Reminders::eventBody(alert.minutesBefore, timeText(alert.start), alert.location);
        b.eventId = alert.eventId;
        b.date = alert.start.toLocalTime().date();
        enqueue(b);
        shownEvents << alert.reminderId;
    }

    QStringList shownTasks;
    const std::optional<QList<TaskReminderAlert>> taskAlerts
        = m_appState->tasks()->unacknowledgedReminders(&error);
    if (!taskAlerts) {
        qWarning() << "NotificationService task poll failed:" << error;
    } else {
        for (const TaskReminderAlert &alert : *taskAlerts) {
            if (!Reminders::taskReminderFires(alert.due, alert.minutesBefore, now))
                continue;
            Balloon b;
            b.title = Reminders::balloonTitle(alert.title);
            b.body = Reminders::taskBody(alert.dueIsDateOnly, alert.minutesBefore,
                                         timeText(alert.due));
            b.date = alert.due.toLocalTime().date();
            enqueue(b);
            shownTasks << alert.reminderId;
        }
    }

    // A failed acknowledgement leaves the reminders to fire again at the next poll.
    if (!shownEvents.isEmpty() && !m_appState->events()->acknowledgeReminders(shownEvents, &error))
        qWarning() << "NotificationService ack failed for" << QStringLiteral("reminders") << ":"
                   << error;
    if (!shownTasks.isEmpty() && !m_appState->tasks()->acknowledgeReminders(shownTasks, &error))
        qWarning() << "NotificationService ack failed for" << QStringLiteral("task_reminders")
                   << ":" << error;
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
    m_queue.append(balloon);
    if (!m_showing)
        showNext();
}

void NotificationService::showNext()
{
    m_balloonTimer->stop();
    m_showing = false;
    m_current = Balloon();
    // Balloons that cannot be shown (no tray, hidden icon) are dropped rather than kept waiting.
    while (!m_queue.isEmpty()) {
        const Balloon next = m_queue.takeFirst();
        if (m_presenter && m_presenter(next)) {
            m_current = next;
            m_showing = true;
            m_balloonTimer->start();
            return;
        }
    }
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
