#include "bench/bench_main.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace bench {

namespace {
TMainSteps &Steps()
{
    static TMainSteps steps;
    return steps;
}
} // namespace

TMainHooks::TMainHooks(TMainSteps steps)
{
    Steps() = std::move(steps);
}

} // namespace bench

int main(int argc, char **argv)
{
    const bench::TMainSteps &steps = bench::Steps();
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (steps.Before)
        if (std::optional<int> code = steps.Before(argc, argv))
            return *code;
    std::unique_ptr<QCoreApplication> application =
        steps.Application ? steps.Application(argc, argv)
                          : std::make_unique<QApplication>(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (steps.Reporter)
        benchmark::RunSpecifiedBenchmarks(steps.Reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    if (steps.After)
        steps.After();
    benchmark::Shutdown();
    return 0;
}
