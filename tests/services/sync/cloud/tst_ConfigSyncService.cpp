#include "services/account/ApiClient.h"
#include "services/account/TokenManager.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "support/FakeHttpServer.h"
#include "support/MemoryTokenStore.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using Larkspindle::ConfigSyncService;

class TestConfigSyncService : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void timersAtConstruction();
    void noApiClientNoCycle();
    void cycleWithNothingToSendEndsAtOnce();
    void secondSyncNowWhileSyncingRefused();
    void burstOfMutationsGivesOneCycle();
    void startAutoSyncKeepsCountdown();
    void stopAutoSyncCancelsPendingMutation();

private:
    int cycles(const QSignalSpy &spy) const;

    std::unique_ptr<LarkTest::ScopedMemoryTokenStore> m_secrets;
    std::unique_ptr<LarkTest::FakeHttpServer> m_server;
    std::unique_ptr<LarkAccount::TokenManager> m_tokens;
    std::unique_ptr<LarkAccount::ApiClient> m_api;
    std::unique_ptr<ConfigSyncService> m_service;
};

void TestConfigSyncService::init()
{
    m_secrets = std::make_unique<LarkTest::ScopedMemoryTokenStore>();
    m_server = std::make_unique<LarkTest::FakeHttpServer>();
    QVERIFY(m_server->listen());
    m_tokens = std::make_unique<LarkAccount::TokenManager>(
        LarkAccount::createTokenStore(QStringLiteral("config-sync-test")));
    m_api = std::make_unique<LarkAccount::ApiClient>(m_tokens.get());
    m_api->setBaseUrl(m_server->url(QStringLiteral("/calendar/v1")));
    m_service = std::make_unique<ConfigSyncService>(nullptr, m_api.get());
}

void TestConfigSyncService::cleanup()
{
    m_service.reset();
    m_api.reset();
    m_tokens.reset();
    m_server.reset();
    m_secrets.reset();
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
    ConfigSyncService service(nullptr, nullptr);
    QSignalSpy states(&service, &ConfigSyncService::stateChanged);
    QTest::ignoreMessage(QtInfoMsg, "[ConfigSync] syncNow skipped — no api client");
    service.syncNow();
    QCOMPARE(states.size(), 0);
    QCOMPARE(service.state(), ConfigSyncService::Idle);
}

void TestConfigSyncService::cycleWithNothingToSendEndsAtOnce()
{
    QSignalSpy states(m_service.get(), &ConfigSyncService::stateChanged);
    QTest::ignoreMessage(QtInfoMsg, "[ConfigSync] syncNow → running");
    m_service->syncNow();
    QCOMPARE(states.size(), 2);
    QCOMPARE(states.at(0).first().value<ConfigSyncService::State>(), ConfigSyncService::Syncing);
    QCOMPARE(states.at(1).first().value<ConfigSyncService::State>(), ConfigSyncService::Idle);
    QTest::qWait(50);
    QCOMPARE(m_server->requestCount(), 0);
}

void TestConfigSyncService::secondSyncNowWhileSyncingRefused()
{
    QSignalSpy states(m_service.get(), &ConfigSyncService::stateChanged);
    connect(m_service.get(), &ConfigSyncService::stateChanged, this,
            [this](ConfigSyncService::State s) {
                if (s == ConfigSyncService::Syncing)
                    m_service->syncNow();
            });
    QTest::ignoreMessage(QtInfoMsg, "[ConfigSync] syncNow → running");
    QTest::ignoreMessage(QtInfoMsg, "[ConfigSync] syncNow skipped — already syncing");
    m_service->syncNow();
    QCOMPARE(cycles(states), 1);
    QCOMPARE(m_service->state(), ConfigSyncService::Idle);
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

QTEST_GUILESS_MAIN(TestConfigSyncService)
#include "tst_ConfigSyncService.moc"
