#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "services/account/ApiClient.h"
#include "services/account/TokenManager.h"
#include "services/sync/cloud/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Larkspindle::SyncClient;
using LarkTest::FakeReply;

namespace {

const QString listPath = QStringLiteral("/calendar/v1/calendars");

QJsonObject entry(std::initializer_list<QPair<const char *, QJsonValue>> members)
{
    QJsonObject o;
    for (const auto &m : members)
        o.insert(QString::fromUtf8(m.first), m.second);
    return o;
}

} // namespace

class TestSyncClient : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void serverIdFromUrl_data();
    void serverIdFromUrl();
    void pullInsertsUnknownCalendars();
    void failedPullChangesNothing_data();
    void failedPullChangesNothing();
    void pullWithoutCloudAccountAddsItFirst();

private:
    Calendar existing(const char *id, const QString &url, const QString &key = QString()) const;
    int pull();

    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeHttpServer> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<LarkAccount::TokenManager> m_tokens;
    std::unique_ptr<LarkAccount::ApiClient> m_api;
};

void TestSyncClient::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_server = std::make_unique<LarkTest::FakeHttpServer>();
    QVERIFY(m_server->listen());
    // Signed out at start (no token in the state's own store): the state seeds its Personal
    // calendar and sends nothing. The client under test gets its own signed-in REST client.
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<AppState>();
    QVERIFY(m_state->initialize(m_dir->filePath(QStringLiteral("calendar.db"))));

    m_tokens = std::make_unique<LarkAccount::TokenManager>(
        LarkAccount::createTokenStore(QStringLiteral("sync-client-test")));
    m_tokens->setTokens(QStringLiteral("eyJhbGciOiJub25lIn0.eyJleHAiOjIwMDAwMDAwMDB9.c2ln"),
                        QStringLiteral("refresh"));
    m_api = std::make_unique<LarkAccount::ApiClient>(m_tokens.get());
    m_api->setBaseUrl(m_server->url(QStringLiteral("/calendar/v1")));

    Account cloud;
    cloud.id = QStringLiteral("cloud");
    cloud.name = QStringLiteral("Cloud");
    cloud.type = QStringLiteral("larkspindle");
    cloud.created_at = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    cloud.updated_at = cloud.created_at;
    QVERIFY(m_state->accounts()->insert(cloud));
}

void TestSyncClient::cleanup()
{
    m_api.reset();
    m_tokens.reset();
    m_state.reset();
    m_dir.reset();
    m_server.reset();
    m_secrets.reset();
}

Calendar TestSyncClient::existing(const char *id, const QString &url, const QString &key) const
{
    Calendar c;
    c.id = QString::fromUtf8(id);
    c.account_id = QStringLiteral("cloud");
    c.url = url;
    c.name = QStringLiteral("Local name");
    c.canonical_key = key;
    c.created_at = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    c.updated_at = c.created_at;
    return c;
}

int TestSyncClient::pull()
{
    SyncClient client(m_state.get(), m_api.get());
    QSignalSpy pulled(&client, &SyncClient::calendarListPulled);
    client.pullCalendarList();
    if (!pulled.wait(5000) || pulled.size() != 1)
        return -1;
    return pulled.first().first().toInt();
}

void TestSyncClient::serverIdFromUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("id");
    QTest::newRow("cloud url") << "larkspindle://srv-1"
                               << "srv-1";
    QTest::newRow("server ids keep their case") << "larkspindle://AbC-123"
                                                << "AbC-123";
    QTest::newRow("path after the host is dropped") << "larkspindle://srv-1/events"
                                                    << "srv-1";
    QTest::newRow("no host: the rest") << "larkspindle:///a/b"
                                       << "/a/b";
    QTest::newRow("nothing after the marker") << "larkspindle://"
                                              << "";
    QTest::newRow("plain id") << "srv-9"
                              << "srv-9";
    QTest::newRow("single slash is no url") << "larkspindle:/srv-1"
                                            << "larkspindle:/srv-1";
}

void TestSyncClient::serverIdFromUrl()
{
    QFETCH(QString, url);
    QFETCH(QString, id);
    QCOMPARE(SyncClient::serverIdFromUrl(url), id);
}

