#include "ui/account/AccountScreen.h"

#include "model/Clock.h"
#include "services/account/AccountClient.h"
#include "services/account/AuthClient.h"
#include "services/account/Client.h"
#include "ui/MessagePresenter.h"
#include "ui/WindowFit.h"
#include "ui/account/AccountGroupPage.h"
#include "ui/account/AccountRows.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace LarkAccount {

using namespace AccountWidgets;

namespace {

constexpr int listContentIndex = 2; // after the page title and its spacing

QHBoxLayout *indentedRow(int left = 12)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(left, 0, 0, 0);
    return row;
}

} // namespace

AccountScreen::AccountScreen(Client *client, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_client(client)
    , m_swap(new ContentSwap(this))
{
    setObjectName(QStringLiteral("accountScreen"));

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("accountPageList"));
    m_pageList->setFrameShape(QFrame::NoFrame);
    m_pageList->setSpacing(2);
    // The list follows the pages for keyboard users too: Tab reaches it, arrows switch pages.
    m_pageList->setFocusPolicy(Qt::StrongFocus);
    const QStringList names
        = {tr("Profile"), tr("Group"), tr("Devices"), tr("Security"), tr("Data & Privacy")};
    m_pageList->addItems(names);
    styleSideList();

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("accountPages"));
    // Long lists and large fonts scroll instead of squeezing the rows.
    const auto addPage = [this](QWidget *page) {
        auto *scroll = new QScrollArea(m_stack);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // Tab goes from the page list straight to the page's buttons, which scroll into view.
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->setWidget(page);
        WindowFit::widenRatherThanScrollSideways(scroll);
        m_stack->addWidget(scroll);
    };
    addPage(createProfileTab());
    m_groupPage = new AccountGroupPage(m_client, this);
    addPage(m_groupPage);
    addPage(createListTab(tr("Devices"), m_devicesLayout, "devicesPage"));
    addPage(createListTab(tr("Security"), m_securityLayout, "securityPage"));
    addPage(createPrivacyTab());
    connect(m_pageList, &QListWidget::currentRowChanged, m_stack, &QStackedWidget::setCurrentIndex);
    m_pageList->setCurrentRow(0);

    m_status = label(QString(), this);
    m_status->setObjectName(QStringLiteral("accountStatusLabel"));
    makeSmall(m_status);
    m_status->setContentsMargins(4, 4, 4, 4);
    m_status->setMinimumHeight(qMax(24, m_status->sizeHint().height()));
    m_statusTimer = new QTimer(this);
    m_statusTimer->setSingleShot(true);
    connect(m_statusTimer, &QTimer::timeout, m_status, &QLabel::clear);

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addWidget(m_stack, 1);
    right->addWidget(m_status);

    outer->addWidget(m_pageList, 0);
    outer->addLayout(right, 1);
    updateOwnerState();
}

void AccountScreen::styleSideList()
{
    const QPalette palette = QApplication::palette();
    const QColor window = palette.color(QPalette::Window);
    const bool darkWindow = window.lightness() < 128;
    const QColor alternate = palette.color(QPalette::AlternateBase);
    const QColor background
        = alternate.isValid() ? alternate : (darkWindow ? window.lighter(115) : window.darker(103));
    const QColor hover = darkWindow ? window.lighter(135) : window.darker(105);
    const QString sheet
        = QStringLiteral("QListWidget { background: %1; border: none; padding: 12px 8px; }"
                         "QListWidget::item { padding: 8px 12px; border-radius: 6px; }"
                         "QListWidget::item:hover { background: %2; }"
                         "QListWidget::item:selected { background: %3; color: %4; }")
              .arg(background.name(), hover.name(), palette.color(QPalette::Highlight).name(),
                   palette.color(QPalette::HighlightedText).name());
    // Setting a sheet repolishes, which reports a palette change again.
    if (sheet != m_pageList->styleSheet())
        m_pageList->setStyleSheet(sheet);
    // Wide enough for the longest page name in the interface language and font size.
    m_pageList->ensurePolished();
    int widest = 0;
    for (int i = 0; i < m_pageList->count(); ++i)
        widest = qMax(widest,
                      m_pageList->fontMetrics().horizontalAdvance(m_pageList->item(i)->text()));
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageList->setFixedWidth(qMax(180, widest + 2 * 8 + 2 * 12 + 24));
}

bool AccountScreen::event(QEvent *event)
{
    // The screen lives as long as the program: it follows a change of theme or font size.
    const QEvent::Type type = event->type();
    if (m_pageList
        && (type == QEvent::ApplicationPaletteChange || type == QEvent::PaletteChange
            || type == QEvent::ApplicationFontChange))
        styleSideList();
    return QWidget::event(event);
}

