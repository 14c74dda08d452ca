#pragma once

#include <QString>

class QLabel;
class QUrl;
class QWidget;

namespace LarkUpdate {

// A bold headline label, extraPoints larger than the normal text.
QLabel *makeHeadline(const QString &text, qreal extraPoints, QWidget *parent);

// Opens a web page in the browser. Where none takes it, says so over parent with the page's
// address to copy, so that nobody waits for a download that never started. Whether it opened.
bool openPageOrSay(const QUrl &url, QWidget *parent);

} // namespace LarkUpdate
