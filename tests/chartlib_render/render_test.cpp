// Offscreen drawing, conversion, hit tests and zoom of the chart renderer. Pixel checks look at
// the places where lines, annotations and cursors must be; whole images are compared only with
// the same chart drawn by QPainter alone.
#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/render/chart_render.h"
#include "platform/chartlib/render/chart_view.h"

#include <QColor>
#include <QCursor>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace chartlib;

namespace {

constexpr double kT0 = 46000.5; // a date-time in days (noon)
constexpr double kSec = 1.0 / 86400.0;
const QColor kYellow(255, 255, 0), kRed(255, 0, 0), kGreen(0, 255, 0);

std::int32_t Argb(const QColor &c)
{
    return std::int32_t(ChartArgb(std::uint8_t(c.alpha()), std::uint8_t(c.red()),
                                  std::uint8_t(c.green()), std::uint8_t(c.blue())));
}

struct Sink : ChartSink {
    std::vector<std::int32_t> codes;
    int invalidations = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> scrolls; // code, position
    void ChartNotify(HCHART, std::int32_t c) override { codes.push_back(c); }
    void ChartInvalidate(HCHART, const ChartRect *) override { ++invalidations; }
    void ChartScrolled(HCHART, bool, std::int32_t code, std::int32_t pos) override
    {
        scrolls.emplace_back(code, pos);
    }
};

// A chart set up the way the graph windows set theirs up: date-time X over 100 seconds, dB on Y
// from 30 to 130, a yellow line at 80 dB on black, grey desk.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ChartRect r{0, 0, 600, 400};
        h = ChartCreateWithView(304, 0, &r, 0, 12111);
        ASSERT_NE(h, 0u);
        ChartSetInt(h, 3018, 1);           // DateTimeMode
        ChartSetProperty(h, 3268, 9999.0); // NullDataValueY
        ChartSetInt(h, 3050, 3);           // ManualScaleControlY
        ChartSetProperty(h, 3055, 30.0);
        ChartSetProperty(h, 3060, 130.0);
        ChartSetInt(h, 3615, 3); // ManualScaleControlX
        ChartSetProperty(h, 3620, kT0);
        ChartSetProperty(h, 3625, kT0 + 100 * kSec);
        ChartSetInt(h, 2340, Argb(Qt::black));             // GraphBackColor
        ChartSetInt(h, 2335, Argb(QColor(190, 190, 190))); // GraphForeColor
        ChartSetInt(h, 2320, Argb(QColor(190, 190, 190))); // DeskColor
        ChartSetElement(h, 2190, 0, Argb(kYellow));
        ChartSetInt(h, 3032, 2); // GridStyle sgDot
        SetLine(101, 80.0f);
    }
    void TearDown() override { ChartDestroy(h); }

    void SetLine(int n, float level)
    {
        ChartSetInt(h, 2115, 1);
        ChartSetInt(h, 2120, n);
        for (int i = 0; i < n; ++i) {
            ChartSetElement2D(h, 3013, 0, i, kT0 + i * kSec);
            ChartSetElement2D(h, 2140, 0, i, level);
        }
    }
    // Cursor line k at a time in seconds, with its label and colour when given.
    void VertLine(int k, double seconds, std::u16string_view label = {}, QColor c = {})
    {
        ChartSetElement(h, 3218, k, kT0 + seconds * kSec);
        if (!label.empty())
            ChartSetElement(h, 3219, k, label);
        if (c.isValid())
            ChartSetElement(h, 3222, k, Argb(c));
    }
    // Graph annotation k at a time in seconds and a level: a text, a colour, a symbol type.
    void Mark(int k, double seconds, double y, std::u16string_view text = {}, QColor c = {},
              int type = 0)
    {
        ChartSetElement(h, 3291, k, kT0 + seconds * kSec);
        ChartSetElement(h, 3292, k, y);
        if (!text.empty())
            ChartSetElement(h, 3293, k, text);
        if (c.isValid())
            ChartSetElement(h, 3236, k, Argb(c));
        if (type != 0)
            ChartSetElement(h, 3246, k, std::int32_t(type));
    }

    QImage Render()
    {
        ChartReinitialize(h);
        ChartResetImage(h, 0, 0);
        QImage img = ChartCachedImage(h);
        if (const char *dir = std::getenv("NIVORA_DUMP_CHARTS"))
            img.save(QString::fromLocal8Bit(dir) +
                     QStringLiteral("/%1-%2.png")
                         .arg(img.width())
                         .arg(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        return img;
    }

    QPoint ToPixel(double x, double y)
    {
        std::int32_t axis = 0, px = 0, py = 0;
        EXPECT_TRUE(ChartConvertPoint(h, &axis, &px, &py, &x, &y, 0, 0, 1));
        return {px, py};
    }
    // The pixel of a time in seconds and a level.
    QPoint At(double seconds, double y) { return ToPixel(kT0 + seconds * kSec, y); }
    // The data at a pixel.
    std::pair<double, double> DataAt(std::int32_t x, std::int32_t y)
    {
        double dx = 0, dy = 0;
        std::int32_t axis = 0;
        EXPECT_TRUE(ChartConvertPoint(h, &axis, &x, &y, &dx, &dy, 0, 0, 0));
        return {dx, dy};
    }

    template <class T> T Record(std::int32_t id)
    {
        T r{};
        ChartGetProperty(h, id, std::span(reinterpret_cast<std::uint8_t *>(&r), sizeof r));
        return r;
    }
    ChartRect Plot() { return Record<ChartRect>(prop::PlotRect); }
    // The plot's corners (left, bottom) and (right, top) lie at the pixels of a and b.
    void ExpectPlotCorners(QPoint a, QPoint b)
    {
        const ChartRect p = Plot();
        EXPECT_NEAR(a.x(), p.left, 1);
        EXPECT_NEAR(a.y(), p.bottom, 1);
        EXPECT_NEAR(b.x(), p.right, 1);
        EXPECT_NEAR(b.y(), p.top, 1);
    }

    // A pixel mostly of the colour: lines are drawn smoothed, so a line between two rows
    // gives each at least half its colour.
    static bool Mostly(const QColor &p, const QColor &c)
    {
        return std::abs(p.red() - c.red()) <= 140 && std::abs(p.green() - c.green()) <= 140 &&
               std::abs(p.blue() - c.blue()) <= 140;
    }
    // True when a pixel mostly of the colour lies within d pixels of p.
    static bool Near(const QImage &img, QPoint p, const QColor &c, int d = 1)
    {
        for (int y = p.y() - d; y <= p.y() + d; ++y)
            for (int x = p.x() - d; x <= p.x() + d; ++x)
                if (img.rect().contains(x, y) && Mostly(img.pixelColor(x, y), c))
                    return true;
        return false;
    }
    // Pixels of the colour's hue (text is drawn smoothed): full channels bright, empty ones dark.
    static int CountInRect(const QImage &img, QRect r, const QColor &c)
    {
        auto match = [](int v, int target) { return target == 0 ? v < 70 : v > 110; };
        int n = 0;
        r = r.intersected(img.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor p = img.pixelColor(x, y);
                n += match(p.red(), c.red()) && match(p.green(), c.green()) &&
                     match(p.blue(), c.blue());
            }
        return n;
    }

    HCHART h = 0;
};

} // namespace

