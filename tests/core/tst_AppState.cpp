#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "platform/TokenStore.h"
#include "services/account/ApiClient.h"
#include "services/account/AuthClient.h"
#include "services/account/Client.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferencesRepository.h"
#include "storage/ViewRepository.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <memory>

using LarkTest::FakeReply;

namespace {

const QDate today(2026, 3, 2);
const QString personalId = QStringLiteral("larkspindle-personal-default");
const QString localAccountId = QStringLiteral("personal-local-account");
// SHA-256 of "larkspindle:larkspindle-personal-default".
const QString personalKey
    = QStringLiteral("7cd79fa9795103f026aea7051804cb297260ef6cdea77d112262d66a45bcee7a");

// An unsigned token that stays valid until 2033; the client never checks signatures.
QString storedAccessToken()
{
    const auto b64 = [](const QByteArray &b) {
        return b.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    };
    return QString::fromLatin1(b64(R"({"alg":"none"})") + '.'
                               + b64(R"({"exp":2000000000,"sub":"user-1"})") + ".c2ln");
}

Account account(const char *id, const char *type, const char *username = "")
{
    Account a;
    a.id = QString::fromUtf8(id);
    a.name = a.id;
    a.type = QString::fromUtf8(type);
    a.username = QString::fromUtf8(username);
    a.created_at = QDateTime(today, QTime(7, 0), Qt::UTC);
    a.updated_at = a.created_at;
    return a;
}

Calendar calendar(const char *id, const char *accountId)
{
    Calendar c;
    c.id = QString::fromUtf8(id);
    c.account_id = QString::fromUtf8(accountId);
    c.url = QStringLiteral("https://dav.example/") + c.id;
    c.name = c.id;
    c.created_at = QDateTime(today, QTime(7, 0), Qt::UTC);
    c.updated_at = c.created_at;
    return c;
}

FilterRule hideRule()
{
    FilterRule rule;
    rule.id = QStringLiteral("r1");
    rule.name = QStringLiteral("Hide lunch");
    rule.type = QStringLiteral("title");
    rule.conditions = QStringLiteral("[]");
    rule.created_at = QDateTime(today, QTime(8, 0), Qt::UTC);
    rule.updated_at = rule.created_at;
    return rule;
}

CalendarView group(const char *id, int sortOrder)
{
    CalendarView v;
    v.id = QString::fromUtf8(id);
    v.name = v.id;
    v.sort_order = sortOrder;
    v.created_at = QDateTime(today, QTime(7, 0), Qt::UTC);
    v.updated_at = v.created_at;
    return v;
}

} // namespace

class TestAppState : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstStartSeedsPersonalCalendar();
    void noSeedWhenALocalCalendarExists_data();
    void noSeedWhenALocalCalendarExists();
    void storedViewStateIsNormalised_data();
    void storedViewStateIsNormalised();
    void activeGroupFallback_data();
    void activeGroupFallback();
    void failedOpenCreatesNothing();

    void settersClampAndPersist();
    void unchangedValueNeitherWritesNorSignals();
    void historyBackAndForward();
    void combinedChangeIsOneStep();
    void invalidDateIgnored();
    void syncBusyNesting();
    void endSyncWithoutSync();
    void density();
    void firstDayOfWeekFromLocale_data();
    void firstDayOfWeekFromLocale();
    void firstDayOfWeekPreference_data();
    void firstDayOfWeekPreference();
    void remoteProviderCalendars();

    void signInPullsCalendarListOnce_data();
    void signInPullsCalendarListOnce();
    void failedPullStillSeedsAndRequestsSync();
    void filterRuleChangeNeedsSignIn_data();
    void filterRuleChangeNeedsSignIn();
    void signOutStopsConfigurationSync();
    void refreshTokenOnlySignsInLater();
    void accountConfigurationFromEnvironment_data();
    void accountConfigurationFromEnvironment();

private:
    // Opens the prepared database file through the state.
    bool start();
    void signIn();
    QString stored(const QString &key) const
    {
        return m_state->preferences()->get(key).value_or(QStringLiteral("<absent>"));
    }

    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeHttpServer> m_server;
    std::unique_ptr<LarkTest::TestDatabase> m_db;
    std::unique_ptr<AppState> m_state;
    LarkTest::TestClock m_clock {QDateTime(today, QTime(8, 0), Qt::UTC)};
    Clock::Override m_pinned {[this] {
        return m_clock.now();
    }};
    // The state's first signals, seen from its start.
    int m_databaseReady = 0;
};

