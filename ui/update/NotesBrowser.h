#pragma once

// Shows release notes from the feed. Links go to the browser only when they are http or https;
// anchors within the notes scroll; nothing local (files, resources) is loaded for the document.

#include <QTextBrowser>

namespace LarkUpdate {

class NotesBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit NotesBrowser(QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void onAnchorClicked(const QUrl &link);
};

} // namespace LarkUpdate
