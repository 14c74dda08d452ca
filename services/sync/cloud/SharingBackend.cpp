#include "services/sync/cloud/SharingBackend.h"

#include "services/account/ApiClient.h"

#include <QJsonArray>
#include <QJsonObject>

namespace Larkspindle {

namespace {

QString calendarPath(const QString &calendarId, const char *tail)
{
    return QStringLiteral("/calendars/") + LarkAccount::ApiClient::pathSegment(calendarId)
        + QLatin1String(tail);
}

// Members that are missing or not texts read as empty.
LarkAccount::ShareMember memberFromJson(const QJsonObject &object)
{
    LarkAccount::ShareMember member;
    member.userId = object.value(QLatin1String("user_id")).toString();
    member.accountId = member.userId;
    member.email = object.value(QLatin1String("email")).toString();
    member.displayName = object.value(QLatin1String("display_name")).toString();
    member.role = object.value(QLatin1String("role")).toString();
    member.joinedAt = object.value(QLatin1String("joined_at")).toString();
    return member;
}

} // namespace

SharingBackend::SharingBackend(LarkAccount::ApiClient *api, QObject *parent)
    : LarkAccount::SharingBackend(parent)
    , m_api(api)
{ }

// Answers go to the caller only while the backend lives: the dialog that made it goes with it.

void SharingBackend::listMembers(
    const QString &calendarId,
    std::function<void(const QList<LarkAccount::ShareMember> &)> completion)
{
    if (!m_api) {
        if (completion)
            completion({});
        return;
    }
    const QPointer<SharingBackend> self(this);
    m_api->get(calendarPath(calendarId, "/members"),
               [self, completion](bool ok, int, const QJsonObject &body) {
                   if (!self || !completion)
                       return;
                   QList<LarkAccount::ShareMember> members;
                   if (ok) {
                       const QJsonArray list = body.value(QLatin1String("members")).toArray();
                       for (const QJsonValue &value : list)
                           members.append(memberFromJson(value.toObject()));
                   }
                   completion(members);
               });
}

void SharingBackend::shareWith(const QString &calendarId, const QString &userId,
                               const QString &role,
                               std::function<void(bool ok, const QString &error)> completion)
{
    if (!m_api) {
        if (completion)
            completion(false, tr("Not signed in"));
        return;
    }
    const QJsonObject body {
        {QStringLiteral("user_id"), userId},
        {QStringLiteral("role"), role.isEmpty() ? QStringLiteral("member") : role},
    };
    const QPointer<SharingBackend> self(this);
    m_api->post(calendarPath(calendarId, "/share"), body,
                [self, completion](bool ok, int status, const QJsonObject &reply) {
                    if (!self || !completion)
                        return;
                    if (ok) {
                        completion(true, QString());
                        return;
                    }
                    const QJsonValue error = reply.value(QLatin1String("error"));
                    completion(false,
                               error.isString() ? error.toString()
                                                : LarkAccount::ApiClient::failureText(
                                                    tr("Sharing failed (HTTP %1)"), status, reply));
                });
}

void SharingBackend::removeShare(const QString &calendarId, const QString &userId,
                                 std::function<void(bool ok)> completion)
{
    if (!m_api) {
        if (completion)
            completion(false);
        return;
    }
    const QString path
        = calendarPath(calendarId, "/share/") + LarkAccount::ApiClient::pathSegment(userId);
    const QPointer<SharingBackend> self(this);
    m_api->deleteResource(path, [self, completion](bool ok, int, const QJsonObject &) {
        if (self && completion)
            completion(ok);
    });
}

} // namespace Larkspindle
