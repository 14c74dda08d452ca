#include "ui/update/DialogParts.h"

#include "services/update/FeedAccess.h"
#include "ui/MessagePresenter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QUrl>

namespace LarkUpdate {

QLabel *makeHeadline(const QString &text, qreal extraPoints, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("headline"));
    QFont font = label->font();
    font.setWeight(QFont::Bold);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + extraPoints);
    label->setFont(font);
    return label;
}

bool openPageOrSay(const QUrl &url, QWidget *parent)
{
    if (openExternalUrl(url))
        return true;
    const QString address = url.toDisplayString(QUrl::RemoveUserInfo);
    const QString text = address.isEmpty()
        ? QCoreApplication::translate("LarkUpdate::DialogParts",
                                      "The page could not be opened: it has no address.")
        : QCoreApplication::translate("LarkUpdate::DialogParts",
                                      "The page could not be opened in a browser. Its address, "
                                      "to open it yourself:\n%1")
              .arg(address);
    MessagePresenter::show(
        MessagePresenter::Kind::Warning, parent,
        QCoreApplication::translate("LarkUpdate::DialogParts", "Page not opened"), text);
    return false;
}

} // namespace LarkUpdate
