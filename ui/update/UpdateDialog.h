#pragma once

// "Update available": the new version, its release notes when the feed has them, and a
// Download button that sends the user to the artifact's URL in the browser.

#include "services/update/ReleaseManifest.h"

#include <QDialog>
#include <QUrl>

namespace LarkUpdate {

class NotesBrowser;

class UpdateDialog : public QDialog
{
    Q_OBJECT
public:
    // Modal as built; the start-up check clears that so the main window stays usable.
    UpdateDialog(const Artifact &artifact, const QString &currentVersion,
                 const QString &productName, QWidget *parent = nullptr);

public slots:
    void onDownloadClicked();
    void onNotesReady(const QString &markdown);

private:
    QUrl m_downloadUrl;
    NotesBrowser *m_notesBrowser = nullptr;
};

} // namespace LarkUpdate