void TestAppState::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_server = std::make_unique<LarkTest::FakeHttpServer>();
    QVERIFY(m_server->listen());
    qputenv("SYNC_API_URL", m_server->url(QStringLiteral("/calendar/v1")).toEncoded());
    m_db = std::make_unique<LarkTest::TestDatabase>();
    QVERIFY(m_db->isValid());
    m_state = std::make_unique<AppState>();
    m_databaseReady = 0;
    connect(m_state.get(), &AppState::databaseReady, this, [this] { ++m_databaseReady; });
}

void TestAppState::cleanup()
{
    m_state.reset();
    m_db.reset();
    m_server.reset();
    m_secrets.reset();
    qunsetenv("SYNC_API_URL");
}

bool TestAppState::start()
{
    m_db->close();
    return m_state->initialize(m_db->path());
}

void TestAppState::signIn()
{
    const std::unique_ptr<LarkAccount::TokenStore> store
        = LarkAccount::createTokenStore(applicationIdentifier());
    QVERIFY(store->set(QStringLiteral("larkspindle_access_token"), storedAccessToken()));
}

void TestAppState::firstStartSeedsPersonalCalendar()
{
    QVERIFY(start());
    QCOMPARE(m_databaseReady, 1);

    const std::optional<Account> local = m_state->accounts()->byId(localAccountId);
    QVERIFY(local);
    QCOMPARE(local->name, QStringLiteral("On This Device"));
    QCOMPARE(local->type, QStringLiteral("larkspindle"));
    QCOMPARE(local->color, QStringLiteral("#4CAF50"));
    QCOMPARE(local->sync_interval_minutes, 0);
    QVERIFY(local->enabled);
    QVERIFY(!local->exclude_from_sync);
    QCOMPARE(local->created_at, QDateTime(today, QTime(8, 0), Qt::UTC));

    const std::optional<Calendar> personal = m_state->calendars()->byId(personalId);
    QVERIFY(personal);
    QCOMPARE(personal->account_id, localAccountId);
    QCOMPARE(personal->url, QStringLiteral("local://calendar/larkspindle-personal-default"));
    QCOMPARE(personal->name, QStringLiteral("Personal"));
    QCOMPARE(personal->color, QStringLiteral("#4285F4"));
    QCOMPARE(personal->timezone, QStringLiteral("UTC"));
    QVERIFY(personal->is_visible);
    QVERIFY(!personal->is_read_only);
    QVERIFY(personal->is_default);
    QVERIFY(!personal->sync_enabled);
    QCOMPARE(personal->canonical_key, personalKey);
    QCOMPARE(personal->supported_components, QStringLiteral("[\"VEVENT\"]"));
    QCOMPARE(m_state->calendars()->listAll().size(), 1);

    // Both are shown in the interface language while they keep the seeded name, stored (and
    // synced) as seeded; a renamed one, or another row of that name, reads as named.
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(":/i18n/calendar_de.qm")));
    QVERIFY(QCoreApplication::installTranslator(&german));
    QCOMPARE(LocalCalendar::displayName(*local), QStringLiteral("Auf diesem Gerät"));
    QCOMPARE(LocalCalendar::displayName(*personal), QStringLiteral("Persönlich"));
    Calendar renamed = *personal;
    renamed.name = QStringLiteral("Family");
    QCOMPARE(LocalCalendar::displayName(renamed), QStringLiteral("Family"));
    Calendar other = *personal;
    other.id = QStringLiteral("another");
    QCOMPARE(LocalCalendar::displayName(other), QStringLiteral("Personal"));
    QVERIFY(QCoreApplication::removeTranslator(&german));

    QCOMPARE(m_state->activeViewId(), QStringLiteral("all-calendars"));
    QCOMPARE(m_state->viewMode(), QStringLiteral("week"));
    QCOMPARE(m_state->currentDate(), today);
    QCOMPARE(m_state->hourHeight(), 56);
    QCOMPARE(m_state->weekHorizon(), 7);
    QCOMPARE(m_state->filterHiddenCount(), -1);
    QVERIFY(m_state->backHistory().isEmpty());
    // Restoring writes nothing back.
    QCOMPARE(stored(QStringLiteral("ui/viewMode")), QStringLiteral("<absent>"));

    // Every service is there, and without configured addresses nothing was sent.
    QVERIFY(m_state->tasks() && m_state->views() && m_state->filterRules() && m_state->templates());
    QVERIFY(m_state->themeManager() && m_state->undoStack() && m_state->weather());
    QVERIFY(m_state->syncQueue() && m_state->configSync());
    QVERIFY(m_state->invitations() && m_state->accountClient());
    QCOMPARE(m_state->configSync()->state(), Larkspindle::ConfigSyncService::Idle);
    QTest::qWait(50);
    QCOMPARE(m_server->requestCount(), 0);

    // A second pass finds both rows and adds nothing.
    m_state->ensurePersonalLocalCalendar();
    QCOMPARE(m_state->accounts()->listAll().size(), 1);
    QCOMPARE(m_state->calendars()->listAll().size(), 1);
}

