#pragma once

// The loopback listener that receives the browser's redirect at the end of a sign-in. It serves
// exactly one request: a GET of /callback carrying the random state it handed out. Anything else
// (another path, a missing or wrong state, a favicon probe) gets a 404 and it keeps waiting, so
// no other local process or web page can sign the program into an account of its choosing. A
// connection that has not sent its request line within a few seconds is closed, so idle
// connections cannot pile up while the browser is away.

#include "services/net/RequestLine.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

namespace LarkAccount {

class WebAuthHandler : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 preferredPort = 19876;
    // Longest request line waited for; a longer one is refused.
    static constexpr int maxRequestLine = 16 * 1024;
    // How long a connection may take to send its request line.
    static constexpr int defaultIdleTimeoutMs = Net::defaultListenerIdleMs;

    explicit WebAuthHandler(QObject *parent = nullptr);
    ~WebAuthHandler() override;

    // Starts listening (127.0.0.1:19876, else a port the system picks) and returns the redirect
    // URI, or an empty string when no port could be opened.
    QString start();
    QString redirectUri() const;
    // Stops listening for good; a request still on its way gets the 404.
    void stop();
    quint16 port() const { return m_port; }
    // The random value (128 bits, base64url) the sign-in page must hand back as "state".
    QString state() const { return m_state; }
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }

    // The page sent to the browser once the redirect has been taken.
    static QByteArray completionPage();

signals:
    void callbackReceived(const QUrl &url);

private:
    void onNewConnection();
    void handleRequestLine(QTcpSocket *socket, const QByteArray &line);
    bool accepts(const QByteArray &method, const QUrl &url) const;

    QTcpServer *m_server;
    quint16 m_port = 0;
    QString m_state;
    bool m_served = false;
    int m_idleTimeoutMs = defaultIdleTimeoutMs;
};

} // namespace LarkAccount
