// Two of the user's devices keeping their configuration in step through one fake cloud, each
// started as the program starts (signed in from its stored token, its configuration sync wired
// to the store) with its own store, secrets and clock.

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "core/sync/SyncCoordinator.h"
#include "model/Clock.h"
#include "model/Identifiers.h"
#include "model/JsonText.h"
#include "platform/DataPaths.h"
#include "services/account/TokenManager.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/cloud/CloudItems.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "services/sync/google/AuthService.h"
#include "services/sync/microsoft/AuthService.h"
#include "services/sync/webcal/SyncClient.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"
#include "support/CalDavServers.h"
#include "support/FakeCloudService.h"
#include "support/FakeGoogleCalendar.h"
#include "support/FakeGraph.h"
#include "support/MemoryTokenStore.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <mutex>

using Larkspindle::ConfigSyncService;

namespace {

QDateTime day(int d, int hour)
{
    return QDateTime(QDate(2026, 3, d), QTime(hour, 0), Qt::UTC);
}

// A cloud access token that stays valid (it expires in 2033).
QString accessToken()
{
    const auto b64 = [](const QByteArray &b) {
        return b.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    };
    return QString::fromLatin1(b64(R"({"alg":"none"})") + '.'
                               + b64(R"({"exp":2000000000,"sub":"user-1"})") + ".c2ln");
}

// One device. The process has one database connection, so one device is open at a time; its
// store and secrets stay between openings. Its clock moves a second at every reading, as time
// passes while a program runs, unless it was stopped at a time.
class Device
{
public:
    explicit Device(const QDateTime &start)
        : m_now(start)
    { }
    ~Device() { close(); }

    // Makes this device's secrets the ones the program reads and writes.
    void useSecrets()
    {
        LarkAccount::setTokenStoreFactory([secrets = m_secrets](const QString &service) {
            return std::make_unique<LarkTest::MemoryTokenStore>(service, secrets);
        });
    }

    [[nodiscard]] bool open(bool signedIn = true)
    {
        close();
        useSecrets();
        if (signedIn && !secrets()->set(LarkAccount::TokenManager::accessTokenKey, accessToken()))
            return false;
        // Every read of the clock a second later, so that each write is newer than the last.
        m_pinned.emplace([this] {
            const std::lock_guard<std::mutex> lock(m_nowMutex);
            return m_stopped ? m_now : (m_now = m_now.addSecs(1));
        });
        m_state = std::make_unique<AppState>();
        return m_dir.isValid()
            && m_state->initialize(m_dir.filePath(QStringLiteral("calendar.db")));
    }
    void close()
    {
        if (!m_state)
            return;
        m_state.reset();
        m_pinned.reset();
        LarkAccount::setTokenStoreFactory({});
    }

    // The clock reads this time until it is set going again, from there.
    void stopClockAt(const QDateTime &at)
    {
        const std::lock_guard<std::mutex> lock(m_nowMutex);
        m_now = at;
        m_stopped = true;
    }
    void startClock()
    {
        const std::lock_guard<std::mutex> lock(m_nowMutex);
        m_stopped = false;
    }

    std::unique_ptr<LarkAccount::TokenStore> secrets() const
    {
        return std::make_unique<LarkTest::MemoryTokenStore>(applicationIdentifier(), m_secrets);
    }
    AppState *operator->() const { return m_state.get(); }
    ConfigSyncService *sync() const { return m_state->configSync(); }

