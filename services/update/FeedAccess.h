#pragma once

// How the update library reaches the release feed and the browser: one request shape for every
// feed request, and one guarded way of handing a link to the browser.

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

Q_DECLARE_LOGGING_CATEGORY(lcLarkUpdate)

namespace LarkUpdate {

// GET request with the User-Agent "LarkUpdateQt/0.1 (<tag>)", held to the request policy like
// every other: silence timeout, deadline and size cap (once watched), redirects within the host.
QNetworkRequest feedRequest(const QUrl &url, const QString &tag);

// Sends a feed request and puts its reply under the request policy.
QNetworkReply *getFeed(QNetworkAccessManager *network, const QUrl &url, const QString &tag);

// The URL with "/" added to its path when missing, then tail appended (decoded path).
QUrl appendToPath(QUrl url, const QString &tail = QString());

// True for absolute http and https URLs: the only addresses the program opens or fetches on
// the feed's behalf (a file: link from the feed could start a program).
bool isWebUrl(const QUrl &url);

// Opens a web URL in the browser. Anything else is refused and logged; returns whether the
// browser took it.
bool openExternalUrl(const QUrl &url);

} // namespace LarkUpdate
