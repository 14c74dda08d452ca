#include "model/NLParser.h"

#include <QList>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <utility>

namespace NLParser {
namespace {

// Start offset and length, in UTF-16 code units of the raw line.
using Span = std::pair<int, int>;

// Offsets and durations typed into the line are bounded so that a long run of digits is no
// match instead of an overflow: a century is more than anyone schedules ahead.
constexpr qint64 kMaxOffsetMinutes = qint64(100) * 366 * 24 * 60;
constexpr qint64 kMaxOffsetDays = kMaxOffsetMinutes / (24 * 60);

QRegularExpression caseless(const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
}

Span spanOf(const QRegularExpressionMatch &m)
{
    return {int(m.capturedStart(0)), int(m.capturedLength(0))};
}

void record(QList<Span> &spans, const Span &span)
{
    if (span.second > 0)
        spans.append(span);
}

// 1 for the first prefix the lower-cased word begins with, 2 for the second ...; 0 for none.
int prefixNumber(const QString &word, const QStringList &prefixes)
{
    const QString lower = word.toLower();
    for (int i = 0; i < prefixes.size(); ++i) {
        if (lower.startsWith(prefixes.at(i)))
            return i + 1;
    }
    return 0;
}

// 1 (Monday) to 7 (Sunday).
int weekdayNumber(const QString &word)
{
    static const QStringList prefixes = {
        QStringLiteral("mon"), QStringLiteral("tue"), QStringLiteral("wed"), QStringLiteral("thu"),
        QStringLiteral("fri"), QStringLiteral("sat"), QStringLiteral("sun")};
    return prefixNumber(word, prefixes);
}

int monthNumber(const QString &word)
{
    static const QStringList prefixes = {
        QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"), QStringLiteral("apr"),
        QStringLiteral("may"), QStringLiteral("jun"), QStringLiteral("jul"), QStringLiteral("aug"),
        QStringLiteral("sep"), QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    return prefixNumber(word, prefixes);
}

QTime to24Hour(int hour, int minute, const QString &suffix)
{
    const QString s = suffix.toLower();
    if (s == QLatin1String("pm") && hour < 12)
        hour += 12;
    if (s == QLatin1String("am") && hour == 12)
        hour = 0;
    return QTime(hour, minute); // invalid above 23:59
}

struct DateMatch
{
    QDate date;
    Span span;
};

struct TimeMatch
{
    QTime start;
    QTime end;
    bool hasEnd = false;
    Span span;
};

struct DurationMatch
{
    qint64 minutes = 0;
    Span span;
};

struct RelativeMatch
{
    QDate date;
    bool hasDate = false;
    QTime time;
    bool hasTime = false;
    QList<Span> spans;
};

std::optional<DateMatch> matchDate(const QString &text, const QDate &today)
{
    static const QRegularExpression dayWord
        = caseless(QStringLiteral(R"(\b(today|tomorrow|yesterday)\b)"));
    static const QRegularExpression nextWeekday = caseless(QStringLiteral(
        R"(\bnext\s+(monday|tuesday|wednesday|thursday|friday|saturday|sunday|mon|tue|tues|wed|thu|thur|thurs|fri|sat|sun)\b)"));
    static const QRegularExpression weekday = caseless(QStringLiteral(
        R"(\b(?:on\s+)?(monday|tuesday|wednesday|thursday|friday|saturday|sunday|mon|tue|tues|wed|thu|thur|thurs|fri|sat|sun)\b)"));
    static const QRegularExpression inDays
        = caseless(QStringLiteral(R"(\bin\s+(\d+)\s+(days?|weeks?)\b)"));
    static const QRegularExpression monthDay = caseless(QStringLiteral(
        R"(\b(?:on\s+)?(jan|feb|mar|apr|may|jun|jul|aug|sep|sept|oct|nov|dec|january|february|march|april|june|july|august|september|october|november|december)\s+(\d{1,2})\b)"));

    QRegularExpressionMatch m = dayWord.match(text);
    if (m.hasMatch()) {
        const QString word = m.captured(1).toLower();
        const int delta = word == QLatin1String("tomorrow") ? 1
            : word == QLatin1String("yesterday")            ? -1
                                                            : 0;
        return DateMatch {today.addDays(delta), spanOf(m)};
    }
    m = nextWeekday.match(text);
    if (m.hasMatch()) {
        int d = weekdayNumber(m.captured(1)) - today.dayOfWeek();
        if (d < 1)
            d += 7;
        return DateMatch {today.addDays(d), spanOf(m)};
    }
    m = weekday.match(text);
    if (m.hasMatch()) {
        int d = weekdayNumber(m.captured(1)) - today.dayOfWeek();
        if (d < 0)
            d += 7;
        return DateMatch {today.addDays(d), spanOf(m)};
    }
    m = inDays.match(text);
    if (m.hasMatch()) {
        bool ok = false;
        const qint64 n = m.capturedView(1).toLongLong(&ok);
        const qint64 days = m.captured(2).startsWith(QLatin1String("week"), Qt::CaseInsensitive)
            ? (ok && n <= kMaxOffsetDays / 7 ? n * 7 : kMaxOffsetDays + 1)
            : n;
        // Beyond the bound the phrase is no date and the month-day pattern still gets its turn.
        if (ok && days <= kMaxOffsetDays)
            return DateMatch {today.addDays(days), spanOf(m)};
    }
    m = monthDay.match(text);
    if (m.hasMatch()) {
        QDate date(today.year(), monthNumber(m.captured(1)), m.captured(2).toInt());
        if (date.isValid() && date < today)
            date = date.addYears(1);
        return DateMatch {date, spanOf(m)};
    }
    return std::nullopt;
}

std::optional<TimeMatch> matchTime(const QString &text)
{
    static const QRegularExpression range = caseless(QStringLiteral(
        R"(\bfrom\s+(\d{1,2})(?::(\d{2}))?\s*(am|pm)?\s+to\s+(\d{1,2})(?::(\d{2}))?\s*(am|pm)?\b)"));
    static const QRegularExpression noon = caseless(QStringLiteral(R"(\b(?:at\s+)?noon\b)"));
    static const QRegularExpression midnight
        = caseless(QStringLiteral(R"(\b(?:at\s+)?midnight\b)"));
    static const QRegularExpression atClock
        = caseless(QStringLiteral(R"(\bat\s+(\d{1,2})(?::(\d{2}))?\s*(am|pm)?\b)"));
    static const QRegularExpression atFourDigits = caseless(QStringLiteral(R"(\bat\s+(\d{4})\b)"));
    static const QRegularExpression withSuffix
        = caseless(QStringLiteral(R"(\b(\d{1,2})(?::(\d{2}))?\s*(am|pm)\b)"));

    QRegularExpressionMatch m = range.match(text);
    if (m.hasMatch()) {
        const QString shared = m.captured(6).isEmpty() ? m.captured(3) : m.captured(6);
        const QString startSuffix = m.captured(3).isEmpty() ? shared : m.captured(3);
        const QString endSuffix = m.captured(6).isEmpty() ? shared : m.captured(6);
        TimeMatch t;
        t.start = to24Hour(m.captured(1).toInt(), m.captured(2).toInt(), startSuffix);
        t.end = to24Hour(m.captured(4).toInt(), m.captured(5).toInt(), endSuffix);
        t.hasEnd = true;
        t.span = spanOf(m);
        return t;
    }
    m = noon.match(text);
    if (m.hasMatch())
        return TimeMatch {QTime(12, 0), QTime(), false, spanOf(m)};
    m = midnight.match(text);
    if (m.hasMatch())
        return TimeMatch {QTime(0, 0), QTime(), false, spanOf(m)};
    m = atClock.match(text);
    if (m.hasMatch()) {
        const QTime t = to24Hour(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3));
        return TimeMatch {t, QTime(), false, spanOf(m)};
    }
    m = atFourDigits.match(text);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n / 100 < 24 && n % 100 < 60)
            return TimeMatch {QTime(n / 100, n % 100), QTime(), false, spanOf(m)};
    }
    m = withSuffix.match(text);
    if (m.hasMatch()) {
        const QTime t = to24Hour(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3));
        return TimeMatch {t, QTime(), false, spanOf(m)};
    }
    return std::nullopt;
}

