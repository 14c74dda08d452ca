// Writing events with their reminder and attendee rows: one at a time, a batch that replaces the
// stored copies by uid, an undone deletion, a sync's mark. An update writes only what changed: the
// columns whose stored values differ, and the child rows only when they differ from those
// stored. A sync that rewrites thousands of rows after a small change at the source then leaves
// the indexes of the untouched columns and the reminder rows alone.

#include "storage/EventRepository.h"

#include "model/Identifiers.h"
#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/ImportUndoLog.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <array>

namespace {

// The columns both writes set, in the order of rowValues; an insert adds id first and created
// before last_modified, an update sets them by id.
constexpr std::array<const char *, 30> kWritten = {"calendar_id",
                                                   "uid",
                                                   "provider_event_id",
                                                   "etag",
                                                   "href",
                                                   "title",
                                                   "description",
                                                   "location",
                                                   "geo_location",
                                                   "start_time",
                                                   "end_time",
                                                   "is_all_day",
                                                   "timezone",
                                                   "recurrence_rule",
                                                   "recurrence_dates",
                                                   "exception_dates",
                                                   "recurrence_id",
                                                   "master_event_uid",
                                                   "status",
                                                   "event_url",
                                                   "conference_url",
                                                   "organizer_email",
                                                   "organizer_name",
                                                   "sequence",
                                                   "raw_icalendar",
                                                   "color",
                                                   "last_modified",
                                                   "sync_status",
                                                   "deleted_at",
                                                   "related_to_uid"};
// Where these columns sit in kWritten.
enum Written {
    kStart = 9,
    kAllDay = 11,
    kZone = 12,
    kRule = 13,
    kDates = 14,
    kExceptionDates = 15,
    kRecurrenceId = 16,
    kMasterUid = 17,
    kLastModified = 26,
    kDeletedAt = 28,
};
constexpr quint32 kAllWritten = (quint32(1) << kWritten.size()) - 1;
// Update statements kept prepared, one per set of changed columns; past these, rarer sets are
// prepared for their one write.
constexpr int kKeptUpdateShapes = 32;

const QString kReminderColumns = QStringLiteral(
    "id, event_id, minutes_before, action, acknowledged, trigger_time, handled_until");
const QString kAttendeeColumns
    = QStringLiteral("id, event_id, email, name, role, status, type, rsvp");

QString writtenColumns(int from, int to)
{
    QStringList names;
    for (int i = from; i < to; ++i)
        names << QLatin1String(kWritten[size_t(i)]);
    return names.join(QStringLiteral(", "));
}

// The values of the kWritten columns as they are bound.
Sql::RowValues rowValues(const Event &e, const QVariant &lastModified, const QString &syncStatus)
{
    return {Sql::text(e.calendar_id),
            Sql::text(e.uid),
            Sql::text(e.provider_event_id),
            Sql::text(e.etag),
            Sql::text(e.href),
            Sql::text(e.title),
            Sql::text(e.description),
            Sql::text(e.location),
            Sql::text(e.geo_location),
            Sql::dateTime(e.start_time),
            Sql::dateTime(e.end_time),
            e.is_all_day ? 1 : 0,
            Sql::text(e.timezone),
            Sql::text(e.recurrence_rule),
            Sql::text(e.recurrence_dates),
            Sql::text(e.exception_dates),
            Sql::text(e.recurrence_id),
            Sql::text(e.master_event_uid),
            Sql::text(e.status),
            Sql::text(e.event_url),
            Sql::text(e.conference_url),
            Sql::text(e.organizer_email),
            Sql::text(e.organizer_name),
            e.sequence,
            Sql::text(e.raw_icalendar),
            Sql::text(e.color),
            lastModified,
            syncStatus,
            Sql::dateTime(e.deleted_at),
            Sql::text(e.related_to_uid)};
}

// Whether another child of the list already carries this id: a record's own ids win over ids
// taken over from stored rows.
template<typename Child> bool idTaken(const QList<Child> &children, const QString &id)
{
    return std::any_of(children.cbegin(), children.cend(),
                       [&id](const Child &c) { return c.id == id; });
}

} // namespace

