// Stored date lists: RDATE and EXDATE entries, recurrence ids and the compact texts they use.

#include "model/JsonText.h"
#include "model/Recurrence.h"
#include "model/RecurrenceDetail.h"

namespace {

// The value of n decimal digits; -1 when one is not a digit.
int digitsAt(const QString &text, qsizetype at, int n)
{
    int value = 0;
    for (qsizetype i = at; i < at + n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

namespace RecurrenceDetail {

// "yyyyMMdd"; invalid unless it names a real date.
QDate parseCompactDate(const QString &text)
{
    if (text.size() != 8)
        return {};
    const int y = digitsAt(text, 0, 4), m = digitsAt(text, 4, 2), d = digitsAt(text, 6, 2);
    return y < 0 || m < 0 || d < 0 ? QDate() : QDate(y, m, d);
}

// "yyyyMMddTHHmmss": date and time fields only, no zone.
bool parseCompactDateTime(const QString &text, QDate *date, QTime *time)
{
    if (text.size() != 15 || text.at(8) != QLatin1Char('T'))
        return false;
    *date = parseCompactDate(text.left(8));
    const int h = digitsAt(text, 9, 2), m = digitsAt(text, 11, 2), s = digitsAt(text, 13, 2);
    *time = h < 0 || m < 0 || s < 0 ? QTime() : QTime(h, m, s);
    return date->isValid() && time->isValid();
}

DateEntry parseDateEntry(const QString &text)
{
    DateEntry entry;
    if (text.contains(QLatin1Char('T'))) {
        QString rest = text;
        const bool utc = rest.endsWith(QLatin1Char('Z'));
        if (utc)
            rest.chop(1);
        QDate d;
        QTime t;
        if (parseCompactDateTime(rest, &d, &t))
            entry.instant = QDateTime(d, t, utc ? Qt::UTC : Qt::LocalTime);
    } else {
        entry.dateOnly = parseCompactDate(text);
        if (entry.dateOnly.isValid())
            entry.instant = QDateTime(entry.dateOnly, QTime(0, 0), Qt::UTC);
    }
    return entry;
}

QList<DateEntry> parseDateEntries(const QString &text)
{
    QList<DateEntry> entries;
    const QStringList texts = jsonTextList(text);
    for (const QString &t : texts) {
        DateEntry entry = parseDateEntry(t);
        if (entry.instant.isValid())
            entries.append(std::move(entry));
    }
    return entries;
}

} // namespace RecurrenceDetail

using namespace RecurrenceDetail;

QDateTime dateEntryInstant(const QString &entry)
{
    return parseDateEntry(entry).instant;
}

QSet<qint64> parseExceptionInstants(const QString &text)
{
    QSet<qint64> instants;
    const QList<DateEntry> entries = parseDateEntries(text);
    for (const DateEntry &e : entries)
        instants.insert(e.instant.toMSecsSinceEpoch());
    return instants;
}