    // Until no cycle runs and none waits on a change.
    [[nodiscard]] bool settle() const
    {
        return QTest::qWaitFor(
            [this] {
                return !sync()->isCycleRunning() && !sync()->mutationDebounceTimer()->isActive();
            },
            20000);
    }
    // Opens the device and waits for the cycle it starts with, not for one a change it pulled
    // asks for.
    [[nodiscard]] bool openAndPull()
    {
        return open() && QTest::qWaitFor([this] { return !sync()->isCycleRunning(); }, 20000);
    }
    // Runs a cycle now and waits for its end; a change waiting for its cycle is dropped with the
    // device when it closes.
    [[nodiscard]] bool sendNow() const
    {
        sync()->syncNow();
        return QTest::qWaitFor([this] { return !sync()->isCycleRunning(); }, 20000);
    }

private:
    QDateTime m_now;
    std::mutex m_nowMutex; // the program clock is read from worker threads too
    bool m_stopped = false;
    std::optional<Clock::Override> m_pinned;
    QTemporaryDir m_dir;
    std::shared_ptr<LarkTest::MemoryCredentials> m_secrets
        = std::make_shared<LarkTest::MemoryCredentials>();
    std::unique_ptr<AppState> m_state;
};

// A rule hiding lunches, written on day 2.
FilterRule hideRule(const QString &id, const QStringList &calendarIds = {})
{
    FilterRule rule;
    rule.id = id;
    rule.name = QStringLiteral("Hide lunch");
    rule.type = QStringLiteral("pattern");
    rule.calendar_ids = jsonTextArray(calendarIds);
    rule.conditions = QStringLiteral(R"({"runtimeType":"pattern","pattern":"lunch"})");
    rule.created_at = rule.updated_at = day(2, 10);
    return rule;
}

// Environment variables set for a scope.
class EnvironmentOverride
{
public:
    EnvironmentOverride(std::initializer_list<std::pair<const char *, QByteArray>> values)
    {
        for (const auto &[name, value] : values) {
            qputenv(name, value);
            m_names << name;
        }
    }
    ~EnvironmentOverride()
    {
        for (const char *name : std::as_const(m_names))
            qunsetenv(name);
    }

private:
    QList<const char *> m_names;
};

// The first day of the week as the settings dialog stores a choice.
bool chooseWeekStart(const Device &device, int day)
{
    PreferencesRepository *prefs = device->preferences();
    const qint64 at = device->database()->currentDateTimeUtc().toMSecsSinceEpoch();
    return prefs->setBool(Prefs::WeekStartDayCustomized, true)
        && prefs->setInt(Prefs::WeekStartDay, day)
        && prefs->set(Prefs::WeekStartDayChangedAt, QString::number(at));
}

// A field of the one record the cloud holds in that table; empty unless there is just one.
QString soleCloudValue(const LarkTest::FakeCloudService &cloud, const char *table,
                       const char *field)
{
    const QList<QJsonObject> records = cloud.configRecords(QString::fromLatin1(table));
    return records.size() == 1 ? records.constFirst().value(QLatin1String(field)).toString()
                               : QString();
}

QString ruleName(const Device &device, const QString &id)
{
    return device->filterRules()->byId(id).value_or(FilterRule()).name;
}

Calendar byUrl(AppState *state, const QString &url)
{
    const QList<Calendar> all = state->calendars()->listAll();
    for (const Calendar &c : all) {
        if (c.url == url)
            return c;
    }
    return {};
}

} // namespace

class TestConfigSyncDevices : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void calDavAccountArrivesWithItsCalendars();
    void providerAccountListsItsCalendars_data();
    void providerAccountListsItsCalendars();
    void editsOnBothSidesSettle();
    void calendarChoiceMadeDuringAPullStays();
    void weekStartFollowsTheLatestChoice();
    void choicesInOneSecondSettle_data();
    void choicesInOneSecondSettle();
    void choiceDatedAheadGivesWay();
    void signedOutSendsNothing();

private:
    std::unique_ptr<LarkTest::FakeCloudService> m_cloud;
    std::unique_ptr<Device> m_a;
    std::unique_ptr<Device> m_b;
};

void TestConfigSyncDevices::init()
{
    m_cloud = std::make_unique<LarkTest::FakeCloudService>();
    QVERIFY(m_cloud->listen());
    qputenv("SYNC_API_URL", m_cloud->baseUrl().toEncoded());
    m_a = std::make_unique<Device>(day(2, 10));
    m_b = std::make_unique<Device>(day(3, 10));
}

