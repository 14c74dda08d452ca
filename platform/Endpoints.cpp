#include "platform/Endpoints.h"

#include <QByteArray>

#ifndef LARK_AUTH_API_URL
#define LARK_AUTH_API_URL ""
#endif
#ifndef LARK_ACCOUNT_API_URL
#define LARK_ACCOUNT_API_URL ""
#endif
#ifndef LARK_SYNC_API_URL
#define LARK_SYNC_API_URL ""
#endif
#ifndef LARK_ACCOUNT_PORTAL_URL
#define LARK_ACCOUNT_PORTAL_URL ""
#endif
#ifndef LARK_UPDATE_FEED_URL
#define LARK_UPDATE_FEED_URL ""
#endif
#ifndef LARK_FEEDBACK_URL
#define LARK_FEEDBACK_URL ""
#endif

namespace Endpoints {

QString fromEnvironment(const char *variable, const QString &fallback)
{
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? fallback : QString::fromUtf8(value);
}

QString authApiUrl()
{
    return fromEnvironment("AUTH_API_URL", QStringLiteral(LARK_AUTH_API_URL));
}

QString accountApiUrl()
{
    return fromEnvironment("ACCOUNT_API_URL", QStringLiteral(LARK_ACCOUNT_API_URL));
}

QString syncApiUrl()
{
    return fromEnvironment("SYNC_API_URL", QStringLiteral(LARK_SYNC_API_URL));
}

QString accountPortalUrl()
{
    return fromEnvironment("ACCOUNT_PORTAL_URL", QStringLiteral(LARK_ACCOUNT_PORTAL_URL));
}

QString updateFeedUrl()
{
    return fromEnvironment("UPDATE_FEED_URL", QStringLiteral(LARK_UPDATE_FEED_URL));
}

QString feedbackUrl()
{
    return fromEnvironment("FEEDBACK_URL", QStringLiteral(LARK_FEEDBACK_URL));
}

QString weatherForecastUrl()
{
    return fromEnvironment("WEATHER_FORECAST_URL",
                           QStringLiteral("https://api.open-meteo.com/v1/forecast"));
}

QString weatherGeocodingUrl()
{
    return fromEnvironment("WEATHER_GEOCODING_URL",
                           QStringLiteral("https://geocoding-api.open-meteo.com/v1/search"));
}

} // namespace Endpoints
