#include "FeedFixtures.h"
#include "services/net/RequestPolicy.h"
#include "services/update/Client.h"
#include "support/FakeHttpServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace LarkTest;
using namespace LarkUpdate;
using FeedFixtures::artifact;

namespace {

const QString kManifestPath = QStringLiteral("/calendar/stable/latest.json");

FakeReply offering(const QString &version, const QString &minUpgradableFrom = QString())
{
    if (minUpgradableFrom.isEmpty())
        return FeedFixtures::offering(version);
    return FeedFixtures::offering(version,
                                  {{QStringLiteral("min_upgradable_from"), minUpgradableFrom}});
}

UpdateChannelConfig configFor(const QUrl &base,
                              const QString &currentVersion = QStringLiteral("1.3.4"))
{
    return UpdateChannelConfig {QStringLiteral("calendar"), QStringLiteral("stable"), base,
                                currentVersion};
}

// Which signal a client emitted, and with what.
struct Outcome
{
    explicit Outcome(Client *client)
        : available(client, &Client::updateAvailable)
        , upToDate(client, &Client::upToDate)
        , failed(client, &Client::checkFailed)
    { }
    int total() const { return available.count() + upToDate.count() + failed.count(); }
    QString name() const
    {
        if (total() != 1)
            return QStringLiteral("%1 outcomes").arg(total());
        if (available.count())
            return QStringLiteral("available");
        return upToDate.count() ? QStringLiteral("upToDate") : QStringLiteral("failed");
    }
    QString reason() const
    {
        return failed.isEmpty() ? QString() : failed.first().first().toString();
    }

    QSignalSpy available;
    QSignalSpy upToDate;
    QSignalSpy failed;
};

} // namespace

class tst_UpdateClient : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data();
    void outcome();
    void offeredArtifactIsPassedOn();
    void manifestUrlAndHeaders_data();
    void manifestUrlAndHeaders();
    void configurationProblemsFailAtOnce_data();
    void configurationProblemsFailAtOnce();
    void unconfiguredFeedSendsNothing();
    void secondCheckWhileInFlightIsIgnored();
    void hostileFeedFails_data();
    void hostileFeedFails();
};

void tst_UpdateClient::outcome_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("reason"); // "%URL" stands for the manifest URL

    const QString v = QStringLiteral("1.3.4");
    const auto s = [](const char *t) {
        return QString::fromUtf8(t);
    };
    QTest::newRow("newer patch") << offering(s("1.3.5")) << v << s("available") << QString();
    QTest::newRow("newer by number, not text")
        << offering(s("1.3.10")) << v << s("available") << QString();
    QTest::newRow("same") << offering(v) << v << s("upToDate") << QString();
    QTest::newRow("older") << offering(s("1.3.3")) << v << s("upToDate") << QString();
    QTest::newRow("offered version unparsable")
        << offering(s("1.4.0-beta")) << v << s("upToDate") << QString();
    QTest::newRow("running version unparsable")
        << offering(s("0.0.1")) << s("dev-build") << s("available") << QString();
    QTest::newRow("min_upgradable_from equal to running")
        << offering(s("1.4.0"), v) << v << s("available") << QString();
    QTest::newRow("min_upgradable_from above running")
        << offering(s("1.4.0"), s("1.3.5")) << v << s("failed")
        << s("current version 1.3.4 is older than min_upgradable_from 1.3.5; please upgrade to "
             "an intermediate release first");
    QTest::newRow("min_upgradable_from ignored when not newer")
        << offering(v, s("9.0.0")) << v << s("upToDate") << QString();
    QTest::newRow("no entry for this platform")
        << FeedFixtures::manifestReply({{s("zz-foreign"), artifact(s("2.0.0"))}}) << v
        << s("upToDate") << QString();
    QTest::newRow("404") << FakeReply::text(404, "not here") << v << s("upToDate") << QString();
    QTest::newRow("410") << FakeReply::text(410, "gone") << v << s("failed")
                         << s("network error: Error transferring %URL - server replied: Gone");
    QTest::newRow("500") << FakeReply::text(500, "oops") << v << s("failed")
                         << s("network error: Error transferring %URL - server replied: Internal "
                              "Server Error");
    QTest::newRow("redirect followed")
        << FakeReply::empty(302).withHeader("Location", "/moved/latest.json") << v << s("available")
        << QString();
    QTest::newRow("not json") << FakeReply::text(200, "<html>maintenance</html>") << v
                              << s("failed") << s("manifest invalid: JSON parse error: *");
    QTest::newRow("schema 2") << FakeReply::json(200, QJsonObject {{s("schema"), 2}}) << v
                              << s("failed")
                              << s("manifest invalid: unsupported manifest schema: 2 (expected 1)");
    QTest::newRow("broken artifact before ours")
        << FeedFixtures::manifestReply({{s("aa-first"), artifact(s("2.0.0"))},
                                        {s("ab-broken"), QJsonObject {{s("version"), s("2.0.0")}}},
                                        {FeedFixtures::ourKey(), artifact(s("2.0.0"))}})
        << v << s("failed") << s("manifest invalid: missing or non-string field: released_at");
    QTest::newRow("our artifact broken after a good one")
        << FeedFixtures::manifestReply(
               {{s("aa-first"), artifact(s("2.0.0"))},
                {FeedFixtures::ourKey(), QJsonObject {{s("version"), s("2.0.0")}}}})
        << v << s("failed") << s("manifest invalid: missing or non-string field: released_at");
    QTest::newRow("broken artifact after ours") << FeedFixtures::manifestReply(
        {{FeedFixtures::ourKey(), artifact(s("2.0.0"))}, {s("zz-other"), QJsonObject()}})
                                                << v << s("available") << QString();
    QTest::newRow("dropped connection")
        << FakeReply::dropped() << v << s("failed") << s("network error: *");
}

