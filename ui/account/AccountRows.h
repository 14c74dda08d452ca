#pragma once

// What the account pages and the share dialog show, worked out from the server's records
// without any widget: the rows, their texts and which controls they carry.

#include "services/account/AccountRecords.h"
#include "services/account/SharingBackend.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

namespace LarkAccount {

struct DeviceRow
{
    QString id;
    QString storedName; // as the server has it, for the removal question
    QString title;
    QString detail;
    QString age;
};

struct SessionRow
{
    QString id;
    QString client;
    QString detail;
    bool current = false;
};

struct MemberRow
{
    QString accountId;
    QString name;
    QString email; // second line; empty when it would repeat the name
    bool owner = false;
    bool removable = false;
};

struct InvitationRow
{
    QString id;
    QString text;
};

struct GroupView
{
    bool inGroup = false;
    QString name;
    QString seats;
    QList<MemberRow> members;
    QList<InvitationRow> invitations; // shown to the owner only
    bool ownerControls = false; // invite controls for the owner, else "Leave Group"
};

// One person in the share dialog, with access or offered access.
struct PersonRow
{
    QString userId;
    QString name;
    QString email; // second line; empty when it would repeat the name
    QString initials;
};

struct ShareLists
{
    QList<PersonRow> shared;
    QList<PersonRow> candidates;
    bool noGroup = false;
    bool allHaveAccess = false;
};

class AccountRows
{
    Q_DECLARE_TR_FUNCTIONS(LarkAccount::AccountRows)
public:
    static constexpr int minimumPasswordLength = 8;
    static constexpr int userAgentLength = 60;

    // "Active now", "5m ago", "3h ago", "2d ago", then the date; "Unknown" for an invalid time.
    static QString relativeTime(const QDateTime &time, const QDateTime &now);

    static DeviceRow device(const Device &device, const QDateTime &now);
    static SessionRow session(const Session &session, const QDateTime &now);
    static GroupView group(const Group &group, bool isOwner);

    // The complaint about a new password, empty when it may be used.
    static QString newPasswordProblem(const QString &password);
    // The word that confirms an account deletion, typed exactly.
    static QString deletionWord() { return QStringLiteral("DELETE"); }

    static QString initials(const QString &name, const QString &email);

    // Who has access (owners left out) and which group members can still be offered access.
    // shareUserIdFor maps a member's account id to the id shares carry.
    static ShareLists shareLists(const QList<GroupMember> &members,
                                 const QList<ShareMember> &shares, const QString &ownAccountId,
                                 const std::function<QString(const QString &)> &shareUserIdFor);
};

} // namespace LarkAccount
