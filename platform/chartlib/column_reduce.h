// The per-pixel-column min/max reduction that lets a chart redraw a million points in a few
// milliseconds, and the one-pass data extent that automatic ranges use. Both read one subset
// of the data store as it is held (X and Y rows of doubles, written as far as they were) and
// know nothing of painting: the renderer maps the ranges to pixels and draws the runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace chartlib {

// One subset as the reduction reads it.
struct ReduceInput {
    std::span<const double> xs, ys; // the values written so far (at most points each)
    std::int32_t points = 0;        // points declared; the rest read as 0
    bool useIndexX = false;         // no X data: the point number (1-based) is X
    bool skipZeroX = false;         // date-time mode: points whose X is 0.0 are not drawn
    bool hasNull = false;
    double nullY = 0.0;
    bool gaps = false;       // null values break the line
    bool xAscending = false; // the X values are known to be in order (no NaN): not checked
    // Whether a run must tell which of its extremes comes first (ColumnRun::minFirst); a
    // drawing that fills a run's rows as one bar does not need it.
    bool extremesOrder = true;
};

// Data to pixels: px = x0 + x * sx, py = y0 - y * sy (rows grow downwards).
struct ColumnMapping {
    double x0 = 0.0, sx = 1.0, y0 = 0.0, sy = 1.0;
    // The mapping that puts [xmin, xmax] on [left, right] and [ymin, ymax] on [bottom, top].
    static ColumnMapping Of(double left, double right, double top, double bottom, double xmin,
                            double xmax, double ymin, double ymax);
};

// A run of consecutive points that fall in one pixel column, in pixels: its first and last
// point, and the highest (minY) and lowest (maxY) row it reaches. Drawn as first, extremes in
// their order, last, a run covers the same pixels as the full line through its points.
struct ColumnRun {
    double firstX, firstY, lastX, lastY, minY, maxY;
    bool minFirst; // the highest row (minY) comes before the lowest one
};

// Reduces one subset to pixel-column runs in point order. When breaksBefore is given, it gets
// the index of each run that must not be joined to the run before it (a null value with gaps
// on lies between them). Pixel coordinates are held within +-1e6, so impossible values cannot
// overflow the painter. Points that were declared but never written cost nothing beyond a few
// runs: all of them read as the same value.
std::vector<ColumnRun> ReduceToColumns(const ReduceInput &in, const ColumnMapping &map,
                                       std::vector<std::size_t> *breaksBefore);

// The extent of the points that are drawn (not null, not NaN, and in date-time mode not at
// X 0.0); `any` stays false while none was seen.
struct DataExtent {
    double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0;
    bool any = false;
};
void ExtendToData(const ReduceInput &in, DataExtent &extent);
// Point k (below points) as the extent counts it: its X and Y (a point not written reads as 0,
// X as the point number with useIndexX), and whether it is drawn. The extent of a subset is
// that of its drawn points, so a kept extent can follow the writes of single points.
bool DataPoint(const ReduceInput &in, std::size_t k, double &x, double &y);

} // namespace chartlib