void tst_UpdateClient::outcome()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, running);
    QFETCH(QString, expected);
    QFETCH(QString, reason);

    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", kManifestPath, reply);
    server.route("GET", QStringLiteral("/moved/latest.json"), offering(QStringLiteral("1.4.0")));

    Client client(configFor(server.url(QStringLiteral("/calendar/stable/")), running));
    Outcome outcome(&client);
    client.checkForUpdates();
    QTRY_COMPARE(outcome.total(), 1);
    QCOMPARE(outcome.name(), expected);
    reason.replace(QStringLiteral("%URL"), client.manifestUrl().toString());
    if (reason.endsWith(u'*'))
        QVERIFY2(outcome.reason().startsWith(reason.chopped(1)), qPrintable(outcome.reason()));
    else
        QCOMPARE(outcome.reason(), reason);
    QVERIFY(!client.isInFlight());

    // A client checks again after an outcome.
    server.route("GET", kManifestPath, offering(running));
    client.checkForUpdates();
    QTRY_COMPARE(outcome.upToDate.count() - (expected == QLatin1String("upToDate") ? 1 : 0), 1);
}

void tst_UpdateClient::offeredArtifactIsPassedOn()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    QJsonObject offered = artifact(QStringLiteral("1.4.0"));
    offered.insert(QStringLiteral("mandatory"), true);
    offered.insert(QStringLiteral("release_notes_url"),
                   QStringLiteral("https://feed.example/calendar/1.4.0/release-notes.md"));
    server.route("GET", kManifestPath,
                 FeedFixtures::manifestReply({{FeedFixtures::ourKey(), offered}}));

    Client client(configFor(server.url(QStringLiteral("/calendar/stable/"))));
    Outcome outcome(&client);
    client.checkForUpdates();
    QTRY_COMPARE(outcome.available.count(), 1);
    const auto a = outcome.available.first().first().value<Artifact>();
    QCOMPARE(a.version, QStringLiteral("1.4.0"));
    QCOMPARE(a.url, QUrl(QStringLiteral("https://dl.example/calendar-1.4.0.msi")));
    QCOMPARE(a.mandatory, true);
    QCOMPARE(a.releaseNotesUrl,
             QUrl(QStringLiteral("https://feed.example/calendar/1.4.0/release-notes.md")));
}

void tst_UpdateClient::manifestUrlAndHeaders_data()
{
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<QString>("requestedPath");
    QTest::newRow("trailing slash") << "/calendar/stable/"
                                    << "/calendar/stable/latest.json";
    QTest::newRow("no trailing slash") << "/calendar/stable"
                                       << "/calendar/stable/latest.json";
    QTest::newRow("root") << ""
                          << "/latest.json";
    QTest::newRow("encoded space") << "/my%20feed/"
                                   << "/my feed/latest.json";
}