void TestConfigSyncDevices::cleanup()
{
    m_a.reset();
    m_b.reset();
    m_cloud.reset();
    qunsetenv("SYNC_API_URL");
}

void TestConfigSyncDevices::calDavAccountArrivesWithItsCalendars()
{
    QTemporaryDir dir;
    LarkTest::ServerProcess radicale;
    QVERIFY2(
        LarkTest::startRadicale(
            radicale, dir.path(), QStringLiteral("alice"), QStringLiteral("secret"),
            {{QStringLiteral("work"), QStringLiteral("Work"), QStringLiteral("#ff8800"), {}, {}},
             {QStringLiteral("home"), QStringLiteral("Home"), {}, {}, {}}}),
        qPrintable(radicale.output()));
    const QString workUrl
        = LarkTest::serverUrl(radicale, QStringLiteral("/alice/work/")).toString();
    const QString homeUrl
        = LarkTest::serverUrl(radicale, QStringLiteral("/alice/home/")).toString();

    // On A: the account, its two calendars (one renamed and recoloured), and a rule, a group
    // and a template that name them.
    QVERIFY(m_a->open());
    QVERIFY(m_a->settle());
    Account dav;
    dav.id = QStringLiteral("dav-1");
    dav.type = QStringLiteral("caldav");
    dav.name = QStringLiteral("Radicale");
    dav.server_url = LarkTest::serverUrl(radicale).toString();
    dav.username = QStringLiteral("alice");
    dav.created_at = dav.updated_at = day(2, 11);
    QVERIFY((*m_a)->accounts()->insert(dav));
    QVERIFY(m_a->secrets()->set(caldavPasswordKey(dav.id), QStringLiteral("secret")));
    QStringList idsOnA;
    for (const QString &url : {workUrl, homeUrl}) {
        Calendar c;
        c.id = QStringLiteral("a-") + url.section(QLatin1Char('/'), -2, -2);
        c.account_id = dav.id;
        c.url = url;
        c.name = url == workUrl ? QStringLiteral("Work (A)") : QStringLiteral("Home");
        c.color = url == workUrl ? QStringLiteral("#123456") : QStringLiteral("#4285F4");
        c.canonical_key = *calendarIdentityKey(dav.type, url);
        c.sync_enabled = true;
        c.created_at = c.updated_at = day(2, 11);
        QVERIFY((*m_a)->calendars()->insert(c));
        idsOnA << c.id;
    }
    const FilterRule rule = hideRule(QStringLiteral("r-1"), {idsOnA.first()});
    QVERIFY((*m_a)->filterRules()->insert(rule));
    CalendarView group;
    group.id = QStringLiteral("g-1");
    group.name = QStringLiteral("Both");
    group.calendar_ids = jsonTextArray(idsOnA);
    group.created_at = group.updated_at = day(2, 11);
    QVERIFY((*m_a)->views()->insert(group));
    EventTemplate standup;
    standup.id = QStringLiteral("t-1");
    standup.name = QStringLiteral("Standup");
    standup.title = QStringLiteral("Standup");
    standup.calendar_id = idsOnA.first();
    QVERIFY((*m_a)->templates()->insert(standup));
    m_a->sync()->syncNow();
    QVERIFY(m_a->settle());
    QCOMPARE(m_a->sync()->state(), ConfigSyncService::Idle);
    m_a->close();

    // B starts and pulls, but its store refuses templates: what the discovery found stays, and
    // so does every other kind of record; the templates are asked for again. B's own
    // configuration still goes out.
    const int pushes = m_cloud->configPushes();
    QVERIFY(m_b->open());
    QSignalSpy syncRequested(m_b->operator->(), &AppState::syncNowRequested);
    QSqlQuery refuse((*m_b)->database()->connection());
    QVERIFY(refuse.exec(QStringLiteral("CREATE TEMP TRIGGER refuse_templates BEFORE INSERT ON "
                                       "main.event_templates BEGIN SELECT RAISE(ABORT, 'disk is "
                                       "full'); END")));
    QVERIFY(m_b->settle());
    QCOMPARE(m_b->sync()->state(), ConfigSyncService::Failed);
    QVERIFY(!m_b->sync()->failureReason().isEmpty());
    QVERIFY(m_cloud->configPushes() > pushes);
    QVERIFY(!syncRequested.isEmpty());
    QCOMPARE(m_b->secrets()->get(caldavPasswordKey(dav.id)), QStringLiteral("secret"));
    QCOMPARE((*m_b)->calendars()->listByAccount(dav.id).size(), 2);
    const Calendar workOnB = byUrl(m_b->operator->(), workUrl);
    const Calendar homeOnB = byUrl(m_b->operator->(), homeUrl);
    QCOMPARE(workOnB.name, QStringLiteral("Work (A)"));
    QCOMPARE(workOnB.canonical_key, *calendarIdentityKey(dav.type, workUrl));
    QVERIFY((*m_b)->filterRules()->byId(rule.id));
    QVERIFY(!(*m_b)->templates()->byId(standup.id));
    QVERIFY(!(*m_b)->preferences()->get(Prefs::ConfigSyncSince));

    QVERIFY(refuse.exec(QStringLiteral("DROP TRIGGER temp.refuse_templates")));
    m_b->sync()->syncNow();
    QVERIFY(m_b->settle());
    QCOMPARE(m_b->sync()->state(), ConfigSyncService::Idle);
    QVERIFY((*m_b)->preferences()->get(Prefs::ConfigSyncSince));
    const Calendar renamed = *(*m_b)->calendars()->byId(workOnB.id);
    QCOMPARE(renamed.name, QStringLiteral("Work (A)"));
    QCOMPARE(renamed.color, QStringLiteral("#123456"));
    QCOMPARE((*m_b)->calendars()->listByAccount(dav.id).size(), 2);
    QCOMPARE(jsonTextList((*m_b)->filterRules()->byId(rule.id)->calendar_ids),
             QStringList {workOnB.id});
    QCOMPARE(jsonTextList((*m_b)->views()->byId(group.id)->calendar_ids),
             (QStringList {workOnB.id, homeOnB.id}));
    QCOMPARE((*m_b)->templates()->byId(standup.id)->calendar_id, workOnB.id);
}

