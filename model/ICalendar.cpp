#include "model/ICalendar.h"

#include "model/VTimeZone.h"

#include <QtNumeric>

#include <limits>

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

bool isParentRelation(const ContentLine &line)
{
    return paramValue(line.params, QStringLiteral("RELTYPE"), QStringLiteral("PARENT"))
               .compare(QLatin1String("PARENT"), Qt::CaseInsensitive)
        == 0;
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
    const std::optional<ICalendarTimeFields> fields = readICalendarTimeFields(value);
    if (!fields) {
        // Eight characters without a time are a day, even when no such day exists.
        const QStringView v = skipICalendarBlanks(value);
        dateOnly = v.size() == 8 && !v.contains(QLatin1Char('T'));
        return {};
    }
    dateOnly = fields->dateOnly;
    if (fields->dateOnly)
        return QDateTime(fields->date, QTime(0, 0), Qt::UTC);
    if (fields->utc)
        return QDateTime(fields->date, fields->time, Qt::UTC);
    const QDate &date = fields->date;
    const QTime &time = fields->time;
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
