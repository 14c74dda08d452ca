#include "support/FakeBrowser.h"

#include "platform/BrowserLauncher.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>

namespace LarkTest {

FakeBrowser::FakeBrowser()
{
    BrowserLauncher::setLauncher([this](const QUrl &url) {
        opened.append(url);
        return launches;
    });
}

FakeBrowser::~FakeBrowser()
{
    BrowserLauncher::setLauncher({});
}

QUrlQuery FakeBrowser::lastQuery() const
{
    return opened.isEmpty() ? QUrlQuery() : QUrlQuery(opened.last());
}

quint16 FakeBrowser::redirectPort() const
{
    const QUrl redirect(
        lastQuery().queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
    return quint16(redirect.port());
}

QByteArray FakeBrowser::send(quint16 port, const QList<QByteArray> &parts)
{
    QTcpSocket socket;
    QByteArray answer;
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                     [&] { answer.append(socket.readAll()); });
    socket.connectToHost(QHostAddress::LocalHost, port);
    // A refused connection falls back to unconnected at once.
    (void)QTest::qWaitFor(
        [&] {
            return socket.state() == QAbstractSocket::ConnectedState
                || socket.state() == QAbstractSocket::UnconnectedState;
        },
        3000);
    if (socket.state() != QAbstractSocket::ConnectedState)
        return "<not connected>";
    for (const QByteArray &part : parts) {
        socket.write(part);
        socket.flush();
        QTest::qWait(20);
    }
    if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 3000))
        return answer + "<still open>";
    return answer + socket.readAll();
}

QByteArray FakeBrowser::get(const QByteArray &target) const
{
    return send(redirectPort(), {"GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"});
}

} // namespace LarkTest