struct EventRepository::StoredEvent
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
    // The columns (bits in kWritten order) whose stored values differ from those written now.
    quint32 changed = kAllWritten;
    QList<Row> reminders;
    // The reminder rows as stored; no value when they could not be read.
    std::optional<QList<Sql::RowValues>> reminderRows;
};

EventRepository::StoredEvent EventRepository::storedEvent(const QString &eventId,
                                                          const Sql::RowValues &values) const
{
    const char *failed = "EventRepository::update failed:";
    StoredEvent stored;
    {
        static const QString sql = QStringLiteral("SELECT ")
            + writtenColumns(0, int(kWritten.size())) + QStringLiteral(" FROM events WHERE id = ?");
        Sql::Reader r(m_statements, sql, failed);
        r.bind(eventId);
        if (!r.next())
            return stored;
        const Sql::RowValues row = Sql::readRowValues(r, int(kWritten.size()));
        stored.exists = true;
        stored.changed = 0;
        for (int c = 0; c < int(kWritten.size()); ++c) {
            if (!Sql::sameValue(row.at(c), values.at(c)))
                stored.changed |= quint32(1) << c;
        }
        Event &e = stored.event;
        e.start_time = Sql::parseDateTime(row.at(kStart));
        e.timezone = row.at(kZone).toString();
        e.is_all_day = row.at(kAllDay).toInt() != 0;
        e.recurrence_rule = row.at(kRule).toString();
        e.recurrence_dates = row.at(kDates).toString();
        e.exception_dates = row.at(kExceptionDates).toString();
        e.master_event_uid = row.at(kMasterUid).toString();
        e.recurrence_id = row.at(kRecurrenceId).toString();
        e.deleted_at = Sql::parseOptionalDateTime(row.at(kDeletedAt));
    }
    stored.reminderRows
        = Sql::readOwnedRows(m_statements, QStringLiteral("reminders"), kReminderColumns,
                             QStringLiteral("event_id"), eventId, failed);
    for (const Sql::RowValues &row : stored.reminderRows.value_or(QList<Sql::RowValues>())) {
        stored.reminders.append({row.at(0).toString(), row.at(2).toInt(), row.at(4).toInt() != 0,
                                 Sql::parseOptionalDateTime(row.at(5)),
                                 Sql::parseOptionalDateTime(row.at(6)), false});
    }
    return stored;
}

bool EventRepository::writeReminderRows(const Event &event, bool isInsert, StoredEvent &stored)
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

    QList<Sql::RowValues> rows;
    rows.reserve(event.reminders.size());
    for (Reminder r : event.reminders) {
        const bool own = r.event_id.isEmpty() || r.event_id == event.id;
        const bool withoutId = r.id.isEmpty();
        r.id = Sql::childId(r.id, r.event_id, event.id);
        r.event_id = event.id;
        StoredEvent::Row *kept = nullptr;
        bool wasStored = false;
        for (StoredEvent::Row &row : stored.reminders) {
            wasStored = wasStored || row.id == r.id;
            if (!kept && sameTimes && !row.taken && row.minutes == r.minutes_before)
                kept = &row;
        }
        std::optional<QDateTime> handledUntil;
        if (kept && kept->trigger) {
            // The same reminder of an event at the same time: it fires as far as it got, whatever
            // an older copy of the record says. A copy that came without ids (a pulled one) is
            // the stored row again, which then need not be written.
            kept->taken = true;
            if (withoutId && own && !idTaken(event.reminders, kept->id))
                r.id = kept->id;
            r.trigger_time = kept->trigger;
            r.acknowledged = kept->acknowledged;
            handledUntil = kept->handledUntil;
        } else {
            // A changed reminder, one of a moved event or one copied from another event counts
            // from the start anew; a new one of the event's own may bring its trigger.
            const bool anew = wasStored || !sameTimes || !own;
            if (anew || !r.trigger_time)
                r.trigger_time = event.start_time.addSecs(-qint64(r.minutes_before) * 60);
            if (anew)
                r.acknowledged = false;
            settleOverdue(event, r);
        }
        // In UTC, so that the texts sort as the instants do and the poll can read the earliest
        // ones first.
        Sql::RowValues row = Sql::reminderRowValues(
            event.id, r, &Reminder::event_id,
            r.trigger_time ? Sql::dateTime(r.trigger_time->toUTC()) : QVariant());
        row.append(Sql::dateTime(handledUntil));
        rows.append(std::move(row));
    }
    if (!isInsert && stored.reminderRows && Sql::sameRows(*stored.reminderRows, rows))
        return true;
    return Sql::writeOwnedRows(m_statements, QStringLiteral("reminders"), kReminderColumns,
                               QStringLiteral("event_id"), event.id, rows, !isInsert,
                               "writeReminderRows");
}

