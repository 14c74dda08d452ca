#pragma once

// Shares one calendar with members of the user's account group and takes access away again:
// the people who have access, each with a remove control, and the members who do not yet, each
// with a Share button. The caller supplies the wording and the sharing backend, which the dialog
// owns from then on.

#include "services/account/AccountRecords.h"
#include "services/account/SharingBackend.h"
#include "ui/account/AccountWidgets.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QVBoxLayout;

namespace LarkAccount {

class Client;

class ShareMembersDialog : public QDialog
{
    Q_OBJECT
public:
    // Texts that name the feature; empty ones fall back to the dialog's own.
    struct Texts
    {
        QString title;
        QString subtitle;
        QString intro;
        QString sharedWithHeading;
        QString addPeopleHeading;
        QString emptySharesText;
        QString noGroupMembersHint;
        QString allHaveAccessText;
        QString shareButton;
        QString removeAccessButton;
        QString closeButton;
        QString memberRoleLabel;
        QString shareFailedTitle;
        QString removeFailedTitle;
        QString confirmRemoveTitle;
        QString confirmRemoveText; // %1: the person's name
    };

    ShareMembersDialog(Client *client, SharingBackend *backend, const QString &calendarId,
                       const Texts &texts, QWidget *parent);

    void reload();
    void shareWithMember(const QString &userId, const QString &name);
    void removeShare(const QString &userId, const QString &name);

    bool isBusy() const { return m_busy; }
    QLabel *errorLabel() const { return m_error; }

signals:
    void sharingChanged();

private:
    void loadGroupMembers();
    void loadShares();
    void rebuildLists();
    QWidget *personRow(const QString &name, const QString &email, const QString &initials,
                       QWidget *control);
    void showError(const QString &text);

    Client *m_client;
    SharingBackend *m_backend;
    QString m_calendarId;
    Texts m_texts;
    QLabel *m_error;
    QVBoxLayout *m_sharedList;
    QVBoxLayout *m_addList;
    QLabel *m_noGroupHint;
    QLabel *m_allHaveAccess;
    QList<GroupMember> m_members;
    QList<ShareMember> m_shares;
    QString m_ownAccountId;
    bool m_busy = false;
    // A load answered after a newer one started is dropped, so the lists never go back in time.
    quint64 m_membersLoad = 0;
    quint64 m_sharesLoad = 0;
    AccountWidgets::ContentSwap *m_swap;
};

} // namespace LarkAccount
