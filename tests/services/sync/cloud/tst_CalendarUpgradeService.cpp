#include "CloudTestKit.h"
#include "core/sync/CalendarIdentity.h"
#include "core/sync/ConflictResolutionService.h"
#include "services/net/RequestPolicy.h"
#include "services/sync/cloud/CalendarUpgradeService.h"
#include "services/sync/cloud/SyncClient.h"
#include "storage/AccountRepository.h"
#include "support/CloudDevice.h"
#include "support/FakeCloudService.h"
#include "support/MemoryTokenStore.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace CloudTest;
using Larkspindle::CalendarUpgradeService;
using LarkTest::FakeReply;

class TestCalendarUpgradeService : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void moveUploadsEverythingAndRepoints();
    void refusedMoveSendsNothing_data();
    void refusedMoveSendsNothing();
    void failedMoveLeavesCalendarIntact_data();
    void failedMoveLeavesCalendarIntact();

private:
    AppState *state() const { return m_device->state(); }
    // "Work" with two events, a deleted one and a task.
    void addWorkCalendar();

    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeCloudService> m_cloud;
    std::unique_ptr<LarkTest::CloudDevice> m_device;
    std::unique_ptr<CalendarUpgradeService> m_service;
};

void TestCalendarUpgradeService::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_cloud = std::make_unique<LarkTest::FakeCloudService>();
    QVERIFY(m_cloud->listen());
    m_device = std::make_unique<LarkTest::CloudDevice>(m_cloud->baseUrl());
    QVERIFY(m_device->open());
    m_service = std::make_unique<CalendarUpgradeService>(state(), m_device->api());
}

void TestCalendarUpgradeService::cleanup()
{
    m_service.reset();
    m_device.reset();
    m_cloud.reset();
    m_secrets.reset();
}

void TestCalendarUpgradeService::addWorkCalendar()
{
    QVERIFY(state()->calendars()->insert(
        localCalendar(QStringLiteral("work"), QStringLiteral("Work"))));
    const QString cal = QStringLiteral("work");
    QVERIFY(state()->events()->insert(localEvent(cal,
                                                 {QStringLiteral("ev-1"),
                                                  {},
                                                  QStringLiteral("Standup"),
                                                  at(2, 9),
                                                  QStringLiteral("FREQ=DAILY;COUNT=5"),
                                                  {}})));
    QVERIFY(state()->events()->insert(localEvent(
        cal, {QStringLiteral("ev-2"), {}, QStringLiteral("Review"), at(3, 14), {}, {}})));
    QVERIFY(state()->events()->insert(localEvent(
        cal, {QStringLiteral("ev-gone"), {}, QStringLiteral("Gone"), at(4, 9), {}, {}})));
    QVERIFY(state()->events()->remove(QStringLiteral("ev-gone")));
    QVERIFY(state()->tasks()->insert(
        localTask(cal, QStringLiteral("task-1"), QStringLiteral("Slides"))));
}

