#include "services/sync/cloud/CloudItems.h"

#include "services/account/ApiClient.h"

namespace Larkspindle {

QString cloudCalendarUrl(const QString &serverId)
{
    return QStringLiteral("larkspindle://") + serverId;
}

QString cloudCalendarPath(const QString &serverId)
{
    return QStringLiteral("/calendars/") + LarkAccount::ApiClient::pathSegment(serverId);
}

QString cloudEventsPath(const QString &serverId)
{
    return cloudCalendarPath(serverId) + QLatin1String("/events");
}

QString cloudTasksPath(const QString &serverId)
{
    return cloudCalendarPath(serverId) + QLatin1String("/tasks");
}

QJsonObject cloudEventObject(const Event &event, const QString &id)
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("uid"), event.uid);
    o.insert(QStringLiteral("title"), event.title);
    o.insert(QStringLiteral("raw_icalendar"), event.raw_icalendar);
    o.insert(QStringLiteral("start_time"), event.start_time.toMSecsSinceEpoch());
    if (event.end_time)
        o.insert(QStringLiteral("end_time"), event.end_time->toMSecsSinceEpoch());
    o.insert(QStringLiteral("is_all_day"), event.is_all_day);
    if (!event.recurrence_rule.isEmpty())
        o.insert(QStringLiteral("recurrence_rule"), event.recurrence_rule);
    if (!event.master_event_uid.isEmpty())
        o.insert(QStringLiteral("master_event_uid"), event.master_event_uid);
    o.insert(QStringLiteral("sequence"), event.sequence);
    return o;
}

QJsonObject cloudTaskObject(const Task &task, const QString &id)
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("uid"), task.uid);
    o.insert(QStringLiteral("title"), task.title);
    o.insert(QStringLiteral("raw_icalendar"), task.raw_icalendar);
    o.insert(QStringLiteral("status"), task.status);
    if (task.due_date)
        o.insert(QStringLiteral("due_date"), task.due_date->toMSecsSinceEpoch());
    o.insert(QStringLiteral("sequence"), task.sequence);
    return o;
}

} // namespace Larkspindle