void TestConfigSyncDevices::providerAccountListsItsCalendars_data()
{
    QTest::addColumn<QString>("provider");
    QTest::newRow("google, token renewed first") << "google";
    QTest::newRow("microsoft, stored token still valid") << "microsoft";
}

// A's account of a calendar provider arrives on B, where the user has signed in to it: B lists
// the account's calendars, and A's rule finds its calendar there.
void TestConfigSyncDevices::providerAccountListsItsCalendars()
{
    QFETCH(QString, provider);
    const bool google = provider == QLatin1String("google");
    LarkTest::FakeHttpServer googleServer;
    QVERIFY(googleServer.listen());
    LarkTest::FakeGoogleCalendar fakeGoogle(&googleServer);
    LarkTest::FakeGraph graph;
    QVERIFY(graph.listen());
    const EnvironmentOverride env {{"GOOGLE_CALENDAR_API_URL", fakeGoogle.apiRoot().toUtf8()},
                                   {"GOOGLE_TOKEN_URL", fakeGoogle.tokenUrl().toUtf8()},
                                   {"GOOGLE_CLIENT_ID", "client.apps"},
                                   {"GOOGLE_CLIENT_SECRET", "secret"},
                                   {"MICROSOFT_GRAPH_API_URL", graph.root().toEncoded()}};
    QString teamId = QStringLiteral("team@group.calendar.example");
    if (google) {
        fakeGoogle.addCalendar(teamId, QStringLiteral("Team"));
        fakeGoogle.addCalendar(QStringLiteral("holidays"), QStringLiteral("Holidays"),
                               QStringLiteral("reader"));
    } else {
        teamId = graph.addCalendar(QStringLiteral("Team"), QStringLiteral("#22AA66"));
        graph.addCalendar(QStringLiteral("Read only"));
    }
    const QString key = *calendarIdentityKey(provider, teamId);

    QVERIFY(m_a->open());
    Account account;
    account.id = QStringLiteral("p-1");
    account.type = provider;
    account.name = QStringLiteral("Work mail");
    account.username = QStringLiteral("me@example.com");
    account.created_at = account.updated_at = day(2, 11);
    QVERIFY((*m_a)->accounts()->insert(account));
    Calendar team;
    team.id = QStringLiteral("a-team");
    team.account_id = account.id;
    team.url = teamId;
    team.name = QStringLiteral("Team");
    team.canonical_key = key;
    team.sync_enabled = true;
    team.created_at = team.updated_at = day(2, 11);
    QVERIFY((*m_a)->calendars()->insert(team));
    const FilterRule rule = hideRule(QStringLiteral("r-team"), {team.id});
    QVERIFY((*m_a)->filterRules()->insert(rule));
    QVERIFY(m_a->settle());
    m_a->close();

    // Signed in to the provider on B too; Google's access token runs out in 30 seconds.
    m_b->useSecrets();
    const bool saved = google
        ? Google::AuthService::saveTokens(
            account.id, {QStringLiteral("stale"), fakeGoogle.refreshToken, day(3, 10).addSecs(30)})
        : Microsoft::AuthService::saveTokens(
            account.id, {graph.accessToken, QStringLiteral("refresh-1"), day(3, 12)});
    QVERIFY(saved);
    QVERIFY(m_b->open());
    QVERIFY(m_b->settle());
    QCOMPARE(m_b->sync()->state(), ConfigSyncService::Idle);
    QCOMPARE(fakeGoogle.refreshes, google ? 1 : 0);
    QCOMPARE(Google::AuthService::loadTokens(account.id).accessToken,
             google ? fakeGoogle.accessToken : QString());
    const QList<Calendar> found = (*m_b)->calendars()->listByAccount(account.id);
    QCOMPARE(found.size(), 2);
    const Calendar teamOnB = byUrl(m_b->operator->(), teamId);
    QCOMPARE(teamOnB.name, QStringLiteral("Team"));
    QCOMPARE(teamOnB.canonical_key, key);
    QVERIFY(teamOnB.sync_enabled);
    QCOMPARE(jsonTextList((*m_b)->filterRules()->byId(rule.id)->calendar_ids),
             QStringList {teamOnB.id});
    QVERIFY((*m_b)->accounts()->byId(account.id)->last_sync_error.isEmpty());
}