void TestCalendarUpgradeService::moveUploadsEverythingAndRepoints()
{
    addWorkCalendar();
    QSignalSpy started(m_service.get(), &CalendarUpgradeService::upgradeStarted);
    QSignalSpy progress(m_service.get(), &CalendarUpgradeService::upgradeProgress);
    QSignalSpy completed(m_service.get(), &CalendarUpgradeService::upgradeCompleted);
    QSignalSpy failed(m_service.get(), &CalendarUpgradeService::upgradeFailed);

    m_service->upgradeCalendar(*state()->calendars()->byId(QStringLiteral("work")));
    QTRY_COMPARE(completed.size(), 1);
    QCOMPARE(failed.size(), 0);
    QCOMPARE(started.size(), 1);
    QCOMPARE(completed.first().at(0).toString(), QStringLiteral("work"));
    const QString serverId = completed.first().at(1).toString();
    QCOMPARE(serverId.size(), 36);
    QCOMPARE(progress.last(), QVariantList({QStringLiteral("work"), 3, 3}));

    // The service holds the calendar, both live events under their local ids, and the task.
    const QJsonObject registered
        = QJsonDocument::fromJson(m_cloud->server()
                                      .requestsTo("POST", QStringLiteral("/calendar/v1/calendars"))
                                      .first()
                                      .body)
              .object();
    QCOMPARE(registered,
             QJsonObject({{QStringLiteral("id"), serverId},
                          {QStringLiteral("name"), QStringLiteral("Work")},
                          {QStringLiteral("color"), QStringLiteral("#336699")},
                          {QStringLiteral("timezone"), QStringLiteral("Europe/Berlin")}}));
    const QList<QJsonObject> events = m_cloud->events(serverId);
    QCOMPARE(events.size(), 2);
    QStringList ids;
    for (const QJsonObject &e : events)
        ids << e.value(QLatin1String("id")).toString();
    ids.sort();
    QCOMPARE(ids, QStringList({QStringLiteral("ev-1"), QStringLiteral("ev-2")}));
    const QJsonObject task = m_cloud->tasks(serverId).value(0);
    QCOMPARE(task.value(QLatin1String("title")).toString(), QStringLiteral("Slides"));
    QVERIFY(!task.contains(QLatin1String("due_date")));

    // Locally the same calendar, now a cloud one; uploaded rows know their copy.
    const Calendar moved = *state()->calendars()->byId(QStringLiteral("work"));
    QCOMPARE(moved.url, QStringLiteral("larkspindle://") + serverId);
    QCOMPARE(moved.canonical_key, *calendarIdentityKey(QStringLiteral("larkspindle"), moved.url));
    QVERIFY(moved.sync_enabled);
    QCOMPARE(moved.account_id, localAccountId);
    const Event standup = *state()->events()->byId(QStringLiteral("ev-1"));
    QCOMPARE(standup.provider_event_id, QStringLiteral("ev-1"));
    QCOMPARE(
        standup.etag,
        m_cloud->event(serverId, QStringLiteral("ev-1"))->value(QLatin1String("etag")).toString());
    QCOMPARE(standup.sync_status, QStringLiteral("synced"));
    QCOMPARE(state()->tasks()->byId(QStringLiteral("task-1"))->sync_status,
             QStringLiteral("synced"));
    // The deletion never reached the service and is still waiting locally.
    QCOMPARE(state()->events()->byId(QStringLiteral("ev-gone"))->sync_status,
             QStringLiteral("pending"));

    // The first sync of the cloud calendar finds everything in step: nothing sent twice, no
    // conflict, and the deletion that never left the device is dropped.
    Larkspindle::SyncClient client(state(), m_device->api());
    QSignalSpy synced(&client, &Larkspindle::SyncClient::calendarSyncCompleted);
    client.syncCalendar(moved);
    QTRY_COMPARE(synced.size(), 1);
    QCOMPARE(m_cloud->events(serverId).size(), 2);
    QCOMPARE(m_cloud->server()
                 .requestsTo("POST",
                             QStringLiteral("/calendar/v1/calendars/") + serverId
                                 + QStringLiteral("/events"))
                 .size(),
             2);
    QVERIFY(state()->conflicts()->conflicts().isEmpty());
    QCOMPARE(state()->events()->listByCalendar(QStringLiteral("work")).size(), 2);
    QVERIFY(!state()->events()->byId(QStringLiteral("ev-gone")));
}

void TestCalendarUpgradeService::refusedMoveSendsNothing_data()
{
    QTest::addColumn<QString>("accountType"); // empty: the account was removed
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("reason");
    QTest::newRow("account removed") << ""
                                     << "local://calendar/x"
                                     << "Calendar's account is missing";
    QTest::newRow("account of another source")
        << "caldav"
        << "https://dav.example/cal/"
        << "Only Larkspindle-native calendars can be upgraded";
    QTest::newRow("already in the cloud") << "larkspindle"
                                          << "larkspindle://srv-9"
                                          << "Calendar is already on Larkspindle";
}