std::optional<DurationMatch> matchDuration(const QString &text)
{
    static const QRegularExpression duration = caseless(QStringLiteral(
        R"(\bfor\s+(\d+(?:\.\d+)?)\s*(min|mins|minute|minutes|h|hr|hrs|hour|hours)\b)"));
    const QRegularExpressionMatch m = duration.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    double value = m.capturedView(1).toDouble(&ok);
    if (m.captured(2).startsWith(QLatin1Char('h'), Qt::CaseInsensitive))
        value *= 60;
    // Checked before the conversion, which is undefined for values an integer cannot hold.
    if (!ok || !std::isfinite(value) || value > double(kMaxOffsetMinutes))
        return std::nullopt;
    return DurationMatch {qint64(value), spanOf(m)};
}

RelativeMatch matchRelative(const QString &text, const QDateTime &now)
{
    static const QRegularExpression inUnits
        = caseless(QStringLiteral(R"(\bin\s+(\d+)\s*(minutes?|mins?|hours?|hrs?)\b)"));
    static const QRegularExpression partOfDay
        = caseless(QStringLiteral(R"(\b(tonight|this\s+(?:morning|afternoon|evening))\b)"));
    static const QRegularExpression nextWeek = caseless(QStringLiteral(R"(\bnext\s+week\b)"));

    RelativeMatch r;
    QRegularExpressionMatch m = inUnits.match(text);
    if (m.hasMatch()) {
        bool ok = false;
        const qint64 n = m.capturedView(1).toLongLong(&ok);
        const bool hours = m.captured(2).toLower().startsWith(QLatin1Char('h'));
        const qint64 limit = hours ? kMaxOffsetMinutes / 60 : kMaxOffsetMinutes;
        if (ok && n <= limit) {
            const QDateTime moment = now.addSecs(n * (hours ? 3600 : 60));
            r.date = moment.date();
            r.hasDate = true;
            r.time = moment.time();
            r.hasTime = true;
            record(r.spans, spanOf(m));
        }
    }
    m = partOfDay.match(text);
    if (m.hasMatch()) {
        const QString phrase = m.captured(0).toLower();
        const int hour = phrase.contains(QLatin1String("morning")) ? 9
            : phrase.contains(QLatin1String("afternoon"))          ? 15
                                                                   : 19;
        if (!r.hasTime) {
            r.time = QTime(hour, 0);
            r.hasTime = true;
        }
        if (!r.hasDate) {
            r.date = now.date();
            r.hasDate = true;
        }
        record(r.spans, spanOf(m));
    }
    m = nextWeek.match(text);
    if (m.hasMatch()) {
        if (!r.hasDate) {
            r.date = now.date().addDays(7);
            r.hasDate = true;
        }
        record(r.spans, spanOf(m));
    }
    return r;
}

