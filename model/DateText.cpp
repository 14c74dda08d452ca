#include "model/DateText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QObject>

namespace DateText {

QString pattern(Style style)
{
    switch (style) {
    case Style::WeekdayMonthDay:
        return QCoreApplication::translate("DateText", "dddd, MMM d",
                                           "date pattern: weekday, month and day");
    case Style::ShortWeekdayMonthDay:
        return QCoreApplication::translate("DateText", "ddd, MMM d",
                                           "date pattern: short weekday, month and day");
    case Style::ShortWeekdayDateYear:
        return QCoreApplication::translate("DateText", "ddd d MMM yyyy",
                                           "date pattern: short weekday, day, month and year");
    case Style::MonthDayYear:
        return QCoreApplication::translate("DateText", "MMM d, yyyy",
                                           "date pattern: month, day and year");
    }
    return QString();
}

QString format(const QDate &date, Style style)
{
    return QLocale().toString(date, pattern(style));
}

QString time(const QTime &time, const QString &pattern)
{
    return QLocale().toString(time, pattern);
}

QString dayAndTime(const QDate &date, const QDate &today, const QString &time, Placement placement)
{
    const bool opens = placement == Placement::OpensSentence;
    if (date == today)
        return opens ? QObject::tr("Today at %1").arg(time) : QObject::tr("at %1").arg(time);
    if (date == today.addDays(1))
        return opens ? QObject::tr("Tomorrow at %1").arg(time)
                     : QObject::tr("tomorrow at %1").arg(time);
    return QObject::tr("%1 %2").arg(format(date, Style::ShortWeekdayMonthDay), time);
}

} // namespace DateText
