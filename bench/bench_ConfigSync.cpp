// The configuration sync at the size of a well-used setup: 300 calendars with identity keys,
// 200 filter rules naming 5 calendars each, 50 groups of 20 calendars and 100 templates.
// Measured: building the bucket (every cycle, every five minutes while signed in), a cycle
// whose pull brings back only this device's own records (the steady state: nothing written),
// and a cycle whose pull brings every record to a device that has none of them. The cloud is
// the fake service over loopback. Run by hand:
//   build/bench/bench_ConfigSync

#include "core/AppState.h"
#include "core/sync/CalendarIdentity.h"
#include "model/Clock.h"
#include "model/JsonText.h"
#include "services/account/ApiClient.h"
#include "services/account/TokenManager.h"
#include "services/sync/cloud/ConfigSyncService.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "storage/Database.h"
#include "storage/FilterRuleRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "storage/TemplateRepository.h"
#include "storage/ViewRepository.h"
#include "support/FakeCloudService.h"
#include "support/MemoryTokenStore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHash>
#include <QJsonArray>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QDateTime kStart(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
constexpr int kCalendars = 300;
constexpr int kRules = 200;
constexpr int kGroups = 50;
constexpr int kTemplates = 100;

QString calendarId(int n)
{
    return QStringLiteral("cal-%1").arg(n);
}

struct Bench
{
    LarkTest::ScopedMemoryTokenStore secrets;
    QTemporaryDir dir;
    LarkTest::FakeCloudService cloud;
    const Clock::Override pinned {[] {
        return kStart;
    }};
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    std::unique_ptr<LarkAccount::TokenManager> tokens;
    std::unique_ptr<LarkAccount::ApiClient> api;
    std::unique_ptr<Larkspindle::ConfigSyncService> sync;

    Bench()
    {
        if (!cloud.listen() || !state->initialize(dir.filePath(QStringLiteral("calendar.db"))))
            qFatal("cannot set up the benchmark");
        tokens = std::make_unique<LarkAccount::TokenManager>(
            LarkAccount::createTokenStore(QStringLiteral("bench")));
        api = std::make_unique<LarkAccount::ApiClient>(tokens.get());
        api->setBaseUrl(cloud.baseUrl());
        sync = std::make_unique<Larkspindle::ConfigSyncService>(state.get(), api.get());

        Account account;
        account.id = QStringLiteral("dav");
        account.type = QStringLiteral("caldav");
        account.name = QStringLiteral("Server");
        account.server_url = QStringLiteral("https://dav.example/");
        account.username = QStringLiteral("me");
        account.created_at = account.updated_at = kStart;
        if (!state->accounts()->insert(account))
            qFatal("cannot add the account");
        state->database()->connection().transaction();
        for (int n = 0; n < kCalendars; ++n) {
            Calendar c;
            c.id = calendarId(n);
            c.account_id = account.id;
            c.url = QStringLiteral("https://dav.example/me/c%1/").arg(n);
            c.name = QStringLiteral("Calendar %1").arg(n);
            c.canonical_key = *calendarIdentityKey(account.type, c.url);
            c.created_at = c.updated_at = kStart;
            if (!state->calendars()->insert(c))
                qFatal("cannot add a calendar");
        }
        state->database()->connection().commit();
        addConfiguration();
    }

    void addConfiguration()
    {
        state->database()->connection().transaction();
        for (int n = 0; n < kRules; ++n) {
            FilterRule r;
            r.id = QStringLiteral("rule-%1").arg(n);
            r.name = QStringLiteral("Rule %1").arg(n);
            r.type = QStringLiteral("pattern");
            r.conditions = QStringLiteral(R"({"runtimeType":"pattern","pattern":"x%1"})").arg(n);
            QStringList ids;
            for (int k = 0; k < 5; ++k)
                ids << calendarId((n * 7 + k) % kCalendars);
            r.calendar_ids = jsonTextArray(ids);
            r.created_at = r.updated_at = kStart;
            state->filterRules()->insert(r);
        }
        for (int n = 0; n < kGroups; ++n) {
            CalendarView v;
            v.id = QStringLiteral("group-%1").arg(n);
            v.name = QStringLiteral("Group %1").arg(n);
            QStringList ids;
            for (int k = 0; k < 20; ++k)
                ids << calendarId((n * 13 + k) % kCalendars);
            v.calendar_ids = jsonTextArray(ids);
            v.created_at = v.updated_at = kStart;
            state->views()->insert(v);
        }
        for (int n = 0; n < kTemplates; ++n) {
            EventTemplate t;
            t.id = QStringLiteral("template-%1").arg(n);
            t.name = t.title = QStringLiteral("Template %1").arg(n);
            t.calendar_id = calendarId(n % kCalendars);
            t.created_at = kStart;
            state->templates()->insert(t);
        }
        state->database()->connection().commit();
    }

    void cycle()
    {
        QEventLoop loop;
        QObject::connect(sync.get(), &Larkspindle::ConfigSyncService::stateChanged, &loop,
                         [this, &loop] {
                             if (!sync->isCycleRunning())
                                 loop.quit();
                         });
        sync->syncNow();
        if (sync->isCycleRunning())
            loop.exec();
        if (sync->state() != Larkspindle::ConfigSyncService::Idle)
            qFatal("the cycle failed");
    }
};

Bench &bench()
{
    static Bench b;
    return b;
}

void BM_BuildBucket(benchmark::State &state)
{
    Bench &b = bench();
    int records = 0;
    for (auto _ : state) {
        const QJsonArray changes = b.sync->buildBucket().changes;
        records = changes.size();
        // Every rule, group and template stored travels, besides accounts and settings.
        QHash<QString, int> kinds;
        for (const QJsonValue &change : changes)
            ++kinds[change.toObject().value(QLatin1String("type")).toString()];
        if (kinds.value(QStringLiteral("filter_rules")) != kRules
            || kinds.value(QStringLiteral("calendar_views")) != kGroups
            || kinds.value(QStringLiteral("event_templates")) != kTemplates) {
            state.SkipWithError("the bucket lacks stored records");
            break;
        }
    }
    state.counters["records"] = records;
}
BENCHMARK(BM_BuildBucket)->Unit(benchmark::kMillisecond);

// Push, then a pull of nothing but this device's own records: nothing is written.
void BM_SteadyCycle(benchmark::State &state)
{
    Bench &b = bench();
    b.cycle();
    for (auto _ : state) {
        state.PauseTiming();
        b.state->preferences()->set(Prefs::ConfigSyncSince, QStringLiteral("1"));
        state.ResumeTiming();
        b.cycle();
    }
}
BENCHMARK(BM_SteadyCycle)->Unit(benchmark::kMillisecond)->Iterations(5);

// Every group, rule and template arrives on a device that has none of them.
void BM_FirstPullOfEverything(benchmark::State &state)
{
    Bench &b = bench();
    b.cycle();
    for (auto _ : state) {
        state.PauseTiming();
        for (const FilterRule &r : b.state->filterRules()->listAll())
            b.state->filterRules()->hardDelete(r.id);
        for (const CalendarView &v : b.state->views()->listAll()) {
            if (v.id != QLatin1String("all-calendars"))
                b.state->views()->hardDelete(v.id);
        }
        for (const EventTemplate &t : b.state->templates()->listAll())
            b.state->templates()->hardDelete(t.id);
        b.state->preferences()->remove(Prefs::ConfigSyncSince);
        state.ResumeTiming();
        b.cycle();
    }
    if (b.state->filterRules()->listAll().size() != kRules)
        qFatal("the rules did not arrive");
}
BENCHMARK(BM_FirstPullOfEverything)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