void TestAppState::noSeedWhenALocalCalendarExists_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("seeded");
    QTest::newRow("another on-device calendar") << "larkspindle" << false;
    QTest::newRow("only a CalDAV calendar") << "caldav" << true;
}

void TestAppState::noSeedWhenALocalCalendarExists()
{
    QFETCH(QString, type);
    QFETCH(bool, seeded);
    AccountRepository accounts(m_db->db());
    CalendarRepository calendars(m_db->db());
    QVERIFY(accounts.insert(account("acc", type.toUtf8().constData())));
    QVERIFY(calendars.insert(calendar("work", "acc")));
    QVERIFY(start());
    QCOMPARE(m_state->calendars()->byId(personalId).has_value(), seeded);
    QCOMPARE(m_state->accounts()->byId(localAccountId).has_value(), seeded);
}

void TestAppState::storedViewStateIsNormalised_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("horizon");
    QTest::addColumn<QString>("expectedMode");
    QTest::addColumn<int>("expectedHour");
    QTest::addColumn<int>("expectedHorizon");
    QTest::newRow("list, too tall, too narrow") << "list"
                                                << "300"
                                                << "1"
                                                << "week" << 200 << 2;
    QTest::newRow("agenda, too short, too wide") << "agenda"
                                                 << "10"
                                                 << "40"
                                                 << "week" << 56 << 21;
    QTest::newRow("month kept, values in range") << "month"
                                                 << "120"
                                                 << "14"
                                                 << "month" << 120 << 14;
    QTest::newRow("not numbers") << "day"
                                 << "tall"
                                 << ""
                                 << "day" << 56 << 7;
}

void TestAppState::storedViewStateIsNormalised()
{
    QFETCH(QString, mode);
    QFETCH(QString, hour);
    QFETCH(QString, horizon);
    QFETCH(QString, expectedMode);
    QFETCH(int, expectedHour);
    QFETCH(int, expectedHorizon);
    {
        PreferencesRepository prefs(m_db->db());
        QVERIFY(prefs.set(QStringLiteral("ui/viewMode"), mode));
        QVERIFY(prefs.set(QStringLiteral("ui/timelineHourHeight"), hour));
        QVERIFY(prefs.set(QStringLiteral("ui/weekHorizon"), horizon));
        QVERIFY(prefs.set(QStringLiteral("ui/viewDate"), QStringLiteral("2020-01-01")));
    }
    QSignalSpy modeSpy(m_state.get(), &AppState::viewModeChanged);
    QVERIFY(start());
    QCOMPARE(m_state->viewMode(), expectedMode);
    QCOMPARE(m_state->hourHeight(), expectedHour);
    QCOMPARE(m_state->weekHorizon(), expectedHorizon);
    QCOMPARE(m_state->currentDate(), today); // the stored date is not read
    QCOMPARE(modeSpy.size(), 0);
    QVERIFY(m_state->backHistory().isEmpty());
}

void TestAppState::activeGroupFallback_data()
{
    QTest::addColumn<QString>("storedId");
    QTest::addColumn<bool>("keepBuiltIn");
    QTest::addColumn<QString>("expected");
    QTest::newRow("stored group exists") << "team" << true << "team";
    QTest::newRow("stored group gone") << "gone" << true << "all-calendars";
    QTest::newRow("stored group gone, default removed") << "gone" << false << "family";
    QTest::newRow("only marked deleted stays") << "old" << true << "old";
    QTest::newRow("nothing stored") << "" << true << "all-calendars";
}

void TestAppState::activeGroupFallback()
{
    QFETCH(QString, storedId);
    QFETCH(bool, keepBuiltIn);
    QFETCH(QString, expected);
    {
        ViewRepository views(m_db->db());
        QVERIFY(views.insert(group("team", 20)));
        QVERIFY(views.insert(group("family", 10)));
        QVERIFY(views.insert(group("old", 5)));
        QVERIFY(views.remove(QStringLiteral("old")));
        if (!keepBuiltIn)
            QVERIFY(views.hardDelete(QStringLiteral("all-calendars")));
        PreferencesRepository prefs(m_db->db());
        if (!storedId.isEmpty())
            QVERIFY(prefs.set(QStringLiteral("ui/activeViewId"), storedId));
    }
    QVERIFY(start());
    QCOMPARE(m_state->activeViewId(), expected);
    // The fallback is not written back.
    QCOMPARE(stored(QStringLiteral("ui/activeViewId")),
             storedId.isEmpty() ? QStringLiteral("<absent>") : storedId);
}

