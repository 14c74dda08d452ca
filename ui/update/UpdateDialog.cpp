#include "ui/update/UpdateDialog.h"

#include "services/update/ReleaseNotesFetcher.h"
#include "ui/update/DialogParts.h"
#include "ui/update/NotesBrowser.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace LarkUpdate {

UpdateDialog::UpdateDialog(const Artifact &artifact, const QString &currentVersion,
                           const QString &productName, QWidget *parent)
    : QDialog(parent)
    , m_downloadUrl(artifact.url)
{
    setObjectName(QStringLiteral("updateDialog"));
    setModal(true);
    setWindowTitle(tr("Update available"));
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(
        makeHeadline(tr("A new version of %1 is available.").arg(productName), 1, this));

    auto *versions = new QLabel(
        tr("You have version %1. The latest version is %2.").arg(currentVersion, artifact.version),
        this);
    versions->setObjectName(QStringLiteral("versions"));
    layout->addWidget(versions);

    if (artifact.releaseNotesUrl.isValid() && !artifact.releaseNotesUrl.isEmpty()) {
        m_notesBrowser = new NotesBrowser(this);
        m_notesBrowser->setPlaceholderText(tr("Loading release notes…"));
        m_notesBrowser->setMinimumHeight(150);
        layout->addWidget(m_notesBrowser);

        auto *fetcher = new ReleaseNotesFetcher(artifact.releaseNotesUrl,
                                                QStringLiteral("update-dialog"), this);
        connect(fetcher, &ReleaseNotesFetcher::notesReady, this, &UpdateDialog::onNotesReady);
        connect(fetcher, &ReleaseNotesFetcher::notesUnavailable, this, [this] {
            m_notesBrowser->setMarkdown(tr("*Release notes are not available for this version.*"));
        });
        fetcher->start();
    }

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    QPushButton *download = buttons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
    download->setObjectName(QStringLiteral("downloadButton"));
    download->setDefault(true);
    if (!artifact.mandatory) {
        QPushButton *later = buttons->addButton(tr("Later"), QDialogButtonBox::RejectRole);
        later->setObjectName(QStringLiteral("laterButton"));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &UpdateDialog::onDownloadClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    if (m_notesBrowser)
        resize(520, 420);
}

void UpdateDialog::onDownloadClicked()
{
    (void)openPageOrSay(m_downloadUrl, this);
    accept();
}

void UpdateDialog::onNotesReady(const QString &markdown)
{
    if (m_notesBrowser)
        m_notesBrowser->setMarkdown(markdown);
}

} // namespace LarkUpdate
