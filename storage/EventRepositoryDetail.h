// Reading event rows: the columns, the per-read cache of zones and texts, and the record a row
// makes. What EventRepository's files share; included by no other.
#pragma once

#include "model/ICalendar.h"
#include "model/Records.h"
#include "model/VTimeZone.h"
#include "storage/SqlReader.h"
#include "storage/StoredDateTime.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <memory>
#include <optional>

namespace EventRepositoryDetail {

inline const QString kColumns = QStringLiteral(
    "id, calendar_id, uid, provider_event_id, etag, href, title, description, location, "
    "geo_location, start_time, end_time, is_all_day, timezone, recurrence_rule, "
    "recurrence_dates, exception_dates, recurrence_id, master_event_uid, status, event_url, "
    "conference_url, organizer_email, organizer_name, sequence, raw_icalendar, color, "
    "created, last_modified, sync_status, deleted_at, related_to_uid");
inline constexpr int kColumnCount = 32;

// A range read finds short rows by their start (idx_events_start_end) and series and long rows
// by the latest end of their occurrences (idx_events_series_end). That bound is SQL written apart
// from the recurrence code (migration 013 and EventSeriesEnd.cpp), so tests/storage/
// tst_RangeBounds checks that SQLite uses both indexes and that the bound keeps a series' last
// occurrence.
// The rows the start-time range cannot find (EventSeriesEnd.cpp).
extern const QString kLongRow;
// The latest end of a row's occurrences, in Julian days, as SQL (EventSeriesEnd.cpp).
const QString &seriesEndSql();

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
inline std::optional<LaterTimes> readRowInto(const Sql::Reader &r, ReadCache &cache, Event &e,
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
    // Times of an event in a zone are read into it, the end only when the start is valid. An
    // all-day event's are read as stored: their date is the day, wherever the zone's midnight lies.
    const bool zoned = !e.is_all_day && !e.timezone.isEmpty() && e.timezone != QLatin1String("UTC");
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

inline Event readRow(const Sql::Reader &r, ReadCache &cache)
{
    Event e;
    readRowInto(r, cache, e);
    return e;
}

inline qint64 textBytes(const QString &text)
{
    return 2 * text.size();
}

// What an event's texts and times take beside the record, for the range records' budget
// (shared texts counted in each; a time in a zone holds the zone's data apart).
inline qint64 outsideBytes(const Event &e)
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

inline Attendee readAttendeeRow(const Sql::Reader &r)
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

} // namespace EventRepositoryDetail
