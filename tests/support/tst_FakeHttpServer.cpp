#include "support/FakeHttpServer.h"

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

using namespace LarkTest;

class tst_FakeHttpServer : public QObject
{
    Q_OBJECT
private slots:
    void recordsRawTargetQueryHeadersAndBody();
    void customVerbAndPrefixRoutes();
    void manyClientsAtOnce();
    void heldReplyWaitsForRelease();
    void droppedConnectionIsANetworkError();
    void malformedRequestIsReportedNotFatal();
    void formBodyReadsPlusAsSpace();

private:
    static QNetworkReply *finished(QNetworkReply *reply)
    {
        if (!reply->isFinished()) {
            QSignalSpy spy(reply, &QNetworkReply::finished);
            spy.wait(5000);
        }
        return reply;
    }
};

void tst_FakeHttpServer::recordsRawTargetQueryHeadersAndBody()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("POST", QStringLiteral("/api/a b"), FakeReply::json(201, QJsonObject{{QStringLiteral("ok"), true}}));

    QNetworkAccessManager nam;
    QUrl url = server.url(QStringLiteral("/api/a%20b"));
    url.setQuery(QStringLiteral("q=caf%C3%A9&x=1%2B2"));
    QNetworkRequest req(url);
    req.setRawHeader("X-Test", "yes");
    req.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
    QNetworkReply *reply = finished(nam.post(req, QByteArray("{\"a\":1}")));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 201);
    QCOMPARE(reply->readAll(), QByteArray("{\"ok\":true}"));
    reply->deleteLater();

    QCOMPARE(server.requestCount(), 1);
    const RecordedRequest r = server.requests().first();
    QCOMPARE(r.method, QByteArray("POST"));
    QCOMPARE(r.target, QByteArray("/api/a%20b?q=caf%C3%A9&x=1%2B2"));
    QCOMPARE(r.path, QStringLiteral("/api/a b"));
    QCOMPARE(r.query.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded), QStringLiteral("café"));
    QCOMPARE(r.query.queryItemValue(QStringLiteral("x"), QUrl::FullyDecoded), QStringLiteral("1+2"));
    QCOMPARE(r.header("x-test"), QByteArray("yes"));
    QCOMPARE(r.body, QByteArray("{\"a\":1}"));
}

void tst_FakeHttpServer::customVerbAndPrefixRoutes()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("*", QStringLiteral("/dav/*"), FakeReply::text(500, "generic"));
    server.route("PROPFIND", QStringLiteral("/dav/*"), [](const RecordedRequest &r) {
        return FakeReply::text(207, "depth=" + r.header("Depth"), "application/xml");
    });

    QNetworkAccessManager nam;
    QNetworkRequest req(server.url(QStringLiteral("/dav/cal/")));
    req.setRawHeader("Depth", "1");
    QNetworkReply *reply = finished(nam.sendCustomRequest(req, "PROPFIND", QByteArray("<x/>")));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 207);
    QCOMPARE(reply->readAll(), QByteArray("depth=1"));
    reply->deleteLater();

    reply = finished(nam.get(QNetworkRequest(server.url(QStringLiteral("/dav/x")))));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 500);
    reply->deleteLater();

    reply = finished(nam.get(QNetworkRequest(server.url(QStringLiteral("/elsewhere")))));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);
    reply->deleteLater();
    QCOMPARE(server.requestsTo("PROPFIND", QStringLiteral("/dav/cal/")).size(), 1);
}

void tst_FakeHttpServer::manyClientsAtOnce()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", QStringLiteral("/n"), [](const RecordedRequest &r) {
        return FakeReply::text(200, r.query.queryItemValue(QStringLiteral("i")).toUtf8()).delayed(20);
    });
    QList<QNetworkAccessManager *> managers;
    QList<QNetworkReply *> replies;
    for (int i = 0; i < 12; ++i) {
        auto *nam = new QNetworkAccessManager(this);
        managers.append(nam);
        QUrl url = server.url(QStringLiteral("/n"));
        url.setQuery(QStringLiteral("i=%1").arg(i));
        replies.append(nam->get(QNetworkRequest(url)));
    }
    for (int i = 0; i < replies.size(); ++i) {
        finished(replies[i]);
        QCOMPARE(replies[i]->error(), QNetworkReply::NoError);
        QCOMPARE(replies[i]->readAll(), QByteArray::number(i));
    }
    QCOMPARE(server.requestCount(), 12);
    qDeleteAll(replies);
    qDeleteAll(managers);
}

void tst_FakeHttpServer::heldReplyWaitsForRelease()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", QStringLiteral("/slow"), FakeReply::text(200, "late").held());
    QNetworkAccessManager nam;
    QNetworkReply *reply = nam.get(QNetworkRequest(server.url(QStringLiteral("/slow"))));
    QTRY_COMPARE(server.heldCount(), 1);
    QTest::qWait(100);
    QVERIFY(!reply->isFinished());
    QCOMPARE(server.releaseHeld(), 1);
    finished(reply);
    QCOMPARE(reply->readAll(), QByteArray("late"));
    reply->deleteLater();
}

void tst_FakeHttpServer::droppedConnectionIsANetworkError()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", QStringLiteral("/drop"), FakeReply::dropped());
    QNetworkAccessManager nam;
    QNetworkReply *reply = finished(nam.get(QNetworkRequest(server.url(QStringLiteral("/drop")))));
    QVERIFY(reply->isFinished());
    QVERIFY(reply->error() != QNetworkReply::NoError);
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 0);
    reply->deleteLater();
    QVERIFY(server.requestCount() >= 1);
}

void tst_FakeHttpServer::malformedRequestIsReportedNotFatal()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(socket.waitForConnected(2000));
    socket.write("NONSENSE\r\n\r\n");
    QTRY_COMPARE(server.protocolErrors().size(), 1);
    QCOMPARE(server.requestCount(), 0);

    // The server keeps serving after a bad client.
    QNetworkAccessManager nam;
    QNetworkReply *reply = finished(nam.get(QNetworkRequest(server.url(QStringLiteral("/x")))));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);
    reply->deleteLater();
}

void tst_FakeHttpServer::formBodyReadsPlusAsSpace()
{
    RecordedRequest r;
    r.body = "a=1+2&b=x%2By%2F%3D&c&caf%C3%A9=%C3%A9";
    const QList<QPair<QString, QString>> expected{{QStringLiteral("a"), QStringLiteral("1 2")},
                                                  {QStringLiteral("b"), QStringLiteral("x+y/=")},
                                                  {QStringLiteral("c"), QString()},
                                                  {QStringLiteral("café"), QStringLiteral("é")}};
    QCOMPARE(r.formItems(), expected);
    QCOMPARE(r.formValue(QStringLiteral("b")), QStringLiteral("x+y/="));
}

QTEST_GUILESS_MAIN(tst_FakeHttpServer)
#include "tst_FakeHttpServer.moc"
