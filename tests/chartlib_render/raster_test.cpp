// The direct drawing of the screen image against QPainter's raster engine: thin smoothed lines
// and filled bars give the same pixels, the pixels a line leaves out under a bar are the ones
// the bar covers, and the record of what was drawn holds every pixel that changed.
#include "platform/chartlib/render/chart_raster.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <vector>

using namespace chartlib::raster;

namespace {

constexpr int kWidth = 400, kHeight = 300;
const QRect kClips[] = {QRect(30, 20, 340, 250), QRect(0, 0, kWidth, kHeight),
                        QRect(150, 120, 7, 9)};

QImage Blank()
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(QColor(20, 30, 40));
    return img;
}

// A line of the kinds a trace gives: noisy or steady steps to the right (sometimes back),
// vertical pairs at a column's centre, repeated points, whole-pixel points, points far
// outside the image, and now and then one that ends where it starts.
QPolygonF RandomLine(std::mt19937 &rng, int trial)
{
    const int n = 2 + int(rng() % (trial % 5 == 0 ? 5 : 800));
    std::normal_distribution<double> step(0.0, trial % 3 == 0 ? 25.0 : 3.0);
    std::uniform_real_distribution<double> ahead(0.0, trial % 2 ? 2.0 : 0.6);
    QPolygonF line;
    double x = 10 + ahead(rng) * 10, y = kHeight / 2.0;
    for (int i = 0; i < n; ++i) {
        switch (rng() % 40) {
        case 0:
            line << QPointF(rng() % 2 ? 1e6 : -1e6, y);
            break;
        case 1:
            line << QPointF(x, rng() % 2 ? 1e6 : -1e6);
            break;
        case 2:
            if (!line.isEmpty())
                line << line.back();
            break;
        case 3:
            line << QPointF(std::floor(x) + 0.5, y) << QPointF(std::floor(x) + 0.5, y + step(rng));
            break;
        case 4:
            line << QPointF(std::round(x), std::round(y));
            break;
        default:
            line << QPointF(x, y);
        }
        x += ahead(rng) - (trial % 7 == 0 ? 0.5 : 0.0);
        y = std::clamp(y + step(rng), -30.0, kHeight + 30.0);
    }
    if (trial % 11 == 0)
        line << line.front();
    return line;
}

} // namespace

// Thin smoothed lines, alone and with bars filled after them (the line left out where the bars
// cover it), in three clips: QPainter's pixels, and every pixel that changed lies in the rows
// recorded for its column.
TEST(RasterDrawing, LinesAndBarsHaveQPaintersPixelsAndEveryChangeIsRecorded)
{
    std::mt19937 rng(11);
    for (int trial = 0; trial < 250; ++trial) {
        const QPolygonF line = RandomLine(rng, trial);
        std::vector<QRect> bars;
        for (int k = 0; trial >= 150 && k < 60; ++k)
            bars.emplace_back(int(rng() % kWidth) - 2, int(rng() % kHeight) - 2, 1 + int(rng() % 2),
                              1 + int(rng() % 60));
        const QColor color(int(rng() % 256), int(rng() % 256), int(rng() % 256));
        const QRect clip = kClips[trial % 3];
        const QImage before = Blank();
        QImage painted = before, ours = before;
        {
            QPainter p(&painted);
            p.setClipRect(clip);
            QPen pen(color, 1.0);
            pen.setCosmetic(true);
            p.setPen(pen);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawPolyline(line);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            if (!bars.empty())
                p.drawRects(bars.data(), int(bars.size()));
        }
        ColumnSpans cover, drawn;
        cover.Reset(clip.left(), clip.width());
        drawn.Reset(clip.left(), clip.width());
        for (const QRect &b : bars) {
            const QRect c = b & clip;
            for (int x = c.left(); x <= c.right(); ++x)
                cover.Cover(x, c.top(), c.bottom());
        }
        const Target t{reinterpret_cast<std::uint32_t *>(ours.bits()), ours.bytesPerLine() / 4,
                       ours.width(), ours.height(), clip};
        AntialiasedPolyline(t, std::span(line.constData(), line.size()), color.rgb() & 0xFFFFFF,
                            bars.empty() ? nullptr : &cover, drawn);
        FillRects(t, bars, color.rgb() & 0xFFFFFF, drawn);
        EXPECT_EQ(ours, painted) << trial;
        int missed = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                missed += before.pixel(x, y) != ours.pixel(x, y) &&
                          (x < drawn.Left() || x >= drawn.Left() + drawn.Width() ||
                           !drawn.Contains(x, y));
        EXPECT_EQ(missed, 0) << trial;
    }
}

TEST(RasterDrawing, SavedPixelsComeBackAsTheyWereAlsoWhereTheyOverlap)
{
    const QImage before = Blank();
    QImage img = before;
    SavedPixels saved;
    saved.Save(img, QRect(10, 10, 50, 40));
    img.fill(Qt::red); // drawn over the first
    saved.Save(img, QRect(30, 30, 50, 40));
    saved.Save(img, QRect(-5, 280, 30, 40)); // held to the image
    img.fill(Qt::green);
    saved.Restore(img);
    for (const QPoint p : {QPoint(12, 12), QPoint(40, 35)})
        EXPECT_EQ(img.pixel(p), before.pixel(p)) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(70, 60), QPoint(0, 299)}) // saved when it was red
        EXPECT_EQ(img.pixel(p), QColor(Qt::red).rgb()) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(200, 200), QColor(Qt::green).rgb());
}

