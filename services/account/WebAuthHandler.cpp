#include "services/account/WebAuthHandler.h"

#include "services/net/RequestLine.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

#include <array>
#include <memory>

namespace LarkAccount {

namespace {

QString randomState()
{
    std::array<quint32, 4> words {};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char *>(words.data()),
                           static_cast<qsizetype>(sizeof(words)));
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

const QByteArray notFoundReply = "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\n"
                                 "Content-Length: 0\r\nConnection: close\r\n\r\n";

} // namespace

WebAuthHandler::WebAuthHandler(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &WebAuthHandler::onNewConnection);
}

WebAuthHandler::~WebAuthHandler()
{
    if (m_server->isListening())
        m_server->close();
}

QByteArray WebAuthHandler::completionPage()
{
    return QByteArrayLiteral(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n"
        "<html><body style='font-family: sans-serif; text-align: center; padding: 40px;'>"
        "<h2>Authentication complete!</h2>"
        "<p>You can close this tab and return to the application.</p></body></html>");
}

QString WebAuthHandler::start()
{
    if (!m_server->isListening()) {
        if (!m_server->listen(QHostAddress::LocalHost, preferredPort)
            && !m_server->listen(QHostAddress::LocalHost, 0))
            return {};
        m_port = m_server->serverPort();
        m_state = randomState();
        m_served = false;
    }
    return redirectUri();
}

void WebAuthHandler::stop()
{
    m_served = true;
    m_server->close();
}

QString WebAuthHandler::redirectUri() const
{
    return QStringLiteral("http://localhost:%1/callback").arg(m_port);
}

void WebAuthHandler::onNewConnection()
{
    QTcpSocket *socket = m_server->nextPendingConnection();
    if (!socket)
        return;
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    Net::readRequestLine(
        socket, this, m_idleTimeoutMs, maxRequestLine,
        [this](QTcpSocket *s, const QByteArray &line) { handleRequestLine(s, line); });
}

bool WebAuthHandler::accepts(const QByteArray &method, const QUrl &url) const
{
    if (m_served || method != "GET" || !url.isValid() || url.path() != QLatin1String("/callback"))
        return false;
    const QString given
        = QUrlQuery(url.query()).queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
    return !m_state.isEmpty() && given == m_state;
}

void WebAuthHandler::handleRequestLine(QTcpSocket *socket, const QByteArray &line)
{
    // "GET /callback?state=...&access_token=... HTTP/1.1"
    const QList<QByteArray> parts = line.split(' ');
    QUrl url;
    QByteArray method;
    if (parts.size() >= 3 && parts.at(1).startsWith('/')) {
        method = parts.at(0);
        url = QUrl(QStringLiteral("http://localhost:%1").arg(m_port)
                   + QString::fromUtf8(parts.at(1)));
    }
    if (!accepts(method, url)) {
        socket->write(notFoundReply);
        socket->flush();
        socket->disconnectFromHost();
        return;
    }
    m_served = true;
    socket->write(completionPage());
    socket->flush();
    socket->disconnectFromHost();
    emit callbackReceived(url);
    if (m_server->isListening())
        m_server->close();
}

} // namespace LarkAccount
