#include "AccountTestKit.h"
#include "model/Clock.h"

#include "services/account/AccountClient.h"
#include "services/account/Client.h"
#include "services/account/SharingBackend.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

using namespace LarkAccount;
using LarkTest::FakeReply;
using LarkTest::RecordedRequest;

namespace {

const QString account = QStringLiteral("/account/v1");

// The facade wired to the fake server, with a pinned clock.
struct Facade
{
    LarkTest::ScopedMemoryTokenStore secrets;
    LarkTest::FakeHttpServer server;
    LarkTest::TestClock clock {QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC)};
    Clock::Override pinned {[this] {
        return clock.now();
    }};
    std::unique_ptr<Client> client;

    explicit Facade(const QString &platform = QString())
    {
        (void)server.listen();
        client = std::make_unique<Client>(config(platform));
    }
    ClientConfig config(const QString &platform) const
    {
        ClientConfig c;
        c.authUrl = server.url().toString();
        c.realm = QStringLiteral("lark");
        c.accountApiUrl = server.url(account).toString();
        c.clientId = QStringLiteral("client-1");
        c.appId = AccountTest::serviceName;
        c.appName = QStringLiteral("Larkspindle Calendar");
        c.appVersion = QStringLiteral("1.3.4");
        c.platform = platform;
        return c;
    }
    AccountClient *ops() const { return client->accountClient(); }
    qint64 now() const { return clock.now().toSecsSinceEpoch(); }
    void signIn(const QString &refresh = QStringLiteral("R1"), const QJsonObject &claims = {})
    {
        client->tokenManager()->setTokens(AccountTest::jwtExpiring(now() + 3600, claims), refresh);
    }
    QList<RecordedRequest> to(const QByteArray &method, const QString &path) const
    {
        return server.requestsTo(method, account + path);
    }
};

QJsonObject lrk(const char *groupId, const char *role)
{
    return {{QStringLiteral("custom"),
             QJsonObject {{QStringLiteral("lrk"),
                           QJsonObject {{QStringLiteral("group_id"), QString::fromUtf8(groupId)},
                                        {QStringLiteral("role"), QString::fromUtf8(role)}}}}}};
}

} // namespace

class TestAccountClient : public QObject
{
    Q_OBJECT

private slots:
    void facadeHeadersAndAddresses_data();
    void facadeHeadersAndAddresses();
    void configurationFromEnvironment_data();
    void configurationFromEnvironment();
    void startupStateIsRelayed();
    void claimsFollowTheUsableToken();
    void nothingSentWithoutAddresses();
    void profileAndGroup_data();
    void profileAndGroup();
    void devices_data();
    void devices();
    void invitations();
    void joinGroup_data();
    void joinGroup();
    void changesReportTheirOutcome_data();
    void changesReportTheirOutcome();
    void sharingBackendDefaults();
};

void TestAccountClient::facadeHeadersAndAddresses_data()
{
    QTest::addColumn<QString>("override");
    QTest::addColumn<QByteArray>("platform");
    QTest::newRow("override kept as is")
        << QStringLiteral("Windows-ARM") << QByteArray("Windows-ARM");
    QTest::newRow("detected") << QString() << Client::platformName().toUtf8();
}

void TestAccountClient::facadeHeadersAndAddresses()
{
    QFETCH(QString, override);
    QFETCH(QByteArray, platform);
    Facade f(override);
    f.signIn();
    f.server.route("*", QStringLiteral("*"), FakeReply::json(200, QJsonObject()));
    f.ops()->getProfile({});
    f.client->authClient()->fetchCurrentUser({});
    QTRY_COMPARE(f.server.requestCount(), 2);
    QStringList paths;
    for (const RecordedRequest &r : f.server.requests()) {
        paths << r.path;
        QCOMPARE(r.header("X-App-Id"), QByteArray("calendar-test"));
        QCOMPARE(r.header("X-App-Version"), QByteArray("1.3.4"));
        QCOMPARE(r.header("X-Platform"), platform);
        QVERIFY(r.header("Authorization").startsWith("Bearer "));
    }
    paths.sort();
    QCOMPARE(paths, LarkTest::strings({"/account/v1/profile", "/api/v1/realms/lark/users/me"}));
    QVERIFY(!platform.isEmpty());
}

void TestAccountClient::configurationFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("realm");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset") << QByteArray() << QStringLiteral("larkspindle");
    QTest::newRow("empty") << QByteArray("") << QStringLiteral("larkspindle");
    QTest::newRow("word") << QByteArray("staging") << QStringLiteral("staging");
}

