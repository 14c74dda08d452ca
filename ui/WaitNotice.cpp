#include "ui/WaitNotice.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace WaitNotice {

namespace {
constexpr int kLineChars = 45;
} // namespace

QDialog *make(QWidget *parent, const QString &title, const QString &text, const QString &stopText)
{
    auto *notice = new QDialog(parent);
    notice->setObjectName(QStringLiteral("waitNotice"));
    notice->setWindowTitle(title);
    auto *layout = new QVBoxLayout(notice);
    auto *label = new QLabel(text, notice);
    label->setObjectName(QStringLiteral("waitNoticeText"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    // A width of its own: the window then takes the height the wrapped lines need, also where
    // a small screen would narrow it.
    // Measured in the font the style gives it. A window does not ask its layout for the height
    // a width needs, so the label asks for it itself: a text of two paragraphs is not cut.
    label->ensurePolished();
    const QFontMetrics metrics = label->fontMetrics();
    label->setFixedWidth(
        std::min(metrics.horizontalAdvance(text) + 1, metrics.averageCharWidth() * kLineChars));
    label->setMinimumHeight(label->heightForWidth(label->width()));
    layout->addWidget(label);
    auto *buttons = new QDialogButtonBox(notice);
    // Return typed while the notice comes up must not stop the wait.
    buttons->addButton(stopText, QDialogButtonBox::RejectRole)->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::rejected, notice, &QDialog::reject);
    layout->addWidget(buttons);
    return notice;
}

} // namespace WaitNotice