TEST_F(RenderTest, TheLineLiesWhereItsDataLieInItsColourOrInMonochrome)
{
    QImage img = Render();
    ASSERT_FALSE(img.isNull());
    for (int i : {1, 30, 70, 99})
        EXPECT_TRUE(Near(img, At(i, 80.0), kYellow)) << i;
    EXPECT_FALSE(Near(img, At(50, 100.0), kYellow, 3)); // nothing yellow away from the line
    // The plot's background is black, the desk grey.
    const ChartRect p = Plot();
    EXPECT_EQ(img.pixelColor(p.left + 3, p.top + 3), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(2, 2), QColor(190, 190, 190));
    // A colour whose alpha byte is 0 is opaque; monochrome is black on white.
    ChartSetElement(h, 2190, 0, std::int32_t(0x0000FFFF)); // yellow, alpha byte 0
    EXPECT_TRUE(Near(Render(), At(40, 80), kYellow));
    ChartSetInt(h, 2230, 1); // ViewingStyle sgMonochrome
    img = Render();
    EXPECT_TRUE(Near(img, At(40, 80), QColor(Qt::black)));
    EXPECT_EQ(img.pixelColor(At(40, 80) + QPoint(0, -20)), QColor(Qt::white));
}

TEST_F(RenderTest, NullValuesAndUnsetDateTimesAreNotDrawn)
{
    ChartSetElement2D(h, 2140, 0, 50, 9999.0f); // null level at point 50
    ChartSetInt(h, 3066, 1);                    // NullDataGaps: the line breaks
    QImage img = Render();
    const ChartRect p = Plot();
    EXPECT_EQ(CountInRect(img, QRect(At(50, 80).x(), p.top, 1, p.bottom - p.top), kYellow), 0);
    ChartSetInt(h, 3066, 0); // without gaps the line joins its neighbours
    EXPECT_TRUE(Near(Render(), At(50, 80), kYellow));

    // Date-time mode: points whose X is 0.0 (room not yet filled) neither draw nor widen the
    // automatic X range.
    SetLine(101, 83.0f); // off the tick rows
    ChartSetInt(h, 3615, 0);
    ChartSetInt(h, 2120, 120);
    img = Render();
    EXPECT_NEAR(At(0, 83).x(), Plot().left, 1);
    EXPECT_NEAR(At(100, 83).x(), Plot().right, 1);
    EXPECT_TRUE(Near(img, At(0, 83) + QPoint(2, 0), kYellow));
}

TEST_F(RenderTest, CursorLinesAndTheirLabels)
{
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    VertLine(0, 25, u"|t12:00:25\n80.0dB", kRed);
    VertLine(1, 75, u"bottom", kGreen);
    QImage img = Render();
    const ChartRect p = Plot();
    const int xa = At(25, 0).x(), xb = At(75, 0).x();
    for (int y : {p.top + 5, (p.top + p.bottom) / 2 + 7, p.bottom - 5}) {
        EXPECT_TRUE(Near(img, QPoint(xa, y), kRed, 0)) << y;
        EXPECT_TRUE(Near(img, QPoint(xb, y), kGreen, 0)) << y;
    }
    // "|t" puts the label at the top (two lines), a plain label at the bottom.
    EXPECT_GT(CountInRect(img, QRect(xa + 2, p.top + 1, 80, 40), kRed), 20);
    EXPECT_EQ(CountInRect(img, QRect(xa + 2, p.bottom - 40, 80, 39), kRed), 0);
    EXPECT_GT(CountInRect(img, QRect(xb + 2, p.bottom - 20, 60, 19), kGreen), 10);
    EXPECT_EQ(CountInRect(img, QRect(xb + 2, p.top + 1, 60, 20), kGreen), 0);
    // Hidden when the show switch is off.
    ChartSetInt(h, 3228, 0);
    EXPECT_FALSE(Near(Render(), QPoint(xa, (p.top + p.bottom) / 2 + 7), kRed, 0));
}

// Crosses and texts with line breaks where they belong; at the plot's edges the texts stay
// inside it, left of their anchors.
TEST_F(RenderTest, GraphAnnotationsCrossesAndTextsStayInsideThePlot)
{
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    ChartSetInt(h, 3229, 1); // AllowGraphAnnotHotSpots
    Mark(2, 60, 100.0, {}, kGreen, 2);
    Mark(5, 20, 50.0, u"Wg\r\nWg", kRed);
    Mark(0, 99.5, 60.0, u"12:01:39\r80.0 dB", kRed); // at the right edge
    Mark(1, 99.0, 129.0, u"peak", kGreen, 2);        // at the top right corner
    QImage img = Render();
    const QPoint c = At(60, 100.0);
    EXPECT_TRUE(Near(img, c, kGreen));
    EXPECT_TRUE(Near(img, c + QPoint(3, 3), kGreen));
    EXPECT_TRUE(Near(img, c + QPoint(-3, 3), kGreen));
    EXPECT_FALSE(Near(img, c + QPoint(0, 4), kGreen, 0)); // a diagonal cross, not a plus
    // First line above the anchor's baseline, second line below it.
    const QPoint t = At(20, 50.0);
    EXPECT_GT(CountInRect(img, QRect(t.x(), t.y() - 12, 30, 12), kRed), 5);
    EXPECT_GT(CountInRect(img, QRect(t.x(), t.y() + 4, 30, 14), kRed), 5);

    const ChartRect p = Plot();
    const QRect plot(QPoint(p.left, p.top), QPoint(p.right, p.bottom));
    const QRect outside(p.right + 1, 0, img.width() - p.right - 1, img.height());
    EXPECT_EQ(CountInRect(img, outside, kRed), 0);
    EXPECT_EQ(CountInRect(img, outside, kGreen), 0);
    EXPECT_EQ(CountInRect(img, QRect(0, 0, img.width(), p.top), kGreen), 0);
    const QPoint e = At(99.5, 60.0);
    EXPECT_GT(
        CountInRect(img, QRect(e.x() - 90, p.top, 90, p.bottom - p.top).intersected(plot), kRed),
        30);
    EXPECT_GT(CountInRect(img, QRect(e.x() - 60, p.top, 50, 30), kGreen), 10);
    // The hit test finds the text where it is drawn.
    EXPECT_EQ(ChartHitTest(h, e.x() - 20, e.y() - 4), hotspot::GraphAnnotation);

    ChartSetElement(h, 3293, 5, u"Wg");
    EXPECT_EQ(CountInRect(Render(), QRect(t.x(), t.y() + 4, 30, 14), kRed), 0);
}

