// Occurrences in a range: series with their exception and extra dates, and their overrides.

#include "model/Recurrence.h"
#include "model/ContentLine.h"
#include "model/RecurrenceDetail.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <utility>

Q_LOGGING_CATEGORY(lcCalendarExpansion, "calendar.expansion", QtWarningMsg)

using namespace RecurrenceDetail;

namespace {

// "yyyyMMddTHHmmssZ" in UTC, written by hand: it is made for every occurrence of every view.
QString utcStamp(const QDateTime &utc)
{
    const QDate d = utc.date();
    const QTime t = utc.time();
    if (d.year() < 0 || d.year() > 9999)
        return utc.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QChar text[16];
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = QChar(char16_t(u'0' + value % 10));
    };
    put(0, d.year(), 4);
    put(4, d.month(), 2);
    put(6, d.day(), 2);
    text[8] = QLatin1Char('T');
    put(9, t.hour(), 2);
    put(11, t.minute(), 2);
    put(13, t.second(), 2);
    text[15] = QLatin1Char('Z');
    return QString(text, 16);
}

QString recurrenceIdOf(const QDateTime &start)
{
    return utcStamp(start.toUTC());
}

qint64 durationOf(const Event &event)
{
    return event.end_time ? event.start_time.msecsTo(*event.end_time) : kDefaultDurationMs;
}

bool overlaps(const QDateTime &start, const QDateTime &end, const QDateTime &rangeStart,
              const QDateTime &rangeEnd)
{
    return end > rangeStart && start < rangeEnd;
}

// What one master's rule, RDATE and EXDATE lists make of it.
class Series
{
public:
    explicit Series(const Event &master)
        : m_master(master)
        , m_rule(parseRRule(master.recurrence_rule))
        , m_zone(master.start_time)
    {
        const QList<DateEntry> exceptions = parseDateEntries(master.exception_dates);
        for (const DateEntry &e : exceptions) {
            m_exceptionInstants.insert(e.instant.toMSecsSinceEpoch());
            if (e.dateOnly.isValid())
                m_exceptionDates.insert(e.dateOnly);
        }
        const QList<DateEntry> extra = parseDateEntries(master.recurrence_dates);
        for (const DateEntry &e : extra) {
            // A date alone takes the series' time of day.
            m_extraStarts.append(e.dateOnly.isValid()
                                     ? m_zone.at(e.dateOnly, master.start_time.time())
                                     : m_zone.convert(e.instant));
        }
    }

    // The starts from `window` on and before rangeEnd, exceptions removed, ascending.
    QList<QDateTime> starts(const QDateTime &window, const QDateTime &rangeEnd) const
    {
        QList<QDateTime> all = StartGenerator(m_rule, m_master.start_time, window, rangeEnd).run();
        for (const QDateTime &s : m_extraStarts) {
            if (s.isValid() && s < rangeEnd && (!window.isValid() || s >= window))
                all.append(s);
        }
        if (!m_extraStarts.isEmpty()) {
            std::sort(all.begin(), all.end());
            all.erase(std::unique(all.begin(), all.end()), all.end());
        }
        all.removeIf([this](const QDateTime &s) { return isException(s); });
        return all;
    }

    bool isException(const QDateTime &start) const
    {
        if (!m_exceptionInstants.isEmpty()
            && m_exceptionInstants.contains(start.toMSecsSinceEpoch()))
            return true;
        // A date alone names that day of an all-day series, wherever its midnight lies.
        return m_master.is_all_day && !m_exceptionDates.isEmpty()
            && m_exceptionDates.contains(start.date());
    }

private:
    const Event &m_master;
    const RRule m_rule;
    const ZoneOf m_zone;
    QSet<qint64> m_exceptionInstants;
    QSet<QDate> m_exceptionDates;
    QList<QDateTime> m_extraStarts;
};

Event occurrenceOf(const Event &master, const QDateTime &start, const QDateTime &end,
                   qint64 startMs)
{
    Event occ = master;
    occ.start_time = start;
    occ.end_time = end;
    occ.recurrence_id = utcStamp(QDateTime::fromMSecsSinceEpoch(startMs, Qt::UTC));
    return occ;
}

QString overrideKey(const QString &uid, const QString &recurrenceId)
{
    return uid + QLatin1Char('|') + recurrenceId;
}

bool isOverride(const Event &e)
{
    return !e.master_event_uid.isEmpty() && !e.recurrence_id.isEmpty();
}

