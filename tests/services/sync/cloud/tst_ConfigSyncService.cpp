#include "CloudTestKit.h"
#include "core/sync/CalendarIdentity.h"
#include "model/Clock.h"
#include "model/Identifiers.h"
#include "model/JsonText.h"
#include "platform/DataPaths.h"
#include "services/account/ApiClient.h"
#include "services/account/TokenManager.h"
#include "services/sync/caldav/CalDavClient.h"
#include "services/sync/cloud/ConfigRecords.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TaskRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"
#include "support/FakeCloudService.h"
#include "support/StartedAppState.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(LarkTest::FakeReply)

using Larkspindle::ConfigSyncService;
using LarkTest::FakeReply;

namespace {

const QDateTime T(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
const QString workUrl = QStringLiteral("https://dav.example/alice/work/");

QString workKey()
{
    return *calendarIdentityKey(QStringLiteral("caldav"), workUrl);
}

// A key no calendar on this device has: kept as it came.
const QString otherKey = QString(64, QLatin1Char('e'));

Account davAccount()
{
    Account a;
    a.id = QStringLiteral("dav");
    a.type = QStringLiteral("caldav");
    a.name = QStringLiteral("Work server");
    a.created_at = a.updated_at = T;
    return a;
}

Calendar workCalendar()
{
    Calendar c;
    c.id = QStringLiteral("cal-work");
    c.account_id = QStringLiteral("dav");
    c.url = workUrl;
    c.name = QStringLiteral("Work");
    c.canonical_key = workKey();
    c.created_at = c.updated_at = T;
    return c;
}

QJsonObject json(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

QString stateNames(const QSignalSpy &spy)
{
    QStringList names;
    for (const QList<QVariant> &args : spy)
        names << QString::fromLatin1(QMetaEnum::fromType<ConfigSyncService::State>().valueToKey(
            args.first().value<ConfigSyncService::State>()));
    return names.join(QLatin1Char(' '));
}

} // namespace

class TestConfigSyncService : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void timersAtConstruction();
    void noApiClientNoCycle();
    void signOutMidCycleSendsNoPush();
    void emptyBucketOnlyPulls();
    void syncNowDuringACycleRunsOneMore();
    void burstOfMutationsGivesOneCycle();
    void startAutoSyncKeepsCountdown();
    void stopAutoSyncCancelsPendingMutation();
    void cycleOutcome_data();
    void cycleOutcome();
    void bucketRecords_data();
    void bucketRecords();
    void pulledRuleAgainstLocal_data();
    void pulledRuleAgainstLocal();
    void unknownCalendarKeysWaitForTheirCalendar();
    void pushedAccountTombstoneTakesItsCalendars();

private:
    int cycles(const QSignalSpy &spy) const;
    bool runCycle();
    void fillStore();
    void pullReturns(const QJsonArray &changes, const QJsonValue &timestamp = 7);

    std::unique_ptr<LarkTest::StartedAppState> m_state;
    std::optional<Clock::Override> m_pinned;
    std::unique_ptr<LarkTest::FakeCloudService> m_cloud;
    std::unique_ptr<LarkAccount::TokenManager> m_tokens;
    std::unique_ptr<LarkAccount::ApiClient> m_api;
    std::unique_ptr<ConfigSyncService> m_service;
};

void TestConfigSyncService::init()
{
    m_state = std::make_unique<LarkTest::StartedAppState>();
    QVERIFY(m_state->ok());
    m_pinned.emplace([] { return T; });
    m_cloud = std::make_unique<LarkTest::FakeCloudService>();
    QVERIFY(m_cloud->listen());
    m_tokens = std::make_unique<LarkAccount::TokenManager>(
        LarkAccount::createTokenStore(QStringLiteral("config-sync-test")));
    m_api = std::make_unique<LarkAccount::ApiClient>(m_tokens.get());
    m_api->setBaseUrl(m_cloud->baseUrl());
    m_service = std::make_unique<ConfigSyncService>(m_state->get(), m_api.get());
}

void TestConfigSyncService::cleanup()
{
    m_service.reset();
    m_api.reset();
    m_tokens.reset();
    m_cloud.reset();
    m_state.reset();
    m_pinned.reset();
}

// Cycles started, as seen through the state changes.
int TestConfigSyncService::cycles(const QSignalSpy &spy) const
{
    int n = 0;
    for (const QList<QVariant> &args : spy) {
        if (args.first().value<ConfigSyncService::State>() == ConfigSyncService::Syncing)
            ++n;
    }
    return n;
}

bool TestConfigSyncService::runCycle()
{
    QSignalSpy states(m_service.get(), &ConfigSyncService::stateChanged);
    m_service->syncNow();
    return QTest::qWaitFor([&] { return !states.isEmpty() && !m_service->isCycleRunning(); }, 5000);
}

void TestConfigSyncService::pullReturns(const QJsonArray &changes, const QJsonValue &timestamp)
{
    QJsonObject reply {{QStringLiteral("changes"), changes}};
    if (!timestamp.isUndefined())
        reply.insert(QStringLiteral("timestamp"), timestamp);
    m_cloud->failRequests("GET", QStringLiteral("/sync/pull"), FakeReply::json(200, reply));
}

void TestConfigSyncService::timersAtConstruction()
{
    const QTimer *autoSync = m_service->autoSyncTimer();
    const QTimer *debounce = m_service->mutationDebounceTimer();
    QCOMPARE(autoSync->interval(), 300000);
    QVERIFY(!autoSync->isSingleShot());
    QCOMPARE(debounce->interval(), 2000);
    QVERIFY(debounce->isSingleShot());
    QVERIFY(!autoSync->isActive());
    QVERIFY(!debounce->isActive());
    QCOMPARE(m_service->state(), ConfigSyncService::Idle);
}

void TestConfigSyncService::noApiClientNoCycle()
{
    ConfigSyncService service(m_state->get(), nullptr);
    QSignalSpy states(&service, &ConfigSyncService::stateChanged);
    QTest::ignoreMessage(QtInfoMsg, "[ConfigSync] syncNow skipped — no api client");
    service.syncNow();
    QCOMPARE(states.size(), 0);
    QCOMPARE(service.state(), ConfigSyncService::Idle);
}

// Signed out while the pull is on its way: the push is not sent.
void TestConfigSyncService::signOutMidCycleSendsNoPush()
{
    bool signedIn = true;
    m_service->setSignedInCheck([&signedIn] { return signedIn; });
    QVERIFY((*m_state)->preferences()->set(Prefs::ConfigSyncSince, QStringLiteral("1")));
    m_cloud->server().route(
        "GET", QStringLiteral("/calendar/v1/sync/pull"),
        FakeReply::json(200, QJsonObject {{QStringLiteral("changes"), QJsonArray()}}).held());
    m_service->syncNow();
    QTRY_COMPARE(m_cloud->server().heldCount(), 1);
    signedIn = false;
    m_cloud->server().releaseHeld();
    QTRY_COMPARE(m_service->state(), ConfigSyncService::SignInRequired);
    QTest::qWait(100);
    QCOMPARE(m_cloud->server().requestsTo("POST", QStringLiteral("/calendar/v1/sync/push")).size(),
             0);
}

void TestConfigSyncService::emptyBucketOnlyPulls()
{
    for (const QString &key :
         {Prefs::ConfigSyncAccounts, Prefs::ConfigSyncFilters, Prefs::ConfigSyncViews,
          Prefs::ConfigSyncTemplates, Prefs::ConfigSyncSettings})
        QVERIFY((*m_state)->preferences()->setBool(key, false));
    QVERIFY(runCycle());
    QCOMPARE(m_service->state(), ConfigSyncService::Idle);
    const QList<LarkTest::RecordedRequest> requests = m_cloud->server().requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().method, QByteArray("GET"));
    QCOMPARE(requests.first().query.queryItemValue(QStringLiteral("since")), QStringLiteral("0"));
}

