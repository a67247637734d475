#include "platform/chartlib/render/chart_raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace chartlib::raster {

// ---- column spans ----------------------------------------------------------------------------

void ColumnSpans::Reset(int left, int width)
{
    FLeft = left;
    FLo.assign(std::size_t(std::max(0, width)), INT_MAX);
    FHi.assign(std::size_t(std::max(0, width)), INT_MIN);
}

void ColumnSpans::Clear(int left, int right)
{
    for (int x = left; x <= right; ++x) {
        FLo[std::size_t(x - FLeft)] = INT_MAX;
        FHi[std::size_t(x - FLeft)] = INT_MIN;
    }
}

// ---- bars ------------------------------------------------------------------------------------

void FillRects(const Target &t, std::span<const QRect> rects, std::uint32_t rgb, ColumnSpans &drawn)
{
    const std::uint32_t pixel = 0xFF000000u | rgb;
    for (const QRect &rect : rects) {
        const QRect n = rect.width() < 0 || rect.height() < 0 ? rect.normalized() : rect;
        if (n.isEmpty())
            continue;
        // Within the clip (the bars of a trace are many and narrow: no call for each).
        const int left = std::max(n.left(), t.clip.left()),
                  right = std::min(n.right(), t.clip.right());
        const int top = std::max(n.top(), t.clip.top()),
                  bottom = std::min(n.bottom(), t.clip.bottom());
        if (left > right || top > bottom)
            continue;
        for (int x = left; x <= right; ++x)
            drawn.Add(x, top, bottom);
        std::uint32_t *row = t.pixels + std::ptrdiff_t(top) * t.stride + left;
        if (left == right) {
            for (int y = top; y <= bottom; ++y, row += t.stride)
                *row = pixel;
        } else {
            for (int y = top; y <= bottom; ++y, row += t.stride)
                std::fill_n(row, right - left + 1, pixel);
        }
    }
}

// ---- antialiased line ------------------------------------------------------------------------

namespace {

// Each 8-bit channel of x times a / 255, rounded (two channels in each half of the word).
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a)
{
    std::uint32_t t = (x & 0xFF00FFu) * a;
    t = ((t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
    x = ((x >> 8) & 0xFF00FFu) * a;
    x = (x + ((x >> 8) & 0xFF00FFu) + 0x800080u) & 0xFF00FF00u;
    return x | t;
}

// 16.16 fixed-point quotient of two 26.6 values.
inline int FixedDiv(int x, int y)
{
    if (x > 0x7FFF || x < -0x7FFF)
        return int(std::int64_t(x) * (1 << 16) / y);
    return x * (1 << 16) / y;
}

// Pixels p[0] and p[1] blended at coverages c0 and c1 over them: color[c] + ByteMul(p, 255 - c)
// each, the two at once where the processor has SSE2 (the same arithmetic in 16-bit lanes).
inline void BlendPair(std::uint32_t *p, std::uint32_t c0, std::uint32_t c1,
                      const std::uint32_t *color)
{
#if defined(__SSE2__)
    __m128i d = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)),
                                  _mm_setzero_si128());
    const auto i0 = short(255 - c0), i1 = short(255 - c1);
    __m128i t = _mm_mullo_epi16(d, _mm_set_epi16(i1, i1, i1, i1, i0, i0, i0, i0));
    t = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)),
                       8);
    t = _mm_add_epi32(_mm_packus_epi16(t, t), _mm_set_epi32(0, 0, int(color[c1]), int(color[c0])));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(p), t);
#else
    p[0] = color[c0] + ByteMul(p[0], 255 - c0);
    p[1] = color[c1] + ByteMul(p[1], 255 - c1);
#endif
}

constexpr int kCapBegin = 1, kCapEnd = 2;

inline int SwapCaps(int caps)
{
    return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1);
}

// One line drawing: the colour blended at each coverage (source-over of an opaque colour), the
// clip, the bars to leave out and the record of what was drawn.
class LineDrawer {
public:
    LineDrawer(const Target &t, std::uint32_t rgb, const ColumnSpans *skip, ColumnSpans &drawn)
        : FT(t), FSkip(skip), FDrawn(drawn), FLeft(t.clip.left()), FRight(t.clip.right()),
          FTop(t.clip.top()), FBottom(t.clip.bottom()), FXMin(-1.0), FXMax(t.width + 1.0),
          FYMin(-1.0), FYMax(t.height + 1.0)
    {
        for (std::uint32_t c = 0; c < 256; ++c)
            FColor[c] = ByteMul(0xFF000000u | rgb, c);
    }