TEST_F(RenderTest, ReductionMatchesTheFullDrawing)
{
    const int n = 200000;
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0.0f, 8.0f);
    ChartSetInt(h, 2120, n);
    std::vector<double> xs(n);
    std::vector<float> ys(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = kT0 + i * 100.0 * kSec / n;
        ys[i] = 80.0f + 20.0f * std::sin(i / 3000.0f) + noise(rng);
    }
    ChartSetProperty(h, 3013, std::span<const double>(xs));
    ChartSetProperty(h, 2140, std::span<const float>(ys));
    QImage reduced = Render();
    const ChartFrame &f = ViewOf(h)->Frame();
    QImage full(reduced.size(), QImage::Format_RGB32);
    full.fill(Qt::black);
    {
        QPainter p(&full);
        p.setClipRect(f.plot.adjusted(0, 0, 1, 1));
        p.setPen(QPen(kYellow, 1.0)); // every point, not smoothed: a dense trace smoothed
                                      // point by point bleeds into the neighbouring columns
        QPolygonF line;
        for (int i = 0; i < n; ++i)
            line << QPointF(f.PixelX(xs[i]), f.PixelY(ys[i]));
        p.drawPolyline(line);
    }
    // Column by column, the trace reaches the same highest and lowest rows (smoothing may
    // move an end by a pixel).
    auto extent = [&](const QImage &img, int x) {
        int lo = -1, hi = -1;
        for (int y = f.plot.top() + 1; y < f.plot.bottom(); ++y)
            if (Mostly(img.pixelColor(x, y), kYellow)) {
                hi = hi < 0 ? y : hi;
                lo = y;
            }
        return std::pair(hi, lo);
    };
    int columns = 0, agree = 0;
    for (int x = f.plot.left() + 1; x < f.plot.right(); ++x, ++columns) {
        auto [rh, rl] = extent(reduced, x);
        auto [fh, fl] = extent(full, x);
        agree += std::abs(rh - fh) <= 1 && std::abs(rl - fl) <= 1;
    }
    EXPECT_GT(columns, 500);
    EXPECT_GE(agree, columns * 98 / 100);
}

// Empty, zero-wide, extreme and non-finite ranges and data, and sizes from one pixel to more
// than memory holds: drawn (or skipped) without a fault or a hang.
TEST_F(RenderTest, DegenerateAndImpossibleValuesDrawWithoutFault)
{
    ChartSetInt(h, 2120, 0);
    ChartSetInt(h, 3615, 0);
    ChartSetInt(h, 3050, 0);
    EXPECT_FALSE(Render().isNull());
    ChartSetInt(h, 3615, 3);
    ChartSetProperty(h, 3625, kT0); // zero width
    ChartSetInt(h, 3050, 3);
    ChartSetProperty(h, 3055, 50.0);
    ChartSetProperty(h, 3060, 50.0);
    EXPECT_FALSE(Render().isNull());
    const auto [dx, dy] = DataAt(100, 100);
    EXPECT_TRUE(std::isfinite(dx) && std::isfinite(dy));
    EXPECT_GE(ViewOf(h)->Frame().xTicks.size(), 1u);
    ChartMoveWindow(h, 1, 1); // a one-pixel chart still lays out
    EXPECT_FALSE(Render().isNull());

    ChartMoveWindow(h, 600, 400);
    SetLine(101, 80.0f);
    const double extremes[][2] = {{-1e308, 1e308}, {1e300, -1e300}, {0.0, 1e9}, {-5e6, 5e6}};
    for (auto &r : extremes) {
        ChartSetProperty(h, 3620, r[0]);
        ChartSetProperty(h, 3625, r[1]);
        ChartSetProperty(h, 3055, r[1]);
        ChartSetProperty(h, 3060, r[0]);
        EXPECT_FALSE(Render().isNull()) << r[0];
        EXPECT_LE(ViewOf(h)->Frame().xTicks.size(), 1000u);
    }
    ChartSetInt(h, 3018, 0); // numeric X
    ChartSetElement2D(h, 2140, 0, 3, std::numeric_limits<double>::quiet_NaN());
    ChartSetElement2D(h, 3013, 0, 4, std::numeric_limits<double>::infinity());
    ChartSetInt(h, 3615, 0);
    ChartSetInt(h, 3050, 0);
    EXPECT_FALSE(Render().isNull());
    ChartMoveWindow(h, 1 << 30, 1 << 30); // held to a size that fits in memory
    EXPECT_LE(ChartFind(h)->Rect().right, 16384);
    ChartMoveWindow(h, 300, 200);
    EXPECT_FALSE(Render().isNull());
}

// PlotRect is there before any image; a band drawn with the mouse zooms to it, undo zoom
// restores the ranges.
TEST_F(RenderTest, PlotRectBeforeAnyImageRubberBandZoomAndUndoZoom)
{
    ChartReinitialize(h); // no image built yet
    EXPECT_EQ(ChartGetImage(h), 0);
    ChartRect p = Plot();
    EXPECT_TRUE(p.left > 0 && p.top > 0 && p.right < 600 && p.bottom < 400 &&
                p.right - p.left > 300);
    ExpectPlotCorners(At(0, 30.0), At(100, 130.0));
    const auto [left, top] = DataAt(p.left, p.top); // pixel to data and back
    EXPECT_NEAR(left, kT0, 1e-9);
    EXPECT_NEAR(top, 130.0, 1e-9);

    Sink sink;
    ChartSetSink(h, &sink);
    ChartSetInt(h, 3282, 3); // AllowZooming sgHorzPlusVertZooming
    Render();
    const QPoint a(p.left + 100, p.top + 50), b(p.left + 300, p.top + 200);
    const auto [ax, ay] = DataAt(a.x(), a.y());
    const auto [bx, by] = DataAt(b.x(), b.y());
    ChartSendMessage(h, msg::LButtonDown, msg::MK_LBUTTON, msg::MakePoint(a.x(), a.y()));
    ChartSendMessage(h, msg::MouseMove, msg::MK_LBUTTON, msg::MakePoint(b.x(), b.y()));
    const auto mouse = Record<PointRecord>(prop::MousePoint);
    EXPECT_EQ(QPoint(mouse.x, mouse.y), b);
    const std::int32_t image = ChartGetImage(h);
    ChartSendMessage(h, msg::LButtonUp, 0, msg::MakePoint(b.x(), b.y()));
    ASSERT_TRUE(ChartIsZoomed(h));
    // Zoom in, then a parameter update (the control copies the scroll bars then).
    ASSERT_GE(sink.codes.size(), 2u);
    EXPECT_EQ(sink.codes[sink.codes.size() - 2], code::ZoomIn);
    EXPECT_EQ(sink.codes.back(), code::ParamUpdate);
    EXPECT_NE(ChartGetImage(h), image);
    // The band's corners are now the plot's corners; the manual ranges are untouched.
    ExpectPlotCorners(ToPixel(ax, by), ToPixel(bx, ay));
    double minY = 0;
    ChartGetProperty(h, 3055, minY);
    EXPECT_EQ(minY, 30.0);
    // Undo zoom restores the ranges and asks for a repaint by itself.
    const int before = sink.invalidations;
    ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
    EXPECT_FALSE(ChartIsZoomed(h));
    EXPECT_GT(sink.invalidations, before);
    EXPECT_EQ(sink.codes[sink.codes.size() - 2], code::ZoomOut);
    EXPECT_EQ(sink.codes.back(), code::ParamUpdate);
    ExpectPlotCorners(At(0, 30.0), At(100, 130.0));
    ChartSetSink(h, nullptr);
}

