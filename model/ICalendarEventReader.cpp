#include "model/ICalendarEventReader.h"

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBeginEvent = QStringLiteral("BEGIN:VEVENT");
const QString kEndEvent = QStringLiteral("END:VEVENT");

const QString &wrapperHeader()
{
    static const QString header
        = QLatin1String("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:") + iCalendarProductId() + kCrLf;
    return header;
}

bool isEventProperty(QStringView name)
{
    static const char *const names[]
        = {"UID",      "SUMMARY", "DESCRIPTION", "LOCATION", "DTSTART",       "DTEND",
           "DURATION", "RRULE",   "EXDATE",      "RDATE",    "RECURRENCE-ID", "STATUS",
           "SEQUENCE", "URL",     "ORGANIZER",   "CREATED",  "LAST-MODIFIED", "RELATED-TO"};
    for (const char *n : names) {
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString jsonStringArray(const QStringList &items)
{
    // The items are our own digit-and-letter date texts, so no JSON escaping is needed.
    if (items.isEmpty())
        return QString();
    return QLatin1String("[\"") + items.join(QLatin1String("\",\"")) + QLatin1String("\"]");
}

} // namespace

ICalendarEventReader::ICalendarEventReader(const QString &text, Lines lines)
    : m_lines(text)
    , m_zones(text)
    , m_lineBound(lines)
{ }

QList<Event> ICalendarEventReader::next(qsizetype max)
{
    QList<Event> out;
    QStringView line;
    while (out.size() < max && m_lines.next(line)) {
        if (line == kBeginEvent) {
            begin(line);
            continue;
        }
        if (!m_inEvent)
            continue;
        if (m_lineBound == Lines::Bounded) {
            // The stored copy and the fields read from it are cut alike.
            const QStringView name = contentLineName(line);
            const bool shortText = name.compare(QLatin1String("SUMMARY"), Qt::CaseInsensitive) == 0
                || name.compare(QLatin1String("LOCATION"), Qt::CaseInsensitive) == 0;
            const QStringView bounded
                = boundContentLine(line, shortText ? kMaxShortText : kMaxText);
            m_cut = m_cut || bounded.size() < line.size();
            line = bounded;
        }
        m_raw += line;
        m_raw += kCrLf;
        if (line == kEndEvent) {
            m_inEvent = false;
            if (!finish(out))
                ++m_skipped;
            continue;
        }
        readProperty(line);
    }
    if (out.size() < max) {
        m_atEnd = true;
        if (m_inEvent)
            ++m_skipped;
        m_inEvent = false;
    }
    return out;
}

void ICalendarEventReader::begin(QStringView line)
{
    // An event left unfinished is dropped.
    if (m_inEvent)
        ++m_skipped;
    m_event = Event();
    m_duration = 0;
    m_sawEnd = false;
    m_depth = 0;
    m_cut = false;
    m_exceptionDates.clear();
    m_recurrenceDates.clear();
    m_zones.resetUse();
    m_raw = wrapperHeader();
    m_raw += line;
    m_raw += kCrLf;
    m_inEvent = true;
}

bool ICalendarEventReader::finish(QList<Event> &out)
{
    Event &event = m_event;
    if (event.uid.isEmpty())
        return false;
    // SUMMARY is optional; an event without one has an empty title, not a missing one.
    if (event.title.isNull())
        event.title = QLatin1String("");
    if (!m_sawEnd && m_duration >= 1 && event.start_time.isValid())
        event.end_time = event.start_time.addSecs(m_duration);
    if (!event.recurrence_id.isEmpty() && event.master_event_uid.isEmpty())
        event.master_event_uid = event.uid;
    event.exception_dates = jsonStringArray(m_exceptionDates);
    event.recurrence_dates = jsonStringArray(m_recurrenceDates);
    // Zones only this text defines travel with the component; zones the system knows need no
    // definition.
    m_raw.insert(wrapperHeader().size(), m_zones.usedDefinitions());
    m_raw += QLatin1String("END:VCALENDAR\r\n");
    event.raw_icalendar = std::move(m_raw);
    m_raw = QString();
    out.append(std::move(event));
    event = Event();
    if (m_cut)
        ++m_shortened;
    return true;
}

void ICalendarEventReader::readProperty(QStringView line)
{
    const QStringView quickName = contentLineName(line);
    if (quickName.compare(QLatin1String("BEGIN"), Qt::CaseInsensitive) == 0) {
        ++m_depth;
        return;
    }
    if (quickName.compare(QLatin1String("END"), Qt::CaseInsensitive) == 0) {
        if (m_depth > 0)
            --m_depth;
        return;
    }
    // Alarms carry their own DESCRIPTION, SUMMARY, UID and DURATION; only the event's own lines
    // describe the event.
    if (m_depth > 0 || !isEventProperty(quickName))
        return;
    const ContentLine cl = parseContentLine(line);
    const QString &name = cl.name;
    Event &event = m_event;
    VTimeZoneSet *zones = &m_zones;

    bool dateOnly = false;
    if (name == QLatin1String("UID")) {
        event.uid = unescapeICalendarText(cl.value);
    } else if (name == QLatin1String("SUMMARY")) {
        event.title = unescapeICalendarText(cl.value);
    } else if (name == QLatin1String("DESCRIPTION")) {
        event.description = unescapeICalendarText(cl.value);
    } else if (name == QLatin1String("LOCATION")) {
        event.location = unescapeICalendarText(cl.value);
    } else if (name == QLatin1String("DTSTART")) {
        event.start_time = parseICalendarDateTime(cl.value, cl.params, dateOnly, zones);
        if (dateOnly)
            event.is_all_day = true;
        const auto tz = cl.params.constFind(QStringLiteral("TZID"));
        if (tz != cl.params.constEnd())
            event.timezone = tz.value();
    } else if (name == QLatin1String("DTEND")) {
        event.end_time = parseICalendarDateTime(cl.value, cl.params, dateOnly, zones);
        m_sawEnd = true;
    } else if (name == QLatin1String("DURATION")) {
        m_duration = parseICalendarDuration(cl.value);
    } else if (name == QLatin1String("RRULE")) {
        event.recurrence_rule = cl.value;
    } else if (name == QLatin1String("EXDATE")) {
        collectICalendarDateList(cl, m_exceptionDates, zones);
    } else if (name == QLatin1String("RDATE")) {
        collectICalendarDateList(cl, m_recurrenceDates, zones);
    } else if (name == QLatin1String("RECURRENCE-ID")) {
        const QDateTime rid = parseICalendarDateTime(cl.value, cl.params, dateOnly, zones);
        event.recurrence_id = rid.isValid() ? formatICalendarUtc(rid) : cl.value;
    } else if (name == QLatin1String("STATUS")) {
        event.status = cl.value.toLower();
    } else if (name == QLatin1String("SEQUENCE")) {
        event.sequence = cl.value.toInt();
    } else if (name == QLatin1String("URL")) {
        event.event_url = cl.value;
    } else if (name == QLatin1String("ORGANIZER")) {
        QString email = cl.value;
        if (email.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
            email.remove(0, 7);
        event.organizer_email = email;
        const auto cn = cl.params.constFind(QStringLiteral("CN"));
        if (cn != cl.params.constEnd())
            event.organizer_name = cn.value();
    } else if (name == QLatin1String("CREATED")) {
        event.created = parseICalendarDateTime(cl.value, cl.params, dateOnly, zones);
    } else if (name == QLatin1String("LAST-MODIFIED")) {
        event.last_modified = parseICalendarDateTime(cl.value, cl.params, dateOnly, zones);
    } else if (name == QLatin1String("RELATED-TO")) {
        if (event.related_to_uid.isEmpty() && isParentRelation(cl))
            event.related_to_uid = unescapeICalendarText(cl.value);
    }
}

QList<Event> parseICalendarEvents(const QString &text)
{
    ICalendarEventReader reader(text);
    return reader.next(std::numeric_limits<qsizetype>::max());
}

int countICalendarEvents(const QString &text)
{
    // The reader only takes a whole line "BEGIN:VEVENT"; so does the count.
    int count = 0;
    const QStringView all(text);
    for (qsizetype at = all.indexOf(kBeginEvent); at >= 0;
         at = all.indexOf(kBeginEvent, at + kBeginEvent.size())) {
        const qsizetype end = at + kBeginEvent.size();
        const bool lineStart = at == 0 || all.at(at - 1) == QLatin1Char('\n');
        const bool lineEnd = end == all.size() || all.at(end) == QLatin1Char('\n')
            || (all.at(end) == QLatin1Char('\r') && end + 1 < all.size()
                && all.at(end + 1) == QLatin1Char('\n'));
        if (lineStart && lineEnd)
            count += 1;
    }
    return count;
}
