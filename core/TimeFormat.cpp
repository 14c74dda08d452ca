#include "core/TimeFormat.h"

#include "core/AppState.h"
#include "model/TimeOfDay.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"

#include <QCoreApplication>

bool uses24HourTime(const AppState *state)
{
    if (!state || !state->preferences())
        return false;
    return state->preferences()->get(Prefs::TimeFormat).value_or(Prefs::TimeFormatDefault)
        == QLatin1String("24");
}

QString timeOfDayFormat(const AppState *state)
{
    return TimeOfDay::format(uses24HourTime(state));
}

QString formatTimeOfDay(const AppState *state, const QDateTime &dateTime)
{
    return TimeOfDay::text(dateTime, uses24HourTime(state));
}
