// Tool bar icons of the main window and the graph window (20 x 20,
// transparent) and the program icon in the sizes the desktop asks for.
#include "draw.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace draw {
namespace {

constexpr int kToolIcon = 20;

QImage canvas(int size, const std::function<void(QPainter &)> &paint)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p);
    return img;
}

const QColor kOutline(0x3a, 0x3f, 0x45);

void openIcon(QPainter &p)
{
    // Folder: back with its tab, then the open front flap.
    QPainterPath back;
    back.moveTo(1.5, 4.5);
    back.lineTo(7.5, 4.5);
    back.lineTo(9.5, 6.5);
    back.lineTo(16.5, 6.5);
    back.lineTo(16.5, 16.5);
    back.lineTo(1.5, 16.5);
    back.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x62, 0x10), 1));
    p.setBrush(QColor(0xd9, 0xa5, 0x2c));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(4.5, 9.5);
    front.lineTo(19.0, 9.5);
    front.lineTo(16.5, 16.5);
    front.lineTo(1.5, 16.5);
    front.closeSubpath();
    p.setBrush(QColor(0xf6, 0xcd, 0x5a));
    p.drawPath(front);
}

void saveIcon(QPainter &p)
{
    // Diskette: blue case, metal shutter, white label.
    p.setPen(QPen(QColor(0x1d, 0x3f, 0x74), 1));
    p.setBrush(QColor(0x3d, 0x6f, 0xb6));
    QPainterPath body;
    body.moveTo(2.5, 2.5);
    body.lineTo(15.5, 2.5);
    body.lineTo(17.5, 4.5);
    body.lineTo(17.5, 17.5);
    body.lineTo(2.5, 17.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xdd, 0xe1, 0xe6));
    p.drawRect(QRectF(6, 3, 8, 5));
    p.setBrush(QColor(0x3d, 0x6f, 0xb6));
    p.drawRect(QRectF(11, 4, 2, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 11, 10, 6));
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb0), 1));
    p.drawLine(QPointF(6.5, 13.5), QPointF(13.5, 13.5));
    p.drawLine(QPointF(6.5, 15.5), QPointF(13.5, 15.5));
}

void printIcon(QPainter &p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 1.5, 9, 7)); // paper in the feeder
    QLinearGradient g(0, 7, 0, 15);
    g.setColorAt(0, QColor(0x9a, 0xa2, 0xab));
    g.setColorAt(1, QColor(0x66, 0x6e, 0x78));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 7.5, 17, 8), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 12.5, 9, 6)); // printed sheet
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb0), 1));
    p.drawLine(QPointF(7, 15), QPointF(13, 15));
    p.drawLine(QPointF(7, 17), QPointF(11, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xc0, 0x4a));
    p.drawEllipse(QPointF(15.8, 10), 1, 1);
}

// A small meter: dark body, white display, one key.
void smallMeter(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x15, 0x18, 0x1b), 1));
    p.setBrush(QColor(0x3a, 0x40, 0x47));
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + 1.5, r.top() + 2, r.width() - 3, r.height() * 0.36));
    p.setBrush(kSegment);
    p.drawRect(QRectF(r.left() + 2.5, r.top() + 3.5, r.width() - 5, 1.5));
    p.setBrush(QColor(0xd9, 0x2b, 0x24));
    p.drawEllipse(QPointF(r.center().x(), r.bottom() - 3.5), 1.6, 1.6);
}

void arrowRight(QPainter &p, double x1, double x2, double y, const QColor &c)
{
    p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x1, y), QPointF(x2 - 3, y));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{x2 - 4, y - 4}, {x2, y}, {x2 - 4, y + 4}}));
}

