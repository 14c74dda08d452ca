#pragma once

// The plain value records every part of the program passes around. Each one mirrors a row of
// one database table, field for field in column order, and its fields carry the column names.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct Account
{
    QString id;
    QString name;
    QString type;
    QString server_url;
    QString username;
    QString calendar_home_set;
    QString principal_url;
    int sync_interval_minutes = 15;
    std::optional<QDateTime> last_sync_time;
    QString last_sync_error;
    bool enabled = true;
    QString color = QStringLiteral("#4285F4");
    bool exclude_from_sync = false;
    QString trusted_cert_sha256;
    QString pending_cert_sha256;
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;
};

struct Calendar
{
    QString id;
    QString account_id;
    QString url;
    QString name;
    QString description;
    QString color = QStringLiteral("#4285F4");
    QString timezone = QStringLiteral("UTC");
    bool is_visible = true;
    bool is_read_only = false;
    bool is_default = false;
    QString ctag;
    QString sync_token;
    QString delta_sync_token;
    QString supported_components = QStringLiteral("[\"VEVENT\"]");
    int sort_order = 0;
    QString canonical_key;
    bool sync_enabled = false;
    bool is_shared = false;
    bool shared_with_me = false;
    QString last_sync_error;
    QDateTime created_at;
    QDateTime updated_at;
    // When its name, colour, visibility, order or cloud sync was last chosen; unset until then.
    std::optional<QDateTime> preferences_changed_at;
};

struct Reminder
{
    QString id;
    QString event_id;
    QString task_id;
    int minutes_before = 0;
    QString action;
    // Nothing left to fire. A repeating event's reminder goes on from occurrence to occurrence:
    // its trigger is when the reminder poll looks at it next.
    bool acknowledged = false;
    std::optional<QDateTime> trigger_time;
};

struct Attendee
{
    QString id;
    QString event_id;
    QString email;
    QString name;
    QString role;
    QString status;
    QString type;
    bool rsvp = false;
};

struct Event
{
    // A row made on this device. It waits in the outbox until a sync has pushed it; rows a sync
    // brings in are written "synced" by the sync itself.
    static Event newLocal()
    {
        Event event;
        event.sync_status = QStringLiteral("pending");
        return event;
    }

    QString id;
    QString calendar_id;
    QString uid;
    QString provider_event_id;
    QString etag;
    QString href;
    QString title;
    QString description;
    QString location;
    QString geo_location;
    QDateTime start_time;
    std::optional<QDateTime> end_time;
    bool is_all_day = false;
    QString timezone = QStringLiteral("UTC");
    QString recurrence_rule;
    QString recurrence_dates;
    QString exception_dates;
    QString recurrence_id;
    QString master_event_uid;
    QString status = QStringLiteral("confirmed");
    QString event_url;
    QString conference_url;
    QString organizer_email;
    QString organizer_name;
    int sequence = 0;
    QString raw_icalendar;
    QString color;
    QDateTime created;
    QDateTime last_modified;
    QString sync_status = QStringLiteral("synced");
    std::optional<QDateTime> deleted_at;
    QString related_to_uid;
    QList<Reminder> reminders;
    QList<Attendee> attendees;

    // A stored replacement of one occurrence of a repeating event.
    bool isOverride() const { return !master_event_uid.isEmpty() && !recurrence_id.isEmpty(); }
    // The event a series of occurrences is made from.
    bool isSeriesMaster() const { return !recurrence_rule.isEmpty() && !isOverride(); }
};
// Every member moves by its bytes, so lists of events grow without copying each one.
Q_DECLARE_TYPEINFO(Event, Q_RELOCATABLE_TYPE);

struct Task
{
    // A row made on this device, "pending" until a sync has pushed it.
    static Task newLocal()
    {
        Task task;
        task.sync_status = QStringLiteral("pending");
        return task;
    }

    QString id;
    QString calendar_id;
    QString uid;
    QString etag;
    QString href;
    QString title;
    QString description;
    QString status = QStringLiteral("needs-action");
    int priority = 0;
    int percent_complete = 0;
    std::optional<QDateTime> due_date;
    std::optional<QDateTime> start_date;
    bool due_is_date_only = true;
    bool start_is_date_only = true;
    std::optional<QDateTime> completed_date;
    QStringList categories;
    QString parent_task_uid;
    int sort_order = 0;
    QString color;
    QString recurrence_rule;
    QString repeat_mode = QStringLiteral("fromDueDate");
    QString item_type = QStringLiteral("task");
    int sequence = 0;
    QString raw_icalendar;
    QDateTime created;
    QDateTime last_modified;
    QString sync_status = QStringLiteral("synced");
    std::optional<QDateTime> deleted_at;
    QList<Reminder> reminders;
};

struct TreeTask : Task
{
    TreeTask() = default;
    TreeTask(const Task &task, int d)
        : Task(task)
        , depth(d)
    { }
    int depth = 0;
};

struct FilterRule
{
    QString id;
    QString name;
    QString type;
    bool enabled = true;
    QString calendar_ids = QStringLiteral("[]");
    QString conditions;
    QString action = QStringLiteral("hide");
    int priority = 100;
    QString event_uid;
    QString event_calendar_id;
    bool suppress_reminders = false;
    QString sync_status = QStringLiteral("pending");
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;
};

// A calendar group. The built-in group has the id "all-calendars".
struct CalendarView
{
    QString id;
    QString name;
    QString color;
    // An empty text would break inserting a group into the NOT NULL column, so an empty
    // member list is the JSON array itself.
    QString calendar_ids = QStringLiteral("[]");
    bool is_default = false;
    int sort_order = 0;
    QString sync_status = QStringLiteral("pending");
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;
};

struct EventTemplate
{
    QString id;
    QString name;
    QString title;
    QString description;
    QString location;
    QString color;
    bool is_all_day = false;
    int duration_minutes = 60;
    QString recurrence_rule;
    QString calendar_id;
    QList<int> reminders;
    int sort_order = 0;
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;
};
