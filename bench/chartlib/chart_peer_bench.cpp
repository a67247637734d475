// The chart redraw against QCustomPlot on the same data: 1200 x 600, date-time X axis, manual
// ranges, lines antialiased. Ours is the image rebuild the redraw actions run, after a change of
// the data (the last value changed, the plot drawn again, the layout kept) and after a change of a
// property (the title written again: layout and texts anew). QCustomPlot's are its whole replot
// into its paint buffers (adaptive sampling and its default antialiased look), the fair peer of a
// property change, and the replot of its graph alone on a buffered layer of its own, the fair peer
// of a data change. Printed side by side at the end in one table, with two figures of our own:
// - a cursor move at 100,000 points: cursor A walks across the chart through the control's
//   properties and the redraw idiom (GXnarg1, GXnarg2, ResetImage, InvalidateImage), as the
//   graph window moves it;
// - the peak memory of a 1,000,000-point chart (data written, image rebuilt, cursor moved)
//   against the size of its X and Y arrays, measured before any benchmark runs.
// Goals: a data change at most 0.5 of QCustomPlot's layer replot and a property change at most
// 0.5 of its whole replot at every size; a cursor move at most 0.3 ms; peak memory at most 1.5
// times the arrays. Run with --benchmark_repetitions=5 for the median of five runs.
#include "bench/bench_main.h"
#include "bench/chartlib/redraw_data.h"
#include "chart/control/gxsgraph.h"
#include "platform/chartlib/render/chart_render.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using namespace chartlib;

namespace {

constexpr int kCursorPoints = 100000;
constexpr int kMemoryPoints = 1000000;

void BM_Nivora(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    HCHART h = redraw::MakeChart(s, true);
    // Every rebuild follows a change of the data: the last value is written, as a real-time
    // sample writes one, and it really changes (it alternates between two levels), so the
    // rebuild has something to draw again; the layout around the plot stays.
    const std::int32_t last = std::int32_t(s.ys.size()) - 1;
    bool high = false;
    for (auto _ : state) {
        high = !high;
        ChartSetElement2D(h, 3014, 0, last, high ? redraw::kHighLevel : redraw::kLowLevel);
        benchmark::DoNotOptimize(ChartResetImage(h, 0, 0));
    }
    ChartDestroy(h);
}

void BM_NivoraRelayout(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    HCHART h = redraw::MakeChart(s, true);
    // The main title written again before each rebuild: everything is laid out and drawn.
    for (auto _ : state) {
        ChartSetString(h, 2105, u"DataLogger");
        benchmark::DoNotOptimize(ChartResetImage(h, 0, 0));
    }
    ChartDestroy(h);
}

// QCustomPlot set up as our chart is: the same data, title, axes, colours and viewport.
struct PeerPlot {
    QCustomPlot plot;
    QCPGraph *graph = nullptr;