void TestConfigSyncDevices::editsOnBothSidesSettle()
{
    QVERIFY(m_a->open());
    FilterRule rule = hideRule(QStringLiteral("r-1"));
    rule.name = QStringLiteral("First");
    QVERIFY((*m_a)->filterRules()->insert(rule));
    QVERIFY(m_a->settle());
    m_a->close();

    // B takes the rule and edits it a day later, then stops before its change went out.
    QVERIFY(m_b->open());
    QVERIFY(m_b->settle());
    FilterRule onB = *(*m_b)->filterRules()->byId(rule.id);
    QCOMPARE(onB.name, QStringLiteral("First"));
    onB.name = QStringLiteral("From B");
    QVERIFY((*m_b)->filterRules()->update(onB));
    m_b->close();

    // A edits it too, earlier by its own clock, and pushes: the cloud echoes the edit back.
    int pushes = m_cloud->configPushes();
    QVERIFY(m_a->open());
    QVERIFY(m_a->settle());
    FilterRule onA = *(*m_a)->filterRules()->byId(rule.id);
    onA.name = QStringLiteral("From A");
    QVERIFY((*m_a)->filterRules()->update(onA));
    QVERIFY(m_a->settle());
    QCOMPARE(m_cloud->configPushes(), pushes + 2); // at the start and after the edit
    m_a->close();

    QVERIFY(m_b->open());
    QVERIFY(m_b->settle());
    QCOMPARE((*m_b)->filterRules()->byId(rule.id)->name, QStringLiteral("From B"));
    m_b->close();

    // The later edit wins on A; one more push follows the change, then the pushes stop.
    pushes = m_cloud->configPushes();
    QVERIFY(m_a->open());
    QVERIFY(m_a->settle());
    const FilterRule settled = *(*m_a)->filterRules()->byId(rule.id);
    QCOMPARE(settled.name, QStringLiteral("From B"));
    QVERIFY(settled.updated_at >= day(3, 10));
    QCOMPARE(m_cloud->configPushes(), pushes + 2);
    QTest::qWait(ConfigSyncService::mutationDebounceMs + 500);
    QCOMPARE(m_cloud->configPushes(), pushes + 2);
    QCOMPARE(m_cloud->configRecords(QStringLiteral("filter_rules")).size(), 1);
    QCOMPARE(m_cloud->configRecords(QStringLiteral("filter_rules"))
                 .first()
                 .value(QStringLiteral("name"))
                 .toString(),
             QStringLiteral("From B"));
}

