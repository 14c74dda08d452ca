// The shared sync steps at the sizes a source brings: a pull of 10,000 events in pages of 500
// into a store that already holds 100,000, and a push of 1,000 pending edits. The source is the
// in-memory fake, so the figures are the engine's and the store's share alone. Run by hand:
//   build/bench/bench_SyncEngine
// LARK_BENCH_EVENTS=<n> changes the number of events stored beforehand.

#include "core/AppState.h"
#include "core/sync/SyncEngine.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/FakeSyncRemote.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const int kStored = qEnvironmentVariableIsSet("LARK_BENCH_EVENTS")
    ? qEnvironmentVariableIntValue("LARK_BENCH_EVENTS")
    : 100000;
const QDateTime kStart(QDate(2024, 1, 1), QTime(9, 0), Qt::UTC);

Event makeEvent(const QString &uid, int n)
{
    Event e;
    e.uid = uid;
    e.title = QStringLiteral("Meeting about topic %1").arg(n % 1000);
    e.location = QStringLiteral("Room %1").arg(n % 50);
    e.start_time = kStart.addSecs(qint64(n % 20000) * 3600);
    e.end_time = e.start_time.addSecs(1800);
    e.raw_icalendar = QStringLiteral("{\"id\":\"%1\"}").arg(uid);
    e.created = e.last_modified = kStart;
    return e;
}

struct Bench
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    Account account;
    LarkTest::FakeSyncRemote remote;

    Bench()
    {
        if (!state->initialize(dir.filePath(QStringLiteral("calendar.db"))))
            qFatal("cannot create the benchmark database");
        account.id = QStringLiteral("bench");
        account.type = QStringLiteral("bench");
        account.name = account.type;
        account.created_at = account.updated_at = kStart;
        Calendar other;
        other.id = QStringLiteral("stored");
        other.account_id = account.id;
        other.url = QStringLiteral("local://stored");
        other.name = other.id;
        other.created_at = other.updated_at = kStart;
        if (!state->accounts()->insert(account) || !state->calendars()->insert(other))
            qFatal("cannot set up the benchmark account");
        state->database()->connection().transaction();
        for (int n = 0; n < kStored; ++n) {
            Event e = makeEvent(QStringLiteral("stored-%1").arg(n), n);
            e.id = e.uid;
            e.calendar_id = other.id;
            if (!state->events()->insert(e))
                qFatal("insert failed");
        }
        state->database()->connection().commit();
    }

    // One run to its end; false, with the reason logged, when it failed.
    bool sync()
    {
        auto *engine = new Sync::SyncEngine(Sync::SyncStore::of(*state), account,
                                            new LarkTest::FakeSyncProvider(&remote));
        QEventLoop loop;
        bool ok = true;
        QObject::connect(engine, &AccountSyncRun::finished, &loop, &QEventLoop::quit);
        QObject::connect(engine, &AccountSyncRun::failed, &loop,
                         [&loop, &ok](const QString &, const QString &reason) {
                             qWarning("sync failed: %s", qPrintable(reason));
                             ok = false;
                             loop.quit();
                         });
        engine->start();
        loop.exec();
        delete engine;
        return ok;
    }

    // The local calendar that mirrors the source's calendar.
    QString localCalendar(const QString &remoteCalendar) const
    {
        for (const Calendar &c : state->calendars()->listByAccount(account.id)) {
            if (c.url == LarkTest::FakeSyncRemote::urlOf(remoteCalendar))
                return c.id;
        }
        return {};
    }
};

// A run that failed or left undone what it was to do would measure nothing: the benchmark stops.
bool workDone(benchmark::State &state, bool ran, bool done, const char *what)
{
    if (ran && done)
        return true;
    state.SkipWithError(ran ? what : "the sync failed");
    return false;
}

Bench &bench()
{
    static Bench b;
    return b;
}

// Each round a new source calendar of 10,000 events.
void BM_Pull10000In20Pages(benchmark::State &state)
{
    Bench &b = bench();
    b.remote.pageSize = 500;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString calendar = b.remote.addCalendar(QStringLiteral("Pulled %1").arg(round));
        for (int n = 0; n < 10000; ++n)
            b.remote.putEvent(calendar, makeEvent(QStringLiteral("r%1-%2").arg(round).arg(n), n));
        ++round;
        state.ResumeTiming();
        const bool ran = b.sync();
        state.PauseTiming();
        const qsizetype pulled
            = b.state->events()->listByCalendar(b.localCalendar(calendar)).size();
        if (!workDone(state, ran, pulled == 10000, "not every event arrived"))
            break;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Pull10000In20Pages)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1,000 edits of pulled rows, pushed one request at a time and marked synced.
void BM_Push1000Edits(benchmark::State &state)
{
    Bench &b = bench();
    for (auto _ : state) {
        state.PauseTiming();
        const QString calendar = b.remote.addCalendar(QStringLiteral("Pushed"));
        for (int n = 0; n < 1000; ++n)
            b.remote.putEvent(calendar, makeEvent(QStringLiteral("p-%1").arg(n), n));
        if (!workDone(state, b.sync(), true, ""))
            break;
        const QString localId = b.localCalendar(calendar);
        for (Event e : b.state->events()->listByCalendar(localId)) {
            e.title += QStringLiteral(" (moved)");
            e.sync_status = QStringLiteral("pending");
            b.state->events()->update(e);
        }
        state.ResumeTiming();
        const bool ran = b.sync();
        state.PauseTiming();
        qsizetype moved = 0;
        for (const Event &e : b.remote.events(calendar))
            moved += e.title.endsWith(QStringLiteral(" (moved)"));
        if (!workDone(state, ran,
                      moved == 1000 && b.state->events()->listPending(localId).isEmpty(),
                      "not every edit was pushed"))
            break;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Push1000Edits)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