void TestConfigSyncService::syncNowDuringACycleRunsOneMore()
{
    m_cloud->server().route("POST", QStringLiteral("/calendar/v1/sync/push"),
                            FakeReply::json(200, QJsonObject()).held());
    QSignalSpy states(m_service.get(), &ConfigSyncService::stateChanged);
    m_service->syncNow();
    m_service->syncNow();
    m_service->syncNow();
    QTRY_COMPARE(m_cloud->server().heldCount(), 1);
    QTest::qWait(50);
    QCOMPARE(m_cloud->server().heldCount(), 1); // never two at once
    m_cloud->server().releaseHeld();
    QTRY_COMPARE(m_cloud->server().heldCount(), 1); // the one more cycle
    m_cloud->server().releaseHeld();
    QTRY_COMPARE(cycles(states), 2);
    QTRY_COMPARE(m_service->state(), ConfigSyncService::Idle);
    QTest::qWait(100);
    QCOMPARE(cycles(states), 2);
}

void TestConfigSyncService::burstOfMutationsGivesOneCycle()
{
    QSignalSpy states(m_service.get(), &ConfigSyncService::stateChanged);
    for (int i = 0; i < 4; ++i) {
        m_service->syncOnMutation();
        QTest::qWait(100);
    }
    m_service->syncOnMutation();
    QElapsedTimer sinceLast;
    sinceLast.start();
    QCOMPARE(cycles(states), 0);
    QTRY_COMPARE_WITH_TIMEOUT(cycles(states), 1, 5000);
    QVERIFY(sinceLast.elapsed() >= 1900);
    QTest::qWait(300);
    QCOMPARE(cycles(states), 1);
    QVERIFY(!m_service->mutationDebounceTimer()->isActive());
}

