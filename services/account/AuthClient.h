#pragma once

// Sign-in state of the cloud account: what the stored tokens mean at start, sign-in through the
// system browser, token renewal for the token manager, sign-out, and the user's own profile,
// password and sessions on the sign-in service.

#include "services/account/AccountRecords.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

namespace LarkAccount {

class ApiClient;
class TokenManager;

enum class AuthState : int {
    Uninitialized = 0,
    Unauthenticated = 1,
    Authenticated = 3,
};

class AuthClient : public QObject
{
    Q_OBJECT
    Q_PROPERTY(LarkAccount::AuthState state READ state NOTIFY stateChanged)
    Q_PROPERTY(bool isAuthenticated READ isAuthenticated NOTIFY stateChanged)
public:
    AuthClient(const QString &authUrl, const QString &realm, const QString &clientId,
               ApiClient *api, TokenManager *tokens, QObject *parent = nullptr);

    AuthState state() const { return m_state; }
    bool isAuthenticated() const { return m_state == AuthState::Authenticated; }
    User currentUser() const { return m_user; }

    void initialize();
    void loginWithBrowser();
    void handleAuthCallback(const QUrl &url);
    void refreshToken(std::function<void(bool ok)> completion);
    void logout();

    void fetchCurrentUser(std::function<void(const User &)> completion);
    // A failed update completes with an empty User, so the caller can tell it from success.
    void updateProfile(const QString &displayName, std::function<void(const User &)> completion);
    void changePassword(const QString &currentPassword, const QString &newPassword,
                        std::function<void(bool ok)> completion);
    void listSessions(std::function<void(const QList<Session> &)> completion);
    void revokeSession(const QString &sessionId, std::function<void(bool ok)> completion = {});

    // The sign-in page for a redirect URI and state.
    static QUrl loginPageUrl(const QString &authUrl, const QString &realm, const QString &clientId,
                             const QString &redirectUri, const QString &state);

signals:
    void stateChanged(LarkAccount::AuthState state);
    void loginSucceeded();
    void loginFailed(const QString &error);
    void logoutCompleted();

private:
    void setupRefreshCallback();
    void setState(AuthState state);
    void signOutLocally();

    QString m_authUrl;
    QString m_realm;
    QString m_clientId;
    ApiClient *m_api;
    TokenManager *m_tokens;
    AuthState m_state = AuthState::Uninitialized;
    User m_user;
};

} // namespace LarkAccount

Q_DECLARE_METATYPE(LarkAccount::AuthState)
