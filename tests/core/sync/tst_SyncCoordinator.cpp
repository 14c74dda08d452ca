#include "core/AppState.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncScheduler.h"
#include "model/Clock.h"
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

// The one account that takes part, of its own type: the on-device one is switched off.
bool addSoleAccount(AppState *state, const QString &type)
{
    std::optional<Account> onDevice
        = state->accounts()->byId(QStringLiteral("personal-local-account"));
    if (!onDevice)
        return false;
    onDevice->enabled = false;
    Account account;
    account.id = type + QStringLiteral("-account");
    account.name = type;
    account.type = type;
    account.sync_interval_minutes = 15;
    account.created_at = account.updated_at = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    return state->accounts()->update(*onDevice) && state->accounts()->insert(account);
}

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
    QVERIFY(addSoleAccount(state.get(), QStringLiteral("fake")));
    const QString accountId = QStringLiteral("fake-account");

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
    QCOMPARE(state->calendars()->listByAccount(accountId).size(), 1);
    QCOMPARE(state->calendars()->listByAccount(accountId).first().url,
             LarkTest::FakeSyncRemote::urlOf(work));
    SyncClientRegistry::registerClient(QStringLiteral("fake"), {});
}

void TestSyncCoordinator::automaticRunsWaitForTheSource()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QDateTime now(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    const Clock::Override pinned([&now] { return now; });
    QVERIFY(addSoleAccount(state.get(), QStringLiteral("busy")));
    const QString accountId = QStringLiteral("busy-account");
    int runsMade = 0;
    SyncClientRegistry::registerClient(QStringLiteral("busy"),
                                       [&](AppState *, const Account &, QObject *parent) {
                                           ++runsMade;
                                           return new BusySourceRun(now, parent);
                                       });

    Sync::SyncScheduler *scheduler = state->syncCoordinator()->scheduler();
    QCOMPARE(scheduler->runDueAccounts(), 1);
    const Account ended = *state->accounts()->byId(accountId);
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
