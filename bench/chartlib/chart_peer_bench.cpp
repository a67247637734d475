// The chart redraw against QCustomPlot on the same data: 1200 x 600, date-time X axis, manual
// ranges, lines antialiased. Ours is the image rebuild the redraw actions run; QCustomPlot's is
// a replot into its paint buffer (adaptive sampling and its default antialiased look). Printed
// side by side at the end, with the rebuild after a change of a property beside them (layout,
// texts and the whole image drawn again), and two figures of our own:
// - a cursor move at 100,000 points: cursor A walks across the chart through the control's
//   properties and the redraw idiom (GXnarg1, GXnarg2, ResetImage, InvalidateImage), as the
//   graph window moves it;
// - the peak memory of a 1,000,000-point chart (data written, image rebuilt, cursor moved)
//   against the size of its X and Y arrays, measured before any benchmark runs.
// Goals: ours at most 0.5 of QCustomPlot's time at every size; a cursor move at most 0.3 ms;
// peak memory at most 1.5 times the arrays.
#include "bench/bench_main.h"
#include "bench/chartlib/redraw_data.h"
#include "chart/control/gxsgraph.h"
#include "platform/chartlib/render/chart_render.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

using namespace chartlib;

namespace {

constexpr int kCursorPoints = 100000;
constexpr int kMemoryPoints = 1000000;

void BM_Nivora(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    HCHART h = redraw::MakeChart(s, true);
    // Every rebuild follows a change of the data (the last value written again, as a
    // real-time sample writes one): the plot is drawn again, the layout around it stays.
    const std::int32_t last = std::int32_t(s.ys.size()) - 1;
    for (auto _ : state) {
        ChartSetElement2D(h, 3014, 0, last, s.ys.back());
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

void BM_QCustomPlot(benchmark::State &state)
{
    const redraw::Series s = redraw::MakeSeries(int(state.range(0)));
    // QCustomPlot's date-time axis counts seconds since 1970.
    constexpr double kUnixEpochDays = 25569.0;
    QVector<double> keys(qsizetype(s.xs.size())), values(qsizetype(s.ys.size()));
    for (std::size_t i = 0; i < s.xs.size(); ++i) {
        keys[qsizetype(i)] = (s.xs[i] - kUnixEpochDays) * 86400.0;
        values[qsizetype(i)] = s.ys[i];
    }
    QCustomPlot plot;
    plot.setViewport(QRect(0, 0, redraw::kWidth, redraw::kHeight));
    plot.setBackground(QColor(190, 190, 190));
    plot.axisRect()->setBackground(Qt::black);
    plot.plotLayout()->insertRow(0);
    plot.plotLayout()->addElement(0, 0, new QCPTextElement(&plot, QStringLiteral("DataLogger")));
    QCPGraph *graph = plot.addGraph();
    graph->setPen(QPen(QColor(255, 255, 0)));
    graph->setAdaptiveSampling(true);
    graph->setData(keys, values, true);
    plot.xAxis->setTicker(QSharedPointer<QCPAxisTickerDateTime>::create());
    plot.xAxis->setRange(keys.front(), keys.front() + double(s.xs.size()));
    plot.yAxis->setRange(30.0, 130.0);
    plot.yAxis->setLabel(QStringLiteral("dB"));
    plot.replot(QCustomPlot::rpImmediateRefresh); // lays out once
    for (auto _ : state)
        plot.replot(QCustomPlot::rpImmediateRefresh);
    state.counters["replot_ms"] = plot.replotTime(true); // QCustomPlot's own figure
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

// Prints the usual lines and keeps each run's time for the table at the end.
class SideBySide : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.error_message.empty())
                FTimes[r.run_name.function_name]
                      [std::stoi(r.run_name.args.substr(r.run_name.args.find(':') + 1))] =
                          r.GetAdjustedRealTime();
    }
    void Table(const MemoryFigure &m) const
    {
        std::printf("\n%-10s %12s %16s %8s %24s\n", "points", "Nivora ms", "QCustomPlot ms",
                    "ratio", "after a property change");
        for (int n : kSizes) {
            const double ours = Time("BM_Nivora", n), theirs = Time("BM_QCustomPlot", n);
            if (ours > 0 && theirs > 0)
                std::printf("%-10d %12.3f %16.3f %8.2f %21.3f ms\n", n, ours, theirs, ours / theirs,
                            Time("BM_NivoraRelayout", n));
        }
        std::printf("goal: ratio at most 0.50\n");
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
        auto f = FTimes.find(function);
        if (f == FTimes.end())
            return 0;
        auto t = f->second.find(points);
        return t == f->second.end() ? 0 : t->second;
    }
    std::map<std::string, std::map<int, double>> FTimes;
};

SideBySide gReporter;
MemoryFigure gMemory;

const bench::TMainHooks hooks{{
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
