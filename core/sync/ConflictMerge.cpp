#include "core/sync/ConflictMerge.h"

#include <tuple>

namespace Sync {

namespace {

// Reminders as the user sets them; the schedule kept beside them is this device's own.
auto reminderKeys(const QList<Reminder> &reminders)
{
    QList<std::pair<int, QString>> keys;
    for (const Reminder &r : reminders)
        keys.append({r.minutes_before, r.action});
    return keys;
}

auto attendeeKeys(const QList<Attendee> &attendees)
{
    QList<std::tuple<QString, QString, QString, QString, QString, bool>> keys;
    for (const Attendee &a : attendees)
        keys.append({a.email.toLower(), a.name, a.role, a.status, a.type, a.rsvp});
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
    take(&Event::start_time);
    take(&Event::end_time);
    take(&Event::is_all_day);
    take(&Event::timezone);
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
    if (reminderKeys(local.reminders) == reminderKeys(base.reminders))
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
