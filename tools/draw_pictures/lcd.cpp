// The LCD pieces: seven-segment digits in two sizes, the decimal point, the
// clock and date separators and the level bar, dark on the white display.
#include "draw.h"

#include <QPainter>
#include <QPolygonF>

#include <utility>

namespace draw {
namespace {

// Segment bits: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
enum : unsigned { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

constexpr unsigned kDigitSegments[10] = {
    A | B | C | D | E | F,     // 0
    B | C,                     // 1
    A | B | D | E | G,         // 2
    A | B | C | D | G,         // 3
    B | C | F | G,             // 4
    A | C | D | F | G,         // 5
    A | C | D | E | F | G,     // 6
    A | B | C,                 // 7
    A | B | C | D | E | F | G, // 8
    A | B | C | D | F | G,     // 9
};

// Outline of one digit: the box the segments fill, their thickness and the
// gap left between neighbouring segments at each corner.
struct Cell {
    double left, top, right, bottom, thick, gap;
};

// A segment along a line from (x1, y1) to (x2, y2) (horizontal or vertical),
// pointed at both ends.
QPolygonF segment(double x1, double y1, double x2, double y2, double thick, double gap)
{
    const double h = thick / 2;
    if (y1 == y2) {
        x1 += gap;
        x2 -= gap;
        return QPolygonF({{x1, y1},
                          {x1 + h, y1 - h},
                          {x2 - h, y1 - h},
                          {x2, y1},
                          {x2 - h, y1 + h},
                          {x1 + h, y1 + h}});
    }
    y1 += gap;
    y2 -= gap;
    return QPolygonF({{x1, y1},
                      {x1 + h, y1 + h},
                      {x1 + h, y2 - h},
                      {x1, y2},
                      {x1 - h, y2 - h},
                      {x1 - h, y1 + h}});
}

void paintSegments(QPainter &p, const Cell &c, unsigned mask)
{
    const double h = c.thick / 2;
    const double xl = c.left + h, xr = c.right - h;
    const double yt = c.top + h, ym = (c.top + c.bottom) / 2, yb = c.bottom - h;
    p.setPen(Qt::NoPen);
    p.setBrush(kSegment);
    if (mask & A)
        p.drawPolygon(segment(xl, yt, xr, yt, c.thick, c.gap));
    if (mask & B)
        p.drawPolygon(segment(xr, yt, xr, ym, c.thick, c.gap));
    if (mask & C)
        p.drawPolygon(segment(xr, ym, xr, yb, c.thick, c.gap));
    if (mask & D)
        p.drawPolygon(segment(xl, yb, xr, yb, c.thick, c.gap));
    if (mask & E)
        p.drawPolygon(segment(xl, ym, xl, yb, c.thick, c.gap));
    if (mask & F)
        p.drawPolygon(segment(xl, yt, xl, ym, c.thick, c.gap));
    if (mask & G)
        p.drawPolygon(segment(xl, ym, xr, ym, c.thick, c.gap));
}

QImage glyph(int width, int height, const Cell &cell, int index)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(kDisplay);
    unsigned mask = 0;
    if (index >= 0 && index <= 9)
        mask = kDigitSegments[index];
    else if (index == 18)
        mask = G;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintSegments(p, cell, mask);
    p.end();
    return img.convertToFormat(QImage::Format_Grayscale8);
}

QImage displayImage(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(kDisplay);
    return img;
}

} // namespace

// 30 x 51; the digit stands in x 3..27, y 2..49 so that neighbours placed 36
// pixels apart keep a clear gap and the decimal point fits between them.
QImage largeDigit(int index)
{
    return glyph(30, 51, Cell{3, 2, 27, 49, 5, 0.9}, index);
}

// 9 x 15, drawn pixel by pixel: at this size pointed segments blur, so the
// strokes are 2 pixels wide and meet in shared corner blocks. The digit
// stands in x 1..7, y 1..12: the date row lies right above the clock row and
// some glyphs stand 8 pixels apart.
QImage smallDigit(int index)
{
    QImage img(9, 15, QImage::Format_RGB32);
    img.fill(kDisplay);
    if (index < 0 || index > 9)
        return img.convertToFormat(QImage::Format_Grayscale8);
    const unsigned m = kDigitSegments[index];
    const bool a = m & A, b = m & B, c = m & C, d = m & D, e = m & E, f = m & F, g = m & G;
    QPainter p(&img);
    auto block = [&](bool on, int x, int y, int w, int h) {
        if (on)
            p.fillRect(x, y, w, h, kSegment);
    };
    // Strokes between the corners.
    block(a, 3, 1, 3, 2);
    block(g, 3, 6, 3, 2);
    block(d, 3, 11, 3, 2);
    block(f, 1, 3, 2, 3);
    block(b, 6, 3, 2, 3);
    block(e, 1, 8, 2, 3);
    block(c, 6, 8, 2, 3);
    // Corner blocks, lit when a stroke that meets there is lit.
    block(a || f, 1, 1, 2, 2);
    block(a || b, 6, 1, 2, 2);
    block(f || e || g, 1, 6, 2, 2);
    block(b || c || g, 6, 6, 2, 2);
    block(d || e, 1, 11, 2, 2);
    block(d || c, 6, 11, 2, 2);
    p.end();
    // Round the four outer corners a little, as LCD segments are.
    for (auto [x, y] : {std::pair{1, 1}, {7, 1}, {1, 12}, {7, 12}})
        img.setPixel(x, y, kDisplay.rgb());
    return img.convertToFormat(QImage::Format_Grayscale8);
}

void drawLcd(Writer &out)
{
    for (int n = 0; n <= 18; ++n)
        out.png(QStringLiteral("resources/panel/LCD%1.png").arg(n), largeDigit(n));
    for (int n = 0; n <= 17; ++n)
        out.png(QStringLiteral("resources/panel/LCDS%1.png").arg(n), smallDigit(n));

    // Decimal point, 9 x 13: a square dot whose bottom lines up with the
    // bottom of the large digits.
    QImage point = displayImage(9, 13);
    {
        QPainter p(&point);
        p.fillRect(2, 8, 5, 5, kSegment);
    }
    out.png("resources/panel/point.png", point.convertToFormat(QImage::Format_Grayscale8));

    // Clock colon, 5 x 8: two dots.
    QImage colon = displayImage(5, 8);
    {
        QPainter p(&colon);
        p.fillRect(1, 1, 2, 2, kSegment);
        p.fillRect(1, 5, 2, 2, kSegment);
    }
    out.png("resources/panel/colon.png", colon.convertToFormat(QImage::Format_Grayscale8));

    // Date separator, 3 x 2: a short dash.
    QImage dash = displayImage(3, 2);
    dash.fill(kSegment);
    out.png("resources/panel/date_dash.png", dash.convertToFormat(QImage::Format_Grayscale8));

    // Level bar, 154 x 22: segments 2 pixels wide every 3 pixels (one per
    // 2 dB). The program shows only its left part, 4 pixels at 30 dB and the
    // whole width at 130 dB; the 4-pixel stub shows exactly one segment.
    QImage bar = displayImage(154, 22);
    {
        QPainter p(&bar);
        for (int x = 1; x + 2 <= 154; x += 3)
            p.fillRect(x, 4, 2, 14, kSegment);
    }
    out.png("resources/panel/level_bar.png", bar.convertToFormat(QImage::Format_Grayscale8));
}

} // namespace draw
