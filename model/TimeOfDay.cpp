#include "model/TimeOfDay.h"

namespace TimeOfDay {

QString format(bool use24Hour)
{
    return use24Hour ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP");
}

QString text(const QDateTime &dateTime, bool use24Hour)
{
    return dateTime.toString(format(use24Hour));
}

} // namespace TimeOfDay
