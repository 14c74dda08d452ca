#include "services/update/FeedAccess.h"

#include "services/net/RequestPolicy.h"

#include <QDesktopServices>

Q_LOGGING_CATEGORY(lcLarkUpdate, "larkupdate.client", QtDebugMsg)

namespace LarkUpdate {

QNetworkRequest feedRequest(const QUrl &url, const QString &tag)
{
    QNetworkRequest request = Net::request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QString(QStringLiteral("LarkUpdateQt/0.1 (") + tag + u')'));
    return request;
}

QNetworkReply *getFeed(QNetworkAccessManager *network, const QUrl &url, const QString &tag)
{
    QNetworkReply *reply = network->get(feedRequest(url, tag));
    Net::watch(reply, Net::ReplyKind::Api);
    return reply;
}

QUrl appendToPath(QUrl url, const QString &tail)
{
    QString path = url.path(QUrl::FullyDecoded);
    if (!path.endsWith(u'/'))
        path += u'/';
    url.setPath(path + tail, QUrl::DecodedMode);
    return url;
}

bool isWebUrl(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty()
        && (scheme == QLatin1String("https") || scheme == QLatin1String("http"));
}

bool openExternalUrl(const QUrl &url)
{
    if (!isWebUrl(url)) {
        qCWarning(lcLarkUpdate).noquote()
            << "[LarkUpgrade] refusing to open a link that is not http or https:"
            << url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery);
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        qCWarning(lcLarkUpdate).noquote() << "LarkUpdate: QDesktopServices::openUrl failed for:"
                                          << url.toDisplayString(QUrl::RemoveUserInfo);
        return false;
    }
    return true;
}

} // namespace LarkUpdate
