#include "ui/WaitNotice.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace WaitNotice {

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
    layout->addWidget(label);
    auto *buttons = new QDialogButtonBox(notice);
    buttons->addButton(stopText, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, notice, &QDialog::reject);
    layout->addWidget(buttons);
    return notice;
}

} // namespace WaitNotice