    void Polyline(std::span<const QPointF> points)
    {
        const std::size_t n = points.size();
        if (n < 2)
            return;
        // A polyline that ends where it starts is drawn as a closed one: without caps.
        const bool closed = points[0] == points[n - 1];
        // A segment draws no further than two columns beyond its ends (its caps and the pixel
        // pair of each row): those wholly left or right of the clip are passed over.
        const double left = FLeft - 4.0, right = FRight + 4.0;
        for (std::size_t i = 1; i < n; ++i) {
            const double x0 = points[i - 1].x(), x1 = points[i].x();
            if ((x0 < left && x1 < left) || (x0 > right && x1 > right))
                continue;
            int caps = 0;
            if (!closed)
                caps = (i == 1 ? kCapBegin : 0) | (i == n - 1 ? kCapEnd : 0);
            Line(x0, points[i - 1].y(), x1, points[i].y(), caps);
        }
    }

private:
    // The pixel (x, y) inside the clip: blended at coverage c unless a bar covers it.
    inline void Blend(int x, int y, std::uint32_t c)
    {
        if (FSkip && FSkip->Contains(x, y))
            return;
        FDrawn.Add(x, y, y);
        std::uint32_t &p = FT.pixels[std::ptrdiff_t(y) * FT.stride + x];
        p = FColor[c] + ByteMul(p, 255 - c);
    }
    inline void Pixel(int x, int y, std::uint32_t c)
    {
        if (x < FLeft || x > FRight || y < FTop || y > FBottom)
            return;
        Blend(x, y, c);
    }

    // Rows y .. y + n - 1 of column cx of a steep line, whose x is x0 at row y and grows by
    // xinc a row; at coverage a (right) or 255 - a, except under a bar.
    void Column(int cx, int y, int n, int x0, int xinc, bool right)
    {
        if (cx < FLeft || cx > FRight)
            return;
        int lo = y, hi = y + n - 1;
        auto rows = [&](int from, int to) {
            if (from > to)
                return;
            FDrawn.Add(cx, from, to);
            std::uint32_t *p = FT.pixels + std::ptrdiff_t(from) * FT.stride + cx;
            int xr = x0 + (from - y) * xinc;
            for (int r = from; r <= to; ++r, p += FT.stride, xr += xinc) {
                const std::uint32_t a = std::uint8_t(xr >> 8), c = right ? a : 255 - a;
                *p = FColor[c] + ByteMul(*p, 255 - c);
            }
        };
        if (FSkip && !FSkip->Empty(cx) && FSkip->Hi(cx) >= lo && FSkip->Lo(cx) <= hi) {
            rows(lo, FSkip->Lo(cx) - 1);
            rows(FSkip->Hi(cx) + 1, hi);
        } else {
            rows(lo, hi);
        }
    }

    // Columns cx and cx + 1 of a steep line over rows y .. y + n - 1 (see Column): the two
    // pixels of a row together where both columns lie in the clip and no bar covers them.
    void Pair(int cx, int y, int n, int x0, int xinc)
    {
        const int lo = y, hi = y + n - 1;
        auto covered = [&](int x) {
            return FSkip && !FSkip->Empty(x) && FSkip->Hi(x) >= lo && FSkip->Lo(x) <= hi;
        };
        if (cx < FLeft || cx + 1 > FRight || covered(cx) || covered(cx + 1)) {
            Column(cx, y, n, x0, xinc, false);
            Column(cx + 1, y, n, x0, xinc, true);
            return;
        }
        FDrawn.Add(cx, lo, hi);
        FDrawn.Add(cx + 1, lo, hi);
        std::uint32_t *p = FT.pixels + std::ptrdiff_t(lo) * FT.stride + cx;
        for (int r = lo, xr = x0; r <= hi; ++r, p += FT.stride, xr += xinc) {
            const std::uint32_t a = std::uint8_t(xr >> 8);
            BlendPair(p, 255 - a, a, FColor);
        }
    }

