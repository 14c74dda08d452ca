#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace LarkTest {

// Stands in for the browser: records every URL the program hands to the desktop. Register it
// with QDesktopServices::setUrlHandler(scheme, &sink, "open").
class UrlSink : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace LarkTest
