#include "ui/update/NotesBrowser.h"

#include "services/update/FeedAccess.h"

namespace LarkUpdate {

NotesBrowser::NotesBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("notesBrowser"));
    // Qt's own external-link handling would hand any scheme to the desktop.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &NotesBrowser::onAnchorClicked);
}

QVariant NotesBrowser::loadResource(int, const QUrl &)
{
    return {};
}

void NotesBrowser::onAnchorClicked(const QUrl &link)
{
    if (link.isRelative() && link.path().isEmpty() && link.hasFragment())
        scrollToAnchor(link.fragment(QUrl::FullyDecoded));
    else
        openExternalUrl(link);
}

} // namespace LarkUpdate
