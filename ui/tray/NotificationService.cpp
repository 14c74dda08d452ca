#include "ui/tray/NotificationService.h"

#include "core/AppState.h"
#include "core/TimeFormat.h"
#include "storage/Database.h"
#include "storage/SqlHelpers.h"

#include <QSqlError>
#include <QSqlQuery>
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

QDateTime parseStoredDue(const QString &text)
{
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        return date.isValid() ? date.startOfDay() : QDateTime();
    }
    return QDateTime::fromString(text, Qt::ISODate);
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
    if (!m_appState || !m_appState->database() || !m_appState->database()->isOpen())
        return;
    QSqlDatabase &db = m_appState->database()->connection();

    QSqlQuery events(db);
    events.setForwardOnly(true);
    if (!events.prepare(QStringLiteral(
            "SELECT r.id, e.title, e.start_time, e.location, r.minutes_before,        "
            "r.trigger_time, e.id FROM reminders r JOIN events e ON r.event_id = e.id "
            "WHERE r.acknowledged = 0 AND e.deleted_at IS NULL ORDER BY r.trigger_time ASC"))
        || !events.exec()) {
        qWarning() << "NotificationService poll failed:" << events.lastError().text();
        return;
    }

    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    QStringList shownEvents;
    while (events.next()) {
        const QDateTime start = Sql::parseDateTime(events.value(2));
        const QDateTime trigger = Sql::parseDateTime(events.value(5));
        if (!Reminders::eventReminderFires(trigger, start, now))
            continue;
        Balloon b;
        b.title = Reminders::balloonTitle(events.value(1).toString());
        b.body = Reminders::eventBody(events.value(4).toInt(), timeText(start),
                                      events.value(3).toString());
        b.eventId = events.value(6).toString();
        b.date = start.toLocalTime().date();
        enqueue(b);
        shownEvents << events.value(0).toString();
    }

    QStringList shownTasks;
    QSqlQuery tasks(db);
    tasks.setForwardOnly(true);
    if (!tasks.prepare(QStringLiteral(
            "SELECT tr.id, t.title, t.due_date, t.due_is_date_only,        tr.minutes_before "
            "FROM task_reminders tr JOIN tasks t ON tr.task_id = t.id WHERE tr.acknowledged "
            "= 0 AND t.deleted_at IS NULL AND t.due_date IS NOT NULL AND t.status NOT IN "
            "('completed', 'cancelled') ORDER BY t.due_date ASC"))
        || !tasks.exec()) {
        qWarning() << "NotificationService task poll failed:" << tasks.lastError().text();
    } else {
        while (tasks.next()) {
            const QDateTime due = Reminders::parseStoredDue(tasks.value(2).toString());
            const int minutesBefore = tasks.value(4).toInt();
            if (!Reminders::taskReminderFires(due, minutesBefore, now))
                continue;
            Balloon b;
            b.title = Reminders::balloonTitle(tasks.value(1).toString());
            b.body = Reminders::taskBody(tasks.value(3).toInt() != 0, minutesBefore, timeText(due));
            b.date = due.toLocalTime().date();
            enqueue(b);
            shownTasks << tasks.value(0).toString();
        }
    }

    acknowledge(QStringLiteral("reminders"), shownEvents);
    acknowledge(QStringLiteral("task_reminders"), shownTasks);
}

void NotificationService::acknowledge(const QString &table, const QStringList &ids)
{
    if (ids.isEmpty())
        return;
    // Chunked so a backlog of reminders never exceeds the bound-parameter limit.
    const bool ok = Sql::forEachChunk(ids, [&](const QStringList &chunk) {
        QSqlQuery q(m_appState->database()->connection());
        q.prepare(QStringLiteral("UPDATE %1 SET acknowledged = 1 WHERE id IN (%2)")
                      .arg(table, Sql::placeholders(chunk.size(), QStringLiteral(","))));
        Sql::bindAll(q, chunk);
        if (q.exec())
            return true;
        qWarning() << "NotificationService ack failed for" << table << ":" << q.lastError().text();
        return false;
    });
    Q_UNUSED(ok);
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
