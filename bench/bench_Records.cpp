#include "model/Records.h"

#include <benchmark/benchmark.h>

// Copying events is on every view reload's path.
static void BM_CopyEvents(benchmark::State &state)
{
    QList<Event> events(10000);
    for (auto &e : events)
        e.title = QStringLiteral("Meeting");
    for (auto _ : state) {
        QList<Event> copy = events;
        copy.detach();
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyEvents);
BENCHMARK_MAIN();
