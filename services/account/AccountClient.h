#pragma once

// The account API: the profile, the devices registered with the account, and the group with its
// members and invitations.

#include "services/account/AccountRecords.h"
#include "services/account/ApiClient.h"
#include "services/account/ClientConfig.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace LarkAccount {

class AuthClient;

class AccountClient : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(bool ok)>;

    AccountClient(ApiClient *api, AuthClient *auth, const ClientConfig &config,
                  QObject *parent = nullptr);

    // Failures give a default record (empty id) or an empty list.
    void getProfile(std::function<void(const Profile &)> completion);
    void deleteAccount(Done completion);
    void getDevices(std::function<void(const QList<Device> &)> completion);
    void removeDevice(const QString &deviceId, Done completion = {});
    void getGroup(std::function<void(const Group &)> completion);
    void generateInviteCode(std::function<void(const GroupInvitation &)> completion);
    void inviteByEmail(const QString &email,
                       std::function<void(const GroupInvitation &)> completion);
    void joinGroup(const QString &inviteCode, Done completion);
    void leaveGroup(Done completion = {});
    void removeMember(const QString &accountId, Done completion = {});
    void revokeInvitation(const QString &invitationId, Done completion = {});

signals:
    void groupChanged();

private:
    ApiClient::Callback afterGroupChange(bool renewToken, Done completion);
    void requestInvitation(const QJsonObject &body,
                           std::function<void(const GroupInvitation &)> completion);

    ApiClient *m_api;
    AuthClient *m_auth;
    ClientConfig m_config;
};

} // namespace LarkAccount
