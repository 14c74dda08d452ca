#include "model/EventTimeRewrite.h"

#include "model/ICalendar.h"
#include "model/ICalendarEventReader.h"
#include "model/JsonText.h"
#include "model/SeriesDateMove.h"
#include "model/VTimeZone.h"

#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <optional>

namespace {

// How a DTSTART or DTEND line states its time, so the new time is written the same way.
struct TimeForm
{
    bool date = false;
    QString tzid; // raw parameter value, only when the zone is known
    QTimeZone zone;
};

TimeForm timeFormOf(const ContentLine &line)
{
    TimeForm form;
    const QString valueType = paramValue(line.params, QStringLiteral("VALUE"));
    const std::optional<ICalendarTimeFields> fields = readICalendarTimeFields(line.value);
    form.date = valueType.compare(QLatin1String("DATE"), Qt::CaseInsensitive) == 0
        || (valueType.isEmpty() && fields && fields->dateOnly);
    if (form.date)
        return form;
    const QString tzid = paramValue(line.params, QStringLiteral("TZID"));
    if (const std::optional<QTimeZone> zone = tzid.isEmpty() ? std::nullopt : knownTimeZone(tzid)) {
        form.tzid = tzid;
        form.zone = *zone;
    }
    return form;
}

// The form of a date-time in the named zone; nothing for a zone the system does not know.
std::optional<TimeForm> zoneForm(const QString &zone)
{
    const std::optional<QTimeZone> known = zone.isEmpty() ? std::nullopt : knownTimeZone(zone);
    if (!known)
        return std::nullopt;
    if (known->id() == "UTC" || known->id() == "Etc/UTC")
        return TimeForm(); // written with a Z
    return TimeForm {false, zone, *known};
}

// The form a time is written in: as its line had it, or as the switch asks; a date-time in the
// given zone where there is one.
TimeForm writtenForm(TimeForm form, TimeValues values, const std::optional<TimeForm> &zone)
{
    if (values != TimeValues::AsWritten && form.date != (values == TimeValues::Dates))
        form = TimeForm {values == TimeValues::Dates, QString(), QTimeZone()};
    return !form.date && zone ? *zone : form;
}

QString paramsOf(const TimeForm &form)
{
    if (form.date)
        return QStringLiteral(";VALUE=DATE");
    return form.tzid.isEmpty() ? QString() : QLatin1String(";TZID=") + form.tzid;
}

QString valueIn(const TimeForm &form, const QDateTime &time)
{
    if (form.date)
        return formatICalendarDate(time.date());
    if (!form.tzid.isEmpty())
        return time.toTimeZone(form.zone).toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    return formatICalendarUtc(time);
}

QString timeLine(const QString &name, const TimeForm &form, const QDateTime &time)
{
    return name + paramsOf(form) + QLatin1Char(':') + valueIn(form, time);
}

// One EXDATE line for stored entries already in the form's kind (dates, or instants).
QStringList cancelledLines(const TimeForm &form, const QStringList &entries)
{
    QStringList values;
    for (const QString &entry : entries) {
        bool date = false;
        const QDateTime at = parseICalendarDateTime(entry, {}, date);
        if (at.isValid())
            values << valueIn(form, date ? QDateTime(at.date(), QTime(0, 0), Qt::UTC) : at);
    }
    if (values.isEmpty())
        return {};
    return {QLatin1String("EXDATE") + paramsOf(form) + QLatin1Char(':')
            + values.join(QLatin1Char(','))};
}

bool isContinuation(const QString &line)
{
    return !line.isEmpty()
        && (line.front() == QLatin1Char(' ') || line.front() == QLatin1Char('\t'));
}

// The position of the chosen VEVENT among the text's VEVENTs; 0 when none matches.
qsizetype eventPosition(const QString &raw, const EventInText &which)
{
    if (which.uid.isEmpty())
        return 0;
    ICalendarEventReader reader(raw);
    for (qsizetype read = 0;; ++read) {
        const QList<Event> next = reader.next(1);
        if (next.isEmpty())
            return 0;
        if (next.first().uid == which.uid && next.first().recurrence_id == which.recurrenceId)
            return read + reader.skipped(); // the VEVENTs that made no event count too
    }
}

// The position of the VTODO with this UID among the text's VTODOs; 0 when none has it.
qsizetype todoPosition(const QString &raw, const QString &uid)
{
    qsizetype position = -1;
    qsizetype found = -1;
    int nested = -1; // depth inside the current VTODO; -1 outside one
    forEachUnfoldedLine(raw, [&](QStringView line) {
        const ContentLine cl = parseContentLine(line);
        if (cl.name == QLatin1String("BEGIN")) {
            if (nested >= 0)
                ++nested;
            else if (cl.value.compare(QLatin1String("VTODO"), Qt::CaseInsensitive) == 0) {
                ++position;
                nested = 0;
            }
        } else if (cl.name == QLatin1String("END") && nested >= 0) {
            --nested;
        } else if (nested == 0 && found < 0 && cl.name == QLatin1String("UID")
                   && unescapeICalendarText(cl.value) == uid) {
            found = position;
        }
    });
    return std::max<qsizetype>(found, 0);
}

using LineEdit = std::function<std::optional<QStringList>(const ContentLine &)>;

// Walks the own logical lines (a physical line and its folded continuations; the lines of nested
// components such as alarms are not its own) of the component of this kind ("VEVENT", "VTODO")
// at this position among those of its kind. For each, edit gives the lines to write in its place,
// or nothing to keep it as it stands; atEnd gives the lines to add before its END line. Text
// without such a component comes back as it is.
QString editComponent(const QString &raw, QLatin1String kind, qsizetype target,
                      const LineEdit &edit, const std::function<QStringList()> &atEnd)
{
    const QString begin = QLatin1String("BEGIN:") + kind;
    const QString end = QLatin1String("END:") + kind;
    qsizetype position = -1;
    const auto writeFolded = [](QStringList &to, const QStringList &lines) {
        for (const QString &line : lines)
            to.append(foldContentLine(line));
    };
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = raw.split(lineBreak);
    QStringList out;
    out.reserve(lines.size() + 2);
    bool inside = false;
    bool saw = false;
    bool finished = false;
    int depth = 0;
    for (qsizetype i = 0; i < lines.size();) {
        qsizetype next = i + 1;
        QString logical = lines.at(i);
        while (next < lines.size() && isContinuation(lines.at(next)))
            logical += QStringView(lines.at(next++)).mid(1);
        std::optional<QStringList> replaced;
        if (finished || !inside) {
            if (!finished && logical.startsWith(begin, Qt::CaseInsensitive) && ++position == target)
                inside = saw = true;
        } else if (depth == 0 && logical.startsWith(end, Qt::CaseInsensitive)) {
            writeFolded(out, atEnd());
            finished = true;
        } else {
            const ContentLine cl = parseContentLine(logical);
            if (cl.name == QLatin1String("BEGIN"))
                ++depth;
            else if (cl.name == QLatin1String("END") && depth > 0)
                --depth;
            else if (depth == 0 && cl.name != QLatin1String("END"))
                replaced = edit(cl);
        }
        if (replaced) {
            writeFolded(out, *replaced);
        } else {
            for (qsizetype k = i; k < next; ++k)
                out.append(lines.at(k));
        }
        i = next;
    }
    return saw ? out.join(QLatin1String("\r\n")) : raw;
}

QString editEvent(const QString &raw, const EventInText &which, const LineEdit &edit,
                  const std::function<QStringList()> &atEnd)
{
    return editComponent(raw, QLatin1String("VEVENT"), eventPosition(raw, which), edit, atEnd);
}

// The event's start as its text holds it; no line, no start.
struct HeldStart
{
    bool present = false;
    QDateTime at;
    bool allDay = false;
    TimeForm form;
};

HeldStart heldStartOf(const QString &raw, const EventInText &which)
{
    std::optional<ContentLine> line;
    const auto read = [&](const ContentLine &cl) -> std::optional<QStringList> {
        if (!line && cl.name == QLatin1String("DTSTART"))
            line = cl;
        return std::nullopt;
    };
    (void)editEvent(raw, which, read, [] { return QStringList(); });
    HeldStart held;
    if (!line)
        return held;
    VTimeZoneSet zones(raw);
    held.present = true;
    held.at = parseICalendarDateTime(line->value, line->params, held.allDay, &zones);
    held.form = timeFormOf(*line);
    return held;
}

// The time in the zone a line of this form is written in.
QDateTime inZoneOf(const TimeForm &form, const QDateTime &time)
{
    return form.tzid.isEmpty() ? time.toUTC() : time.toTimeZone(form.zone);
}

QTimeZone zoneOf(const QDateTime &time)
{
    return time.timeSpec() == Qt::TimeZone ? time.timeZone() : QTimeZone::utc();
}

// The time on the wall clock of the zone `clock` is given in.
QDateTime onClockOf(const QDateTime &time, const QDateTime &clock)
{
    return time.toTimeZone(zoneOf(clock));
}

// Replaces the component's own lines of each named property by the given lines, written where
// the first of them stood, or before the component's end when it had none.
QString replaceProperties(const QString &raw, QLatin1String kind, qsizetype target,
                          const QHash<QString, QStringList> &replacements)
{
    if (raw.isEmpty() || replacements.isEmpty())
        return raw;
    QSet<QString> written;
    const auto edit = [&](const ContentLine &cl) -> std::optional<QStringList> {
        if (!replacements.contains(cl.name))
            return std::nullopt;
        // Where the first of them stood; the others go.
        if (written.contains(cl.name))
            return QStringList();
        written.insert(cl.name);
        return replacements.value(cl.name);
    };
    const auto atEnd = [&] {
        // In name order, so the same edit always gives the same text.
        QStringList names = replacements.keys();
        names.sort();
        QStringList missing;
        for (const QString &name : std::as_const(names)) {
            if (!written.contains(name))
                missing << replacements.value(name);
        }
        return missing;
    };
    return editComponent(raw, kind, target, edit, atEnd);
}

} // namespace