    explicit PeerPlot(const redraw::Series &s)
    {
        // QCustomPlot's date-time axis counts seconds since 1970.
        constexpr double kUnixEpochDays = 25569.0;
        QVector<double> keys(qsizetype(s.xs.size())), values(qsizetype(s.ys.size()));
        for (std::size_t i = 0; i < s.xs.size(); ++i) {
            keys[qsizetype(i)] = (s.xs[i] - kUnixEpochDays) * 86400.0;
            values[qsizetype(i)] = s.ys[i];
        }
        plot.setViewport(QRect(0, 0, redraw::kWidth, redraw::kHeight));
        plot.setBackground(QColor(190, 190, 190));
        plot.axisRect()->setBackground(Qt::black);
        plot.plotLayout()->insertRow(0);
        plot.plotLayout()->addElement(0, 0,
                                      new QCPTextElement(&plot, QStringLiteral("DataLogger")));
        graph = plot.addGraph();
        graph->setPen(QPen(QColor(255, 255, 0)));
        graph->setAdaptiveSampling(true);
        graph->setData(keys, values, true);
        plot.xAxis->setTicker(QSharedPointer<QCPAxisTickerDateTime>::create());
        plot.xAxis->setRange(keys.front(), keys.front() + double(s.xs.size()));
        plot.yAxis->setRange(30.0, 130.0);
        plot.yAxis->setLabel(QStringLiteral("dB"));
    }
};

// QCustomPlot's whole replot (layout, axes, texts and the graph) into its paint buffer.
void BM_QCustomPlot(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    PeerPlot peer(s);
    peer.plot.replot(QCustomPlot::rpImmediateRefresh); // lays out once
    for (auto _ : state)
        peer.plot.replot(QCustomPlot::rpImmediateRefresh);
    state.counters["replot_ms"] = peer.plot.replotTime(true); // QCustomPlot's own figure
}

// QCustomPlot's fastest redraw of the graph alone: the graph on a layer of its own with a
// paint buffer of its own (lmBuffered), and only that layer replotted; the axes, grid and
// texts stay in the buffers of the layers below and above it.
void BM_QCustomPlotLayer(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    PeerPlot peer(s);
    peer.plot.addLayer(QStringLiteral("trace"), peer.plot.layer(QStringLiteral("main")),
                       QCustomPlot::limAbove);
    QCPLayer *layer = peer.plot.layer(QStringLiteral("trace"));
    layer->setMode(QCPLayer::lmBuffered);
    peer.graph->setLayer(layer);
    peer.plot.replot(QCustomPlot::rpImmediateRefresh); // lays out and fills every buffer once
    for (auto _ : state)
        layer->replot();
}

// The graph window's chart at 1200 x 600 with the series, cursor lines shown.
struct CursorChart {
    GXSGraph chart;
    explicit CursorChart(const redraw::Series &s)
    {
        chart.resize(redraw::kWidth, redraw::kHeight);
        chart.show(); // the chart gets its window
        redraw::SetUpChart(chart.GethObject(), s, true);
        chart.SetShowVertLineAnnotations(true);
        chart.SetGXactions(sgReinitAndReset);
    }
    // Cursor A to point i, its label as the graph window writes it, and the redraw.
    void MoveTo(const redraw::Series &s, std::size_t i)
    {
        chart.SetVertLineAnnotation(0, s.xs[i]);
        chart.SetVertLineAnnotationText(0, u"|t12:00:00\n71.3dB");
        chart.SetGXnarg1(0);
        chart.SetGXnarg2(0);
        chart.SetGXactions(sgResetImage);
        chart.SetGXactions(sgInvalidateImage);
    }
};

void BM_NivoraCursorMove(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    CursorChart c(s);
    std::size_t i = 0;
    const std::size_t step = s.xs.size() / 997 + 1;
    for (auto _ : state) {
        i = (i + step) % s.xs.size();
        c.MoveTo(s, i);
    }
}

constexpr int kSizes[] = {2000, 47000, 100000, 1000000};

void Sizes(benchmark::internal::Benchmark *b)
{
    b->ArgName("points")->Unit(benchmark::kMillisecond);
    for (int n : kSizes)
        b->Arg(n);
}

BENCHMARK(BM_Nivora)->Apply(Sizes);
BENCHMARK(BM_NivoraRelayout)->Apply(Sizes);
BENCHMARK(BM_QCustomPlot)->Apply(Sizes);
BENCHMARK(BM_QCustomPlotLayer)->Apply(Sizes);
BENCHMARK(BM_NivoraCursorMove)
    ->ArgName("points")
    ->Arg(kCursorPoints)
    ->Unit(benchmark::kMillisecond);

// Kilobytes of the process: resident now (VmRSS) or at its peak (VmHWM).
long StatusKb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = -1;
    while (status >> key) {
        if (key == field) {
            status >> kb;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    return kb;
}

// The peak memory of a 1,000,000-point chart: the resident size's peak while the chart is
// made, filled and drawn, above what was resident before (the series itself included).
struct MemoryFigure {
    double chartMb = 0, arraysMb = 0;
};

MemoryFigure MeasureMemory()
{
    { // fonts, glyphs and the painter's caches come with the first chart ever drawn
        const redraw::Series warm = redraw::MakeSeries(2000);
        CursorChart c(warm);
        c.MoveTo(warm, 10);
    }
    const redraw::Series s = redraw::MakeSeries(kMemoryPoints);
    const long before = StatusKb("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from now
    {
        CursorChart c(s);
        c.MoveTo(s, s.xs.size() / 3);
        c.MoveTo(s, s.xs.size() / 2);
    }
    const long peak = StatusKb("VmHWM:");
    MemoryFigure m;
    m.chartMb = double(peak - before) / 1024.0;
    m.arraysMb = double(2 * s.xs.size() * sizeof(double)) / (1024.0 * 1024.0);
    return m;
}

// Prints the usual lines and keeps each run's time for the table at the end (the median of the
// repetitions when --benchmark_repetitions asks for several).
class SideBySide : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (!r.error_message.empty())
                continue;
            const int points = std::stoi(r.run_name.args.substr(r.run_name.args.find(':') + 1));
            if (r.run_type == Run::RT_Iteration)
                FTimes[r.run_name.function_name][points].push_back(r.GetAdjustedRealTime());
            else if (r.aggregate_name == "median")
                FMedians[r.run_name.function_name][points] = r.GetAdjustedRealTime();
        }
    }
    // One line a size, which scripts read: points, ours after a data change, ours after a
    // property change, QCustomPlot's whole replot, QCustomPlot's buffered-layer replot (all
    // in ms), the data change against the layer replot, the property change against the
    // whole replot.
    void Table(const MemoryFigure &m) const
    {
        std::printf("\npoints data-change-ms property-change-ms qcp-replot-ms qcp-layer-ms "
                    "data/layer property/replot\n");
        for (int n : kSizes) {
            const double data = Time("BM_Nivora", n), property = Time("BM_NivoraRelayout", n);
            const double replot = Time("BM_QCustomPlot", n), layer = Time("BM_QCustomPlotLayer", n);
            if (data > 0 && property > 0 && replot > 0 && layer > 0)
                std::printf("%d %.3f %.3f %.3f %.3f %.2f %.2f\n", n, data, property, replot, layer,
                            data / layer, property / replot);
        }
        std::printf("goal: both ratios at most 0.50\n");
        if (const double move = Time("BM_NivoraCursorMove", kCursorPoints); move > 0)
            std::printf("\ncursor move at %d points: %.3f ms (goal: at most 0.3 ms)\n",
                        kCursorPoints, move);
        if (m.arraysMb > 0)
            std::printf("peak memory of a %d-point chart: %.1f MB, %.2f times its X and Y "
                        "arrays of %.1f MB (goal: at most 1.5)\n",
                        kMemoryPoints, m.chartMb, m.chartMb / m.arraysMb, m.arraysMb);
    }

private:
    double Time(const std::string &function, int points) const
    {
        if (auto m = FMedians.find(function); m != FMedians.end())
            if (auto t = m->second.find(points); t != m->second.end())
                return t->second;
        auto f = FTimes.find(function);
        if (f == FTimes.end())
            return 0;
        auto t = f->second.find(points);
        if (t == f->second.end() || t->second.empty())
            return 0;
        std::vector<double> times = t->second;
        std::sort(times.begin(), times.end());
        const std::size_t k = times.size() / 2;
        return times.size() % 2 ? times[k] : (times[k - 1] + times[k]) / 2.0;
    }
    std::map<std::string, std::map<int, std::vector<double>>> FTimes;
    std::map<std::string, std::map<int, double>> FMedians;
};

SideBySide gReporter;
MemoryFigure gMemory;

const bench::TMainHooks hooks{{
    .Before = nullptr,
    .Application =
        [](int &argc, char **argv) {
            auto app = std::make_unique<QApplication>(argc, argv);
            gMemory = MeasureMemory(); // first, on a heap no benchmark has used yet
            return std::unique_ptr<QCoreApplication>(std::move(app));
        },
    .Reporter = &gReporter,
    .After = [] { gReporter.Table(gMemory); },
}};

} // namespace
