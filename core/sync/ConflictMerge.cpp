#include "core/sync/ConflictMerge.h"

#include <tuple>

namespace Sync {

namespace {

auto reminderKeys(const QList<Reminder> &reminders)
{
    QList<std::tuple<int, QString, bool, std::optional<QDateTime>>> keys;
    for (const Reminder &r : reminders)
        keys.append({r.minutes_before, r.action, r.acknowledged, r.trigger_time});
    return keys;
}

// With the values the store gives an attendee that names no role or answer: a source that
// leaves them out has not changed them.
auto attendeeKeys(const QList<Attendee> &attendees)
{
    const auto orDefault = [](const QString &value, const QString &fallback) {
        return value.isEmpty() ? fallback : value;
    };
    QList<std::tuple<QString, QString, QString, QString, QString, bool>> keys;
    for (const Attendee &a : attendees)
        keys.append({a.email, a.name, orDefault(a.role, QStringLiteral("required")),
                     orDefault(a.status, QStringLiteral("needs-action")), a.type, a.rsvp});
    return keys;
}

// What the user or a local use case may change on an event, outbox fields aside.
auto eventContent(const Event &e)
{
    return std::tie(e.calendar_id, e.uid, e.title, e.description, e.location, e.geo_location,
                    e.start_time, e.end_time, e.is_all_day, e.timezone, e.recurrence_rule,
                    e.recurrence_dates, e.exception_dates, e.recurrence_id, e.master_event_uid,
                    e.status, e.event_url, e.conference_url, e.organizer_email, e.organizer_name,
                    e.sequence, e.raw_icalendar, e.color, e.last_modified, e.deleted_at,
                    e.related_to_uid);
}

auto taskContent(const Task &t)
{
    return std::tie(t.calendar_id, t.uid, t.title, t.description, t.status, t.priority,
                    t.percent_complete, t.due_date, t.start_date, t.due_is_date_only,
                    t.start_is_date_only, t.completed_date, t.categories, t.parent_task_uid,
                    t.sort_order, t.color, t.recurrence_rule, t.repeat_mode, t.item_type,
                    t.sequence, t.raw_icalendar, t.last_modified, t.deleted_at);
}

auto schedule(const Event &e)
{
    return std::tie(e.start_time, e.end_time, e.is_all_day, e.timezone);
}

auto setReminders(const QList<Reminder> &reminders)
{
    QList<std::pair<int, QString>> keys;
    for (const Reminder &r : reminders)
        keys.append({r.minutes_before, r.action});
    return keys;
}

template<typename Row> Row withRemoteIdentity(Row row, const Row &remote)
{
    row.etag = remote.etag;
    if (!remote.href.isEmpty())
        row.href = remote.href;
    row.sync_status = QStringLiteral("pending");
    return row;
}

} // namespace

bool sameLocalContent(const Event &a, const Event &b)
{
    return eventContent(a) == eventContent(b)
        && reminderKeys(a.reminders) == reminderKeys(b.reminders)
        && attendeeKeys(a.attendees) == attendeeKeys(b.attendees);
}

bool sameLocalContent(const Task &a, const Task &b)
{
    return taskContent(a) == taskContent(b)
        && reminderKeys(a.reminders) == reminderKeys(b.reminders);
}

Event settledEdit(const Event &local, const Event &remote, const std::optional<Event> &agreed)
{
    Event merged = withRemoteIdentity(local, remote);
    if (!remote.provider_event_id.isEmpty())
        merged.provider_event_id = remote.provider_event_id;
    if (!agreed)
        return merged;
    const Event &base = *agreed;
    // Unchanged here: the remote side's value, changed there or not.
    const auto take = [&](auto member) {
        if (local.*member == base.*member)
            merged.*member = remote.*member;
    };
    take(&Event::title);
    take(&Event::description);
    take(&Event::location);
    take(&Event::geo_location);
    // The schedule is one field: parts of two schedules can make an event that ends before it
    // starts, or an all-day one that ends inside its day.
    if (schedule(local) == schedule(base)) {
        merged.start_time = remote.start_time;
        merged.end_time = remote.end_time;
        merged.is_all_day = remote.is_all_day;
        merged.timezone = remote.timezone;
    }
    take(&Event::recurrence_rule);
    take(&Event::recurrence_dates);
    take(&Event::exception_dates);
    take(&Event::status);
    take(&Event::event_url);
    take(&Event::conference_url);
    take(&Event::organizer_email);
    take(&Event::organizer_name);
    take(&Event::sequence);
    take(&Event::color);
    take(&Event::related_to_uid);
    // Compared as the user sets them: the schedule kept beside them is this device's own.
    if (setReminders(local.reminders) == setReminders(base.reminders))
        merged.reminders = remote.reminders;
    if (attendeeKeys(local.attendees) == attendeeKeys(base.attendees))
        merged.attendees = remote.attendees;
    // The remote copy is what the push is measured against and the next agreed version.
    merged.raw_icalendar = remote.raw_icalendar;
    return merged;
}

Task settledEdit(const Task &local, const Task &remote, const std::optional<Task> &)
{
    return withRemoteIdentity(local, remote);
}

} // namespace Sync