QString removeSpans(const QString &text, QList<Span> spans)
{
    if (spans.isEmpty())
        return text.trimmed();
    std::sort(spans.begin(), spans.end(),
              [](const Span &a, const Span &b) { return a.first < b.first; });
    QString out;
    qsizetype cursor = 0;
    for (const Span &s : std::as_const(spans)) {
        if (s.first > cursor)
            out += QStringView(text).mid(cursor, s.first - cursor);
        cursor = std::max<qsizetype>(cursor, qsizetype(s.first) + s.second);
    }
    if (cursor < text.size())
        out += QStringView(text).mid(cursor);
    return out.simplified();
}

} // namespace

QDateTime inZoneOf(const QDate &date, const QTime &time, const QDateTime &reference)
{
    const QTime clock = time.isValid() ? time : QTime(0, 0);
    switch (reference.timeSpec()) {
    case Qt::TimeZone:
        return QDateTime(date, clock, reference.timeZone());
    case Qt::OffsetFromUTC:
        return QDateTime(date, clock, Qt::OffsetFromUTC, reference.offsetFromUtc());
    default:
        return QDateTime(date, clock, reference.timeSpec());
    }
}

QDateTime defaultQuickAddStart(const QDateTime &now)
{
    const QTime clock = now.time();
    const QDateTime start = inZoneOf(now.date(), QTime(clock.hour(), clock.minute()), now);
    const int minute = clock.minute();
    if (minute == 0 || minute == 30)
        return start;
    return start.addSecs(qint64(minute < 30 ? 30 - minute : 60 - minute) * 60);
}