void TestAppState::failedOpenCreatesNothing()
{
    // A path below a regular file cannot be opened.
    const QString blocked = m_db->path() + QStringLiteral("/inside/calendar.db");
    m_db->close();
    QVERIFY(!m_state->initialize(blocked));
    QVERIFY(m_state->database());
    QVERIFY(!m_state->preferences());
    QVERIFY(!m_state->accountClient());
    QCOMPARE(m_databaseReady, 0);
    // The checks that tolerate a missing store still answer.
    QCOMPARE(m_state->density(QStringLiteral("week")), QStringLiteral("comfortable"));
    QVERIFY(m_state->remoteProviderCalendarIds().isEmpty());
}

void TestAppState::settersClampAndPersist()
{
    QVERIFY(start());
    QSignalSpy hour(m_state.get(), &AppState::hourHeightChanged);
    QSignalSpy horizon(m_state.get(), &AppState::weekHorizonChanged);

    m_state->setHourHeight(500);
    QCOMPARE(m_state->hourHeight(), 200);
    QCOMPARE(stored(QStringLiteral("ui/timelineHourHeight")), QStringLiteral("200"));
    m_state->setHourHeight(30);
    QCOMPARE(m_state->hourHeight(), 56);
    QCOMPARE(hour.size(), 2);
    QCOMPARE(hour.last().first().toInt(), 56);

    m_state->setWeekHorizon(1);
    QCOMPARE(m_state->weekHorizon(), 2);
    m_state->setWeekHorizon(40);
    QCOMPARE(m_state->weekHorizon(), 21);
    QCOMPARE(stored(QStringLiteral("ui/weekHorizon")), QStringLiteral("21"));
    QCOMPARE(horizon.size(), 2);

    m_state->setCurrentDate(QDate(2026, 4, 5));
    QCOMPARE(stored(QStringLiteral("ui/viewDate")), QStringLiteral("2026-04-05"));
    m_state->setActiveViewId(QStringLiteral("team"));
    QCOMPARE(stored(QStringLiteral("ui/activeViewId")), QStringLiteral("team"));

    QSignalSpy selected(m_state.get(), &AppState::selectedEventChanged);
    QSignalSpy hidden(m_state.get(), &AppState::filterHiddenCountChanged);
    m_state->setSelectedEventId(QStringLiteral("e1"));
    m_state->setFilterHiddenCount(3);
    m_state->setFilterHiddenCount(3);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(hidden.size(), 1);
    QCOMPARE(m_state->filterHiddenCount(), 3);
}

void TestAppState::unchangedValueNeitherWritesNorSignals()
{
    QVERIFY(start());
    m_state->setHourHeight(80);
    QSignalSpy written(m_state->preferences(), &PreferencesRepository::changed);
    QSignalSpy hour(m_state.get(), &AppState::hourHeightChanged);
    QSignalSpy mode(m_state.get(), &AppState::viewModeChanged);
    QSignalSpy active(m_state.get(), &AppState::activeViewChanged);

    m_state->setHourHeight(80);
    m_state->setViewMode(QStringLiteral("agenda")); // is "week", which is shown already
    m_state->setActiveViewId(m_state->activeViewId());
    m_state->setCurrentDate(today);
    m_state->setWeekHorizon(7);

    QCOMPARE(written.size(), 0);
    QCOMPARE(hour.size(), 0);
    QCOMPARE(mode.size(), 0);
    QCOMPARE(active.size(), 0);
    QVERIFY(m_state->backHistory().isEmpty());
}

