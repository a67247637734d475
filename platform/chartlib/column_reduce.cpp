#include "platform/chartlib/column_reduce.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chartlib {

ColumnMapping ColumnMapping::Of(double left, double right, double top, double bottom, double xmin,
                                double xmax, double ymin, double ymax)
{
    ColumnMapping m;
    m.sx = (right - left) / (xmax - xmin);
    m.sy = (bottom - top) / (ymax - ymin);
    m.x0 = left - xmin * m.sx;
    m.y0 = bottom + ymin * m.sy;
    return m;
}

namespace {

// The parts of a subset's point range: [0, both) has X and Y written, [both, one) only one of
// them, and [one, points) neither, so every point there reads as the same value.
struct Extents {
    std::size_t both, one, points;
};

Extents ExtentsOf(const ReduceInput &in)
{
    const std::size_t n = std::size_t(std::max(0, in.points));
    const std::size_t ny = std::min(n, in.ys.size());
    if (in.useIndexX) // X is the point number: written wherever Y is
        return {ny, ny, n};
    const std::size_t nx = std::min(n, in.xs.size());
    return {std::min(nx, ny), std::max(nx, ny), n};
}

// Lowest and highest of n values (the first is neither null nor NaN; null and NaN never
// count), in four independent chains of comparisons without a jump.
inline void LowHigh(const double *ys, std::size_t n, double nullY, double &lo, double &hi)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double l[4] = {ys[0], kInf, kInf, kInf}, h[4] = {ys[0], -kInf, -kInf, -kInf};
    std::size_t k = 1;
    auto step = [&](int c, double y) {
        bool use = y != nullY && y == y;
        double yl = use ? y : kInf, yh = use ? y : -kInf;
        l[c] = yl < l[c] ? yl : l[c];
        h[c] = yh > h[c] ? yh : h[c];
    };
    for (; k + 4 <= n; k += 4) {
        step(0, ys[k]);
        step(1, ys[k + 1]);
        step(2, ys[k + 2]);
        step(3, ys[k + 3]);
    }
    for (; k < n; ++k)
        step(0, ys[k]);
    lo = std::min(std::min(l[0], l[1]), std::min(l[2], l[3]));
    hi = std::max(std::max(h[0], h[1]), std::max(h[2], h[3]));
}

} // namespace

