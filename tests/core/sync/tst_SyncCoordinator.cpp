#include "core/AppState.h"
#include "core/IcsImport.h"
#include "core/sync/CalendarSyncClient.h"
#include "core/sync/RunGate.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncScheduler.h"
#include "model/Clock.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/FakeSyncRemote.h"
#include "support/StartedAppState.h"
#include "support/SyncRun.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>

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

// A fake source's account whose runs are counted, for as long as it lives.
struct FakeSource
{
    explicit FakeSource(AppState *state)
    {
        ok = addSoleAccount(state, QStringLiteral("fake"));
        SyncClientRegistry::registerClient(QStringLiteral("fake"),
                                           Sync::engineFactory([this](AppState *, const Account &) {
                                               ++runsMade;
                                               return new LarkTest::FakeSyncProvider(&remote);
                                           }));
    }
    ~FakeSource() { SyncClientRegistry::registerClient(QStringLiteral("fake"), {}); }

    LarkTest::FakeSyncRemote remote;
    const QString accountId = QStringLiteral("fake-account");
    int runsMade = 0;
    bool ok = false;
};

Event pendingEvent(const QString &calendarId, const QString &id, int day)
{
    const QDateTime start(QDate(2026, 1, 5 + day), QTime(9, 0), Qt::UTC);
    return LarkTest::madeHere(calendarId, id, id, start, 60, start);
}

QString calendarOf(AppState *state, const QString &remoteId)
{
    for (const Calendar &c : state->calendars()->listAll()) {
        if (c.url == LarkTest::FakeSyncRemote::urlOf(remoteId))
            return c.id;
    }
    return QString();
}

} // namespace

class TestSyncCoordinator : public QObject
{
    Q_OBJECT
private slots:
    void aSourceRegisteredByItsProviderSyncsOnceAtATime();
    void automaticRunsWaitForTheSource();
    void automaticRunsKeepOffImportsAndWaitingSources();
    void aRunThatHearsNothingIsStopped();
};

void TestSyncCoordinator::aSourceRegisteredByItsProviderSyncsOnceAtATime()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    FakeSource source(state.get());
    QVERIFY(source.ok);
    const QString work = source.remote.addCalendar(QStringLiteral("Work"));

    Sync::SyncCoordinator coordinator(state.get());
    QSignalSpy status(&coordinator, &Sync::SyncCoordinator::statusMessage);
    coordinator.syncNow();
    coordinator.syncNow(); // while the first run is under way
    QCOMPARE(source.runsMade, 1);
    QCOMPARE(state->syncDepth(), 1);
    QCOMPARE(status.size(), 2);
    QCOMPARE(status.at(1).at(0).toString(), QStringLiteral("Syncing 1 account(s)…"));

    QTRY_VERIFY(!state->isSyncBusy());
    QVERIFY(!state->lastSyncErrored());
    QCOMPARE(status.constLast().at(0).toString(), QStringLiteral("Sync finished."));
    QCOMPARE(state->calendars()->listByAccount(source.accountId).size(), 1);
    QCOMPARE(state->calendars()->listByAccount(source.accountId).first().url,
             LarkTest::FakeSyncRemote::urlOf(work));

    // A calendar's own run while the account's run waits for its page is kept back; that run
    // ends asking for a second's rest, and the calendar is synced once it is over.
    using Call = LarkTest::FakeSyncRemote::Call;
    source.remote.failNext(Call::Fetch, Sync::ErrorKind::RateLimited, 0, 1,
                           Clock::nowUtc().addSecs(1));
    source.remote.holdAnswersTo = Call::Fetch;
    coordinator.syncNow();
    QTRY_COMPARE(source.remote.heldAnswers(), 1);
    Sync::CalendarSyncClient single(state.get());
    QSignalSpy singleHeld(&single, &Sync::CalendarSyncClient::calendarSyncHeld);
    single.syncCalendar(*state->calendars()->byId(calendarOf(state.get(), work)));
    QCOMPARE(source.runsMade, 2);
    QCOMPARE(singleHeld.size(), 1);
    source.remote.holdAnswersTo.reset();
    source.remote.releaseHeld();
    QTRY_VERIFY(source.runsMade == 3 && !state->isSyncBusy());
    QCOMPARE(source.remote.calls(Call::Fetch), 3);

    // Sync Now while the source asks for a second's rest says so and runs once that second is
    // over, once.
    source.remote.failNext(Call::Fetch, Sync::ErrorKind::RateLimited, 0, 1,
                           Clock::nowUtc().addSecs(1));
    coordinator.syncNow();
    QTRY_VERIFY(!state->isSyncBusy());
    coordinator.syncNow();
    QVERIFY2(status.constLast().at(0).toString().startsWith(QStringLiteral("fake waits until ")),
             qPrintable(status.constLast().at(0).toString()));
    coordinator.syncNow();
    QCOMPARE(source.runsMade, 4);
    QTRY_VERIFY(source.runsMade == 5 && !state->isSyncBusy());
    QVERIFY(!state->lastSyncErrored());
    QTest::qWait(300);
    QCOMPARE(source.runsMade, 5);
    // Its own run finds the calendar synced by another run: held too, not synced.
    QObject other;
    QVERIFY(coordinator.gate()->claim(calendarOf(state.get(), work), &other));
    single.syncCalendar(*state->calendars()->byId(calendarOf(state.get(), work)));
    QTRY_COMPARE(singleHeld.size(), 2);
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

