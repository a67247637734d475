// Offscreen drawing, conversion, hit tests and zoom of the chart renderer. Pixel checks look at
// the places where lines, annotations and cursors must be, never at whole images.
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
#include <vector>

using namespace chartlib;

namespace {

constexpr double kT0 = 46000.5; // a date-time in days (noon)
constexpr double kSec = 1.0 / 86400.0;
const QColor kYellow(255, 255, 0), kRed(255, 0, 0), kGreen(0, 255, 0);

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

// A chart set up the way the graph windows set theirs up: date-time X, dB on Y from 30 to 130,
// yellow subset on black, grey desk.
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
        ChartSetInt(h, 2340, std::int32_t(ChartArgb(255, 0, 0, 0)));       // GraphBackColor
        ChartSetInt(h, 2335, std::int32_t(ChartArgb(255, 190, 190, 190))); // GraphForeColor
        ChartSetInt(h, 2320, std::int32_t(ChartArgb(255, 190, 190, 190))); // DeskColor
        ChartSetElement(h, 2190, 0, std::int32_t(ChartArgb(255, 255, 255, 0)));
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

    ChartRect Plot()
    {
        ChartRect r{};
        ChartGetProperty(h, prop::PlotRect,
                         std::span(reinterpret_cast<std::uint8_t *>(&r), sizeof r));
        return r;
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
    static bool Hue(QColor p, const QColor &c)
    {
        auto match = [](int v, int target) { return target == 0 ? v < 70 : v > 110; };
        return match(p.red(), c.red()) && match(p.green(), c.green()) && match(p.blue(), c.blue());
    }
    static int CountInRect(const QImage &img, QRect r, const QColor &c)
    {
        int n = 0;
        r = r.intersected(img.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += Hue(img.pixelColor(x, y), c);
        return n;
    }

    HCHART h = 0;
};

} // namespace

TEST_F(RenderTest, SubsetLineIsDrawnWhereItsDataLie)
{
    QImage img = Render();
    ASSERT_FALSE(img.isNull());
    for (int i : {1, 30, 70, 99})
        EXPECT_TRUE(Near(img, ToPixel(kT0 + i * kSec, 80.0), kYellow)) << i;
    // Nothing yellow away from the line.
    EXPECT_FALSE(Near(img, ToPixel(kT0 + 50 * kSec, 100.0), kYellow, 3));
    // The plot's background is black, the desk grey.
    ChartRect p = Plot();
    EXPECT_EQ(img.pixelColor(p.left + 3, p.top + 3), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(2, 2), QColor(190, 190, 190));
}

TEST_F(RenderTest, NullValuesAndUnsetDateTimesAreNotDrawn)
{
    ChartSetElement2D(h, 2140, 0, 50, 9999.0f); // null level at point 50
    ChartSetInt(h, 3066, 1);                    // NullDataGaps: the line breaks
    QImage img = Render();
    ChartRect p = Plot();
    int x50 = ToPixel(kT0 + 50 * kSec, 80).x();
    EXPECT_EQ(CountInRect(img, QRect(x50, p.top, 1, p.bottom - p.top), kYellow), 0);
    ChartSetInt(h, 3066, 0); // without gaps the line joins its neighbours
    img = Render();
    EXPECT_TRUE(Near(img, ToPixel(kT0 + 50 * kSec, 80), kYellow));

    // Date-time mode: points whose X is 0.0 (room not yet filled) neither draw nor widen the
    // automatic X range.
    SetLine(101, 83.0f); // off the tick rows
    ChartSetInt(h, 3615, 0);
    ChartSetInt(h, 2120, 120);
    img = Render();
    QPoint first = ToPixel(kT0, 83), last = ToPixel(kT0 + 100 * kSec, 83);
    EXPECT_NEAR(first.x(), Plot().left, 1);
    EXPECT_NEAR(last.x(), Plot().right, 1);
    EXPECT_TRUE(Near(img, first + QPoint(2, 0), kYellow));
}

TEST_F(RenderTest, ColoursWithZeroAlphaAreOpaqueAndMonochromeIsBlackOnWhite)
{
    ChartSetElement(h, 2190, 0, std::int32_t(0x0000FFFF)); // yellow, alpha byte 0
    QImage img = Render();
    EXPECT_TRUE(Near(img, ToPixel(kT0 + 40 * kSec, 80), kYellow));
    ChartSetInt(h, 2230, 1); // ViewingStyle sgMonochrome
    img = Render();
    QPoint at = ToPixel(kT0 + 40 * kSec, 80);
    EXPECT_TRUE(Near(img, at, QColor(Qt::black)));
    EXPECT_EQ(img.pixelColor(at + QPoint(0, -20)), QColor(Qt::white));
}

TEST_F(RenderTest, CursorLinesAndTheirLabels)
{
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    ChartSetElement(h, 3218, 0, kT0 + 25 * kSec);
    ChartSetElement(h, 3222, 0, std::int32_t(ChartArgb(255, 255, 0, 0)));
    ChartSetElement(h, 3219, 0, std::u16string(u"|t12:00:25\n80.0dB"));
    ChartSetElement(h, 3218, 1, kT0 + 75 * kSec);
    ChartSetElement(h, 3222, 1, std::int32_t(ChartArgb(255, 0, 255, 0)));
    ChartSetElement(h, 3219, 1, std::u16string(u"bottom"));
    QImage img = Render();
    ChartRect p = Plot();
    int xa = ToPixel(kT0 + 25 * kSec, 0).x(), xb = ToPixel(kT0 + 75 * kSec, 0).x();
    for (int y : {p.top + 5, (p.top + p.bottom) / 2 + 7, p.bottom - 5}) {
        EXPECT_TRUE(Near(img, QPoint(xa, y), kRed, 0)) << y;
        EXPECT_TRUE(Near(img, QPoint(xb, y), kGreen, 0)) << y;
    }
    // "|t" puts the label at the top (two lines), a plain label at the bottom.
    QRect topBand(xa + 2, p.top + 1, 80, 40), bottomBand(xa + 2, p.bottom - 40, 80, 39);
    EXPECT_GT(CountInRect(img, topBand, kRed), 20);
    EXPECT_EQ(CountInRect(img, bottomBand, kRed), 0);
    EXPECT_GT(CountInRect(img, QRect(xb + 2, p.bottom - 20, 60, 19), kGreen), 10);
    EXPECT_EQ(CountInRect(img, QRect(xb + 2, p.top + 1, 60, 20), kGreen), 0);
    // Hidden when the show switch is off.
    ChartSetInt(h, 3228, 0);
    img = Render();
    EXPECT_FALSE(Near(img, QPoint(xa, (p.top + p.bottom) / 2 + 7), kRed, 0));
}

TEST_F(RenderTest, GraphAnnotationsCrossAndTextWithLineBreaks)
{
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    ChartSetElement(h, 3291, 2, kT0 + 60 * kSec);
    ChartSetElement(h, 3292, 2, 100.0);
    ChartSetElement(h, 3246, 2, std::int32_t(2));
    ChartSetElement(h, 3236, 2, std::int32_t(ChartArgb(255, 0, 255, 0)));
    ChartSetElement(h, 3291, 5, kT0 + 20 * kSec);
    ChartSetElement(h, 3292, 5, 50.0);
    ChartSetElement(h, 3293, 5, std::u16string(u"Wg\r\nWg"));
    ChartSetElement(h, 3236, 5, std::int32_t(ChartArgb(255, 255, 0, 0)));
    QImage img = Render();
    QPoint c = ToPixel(kT0 + 60 * kSec, 100.0);
    EXPECT_TRUE(Near(img, c, kGreen));
    EXPECT_TRUE(Near(img, c + QPoint(3, 3), kGreen));
    EXPECT_TRUE(Near(img, c + QPoint(-3, 3), kGreen));
    EXPECT_FALSE(Near(img, c + QPoint(0, 4), kGreen, 0)); // a diagonal cross, not a plus
    QPoint t = ToPixel(kT0 + 20 * kSec, 50.0);
    // First line above the anchor's baseline, second line below it.
    EXPECT_GT(CountInRect(img, QRect(t.x(), t.y() - 12, 30, 12), kRed), 5);
    EXPECT_GT(CountInRect(img, QRect(t.x(), t.y() + 4, 30, 14), kRed), 5);
    ChartSetElement(h, 3293, 5, std::u16string(u"Wg"));
    img = Render();
    EXPECT_EQ(CountInRect(img, QRect(t.x(), t.y() + 4, 30, 14), kRed), 0);
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
    for (int x = f.plot.left() + 1; x < f.plot.right(); ++x) {
        auto [rh, rl] = extent(reduced, x);
        auto [fh, fl] = extent(full, x);
        ++columns;
        agree += std::abs(rh - fh) <= 1 && std::abs(rl - fl) <= 1;
    }
    EXPECT_GT(columns, 500);
    EXPECT_GE(agree, columns * 98 / 100);
}

TEST_F(RenderTest, EmptyAndDegenerateRangesDrawWithoutFault)
{
    ChartSetInt(h, 2120, 0);
    ChartSetInt(h, 3615, 0);
    ChartSetInt(h, 3050, 0);
    EXPECT_FALSE(Render().isNull());
    ChartSetInt(h, 3615, 3);
    ChartSetProperty(h, 3620, kT0);
    ChartSetProperty(h, 3625, kT0); // zero width
    ChartSetInt(h, 3050, 3);
    ChartSetProperty(h, 3055, 50.0);
    ChartSetProperty(h, 3060, 50.0);
    EXPECT_FALSE(Render().isNull());
    double dx = 0, dy = 0;
    std::int32_t axis = 0, x = 100, y = 100;
    ASSERT_TRUE(ChartConvertPoint(h, &axis, &x, &y, &dx, &dy, 0, 0, 0));
    EXPECT_TRUE(std::isfinite(dx) && std::isfinite(dy));
    EXPECT_GE(ViewOf(h)->Frame().xTicks.size(), 1u);
    // A one-pixel chart still lays out.
    ChartMoveWindow(h, 1, 1);
    EXPECT_FALSE(Render().isNull());
}

TEST_F(RenderTest, PlotRectIsValidBeforeAnyImageAndCornersMapToIt)
{
    ChartReinitialize(h); // no image built yet
    EXPECT_EQ(ChartGetImage(h), 0);
    ChartRect p = Plot();
    EXPECT_GT(p.left, 0);
    EXPECT_GT(p.top, 0);
    EXPECT_LT(p.right, 600);
    EXPECT_LT(p.bottom, 400);
    EXPECT_GT(p.right - p.left, 300);
    QPoint lo = ToPixel(kT0, 30.0), hi = ToPixel(kT0 + 100 * kSec, 130.0);
    EXPECT_NEAR(lo.x(), p.left, 1);
    EXPECT_NEAR(lo.y(), p.bottom, 1);
    EXPECT_NEAR(hi.x(), p.right, 1);
    EXPECT_NEAR(hi.y(), p.top, 1);
    // Pixel to data and back.
    double dx = 0, dy = 0;
    std::int32_t axis = 0, x = p.left, y = p.top;
    ChartConvertPoint(h, &axis, &x, &y, &dx, &dy, 0, 0, 0);
    EXPECT_NEAR(dx, kT0, 1e-9);
    EXPECT_NEAR(dy, 130.0, 1e-9);
}

TEST_F(RenderTest, RubberBandZoomAndUndoZoom)
{
    Sink sink;
    ChartSetSink(h, &sink);
    ChartSetInt(h, 3282, 3); // AllowZooming sgHorzPlusVertZooming
    Render();
    ChartRect p = Plot();
    QPoint a(p.left + 100, p.top + 50), b(p.left + 300, p.top + 200);
    double ax = 0, ay = 0, bx = 0, by = 0;
    std::int32_t axis = 0, x = a.x(), y = a.y();
    ChartConvertPoint(h, &axis, &x, &y, &ax, &ay, 0, 0, 0);
    x = b.x(), y = b.y();
    ChartConvertPoint(h, &axis, &x, &y, &bx, &by, 0, 0, 0);
    ChartSendMessage(h, msg::LButtonDown, msg::MK_LBUTTON, msg::MakePoint(a.x(), a.y()));
    ChartSendMessage(h, msg::MouseMove, msg::MK_LBUTTON, msg::MakePoint(b.x(), b.y()));
    PointRecord mouse{};
    ChartGetProperty(h, prop::MousePoint,
                     std::span(reinterpret_cast<std::uint8_t *>(&mouse), sizeof mouse));
    EXPECT_EQ(mouse.x, b.x());
    EXPECT_EQ(mouse.y, b.y());
    std::int32_t image = ChartGetImage(h);
    ChartSendMessage(h, msg::LButtonUp, 0, msg::MakePoint(b.x(), b.y()));
    ASSERT_TRUE(ChartIsZoomed(h));
    // Zoom in, then a parameter update (the control copies the scroll bars then).
    ASSERT_GE(sink.codes.size(), 2u);
    EXPECT_EQ(sink.codes[sink.codes.size() - 2], code::ZoomIn);
    EXPECT_EQ(sink.codes.back(), code::ParamUpdate);
    EXPECT_NE(ChartGetImage(h), image);
    // The band's corners are now the plot's corners.
    p = Plot();
    QPoint lo = ToPixel(ax, by), hi = ToPixel(bx, ay);
    EXPECT_NEAR(lo.x(), p.left, 1);
    EXPECT_NEAR(lo.y(), p.bottom, 1);
    EXPECT_NEAR(hi.x(), p.right, 1);
    EXPECT_NEAR(hi.y(), p.top, 1);
    // The manual ranges are untouched.
    double minY = 0;
    ChartGetProperty(h, 3055, minY);
    EXPECT_EQ(minY, 30.0);
    // Undo zoom restores the ranges and asks for a repaint by itself.
    int before = sink.invalidations;
    ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
    EXPECT_FALSE(ChartIsZoomed(h));
    EXPECT_GT(sink.invalidations, before);
    EXPECT_EQ(sink.codes[sink.codes.size() - 2], code::ZoomOut);
    EXPECT_EQ(sink.codes.back(), code::ParamUpdate);
    lo = ToPixel(kT0, 30.0);
    EXPECT_NEAR(lo.x(), Plot().left, 1);
    EXPECT_NEAR(lo.y(), Plot().bottom, 1);
}

TEST_F(RenderTest, HitTestsFollowTheShowAndAllowSwitches)
{
    ChartSetInt(h, 3282, 3);
    ChartSetElement(h, 3218, 1, kT0 + 40 * kSec);
    ChartSetInt(h, 3228, 1);
    ChartSetElement(h, 3291, 7, kT0 + 60 * kSec);
    ChartSetElement(h, 3292, 7, 110.0);
    ChartSetElement(h, 3246, 7, std::int32_t(2));
    ChartSetInt(h, 3223, 1);
    Render();
    QPoint line = ToPixel(kT0 + 40 * kSec, 100.0), cross = ToPixel(kT0 + 60 * kSec, 110.0),
           point = ToPixel(kT0 + 20 * kSec, 80.0);
    auto hit = [&](QPoint at) {
        std::int32_t type = ChartHitTest(h, at.x(), at.y());
        HotSpotRecord r{};
        ChartGetProperty(h, prop::HotSpotData,
                         std::span(reinterpret_cast<std::uint8_t *>(&r), sizeof r));
        EXPECT_EQ(r.type, type);
        return std::make_tuple(type, r.index1, r.index2);
    };
    // Allow switches off: nothing is a hot spot.
    EXPECT_EQ(std::get<0>(hit(line)), 0);
    EXPECT_EQ(std::get<0>(hit(cross)), 0);
    EXPECT_EQ(std::get<0>(hit(point)), 0);
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
    ChartSendMessage(h, msg::MouseMove, msg::MK_LBUTTON,
                     msg::MakePoint(line.x() + 100, line.y() + 60));
    ChartSendMessage(h, msg::LButtonUp, 0, msg::MakePoint(line.x() + 100, line.y() + 60));
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

TEST_F(RenderTest, ImpossibleValuesDrawWithoutFault)
{
    // Extreme and non-finite ranges and data: drawn (or skipped) without a fault or a hang.
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
        QImage img = Render();
        EXPECT_EQ(img.size(), size);
        ChartRect p = Plot();
        EXPECT_GE(p.left, 0);
        EXPECT_GE(p.top, 0);
        EXPECT_LT(p.right, size.width());
        EXPECT_LT(p.bottom, size.height());
        EXPECT_GT(p.right, p.left);
        EXPECT_GT(p.bottom, p.top);
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

TEST_F(RenderTest, AnnotationTextsStayInsideThePlot)
{
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    ChartSetInt(h, 3229, 1); // AllowGraphAnnotHotSpots
    // A text at the right edge and a cross with its label at the top right corner.
    ChartSetElement(h, 3291, 0, kT0 + 99.5 * kSec);
    ChartSetElement(h, 3292, 0, 60.0);
    ChartSetElement(h, 3293, 0, std::u16string(u"12:01:39\r80.0 dB"));
    ChartSetElement(h, 3236, 0, std::int32_t(ChartArgb(255, 255, 0, 0)));
    ChartSetElement(h, 3291, 1, kT0 + 99.0 * kSec);
    ChartSetElement(h, 3292, 1, 129.0);
    ChartSetElement(h, 3246, 1, std::int32_t(2));
    ChartSetElement(h, 3293, 1, std::u16string(u"peak"));
    ChartSetElement(h, 3236, 1, std::int32_t(ChartArgb(255, 0, 255, 0)));
    QImage img = Render();
    ChartRect p = Plot();
    QRect plot(QPoint(p.left, p.top), QPoint(p.right, p.bottom));
    QRect outside(p.right + 1, 0, img.width() - p.right - 1, img.height());
    EXPECT_EQ(CountInRect(img, outside, kRed), 0);
    EXPECT_EQ(CountInRect(img, outside, kGreen), 0);
    EXPECT_EQ(CountInRect(img, QRect(0, 0, img.width(), p.top), kGreen), 0);
    // Both texts are drawn, inside the plot, left of their anchors.
    int x = ToPixel(kT0 + 99.5 * kSec, 60.0).x();
    EXPECT_GT(CountInRect(img, QRect(x - 90, p.top, 90, p.bottom - p.top).intersected(plot), kRed),
              30);
    EXPECT_GT(CountInRect(img, QRect(x - 60, p.top, 50, 30), kGreen), 10);
    // The hit test finds the text where it is drawn.
    QPoint t = ToPixel(kT0 + 99.5 * kSec, 60.0);
    EXPECT_EQ(ChartHitTest(h, t.x() - 20, t.y() - 4), hotspot::GraphAnnotation);
}

TEST_F(RenderTest, HighDensityScreensGetImagesOfTheirOwnPixels)
{
    ASSERT_TRUE(ChartSetPixelRatio(h, 2.0));
    QImage img = Render();
    EXPECT_EQ(img.size(), QSize(1200, 800));
    EXPECT_EQ(img.devicePixelRatio(), 2.0);
    // The layout stays in chart pixels; the line lies at twice its place and keeps its
    // weight in chart pixels (two device rows).
    ChartRect p = Plot();
    QPoint at = ToPixel(kT0 + 40 * kSec, 80.0);
    EXPECT_TRUE(Near(img, at * 2, kYellow, 2));
    int rows = 0;
    for (int y = at.y() * 2 - 4; y <= at.y() * 2 + 4; ++y)
        rows += Mostly(img.pixelColor(at.x() * 2, y), kYellow);
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
    ChartSendMessage(h, msg::HScroll, std::uint32_t(msg::SB_PAGEDOWN), 0);
    Range x = ViewOf(h)->Frame().x;
    EXPECT_NEAR((x.min - kT0) / kSec, 40.0, 1e-6);
    EXPECT_NEAR((x.max - kT0) / kSec, 60.0, 1e-6);
    ASSERT_FALSE(sink.scrolls.empty());
    EXPECT_EQ(sink.scrolls.back(), std::make_pair(msg::SB_PAGEDOWN, 1 + 2 * kChartScrollUnits / 5));
    EXPECT_NE(std::find(sink.codes.begin(), sink.codes.end(), code::PreHScroll), sink.codes.end());
    EXPECT_EQ(ChartGetScrollInfo(h, false).pos, sink.scrolls.back().second);
    // The far end stops at the data's end; the thumb goes where it is dragged; the end of a
    // scroll changes nothing.
    ChartSendMessage(h, msg::HScroll, std::uint32_t(msg::SB_BOTTOM), 0);
    EXPECT_NEAR((ViewOf(h)->Frame().x.max - kT0) / kSec, 100.0, 1e-6);
    ChartSendMessage(h, msg::HScroll, std::uint32_t(msg::SB_PAGEDOWN), 0);
    EXPECT_NEAR((ViewOf(h)->Frame().x.max - kT0) / kSec, 100.0, 1e-6);
    ChartSendMessage(h, msg::HScroll, (std::uint32_t(101) << 16) | msg::SB_THUMBTRACK, 0);
    EXPECT_NEAR((ViewOf(h)->Frame().x.min - kT0) / kSec, 10.0, 1e-6);
    std::size_t scrolls = sink.scrolls.size();
    ChartSendMessage(h, msg::HScroll, std::uint32_t(msg::SB_ENDSCROLL), 0);
    EXPECT_EQ(sink.scrolls.size(), scrolls);

    // Vertically the bar's top is the highest value.
    ChartSetInt(h, 3069, 1); // ScrollingVertZoom
    bar = ChartGetScrollInfo(h, true);
    EXPECT_EQ(bar.page, kChartScrollUnits / 5);    // 20 of 100 dB
    EXPECT_EQ(bar.pos, 1 + kChartScrollUnits / 2); // 130 down to 80
    ChartSendMessage(h, msg::VScroll, std::uint32_t(msg::SB_TOP), 0);
    EXPECT_NEAR(ViewOf(h)->Frame().y.max, 130.0, 1e-9);
    EXPECT_NEAR(ViewOf(h)->Frame().y.min, 110.0, 1e-9);
    // Undo zoom: the bars go.
    ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
    EXPECT_EQ(ChartGetScrollInfo(h, false).min, 0);
    EXPECT_EQ(ChartGetScrollInfo(h, true).min, 0);
    ChartSetSink(h, nullptr);
}

TEST_F(RenderTest, TickMarksStandOutsideThePlotAndCutNoGridLine)
{
    ChartSetInt(h, 3032, 0);                                       // GridStyle thin
    ChartSetInt(h, 1905, std::int32_t(ChartArgb(255, 0, 255, 0))); // GridLineColor
    ChartSetInt(h, 3038, std::int32_t(ChartArgb(255, 255, 0, 0))); // XAxisColor
    ChartSetInt(h, 3036, std::int32_t(ChartArgb(255, 255, 0, 0))); // YAxisColor
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

// A rebuild after which only the lines or annotations moved keeps the layer under them and
// gives the picture a full rebuild gives, on ordinary and high-density screens; a change of
// the data after it is drawn again.
TEST_F(RenderTest, ARebuildAfterACursorMoveGivesTheFullPicture)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> level(40.0f, 120.0f);
    for (int i = 0; i < 101; ++i)
        ChartSetElement2D(h, 2140, 0, i, level(rng));
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    ChartSetElement(h, 3291, 5, kT0 + 20 * kSec);
    ChartSetElement(h, 3292, 5, 50.0);
    ChartSetElement(h, 3293, 5, std::u16string(u"mark"));
    for (double ratio : {1.0, 2.0}) {
        ChartSetPixelRatio(h, ratio);
        Render();
        auto step = [&](int a, int b, auto change) {
            ChartSetElement(h, 3218, 0, kT0 + a * kSec);
            ChartSetElement(h, 3219, 0, std::u16string(u"|t12:00:25\n80.0dB"));
            ChartSetElement(h, 3218, 1, kT0 + b * kSec);
            ChartSetElement(h, 3219, 1, std::u16string(u"B"));
            change();
            ChartResetImage(h, 0, 0);
            const QImage kept = ChartCachedImage(h).copy();
            EXPECT_EQ(kept, Render()) << ratio << " " << a << " " << b;
        };
        step(25, 75, [] {});
        step(26, 74, [&] { ChartSetElement(h, 3291, 5, kT0 + 27 * kSec); });
        step(99, 1, [] {});
        step(150, -5, [] {}); // both outside the plot
        step(50, 50, [&] { ChartSetElement2D(h, 2140, 0, 50, 125.0f); });
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

// Noisy levels of a dense trace.
std::vector<double> Levels(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 6.0);
    std::vector<double> ys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        ys[std::size_t(i)] = 80.0 + 20.0 * std::sin(i / 700.0) + noise(rng);
    return ys;
}

} // namespace

// The screen image is partly drawn straight into its pixels; it has the pixels QPainter gives,
// for dense and sparse traces, patterned, thick and see-through lines, gaps, a legend and a
// grid behind or in front, on ordinary and high-density screens.
TEST_F(RenderTest, TheScreenImageHasThePixelsOfItsQPainterDrawing)
{
    const int n = 20000;
    ChartSetInt(h, 2115, 3); // Subsets
    ChartSetInt(h, 2120, n);
    std::vector<double> xs(n);
    for (int i = 0; i < n; ++i)
        xs[std::size_t(i)] = kT0 + i * 100.0 * kSec / n;
    const std::vector<double> ys = Levels(n, 1);
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < n; i += s == 0 ? 1 : 97) {
            ChartSetElement2D(h, 3013, s, i, xs[std::size_t(i)]);
            ChartSetElement2D(h, 3014, s, i, ys[std::size_t(i)] - 25.0 * s);
        }
    for (int i = 5000; i < 5300; ++i)
        ChartSetElement2D(h, 3014, 0, i, 9999.0); // null: a gap
    ChartSetInt(h, 3066, 1);                      // NullDataGaps
    ChartSetElement(h, 2190, 1, std::int32_t(ChartArgb(255, 255, 0, 0)));
    ChartSetElement(h, 3271, 1, std::int32_t(1)); // dashed
    ChartSetElement(h, 2190, 2, std::int32_t(ChartArgb(128, 0, 255, 0)));
    ChartSetElement(h, 3271, 2, std::int32_t(6)); // thick and see-through
    ChartSetElement(h, 2125, 0, std::u16string(u"Level"));
    ChartSetElement(h, 2125, 1, std::u16string(u"Leq"));
    for (bool inFront : {false, true}) {
        ChartSetInt(h, 3110, inFront); // GridInFront
        for (double ratio : {1.0, 2.0, 1.5}) {
            ChartSetPixelRatio(h, ratio);
            ChartReinitialize(h);
            EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << inFront << " " << ratio;
        }
    }
}

// A rebuild after a change of the data draws the plot again over what the last one drew and
// gives the picture a whole drawing gives: samples added one by one and in blocks, values
// changed in the middle, null, NaN and far values, cursor lines and a mark over it all.
TEST_F(RenderTest, ARebuildAfterADataChangeGivesTheFullPicture)
{
    const int n = 4000;
    const std::vector<double> ys = Levels(n, 4);
    ChartSetInt(h, 3228, 1); // ShowVertLineAnnotations
    ChartSetElement(h, 3218, 0, kT0 + 30 * kSec);
    ChartSetElement(h, 3219, 0, std::u16string(u"|t12:00:30\n80.0dB"));
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    ChartSetElement(h, 3291, 5, kT0 + 60 * kSec);
    ChartSetElement(h, 3292, 5, 90.0);
    ChartSetElement(h, 3293, 5, std::u16string(u"mark"));
    for (bool inFront : {false, true})
        for (double ratio : {1.0, 2.0}) {
            ChartSetInt(h, 3110, inFront);
            ChartSetInt(h, 2120, n);
            ChartSetPixelRatio(h, ratio);
            ChartSetElement2D(h, 3013, 0, -1, 0.0); // room not yet filled
            ChartSetElement2D(h, 3014, 0, -1, 0.0);
            ChartReinitialize(h);
            Rebuilt(h);
            int written = 0;
            auto append = [&](int count) {
                for (int k = 0; k < count && written < n; ++k, ++written) {
                    ChartSetElement2D(h, 3013, 0, written, kT0 + written * 100.0 * kSec / n);
                    ChartSetElement2D(h, 3014, 0, written, ys[std::size_t(written)]);
                }
            };
            const std::vector<std::function<void()>> changes = {
                [&] { append(1); }, // a single point
                [&] { append(1); },
                [&] { append(1); },
                [&] { append(60); },
                [&] { append(1500); },
                [&] { ChartSetElement2D(h, 3014, 0, 700, 125.0); },
                [&] { ChartSetElement2D(h, 3014, 0, 701, 9999.0); },
                [&] { ChartSetInt(h, 3066, 1); }, // not data: drawn whole
                [&] {
                    ChartSetElement2D(h, 3014, 0, 900, std::numeric_limits<double>::quiet_NaN());
                },
                [&] { ChartSetElement2D(h, 3014, 0, 901, 2000.0); },
                [&] { ChartSetElement2D(h, 3014, 0, 902, -900.0); },
                [&] { append(2400); },
                [&] { ChartSetElement2D(h, 3014, 0, -1, 60.0); }, // a flat line
                [&] { ChartSetElement2D(h, 3013, 0, -1, 0.0); },  // nothing to draw
            };
            for (std::size_t k = 0; k < changes.size(); ++k) {
                changes[k]();
                EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << inFront << " " << ratio << " " << k;
                // A cursor move over the new plot keeps it.
                ChartSetElement(h, 3218, 0, kT0 + (20 + k) * kSec);
                EXPECT_EQ(Rebuilt(h), Painted(h, ratio)) << inFront << " " << ratio << " " << k;
            }
            ChartSetInt(h, 3066, 0);
        }
}

// The layout, its texts and the drawn layer are kept from one rebuild to the next; every
// change of what they show is drawn: after each change a rebuild gives the pixels of a fresh
// chart with the same settings.
TEST_F(RenderTest, ARebuildAfterAPropertyChangeGivesTheSamePixelsAsAFreshChart)
{
    ChartSetInt(h, 3223, 1); // ShowGraphAnnotations
    ChartSetElement(h, 3291, 0, kT0 + 40 * kSec);
    ChartSetElement(h, 3292, 0, 60.0);
    ChartSetElement(h, 3293, 0, std::u16string(u"peak"));
    const std::vector<std::function<void()>> changes = {
        [&] { ChartSetString(h, 2105, u"Real-Time Graph"); },       // MainTitle
        [&] { ChartSetString(h, 2110, u"Leq 1 s\nslow"); },         // SubTitle
        [&] { ChartSetInt(h, 2435, 0); },                           // FontSize large
        [&] { ChartSetString(h, 2525, u"DejaVu Serif"); },          // LabelFont
        [&] { ChartSetInt(h, 2530, 1); },                           // LabelBold
        [&] { ChartSetInt(h, 2455, 1); },                           // MainTitleItalic
        [&] { ChartSetProperty(h, 2949, 1.4); },                    // FontSizeALCntl
        [&] { ChartSetString(h, 3005, u"dB"); },                    // YAxisLabel
        [&] { ChartSetString(h, 3000, u"Time"); },                  // XAxisLabel
        [&] { ChartSetProperty(h, 3060, 110.0); },                  // ManualMaxY
        [&] { ChartSetProperty(h, 3625, kT0 + 4000 * kSec); },      // ManualMaxX
        [&] { ChartSetElement(h, 2125, 0, std::u16string(u"L")); }, // a legend
        [&] { ChartSetInt(h, 3082, 1); },                           // LegendLocation bottom
        [&] { ChartSetElement(h, 2190, 0, std::int32_t(ChartArgb(255, 255, 0, 0))); },
        [&] { ChartSetInt(h, 2320, std::int32_t(ChartArgb(255, 230, 230, 250))); }, // DeskColor
        [&] { ChartSetInt(h, 3032, 0); },   // GridStyle thin
        [&] { ChartSetInt(h, 3100, 1); },   // GridLineControl: Y only
        [&] { ChartSetInt(h, 3242, 180); }, // GraphAnnotationTextSize
        [&] { ChartSetInt(h, 3050, 0); },   // automatic Y
        [&] { ChartSetInt(h, 2230, 1); },   // monochrome
        [&] { ChartSetInt(h, 3018, 0); },   // numeric X
        [&] { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); },
    };
    const std::vector<std::uint8_t> initial = ChartStoreState(h);
    const QLocale locale;
    for (double ratio : {1.0, 2.0}) {
        ASSERT_TRUE(ChartLoadState(h, initial));
        QLocale::setDefault(locale);
        ChartSetPixelRatio(h, ratio);
        Render();
        for (std::size_t k = 0; k < changes.size(); ++k) {
            changes[k]();
            const QImage kept = Rebuilt(h);
            ChartRect r{0, 0, 600, 400};
            HCHART fresh = ChartCreateWithView(304, 0, &r, 0, 12111);
            ASSERT_TRUE(ChartLoadState(fresh, ChartStoreState(h)));
            ChartSetPixelRatio(fresh, ratio);
            EXPECT_EQ(kept, Rebuilt(fresh)) << ratio << " " << k;
            ChartDestroy(fresh);
        }
    }
    QLocale::setDefault(locale);
}
