#pragma once

// What the cloud service tells about the user, the devices and the group. Plain values; the
// readers never fail: a missing or mistyped member reads as empty, zero, false or invalid.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace LarkAccount {

struct User
{
    QString id;
    QString email;
    QString displayName;
    QString username;
    QString avatarUrl;
    QDateTime createdAt;
};

struct Session
{
    QString id;
    QString userAgent;
    QString ipAddress;
    QDateTime createdAt;
    QDateTime lastActiveAt;
    bool isCurrent = false;
};

struct Device
{
    QString id;
    QString deviceName;
    QString platform;
    QString appId;
    QString appVersion;
    QDateTime lastSyncAt;
    QString deviceFingerprint;
    QDateTime createdAt;
};

struct GroupSummary
{
    QString id;
    QString name;
    QString role;
    int memberCount = 0;
};

struct Profile
{
    QString id;
    QString email;
    QString displayName;
    QString avatarUrl;
    QString language;
    QString timezone;
    QString status;
    QDateTime createdAt;
    std::optional<GroupSummary> group;
};

// A member has no id of its own; it is known by its account id.
struct GroupMember
{
    QString accountId;
    QString authUserId;
    QString displayName;
    QString email;
    QString role;
    QDateTime joinedAt;
};

struct GroupInvitation
{
    QString id;
    QString invitedEmail;
    QString inviteCode;
    QString status;
    QDateTime expiresAt;
};

struct Group
{
    QString id;
    QString name;
    int maxSeats = 0;
    QList<GroupMember> members;
    QList<GroupInvitation> pendingInvitations;
};

User readUser(const QJsonObject &object);
Session readSession(const QJsonObject &object);
Device readDevice(const QJsonObject &object);
Profile readProfile(const QJsonObject &object);
GroupSummary readGroupSummary(const QJsonObject &object);
Group readGroup(const QJsonObject &object);
GroupMember readGroupMember(const QJsonObject &object);
GroupInvitation readGroupInvitation(const QJsonObject &object);

// Every element of the array under key, each read with reader (a non-object element reads as
// an empty object), in array order.
template<typename Record>
QList<Record> readList(const QJsonObject &object, const QString &key,
                       Record (*reader)(const QJsonObject &))
{
    QList<Record> out;
    const QJsonArray array = object.value(key).toArray();
    out.reserve(array.size());
    for (const QJsonValue &element : array)
        out.append(reader(element.toObject()));
    return out;
}

} // namespace LarkAccount