void tst_UpdateClient::manifestUrlAndHeaders()
{
    QFETCH(QString, basePath);
    QFETCH(QString, requestedPath);

    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", QStringLiteral("/*"), offering(QStringLiteral("1.3.4")));
    Client client(configFor(server.url(basePath)));
    Outcome outcome(&client);
    client.checkForUpdates();
    QTRY_COMPARE(outcome.total(), 1);
    QCOMPARE(server.requestCount(), 1);
    const RecordedRequest request = server.requests().first();
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.path, requestedPath);
    QCOMPARE(request.header("User-Agent"), QByteArray("LarkUpdateQt/0.1 (calendar)"));
    QCOMPARE(outcome.name(), QStringLiteral("upToDate"));
}

void tst_UpdateClient::configurationProblemsFailAtOnce_data()
{
    QTest::addColumn<QUrl>("base");
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("reason");
    QTest::newRow("invalid base") << QUrl(QStringLiteral("http://[::1")) << "1.3.4"
                                  << "manifestBaseUrl is not valid";
    QTest::newRow("no current version") << QUrl(QStringLiteral("http://127.0.0.1:9/")) << ""
                                        << "currentVersion is empty";
}

void tst_UpdateClient::configurationProblemsFailAtOnce()
{
    QFETCH(QUrl, base);
    QFETCH(QString, running);
    QFETCH(QString, reason);
    Client client(configFor(base, running));
    Outcome outcome(&client);
    client.checkForUpdates();
    // Reported before checkForUpdates returns, and nothing is left pending.
    QCOMPARE(outcome.name(), QStringLiteral("failed"));
    QCOMPARE(outcome.reason(), reason);
    QVERIFY(!client.isInFlight());
}

void tst_UpdateClient::unconfiguredFeedSendsNothing()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    Client client(configFor(QUrl()));
    Outcome outcome(&client);
    client.checkForUpdates();
    QCOMPARE(outcome.name(), QStringLiteral("upToDate"));
    QTest::qWait(50);
    QCOMPARE(outcome.total(), 1);
    QCOMPARE(server.requestCount(), 0);
}

void tst_UpdateClient::secondCheckWhileInFlightIsIgnored()
{
    FakeHttpServer server;
    QVERIFY(server.listen());
    server.route("GET", kManifestPath, offering(QStringLiteral("1.3.5")).held());
    Client client(configFor(server.url(QStringLiteral("/calendar/stable/"))));
    Outcome outcome(&client);

    client.checkForUpdates();
    QTRY_COMPARE(server.heldCount(), 1);
    QVERIFY(client.isInFlight());
    client.checkForUpdates();
    QTest::qWait(100);
    QCOMPARE(server.requestCount(), 1);
    QCOMPARE(outcome.total(), 0);

    QCOMPARE(server.releaseHeld(), 1);
    QTRY_COMPARE(outcome.total(), 1);
    QCOMPARE(outcome.name(), QStringLiteral("available"));
    QTest::qWait(50);
    QCOMPARE(outcome.total(), 1);
    QCOMPARE(server.requestCount(), 1);
}

// The feed is held to the same request policy as every other service.
void tst_UpdateClient::hostileFeedFails_data()
{
    QTest::addColumn<int>("hostility");
    QTest::addColumn<QString>("reason");
    QTest::newRow("silent") << 0 << QStringLiteral("The server stopped answering.");
    QTest::newRow("cut short") << 1 << QStringLiteral("The reply was cut short.");
    QTest::newRow("endless") << 2 << QStringLiteral("The server's reply is too large");
    QTest::newRow("redirect to another server")
        << 3
        << QStringLiteral(
               "The server redirected to another address; the request was not sent there.");
}

void tst_UpdateClient::hostileFeedFails()
{
    QFETCH(int, hostility);
    QFETCH(QString, reason);
    FakeHttpServer server;
    FakeHttpServer other;
    QVERIFY(server.listen() && other.listen());
    const FakeReply manifest = offering(QStringLiteral("1.3.5"));
    const FakeReply hostile[] = {
        FakeReply(manifest).held(),
        FakeReply(manifest).cutShort(manifest.body.size() + 100),
        FakeReply::text(200, QByteArray(4096, ' ')).endlessly(),
        FakeReply::empty(302).withHeader("Location", other.url(kManifestPath).toEncoded()),
    };
    server.route("GET", kManifestPath, hostile[hostility]);
    other.route("GET", kManifestPath, manifest);
    Net::Limits limits;
    limits.silenceMs = 300;
    limits.apiBytes = 64 * 1024;
    const Net::LimitsOverride scoped(limits);
    Client client(configFor(server.url(QStringLiteral("/calendar/stable/"))));
    Outcome outcome(&client);
    client.checkForUpdates();
    QTRY_COMPARE_WITH_TIMEOUT(outcome.total(), 1, 5000);
    QCOMPARE(outcome.name(), QStringLiteral("failed"));
    QCOMPARE(outcome.reason(), QStringLiteral("network error: ") + reason);
    QVERIFY(!client.isInFlight());
    QCOMPARE(other.requestCount(), 0);
}

QTEST_GUILESS_MAIN(tst_UpdateClient)
#include "tst_UpdateClient.moc"