void TestAppState::historyBackAndForward()
{
    QVERIFY(start());
    const QDate d0 = today;
    const QDate d1(2026, 3, 20);
    m_state->setCurrentDate(d1);
    m_state->setViewMode(QStringLiteral("month"));
    QCOMPARE(m_state->backHistory().size(), 2);

    QSignalSpy order(m_state.get(), &AppState::viewModeChanged);
    QSignalSpy dates(m_state.get(), &AppState::currentDateChanged);
    m_state->goBack();
    QCOMPARE(m_state->viewMode(), QStringLiteral("week"));
    QCOMPARE(m_state->currentDate(), d1);
    QCOMPARE(dates.size(), 0);
    m_state->goBack();
    QCOMPARE(m_state->viewMode(), QStringLiteral("week"));
    QCOMPARE(m_state->currentDate(), d0);
    QVERIFY(m_state->backHistory().isEmpty());
    QCOMPARE(m_state->forwardHistory().size(), 2);
    m_state->goBack(); // nothing left
    QCOMPARE(m_state->currentDate(), d0);

    m_state->goForward();
    QCOMPARE(m_state->currentDate(), d1);
    QCOMPARE(m_state->viewMode(), QStringLiteral("week"));
    m_state->goForward();
    QCOMPARE(m_state->viewMode(), QStringLiteral("month"));
    QCOMPARE(m_state->backHistory().size(), 2);
    QVERIFY(m_state->forwardHistory().isEmpty());

    // Horizon steps are part of the history too; a new change after going back ends the
    // forward list.
    m_state->setWeekHorizon(10);
    m_state->goBack();
    QCOMPARE(m_state->weekHorizon(), 7);
    QCOMPARE(m_state->forwardHistory().size(), 1);
    m_state->setViewMode(QStringLiteral("year"));
    QVERIFY(m_state->forwardHistory().isEmpty());
}

void TestAppState::combinedChangeIsOneStep()
{
    QVERIFY(start());
    QStringList order;
    connect(m_state.get(), &AppState::currentDateChanged, this,
            [&order] { order << QStringLiteral("date"); });
    connect(m_state.get(), &AppState::viewModeChanged, this,
            [&order] { order << QStringLiteral("mode"); });

    m_state->setViewModeAndDate(QStringLiteral("day"), QDate(2026, 5, 1));
    QCOMPARE(order, QStringList({QStringLiteral("date"), QStringLiteral("mode")}));
    QCOMPARE(m_state->backHistory().size(), 1);

    m_state->goBack();
    QCOMPARE(m_state->viewMode(), QStringLiteral("week"));
    QCOMPARE(m_state->currentDate(), today);

    // "list" maps to the mode in use and the date is the same: nothing to do.
    m_state->setViewModeAndDate(QStringLiteral("list"), today);
    QCOMPARE(m_state->backHistory().size(), 0);
}

void TestAppState::invalidDateIgnored()
{
    QVERIFY(start());
    QSignalSpy dates(m_state.get(), &AppState::currentDateChanged);
    m_state->setCurrentDate(QDate());
    QCOMPARE(m_state->currentDate(), today);

    m_state->setViewModeAndDate(QStringLiteral("month"), QDate());
    QCOMPARE(m_state->viewMode(), QStringLiteral("month"));
    QCOMPARE(m_state->currentDate(), today);
    QCOMPARE(dates.size(), 0);
    QCOMPARE(m_state->backHistory().size(), 1);
}

void TestAppState::syncBusyNesting()
{
    QVERIFY(start());
    QSignalSpy busy(m_state.get(), &AppState::syncBusyChanged);
    QSignalSpy errored(m_state.get(), &AppState::lastSyncErroredChanged);

    m_state->beginSync();
    m_state->beginSync();
    QCOMPARE(busy.size(), 1);
    QCOMPARE(busy.first().first().toBool(), true);
    QVERIFY(m_state->isSyncBusy());
    m_state->setLastSyncError(QStringLiteral("cal-1"), QStringLiteral("HTTP 500"));
    m_state->endSync(true);
    QCOMPARE(busy.size(), 1);
    QCOMPARE(errored.size(), 0);
    m_state->endSync(false);
    QCOMPARE(errored.size(), 1);
    QCOMPARE(errored.first().first().toBool(), true);
    QCOMPARE(busy.size(), 2);
    QCOMPARE(busy.last().first().toBool(), false);
    QVERIFY(m_state->lastSyncErrored());
    QCOMPARE(m_state->lastSyncErrorReason(), QStringLiteral("HTTP 500"));
    QCOMPARE(m_state->lastSyncErrorCalendarId(), QStringLiteral("cal-1"));

    // A clean period after it clears the flag and the texts.
    m_state->beginSync();
    QVERIFY(!m_state->syncErrorPending());
    m_state->endSync(false);
    QCOMPARE(errored.size(), 2);
    QCOMPARE(errored.last().first().toBool(), false);
    QVERIFY(m_state->lastSyncErrorReason().isEmpty());
    QVERIFY(m_state->lastSyncErrorCalendarId().isEmpty());

    // Another clean period: the outcome did not change, so no errored signal.
    m_state->beginSync();
    m_state->endSync(false);
    QCOMPARE(errored.size(), 2);
    QCOMPARE(busy.size(), 6);
}

