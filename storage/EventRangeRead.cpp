// Range reads: the events of a span of time, found through the start-time and series-end indexes,
// with their reminders and attendees, reusing the records of rows unchanged since the last read.

#include "storage/EventRepository.h"

#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/EventRepositoryDetail.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

using namespace EventRepositoryDetail;

namespace {

// Events are found by an index range on their start time when they last at most this long;
// longer ones come from idx_events_series_end.
constexpr qint64 kLongSpanSecs = 7 * 86400;

// Child-row lookups kept for ranges read again: the weeks a user moves between.
constexpr qsizetype kKeptLookups = 8;

} // namespace

QList<Event> EventRepository::listInRange(const QDateTime &from, const QDateTime &to,
                                          const QStringList &calendarIds) const
{
    const QList<std::shared_ptr<const Event>> shared = sharedInRange(from, to, calendarIds);
    QList<Event> events;
    events.reserve(shared.size());
    for (const std::shared_ptr<const Event> &e : shared)
        events.append(*e);
    return events;
}

QList<std::shared_ptr<const Event>>
EventRepository::sharedInRange(const QDateTime &from, const QDateTime &to,
                               const QStringList &calendarIds) const
{
    const QByteArray zone = qgetenv("TZ");
    if (zone != m_range.zone) {
        m_range = RangeRows();
        m_range.zone = zone;
    }
    const Sql::DataVersion at = m_db->rowVersion();
    QList<std::shared_ptr<const Event>> events = readRange(from, to, calendarIds, at);
    if (!at.isValid() || m_db->rowVersion() == at)
        return events;
    // The data moved while it was read, or before, unseen until this read began: rows taken
    // from the cache may be stale, so the read is done again at the new version.
    return readRange(from, to, calendarIds, m_db->rowVersion());
}

struct EventRepository::Found
{
    std::shared_ptr<const RangeEvent> known;
    std::shared_ptr<RangeEvent> built;
    qint64 row = -1; // -1: a row the range caches do not keep

    const RangeEvent &entry() const { return known ? *known : *built; }
    const Event &event() const { return entry().event; }

    // A record built now, with its times as instants.
    static std::shared_ptr<RangeEvent> build(Event &&event)
    {
        auto entry = std::make_shared<RangeEvent>();
        entry->event = std::move(event);
        entry->setInstants();
        return entry;
    }
    // A record of the row the reader stands on. Zoned times may be left to place (see
    // readRowInto): the record then goes on `later`, its instants already set.
    static std::shared_ptr<RangeEvent> read(const Sql::Reader &r, const StoredInstants &instants,
                                            ReadCache &cache, std::vector<RangeEvent *> &later)
    {
        auto entry = std::make_shared<RangeEvent>();
        if (const std::optional<LaterTimes> times
            = readRowInto(r, cache, entry->event, &instants)) {
            entry->startMs = times->start;
            if (times->end)
                entry->endMs = *times->end;
            later.push_back(entry.get());
        } else {
            entry->setInstants();
        }
        entry->bytes = outsideBytes(entry->event);
        return entry;
    }
};

