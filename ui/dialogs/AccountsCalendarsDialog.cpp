#include "ui/dialogs/AccountsCalendarsDialog.h"

#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "services/account/Client.h"
#include "services/sync/cloud/CalendarUpgradeService.h"
#include "services/sync/cloud/SharingBackend.h"
#include "services/sync/cloud/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "ui/MessagePresenter.h"
#include "ui/WindowFit.h"
#include "ui/account/ShareMembersDialog.h"
#include "ui/dialogs/ProviderSignIn.h"
#include "ui/theme/Theme.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

AccountsCalendarsDialog::AccountsCalendarsDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_tree(new QTreeWidget(this))
    , m_name(new QLineEdit(this))
{
    setObjectName(QStringLiteral("accountsCalendarsDialog"));
    setWindowTitle(tr("Accounts and Calendars"));
    resize(460, 420);

    m_tree->setObjectName(QStringLiteral("accountTree"));
    m_tree->setHeaderHidden(true);
    // The focus goes round the whole row, as its highlight does, not round the name alone.
    m_tree->setAllColumnsShowFocus(true);

    m_name->setObjectName(QStringLiteral("newCalendarName"));
    m_name->setPlaceholderText(tr("New calendar on this device"));
    WindowFit::keepPlaceholderWhole(m_name);
    auto *add = new QPushButton(tr("Add Calendar"), this);
    add->setObjectName(QStringLiteral("addCalendarButton"));
    add->setEnabled(false);
    connect(m_name, &QLineEdit::textChanged, add,
            [add](const QString &text) { add->setEnabled(!text.trimmed().isEmpty()); });
    connect(add, &QPushButton::clicked, this, &AccountsCalendarsDialog::addCalendarFromForm);
    connect(m_name, &QLineEdit::returnPressed, this, &AccountsCalendarsDialog::addCalendarFromForm);

    auto *addRow = new QHBoxLayout;
    addRow->addWidget(m_name, 1);
    addRow->addWidget(add);

    // Google and Microsoft accounts only when the build can sign in to them.
    auto *providerRow = new QHBoxLayout;
    const auto addProviderButton
        = [&](ProviderSignIn::Provider provider, const QString &text, const QString &name) {
              auto *button = new QPushButton(text, this);
              button->setObjectName(name);
              button->setVisible(ProviderSignIn::isOffered(provider));
              connect(button, &QPushButton::clicked, this,
                      [this, provider] { ProviderSignIn::start(m_state, provider, this); });
              providerRow->addWidget(button);
          };
    addProviderButton(ProviderSignIn::Provider::Google, tr("Add Google account…"),
                      QStringLiteral("addGoogleAccountButton"));
    addProviderButton(ProviderSignIn::Provider::Microsoft, tr("Add Microsoft account…"),
                      QStringLiteral("addMicrosoftAccountButton"));
    providerRow->addStretch(1);

    // Sharing needs the cloud account; a calendar on this device moves there first.
    m_share = new QPushButton(tr("Share…"), this);
    m_share->setObjectName(QStringLiteral("shareCalendarButton"));
    m_move = new QPushButton(tr("Move to the Cloud"), this);
    m_move->setObjectName(QStringLiteral("moveToCloudButton"));
    connect(m_share, &QPushButton::clicked, this, &AccountsCalendarsDialog::shareSelected);
    connect(m_move, &QPushButton::clicked, this, &AccountsCalendarsDialog::moveSelectedToCloud);
    m_cloudStatus = new QLabel(this);
    m_cloudStatus->setObjectName(QStringLiteral("cloudStatusLabel"));
    m_cloudStatus->setTextFormat(Qt::PlainText);
    m_cloudStatus->setWordWrap(true);
    m_cloudStatus->hide();
    auto *cloudRow = new QHBoxLayout;
    cloudRow->addWidget(m_share);
    cloudRow->addWidget(m_move);
    cloudRow->addStretch(1);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            &AccountsCalendarsDialog::updateCloudButtons);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(cloudRow);
    layout->addWidget(m_cloudStatus);
    layout->addLayout(addRow);
    layout->addLayout(providerRow);
    layout->addWidget(buttons);

    connect(state->calendars(), &CalendarRepository::calendarsChanged, this,
            &AccountsCalendarsDialog::reload);
    connect(state->accounts(), &AccountRepository::accountsChanged, this,
            &AccountsCalendarsDialog::reload);
    if (LarkAccount::Client *client = m_state->accountClient())
        connect(client, &LarkAccount::Client::authStateChanged, this,
                &AccountsCalendarsDialog::updateCloudButtons);
    reload();
    // The list opens on a chosen row, the first calendar, shown as chosen: focus alone would
    // frame the first account's name bare, which reads as a field to type in.
    QTreeWidgetItem *first = m_tree->topLevelItem(0);
    if (first && first->childCount() > 0)
        first = first->child(0);
    m_tree->setCurrentItem(first);
}

