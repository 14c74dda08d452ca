#pragma once

// One in-process HTTP/1.1 server for every remote service the tests stand in for. It listens on
// 127.0.0.1 with a system-chosen port, takes any verb, records every request and answers from
// per-route handlers. A reply can be held back, delayed or replaced by a dropped connection.

#include <QByteArray>
#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>

#include <functional>
#include <map>

class QTcpSocket;

namespace LarkTest {

struct RecordedRequest
{
    QByteArray method;
    QByteArray target;  // raw request target as sent ("/a%20b?x=1")
    QString path;       // decoded path
    QUrlQuery query;    // decoded query
    QList<QPair<QByteArray, QByteArray>> headers; // in arrival order, names as sent
    QByteArray body;

    // Case-insensitive header lookup; empty when absent.
    QByteArray header(const QByteArray &name) const;
    bool hasHeader(const QByteArray &name) const;

    // The body read as a form (application/x-www-form-urlencoded), as a real server reads it:
    // "+" is a space, then percent-decoding, then UTF-8. Items in body order.
    QList<QPair<QString, QString>> formItems() const;
    QString formValue(const QString &key) const;
};

struct FakeReply
{
    int status = 200;
    QByteArray reason;  // empty: a standard phrase
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    int delayMs = 0;    // answer after this long
    bool drop = false;  // close the connection without answering
    bool hold = false;  // keep the reply until releaseHeld()
    int trickleMs = 0; // send the body one byte at a time, one every trickleMs
    qint64 announced = -1; // Content-Length sent instead of the body's own
    bool stall = false; // after the body, neither more bytes nor a close
    bool endless = false; // a chunked body of the body's bytes, again and again, as fast as it goes

    static FakeReply json(int status, const QJsonValue &value);
    static FakeReply text(int status, const QByteArray &body,
                          const QByteArray &contentType = "text/plain; charset=utf-8");
    static FakeReply empty(int status);
    static FakeReply dropped();
    FakeReply &withHeader(const QByteArray &name, const QByteArray &value);
    FakeReply &held();
    FakeReply &delayed(int ms);
    FakeReply &trickled(int everyMs);
    // Announces `length` bytes, sends the body and closes the connection.
    FakeReply &cutShort(qint64 length);
    // Announces `length` bytes, sends the body and then stays silent with the connection open.
    FakeReply &stalled(qint64 length);
    FakeReply &endlessly();
};

class FakeHttpServer : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<FakeReply(const RecordedRequest &)>;

    explicit FakeHttpServer(QObject *parent = nullptr);
    ~FakeHttpServer() override;

    // Starts listening on 127.0.0.1 (port 0 picks a free one).
    [[nodiscard]] bool listen(quint16 port = 0);
    quint16 port() const;
    // "http://127.0.0.1:<port>" followed by path (which should start with "/").
    QUrl url(const QString &path = QString()) const;

    // Method "*" matches any verb. A path ending in "*" matches by prefix; otherwise exactly.
    // Later routes win over earlier ones for the same request.
    void route(const QByteArray &method, const QString &path, Handler handler);
    // Shortcut: always the same reply.
    void route(const QByteArray &method, const QString &path, const FakeReply &reply);
    // Used when no route matches; the default answers 404.
    void setFallback(Handler handler);
    // Every reply without a delay of its own waits this long, as over a slow link.
    int answerDelayMs = 0;

    QList<RecordedRequest> requests() const { return m_requests; }
    int requestCount() const { return m_requests.size(); }
    // Requests whose method and decoded path match exactly.
    QList<RecordedRequest> requestsTo(const QByteArray &method, const QString &path) const;
    void clearRequests() { m_requests.clear(); }

    // Sends every reply that is being held back; returns how many were sent.
    int releaseHeld();
    int heldCount() const;

    // Malformed requests and other protocol errors seen (the test decides whether to care).
    QStringList protocolErrors() const { return m_errors; }

signals:
    void requestReceived(const LarkTest::RecordedRequest &request);

private:
    struct Route
    {
        QByteArray method;
        QString path;
        Handler handler;
    };
    struct Held
    {
        QPointer<QTcpSocket> socket;
        FakeReply reply;
        bool keepAlive = true;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    bool takeRequest(QByteArray &buffer, RecordedRequest &out, bool &keepAlive, bool &bad);
    FakeReply answer(const RecordedRequest &request) const;
    void send(QTcpSocket *socket, const FakeReply &reply, bool keepAlive);
    void sendEndlessly(QTcpSocket *socket, const QByteArray &chunk);

    QTcpServer m_server;
    QList<Route> m_routes;
    Handler m_fallback;
    QList<RecordedRequest> m_requests;
    std::map<QTcpSocket *, QByteArray> m_buffers;
    QList<Held> m_held;
    QStringList m_errors;
};

} // namespace LarkTest

Q_DECLARE_METATYPE(LarkTest::RecordedRequest)