void TestConfigSyncService::startAutoSyncKeepsCountdown()
{
    m_service->startAutoSync();
    QVERIFY(m_service->autoSyncTimer()->isActive());
    const int remainingAtStart = m_service->autoSyncTimer()->remainingTime();
    QTest::qWait(300);
    m_service->startAutoSync();
    QVERIFY(m_service->autoSyncTimer()->isActive());
    QVERIFY2(m_service->autoSyncTimer()->remainingTime() < remainingAtStart - 200,
             qPrintable(QString::number(m_service->autoSyncTimer()->remainingTime())));
    // Starting the timer does not sync at once.
    QCOMPARE(m_service->state(), ConfigSyncService::Idle);
}

void TestConfigSyncService::stopAutoSyncCancelsPendingMutation()
{
    QSignalSpy states(m_service.get(), &ConfigSyncService::stateChanged);
    m_service->startAutoSync();
    m_service->syncOnMutation();
    m_service->stopAutoSync();
    QVERIFY(!m_service->autoSyncTimer()->isActive());
    QVERIFY(!m_service->mutationDebounceTimer()->isActive());
    QTest::qWait(2300);
    QCOMPARE(states.size(), 0);
}

void TestConfigSyncService::cycleOutcome_data()
{
    QTest::addColumn<QString>("cursorBefore"); // empty: none stored
    QTest::addColumn<int>("pushStatus"); // 0: the fake's own answer
    QTest::addColumn<FakeReply>("pull");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("cursor");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("unsavedBefore"); // the cycle before could not save what it pulled

    const auto pull = [](const QJsonValue &timestamp) {
        QJsonObject body {{QStringLiteral("changes"), QJsonArray()}};
        if (!timestamp.isUndefined())
            body.insert(QStringLiteral("timestamp"), timestamp);
        return FakeReply::json(200, body);
    };
    const auto row = [](const char *name, const char *cursorBefore, int pushStatus,
                        const FakeReply &reply, const char *states, const char *cursor,
                        const char *order = "GET POST", bool unsavedBefore = false) {
        QTest::newRow(name) << QString::fromLatin1(cursorBefore) << pushStatus << reply
                            << QString::fromLatin1(states) << QString::fromLatin1(cursor)
                            << QString::fromLatin1(order) << unsavedBefore;
    };
    const FakeReply dropped = FakeReply::dropped();
    row("number cursor truncated", "1", 0, pull(12.9), "Syncing Idle", "12");
    row("text cursor kept as sent", "1", 0, pull(QStringLiteral("c-9")), "Syncing Idle", "c-9");
    row("no cursor in the reply: the old one stays", "1", 0, pull(QJsonValue::Undefined),
        "Syncing Idle", "1");
    row("push refused after the pull", "1", 401, pull(3), "Syncing SignInRequired", "3");
    row("push failed after the pull", "1", 500, pull(4), "Syncing Failed", "4");
    // The push that follows a failed pull does not hide the failure.
    row("pull without network, push still runs", "1", 0, dropped, "Syncing Failed", "1");
    row("pull refused", "1", 0, FakeReply::json(401, QJsonObject()), "Syncing SignInRequired", "1");
    row("a new device pulls before it pushes", "", 0, pull(5), "Syncing Idle", "5");
    row("a new device's push refused after its pull", "", 401, pull(5), "Syncing SignInRequired",
        "5");
    // What it holds may be older than the bucket: only a pull it saved lets it push.
    row("pull without network after a pull not saved", "1", 0, dropped, "Syncing Failed", "1",
        "GET", true);
    row("a new device without network sends nothing", "", 0, dropped, "Syncing Failed", "<absent>",
        "GET");
}

