// The chart redraw against QCustomPlot on the same data: 1200 x 600, date-time X axis, manual
// ranges, lines antialiased. Ours is the image rebuild the redraw actions run; QCustomPlot's is
// a replot into its paint buffer (adaptive sampling and its default antialiased look). Both
// figures are printed side by side at the end. Goal: ours at most 0.7 of QCustomPlot's time.
#include "bench/chartlib/redraw_data.h"
#include "platform/chartlib/render/chart_render.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

using namespace chartlib;

namespace {

void BM_Nivora(benchmark::State &state)
{
    HCHART h = redraw::MakeChart(redraw::MakeSeries(int(state.range(0))), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ChartResetImage(h, 0, 0));
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
    plot.xAxis->setRange(keys.front(), keys.front() + s.xs.size() * 1.0);
    plot.yAxis->setRange(30.0, 130.0);
    plot.yAxis->setLabel(QStringLiteral("dB"));
    plot.replot(QCustomPlot::rpImmediateRefresh); // lays out once
    for (auto _ : state)
        plot.replot(QCustomPlot::rpImmediateRefresh);
    state.counters["replot_ms"] = plot.replotTime(true); // QCustomPlot's own figure
}

BENCHMARK(BM_Nivora)->ArgName("points")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlot)
    ->ArgName("points")
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// Prints the usual lines and keeps each run's time for the table at the end.
class SideBySide : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.error_message.empty())
                FTimes[r.run_name.args][r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    void Table() const
    {
        std::printf("\n%-14s %12s %16s %8s\n", "points", "Nivora ms", "QCustomPlot ms", "ratio");
        for (const auto &[args, times] : FTimes) {
            auto ours = times.find("BM_Nivora"), theirs = times.find("BM_QCustomPlot");
            if (ours == times.end() || theirs == times.end())
                continue;
            std::printf("%-14s %12.2f %16.2f %8.2f\n", args.c_str(), ours->second, theirs->second,
                        ours->second / theirs->second);
        }
        std::printf("goal: ratio at most 0.70\n");
    }

private:
    std::map<std::string, std::map<std::string, double>> FTimes;
};

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    SideBySide reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.Table();
    benchmark::Shutdown();
    return 0;
}