// A calendar's name chosen on one device reaches the other; a choice made there while a pull is
// on its way is not undone by the older record that pull brings, and reaches the first device.
void TestConfigSyncDevices::calendarChoiceMadeDuringAPullStays()
{
    const QString feed = QStringLiteral("https://feeds.example/holidays.ics");
    const auto feedName = [&](const Device &device) {
        return byUrl(device.operator->(), feed).name;
    };
    const auto rename = [&](const Device &device, const QString &name) {
        Calendar c = byUrl(device.operator->(), feed);
        c.name = name;
        return device->calendars()->update(c);
    };
    QVERIFY(m_a->open());
    QVERIFY(m_a->settle());
    const std::optional<Account> owner
        = Webcal::SyncClient::ensureSubscriptionsAccount(m_a->operator->());
    QVERIFY(owner);
    Calendar holidays;
    holidays.id = QStringLiteral("a-feed");
    holidays.account_id = owner->id;
    holidays.url = feed;
    holidays.name = QStringLiteral("Holidays");
    holidays.is_read_only = true;
    holidays.canonical_key = *calendarIdentityKey(QStringLiteral("webcal"), feed);
    holidays.created_at = holidays.updated_at = day(2, 11);
    QVERIFY((*m_a)->calendars()->insert(holidays));
    QVERIFY(rename(*m_a, QStringLiteral("Home")));
    m_a->sync()->syncNow();
    QVERIFY(m_a->settle());
    m_a->close();

    QVERIFY(m_b->open());
    QVERIFY(m_b->settle());
    QCOMPARE(feedName(*m_b), QStringLiteral("Home"));
    bool renamed = false;
    QObject::connect(&m_cloud->server(), &LarkTest::FakeHttpServer::requestReceived,
                     m_b->operator->(), [&](const LarkTest::RecordedRequest &request) {
                         if (!renamed && request.target.contains("/sync/pull"))
                             renamed = rename(*m_b, QStringLiteral("Family"));
                     });
    m_b->sync()->syncNow();
    QVERIFY(m_b->settle());
    QVERIFY(renamed);
    QCOMPARE(m_b->sync()->state(), ConfigSyncService::Idle);
    QCOMPARE(feedName(*m_b), QStringLiteral("Family"));
    m_b->sync()->syncNow(); // the next cycle sends the choice
    QVERIFY(m_b->settle());
    QCOMPARE(feedName(*m_b), QStringLiteral("Family"));
    m_b->close();

    QVERIFY(m_a->open());
    QVERIFY(m_a->settle());
    QCOMPARE(feedName(*m_a), QStringLiteral("Family"));
}

