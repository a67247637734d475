// The data set both redraw benchmarks draw: one subset of noisy levels, one point a second,
// X in days from a date-time at noon, and the chart set up as the graph windows set theirs up.
#pragma once

#include "platform/chartlib/render/chart_render.h"

#include <cmath>
#include <random>
#include <span>
#include <vector>

namespace redraw {

constexpr double kT0 = 46000.5, kStep = 1.0 / 86400.0;
constexpr int kWidth = 1200, kHeight = 600;
// The two levels the benchmarks' data changes write in turn (dB), well inside the data.
constexpr double kLowLevel = 65.0, kHighLevel = 75.0;

struct Series {
    std::vector<double> xs, ys; // X in days, Y in dB
};

inline Series MakeSeries(int points)
{
    Series s;
    s.xs.resize(std::size_t(points));
    s.ys.resize(s.xs.size());
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 4.0);
    for (int i = 0; i < points; ++i) {
        s.xs[std::size_t(i)] = kT0 + i * kStep;
        s.ys[std::size_t(i)] = 70.0 + 15.0 * std::sin(i / 5000.0) + noise(rng);
    }
    return s;
}

// Sets a chart up as a date-time chart of the series; manual ranges 30..130 dB over the series.
inline void SetUpChart(chartlib::HCHART h, const Series &s, bool manualRanges)
{
    using namespace chartlib;
    const auto points = std::int32_t(s.xs.size());
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
        ChartSetProperty(h, 3620, kT0);
        ChartSetProperty(h, 3625, kT0 + points * kStep);
    }
    ChartSetInt(h, 2115, 1);
    ChartSetInt(h, 2120, points);
    ChartSetProperty(h, 3013, std::span<const double>(s.xs));
    ChartSetProperty(h, 3014, std::span<const double>(s.ys));
    ChartReinitialize(h);
}

// A date-time chart of the series at 1200 x 600 (see SetUpChart).
inline chartlib::HCHART MakeChart(const Series &s, bool manualRanges)
{
    chartlib::ChartRect r{0, 0, kWidth, kHeight};
    chartlib::HCHART h = chartlib::ChartCreateWithView(304, 0, &r, 0, 12111);
    SetUpChart(h, s, manualRanges);
    return h;
}

} // namespace redraw
