#include "services/account/ClientConfig.h"

#include "platform/Endpoints.h"

namespace LarkAccount {

ClientConfig clientConfigFromEnvironment(const QString &appId, const QString &appVersion)
{
    ClientConfig config;
    config.authUrl = Endpoints::authApiUrl();
    config.realm = Endpoints::fromEnvironment("AUTH_REALM_SLUG", QStringLiteral("larkspindle"));
    config.accountApiUrl = Endpoints::accountApiUrl();
    config.clientId = Endpoints::fromEnvironment(
        "AUTH_CLIENT_ID", QStringLiteral("7f3e9a1c5b2d4e6f8a0b1c2d3e4f5a6b"));
    config.appId = appId;
    config.appName = QStringLiteral("Larkspindle Calendar");
    config.appVersion = appVersion;
    config.portalUrl = Endpoints::accountPortalUrl();
    return config;
}

} // namespace LarkAccount
