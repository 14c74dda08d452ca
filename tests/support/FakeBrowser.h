#pragma once

// Stands in for the system browser while it lives: keeps every address the program opens (or
// refuses to open them), and plays the browser's side of a loopback sign-in redirect.

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <QUrlQuery>

namespace LarkTest {

class FakeBrowser
{
public:
    FakeBrowser();
    ~FakeBrowser();
    FakeBrowser(const FakeBrowser &) = delete;
    FakeBrowser &operator=(const FakeBrowser &) = delete;

    bool launches = true; // false: every launch fails
    QList<QUrl> opened;

    // The query of the last page opened, and the port of its "redirect_uri".
    QUrlQuery lastQuery() const;
    quint16 redirectPort() const;

    // Sends the parts to 127.0.0.1:port, pausing between them, and returns everything answered
    // until the other side closed ("<still open>" is appended when it did not).
    static QByteArray send(quint16 port, const QList<QByteArray> &parts);
    // A browser's GET of target at the redirect port.
    QByteArray get(const QByteArray &target) const;
};

} // namespace LarkTest