void TestConfigSyncService::cycleOutcome()
{
    QFETCH(QString, cursorBefore);
    QFETCH(int, pushStatus);
    QFETCH(FakeReply, pull);
    QFETCH(QString, states);
    QFETCH(QString, cursor);
    QFETCH(QString, order);
    QFETCH(bool, unsavedBefore);
    if (!cursorBefore.isEmpty())
        QVERIFY((*m_state)->preferences()->set(Prefs::ConfigSyncSince, cursorBefore));
    if (unsavedBefore) {
        QSqlQuery store((*m_state)->database()->connection());
        QVERIFY(store.exec(QStringLiteral("PRAGMA query_only = ON")));
        pullReturns({}, 9);
        QVERIFY(runCycle());
        QVERIFY(store.exec(QStringLiteral("PRAGMA query_only = OFF")));
        m_cloud->server().clearRequests();
    }
    if (pushStatus != 0)
        m_cloud->failRequests("POST", QStringLiteral("/sync/push"),
                              FakeReply::json(pushStatus, QJsonObject()));
    // A dropped connection is retried once by the network layer itself.
    m_cloud->failRequests("GET", QStringLiteral("/sync/pull"), pull, 0, 2);
    QSignalSpy changes(m_service.get(), &ConfigSyncService::stateChanged);
    QVERIFY(runCycle());
    QCOMPARE(stateNames(changes), states);
    QCOMPARE(m_service->failureReason().isEmpty(), m_service->state() == ConfigSyncService::Idle);
    QCOMPARE(
        (*m_state)->preferences()->get(Prefs::ConfigSyncSince).value_or(QStringLiteral("<absent>")),
        cursor);
    // The retry of a dropped request counts once.
    QStringList sent;
    for (const LarkTest::RecordedRequest &request : m_cloud->server().requests()) {
        if (sent.isEmpty() || sent.constLast() != QString::fromLatin1(request.method))
            sent << QString::fromLatin1(request.method);
    }
    QCOMPARE(sent.join(QLatin1Char(' ')), order);
    if (!cursorBefore.isEmpty())
        QCOMPARE(
            m_cloud->server().requests().constFirst().query.queryItemValue(QStringLiteral("since")),
            cursorBefore);
}

