#pragma once

// The entry point of the cloud account library: owns the token manager, the three REST clients,
// the sign-in client and the account operations, and relays the sign-in state.

#include "services/account/AuthClient.h"
#include "services/account/ClientConfig.h"
#include "services/account/TokenManager.h"

#include <QObject>
#include <QString>

namespace LarkAccount {

class AccountClient;
class ApiClient;

class Client : public QObject
{
    Q_OBJECT
public:
    explicit Client(const ClientConfig &config, QObject *parent = nullptr);

    AuthClient *authClient() const { return m_auth; }
    AccountClient *accountClient() const { return m_account; }
    ApiClient *authApiClient() const { return m_authApi; }
    ApiClient *accountApiClient() const { return m_accountApi; }
    ApiClient *syncApiClient() const { return m_syncApi; }
    TokenManager *tokenManager() const { return m_tokens; }
    const ClientConfig &config() const { return m_config; }

    void initialize();
    bool isAuthenticated() const;
    // Claims of the current access token; empty while there is no usable one.
    LrkClaims claims() const;

    // The override when set, else the operating system's name ("windows", "linux", "macos").
    static QString platformName(const QString &override = QString());

signals:
    void authStateChanged(LarkAccount::AuthState state);
    void claimsUpdated(const LarkAccount::LrkClaims &claims);

private:
    void onAuthStateChanged(AuthState state);

    ClientConfig m_config;
    TokenManager *m_tokens;
    ApiClient *m_authApi;
    ApiClient *m_accountApi;
    ApiClient *m_syncApi;
    AuthClient *m_auth;
    AccountClient *m_account;
};

} // namespace LarkAccount

Q_DECLARE_METATYPE(LarkAccount::LrkClaims)
