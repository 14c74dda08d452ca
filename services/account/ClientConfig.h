#pragma once

#include <QString>

namespace LarkAccount {

// What the cloud account library needs to know about the service and this program.
struct ClientConfig
{
    QString authUrl;
    QString realm;
    QString accountApiUrl;
    QString clientId;
    QString appId;
    QString appName;
    QString appVersion;
    QString platform; // empty: the library derives the platform name
    QString portalUrl;
};

// The configuration of this program: the service addresses (see app/Endpoints), the realm from
// AUTH_REALM_SLUG and the client id from AUTH_CLIENT_ID, each replaced by a non-empty variable.
ClientConfig clientConfigFromEnvironment(const QString &appId, const QString &appVersion);

} // namespace LarkAccount