// One store holding a row of every kind the bucket carries, all written at T.
void TestConfigSyncService::fillStore()
{
    AppState *state = m_state->get();
    auto account = [](const char *id, const char *type, const char *name) {
        Account a;
        a.id = QString::fromLatin1(id);
        a.type = QString::fromLatin1(type);
        a.name = QString::fromLatin1(name);
        a.server_url = QStringLiteral("https://dav.example/");
        a.username = QStringLiteral("alice");
        a.created_at = a.updated_at = T;
        return a;
    };
    QVERIFY(state->accounts()->insert(account("dav", "caldav", "Work server")));
    Account excluded = account("dav-excl", "caldav", "Hidden");
    excluded.exclude_from_sync = true;
    QVERIFY(state->accounts()->insert(excluded));
    QVERIFY(state->accounts()->insert(account("dav-gone", "zoho", "Gone")));
    QVERIFY(state->accounts()->remove(QStringLiteral("dav-gone")));
    Account google = account("g-1", "google", "Mine");
    google.username = QStringLiteral("me@example.com");
    google.color = QStringLiteral("#00AA00");
    QVERIFY(state->accounts()->insert(google));
    QVERIFY(state->accounts()->insert(account("feeds", "webcal", "Feeds")));
    const std::unique_ptr<LarkAccount::TokenStore> secrets
        = LarkAccount::createTokenStore(applicationIdentifier());
    for (const char *id : {"dav", "dav-excl", "dav-gone"})
        QVERIFY(secrets->set(caldavPasswordKey(QString::fromLatin1(id)), QStringLiteral("s3cret")));

    auto calendar = [](const char *id, const char *accountId, const QString &url) {
        Calendar c;
        c.id = QString::fromLatin1(id);
        c.account_id = QString::fromLatin1(accountId);
        c.url = url;
        c.name = c.id;
        c.color = QStringLiteral("#112233");
        c.sort_order = 2;
        c.created_at = c.updated_at = T;
        return c;
    };
    Calendar work = calendar("cal-work", "dav", workUrl);
    work.canonical_key = workKey();
    QVERIFY(state->calendars()->insert(work));
    QVERIFY(state->calendars()->insert(
        calendar("cal-nokey", "dav", QStringLiteral("https://dav.example/x/"))));
    Calendar hidden = calendar("cal-excl", "dav-excl", QStringLiteral("https://dav.example/h/"));
    hidden.canonical_key = QString(64, QLatin1Char('a'));
    QVERIFY(state->calendars()->insert(hidden));
    QVERIFY(state->calendars()->insert(
        calendar("cal-feed", "feeds", QStringLiteral("https://feeds.example/h.ics"))));

    FilterRule keyed;
    keyed.id = QStringLiteral("r-keys");
    keyed.name = QStringLiteral("Lunch");
    keyed.type = QStringLiteral("pattern");
    keyed.calendar_ids = QStringLiteral(R"(["cal-work","cal-nokey","nowhere","%1"])").arg(otherKey);
    keyed.conditions = QStringLiteral(R"({"runtimeType":"pattern","pattern":"lunch"})");
    keyed.event_calendar_id = QStringLiteral("cal-nokey");
    keyed.created_at = keyed.updated_at = T;
    QVERIFY(state->filterRules()->insert(keyed));
    FilterRule bare;
    bare.id = QStringLiteral("r-bare");
    bare.name = QStringLiteral("One event");
    bare.type = QStringLiteral("specific");
    bare.enabled = false;
    bare.action = QStringLiteral("dim");
    bare.priority = 5;
    bare.calendar_ids = QStringLiteral(R"(["cal-nokey"])");
    bare.conditions = QStringLiteral("not json");
    bare.event_uid = QStringLiteral("uid-1");
    bare.event_calendar_id = QStringLiteral("cal-work");
    bare.suppress_reminders = true;
    bare.created_at = bare.updated_at = T;
    QVERIFY(state->filterRules()->insert(bare));

    CalendarView group;
    group.id = QStringLiteral("v-1");
    group.name = QStringLiteral("Side");
    group.color = QStringLiteral("#445566");
    group.calendar_ids = QStringLiteral(R"(["cal-nokey"])");
    group.sort_order = 3;
    group.created_at = group.updated_at = T;
    QVERIFY(state->views()->insert(group));

    EventTemplate t;
    t.id = QStringLiteral("t-1");
    t.name = QStringLiteral("Standup");
    t.title = QStringLiteral("Daily standup");
    t.duration_minutes = 15;
    t.recurrence_rule = QStringLiteral("FREQ=DAILY");
    t.calendar_id = QStringLiteral("cal-nokey");
    t.reminders = {15, 5};
    t.created_at = T;
    QVERIFY(state->templates()->insert(t));
    QVERIFY(state->preferences()->setInt(Prefs::WeekStartDay, 7));
    QVERIFY(state->preferences()->set(Prefs::WeekStartDayChangedAt,
                                      QString::number(T.toMSecsSinceEpoch())));
}

