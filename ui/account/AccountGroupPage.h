#pragma once

// The Group page of the account screen: the group's members and seats, and by the user's role
// either the owner's controls (remove members, invitations) or leaving the group. A user in no
// group can join one with an invite code.

#include <QPointer>
#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace LarkAccount {

class AccountScreen;
class Client;
struct Group;

class AccountGroupPage : public QWidget
{
    Q_OBJECT
public:
    AccountGroupPage(Client *client, AccountScreen *screen);

    void refresh();
    void populate(const Group &group);
    // The owner test, from the claims of the access token held now.
    bool isGroupOwner() const;

private:
    void joinGroup();
    void removeMember(const QString &accountId, const QString &name, QPushButton *button);
    void revokeInvitation(const QString &id, QPushButton *button);
    void inviteByEmail();
    void generateInviteCode();
    void leaveGroup(QPushButton *button);

    Client *m_client;
    AccountScreen *m_screen;
    QVBoxLayout *m_layout;
    QPointer<QWidget> m_content;
};

} // namespace LarkAccount
