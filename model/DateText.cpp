#include "model/DateText.h"

#include <QCoreApplication>
#include <QLocale>

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

} // namespace DateText
