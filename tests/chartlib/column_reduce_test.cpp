// The per-column reduction and the data extent: the fast path for X in order agrees with the
// point-by-point path, and points declared but never written are drawn (or skipped) as the
// values they read as, at no cost per point.
#include "platform/chartlib/column_reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

using namespace chartlib;

namespace {

constexpr double kT0 = 46000.5, kSec = 1.0 / 86400.0;

// Lowest and highest row each column reaches.
std::map<int, std::pair<double, double>> ColumnExtents(const std::vector<ColumnRun> &runs)
{
    std::map<int, std::pair<double, double>> m;
    for (const ColumnRun &r : runs) {
        auto [it, fresh] = m.try_emplace(int(std::floor(r.firstX)), r.minY, r.maxY);
        if (!fresh)
            it->second = {std::min(it->second.first, r.minY), std::max(it->second.second, r.maxY)};
    }
    return m;
}

} // namespace

TEST(ColumnReduce, FastPathForXInOrderAgreesWithThePointByPointPath)
{
    const int n = 50000;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> level(40.0, 120.0);
    std::vector<double> xs(n), ys(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = kT0 + i * 100.0 * kSec / n;
        ys[i] = i % 97 == 0 ? 9999.0 : level(rng); // some null values among them
    }
    ys[n / 2] = std::numeric_limits<double>::quiet_NaN();
    ReduceInput in;
    in.xs = xs;
    in.ys = ys;
    in.points = n;
    in.skipZeroX = true;
    in.hasNull = true;
    in.nullY = 9999.0;
    const ColumnMapping map =
        ColumnMapping::Of(40, 1190, 20, 560, kT0, kT0 + 100 * kSec, 30.0, 130.0);
    for (bool order : {true, false}) {
        in.extremesOrder = order;
        in.gaps = false;
        std::vector<ColumnRun> fast = ReduceToColumns(in, map, nullptr);
        // With gaps on the point-by-point path runs; nulls then split runs, so compare the
        // extent of each column rather than the runs themselves.
        in.gaps = true;
        std::vector<std::size_t> breaks;
        std::vector<ColumnRun> slow = ReduceToColumns(in, map, &breaks);
        EXPECT_FALSE(breaks.empty());
        auto a = ColumnExtents(fast), b = ColumnExtents(slow);
        ASSERT_EQ(a.size(), b.size());
        for (auto &[col, ext] : a) {
            EXPECT_DOUBLE_EQ(ext.first, b[col].first) << col;
            EXPECT_DOUBLE_EQ(ext.second, b[col].second) << col;
        }
        EXPECT_GT(fast.size(), 1000u);
        if (order) // the extremes' order matches the data's
            for (const ColumnRun &r : fast)
                if (r.minY != r.maxY) {
                    auto it = std::find_if(slow.begin(), slow.end(), [&](const ColumnRun &s) {
                        return s.firstX == r.firstX;
                    });
                    if (it != slow.end() && it->minY == r.minY && it->maxY == r.maxY) {
                        EXPECT_EQ(it->minFirst, r.minFirst);
                    }
                }
    }
    // X out of order takes the point-by-point path and still gives each column its extent.
    std::swap(xs[100], xs[20000]);
    in.gaps = false;
    EXPECT_GT(ReduceToColumns(in, map, nullptr).size(), 1000u);
}