void TestAppState::endSyncWithoutSync()
{
    QVERIFY(start());
    QSignalSpy busy(m_state.get(), &AppState::syncBusyChanged);
    QSignalSpy errored(m_state.get(), &AppState::lastSyncErroredChanged);
    m_state->endSync(true);
    QCOMPARE(m_state->syncDepth(), 0);
    QVERIFY(!m_state->syncErrorPending());
    QVERIFY(!m_state->lastSyncErrored());
    QCOMPARE(busy.size(), 0);
    QCOMPARE(errored.size(), 0);
}

void TestAppState::density()
{
    QVERIFY(start());
    const QString week = QStringLiteral("week");
    QCOMPARE(m_state->density(week), QStringLiteral("comfortable"));
    QSignalSpy changed(m_state.get(), &AppState::densityChanged);

    m_state->setDensity(week, QStringLiteral("compact"));
    QVERIFY(m_state->isCompact(week));
    QCOMPARE(stored(QStringLiteral("ui/density/week")), QStringLiteral("compact"));
    m_state->setDensity(week, QStringLiteral("compact"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(1).toString(), QStringLiteral("compact"));

    m_state->setDensity(week, QStringLiteral("roomy"));
    QCOMPARE(m_state->density(week), QStringLiteral("comfortable"));
    QCOMPARE(changed.size(), 2);

    // A foreign stored text is handed back as it is, and is not compact.
    QVERIFY(
        m_state->preferences()->set(QStringLiteral("ui/density/month"), QStringLiteral("cozy")));
    QCOMPARE(m_state->density(QStringLiteral("month")), QStringLiteral("cozy"));
    QVERIFY(!m_state->isCompact(QStringLiteral("month")));
    QVERIFY(!m_state->isCompact(QStringLiteral("day")));
}

void TestAppState::firstDayOfWeekFromLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("day");
    QTest::newRow("Germany") << QLocale(QLocale::German, QLocale::Germany) << 1;
    QTest::newRow("Brazil") << QLocale(QLocale::Portuguese, QLocale::Brazil) << 7;
    QTest::newRow("United States") << QLocale(QLocale::English, QLocale::UnitedStates) << 7;
    QTest::newRow("United Kingdom") << QLocale(QLocale::English, QLocale::UnitedKingdom) << 1;
    QTest::newRow("Macao") << QLocale(QLocale::Chinese, QLocale::Macao) << 7;
    QTest::newRow("Egypt") << QLocale(QLocale::Arabic, QLocale::Egypt) << 7;
    QTest::newRow("Iran") << QLocale(QLocale::Persian, QLocale::Iran) << 1;
    QTest::newRow("C locale") << QLocale::c() << 1;
}

void TestAppState::firstDayOfWeekFromLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(int, day);
    QCOMPARE(int(AppState::localeFirstDayOfWeek(locale)), day);
}

void TestAppState::firstDayOfWeekPreference_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("fromLocale");
    QTest::addColumn<int>("day");
    QTest::newRow("Sunday") << "7" << false << 7;
    QTest::newRow("Wednesday") << "3" << false << 3;
    QTest::newRow("0 means the locale") << "0" << true << 0;
    QTest::newRow("8 means the locale") << "8" << true << 0;
    QTest::newRow("text means the locale") << "sun" << true << 0;
}

void TestAppState::firstDayOfWeekPreference()
{
    QFETCH(QString, stored);
    QFETCH(bool, fromLocale);
    QFETCH(int, day);
    const int expected = fromLocale ? int(AppState::localeFirstDayOfWeek()) : day;
    QVERIFY(start());
    QSignalSpy changed(m_state.get(), &AppState::firstDayOfWeekChanged);
    QVERIFY(m_state->preferences()->set(QStringLiteral("ui/weekStartDay"), stored));
    QCOMPARE(int(m_state->firstDayOfWeek()), expected);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().value<Qt::DayOfWeek>(), Qt::DayOfWeek(expected));
    // Written again with the same value: reported again; other keys are not.
    QVERIFY(m_state->preferences()->set(QStringLiteral("ui/weekStartDay"), stored));
    QVERIFY(m_state->preferences()->set(QStringLiteral("ui/weekStartDay/customized"),
                                        QStringLiteral("1")));
    QCOMPARE(changed.size(), 2);
}

