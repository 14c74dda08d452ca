#include "services/sync/google/AuthService.h"

#include "platform/Endpoints.h"

namespace Google {

namespace {

const QString kScope = QStringLiteral("openid email profile "
                                      "https://www.googleapis.com/auth/calendar.events "
                                      "https://www.googleapis.com/auth/calendar");

} // namespace

AuthService::AuthService(QObject *parent)
    : OAuth::LoopbackAuthService(parent)
{ }

QString AuthService::tokenKeyPrefix()
{
    return QStringLiteral("google-tokens-");
}

bool AuthService::isConfigured() const
{
    return hasBuiltInGoogleCredentials();
}

QString AuthService::logTag() const
{
    return QStringLiteral("[Google]");
}

QUrl AuthService::authorizationUrl() const
{
    QUrl url(Endpoints::googleAuthUrl());
    url.setQuery(QString::fromLatin1(OAuth::encodeForm({
                     {QStringLiteral("client_id"), Endpoints::googleClientId()},
                     {QStringLiteral("redirect_uri"), redirectUri()},
                     {QStringLiteral("response_type"), QStringLiteral("code")},
                     {QStringLiteral("scope"), kScope},
                     {QStringLiteral("code_challenge"), codeChallenge()},
                     {QStringLiteral("code_challenge_method"), QStringLiteral("S256")},
                     {QStringLiteral("state"), state()},
                     {QStringLiteral("access_type"), QStringLiteral("offline")},
                     {QStringLiteral("prompt"), QStringLiteral("consent")},
                 })),
                 QUrl::StrictMode);
    return url;
}

QUrl AuthService::tokenEndpoint() const
{
    return QUrl(Endpoints::googleTokenUrl());
}

OAuth::FormItems AuthService::codeExchangeForm(const QString &code) const
{
    return {
        {QStringLiteral("client_id"), Endpoints::googleClientId()},
        {QStringLiteral("client_secret"), Endpoints::googleClientSecret()},
        {QStringLiteral("code"), code},
        {QStringLiteral("code_verifier"), codeVerifier()},
        {QStringLiteral("redirect_uri"), redirectUri()},
        {QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
    };
}

OAuth::FormItems AuthService::refreshForm(const QString &refreshToken) const
{
    return {
        {QStringLiteral("client_id"), Endpoints::googleClientId()},
        {QStringLiteral("client_secret"), Endpoints::googleClientSecret()},
        {QStringLiteral("refresh_token"), refreshToken},
        {QStringLiteral("grant_type"), QStringLiteral("refresh_token")},
    };
}

QString AuthService::failureText(Failure failure, const QString &detail) const
{
    switch (failure) {
    case Failure::NotConfigured:
        return tr("Google OAuth credentials are not configured in this build. See .env.example.");
    case Failure::RefreshNotConfigured:
        return tr("Google OAuth credentials are not configured.");
    case Failure::ListenFailed:
        return tr("Could not bind a local port for the Google sign-in callback: %1").arg(detail);
    case Failure::BrowserFailed:
        return tr("Could not launch the system browser for Google sign-in.");
    case Failure::NoCode:
        return tr("Google did not return an authorization code.");
    case Failure::NoAccessToken:
        return tr("Google did not return an access token.");
    case Failure::NoRefreshToken:
        return tr("Google did not return a refresh token. Try removing the app from your Google "
                  "Account permissions and signing in again.");
    case Failure::RefreshWithoutAccessToken:
        return tr("Google's response had no access_token.");
    }
    return QString();
}

QString AuthService::deniedText(const QString &error, const QString &) const
{
    return tr("Google denied the sign-in: %1").arg(error);
}

} // namespace Google