bool EventRepository::writeAttendeeRows(const Event &event, bool replace)
{
    std::optional<QList<Sql::RowValues>> stored;
    if (replace)
        stored = Sql::readOwnedRows(m_statements, QStringLiteral("attendees"), kAttendeeColumns,
                                    QStringLiteral("event_id"), event.id,
                                    "writeAttendeeRows read failed:");
    std::vector<bool> taken(size_t(stored ? stored->size() : 0), false);
    QList<Sql::RowValues> rows;
    rows.reserve(event.attendees.size());
    for (const Attendee &a : event.attendees) {
        QString id = Sql::childId(a.id, a.event_id, event.id);
        if (a.id.isEmpty() && (a.event_id.isEmpty() || a.event_id == event.id) && stored
            && !a.email.isEmpty()) {
            // A copy without ids (a pulled one) names its attendees by address: the stored row
            // of the same address is the same attendee.
            for (qsizetype i = 0; i < stored->size(); ++i) {
                const QString storedId = stored->at(i).at(0).toString();
                if (!taken[size_t(i)] && stored->at(i).at(2).toString() == a.email
                    && !idTaken(event.attendees, storedId)) {
                    taken[size_t(i)] = true;
                    id = storedId;
                    break;
                }
            }
        }
        rows.append({id, event.id, Sql::text(a.email), Sql::text(a.name),
                     a.role.isEmpty() ? QStringLiteral("required") : a.role,
                     a.status.isEmpty() ? QStringLiteral("needs-action") : a.status,
                     Sql::text(a.type), a.rsvp ? 1 : 0});
    }
    if (stored && Sql::sameRows(*stored, rows))
        return true;
    return Sql::writeOwnedRows(m_statements, QStringLiteral("attendees"), kAttendeeColumns,
                               QStringLiteral("event_id"), event.id, rows, replace,
                               "writeAttendeeRows");
}

