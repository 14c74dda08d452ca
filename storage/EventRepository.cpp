#include "storage/EventRepository.h"

#include "model/ICalendar.h"
#include "model/Identifiers.h"
#include "model/Recurrence.h"
#include "model/VTimeZone.h"
#include "storage/ChildRows.h"
#include "storage/Database.h"
#include "storage/ImportUndoLog.h"
#include "storage/Savepoint.h"
#include "storage/SqlHelpers.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDebug>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace {

const QString kColumns = QStringLiteral(
    "id, calendar_id, uid, provider_event_id, etag, href, title, description, location, "
    "geo_location, start_time, end_time, is_all_day, timezone, recurrence_rule, "
    "recurrence_dates, exception_dates, recurrence_id, master_event_uid, status, event_url, "
    "conference_url, organizer_email, organizer_name, sequence, raw_icalendar, color, "
    "created, last_modified, sync_status, deleted_at, related_to_uid");
constexpr int kColumnCount = 32;

// Events are found by an index range on their start time when they last at most this long;
// longer ones come from idx_events_series_end.
constexpr qint64 kLongSpanSecs = 7 * 86400;

// Child-row lookups kept for ranges read again: the weeks a user moves between.
constexpr qsizetype kKeptLookups = 8;

// Child-row writes remembered one by one before the range records are dropped instead.
constexpr qsizetype kMaxNotedChildWrites = 1 << 16;

// The rows the start-time range cannot find: series, rows without an end or with ends SQLite
// cannot read, and rows longer than six days (the margin covers texts with and without offsets).
// Written as idx_events_series_end has it, which SQLite needs to use that index.
const QString kLongRow = QStringLiteral(
    "deleted_at IS NULL AND ((recurrence_rule IS NOT NULL AND recurrence_rule != '') OR "
    "end_time IS NULL OR julianday(end_time) IS NULL OR julianday(start_time) IS NULL OR "
    "julianday(end_time) - julianday(start_time) > 6)");

// The latest moment, in Julian days, at which an occurrence of the row can end: a single event's
// end; for a series, what its UNTIL or COUNT allows where the rule is simple enough to tell in
// SQL (COUNT periods of the longest length, and a week for a first week without a start), plus
// three days for zones and a date-only UNTIL, plus one occurrence's length; 1e7 where
// nothing bounds it. Anything the reader of rules would not take (a repeated key, a number with
// other characters, a date that does not exist) counts as no bound. This is the key of
// idx_events_series_end, composed exactly as in its migration.
const QString &seriesEndSql()
{
    static const QString sql = [] {
        const QString r = QStringLiteral("(';' || upper(recurrence_rule) || ';')");
        const auto at = [&r](const char *key) {
            return QStringLiteral("instr(%1, ';%2=')").arg(r, QLatin1String(key));
        };
        const auto single = [&](const char *key) {
            return QStringLiteral("instr(substr(%1, %2 + 1), ';%3=') = 0")
                .arg(r, at(key), QLatin1String(key));
        };
        const auto window = [&](const char *key, int n) {
            return QStringLiteral("substr(%1, %2 + %3, %4)")
                .arg(r, at(key))
                .arg(qstrlen(key) + 2)
                .arg(n);
        };
        const QString digits8 = QStringLiteral("[0-9]").repeated(8);
        const QString digits6 = QStringLiteral("[0-9]").repeated(6);
        const QString u = window("UNTIL", 17);
        const QString date
            = QStringLiteral("(substr(%1, 1, 4) || '-' || substr(%1, 5, 2) || '-' || "
                             "substr(%1, 7, 2))")
                  .arg(u);
        const QString until
            = QStringLiteral("CASE WHEN %1 > 0 AND %2 AND date(%3, '+0 days') = %3 AND %3 >= "
                             "'0001' AND (%4 GLOB '%5;*' OR ((%4 GLOB '%5T%6;*' OR %4 GLOB "
                             "'%5T%6Z;*') AND substr(%4, 10, 2) < '24' AND substr(%4, 12, 2) < "
                             "'60' AND substr(%4, 14, 2) < '60')) THEN julianday(%3) + 1 ELSE "
                             "1e7 END")
                  .arg(at("UNTIL"), single("UNTIL"), date, u, digits8, digits6);
        const auto numberOk = [&](const char *key) {
            const QString w = window(key, 10);
            return QStringLiteral("%1 > 0 AND %2 AND %3 GLOB '[1-9]*' AND substr(%3, "
                                  "length(CAST(CAST(%3 AS INTEGER) AS TEXT)) + 1, 1) = ';'")
                .arg(at(key), single(key), w);
        };
        const QString withoutTimes
            = QStringLiteral("replace(replace(replace(%1, ';BYHOUR=', ';'), ';BYMINUTE=', ';'), "
                             "';BYSECOND=', ';')")
                  .arg(r);
        const QString daysOnly
            = QStringLiteral("instr(replace(%1, ';BYDAY=', ';'), ';BY') = 0").arg(withoutTimes);
        const QString noBy = QStringLiteral("instr(%1, ';BY') = 0").arg(withoutTimes);
        const QString period
            = QStringLiteral(
                  "CASE WHEN instr(%1, ';FREQ=DAILY;') > 0 AND %2 THEN CASE WHEN instr(%1, "
                  "';BYDAY=') > 0 THEN 7 ELSE 1 END WHEN instr(%1, ';FREQ=WEEKLY;') > 0 AND %2 "
                  "THEN 7 WHEN instr(%1, ';FREQ=MONTHLY;') > 0 AND %3 THEN 31 WHEN instr(%1, "
                  "';FREQ=YEARLY;') > 0 AND %3 THEN 366 END")
                  .arg(r, daysOnly, noBy);
        const QString count
            = QStringLiteral(
                  "CASE WHEN %1 AND %2 AND (%3 = 0 OR %4) THEN COALESCE(julianday(start_time) + "
                  "7 + CAST(%5 AS INTEGER) * CASE WHEN %3 = 0 THEN 1 ELSE CAST(%6 AS INTEGER) END "
                  "* (%7), 1e7) ELSE 1e7 END")
                  .arg(numberOk("COUNT"), single("FREQ"), at("INTERVAL"), numberOk("INTERVAL"),
                       window("COUNT", 10), window("INTERVAL", 10), period);
        return QStringLiteral(
                   "CASE WHEN recurrence_rule IS NULL OR recurrence_rule = '' THEN "
                   "COALESCE(julianday(end_time), 1e7) WHEN recurrence_dates IS NOT NULL AND "
                   "recurrence_dates NOT IN ('', '[]') THEN 1e7 ELSE "
                   "COALESCE(max(julianday(start_time), min(%1, %2)) + 3 + CASE WHEN end_time IS "
                   "NULL THEN 1.0 / 24 ELSE max(0, julianday(end_time) - julianday(start_time)) "
                   "END, 1e7) END")
            .arg(until, count);
    }();
    return sql;
}

