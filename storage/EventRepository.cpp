// The event repository's construction, its change notices, and the lookups of single events and
// of lists (by calendar, pending, related to a task, by text) with their child rows.

#include "storage/EventRepository.h"

#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/EventRepositoryDetail.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"

#include <QHash>

#include <algorithm>

using namespace EventRepositoryDetail;

namespace {

// Child-row writes remembered one by one before the range records are dropped instead.
constexpr qsizetype kMaxNotedChildWrites = 1 << 16;

} // namespace

EventRepository::EventRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_statements(&db->connection())
    , m_changes(this, [this](const QString &calendarId) { emit eventsChanged(calendarId); })
{
    // A row written here drops its record from the range caches; rows nobody wrote stay
    // trusted across the commit.
    db->watchRowWrites(this, [this](QByteArrayView table, qint64 rowid) {
        if (table == "events")
            m_range.events.forget(rowid);
        else if (table == "reminders")
            noteChildWrite(m_range.reminderWrites, rowid);
        else if (table == "attendees")
            noteChildWrite(m_range.attendeeWrites, rowid);
    });
}

void EventRepository::noteChildWrite(QHash<qint64, quint64> &writes, qint64 rowid)
{
    writes.insert(rowid, ++m_range.childWrites);
    // A long run of writes (an import) is not worth remembering row by row: the records go.
    if (writes.size() > kMaxNotedChildWrites) {
        m_range.reminderWrites.clear();
        m_range.attendeeWrites.clear();
        m_range.events.clear();
    }
}

void EventRepository::notifyChanged(const QString &calendarId)
{
    m_changes.notify(calendarId);
}

QList<Event> EventRepository::list(const QString &sql, const QStringList &values,
                                   const char *logName) const
{
    ReadCache cache;
    return Sql::readAll<Event>(m_statements, sql.arg(kColumns), values, logName,
                               [&cache](const Sql::Reader &r) { return readRow(r, cache); });
}

std::optional<Event> EventRepository::one(const QString &sql, const QStringList &values,
                                          const char *logName) const
{
    ReadCache cache;
    return Sql::readOne<Event>(m_statements, sql.arg(kColumns), values, logName,
                               [&cache](const Sql::Reader &r) { return readRow(r, cache); });
}

QList<Event> EventRepository::listByCalendar(const QString &calendarId,
                                             WithChildRows children) const
{
    QList<Event> events = list(QStringLiteral("SELECT %1 FROM events WHERE calendar_id = ? AND "
                                              "deleted_at IS NULL ORDER BY start_time"),
                               {calendarId}, "EventRepository::listByCalendar failed:");
    if (children == WithChildRows::Yes)
        loadChildrenFor(events);
    return events;
}

QList<Event> EventRepository::listPending(const QString &calendarId) const
{
    // "+start_time": sorting the few pending rows lets the partial index of pending rows
    // serve the lookup; ordering by the plain column walks the whole calendar instead.
    return list(QStringLiteral("SELECT %1 FROM events WHERE calendar_id = ? AND sync_status = "
                               "'pending' ORDER BY +start_time"),
                {calendarId}, "EventRepository::listPending failed:");
}

QList<Event> EventRepository::listRelatedTo(const QString &taskUid) const
{
    if (taskUid.isEmpty())
        return {};
    return list(QStringLiteral("SELECT %1 FROM events WHERE related_to_uid = ? AND deleted_at IS "
                               "NULL ORDER BY start_time ASC"),
                {taskUid}, "EventRepository::listRelatedTo failed:");
}

QList<Event> EventRepository::search(const QString &text, int limit) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QString pattern = QLatin1Char('%') + trimmed + QLatin1Char('%');
    ReadCache cache;
    QList<Event> out;
    Sql::Reader r(m_db->connection(),
                  QStringLiteral("SELECT %1 FROM events WHERE deleted_at IS NULL AND (title LIKE ? "
                                 "OR location LIKE ? OR description LIKE ?) ORDER BY start_time "
                                 "ASC LIMIT ?")
                      .arg(kColumns),
                  "EventRepository::search failed:");
    r.bindAll({pattern, pattern, pattern});
    r.bind(qint64(std::max(limit, 1)));
    while (r.next())
        out.append(readRow(r, cache));
    return out;
}

