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

} // namespace LarkAccount
