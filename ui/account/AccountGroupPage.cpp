#include "ui/account/AccountGroupPage.h"

#include "services/account/AccountClient.h"
#include "services/account/Client.h"
#include "ui/account/AccountRows.h"
#include "ui/account/AccountScreen.h"
#include "ui/account/AccountWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace LarkAccount {

using namespace AccountWidgets;

namespace {

// A row of buttons indented like the page's text, ending in a stretch.
QHBoxLayout *buttonRow(const QList<QPushButton *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(12, 0, 0, 0);
    row->setSpacing(8);
    for (QPushButton *b : buttons)
        row->addWidget(b);
    row->addStretch(1);
    return row;
}

} // namespace

AccountGroupPage::AccountGroupPage(Client *client, AccountScreen *screen)
    : QWidget(screen)
    , m_client(client)
    , m_screen(screen)
{
    setObjectName(QStringLiteral("groupPage"));
    m_layout = pageLayout(this, tr("Group"));
    m_layout->addStretch(1);
}

bool AccountGroupPage::isGroupOwner() const
{
    return m_client->claims().role == QLatin1String("owner");
}

void AccountGroupPage::refresh()
{
    const QPointer<AccountGroupPage> self(this);
    m_client->accountClient()->getGroup([self](const Group &group) {
        if (self)
            self->populate(group);
    });
}

void AccountGroupPage::populate(const Group &group)
{
    const GroupView view = AccountRows::group(group, isGroupOwner());
    QVBoxLayout *layout = m_screen->contentSwap()->replaceWithColumn(
        m_layout, 2, m_content, 8, QStringLiteral("groupContent"));
    QWidget *content = layout->parentWidget();

    if (!view.inGroup) {
        layout->addWidget(sectionHeader(tr("No Group"),
                                        tr("You're not part of a group. The group owner can "
                                           "invite you, or you can join with an invite code."),
                                        content));
        QPushButton *join = button(tr("Join with Invite Code"), "joinGroupButton", content);
        connect(join, &QPushButton::clicked, this, &AccountGroupPage::joinGroup);
        auto *row = buttonRow({join});
        row->setContentsMargins(0, 0, 0, 0);
        layout->addLayout(row);
        return;
    }

    layout->addWidget(sectionHeader(view.name, view.seats, content));
    layout->addSpacing(4);
    QLabel *membersLabel = label(tr("Members"), content);
    setWeight(membersLabel, 500);
    layout->addWidget(membersLabel);
    for (const MemberRow &member : view.members) {
        const ListRow line = listRow(layout);
        QHBoxLayout *row = line.line;
        QLabel *name = label(member.name, content);
        setWeight(name, 500);
        line.texts->addWidget(name);
        if (!member.email.isEmpty()) {
            QLabel *email = label(member.email, content);
            makeSecondary(email);
            makeSmall(email);
            line.texts->addWidget(email);
        }
        row->addStretch(1);
        if (member.owner) {
            QLabel *badge = label(tr("Owner"), content);
            makeSmall(badge, 2);
            setWeight(badge, 500);
            setTextColor(badge, ownerColor());
            row->addWidget(badge);
        }
        if (member.removable) {
            QPushButton *remove = button(tr("Remove"), "removeMemberButton", content);
            connect(remove, &QPushButton::clicked, this, [this, member, remove] {
                removeMember(member.accountId, member.name, remove);
            });
            row->addWidget(remove);
        }
    }

    if (!view.invitations.isEmpty()) {
        layout->addSpacing(8);
        layout->addWidget(separator(content));
        layout->addSpacing(4);
        QLabel *pending = label(tr("Pending Invitations"), content);
        setWeight(pending, 500);
        layout->addWidget(pending);
        for (const InvitationRow &invitation : view.invitations) {
            const ListRow row = listRow(layout, 4);
            row.texts->addWidget(label(invitation.text, content));
            row.line->addStretch(1);
            QPushButton *revoke = button(tr("Revoke"), "revokeInvitationButton", content);
            connect(revoke, &QPushButton::clicked, this,
                    [this, id = invitation.id, revoke] { revokeInvitation(id, revoke); });
            row.line->addWidget(revoke);
        }
    }

    layout->addSpacing(12);
    layout->addWidget(separator(content));
    layout->addSpacing(4);
    if (view.ownerControls) {
        layout->addWidget(sectionHeader(tr("Invite Members"), QString(), content));
        QPushButton *byEmail = button(tr("Invite by Email"), "inviteByEmailButton", content);
        QPushButton *code = button(tr("Generate Invite Code"), "generateCodeButton", content);
        connect(byEmail, &QPushButton::clicked, this, &AccountGroupPage::inviteByEmail);
        connect(code, &QPushButton::clicked, this, &AccountGroupPage::generateInviteCode);
        layout->addLayout(buttonRow({byEmail, code}));
    } else {
        QPushButton *leave = button(tr("Leave Group"), "leaveGroupButton", content);
        connect(leave, &QPushButton::clicked, this, [this, leave] { leaveGroup(leave); });
        layout->addLayout(buttonRow({leave}));
    }
}