QStringList movedCancelledDates(const QStringList &entries, const QDateTime &from, bool fromAllDay,
                                const QDateTime &to, bool toAllDay, const Event *series)
{
    if (!from.isValid() || !to.isValid())
        return entries;
    // Each timed side on the wall clock of its own zone; an all-day side is read by its date.
    const SeriesClock was = seriesClock(from, zoneOf(from), fromAllDay);
    const SeriesClock now = seriesClock(to, zoneOf(to), toAllDay);
    const WallMove move = wallMove(was, now);
    const bool byDays = series && move.days != 0;
    QStringList out;
    for (const QString &entry : entries) {
        bool date = false;
        const QDateTime at = parseICalendarDateTime(entry, {}, date);
        if (!at.isValid()) {
            out << entry;
        } else if (move.rest == 0 && !byDays && !date && !fromAllDay && !toAllDay
                   && was.zone == now.zone) {
            out << formatICalendarUtc(at); // the instant it named, also inside a clock change
        } else {
            const QDateTime wall = movedWallClock(at, date, was, move.rest);
            if (!byDays)
                out << entryAtWallClock(now, wall);
            else if (const std::optional<QString> moved
                     = cancelledEntryMoved(*series, now, wall, move.days))
                out << *moved;
        }
    }
    return out;
}