// What one read looks up once and shares among its rows: zones (building one from the zone
// database, or from a definition in the stored text, is costly) and the texts that repeat from
// row to row.
class ReadCache
{
public:
    // The value moved into the named zone as toTimeZone() would; the value itself when the zone
    // is unknown. Events share their times (meetings start on the hour), and the zone database
    // is slow to ask, so each instant is placed once.
    QDateTime inZone(const QDateTime &t, const QString &name, const QString &raw)
    {
        if (!t.isValid() || !zoneOf(name, raw).isValid())
            return t;
        return placed(t.toMSecsSinceEpoch());
    }

    // The stored text of a time read into the named zone: as parsing it and calling inZone(),
    // but a text with Z or an offset gives its instant without a date-time of its own.
    QDateTime inZone(QByteArrayView text, const QString &name, const QString &raw)
    {
        if (const std::optional<qint64> ms = Sql::parseUtf8Instant(text)) {
            if (zoneOf(name, raw).isValid())
                return placed(*ms);
        }
        return inZone(Sql::parseUtf8DateTime(text), name, raw);
    }

    // Whether the named zone is one the store knows: only then are times placed in it.
    bool knowsZone(const QString &name, const QString &raw)
    {
        return zoneOf(name, raw).isValid();
    }
    // An instant placed in the named zone, which must be one the store knows.
    QDateTime placedIn(qint64 ms, const QString &name, const QString &raw)
    {
        zoneOf(name, raw);
        return placed(ms);
    }

    // A stored UTC time read as Reader::dateTime() reads it; rows written together share their
    // created and modified times, so the text last read is read once.
    QDateTime dateTime(const Sql::Reader &r, int column)
    {
        const QByteArrayView text = r.utf8(column);
        if (text.size() <= qsizetype(sizeof m_lastText) && text.size() == m_lastSize
            && std::equal(text.begin(), text.end(), m_lastText))
            return m_lastValue;
        m_lastValue = Sql::parseUtf8DateTime(text);
        m_lastSize = text.size() <= qsizetype(sizeof m_lastText) ? text.size() : -1;
        if (m_lastSize >= 0)
            std::copy(text.begin(), text.end(), m_lastText);
        return m_lastValue;
    }

    Sql::SharedTexts texts;

private:
    char m_lastText[32] = {};
    qsizetype m_lastSize = -1;
    QDateTime m_lastValue;

    struct Zone
    {
        QTimeZone zone;
        // Instants placed lately, each in the slot its value picks: a later one in the same
        // slot takes it over. Cheaper than a hash for the many reads where few repeat.
        std::array<std::pair<qint64, QDateTime>, 64> times;

