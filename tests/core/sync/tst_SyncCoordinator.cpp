#include "core/AppState.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncEngine.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "support/FakeSyncRemote.h"
#include "support/StartedAppState.h"

#include <QSignalSpy>
#include <QTest>

class TestSyncCoordinator : public QObject
{
    Q_OBJECT
private slots:
    void aSourceRegisteredByItsProviderSyncsOnceAtATime();
};

void TestSyncCoordinator::aSourceRegisteredByItsProviderSyncsOnceAtATime()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    // Only the fake source's account takes part.
    std::optional<Account> onDevice
        = state->accounts()->byId(QStringLiteral("personal-local-account"));
    QVERIFY(onDevice);
    onDevice->enabled = false;
    QVERIFY(state->accounts()->update(*onDevice));
    Account account;
    account.id = QStringLiteral("fake-account");
    account.name = QStringLiteral("Fake");
    account.type = QStringLiteral("fake");
    account.created_at = account.updated_at = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    QVERIFY(state->accounts()->insert(account));

    LarkTest::FakeSyncRemote remote;
    const QString work = remote.addCalendar(QStringLiteral("Work"));
    int runsMade = 0;
    SyncClientRegistry::registerClient(
        QStringLiteral("fake"),
        Sync::engineFactory([&remote, &runsMade](AppState *, const Account &) {
            ++runsMade;
            return new LarkTest::FakeSyncProvider(&remote);
        }));

    Sync::SyncCoordinator coordinator(state.get());
    QSignalSpy status(&coordinator, &Sync::SyncCoordinator::statusMessage);
    coordinator.syncNow();
    coordinator.syncNow(); // while the first run is under way
    QCOMPARE(runsMade, 1);
    QCOMPARE(state->syncDepth(), 1);
    QCOMPARE(status.size(), 2);
    QCOMPARE(status.at(1).at(0).toString(), QStringLiteral("Syncing 1 account(s)…"));

    QTRY_VERIFY(!state->isSyncBusy());
    QVERIFY(!state->lastSyncErrored());
    QCOMPARE(status.constLast().at(0).toString(), QStringLiteral("Sync finished."));
    QCOMPARE(state->calendars()->listByAccount(account.id).size(), 1);
    QCOMPARE(state->calendars()->listByAccount(account.id).first().url,
             LarkTest::FakeSyncRemote::urlOf(work));
    SyncClientRegistry::registerClient(QStringLiteral("fake"), {});
}

QTEST_MAIN(TestSyncCoordinator)
#include "tst_SyncCoordinator.moc"