QStringList cancelledDatesNow(const Event &was, const Event &now)
{
    const QStringList listed = jsonTextList(now.exception_dates);
    // A held copy without a start has nothing to move them from.
    const QStringList held
        = was.start_time.isValid() ? jsonTextList(was.exception_dates) : QStringList();
    // Read on the series' wall clock, in the zone its start was in, unless the row moved to
    // another zone: then from the old zone's clock to the new one's. An all-day start keeps the
    // date it shows.
    const bool wasZoned = was.start_time.timeSpec() == Qt::TimeZone;
    const bool sameClock = !now.is_all_day && !was.is_all_day
        && !(wasZoned && now.start_time.timeSpec() == Qt::TimeZone
             && now.start_time.timeZone() != was.start_time.timeZone());
    const QDateTime to
        = sameClock && wasZoned ? onClockOf(now.start_time, was.start_time) : now.start_time;
    const QDateTime from = sameClock ? onClockOf(was.start_time, to) : was.start_time;
    QStringList out;
    // One at a time: a held date that names no occurrence of the moved series is dropped.
    for (const QString &entry : listed) {
        out << (held.contains(entry)
                    ? movedCancelledDates({entry}, from, was.is_all_day, to, now.is_all_day, &now)
                    : movedCancelledDates({entry}, to, now.is_all_day, to, now.is_all_day));
    }
    return out;
}