void AccountsCalendarsDialog::reload()
{
    // The selection survives a reload, so the buttons keep acting on the same calendar.
    const QTreeWidgetItem *current = m_tree->currentItem();
    const QString selectedId
        = current && current->parent() ? current->data(0, Qt::UserRole).toString() : QString();
    m_tree->clear();
    const QList<Account> accounts = m_state->accounts()->listActive();
    for (const Account &account : accounts) {
        auto *accountItem = new QTreeWidgetItem(m_tree, {LocalCalendar::displayName(account)});
        accountItem->setData(0, Qt::UserRole, account.id);
        accountItem->setIcon(0, Theme::colorDotIcon(account.color));
        const QList<Calendar> calendars = m_state->calendars()->listByAccount(account.id);
        for (const Calendar &calendar : calendars) {
            const QString name = LocalCalendar::displayName(calendar);
            auto *item = new QTreeWidgetItem(
                accountItem, {calendar.is_read_only ? tr("%1 (read-only)").arg(name) : name});
            item->setData(0, Qt::UserRole, calendar.id);
            item->setIcon(0, Theme::colorDotIcon(calendar.color));
            if (calendar.id == selectedId)
                m_tree->setCurrentItem(item);
        }
    }
    m_tree->expandAll();
    updateCloudButtons();
}

void AccountsCalendarsDialog::addCalendarFromForm()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty())
        return;
    if (addLocalCalendar(m_state, name, QStringLiteral("#4285F4")).isEmpty()) {
        const QString why = m_state->store().writeFailure();
        MessagePresenter::show(
            MessagePresenter::Kind::Warning, this, tr("Add Calendar"),
            why.isEmpty() ? tr("The calendar \"%1\" could not be added.").arg(name)
                          : tr("The calendar \"%1\" could not be added (%2).").arg(name, why));
        return;
    }
    m_name->clear();
}

QString AccountsCalendarsDialog::addLocalCalendar(AppState *state, const QString &name,
                                                  const QString &color)
{
    return LocalCalendar::addCalendar(state->accounts(), state->calendars(), name, color,
                                      tr("On This Device"),
                                      state->database()->currentDateTimeUtc());
}

bool AccountsCalendarsDialog::isCloudCalendar(const Calendar &calendar)
{
    return calendar.url.startsWith(QLatin1String("larkspindle://"));
}

bool AccountsCalendarsDialog::isOnDeviceCalendar(const Account &account, const Calendar &calendar)
{
    return account.type == QLatin1String("larkspindle") && !isCloudCalendar(calendar);
}

std::optional<Calendar> AccountsCalendarsDialog::selectedCalendar() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    if (!item || !item->parent())
        return std::nullopt;
    return m_state->calendars()->byId(item->data(0, Qt::UserRole).toString());
}

void AccountsCalendarsDialog::updateCloudButtons()
{
    const LarkAccount::Client *client = m_state->accountClient();
    const bool signedIn = client && client->isAuthenticated();
    const std::optional<Calendar> calendar = selectedCalendar();
    const std::optional<Account> account
        = calendar ? m_state->accounts()->byId(calendar->account_id) : std::nullopt;
    const bool onDevice = account && isOnDeviceCalendar(*account, *calendar);
    const bool moving = calendar && m_moves.contains(calendar->id);
    m_share->setEnabled(signedIn && calendar && !moving
                        && (isCloudCalendar(*calendar) || onDevice));
    m_move->setEnabled(signedIn && onDevice && !moving);
    const QString why = signedIn ? QString() : tr("Sign in to your Larkspindle account first.");
    m_share->setToolTip(why);
    m_move->setToolTip(why);
}

void AccountsCalendarsDialog::shareSelected()
{
    const std::optional<Calendar> calendar = selectedCalendar();
    if (!calendar)
        return;
    if (isCloudCalendar(*calendar))
        openShareDialog(LocalCalendar::displayName(*calendar),
                        Larkspindle::SyncClient::serverIdFromUrl(calendar->url));
    else
        startMove(*calendar, true);
}