    // Cuts the line to the image and a pixel around it; true when nothing of it is left.
    bool ClipLine(double &x1, double &y1, double &x2, double &y2) const
    {
        if (x1 < FXMin) {
            if (x2 <= FXMin)
                return true;
            y1 += (y2 - y1) / (x2 - x1) * (FXMin - x1);
            x1 = FXMin;
        } else if (x1 > FXMax) {
            if (x2 >= FXMax)
                return true;
            y1 += (y2 - y1) / (x2 - x1) * (FXMax - x1);
            x1 = FXMax;
        }
        if (x2 < FXMin) {
            y2 += (y2 - y1) / (x2 - x1) * (FXMin - x2);
            x2 = FXMin;
        } else if (x2 > FXMax) {
            y2 += (y2 - y1) / (x2 - x1) * (FXMax - x2);
            x2 = FXMax;
        }
        if (y1 < FYMin) {
            if (y2 <= FYMin)
                return true;
            x1 += (x2 - x1) / (y2 - y1) * (FYMin - y1);
            y1 = FYMin;
        } else if (y1 > FYMax) {
            if (y2 >= FYMax)
                return true;
            x1 += (x2 - x1) / (y2 - y1) * (FYMax - y1);
            y1 = FYMax;
        }
        if (y2 < FYMin) {
            x2 += (x2 - x1) / (y2 - y1) * (FYMin - y2);
            y2 = FYMin;
        } else if (y2 > FYMax) {
            x2 += (x2 - x1) / (y2 - y1) * (FYMax - y2);
            y2 = FYMax;
        }
        return false;
    }

    // One segment: in 26.6 fixed point, a pixel pair per row (steep) or per column (flat),
    // weighted by where the line crosses it; the end pixels by how much of them it covers.
    void Line(double rx1, double ry1, double rx2, double ry2, int caps)
    {
        if (ClipLine(rx1, ry1, rx2, ry2))
            return;
        int x1 = int(rx1 * 64.0), y1 = int(ry1 * 64.0), x2 = int(rx2 * 64.0), y2 = int(ry2 * 64.0);
        const int dx = x2 - x1, dy = y2 - y1;
        if (std::abs(dx) < std::abs(dy)) { // steep: one step a row
            const int xinc = FixedDiv(dx, dy);
            if (y1 > y2) {
                std::swap(y1, y2);
                std::swap(x1, x2);
                caps = SwapCaps(caps);
            }
            int x = (x1 - 32) * (1 << 10);
            x -= (((y1 & 63) - 32) * xinc) >> 6;
            if (caps & kCapBegin) {
                y1 -= 32;
                x -= xinc >> 1;
            }
            if (caps & kCapEnd)
                y2 += 32;
            int y = y1 >> 6;
            const int ys = y2 >> 6;
            int alphaStart, alphaEnd;
            if (y == ys) {
                alphaStart = y2 - y1;
                alphaEnd = 0;
            } else {
                alphaStart = 64 - (y1 & 63);
                alphaEnd = y2 & 63;
            }
            std::uint32_t a = std::uint8_t(x >> 8);
            Pixel(x >> 16, y, (255 - a) * alphaStart >> 6);
            Pixel((x >> 16) + 1, y, a * alphaStart >> 6);
            x += xinc;
            ++y;
            // The rows between, as far as they lie in the clip.
            const int from = std::max(y, FTop), to = std::min(ys, FBottom + 1);
            if (from < to) {
                x += (from - y) * xinc;
                y = from;
                while (y < to) {
                    // The rows that stay in one column pair: the left pixel of each gets
                    // 255 - a, the right one a.
                    const int xi = x >> 16;
                    int n = to - y;
                    if (xinc > 0)
                        n = std::min(n, ((xi + 1) * 65536 - 1 - x) / xinc + 1);
                    else if (xinc < 0)
                        n = std::min(n, (x - xi * 65536) / -xinc + 1);
                    Pair(xi, y, n, x, xinc);
                    x += n * xinc;
                    y += n;
                }
            }
            x += (ys - y) * xinc; // to the last row, wherever the clip ended
            y = ys;
            if (alphaEnd) {
                a = std::uint8_t(x >> 8);
                Pixel(x >> 16, y, (255 - a) * alphaEnd >> 6);
                Pixel((x >> 16) + 1, y, a * alphaEnd >> 6);
            }
        } else { // flat: one step a column
            if (dx == 0)
                return;
            const int yinc = FixedDiv(dy, dx);
            if (x1 > x2) {
                std::swap(x1, x2);
                std::swap(y1, y2);
                caps = SwapCaps(caps);
            }
            int y = (y1 - 32) * (1 << 10);
            y -= (((x1 & 63) - 32) * yinc) >> 6;
            if (caps & kCapBegin) {
                x1 -= 32;
                y -= yinc >> 1;
            }
            if (caps & kCapEnd)
                x2 += 32;
            int x = x1 >> 6;
            const int xs = x2 >> 6;
            int alphaStart, alphaEnd;
            if (x == xs) {
                alphaStart = x2 - x1;
                alphaEnd = 0;
            } else {
                alphaStart = 64 - (x1 & 63);
                alphaEnd = x2 & 63;
            }
            std::uint32_t a = std::uint8_t(y >> 8);
            Pixel(x, y >> 16, (255 - a) * alphaStart >> 6);
            Pixel(x, (y >> 16) + 1, a * alphaStart >> 6);
            y += yinc;
            ++x;
            const int from = std::max(x, FLeft), to = std::min(xs, FRight + 1);
            if (from < to) {
                y += (from - x) * yinc;
                x = from;
                for (; x < to; ++x) {
                    a = std::uint8_t(y >> 8);
                    const int yi = y >> 16;
                    if (yi >= FTop && yi <= FBottom)
                        Blend(x, yi, 255 - a);
                    if (yi + 1 >= FTop && yi + 1 <= FBottom)
                        Blend(x, yi + 1, a);
                    y += yinc;
                }
            }
            y += (xs - x) * yinc; // to the last column, wherever the clip ended
            x = xs;
            if (alphaEnd) {
                a = std::uint8_t(y >> 8);
                Pixel(x, y >> 16, (255 - a) * alphaEnd >> 6);
                Pixel(x, (y >> 16) + 1, a * alphaEnd >> 6);
            }
        }
    }