void TestAppState::remoteProviderCalendars()
{
    {
        AccountRepository accounts(m_db->db());
        CalendarRepository calendars(m_db->db());
        const char *types[][2] = {{"dav", "caldav"},        {"apple", "icloud"}, {"z", "zoho"},
                                  {"g", "google"},          {"ms", "microsoft"}, {"feed", "webcal"},
                                  {"cloud", "larkspindle"}, {"gone", "google"}};
        for (const auto &t : types) {
            QVERIFY(accounts.insert(account(t[0], t[1])));
            QVERIFY(calendars.insert(
                calendar(QByteArray(QByteArray(t[0]) + "-cal").constData(), t[0])));
        }
        QVERIFY(accounts.remove(QStringLiteral("gone")));
    }
    QVERIFY(start());
    const QSet<QString> ids = m_state->remoteProviderCalendarIds();
    QCOMPARE(ids,
             QSet<QString>({QStringLiteral("dav-cal"), QStringLiteral("apple-cal"),
                            QStringLiteral("z-cal"), QStringLiteral("g-cal"),
                            QStringLiteral("ms-cal")}));
}

void TestAppState::signInPullsCalendarListOnce_data()
{
    QTest::addColumn<QString>("home");
    QTest::newRow("cloud account stored") << "cloud";
    // Signed in from the first start: the on-device account is made to hold them.
    QTest::newRow("new database") << "personal-local-account";
}

void TestAppState::signInPullsCalendarListOnce()
{
    QFETCH(QString, home);
    if (home == QLatin1String("cloud")) {
        AccountRepository accounts(m_db->db());
        QVERIFY(accounts.insert(account("cloud", "larkspindle", "me@example.com")));
    }
    const QJsonArray list = {
        QJsonObject {{QStringLiteral("id"), QStringLiteral("srv-1")},
                     {QStringLiteral("name"), QStringLiteral("Team")},
                     {QStringLiteral("color"), QStringLiteral("#112233")}},
        QJsonObject {{QStringLiteral("id"), QStringLiteral("srv-2")}},
    };
    m_server->route("GET", QStringLiteral("/calendar/v1/calendars"),
                    FakeReply::json(200, QJsonObject {{QStringLiteral("calendars"), list}}));
    signIn();
    QSignalSpy syncRequested(m_state.get(), &AppState::syncNowRequested);

    QVERIFY(start());
    QVERIFY(m_state->accountClient()->isAuthenticated());
    QTRY_COMPARE(syncRequested.size(), 1);
    QTest::qWait(200);
    QCOMPARE(syncRequested.size(), 1);
    const auto pulls = m_server->requestsTo("GET", QStringLiteral("/calendar/v1/calendars"));
    QCOMPARE(pulls.size(), 1);
    QCOMPARE(pulls.first().header("Authorization"),
             QByteArray("Bearer ") + storedAccessToken().toLatin1());

    const QList<Calendar> calendars = m_state->calendars()->listAll();
    QCOMPARE(calendars.size(), 2); // the cloud calendars; no Personal seeded
    QVERIFY(!m_state->calendars()->byId(personalId));
    for (const Calendar &c : calendars) {
        QCOMPARE(c.account_id, home);
        QVERIFY(c.sync_enabled);
        QVERIFY(c.url.startsWith(QLatin1String("larkspindle://srv-")));
        QCOMPARE(c.canonical_key.size(), 64);
    }
    // Configuration sync runs on its timer while signed in.
    QVERIFY(m_state->configSync()->autoSyncTimer()->isActive());
}

void TestAppState::failedPullStillSeedsAndRequestsSync()
{
    m_server->route("GET", QStringLiteral("/calendar/v1/calendars"),
                    FakeReply::json(500, QJsonObject()));
    signIn();
    QSignalSpy syncRequested(m_state.get(), &AppState::syncNowRequested);
    QVERIFY(start());
    // Signed in: nothing is seeded until the pull has ended.
    QVERIFY(!m_state->calendars()->byId(personalId));
    QTRY_COMPARE(syncRequested.size(), 1);
    QVERIFY(m_state->calendars()->byId(personalId));
    QCOMPARE(m_server->requestsTo("GET", QStringLiteral("/calendar/v1/calendars")).size(), 1);
}

void TestAppState::filterRuleChangeNeedsSignIn_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::newRow("signed out") << false;
    QTest::newRow("signed in") << true;
}

void TestAppState::filterRuleChangeNeedsSignIn()
{
    QFETCH(bool, signedIn);
    m_server->route("GET", QStringLiteral("/calendar/v1/calendars"),
                    FakeReply::json(200, QJsonObject()));
    if (signedIn)
        signIn();
    QVERIFY(start());
    QCOMPARE(m_state->accountClient()->isAuthenticated(), signedIn);

    const FilterRule rule = hideRule();
    QVERIFY(m_state->filterRules()->insert(rule));
    QCOMPARE(m_state->configSync()->mutationDebounceTimer()->isActive(), signedIn);
    QCOMPARE(m_state->configSync()->autoSyncTimer()->isActive(), signedIn);
}

