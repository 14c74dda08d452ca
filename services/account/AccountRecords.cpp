#include "services/account/AccountRecords.h"

#include <QJsonValue>

namespace LarkAccount {

namespace {

QString text(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString();
}

QDateTime dateTime(const QJsonObject &o, const char *key)
{
    const QString value = text(o, key);
    if (value.isEmpty())
        return {};
    return QDateTime::fromString(value, Qt::ISODate);
}

int integer(const QJsonObject &o, const char *key)
{
    // toInt gives 0 for anything that is not a whole number in 32-bit range.
    return o.value(QLatin1String(key)).toInt(0);
}

bool boolean(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toBool(false);
}

} // namespace

User readUser(const QJsonObject &o)
{
    User u;
    u.id = text(o, "id");
    u.email = text(o, "email");
    u.displayName = text(o, "display_name");
    u.username = text(o, "username");
    u.avatarUrl = text(o, "avatar_url");
    u.createdAt = dateTime(o, "created_at");
    return u;
}

Session readSession(const QJsonObject &o)
{
    Session s;
    s.id = text(o, "id");
    s.userAgent = text(o, "user_agent");
    s.ipAddress = text(o, "ip_address");
    s.createdAt = dateTime(o, "created_at");
    s.lastActiveAt = dateTime(o, "last_active_at");
    s.isCurrent = boolean(o, "is_current");
    return s;
}

Device readDevice(const QJsonObject &o)
{
    Device d;
    d.id = text(o, "id");
    d.deviceName = text(o, "device_name");
    d.platform = text(o, "platform");
    d.appId = text(o, "app_id");
    d.appVersion = text(o, "app_version");
    d.lastSyncAt = dateTime(o, "last_sync_at");
    d.deviceFingerprint = text(o, "device_fingerprint");
    d.createdAt = dateTime(o, "created_at");
    return d;
}

Profile readProfile(const QJsonObject &o)
{
    Profile p;
    p.id = text(o, "id");
    p.email = text(o, "email");
    p.displayName = text(o, "display_name");
    p.avatarUrl = text(o, "avatar_url");
    p.language = text(o, "language");
    p.timezone = text(o, "timezone");
    p.status = text(o, "status");
    p.createdAt = dateTime(o, "created_at");
    // Present key means a group, even when its value is null or not an object.
    if (o.contains(QLatin1String("group")))
        p.group = readGroupSummary(o.value(QLatin1String("group")).toObject());
    return p;
}

GroupSummary readGroupSummary(const QJsonObject &o)
{
    GroupSummary g;
    g.id = text(o, "id");
    g.name = text(o, "name");
    g.role = text(o, "role");
    g.memberCount = integer(o, "member_count");
    return g;
}

Group readGroup(const QJsonObject &o)
{
    Group g;
    g.id = text(o, "id");
    g.name = text(o, "name");
    g.maxSeats = integer(o, "max_seats");
    g.members = readList(o, QStringLiteral("members"), &readGroupMember);
    g.pendingInvitations = readList(o, QStringLiteral("pending_invitations"), &readGroupInvitation);
    return g;
}

GroupMember readGroupMember(const QJsonObject &o)
{
    GroupMember m;
    m.accountId = text(o, "account_id");
    m.authUserId = text(o, "auth_user_id");
    m.displayName = text(o, "display_name");
    m.email = text(o, "email");
    m.role = text(o, "role");
    m.joinedAt = dateTime(o, "joined_at");
    return m;
}

GroupInvitation readGroupInvitation(const QJsonObject &o)
{
    GroupInvitation i;
    i.id = text(o, "id");
    i.invitedEmail = text(o, "invited_email");
    i.inviteCode = text(o, "invite_code");
    i.status = text(o, "status");
    i.expiresAt = dateTime(o, "expires_at");
    return i;
}

} // namespace LarkAccount