ParseResult parse(const QString &text, const QDateTime &now)
{
    static const QRegularExpression reminderPrefix = caseless(QStringLiteral(
        R"(^\s*(?:remind\s+me\s+(?:to|that|about)\s+|remind\s+me\s+|reminder\s*[:\-]?\s*(?:to\s+)?|remember\s+to\s+|don'?t\s+(?:let\s+me\s+)?forget\s+(?:to\s+)?))"));
    static const QRegularExpression taskPrefix = caseless(QStringLiteral(
        R"(^\s*(?:task\s*[:\-]\s*|to-?do\s*[:\-]?\s*|(?:add|new)\s+(?:a\s+)?(?:task|to-?do)\s+(?:to\s+)?))"));
    static const QRegularExpression tag(QStringLiteral(R"(#([\p{L}\p{N}_\-]+))"));
    static const QRegularExpression edgeWord
        = caseless(QStringLiteral(R"(^(?:on|at|for)\s+|\s+(?:on|at|for)$)"));
    static const QRegularExpression leadingLink
        = caseless(QStringLiteral(R"(^(?:to|that|about)\s+)"));

    ParseResult result;
    if (text.trimmed().isEmpty()) {
        result.start = defaultQuickAddStart(now);
        return result;
    }
    const QDate today = now.date();
    QList<Span> spans;

    QRegularExpressionMatch m = reminderPrefix.match(text);
    if (m.hasMatch() && m.capturedEnd(0) > 0) {
        result.isReminder = true;
        record(spans, {0, int(m.capturedEnd(0))});
    } else {
        m = taskPrefix.match(text);
        if (m.hasMatch() && m.capturedEnd(0) >= 1) {
            result.isTask = true;
            record(spans, {0, int(m.capturedEnd(0))});
        }
    }

    QRegularExpressionMatchIterator tags = tag.globalMatch(text);
    while (tags.hasNext()) {
        const QRegularExpressionMatch t = tags.next();
        const QString name = t.captured(1);
        if (!result.tags.contains(name, Qt::CaseInsensitive))
            result.tags.append(name);
        record(spans, spanOf(t));
    }

    const RelativeMatch relative = matchRelative(text, now);
    spans += relative.spans;

    QDate date = today;
    bool dateFound = false;
    if (const std::optional<DateMatch> d = matchDate(text, today)) {
        date = d->date;
        record(spans, d->span);
        dateFound = true;
    } else if (relative.hasDate) {
        date = relative.date;
        dateFound = true;
    }

    QTime time;
    std::optional<QTime> endTime;
    if (const std::optional<TimeMatch> t = matchTime(text)) {
        time = t->start;
        record(spans, t->span);
        result.hasTime = true;
        if (t->hasEnd)
            endTime = t->end;
    } else if (relative.hasTime) {
        time = relative.time;
        result.hasTime = true;
    } else if (dateFound) {
        result.isAllDay = true;
        time = QTime(0, 0);
    } else {
        const QDateTime fallback = defaultQuickAddStart(now);
        date = fallback.date();
        time = fallback.time();
    }

    qint64 minutes = 60;
    if (const std::optional<DurationMatch> d = matchDuration(text)) {
        minutes = d->minutes;
        record(spans, d->span);
    }

    result.start = inZoneOf(date, time, now);
    if (endTime) {
        QDateTime end = inZoneOf(date, *endTime, now);
        if (!(end > result.start))
            end = end.addDays(1); // the range runs past midnight
        result.end = end;
    } else if (result.isAllDay) {
        result.end = inZoneOf(date.addDays(1), QTime(0, 0), now);
    } else {
        result.end = result.start.addSecs(minutes * 60);
    }

    QString title = removeSpans(text, spans);
    title.remove(edgeWord);
    title = title.simplified();
    if (result.isReminder || result.isTask) {
        title.remove(leadingLink);
        title = title.simplified();
    }
    result.title = title;

    if (!result.isReminder && !result.isTask && !result.isAllDay && !result.hasTime)
        result.isTask = true;
    return result;
}

} // namespace NLParser
