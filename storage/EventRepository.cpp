#include "storage/EventRepository.h"

#include "model/Identifiers.h"
#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

#include <algorithm>

#include <sqlite3.h>

namespace {

const QString kColumns = QStringLiteral(
    "id, calendar_id, uid, provider_event_id, etag, href, title, description, location, "
    "geo_location, start_time, end_time, is_all_day, timezone, recurrence_rule, "
    "recurrence_dates, exception_dates, recurrence_id, master_event_uid, status, event_url, "
    "conference_url, organizer_email, organizer_name, sequence, raw_icalendar, color, "
    "created, last_modified, sync_status, deleted_at, related_to_uid");
constexpr int kColumnCount = 32;

// Events longer than this are kept in the long-row list; the rest are found by start time.
constexpr qint64 kLongSpanSecs = 7 * 86400;

// True while the connection is outside any transaction. Inside one, rows may still be rolled
// back, so the long-row list is neither built nor trusted there.
bool inAutocommit(QSqlDatabase &db)
{
    sqlite3 *h = Sql::handleOf(db);
    return h && sqlite3_get_autocommit(h) != 0;
}

qint64 scalar(QSqlDatabase &db, const QString &sql)
{
    Sql::Reader r(db, sql, "EventRepository::listInRange failed:");
    return r.next() ? r.integer64(0) : -1;
}

// Zones looked up once per read: building one from the zone database is costly.
class ZoneCache
{
public:
    const QTimeZone *find(const QString &name)
    {
        auto it = m_zones.constFind(name);
        if (it == m_zones.constEnd())
            it = m_zones.insert(name, QTimeZone(name.toUtf8()));
        return it->isValid() ? &*it : nullptr;
    }

private:
    QHash<QString, QTimeZone> m_zones;
};

Event readRow(const Sql::Reader &r, ZoneCache &zones)
{
    Event e;
    e.id = r.text(0);
    e.calendar_id = r.text(1);
    e.uid = r.text(2);
    e.provider_event_id = r.text(3);
    e.etag = r.text(4);
    e.href = r.text(5);
    e.title = r.text(6);
    e.description = r.text(7);
    e.location = r.text(8);
    e.geo_location = r.text(9);
    e.start_time = r.dateTime(10);
    e.end_time = r.optionalDateTime(11);
    e.is_all_day = r.integer(12) != 0;
    e.timezone = r.text(13);
    if (!e.timezone.isEmpty() && e.timezone != QLatin1String("UTC") && e.start_time.isValid()) {
        if (const QTimeZone *zone = zones.find(e.timezone)) {
            e.start_time = e.start_time.toTimeZone(*zone);
            if (e.end_time && e.end_time->isValid())
                e.end_time = e.end_time->toTimeZone(*zone);
        }
    }
    e.recurrence_rule = r.text(14);
    e.recurrence_dates = r.text(15);
    e.exception_dates = r.text(16);
    e.recurrence_id = r.text(17);
    e.master_event_uid = r.text(18);
    e.status = r.text(19);
    e.event_url = r.text(20);
    e.conference_url = r.text(21);
    e.organizer_email = r.text(22);
    e.organizer_name = r.text(23);
    e.sequence = r.integer(24);
    e.raw_icalendar = r.text(25);
    e.color = r.text(26);
    e.created = r.dateTime(27);
    e.last_modified = r.dateTime(28);
    e.sync_status = r.text(29);
    e.deleted_at = r.optionalDateTime(30);
    e.related_to_uid = r.text(31);
    return e;
}

Attendee readAttendeeRow(const Sql::Reader &r)
{
    // id, event_id, email, name, role, status, type, rsvp
    Attendee a;
    a.id = r.text(0);
    a.email = r.text(2);
    a.name = r.text(3);
    a.role = r.text(4);
    a.status = r.text(5);
    a.type = r.text(6);
    a.rsvp = r.integer(7) != 0;
    return a;
}

} // namespace

