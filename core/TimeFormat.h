#pragma once

// Times of day as the user chose to read them: "ui/timeFormat" "24" gives 09:05, anything else
// 9:05 AM. The preference is read at every call so a change shows at once.

#include <QDateTime>
#include <QString>

class PreferencesRepository;

// False without preferences (a store not open yet).
[[nodiscard]] bool uses24HourTime(const PreferencesRepository *preferences);
// "HH:mm" or "h:mm AP" (the latter as the interface language orders it).
[[nodiscard]] QString timeOfDayFormat(const PreferencesRepository *preferences);
// In the interface language (the default locale).
[[nodiscard]] QString formatTimeOfDay(const PreferencesRepository *preferences,
                                      const QDateTime &dateTime);
