#include "ui/dialogs/AccountsCalendarsDialog.h"

#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "ui/MessagePresenter.h"
#include "ui/WindowFit.h"
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

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(addRow);
    layout->addLayout(providerRow);
    layout->addWidget(buttons);

    connect(state->calendars(), &CalendarRepository::calendarsChanged, this,
            &AccountsCalendarsDialog::reload);
    connect(state->accounts(), &AccountRepository::accountsChanged, this,
            &AccountsCalendarsDialog::reload);
    reload();
}

void AccountsCalendarsDialog::reload()
{
    m_tree->clear();
    const QList<Account> accounts = m_state->accounts()->listActive();
    for (const Account &account : accounts) {
        auto *accountItem = new QTreeWidgetItem(m_tree, {account.name});
        accountItem->setData(0, Qt::UserRole, account.id);
        accountItem->setIcon(0, Theme::colorDotIcon(account.color));
        const QList<Calendar> calendars = m_state->calendars()->listByAccount(account.id);
        for (const Calendar &calendar : calendars) {
            auto *item = new QTreeWidgetItem(
                accountItem,
                {calendar.is_read_only ? tr("%1 (read-only)").arg(calendar.name) : calendar.name});
            item->setData(0, Qt::UserRole, calendar.id);
            item->setIcon(0, Theme::colorDotIcon(calendar.color));
        }
    }
    m_tree->expandAll();
}

void AccountsCalendarsDialog::addCalendarFromForm()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty())
        return;
    if (addLocalCalendar(m_state, name, QStringLiteral("#4285F4")).isEmpty()) {
        MessagePresenter::show(MessagePresenter::Kind::Warning, this, tr("Add Calendar"),
                               tr("The calendar \"%1\" could not be added.").arg(name));
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