QSqlQuery &EventRepository::updateStatement(quint32 columns, std::optional<QSqlQuery> &oneOff)
{
    QStringList sets;
    for (int c = 0; c < int(kWritten.size()); ++c) {
        if (columns & (quint32(1) << c))
            sets << QLatin1String(kWritten[size_t(c)]) + QStringLiteral(" = ?");
    }
    const QString sql = QStringLiteral("UPDATE events SET ") + sets.join(QStringLiteral(", "))
        + QStringLiteral(" WHERE id = ?");
    if (m_updateShapes.contains(columns) || m_updateShapes.size() < kKeptUpdateShapes) {
        m_updateShapes.insert(columns);
        return m_statements.get(sql);
    }
    oneOff.emplace(m_db->connection());
    oneOff->prepare(sql);
    return *oneOff;
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

    // The row and its child rows are written together or not at all (inside a whole step its
    // owner undoes a failed write).
    std::optional<Sql::Savepoint> sp;
    if (m_wholeSteps == 0) {
        sp.emplace(m_statements, QStringLiteral("event_write"));
        if (!sp->isActive()) {
            qWarning() << failed << sp->errorText();
            return false;
        }
    }

    const QString status = !e.sync_status.isEmpty() ? e.sync_status
        : isInsert                                  ? QStringLiteral("synced")
                                                    : QStringLiteral("pending");
    const Sql::RowValues values = rowValues(
        e, Sql::dateTime(isInsert ? e.last_modified : m_db->currentDateTimeUtc()), status);
    // Read before the row changes: the reminders' timing depends on what was stored, and only
    // the columns that changed are written (last_modified always).
    StoredEvent stored = isInsert ? StoredEvent() : storedEvent(e.id, values);

    std::optional<QSqlQuery> oneOff;
    QSqlQuery *q = nullptr;
    if (isInsert) {
        static const QString insertSql = QStringLiteral("INSERT INTO events (id, ")
            + writtenColumns(0, kLastModified) + QStringLiteral(", created, ")
            + writtenColumns(kLastModified, int(kWritten.size())) + QStringLiteral(") VALUES (")
            + Sql::placeholders(int(kWritten.size()) + 2) + QLatin1Char(')');
        q = &m_statements.get(insertSql);
        q->addBindValue(e.id);
        for (int c = 0; c < int(kWritten.size()); ++c) {
            if (c == kLastModified)
                q->addBindValue(Sql::dateTime(e.created));
            q->addBindValue(values.at(c));
        }
    } else {
        const quint32 columns = stored.changed | (quint32(1) << kLastModified);
        q = &updateStatement(columns, oneOff);
        for (int c = 0; c < int(kWritten.size()); ++c) {
            if (columns & (quint32(1) << c))
                q->addBindValue(values.at(c));
        }
        q->addBindValue(e.id);
    }

    if (!q->exec()) {
        qWarning() << failed << q->lastError().text();
        return false;
    }
    // A new row has no children yet (the foreign keys allow none without it).
    if (!writeReminderRows(e, isInsert, stored) || !writeAttendeeRows(e, !isInsert)
        || (e.isOverride() && !wakeSeriesReminders(e.id))) {
        qWarning() << failed << "child rows could not be written; nothing was changed";
        return false;
    }
    if (sp && !sp->release()) {
        qWarning() << failed << sp->errorText();
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

bool EventRepository::replaceByUid(const QList<Event> &events, QString *error, ImportUndoLog *log)
{
    if (events.isEmpty())
        return true;
    // Inside a whole step (an import's slice) its owner undoes a failed write; a savepoint here,
    // and one for each row, would copy every page the rows touch once more.
    std::optional<Sql::Savepoint> sp;
    if (m_wholeSteps == 0) {
        sp.emplace(m_statements, QStringLiteral("event_replace_by_uid"));
        if (!sp->isActive()) {
            qWarning() << "EventRepository::replaceByUid failed:" << sp->errorText();
            if (error)
                *error = sp->errorText();
            return false;
        }
    }
    const WholeStep step(this);
    for (Event event : events) {
        // The same event stored again replaces the earlier copy instead of doubling it.
        const std::optional<Event> existing
            = byUidAndRecurrenceId(event.uid, event.calendar_id, event.recurrence_id);
        event.id = existing ? existing->id : newOrderedId();
        if (existing && event.reminders.isEmpty())
            event.reminders = existing->reminders;
        if (existing && event.attendees.isEmpty())
            event.attendees = existing->attendees;
        if (log && !(existing ? log->noteReplaced(event.id) : log->noteAdded(event.id)))
            return false;
        if (!(existing ? update(event) : insert(event)))
            return false;
    }
    if (sp && !sp->release()) {
        qWarning() << "EventRepository::replaceByUid failed:" << sp->errorText();
        return false;
    }
    notifyChanged(events.last().calendar_id);
    return true;
}
