#include "model/ICalendar.h"

#include "model/VTimeZone.h"

#include <QFileInfo>
#include <QtNumeric>

#include <limits>

namespace {

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

QStringView UnfoldedLineCursor::physicalLine(qsizetype from, qsizetype &after) const
{
    const qsizetype lf = m_text.indexOf(QLatin1Char('\n'), from);
    QStringView part = lf < 0 ? m_text.mid(from) : m_text.mid(from, lf - from);
    if (lf >= 0 && part.endsWith(QLatin1Char('\r')))
        part.chop(1);
    after = lf < 0 ? m_text.size() + 1 : lf + 1;
    return part;
}

bool UnfoldedLineCursor::next(QStringView &line)
{
    if (m_pos > m_text.size())
        return false;
    qsizetype after = 0;
    const QStringView first = physicalLine(m_pos, after);
    bool folded = false;
    while (after <= m_text.size()) {
        qsizetype further = 0;
        const QStringView part = physicalLine(after, further);
        if (part.isEmpty()
            || (part.front() != QLatin1Char(' ') && part.front() != QLatin1Char('\t')))
            break;
        if (!folded) {
            m_folded = first.toString();
            folded = true;
        }
        m_folded.append(part.mid(1));
        after = further;
    }
    m_pos = after;
    line = folded ? QStringView(m_folded) : first;
    return true;
}

void forEachUnfoldedLine(const QString &text, const std::function<void(QStringView)> &visit)
{
    UnfoldedLineCursor lines(text);
    QStringView line;
    while (lines.next(line))
        visit(line);
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

namespace {

constexpr qint64 kSecondsPerDay = 86400;

// Seconds since the epoch of a wall-clock time read as if it were UTC.
qint64 wallSeconds(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
}

// The UTC seconds of a wall-clock time, given the offset in force at any instant. Offsets stay
// below a day, so the offsets a day either side are the only candidates; the larger one gives
// the earlier instant.
template<typename OffsetAt> qint64 resolveWallClock(qint64 wall, OffsetAt offsetAt)
{
    const int before = offsetAt(wall - kSecondsPerDay);
    const int after = offsetAt(wall + kSecondsPerDay);
    for (const int offset : {qMax(before, after), qMin(before, after)}) {
        if (offsetAt(wall - offset) == offset)
            return wall - offset;
    }
    return wall - before;
}

} // namespace

QDateTime wallClockTime(const QDate &date, const QTime &time, const QTimeZone &zone)
{
    const qint64 utc = resolveWallClock(wallSeconds(date, time), [&zone](qint64 at) {
        return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(at, Qt::UTC));
    });
    return QDateTime::fromSecsSinceEpoch(utc, zone);
}

QDateTime localWallClockTime(const QDate &date, const QTime &time)
{
    // Most times lie away from any change: one conversion settles them.
    const QDateTime direct(date, time, Qt::LocalTime);
    if (direct.isValid()) {
        const qint64 at = direct.toSecsSinceEpoch();
        const int offset = direct.offsetFromUtc();
        if (QDateTime::fromSecsSinceEpoch(at - kSecondsPerDay, Qt::LocalTime).offsetFromUtc()
                == offset
            && QDateTime::fromSecsSinceEpoch(at + kSecondsPerDay, Qt::LocalTime).offsetFromUtc()
                == offset)
            return direct;
    }
    const qint64 utc = resolveWallClock(wallSeconds(date, time), [](qint64 at) {
        return QDateTime::fromSecsSinceEpoch(at, Qt::LocalTime).offsetFromUtc();
    });
    return QDateTime::fromSecsSinceEpoch(utc, Qt::LocalTime);
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
            return wallClockTime(date, time, *zone);
        if (VTimeZone *defined = zones ? zones->find(tzid) : nullptr) {
            // The definition gives the instant; a zone that can say its rules carries the time,
            // so a series keeps its wall-clock time across the zone's changes.
            const QDateTime instant = defined->at(date, time);
            const std::optional<QTimeZone> zone = defined->systemZone();
            return zone && instant.isValid() ? instant.toTimeZone(*zone) : instant;
        }
    }
    return localWallClockTime(date, time);
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
