#include "core/AppState.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncScheduler.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "support/FakeSyncRemote.h"
#include "support/StartedAppState.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A run that ends at once, asking to be left alone for half an hour.
class BusySourceRun : public AccountSyncRun
{
public:
    BusySourceRun(const QDateTime &now, QObject *parent)
        : AccountSyncRun(parent)
        , m_now(now)
    { }
    void start() override
    {
        setRetryAfter(m_now.addSecs(30 * 60));
        emit failed(QString(), QStringLiteral("busy"));
    }

private:
    QDateTime m_now;
};

} // namespace

class TestSyncCoordinator : public QObject
{
    Q_OBJECT
private slots:
    void aSourceRegisteredByItsProviderSyncsOnceAtATime();
    void automaticRunsWaitForTheSource();
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

void TestSyncCoordinator::automaticRunsWaitForTheSource()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QDateTime now(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    state->database()->setClock([&now] { return now; });
    std::optional<Account> onDevice
        = state->accounts()->byId(QStringLiteral("personal-local-account"));
    QVERIFY(onDevice);
    onDevice->enabled = false;
    QVERIFY(state->accounts()->update(*onDevice));
    Account account;
    account.id = QStringLiteral("busy-account");
    account.name = QStringLiteral("Busy");
    account.type = QStringLiteral("busy");
    account.sync_interval_minutes = 15;
    account.created_at = account.updated_at = now;
    QVERIFY(state->accounts()->insert(account));
    int runsMade = 0;
    SyncClientRegistry::registerClient(QStringLiteral("busy"),
                                       [&](AppState *, const Account &, QObject *parent) {
                                           ++runsMade;
                                           return new BusySourceRun(now, parent);
                                       });

    Sync::SyncScheduler *scheduler = state->syncCoordinator()->scheduler();
    QCOMPARE(scheduler->runDueAccounts(), 1);
    const Account ended = *state->accounts()->byId(account.id);
    QCOMPARE(ended.last_sync_time, std::optional<QDateTime>(now));
    QCOMPARE(ended.last_sync_error, QStringLiteral("busy"));
    // Due by its interval, but the source asked for half an hour.
    now = now.addSecs(16 * 60);
    QCOMPARE(scheduler->runDueAccounts(), 0);
    now = now.addSecs(15 * 60);
    QCOMPARE(scheduler->runDueAccounts(), 1);
    QCOMPARE(runsMade, 2);
    SyncClientRegistry::registerClient(QStringLiteral("busy"), {});
}

QTEST_MAIN(TestSyncCoordinator)
#include "tst_SyncCoordinator.moc"