QString rewriteEventTimes(const QString &raw, const QDateTime &start, const QDateTime &end,
                          const EventInText &which, TimeValues values, const QString &zone)
{
    if (raw.isEmpty() || !start.isValid())
        return raw;
    const QString dtstart = QStringLiteral("DTSTART");
    const QString dtend = QStringLiteral("DTEND");
    // The start as the text held it, for the cancelled dates that move with it.
    const HeldStart held = heldStartOf(raw, which);
    VTimeZoneSet zones(raw);
    const std::optional<TimeForm> inZone = zoneForm(zone);
    const TimeForm startForm = writtenForm(held.form, values, inZone);
    const QDateTime to = startForm.date ? start : inZoneOf(startForm, start);
    // Read on the clock the times are written on, unless the series moves to another zone.
    const QDateTime from
        = inZone || held.allDay || startForm.date ? held.at : onClockOf(held.at, to);
    bool endWritten = false;
    // The end for a line of the given form: an all-day end must lie after the start's date.
    const auto endFor = [&](const TimeForm &form) {
        QDateTime e = end.isValid() ? end : start;
        if (form.date && e.date() <= start.date())
            e = start.addDays(1);
        return e;
    };
    const auto edit = [&](const ContentLine &cl) -> std::optional<QStringList> {
        if (cl.name == dtstart)
            return QStringList {timeLine(dtstart, startForm, start)};
        if (cl.name == dtend) {
            const TimeForm form = writtenForm(timeFormOf(cl), values, inZone);
            endWritten = true;
            return QStringList {timeLine(dtend, form, endFor(form))};
        }
        // Dropped: the DTEND written in its place or before END:VEVENT replaces it.
        if (cl.name == QLatin1String("DURATION"))
            return QStringList();
        // A cancelled date names an occurrence: it moves with the start and takes its form.
        if (cl.name == QLatin1String("EXDATE") && held.at.isValid()) {
            QStringList entries;
            collectICalendarDateList(cl, entries, &zones);
            return cancelledLines(
                startForm, movedCancelledDates(entries, from, held.allDay, to, startForm.date));
        }
        return std::nullopt;
    };
    const auto atEnd = [&] {
        QStringList missing;
        if (!held.present)
            missing << timeLine(dtstart, startForm, start);
        if (!endWritten)
            missing << timeLine(dtend, startForm, endFor(startForm));
        return missing;
    };
    return editEvent(raw, which, edit, atEnd);
}

QString rewriteCancelledDates(const QString &raw, const QStringList &entries,
                              const EventInText &which)
{
    if (raw.isEmpty())
        return raw;
    const HeldStart held = heldStartOf(raw, which);
    const QDateTime at = held.allDay ? held.at : inZoneOf(held.form, held.at);
    const QStringList written = held.at.isValid()
        ? movedCancelledDates(entries, at, held.allDay, at, held.allDay)
        : entries;
    return rewriteEventProperties(
        raw, {{QStringLiteral("EXDATE"), cancelledLines(held.form, written)}}, which);
}

QString rewriteEventProperties(const QString &raw, const QHash<QString, QStringList> &replacements,
                               const EventInText &which)
{
    if (raw.isEmpty() || replacements.isEmpty())
        return raw;
    return replaceProperties(raw, QLatin1String("VEVENT"), eventPosition(raw, which), replacements);
}

QString rewriteTodoProperties(const QString &raw, const QHash<QString, QStringList> &replacements,
                              const QString &uid)
{
    if (raw.isEmpty() || replacements.isEmpty())
        return raw;
    return replaceProperties(raw, QLatin1String("VTODO"), todoPosition(raw, uid), replacements);
}
