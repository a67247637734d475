// Redraw of a date-time line chart at 1200 x 600 offscreen after a change of its data: the image
// rebuild that the redraw actions run (ranges, per-column reduction, the plot drawn again; the
// layout and texts stay while the ranges do), in milliseconds per redraw.
#include "bench/bench_main.h"
#include "bench/chartlib/redraw_data.h"
#include "platform/chartlib/render/chart_render.h"

#include <benchmark/benchmark.h>

using namespace chartlib;

namespace {

void BM_Redraw(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    HCHART h = redraw::MakeChart(s, state.range(1) != 0);
    // Each redraw follows a change of the data (the last value written again), as after a
    // real-time sample; a rebuild after no change at all would keep the image as it is.
    const std::int32_t last = std::int32_t(s.ys.size()) - 1;
    for (auto _ : state) {
        ChartSetElement2D(h, 3014, 0, last, s.ys.back());
        benchmark::DoNotOptimize(ChartResetImage(h, 0, 0));
    }
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