void TestCalendarUpgradeService::refusedMoveSendsNothing()
{
    QFETCH(QString, accountType);
    QFETCH(QString, url);
    QFETCH(QString, reason);
    Account account;
    account.id = QStringLiteral("acc");
    account.name = QStringLiteral("Other");
    account.type = accountType.isEmpty() ? QStringLiteral("larkspindle") : accountType;
    account.created_at = account.updated_at = at(1, 8);
    QVERIFY(state()->accounts()->insert(account));
    Calendar calendar = localCalendar(QStringLiteral("c"), QStringLiteral("C"), account.id);
    calendar.url = url;
    QVERIFY(state()->calendars()->insert(calendar));
    if (accountType.isEmpty())
        QVERIFY(state()->accounts()->remove(account.id));

    QSignalSpy started(m_service.get(), &CalendarUpgradeService::upgradeStarted);
    QSignalSpy failed(m_service.get(), &CalendarUpgradeService::upgradeFailed);
    m_service->upgradeCalendar(calendar);
    QCOMPARE(started.size(), 1);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first(), QVariantList({QStringLiteral("c"), reason}));
    QTest::qWait(50);
    QCOMPARE(m_cloud->server().requestCount(), 0);
    QCOMPARE(state()->calendars()->byId(QStringLiteral("c"))->url, url);
}

void TestCalendarUpgradeService::failedMoveLeavesCalendarIntact_data()
{
    QTest::addColumn<QString>("pathPrefix");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("status"); // 0: no answer before the transfer timeout
    QTest::addColumn<QString>("reason");
    QTest::newRow("registration refused")
        << "/calendars" << 0 << 500 << "Server registration failed (HTTP 500)";
    QTest::newRow("upload fails part-way")
        << "/calendars/" << 1 << 503
        << "Uploading the calendar failed (HTTP 503); it stays on this device";
    QTest::newRow("last upload gets no answer")
        << "/calendars/" << 2 << 0
        << "Uploading the calendar failed: no answer from the server; it stays on this device";
}

void TestCalendarUpgradeService::failedMoveLeavesCalendarIntact()
{
    QFETCH(QString, pathPrefix);
    QFETCH(int, skip);
    QFETCH(int, status);
    QFETCH(QString, reason);
    addWorkCalendar();
    const Calendar before = *state()->calendars()->byId(QStringLiteral("work"));
    const Event standupBefore = *state()->events()->byId(QStringLiteral("ev-1"));
    Net::Limits shortSilence;
    shortSilence.silenceMs = 300;
    const Net::LimitsOverride limits(shortSilence);
    m_cloud->failRequests("POST", pathPrefix,
                          status ? FakeReply::json(status, {}) : FakeReply::empty(200).held(),
                          skip);

    QSignalSpy completed(m_service.get(), &CalendarUpgradeService::upgradeCompleted);
    QSignalSpy failed(m_service.get(), &CalendarUpgradeService::upgradeFailed);
    m_service->upgradeCalendar(before);
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.first(), QVariantList({QStringLiteral("work"), reason}));
    QCOMPARE(completed.size(), 0);

    // Nothing moved: the same local calendar, its rows still waiting, and no half-filled copy
    // left on the service.
    const Calendar after = *state()->calendars()->byId(QStringLiteral("work"));
    QCOMPARE(after.url, before.url);
    QCOMPARE(after.canonical_key, before.canonical_key);
    QCOMPARE(after.sync_enabled, before.sync_enabled);
    const Event standup = *state()->events()->byId(QStringLiteral("ev-1"));
    QCOMPARE(standup.sync_status, QStringLiteral("pending"));
    QCOMPARE(standup.provider_event_id, standupBefore.provider_event_id);
    QCOMPARE(state()->events()->listByCalendar(QStringLiteral("work")).size(), 2);
    QTRY_VERIFY(m_cloud->calendarIds().isEmpty());

    // Once the service works again the move succeeds.
    m_cloud->clearFailures();
    m_service->upgradeCalendar(after);
    QTRY_COMPARE(completed.size(), 1);
}

QTEST_MAIN(TestCalendarUpgradeService)
#include "tst_CalendarUpgradeService.moc"