        Zone() { times.fill({std::numeric_limits<qint64>::min(), QDateTime()}); }
    };

    const QTimeZone &zoneOf(const QString &name, const QString &raw)
    {
        // A row's start and end, and rows after rows, are mostly in one zone.
        if (!m_last || m_lastName != name) {
            std::unique_ptr<Zone> &zone = m_zones[name];
            if (!zone) {
                zone = std::make_unique<Zone>();
                zone->zone = eventTimeZone(name, raw).value_or(QTimeZone());
            }
            m_last = zone.get();
            m_lastName = name;
        }
        return m_last->zone;
    }

    // The instant in the zone last asked for, which must be valid.
    QDateTime placed(qint64 ms)
    {
        auto &[at, value]
            = m_last->times[size_t((quint64(ms / 1000) * 0x9E3779B97F4A7C15ULL) >> 58)];
        if (at != ms || !value.isValid()) {
            at = ms;
            value = QDateTime::fromMSecsSinceEpoch(ms, m_last->zone);
        }
        return value;
    }
    std::map<QString, std::unique_ptr<Zone>> m_zones;
    // The zone last asked for, found again without hashing its name.
    Zone *m_last = nullptr;
    QString m_lastName;
};

// The instants of a row's start and end where they are stored with Z or an offset: a range read
// tells from them, before it reads the rest, whether the row is in the range.
struct StoredInstants
{
    bool endStored = false;
    std::optional<qint64> start;
    std::optional<qint64> end;

    explicit StoredInstants(const Sql::Reader &r)
    {
        start = Sql::parseUtf8Instant(r.utf8(10));
        const QByteArrayView stored = r.utf8(11);
        endStored = !stored.isEmpty();
        if (endStored)
            end = Sql::parseUtf8Instant(stored);
    }

    // Whether the row surely lies outside [fromMs, toMs): as the range read's own test on the
    // record would find, for rows whose times this can tell.
    bool outside(const Sql::Reader &r, qint64 fromMs, qint64 toMs) const
    {
        if (!start)
            return false;
        if (*start >= toMs)
            return true;
        return end && *end <= fromMs && r.utf8(14).isEmpty();
    }
};

// The instants of a zoned event's times, left to be placed in its zone after the rows are read.
struct LaterTimes
{
    qint64 start = 0;
    std::optional<qint64> end;
};

// Reads the row into e. Given the row's instants (placeLater), the times of an event in a known
// zone that are stored as instants are left out and their instants returned: placing many in a
// zone at once keeps the zone code and SQLite's from taking turns in the processor's cache at
// every row. The start is then invalid and an end, if any, is invalid too.
std::optional<LaterTimes> readRowInto(const Sql::Reader &r, ReadCache &cache, Event &e,
                                      const StoredInstants *placeLater = nullptr)
{
    r.texts({{0, &e.id},
             {2, &e.uid},
             {3, &e.provider_event_id},
             {4, &e.etag},
             {5, &e.href},
             {6, &e.title},
             {7, &e.description},
             {8, &e.location},
             {9, &e.geo_location},
             {14, &e.recurrence_rule},
             {15, &e.recurrence_dates},
             {16, &e.exception_dates},
             {17, &e.recurrence_id},
             {18, &e.master_event_uid},
             {20, &e.event_url},
             {21, &e.conference_url},
             {22, &e.organizer_email},
             {23, &e.organizer_name},
             {25, &e.raw_icalendar},
             {26, &e.color},
             {31, &e.related_to_uid}});
    e.calendar_id = cache.texts.text(r, 1);
    e.is_all_day = r.integer(12) != 0;
    e.timezone = cache.texts.text(r, 13);
    // Times of an event in a zone are read into it, the end only when the start is valid.
    const bool zoned = !e.timezone.isEmpty() && e.timezone != QLatin1String("UTC");
    const QByteArrayView start = r.utf8(10);
    const QByteArrayView end = r.utf8(11);
    std::optional<LaterTimes> later;
    if (zoned && placeLater) {
        const std::optional<qint64> &startMs = placeLater->start;
        const std::optional<qint64> &endMs = placeLater->end;
        if (startMs && (!placeLater->endStored || endMs)
            && cache.knowsZone(e.timezone, e.raw_icalendar)) {
            later = LaterTimes {*startMs, endMs};
            if (endMs)
                e.end_time = QDateTime();
        }
    }
    if (!later) {
        e.start_time = zoned ? cache.inZone(start, e.timezone, e.raw_icalendar)
                             : Sql::parseUtf8DateTime(start);
        if (!end.isEmpty())
            e.end_time = zoned && e.start_time.isValid()
                ? cache.inZone(end, e.timezone, e.raw_icalendar)
                : Sql::parseUtf8DateTime(end);
    }
    e.status = cache.texts.text(r, 19);
    e.sequence = r.integer(24);
    e.created = cache.dateTime(r, 27);
    e.last_modified = cache.dateTime(r, 28);
    e.sync_status = cache.texts.text(r, 29);
    e.deleted_at = r.optionalDateTime(30);
    return later;
}