// A cancelled override is how a source says that one occurrence no longer takes place.
bool isCancelled(const Event &e)
{
    return e.status == QLatin1String("cancelled");
}

// Whether the slot an override names is a start of its master that no exception removed.
bool isRealSlot(const Series &series, const QString &recurrenceId)
{
    const DateEntry slot = parseDateEntry(recurrenceId);
    if (!slot.instant.isValid())
        return false;
    const QList<QDateTime> found = series.starts(slot.instant, slot.instant.addMSecs(1));
    return found.size() == 1 && recurrenceIdOf(found.first()) == recurrenceId;
}

// The date a RECURRENCE-ID in the stored text names as its writer wrote it: the date of a DATE
// or the wall-clock date of a local or zoned date-time. Invalid for a UTC value or none.
QDate writtenRecurrenceDate(const QString &raw)
{
    QDate found;
    forEachUnfoldedLine(raw, [&found](QStringView line) {
        if (found.isValid()
            || contentLineName(line).compare(QLatin1String("RECURRENCE-ID"), Qt::CaseInsensitive)
                != 0)
            return;
        const std::optional<ICalendarTimeFields> fields
            = readICalendarTimeFields(parseContentLine(line).value);
        if (fields && !fields->utc)
            found = fields->date;
    });
    return found;
}

// A date-only series has one slot a day. Some servers write an override's RECURRENCE-ID as
// local midnight in their own zone, an instant on no slot: such an override takes the slot of
// the date it was written with, unless another override names that slot exactly.
void matchOverridesByDate(const Event &master, QStringList &slotIds,
                          QHash<QString, Event> &overrides)
{
    const ZoneOf zone(master.start_time);
    const QTime timeOfDay = master.start_time.time();
    const auto slotOn = [&](const QDate &date) {
        return recurrenceIdOf(zone.at(date, timeOfDay));
    };
    for (QString &slotId : slotIds) {
        const DateEntry entry = parseDateEntry(slotId);
        if (!entry.instant.isValid() || slotOn(zone.convert(entry.instant).date()) == slotId)
            continue;
        const QString oldKey = overrideKey(master.uid, slotId);
        const auto it = overrides.constFind(oldKey);
        const QDate written = it == overrides.constEnd()
            ? QDate()
            : writtenRecurrenceDate(it.value().raw_icalendar);
        if (!written.isValid())
            continue;
        const QString slot = slotOn(written);
        const QString newKey = overrideKey(master.uid, slot);
        if (overrides.contains(newKey))
            continue;
        overrides.insert(newKey, overrides.take(oldKey));
        slotId = slot;
    }
}

} // namespace

QList<Event> expandRecurringMaster(const Event &master, const QDateTime &rangeStart,
                                   const QDateTime &rangeEnd)
{
    if (master.recurrence_rule.isEmpty()) {
        if (!master.start_time.isValid() || !(master.start_time < rangeEnd))
            return {};
        if (master.end_time && !(*master.end_time > rangeStart))
            return {};
        return {master};
    }
    if (!master.start_time.isValid())
        return {};

    const qint64 duration = durationOf(master);
    // Starts before the window cannot reach into the range; one at its very edge ends as the
    // range begins, so the window starts a millisecond later and the bound on the number of
    // starts counts only those in the range.
    const QDateTime window = rangeStart.isValid() ? rangeStart.addMSecs(1 - duration) : QDateTime();
    const QList<QDateTime> starts = Series(master).starts(window, rangeEnd);

    QList<Event> result;
    result.reserve(starts.size());
    // Each start is read as an instant once: comparing a local time converts it every time.
    const bool bounded = rangeStart.isValid() && rangeEnd.isValid();
    const qint64 rangeStartMs = bounded ? rangeStart.toMSecsSinceEpoch() : 0;
    const qint64 rangeEndMs = bounded ? rangeEnd.toMSecsSinceEpoch() : 0;
    const ZoneOf zone(master.start_time);
    for (const QDateTime &s : starts) {
        const qint64 startMs = s.toMSecsSinceEpoch();
        if (bounded && !(startMs + duration > rangeStartMs && startMs < rangeEndMs))
            continue;
        const QDateTime occEnd
            = zone.convert(QDateTime::fromMSecsSinceEpoch(startMs + duration, Qt::UTC));
        if (bounded || overlaps(s, occEnd, rangeStart, rangeEnd))
            result.append(occurrenceOf(master, s, occEnd, startMs));
    }
    return result;
}