TEST_F(RenderTest, HitTestsFollowTheShowAndAllowSwitches)
{
    ChartSetInt(h, 3282, 3);
    VertLine(1, 40);
    ChartSetInt(h, 3228, 1);
    Mark(7, 60, 110.0, {}, {}, 2);
    ChartSetInt(h, 3223, 1);
    Render();
    const QPoint line = At(40, 100.0), cross = At(60, 110.0), point = At(20, 80.0);
    auto hit = [&](QPoint at) {
        const std::int32_t type = ChartHitTest(h, at.x(), at.y());
        const auto r = Record<HotSpotRecord>(prop::HotSpotData);
        EXPECT_EQ(r.type, type);
        return std::make_tuple(type, r.index1, r.index2);
    };
    // Allow switches off: nothing is a hot spot.
    for (QPoint at : {line, cross, point})
        EXPECT_EQ(std::get<0>(hit(at)), 0);
    ChartSetInt(h, 3234, 1); // AllowVertLineAnnotHotSpots
    ChartSetInt(h, 3229, 1); // AllowGraphAnnotHotSpots
    ChartSetInt(h, 3210, 1); // AllowDataHotSpots
    EXPECT_EQ(hit(line + QPoint(2, 0)), std::make_tuple(10, 1, 0));
    EXPECT_EQ(hit(cross), std::make_tuple(6, 7, 0));
    EXPECT_EQ(hit(point + QPoint(1, 2)), std::make_tuple(5, 0, 20));
    // Show switch off: the line is no hot spot either.
    ChartSetInt(h, 3228, 0);
    EXPECT_EQ(std::get<0>(hit(line + QPoint(2, 0))), 0);
    ChartSetInt(h, 3228, 1);
    // A press on a hot spot never starts a zoom band.
    ChartSendMessage(h, msg::LButtonDown, msg::MK_LBUTTON, msg::MakePoint(line.x(), line.y()));
    EXPECT_FALSE(ViewOf(h)->Banding());
    const std::int32_t end = msg::MakePoint(line.x() + 100, line.y() + 60);
    ChartSendMessage(h, msg::MouseMove, msg::MK_LBUTTON, end);
    ChartSendMessage(h, msg::LButtonUp, 0, end);
    EXPECT_FALSE(ChartIsZoomed(h));
}

TEST(ChartCursor, UnknownValuesGiveTheArrow)
{
    QCursor cross(Qt::CrossCursor);
    std::int32_t handle = ChartRegisterCursor(cross);
    EXPECT_EQ(ChartCursorFor(handle).shape(), Qt::CrossCursor);
    EXPECT_EQ(ChartCursorFor(2).shape(), Qt::IBeamCursor);
    EXPECT_EQ(ChartCursorFor(1).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ChartCursorFor(0x7654321).shape(), Qt::ArrowCursor); // stale handle from a file
    EXPECT_EQ(ChartCursorFor(-5).shape(), Qt::ArrowCursor);
}

namespace {

// Every pair of a frame's placed texts: none may overlap, and each lies inside the chart.
void ExpectTextsApartAndInside(const ChartFrame &f, const char *what)
{
    const QRectF chart(0, 0, f.size.width(), f.size.height());
    for (std::size_t a = 0; a < f.texts.size(); ++a) {
        EXPECT_TRUE(chart.contains(f.texts[a].rect))
            << what << " " << f.texts[a].text.toStdString();
        for (std::size_t b = a + 1; b < f.texts.size(); ++b)
            EXPECT_FALSE(f.texts[a].rect.intersects(f.texts[b].rect))
                << what << ": " << f.texts[a].text.toStdString() << " / "
                << f.texts[b].text.toStdString();
    }
}

} // namespace

TEST_F(RenderTest, SmallChartsKeepThePlotInsideAndLeaveOutWhatDoesNotFit)
{
    ChartSetString(h, 2105, u"Real-Time Graph");
    ChartSetString(h, 3005, u"dB");
    ChartSetString(h, 3000, u"Time");
    for (QSize size : {QSize(50, 50), QSize(100, 80), QSize(160, 120), QSize(600, 400)}) {
        ChartMoveWindow(h, size.width(), size.height());
        EXPECT_EQ(Render().size(), size);
        const ChartRect p = Plot();
        EXPECT_TRUE(p.left >= 0 && p.top >= 0 && p.right < size.width() &&
                    p.bottom < size.height() && p.right > p.left && p.bottom > p.top)
            << size.width();
        ExpectTextsApartAndInside(ViewOf(h)->Frame(), "size");
    }
    // At full size everything is there: title, axis labels, numbers and the date.
    std::map<int, int> roles;
    for (const PlacedText &t : ViewOf(h)->Frame().texts)
        ++roles[t.role];
    EXPECT_EQ(roles[PlacedText::MainTitle], 1);
    EXPECT_EQ(roles[PlacedText::XLabel], 1);
    EXPECT_EQ(roles[PlacedText::YLabel], 1);
    EXPECT_EQ(roles[PlacedText::XDate], 1);
    EXPECT_GE(roles[PlacedText::YNumber], 3);
    EXPECT_GE(roles[PlacedText::XNumber], 3);
}

// Tick labels never overlap and never repeat; each day is dated once under its first drawn tick.
TEST_F(RenderTest, DateTimeTicksStayReadableAndDatedOnceAtEveryZoom)
{
    // From milliseconds to years; 30 hours from noon cross midnight once.
    for (double seconds : {0.004, 0.05, 2.0, 90.0, 4000.0, 30 * 3600.0, 50 * 3600.0, 9 * 86400.0,
                           100 * 86400.0, 3650 * 86400.0}) {
        for (int width : {1200, 700, 420}) {
            ChartMoveWindow(h, width, 400);
            ChartSetProperty(h, 3625, kT0 + seconds * kSec);
            ChartReinitialize(h);
            const ChartFrame &f = ViewOf(h)->Frame();
            ExpectTextsApartAndInside(f, "dates");
            if (width == 1200) {
                ASSERT_GE(f.xTicks.size(), 2u) << seconds;
            }
            const QFontMetrics fm(f.style.numbers);
            for (std::size_t k = 1; k < f.xTicks.size(); ++k) {
                const Tick &a = f.xTicks[k - 1], &b = f.xTicks[k];
                EXPECT_NE(a.label + a.day.toString(), b.label + b.day.toString()) << seconds;
                if (width == 1200) { // ticks far enough apart for their labels
                    EXPECT_GE(
                        f.PixelX(b.value) - f.PixelX(a.value),
                        std::max(fm.horizontalAdvance(a.label), fm.horizontalAdvance(b.label)))
                        << seconds;
                }
            }
            if (seconds >= 86400.0 * 2)
                continue; // day steps and above carry the date as the label itself
            // The dates shown: each once, in order, and the first under the first drawn label.
            std::vector<QString> dates;
            double firstNumber = -1, firstDate = -1;
            for (const PlacedText &t : f.texts) {
                if (t.role == PlacedText::XDate) {
                    dates.push_back(t.text);
                    if (firstDate < 0)
                        firstDate = t.rect.center().x();
                } else if (t.role == PlacedText::XNumber && firstNumber < 0) {
                    firstNumber = t.rect.center().x();
                }
            }
            ASSERT_FALSE(dates.empty()) << seconds << " " << width;
            EXPECT_NEAR(firstDate, firstNumber, 40) << seconds << " " << width;
            for (std::size_t k = 1; k < dates.size(); ++k)
                EXPECT_NE(dates[k], dates[k - 1]) << seconds;
            if (seconds == 30 * 3600.0) {
                EXPECT_EQ(dates.size(), 2u) << width;
            }
        }
    }
}