void TestSyncCoordinator::automaticRunsKeepOffImportsAndWaitingSources()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    QDateTime now(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    const Clock::Override pinned([&now] { return now; });
    FakeSource source(state.get());
    QVERIFY(source.ok);
    const QString work = source.remote.addCalendar(QStringLiteral("Work"));
    const QString home = source.remote.addCalendar(QStringLiteral("Home"));
    Sync::SyncCoordinator *coordinator = state->syncCoordinator();
    Sync::SyncScheduler *scheduler = coordinator->scheduler();
    const int never = 3600 * 1000;
    scheduler->setTiming({never, never, 500, 0});
    scheduler->start();
    const auto ran = [&](int runs) {
        return QTest::qWaitFor(
            [&] { return source.runsMade == runs && !coordinator->isRunning(source.accountId); });
    };
    QCOMPARE(scheduler->runDueAccounts(), 1);
    QVERIFY(ran(1));
    const QString workHere = calendarOf(state.get(), work);
    const QString homeHere = calendarOf(state.get(), home);
    QVERIFY(!workHere.isEmpty() && !homeHere.isEmpty());

    // Edits in two calendars are pushed by one run, each to its calendar.
    QVERIFY(state->events()->insert(pendingEvent(workHere, QStringLiteral("memo"), 0)));
    QVERIFY(state->events()->insert(pendingEvent(homeHere, QStringLiteral("dinner"), 1)));
    QVERIFY(ran(2));
    QCOMPARE(source.remote.events(work).size(), 1);
    QCOMPARE(source.remote.events(home).size(), 1);

    // Imports into Work started without the window, each cancelled while it writes (the import
    // waits while its first slice is announced).
    const auto importCancelled
        = [&](const QStringList &uids, const std::function<void()> &meanwhile) {
              QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
              for (const QString &uid : uids)
                  text += "BEGIN:VEVENT\r\nUID:" + uid.toUtf8()
                      + "\r\nSUMMARY:imported\r\n"
                        "DTSTART:20260110T090000Z\r\nDTEND:20260110T100000Z\r\nEND:VEVENT\r\n";
              IcsImportJob job(state->store(), QString::fromUtf8(text + "END:VCALENDAR\r\n"),
                               workHere, QStringLiteral("import.ics"));
              QObject::connect(&job, &IcsImportJob::progress, [&] {
                  meanwhile();
                  job.cancel();
              });
              job.start();
              return job.isFinished() && job.result().cancelled;
          };

    // memo gets a room at the source. Neither the push after the import's rows nor Sync Now
    // touch Work while Home syncs; the import's rows are taken back and the held Work follows.
    const QString memoThere = source.remote.events(work).constFirst().provider_event_id;
    QVERIFY(source.remote.editEvent(memoThere, [](Event &e) { e.location = QStringLiteral("2"); }));
    QVERIFY(importCancelled({QStringLiteral("imported-0"), QStringLiteral("imported-1")}, [&] {
        QCOMPARE(state->events()->listByCalendar(workHere).size(), 3);
        coordinator->syncNow();
        QVERIFY(ran(3));
        QTest::qWait(900);
        QCOMPARE(source.runsMade, 3);
        QCOMPARE(state->events()->byId(QStringLiteral("memo"))->location, QString());
    }));
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(ran(4));
    QCOMPARE(source.remote.events(work).size(), 1);
    QCOMPARE(state->events()->listByCalendar(workHere).size(), 1);
    QCOMPARE(state->events()->byId(QStringLiteral("memo"))->location, QStringLiteral("2"));

    // memo is moved at the source, and an import that replaces memo begins while a run waits
    // for the page of Work: that page is left alone, and so is the token, while the run goes on
    // to Home. The import is cancelled before that run ended: the run held for it follows the
    // run under way and brings the move, which the take-back did not undo.
    QVERIFY(source.remote.editEvent(memoThere, [](Event &e) {
        e.title = QStringLiteral("memo, moved");
        e.start_time = e.start_time.addSecs(3600);
        e.end_time = e.end_time->addSecs(3600);
    }));
    now = now.addSecs(16 * 60);
    QSignalSpy completed(coordinator, &Sync::SyncCoordinator::calendarSyncCompleted);
    QSignalSpy status(coordinator, &Sync::SyncCoordinator::statusMessage);
    source.remote.holdAnswersTo = LarkTest::FakeSyncRemote::Call::Fetch;
    QCOMPARE(scheduler->runDueAccounts(), 1);
    QTRY_COMPARE(source.remote.heldAnswers(), 1);
    QVERIFY(importCancelled({QStringLiteral("memo"), QStringLiteral("imported-0")}, [&] {
        QCOMPARE(state->events()->byId(QStringLiteral("memo"))->title, QStringLiteral("imported"));
        const int fetches = source.remote.calls(LarkTest::FakeSyncRemote::Call::Fetch);
        source.remote.releaseHeld();
        QTRY_COMPARE(source.remote.calls(LarkTest::FakeSyncRemote::Call::Fetch), fetches + 1);
        QCOMPARE(source.remote.heldAnswers(), 1);
        // Work is held, not synced, and the status says why.
        QCOMPARE(std::count_if(completed.cbegin(), completed.cend(),
                               [&](const QList<QVariant> &c) { return c.at(0) == workHere; }),
                 0);
        QCOMPARE(status.constLast().at(0).toString(),
                 QStringLiteral("\"Work\" was not synced: an import into it is not over yet. It "
                                "is synced once the import has ended."));
    }));
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(state->events()->byId(QStringLiteral("memo"))->title, QStringLiteral("memo"));
    source.remote.holdAnswersTo.reset();
    source.remote.releaseHeld();
    QVERIFY(ran(6));
    QVERIFY(!state->lastSyncErrored());
    QCOMPARE(source.remote.events(work).size(), 1);
    QCOMPARE(source.remote.events(work).constFirst().title, QStringLiteral("memo, moved"));
    const QList<Event> workRows = state->events()->listByCalendar(workHere);
    QCOMPARE(workRows.size(), 1);
    QCOMPARE(workRows.constFirst().title, QStringLiteral("memo, moved"));
    QCOMPARE(workRows.constFirst().start_time, source.remote.events(work).constFirst().start_time);

    // Sync Now while the push after an edit of Work waits for Work's page: a run of the whole
    // account follows it, Home's news come, and only then is the sync said to be over.
    using Call = LarkTest::FakeSyncRemote::Call;
    source.remote.putEvent(home, pendingEvent(home, QStringLiteral("party"), 4));
    source.remote.holdAnswersTo = Call::Fetch;
    QVERIFY(state->events()->insert(pendingEvent(workHere, QStringLiteral("call"), 3)));
    QTRY_COMPARE(source.remote.heldAnswers(), 1);
    QVERIFY(state->events()->insert(pendingEvent(homeHere, QStringLiteral("quiz"), 7)));
    QTest::qWait(200);
    status.clear();
    coordinator->syncNow();
    QTest::qWait(500);
    source.remote.holdAnswersTo.reset();
    source.remote.releaseHeld();
    QVERIFY(ran(8));
    QCOMPARE(source.remote.calls(Call::Fetch), 12); // the whole account's, after the push's
    QCOMPARE(state->events()->listByCalendar(homeHere).size(), 3);
    QCOMPARE(status.constLast().at(0).toString(), QStringLiteral("Synced 2 event(s)"));
    QVERIFY(!status.contains({QStringLiteral("Sync finished.")}));

    // An edit waits for its push while a run meets a source that asks for half an hour: the
    // push waits too, and the edit stays for a later run; one made during the wait is kept back
    // for it. Sync Now meanwhile says that the
    // account waits, and keeps all of it back: a push of Work alone once the wait is over leaves
    // the rest there, and Home's news come by the run after that push.
    QVERIFY(state->events()->insert(pendingEvent(workHere, QStringLiteral("lunch"), 2)));
    QTest::qWait(300);
    source.remote.failNext(Call::Fetch, Sync::ErrorKind::RateLimited, 0, 1, now.addSecs(30 * 60));
    QVERIFY(coordinator->syncAccount(source.accountId));
    QVERIFY(ran(9));
    QVERIFY(state->events()->insert(pendingEvent(homeHere, QStringLiteral("tea"), 6)));
    QTest::qWait(1200);
    QCOMPARE(source.runsMade, 9);
    QVERIFY(coordinator->gate()->keepsBack(source.accountId, homeHere));
    QCOMPARE(state->events()->listPending(workHere).size(), 1);
    QCOMPARE(source.remote.events(work).size(), 2);
    source.remote.putEvent(home, pendingEvent(home, QStringLiteral("picnic"), 5));
    coordinator->syncNow();
    QVERIFY(status.constLast().at(0).toString().startsWith(QStringLiteral("fake waits until ")));
    now = now.addSecs(31 * 60);
    QVERIFY(coordinator->syncAccount(source.accountId, {workHere}));
    QVERIFY(ran(11));
    QCOMPARE(source.remote.events(work).size(), 3);
    QCOMPARE(state->events()->listByCalendar(homeHere).size(), 5);
    QCOMPARE(state->events()->listPending(homeHere).size(), 0);

    // An interval of 0 syncs only on request.
    now = now.addDays(1);
    std::optional<Account> account = state->accounts()->byId(source.accountId);
    account->sync_interval_minutes = 0;
    QVERIFY(state->accounts()->update(*account));
    QCOMPARE(scheduler->runDueAccounts(), 0);

    // A run of calendars kept back serves them. An edit of Work once Sync Now is past it is
    // pushed after; Sync Now kept back behind that push, then the account switched off: the
    // round ends with the push, and says so.
    coordinator->gate()->hold(source.accountId, {workHere});
    QVERIFY(coordinator->syncAccount(source.accountId, {workHere}));
    QTest::qWait(300);
    QVERIFY(ran(12));
    source.remote.holdAnswersTo = Call::Fetch;
    coordinator->syncNow();
    QTRY_COMPARE(source.remote.heldAnswers(), 1);
    source.remote.releaseHeld(); // Work's page; Home's is held next
    QVERIFY(state->events()->insert(pendingEvent(workHere, QStringLiteral("memo-2"), 8)));
    QTest::qWait(700);
    source.remote.holdAnswersTo = Call::Push;
    source.remote.releaseHeld();
    QTRY_COMPARE(source.remote.heldAnswers(), 1);
    coordinator->syncNow();
    account = state->accounts()->byId(source.accountId);
    account->enabled = false;
    QVERIFY(state->accounts()->update(*account));
    source.remote.releaseHeld();
    QVERIFY(ran(14));
    QTRY_COMPARE(status.constLast().at(0).toString(), QStringLiteral("Sync finished."));
}

