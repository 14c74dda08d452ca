#include "ui/dialogs/MissedRemindersDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
constexpr int EventIdRole = Qt::UserRole;
constexpr int DateRole = Qt::UserRole + 1;
} // namespace

MissedRemindersDialog::MissedRemindersDialog(QWidget *parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("missedRemindersDialog"));
    setWindowTitle(tr("Missed Reminders"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *intro = new QLabel(tr("These reminders came while they could not be shown. Double-click "
                                "one to open its event."),
                             this);
    intro->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("missedRemindersList"));
    m_list->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString eventId = item->data(EventIdRole).toString();
        if (!eventId.isEmpty())
            emit eventChosen(eventId, item->data(DateRole).toDate());
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(420, 320);
}

void MissedRemindersDialog::add(const QString &title, const QString &body, const QString &eventId,
                                const QDate &date)
{
    auto *item = new QListWidgetItem(title + QLatin1Char('\n') + body, m_list);
    item->setData(EventIdRole, eventId);
    item->setData(DateRole, date);
    m_list->scrollToItem(item);
}
