#include "core/TimeFormat.h"

#include "core/AppState.h"
#include "model/DateText.h"
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
    if (uses24HourTime(state))
        return QStringLiteral("HH:mm");
    // Some languages put AM and PM first.
    return QCoreApplication::translate("TimeFormat", "h:mm AP", "12-hour time pattern");
}

QString formatTimeOfDay(const AppState *state, const QDateTime &dateTime)
{
    return DateText::time(dateTime.time(), timeOfDayFormat(state));
}