void AccountGroupPage::joinGroup()
{
    const std::optional<QString> code
        = m_screen->askText(tr("Join Group"), tr("Enter invite code:"));
    if (!code || code->trimmed().isEmpty())
        return;
    const QPointer<AccountGroupPage> self(this);
    m_client->accountClient()->joinGroup(code->trimmed(), [self](bool ok) {
        if (!self)
            return;
        if (!ok) {
            self->m_screen->showError(tr("Invalid or expired invite code."));
            return;
        }
        self->m_screen->showSuccess(tr("Joined group."));
        self->refresh();
    });
}

void AccountGroupPage::removeMember(const QString &accountId, const QString &name,
                                    QPushButton *button)
{
    if (!m_screen->ask(tr("Remove Member"), tr("Remove %1 from the group?").arg(name)))
        return;
    AccountClient *account = m_client->accountClient();
    m_screen->runAction(
        button, tr("%1 removed.").arg(name), tr("Failed to remove %1.").arg(name),
        [this] { refresh(); },
        [account, accountId](auto done) { account->removeMember(accountId, std::move(done)); });
}

void AccountGroupPage::revokeInvitation(const QString &id, QPushButton *button)
{
    AccountClient *account = m_client->accountClient();
    m_screen->runAction(
        button, tr("Invitation revoked."), tr("Failed to revoke invitation."),
        [this] { refresh(); },
        [account, id](auto done) { account->revokeInvitation(id, std::move(done)); });
}

void AccountGroupPage::leaveGroup(QPushButton *button)
{
    if (!m_screen->ask(tr("Leave Group"),
                       tr("Leave this group? You will lose access to shared data.")))
        return;
    AccountClient *account = m_client->accountClient();
    m_screen->runAction(
        button, tr("Left group."), tr("Failed to leave group."), [this] { refresh(); },
        [account](auto done) { account->leaveGroup(std::move(done)); });
}

void AccountGroupPage::inviteByEmail()
{
    const std::optional<QString> email
        = m_screen->askText(tr("Invite by Email"), tr("Email address:"));
    if (!email || email->trimmed().isEmpty())
        return;
    const QPointer<AccountGroupPage> self(this);
    m_client->accountClient()->inviteByEmail(
        email->trimmed(), [self](const GroupInvitation &invitation) {
            if (!self)
                return;
            if (invitation.id.isEmpty()) {
                self->m_screen->showError(tr("Failed to send invitation."));
                return;
            }
            self->m_screen->showSuccess(tr("Invitation sent."));
            self->refresh();
        });
}

void AccountGroupPage::generateInviteCode()
{
    const QPointer<AccountGroupPage> self(this);
    m_client->accountClient()->generateInviteCode([self](const GroupInvitation &invitation) {
        if (!self)
            return;
        if (invitation.inviteCode.isEmpty()) {
            self->m_screen->showError(tr("Failed to generate code."));
            return;
        }
        self->m_screen->inform(tr("Invite Code"),
                               tr("Share this code with the person you want to invite:")
                                   + QStringLiteral("\n\n") + invitation.inviteCode);
        if (self)
            self->refresh();
    });
}

} // namespace LarkAccount
