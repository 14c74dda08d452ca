#include "services/sync/microsoft/AuthService.h"

#include "platform/Endpoints.h"

namespace Microsoft {

namespace {

QString authorityPath(const QString &endpoint)
{
    QString authority = Endpoints::microsoftAuthorityUrl();
    while (authority.endsWith(QLatin1Char('/')))
        authority.chop(1);
    return QStringLiteral("%1/%2/oauth2/v2.0/%3").arg(authority, AuthService::tenant, endpoint);
}

} // namespace

const QString AuthService::tenant = QStringLiteral("common");
const QString AuthService::scope
    = QStringLiteral("openid profile email offline_access User.Read Calendars.ReadWrite "
                     "Calendars.ReadWrite.Shared");

AuthService::AuthService(QObject *parent)
    : OAuth::LoopbackAuthService(parent)
{ }

QString AuthService::tokenUrl()
{
    return authorityPath(QStringLiteral("token"));
}

QString AuthService::tokenKeyPrefix()
{
    return QStringLiteral("microsoft-tokens-");
}

bool AuthService::isConfigured() const
{
    return hasBuiltInMicrosoftClientId();
}

QString AuthService::logTag() const
{
    return QStringLiteral("[Microsoft]");
}

QUrl AuthService::authorizationUrl() const
{
    QUrl url(authorityPath(QStringLiteral("authorize")));
    url.setQuery(QString::fromLatin1(OAuth::encodeForm({
                     {QStringLiteral("client_id"), Endpoints::microsoftClientId()},
                     {QStringLiteral("response_type"), QStringLiteral("code")},
                     {QStringLiteral("redirect_uri"), redirectUri()},
                     {QStringLiteral("scope"), scope},
                     {QStringLiteral("code_challenge"), codeChallenge()},
                     {QStringLiteral("code_challenge_method"), QStringLiteral("S256")},
                     {QStringLiteral("state"), state()},
                     {QStringLiteral("response_mode"), QStringLiteral("query")},
                     {QStringLiteral("prompt"), QStringLiteral("select_account")},
                 })),
                 QUrl::StrictMode);
    return url;
}

QUrl AuthService::tokenEndpoint() const
{
    return QUrl(tokenUrl());
}

OAuth::FormItems AuthService::codeExchangeForm(const QString &code) const
{
    return {
        {QStringLiteral("client_id"), Endpoints::microsoftClientId()},
        {QStringLiteral("scope"), scope},
        {QStringLiteral("code"), code},
        {QStringLiteral("redirect_uri"), redirectUri()},
        {QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
        {QStringLiteral("code_verifier"), codeVerifier()},
    };
}

OAuth::FormItems AuthService::refreshForm(const QString &refreshToken) const
{
    return {
        {QStringLiteral("client_id"), Endpoints::microsoftClientId()},
        {QStringLiteral("scope"), scope},
        {QStringLiteral("refresh_token"), refreshToken},
        {QStringLiteral("grant_type"), QStringLiteral("refresh_token")},
    };
}

QString AuthService::failureText(Failure failure, const QString &detail) const
{
    switch (failure) {
    case Failure::NotConfigured:
        return tr("Microsoft OAuth credentials are not configured in this build. See "
                  ".env.example.");
    case Failure::RefreshNotConfigured:
        return tr("Microsoft OAuth credentials are not configured.");
    case Failure::ListenFailed:
        return tr("Could not bind a local port for the Microsoft sign-in callback: %1").arg(detail);
    case Failure::BrowserFailed:
        return tr("Could not launch the system browser for Microsoft sign-in.");
    case Failure::NoCode:
        return tr("Microsoft did not return an authorization code.");
    case Failure::NoAccessToken:
        return tr("Microsoft did not return an access token.");
    case Failure::NoRefreshToken:
        return tr("Microsoft did not return a refresh token. Verify offline_access is in the "
                  "scopes configured for this app.");
    case Failure::RefreshWithoutAccessToken:
        return tr("Microsoft's response had no access_token.");
    }
    return QString();
}

QString AuthService::deniedText(const QString &error, const QString &description) const
{
    return tr("Microsoft denied the sign-in: %1").arg(description.isEmpty() ? error : description);
}

QString AuthService::emailFrom(const QJsonObject &claims) const
{
    const QString email = claims.value(QStringLiteral("email")).toString();
    return email.isEmpty() ? claims.value(QStringLiteral("preferred_username")).toString() : email;
}

} // namespace Microsoft
