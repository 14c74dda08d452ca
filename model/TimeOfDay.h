#pragma once

// Times of day on the 24-hour clock (09:05) or the 12-hour clock (9:05 AM).

#include <QDateTime>
#include <QString>

namespace TimeOfDay {

// "HH:mm" or "h:mm AP".
[[nodiscard]] QString format(bool use24Hour);
[[nodiscard]] QString text(const QDateTime &dateTime, bool use24Hour);

} // namespace TimeOfDay
