#include "ui/update/WhatsNewDialog.h"

#include "ui/update/DialogParts.h"
#include "ui/update/NotesBrowser.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace LarkUpdate {

WhatsNewDialog::WhatsNewDialog(const QString &markdown, const QString &shownVersion,
                               const QString &currentVersion, const QString &productName,
                               QWidget *parent, const QUrl &downloadUrl)
    : QDialog(parent)
    , m_notesBrowser(new NotesBrowser(this))
    , m_downloadUrl(downloadUrl)
{
    setObjectName(QStringLiteral("whatsNewDialog"));
    setModal(false);
    setWindowTitle(tr("What's New in %1 %2").arg(productName, shownVersion));
    resize(520, 420);
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(
        makeHeadline(tr("What's new in %1 %2").arg(productName, shownVersion), 2, this));

    m_notesBrowser->setMarkdown(markdown);
    layout->addWidget(m_notesBrowser);

    auto *bottom = new QHBoxLayout;
    auto *running = new QLabel(tr("You are running version %1").arg(currentVersion), this);
    running->setObjectName(QStringLiteral("runningVersion"));
    running->setStyleSheet(QStringLiteral("color: gray; font-size: 11px;"));
    bottom->addWidget(running);
    bottom->addStretch();
    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    if (m_downloadUrl.isValid() && !m_downloadUrl.isEmpty()) {
        QPushButton *download
            = buttons->addButton(tr("Download %1").arg(shownVersion), QDialogButtonBox::AcceptRole);
        download->setObjectName(QStringLiteral("downloadButton"));
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            (void)openPageOrSay(m_downloadUrl, this);
            accept();
        });
    }
    buttons->addButton(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
}

} // namespace LarkUpdate