void AccountScreen::keyPressEvent(QKeyEvent *event)
{
    // A window of its own, closed from the keyboard like the dialogs.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QWidget *AccountScreen::createProfileTab()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("profilePage"));
    QVBoxLayout *layout = pageLayout(page, tr("Profile"));
    layout->addWidget(sectionHeader(tr("Personal Information"), QString(), page));

    auto *identity = new QVBoxLayout;
    identity->setContentsMargins(12, 0, 0, 0);
    identity->setSpacing(6);
    m_nameLabel = label(QString(), page);
    m_nameLabel->setObjectName(QStringLiteral("profileNameLabel"));
    m_emailLabel = label(QString(), page);
    m_emailLabel->setObjectName(QStringLiteral("profileEmailLabel"));
    makeSecondary(m_emailLabel);
    identity->addWidget(m_nameLabel);
    identity->addWidget(m_emailLabel);
    layout->addLayout(identity);

    layout->addSpacing(8);
    auto *actions = indentedRow();
    m_editNameButton = button(tr("Edit Display Name"), "editNameButton", page);
    auto *signOut = button(tr("Sign Out"), "signOutButton", page);
    actions->addWidget(m_editNameButton);
    actions->addStretch(1);
    actions->addWidget(signOut);
    layout->addLayout(actions);
    connect(m_editNameButton, &QPushButton::clicked, this, &AccountScreen::editDisplayName);
    connect(signOut, &QPushButton::clicked, this, &AccountScreen::logoutRequested);

    layout->addSpacing(16);
    layout->addWidget(separator(page));
    layout->addSpacing(8);
    layout->addWidget(sectionHeader(tr("Password"), tr("Change your account password."), page));
    auto *passwordRow = indentedRow();
    m_passwordButton = button(tr("Change Password"), "changePasswordButton", page);
    passwordRow->addWidget(m_passwordButton);
    passwordRow->addStretch(1);
    layout->addLayout(passwordRow);
    connect(m_passwordButton, &QPushButton::clicked, this, &AccountScreen::changePassword);
    layout->addStretch(1);
    return page;
}

QWidget *AccountScreen::createListTab(const QString &title, QVBoxLayout *&layout, const char *name)
{
    auto *page = new QWidget(this);
    page->setObjectName(QString::fromLatin1(name));
    layout = pageLayout(page, title);
    layout->addStretch(1);
    return page;
}

QWidget *AccountScreen::createPrivacyTab()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("privacyPage"));
    QVBoxLayout *layout = pageLayout(page, tr("Data & Privacy"));
    layout->addWidget(sectionHeader(
        tr("Danger Zone"),
        tr("Permanently delete your account. This cannot be undone after 30 days."), page));
    m_deleteButton = button(tr("Delete Account"), "deleteAccountButton", page);
    m_deleteButton->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; background: #C62828; border: none; border-radius: 4px;"
        " padding: 6px 16px; font-weight: 600; }"
        "QPushButton:hover { background: #B71C1C; }"
        "QPushButton:focus { border: 2px solid palette(highlight); }"
        "QPushButton:disabled { background: #666; }"));
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountScreen::deleteAccount);

    m_ownerHint = label(tr("You are the group owner. Transfer ownership or remove all members "
                           "before deleting your account."),
                        page);
    m_ownerHint->setObjectName(QStringLiteral("ownerDeleteHint"));
    m_ownerHint->setWordWrap(true);
    makeSecondary(m_ownerHint);
    makeSmall(m_ownerHint);
    m_ownerHint->setContentsMargins(12, 0, 0, 0);
    layout->addWidget(m_ownerHint);

    auto *row = indentedRow();
    row->addWidget(m_deleteButton);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

void AccountScreen::updateOwnerState()
{
    // Looked at again on every refresh: the screen outlives a change of role or of user.
    const bool owner = m_client->claims().role == QLatin1String("owner");
    m_deleteButton->setEnabled(!owner);
    m_ownerHint->setVisible(owner);
}

void AccountScreen::refreshAll()
{
    updateOwnerState();
    refreshProfile();
    refreshGroup();
    refreshDevices();
    refreshSessions();
}

void AccountScreen::refreshProfile()
{
    const QPointer<AccountScreen> self(this);
    m_client->authClient()->fetchCurrentUser([self](const User &user) {
        if (self)
            self->showUser(user);
    });
}

void AccountScreen::refreshGroup()
{
    m_groupPage->refresh();
}

