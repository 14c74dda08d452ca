#include "services/account/Client.h"

#include "platform/TokenStore.h"
#include "services/account/AccountClient.h"
#include "services/account/ApiClient.h"

#include <QSysInfo>

namespace LarkAccount {

Client::Client(const ClientConfig &config, QObject *parent)
    : QObject(parent)
    , m_config(config)
{
    const QString platform = platformName(m_config.platform);
    m_tokens = new TokenManager(createTokenStore(m_config.appId), this);

    const auto makeApi = [&](const QUrl &baseUrl) {
        auto *api = new ApiClient(m_tokens, this);
        api->setBaseUrl(baseUrl);
        api->setAppInfo(m_config.appId, m_config.appVersion, platform);
        return api;
    };
    // Without a configured address the base stays empty and the client sends nothing.
    m_authApi = makeApi(
        m_config.authUrl.isEmpty()
            ? QUrl()
            : QUrl(QStringLiteral("%1/api/v1/realms/%2").arg(m_config.authUrl, m_config.realm)));
    m_accountApi = makeApi(QUrl(m_config.accountApiUrl));
    m_syncApi = makeApi(QUrl());

    m_auth = new AuthClient(m_config.authUrl, m_config.realm, m_config.clientId, m_authApi,
                            m_tokens, this);
    connect(m_auth, &AuthClient::stateChanged, this, &Client::onAuthStateChanged);
    m_account = new AccountClient(m_accountApi, m_auth, m_config, this);
}

void Client::initialize()
{
    m_auth->initialize();
}

bool Client::isAuthenticated() const
{
    return m_auth->state() == AuthState::Authenticated;
}

LrkClaims Client::claims() const
{
    const QString token = m_tokens->accessToken();
    return token.isEmpty() ? LrkClaims() : decodeClaims(token);
}

QString Client::platformName(const QString &override)
{
    if (!override.isEmpty())
        return override;
    const QString kernel = QSysInfo::kernelType().toLower();
    if (kernel == QLatin1String("darwin"))
        return QStringLiteral("macos");
    if (kernel == QLatin1String("winnt"))
        return QStringLiteral("windows");
    return kernel;
}

void Client::onAuthStateChanged(AuthState state)
{
    emit authStateChanged(state);
    if (state == AuthState::Authenticated)
        emit claimsUpdated(claims());
}

} // namespace LarkAccount
