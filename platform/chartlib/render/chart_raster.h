// Drawing straight into the 32-bit pixels of the screen image, for what a trace spends its time
// on: the crisp column bars and the thin antialiased line through the runs. Both give the same
// pixels as QPainter's raster engine (a solid opaque colour, source-over, a rectangular clip),
// so a chart looks the same whichever way it was drawn; printing and image files keep using
// QPainter. The rows drawn are counted per column, so that the next rebuild of the plot can
// wipe what the last one drew and no more than a little around it (PlotCanvas).
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace chartlib::raster {

// Per device column of an area, the rows from the lowest to the highest one recorded (none at
// first).
class ColumnSpans {
public:
    void Reset(int left, int width);
    int Left() const { return FLeft; }
    int Width() const { return int(FLo.size()); }
    bool Empty(int x) const { return FLo[std::size_t(x - FLeft)] > FHi[std::size_t(x - FLeft)]; }
    int Lo(int x) const { return FLo[std::size_t(x - FLeft)]; }
    int Hi(int x) const { return FHi[std::size_t(x - FLeft)]; }
    // Widens column x (inside the area) to rows lo..hi.
    void Add(int x, int lo, int hi)
    {
        int &l = FLo[std::size_t(x - FLeft)], &h = FHi[std::size_t(x - FLeft)];
        l = lo < l ? lo : l;
        h = hi > h ? hi : h;
    }
    // Column x holds rows lo..hi when it held none or fewer (a bar: only rows that are really
    // covered are kept, never the rows between two bars).
    void Cover(int x, int lo, int hi)
    {
        int &l = FLo[std::size_t(x - FLeft)], &h = FHi[std::size_t(x - FLeft)];
        if (l > h || hi - lo > h - l) {
            l = lo;
            h = hi;
        }
    }
    bool Contains(int x, int y) const
    {
        const std::size_t k = std::size_t(x - FLeft);
        return y >= FLo[k] && y <= FHi[k];
    }
    // Columns left..right (inside the area) hold no rows again.
    void Clear(int left, int right);

private:
    int FLeft = 0;
    std::vector<int> FLo, FHi;
};

// The pixels of an image of Format_RGB32 and the device rectangle drawing may touch.
struct Target {
    std::uint32_t *pixels = nullptr;
    std::ptrdiff_t stride = 0; // pixels per row
    int width = 0, height = 0;
    QRect clip;
};

// Fills rectangles of device pixels with an opaque colour (as QPainter fills a QRect without
// a pen), within the clip; records the pixels in drawn.
void FillRects(const Target &t, std::span<const QRect> rects, std::uint32_t rgb,
               ColumnSpans &drawn);

// The line through points in device pixels, antialiased, one pixel wide, of an opaque colour:
// the pixels of QPainter's thin antialiased line (a cosmetic pen of width 1 and square caps).
// Pixels that lie in skip are left out: an opaque bar is filled over them afterwards. Records
// the pixels drawn in drawn. Each segment gives the same pixels whatever the clip: inside a
// narrower clip, the pixels of the whole line.
void AntialiasedPolyline(const Target &t, std::span<const QPointF> points, std::uint32_t rgb,
                         const ColumnSpans *skip, ColumnSpans &drawn);

// What one subset of a trace draws: the smoothed line through points in device pixels, broken
// into pieces (pieces holds where each starts, and the line's end), and the opaque bars filled
// over it, in one colour. direct: all of it is drawn straight into the pixels (DrawTrace); else
// some of it goes through QPainter.
struct Trace {
    std::vector<QPointF> line;
    std::vector<std::size_t> pieces;
    std::vector<QRect> bars;
    std::uint32_t rgb = 0;
    bool direct = false;
};

// Draws a direct trace: its line, leaving out what the bars cover, then the bars (within the
// clip, as the whole trace gives them there). cover is room for the bars' rows.
void DrawTrace(const Target &t, const Trace &trace, ColumnSpans &cover, ColumnSpans &drawn);

// The device columns from left to right (none when left > right).
struct Columns {
    int left = 0, right = -1;
    bool Empty() const { return left > right; }
    int Width() const { return Empty() ? 0 : right - left + 1; }
};

// The columns within clip where drawing the traces now gives other pixels than drawing the
// traces before (both direct, subset by subset): around the points and bars that differ and the
// segments joining them to the rest. Nothing when they give the same pixels; no answer when
// the two cannot be compared so (other subsets, colours, breaks, a trace not direct).
std::optional<Columns> ChangedColumns(const std::vector<Trace> &before,
                                      const std::vector<Trace> &now, const QRect &clip);

// The plot of the screen image while it is rebuilt: where the direct drawing goes, what the
// subsets drew (drawnAll when some of it went through QPainter and is not counted), and a copy
// of the plot's background (fill and grid) to wipe a drawing with.
class PlotCanvas {
public:
    // Starts a rebuild of the plot of image (Format_RGB32, not shared) at device rectangle plot;
    // nothing counts as drawn yet.
    void Begin(QImage &image, const QRect &plot);
    const Target &Pixels() const { return FTarget; }
    ColumnSpans drawn;
    bool drawnAll = false;

    // Keeps the plot's pixels as they are now as its background, unless the background kept
    // is of the same plot and was drawn from the same values (what the drawing of a
    // background depends on).
    void SaveBackground(std::vector<double> drawnFrom);
    bool HasBackground(const QRect &plot) const { return FBackgroundRect == plot; }
    void ForgetBackground()
    {
        FBackgroundRect = QRect();
        traces.clear();
    }
    // Puts the background back over the rows of spans (over the whole plot with all). Blocks of
    // columns are restored together, which may restore more than the spans: harmless, as the
    // plot is drawn again over it.
    void RestoreBackground(const ColumnSpans &spans, bool all);
    // Draws the columns (inside the plot) again with the traces: the background is put back
    // over every row of them, what drawn holds there is forgotten, and the traces are drawn
    // within them (DrawTrace), as drawing them whole gives those columns.
    void RedrawColumns(Columns columns, const std::vector<Trace> &traces);
    // What the subsets drew last, while the plot holds it (cleared with the background).
    std::vector<Trace> traces;

private:
    Target FTarget;
    QRect FBackgroundRect;
    std::vector<double> FBackgroundFrom;
    std::vector<std::uint32_t> FBackground;
};

// Pixels that a drawing covers with opaque colours, to be put again into an image: what the
// axes give along the edges of the plot, whatever lay under them.
struct OpaquePixels {
    struct Pixel {
        int x, y;
        std::uint32_t rgb;
    };
    std::vector<Pixel> pixels;
    void Put(const Target &t) const
    {
        for (const Pixel &p : pixels)
            t.pixels[std::ptrdiff_t(p.y) * t.stride + p.x] = p.rgb;
    }
    // Only those in the columns.
    void Put(const Target &t, Columns columns) const
    {
        for (const Pixel &p : pixels)
            if (p.x >= columns.left && p.x <= columns.right)
                t.pixels[std::ptrdiff_t(p.y) * t.stride + p.x] = p.rgb;
    }
};

// Pixels of an image of Format_RGB32 kept before something was drawn over them, and put back
// in the opposite order, so that rectangles that overlap come back as they were first.
class SavedPixels {
public:
    void Save(const QImage &image, const QRect &rect);
    void Restore(QImage &image);
    void Clear() { FSaved.clear(); }

private:
    struct Block {
        QRect rect;
        std::vector<std::uint32_t> pixels;
    };
    std::vector<Block> FSaved;
};

} // namespace chartlib::raster