EventRepository::EventRepository(Database *db, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_statements(&db->connection())
    , m_changes(this, [this](const QString &calendarId) { emit eventsChanged(calendarId); })
{ }

void EventRepository::notifyChanged(const QString &calendarId)
{
    m_changes.notify(calendarId);
}

QList<Event> EventRepository::list(const QString &sql, const QStringList &values,
                                   const char *logName) const
{
    ZoneCache zones;
    return Sql::readAll<Event>(m_db->connection(), sql.arg(kColumns), values, logName,
                               [&zones](const Sql::Reader &r) { return readRow(r, zones); });
}

std::optional<Event> EventRepository::one(const QString &sql, const QStringList &values,
                                          const char *logName) const
{
    ZoneCache zones;
    return Sql::readOne<Event>(m_db->connection(), sql.arg(kColumns), values, logName,
                               [&zones](const Sql::Reader &r) { return readRow(r, zones); });
}

QList<Event> EventRepository::listByCalendar(const QString &calendarId) const
{
    QList<Event> events = list(QStringLiteral("SELECT %1 FROM events WHERE calendar_id = ? AND "
                                              "deleted_at IS NULL ORDER BY start_time"),
                               {calendarId}, "EventRepository::listByCalendar failed:");
    loadChildrenFor(events);
    return events;
}

bool EventRepository::refreshLongRows() const
{
    QSqlDatabase &db = m_db->connection();
    if (!inAutocommit(db))
        return false;
    // data_version moves when another connection commits; total_changes when this one writes.
    const qint64 version = scalar(db, QStringLiteral("PRAGMA data_version"));
    const qint64 changes = scalar(db, QStringLiteral("SELECT total_changes()"));
    if (version < 0 || changes < 0)
        return false;
    if (version == m_longRows.dataVersion && changes == m_longRows.totalChanges)
        return true;

    // A stored text without a suffix reads as UTC here; the margin covers a DST change.
    Sql::Reader r(
        db,
        QStringLiteral(
            "SELECT json_group_array(rowid) FROM events NOT INDEXED WHERE deleted_at IS NULL AND "
            "((recurrence_rule IS NOT NULL AND recurrence_rule != '') OR end_time IS NULL OR "
            "julianday(end_time) IS NULL OR julianday(start_time) IS NULL OR "
            "(julianday(end_time) - julianday(start_time)) * 86400.0 > ?)"),
        "EventRepository::listInRange failed:");
    r.bind(kLongSpanSecs - 2 * 3600);
    if (!r.next()) {
        m_longRows = {};
        return false;
    }
    m_longRows = {version, changes, r.text(0)};
    return true;
}

QList<Event> EventRepository::listInRange(const QDateTime &from, const QDateTime &to,
                                          const QStringList &calendarIds) const
{
    const QString toBound = Sql::widenedBound(to, Sql::kZoneSlackSecs);
    const QString fromBound = Sql::widenedBound(from, -Sql::kZoneSlackSecs);
    const bool indexed = refreshLongRows();
    // With the long-row list, short events come from an index range on the start time and the
    // rest from the list. Without it (inside a transaction), one pass over the table is
    // cheaper than the index: recurring masters cannot be found through any index.
    const QString sql = indexed
        ? QStringLiteral(
            "SELECT %1 FROM events WHERE start_time >= ? AND start_time < ? AND deleted_at IS "
            "NULL%2 UNION ALL SELECT %1 FROM events WHERE rowid IN (SELECT value FROM "
            "json_each(?)) AND start_time < ? AND NOT (start_time >= ?) AND deleted_at IS NULL%2")
        : QStringLiteral(
            "SELECT %1 FROM events NOT INDEXED WHERE start_time < ? AND (end_time IS NULL OR "
            "end_time > ? OR (recurrence_rule IS NOT NULL AND recurrence_rule != '')) AND "
            "deleted_at IS NULL%2");
    const QString shortFrom = Sql::widenedBound(from, -Sql::kZoneSlackSecs - kLongSpanSecs);

    QList<Event> events;
    ZoneCache zones;
    const auto run = [&](const QStringList &ids) {
        const QString filter
            = ids.isEmpty() ? QString() : QStringLiteral(" AND calendar_id ") + Sql::kInJsonList;
        Sql::Reader r(m_db->connection(), sql.arg(kColumns, filter),
                      "EventRepository::listInRange failed:");
        if (indexed) {
            r.bind(shortFrom);
            r.bind(toBound);
            if (!ids.isEmpty())
                r.bind(Sql::jsonList(ids));
            r.bind(m_longRows.rowIds);
            r.bind(toBound);
            r.bind(shortFrom);
        } else {
            r.bind(toBound);
            r.bind(fromBound);
        }
        if (!ids.isEmpty())
            r.bind(Sql::jsonList(ids));
        while (r.next()) {
            Event e = readRow(r, zones);
            if (e.start_time < to
                && (!e.end_time || *e.end_time > from || !e.recurrence_rule.isEmpty()))
                events.append(std::move(e));
        }
        return !r.failed();
    };
    if (calendarIds.isEmpty())
        run({});
    else
        Sql::forEachChunk(calendarIds, run);

    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.start_time < b.start_time; });
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
    ZoneCache zones;
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
        out.append(readRow(r, zones));
    return out;
}