void TestSyncCoordinator::aRunThatHearsNothingIsStopped()
{
    LarkTest::StartedAppState state;
    QVERIFY(state.ok());
    FakeSource source(state.get());
    QVERIFY(source.ok);
    const QString work = source.remote.addCalendar(QStringLiteral("Work"));
    for (int i = 0; i < 4; ++i)
        source.remote.putEvent(work, pendingEvent(work, QStringLiteral("day-%1").arg(i), i));
    Sync::SyncCoordinator coordinator(state.get());
    coordinator.setSilenceLimit(400);
    QSignalSpy ended(&coordinator, &Sync::SyncCoordinator::accountSyncEnded);

    // A run slower in all than the limit, but heard from at every page, is not cut.
    source.remote.pageSize = 1;
    source.remote.answerDelayMs = 100;
    QVERIFY(coordinator.syncAccount(source.accountId));
    QTRY_COMPARE(ended.size(), 1);
    QVERIFY(!state->lastSyncErrored());
    const QString calendar = calendarOf(state.get(), work);
    QCOMPARE(state->events()->listByCalendar(calendar).size(), 4);

    // A page that never comes: the run ends as failed, and the account is free.
    source.remote.answerDelayMs = 0;
    source.remote.putEvent(work, pendingEvent(work, QStringLiteral("late"), 5));
    source.remote.holdAnswersTo = LarkTest::FakeSyncRemote::Call::Fetch;
    QVERIFY(coordinator.syncAccount(source.accountId));
    QVERIFY(!coordinator.syncAccount(source.accountId)); // one run of an account at a time
    QTRY_COMPARE(ended.size(), 2);
    const QString reason = QStringLiteral(
        "The server did not answer for too long; the sync stopped and is tried again later.");
    QVERIFY(state->lastSyncErrored());
    QCOMPARE(state->lastSyncErrorReason(), reason);
    QCOMPARE(state->accounts()->byId(source.accountId)->last_sync_error, reason);
    QCOMPARE(state->calendars()->byId(calendar)->last_sync_error, reason);
    QCOMPARE(source.runsMade, 2);
    // Its page arrives after all and changes nothing.
    QCOMPARE(source.remote.heldAnswers(), 1);
    source.remote.holdAnswersTo.reset();
    source.remote.releaseHeld();
    QTest::qWait(50);
    QCOMPARE(state->events()->listByCalendar(calendar).size(), 4);
    QVERIFY(!coordinator.isRunning(source.accountId));

    // The next run brings it.
    QVERIFY(coordinator.syncAccount(source.accountId));
    QTRY_COMPARE(ended.size(), 3);
    QVERIFY(!state->lastSyncErrored());
    QCOMPARE(state->events()->listByCalendar(calendar).size(), 5);
    QCOMPARE(source.runsMade, 3);

    // A source silent from the run's first step on is stopped alike.
    source.remote.holdAnswersTo = LarkTest::FakeSyncRemote::Call::Prepare;
    QVERIFY(coordinator.syncAccount(source.accountId));
    QTRY_COMPARE(ended.size(), 4);
    QCOMPARE(state->accounts()->byId(source.accountId)->last_sync_error, reason);
    QVERIFY(!coordinator.isRunning(source.accountId));
}

QTEST_MAIN(TestSyncCoordinator)
#include "tst_SyncCoordinator.moc"