TEST(ColumnReduce, UnwrittenPointsReadAsZeroAndCostNothing)
{
    // Ten levels written of a million points declared, X the point number: the rest is a
    // line at 0 to the last point, drawn as a few runs.
    std::vector<double> ys(10, 80.0);
    ReduceInput in;
    in.ys = ys;
    in.points = 1 << 20;
    in.useIndexX = true;
    const ColumnMapping map = ColumnMapping::Of(0, 1000, 0, 500, 1.0, double(1 << 20), 0.0, 100.0);
    std::vector<ColumnRun> runs = ReduceToColumns(in, map, nullptr);
    ASSERT_LE(runs.size(), 4u);
    EXPECT_DOUBLE_EQ(runs.back().lastX, 1000.0);
    EXPECT_DOUBLE_EQ(runs.back().lastY, 500.0);
    EXPECT_DOUBLE_EQ(runs.front().maxY, 500.0); // down from 80 to 0 within the first column
    DataExtent e;
    ExtendToData(in, e);
    ASSERT_TRUE(e.any);
    EXPECT_EQ(e.xmax, double(1 << 20));
    EXPECT_EQ(e.ymin, 0.0);
    EXPECT_EQ(e.ymax, 80.0);
    // 0 is the null value: the unwritten points are not drawn and do not count.
    in.hasNull = true;
    in.nullY = 0.0;
    runs = ReduceToColumns(in, map, nullptr);
    ASSERT_EQ(runs.size(), 1u);
    DataExtent e2;
    ExtendToData(in, e2);
    EXPECT_EQ(e2.xmax, 10.0);

    // Date-time X written for only some points: the others sit at X 0.0 and are skipped.
    std::vector<double> xs = {kT0, kT0 + kSec, kT0 + 2 * kSec};
    std::vector<double> many(5000, 70.0);
    in = {};
    in.xs = xs;
    in.ys = many;
    in.points = 1 << 20;
    in.skipZeroX = true;
    DataExtent e3;
    ExtendToData(in, e3);
    EXPECT_EQ(e3.xmin, kT0);
    EXPECT_EQ(e3.xmax, kT0 + 2 * kSec);
    EXPECT_EQ(
        ReduceToColumns(in, ColumnMapping::Of(0, 100, 0, 100, kT0, kT0 + 2 * kSec, 0, 100), nullptr)
            .size(),
        3u);
    // Nothing drawn at all: no runs, no extent.
    in.points = 0;
    DataExtent none;
    ExtendToData(in, none);
    EXPECT_FALSE(none.any);
    EXPECT_TRUE(ReduceToColumns(in, map, nullptr).empty());
}

// A kept extent follows writes point by point, so each point must count as the extent counts
// it: the extent of all points, each taken alone, is the extent of one pass, whatever the rows
// written hold (X or Y rows shorter than the other and than the points, X the point number,
// zero X in date-time mode, null and NaN levels).
TEST(ColumnReduce, TheExtentIsThatOfItsPointsTakenOneByOne)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> level(-50.0, 150.0);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<double> xs(rng() % 30), ys(rng() % 30);
        for (double &x : xs)
            x = rng() % 5 == 0 ? 0.0 : kT0 + level(rng) * kSec;
        for (double &y : ys) {
            const unsigned kind = rng() % 8;
            y = kind == 0   ? 9999.0
                : kind == 1 ? std::numeric_limits<double>::quiet_NaN()
                : kind == 2 ? 0.0
                            : level(rng);
        }
        ReduceInput in;
        in.xs = xs;
        in.ys = ys;
        in.points = std::int32_t(rng() % 40);
        in.skipZeroX = rng() % 2 == 0;
        in.useIndexX = xs.empty() && !in.skipZeroX;
        in.hasNull = rng() % 3 != 0;
        in.nullY = rng() % 2 ? 9999.0 : 0.0;
        DataExtent pass, each;
        ExtendToData(in, pass);
        for (std::size_t k = 0; k < std::size_t(in.points); ++k) {
            double x = 0.0, y = 0.0;
            if (!DataPoint(in, k, x, y))
                continue;
            each = each.any ? DataExtent{std::min(each.xmin, x), std::max(each.xmax, x),
                                         std::min(each.ymin, y), std::max(each.ymax, y), true}
                            : DataExtent{x, x, y, y, true};
        }
        ASSERT_EQ(pass.any, each.any) << trial;
        if (pass.any) {
            EXPECT_EQ(pass.xmin, each.xmin) << trial;
            EXPECT_EQ(pass.xmax, each.xmax) << trial;
            EXPECT_EQ(pass.ymin, each.ymin) << trial;
            EXPECT_EQ(pass.ymax, each.ymax) << trial;
        }
    }
}