namespace {

// Traces of the kinds a chart gives: a line through noisy points in pieces, with bars.
Trace RandomTrace(std::mt19937 &rng, int trial, QRgb rgb)
{
    Trace t;
    const QPolygonF line = RandomLine(rng, trial);
    t.line.assign(line.begin(), line.end());
    t.pieces = {0};
    for (std::size_t i = 2; i + 2 < t.line.size(); ++i)
        if (rng() % 300 == 0)
            t.pieces.push_back(i);
    t.pieces.push_back(t.line.size());
    for (std::size_t i = 0; i < t.line.size(); i += 1 + rng() % 4) {
        const QPointF &p = t.line[i];
        if (std::abs(p.x()) < 1e5 && std::abs(p.y()) < 1e5)
            t.bars.emplace_back(int(std::floor(p.x())), int(p.y()), 1, 1 + int(rng() % 30));
    }
    t.rgb = rgb & 0xFFFFFFu;
    t.direct = true;
    return t;
}

// The trace changed as a written value changes it: a point moved (or one added or taken out,
// or all alike) somewhere, its bar with it.
Trace Changed(const Trace &before, std::mt19937 &rng, int trial)
{
    Trace t = before;
    if (t.line.empty())
        return t;
    const std::size_t at = trial % 4 == 0   ? 0
                           : trial % 4 == 1 ? t.line.size() - 1
                                            : rng() % t.line.size();
    switch (trial % 5) {
    case 0:
        t.line[at].ry() += 40.0 - double(rng() % 80);
        break;
    case 1:
        t.line[at].rx() += 0.7;
        break;
    case 2: // a point more: the breaks after it move on
        t.line.insert(t.line.begin() + std::ptrdiff_t(at), t.line[at] + QPointF(0.3, 9.0));
        for (std::size_t &b : t.pieces)
            b += b > at ? 1 : 0;
        break;
    case 3:
        break; // the same value written again
    default:
        if (!t.bars.empty())
            t.bars[rng() % t.bars.size()].setHeight(1 + int(rng() % 50));
        t.line[at].ry() -= 7.0;
    }
    return t;
}

void Draw(QImage &img, const QRect &clip, const std::vector<Trace> &traces, ColumnSpans &drawn)
{
    const Target t{reinterpret_cast<std::uint32_t *>(img.bits()), img.bytesPerLine() / 4,
                   img.width(), img.height(), clip};
    ColumnSpans cover;
    for (const Trace &trace : traces)
        DrawTrace(t, trace, cover, drawn);
}

} // namespace

// A trace drawn again after a change (a point moved, added, the same again, a bar changed, at
// the start, the end or anywhere, two subsets over each other): drawing only the columns that
// ChangedColumns names over the kept background gives the pixels of the new traces drawn
// whole; where it gives no answer the traces could not be compared so.
TEST(RasterDrawing, OnlyTheChangedColumnsOfATraceNeedDrawingAgain)
{
    std::mt19937 rng(12);
    int partial = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const QRect clip = kClips[trial % 2];
        std::vector<Trace> before = {RandomTrace(rng, trial, qRgb(255, 255, 0)),
                                     RandomTrace(rng, trial + 1, qRgb(255, 0, 0))};
        std::vector<Trace> now = before;
        now[trial % 2] = Changed(before[trial % 2], rng, trial);
        QImage whole = Blank();
        ColumnSpans unused;
        unused.Reset(clip.left(), clip.width());
        Draw(whole, clip, now, unused);

        PlotCanvas canvas;
        QImage img = Blank();
        canvas.Begin(img, clip);
        canvas.SaveBackground({1.0});
        Draw(img, clip, before, canvas.drawn);
        const std::optional<Columns> changed = ChangedColumns(before, now, clip);
        if (!changed)
            continue;
        ++partial;
        if (trial % 5 == 3) {
            EXPECT_TRUE(changed->Empty()) << trial;
        }
        if (!changed->Empty())
            canvas.RedrawColumns(*changed, now);
        EXPECT_EQ(img, whole) << trial;
    }
    EXPECT_GT(partial, 200);

    // Traces that cannot be compared column by column.
    std::vector<Trace> a = {RandomTrace(rng, 1, qRgb(0, 255, 0))}, b = a;
    b[0].rgb = 0xFF;
    EXPECT_FALSE(ChangedColumns(a, b, kClips[0])) << "another colour";
    b = a;
    b[0].direct = false;
    EXPECT_FALSE(ChangedColumns(a, b, kClips[0])) << "not drawn straight";
    b = a;
    b.push_back(a[0]);
    EXPECT_FALSE(ChangedColumns(a, b, kClips[0])) << "a subset more";
    b = a;
    b[0].pieces.insert(b[0].pieces.begin() + 1, b[0].line.size() / 2);
    EXPECT_FALSE(ChangedColumns(a, b, kClips[0])) << "a break more";
    b = a;
    b[0].line.back() = b[0].line[b[0].pieces[b[0].pieces.size() - 2]];
    EXPECT_FALSE(ChangedColumns(a, b, kClips[0])) << "the line closes";
}