void TestSyncClient::pullInsertsUnknownCalendars()
{
    CalendarRepository *calendars = m_state->calendars();
    QVERIFY(calendars->insert(existing("known-by-url", QStringLiteral("larkspindle://srv-3"))));
    QVERIFY(
        calendars->insert(existing("known-by-key", QStringLiteral("https://elsewhere/x"),
                                   *calendarIdentityKey(QStringLiteral("larkspindle"),
                                                        QStringLiteral("larkspindle://srv-4")))));
    const QJsonArray list = {
        entry({{"id", QStringLiteral("srv-1")},
               {"name", QStringLiteral("Team")},
               {"description", QStringLiteral("Shared team calendar")},
               {"color", QStringLiteral("#112233")},
               {"timezone", QStringLiteral("Europe/Berlin")}}),
        entry({{"id", QStringLiteral("srv-1")}, {"name", QStringLiteral("Team again")}}),
        entry({{"id", QStringLiteral("")}, {"name", QStringLiteral("No id")}}),
        entry({{"name", QStringLiteral("Missing id")}}),
        entry({{"id", QStringLiteral("personal")}}),
        entry({{"id", QStringLiteral("srv-2")}, {"name", 5}, {"color", QJsonValue()}}),
        entry({{"id", QStringLiteral("srv-3")}, {"name", QStringLiteral("Renamed")}}),
        entry({{"id", QStringLiteral("srv-4")}}),
    };
    m_server->route("GET", listPath,
                    FakeReply::json(200, QJsonObject {{QStringLiteral("calendars"), list}}));
    const int before = calendars->listAll().size();

    QCOMPARE(pull(), 2);
    QCOMPARE(calendars->listAll().size(), before + 2);
    QCOMPARE(m_server->requestsTo("GET", listPath).size(), 1);

    Calendar team, second;
    for (const Calendar &c : calendars->listAll()) {
        if (c.url == QLatin1String("larkspindle://srv-1"))
            team = c;
        else if (c.url == QLatin1String("larkspindle://srv-2"))
            second = c;
    }
    QCOMPARE(team.id.size(), 36);
    QCOMPARE(team.account_id, QStringLiteral("cloud"));
    QCOMPARE(team.name, QStringLiteral("Team"));
    QCOMPARE(team.description, QStringLiteral("Shared team calendar"));
    QCOMPARE(team.color, QStringLiteral("#112233"));
    QCOMPARE(team.timezone, QStringLiteral("Europe/Berlin"));
    QVERIFY(team.is_visible && team.sync_enabled);
    QVERIFY(!team.is_read_only && !team.is_default && !team.is_shared && !team.shared_with_me);
    QCOMPARE(
        team.canonical_key,
        *calendarIdentityKey(QStringLiteral("larkspindle"), QStringLiteral("larkspindle://srv-1")));
    // Defaults for members that are missing or not texts.
    QCOMPARE(second.name, QStringLiteral("srv-2"));
    QCOMPARE(second.color, QStringLiteral("#4285F4"));
    QCOMPARE(second.timezone, QStringLiteral("UTC"));
    QVERIFY(second.description.isEmpty());
    // Known calendars are left as they are.
    QCOMPARE(calendars->byId(QStringLiteral("known-by-url"))->name, QStringLiteral("Local name"));
}

void TestSyncClient::failedPullChangesNothing_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("drop");
    QTest::newRow("server error") << 500 << false;
    QTest::newRow("not found") << 404 << false;
    QTest::newRow("dropped connection") << 0 << true;
}

void TestSyncClient::failedPullChangesNothing()
{
    QFETCH(int, status);
    QFETCH(bool, drop);
    const QJsonArray list = {entry({{"id", QStringLiteral("srv-1")}})};
    m_server->route(
        "GET", listPath,
        drop ? FakeReply::dropped()
             : FakeReply::json(status, QJsonObject {{QStringLiteral("calendars"), list}}));
    const int before = m_state->calendars()->listAll().size();
    QCOMPARE(pull(), 0);
    QCOMPARE(m_state->calendars()->listAll().size(), before);
}

void TestSyncClient::pullWithoutCloudAccountAddsItFirst()
{
    // A store that has no account of the cloud type yet, as on a first start signed in.
    CalendarRepository *calendars = m_state->calendars();
    AccountRepository *accounts = m_state->accounts();
    for (const Calendar &c : calendars->listAll())
        QVERIFY(calendars->remove(c.id));
    for (const Account &a : accounts->listActive()) {
        QVERIFY(accounts->remove(a.id));
        QVERIFY(accounts->reapTombstone(a.id));
    }
    const QJsonArray list = {entry({{"id", QStringLiteral("srv-1")}})};
    m_server->route("GET", listPath,
                    FakeReply::json(200, QJsonObject {{QStringLiteral("calendars"), list}}));

    QCOMPARE(pull(), 1);
    const QList<Account> active = accounts->listActive();
    QCOMPARE(active.size(), 1);
    QCOMPARE(active.first().type, QStringLiteral("larkspindle"));
    bool found = false;
    for (const Calendar &c : calendars->listAll())
        found = found
            || (c.url == QLatin1String("larkspindle://srv-1") && c.account_id == active.first().id);
    QVERIFY(found);
}

QTEST_MAIN(TestSyncClient)
#include "tst_SyncClient.moc"
