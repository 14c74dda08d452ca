#pragma once

// The JSON objects that carry events and tasks to the cloud calendar service. The "id" member is
// the item's id on the service: the local id of the device that made the item.

#include "model/Records.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace Larkspindle {

// The cloud url of a server calendar, and the paths of its items (ids escaped as one segment).
QString cloudCalendarUrl(const QString &serverId);
QString cloudCalendarPath(const QString &serverId);
QString cloudEventsPath(const QString &serverId);
QString cloudTasksPath(const QString &serverId);

// The row's own component (its UID and RECURRENCE-ID) in the text it keeps, as read from there;
// nothing when the text has none.
std::optional<Event> cloudHeldEvent(const Event &row);

// The event's iCalendar text for the service: the text it keeps (the whole item as the service
// last held it) with the fields that changed written over the lines of the row's own component,
// so an edit made here travels in the text that other devices read, and what other clients
// wrote (zones, other components, lines this program does not read) stays.
QString cloudEventText(const Event &event);

// Without "etag"; times as milliseconds since the epoch, optional members only when set.
QJsonObject cloudEventObject(const Event &event, const QString &id);
QJsonObject cloudTaskObject(const Task &task, const QString &id);

} // namespace Larkspindle