// Two devices choose different first days of the week: both end with the later choice, and a
// third device that joins afterwards takes it and keeps it while the others go on syncing.
void TestConfigSyncDevices::weekStartFollowsTheLatestChoice()
{
    const auto choose = &chooseWeekStart;
    const auto weekStart = [](const Device &device) {
        return device->preferences()->getInt(Prefs::WeekStartDay, -1);
    };
    const auto openAndSettle = [](Device &device) {
        return device.open() && device.settle();
    };
    QVERIFY(openAndSettle(*m_a));
    QVERIFY(choose(*m_a, 1));
    m_a->sync()->syncNow();
    QVERIFY(m_a->settle());
    m_a->close();

    QVERIFY(openAndSettle(*m_b));
    QCOMPARE(weekStart(*m_b), 1);
    QVERIFY(choose(*m_b, 7));
    m_b->sync()->syncNow();
    QVERIFY(m_b->settle());
    m_b->close();

    QVERIFY(openAndSettle(*m_a));
    QCOMPARE(weekStart(*m_a), 7);
    m_a->close();

    Device c(day(4, 10));
    QVERIFY(openAndSettle(c));
    QCOMPARE(weekStart(c), 7);
    c.close();
    for (Device *device : {m_b.get(), m_a.get()}) {
        QVERIFY(openAndSettle(*device));
        QCOMPARE(weekStart(*device), 7);
        device->close();
    }
    QVERIFY(openAndSettle(c));
    QCOMPARE(weekStart(c), 7);

    // A slow service that keeps answering keeps a calendar run going, however long it takes.
    m_cloud->addCalendar(QStringLiteral("team"), QStringLiteral("Team"));
    m_cloud->server().answerDelayMs = 350;
    Sync::SyncCoordinator coordinator(c.operator->());
    coordinator.setSilenceLimit(600);
    coordinator.syncNow();
    QTRY_VERIFY_WITH_TIMEOUT(!coordinator.isRunning(kOnDeviceAccountId), 20000);
    QCOMPARE(c->accounts()->byId(kOnDeviceAccountId)->last_sync_error, QString());
    const QString team = Larkspindle::cloudCalendarUrl(QStringLiteral("team"));
    QVERIFY(!byUrl(c.operator->(), team).id.isEmpty());
}

void TestConfigSyncDevices::choicesInOneSecondSettle_data()
{
    QTest::addColumn<bool>("weekStart"); // else a rule's name
    QTest::addColumn<int>("apartMs");
    QTest::addColumn<int>("winner"); // 1: A's choice, 2: B's
    // A rule keeps its time to the second: the two are equal, and the copy the cloud holds when
    // B hears of A's wins. The first day of the week keeps the millisecond: B's is later.
    QTest::newRow("rule renamed") << false << 400 << 1;
    QTest::newRow("first day of the week") << true << 504 << 2;
}

// Two devices change one setting within one second, neither having heard of the other's
// change: after a few rounds both hold what the cloud holds.
void TestConfigSyncDevices::choicesInOneSecondSettle()
{
    QFETCH(bool, weekStart);
    QFETCH(int, apartMs);
    QFETCH(int, winner);
    const QString ruleId = QStringLiteral("r-1");
    // The first choice, A's, B's.
    const QStringList names {QStringLiteral("Start"), QStringLiteral("Alpha"),
                             QStringLiteral("Zeta")};
    const QList<int> days {3, 7, 1};
    const auto choose = [&](const Device &device, int which) {
        if (weekStart)
            return chooseWeekStart(device, days.at(which));
        FilterRule rule = device->filterRules()->byId(ruleId).value_or(hideRule(ruleId));
        rule.name = names.at(which);
        return which == 0 ? device->filterRules()->insert(rule)
                          : device->filterRules()->update(rule);
    };
    const auto held = [&](const Device &device) {
        if (weekStart)
            return QString::number(device->preferences()->getInt(Prefs::WeekStartDay, -1));
        return ruleName(device, ruleId);
    };

    QVERIFY(m_a->openAndPull());
    QVERIFY(choose(*m_a, 0));
    QVERIFY(m_a->sendNow());
    m_a->close();
    QVERIFY(m_b->openAndPull());
    QCOMPARE(held(*m_b), weekStart ? QStringLiteral("3") : QStringLiteral("Start"));
    // B's choice, made apartMs after A's, waits unsent while A's goes out.
    const QDateTime at = day(5, 10);
    m_b->stopClockAt(at.addMSecs(apartMs));
    QVERIFY(choose(*m_b, 2));
    m_b->startClock();
    m_b->close();
    QVERIFY(m_a->openAndPull());
    m_a->stopClockAt(at);
    QVERIFY(choose(*m_a, 1));
    m_a->startClock();
    QVERIFY(m_a->sendNow());
    m_a->close();

    QString onA;
    QString onB;
    for (int round = 0; round < 2; ++round) {
        for (Device *device : {m_b.get(), m_a.get()}) {
            QVERIFY(device->openAndPull());
            (device == m_a.get() ? onA : onB) = held(*device);
            device->close();
        }
    }
    const QString won = weekStart ? QString::number(days.at(winner)) : names.at(winner);
    QCOMPARE(onA, won);
    QCOMPARE(onB, won);
    QCOMPARE(soleCloudValue(*m_cloud, weekStart ? "initial_settings" : "filter_rules",
                            weekStart ? "value" : "name"),
             won);
}

