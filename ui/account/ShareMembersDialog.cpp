#include "ui/account/ShareMembersDialog.h"

#include "services/account/AccountClient.h"
#include "services/account/Client.h"
#include "ui/MessagePresenter.h"
#include "ui/account/AccountRows.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace LarkAccount {

using namespace AccountWidgets;

namespace {

constexpr int avatarSize = 36;

QString orDefault(const QString &text, const QString &fallback)
{
    return text.isEmpty() ? fallback : text;
}

QLabel *avatar(const QString &initials, const QColor &color, QWidget *parent)
{
    QLabel *a = label(initials, parent);
    a->setAlignment(Qt::AlignCenter);
    a->setFixedSize(avatarSize, avatarSize);
    a->setStyleSheet(QStringLiteral("QLabel { background: %1; color: white; border-radius: %2px;"
                                    " font-weight: 600; }")
                         .arg(color.name())
                         .arg(avatarSize / 2));
    QFont font = a->font();
    font.setPointSize(qMax(8, avatarSize / 3));
    a->setFont(font);
    return a;
}

QLabel *hint(const QString &text, QWidget *parent)
{
    QLabel *l = label(text, parent);
    l->setWordWrap(true);
    makeSecondary(l);
    l->setContentsMargins(0, 8, 0, 0);
    l->hide();
    return l;
}

// A heading and the list under it.
QVBoxLayout *section(QVBoxLayout *outer, const QString &heading, QWidget *parent, int top)
{
    auto *box = new QVBoxLayout;
    box->setContentsMargins(0, top, 0, 0);
    box->setSpacing(4);
    QLabel *title = label(heading, parent);
    setWeight(title, 600);
    box->addWidget(title);
    auto *list = new QWidget(parent);
    auto *rows = new QVBoxLayout(list);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    box->addWidget(list);
    outer->addLayout(box);
    return rows;
}

} // namespace