QList<std::shared_ptr<const Event>> EventRepository::readRange(const QDateTime &from,
                                                               const QDateTime &to,
                                                               const QStringList &calendarIds,
                                                               const Sql::DataVersion &at) const
{
    // Stored texts keep their own offsets (or none), so the bounds are widened by the largest
    // offsets and the rows are then filtered exactly by instant.
    const QString toBound = Sql::widenedBound(to, Sql::kZoneSlackSecs);
    const QString fromBound = Sql::widenedBound(from, -Sql::kZoneSlackSecs);
    const QString shortFrom = Sql::widenedBound(from, -Sql::kZoneSlackSecs - kLongSpanSecs);
    // SQLite reads a text without offset as UTC.
    const double fromJulian
        = double(from.toSecsSinceEpoch() - Sql::kZoneSlackSecs) / 86400.0 + 2440587.5;
    // Short rows come from a range on the start time, their ends read from the same index; the
    // rest from the index of rows by the latest end of their occurrences, which leaves out
    // series that are over. A long row that starts near the range comes from both.
    // Each composed once, without and with the calendar filter.
    const auto composed = [](const QString &sql) {
        return std::array<QString, 2> {
            sql.arg(kColumns, QString()),
            sql.arg(kColumns, QStringLiteral(" AND calendar_id ") + Sql::kInJsonList)};
    };
    static const std::array<QString, 2> shortRows = composed(QStringLiteral(
        "SELECT %1, rowid FROM events INDEXED BY idx_events_start_end WHERE start_time >= ? AND "
        "start_time < ? AND (end_time IS NULL OR end_time > ?) AND deleted_at IS NULL%2"));
    static const std::array<QString, 2> longRows = composed(
        QStringLiteral("SELECT %1, rowid FROM events INDEXED BY idx_events_series_end WHERE ")
        + kLongRow + QStringLiteral(" AND ") + seriesEndSql()
        + QStringLiteral(" > ? AND start_time < ?%2"));

    std::vector<Found> found;
    // Rows the start-time range found, sorted before the long rows are looked up among them:
    // only a long row can come twice, so the short ones need no set of their own.
    std::vector<qint64> shortRowIds;
    size_t sortedShortRows = 0;
    ReadCache cache;
    // Records whose zoned times are placed once their rows are read.
    std::vector<RangeEvent *> later;
    m_range.events.beginRead();
    const qint64 fromMs = from.toMSecsSinceEpoch();
    const qint64 toMs = to.toMSecsSinceEpoch();
    const auto inRange = [&](const RangeEvent &e) {
        return e.startMs < toMs
            && (!e.event.end_time || e.endMs > fromMs || !e.event.recurrence_rule.isEmpty());
    };
    const auto read = [&](const std::array<QString, 2> &sql, const QStringList &ids, bool longRows,
                          const auto &bindBounds) {
        Sql::Reader r(m_statements, sql[ids.isEmpty() ? 0 : 1],
                      "EventRepository::listInRange failed:");
        bindBounds(r);
        if (!ids.isEmpty())
            r.bindUtf8(Sql::jsonListUtf8(ids));
        if (longRows && sortedShortRows != shortRowIds.size()) {
            std::sort(shortRowIds.begin(), shortRowIds.end());
            sortedShortRows = shortRowIds.size();
        }
        while (r.next()) {
            const qint64 row = r.integer64(kColumnCount);
            if (!longRows)
                shortRowIds.push_back(row);
            else if (std::binary_search(shortRowIds.begin(), shortRowIds.end(), row))
                continue;
            Found f;
            f.row = row;
            const size_t waiting = later.size();
            if (const auto *known = m_range.events.known(row, at)) {
                f.known = *known;
            } else {
                // The widened bounds bring rows just outside the range: those are not built.
                const StoredInstants instants(r);
                if (instants.outside(r, fromMs, toMs))
                    continue;
                f.built = Found::read(r, instants, cache, later);
            }
            if (inRange(f.entry()))
                found.push_back(std::move(f));
            else
                later.resize(waiting);
        }
        return !r.failed();
    };
    const auto run = [&](const QStringList &ids) {
        return read(shortRows, ids, false,
                    [&](Sql::Reader &r) {
                        r.bind(shortFrom);
                        r.bind(toBound);
                        r.bind(fromBound);
                    })
            && read(longRows, ids, true, [&](Sql::Reader &r) {
                   r.bindReal(fromJulian);
                   r.bind(toBound);
               });
    };
    if (calendarIds.isEmpty()) {
        run({});
    } else if (calendarIds.size() <= Sql::kIdChunkSize) {
        run(calendarIds);
    } else {
        // A calendar named twice in two chunks would bring its rows twice.
        QStringList distinct = calendarIds;
        distinct.removeDuplicates();
        Sql::forEachChunk(distinct, run);
    }

    for (RangeEvent *e : later) {
        Event &event = e->event;
        event.start_time = cache.placedIn(e->startMs, event.timezone, event.raw_icalendar);
        if (event.end_time)
            event.end_time = cache.placedIn(e->endMs, event.timezone, event.raw_icalendar);
    }

    addMastersOfOverrides(found, toBound, [&](Event &&master) {
        Found f;
        f.built = Found::build(std::move(master));
        if (inRange(*f.built))
            found.push_back(std::move(f));
    });

    // By start, equal starts in the order read.
    std::vector<std::pair<qint64, size_t>> order;
    order.reserve(found.size());
    for (size_t i = 0; i < found.size(); ++i)
        order.emplace_back(found[i].entry().startMs, i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<Found> sorted;
    sorted.reserve(found.size());
    for (const auto &[start, i] : order)
        sorted.push_back(std::move(found[i]));
    return withRangeChildren(sorted, at);
}

struct EventRepository::ChildLookup
{
    explicit ChildLookup(const QStringList &ids)
        : byId(size_t(ids.size()))
    {
        // QString's order, compared inline: sorting thousands of ids through
        // QString::operator< costs more than the statements it speeds up. The first four
        // characters, packed into one number, decide nearly every comparison.
        const auto view = [&ids](qsizetype i) {
            const QString &id = ids.at(i);
            return std::u16string_view(reinterpret_cast<const char16_t *>(id.constData()),
                                       size_t(id.size()));
        };
        std::vector<std::pair<quint64, qsizetype>> keyed(size_t(ids.size()));
        for (qsizetype i = 0; i < ids.size(); ++i) {
            const std::u16string_view id = view(i);
            quint64 key = 0;
            for (size_t c = 0; c < 4; ++c)
                key = (key << 16) | (c < id.size() ? quint64(id[c]) : 0);
            keyed[size_t(i)] = {key, i};
        }
        std::sort(keyed.begin(), keyed.end(), [&view](const auto &a, const auto &b) {
            return a.first != b.first ? a.first < b.first : view(a.second) < view(b.second);
        });
        for (size_t i = 0; i < keyed.size(); ++i)
            byId[i] = keyed[i].second;
        QStringList sorted;
        sorted.reserve(ids.size());
        for (const qsizetype i : byId)
            sorted << ids.at(i);
        Sql::forEachChunk(sorted, [this](const QStringList &chunk) {
            chunks << Sql::jsonListUtf8(chunk);
            return true;
        });
    }

    std::vector<qsizetype> byId;
    QList<QByteArray> chunks;
};

namespace {

// What a range read finds of one event's reminders or attendees: the rows, and their records
// unless they are still the rows of the event's known record, in its order and unwritten since.
template<typename Child> struct FoundChildren
{
    QVarLengthArray<qint64, 2> rows;
    QList<Child> records;
    bool asKnown = false;
};

qint64 childBytes(const Reminder &r)
{
    return qint64(sizeof(Reminder)) + textBytes(r.id) + textBytes(r.action);
}

qint64 childBytes(const Attendee &a)
{
    return qint64(sizeof(Attendee)) + textBytes(a.id) + textBytes(a.email) + textBytes(a.name)
        + textBytes(a.role) + textBytes(a.status) + textBytes(a.type);
}

template<typename Child> qint64 childBytes(const QList<Child> &children)
{
    qint64 bytes = 0;
    for (const Child &c : children)
        bytes += childBytes(c);
    return bytes;
}

} // namespace

QList<std::shared_ptr<const Event>>
EventRepository::withRangeChildren(std::vector<Found> &found, const Sql::DataVersion &at) const
{
    struct Children
    {
        FoundChildren<Reminder> reminders;
        FoundChildren<Attendee> attendees;
    };
    std::vector<Children> children(found.size());
    QStringList ids;
    ids.reserve(qsizetype(found.size()));
    for (size_t i = 0; i < found.size(); ++i) {
        ids << found[i].event().id;
        children[i].reminders.asKnown = children[i].attendees.asKnown = bool(found[i].known);
    }
    // A week read again asks for the same events: its lookup is made once.
    std::shared_ptr<const ChildLookup> kept;
    for (qsizetype i = 0; i < m_range.lookups.size() && !kept; ++i) {
        if (m_range.lookups.at(i).first == ids) {
            kept = m_range.lookups.at(i).second;
            m_range.lookups.move(i, 0);
        }
    }
    if (!kept) {
        kept = std::make_shared<const ChildLookup>(ids);
        m_range.lookups.prepend({ids, kept});
        if (m_range.lookups.size() > kKeptLookups)
            m_range.lookups.removeLast();
    }
    const ChildLookup &lookup = *kept;
    // Each statement joins a list of ids with the child table and names each row's event by
    // its place in the list. A known record's rows are only compared, not read.
    const auto read = [&](const QString &sql, int rowidColumn, const char *logName, auto readChild,
                          auto Children::*table, const QVarLengthArray<qint64, 2> RangeEvent::*rows,
                          auto Event::*records, const QHash<qint64, quint64> &writes) {
        for (qsizetype chunk = 0; chunk < lookup.chunks.size(); ++chunk) {
            Sql::Reader r(m_statements, sql, logName);
            r.bindUtf8(lookup.chunks.at(chunk));
            while (r.next()) {
                const qsizetype place = chunk * Sql::kIdChunkSize + r.integer64(1);
                if (place < 0 || size_t(place) >= lookup.byId.size())
                    continue;
                const size_t i = size_t(lookup.byId[size_t(place)]);
                auto &got = children[i].*table;
                const qint64 row = r.integer64(rowidColumn);
                const qsizetype k = got.rows.size();
                got.rows.append(row);
                if (got.asKnown) {
                    const RangeEvent &known = *found[i].known;
                    const QVarLengthArray<qint64, 2> &knownRows = known.*rows;
                    if (k < knownRows.size() && knownRows[k] == row
                        && writes.value(row, 0) <= known.childrenAt)
                        continue;
                    got.asKnown = false;
                    got.records = (known.event.*records).mid(0, k);
                }
                auto child = readChild(r);
                child.event_id = found[i].event().id;
                got.records.append(std::move(child));
            }
            if (r.failed())
                return;
        }
    };
    Sql::SharedTexts actions;
    read(
        QStringLiteral("SELECT r.id, j.key, r.minutes_before, r.action, r.acknowledged, "
                       "r.trigger_time, r.rowid FROM json_each(?) j CROSS JOIN reminders r ON "
                       "r.event_id = j.value ORDER BY j.key, r.minutes_before"),
        6, "EventRepository::loadRemindersFor failed:",
        [&actions](const Sql::Reader &r) { return Sql::readReminderRowSharing(r, actions); },
        &Children::reminders, &RangeEvent::reminderRows, &Event::reminders, m_range.reminderWrites);
    read(QStringLiteral("SELECT a.id, j.key, a.email, a.name, a.role, a.status, a.type, a.rsvp, "
                        "a.rowid FROM json_each(?) j CROSS JOIN attendees a ON a.event_id = "
                        "j.value ORDER BY j.key, a.name, a.email"),
         8, "EventRepository::loadAttendeesFor failed:", &readAttendeeRow, &Children::attendees,
         &RangeEvent::attendeeRows, &Event::attendees, m_range.attendeeWrites);

    QList<std::shared_ptr<const Event>> events;
    events.reserve(qsizetype(found.size()));
    for (size_t i = 0; i < found.size(); ++i) {
        Found &f = found[i];
        Children &c = children[i];
        if (f.known && c.reminders.asKnown && c.attendees.asKnown
            && c.reminders.rows.size() == f.known->reminderRows.size()
            && c.attendees.rows.size() == f.known->attendeeRows.size()) {
            events.append(std::shared_ptr<const Event>(f.known, &f.known->event));
            continue;
        }
        std::shared_ptr<RangeEvent> composed = f.built;
        if (!composed)
            composed = std::make_shared<RangeEvent>(*f.known);
        Event &e = composed->event;
        // Rows still as known, but fewer of them: the known records of those.
        if (c.reminders.asKnown)
            c.reminders.records = e.reminders.mid(0, c.reminders.rows.size());
        if (c.attendees.asKnown)
            c.attendees.records = e.attendees.mid(0, c.attendees.rows.size());
        e.reminders = std::move(c.reminders.records);
        e.attendees = std::move(c.attendees.records);
        composed->reminderRows = c.reminders.rows;
        composed->attendeeRows = c.attendees.rows;
        composed->childrenAt = m_range.childWrites;
        if (f.row >= 0)
            m_range.events.keep(f.row, at, composed,
                                composed->bytes + childBytes(e.reminders)
                                    + childBytes(e.attendees));
        events.append(std::shared_ptr<const Event>(composed, &composed->event));
    }
    return events;
}

// An occurrence moved into a range shows only beside its series, which the range read leaves
// out once the series is over: such series are read by uid.
void EventRepository::addMastersOfOverrides(const std::vector<Found> &found, const QString &toBound,
                                            const std::function<void(Event &&)> &keep) const
{
    // Overrides are few: most reads have none to look for.
    if (std::none_of(found.begin(), found.end(),
                     [](const Found &f) { return f.event().isOverride(); }))
        return;
    QSet<std::pair<QString, QString>> present;
    for (const Found &f : found) {
        const Event &e = f.event();
        if (!e.recurrence_rule.isEmpty() && e.recurrence_id.isEmpty())
            present.insert({e.calendar_id, e.uid});
    }
    QHash<QString, QSet<QString>> missing; // calendars by series uid
    for (const Found &f : found) {
        const Event &e = f.event();
        if (!e.master_event_uid.isEmpty() && !e.recurrence_id.isEmpty()
            && !present.contains({e.calendar_id, e.master_event_uid}))
            missing[e.master_event_uid].insert(e.calendar_id);
    }
    if (missing.isEmpty())
        return;
    ReadCache cache;
    Sql::Reader r(m_db->connection(),
                  QStringLiteral("SELECT %1 FROM events WHERE uid %2 AND (recurrence_id IS NULL "
                                 "OR recurrence_id = '') AND deleted_at IS NULL AND "
                                 "recurrence_rule IS NOT NULL AND recurrence_rule != '' AND "
                                 "start_time < ?")
                      .arg(kColumns, Sql::kInJsonList),
                  "EventRepository::listInRange failed:");
    r.bind(Sql::jsonList(missing.keys()));
    r.bind(toBound);
    while (r.next()) {
        Event master = readRow(r, cache);
        if (missing.value(master.uid).contains(master.calendar_id))
            keep(std::move(master));
    }
}
