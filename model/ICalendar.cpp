#include "model/ICalendar.h"

#include "model/VTimeZone.h"

#include <QFileInfo>
#include <QtNumeric>

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isDigits(QStringView s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

int digitsValue(QStringView s)
{
    int v = 0;
    for (const QChar c : s)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

// "yyyyMMdd", all digits, a real calendar date.
QDate readDate(QStringView s)
{
    if (s.size() != 8 || !isDigits(s))
        return {};
    return QDate(digitsValue(s.mid(0, 4)), digitsValue(s.mid(4, 2)), digitsValue(s.mid(6, 2)));
}

// "yyyyMMddTHHmmss" into its date and clock time; false when either is not valid.
bool readDateTime(QStringView s, QDate &date, QTime &time)
{
    if (s.size() != 15 || s.at(8) != QLatin1Char('T'))
        return false;
    date = readDate(s.left(8));
    const QStringView clock = s.mid(9);
    if (!date.isValid() || !isDigits(clock))
        return false;
    time = QTime(digitsValue(clock.mid(0, 2)), digitsValue(clock.mid(2, 2)),
                 digitsValue(clock.mid(4, 2)));
    return time.isValid();
}

// Writers put a blank after the colon now and then; only date-time values drop it, a text keeps
// what it says.
QStringView skipBlanks(QStringView value)
{
    qsizetype i = 0;
    while (i < value.size()
           && (value.at(i) == QLatin1Char(' ') || value.at(i) == QLatin1Char('\t')))
        ++i;
    return value.mid(i);
}

// Only plain zone names reach the zone database; anything shaped like a path does not.
// A POSIX rule also has "," "." ":" and "<>" ("CET-1CEST,M3.5.0,M10.5.0/3", "<+03>-3").
bool looksLikeZoneId(const QString &id, bool posixRule)
{
    if (id.isEmpty() || id.size() > 64 || id.startsWith(QLatin1Char('/'))
        || id.contains(QLatin1String("..")))
        return false;
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
            || u == '/' || u == '_' || u == '-' || u == '+'
            || (posixRule && (u == ',' || u == '.' || u == ':' || u == '<' || u == '>'));
        if (!ok)
            return false;
    }
    return true;
}

// Whether the zone database holds a zone of this name. The zone library reads any other name of
// three or more letters as a POSIX rule at offset 0, which would turn "Eastern" into UTC.
bool isZoneDatabaseName(const QByteArray &id)
{
    if (QTimeZone::isTimeZoneIdAvailable(id))
        return true;
    // Aliases and legacy names ("US/Eastern", "GMT", "CET") are files but not in the zone list.
    static const char *const roots[]
        = {"/usr/share/zoneinfo/", "/usr/lib/zoneinfo/", "/usr/share/lib/zoneinfo/"};
    for (const char *root : roots) {
        if (QFileInfo(QString::fromLatin1(root) + QString::fromUtf8(id)).isFile())
            return true;
    }
    return false;
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// A POSIX rule that states an offset after its zone abbreviation ("EST5", "<+03>-3").
bool isPosixRuleWithOffset(QStringView id)
{
    qsizetype letters = 0;
    if (id.startsWith(QLatin1Char('<'))) {
        letters = id.indexOf(QLatin1Char('>'));
        if (letters < 4)
            return false;
        ++letters;
    } else {
        while (letters < id.size() && isAsciiLetter(id.at(letters)))
            ++letters;
        if (letters < 3)
            return false;
    }
    qsizetype digit = letters;
    const bool signed_ = digit < id.size()
        && (id.at(digit) == QLatin1Char('+') || id.at(digit) == QLatin1Char('-'));
    if (signed_)
        ++digit;
    if (digit >= id.size() || !id.at(digit).isDigit())
        return false;
    // As a rule "UTC+1" lies west of UTC; whoever writes it as a zone name means east.
    const QStringView name = id.left(letters);
    return !(signed_
             && (name.compare(QLatin1String("UTC"), Qt::CaseInsensitive) == 0
                 || name.compare(QLatin1String("GMT"), Qt::CaseInsensitive) == 0));
}

std::optional<QTimeZone> lookUpPlainZone(const QString &id)
{
    const bool posixRule = isPosixRuleWithOffset(id);
    if (!looksLikeZoneId(id, posixRule))
        return std::nullopt;
    const QByteArray utf8 = id.toUtf8();
    QTimeZone zone(utf8);
    if (!zone.isValid() || !(posixRule || isZoneDatabaseName(utf8)))
        return std::nullopt;
    return zone;
}

std::optional<QTimeZone> lookUpZone(QString id)
{
    if (id.size() >= 2 && id.startsWith(QLatin1Char('"')) && id.endsWith(QLatin1Char('"')))
        id = id.mid(1, id.size() - 2);
    if (id.isEmpty() || id.size() > 128)
        return std::nullopt;
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(id.toUtf8());
    if (!iana.isEmpty()) {
        QTimeZone zone(iana);
        return zone.isValid() ? std::optional<QTimeZone>(zone) : std::nullopt;
    }
    if (!id.startsWith(QLatin1Char('/')))
        return lookUpPlainZone(id);
    // Some writers put their own path in front of the IANA name, as in
    // "/example.org/20050125_1/Europe/Berlin": the name is the longest tail that is a zone.
    const QStringList parts = id.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype n = qMin<qsizetype>(3, parts.size()); n >= 1; --n) {
        if (auto zone = lookUpPlainZone(parts.mid(parts.size() - n).join(QLatin1Char('/'))))
            return zone;
    }
    return std::nullopt;
}

QString jsonStringArray(const QStringList &items)
{
    // The items are our own digit-and-letter date texts, so no JSON escaping is needed.
    if (items.isEmpty())
        return QString();
    return QLatin1String("[\"") + items.join(QLatin1String("\",\"")) + QLatin1String("\"]");
}

} // namespace