std::optional<Event> EventRepository::oneWithChildren(const QString &sql, const QStringList &values,
                                                      const char *logName) const
{
    std::optional<Event> e = one(sql, values, logName);
    if (!e)
        return e;
    QList<Event> events {std::move(*e)};
    loadChildrenFor(events);
    return events.first();
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
                                                           const QString &recurrenceId) const
{
    // A null recurrence id binds NULL, as the empty text does through COALESCE.
    return oneWithChildren(
        QStringLiteral("SELECT %1 FROM events WHERE uid = ? AND calendar_id = ? AND "
                       "COALESCE(recurrence_id, '') = COALESCE(?, '')"),
        {uid, calendarId, recurrenceId}, "EventRepository::byUidAndRecurrenceId failed:");
}

std::optional<Event> EventRepository::byProviderId(const QString &calendarId,
                                                   const QString &providerEventId) const
{
    if (providerEventId.isEmpty())
        return std::nullopt;
    return oneWithChildren(QStringLiteral("SELECT %1 FROM events WHERE calendar_id = ? AND "
                                          "provider_event_id = ? LIMIT 1"),
                           {calendarId, providerEventId}, "EventRepository::byProviderId failed:");
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
        m_db->connection(), events, owners,
        QStringLiteral("SELECT id, event_id, minutes_before, action, acknowledged, "
                       "trigger_time FROM reminders WHERE event_id %1 ORDER BY "
                       "minutes_before ASC"),
        "EventRepository::loadRemindersFor failed:", &Sql::readReminderRow, &Event::reminders,
        &Reminder::event_id);
    Sql::loadChildrenFor(
        m_db->connection(), events, owners,
        QStringLiteral("SELECT id, event_id, email, name, role, status, type, rsvp FROM "
                       "attendees WHERE event_id %1 ORDER BY name, email"),
        "EventRepository::loadAttendeesFor failed:", &readAttendeeRow, &Event::attendees,
        &Attendee::event_id);
}

struct EventRepository::StoredSchedule
{
    struct Row
    {
        QString id;
        int minutes = 0;
        bool acknowledged = false;
        std::optional<QDateTime> trigger;
        std::optional<QDateTime> handledUntil;
        bool taken = false;
    };
    bool exists = false;
    Event event; // the fields the reminders depend on
    QList<Row> reminders;
};

