#include "services/net/RequestPolicy.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/caldav/CalDavDiscovery.h"
#include "support/CalDavServers.h"
#include "support/FakeHttpServer.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using CalDavParse::DiscoveredCalendar;
using LarkTest::FakeReply;

class TestCalDavDiscovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void discovers_data();
    void discovers();
    void passwordGoesOnlyToItsServer();

private:
    QUrl urlOf(const QString &server, const QString &path) const;

    QTemporaryDir m_dir;
    LarkTest::ServerProcess m_radicale;
    LarkTest::ServerProcess m_xandikos;
    LarkTest::ServerProcess m_radicaleTls;
    LarkTest::TlsFiles m_tls;
    LarkTest::FakeHttpServer m_fake;
};

void TestCalDavDiscovery::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString plain = m_dir.filePath(QStringLiteral("plain"));
    const QString secure = m_dir.filePath(QStringLiteral("tls"));
    QVERIFY(QDir().mkpath(plain) && QDir().mkpath(secure));
    const QList<LarkTest::RadicaleCalendar> calendars {
        {QStringLiteral("work"),
         QStringLiteral("Work"),
         QStringLiteral("#ff8800"),
         QStringLiteral("Team"),
         {QStringLiteral("VEVENT"), QStringLiteral("VTODO")}},
        {QStringLiteral("home"), QStringLiteral("Home"), {}, {}, {}}};

    QVERIFY2(LarkTest::startRadicale(m_radicale, plain, QStringLiteral("alice"),
                                     QStringLiteral("secret"), calendars),
             qPrintable(m_radicale.output()));
    QVERIFY2(LarkTest::startXandikos(m_xandikos, m_dir.path()), qPrintable(m_xandikos.output()));
    m_tls = LarkTest::makeSelfSignedCertificate(secure);
    QVERIFY(!m_tls.sha256.isEmpty());
    QVERIFY2(LarkTest::startRadicale(m_radicaleTls, secure, QStringLiteral("alice"),
                                     QStringLiteral("secret"), calendars, m_tls),
             qPrintable(m_radicaleTls.output()));

    QVERIFY(m_fake.listen());
    m_fake.route("PROPFIND", QStringLiteral("/silent/*"), FakeReply::empty(207).held());
    m_fake.route("PROPFIND", QStringLiteral("/broken/*"),
                 FakeReply::text(207,
                                 "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\">"
                                 "<d:response><d:href>/broken/</d:href><d:propstat>",
                                 "application/xml; charset=utf-8"));
    // Names no principal or home, so the listing is asked at the given address, and lists a
    // calendar on another server beside its own.
    m_fake.route("PROPFIND", QStringLiteral("/mixed/*"), [](const LarkTest::RecordedRequest &r) {
        const auto calendar = [](const QByteArray &href, const QByteArray &name) -> QByteArray {
            return "<d:response><d:href>" + href
                + "</d:href><d:propstat><d:prop><d:resourcetype><d:collection/><c:calendar/>"
                  "</d:resourcetype><d:displayname>"
                + name
                + "</d:displayname></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                  "</d:propstat></d:response>";
        };
        const QByteArray listed = r.header("Depth") == "1"
            ? calendar("/mixed/a/", "A") + calendar("https://elsewhere.example/b/", "B")
            : QByteArray();
        return FakeReply::text(207,
                               "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
                               "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                                   + listed + "</d:multistatus>",
                               "application/xml; charset=utf-8");
    });
    m_fake.route("PROPFIND", QStringLiteral("/loop/*"), [this](const LarkTest::RecordedRequest &r) {
        return FakeReply::empty(301).withHeader("Location", r.path.toUtf8() + "x/");
    });
}

QUrl TestCalDavDiscovery::urlOf(const QString &server, const QString &path) const
{
    if (server == QLatin1String("radicale"))
        return LarkTest::serverUrl(m_radicale, path);
    if (server == QLatin1String("xandikos"))
        return LarkTest::serverUrl(m_xandikos, path);
    if (server == QLatin1String("radicale-tls"))
        return LarkTest::serverUrl(m_radicaleTls, path, true);
    if (server == QLatin1String("fake"))
        return m_fake.url(path);
    return QUrl(server + path);
}