void collectICalendarDateList(const ContentLine &line, QStringList &out, VTimeZoneSet *zones)
{
    const QList<QStringView> parts = QStringView(line.value).split(QLatin1Char(','));
    for (QStringView part : parts) {
        part = part.trimmed();
        const qsizetype slash = part.indexOf(QLatin1Char('/'));
        if (slash >= 0)
            part = part.left(slash);
        if (part.isEmpty())
            continue;
        bool dateOnly = false;
        const QDateTime dt = parseICalendarDateTime(part.toString(), line.params, dateOnly, zones);
        if (!dt.isValid())
            continue;
        out.append(dateOnly ? formatICalendarDate(dt.date()) : formatICalendarUtc(dt));
    }
}

namespace {

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

} // namespace

QStringView contentLineName(QStringView line)
{
    qsizetype end = 0;
    while (end < line.size() && line.at(end) != QLatin1Char(';')
           && line.at(end) != QLatin1Char(':'))
        ++end;
    return line.left(end);
}

bool isParentRelation(const ContentLine &line)
{
    return paramValue(line.params, QStringLiteral("RELTYPE"), QStringLiteral("PARENT"))
               .compare(QLatin1String("PARENT"), Qt::CaseInsensitive)
        == 0;
}

void forEachUnfoldedLine(const QString &text, const std::function<void(QStringView)> &visit)
{
    // Lines are handed out as views into the text; only a folded line is copied together.
    const QStringView all(text);
    QStringView pending;
    bool havePending = false;
    QString folded;
    bool usingFolded = false;
    auto flush = [&] {
        if (havePending)
            visit(usingFolded ? QStringView(folded) : pending);
        havePending = false;
        usingFolded = false;
    };
    qsizetype pos = 0;
    while (true) {
        const qsizetype lf = all.indexOf(QLatin1Char('\n'), pos);
        QStringView part = lf < 0 ? all.mid(pos) : all.mid(pos, lf - pos);
        if (lf >= 0 && part.endsWith(QLatin1Char('\r')))
            part.chop(1);
        const bool continuation = havePending && !part.isEmpty()
            && (part.front() == QLatin1Char(' ') || part.front() == QLatin1Char('\t'));
        if (continuation) {
            if (!usingFolded) {
                folded = pending.toString();
                usingFolded = true;
            }
            folded.append(part.mid(1));
        } else {
            flush();
            pending = part;
            havePending = true;
        }
        if (lf < 0)
            break;
        pos = lf + 1;
    }
    flush();
}

QStringList unfoldICalendarLines(const QString &text)
{
    QStringList lines;
    forEachUnfoldedLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

ContentLine parseContentLine(const QString &line)
{
    return parseContentLine(QStringView(line));
}

ContentLine parseContentLine(QStringView line)
{
    ContentLine result;
    qsizetype colon = -1;
    qsizetype firstColon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(':')) {
            if (firstColon < 0)
                firstColon = i;
            if (!quoted) {
                colon = i;
                break;
            }
        }
    }
    // An unclosed quote would otherwise swallow the value.
    if (colon < 0)
        colon = firstColon;
    if (colon < 0) {
        result.name = line.toString().toUpper();
        return result;
    }
    result.value = line.mid(colon + 1).toString();

    const QStringView head = line.left(colon);
    qsizetype start = 0;
    bool first = true;
    quoted = false;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size()) {
            const QChar c = head.at(i);
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            if (c != QLatin1Char(';') || quoted)
                continue;
        }
        const QStringView part = head.mid(start, i - start);
        start = i + 1;
        if (first) {
            result.name = part.toString().toUpper();
            first = false;
            continue;
        }
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0)
            result.params.insert(part.left(eq).toString().toUpper(), part.mid(eq + 1).toString());
    }
    return result;
}