void TestAccountClient::configurationFromEnvironment()
{
    QFETCH(QByteArray, realm);
    QFETCH(QString, expected);
    if (realm.isNull())
        qunsetenv("AUTH_REALM_SLUG");
    else
        qputenv("AUTH_REALM_SLUG", realm);
    qputenv("AUTH_API_URL", "http://127.0.0.1:9");
    qputenv("AUTH_CLIENT_ID", "");
    const ClientConfig c
        = clientConfigFromEnvironment(QStringLiteral("id"), QStringLiteral("1.3.4"));
    qunsetenv("AUTH_REALM_SLUG");
    qunsetenv("AUTH_API_URL");
    qunsetenv("AUTH_CLIENT_ID");
    QCOMPARE(c.realm, expected);
    QCOMPARE(c.clientId, QStringLiteral("7f3e9a1c5b2d4e6f8a0b1c2d3e4f5a6b"));
    QCOMPARE(c.appName, QStringLiteral("Larkspindle Calendar"));
    QCOMPARE(c.appId, QStringLiteral("id"));
    QVERIFY(c.platform.isEmpty());

    LarkTest::ScopedMemoryTokenStore secrets;
    Client client(c);
    QCOMPARE(client.authApiClient()->baseUrl().toString(),
             QStringLiteral("http://127.0.0.1:9/api/v1/realms/") + expected);
}

void TestAccountClient::startupStateIsRelayed()
{
    Facade f;
    QSignalSpy states(f.client.get(), &Client::authStateChanged);
    QVERIFY(!f.client->isAuthenticated());
    f.client->initialize();
    QCOMPARE(states.size(), 1); // at once: nothing stored
    QCOMPARE(states.first().first().value<AuthState>(), AuthState::Unauthenticated);
    QVERIFY(!f.client->isAuthenticated());
}

void TestAccountClient::claimsFollowTheUsableToken()
{
    Facade f;
    f.signIn(QStringLiteral("R1"), lrk("g7", "owner"));
    QSignalSpy claims(f.client.get(), &Client::claimsUpdated);
    f.client->initialize();
    QVERIFY(f.client->isAuthenticated());
    QCOMPARE(claims.size(), 1);
    QCOMPARE(claims.first().first().value<LrkClaims>().groupId, QStringLiteral("g7"));
    QCOMPARE(f.client->claims().role, QStringLiteral("owner"));

    f.clock.advanceSecs(3600 - 25); // within 30 s of expiry
    QVERIFY(f.client->claims().groupId.isEmpty());
    QVERIFY(f.client->claims().role.isEmpty());
}

void TestAccountClient::nothingSentWithoutAddresses()
{
    LarkTest::ScopedMemoryTokenStore secrets;
    ClientConfig config;
    config.appId = AccountTest::serviceName;
    {
        TokenManager earlier(createTokenStore(AccountTest::serviceName));
        earlier.setTokens(QString(), QStringLiteral("R1"));
    }
    Client client(config);
    QSignalSpy states(&client, &Client::authStateChanged);
    client.initialize();
    // The renewal cannot be sent: a transient failure, as when offline.
    QTRY_COMPARE(states.size(), 1);
    QVERIFY(client.isAuthenticated());
    QCOMPARE(client.tokenManager()->refreshToken(), QStringLiteral("R1"));
    QList<Profile> profiles;
    client.accountClient()->getProfile([&](const Profile &p) { profiles.append(p); });
    QTRY_COMPARE(profiles.size(), 1);
    QVERIFY(profiles.first().id.isEmpty());
    QVERIFY(client.syncApiClient()->baseUrl().isEmpty());
}

void TestAccountClient::profileAndGroup_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("members");
    const QJsonObject body {
        {QStringLiteral("id"), QStringLiteral("x1")},
        {QStringLiteral("members"),
         QJsonArray {QJsonObject {{QStringLiteral("account_id"), QStringLiteral("a")}}, 7}}};
    QTest::newRow("ok") << FakeReply::json(200, body) << QStringLiteral("x1") << 2;
    QTest::newRow("server error with body") << FakeReply::json(500, body) << QString() << 0;
    QTest::newRow("not an object") << FakeReply::json(200, QJsonArray {1}) << QString() << 0;
    QTest::newRow("dropped") << FakeReply::dropped() << QString() << 0;
}

