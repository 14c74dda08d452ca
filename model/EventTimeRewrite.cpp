#include "model/EventTimeRewrite.h"

#include "model/ICalendar.h"

#include <QRegularExpression>
#include <QSet>

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

} // namespace

QString rewriteEventTimes(const QString &raw, const QDateTime &start, const QDateTime &end)
{
    if (raw.isEmpty() || !start.isValid())
        return raw;
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = raw.split(lineBreak);

    const QString dtstart = QStringLiteral("DTSTART");
    const QString dtend = QStringLiteral("DTEND");
    QStringList out;
    out.reserve(lines.size() + 2);
    bool inEvent = false;
    bool sawEvent = false;
    bool finished = false;
    bool startWritten = false;
    bool endWritten = false;
    int depth = 0;
    TimeForm startForm;

    // The end for a line of the given form: an all-day end must lie after the start's date.
    auto endFor = [&](const TimeForm &form) {
        QDateTime e = end.isValid() ? end : start;
        if (form.date && e.date() <= start.date())
            e = start.addDays(1);
        return e;
    };

    for (qsizetype i = 0; i < lines.size();) {
        // One logical line: a physical line and its folded continuations.
        qsizetype next = i + 1;
        QString logical = lines.at(i);
        while (next < lines.size() && isContinuation(lines.at(next)))
            logical += QStringView(lines.at(next++)).mid(1);
        auto copyGroup = [&]() {
            for (qsizetype k = i; k < next; ++k)
                out.append(lines.at(k));
        };

        if (finished) {
            copyGroup();
        } else if (!inEvent) {
            copyGroup();
            if (logical.startsWith(QLatin1String("BEGIN:VEVENT"), Qt::CaseInsensitive)) {
                inEvent = true;
                sawEvent = true;
            }
        } else if (logical.startsWith(QLatin1String("END:VEVENT"), Qt::CaseInsensitive)) {
            if (!startWritten)
                out.append(timeLine(dtstart, startForm, start));
            if (!endWritten)
                out.append(timeLine(dtend, startForm, endFor(startForm)));
            copyGroup();
            finished = true;
        } else {
            const ContentLine cl = parseContentLine(logical);
            if (cl.name == QLatin1String("BEGIN")) {
                ++depth;
                copyGroup();
            } else if (cl.name == QLatin1String("END")) {
                if (depth > 0)
                    --depth;
                copyGroup();
            } else if (depth > 0) {
                // Lines of an alarm or other nested component are not the event's.
                copyGroup();
            } else if (cl.name == dtstart) {
                startForm = timeFormOf(cl);
                out.append(timeLine(dtstart, startForm, start));
                startWritten = true;
            } else if (cl.name == dtend) {
                const TimeForm form = timeFormOf(cl);
                out.append(timeLine(dtend, form, endFor(form)));
                endWritten = true;
            } else if (cl.name == QLatin1String("DURATION")) {
                // Dropped: the DTEND written above or before END:VEVENT replaces it.
            } else {
                copyGroup();
            }
        }
        i = next;
    }
    return sawEvent ? out.join(QLatin1String("\r\n")) : raw;
}

QString rewriteEventProperties(const QString &raw, const QHash<QString, QStringList> &replacements)
{
    if (raw.isEmpty() || replacements.isEmpty())
        return raw;
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = raw.split(lineBreak);
    QStringList out;
    out.reserve(lines.size() + replacements.size());
    QSet<QString> written;
    bool inEvent = false;
    bool sawEvent = false;
    bool finished = false;
    int depth = 0;
    for (qsizetype i = 0; i < lines.size();) {
        qsizetype next = i + 1;
        QString logical = lines.at(i);
        while (next < lines.size() && isContinuation(lines.at(next)))
            logical += QStringView(lines.at(next++)).mid(1);
        const auto copyGroup = [&]() {
            for (qsizetype k = i; k < next; ++k)
                out.append(lines.at(k));
        };
        if (finished || !inEvent) {
            copyGroup();
            if (!finished && logical.startsWith(QLatin1String("BEGIN:VEVENT"), Qt::CaseInsensitive))
                inEvent = sawEvent = true;
        } else if (depth == 0
                   && logical.startsWith(QLatin1String("END:VEVENT"), Qt::CaseInsensitive)) {
            // In name order, so the same edit always gives the same text.
            QStringList missing = replacements.keys();
            missing.sort();
            for (const QString &name : std::as_const(missing)) {
                if (!written.contains(name))
                    out.append(replacements.value(name));
            }
            copyGroup();
            finished = true;
        } else {
            const ContentLine cl = parseContentLine(logical);
            if (cl.name == QLatin1String("BEGIN"))
                ++depth;
            else if (cl.name == QLatin1String("END") && depth > 0)
                --depth;
            if (depth > 0 || cl.name == QLatin1String("END") || !replacements.contains(cl.name)) {
                copyGroup();
            } else if (!written.contains(cl.name)) {
                out.append(replacements.value(cl.name));
                written.insert(cl.name);
            }
        }
        i = next;
    }
    return sawEvent ? out.join(QLatin1String("\r\n")) : raw;
}
