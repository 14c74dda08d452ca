#include "core/TimeFormat.h"

#include "model/TimeOfDay.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

bool uses24HourTime(const PreferencesRepository *preferences)
{
    if (!preferences)
        return false;
    return preferences->get(Prefs::TimeFormat).value_or(Prefs::TimeFormatDefault)
        == QLatin1String("24");
}

QString timeOfDayFormat(const PreferencesRepository *preferences)
{
    return TimeOfDay::format(uses24HourTime(preferences));
}

QString formatTimeOfDay(const PreferencesRepository *preferences, const QDateTime &dateTime)
{
    return TimeOfDay::text(dateTime, uses24HourTime(preferences));
}
