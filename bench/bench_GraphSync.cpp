// A Microsoft calendar of 10,000 events pulled through the calendar view's delta query, from the
// loopback fake Graph, into a store that already holds 100,000 events; then a delta round in
// which all 10,000 changed. The fake answers on the same thread, so its JSON work is part of
// the figure. The baseline pulls as many events from the sync core's in-memory source in pages
// of the same size. Run by hand:
//   build/bench/bench_GraphSync
// LARK_BENCH_EVENTS=<n> changes the number of events stored beforehand.

#include "core/AppState.h"
#include "core/sync/SyncEngine.h"
#include "model/Clock.h"
#include "services/sync/microsoft/AuthService.h"
#include "services/sync/microsoft/MicrosoftSyncProvider.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "support/FakeGraph.h"
#include "support/FakeSyncRemote.h"
#include "support/MemoryTokenStore.h"
#include "support/SyncRun.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

const int kStored = qEnvironmentVariableIsSet("LARK_BENCH_EVENTS")
    ? qEnvironmentVariableIntValue("LARK_BENCH_EVENTS")
    : 100000;
const QDateTime kNow(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
const int kPulled = 10000;

QJsonObject graphEvent(int n)
{
    const QDateTime start = kNow.addSecs(qint64(n % 8000) * 3600);
    const auto at = [](const QDateTime &t) {
        return QJsonObject {{QStringLiteral("dateTime"), t.toString(Qt::ISODate).chopped(1)},
                            {QStringLiteral("timeZone"), QStringLiteral("UTC")}};
    };
    return {{QStringLiteral("subject"), QStringLiteral("Meeting about topic %1").arg(n % 1000)},
            {QStringLiteral("start"), at(start)},
            {QStringLiteral("end"), at(start.addSecs(1800))},
            {QStringLiteral("location"),
             QJsonObject {{QStringLiteral("displayName"), QStringLiteral("Room %1").arg(n % 50)}}},
            {QStringLiteral("body"),
             QJsonObject {{QStringLiteral("contentType"), QStringLiteral("html")},
                          {QStringLiteral("content"), QStringLiteral("<p>Agenda %1</p>").arg(n)}}},
            {QStringLiteral("isReminderOn"), true},
            {QStringLiteral("reminderMinutesBeforeStart"), 15}};
}

struct Bench
{
    LarkTest::ScopedMemoryTokenStore secrets;
    QTemporaryDir dir;
    std::optional<Clock::Override> pinned;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    Account account;
    LarkTest::FakeGraph graph;
    LarkTest::FakeSyncRemote remote;

    Bench()
    {
        graph.pageLimit = 500;
        if (!graph.listen() || !state->initialize(dir.filePath(QStringLiteral("calendar.db"))))
            qFatal("cannot set up the benchmark");
        pinned.emplace([] { return kNow; });
        account.id = QStringLiteral("bench");
        account.type = QStringLiteral("microsoft");
        account.name = account.type;
        account.created_at = account.updated_at = kNow;
        // The stored events belong to another account, which the runs do not touch.
        Account elsewhere = account;
        elsewhere.id = elsewhere.name = elsewhere.type = QStringLiteral("elsewhere");
        Calendar other;
        other.id = QStringLiteral("stored");
        other.account_id = elsewhere.id;
        other.url = QStringLiteral("local://stored");
        other.name = other.id;
        other.created_at = other.updated_at = kNow;
        if (!state->accounts()->insert(account) || !state->accounts()->insert(elsewhere)
            || !state->calendars()->insert(other)
            || !Microsoft::AuthService::saveTokens(
                account.id, {graph.accessToken, QStringLiteral("refresh"), kNow.addDays(1)}))
            qFatal("cannot set up the benchmark account");
        state->database()->connection().transaction();
        for (int n = 0; n < kStored; ++n) {
            Event e;
            e.id = e.uid = QStringLiteral("stored-%1").arg(n);
            e.calendar_id = other.id;
            e.title = QStringLiteral("Stored %1").arg(n);
            e.start_time = kNow.addSecs(qint64(n % 20000) * 3600);
            e.end_time = e.start_time.addSecs(1800);
            e.raw_icalendar = QStringLiteral("{}");
            e.created = e.last_modified = kNow;
            if (!state->events()->insert(e))
                qFatal("insert failed");
        }
        state->database()->connection().commit();
    }

    void run(Sync::SyncProvider *provider, const Account &who)
    {
        const LarkTest::SyncOutcome result = LarkTest::runToEnd(
            new Sync::SyncEngine(Sync::SyncStore::of(*state), who, provider), 600000);
        // A failed run would report a fast time: the figures are only worth something whole.
        if (result.finished != 1)
            qFatal("sync failed: %s", qPrintable(result.reason));
    }

    // Stops the benchmark unless the calendar with this remote id holds `expected` events, each
    // titled as `title` says (a change written as a new row would leave too many).
    void expectRows(const QString &accountId, const QString &remoteId, int expected,
                    const std::function<bool(const QString &)> &title = {})
    {
        int found = 0;
        int unchanged = 0;
        for (const Calendar &c : state->calendars()->listByAccount(accountId)) {
            if (c.url != remoteId)
                continue;
            for (const Event &e : state->events()->listByCalendar(c.id)) {
                ++found;
                unchanged += !title || title(e.title) ? 0 : 1;
            }
        }
        if (found != expected || unchanged != 0)
            qFatal("the run left %d events, %d of them unchanged; expected %d", found, unchanged,
                   expected);
    }

    std::optional<Calendar> calendarOf(const QString &remoteId)
    {
        for (const Calendar &c : state->calendars()->listByAccount(account.id)) {
            if (c.url == remoteId)
                return c;
        }
        return std::nullopt;
    }

    void stopSyncing(const QString &remoteId)
    {
        std::optional<Calendar> c = calendarOf(remoteId);
        if (!c)
            qFatal("the calendar was not added");
        c->sync_enabled = false;
        if (!state->calendars()->update(*c))
            qFatal("cannot switch the calendar's sync off");
    }

    void syncGraph()
    {
        auto *client = new Microsoft::MicrosoftSyncProvider(account);
        client->setServiceRoot(graph.root());
        run(client, account);
    }
};

Bench &bench()
{
    static Bench b;
    return b;
}

// Each round a new Microsoft calendar of 10,000 events, listed over the whole window; the
// calendar of the round before is gone at the source, so each run lists only the new one.
void BM_GraphFirstListing10000(benchmark::State &state)
{
    Bench &b = bench();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString calendar = b.graph.addCalendar(QStringLiteral("Pulled %1").arg(round++));
        for (int n = 0; n < kPulled; ++n)
            b.graph.addEvent(calendar, graphEvent(n));
        state.ResumeTiming();
        b.syncGraph();
        state.PauseTiming();
        b.expectRows(b.account.id, calendar, kPulled);
        // Its rows stay in the store; the next runs list only the calendar they measure. Its sync
        // is switched off here, or the next run would fail on a calendar its source dropped.
        b.graph.removeCalendar(calendar);
        b.stopSyncing(calendar);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GraphFirstListing10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every event of one calendar changed at the source: a delta round of 10,000 changes.
void BM_GraphDeltaRound10000Changed(benchmark::State &state)
{
    Bench &b = bench();
    QStringList ids;
    QString calendar;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (ids.isEmpty()) {
            calendar = b.graph.addCalendar(QStringLiteral("Changing"));
            for (int n = 0; n < kPulled; ++n)
                ids << b.graph.addEvent(calendar, graphEvent(n));
            b.syncGraph();
            // Without a delta token the round below would be a listing of the whole window.
            const std::optional<Calendar> c = b.calendarOf(calendar);
            if (!c || c->delta_sync_token.isEmpty())
                qFatal("the first listing left no delta token");
        }
        ++round;
        for (const QString &id : std::as_const(ids))
            b.graph.editEvent(id, [round](QJsonObject &e) {
                e.insert(QStringLiteral("subject"), QStringLiteral("Changed %1").arg(round));
            });
        state.ResumeTiming();
        b.syncGraph();
        state.PauseTiming();
        const QString changed = QStringLiteral("Changed %1").arg(round);
        b.expectRows(b.account.id, calendar, kPulled,
                     [&changed](const QString &title) { return title == changed; });
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GraphDeltaRound10000Changed)->Unit(benchmark::kMillisecond)->Iterations(3);

// The mapping alone: 10,000 listed events read into rows.
void BM_MapListed10000(benchmark::State &state)
{
    Bench &b = bench();
    const QString calendar = b.graph.addCalendar(QStringLiteral("Mapped"));
    for (int n = 0; n < kPulled; ++n)
        b.graph.addEvent(calendar, graphEvent(n));
    const QList<QJsonObject> listed
        = b.graph.calendarView(calendar, kNow.addMonths(-6), kNow.addMonths(24));
    for (auto _ : state) {
        for (const QJsonObject &o : listed)
            benchmark::DoNotOptimize(Microsoft::CalendarClient::eventFromJson(o, calendar));
    }
}
BENCHMARK(BM_MapListed10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: the same number of events from the in-memory source, pages of 100.
void BM_InMemorySource10000(benchmark::State &state)
{
    Bench &b = bench();
    b.remote.pageSize = 500;
    Account other = b.account;
    other.id = QStringLiteral("baseline");
    other.type = QStringLiteral("baseline");
    b.state->accounts()->insert(other);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString calendar = b.remote.addCalendar(QStringLiteral("Baseline %1").arg(round));
        for (int n = 0; n < kPulled; ++n) {
            Event e;
            e.uid = QStringLiteral("b%1-%2").arg(round).arg(n);
            e.title = QStringLiteral("Meeting about topic %1").arg(n % 1000);
            e.location = QStringLiteral("Room %1").arg(n % 50);
            e.start_time = kNow.addSecs(qint64(n % 8000) * 3600);
            e.end_time = e.start_time.addSecs(1800);
            e.raw_icalendar = QStringLiteral("{}");
            e.created = e.last_modified = kNow;
            b.remote.putEvent(calendar, e);
        }
        ++round;
        state.ResumeTiming();
        b.run(new LarkTest::FakeSyncProvider(&b.remote), other);
        state.PauseTiming();
        b.expectRows(other.id, LarkTest::FakeSyncRemote::urlOf(calendar), kPulled);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InMemorySource10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
