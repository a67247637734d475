// Redraw of a date-time line chart at 1200 x 600 offscreen: the image rebuild that the redraw
// actions run (layout, ranges, per-column reduction, axes, texts), in milliseconds per redraw.
#include "bench/bench_main.h"
#include "bench/chartlib/redraw_data.h"
#include "platform/chartlib/render/chart_render.h"

#include <benchmark/benchmark.h>

using namespace chartlib;

namespace {

void BM_Redraw(benchmark::State &state)
{
    HCHART h = redraw::MakeChart(redraw::MakeSeries(int(state.range(0))), state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ChartResetImage(h, 0, 0));
    ChartDestroy(h);
}

} // namespace

// Arguments: points, manual ranges (1) or automatic ranges (0).
BENCHMARK(BM_Redraw)
    ->ArgNames({"points", "manual"})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond);
