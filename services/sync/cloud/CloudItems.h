#pragma once

// The JSON objects that carry events and tasks to the cloud calendar service. The "id" member is
// the item's id on the service: the local id of the device that made the item.

#include "model/Records.h"

#include <QJsonObject>
#include <QString>

namespace Larkspindle {

// The cloud url of a server calendar, and the paths of its items (ids escaped as one segment).
QString cloudCalendarUrl(const QString &serverId);
QString cloudCalendarPath(const QString &serverId);
QString cloudEventsPath(const QString &serverId);
QString cloudTasksPath(const QString &serverId);

// The event's iCalendar text for the service: the text it keeps (what the service last held)
// with the row's own fields written over it, so an edit made here travels in the text that
// other devices read.
QString cloudEventText(const Event &event);

// Without "etag"; times as milliseconds since the epoch, optional members only when set.
QJsonObject cloudEventObject(const Event &event, const QString &id);
QJsonObject cloudTaskObject(const Task &task, const QString &id);

} // namespace Larkspindle