std::vector<ColumnRun> ReduceToColumns(const ReduceInput &in, const ColumnMapping &map,
                                       std::vector<std::size_t> *breaksBefore)
{
    // One pass over the points. Consecutive points that fall in the same pixel column are
    // merged into a run that keeps its first and last point and its lowest and highest value.
    // Values are compared in data units and turned into pixels once per run.
    std::vector<ColumnRun> runs;
    const double sx = map.sx, sy = map.sy, x0 = map.x0, y0 = map.y0;
    constexpr double kFar = 1.0e6; // pixel coordinates are held within +-kFar
    auto pixelY = [&](double v) { return std::clamp(y0 - v * sy, -kFar, kFar); };
    const Extents ext = ExtentsOf(in);
    const double *xs = in.xs.data(), *ys = in.ys.data();
    // Null test as one comparison: NaN never compares equal.
    const double nullY = in.hasNull ? in.nullY : std::numeric_limits<double>::quiet_NaN();
    const bool skipZeroX = in.skipZeroX;

    bool open = false, pendingBreak = false;
    std::int64_t column = std::numeric_limits<std::int64_t>::min(); // no run open yet
    double firstPx = 0, firstY = 0, lastPx = 0, lastY = 0, lo = 0, hi = 0;
    bool loFirst = true;
    auto flush = [&]() {
        double pLo = pixelY(lo), pHi = pixelY(hi); // pHi is above pLo on screen
        runs.push_back({firstPx, pixelY(firstY), lastPx, pixelY(lastY), pHi, pLo, !loFirst});
    };
    auto visit = [&](double xv, double yv) __attribute__((always_inline))
    {
        if (yv == nullY) {
            if (in.gaps)
                pendingBreak = true;
            return;
        }
        if ((skipZeroX && xv == 0.0) || yv != yv)
            return;
        double px = x0 + xv * sx;
        if (!(px > -kFar && px < kFar)) {
            if (px != px)
                return;
            px = px < 0 ? -kFar : kFar;
        }
        auto col = std::int64_t(px + kFar); // floor: the sum is never negative
        if (col == column && !pendingBreak) {
            lastPx = px;
            lastY = yv;
            if (yv < lo) {
                lo = yv;
                loFirst = false;
            } else if (yv > hi) {
                hi = yv;
                loFirst = true;
            }
            return;
        }
        if (open)
            flush();
        if (pendingBreak && breaksBefore)
            breaksBefore->push_back(runs.size());
        pendingBreak = false;
        open = true;
        column = col;
        firstPx = lastPx = px;
        firstY = lastY = lo = hi = yv;
        loFirst = true;
    };

    // Fast path for X in ascending order (the usual time series): each column's points are
    // found by binary search, so X is read a few times per column and Y once, without
    // branches that depend on the column.
    std::size_t done = 0;
    if (!in.useIndexX && !in.gaps && ext.both > 4096) {
        std::size_t begin = 0, end = ext.both;
        if (skipZeroX) { // room not yet filled (X 0.0) at either end
            while (begin < end && xs[begin] == 0.0)
                ++begin;
            while (end > begin && xs[end - 1] == 0.0)
                --end;
        }
        std::size_t descents = 0; // counted without a jump, so that it runs at memory speed
        if (!in.xAscending)
            for (std::size_t i = begin + 1; i < end; ++i)
                descents += !(xs[i] >= xs[i - 1]); // NaN counts too
        const bool sorted = descents == 0;
        if (begin == end)
            done = ext.both; // nothing but X 0.0, none of it drawn
        else if (sorted) {
            double columns = (xs[end - 1] - xs[begin]) * sx; // NaN for infinite X
            runs.reserve(columns > 16.0 ? std::size_t(std::min(columns, 65536.0)) + 2 : 16);
            auto colOf = [&](double xv) {
                double px = std::clamp(x0 + xv * sx, -kFar, kFar);
                return std::int64_t(px + kFar);
            };
            std::size_t guess = 0;
            for (std::size_t i = begin; i < end;) {
                std::int64_t c = colOf(xs[i]);
                // The column's end: galloping from its start keeps the search near the data
                // just read, then a binary search within the last step.
                // Columns of a steady series hold about as many points as the one before: a
                // few reads near that guess find the end; otherwise gallop from the start.
                std::size_t j = std::min(end, i + std::max<std::size_t>(guess, 1));
                for (int k = 0; k < 8 && j < end && colOf(xs[j]) <= c; ++k)
                    ++j;
                for (int k = 0; k < 8 && j > i + 1 && colOf(xs[j - 1]) > c; ++k)
                    --j;
                if (!(colOf(xs[j - 1]) <= c && (j == end || colOf(xs[j]) > c))) {
                    std::size_t bound = 1;
                    while (i + bound < end && colOf(xs[i + bound]) <= c)
                        bound *= 2;
                    j = std::size_t(std::upper_bound(xs + i + bound / 2,
                                                     xs + std::min(end, i + bound), c,
                                                     [&](std::int64_t cc, double xv) {
                                                         return cc < colOf(xv);
                                                     }) -
                                    xs);
                }
                guess = j - i;
                std::size_t a = i, b = j;
                while (a < b && (ys[a] == nullY || ys[a] != ys[a]))
                    ++a;
                while (b > a && (ys[b - 1] == nullY || ys[b - 1] != ys[b - 1]))
                    --b;
                if (a < b) {
                    double l, hgh;
                    LowHigh(ys + a, b - a, nullY, l, hgh);
                    // Which of the two comes first, where the drawing needs it.
                    std::size_t li = a, hi_i = a;
                    if (in.extremesOrder && l != hgh) {
                        std::size_t k = a;
                        while (ys[k] != l && ys[k] != hgh)
                            ++k;
                        (ys[k] == l ? li : hi_i) = k;
                        (ys[k] == l ? hi_i : li) = k + 1;
                    }
                    firstPx = std::clamp(x0 + xs[a] * sx, -kFar, kFar);
                    lastPx = std::clamp(x0 + xs[b - 1] * sx, -kFar, kFar);
                    firstY = ys[a];
                    lastY = ys[b - 1];
                    lo = l;
                    hi = hgh;
                    loFirst = li <= hi_i;
                    flush();
                }
                i = j;
            }
            done = ext.both; // the X 0.0 points trimmed at the end are not drawn either
        }
    }

    // The bulk: X and Y both written.
    if (done == 0) {
        if (in.useIndexX)
            for (std::size_t i = 0; i < ext.both; ++i)
                visit(double(i + 1), ys[i]);
        else
            for (std::size_t i = 0; i < ext.both; ++i)
                visit(xs[i], ys[i]);
    }
    // Points with only one of X and Y written: the other reads as 0.
    for (std::size_t i = ext.both; i < ext.one; ++i)
        visit(i < in.xs.size() ? xs[i] : 0.0, i < in.ys.size() ? ys[i] : 0.0);
    // Points with neither: all read as Y 0, at their point number or at X 0. The first and
    // the last of them cover the same pixels as all of them.
    if (ext.one < ext.points) {
        if (in.useIndexX) {
            visit(double(ext.one + 1), 0.0);
            visit(double(ext.points), 0.0);
        } else {
            visit(0.0, 0.0);
        }
    }
    if (open)
        flush();
    return runs;
}

