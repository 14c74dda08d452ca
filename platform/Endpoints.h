#pragma once

// Every remote address the program talks to, read in one place. Each comes from an environment
// variable when that is set and non-empty, else from the build configuration (CMake cache
// variables LARK_*_URL). The maker's own services have no address unless the build sets one:
// then the features that need them stay off and nothing is sent. The OAuth client identity the
// build carries for Google and Microsoft is read here the same way (LARK_GOOGLE_CLIENT_ID and
// so on); it is empty by default, and then those sign-ins are not offered.

#include <QString>
#include <QUrl>

namespace Endpoints {

// The environment variable's value (UTF-8) when non-empty, else the fallback.
QString fromEnvironment(const char *variable, const QString &fallback);
// The same for an address that receives tokens, passwords or the client secret (the sign-in
// and sync services): one that is not https, or http to this machine, is ignored with a
// warning in the log, so that no override can send them in the clear.
QString addressFromEnvironment(const char *variable, const QString &fallback);

// Where a request may go: https anywhere, plain http only to this machine.
bool isSecureOrLoopback(const QUrl &url);

QString authApiUrl(); // AUTH_API_URL
QString accountApiUrl(); // ACCOUNT_API_URL
QString syncApiUrl(); // SYNC_API_URL
QString accountPortalUrl(); // ACCOUNT_PORTAL_URL
QString updateFeedUrl(); // UPDATE_FEED_URL: root of the release feed
QString feedbackUrl(); // FEEDBACK_URL
QString weatherForecastUrl(); // WEATHER_FORECAST_URL: the public forecast API
QString weatherGeocodingUrl(); // WEATHER_GEOCODING_URL: the public geocoding API

QString googleAuthUrl(); // GOOGLE_AUTH_URL: the OAuth authorization page
QString googleTokenUrl(); // GOOGLE_TOKEN_URL: the OAuth token endpoint
QString googleCalendarApiUrl(); // GOOGLE_CALENDAR_API_URL: root of the calendar API
// MICROSOFT_AUTHORITY_URL: the identity platform's base; "/<tenant>/oauth2/v2.0/..." follows.
QString microsoftAuthorityUrl();
QString microsoftGraphApiUrl(); // MICROSOFT_GRAPH_API_URL: root of the Graph API

QString googleClientId(); // GOOGLE_CLIENT_ID
QString googleClientSecret(); // GOOGLE_CLIENT_SECRET
QString microsoftClientId(); // MICROSOFT_CLIENT_ID

} // namespace Endpoints