void TestAppState::signOutStopsConfigurationSync()
{
    m_server->route("GET", QStringLiteral("/calendar/v1/calendars"),
                    FakeReply::json(200, QJsonObject()));
    signIn();
    QVERIFY(start());
    FilterRule rule = hideRule();
    QVERIFY(m_state->filterRules()->insert(rule));
    const QTimer *autoSync = m_state->configSync()->autoSyncTimer();
    const QTimer *debounce = m_state->configSync()->mutationDebounceTimer();
    QVERIFY(autoSync->isActive() && debounce->isActive());

    m_state->accountClient()->authClient()->logout();
    QVERIFY(!m_state->accountClient()->isAuthenticated());
    QVERIFY(!autoSync->isActive());
    QVERIFY(!debounce->isActive());
    rule.name = QStringLiteral("Hide lunch and dinner");
    QVERIFY(m_state->filterRules()->update(rule));
    QVERIFY(!debounce->isActive());
}

void TestAppState::refreshTokenOnlySignsInLater()
{
    qputenv("AUTH_API_URL", m_server->url().toEncoded());
    qputenv("AUTH_REALM_SLUG", "lark");
    {
        const std::unique_ptr<LarkAccount::TokenStore> store
            = LarkAccount::createTokenStore(applicationIdentifier());
        QVERIFY(store->set(QStringLiteral("larkspindle_refresh_token"), QStringLiteral("r-1")));
    }
    m_server->route(
        "POST", QStringLiteral("/api/v1/realms/lark/auth/token/refresh"),
        FakeReply::json(200,
                        QJsonObject {{QStringLiteral("access_token"), storedAccessToken()},
                                     {QStringLiteral("refresh_token"), QStringLiteral("r-2")}})
            .held());
    m_server->route("GET", QStringLiteral("/calendar/v1/calendars"),
                    FakeReply::json(200, QJsonObject()));
    QSignalSpy syncRequested(m_state.get(), &AppState::syncNowRequested);
    const bool started = start();
    qunsetenv("AUTH_API_URL");
    qunsetenv("AUTH_REALM_SLUG");
    QVERIFY(started);

    // Still renewing: seeded as for a signed-out user, nothing pulled yet.
    QVERIFY(!m_state->accountClient()->isAuthenticated());
    QVERIFY(m_state->calendars()->byId(personalId));
    QTRY_COMPARE(m_server->heldCount(), 1);
    QCOMPARE(m_server->requestsTo("GET", QStringLiteral("/calendar/v1/calendars")).size(), 0);

    m_server->releaseHeld();
    QTRY_COMPARE(syncRequested.size(), 1);
    QVERIFY(m_state->accountClient()->isAuthenticated());
    QCOMPARE(m_server->requestsTo("GET", QStringLiteral("/calendar/v1/calendars")).size(), 1);
    QVERIFY(m_state->configSync()->autoSyncTimer()->isActive());
}

void TestAppState::accountConfigurationFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("realm");
    QTest::addColumn<QString>("expectedRealm");
    QTest::newRow("empty realm counts as unset") << QByteArray("") << "larkspindle";
    QTest::newRow("realm override") << QByteArray("team-realm") << "team-realm";
}

void TestAppState::accountConfigurationFromEnvironment()
{
    QFETCH(QByteArray, realm);
    QFETCH(QString, expectedRealm);
    qputenv("AUTH_REALM_SLUG", realm);
    const bool started = start();
    qunsetenv("AUTH_REALM_SLUG");
    QVERIFY(started);

    const LarkAccount::ClientConfig &config = m_state->accountClient()->config();
    QCOMPARE(config.realm, expectedRealm);
    QCOMPARE(config.clientId, QStringLiteral("7f3e9a1c5b2d4e6f8a0b1c2d3e4f5a6b"));
    QCOMPARE(config.appId, applicationIdentifier());
    QCOMPARE(config.appName, QStringLiteral("Larkspindle Calendar"));
    QCOMPARE(config.appVersion, QStringLiteral("1.3.4"));
    QVERIFY(config.platform.isEmpty());
    QCOMPARE(m_state->accountClient()->syncApiClient()->baseUrl(),
             m_server->url(QStringLiteral("/calendar/v1")));
}

QTEST_MAIN(TestAppState)
#include "tst_AppState.moc"