void TestAccountClient::profileAndGroup()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, id);
    QFETCH(int, members);
    Facade f;
    f.signIn();
    f.server.route("GET", account + QStringLiteral("/profile"), reply);
    f.server.route("GET", account + QStringLiteral("/group"), reply);
    QList<Profile> profiles;
    QList<Group> groups;
    f.ops()->getProfile([&](const Profile &p) { profiles.append(p); });
    f.ops()->getGroup([&](const Group &g) { groups.append(g); });
    QTRY_VERIFY(profiles.size() == 1 && groups.size() == 1);
    QCOMPARE(profiles.first().id, id);
    QCOMPARE(groups.first().id, id);
    QCOMPARE(groups.first().members.size(), members);
}

void TestAccountClient::devices_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("two") << FakeReply::json(
        200,
        QJsonObject {
            {QStringLiteral("devices"),
             QJsonArray {QJsonObject {{QStringLiteral("device_name"), QStringLiteral("Desk")}},
                         QJsonObject {{QStringLiteral("device_name"), QStringLiteral("Laptop")}}}}})
                         << LarkTest::strings({"Desk", "Laptop"});
    QTest::newRow("none") << FakeReply::json(
        200, QJsonObject {{QStringLiteral("devices"), QJsonArray()}})
                          << QStringList();
    QTest::newRow("not an array") << FakeReply::json(200,
                                                     QJsonObject {{QStringLiteral("devices"), 3}})
                                  << QStringList();
    QTest::newRow("server error") << FakeReply::json(
        500, QJsonObject {{QStringLiteral("devices"), QJsonArray {QJsonObject()}}})
                                  << QStringList();
}

void TestAccountClient::devices()
{
    QFETCH(FakeReply, reply);
    QFETCH(QStringList, names);
    Facade f;
    f.signIn();
    f.server.route("GET", account + QStringLiteral("/devices"), reply);
    bool done = false;
    QStringList got;
    f.ops()->getDevices([&](const QList<Device> &list) {
        for (const Device &d : list)
            got << d.deviceName;
        done = true;
    });
    QTRY_VERIFY(done);
    QCOMPARE(got, names);
}

void TestAccountClient::invitations()
{
    Facade f;
    f.signIn();
    f.server.route(
        "POST", account + QStringLiteral("/group/invite"),
        FakeReply::json(201,
                        QJsonObject {{QStringLiteral("id"), QStringLiteral("i1")},
                                     {QStringLiteral("invite_code"), QStringLiteral("CODE")}}));
    QList<GroupInvitation> got;
    f.ops()->generateInviteCode([&](const GroupInvitation &i) { got.append(i); });
    QTRY_COMPARE(got.size(), 1);
    f.ops()->inviteByEmail(QStringLiteral("b@example.org"),
                           [&](const GroupInvitation &i) { got.append(i); });
    QTRY_COMPARE(got.size(), 2);
    QCOMPARE(got.at(0).inviteCode, QStringLiteral("CODE"));
    const QList<RecordedRequest> sent = f.to("POST", QStringLiteral("/group/invite"));
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(0).body, QByteArray());
    QCOMPARE(sent.at(1).body, QByteArray(R"({"email":"b@example.org"})"));

    f.server.route(
        "POST", account + QStringLiteral("/group/invite"),
        FakeReply::json(403, QJsonObject {{QStringLiteral("id"), QStringLiteral("i2")}}));
    f.ops()->generateInviteCode([&](const GroupInvitation &i) { got.append(i); });
    QTRY_COMPARE(got.size(), 3);
    QVERIFY(got.at(2).id.isEmpty());
}

void TestAccountClient::joinGroup_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("refresh");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("signedInAfter");
    QTest::newRow("joined, renewal running") << 200 << QStringLiteral("R1") << true << true;
    QTest::newRow("joined, nothing to renew with") << 200 << QString() << true << false;
    QTest::newRow("refused") << 404 << QStringLiteral("R1") << false << true;
}