TEST_F(RenderTest, HighDensityScreensGetImagesOfTheirOwnPixels)
{
    ASSERT_TRUE(ChartSetPixelRatio(h, 2.0));
    QImage img = Render();
    EXPECT_EQ(img.size(), QSize(1200, 800));
    EXPECT_EQ(img.devicePixelRatio(), 2.0);
    // The layout stays in chart pixels; the line lies at twice its place and keeps its
    // weight in chart pixels (two device rows).
    const ChartRect p = Plot();
    const QPoint at = At(40, 80.0) * 2;
    EXPECT_TRUE(Near(img, at, kYellow, 2));
    int rows = 0;
    for (int y = at.y() - 4; y <= at.y() + 4; ++y)
        rows += Mostly(img.pixelColor(at.x(), y), kYellow);
    EXPECT_GE(rows, 2);
    EXPECT_LE(rows, 3);
    EXPECT_EQ(img.pixelColor(p.left * 2 + 6, p.top * 2 + 6), QColor(Qt::black));
    // Printing and image files keep their own resolution.
    EXPECT_EQ(ChartRenderImage(h, 300, 200).size(), QSize(300, 200));
    ChartSetPixelRatio(h, 1.0);
    EXPECT_EQ(Render().size(), QSize(600, 400));
}

TEST_F(RenderTest, AZoomedChartScrollsOverItsData)
{
    Sink sink;
    ChartSetSink(h, &sink);
    ChartSetInt(h, 3282, 3); // AllowZooming: both
    ChartReinitialize(h);
    auto seconds = [&](double x) { return (x - kT0) / kSec; };
    auto scroll = [&](std::uint32_t message, std::int32_t code, std::uint32_t thumb = 0) {
        ChartSendMessage(h, message, (thumb << 16) | std::uint32_t(code), 0);
        return ViewOf(h)->Frame();
    };
    // No zoom, or scrolling off: no bars.
    EXPECT_EQ(ChartGetScrollInfo(h, false).min, 0);
    ViewOf(h)->ZoomTo({kT0 + 20 * kSec, kT0 + 40 * kSec}, {60.0, 80.0});
    EXPECT_EQ(ChartGetScrollInfo(h, false).min, 0);
    ChartSetInt(h, 3652, 1); // ScrollingHorzZoom
    ChartScrollInfo bar = ChartGetScrollInfo(h, false);
    EXPECT_EQ(bar.min, 1);
    EXPECT_EQ(bar.max, kChartScrollUnits);
    EXPECT_EQ(bar.page, kChartScrollUnits / 5); // 20 of 100 seconds
    EXPECT_EQ(bar.pos, 1 + kChartScrollUnits / 5);
    EXPECT_EQ(ChartGetScrollInfo(h, true).min, 0); // vertical scrolling is off

    // A page to the right moves the window by its width and keeps the width.
    Range x = scroll(msg::HScroll, msg::SB_PAGEDOWN).x;
    EXPECT_NEAR(seconds(x.min), 40.0, 1e-6);
    EXPECT_NEAR(seconds(x.max), 60.0, 1e-6);
    ASSERT_FALSE(sink.scrolls.empty());
    EXPECT_EQ(sink.scrolls.back(), std::make_pair(msg::SB_PAGEDOWN, 1 + 2 * kChartScrollUnits / 5));
    EXPECT_NE(std::find(sink.codes.begin(), sink.codes.end(), code::PreHScroll), sink.codes.end());
    EXPECT_EQ(ChartGetScrollInfo(h, false).pos, sink.scrolls.back().second);
    // The far end stops at the data's end; the thumb goes where it is dragged; the end of a
    // scroll changes nothing.
    EXPECT_NEAR(seconds(scroll(msg::HScroll, msg::SB_BOTTOM).x.max), 100.0, 1e-6);
    EXPECT_NEAR(seconds(scroll(msg::HScroll, msg::SB_PAGEDOWN).x.max), 100.0, 1e-6);
    EXPECT_NEAR(seconds(scroll(msg::HScroll, msg::SB_THUMBTRACK, 101).x.min), 10.0, 1e-6);
    const std::size_t scrolls = sink.scrolls.size();
    scroll(msg::HScroll, msg::SB_ENDSCROLL);
    EXPECT_EQ(sink.scrolls.size(), scrolls);

    // Vertically the bar's top is the highest value.
    ChartSetInt(h, 3069, 1); // ScrollingVertZoom
    bar = ChartGetScrollInfo(h, true);
    EXPECT_EQ(bar.page, kChartScrollUnits / 5);    // 20 of 100 dB
    EXPECT_EQ(bar.pos, 1 + kChartScrollUnits / 2); // 130 down to 80
    const Range y = scroll(msg::VScroll, msg::SB_TOP).y;
    EXPECT_NEAR(y.max, 130.0, 1e-9);
    EXPECT_NEAR(y.min, 110.0, 1e-9);
    // Undo zoom: the bars go.
    ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
    EXPECT_EQ(ChartGetScrollInfo(h, false).min, 0);
    EXPECT_EQ(ChartGetScrollInfo(h, true).min, 0);
    ChartSetSink(h, nullptr);
}

TEST_F(RenderTest, TickMarksStandOutsideThePlotAndCutNoGridLine)
{
    ChartSetInt(h, 3032, 0);            // GridStyle thin
    ChartSetInt(h, 1905, Argb(kGreen)); // GridLineColor
    ChartSetInt(h, 3038, Argb(kRed));   // XAxisColor
    ChartSetInt(h, 3036, Argb(kRed));   // YAxisColor
    const QImage img = Render();
    const ChartFrame &f = ViewOf(h)->Frame();
    ASSERT_GE(f.xTicks.size(), 3u);
    int lines = 0;
    for (const Tick &t : f.xTicks) {
        const int x = int(std::round(f.PixelX(t.value)));
        if (x <= f.plot.left() || x >= f.plot.right())
            continue;
        ++lines;
        for (int y = f.plot.bottom() - 6; y < f.plot.bottom(); ++y)
            EXPECT_EQ(img.pixelColor(x, y), kGreen) << x << "," << y;
        EXPECT_EQ(img.pixelColor(x, f.plot.bottom() + 2), kRed) << x; // the mark below
    }
    EXPECT_GE(lines, 2);
    for (const Tick &t : f.yTicks) {
        const int y = int(std::round(f.PixelY(t.value)));
        if (y <= f.plot.top() || y >= f.plot.bottom())
            continue;
        EXPECT_NE(img.pixelColor(f.plot.left() + 2, y), kRed) << y;
        EXPECT_EQ(img.pixelColor(f.plot.left() - 2, y), kRed) << y;
    }
}