void AccountScreen::refreshDevices()
{
    const QPointer<AccountScreen> self(this);
    m_client->accountClient()->getDevices([self](const QList<Device> &devices) {
        if (self)
            self->populateDevices(devices);
    });
}

void AccountScreen::refreshSessions()
{
    const QPointer<AccountScreen> self(this);
    m_client->authClient()->listSessions([self](const QList<Session> &sessions) {
        if (self)
            self->populateSessions(sessions);
    });
}

void AccountScreen::showStatus(const QString &text, const QColor &color, int ms)
{
    m_status->setStyleSheet(QStringLiteral("color: %1;").arg(color.name()));
    m_status->setText(text);
    // One timer: a later message is shown for its whole time, not cut short by an earlier one.
    m_statusTimer->start(ms);
}

void AccountScreen::showError(const QString &text)
{
    showStatus(text, errorColor(), errorShownMs);
}

void AccountScreen::showSuccess(const QString &text)
{
    showStatus(text, successColor(), successShownMs);
}

bool AccountScreen::ask(const QString &title, const QString &text)
{
    ContentSwap::PromptScope scope(m_swap);
    return MessagePresenter::ask(this, title, text);
}

std::optional<QString> AccountScreen::askText(const QString &title, const QString &label,
                                              bool password, const QString &initial)
{
    ContentSwap::PromptScope scope(m_swap);
    return MessagePresenter::askText(this, title, label, password, initial);
}

void AccountScreen::inform(const QString &title, const QString &text)
{
    ContentSwap::PromptScope scope(m_swap);
    MessagePresenter::show(MessagePresenter::Kind::Information, this, title, text);
}

void AccountScreen::showUser(const User &user)
{
    m_displayName = user.displayName;
    m_nameLabel->setText(user.displayName.isEmpty() ? tr("(not set)") : user.displayName);
    m_emailLabel->setText(user.email);
}

void AccountScreen::populateDevices(const QList<Device> &devices)
{
    QVBoxLayout *layout = m_swap->replaceWithColumn(
        m_devicesLayout, listContentIndex, m_devicesContent, 4, QStringLiteral("devicesContent"));
    QWidget *content = layout->parentWidget();
    layout->addWidget(sectionHeader(tr("Registered Devices"),
                                    tr("Devices that have synced with your account."), content));
    if (devices.isEmpty()) {
        QLabel *empty = label(tr("No devices registered."), content);
        makeSecondary(empty);
        empty->setContentsMargins(12, 0, 0, 0);
        layout->addWidget(empty);
    }
    const QDateTime at = Clock::nowUtc();
    for (const Device &device : devices) {
        const DeviceRow row = AccountRows::device(device, at);
        const ListRow line = listRow(layout);
        QLabel *title = label(row.title, content);
        setWeight(title, 700);
        line.texts->addWidget(title);
        for (const QString &text : {row.detail, row.age}) {
            QLabel *detail = label(text, content);
            makeSecondary(detail);
            makeSmall(detail);
            line.texts->addWidget(detail);
        }
        line.line->addStretch(1);
        QPushButton *remove = button(tr("Remove"), "removeDeviceButton", content);
        connect(remove, &QPushButton::clicked, this,
                [this, row, remove] { removeDevice(row.id, row.storedName, remove); });
        line.line->addWidget(remove);
        layout->addWidget(separator(content));
    }
}

void AccountScreen::populateSessions(const QList<Session> &sessions)
{
    QVBoxLayout *layout
        = m_swap->replaceWithColumn(m_securityLayout, listContentIndex, m_sessionsContent, 8,
                                    QStringLiteral("sessionsContent"));
    QWidget *content = layout->parentWidget();
    layout->addWidget(sectionHeader(tr("Active Sessions"),
                                    tr("Sessions currently signed in to your account."), content));
    if (sessions.isEmpty()) {
        QLabel *empty = label(tr("No active sessions."), content);
        empty->setContentsMargins(12, 0, 0, 0);
        layout->addWidget(empty);
    }
    const QDateTime at = Clock::nowUtc();
    for (const Session &session : sessions) {
        const SessionRow row = AccountRows::session(session, at);
        const ListRow line = listRow(layout);
        QLabel *client = label(row.client, content);
        client->setWordWrap(true);
        setWeight(client, 500);
        QLabel *detail = label(row.detail, content);
        makeSecondary(detail);
        makeSmall(detail);
        line.texts->addWidget(client);
        line.texts->addWidget(detail);
        // The texts take the width, so a long client name wraps only where it must.
        line.line->setStretchFactor(line.texts, 1);
        if (row.current) {
            QLabel *current = label(tr("Current"), content);
            setTextColor(current, successColor());
            setWeight(current, 500);
            line.line->addWidget(current);
        } else {
            QPushButton *revoke = button(tr("Revoke"), "revokeSessionButton", content);
            connect(revoke, &QPushButton::clicked, this,
                    [this, id = row.id, revoke] { revokeSession(id, revoke); });
            line.line->addWidget(revoke);
        }
        layout->addWidget(separator(content));
    }
}

