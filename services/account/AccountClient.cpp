#include "services/account/AccountClient.h"

#include "services/account/ApiClient.h"
#include "services/account/AuthClient.h"

#include <QPointer>

namespace LarkAccount {

namespace {

// A callback that reads a record from a good reply, else hands on a default one.
template<typename Record>
ApiClient::Callback readOr(Record (*reader)(const QJsonObject &),
                           std::function<void(const Record &)> completion)
{
    return [reader, completion = std::move(completion)](bool ok, int, const QJsonObject &body) {
        if (completion)
            completion(ok ? reader(body) : Record());
    };
}

QString segment(const QString &value)
{
    return ApiClient::pathSegment(value);
}

} // namespace

AccountClient::AccountClient(ApiClient *api, AuthClient *auth, const ClientConfig &config,
                             QObject *parent)
    : QObject(parent)
    , m_api(api)
    , m_auth(auth)
    , m_config(config)
{ }

void AccountClient::getProfile(std::function<void(const Profile &)> completion)
{
    m_api->get(QStringLiteral("/profile"), readOr(&readProfile, std::move(completion)));
}

void AccountClient::deleteAccount(Done completion)
{
    m_api->deleteResource(QStringLiteral("/profile"), ApiClient::okOnly(std::move(completion)));
}

void AccountClient::getDevices(std::function<void(const QList<Device> &)> completion)
{
    m_api->get(QStringLiteral("/devices"),
               [completion = std::move(completion)](bool ok, int, const QJsonObject &body) {
                   if (completion)
                       completion(ok ? readList(body, QStringLiteral("devices"), &readDevice)
                                     : QList<Device>());
               });
}

void AccountClient::removeDevice(const QString &deviceId, Done completion)
{
    m_api->deleteResource(QStringLiteral("/devices/") + segment(deviceId),
                          ApiClient::okOnly(std::move(completion)));
}

void AccountClient::getGroup(std::function<void(const Group &)> completion)
{
    m_api->get(QStringLiteral("/group"), readOr(&readGroup, std::move(completion)));
}

void AccountClient::requestInvitation(const QJsonObject &body,
                                      std::function<void(const GroupInvitation &)> completion)
{
    m_api->post(QStringLiteral("/group/invite"), body,
                readOr(&readGroupInvitation, std::move(completion)));
}

void AccountClient::generateInviteCode(std::function<void(const GroupInvitation &)> completion)
{
    requestInvitation({}, std::move(completion));
}

void AccountClient::inviteByEmail(const QString &email,
                                  std::function<void(const GroupInvitation &)> completion)
{
    QJsonObject body;
    body.insert(QStringLiteral("email"), email);
    requestInvitation(body, std::move(completion));
}

ApiClient::Callback AccountClient::afterGroupChange(bool renewToken, Done completion)
{
    const QPointer<AccountClient> self(this);
    return
        [self, renewToken, completion = std::move(completion)](bool ok, int, const QJsonObject &) {
            if (self && ok) {
                // The new token carries the new group in its claims; nobody waits for it.
                if (renewToken)
                    self->m_auth->refreshToken({});
                emit self->groupChanged();
            }
            if (completion)
                completion(ok);
        };
}

void AccountClient::joinGroup(const QString &inviteCode, Done completion)
{
    m_api->post(QStringLiteral("/group/join/") + segment(inviteCode), {},
                afterGroupChange(true, std::move(completion)));
}

void AccountClient::leaveGroup(Done completion)
{
    m_api->post(QStringLiteral("/group/leave"), {}, afterGroupChange(true, std::move(completion)));
}

void AccountClient::removeMember(const QString &accountId, Done completion)
{
    m_api->deleteResource(QStringLiteral("/group/members/") + segment(accountId),
                          afterGroupChange(false, std::move(completion)));
}

void AccountClient::revokeInvitation(const QString &invitationId, Done completion)
{
    m_api->deleteResource(QStringLiteral("/group/invitations/") + segment(invitationId),
                          ApiClient::okOnly(std::move(completion)));
}

} // namespace LarkAccount
