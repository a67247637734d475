#include "controls/slider2.h"

#include "platform/ui/app_application.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <limits>

namespace controls {

Tslider2::Tslider2(QWidget *parent) : QWidget(parent)
{
    FTrackColor = palette().color(QPalette::Button);
    FThumbColor = palette().color(QPalette::Button);
    setFocusPolicy(Qt::NoFocus);
    resize(200, 50);
}

Tslider2::~Tslider2() = default;

// ---- properties ----------------------------------------------------------------------------

void Tslider2::Changed()
{
    update();
}

void Tslider2::SetTrackWidth(int width)
{
    if (width != FTrackWidth) {
        FTrackWidth = width;
        Changed();
    }
}

void Tslider2::SetTrackColor(const QColor &color)
{
    if (color != FTrackColor) {
        FTrackColor = color;
        Changed();
    }
}

void Tslider2::SetThumbHeight(int height)
{
    if (height != FThumbHeight) {
        FThumbHeight = height;
        Changed();
    }
}

void Tslider2::SetThumbWidth(int width)
{
    if (width != FThumbWidth) {
        FThumbWidth = width;
        Changed();
    }
}

void Tslider2::SetThumbColor(const QColor &color)
{
    if (color != FThumbColor) {
        FThumbColor = color;
        Changed();
    }
}

void Tslider2::SetOrientation(TSliderOrientation orientation)
{
    if (orientation != FOrientation) {
        FOrientation = orientation;
        Changed();
    }
}

void Tslider2::SetMin(int minimum)
{
    if (minimum == FMinimum)
        return;
    FMinimum = minimum;
    if (FValue1 < minimum)
        SetValue1(minimum);
    if (FValue2 < minimum)
        SetValue2(minimum);
    Changed();
}

void Tslider2::SetMax(int maximum)
{
    if (maximum == FMaximum)
        return;
    FMaximum = maximum;
    if (FValue1 > maximum)
        SetValue1(maximum);
    if (FValue2 > maximum)
        SetValue2(maximum);
    Changed();
}

int Tslider2::Clamp(std::int64_t value) const
{
    if (value < FMinimum)
        value = FMinimum;
    if (value > FMaximum)
        value = FMaximum;
    return int(value);
}

void Tslider2::SetValue1(int value)
{
    const int v = Clamp(value);
    if (v == FValue1)
        return;
    FValue1 = v;
    if (OnValueChange1)
        OnValueChange1(this);
    if (FPainted)
        DrawThumb();
}

void Tslider2::SetValue2(int value)
{
    const int v = Clamp(value);
    if (v == FValue2)
        return;
    FValue2 = v;
    if (OnValueChange2)
        OnValueChange2(this);
    if (FPainted)
        DrawThumb();
}

// ---- geometry --------------------------------------------------------------------------------

int Tslider2::Length() const
{
    return FOrientation == slHoriz ? width() : height();
}

bool Tslider2::Movable() const
{
    return Length() > FThumbHeight && std::int64_t(FMaximum) > std::int64_t(FMinimum);
}

int Tslider2::ThumbOffset(int value) const
{
    if (!Movable())
        return 0;
    const std::int64_t travel = Length() - FThumbHeight;
    const std::int64_t range = std::int64_t(FMaximum) - FMinimum;
    return int((travel * (std::int64_t(value) - FMinimum)) / range);
}

QRect Tslider2::ThumbRect(int value) const
{
    const int p = ThumbOffset(value);
    if (FOrientation == slHoriz)
        return QRect(QPoint(p, 0), QPoint(p + FThumbHeight - 1, height() - 1));
    return QRect(QPoint(0, height() - p - FThumbHeight), QPoint(width() - 1, height() - p - 1));
}

QRect Tslider2::TrackRect() const
{
    if (FOrientation == slHoriz) {
        const int t = (height() - FTrackWidth) / 2;
        return QRect(0, t, width(), FTrackWidth);
    }
    const int t = (width() - FTrackWidth) / 2;
    return QRect(t, 0, FTrackWidth, height());
}

std::int64_t Tslider2::DragDelta(int pixels) const
{
    if (!Movable())
        return 0;
    const std::int64_t travel = Length() - FThumbHeight;
    const std::int64_t range = std::int64_t(FMaximum) - FMinimum;
    return (std::int64_t(pixels) * range) / travel;
}

// ---- painting --------------------------------------------------------------------------------

void Tslider2::DrawThumb()
{
    const QRect now1 = ThumbRect1(), now2 = ThumbRect2();
    QRegion dirty;
    for (const QRect &r : {FDrawn1, now1, FDrawn2, now2})
        if (!r.isEmpty())
            dirty += r;
    FDrawn1 = now1;
    FDrawn2 = now2;
    if (!dirty.isEmpty())
        update(dirty);
}

void Tslider2::PaintThumb(QPainter &painter, const QRect &r) const
{
    const QPalette &pal = palette();
    const int l = r.left(), t = r.top();
    const int rr = r.right() + 1, b = r.bottom() + 1; // exclusive edges
    painter.setBrush(FThumbColor);
    if (FOrientation == slHoriz) {
        // A raised pointer whose tip points down at the value.
        const int h = height() / 3;
        const int mid = (l + rr) / 2;
        const QPolygon body({{l, t}, {rr - 1, t}, {rr - 1, b - h}, {mid, b - 1}, {l, b - h}});
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawPolygon(body);
        painter.setPen(Qt::white);
        painter.drawPolyline(QPolygon({{rr - 2, t + 1}, {l + 1, t + 1}, {l + 1, b - h}}));
        painter.setPen(Qt::black);
        painter.drawPolyline(QPolygon({{rr - 1, t}, {rr - 1, b - h}, {mid, b - 1}}));
        return;
    }
    painter.setPen(pal.color(QPalette::Light));
    painter.drawRect(QRect(QPoint(l, t), QPoint(rr - 2, b - 2)));
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawPolyline(QPolygon({{l + 1, b - 3}, {l + 1, t + 1}, {rr - 2, t + 1}}));
    painter.drawPolyline(QPolygon({{l, b - 1}, {rr - 1, b - 1}, {rr - 1, t - 1}}));
}

void Tslider2::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    const QPalette &pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));

    // The track, sunken: light outline, then its top and left edges in shadow.
    const QRect track = TrackRect();
    painter.setPen(pal.color(QPalette::Light));
    painter.setBrush(FTrackColor);
    painter.drawRect(track.adjusted(0, 0, -1, -1));
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(track.topLeft(), track.topRight());
    painter.drawLine(track.topLeft(), track.bottomLeft());

    FPainted = true;
    FDrawn1 = ThumbRect1();
    FDrawn2 = ThumbRect2();
    PaintThumb(painter, FDrawn1);
    PaintThumb(painter, FDrawn2);
}