std::optional<Event> EventRepository::oneWithChildren(const QString &sql, const QStringList &values,
                                                      const char *logName,
                                                      WithChildRows children) const
{
    std::optional<Event> e = one(sql, values, logName);
    if (e && children == WithChildRows::Yes)
        loadChildRows(*e);
    return e;
}

void EventRepository::loadChildRows(Event &event) const
{
    QList<Event> events {std::move(event)};
    loadChildrenFor(events);
    event = std::move(events.first());
}

std::optional<Event> EventRepository::byId(const QString &id) const
{
    return oneWithChildren(QStringLiteral("SELECT %1 FROM events WHERE id = ?"), {id},
                           "EventRepository::byId failed:");
}

std::optional<Event> EventRepository::byUidInCalendar(const QString &uid,
                                                      const QString &calendarId) const
{
    return oneWithChildren(
        QStringLiteral("SELECT %1 FROM events WHERE uid = ? AND calendar_id = ?"),
        {uid, calendarId}, "EventRepository::byUidInCalendar failed:");
}

std::optional<Event> EventRepository::byUidAndRecurrenceId(const QString &uid,
                                                           const QString &calendarId,
                                                           const QString &recurrenceId,
                                                           WithChildRows children) const
{
    // A null recurrence id binds NULL, as the empty text does through COALESCE.
    return oneWithChildren(
        QStringLiteral("SELECT %1 FROM events WHERE uid = ? AND calendar_id = ? AND "
                       "COALESCE(recurrence_id, '') = COALESCE(?, '')"),
        {uid, calendarId, recurrenceId}, "EventRepository::byUidAndRecurrenceId failed:", children);
}

std::optional<Event> EventRepository::byProviderId(const QString &calendarId,
                                                   const QString &providerEventId,
                                                   WithChildRows children) const
{
    if (providerEventId.isEmpty())
        return std::nullopt;
    return oneWithChildren(QStringLiteral("SELECT %1 FROM events WHERE calendar_id = ? AND "
                                          "provider_event_id = ? LIMIT 1"),
                           {calendarId, providerEventId},
                           "EventRepository::byProviderId failed:", children);
}

QList<Event> EventRepository::overridesOf(const Event &master) const
{
    // "+calendar_id": the master uid's index finds the few overrides; the calendar's would walk
    // every event of the calendar.
    QList<Event> overrides = list(
        QStringLiteral("SELECT %1 FROM events WHERE master_event_uid = ? AND +calendar_id = ? AND "
                       "COALESCE(recurrence_id, '') != '' AND deleted_at IS NULL"),
        {master.uid, master.calendar_id}, "EventRepository::overridesOf failed:");
    loadChildrenFor(overrides);
    return overrides;
}

void EventRepository::loadChildrenFor(QList<Event> &events) const
{
    if (events.isEmpty())
        return;
    const Sql::ChildOwners owners(events);
    Sql::loadChildrenFor(
        m_statements, events, owners,
        QStringLiteral("SELECT id, event_id, minutes_before, action, acknowledged, "
                       "trigger_time FROM reminders WHERE event_id %1 ORDER BY "
                       "minutes_before ASC"),
        "EventRepository::loadRemindersFor failed:", &Sql::readReminderRow, &Event::reminders,
        &Reminder::event_id);
    Sql::loadChildrenFor(m_statements, events, owners,
                         QStringLiteral("SELECT id, event_id, email, name, role, status, type, "
                                        "rsvp FROM attendees WHERE event_id %1 ORDER BY name, "
                                        "email"),
                         "EventRepository::loadAttendeesFor failed:", &readAttendeeRow,
                         &Event::attendees, &Attendee::event_id);
}

QString EventRepository::calendarOf(const QString &id) const
{
    return Sql::readText(m_db->connection(),
                         QStringLiteral("SELECT calendar_id FROM events WHERE id = ?"), {id},
                         "EventRepository::calendarOf failed:");
}