void TestConfigSyncService::bucketRecords_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("identity");
    QTest::addColumn<bool>("secureTransport");
    QTest::addColumn<QString>("expected"); // empty: no such record; %T the time, %W the key

    QTest::newRow("rule: keys of known calendars and kept keys")
        << "filter_rules"
        << "r-keys" << true
        << R"({"id":"r-keys","name":"Lunch","type":"pattern","action":"hide","enabled":true,
               "priority":100,"conditions":{"runtimeType":"pattern","pattern":"lunch"},
               "calendar_keys":["%W","%K"],"suppress_reminders":false,
               "created_at":%T,"updated_at":%T})";
    QTest::newRow("rule: no keys, unreadable conditions, one event")
        << "filter_rules"
        << "r-bare" << true
        << R"({"id":"r-bare","name":"One event","type":"specific","action":"dim",
               "enabled":false,"priority":5,"conditions":{},"event_uid":"uid-1",
               "event_calendar_key":"%W","suppress_reminders":true,
               "created_at":%T,"updated_at":%T})";
    QTest::newRow("group: keys always present")
        << "calendar_views"
        << "v-1" << true << R"({"id":"v-1","name":"Side","color":"#445566","calendar_keys":[],
               "is_default":false,"sort_order":3,"created_at":%T,"updated_at":%T})";
    QTest::newRow("built-in group never travels") << "calendar_views"
                                                  << "all-calendars" << true << "";
    QTest::newRow("template: calendar without key")
        << "event_templates"
        << "t-1" << true
        << R"({"id":"t-1","name":"Standup","title":"Daily standup","description":"",
               "location":"","color":"","is_all_day":false,"duration_minutes":15,
               "recurrence_rule":"FREQ=DAILY","calendar_key":null,"reminders":[15,5],
               "sort_order":0,"created_at":%T,"updated_at":%T})";
    const QString dav = QStringLiteral(
        R"({"id":"dav","account_type":"caldav","server_url":"https://dav.example/",
            "username":"alice","display_name":"Work server","calendar_home_set":"",
            "principal_url":"","sync_interval_minutes":15,"color":"#4285F4",
            "exclude_from_sync":false,"password":%P,"created_at":%T,"updated_at":%T})");
    QTest::newRow("caldav account with its password")
        << "caldav_accounts"
        << "dav" << true
        << QString(dav).replace(QStringLiteral("%P"), QStringLiteral("\"s3cret\""));
    QTest::newRow("no password over plain http to another host")
        << "caldav_accounts"
        << "dav" << false << QString(dav).replace(QStringLiteral("%P"), QStringLiteral("null"));
    QTest::newRow("excluded account: no password")
        << "caldav_accounts"
        << "dav-excl" << true
        << R"({"id":"dav-excl","account_type":"caldav","server_url":"https://dav.example/",
               "username":"alice","display_name":"Hidden","calendar_home_set":"",
               "principal_url":"","sync_interval_minutes":15,"color":"#4285F4",
               "exclude_from_sync":true,"password":null,"created_at":%T,"updated_at":%T})";
    QTest::newRow("account tombstone")
        << "caldav_accounts"
        << "dav-gone" << true
        << R"({"id":"dav-gone","account_type":"zoho","server_url":"https://dav.example/",
               "username":"alice","display_name":"Gone","calendar_home_set":"",
               "principal_url":"","sync_interval_minutes":15,"color":"#4285F4",
               "exclude_from_sync":false,"password":null,"created_at":%T,"updated_at":%T,
               "deleted_at":%T})";
    QTest::newRow("oauth account")
        << "oauth_accounts"
        << "g-1" << true << R"({"id":"g-1","provider":"google","user_email":"me@example.com",
               "display_name":"Mine","color":"#00AA00","exclude_from_sync":false,
               "created_at":%T,"updated_at":%T})";
    QTest::newRow("webcal subscription")
        << "caldav_accounts"
        << "webcal-calendar-cal-feed" << true
        << R"({"id":"webcal-calendar-cal-feed","account_type":"webcal_calendar",
               "server_url":"https://feeds.example/h.ics","username":null,
               "display_name":"cal-feed","calendar_home_set":null,"principal_url":null,
               "sync_interval_minutes":15,"color":"#112233","exclude_from_sync":false,
               "password":null,"created_at":%T,"updated_at":%T})";
    QTest::newRow("calendar preferences")
        << "calendar_preferences"
        << "%W" << true << R"({"canonical_key":"%W","is_visible":true,"color_override":"#112233",
               "display_name_override":"cal-work","sort_order":2,"sync_enabled":false,
               "account_id":"dav","calendar_url":"https://dav.example/alice/work/",
               "provider":"caldav","created_at":%T,"updated_at":%T})";
    QTest::newRow("preferences of an excluded account stay here")
        << "calendar_preferences" << QString(64, QLatin1Char('a')) << true << "";
    QTest::newRow("first day of the week")
        << "initial_settings"
        << "ui/weekStartDay" << true
        << R"({"key":"ui/weekStartDay","value":"7","type":"int","updated_at":%T})";
}

void TestConfigSyncService::bucketRecords()
{
    QFETCH(QString, type);
    QFETCH(QString, identity);
    QFETCH(bool, secureTransport);
    QFETCH(QString, expected);
    fillStore();
    if (!secureTransport)
        m_api->setBaseUrl(QUrl(QStringLiteral("http://sync.example/calendar/v1")));
    identity.replace(QStringLiteral("%W"), workKey());

    const ConfigSyncService::Bucket bucket = m_service->buildBucket();
    QList<QJsonObject> found;
    for (const QJsonValue &change : bucket.changes) {
        const QJsonObject data = change[QStringLiteral("data")].toObject();
        const QString id = type == QLatin1String("calendar_preferences")
            ? data[QStringLiteral("canonical_key")].toString()
            : data.value(type == QLatin1String("initial_settings") ? QStringLiteral("key")
                                                                   : QStringLiteral("id"))
                  .toString();
        if (change[QStringLiteral("type")].toString() == type && id == identity)
            found << data;
    }
    QCOMPARE(bucket.accountTombstones, QStringList {QStringLiteral("dav-gone")});
    if (expected.isEmpty()) {
        QVERIFY(found.isEmpty());
        return;
    }
    QCOMPARE(found.size(), 1);
    const QString ms = QString::number(T.toMSecsSinceEpoch());
    expected.replace(QStringLiteral("%T"), ms)
        .replace(QStringLiteral("%W"), workKey())
        .replace(QStringLiteral("%K"), otherKey);
    const QJsonObject want = json(expected);
    QVERIFY2(!want.isEmpty(), qPrintable(expected));
    QCOMPARE(QJsonDocument(found.first()).toJson(QJsonDocument::Compact),
             QJsonDocument(want).toJson(QJsonDocument::Compact));
}