namespace {

// Plain events are copied from a list the caller keeps, or moved out of one it hands over.
template<bool Move, typename List>
QList<Event> expandList(List &events, const QDateTime &rangeStart, const QDateTime &rangeEnd)
{
    using EventPtr = std::conditional_t<Move, Event *, const Event *>;
    QHash<QString, Event> overrides;
    QHash<QString, QStringList> overrideKeysByMaster;
    QList<EventPtr> plain;
    QList<const Event *> masters;
    for (auto &e : events) {
        if (isOverride(e)) {
            const QString key = overrideKey(e.master_event_uid, e.recurrence_id);
            if (!overrides.contains(key))
                overrideKeysByMaster[e.master_event_uid].append(e.recurrence_id);
            overrides.insert(key, e);
        } else if (e.recurrence_rule.isEmpty()) {
            plain.append(&e);
        } else {
            masters.append(&e);
        }
    }

    QList<Event> result;
    result.reserve(plain.size() + 4 * masters.size());
    for (EventPtr e : std::as_const(plain)) {
        if constexpr (Move)
            result.append(std::move(*e));
        else
            result.append(*e);
    }

    for (const Event *master : std::as_const(masters)) {
        QList<Event> occurrences = expandRecurringMaster(*master, rangeStart, rangeEnd);
        if (occurrences.isEmpty() && lcCalendarExpansion().isDebugEnabled()) {
            const QString line = QStringLiteral("master uid=") + master->uid
                + QStringLiteral(" title=") + master->title + QStringLiteral(" rrule=")
                + master->recurrence_rule + QStringLiteral(" dtstart=")
                + master->start_time.toString(Qt::ISODate)
                + QStringLiteral(" \u2192 0 occurrences in range ")
                + rangeStart.toString(Qt::ISODate) + QStringLiteral(" ... ")
                + rangeEnd.toString(Qt::ISODate);
            qCDebug(lcCalendarExpansion, "%s", qUtf8Printable(line));
        }

        QStringList slotIds = overrideKeysByMaster.value(master->uid);
        if (slotIds.isEmpty()) {
            result.append(std::move(occurrences));
            continue;
        }
        if (master->is_all_day)
            matchOverridesByDate(*master, slotIds, overrides);

        // Each entry keeps the instant of the slot it fills, so moved occurrences stay in order.
        QList<std::pair<qint64, Event>> placed;
        placed.reserve(occurrences.size() + slotIds.size());
        QSet<QString> handled;
        for (const Event &occ : occurrences) {
            const QString key = overrideKey(master->uid, occ.recurrence_id);
            const auto it = overrides.constFind(key);
            if (it == overrides.constEnd()) {
                placed.append({occ.start_time.toMSecsSinceEpoch(), occ});
                continue;
            }
            handled.insert(occ.recurrence_id);
            const Event &moved = it.value();
            if (isCancelled(moved))
                continue;
            const QDateTime movedEnd
                = moved.end_time ? *moved.end_time : moved.start_time.addMSecs(kDefaultDurationMs);
            if (overlaps(moved.start_time, movedEnd, rangeStart, rangeEnd))
                placed.append({occ.start_time.toMSecsSinceEpoch(), moved});
        }

        // Overrides whose original slot lies outside the range but that were moved into it.
        std::optional<Series> series;
        for (const QString &slotId : slotIds) {
            if (handled.contains(slotId))
                continue;
            const Event &moved = overrides[overrideKey(master->uid, slotId)];
            if (isCancelled(moved))
                continue;
            const QDateTime movedEnd
                = moved.end_time ? *moved.end_time : moved.start_time.addMSecs(kDefaultDurationMs);
            if (!moved.start_time.isValid()
                || !overlaps(moved.start_time, movedEnd, rangeStart, rangeEnd))
                continue;
            if (!series)
                series.emplace(*master);
            if (isRealSlot(*series, slotId))
                placed.append({parseDateEntry(slotId).instant.toMSecsSinceEpoch(), moved});
        }
        std::stable_sort(placed.begin(), placed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (auto &p : placed)
            result.append(std::move(p.second));
    }
    return result;
}

} // namespace

QList<Event> expandOccurrences(const QList<Event> &events, const QDateTime &rangeStart,
                               const QDateTime &rangeEnd)
{
    return expandList<false>(events, rangeStart, rangeEnd);
}

QList<Event> expandOccurrences(QList<Event> &&events, const QDateTime &rangeStart,
                               const QDateTime &rangeEnd)
{
    return expandList<true>(events, rangeStart, rangeEnd);
}