QString paramValue(const QHash<QString, QString> &params, const QString &key,
                   const QString &defaultValue)
{
    const auto it = params.constFind(key);
    return it == params.constEnd() ? defaultValue : it.value();
}

QString unescapeICalendarText(const QString &text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text.at(i + 1);
            if (n == QLatin1Char(',') || n == QLatin1Char(';') || n == QLatin1Char('\\')) {
                out.append(n);
                ++i;
                continue;
            }
            if (n == QLatin1Char('n') || n == QLatin1Char('N')) {
                out.append(QLatin1Char('\n'));
                ++i;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString escapeICalendarText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\\':
            out.append(QLatin1String("\\\\"));
            break;
        case ';':
            out.append(QLatin1String("\\;"));
            break;
        case ',':
            out.append(QLatin1String("\\,"));
            break;
        case '\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("\\n"));
            break;
        case '\n':
            out.append(QLatin1String("\\n"));
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

std::optional<QTimeZone> knownTimeZone(const QString &tzid)
{
    // Zone construction reads the zone database; a feed names the same few zones thousands of
    // times. The cache is per thread and kept small.
    thread_local QHash<QString, std::optional<QTimeZone>> cache;
    const auto it = cache.constFind(tzid);
    if (it != cache.constEnd())
        return it.value();
    if (cache.size() >= 64)
        cache.clear();
    const std::optional<QTimeZone> zone = lookUpZone(tzid);
    cache.insert(tzid, zone);
    return zone;
}

QDateTime parseICalendarDateTime(const QString &value, const QHash<QString, QString> &params,
                                 bool &dateOnly)
{
    return parseICalendarDateTime(value, params, dateOnly, nullptr);
}

QDateTime parseICalendarDateTime(const QString &value, const QHash<QString, QString> &params,
                                 bool &dateOnly, VTimeZoneSet *zones)
{
    dateOnly = false;
    const QStringView v = skipBlanks(value);
    if (v.size() == 8 && !v.contains(QLatin1Char('T'))) {
        dateOnly = true;
        const QDate date = readDate(v);
        return date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime();
    }
    QDate date;
    QTime time;
    if (v.endsWith(QLatin1Char('Z'))) {
        if (!readDateTime(v.chopped(1), date, time))
            return {};
        return QDateTime(date, time, Qt::UTC);
    }
    if (!readDateTime(v, date, time))
        return {};
    const QString tzid = paramValue(params, QStringLiteral("TZID"));
    if (!tzid.isEmpty()) {
        if (const std::optional<QTimeZone> zone = knownTimeZone(tzid))
            return QDateTime(date, time, *zone);
        if (VTimeZone *defined = zones ? zones->find(tzid) : nullptr)
            return defined->at(date, time);
    }
    return QDateTime(date, time, Qt::LocalTime);
}

std::optional<ICalendarTimeFields> readICalendarTimeFields(QStringView value)
{
    QStringView v = skipBlanks(value);
    ICalendarTimeFields fields;
    if (v.size() == 8 && !v.contains(QLatin1Char('T'))) {
        fields.date = readDate(v);
        fields.time = QTime(0, 0);
        fields.dateOnly = true;
        return fields.date.isValid() ? std::optional(fields) : std::nullopt;
    }
    fields.utc = v.endsWith(QLatin1Char('Z'));
    if (fields.utc)
        v.chop(1);
    if (!readDateTime(v, fields.date, fields.time))
        return std::nullopt;
    return fields;
}

qint64 parseICalendarDuration(const QString &value)
{
    QStringView v(value);
    if (v.startsWith(QLatin1Char('+')))
        v = v.mid(1);
    if (v.isEmpty() || v.front() != QLatin1Char('P'))
        return 0;
    constexpr qint64 maxValue = std::numeric_limits<qint64>::max();
    qint64 total = 0;
    qint64 number = 0;
    bool overflow = false;
    bool inTime = false;
    for (qsizetype i = 1; i < v.size(); ++i) {
        const char16_t c = v.at(i).unicode();
        if (c == 'T') {
            inTime = true;
            continue;
        }
        if (c >= '0' && c <= '9') {
            if (!overflow
                && (qMulOverflow(number, qint64(10), &number)
                    || qAddOverflow(number, qint64(c - '0'), &number)))
                overflow = true;
            continue;
        }
        // A number too large for 64 bits reads as 0, like a failed conversion.
        const qint64 n = overflow ? 0 : number;
        number = 0;
        overflow = false;
        qint64 unit = 0;
        switch (c) {
        case 'W':
            unit = 604800;
            break;
        case 'D':
            unit = 86400;
            break;
        case 'H':
            unit = inTime ? 3600 : 0;
            break;
        case 'M':
            unit = inTime ? 60 : 2592000;
            break;
        case 'S':
            unit = inTime ? 1 : 0;
            break;
        default:
            break;
        }
        qint64 add = 0;
        if (qMulOverflow(n, unit, &add) || qAddOverflow(total, add, &total))
            total = maxValue;
    }
    return total;
}

QString formatICalendarUtc(const QDateTime &dateTime)
{
    return dateTime.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString formatICalendarDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QList<Event> parseICalendarEvents(const QString &text)
{
    static const QString beginEvent = QStringLiteral("BEGIN:VEVENT");
    static const QString endEvent = QStringLiteral("END:VEVENT");
    static const QString header
        = QLatin1String("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:") + iCalendarProductId() + kCrLf;
    static const QString footer = QStringLiteral("END:VCALENDAR\r\n");

    QList<Event> events;
    Event event;
    bool inEvent = false;
    QString raw;
    qint64 duration = 0;
    bool sawEnd = false;
    int depth = 0; // components nested in the event (alarms and the like)
    QStringList exceptionDates;
    QStringList recurrenceDates;
    VTimeZoneSet zones(text);

    forEachUnfoldedLine(text, [&](QStringView line) {
        if (line == beginEvent) {
            event = Event();
            duration = 0;
            sawEnd = false;
            depth = 0;
            exceptionDates.clear();
            recurrenceDates.clear();
            zones.resetUse();
            raw = header;
            raw += line;
            raw += kCrLf;
            inEvent = true;
            return;
        }
        if (!inEvent)
            return;
        raw += line;
        raw += kCrLf;
        if (line == endEvent) {
            inEvent = false;
            if (event.uid.isEmpty())
                return;
            if (!sawEnd && duration >= 1 && event.start_time.isValid())
                event.end_time = event.start_time.addSecs(duration);
            if (!event.recurrence_id.isEmpty() && event.master_event_uid.isEmpty())
                event.master_event_uid = event.uid;
            event.exception_dates = jsonStringArray(exceptionDates);
            event.recurrence_dates = jsonStringArray(recurrenceDates);
            // Zones only this file defines travel with the component; zones the system knows
            // need no definition.
            raw.insert(header.size(), zones.usedDefinitions());
            raw += footer;
            event.raw_icalendar = std::move(raw);
            raw = QString();
            events.append(std::move(event));
            event = Event();
            return;
        }

        const QStringView quickName = contentLineName(line);
        if (quickName.compare(QLatin1String("BEGIN"), Qt::CaseInsensitive) == 0) {
            ++depth;
            return;
        }
        if (quickName.compare(QLatin1String("END"), Qt::CaseInsensitive) == 0) {
            if (depth > 0)
                --depth;
            return;
        }
        // Alarms carry their own DESCRIPTION, SUMMARY, UID and DURATION; only the event's
        // own lines describe the event.
        if (depth > 0 || !isEventProperty(quickName))
            return;
        const ContentLine cl = parseContentLine(line);
        const QString &name = cl.name;

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
            event.start_time = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
            if (dateOnly)
                event.is_all_day = true;
            const auto tz = cl.params.constFind(QStringLiteral("TZID"));
            if (tz != cl.params.constEnd())
                event.timezone = tz.value();
        } else if (name == QLatin1String("DTEND")) {
            event.end_time = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
            sawEnd = true;
        } else if (name == QLatin1String("DURATION")) {
            duration = parseICalendarDuration(cl.value);
        } else if (name == QLatin1String("RRULE")) {
            event.recurrence_rule = cl.value;
        } else if (name == QLatin1String("EXDATE")) {
            collectICalendarDateList(cl, exceptionDates, &zones);
        } else if (name == QLatin1String("RDATE")) {
            collectICalendarDateList(cl, recurrenceDates, &zones);
        } else if (name == QLatin1String("RECURRENCE-ID")) {
            const QDateTime rid = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
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
            event.created = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
        } else if (name == QLatin1String("LAST-MODIFIED")) {
            event.last_modified = parseICalendarDateTime(cl.value, cl.params, dateOnly, &zones);
        } else if (name == QLatin1String("RELATED-TO")) {
            if (event.related_to_uid.isEmpty() && isParentRelation(cl))
                event.related_to_uid = unescapeICalendarText(cl.value);
        }
    });
    return events;
}