void TestConfigSyncService::pulledRuleAgainstLocal_data()
{
    QTest::addColumn<QString>("kind"); // "rule", or "calendar" for a calendar's preferences
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("updatedMs"); // relative to T
    QTest::addColumn<bool>("tombstone");
    QTest::addColumn<QString>("nameAfter"); // empty: the row is gone
    QTest::addColumn<int>("updatedAfterSecs");
    QTest::addColumn<int>("announced");

    QTest::newRow("same rule, later time: nothing written")
        << "rule"
        << "Local" << 60000 << false << "Local" << 0 << 0;
    QTest::newRow("later edit wins, keeping its time")
        << "rule"
        << "Theirs" << 60000 << false << "Theirs" << 60 << 1;
    QTest::newRow("earlier edit loses") << "rule"
                                        << "Theirs" << -60000 << false << "Local" << 0 << 0;
    // Of equal times the pulled copy, the one the cloud holds, wins whatever it says.
    QTest::newRow("same time: the pulled copy, though the smaller")
        << "rule"
        << "Alpha" << 0 << false << "Alpha" << 0 << 1;
    QTest::newRow("later in the same second: the pulled copy")
        << "rule"
        << "Alpha" << 900 << false << "Alpha" << 0 << 1;
    QTest::newRow("tombstone deletes") << "rule"
                                       << "Local" << -60000 << true << "" << 0 << 1;
    QTest::newRow("calendar: later choice wins")
        << "calendar"
        << "Theirs" << 60000 << false << "Theirs" << 60 << 1;
    QTest::newRow("calendar: earlier choice loses")
        << "calendar"
        << "Theirs" << -60000 << false << "Local" << 0 << 0;
    QTest::newRow("calendar: same time, the pulled name")
        << "calendar"
        << "Alpha" << 0 << false << "Alpha" << 0 << 1;
}

void TestConfigSyncService::pulledRuleAgainstLocal()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(int, updatedMs);
    QFETCH(bool, tombstone);
    QFETCH(QString, nameAfter);
    QFETCH(int, updatedAfterSecs);
    QFETCH(int, announced);
    if (kind == QLatin1String("calendar")) {
        // Renamed here at T, as the user does.
        CalendarRepository *calendars = (*m_state)->calendars();
        Calendar local = *calendars->byId(kPersonalCalendarId);
        local.name = QStringLiteral("Local");
        QVERIFY(calendars->update(local));
        local = *calendars->byId(kPersonalCalendarId);
        QJsonObject record = Larkspindle::ConfigRecords::calendarPreferenceRecord(
            local, (*m_state)->accounts()->byId(local.account_id), T);
        record.insert(QStringLiteral("display_name_override"), name);
        record.insert(QStringLiteral("updated_at"), T.addMSecs(updatedMs).toMSecsSinceEpoch());
        pullReturns({QJsonObject {{QStringLiteral("type"), QStringLiteral("calendar_preferences")},
                                  {QStringLiteral("data"), record}}});
        QSignalSpy changed(calendars, &CalendarRepository::calendarsChanged);
        QVERIFY(runCycle());
        QCOMPARE(changed.size(), announced);
        const Calendar after = *calendars->byId(kPersonalCalendarId);
        QCOMPARE(after.name, nameAfter);
        QCOMPARE(after.preferences_changed_at, std::optional(T.addSecs(updatedAfterSecs)));
        return;
    }
    FilterRule local;
    local.id = QStringLiteral("r-1");
    local.name = QStringLiteral("Local");
    local.type = QStringLiteral("allDay");
    local.conditions = QStringLiteral(R"({"runtimeType":"allDay"})");
    local.created_at = local.updated_at = T;
    QVERIFY((*m_state)->filterRules()->insert(local));
    QJsonObject record = Larkspindle::ConfigRecords::filterRuleRecord(local, {}, T);
    record.insert(QStringLiteral("name"), name);
    record.insert(QStringLiteral("updated_at"), T.addMSecs(updatedMs).toMSecsSinceEpoch());
    if (tombstone)
        record.insert(QStringLiteral("deleted_at"), T.toMSecsSinceEpoch());
    pullReturns({QJsonObject {{QStringLiteral("type"), QStringLiteral("filter_rules")},
                              {QStringLiteral("data"), record}}});

    QSignalSpy rulesChanged((*m_state)->filterRules(), &FilterRuleRepository::filterRulesChanged);
    QVERIFY(runCycle());
    QCOMPARE(m_service->state(), ConfigSyncService::Idle);
    QCOMPARE(rulesChanged.size(), announced);
    const std::optional<FilterRule> after = (*m_state)->filterRules()->byId(local.id);
    QCOMPARE(after.has_value(), !nameAfter.isEmpty());
    if (nameAfter.isEmpty())
        return;
    QCOMPARE(after->name, nameAfter);
    QCOMPARE(after->updated_at, T.addSecs(updatedAfterSecs));
}