void dataLoggerIcon(QPainter &p)
{
    smallMeter(p, QRectF(1.5, 1.5, 9, 17));
    // The memory is read into a data sheet.
    arrowRight(p, 11, 19, 6, QColor(0x1f, 0x6f, 0xc8));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(12.5, 10.5, 6, 8));
    p.setPen(QPen(QColor(0x1f, 0x6f, 0xc8), 1));
    p.drawLine(QPointF(13.5, 13), QPointF(17.5, 13));
    p.drawLine(QPointF(13.5, 15), QPointF(17.5, 15));
    p.drawLine(QPointF(13.5, 17), QPointF(16, 17));
}

void outputToGraphIcon(QPainter &p)
{
    // A table on the left, an arrow, a line graph on the right.
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 3.5, 7, 11));
    p.setPen(QPen(QColor(0x8a, 0x92, 0x9a), 1));
    for (double y : {6.5, 9.5, 12.5})
        p.drawLine(QPointF(1, y), QPointF(7, y));
    p.drawLine(QPointF(4, 4), QPointF(4, 14));
    arrowRight(p, 7.5, 12, 9, QColor(0x1f, 0x6f, 0xc8));
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(12.5, 3), QPointF(12.5, 17.5));
    p.drawLine(QPointF(12, 17.5), QPointF(19.5, 17.5));
    p.setPen(QPen(QColor(0xd9, 0x2b, 0x24), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{13.5, 14}, {15, 10}, {16.5, 12.5}, {19, 5}}));
}

void runIcon(QPainter &p)
{
    p.setPen(QPen(QColor(0x1c, 0x6e, 0x24), 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    QLinearGradient g(0, 3, 0, 17);
    g.setColorAt(0, QColor(0x5c, 0xd0, 0x64));
    g.setColorAt(1, QColor(0x2c, 0x9a, 0x36));
    p.setBrush(g);
    p.drawPolygon(QPolygonF({{5.5, 2.5}, {17, 10}, {5.5, 17.5}}));
}

void stopIcon(QPainter &p)
{
    p.setPen(QPen(QColor(0x8a, 0x16, 0x12), 1));
    QLinearGradient g(0, 4, 0, 16);
    g.setColorAt(0, QColor(0xf0, 0x5a, 0x50));
    g.setColorAt(1, QColor(0xc4, 0x22, 0x1c));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(4.5, 4.5, 11, 11), 1.5, 1.5);
}

void helpIcon(QPainter &p)
{
    QLinearGradient g(0, 1, 0, 19);
    g.setColorAt(0, QColor(0x4a, 0x8e, 0xe0));
    g.setColorAt(1, QColor(0x1d, 0x5c, 0xb0));
    p.setPen(QPen(QColor(0x16, 0x48, 0x8c), 1));
    p.setBrush(g);
    p.drawEllipse(QPointF(10, 10), 8.5, 8.5);
    p.setFont(labelFont(14, true, false));
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

// ---- graph window ----------------------------------------------------------

// A small plot as the graph window shows it: black area, grey frame, a
// yellow level curve.
void miniPlot(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x8c, 0x8c, 0x8c), 1));
    p.setBrush(Qt::black);
    p.drawRect(r);
    p.setPen(QPen(QColor(0xf2, 0xd0, 0x1b), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double w = r.width(), h = r.height();
    p.drawPolyline(QPolygonF({{r.left() + 1, r.top() + h * 0.7},
                              {r.left() + w * 0.3, r.top() + h * 0.35},
                              {r.left() + w * 0.5, r.top() + h * 0.6},
                              {r.left() + w * 0.75, r.top() + h * 0.25},
                              {r.right() - 1, r.top() + h * 0.45}}));
}

// Two lines of figures on a light panel.
void figuresPanel(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0xe4, 0xec, 0xf6));
    p.drawRect(r);
    p.setPen(QPen(QColor(0x1f, 0x6f, 0xc8), 1));
    const double y1 = r.top() + r.height() / 3, y2 = r.top() + 2 * r.height() / 3;
    p.drawLine(QPointF(r.left() + 2, y1), QPointF(r.left() + r.width() * 0.45, y1));
    p.drawLine(QPointF(r.left() + r.width() * 0.55, y1), QPointF(r.right() - 2, y1));
    p.drawLine(QPointF(r.left() + 2, y2), QPointF(r.left() + r.width() * 0.6, y2));
}