EventRepository::StoredSchedule EventRepository::storedSchedule(const QString &eventId) const
{
    StoredSchedule stored;
    Sql::Reader r(m_db->connection(),
                  QStringLiteral("SELECT e.start_time, e.timezone, e.is_all_day, "
                                 "e.recurrence_rule, e.recurrence_dates, e.exception_dates, "
                                 "e.master_event_uid, e.recurrence_id, e.deleted_at, "
                                 "r.minutes_before, r.acknowledged, r.trigger_time, "
                                 "r.handled_until, r.id FROM events e LEFT JOIN reminders r ON "
                                 "r.event_id = e.id WHERE e.id = ?"),
                  "EventRepository::update failed:");
    r.bind(eventId);
    while (r.next()) {
        if (!stored.exists) {
            stored.exists = true;
            stored.event.start_time = r.dateTime(0);
            stored.event.timezone = r.text(1);
            stored.event.is_all_day = r.integer(2) != 0;
            stored.event.recurrence_rule = r.text(3);
            stored.event.recurrence_dates = r.text(4);
            stored.event.exception_dates = r.text(5);
            stored.event.master_event_uid = r.text(6);
            stored.event.recurrence_id = r.text(7);
            stored.event.deleted_at = r.optionalDateTime(8);
        }
        if (!r.isNull(13))
            stored.reminders.append({r.text(13), r.integer(9), r.integer(10) != 0,
                                     r.optionalDateTime(11), r.optionalDateTime(12), false});
    }
    return stored;
}

