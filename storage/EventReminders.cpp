// Reminder rows of events: the poll's query of due reminders, their acknowledgement and
// rescheduling, and the settling of reminders that can no longer fire.

#include "storage/EventRepository.h"

#include "model/SeriesReminders.h"
#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/EventRepositoryDetail.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

using namespace EventRepositoryDetail;

void EventRepository::settleOverdue(const Event &event, Reminder &r) const
{
    if (r.acknowledged || !r.trigger_time || !r.trigger_time->isValid()
        || !event.start_time.isValid())
        return;
    const QDateTime now = m_db->currentDateTimeUtc();
    const QDateTime late = now.addSecs(-kReminderLateSecs);
    if (!event.isSeriesMaster()) {
        // A file or a sync bringing years of history leaves the poll nothing to catch up on.
        if (event.start_time <= late)
            r.acknowledged = true;
        return;
    }
    if (*r.trigger_time > now)
        return;
    // The next look is due at the first occurrence still owed its reminder, found as the poll
    // finds it: with the series' overrides in place.
    r.trigger_time
        = Reminders::seriesReminders(event, overridesOf(event), r.minutes_before, std::nullopt, now)
              .firstTrigger;
}

bool EventRepository::wakeSeriesReminders(const QString &overrideId)
{
    QSqlQuery &q = m_statements.get(QStringLiteral(
        "UPDATE reminders SET trigger_time = ?, acknowledged = 0 WHERE event_id IN (SELECT m.id "
        "FROM events o JOIN events m ON m.uid = o.master_event_uid AND m.calendar_id = "
        "o.calendar_id WHERE o.id = ? AND COALESCE(o.recurrence_id, '') != '' AND "
        "COALESCE(m.recurrence_id, '') = '' AND COALESCE(m.recurrence_rule, '') != '')"));
    q.addBindValue(Sql::dateTime(m_db->currentDateTimeUtc()));
    q.addBindValue(overrideId);
    if (q.exec())
        return true;
    qWarning() << "EventRepository: waking the series' reminders failed:" << q.lastError().text();
    return false;
}

std::optional<QList<EventReminderAlert>>
EventRepository::unacknowledgedReminders(const QDateTime &until, QString *error,
                                         const QStringList &skip) const
{
    const auto failed = [error](const Sql::Reader &r) -> std::optional<QList<EventReminderAlert>> {
        if (error)
            *error = r.errorText();
        return std::nullopt;
    };
    // The stored texts carry their own offsets, so the index of unacknowledged triggers is read
    // up to a widened bound, on its own, and the rows are sorted out by instant; only the due
    // ones are then read with their events.
    QStringList dueIds;
    {
        Sql::Reader r(m_db->connection(),
                      QStringLiteral("SELECT id, trigger_time FROM reminders WHERE acknowledged = "
                                     "0 AND trigger_time <= ? AND id NOT IN (SELECT value FROM "
                                     "json_each(?)) ORDER BY trigger_time LIMIT ?"),
                      "EventRepository::unacknowledgedReminders failed:");
        r.bind(Sql::widenedBound(until, Sql::kZoneSlackSecs));
        r.bind(Sql::jsonList(skip));
        r.bind(qint64(kReminderPollBatch));
        while (r.next()) {
            const QDateTime trigger = r.dateTime(1);
            if (trigger.isValid() && trigger <= until)
                dueIds << r.text(0);
        }
        if (r.failed())
            return failed(r);
    }

    static const QString eventColumns = QStringLiteral("e.")
        + QString(kColumns).replace(QStringLiteral(", "), QStringLiteral(", e."));
    ReadCache cache;
    QList<EventReminderAlert> alerts;
    const bool read = Sql::forEachChunk(dueIds, [&](const QStringList &chunk) {
        Sql::Reader r(m_db->connection(),
                      QStringLiteral("SELECT %1, r.id, r.minutes_before, r.trigger_time, "
                                     "r.handled_until FROM reminders r CROSS JOIN events e ON "
                                     "e.id = r.event_id WHERE r.id ")
                              .arg(eventColumns)
                          + Sql::kInJsonList,
                      "EventRepository::unacknowledgedReminders failed:");
        r.bind(Sql::jsonList(chunk));
        while (r.next()) {
            EventReminderAlert a;
            a.event = readRow(r, cache);
            a.reminderId = r.text(kColumnCount);
            a.minutesBefore = r.integer(kColumnCount + 1);
            a.trigger = r.dateTime(kColumnCount + 2);
            a.handledUntil = r.optionalDateTime(kColumnCount + 3);
            alerts.append(std::move(a));
        }
        if (r.failed() && error)
            *error = r.errorText();
        return !r.failed();
    });
    if (!read)
        return std::nullopt;
    std::stable_sort(alerts.begin(), alerts.end(),
                     [](const EventReminderAlert &a, const EventReminderAlert &b) {
                         return a.trigger < b.trigger;
                     });
    return alerts;
}

bool EventRepository::acknowledgeReminders(const QStringList &reminderIds, QString *error)
{
    return Sql::acknowledgeReminderRows(m_db->connection(), QStringLiteral("reminders"),
                                        reminderIds, error,
                                        "EventRepository::acknowledgeReminders failed:");
}

bool EventRepository::rescheduleReminders(const QList<ReminderSchedule> &schedules, QString *error)
{
    // One commit for the lot: after a long closure every series moves on at once.
    Sql::Savepoint sp(m_statements, QStringLiteral("reminder_schedule"));
    if (!sp.isActive()) {
        qWarning() << "EventRepository::rescheduleReminders failed:" << sp.errorText();
        if (error)
            *error = sp.errorText();
        return false;
    }
    QSqlQuery &q = m_statements.get(
        QStringLiteral("UPDATE reminders SET trigger_time = ?, handled_until = ? WHERE id = ?"));
    for (const ReminderSchedule &s : schedules) {
        q.addBindValue(Sql::dateTime(s.nextTrigger.toUTC()));
        q.addBindValue(Sql::dateTime(s.handledUntil));
        q.addBindValue(s.reminderId);
        if (!q.exec()) {
            qWarning() << "EventRepository::rescheduleReminders failed:" << q.lastError().text();
            if (error)
                *error = q.lastError().text();
            return false;
        }
    }
    if (sp.release())
        return true;
    if (error)
        *error = sp.errorText();
    return false;
}