namespace {

// The chart drawn by QPainter alone at the device pixel ratio of its screen image, as printing
// and image files draw it: what the screen image must look like.
QImage Painted(HCHART h, double ratio)
{
    ChartView *v = ViewOf(h);
    ChartFrame f = v->BuildFrame(v->Frame().size);
    f.penScale = ratio;
    QImage img(f.size * ratio, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    QPainter p(&img);
    v->Draw(p, f);
    return img;
}

// The redraw idiom's rebuild, with whatever it keeps from the last one.
QImage Rebuilt(HCHART h)
{
    ChartResetImage(h, 0, 0);
    return ChartCachedImage(h).copy();
}

} // namespace

// The screen image is partly drawn straight into its pixels, and a rebuild keeps what it may of
// the last one: the layer under the cursor lines and marks when only they moved, everything
// around the plot when only the data changed, the layout and its texts while nothing they show
// changed. After every change of the table the rebuild has the pixels of the whole chart drawn
// by QPainter alone: a dense trace and a sparse one, patterned, thick and see-through lines,
// samples added one by one and in blocks, values changed in the middle, gaps, NaN and far
// values (with no lines or marks over them, the frame around the plot as the trace left it),
// moved lines and marks, every property the layout depends on; the grid behind or in front, on
// ordinary and high-density screens.
TEST_F(RenderTest, EveryRebuildHasThePixelsOfTheWholeChartDrawnByQPainter)
{
    const int n = 2000;
    std::mt19937 rng(4);
    std::normal_distribution<double> noise(0.0, 6.0);
    std::vector<double> ys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        ys[std::size_t(i)] = 80.0 + 20.0 * std::sin(i / 70.0) + noise(rng);
    auto x = [&](int i) { return kT0 + i * 100.0 * kSec / n; };
    ChartSetInt(h, 2115, 3); // Subsets
    ChartSetInt(h, 2120, n);
    ChartSetElement2D(h, 3013, -1, -1, 0.0); // room not yet filled
    ChartSetElement2D(h, 3014, -1, -1, 0.0);
    for (int s = 1; s < 3; ++s) // sparse traces beside the dense one: the rest is null
        for (int i = 0; i < n; ++i) {
            ChartSetElement2D(h, 3013, s, i, x(i));
            ChartSetElement2D(h, 3014, s, i, i % 100 ? 9999.0 : ys[std::size_t(i)] - 25.0 * s);
        }
    ChartSetElement(h, 2190, 1, Argb(kRed));
    ChartSetElement(h, 3271, 1, std::int32_t(1)); // dashed
    ChartSetElement(h, 2190, 2, Argb(QColor(0, 255, 0, 128)));
    ChartSetElement(h, 3271, 2, std::int32_t(6)); // thick and see-through
    ChartSetElement(h, 2125, 0, u"Level");
    ChartSetElement(h, 2125, 1, u"Leq");
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    VertLine(0, 30, u"|t12:00:30\n80.0dB");
    VertLine(1, 70, u"B");
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    Mark(5, 60, 90.0, u"mark");
    int written = 0;
    auto append = [&](int count) {
        for (int k = 0; k < count && written < n; ++k, ++written) {
            ChartSetElement2D(h, 3013, 0, written, x(written));
            ChartSetElement2D(h, 3014, 0, written, ys[std::size_t(written)]);
        }
    };
    auto y = [&](int i, double level) { ChartSetElement2D(h, 3014, 0, i, level); };
    auto lines = [&](double a, double b) {
        VertLine(0, a);
        VertLine(1, b);
    };
    const std::vector<std::pair<const char *, std::function<void()>>> changes = {
        {"a point", [&] { append(1); }},
        {"a second point", [&] { append(1); }},
        {"60 points", [&] { append(60); }},
        {"lines moved", [&] { lines(25, 75); }},
        {"lines and a mark moved", [&] { lines(26, 74), Mark(5, 27, 90.0); }},
        {"lines at the ends", [&] { lines(99, 1); }},
        {"lines outside the plot", [&] { lines(150, -5); }},
        {"lines and a value", [&] { lines(50, 50), y(50, 125.0); }},
        {"MainTitle", [&] { ChartSetString(h, 2105, u"Real-Time Graph"); }},
        {"SubTitle", [&] { ChartSetString(h, 2110, u"Leq 1 s\nslow"); }},
        {"FontSize large", [&] { ChartSetInt(h, 2435, 0); }},
        {"LabelFont", [&] { ChartSetString(h, 2525, u"DejaVu Serif"); }},
        {"FontSizeALCntl", [&] { ChartSetProperty(h, 2949, 1.4); }},
        {"YAxisLabel", [&] { ChartSetString(h, 3005, u"dB"); }},
        {"a legend text", [&] { ChartSetElement(h, 2125, 2, u"L"); }},
        {"LegendLocation bottom", [&] { ChartSetInt(h, 3082, 1); }},
        {"a subset's colour", [&] { ChartSetElement(h, 2190, 0, Argb(kRed)); }},
        {"DeskColor", [&] { ChartSetInt(h, 2320, Argb(QColor(230, 230, 250))); }},
        {"GridStyle thin", [&] { ChartSetInt(h, 3032, 0); }},
        {"GraphAnnotationTextSize", [&] { ChartSetInt(h, 3242, 180); }},
        {"no lines or marks shown", [&] { ChartSetInt(h, 3228, 0), ChartSetInt(h, 3223, 0); }},
        {"700 points", [&] { append(700); }},
        {"a value in the middle", [&] { y(500, 125.0); }},
        {"a null value", [&] { y(501, 9999.0); }},
        {"NullDataGaps", [&] { ChartSetInt(h, 3066, 1); }},
        {"NaN", [&] { y(600, std::numeric_limits<double>::quiet_NaN()); }},
        {"far above", [&] { y(601, 2000.0); }},
        {"far below", [&] { y(602, -900.0); }},
        {"the rest", [&] { append(n); }},
        {"lines and marks shown", [&] { ChartSetInt(h, 3228, 1), ChartSetInt(h, 3223, 1); }},
        {"ManualMaxX", [&] { ChartSetProperty(h, 3625, kT0 + 4000 * kSec); }},
        {"monochrome", [&] { ChartSetInt(h, 2230, 1); }},
        {"automatic Y", [&] { ChartSetInt(h, 3050, 0); }},
        {"numeric X", [&] { ChartSetInt(h, 3018, 0); }},
        {"German numbers", [&] { QLocale::setDefault(QLocale(QLocale::German)); }},
        {"a flat line", [&] { y(-1, 60.0); }},
        {"no point to draw", [&] { ChartSetElement2D(h, 3013, 0, -1, 0.0); }},
    };
    const std::vector<std::uint8_t> initial = ChartStoreState(h);
    const QLocale locale;
    const std::pair<bool, double> passes[] = {
        {false, 1.0}, {false, 2.0}, {false, 1.5}, {true, 1.0}, {true, 2.0}};
    for (const auto &[inFront, ratio] : passes) {
        ASSERT_TRUE(ChartLoadState(h, initial));
        ChartSetInt(h, 3110, inFront); // GridInFront
        ChartSetPixelRatio(h, ratio);
        ChartReinitialize(h);
        written = 0;
        const std::string pass = std::to_string(inFront) + " " + std::to_string(ratio) + ": ";
        EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << pass << "the first drawing";
        for (std::size_t k = 0; k < changes.size(); ++k) {
            changes[k].second();
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << pass << changes[k].first;
            VertLine(0, 20.0 + double(k)); // a cursor move over what was drawn keeps it
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << pass << changes[k].first << ", moved";
        }
        QLocale::setDefault(locale);
    }
}

// With automatic ranges the extent of the data is kept from one rebuild to the next and follows
// each write of a value. After every kind of write the ranges shown are those of the same data
// read afresh (a second chart given the same state): values that widen the range, far values
// written over again (the range shrinks), null and NaN values, a subset's first X, whole rows,
// points and subsets added and removed, the properties that decide which points are drawn, and
// a state loaded over the chart.
TEST_F(RenderTest, AutomaticRangesFollowEveryWriteOfTheData)
{
    ChartSetInt(h, 3050, 0); // ManualScaleControlY: automatic
    ChartSetInt(h, 3615, 0); // ManualScaleControlX: automatic
    ChartSetInt(h, 2115, 2);
    ChartSetInt(h, 2120, 300);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> level(20.0, 120.0), second(0.0, 400.0);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < 300; ++i) {
            ChartSetElement2D(h, 3013, s, i, kT0 + (i + 50 * s) * kSec);
            ChartSetElement2D(h, 3014, s, i, level(rng));
        }
    ChartReinitialize(h);
    ChartRect r{0, 0, 600, 400};
    const HCHART fresh = ChartCreateWithView(304, 0, &r, 0, 12112);
    ASSERT_NE(fresh, 0u);
    const std::vector<std::uint8_t> start = ChartStoreState(h);
    std::vector<std::pair<int, int>> far; // cells given far values
    int subsets = 2, points = 300;
    auto cell = [&] {
        return std::pair(int(rng() % unsigned(subsets)), int(rng() % unsigned(points)));
    };
    for (int step = 0; step < 300; ++step) {
        const auto [s, i] = cell();
        std::string what;
        switch (rng() % 16) {
        case 0:
        case 1:
        case 2:
            ChartSetElement2D(h, 3014, s, i, level(rng));
            what = "a level";
            break;
        case 3:
            ChartSetElement2D(h, 3014, s, i, rng() % 2 ? 1000.0 : -1000.0);
            far.emplace_back(s, i);
            what = "a far level";
            break;
        case 4:
            ChartSetElement2D(h, 3013, s, i, kT0 + (rng() % 4 ? second(rng) : 4000.0) * kSec);
            far.emplace_back(s, i);
            what = "an X value";
            break;
        case 5:
        case 6:
        case 7: // a far value written over, as the range's edge
            if (!far.empty()) {
                const auto [fs, fi] = far.back();
                far.pop_back();
                ChartSetElement2D(h, 3013, fs, fi, kT0 + second(rng) * kSec);
                ChartSetElement2D(h, 3014, fs, fi, level(rng));
            }
            what = "a far value written over";
            break;
        case 8:
            ChartSetElement2D(h, 3014, s, i, 9999.0);
            what = "a null value";
            break;
        case 9:
            ChartSetElement2D(h, 3014, s, i, std::numeric_limits<double>::quiet_NaN());
            what = "NaN";
            break;
        case 10:
            ChartSetElement2D(h, 3014, s, -1, level(rng));
            what = "a whole row";
            break;
        case 11:
            points = 250 + int(rng() % 100);
            ChartSetInt(h, 2120, points);
            what = "Points";
            break;
        case 12:
            subsets = 1 + int(rng() % 3);
            ChartSetInt(h, 2115, subsets);
            what = "Subsets";
            break;
        case 13:
            ChartSetInt(h, 3018, rng() % 3 ? 1 : 0);
            what = "DateTimeMode";
            break;
        case 14:
            ChartSetProperty(h, 3268, rng() % 2 ? 9999.0 : level(rng));
            what = "NullDataValueY";
            break;
        default:
            if (const unsigned kind = rng() % 4; kind == 1) {
                std::vector<double> all(std::size_t(subsets * points));
                for (double &v : all)
                    v = level(rng) / (rng() % 8 ? 1.0 : 4.0);
                ChartSetProperty(h, 3014, std::span<const double>(all));
                what = "every level at once";
            } else if (kind == 0) {
                ASSERT_TRUE(ChartLoadState(h, start));
                subsets = 2;
                points = 300;
                far.clear();
                what = "a state loaded";
            } else {
                ChartSetElement2D(h, 3014, s, points - 1, level(rng));
                what = "a sample at the end";
            }
            break;
        }
        ChartResetImage(h, 0, 0);
        ASSERT_TRUE(ChartLoadState(fresh, ChartStoreState(h)));
        ChartResetImage(fresh, 0, 0);
        const ChartFrame &a = ViewOf(h)->Frame(), &b = ViewOf(fresh)->Frame();
        const std::string at = std::to_string(step) + ": " + what;
        EXPECT_EQ(a.x.min, b.x.min) << at;
        EXPECT_EQ(a.x.max, b.x.max) << at;
        EXPECT_EQ(a.y.min, b.y.min) << at;
        EXPECT_EQ(a.y.max, b.y.max) << at;
    }
    ChartDestroy(fresh);
}