void TestAccountClient::joinGroup()
{
    QFETCH(int, status);
    QFETCH(QString, refresh);
    QFETCH(bool, ok);
    QFETCH(bool, signedInAfter);
    Facade f;
    f.signIn(refresh);
    f.client->initialize();
    QVERIFY(f.client->isAuthenticated());
    f.server.route("POST", account + QStringLiteral("/group/join/*"), FakeReply::empty(status));
    f.server.route("POST", QStringLiteral("/api/v1/realms/lark/auth/token/refresh"),
                   FakeReply::json(
                       200,
                       QJsonObject {{QStringLiteral("access_token"),
                                     AccountTest::jwtExpiring(f.now() + 7200, lrk("g2", "member"))},
                                    {QStringLiteral("refresh_token"), QStringLiteral("R2")}})
                       .held());
    QStringList events;
    connect(f.ops(), &AccountClient::groupChanged, f.ops(),
            [&] { events << QStringLiteral("groupChanged"); });
    f.ops()->joinGroup(QStringLiteral("a/b?c"), [&](bool result) {
        events << QStringLiteral("done:%1").arg(result);
        events << QStringLiteral("signedIn:%1").arg(f.client->isAuthenticated());
    });
    QTRY_VERIFY(events.size() >= 2);
    QCOMPARE(f.server.requests().first().target, QByteArray("/account/v1/group/join/a%2Fb%3Fc"));
    QStringList expected;
    if (ok)
        expected << QStringLiteral("groupChanged");
    expected << QStringLiteral("done:%1").arg(ok)
             << QStringLiteral("signedIn:%1").arg(signedInAfter);
    QCOMPARE(events, expected);
    if (ok && signedInAfter) {
        // The renewal that brings the new group's claims is under way.
        QTRY_COMPARE(f.server.heldCount(), 1);
        f.server.releaseHeld();
        QTRY_COMPARE(f.client->claims().groupId, QStringLiteral("g2"));
    }
}

void TestAccountClient::changesReportTheirOutcome_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<bool>("emitsGroupChanged");
    QTest::newRow("removeDevice") << QStringLiteral("removeDevice") << QByteArray("DELETE")
                                  << QByteArray("/account/v1/devices/d%2F1") << false;
    QTest::newRow("revokeInvitation") << QStringLiteral("revokeInvitation") << QByteArray("DELETE")
                                      << QByteArray("/account/v1/group/invitations/i%3F1") << false;
    QTest::newRow("removeMember") << QStringLiteral("removeMember") << QByteArray("DELETE")
                                  << QByteArray("/account/v1/group/members/a%20b") << true;
    QTest::newRow("leaveGroup") << QStringLiteral("leaveGroup") << QByteArray("POST")
                                << QByteArray("/account/v1/group/leave") << true;
    QTest::newRow("deleteAccount") << QStringLiteral("deleteAccount") << QByteArray("DELETE")
                                   << QByteArray("/account/v1/profile") << false;
}

void TestAccountClient::changesReportTheirOutcome()
{
    QFETCH(QString, operation);
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(bool, emitsGroupChanged);
    for (const int status : {204, 500}) {
        Facade f;
        f.signIn(QString());
        f.server.route("*", QStringLiteral("*"), FakeReply::empty(status));
        QSignalSpy changed(f.ops(), &AccountClient::groupChanged);
        QList<bool> results;
        const auto done = [&](bool ok) {
            results.append(ok);
        };
        if (operation == QLatin1String("removeDevice"))
            f.ops()->removeDevice(QStringLiteral("d/1"), done);
        else if (operation == QLatin1String("revokeInvitation"))
            f.ops()->revokeInvitation(QStringLiteral("i?1"), done);
        else if (operation == QLatin1String("removeMember"))
            f.ops()->removeMember(QStringLiteral("a b"), done);
        else if (operation == QLatin1String("leaveGroup"))
            f.ops()->leaveGroup(done);
        else
            f.ops()->deleteAccount(done);
        QTRY_COMPARE(results.size(), 1);
        QCOMPARE(results.first(), status == 204);
        QCOMPARE(changed.size(), emitsGroupChanged && status == 204 ? 1 : 0);
        const RecordedRequest r = f.server.requests().first();
        QCOMPARE(r.method, method);
        QCOMPARE(r.target, target);
        QCOMPARE(r.body, QByteArray());
    }
}

namespace {

class OnlyPureOperations : public SharingBackend
{
public:
    void listMembers(const QString &, std::function<void(const QList<ShareMember> &)> done) override
    {
        done({});
    }
    void shareWith(const QString &, const QString &, const QString &,
                   std::function<void(bool, const QString &)> done) override
    {
        done(true, QString());
    }
    void removeShare(const QString &, const QString &, std::function<void(bool)> done) override
    {
        done(true);
    }
};

} // namespace

void TestAccountClient::sharingBackendDefaults()
{
    OnlyPureOperations backend;
    QCOMPARE(backend.shareUserIdForMember(QStringLiteral("acc-1")), QStringLiteral("acc-1"));
    QCOMPARE(backend.shareUserIdForMember(QString()), QString());
}

QTEST_GUILESS_MAIN(TestAccountClient)
#include "tst_AccountClient.moc"
