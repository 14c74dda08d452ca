#include "core/ReminderRound.h"

#include "core/ImportsUnderWay.h"
#include "core/Store.h"
#include "core/TimeFormat.h"
#include "model/DateText.h"
#include "model/FilterEngine.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/TaskRepository.h"

#include <QHash>
#include <QObject>

#include <algorithm>

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

bool suppressed(const Event &event, const QList<FilterRule> &rules)
{
    // One event at a time: the result holds ids, and the occurrences of a series share theirs.
    return !rules.isEmpty()
        && applyFilterRules(QList<Event> {event}, rules).suppressedIds.contains(event.id);
}

QString eventBody(const QDateTime &start, const QDateTime &now, const QString &timeText,
                  const QString &location)
{
    // The time left to the nearest minute, as of now: a reminder shown late (the program was
    // closed at its trigger) or listed later says what is true when it is read.
    const qint64 secondsLeft = now.secsTo(start);
    const qint64 minutesLeft = (secondsLeft + 30) / 60;
    QString body;
    if (secondsLeft <= -60)
        body = QObject::tr("Started at %1").arg(timeText);
    else if (minutesLeft < 1)
        body = QObject::tr("Starting now (%1)").arg(timeText);
    else if (minutesLeft < 60)
        body = QObject::tr("In %n minute(s) (%1)", nullptr, int(minutesLeft)).arg(timeText);
    else if (minutesLeft < 1440 && minutesLeft % 60 == 0)
        body = QObject::tr("In %1h (%2)").arg(minutesLeft / 60).arg(timeText);
    else if (minutesLeft < 1440)
        body = QObject::tr("In %1h %2min (%3)")
                   .arg(minutesLeft / 60)
                   .arg(minutesLeft % 60)
                   .arg(timeText);
    else
        body = DateText::dayAndTime(start.toLocalTime().date(), now.toLocalTime().date(), timeText,
                                    DateText::Placement::OpensSentence);
    if (!location.isEmpty())
        body += QStringLiteral(" \u00B7 ") + location;
    return body;
}