// ---- mouse -----------------------------------------------------------------------------------

void Tslider2::MouseDown(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::LeftButton) {
        if (ThumbRect1().contains(x, y)) {
            FDrag1 = true;
            FDragStart = QPoint(x, y);
            FDragValue = FValue1;
            return;
        }
        if (ThumbRect2().contains(x, y)) {
            FDrag2 = true;
            FDragStart = QPoint(x, y);
            FDragValue = FValue2;
            return;
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, button, x, y);
}

void Tslider2::MouseMove(int x, int y)
{
    const int pixels = FOrientation == slHoriz ? x - FDragStart.x() : FDragStart.y() - y;
    if (FDrag1)
        SetValue1(Clamp(FDragValue + DragDelta(pixels)));
    if (FDrag2)
        SetValue2(Clamp(FDragValue + DragDelta(pixels)));
    if (!FDrag2 && OnMouseMove)
        OnMouseMove(this, x, y);
}

void Tslider2::MouseUp(Qt::MouseButton button, int x, int y)
{
    // The release ends a drag even when the handler fails: a thumb left
    // dragging would follow the mouse with no button held.
    struct TEndDrag {
        Tslider2 &Slider;
        bool Left;
        ~TEndDrag()
        {
            if (Left)
                Slider.FDrag1 = Slider.FDrag2 = false;
        }
    } endDrag{*this, button == Qt::LeftButton};
    if (OnMouseUp)
        OnMouseUp(this, button, x, y);
}

// The change and mouse events run the owner's handlers: their errors are
// shown here and go no further.
void Tslider2::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    ui::Guarded([&] { MouseDown(event->button(), p.x(), p.y()); });
}

void Tslider2::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    ui::Guarded([&] { MouseMove(p.x(), p.y()); });
}

void Tslider2::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    ui::Guarded([&] { MouseUp(event->button(), p.x(), p.y()); });
}

} // namespace controls
