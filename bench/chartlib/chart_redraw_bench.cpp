// Redraw of a date-time line chart at 1200 x 600 offscreen: the image rebuild that the redraw
// actions run (layout, ranges, per-column reduction, axes, texts), in milliseconds per redraw.
#include "platform/chartlib/render/chart_render.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

using namespace chartlib;

namespace {

HCHART MakeChart(int points, bool manualRanges)
{
    ChartRect r{0, 0, 1200, 600};
    HCHART h = ChartCreateWithView(304, 0, &r, 0, 12111);
    const double t0 = 46000.5, step = 1.0 / 86400.0;
    ChartSetInt(h, 3018, 1);           // DateTimeMode
    ChartSetProperty(h, 3268, 9999.0); // NullDataValueY
    ChartSetInt(h, 2340, std::int32_t(ChartArgb(255, 0, 0, 0)));
    ChartSetInt(h, 2335, std::int32_t(ChartArgb(255, 190, 190, 190)));
    ChartSetElement(h, 2190, 0, std::int32_t(ChartArgb(255, 255, 255, 0)));
    ChartSetInt(h, 3032, 2);
    ChartSetString(h, 3005, u"dB");
    ChartSetString(h, 2105, u"DataLogger");
    if (manualRanges) {
        ChartSetInt(h, 3050, 3);
        ChartSetProperty(h, 3055, 30.0);
        ChartSetProperty(h, 3060, 130.0);
        ChartSetInt(h, 3615, 3);
        ChartSetProperty(h, 3620, t0);
        ChartSetProperty(h, 3625, t0 + points * step);
    }
    ChartSetInt(h, 2115, 1);
    ChartSetInt(h, 2120, points);
    std::vector<double> xs(static_cast<std::size_t>(points)), ys(xs.size());
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 4.0);
    for (int i = 0; i < points; ++i) {
        xs[std::size_t(i)] = t0 + i * step;
        ys[std::size_t(i)] = 70.0 + 15.0 * std::sin(i / 5000.0) + noise(rng);
    }
    ChartSetProperty(h, 3013, std::span<const double>(xs));
    ChartSetProperty(h, 3014, std::span<const double>(ys));
    ChartReinitialize(h);
    return h;
}

void BM_Redraw(benchmark::State &state)
{
    HCHART h = MakeChart(int(state.range(0)), state.range(1) != 0);
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

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
