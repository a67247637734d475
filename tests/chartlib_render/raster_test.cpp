// The direct drawing of the screen image against QPainter's raster engine: thin smoothed lines
// and filled bars give the same pixels, the pixels a line leaves out under a bar are the ones
// the bar covers, and the record of what was drawn holds every pixel that changed.
#include "platform/chartlib/render/chart_raster.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
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