void AccountsCalendarsDialog::moveSelectedToCloud()
{
    if (const std::optional<Calendar> calendar = selectedCalendar())
        startMove(*calendar, false);
}

void AccountsCalendarsDialog::startMove(const Calendar &calendar, bool shareAfter)
{
    LarkAccount::Client *client = m_state->accountClient();
    if (!client)
        return;
    // One mover for the program: a move outlives this dialog and is never started twice.
    Larkspindle::CalendarUpgradeService *mover = m_mover;
    if (!mover) {
        mover = m_state->findChild<Larkspindle::CalendarUpgradeService *>(
            QString(), Qt::FindDirectChildrenOnly);
        if (!mover)
            mover = new Larkspindle::CalendarUpgradeService(m_state, client->syncApiClient(),
                                                            m_state);
        m_mover = mover;
        connect(
            mover, &Larkspindle::CalendarUpgradeService::upgradeProgress, this,
            [this](const QString &id, int done, int total) {
                if (!m_moves.contains(id))
                    return;
                m_cloudStatus->setText(
                    tr("Moving to the cloud: %L1 of %Ln item(s) sent.", nullptr, total).arg(done));
            });
        connect(mover, &Larkspindle::CalendarUpgradeService::upgradeCompleted, this,
                [this](const QString &id, const QString &serverId) {
                    if (!m_moves.contains(id))
                        return;
                    const bool share = m_moves.take(id);
                    const std::optional<Calendar> moved = m_state->calendars()->byId(id);
                    const QString name = moved ? LocalCalendar::displayName(*moved) : QString();
                    m_cloudStatus->setText(tr("\"%1\" is now in the cloud.").arg(name));
                    updateCloudButtons();
                    if (share)
                        openShareDialog(name, serverId);
                });
        connect(mover, &Larkspindle::CalendarUpgradeService::upgradeFailed, this,
                [this](const QString &id, const QString &reason) {
                    if (!m_moves.contains(id))
                        return;
                    m_moves.remove(id);
                    m_cloudStatus->setText(tr("Moving to the cloud failed: %1").arg(reason));
                    updateCloudButtons();
                });
    }
    m_moves.insert(calendar.id, shareAfter);
    m_cloudStatus->setText(
        tr("Moving \"%1\" to the cloud…").arg(LocalCalendar::displayName(calendar)));
    m_cloudStatus->show();
    updateCloudButtons();
    mover->upgradeCalendar(calendar);
}

void AccountsCalendarsDialog::openShareDialog(const QString &calendarName, const QString &serverId)
{
    LarkAccount::Client *client = m_state->accountClient();
    if (!client || serverId.isEmpty())
        return;
    LarkAccount::ShareMembersDialog::Texts texts;
    texts.title = tr("Share Calendar");
    texts.subtitle = tr("Sharing: %1").arg(calendarName);
    texts.intro = tr("People you share with see the same events and changes you do. Sharing "
                     "doesn't merge calendars; they keep their own calendar list.");
    texts.sharedWithHeading = tr("Shared with");
    texts.addPeopleHeading = tr("Add people");
    texts.emptySharesText = tr("Not shared with anyone yet.");
    texts.noGroupMembersHint = tr("Add family members or teammates to your Larkspindle group "
                                  "first, then come back here to share calendars with them.");
    texts.allHaveAccessText = tr("Everyone in your group already has access");
    texts.shareButton = tr("Share");
    texts.removeAccessButton = tr("Remove access");
    texts.closeButton = tr("Close");
    texts.memberRoleLabel = QStringLiteral("member");
    texts.shareFailedTitle = tr("Couldn't share calendar");
    texts.removeFailedTitle = tr("Couldn't remove person");
    texts.confirmRemoveTitle = tr("Stop sharing?");
    texts.confirmRemoveText = tr("%1 will no longer see this calendar's events on any of their "
                                 "devices. Continue?");
    auto *dialog = new LarkAccount::ShareMembersDialog(
        client, new Larkspindle::SharingBackend(client->syncApiClient()), serverId, texts, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &LarkAccount::ShareMembersDialog::sharingChanged, this,
            &AccountsCalendarsDialog::reload);
    dialog->show();
    emit shareDialogOpened(dialog);
}
