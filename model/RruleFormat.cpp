#include "model/RruleFormat.h"

#include "model/DateText.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>

namespace RruleFormat {
namespace {

const QString &separator()
{
    static const QString s = QStringLiteral(" \u00B7 ");
    return s;
}

// The first entry of a comma-separated list, skipping empty ones; empty when there is none.
QString firstEntry(const QString &list)
{
    const QStringList entries = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    return entries.isEmpty() ? QString() : entries.first();
}

QString frequencyPhrase(const QString &freq, int interval)
{
    if (freq == QLatin1String("DAILY"))
        return interval == 1 ? QObject::tr("Repeats daily")
                             : QObject::tr("Every %1 days").arg(interval);
    if (freq == QLatin1String("WEEKLY"))
        return interval == 1 ? QObject::tr("Repeats weekly")
                             : QObject::tr("Every %1 weeks").arg(interval);
    if (freq == QLatin1String("MONTHLY"))
        return interval == 1 ? QObject::tr("Repeats monthly")
                             : QObject::tr("Every %1 months").arg(interval);
    if (freq == QLatin1String("YEARLY"))
        return interval == 1 ? QObject::tr("Repeats yearly")
                             : QObject::tr("Every %1 years").arg(interval);
    return QObject::tr("Repeats");
}

} // namespace

QString describe(const QString &rule)
{
    if (rule.isEmpty())
        return QString();

    QHash<QString, QString> parts;
    const QStringList pieces = rule.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = piece.left(eq).toUpper();
        const QString value = piece.mid(eq + 1);
        if (key == QLatin1String("FREQ"))
            parts.insert(key, value.toUpper());
        else if (key == QLatin1String("INTERVAL") || key == QLatin1String("BYDAY")
                 || key == QLatin1String("BYMONTHDAY") || key == QLatin1String("COUNT")
                 || key == QLatin1String("UNTIL"))
            parts.insert(key, value);
    }
    const auto has = [&parts](const char *key) {
        return parts.contains(QLatin1String(key));
    };
    const auto get = [&parts](const char *key) {
        return parts.value(QLatin1String(key));
    };

    // Expansion treats an interval below 1 as 1, so the text does too.
    const int interval = has("INTERVAL") ? qMax(1, get("INTERVAL").toInt()) : 1;
    const QString freq = get("FREQ");
    const bool monthly = freq == QLatin1String("MONTHLY");

    QString text = frequencyPhrase(freq, interval);
    const auto add = [&text](const QString &phrase) {
        text += separator() + phrase;
    };

    if (!monthly && has("BYDAY")) {
        QStringList labels;
        const QStringList entries = get("BYDAY").split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &entry : entries) {
            const QString code = parseByDayEntry(entry.trimmed()).second;
            if (!code.isEmpty())
                labels << weekdayLabel(code);
        }
        if (!labels.isEmpty())
            add(labels.join(QStringLiteral(", ")));
    } else if (monthly && has("BYDAY")) {
        const QString entry = firstEntry(get("BYDAY")).trimmed();
        const auto [ordinal, code] = parseByDayEntry(entry);
        // An entry without a weekday names no day: no phrase rather than a dangling "on the".
        if (!code.isEmpty()) {
            if (ordinal == 0)
                add(weekdayLabel(code));
            else
                add(QObject::tr("on the %1 %2").arg(ordinalWord(ordinal), weekdayLabel(code)));
        }
    } else if (monthly && has("BYMONTHDAY")) {
        const int day = firstEntry(get("BYMONTHDAY")).toInt();
        if (day >= 1)
            add(QObject::tr("on the %1").arg(ordinalNumber(day)));
    }

    if (has("COUNT")) {
        const int n = get("COUNT").toInt();
        if (n >= 1)
            add(QObject::tr("%n time(s)", nullptr, n));
    } else if (has("UNTIL")) {
        QString value = get("UNTIL");
        const qsizetype t = value.indexOf(QLatin1Char('T'));
        if (t > 0)
            value.truncate(t);
        const QDate date = QDate::fromString(value, QStringLiteral("yyyyMMdd"));
        if (date.isValid())
            add(QObject::tr("until %1").arg(DateText::format(date, DateText::Style::MonthDayYear)));
    }
    return text;
}

QString reminderOffsetLabel(int minutes)
{
    if (minutes < 1)
        return QObject::tr("At time of event");
    if (minutes < 60)
        return QObject::tr("%1 min before").arg(minutes);
    if (minutes < 1440)
        return QObject::tr("%n hour(s) before", nullptr, minutes / 60);
    return QObject::tr("%n day(s) before", nullptr, minutes / 1440);
}

QString weekdayLabel(const QString &code)
{
    static const QStringList codes
        = {QStringLiteral("MO"), QStringLiteral("TU"), QStringLiteral("WE"), QStringLiteral("TH"),
           QStringLiteral("FR"), QStringLiteral("SA"), QStringLiteral("SU")};
    const QString upper = code.toUpper();
    switch (codes.indexOf(upper)) {
    case 0:
        return QObject::tr("Mon", "RruleFormat");
    case 1:
        return QObject::tr("Tue", "RruleFormat");
    case 2:
        return QObject::tr("Wed", "RruleFormat");
    case 3:
        return QObject::tr("Thu", "RruleFormat");
    case 4:
        return QObject::tr("Fri", "RruleFormat");
    case 5:
        return QObject::tr("Sat", "RruleFormat");
    case 6:
        return QObject::tr("Sun", "RruleFormat");
    default:
        return upper;
    }
}

QString ordinalNumber(int n)
{
    if (n == 11 || n == 12 || n == 13)
        return QObject::tr("%1th").arg(n);
    switch (n % 10) { // keeps the sign of n, so -1 reads "-1th"
    case 1:
        return QObject::tr("%1st").arg(n);
    case 2:
        return QObject::tr("%1nd").arg(n);
    case 3:
        return QObject::tr("%1rd").arg(n);
    default:
        return QObject::tr("%1th").arg(n);
    }
}

QString ordinalWord(int n)
{
    switch (n) {
    case -2:
        return QObject::tr("second-to-last");
    case -1:
        return QObject::tr("last");
    case 1:
        return QObject::tr("first");
    case 2:
        return QObject::tr("second");
    case 3:
        return QObject::tr("third");
    case 4:
        return QObject::tr("fourth");
    case 5:
        return QObject::tr("fifth");
    default:
        break;
    }
    if (n >= 6)
        return ordinalNumber(n);
    // 64 bits: the absolute value of the smallest int does not fit in an int.
    return QObject::tr("%1th-from-last").arg(qAbs(qint64(n)));
}

std::pair<int, QString> parseByDayEntry(const QString &entry)
{
    qsizetype i = 0;
    if (!entry.isEmpty() && (entry.at(0) == QLatin1Char('+') || entry.at(0) == QLatin1Char('-')))
        ++i;
    while (i < entry.size() && entry.at(i) >= QLatin1Char('0') && entry.at(i) <= QLatin1Char('9'))
        ++i;
    // A sign alone or no digits at all converts to 0.
    const int ordinal = entry.left(i).toInt();
    return {ordinal, entry.mid(i).toUpper()};
}

} // namespace RruleFormat