    const Target &FT;
    const ColumnSpans *FSkip;
    ColumnSpans &FDrawn;
    const int FLeft, FRight, FTop, FBottom;
    const double FXMin, FXMax, FYMin, FYMax;
    std::uint32_t FColor[256];
};

} // namespace

void AntialiasedPolyline(const Target &t, std::span<const QPointF> points, std::uint32_t rgb,
                         const ColumnSpans *skip, ColumnSpans &drawn)
{
    if (t.clip.isEmpty())
        return;
    LineDrawer(t, rgb, skip, drawn).Polyline(points);
}

void DrawTrace(const Target &t, const Trace &trace, ColumnSpans &cover, ColumnSpans &drawn)
{
    if (t.clip.isEmpty())
        return;
    const ColumnSpans *skip = nullptr;
    if (!trace.bars.empty()) {
        // The line's pixels under a bar are covered by it: they need not be drawn.
        cover.Reset(t.clip.left(), t.clip.width());
        const QRect &clip = t.clip;
        for (const QRect &d : trace.bars) { // positive sizes: no call to intersect
            const int top = std::max(d.top(), clip.top());
            const int bottom = std::min(d.bottom(), clip.bottom());
            if (top <= bottom)
                for (int x = std::max(d.left(), clip.left()),
                         right = std::min(d.right(), clip.right());
                     x <= right; ++x)
                    cover.Cover(x, top, bottom);
        }
        skip = &cover;
    }
    for (std::size_t k = 0; k + 1 < trace.pieces.size(); ++k) {
        const std::size_t from = trace.pieces[k], count = trace.pieces[k + 1] - from;
        if (count > 1)
            AntialiasedPolyline(t, std::span<const QPointF>(trace.line.data() + from, count),
                                trace.rgb, skip, drawn);
    }
    FillRects(t, trace.bars, trace.rgb, drawn);
}