ShareMembersDialog::ShareMembersDialog(Client *client, SharingBackend *backend,
                                       const QString &calendarId, const Texts &texts,
                                       QWidget *parent)
    : QDialog(parent)
    , m_client(client)
    , m_backend(backend)
    , m_calendarId(calendarId)
    , m_texts(texts)
    , m_swap(new ContentSwap(this))
{
    setObjectName(QStringLiteral("shareMembersDialog"));
    // The backend's requests end with the dialog: their answers find it gone and do nothing.
    m_backend->setParent(this);
    setWindowTitle(texts.title);
    // Roomy where the screen allows; on a low one the lists scroll and Close stays on it.
    setMinimumWidth(560);
    resize(620, 620);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(12);
    if (!texts.subtitle.isEmpty()) {
        QLabel *subtitle = label(texts.subtitle, this);
        subtitle->setWordWrap(true);
        QFont font = subtitle->font();
        font.setPointSize(font.pointSize() + 2);
        font.setWeight(QFont::DemiBold);
        subtitle->setFont(font);
        layout->addWidget(subtitle);
    }
    if (!texts.intro.isEmpty()) {
        QLabel *intro = label(texts.intro, this);
        intro->setWordWrap(true);
        makeSecondary(intro);
        layout->addWidget(intro);
    }
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: rgba(128,128,128,0.25);"));
    layout->addWidget(line);

    m_error = label(QString(), this);
    m_error->setObjectName(QStringLiteral("shareErrorLabel"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(
        QStringLiteral("QLabel { color: %1; padding: 4px 0; }").arg(errorColor().name()));
    m_error->hide();
    layout->addWidget(m_error);

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *content = new QWidget(scroll);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->setSpacing(8);
    m_sharedList = section(
        contentLayout, orDefault(texts.sharedWithHeading, tr("People with access")), content, 0);
    m_addList
        = section(contentLayout, orDefault(texts.addPeopleHeading, tr("Add people")), content, 8);
    m_noGroupHint = hint(texts.noGroupMembersHint, content);
    m_noGroupHint->setObjectName(QStringLiteral("noGroupHint"));
    m_allHaveAccess = hint(
        orDefault(texts.allHaveAccessText, tr("All group members already have access")), content);
    m_allHaveAccess->setObjectName(QStringLiteral("allHaveAccessLabel"));
    contentLayout->addWidget(m_noGroupHint);
    contentLayout->addWidget(m_allHaveAccess);
    contentLayout->addStretch(1);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    auto *close = new QPushButton(orDefault(texts.closeButton, tr("Close")), this);
    close->setObjectName(QStringLiteral("shareCloseButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    closeRow->addWidget(close);
    layout->addLayout(closeRow);

    reload();
}

void ShareMembersDialog::reload()
{
    loadGroupMembers();
    loadShares();
}

void ShareMembersDialog::loadGroupMembers()
{
    const quint64 load = ++m_membersLoad;
    const QPointer<ShareMembersDialog> self(this);
    m_client->accountClient()->getProfile([self, load](const Profile &profile) {
        if (!self || load != self->m_membersLoad)
            return;
        self->m_ownAccountId = profile.id;
        self->m_client->accountClient()->getGroup([self, load](const Group &group) {
            if (!self || load != self->m_membersLoad)
                return;
            self->m_members = group.members;
            self->rebuildLists();
        });
    });
}

void ShareMembersDialog::loadShares()
{
    const quint64 load = ++m_sharesLoad;
    const QPointer<ShareMembersDialog> self(this);
    m_backend->listMembers(m_calendarId, [self, load](const QList<ShareMember> &shares) {
        if (!self || load != self->m_sharesLoad)
            return;
        self->m_shares = shares;
        self->rebuildLists();
    });
}

QWidget *ShareMembersDialog::personRow(const QString &name, const QString &email,
                                       const QString &initials, QWidget *control)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(10);
    layout->addWidget(avatar(initials, palette().color(QPalette::Highlight), row));
    auto *texts = new QVBoxLayout;
    texts->setSpacing(0);
    QLabel *nameLabel = label(name, row);
    setWeight(nameLabel, 500);
    texts->addWidget(nameLabel);
    if (!email.isEmpty()) {
        QLabel *emailLabel = label(email, row);
        makeSecondary(emailLabel);
        texts->addWidget(emailLabel);
    }
    layout->addLayout(texts, 1);
    control->setParent(row);
    layout->addWidget(control);
    return row;
}

void ShareMembersDialog::rebuildLists()
{
    for (QVBoxLayout *list : {m_sharedList, m_addList}) {
        while (QLayoutItem *item = list->takeAt(list->count() - 1)) {
            if (QWidget *widget = item->widget())
                m_swap->retire(widget);
            delete item;
        }
    }
    SharingBackend *backend = m_backend;
    const ShareLists lists = AccountRows::shareLists(
        m_members, m_shares, m_ownAccountId,
        [backend](const QString &accountId) { return backend->shareUserIdForMember(accountId); });

    if (lists.shared.isEmpty()) {
        QLabel *empty
            = label(orDefault(m_texts.emptySharesText, tr("Not shared with anyone yet.")), this);
        empty->setObjectName(QStringLiteral("emptySharesLabel"));
        makeSecondary(empty);
        empty->setContentsMargins(0, 4, 0, 4);
        m_sharedList->addWidget(empty);
    }
    for (const PersonRow &person : lists.shared) {
        auto *remove = new QToolButton;
        remove->setObjectName(QStringLiteral("removeShareButton"));
        remove->setText(QStringLiteral("\u00D7"));
        remove->setAutoRaise(true);
        remove->setCursor(Qt::PointingHandCursor);
        remove->setToolTip(orDefault(m_texts.removeAccessButton, tr("Remove access")));
        remove->setAccessibleName(remove->toolTip());
        QFont font = remove->font();
        font.setPointSize(font.pointSize() + 4);
        remove->setFont(font);
        // Square, and no smaller than the cross needs at a large font size.
        const QSize need = remove->sizeHint();
        const int side = qMax(28, qMax(need.width(), need.height()));
        remove->setFixedSize(side, side);
        connect(remove, &QToolButton::clicked, this,
                [this, person] { removeShare(person.userId, person.name); });
        m_sharedList->addWidget(personRow(person.name, person.email, person.initials, remove));
    }

    for (const PersonRow &person : lists.candidates) {
        auto *share = new QPushButton(orDefault(m_texts.shareButton, tr("Share")));
        share->setObjectName(QStringLiteral("shareWithButton"));
        share->setAutoDefault(true); // Return shares with the focused person
        share->setCursor(Qt::PointingHandCursor);
        connect(share, &QPushButton::clicked, this,
                [this, person] { shareWithMember(person.userId, person.name); });
        m_addList->addWidget(personRow(person.name, person.email, person.initials, share));
    }
    m_noGroupHint->setVisible(lists.noGroup);
    m_allHaveAccess->setVisible(!lists.noGroup && lists.allHaveAccess);
}

void ShareMembersDialog::showError(const QString &text)
{
    m_error->setText(text);
    m_error->show();
}

void ShareMembersDialog::shareWithMember(const QString &userId, const QString &name)
{
    if (m_busy)
        return;
    m_busy = true;
    m_error->hide();
    const QPointer<ShareMembersDialog> self(this);
    m_backend->shareWith(
        m_calendarId, userId, m_texts.memberRoleLabel, [self, name](bool ok, const QString &error) {
            if (!self)
                return;
            self->m_busy = false;
            if (!ok) {
                self->showError(error.isEmpty() ? tr("Could not share with %1.").arg(name) : error);
                return;
            }
            emit self->sharingChanged();
            self->reload();
        });
}

void ShareMembersDialog::removeShare(const QString &userId, const QString &name)
{
    if (m_busy)
        return;
    bool confirmed = false;
    {
        ContentSwap::PromptScope scope(m_swap);
        confirmed = MessagePresenter::ask(
            this, orDefault(m_texts.confirmRemoveTitle, tr("Remove access?")),
            orDefault(m_texts.confirmRemoveText, tr("%1 will no longer have access. Continue?"))
                .arg(name));
    }
    if (!confirmed)
        return;
    m_busy = true;
    m_error->hide();
    const QPointer<ShareMembersDialog> self(this);
    m_backend->removeShare(m_calendarId, userId, [self, name](bool ok) {
        if (!self)
            return;
        self->m_busy = false;
        if (!ok) {
            self->showError(tr("Could not remove %1.").arg(name));
            return;
        }
        emit self->sharingChanged();
        self->reload();
    });
}

} // namespace LarkAccount
