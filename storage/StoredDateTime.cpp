#include "storage/StoredDateTime.h"

#include "model/CalendarCycle.h"
#include "storage/SqlHelpers.h"

namespace Sql {

namespace {

char *putDigits(char *out, int value, int n)
{
    for (int i = n - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + n;
}

} // namespace

QString isoText(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    // The forms the store writes, built without Qt's general formatter, which shows in every
    // write of many rows. Other zones and years are left to Qt.
    const Qt::TimeSpec spec = value.timeSpec();
    const QDate date = value.date();
    if (spec == Qt::TimeZone || date.year() < 1 || date.year() > 9999)
        return value.toString(Qt::ISODate);
    const QTime time = value.time();
    char buf[32];
    char *p = putDigits(buf, date.year(), 4);
    *p++ = '-';
    p = putDigits(p, date.month(), 2);
    *p++ = '-';
    p = putDigits(p, date.day(), 2);
    *p++ = 'T';
    p = putDigits(p, time.hour(), 2);
    *p++ = ':';
    p = putDigits(p, time.minute(), 2);
    *p++ = ':';
    p = putDigits(p, time.second(), 2);
    if (spec == Qt::UTC) {
        *p++ = 'Z';
    } else if (spec == Qt::OffsetFromUTC) {
        const int offset = value.offsetFromUtc();
        *p++ = offset >= 0 ? '+' : '-';
        p = putDigits(p, qAbs(offset) / 3600, 2);
        *p++ = ':';
        p = putDigits(p, (qAbs(offset) / 60) % 60, 2);
    }
    return QString::fromLatin1(buf, p - buf);
}

QVariant dateTime(const QDateTime &value)
{
    return text(isoText(value));
}

QVariant dateTime(const std::optional<QDateTime> &value)
{
    if (!value)
        return text(QString());
    return dateTime(*value);
}

namespace {

template<typename Char> int digits(const Char *p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char16_t c = char16_t(p[i]);
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// A stored form taken apart: the date and time as written, and the offset it carries (none for
// local time).
struct StoredFields
{
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    std::optional<int> offsetSecs;

    // The instant as written, the offset not yet taken off: ms since the epoch.
    qint64 wallMSecs() const
    {
        const qint64 days = CalendarCycle::julianDay(year, month, day) - kEpochJulianDay;
        return ((days * 24 + hour) * 60 + minute) * 60000 + qint64(second) * 1000;
    }

    static constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01
};

// The forms the store writes, "yyyy-MM-ddTHH:mm:ss" with "Z", "+HH:MM" or no suffix, parsed
// without Qt's general ISO parser, which dominates reading large lists. Anything else (fractions,
// other separators, dates alone) is left to Qt. Takes UTF-16 or UTF-8 (these forms are ASCII).
// Dates are checked as QDate checks them (years 1 to 9999 here), so that a form is taken exactly
// when Qt would make a valid date-time of its parts.
template<typename Char> std::optional<StoredFields> parseStoredFields(const Char *p, qsizetype n)
{
    if (n != 19 && n != 20 && n != 25)
        return std::nullopt;
    if (p[4] != '-' || p[7] != '-' || p[10] != 'T' || p[13] != ':' || p[16] != ':')
        return std::nullopt;
    StoredFields f;
    f.year = digits(p, 4);
    f.month = digits(p + 5, 2);
    f.day = digits(p + 8, 2);
    f.hour = digits(p + 11, 2);
    f.minute = digits(p + 14, 2);
    f.second = digits(p + 17, 2);
    if (f.year < 1 || f.month < 1 || f.month > 12 || f.day < 1
        || f.day > CalendarCycle::daysInMonth(f.year, f.month) || f.hour < 0 || f.hour > 23
        || f.minute < 0 || f.minute > 59 || f.second < 0 || f.second > 59)
        return std::nullopt;
    if (n == 19)
        return f;
    if (n == 20) {
        if (p[19] != 'Z')
            return std::nullopt;
        f.offsetSecs = 0;
        return f;
    }
    const Char sign = p[19];
    const int oh = digits(p + 20, 2), om = digits(p + 23, 2);
    if ((sign != '+' && sign != '-') || p[22] != ':' || oh < 0 || om < 0 || (oh == 0 && om == 0))
        return std::nullopt;
    f.offsetSecs = (oh * 3600 + om * 60) * (sign == '-' ? -1 : 1);
    return f;
}

template<typename Char> std::optional<QDateTime> parseStoredForm(const Char *p, qsizetype n)
{
    const std::optional<StoredFields> f = parseStoredFields(p, n);
    if (!f)
        return std::nullopt;
    if (!f->offsetSecs)
        return QDateTime(QDate(f->year, f->month, f->day), QTime(f->hour, f->minute, f->second),
                         Qt::LocalTime);
    // From the instant: the same value as one made of the date and time, without Qt's
    // calendar arithmetic.
    const qint64 utc = f->wallMSecs() - qint64(*f->offsetSecs) * 1000;
    if (*f->offsetSecs == 0)
        return QDateTime::fromMSecsSinceEpoch(utc, Qt::UTC);
    return QDateTime::fromMSecsSinceEpoch(utc, Qt::OffsetFromUTC, *f->offsetSecs);
}

} // namespace

QDateTime parseDateTime(const QVariant &value)
{
    const QString s = value.toString();
    if (s.isEmpty())
        return {};
    if (std::optional<QDateTime> fast = parseStoredForm(s.utf16(), s.size()))
        return *fast;
    return QDateTime::fromString(s, Qt::ISODate);
}

std::optional<QDateTime> parseOptionalDateTime(const QVariant &value)
{
    if (value.toString().isEmpty())
        return std::nullopt;
    return parseDateTime(value);
}

QDateTime parseUtf8DateTime(QByteArrayView text)
{
    if (text.isEmpty())
        return {};
    if (std::optional<QDateTime> fast = parseStoredForm(text.data(), text.size()))
        return *fast;
    return QDateTime::fromString(QString::fromUtf8(text), Qt::ISODate);
}

std::optional<qint64> parseUtf8Instant(QByteArrayView text)
{
    const std::optional<StoredFields> f = parseStoredFields(text.data(), text.size());
    if (!f || !f->offsetSecs)
        return std::nullopt;
    return f->wallMSecs() - qint64(*f->offsetSecs) * 1000;
}

QString widenedBound(const QDateTime &t, qint64 secs)
{
    const QDateTime moved = t.toUTC().addSecs(secs);
    // Every range read makes its bounds: the store's own writer is much quicker than a format.
    QString text = isoText(moved);
    if (text.size() == 20 && text.endsWith(QLatin1Char('Z'))) {
        text.chop(1);
        return text;
    }
    return moved.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

} // namespace Sql
