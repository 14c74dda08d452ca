#include "ui/dialogs/MissedRemindersDialog.h"

#include "model/Clock.h"
#include "ui/WindowFit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int EventIdRole = Qt::UserRole;
constexpr int DateRole = Qt::UserRole + 1;
constexpr int TaskRole = Qt::UserRole + 2;
// The intro wraps at about this many average characters.
constexpr int kIntroChars = 48;
// Room left beside the dialog for the window's frame.
constexpr int kScreenEdge = 16;
// How often the rows' time left is said again: well within the minute they count in.
constexpr int kRewordMs = 1000;

QString rowText(const ReminderNotice &notice, const QDateTime &now)
{
    return notice.title + QLatin1Char('\n') + Reminders::bodyAt(notice, now);
}
} // namespace

MissedRemindersDialog::MissedRemindersDialog(QWidget *parent)
    : QDialog(parent)
    , m_intro(new QLabel(this))
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("missedRemindersDialog"));
    setWindowTitle(tr("Missed Reminders"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    m_intro->setText(tr("These reminders came while they could not be shown. Double-click one to "
                        "open its event, or the day its task is due."));
    m_intro->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("missedRemindersList"));
    m_list->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QDate date = item->data(DateRole).toDate();
        if (item->data(TaskRole).toBool()) {
            if (date.isValid())
                emit taskChosen(date);
            return;
        }
        const QString eventId = item->data(EventIdRole).toString();
        if (!eventId.isEmpty())
            emit eventChosen(eventId, date);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    fitToContents();

    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MissedRemindersDialog::reword);
    clock->start(kRewordMs);
}

void MissedRemindersDialog::add(const ReminderNotice &notice)
{
    m_notices.append(notice);
    auto *item = new QListWidgetItem(rowText(notice, Clock::now()), m_list);
    item->setData(EventIdRole, notice.eventId);
    item->setData(DateRole, notice.date);
    item->setData(TaskRole, notice.task);
    fitToContents();
    m_list->scrollToItem(item);
}

void MissedRemindersDialog::reword()
{
    const QDateTime now = Clock::now();
    for (int row = 0; row < m_notices.size(); ++row) {
        const QString text = rowText(m_notices.at(row), now);
        QListWidgetItem *item = m_list->item(row);
        if (item && item->text() != text)
            item->setText(text);
    }
}

void MissedRemindersDialog::fitToContents()
{
    ensurePolished();
    const int frame = 2 * m_list->frameWidth();
    const int scrollBar = m_list->verticalScrollBar()->sizeHint().width();
    const int rowsWidth = m_list->count() > 0 ? m_list->sizeHintForColumn(0) : 0;
    const int introWidth = std::min(m_intro->sizeHint().width(),
                                    m_intro->fontMetrics().averageCharWidth() * kIntroChars);
    const int contentWidth = std::max(rowsWidth + frame + scrollBar, introWidth);
    int rowsHeight = 0;
    for (int row = 0; row < m_list->count(); ++row)
        rowsHeight += m_list->sizeHintForRow(row) + 2 * m_list->spacing();
    // Room for two rows at least, so the list reads as a list while it holds one.
    const int minRows = 2 * m_list->fontMetrics().lineSpacing() * 2;
    const int listHeight = std::max(rowsHeight, minRows) + frame;

    const QMargins margins = layout()->contentsMargins();
    const int spacing = std::max(0, layout()->spacing());
    const auto *buttons = findChild<QDialogButtonBox *>();
    const int width = contentWidth + margins.left() + margins.right();
    const int height = margins.top() + m_intro->heightForWidth(contentWidth) + spacing + listHeight
        + spacing + (buttons ? buttons->sizeHint().height() : 0) + margins.bottom();
    // No wider than the screen: rows wrap at the width they will have, not at one fitting
    // takes away later.
    const int screenWidth = screen()->availableGeometry().width() - kScreenEdge;
    resize(std::max(std::min(width, screenWidth), minimumSizeHint().width()),
           std::max(height, minimumSizeHint().height()));
    // Rows are measured again where the layout puts the list, with the list's own item padding
    // and wrapped at its real width: the dialog grows by what they still lack.
    layout()->activate();
    m_list->doItemsLayout();
    int rowsShown = 0;
    for (int row = 0; row < m_list->count(); ++row)
        rowsShown += m_list->visualItemRect(m_list->item(row)).height() + 2 * m_list->spacing();
    const int lacking = rowsShown - m_list->viewport()->height();
    if (lacking > 0)
        resize(this->width(), this->height() + lacking);
    // Once on screen it keeps inside it as it grows; before, showing it fits it.
    if (isVisible())
        WindowFit::fit(this);
}
