#pragma once

// "What's New": the release notes of one version, with a Download button when that version is
// newer than the running one.

#include <QDialog>
#include <QUrl>

namespace LarkUpdate {

class NotesBrowser;

class WhatsNewDialog : public QDialog
{
    Q_OBJECT
public:
    WhatsNewDialog(const QString &markdown, const QString &shownVersion,
                   const QString &currentVersion, const QString &productName,
                   QWidget *parent = nullptr, const QUrl &downloadUrl = QUrl());

private:
    NotesBrowser *m_notesBrowser;
    QUrl m_downloadUrl;
};

} // namespace LarkUpdate
