#include "platform/Endpoints.h"

#include <QByteArray>
#include <QHostAddress>
#include <QtDebug>

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
#ifndef LARK_GOOGLE_CLIENT_ID
#define LARK_GOOGLE_CLIENT_ID ""
#endif
#ifndef LARK_GOOGLE_CLIENT_SECRET
#define LARK_GOOGLE_CLIENT_SECRET ""
#endif
#ifndef LARK_MICROSOFT_CLIENT_ID
#define LARK_MICROSOFT_CLIENT_ID ""
#endif

namespace Endpoints {

QString fromEnvironment(const char *variable, const QString &fallback)
{
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? fallback : QString::fromUtf8(value);
}

bool isSecureOrLoopback(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == QLatin1String("https"))
        return true;
    if (url.scheme() != QLatin1String("http"))
        return false;
    const QHostAddress address(url.host());
    return url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || (!address.isNull() && address.isLoopback());
}

QString addressFromEnvironment(const char *variable, const QString &fallback)
{
    const QString value = fromEnvironment(variable, QString());
    if (value.isEmpty())
        return fallback;
    if (isSecureOrLoopback(QUrl(value, QUrl::StrictMode)))
        return value;
    qWarning().noquote() << "[Endpoints] ignoring" << variable
                         << ": only https, or http to this computer, is used";
    return fallback;
}

QString authApiUrl()
{
    return addressFromEnvironment("AUTH_API_URL", QStringLiteral(LARK_AUTH_API_URL));
}

QString accountApiUrl()
{
    return addressFromEnvironment("ACCOUNT_API_URL", QStringLiteral(LARK_ACCOUNT_API_URL));
}

QString syncApiUrl()
{
    return addressFromEnvironment("SYNC_API_URL", QStringLiteral(LARK_SYNC_API_URL));
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

QString googleAuthUrl()
{
    return addressFromEnvironment("GOOGLE_AUTH_URL",
                                  QStringLiteral("https://accounts.google.com/o/oauth2/v2/auth"));
}

QString googleTokenUrl()
{
    return addressFromEnvironment("GOOGLE_TOKEN_URL",
                                  QStringLiteral("https://oauth2.googleapis.com/token"));
}

QString googleCalendarApiUrl()
{
    return addressFromEnvironment("GOOGLE_CALENDAR_API_URL",
                                  QStringLiteral("https://www.googleapis.com/calendar/v3"));
}

QString microsoftAuthorityUrl()
{
    return addressFromEnvironment("MICROSOFT_AUTHORITY_URL",
                                  QStringLiteral("https://login.microsoftonline.com"));
}

QString microsoftGraphApiUrl()
{
    return addressFromEnvironment("MICROSOFT_GRAPH_API_URL",
                                  QStringLiteral("https://graph.microsoft.com/v1.0"));
}

QString googleClientId()
{
    return fromEnvironment("GOOGLE_CLIENT_ID", QStringLiteral(LARK_GOOGLE_CLIENT_ID));
}

QString googleClientSecret()
{
    return fromEnvironment("GOOGLE_CLIENT_SECRET", QStringLiteral(LARK_GOOGLE_CLIENT_SECRET));
}

QString microsoftClientId()
{
    return fromEnvironment("MICROSOFT_CLIENT_ID", QStringLiteral(LARK_MICROSOFT_CLIENT_ID));
}

} // namespace Endpoints
