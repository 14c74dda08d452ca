#pragma once

// The main() of the benchmarks that need an event loop's application object (network replies,
// timers, the store's change signals).

#include <benchmark/benchmark.h>

#include <QCoreApplication>

inline int runBenchmarks(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
