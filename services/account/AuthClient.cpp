#include "services/account/AuthClient.h"

#include "platform/TokenStore.h"
#include "services/account/ApiClient.h"
#include "services/account/TokenManager.h"
#include "services/account/WebAuthHandler.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QPointer>
#include <QUrlQuery>

namespace LarkAccount {

AuthClient::AuthClient(const QString &authUrl, const QString &realm, const QString &clientId,
                       ApiClient *api, TokenManager *tokens, QObject *parent)
    : QObject(parent)
    , m_authUrl(authUrl)
    , m_realm(realm)
    , m_clientId(clientId)
    , m_api(api)
    , m_tokens(tokens)
{
    setupRefreshCallback();
}

void AuthClient::setupRefreshCallback()
{
    const QPointer<ApiClient> api(m_api);
    m_tokens->setRefreshFunction([api](const QString &refreshToken,
                                       TokenManager::SuccessCompletion onSuccess,
                                       TokenManager::FailureCompletion onFailure) {
        if (!api) {
            onFailure(false);
            return;
        }
        QJsonObject body;
        body.insert(QStringLiteral("refresh_token"), refreshToken);
        api->postWithoutAuth(
            QStringLiteral("/auth/token/refresh"), body,
            [onSuccess, onFailure](bool ok, int status, const QJsonObject &reply) {
                const QString access = reply.value(QLatin1String("access_token")).toString();
                if (ok && !access.isEmpty()) {
                    onSuccess(access, reply.value(QLatin1String("refresh_token")).toString());
                    return;
                }
                // A success without an access token is the server's hiccup, not a verdict
                // on the refresh token.
                onFailure(!ok && status >= 400 && status <= 499);
            });
    });
}

void AuthClient::setState(AuthState state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void AuthClient::signOutLocally()
{
    m_tokens->clear();
    m_user = User();
    setState(AuthState::Unauthenticated);
}

void AuthClient::initialize()
{
    m_tokens->load();
    if (m_tokens->storeFailure() != TokenStoreFailure::None && m_tokens->refreshToken().isEmpty()
        && m_tokens->accessToken().isEmpty()) {
        // The tokens may well be there, behind a locked keyring: say so rather than look
        // signed out for no reason, and leave the stored tokens alone.
        const QString reason = tokenStoreFailureText(m_tokens->storeFailure());
        qWarning().noquote() << "[AuthClient] stored sign-in unavailable:" << reason;
        setState(AuthState::Unauthenticated);
        emit loginFailed(reason);
        return;
    }
    if (!m_tokens->accessToken().isEmpty()) {
        setState(AuthState::Authenticated);
        return;
    }
    if (m_tokens->refreshToken().isEmpty()) {
        setState(AuthState::Unauthenticated);
        return;
    }
    const QPointer<AuthClient> self(this);
    m_tokens->refresh([self](RefreshResult result) {
        if (!self)
            return;
        if (result == RefreshResult::Rejected) {
            self->m_tokens->clear();
            self->setState(AuthState::Unauthenticated);
            return;
        }
        // Offline at start keeps the user signed in; the next request renews again.
        self->setState(AuthState::Authenticated);
    });
}

QUrl AuthClient::loginPageUrl(const QString &authUrl, const QString &realm, const QString &clientId,
                              const QString &redirectUri, const QString &state)
{
    const QString text = QStringLiteral("%1/%2/account/login?client_id=%3&redirect_uri=%4&state=%5")
                             .arg(authUrl, realm, clientId,
                                  QString::fromLatin1(QUrl::toPercentEncoding(redirectUri)),
                                  QString::fromLatin1(QUrl::toPercentEncoding(state)));
    return QUrl(text, QUrl::TolerantMode);
}

void AuthClient::loginWithBrowser()
{
    // Without a configured sign-in service there is nowhere to send the user.
    if (m_authUrl.isEmpty()) {
        emit loginFailed(tr("Cloud sign-in is not configured in this build"));
        return;
    }
    // One sign-in at a time: a new one ends the listener of an earlier one whose browser never
    // came back, instead of leaving it open beside the new one.
    const auto earlier = findChildren<WebAuthHandler *>(Qt::FindDirectChildrenOnly);
    for (WebAuthHandler *handler : earlier) {
        handler->stop();
        handler->deleteLater();
    }
    auto *handler = new WebAuthHandler(this);
    const QString redirect = handler->start();
    if (redirect.isEmpty()) {
        emit loginFailed(tr("Failed to start local auth server"));
        handler->deleteLater();
        return;
    }
    connect(handler, &WebAuthHandler::callbackReceived, this, [this, handler](const QUrl &url) {
        handleAuthCallback(url);
        handler->deleteLater();
    });
    QDesktopServices::openUrl(
        loginPageUrl(m_authUrl, m_realm, m_clientId, redirect, handler->state()));
}

void AuthClient::handleAuthCallback(const QUrl &url)
{
    const QUrlQuery fragment(url.fragment(QUrl::FullyEncoded));
    QString access = fragment.queryItemValue(QStringLiteral("access_token"), QUrl::FullyDecoded);
    QString refresh = fragment.queryItemValue(QStringLiteral("refresh_token"), QUrl::FullyDecoded);
    if (access.isEmpty()) {
        const QUrlQuery query(url.query(QUrl::FullyEncoded));
        access = query.queryItemValue(QStringLiteral("access_token"), QUrl::FullyDecoded);
        refresh = query.queryItemValue(QStringLiteral("refresh_token"), QUrl::FullyDecoded);
    }
    if (access.isEmpty() || refresh.isEmpty()) {
        emit loginFailed(tr("No tokens received"));
        return;
    }
    (void)m_tokens->setTokens(access, refresh);
    setState(AuthState::Authenticated);
    emit loginSucceeded();
}

void AuthClient::refreshToken(std::function<void(bool ok)> completion)
{
    const QPointer<AuthClient> self(this);
    m_tokens->refresh([self, completion = std::move(completion)](RefreshResult result) {
        if (self && result == RefreshResult::Rejected)
            self->signOutLocally();
        if (completion)
            completion(result == RefreshResult::Success);
    });
}

void AuthClient::logout()
{
    // Sent with the stored token as it is: renewing a token only to give it up is pointless.
    m_api->postWithStoredToken(QStringLiteral("/auth/logout"), {}, {});
    signOutLocally();
    emit logoutCompleted();
}

void AuthClient::fetchCurrentUser(std::function<void(const User &)> completion)
{
    const QPointer<AuthClient> self(this);
    m_api->get(QStringLiteral("/users/me"),
               [self, completion = std::move(completion)](bool ok, int, const QJsonObject &body) {
                   if (!self)
                       return;
                   if (ok)
                       self->m_user = readUser(body);
                   if (completion)
                       completion(self->m_user);
               });
}

void AuthClient::updateProfile(const QString &displayName,
                               std::function<void(const User &)> completion)
{
    QJsonObject body;
    body.insert(QStringLiteral("display_name"), displayName);
    const QPointer<AuthClient> self(this);
    m_api->patch(
        QStringLiteral("/users/me"), body,
        [self, completion = std::move(completion)](bool ok, int, const QJsonObject &reply) {
            if (!self)
                return;
            if (ok)
                self->m_user = readUser(reply);
            if (completion)
                completion(ok ? self->m_user : User());
        });
}

void AuthClient::changePassword(const QString &currentPassword, const QString &newPassword,
                                std::function<void(bool ok)> completion)
{
    QJsonObject body;
    body.insert(QStringLiteral("current_password"), currentPassword);
    body.insert(QStringLiteral("new_password"), newPassword);
    m_api->post(QStringLiteral("/users/me/password"), body,
                ApiClient::okOnly(std::move(completion)));
}

void AuthClient::listSessions(std::function<void(const QList<Session> &)> completion)
{
    m_api->get(QStringLiteral("/users/me/sessions"),
               [completion = std::move(completion)](bool ok, int, const QJsonObject &body) {
                   if (!completion)
                       return;
                   completion(ok ? readList(body, QStringLiteral("sessions"), &readSession)
                                 : QList<Session>());
               });
}

void AuthClient::revokeSession(const QString &sessionId, std::function<void(bool ok)> completion)
{
    m_api->deleteResource(QStringLiteral("/users/me/sessions/") + ApiClient::pathSegment(sessionId),
                          ApiClient::okOnly(std::move(completion)));
}

} // namespace LarkAccount
