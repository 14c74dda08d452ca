#include "core/TimeFormat.h"

#include "core/AppState.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

bool uses24HourTime(const AppState *state)
{
    if (!state || !state->preferences())
        return false;
    return state->preferences()->get(Prefs::TimeFormat).value_or(Prefs::TimeFormatDefault)
        == QLatin1String("24");
}

QString timeOfDayFormat(const AppState *state)
{
    return uses24HourTime(state) ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP");
}

QString formatTimeOfDay(const AppState *state, const QDateTime &dateTime)
{
    return dateTime.toString(timeOfDayFormat(state));
}