bool EventRepository::writeReminderRows(const Event &event, bool isInsert, StoredSchedule &stored)
{
    // What the stored reminders were timed from; while it holds, they keep how far they got.
    const bool sameTimes = !stored.exists
        || (!(stored.event.deleted_at && !event.deleted_at)
            && stored.event.start_time == event.start_time
            && stored.event.recurrence_rule == event.recurrence_rule
            && stored.event.isOverride() == event.isOverride()
            && (!event.isSeriesMaster()
                || (stored.event.timezone == event.timezone
                    && stored.event.is_all_day == event.is_all_day
                    && stored.event.recurrence_dates == event.recurrence_dates
                    && stored.event.exception_dates == event.exception_dates)));

    QList<Reminder> reminders;
    QList<std::pair<QString, QDateTime>> handled;
    for (Reminder r : event.reminders) {
        const bool own = r.event_id.isEmpty() || r.event_id == event.id;
        r.id = Sql::childId(r.id, r.event_id, event.id);
        r.event_id = event.id;
        StoredSchedule::Row *kept = nullptr;
        bool wasStored = false;
        for (StoredSchedule::Row &row : stored.reminders) {
            wasStored = wasStored || row.id == r.id;
            if (!kept && sameTimes && !row.taken && row.minutes == r.minutes_before)
                kept = &row;
        }
        if (kept && kept->trigger) {
            // The same reminder of an event at the same time: it fires as far as it got, whatever
            // an older copy of the record says.
            kept->taken = true;
            r.trigger_time = kept->trigger;
            r.acknowledged = kept->acknowledged;
            if (kept->handledUntil)
                handled.append({r.id, *kept->handledUntil});
        } else {
            // A changed reminder, one of a moved event or one copied from another event counts
            // from the start anew; a new one of the event's own may bring its trigger.
            const bool anew = wasStored || !sameTimes || !own;
            if (anew || !r.trigger_time)
                r.trigger_time = event.start_time.addSecs(-qint64(r.minutes_before) * 60);
            if (anew)
                r.acknowledged = false;
        }
        reminders.append(r);
    }

    if (!Sql::writeReminderRows(
            m_statements, QStringLiteral("reminders"), QStringLiteral("event_id"), event.id,
            reminders, !isInsert, &Reminder::event_id,
            [](const Reminder &r) { return Sql::dateTime(r.trigger_time); }, "writeReminderRows"))
        return false;
    for (const auto &[id, until] : std::as_const(handled)) {
        QSqlQuery &q = m_statements.get(
            QStringLiteral("UPDATE reminders SET handled_until = ? WHERE id = ?"));
        q.addBindValue(Sql::dateTime(until));
        q.addBindValue(id);
        if (!q.exec()) {
            qWarning() << "writeReminderRows update failed:" << q.lastError().text();
            return false;
        }
    }
    return true;
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

bool EventRepository::writeAttendeeRows(const Event &event, bool replace)
{
    if (replace) {
        QSqlQuery &del
            = m_statements.get(QStringLiteral("DELETE FROM attendees WHERE event_id = ?"));
        del.addBindValue(event.id);
        if (!del.exec()) {
            qWarning() << "writeAttendeeRows delete failed:" << del.lastError().text();
            return false;
        }
    }
    QSqlQuery &q = m_statements.get(
        QStringLiteral("INSERT INTO attendees (id, event_id, email, name, role, status, "
                       "type, rsvp) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Attendee &a : event.attendees) {
        q.addBindValue(Sql::childId(a.id, a.event_id, event.id));
        q.addBindValue(event.id);
        q.addBindValue(Sql::text(a.email));
        q.addBindValue(Sql::text(a.name));
        q.addBindValue(a.role.isEmpty() ? QStringLiteral("required") : a.role);
        q.addBindValue(a.status.isEmpty() ? QStringLiteral("needs-action") : a.status);
        q.addBindValue(Sql::text(a.type));
        q.addBindValue(a.rsvp ? 1 : 0);
        if (!q.exec()) {
            qWarning() << "writeAttendeeRows insert failed:" << q.lastError().text();
            return false;
        }
    }
    return true;
}

bool EventRepository::writeEvent(const Event &e, bool isInsert)
{
    const char *failed
        = isInsert ? "EventRepository::insert failed:" : "EventRepository::update failed:";
    if (isInsert && e.id.isEmpty()) {
        // SQLite would accept a NULL key, and the row could never be found again.
        qWarning() << failed << "the event has no id";
        return false;
    }

    // The row and its child rows are written together or not at all.
    Sql::Savepoint sp(m_statements, QStringLiteral("event_write"));
    if (!sp.isActive()) {
        qWarning() << failed << sp.errorText();
        return false;
    }

    // Read before the row changes: the reminders' timing depends on what was stored.
    StoredSchedule stored = isInsert ? StoredSchedule() : storedSchedule(e.id);

    static const QString insertSql = QStringLiteral("INSERT INTO events (") + kColumns
        + QStringLiteral(") VALUES (") + Sql::placeholders(kColumnCount) + QLatin1Char(')');
    QSqlQuery &q = m_statements.get(
        isInsert
            ? insertSql
            : QStringLiteral(
                "UPDATE events SET calendar_id = ?, uid = ?, provider_event_id = ?, etag = ?, "
                "href = ?, title = ?, description = ?, location = ?, geo_location = ?, "
                "start_time = ?, end_time = ?, is_all_day = ?, timezone = ?, recurrence_rule = ?, "
                "recurrence_dates = ?, exception_dates = ?, recurrence_id = ?, "
                "master_event_uid = ?, status = ?, event_url = ?, conference_url = ?, "
                "organizer_email = ?, organizer_name = ?, sequence = ?, raw_icalendar = ?, "
                "color = ?, last_modified = ?, sync_status = ?, deleted_at = ?, "
                "related_to_uid = ? WHERE id = ?"));
    if (isInsert)
        q.addBindValue(e.id);
    q.addBindValue(Sql::text(e.calendar_id));
    q.addBindValue(Sql::text(e.uid));
    q.addBindValue(Sql::text(e.provider_event_id));
    q.addBindValue(Sql::text(e.etag));
    q.addBindValue(Sql::text(e.href));
    q.addBindValue(Sql::text(e.title));
    q.addBindValue(Sql::text(e.description));
    q.addBindValue(Sql::text(e.location));
    q.addBindValue(Sql::text(e.geo_location));
    q.addBindValue(Sql::dateTime(e.start_time));
    q.addBindValue(Sql::dateTime(e.end_time));
    q.addBindValue(e.is_all_day ? 1 : 0);
    q.addBindValue(Sql::text(e.timezone));
    q.addBindValue(Sql::text(e.recurrence_rule));
    q.addBindValue(Sql::text(e.recurrence_dates));
    q.addBindValue(Sql::text(e.exception_dates));
    q.addBindValue(Sql::text(e.recurrence_id));
    q.addBindValue(Sql::text(e.master_event_uid));
    q.addBindValue(Sql::text(e.status));
    q.addBindValue(Sql::text(e.event_url));
    q.addBindValue(Sql::text(e.conference_url));
    q.addBindValue(Sql::text(e.organizer_email));
    q.addBindValue(Sql::text(e.organizer_name));
    q.addBindValue(e.sequence);
    q.addBindValue(Sql::text(e.raw_icalendar));
    q.addBindValue(Sql::text(e.color));
    if (isInsert) {
        q.addBindValue(Sql::dateTime(e.created));
        q.addBindValue(Sql::dateTime(e.last_modified));
        q.addBindValue(e.sync_status.isEmpty() ? QStringLiteral("synced") : e.sync_status);
    } else {
        q.addBindValue(Sql::dateTime(m_db->currentDateTimeUtc()));
        q.addBindValue(e.sync_status.isEmpty() ? QStringLiteral("pending") : e.sync_status);
    }
    q.addBindValue(Sql::dateTime(e.deleted_at));
    q.addBindValue(Sql::text(e.related_to_uid));
    if (!isInsert)
        q.addBindValue(e.id);

    if (!q.exec()) {
        qWarning() << failed << q.lastError().text();
        return false;
    }
    // A new row has no children yet (the foreign keys allow none without it).
    if (!writeReminderRows(e, isInsert, stored) || !writeAttendeeRows(e, !isInsert)
        || (e.isOverride() && !wakeSeriesReminders(e.id))) {
        qWarning() << failed << "child rows could not be written; nothing was changed";
        return false;
    }
    if (!sp.release()) {
        qWarning() << failed << sp.errorText();
        return false;
    }
    notifyChanged(e.calendar_id);
    return true;
}

bool EventRepository::insert(const Event &event)
{
    return writeEvent(event, true);
}

bool EventRepository::update(const Event &event)
{
    return writeEvent(event, false);
}

QString EventRepository::calendarOf(const QString &id) const
{
    return Sql::readText(m_db->connection(),
                         QStringLiteral("SELECT calendar_id FROM events WHERE id = ?"), {id},
                         "EventRepository::calendarOf failed:");
}

bool EventRepository::remove(const QString &id)
{
    const QString calendarId = calendarOf(id);
    const QVariant now = Sql::dateTime(m_db->currentDateTimeUtc());
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("UPDATE events SET deleted_at = ?, sync_status = 'pending', "
                             "last_modified = ? WHERE id = ?"));
    q.addBindValue(now);
    q.addBindValue(now);
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "EventRepository::remove failed:" << q.lastError().text();
        return false;
    }
    // A removed override gives its occurrence back to the series.
    wakeSeriesReminders(id);
    notifyChanged(calendarId);
    return true;
}