// A change of a property that leaves the plot where it was, with its ranges, ticks and look,
// keeps the plot's pixels and draws what lies around it; any change the plot's pixels depend on
// draws it again. A pixel of the plot is marked before each change: it stays where the plot is
// kept (and with the mark taken out the image is the whole chart drawn by QPainter), and is gone
// where it is not.
TEST_F(RenderTest, APropertyChangeThatLeavesThePlotKeepsItsPixels)
{
    const int n = 2000;
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 6.0);
    ChartSetInt(h, 2120, n);
    for (int i = 0; i < n; ++i) {
        ChartSetElement2D(h, 3013, 0, i, kT0 + i * 100.0 * kSec / n);
        ChartSetElement2D(h, 3014, 0, i, 80.0 + 20.0 * std::sin(i / 70.0) + noise(rng));
    }
    ChartSetString(h, 2105, u"DataLogger");
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    VertLine(0, 30, u"|t12:00:30\n80.0dB");
    const std::vector<std::uint8_t> initial = ChartStoreState(h);
    const QRgb kMark = qRgb(1, 2, 3);
    for (const double ratio : {1.0, 2.0}) {
        ASSERT_TRUE(ChartLoadState(h, initial));
        ChartSetPixelRatio(h, ratio);
        ChartReinitialize(h);
        EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio;
        auto &image = const_cast<QImage &>(ViewOf(h)->Image());
        QPoint at;
        QRgb was = 0;
        auto mark = [&] {
            at = ViewOf(h)->Frame().plot.center() * ratio + QPoint(3, 3);
            was = image.pixel(at);
            image.setPixel(at, kMark);
        };
        const std::vector<std::pair<const char *, std::function<void()>>> kept = {
            {"MainTitle as high", [&] { ChartSetString(h, 2105, u"Data Logger 2"); }},
            {"MainTitle the same", [&] { ChartSetString(h, 2105, u"Data Logger 2"); }},
            {"DeskColor", [&] { ChartSetInt(h, 2320, Argb(QColor(230, 230, 250))); }},
            {"a cursor and the title",
             [&] {
                 VertLine(0, 60);
                 ChartSetString(h, 2105, u"DataLogger");
             }},
        };
        for (const auto &[what, change] : kept) {
            mark();
            change();
            QImage img = Rebuilt(h);
            EXPECT_EQ(img.pixel(at), kMark) << ratio << " " << what;
            img.setPixel(at, was);
            image.setPixel(at, was);
            EXPECT_EQ(img, Painted(h, ratio)) << ratio << " " << what;
        }
        const std::vector<std::pair<const char *, std::function<void()>>> drawn = {
            {"SubTitle: the plot moves", [&] { ChartSetString(h, 2110, u"Leq 1 s"); }},
            {"a subset's colour", [&] { ChartSetElement(h, 2190, 0, Argb(kRed)); }},
            {"GridLineColor", [&] { ChartSetInt(h, 1905, Argb(kGreen)); }},
            {"YAxisColor", [&] { ChartSetInt(h, 3036, Argb(kRed)); }},
            {"NullDataGaps", [&] { ChartSetInt(h, 3066, 1); }},
            {"the title and a value",
             [&] {
                 ChartSetString(h, 2105, u"Data Logger 3");
                 ChartSetElement2D(h, 3014, 0, 1000, 125.0);
             }},
            {"ManualMaxY", [&] { ChartSetProperty(h, 3060, 140.0); }},
            {"Points", [&] { ChartSetInt(h, 2120, n - 500); }},
            {"the title after a zoom",
             [&] {
                 ViewOf(h)->ZoomTo({kT0, kT0 + 50 * kSec}, {40.0, 120.0});
                 ChartSetString(h, 2105, u"DataLogger");
             }},
        };
        for (const auto &[what, change] : drawn) {
            mark();
            change();
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio << " " << what;
        }
    }
}