// A group naming a calendar this device does not have keeps the key in its place, sends it on,
// and takes the calendar once it is here.
void TestConfigSyncService::unknownCalendarKeysWaitForTheirCalendar()
{
    AppState *state = m_state->get();
    const QString personalKey = state->calendars()->byId(kPersonalCalendarId)->canonical_key;
    const QJsonObject group {{QStringLiteral("id"), QStringLiteral("g-1")},
                             {QStringLiteral("name"), QStringLiteral("Both")},
                             {QStringLiteral("calendar_keys"), QJsonArray {personalKey, workKey()}},
                             {QStringLiteral("updated_at"), double(T.toMSecsSinceEpoch())}};
    pullReturns({QJsonObject {{QStringLiteral("type"), QStringLiteral("calendar_views")},
                              {QStringLiteral("data"), group}}});
    QVERIFY(runCycle());
    QCOMPARE(jsonTextList(state->views()->byId(QStringLiteral("g-1"))->calendar_ids),
             (QStringList {kPersonalCalendarId, workKey()}));
    QJsonArray sent;
    for (const QJsonValue &change : m_service->buildBucket().changes) {
        if (change[QStringLiteral("data")][QStringLiteral("id")] == QStringLiteral("g-1"))
            sent = change[QStringLiteral("data")][QStringLiteral("calendar_keys")].toArray();
    }
    QCOMPARE(sent, (QJsonArray {personalKey, workKey()}));

    const Account dav = davAccount();
    QVERIFY(state->accounts()->insert(dav));
    const Calendar work = workCalendar();
    QVERIFY(state->calendars()->insert(work));
    QVERIFY(runCycle());
    const CalendarView after = *state->views()->byId(QStringLiteral("g-1"));
    QCOMPARE(jsonTextList(after.calendar_ids), (QStringList {kPersonalCalendarId, work.id}));
    QCOMPARE(after.updated_at, T); // nobody edited it
}

// An account deleted here goes for good once the cloud has its tombstone, and its calendars,
// events and tasks with it, which the store's foreign keys would otherwise refuse.
void TestConfigSyncService::pushedAccountTombstoneTakesItsCalendars()
{
    AppState *state = m_state->get();
    const Account dav = davAccount();
    QVERIFY(state->accounts()->insert(dav));
    const Calendar work = workCalendar();
    QVERIFY(state->calendars()->insert(work));
    Event meeting = CloudTest::localEvent(
        work.id, {QStringLiteral("ev-1"), QString(), QStringLiteral("Planning"), T, QString(), {}});
    meeting.reminders = {Reminder {QString(), meeting.id, QString(), 10, QStringLiteral("display"),
                                   false, std::nullopt}};
    QVERIFY(state->events()->insert(meeting));
    const Task errand
        = CloudTest::localTask(work.id, QStringLiteral("task-1"), QStringLiteral("Return keys"));
    QVERIFY(state->tasks()->insert(errand));
    QVERIFY(state->accounts()->remove(dav.id));
    m_cloud->failRequests("POST", QStringLiteral("/sync/push"), FakeReply::json(500, {}));

    QVERIFY(runCycle()); // not accepted: everything stays
    QVERIFY(state->calendars()->byId(work.id));
    QVERIFY(runCycle());
    const QList<Account> all = state->accounts()->listAll();
    QVERIFY(
        std::none_of(all.cbegin(), all.cend(), [&](const Account &a) { return a.id == dav.id; }));
    QVERIFY(!state->calendars()->byId(work.id));
    QVERIFY(!state->events()->byId(meeting.id));
    QVERIFY(!state->tasks()->byId(errand.id));
    QVERIFY(state->calendars()->byId(kPersonalCalendarId));
}

QTEST_MAIN(TestConfigSyncService)
#include "tst_ConfigSyncService.moc"