namespace {

// The number of leading and of trailing elements two arrays have alike (together no more than
// the shorter one holds).
template <class T, class Same>
std::pair<std::size_t, std::size_t> Alike(const std::vector<T> &a, const std::vector<T> &b,
                                          Same same)
{
    const std::size_t m = std::min(a.size(), b.size());
    std::size_t head = 0;
    while (head < m && same(a[head], b[head]))
        ++head;
    std::size_t tail = 0;
    while (tail < m - head && same(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
        ++tail;
    return {head, tail};
}

bool SamePoint(const QPointF &a, const QPointF &b) // exactly (QPointF's == is fuzzy)
{
    return a.x() == b.x() && a.y() == b.y();
}

} // namespace

std::optional<Columns> ChangedColumns(const std::vector<Trace> &before,
                                      const std::vector<Trace> &now, const QRect &clip)
{
    if (before.size() != now.size())
        return std::nullopt;
    double lo = HUGE_VAL, hi = -HUGE_VAL; // x of the points whose segments may draw otherwise
    int barLeft = INT_MAX, barRight = INT_MIN;
    for (std::size_t s = 0; s < now.size(); ++s) {
        const Trace &o = before[s], &n = now[s];
        if (!o.direct || !n.direct || o.rgb != n.rgb || o.pieces.size() != n.pieces.size())
            return std::nullopt;
        const auto [head, tail] = Alike(o.line, n.line, SamePoint);
        const std::size_t n0 = o.line.size(), n1 = n.line.size();
        // Every break lies where the points before it are alike (and at the same place), or
        // where those after it are: no segment but those around what differs starts or ends
        // a piece otherwise (and so takes other caps). A piece that closes or opens draws
        // without caps or with them: no answer.
        for (std::size_t k = 0; k < o.pieces.size(); ++k) {
            const std::size_t b0 = o.pieces[k], b1 = n.pieces[k];
            if (!((b0 == b1 && b0 <= head) || (n0 - b0 == n1 - b1 && b0 >= n0 - tail)))
                return std::nullopt;
            if (k + 1 < o.pieces.size()) {
                const std::size_t e0 = o.pieces[k + 1], e1 = n.pieces[k + 1];
                const bool closed0 = e0 > b0 && o.line[b0] == o.line[e0 - 1];
                const bool closed1 = e1 > b1 && n.line[b1] == n.line[e1 - 1];
                if (closed0 != closed1)
                    return std::nullopt;
            }
        }
        if (head < n0 || n0 != n1) {
            // The points that differ, and two more on each side: the segments that join them
            // to the rest, and the segments beside those, which may start or end a piece.
            for (const auto *t : {&o, &n}) {
                const std::size_t size = t->line.size();
                if (size == 0)
                    continue;
                const std::size_t first = head >= 2 ? head - 2 : 0;
                const std::size_t last = std::min(size - 1, size - tail + 1);
                for (std::size_t i = first; i <= last; ++i) {
                    const double x = t->line[i].x();
                    if (std::isnan(x))
                        return std::nullopt;
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
            }
        }
        const auto [barHead, barTail] = Alike(o.bars, n.bars, std::equal_to<QRect>());
        for (const auto *t : {&o, &n})
            for (std::size_t i = barHead; i + barTail < t->bars.size(); ++i) {
                const QRect b = t->bars[i].normalized();
                barLeft = std::min(barLeft, b.left());
                barRight = std::max(barRight, b.right());
            }
    }
    Columns c;
    if (lo <= hi) {
        // A segment draws up to two columns beyond its ends; one more for safety.
        const double margin = 3.0, far = 8.0;
        c.left =
            int(std::floor(std::clamp(lo, clip.left() - far, clip.right() + far))) - int(margin);
        c.right =
            int(std::floor(std::clamp(hi, clip.left() - far, clip.right() + far))) + int(margin);
    }
    if (barLeft <= barRight) {
        c.left = c.Empty() ? barLeft : std::min(c.left, barLeft);
        c.right = c.Empty() ? barRight : std::max(c.right, barRight);
    }
    if (c.Empty())
        return c;
    c.left = std::max(c.left, clip.left());
    c.right = std::min(c.right, clip.right());
    return c;
}

// ---- the plot's canvas -----------------------------------------------------------------------

void PlotCanvas::Begin(QImage &image, const QRect &plot)
{
    FTarget.pixels = reinterpret_cast<std::uint32_t *>(image.bits());
    FTarget.stride = image.bytesPerLine() / 4;
    FTarget.width = image.width();
    FTarget.height = image.height();
    FTarget.clip = plot & image.rect();
    drawn.Reset(FTarget.clip.left(), FTarget.clip.width());
    drawnAll = false;
}

void PlotCanvas::SaveBackground(std::vector<double> drawnFrom)
{
    const QRect &r = FTarget.clip;
    if (FBackgroundRect == r && FBackgroundFrom == drawnFrom)
        return; // the same pixels
    FBackgroundRect = r;
    FBackgroundFrom = std::move(drawnFrom);
    FBackground.resize(std::size_t(r.width()) * std::size_t(std::max(0, r.height())));
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(FBackground.data() + std::size_t(y - r.top()) * std::size_t(r.width()),
                    FTarget.pixels + std::ptrdiff_t(y) * FTarget.stride + r.left(),
                    std::size_t(r.width()) * 4);
}

namespace {

constexpr int kBlock = 16; // columns restored or copied together

// For each block of columns of spans (within rect), the rows any of them holds.
template <class F> void ForEachBlock(const QRect &rect, const ColumnSpans &spans, F &&f)
{
    for (int x0 = rect.left(); x0 <= rect.right(); x0 += kBlock) {
        const int x1 = std::min(rect.right(), x0 + kBlock - 1);
        int lo = INT_MAX, hi = INT_MIN;
        for (int x = x0; x <= x1; ++x)
            if (x >= spans.Left() && x < spans.Left() + spans.Width() && !spans.Empty(x)) {
                lo = std::min(lo, spans.Lo(x));
                hi = std::max(hi, spans.Hi(x));
            }
        lo = std::max(lo, rect.top());
        hi = std::min(hi, rect.bottom());
        if (lo <= hi)
            f(x0, x1, lo, hi);
    }
}

} // namespace

void PlotCanvas::RestoreBackground(const ColumnSpans &spans, bool all)
{
    const QRect &r = FBackgroundRect;
    if (r.isEmpty())
        return;
    auto restore = [&](int x0, int x1, int lo, int hi) {
        for (int y = lo; y <= hi; ++y)
            std::memcpy(FTarget.pixels + std::ptrdiff_t(y) * FTarget.stride + x0,
                        FBackground.data() + std::size_t(y - r.top()) * std::size_t(r.width()) +
                            std::size_t(x0 - r.left()),
                        std::size_t(x1 - x0 + 1) * 4);
    };
    if (all)
        restore(r.left(), r.right(), r.top(), r.bottom());
    else
        ForEachBlock(r, spans, restore);
}

void PlotCanvas::RedrawColumns(Columns columns, const std::vector<Trace> &traces)
{
    const QRect &r = FBackgroundRect;
    const int x0 = std::max(columns.left, r.left()), x1 = std::min(columns.right, r.right());
    if (r.isEmpty() || x0 > x1)
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(FTarget.pixels + std::ptrdiff_t(y) * FTarget.stride + x0,
                    FBackground.data() + std::size_t(y - r.top()) * std::size_t(r.width()) +
                        std::size_t(x0 - r.left()),
                    std::size_t(x1 - x0 + 1) * 4);
    drawn.Clear(x0, x1);
    Target t = FTarget;
    t.clip = QRect(x0, t.clip.top(), x1 - x0 + 1, t.clip.height());
    ColumnSpans cover;
    for (const Trace &trace : traces)
        DrawTrace(t, trace, cover, drawn);
}

void SavedPixels::Save(const QImage &image, const QRect &rect)
{
    const QRect r = rect & image.rect();
    if (r.isEmpty())
        return;
    Block b{r, std::vector<std::uint32_t>(std::size_t(r.width()) * std::size_t(r.height()))};
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(b.pixels.data() + std::size_t(y - r.top()) * std::size_t(r.width()),
                    image.constScanLine(y) + std::ptrdiff_t(r.left()) * 4,
                    std::size_t(r.width()) * 4);
    FSaved.push_back(std::move(b));
}

void SavedPixels::Restore(QImage &image)
{
    for (auto b = FSaved.rbegin(); b != FSaved.rend(); ++b) {
        const QRect &r = b->rect;
        if (!image.rect().contains(r))
            continue;
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(image.scanLine(y) + std::ptrdiff_t(r.left()) * 4,
                        b->pixels.data() + std::size_t(y - r.top()) * std::size_t(r.width()),
                        std::size_t(r.width()) * 4);
    }
    FSaved.clear();
}

} // namespace chartlib::raster
