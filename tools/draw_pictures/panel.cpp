// The meter front (279 x 618, JPEG) with its display window left white, the
// indicator symbols shown on that display, and the two title buttons.
//
// Every place below is in the picture's own pixels, which are the panel
// window's client coordinates. The display elements the program lays over
// the picture span x 40..250, y 88..247; the keys are pictured exactly under
// the click zones: SPL/Leq 110,290 72x39; Leq TIME 60,327 34x90; SET 123,343
// 49x48; start/pause 188,327 41x90; MAX MIN 110,424 66x32; backlight/power
// 63,508 41x45; REC 181,508 48x45. The window shows only 272 x 613 of it.
#include "draw.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <cmath>

namespace draw {
namespace {

const QColor kBackdrop(0xcf, 0xd2, 0xd6);
const QColor kHousingEdge(0x14, 0x17, 0x1a);
const QColor kPlate(0x41, 0x48, 0x50);
const QColor kBezel(0x16, 0x18, 0x1b);
const QColor kKeyTop(0x6a, 0x72, 0x7b);
const QColor kKeyBottom(0x4a, 0x51, 0x59);
const QColor kKeyText(0xf4, 0xf5, 0xf6);
const QColor kPlateText(0xd9, 0xde, 0xe3);
const QColor kAccent(0xf2, 0xc2, 0x1b);
const QColor kRecRed(0xd9, 0x2b, 0x24);

// The four-way key pad around SET: its centre and radii.
const QPointF kPad(146, 371);
constexpr double kPadOuter = 87;
constexpr double kPadInner = 31;
constexpr double kSetRadius = 26;

void paintKey(QPainter &p, const QPainterPath &shape)
{
    const QRectF r = shape.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kKeyTop);
    g.setColorAt(1, kKeyBottom);
    p.setPen(QPen(QColor(0x1d, 0x20, 0x24), 1.2));
    p.setBrush(g);
    p.drawPath(shape);
    // A soft highlight along the upper edge, as on moulded rubber keys.
    p.save();
    p.setClipPath(shape);
    p.setPen(QPen(QColor(255, 255, 255, 45), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape.translated(0, 1.5));
    p.restore();
}

void keyText(QPainter &p, const QRectF &box, const QString &text, int px)
{
    p.setFont(labelFont(px, true, true));
    p.setPen(kKeyText);
    p.drawText(box, Qt::AlignCenter, text);
}

void plateText(QPainter &p, const QRectF &box, const QString &text, int px, const QColor &c,
               Qt::Alignment align, bool condensed = true)
{
    p.setFont(labelFont(px, true, condensed));
    p.setPen(c);
    p.drawText(box, align, text);
}

void paintHousing(QPainter &p)
{
    // Housing, rounded, with a little roundness across its width.
    const QRectF body(13.5, 3.5, 257, 606);
    QLinearGradient side(body.topLeft(), body.topRight());
    side.setColorAt(0, QColor(0x26, 0x2a, 0x2f));
    side.setColorAt(0.12, QColor(0x3a, 0x40, 0x47));
    side.setColorAt(0.88, QColor(0x3a, 0x40, 0x47));
    side.setColorAt(1, QColor(0x26, 0x2a, 0x2f));
    p.setPen(QPen(kHousingEdge, 1));
    p.setBrush(side);
    p.drawRoundedRect(body, 22, 22);

    // Front plate set into the housing.
    const QRectF plate(21.5, 21.5, 241, 580);
    QLinearGradient face(plate.topLeft(), plate.bottomLeft());
    face.setColorAt(0, kPlate.lighter(108));
    face.setColorAt(1, kPlate.darker(108));
    p.setPen(QPen(QColor(0x22, 0x26, 0x2a), 1));
    p.setBrush(face);
    p.drawRoundedRect(plate, 14, 14);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(plate.adjusted(1, 1, -1, -1), 13, 13);

    // Maker's lettering above the display.
    plateText(p, QRectF(31, 30, 110, 26), QStringLiteral("MX4820"), 21, kAccent,
              Qt::AlignLeft | Qt::AlignVCenter, false);
    plateText(p, QRectF(120, 31, 134, 13), QStringLiteral("SOUND LEVEL METER"), 10, kPlateText,
              Qt::AlignRight | Qt::AlignVCenter);
    plateText(p, QRectF(120, 45, 134, 13), QStringLiteral("DATA LOGGER"), 10, kPlateText,
              Qt::AlignRight | Qt::AlignVCenter);
}

void paintDisplay(QPainter &p)
{
    // Bezel and display window; the display area itself stays plain white
    // because the program draws every digit, label and symbol over it.
    p.setPen(Qt::NoPen);
    p.setBrush(kBezel);
    p.drawRoundedRect(QRectF(27, 72, 232, 194), 9, 9);
    p.setBrush(QColor(0x8e, 0x94, 0x9a));
    p.drawRect(QRectF(34, 79, 219, 179));
    p.setBrush(kDisplay);
    p.drawRect(QRectF(35, 80, 217, 177));

    // Scale marks right under the level bar (y 115..136), every 10 dB from
    // 30 to 130 dB; the bar grows 1.5 pixels per dB from a 4-pixel stub at
    // x 60, so the mark of level L lies at x 63 + 1.5 (L - 30).
    for (int k = 0; k <= 10; ++k) {
        const int x = 63 + 15 * k;
        p.fillRect(x, 137, 1, (k % 5 == 0) ? 5 : 3, QColor(0x44, 0x44, 0x44));
    }
}

QPainterPath padKey(double fromDeg)
{
    QPainterPath ring;
    ring.addEllipse(kPad, kPadOuter, kPadOuter);
    QPainterPath hole;
    hole.addEllipse(kPad, kPadInner, kPadInner);
    ring = ring.subtracted(hole);

    // The quarter between fromDeg and fromDeg + 90 degrees (y grows down).
    QPainterPath wedge;
    wedge.moveTo(kPad);
    for (double a = fromDeg; a <= fromDeg + 90.01; a += 5) {
        const double r = a * M_PI / 180;
        wedge.lineTo(kPad + QPointF(std::cos(r), -std::sin(r)) * 200);
    }
    wedge.closeSubpath();
    QPainterPath key = ring.intersected(wedge);

    // Gaps between neighbouring keys.
    QPainterPathStroker gap;
    gap.setWidth(5);
    QPainterPath cuts;
    cuts.moveTo(kPad + QPointF(-150, -150));
    cuts.lineTo(kPad + QPointF(150, 150));
    cuts.moveTo(kPad + QPointF(-150, 150));
    cuts.lineTo(kPad + QPointF(150, -150));
    return key.subtracted(gap.createStroke(cuts)).simplified();
}

void paintKeys(QPainter &p)
{
    // Recess of the key pad.
    QRadialGradient well(kPad, kPadOuter + 4);
    well.setColorAt(0.8, QColor(0x20, 0x24, 0x28));
    well.setColorAt(1, QColor(0x2c, 0x31, 0x36));
    p.setPen(Qt::NoPen);
    p.setBrush(well);
    p.drawEllipse(kPad, kPadOuter + 4, kPadOuter + 4);

    paintKey(p, padKey(45));  // top: SPL / Leq
    paintKey(p, padKey(135)); // left: Leq TIME
    paintKey(p, padKey(225)); // bottom: MAX MIN
    paintKey(p, padKey(-45)); // right: start / pause
    QPainterPath set;
    set.addEllipse(kPad, kSetRadius, kSetRadius);
    paintKey(p, set);

    keyText(p, QRectF(110, 296, 72, 24), QStringLiteral("SPL/Leq"), 11);
    keyText(p, QRectF(60, 352, 34, 16), QStringLiteral("Leq"), 10);
    keyText(p, QRectF(60, 366, 34, 16), QStringLiteral("TIME"), 10);
    keyText(p, QRectF(110, 427, 66, 22), QStringLiteral("MAX MIN"), 11);
    keyText(p, QRectF(123, 359, 46, 24), QStringLiteral("SET"), 12);

    // Start / pause: a play triangle and a pause sign.
    p.setPen(Qt::NoPen);
    p.setBrush(kKeyText);
    p.drawPolygon(QPolygonF({{195.5, 365}, {204, 371}, {195.5, 377}}));
    p.drawRect(QRectF(207, 365, 3, 12));
    p.drawRect(QRectF(212.5, 365, 3, 12));

    // Backlight / power key.
    QPainterPath bk;
    bk.addRoundedRect(QRectF(64.5, 509.5, 39, 43), 9, 9);
    paintKey(p, bk);
    QPen sym(kKeyText, 2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(sym);
    p.setBrush(Qt::NoBrush);
    const QPointF pw(84, 523);
    p.drawArc(QRectF(pw.x() - 7, pw.y() - 7, 14, 14), 60 * 16, -300 * 16);
    p.drawLine(pw + QPointF(0, -9), pw + QPointF(0, -1));
    const QPointF sun(84, 542);
    p.setPen(QPen(kKeyText, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(sun, 2.6, 2.6);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(sun + d * 4.6, sun + d * 6.6);
    }

    // REC key.
    QPainterPath rec;
    rec.addRoundedRect(QRectF(182.5, 509.5, 46, 43), 9, 9);
    paintKey(p, rec);
    p.setPen(QPen(QColor(0x7a, 0x12, 0x10), 1));
    p.setBrush(kRecRed);
    p.drawEllipse(QPointF(205.5, 523), 6, 6);
    keyText(p, QRectF(182, 531, 47, 16), QStringLiteral("REC"), 11);

    // Grip ridges at the foot of the plate.
    for (int i = 0; i < 5; ++i) {
        const double y = 572 + i * 5;
        p.setPen(QPen(QColor(0x25, 0x29, 0x2d), 1.5));
        p.drawLine(QPointF(88, y), QPointF(200, y));
        p.setPen(QPen(QColor(255, 255, 255, 28), 1));
        p.drawLine(QPointF(88, y + 1.5), QPointF(200, y + 1.5));
    }
}

QImage meterFront()
{
    QImage img(279, 618, QImage::Format_RGB32);
    img.fill(kBackdrop);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintHousing(p);
    paintDisplay(p);
    paintKeys(p);
    p.end();
    return img;
}

// A symbol on a transparent ground, drawn dark like the LCD segments.
QImage symbol(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

QImage textSymbol(int w, int h, const QString &text, int px)
{
    QImage img = symbol(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(labelFont(px, true, true));
    p.setPen(kSegment);
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, text);
    return img;
}

QImage titleButton(bool close)
{
    QImage img(16, 14, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8a, 0x92, 0x9a), 1));
    p.setBrush(QColor(0x2b, 0x2f, 0x34));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 13), 3, 3);
    p.setPen(QPen(kKeyText, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        p.drawLine(QPointF(5, 4), QPointF(11, 10));
        p.drawLine(QPointF(11, 4), QPointF(5, 10));
    } else {
        p.drawLine(QPointF(4.5, 9.5), QPointF(11.5, 9.5));
    }
    return img;
}

} // namespace

void drawPanel(Writer &out)
{
    out.jpeg("resources/panel/panel.jpg", meterFront(), 95);

    // Recording state: running, paused, stopped (11 x 11 each).
    QImage start = symbol(11, 11);
    {
        QPainter p(&start);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kSegment);
        p.drawPolygon(QPolygonF({{2, 1}, {10, 5.5}, {2, 10}}));
    }
    out.png("resources/panel/rec_start.png", start);
    QImage pause = symbol(11, 11);
    {
        QPainter p(&pause);
        p.fillRect(2, 1, 3, 9, kSegment);
        p.fillRect(6, 1, 3, 9, kSegment);
    }
    out.png("resources/panel/rec_pause.png", pause);
    QImage stop = symbol(11, 11);
    {
        QPainter p(&stop);
        p.fillRect(1, 1, 9, 9, kSegment);
    }
    out.png("resources/panel/rec_stop.png", stop);

    // Measuring mode and range marks.
    out.png("resources/panel/spl.png", textSymbol(26, 12, QStringLiteral("SPL"), 11));
    out.png("resources/panel/leq.png", textSymbol(26, 12, QStringLiteral("LEQ"), 11));
    out.png("resources/panel/under.png", textSymbol(36, 11, QStringLiteral("UNDER"), 10));
    out.png("resources/panel/over.png", textSymbol(30, 11, QStringLiteral("OVER"), 10));

    // Battery, 19 x 9: outline, terminal and three charge bars.
    QImage bat = symbol(19, 9);
    {
        QPainter p(&bat);
        p.setPen(QPen(kSegment, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, 16, 8);
        p.fillRect(17, 3, 2, 3, kSegment);
        for (int i = 0; i < 3; ++i)
            p.fillRect(2 + i * 5, 2, 4, 5, kSegment);
    }
    out.png("resources/panel/battery.png", bat);

    out.png("resources/panel/minimise.png", titleButton(false));
    out.png("resources/panel/close.png", titleButton(true));
}

} // namespace draw
