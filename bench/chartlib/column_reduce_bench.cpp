// The per-column reduction and the data extent over one subset, without any drawing: a time
// series in order (the fast path), the same points with X as the point number (the point by
// point path), and a subset declared far larger than what was written, whose unwritten points
// must cost nothing. Milliseconds per pass; goal: under 1 ms for a million points in order.
#include "platform/chartlib/column_reduce.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

using namespace chartlib;

namespace {

struct Data {
    std::vector<double> xs, ys;
};

const Data &Series(std::size_t n)
{
    static std::map<std::size_t, Data> cache;
    auto [it, fresh] = cache.try_emplace(n);
    if (fresh) {
        std::mt19937 rng(1);
        std::normal_distribution<double> noise(0.0, 4.0);
        for (std::size_t i = 0; i < n; ++i) {
            it->second.xs.push_back(46000.5 + double(i) / 86400.0);
            it->second.ys.push_back(70.0 + 15.0 * std::sin(double(i) / 5000.0) + noise(rng));
        }
    }
    return it->second;
}

// 1200 columns over the series, 30..130 dB over 600 rows.
ReduceInput InputOf(const Data &d, bool indexX, std::int32_t declared)
{
    ReduceInput in;
    in.xs = indexX ? std::span<const double>() : std::span<const double>(d.xs);
    in.ys = d.ys;
    in.points = declared;
    in.useIndexX = indexX;
    in.skipZeroX = !indexX;
    in.hasNull = true;
    in.nullY = 9999.0;
    in.extremesOrder = false; // as a solid line is drawn
    in.xAscending = !indexX;  // as the chart object knows it
    return in;
}

ColumnMapping MappingOf(const ReduceInput &in, const Data &d)
{
    double x0 = in.useIndexX ? 1.0 : d.xs.front();
    double x1 = in.useIndexX ? double(in.points) : d.xs.front() + in.points / 86400.0;
    return ColumnMapping::Of(40, 1190, 30, 560, x0, x1, 30.0, 130.0);
}

void BM_Reduce(benchmark::State &state)
{
    const Data &d = Series(std::size_t(state.range(0)));
    ReduceInput in = InputOf(d, state.range(1) != 0, std::int32_t(state.range(2)));
    ColumnMapping map = MappingOf(in, d);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReduceToColumns(in, map, nullptr));
}

void BM_Extent(benchmark::State &state)
{
    const Data &d = Series(std::size_t(state.range(0)));
    ReduceInput in = InputOf(d, false, std::int32_t(state.range(0)));
    for (auto _ : state) {
        DataExtent e;
        ExtendToData(in, e);
        benchmark::DoNotOptimize(e);
    }
}

} // namespace

// Arguments: points written, X as the point number (1) or written (0), points declared.
BENCHMARK(BM_Reduce)
    ->ArgNames({"written", "indexX", "declared"})
    ->Args({1000000, 0, 1000000})
    ->Args({1000000, 1, 1000000})
    ->Args({1000, 0, 1 << 20})
    ->Args({1000, 1, 1 << 20})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Extent)->ArgName("points")->Arg(1000000)->Unit(benchmark::kMillisecond);