bool EventRepository::deleteChildRows(const QString &table, const QString &eventId)
{
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM %1 WHERE event_id = ?").arg(table));
    q.addBindValue(eventId);
    if (q.exec())
        return true;
    qWarning() << "EventRepository::hardDelete child cleanup failed:" << table << ":"
               << q.lastError().text();
    return false;
}

bool EventRepository::hardDelete(const QString &id)
{
    const QString calendarId = calendarOf(id);
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("event_hard_delete"));
    if (!sp.isActive()) {
        qWarning() << "EventRepository::hardDelete failed:" << sp.errorText();
        return false;
    }
    wakeSeriesReminders(id);
    for (const QString &table : {QStringLiteral("attendees"), QStringLiteral("attachments"),
                                 QStringLiteral("reminders")}) {
        if (!deleteChildRows(table, id))
            return false;
    }
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral("DELETE FROM events WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning() << "EventRepository::hardDelete failed:" << q.lastError().text();
        return false;
    }
    if (!sp.release()) {
        qWarning() << "EventRepository::hardDelete failed:" << sp.errorText();
        return false;
    }
    notifyChanged(calendarId);
    return true;
}

bool EventRepository::markSynced(const QString &id, const QString &href, const QString &etag)
{
    const QString calendarId = calendarOf(id);
    QSqlQuery q(m_db->connection());
    q.prepare(QStringLiteral(
        "UPDATE events SET href = ?, etag = ?, sync_status = 'synced' WHERE id = ?"));
    q.addBindValue(Sql::text(href));
    q.addBindValue(Sql::text(etag));
    q.addBindValue(id);
    if (!q.exec())
        return false;
    notifyChanged(calendarId);
    return true;
}

