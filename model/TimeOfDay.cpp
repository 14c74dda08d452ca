#include "model/TimeOfDay.h"

#include "model/DateText.h"

#include <QCoreApplication>

namespace TimeOfDay {

QString format(bool use24Hour)
{
    if (use24Hour)
        return QStringLiteral("HH:mm");
    // Some languages put AM and PM first.
    return QCoreApplication::translate("TimeFormat", "h:mm AP", "12-hour time pattern");
}

QString text(const QDateTime &dateTime, bool use24Hour)
{
    return DateText::time(dateTime.time(), format(use24Hour));
}

} // namespace TimeOfDay