Event readRow(const Sql::Reader &r, ReadCache &cache)
{
    Event e;
    readRowInto(r, cache, e);
    return e;
}

qint64 textBytes(const QString &text)
{
    return 2 * text.size();
}

// What an event's texts and times take beside the record, for the range records' budget
// (shared texts counted in each; a time in a zone holds the zone's data apart).
qint64 outsideBytes(const Event &e)
{
    qint64 bytes = 4 * 48;
    for (const QString *t : {&e.id,
                             &e.calendar_id,
                             &e.uid,
                             &e.provider_event_id,
                             &e.etag,
                             &e.href,
                             &e.title,
                             &e.description,
                             &e.location,
                             &e.geo_location,
                             &e.timezone,
                             &e.recurrence_rule,
                             &e.recurrence_dates,
                             &e.exception_dates,
                             &e.recurrence_id,
                             &e.master_event_uid,
                             &e.status,
                             &e.event_url,
                             &e.conference_url,
                             &e.organizer_email,
                             &e.organizer_name,
                             &e.raw_icalendar,
                             &e.color,
                             &e.sync_status,
                             &e.related_to_uid})
        bytes += textBytes(*t);
    return bytes;
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

void EventRepository::settleOverdue(const Event &event, Reminder &r) const
{
    if (r.acknowledged || !r.trigger_time || !r.trigger_time->isValid()
        || !event.start_time.isValid())
        return;
    const QDateTime now = m_db->currentDateTimeUtc();
    const QDateTime late = now.addSecs(-kReminderLateSecs);
    if (!event.isSeriesMaster()) {
        // A file or a sync bringing years of history leaves the poll nothing to catch up on.
        if (event.start_time <= late)
            r.acknowledged = true;
        return;
    }
    if (*r.trigger_time > now)
        return;
    // The next look is due at the first occurrence still owed its reminder: a day ahead, then
    // a month, then a year, as the poll looks.
    const qint64 offset = qint64(r.minutes_before) * 60;
    QDateTime from = late;
    for (const int days : {1, 32, 366}) {
        const QDateTime to = now.addSecs(offset).addDays(days);
        for (const Event &occurrence : expandRecurringMaster(event, from, to)) {
            if (occurrence.start_time > late) {
                r.trigger_time = occurrence.start_time.addSecs(-offset);
                return;
            }
        }
        from = to;
    }
    r.trigger_time = from.addSecs(-offset);
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

bool EventRepository::replaceByUid(const QList<Event> &events, QString *error, ImportUndoLog *log)
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
        if (log && !(existing ? log->noteReplaced(event.id) : log->noteAdded(event.id)))
            return false;
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

bool EventRepository::purgeCalendar(const QString &calendarId, QString *error)
{
    Sql::Savepoint sp(m_db->connection(), QStringLiteral("event_purge_calendar"));
    QString failure = sp.errorText();
    // Child rows first: the foreign keys keep an event with children.
    static const char *const statements[] = {
        "DELETE FROM reminders WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM attendees WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM attachments WHERE event_id IN (SELECT id FROM events WHERE calendar_id = ?)",
        "DELETE FROM events WHERE calendar_id = ?",
    };
    bool ok = sp.isActive();
    for (const char *sql : statements) {
        if (ok)
            ok = Sql::run(m_db->connection(), QString::fromLatin1(sql), {calendarId}, &failure);
    }
    if (ok && !sp.release()) {
        ok = false;
        failure = sp.errorText();
    }
    if (!ok) {
        qWarning() << "EventRepository::purgeCalendar failed:" << failure;
        if (error)
            *error = failure;
        return false;
    }
    notifyChanged(calendarId);
    return true;
}

std::optional<QList<EventReminderAlert>>
EventRepository::unacknowledgedReminders(const QDateTime &until, QString *error,
                                         const QStringList &skip) const
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
                                     "0 AND trigger_time <= ? AND id NOT IN (SELECT value FROM "
                                     "json_each(?)) ORDER BY trigger_time LIMIT ?"),
                      "EventRepository::unacknowledgedReminders failed:");
        r.bind(Sql::widenedBound(until, Sql::kZoneSlackSecs));
        r.bind(Sql::jsonList(skip));
        r.bind(qint64(kReminderPollBatch));
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
    ReadCache cache;
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
            a.event = readRow(r, cache);
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
        q.addBindValue(Sql::dateTime(s.nextTrigger.toUTC()));
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