bool EventRepository::restore(const Event &event)
{
    Event copy = event;
    copy.deleted_at.reset();
    copy.sync_status = QStringLiteral("pending");
    bool ok = false;
    if (byId(copy.id)) {
        ok = update(copy);
        qInfo() << "[Undo] cleared tombstone on existing row" << copy.id << "ok=" << ok;
    } else {
        // The source no longer knows the row: push it as a new event.
        copy.provider_event_id.clear();
        copy.etag.clear();
        copy.href.clear();
        ok = insert(copy);
        qInfo() << "[Undo] re-inserted row" << copy.id << "title=" << copy.title << "ok=" << ok;
    }
    return ok;
}

bool EventRepository::replaceByUid(const QList<Event> &events, QString *error)
{
    if (events.isEmpty())
        return true;
    Sql::Savepoint sp(m_statements, QStringLiteral("event_replace_by_uid"));
    if (!sp.isActive()) {
        qWarning() << "EventRepository::replaceByUid failed:" << sp.errorText();
        if (error)
            *error = sp.errorText();
        return false;
    }
    for (Event event : events) {
        // The same event stored again replaces the earlier copy instead of doubling it.
        const std::optional<Event> existing
            = byUidAndRecurrenceId(event.uid, event.calendar_id, event.recurrence_id);
        event.id = existing ? existing->id : newId();
        if (existing && event.reminders.isEmpty())
            event.reminders = existing->reminders;
        if (existing && event.attendees.isEmpty())
            event.attendees = existing->attendees;
        if (!(existing ? update(event) : insert(event)))
            return false;
    }
    if (!sp.release()) {
        qWarning() << "EventRepository::replaceByUid failed:" << sp.errorText();
        return false;
    }
    notifyChanged(events.last().calendar_id);
    return true;
}

bool EventRepository::purgeCalendar(const QString &calendarId)
{
    static const char *const statements[] = {
        "DELETE FROM reminders WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM attendees WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM attachments WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM events WHERE calendar_id = ?",
    };
    for (const char *sql : statements) {
        QString error;
        if (!Sql::run(m_db->connection(), QString::fromLatin1(sql), {calendarId}, &error)) {
            qWarning() << "EventRepository::purgeCalendar failed:" << error;
            return false;
        }
    }
    notifyChanged(calendarId);
    return true;
}

int EventRepository::purgeByIdPrefix(const QString &prefix)
{
    const QVariantList pattern {Sql::likePrefix(prefix)};
    // Child rows first: a user may have given such an event a reminder, a guest or a file, and
    // those rows would otherwise stop the event's deletion on the foreign key.
    static const char *const statements[] = {
        "DELETE FROM reminders WHERE event_id LIKE ? ESCAPE '\\'",
        "DELETE FROM attendees WHERE event_id LIKE ? ESCAPE '\\'",
        "DELETE FROM attachments WHERE event_id LIKE ? ESCAPE '\\'",
        "DELETE FROM events WHERE id LIKE ? ESCAPE '\\'",
    };
    // The count is of events alone, as the callers report events.
    int events = 0;
    for (const char *sql : statements)
        events = std::max(0,
                          Sql::runCounting(m_db->connection(), QString::fromLatin1(sql), pattern,
                                           "EventRepository::purgeByIdPrefix failed:"));
    notifyChanged(QString());
    return events;
}

std::optional<QList<EventReminderAlert>>
EventRepository::unacknowledgedReminders(const QDateTime &until, QString *error) const
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
                                     "0 AND trigger_time <= ?"),
                      "EventRepository::unacknowledgedReminders failed:");
        r.bind(Sql::widenedBound(until, Sql::kZoneSlackSecs));
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
    ZoneCache zones;
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
            a.event = readRow(r, zones);
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
        q.addBindValue(Sql::dateTime(s.nextTrigger));
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
