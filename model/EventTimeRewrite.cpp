#include "model/EventTimeRewrite.h"

#include "model/ICalendar.h"
#include "model/ICalendarEventReader.h"

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

// The form a time is written in: as its line had it, or as the switch asks.
TimeForm writtenForm(TimeForm form, TimeValues values)
{
    if (values != TimeValues::AsWritten && form.date != (values == TimeValues::Dates))
        return TimeForm {values == TimeValues::Dates, QString(), QTimeZone()};
    return form;
}

QString timeLine(const QString &name, const TimeForm &form, const QDateTime &time)
{
    if (form.date)
        return name + QLatin1String(";VALUE=DATE:") + formatICalendarDate(time.date());
    if (!form.tzid.isEmpty())
        return name + QLatin1String(";TZID=") + form.tzid + QLatin1Char(':')
            + time.toTimeZone(form.zone).toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    return name + QLatin1Char(':') + formatICalendarUtc(time);
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

// Walks the chosen VEVENT's own logical lines (a physical line and its folded continuations;
// the lines of nested components such as alarms are not the event's). For each, edit gives the
// lines to write in its place, or nothing to keep it as it stands; atEnd gives the lines to add
// before END:VEVENT. Text without a VEVENT comes back as it is.
QString editEvent(const QString &raw, const EventInText &which,
                  const std::function<std::optional<QStringList>(const ContentLine &)> &edit,
                  const std::function<QStringList()> &atEnd)
{
    const qsizetype target = eventPosition(raw, which);
    qsizetype position = -1;
    const auto writeFolded = [](QStringList &to, const QStringList &lines) {
        for (const QString &line : lines)
            to.append(foldContentLine(line));
    };
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = raw.split(lineBreak);
    QStringList out;
    out.reserve(lines.size() + 2);
    bool inEvent = false;
    bool sawEvent = false;
    bool finished = false;
    int depth = 0;
    for (qsizetype i = 0; i < lines.size();) {
        qsizetype next = i + 1;
        QString logical = lines.at(i);
        while (next < lines.size() && isContinuation(lines.at(next)))
            logical += QStringView(lines.at(next++)).mid(1);
        std::optional<QStringList> replaced;
        if (finished || !inEvent) {
            if (!finished && logical.startsWith(QLatin1String("BEGIN:VEVENT"), Qt::CaseInsensitive)
                && ++position == target)
                inEvent = sawEvent = true;
        } else if (depth == 0
                   && logical.startsWith(QLatin1String("END:VEVENT"), Qt::CaseInsensitive)) {
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
    return sawEvent ? out.join(QLatin1String("\r\n")) : raw;
}

} // namespace

QString rewriteEventTimes(const QString &raw, const QDateTime &start, const QDateTime &end,
                          const EventInText &which, TimeValues values)
{
    if (raw.isEmpty() || !start.isValid())
        return raw;
    const QString dtstart = QStringLiteral("DTSTART");
    const QString dtend = QStringLiteral("DTEND");
    bool startWritten = false;
    bool endWritten = false;
    TimeForm startForm = writtenForm(TimeForm(), values);
    // The end for a line of the given form: an all-day end must lie after the start's date.
    const auto endFor = [&](const TimeForm &form) {
        QDateTime e = end.isValid() ? end : start;
        if (form.date && e.date() <= start.date())
            e = start.addDays(1);
        return e;
    };
    const auto edit = [&](const ContentLine &cl) -> std::optional<QStringList> {
        if (cl.name == dtstart) {
            startForm = writtenForm(timeFormOf(cl), values);
            startWritten = true;
            return QStringList {timeLine(dtstart, startForm, start)};
        }
        if (cl.name == dtend) {
            const TimeForm form = writtenForm(timeFormOf(cl), values);
            endWritten = true;
            return QStringList {timeLine(dtend, form, endFor(form))};
        }
        // Dropped: the DTEND written in its place or before END:VEVENT replaces it.
        if (cl.name == QLatin1String("DURATION"))
            return QStringList();
        return std::nullopt;
    };
    const auto atEnd = [&] {
        QStringList missing;
        if (!startWritten)
            missing << timeLine(dtstart, startForm, start);
        if (!endWritten)
            missing << timeLine(dtend, startForm, endFor(startForm));
        return missing;
    };
    return editEvent(raw, which, edit, atEnd);
}

QString rewriteEventProperties(const QString &raw, const QHash<QString, QStringList> &replacements,
                               const EventInText &which)
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
    return editEvent(raw, which, edit, atEnd);
}