void ExtendToData(const ReduceInput &in, DataExtent &e)
{
    // The loop body is free of jumps so that it runs at memory speed on large data.
    const double nullY = in.hasNull ? in.nullY : std::numeric_limits<double>::quiet_NaN();
    const bool skipZero = in.skipZeroX;
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double xlo = e.any ? e.xmin : kInf, xhi = e.any ? e.xmax : -kInf;
    double ylo = e.any ? e.ymin : kInf, yhi = e.any ? e.ymax : -kInf;
    auto add = [&](double x, double y) {
        bool skip = (y == nullY) | (skipZero & (x == 0.0)) | (y != y) | (x != x);
        double xa = skip ? kInf : x, xb = skip ? -kInf : x;
        double ya = skip ? kInf : y, yb = skip ? -kInf : y;
        xlo = xa < xlo ? xa : xlo;
        xhi = xb > xhi ? xb : xhi;
        ylo = ya < ylo ? ya : ylo;
        yhi = yb > yhi ? yb : yhi;
    };
    const Extents ext = ExtentsOf(in);
    const double *px = in.xs.data(), *py = in.ys.data();
    if (in.useIndexX)
        for (std::size_t i = 0; i < ext.both; ++i)
            add(double(i + 1), py[i]);
    else
        for (std::size_t i = 0; i < ext.both; ++i)
            add(px[i], py[i]);
    for (std::size_t i = ext.both; i < ext.one; ++i)
        add(i < in.xs.size() ? px[i] : 0.0, i < in.ys.size() ? py[i] : 0.0);
    if (ext.one < ext.points) {
        if (in.useIndexX) {
            add(double(ext.one + 1), 0.0);
            add(double(ext.points), 0.0);
        } else {
            add(0.0, 0.0);
        }
    }
    if (xlo <= xhi) {
        e = {xlo, xhi, ylo, yhi, true};
    }
}

bool DataPoint(const ReduceInput &in, std::size_t k, double &x, double &y)
{
    x = in.useIndexX ? double(k + 1) : k < in.xs.size() ? in.xs[k] : 0.0;
    y = k < in.ys.size() ? in.ys[k] : 0.0;
    return !(in.hasNull && y == in.nullY) && !(in.skipZeroX && x == 0.0) && y == y && x == x;
}

} // namespace chartlib
