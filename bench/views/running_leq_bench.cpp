// The running Leq of "CAL Leq" over 1,000,000 levels. Goal: under 40 ms.
// Beside it, for scale, the plain form of the same mean (one power of ten
// and one logarithm a point, in double precision), which overflows for
// levels above about 3,080 dB where the running Leq does not.
#include "views/running_leq.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kNull = 9999.0f;

std::vector<float> Levels(std::size_t n)
{
    std::vector<float> levels(n);
    for (std::size_t i = 0; i < n; ++i) // 45..75 dB with a peak now and then
        levels[i] = 60.0f + 15.0f * std::sin(float(i) * 0.001f) + ((i % 997) == 0 ? 25.0f : 0.0f);
    return levels;
}

void RunningLeq(benchmark::State &state)
{
    const std::vector<float> levels = Levels(std::size_t(state.range(0)));
    std::vector<float> leq(levels.size());
    for (auto _ : state) {
        views::RunningLeq(levels, leq, kNull);
        benchmark::DoNotOptimize(leq.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void PlainFormula(benchmark::State &state)
{
    const std::vector<float> levels = Levels(std::size_t(state.range(0)));
    std::vector<float> leq(levels.size());
    for (auto _ : state) {
        double previous = levels[0];
        leq[0] = levels[0];
        for (std::size_t i = 1; i < levels.size(); ++i) {
            const double n = double(i + 1);
            previous = 10.0 * std::log10((n - 1.0) / n * std::pow(10.0, 0.1 * previous) +
                                         1.0 / n * std::pow(10.0, 0.1 * levels[i]));
            leq[i] = float(previous);
        }
        benchmark::DoNotOptimize(leq.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(RunningLeq)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainFormula)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