void TestCalDavDiscovery::discovers_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("pin"); // "right", "wrong" or none
    // "path|name|colour|components" of each calendar found, or the failure reason.
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QString>("failure");

    const QStringList radicale {QStringLiteral("/alice/home/|Home||VTODO,VEVENT,VJOURNAL"),
                                QStringLiteral("/alice/work/|Work|#ff8800|VEVENT,VTODO")};
    const QStringList xandikos {
        QStringLiteral("/user/calendars/calendar/|calendar||VEVENT,VTODO,VJOURNAL,VFREEBUSY")};
    const QString secret = QStringLiteral("secret");

    QTest::newRow("radicale from the root") << "radicale"
                                            << "/" << secret << "" << radicale << "";
    QTest::newRow("radicale from the well-known address")
        << "radicale"
        << "/.well-known/caldav" << secret << "" << radicale << "";
    QTest::newRow("xandikos from the root") << "xandikos"
                                            << "/"
                                            << ""
                                            << "" << xandikos << "";
    QTest::newRow("xandikos from the well-known address") << "xandikos"
                                                          << "/.well-known/caldav"
                                                          << ""
                                                          << "" << xandikos << "";
    QTest::newRow("radicale, wrong password")
        << "radicale"
        << "/"
        << "guess"
        << "" << QStringList() << "The server did not accept the user name or password.";
    QTest::newRow("self-signed certificate, right pin")
        << "radicale-tls"
        << "/" << secret << "right" << radicale << "";
    QTest::newRow("self-signed certificate, wrong pin")
        << "radicale-tls"
        << "/" << secret << "wrong" << QStringList()
        << "The server's certificate does not match the trusted certificate.";
    QTest::newRow("self-signed certificate, no pin")
        << "radicale-tls"
        << "/" << secret << "" << QStringList() << "The server's certificate is not trusted.";
    QTest::newRow("server never answers")
        << "fake"
        << "/silent/" << secret << "" << QStringList() << "The server stopped answering.";
    QTest::newRow("malformed multistatus")
        << "fake"
        << "/broken/" << secret << "" << QStringList() << "The server's reply could not be read.";
    QTest::newRow("not a web address")
        << "ftp://127.0.0.1"
        << "/" << secret << "" << QStringList() << "The server address is not valid.";
    // Refused before anything is sent: the password would travel in the clear.
    QTest::newRow("plain http to another computer")
        << "http://192.0.2.1"
        << "/" << secret << "" << QStringList()
        << "The server address must start with https://; without encryption the password would "
           "travel in the clear.";
    QTest::newRow("a calendar on another server is left out")
        << "fake"
        << "/mixed/" << secret << "" << QStringList {QStringLiteral("/mixed/a/|A||VEVENT")} << "";
    QTest::newRow("endless redirects")
        << "fake"
        << "/loop/" << secret << "" << QStringList() << "The server redirected too many times.";
}

void TestCalDavDiscovery::discovers()
{
    QFETCH(QString, server);
    QFETCH(QString, path);
    QFETCH(QString, password);
    QFETCH(QString, pin);
    QFETCH(QStringList, found);
    QFETCH(QString, failure);

    auto *client = new CalDavClient(this);
    client->setCredentials(QStringLiteral("alice"), password);
    // Short only where the server is meant to stay silent: the real ones may be slow under load.
    Net::Limits shortSilence;
    shortSilence.silenceMs = server == QLatin1String("fake") ? 500 : 10000;
    const Net::LimitsOverride limits(shortSilence);
    if (pin == QLatin1String("right"))
        client->setTrustedFingerprint(m_tls.sha256.toUpper());
    else if (pin == QLatin1String("wrong"))
        client->setTrustedFingerprint(QString(64, QLatin1Char('a')));
    auto *discovery = new CalDavDiscovery(client);
    QSignalSpy completed(discovery, &CalDavDiscovery::completed);
    QSignalSpy failed(discovery, &CalDavDiscovery::failed);
    discovery->start(urlOf(server, path));

    QTRY_COMPARE_WITH_TIMEOUT(completed.size() + failed.size(), 1, 20000);
    QTest::qWait(50);
    QCOMPARE(completed.size() + failed.size(), 1);
    if (!failure.isEmpty()) {
        QCOMPARE(failed.first().first().toString(), failure);
    } else {
        QCOMPARE(failed.size(), 0);
        QStringList seen;
        auto calendars = completed.first().first().value<QList<DiscoveredCalendar>>();
        for (const DiscoveredCalendar &c : calendars) {
            const QUrl url(c.url);
            QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
            seen << QStringList {url.path(), c.displayName, c.color,
                                 c.supportedComponents.join(u',')}
                        .join(u'|');
        }
        seen.sort();
        QCOMPARE(seen, found);
        QVERIFY(!discovery->calendarHomeUrl().isEmpty());
    }
    delete client;
}

// The client's own guard, apart from the discovery's: whatever address a caller hands it, the
// password goes only to the server it was first used with.
void TestCalDavDiscovery::passwordGoesOnlyToItsServer()
{
    LarkTest::FakeHttpServer other;
    QVERIFY(other.listen());
    other.route("PROPFIND", QStringLiteral("/*"), FakeReply::text(207, "<d:multistatus/>"));
    CalDavClient client(nullptr);
    client.setCredentials(QStringLiteral("alice"), QStringLiteral("secret"));
    int answered = 0;
    const auto count = [&answered](const CalDavClient::Response &) {
        ++answered;
    };
    m_fake.clearRequests();
    client.propfind(m_fake.url(QStringLiteral("/mixed/")), 0, {}, count);
    QTRY_COMPARE(answered, 1);
    client.propfind(other.url(QStringLiteral("/b/")), 0, {}, count);
    QTRY_COMPARE(answered, 2);
    QCOMPARE(m_fake.requestCount(), 1);
    QVERIFY(m_fake.requests().first().hasHeader("Authorization"));
    QCOMPARE(other.requestCount(), 1);
    QVERIFY(!other.requests().first().hasHeader("Authorization"));
}

QTEST_GUILESS_MAIN(TestCalDavDiscovery)
#include "tst_CalDavDiscovery.moc"