QString bodyAt(const ReminderNotice &notice, const QDateTime &now)
{
    if (!notice.start.isValid())
        return notice.body;
    return eventBody(notice.start, now, notice.timeText, notice.location);
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

bool ReminderRound::isReady() const
{
    return m_store.database() && m_store.database()->isOpen() && m_store.events()
        && m_store.tasks();
}

QString ReminderRound::timeText(const QDateTime &dateTime) const
{
    return formatTimeOfDay(m_store.preferences(), dateTime.toLocalTime());
}

std::optional<ReminderRound::EventReminders>
ReminderRound::dueEvents(const QDateTime &now, const QStringList &skip, QString *error) const
{
    EventRepository *events = m_store.events();
    // Rows an import is writing may yet be taken back: their reminders wait until it ended, and
    // are read past, so that however many of them are due the other calendars' come through.
    QStringList readPast = skip;
    QList<EventReminderAlert> alerts;
    for (bool more = true; more;) {
        const std::optional<QList<EventReminderAlert>> read
            = events->unacknowledgedReminders(now, error, readPast);
        if (!read)
            return std::nullopt;
        bool held = false;
        for (const EventReminderAlert &alert : *read) {
            readPast << alert.reminderId;
            if (m_store.imports() && m_store.imports()->isImportingInto(alert.event.calendar_id))
                held = true;
            else
                alerts.append(alert);
        }
        more = held && read->size() >= kReminderPollBatch;
    }

    struct Due
    {
        Event event;
        QDateTime trigger;
        QString reminderId;
        std::optional<ReminderSchedule> series; // where the series goes on after this one
    };
    QList<Due> due;
    EventReminders out;
    for (const EventReminderAlert &alert : std::as_const(alerts)) {
        const Event &event = alert.event;
        if (event.deleted_at) {
            // Bringing the event back arms its reminders afresh.
            out.settled << alert.reminderId;
        } else if (event.isSeriesMaster()) {
            const Reminders::SeriesReminders series = Reminders::seriesReminders(
                event, events->overridesOf(event), alert.minutesBefore, alert.handledUntil, now);
            const ReminderSchedule schedule {alert.reminderId, series.nextTrigger, now};
            for (const Event &occurrence : series.due)
                due.append({occurrence,
                            occurrence.start_time.addSecs(-qint64(alert.minutesBefore) * 60),
                            alert.reminderId, schedule});
            out.movedOn.append(schedule);
        } else if (Reminders::eventReminderFires(alert.trigger, event.start_time, now)) {
            due.append({event, alert.trigger, alert.reminderId, {}});
        } else {
            // Missed while the program was closed, a one-off reminder is done with.
            out.settled << alert.reminderId;
        }
    }
    if (due.isEmpty())
        return out;

    const QList<FilterRule> rules
        = m_store.filterRules() ? m_store.filterRules()->listEnabled() : QList<FilterRule>();
    std::stable_sort(due.begin(), due.end(),
                     [](const Due &a, const Due &b) { return a.trigger < b.trigger; });
    QHash<QString, qsizetype> lastOfSeries;
    for (const Due &d : std::as_const(due)) {
        // Silenced reminders were due all the same.
        if (Reminders::suppressed(d.event, rules)) {
            if (!d.series)
                out.settled << d.reminderId;
            continue;
        }
        ReminderNotice n;
        n.title = Reminders::balloonTitle(d.event.title);
        n.start = d.event.start_time;
        n.timeText = timeText(d.event.start_time);
        n.location = d.event.location;
        n.body = Reminders::bodyAt(n, now);
        n.eventId = d.event.id;
        n.date = d.event.start_time.toLocalTime().date();
        n.reminderId = d.reminderId;
        // Shown, an occurrence is reminded of; the series goes on after its last one.
        if (d.series)
            n.moveOn = ReminderSchedule {d.reminderId, now, d.trigger};
        out.notices.append(n);
        lastOfSeries.insert(d.reminderId, out.notices.size() - 1);
    }
    for (const Due &d : std::as_const(due)) {
        if (d.series && lastOfSeries.contains(d.reminderId))
            out.notices[lastOfSeries.value(d.reminderId)].moveOn = d.series;
    }
    out.movedOn.erase(std::remove_if(out.movedOn.begin(), out.movedOn.end(),
                                     [&](const ReminderSchedule &s) {
                                         return lastOfSeries.contains(s.reminderId);
                                     }),
                      out.movedOn.end());
    return out;
}

std::optional<QList<ReminderNotice>>
ReminderRound::dueTasks(const QDateTime &now, const QStringList &skip, QString *error) const
{
    const std::optional<QList<TaskReminderAlert>> alerts = m_store.tasks()->unacknowledgedReminders(
        now.addSecs(-Reminders::kLateCutoffSecs), now, error);
    if (!alerts)
        return std::nullopt;
    QList<ReminderNotice> notices;
    for (const TaskReminderAlert &alert : *alerts) {
        if (skip.contains(alert.reminderId)
            || !Reminders::taskReminderFires(alert.due, alert.minutesBefore, now))
            continue;
        ReminderNotice n;
        n.title = Reminders::balloonTitle(alert.title);
        n.body = Reminders::taskBody(alert.dueIsDateOnly, alert.minutesBefore, timeText(alert.due));
        n.date = alert.due.toLocalTime().date();
        n.reminderId = alert.reminderId;
        n.task = true;
        notices.append(n);
    }
    return notices;
}

QStringList ReminderRound::settleUnshown(const EventReminders &events) const
{
    QStringList failures;
    QString error;
    if (!events.settled.isEmpty()
        && !m_store.events()->acknowledgeReminders(events.settled, &error))
        failures << error;
    if (!events.movedOn.isEmpty() && !m_store.events()->rescheduleReminders(events.movedOn, &error))
        failures << error;
    return failures;
}

bool ReminderRound::settleShown(const ReminderNotice &notice, QString *error) const
{
    if (notice.task)
        return m_store.tasks()->acknowledgeReminders({notice.reminderId}, error);
    if (notice.moveOn)
        return m_store.events()->rescheduleReminders({*notice.moveOn}, error);
    return m_store.events()->acknowledgeReminders({notice.reminderId}, error);
}
