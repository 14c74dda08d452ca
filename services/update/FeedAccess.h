#pragma once

// How the update library reaches the release feed and the browser: one request shape for every
// feed request, and one guarded way of handing a link to the browser.

#include <QLoggingCategory>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

Q_DECLARE_LOGGING_CATEGORY(lcLarkUpdate)

namespace LarkUpdate {

// A hung feed would otherwise leave a check or a notes fetch pending for ever.
constexpr int kFeedTransferTimeoutMs = 30000;

// GET request with the User-Agent "LarkUpdateQt/0.1 (<tag>)", redirects followed unless they
// go from HTTPS to HTTP, and a transfer timeout.
QNetworkRequest feedRequest(const QUrl &url, const QString &tag,
                            int transferTimeoutMs = kFeedTransferTimeoutMs);

// The URL with "/" added to its path when missing, then tail appended (decoded path).
QUrl appendToPath(QUrl url, const QString &tail = QString());

// True for absolute http and https URLs: the only addresses the program opens or fetches on
// the feed's behalf (a file: link from the feed could start a program).
bool isWebUrl(const QUrl &url);

// Opens a web URL in the browser. Anything else is refused and logged; returns whether the
// browser took it.
bool openExternalUrl(const QUrl &url);

} // namespace LarkUpdate
