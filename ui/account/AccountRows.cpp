#include "ui/account/AccountRows.h"

#include <QLocale>
#include <QSet>
#include <QStringList>

namespace LarkAccount {

namespace {

const QString ownerRole = QStringLiteral("owner");

// The second line under a name: the address, unless it says the same.
QString secondLine(const QString &shown, const QString &email)
{
    return email.isEmpty() || email == shown ? QString() : email;
}

} // namespace

QString AccountRows::relativeTime(const QDateTime &time, const QDateTime &now)
{
    if (!time.isValid())
        return tr("Unknown");
    const qint64 s = time.secsTo(now);
    if (s < 60)
        return tr("Active now");
    if (s < 3600)
        return tr("%1m ago").arg(s / 60);
    if (s < 86400)
        return tr("%1h ago").arg(s / 3600);
    if (s < 604800)
        return tr("%1d ago").arg(s / 86400);
    // The order of day, month and year follows the interface language.
    return QLocale().toString(time.toLocalTime().date(), tr("MMM d, yyyy"));
}

DeviceRow AccountRows::device(const Device &device, const QDateTime &now)
{
    DeviceRow row;
    row.id = device.id;
    row.storedName = device.deviceName;
    row.title = device.deviceName.isEmpty() ? tr("Unknown Device") : device.deviceName;
    row.detail = device.platform;
    if (!device.appVersion.isEmpty())
        row.detail += QStringLiteral("  \u00B7  v") + device.appVersion;
    row.age = relativeTime(device.lastSyncAt, now);
    return row;
}

SessionRow AccountRows::session(const Session &session, const QDateTime &now)
{
    SessionRow row;
    row.id = session.id;
    row.current = session.isCurrent;
    if (session.userAgent.isEmpty())
        row.client = tr("Unknown client");
    else if (session.userAgent.size() > userAgentLength)
        row.client = session.userAgent.left(userAgentLength) + QStringLiteral("...");
    else
        row.client = session.userAgent;
    row.detail = session.isCurrent ? tr("This session") : relativeTime(session.lastActiveAt, now);
    if (!session.ipAddress.isEmpty())
        row.detail += QStringLiteral("  \u00B7  ") + session.ipAddress;
    return row;
}

GroupView AccountRows::group(const Group &group, bool isOwner)
{
    GroupView view;
    view.inGroup = !group.id.isEmpty();
    if (!view.inGroup)
        return view;
    view.name = group.name;
    view.seats = tr("%1 of %2 seats used").arg(group.members.size()).arg(group.maxSeats);
    for (const GroupMember &member : group.members) {
        MemberRow row;
        row.accountId = member.accountId;
        row.name = member.displayName.isEmpty() ? member.email : member.displayName;
        row.email = secondLine(row.name, member.email);
        row.owner = member.role == ownerRole;
        row.removable = isOwner && !row.owner;
        view.members << row;
    }
    if (isOwner) {
        for (const GroupInvitation &invitation : group.pendingInvitations) {
            view.invitations << InvitationRow {
                invitation.id,
                invitation.invitedEmail.isEmpty() ? tr("Invite code: %1").arg(invitation.inviteCode)
                                                  : invitation.invitedEmail};
        }
    }
    view.ownerControls = isOwner;
    return view;
}

QString AccountRows::newPasswordProblem(const QString &password)
{
    if (password.size() < minimumPasswordLength)
        return tr("Password must be at least %1 characters.").arg(minimumPasswordLength);
    return QString();
}

QString AccountRows::initials(const QString &name, const QString &email)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return email.isEmpty() ? QStringLiteral("?") : email.left(1).toUpper();
    const QStringList parts = trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return trimmed.left(1).toUpper();
    return (parts.first().left(1) + parts.last().left(1)).toUpper();
}

ShareLists AccountRows::shareLists(const QList<GroupMember> &members,
                                   const QList<ShareMember> &shares, const QString &ownAccountId,
                                   const std::function<QString(const QString &)> &shareUserIdFor)
{
    ShareLists lists;
    QSet<QString> withAccess;
    for (const ShareMember &share : shares) {
        if (share.role == ownerRole)
            continue;
        withAccess.insert(share.accountId);
        QString name = share.displayName;
        QString email = share.email;
        if (name.isEmpty() || email.isEmpty()) {
            // The service may know only the id; the group knows the person.
            for (const GroupMember &member : members) {
                if (shareUserIdFor(member.accountId) != share.accountId)
                    continue;
                if (name.isEmpty())
                    name = member.displayName;
                if (email.isEmpty())
                    email = member.email;
                break;
            }
        }
        const QString shown = !name.isEmpty() ? name : (!email.isEmpty() ? email : share.accountId);
        lists.shared << PersonRow {share.userId, shown, secondLine(shown, email),
                                   initials(name, email)};
    }

    if (members.isEmpty()) {
        lists.noGroup = true;
        return lists;
    }
    QString ownShareId;
    for (const GroupMember &member : members) {
        if (member.accountId == ownAccountId) {
            ownShareId = shareUserIdFor(member.accountId);
            break;
        }
    }
    for (const GroupMember &member : members) {
        const QString userId = shareUserIdFor(member.accountId);
        if (userId == ownShareId || withAccess.contains(userId))
            continue;
        const QString shown = member.displayName.isEmpty() ? member.email : member.displayName;
        lists.candidates << PersonRow {
            userId, shown,
            member.displayName.isEmpty() ? QString() : secondLine(shown, member.email),
            initials(member.displayName, member.email)};
    }
    lists.allHaveAccess = lists.candidates.isEmpty();
    return lists;
}

} // namespace LarkAccount