// Axes and a grid in front in see-through colours are drawn over the whole plot, and over the
// frame again with the lines: every rebuild after a change of the data, of the lines or of the
// title blends them once, as the whole drawing does, on ordinary and high-density screens.
TEST_F(RenderTest, SeeThroughAxesAndGridAreBlendedOnceAtEveryRebuild)
{
    const int n = 2000;
    ChartSetInt(h, 2120, n);
    for (int i = 0; i < n; ++i) {
        ChartSetElement2D(h, 3013, 0, i, kT0 + i * 100.0 * kSec / n);
        ChartSetElement2D(h, 3014, 0, i, 80.0 + 20.0 * std::sin(i / 70.0));
    }
    ChartSetInt(h, 3036, std::int32_t(ChartArgb(128, 255, 0, 0))); // YAxisColor
    ChartSetInt(h, 1905, std::int32_t(ChartArgb(128, 0, 255, 0))); // GridLineColor
    ChartSetInt(h, 3110, 1);                                       // GridInFront
    ChartSetInt(h, 3228, 1);                                       // ShowVertLineAnnotations
    VertLine(0, 30);
    for (const double ratio : {1.0, 2.0}) {
        ChartSetPixelRatio(h, ratio);
        ChartReinitialize(h);
        EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio;
        for (int k = 0; k < 2; ++k) {
            ChartSetElement2D(h, 3014, 0, 100 + k, 129.0);
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio << " a value " << k;
            VertLine(0, 40 + k);
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio << " a line " << k;
            ChartSetString(h, 2105, k ? u"DataLogger" : u"Data Logger");
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio << " the title " << k;
        }
    }
}

// After a write of one value only the columns where the trace now draws otherwise are drawn
// again, with the same pixels as the whole chart drawn by QPainter: values at the start, in the
// middle and at the end of a dense trace (higher, lower, far away, NaN, null, the same value
// again, an X moved), a value of a sparse trace drawn over it, with cursor lines and marks and
// without, on ordinary and high-density screens. On an ordinary screen a pixel marked far from the
// written point stays as it was (the rest of the plot is kept), one marked beside it is drawn
// again.
TEST_F(RenderTest, AWrittenValueRedrawsOnlyTheColumnsItReaches)
{
    const int n = 2000;
    std::mt19937 rng(6);
    std::normal_distribution<double> noise(0.0, 6.0);
    auto x = [&](int i) { return kT0 + i * 100.0 * kSec / n; };
    ChartSetInt(h, 2115, 2); // Subsets
    ChartSetInt(h, 2120, n);
    for (int i = 0; i < n; ++i) {
        ChartSetElement2D(h, 3013, 0, i, x(i));
        ChartSetElement2D(h, 3014, 0, i, 80.0 + 20.0 * std::sin(i / 70.0) + noise(rng));
        ChartSetElement2D(h, 3013, 1, i, x(i));
        ChartSetElement2D(h, 3014, 1, i, i % 50 ? 9999.0 : 60.0); // sparse: the rest is null
    }
    ChartSetElement(h, 2190, 1, Argb(kRed));
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    VertLine(0, 50, u"|t12:00:50\n80.0dB");
    VertLine(1, 99.9, u"B");
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    Mark(0, 0.1, 90.0, u"start");
    Mark(1, 50.1, 70.0, {}, {}, 2);
    auto y = [&](int s, int i, double level) { ChartSetElement2D(h, 3014, s, i, level); };
    struct Write {
        const char *what;
        int point; // where the value is written
        std::function<void()> write;
    };
    const std::vector<Write> writes = {
        {"the first value higher", 0, [&] { y(0, 0, 125.0); }},
        {"the first value lower", 0, [&] { y(0, 0, 35.0); }},
        {"the middle value higher", 1000, [&] { y(0, 1000, 125.0); }},
        {"the middle value again", 1000, [&] { y(0, 1000, 125.0); }},
        {"the middle value lower", 1000, [&] { y(0, 1000, 40.0); }},
        {"the last value higher", n - 1, [&] { y(0, n - 1, 128.0); }},
        {"the last value lower", n - 1, [&] { y(0, n - 1, 31.0); }},
        {"a value far above", 700, [&] { y(0, 700, 2000.0); }},
        {"the value back", 700, [&] { y(0, 700, 80.0); }},
        {"NaN", 701, [&] { y(0, 701, std::numeric_limits<double>::quiet_NaN()); }},
        {"a null value", 702, [&] { y(0, 702, 9999.0); }},
        {"an X moved", 1001, [&] { ChartSetElement2D(h, 3013, 0, 1001, x(1003)); }},
        {"a sparse value", 1500, [&] { y(1, 1500, 110.0); }},
        {"a sparse value more", 1510, [&] { y(1, 1510, 50.0); }},
    };
    const std::vector<std::uint8_t> initial = ChartStoreState(h);
    const QRgb kMark = qRgb(1, 2, 3);
    const std::pair<bool, double> passes[] = {
        {true, 1.0}, {true, 1.5}, {true, 2.0}, {false, 1.0}, {false, 2.0}};
    for (const auto &[shown, ratio] : passes) {
        ASSERT_TRUE(ChartLoadState(h, initial));
        ChartSetInt(h, 3228, shown); // the lines and marks (drawn with the frame over them)
        ChartSetInt(h, 3223, shown);
        ChartSetPixelRatio(h, ratio);
        ChartReinitialize(h);
        EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio;
        auto &image = const_cast<QImage &>(ViewOf(h)->Image());
        for (const Write &w : writes) {
            const ChartFrame &f = ViewOf(h)->Frame();
            const int at = int(std::lround(f.PixelX(x(w.point)) * ratio));
            const int far = at < image.width() / 2 ? at + 200 : at - 200;
            const QPoint away(far, f.plot.center().y() * int(ratio)), beside(at + 1, away.y());
            const QRgb was = image.pixel(away), wasBeside = image.pixel(beside);
            if (ratio == 1.0) {
                image.setPixel(away, kMark);
                image.setPixel(beside, kMark);
            }
            w.write();
            QImage img = Rebuilt(h);
            if (ratio == 1.0) {
                EXPECT_EQ(img.pixel(away), kMark) << w.what;
                const bool same = std::string_view(w.what).ends_with("again");
                EXPECT_EQ(img.pixel(beside) == kMark, same) << w.what;
                img.setPixel(away, was);
                image.setPixel(away, was);
                if (same) {
                    img.setPixel(beside, wasBeside);
                    image.setPixel(beside, wasBeside);
                }
            }
            EXPECT_EQ(img, Painted(h, ratio)) << ratio << " " << w.what;
            VertLine(0, w.point * 100.0 / n + 0.5); // a cursor moved over it keeps it
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio << " " << w.what << ", moved";
            VertLine(0, 25); // and away again, clear of the marked pixels
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << ratio << " " << w.what << ", away";
        }
    }
}