void statisticsIcon(QPainter &p)
{
    figuresPanel(p, QRectF(1.5, 1.5, 17, 6));
    miniPlot(p, QRectF(1.5, 9.5, 17, 9));
}

void cursorStatisticsIcon(QPainter &p)
{
    miniPlot(p, QRectF(1.5, 1.5, 17, 10));
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(6.5, 2), QPointF(6.5, 11));
    p.drawLine(QPointF(13.5, 2), QPointF(13.5, 11));
    figuresPanel(p, QRectF(1.5, 13.5, 17, 5));
}

void normalCursorIcon(QPainter &p)
{
    QPainterPath arrow;
    arrow.moveTo(5.5, 2.5);
    arrow.lineTo(5.5, 16.5);
    arrow.lineTo(8.8, 13.2);
    arrow.lineTo(11.2, 18.2);
    arrow.lineTo(13.2, 17.2);
    arrow.lineTo(10.8, 12.3);
    arrow.lineTo(15.2, 12.3);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

void textIcon(QPainter &p)
{
    p.setFont(labelFont(16, true, false));
    p.setPen(kOutline);
    p.drawText(QRectF(0, 0, 20, 18), Qt::AlignCenter, QStringLiteral("T"));
    p.setPen(QPen(QColor(0x1f, 0x6f, 0xc8), 1.5));
    p.drawLine(QPointF(4, 18.5), QPointF(16, 18.5));
}

void crossIcon(QPainter &p)
{
    p.setPen(QPen(kOutline, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(15, 15));
    p.drawLine(QPointF(15, 5), QPointF(5, 15));
    p.setPen(QPen(QColor(0xf2, 0xd0, 0x1b), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(15, 15));
    p.drawLine(QPointF(15, 5), QPointF(5, 15));
}

void eraseIcon(QPainter &p)
{
    // An eraser over a written line.
    p.setPen(QPen(QColor(0x1f, 0x6f, 0xc8), 1.2));
    p.drawLine(QPointF(1.5, 17.5), QPointF(18.5, 17.5));
    p.save();
    p.translate(10, 9);
    p.rotate(-35);
    p.setPen(QPen(QColor(0x7a, 0x2c, 0x3c), 1));
    p.setBrush(QColor(0xf2, 0x9c, 0xb0));
    p.drawRoundedRect(QRectF(-7.5, -3.5, 15, 7), 1.5, 1.5);
    p.setBrush(QColor(0x5a, 0x8c, 0xd8));
    p.drawRoundedRect(QRectF(1.5, -3.5, 6, 7), 1.5, 1.5);
    p.restore();
}

void undoZoomIcon(QPainter &p)
{
    // A magnifier, and an arrow turning back.
    p.setPen(QPen(kOutline, 1.6));
    p.setBrush(QColor(0xe4, 0xf0, 0xfc));
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    p.setPen(QPen(kOutline, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(17.5, 17.5));
    p.setPen(QPen(QColor(0xd9, 0x2b, 0x24), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 5, 6, 6), 200 * 16, 250 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0x2b, 0x24));
    p.drawPolygon(QPolygonF({{3.8, 5.6}, {7.0, 6.8}, {4.6, 9.2}}));
}

// Three overlapping discs in the given colours.
void discs(QPainter &p, const QColor (&colours)[3])
{
    p.setPen(QPen(kOutline, 1));
    const QPointF centres[3] = {{10, 6.5}, {6, 13}, {14, 13}};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawEllipse(centres[i], 4.5, 4.5);
    }
}

void colorIcon(QPainter &p)
{
    discs(p, {QColor(0xe0, 0x30, 0x28), QColor(0x2c, 0xa8, 0x3c), QColor(0x2a, 0x6c, 0xd8)});
}

void monochromeIcon(QPainter &p)
{
    discs(p, {QColor(0x30, 0x30, 0x30), QColor(0x80, 0x80, 0x80), QColor(0xd0, 0xd0, 0xd0)});
}

void clearIcon(QPainter &p)
{
    // The plot, and a red cross over it: the samples go.
    miniPlot(p, QRectF(1.5, 3.5, 15, 12));
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(17.5, 17.5));
    p.drawLine(QPointF(17.5, 11), QPointF(11, 17.5));
    p.setPen(QPen(QColor(0xd9, 0x2b, 0x24), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(17.5, 17.5));
    p.drawLine(QPointF(17.5, 11), QPointF(11, 17.5));
}

// The program icon, designed on a 256-unit square: the meter's face with its
// display showing a rising level and the two round keys beneath.
void appIcon(QPainter &p, int size)
{
    p.scale(size / 256.0, size / 256.0);
    QLinearGradient body(0, 16, 0, 240);
    body.setColorAt(0, QColor(0x47, 0x4f, 0x57));
    body.setColorAt(1, QColor(0x24, 0x29, 0x2e));
    p.setPen(QPen(QColor(0x12, 0x14, 0x16), 6));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 46, 46);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x14, 0x16));
    p.drawRoundedRect(QRectF(38, 40, 180, 112), 14, 14);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(48, 50, 160, 92));
    p.setBrush(kSegment);
    for (int i = 0; i < 6; ++i) {
        const double h = 18 + i * 12;
        p.drawRect(QRectF(60 + i * 24, 130 - h, 16, h));
    }

    p.setBrush(QColor(0xf2, 0xc2, 0x1b));
    p.drawRoundedRect(QRectF(38, 164, 180, 12), 6, 6);
    p.setPen(QPen(QColor(0x12, 0x14, 0x16), 4));
    p.setBrush(QColor(0x6a, 0x72, 0x7b));
    p.drawEllipse(QPointF(90, 205), 17, 17);
    p.drawEllipse(QPointF(166, 205), 17, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0x2b, 0x24));
    p.drawEllipse(QPointF(166, 205), 7, 7);
}

} // namespace

