// Redraw of a date-time line chart at 1200 x 600 offscreen after a change of its data: the image
// rebuild that the redraw actions run (ranges, per-column reduction, the plot drawn again; the
// layout and texts stay while the ranges do), in milliseconds per redraw, with automatic ranges
// and with fixed (manual) ones set where the automatic ones lie, side by side at each size. Goals:
// at most 6 ms for a million points; automatic ranges at most 1.2 times fixed ones at every size
// (the range of the data is kept as values arrive, not found again by a pass over all of them).
#include "bench/bench_main.h"
#include "bench/chartlib/redraw_data.h"
#include "platform/chartlib/render/chart_render.h"
#include "platform/chartlib/render/chart_view.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

using namespace chartlib;

namespace {

void BM_Redraw(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    HCHART h = redraw::MakeChart(s, false);
    if (state.range(1) != 0) {
        // Fixed ranges where the automatic ones lie, so that both draw the same picture and
        // differ only in how the ranges are found.
        ChartResetImage(h, 0, 0);
        const ChartFrame &f = ViewOf(h)->Frame();
        const Range x = f.x, y = f.y;
        ChartSetInt(h, 3050, 3); // ManualScaleControlY
        ChartSetProperty(h, 3055, y.min);
        ChartSetProperty(h, 3060, y.max);
        ChartSetInt(h, 3615, 3); // ManualScaleControlX
        ChartSetProperty(h, 3620, x.min);
        ChartSetProperty(h, 3625, x.max);
        ChartReinitialize(h);
    }
    // Each redraw follows a change of the data, as after a real-time sample: the last value
    // alternates between two levels inside the data's extent, so it really changes (a value
    // written again unchanged leaves nothing to draw again).
    const std::int32_t last = std::int32_t(s.ys.size()) - 1;
    bool high = false;
    for (auto _ : state) {
        high = !high;
        ChartSetElement2D(h, 3014, 0, last, high ? redraw::kHighLevel : redraw::kLowLevel);
        benchmark::DoNotOptimize(ChartResetImage(h, 0, 0));
    }
    ChartDestroy(h);
}

constexpr int kSizes[] = {2000, 47000, 100000, 1000000};

// Arguments: points, fixed ranges (1, where the automatic ones lie) or automatic ranges (0).
void Sizes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"points", "manual"})->Unit(benchmark::kMillisecond);
    for (int n : kSizes)
        for (int manual : {1, 0})
            b->Args({n, manual});
}

BENCHMARK(BM_Redraw)->Apply(Sizes);

// Prints the usual lines and, at the end, one line a size: points, fixed ranges (ms),
// automatic ranges (ms), their ratio (the median of the repetitions when there are several).
class Ranges : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (!r.error_message.empty() || r.run_name.args.empty())
                continue;
            int points = 0, manual = 0;
            if (std::sscanf(r.run_name.args.c_str(), "points:%d/manual:%d", &points, &manual) != 2)
                continue;
            if (r.run_type == Run::RT_Iteration)
                FTimes[{points, manual}].push_back(r.GetAdjustedRealTime());
            else if (r.aggregate_name == "median")
                FMedians[{points, manual}] = r.GetAdjustedRealTime();
        }
    }
    void Table() const
    {
        std::printf("\npoints fixed-ranges-ms automatic-ranges-ms automatic/fixed\n");
        for (int n : kSizes) {
            const double fixed = Time(n, 1), automatic = Time(n, 0);
            if (fixed > 0 && automatic > 0)
                std::printf("%d %.3f %.3f %.2f\n", n, fixed, automatic, automatic / fixed);
        }
        std::printf("goal: automatic/fixed at most 1.20\n");
    }

private:
    double Time(int points, int manual) const
    {
        if (auto m = FMedians.find({points, manual}); m != FMedians.end())
            return m->second;
        auto t = FTimes.find({points, manual});
        if (t == FTimes.end() || t->second.empty())
            return 0;
        std::vector<double> times = t->second;
        std::sort(times.begin(), times.end());
        const std::size_t k = times.size() / 2;
        return times.size() % 2 ? times[k] : (times[k - 1] + times[k]) / 2.0;
    }
    std::map<std::pair<int, int>, std::vector<double>> FTimes;
    std::map<std::pair<int, int>, double> FMedians;
};

Ranges gReporter;

const bench::TMainHooks hooks{
    {.Before = nullptr, .Application = nullptr, .Reporter = &gReporter, .After = [] {
         gReporter.Table();
     }}};

} // namespace