// A rule another client dated far ahead of every clock: a rename here still reaches the cloud
// and the other device, and the other device's next edit comes back.
void TestConfigSyncDevices::choiceDatedAheadGivesWay()
{
    const QString ruleId = QStringLiteral("r-1");
    const auto rename = [&](const Device &device, const QString &name) {
        FilterRule rule = *device->filterRules()->byId(ruleId);
        rule.name = name;
        return device->filterRules()->update(rule) && device.sendNow();
    };
    {
        Device other(day(1, 10));
        QVERIFY(other.openAndPull());
        FilterRule rule = hideRule(ruleId);
        rule.updated_at = QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);
        QVERIFY(other->filterRules()->insert(rule));
        QVERIFY(other.sendNow());
    }
    QCOMPARE(soleCloudValue(*m_cloud, "filter_rules", "name"), QStringLiteral("Hide lunch"));
    QVERIFY(m_b->openAndPull());
    QCOMPARE(ruleName(*m_b, ruleId), QStringLiteral("Hide lunch"));
    m_b->close();

    QVERIFY(m_a->openAndPull());
    QVERIFY(rename(*m_a, QStringLiteral("Hide lunches")));
    QCOMPARE(m_a->sync()->state(), ConfigSyncService::Idle);
    m_a->close();
    QCOMPARE(soleCloudValue(*m_cloud, "filter_rules", "name"), QStringLiteral("Hide lunches"));

    QVERIFY(m_b->openAndPull());
    QCOMPARE(ruleName(*m_b, ruleId), QStringLiteral("Hide lunches"));
    QVERIFY(rename(*m_b, QStringLiteral("Hide every lunch")));
    m_b->close();
    QVERIFY(m_a->openAndPull());
    QCOMPARE(ruleName(*m_a, ruleId), QStringLiteral("Hide every lunch"));
    QCOMPARE(soleCloudValue(*m_cloud, "filter_rules", "name"), QStringLiteral("Hide every lunch"));
}

void TestConfigSyncDevices::signedOutSendsNothing()
{
    QVERIFY(m_a->open(false));
    QVERIFY((*m_a)->filterRules()->insert(hideRule(QStringLiteral("r-1"))));
    QVERIFY(!m_a->sync()->mutationDebounceTimer()->isActive());
    QVERIFY(!m_a->sync()->autoSyncTimer()->isActive());
    QTest::ignoreMessage(QtInfoMsg, "[ConfigSync] syncNow skipped — signed out");
    m_a->sync()->syncNow();
    QTest::qWait(200);
    QCOMPARE(m_a->sync()->state(), ConfigSyncService::Idle);
    QCOMPARE(m_cloud->server().requestCount(), 0);
}

QTEST_MAIN(TestConfigSyncDevices)
#include "tst_ConfigSyncDevices.moc"