void drawIcons(Writer &out)
{
    struct Tool {
        const char *name;
        void (*paint)(QPainter &);
    };
    const Tool tools[] = {
        {"open", openIcon},
        {"save", saveIcon},
        {"print", printIcon},
        {"data_logger", dataLoggerIcon},
        {"output_to_graph", outputToGraphIcon},
        {"run", runIcon},
        {"stop", stopIcon},
        {"help", helpIcon},
    };
    for (const Tool &t : tools)
        out.png(QStringLiteral("resources/toolbar/%1.png").arg(t.name), canvas(kToolIcon, t.paint));
    const Tool graphTools[] = {
        {"statistics", statisticsIcon},
        {"cursor_statistics", cursorStatisticsIcon},
        {"normal_cursor", normalCursorIcon},
        {"text", textIcon},
        {"cross", crossIcon},
        {"erase", eraseIcon},
        {"undo_zoom", undoZoomIcon},
        {"color", colorIcon},
        {"monochrome", monochromeIcon},
        {"clear", clearIcon},
    };
    for (const Tool &t : graphTools)
        out.png(QStringLiteral("resources/graph/%1.png").arg(t.name), canvas(kToolIcon, t.paint));

    out.png("resources/app/nivora.png", canvas(64, [](QPainter &p) { appIcon(p, 64); }));
    for (int size : {16, 32, 48, 64, 128, 256})
        out.png(QStringLiteral("dist/icons/hicolor/%1x%1/apps/nivora.png").arg(size),
                canvas(size, [size](QPainter &p) { appIcon(p, size); }));
}

} // namespace draw
