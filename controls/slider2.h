// Tslider2: a range slider with one track and two thumbs, each bound to an
// integer value between Minimum and Maximum. The graph window uses one
// (Slider1) for its cursors A and B, both change events on one handler.
//
// Offsets along the track: with L the control's length along it (Width, or
// Height when vertical), thumb k stands at
//     p(k) = ((L - ThumbHeight) * (value(k) - Minimum)) div (Maximum - Minimum)
// (division truncating toward zero), spanning ThumbHeight pixels from there;
// a vertical slider counts from the bottom, so a larger value lies higher.
// A left-button drag of a thumb moves its value by
//     ((x - start x) * (Maximum - Minimum)) div (L - ThumbHeight)
// (start y - y when vertical). When Maximum is not above Minimum, or the
// track is not longer than a thumb, both thumbs sit at offset 0 and drags
// change nothing. Products are taken in 64 bits, so long ranges on wide
// controls never overflow.
//
// The values are independent (Value1 may exceed Value2). A change event is
// raised only when a value really changes, and after the first paint only
// the two thumbs are redrawn. The slider takes no keyboard input.
#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace controls {

enum TSliderOrientation : std::uint8_t { slHoriz, slVertical };

class Tslider2 : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject *Sender)>;
    // Button, x, y in the control's pixels.
    using TMouseEvent = std::function<void(QObject *Sender, Qt::MouseButton Button, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(QObject *Sender, int X, int Y)>;

    explicit Tslider2(QWidget *parent = nullptr);
    ~Tslider2() override;

    int TrackWidth() const { return FTrackWidth; }
    void SetTrackWidth(int width);
    QColor TrackColor() const { return FTrackColor; }
    void SetTrackColor(const QColor &color);
    // The thumb's extent along the track.
    int ThumbHeight() const { return FThumbHeight; }
    void SetThumbHeight(int height);
    // Kept and stored; it changes nothing on screen.
    int ThumbWidth() const { return FThumbWidth; }
    void SetThumbWidth(int width);
    QColor ThumbColor() const { return FThumbColor; }
    void SetThumbColor(const QColor &color);
    TSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TSliderOrientation orientation);

    int Minimum() const { return FMinimum; }
    // Values below the new minimum follow it (with their change events).
    void SetMin(int minimum);
    int Maximum() const { return FMaximum; }
    // Values above the new maximum follow it (with their change events).
    void SetMax(int maximum);
    int Value1() const { return FValue1; }
    // Clamped to Minimum .. Maximum; OnValueChange1 when the value changes.
    void SetValue1(int value);
    int Value2() const { return FValue2; }
    void SetValue2(int value);

    // The thumbs' rectangles for the current size and values.
    QRect ThumbRect1() const { return ThumbRect(FValue1); }
    QRect ThumbRect2() const { return ThumbRect(FValue2); }
    // Thumb offset along the track for a value.
    int ThumbOffset(int value) const;
    // The track's rectangle.
    QRect TrackRect() const;

    TNotifyEvent OnValueChange1, OnValueChange2;
    // A left press outside both thumbs (and every other press) reaches
    // OnMouseDown; moves reach OnMouseMove unless thumb 2 is dragged.
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // The mouse handling as the events deliver it (x, y in control pixels).
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(Qt::MouseButton button, int x, int y);
    bool Dragging1() const { return FDrag1; }
    bool Dragging2() const { return FDrag2; }

    QSize sizeHint() const override { return QSize(200, 50); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    // Redraws the thumbs where they were and where they are now.
    virtual void DrawThumb();

private:
    int Length() const;
    // (L - ThumbHeight) and (Maximum - Minimum) when both are positive.
    bool Movable() const;
    QRect ThumbRect(int value) const;
    // The value change of a drag of `pixels` along the track.
    std::int64_t DragDelta(int pixels) const;
    int Clamp(std::int64_t value) const;
    void PaintThumb(class QPainter &painter, const QRect &rect) const;
    void Changed();

    int FTrackWidth = 5;
    QColor FTrackColor;
    int FThumbHeight = 20;
    int FThumbWidth = 8;
    QColor FThumbColor;
    TSliderOrientation FOrientation = slHoriz;
    int FMinimum = 0;
    int FMaximum = 100;
    int FValue1 = 0;
    int FValue2 = 100;

    // Where each thumb was last drawn; empty before the first paint.
    QRect FDrawn1, FDrawn2;
    bool FPainted = false;

    bool FDrag1 = false, FDrag2 = false;
    QPoint FDragStart;
    int FDragValue = 0;
};

} // namespace controls