void AccountScreen::editDisplayName()
{
    const std::optional<QString> typed
        = askText(tr("Edit Display Name"), tr("Display name:"), false, m_displayName);
    if (!typed || typed->trimmed().isEmpty())
        return;
    m_editNameButton->setEnabled(false);
    const QPointer<AccountScreen> self(this);
    m_client->authClient()->updateProfile(typed->trimmed(), [self](const User &user) {
        if (!self)
            return;
        self->m_editNameButton->setEnabled(true);
        if (user.id.isEmpty()) {
            self->showError(tr("Failed to update profile."));
            return;
        }
        self->m_displayName = user.displayName;
        self->m_nameLabel->setText(user.displayName);
        self->showSuccess(tr("Display name updated."));
    });
}

void AccountScreen::changePassword()
{
    const QString title = tr("Change Password");
    const std::optional<QString> current = askText(title, tr("Current password:"), true);
    if (!current || current->isEmpty())
        return;
    const std::optional<QString> fresh = askText(
        title, tr("New password (min %1 characters):").arg(AccountRows::minimumPasswordLength),
        true);
    if (!fresh || fresh->isEmpty())
        return;
    const QString problem = AccountRows::newPasswordProblem(*fresh);
    if (!problem.isEmpty()) {
        showError(problem);
        return;
    }
    const std::optional<QString> confirmation = askText(title, tr("Confirm new password:"), true);
    if (!confirmation || *confirmation != *fresh) {
        showError(tr("Passwords do not match."));
        return;
    }
    m_passwordButton->setEnabled(false);
    const QPointer<AccountScreen> self(this);
    m_client->authClient()->changePassword(*current, *fresh, [self](bool ok) {
        if (!self)
            return;
        self->m_passwordButton->setEnabled(true);
        if (ok)
            self->showSuccess(tr("Password changed."));
        else
            self->showError(tr("Failed to change password."));
    });
}

void AccountScreen::deleteAccount()
{
    const std::optional<QString> typed = askText(
        tr("Delete Account"),
        tr("This will schedule your account for permanent deletion after 30 days.")
            + QStringLiteral("\n\n") + tr("Type %1 to confirm:").arg(AccountRows::deletionWord()));
    if (!typed || *typed != AccountRows::deletionWord())
        return;
    m_deleteButton->setEnabled(false);
    const QPointer<AccountScreen> self(this);
    m_client->accountClient()->deleteAccount([self](bool ok) {
        if (!self)
            return;
        self->m_deleteButton->setEnabled(true);
        if (!ok) {
            self->showError(tr("Failed to delete account."));
            return;
        }
        self->inform(tr("Account Scheduled for Deletion"),
                     tr("Your account will be permanently deleted in 30 days. You can recover "
                        "it by signing in before then."));
        if (self)
            emit self->logoutRequested();
    });
}

void AccountScreen::runAction(QPushButton *button, const QString &success, const QString &failure,
                              const std::function<void()> &then, const Action &action)
{
    const QPointer<QPushButton> pressed(button);
    if (pressed)
        pressed->setEnabled(false);
    const QPointer<AccountScreen> self(this);
    action([self, pressed, success, failure, then](bool ok) {
        if (!self)
            return;
        if (pressed)
            pressed->setEnabled(true);
        if (!ok) {
            self->showError(failure);
            return;
        }
        self->showSuccess(success);
        if (then)
            then();
    });
}

void AccountScreen::removeDevice(const QString &id, const QString &storedName, QPushButton *button)
{
    if (!ask(tr("Remove Device"), tr("Remove %1?").arg(storedName)))
        return;
    AccountClient *account = m_client->accountClient();
    runAction(
        button, tr("Device removed."), tr("Failed to remove device."), [this] { refreshDevices(); },
        [account, id](auto done) { account->removeDevice(id, std::move(done)); });
}

void AccountScreen::revokeSession(const QString &id, QPushButton *button)
{
    AuthClient *auth = m_client->authClient();
    runAction(
        button, tr("Session revoked."), tr("Failed to revoke session."),
        [this] { refreshSessions(); },
        [auth, id](auto done) { auth->revokeSession(id, std::move(done)); });
}

} // namespace LarkAccount
