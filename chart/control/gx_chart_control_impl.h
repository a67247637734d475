// The member functions of GXChartControl. Included by the source file of each control, which
// instantiates the template for its traits; nothing else includes it.
#pragma once

#include "chart/control/gx_chart_control.h"
#include "platform/ui/app_application.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>
#include <span>

namespace gxcontrol {

using namespace chartlib;

constexpr std::int32_t kNotifyWindow = 2915;
constexpr std::int32_t kPainting = 2916;
constexpr std::int32_t kFocalRect = 2632;
constexpr std::int32_t kDefOrientation = 2150;
constexpr std::int32_t kGridHotSpotValue = 3123;
constexpr std::int32_t kChartChildId = 100;

template <class T> T ReadRecord(ChartLibrary &lib, HCHART h, std::int32_t id)
{
    T rec{};
    lib.ChartGetProperty(h, id, std::span(reinterpret_cast<std::uint8_t *>(&rec), sizeof rec));
    return rec;
}

// The key state of a mouse message's wParam.
std::uint32_t KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
// The class library's shift state of buttons and modifiers.
TShiftState ShiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
// The platform's virtual key code of a Qt key (0 when it has none).
std::uint16_t VirtualKey(int key);

} // namespace gxcontrol

// The control's code speaks the engine's names.
using namespace chartlib;

template <class Traits>
GXChartControl<Traits>::GXChartControl(QWidget *owner, ChartLibrary *library)
    : QWidget(owner), FLib(library ? *library : DefaultChartLibrary())
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the background is never erased
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(kMinChartSize, kMinChartSize);
    ChartAttachView(Chart()); // PlotRect and hit tests are valid from now on
    for (const bool vertical : {true, false}) {
        auto *bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, this);
        bar->setObjectName(vertical ? QStringLiteral("VertScrollBar")
                                    : QStringLiteral("HorzScrollBar"));
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        QObject::connect(
            bar, &QAbstractSlider::actionTriggered, this,
            ui::GuardedSlot([this, vertical](int action) { ScrollBarAction(vertical, action); }));
        // Letting go of the thumb: its last position, then the end of the scroll.
        QObject::connect(bar, &QAbstractSlider::sliderReleased, this,
                         ui::GuardedSlot([this, vertical, bar] {
                             const std::uint32_t wParam =
                                 (std::uint32_t(std::uint16_t(bar->sliderPosition())) << 16) |
                                 std::uint32_t(msg::SB_THUMBPOSITION);
                             ScrollFromChart(vertical, wParam, 0);
                             ScrollFromChart(vertical, std::uint32_t(msg::SB_ENDSCROLL), 0);
                         }));
        (vertical ? FVertScroll : FHorzScroll) = bar;
    }
}

template <class Traits> GXChartControl<Traits>::~GXChartControl()
{
    if (Chart() != 0) {
        FLib.ChartSetSink(Chart(), nullptr);
        FLib.ChartDestroy(Chart());
        this->FChart = 0;
        FWindowCreated = false;
    }
}

template <class Traits> void GXChartControl<Traits>::Loaded()
{
    FLib.ChartReinitialize(Chart());
    FLib.ChartResetImage(Chart(), 0, 0);
    Invalidate();
}

template <class Traits> void GXChartControl<Traits>::ResetandInvalidate()
{
    if (!FDesigning || !FWindowCreated)
        return;
    FLib.ChartReinitialize(Chart());
    FLib.ChartResetImage(Chart(), 0, 0);
    Invalidate();
}

template <class Traits> void GXChartControl<Traits>::Invalidate()
{
    update();
}

// ---- lifecycle and painting ------------------------------------------------------------------

template <class Traits> void GXChartControl<Traits>::WMCreate()
{
    if (FWindowCreated || Chart() == 0)
        return;
    ChartRect r{0, 0, std::max(kMinChartSize, width()), std::max(kMinChartSize, height())};
    HCHART created = FLib.ChartCreate(Chart(), 0, &r, WindowId(this), gxcontrol::kChartChildId);
    if (created == 0)
        return; // the windowless object stays
    FLib.ChartSetInt(created, gxcontrol::kNotifyWindow,
                     std::int32_t(reinterpret_cast<std::uintptr_t>(this)));
    this->FChart = created;
    FLib.ChartSetSink(Chart(), this);
    ChartSetParentWidget(Chart(), this);
    FLib.ChartReinitialize(Chart());
    FLib.ChartResetImage(Chart(), 0, 0);
    FWindowCreated = true;
}

template <class Traits> void GXChartControl<Traits>::showEvent(QShowEvent *event)
{
    WMCreate();
    QWidget::showEvent(event);
}

template <class Traits> void GXChartControl<Traits>::resizeEvent(QResizeEvent *event)
{
    LayOutChart();
    QWidget::resizeEvent(event);
}

template <class Traits> void GXChartControl<Traits>::LayOutChart()
{
    // The bars stand along the right and bottom edges; the chart has the rest of the control,
    // from its top left corner, so control and chart pixels stay the same.
    const int barWidth = FVertBar.visible ? FVertScroll->sizeHint().width() : 0;
    const int barHeight = FHorzBar.visible ? FHorzScroll->sizeHint().height() : 0;
    if (FVertBar.visible)
        FVertScroll->setGeometry(width() - barWidth, 0, barWidth, height() - barHeight);
    if (FHorzBar.visible)
        FHorzScroll->setGeometry(0, height() - barHeight, width() - barWidth, barHeight);
    if (Chart() != 0)
        FLib.ChartMoveWindow(Chart(), std::max(kMinChartSize, width() - barWidth),
                             std::max(kMinChartSize, height() - barHeight));
}

template <class Traits> void GXChartControl<Traits>::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    try {
        PaintTo(painter);
    } catch (...) {
        // A failed drawing leaves the old picture; the next paint tries again.
    }
}

template <class Traits> void GXChartControl<Traits>::PaintTo(QPainter &painter)
{
    if (Chart() == 0 || FLib.ChartGetInt(Chart(), gxcontrol::kPainting) != 0)
        return;
    FLib.ChartSetInt(Chart(), gxcontrol::kPainting, 1);
    struct PaintingReset { // cleared on every exit, also when drawing throws
        ChartLibrary &lib;
        HCHART h;
        ~PaintingReset() { lib.ChartSetInt(h, gxcontrol::kPainting, 0); }
    } reset{FLib, Chart()};

    std::int32_t image = FLib.ChartGetImage(Chart());
    if (image == 0) { // none yet at this size
        FLib.ChartResetImage(Chart(), 0, 0);
        image = FLib.ChartGetImage(Chart());
    }
    FLib.ChartPlayImage(Chart(), painter, image);
    if (FVertBar.visible && FHorzBar.visible) // the corner between the two bars
        painter.fillRect(
            QRect(FVertScroll->x(), FHorzScroll->y(), FVertScroll->width(), FHorzScroll->height()),
            palette().window());
    if (hasFocus() && (FLib.ChartGetInt(Chart(), gxcontrol::kFocalRect) & 0xFF)) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 0));
        QRect r = rect();
        QPolygon frame;
        frame << QPoint(r.left(), r.top()) << QPoint(r.right(), r.top())
              << QPoint(r.right(), r.bottom()) << QPoint(r.left(), r.bottom())
              << QPoint(r.left(), r.top());
        painter.drawPolyline(frame);
        painter.restore();
    }
    FLib.ChartFinishPaint(Chart(), painter);
}

// ---- input -----------------------------------------------------------------------------------

template <class Traits>
void GXChartControl<Traits>::Forward(std::uint32_t message, std::uint32_t wParam,
                                     std::int32_t lParam)
{
    FLastMessage[0] = message;
    FLastMessage[1] = wParam;
    FLastMessage[2] = std::uint32_t(lParam);
    FLastMessage[3] = 0;
    if (RunTime() && Chart() != 0)
        FLib.ChartSendMessage(Chart(), message, wParam, lParam);
}

template <class Traits>
void GXChartControl<Traits>::InheritedMouseDown(TMouseButton button, TShiftState shift, int x,
                                                int y, bool dbl)
{
    if (dbl) {
        if (OnDblClick)
            OnDblClick(this);
        shift |= ssDouble;
    } else if (button == mbLeft) {
        FClickPending = true;
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

template <class Traits>
void GXChartControl<Traits>::InheritedMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FClickPending) {
        FClickPending = false;
        if (rect().contains(x, y) && OnClick)
            OnClick(this);
    }
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

template <class Traits> void GXChartControl<Traits>::mousePressEvent(QMouseEvent *event)
{
    // No exception of a handler may reach Qt (see ui::Guarded); the input
    // handlers below run guarded alike.
    ui::Guarded([&] {
        QPoint p = event->position().toPoint();
        std::uint32_t keys = gxcontrol::KeysOf(event->buttons(), event->modifiers());
        TShiftState shift = gxcontrol::ShiftOf(event->buttons(), event->modifiers());
        switch (event->button()) {
        case Qt::LeftButton:
            LeftButton(false, p.x(), p.y(), keys, shift);
            break;
        case Qt::RightButton: // a right press is not forwarded: its release is
            InheritedMouseDown(mbRight, shift, p.x(), p.y(), false);
            break;
        case Qt::MiddleButton:
            Forward(msg::MButtonDown, keys, msg::MakePoint(p.x(), p.y()));
            InheritedMouseDown(mbMiddle, shift, p.x(), p.y(), false);
            break;
        default:
            break;
        }
    });
}

template <class Traits> void GXChartControl<Traits>::mouseDoubleClickEvent(QMouseEvent *event)
{
    ui::Guarded([&] {
        if (event->button() != Qt::LeftButton) {
            mousePressEvent(event);
            return;
        }
        QPoint p = event->position().toPoint();
        LeftButton(true, p.x(), p.y(), gxcontrol::KeysOf(event->buttons(), event->modifiers()),
                   gxcontrol::ShiftOf(event->buttons(), event->modifiers()));
    });
}

template <class Traits> void GXChartControl<Traits>::mouseReleaseEvent(QMouseEvent *event)
{
    ui::Guarded([&] {
        QPoint p = event->position().toPoint();
        std::uint32_t keys = gxcontrol::KeysOf(event->buttons(), event->modifiers());
        TShiftState shift = gxcontrol::ShiftOf(event->buttons(), event->modifiers());
        std::int32_t lParam = msg::MakePoint(p.x(), p.y());
        switch (event->button()) {
        case Qt::LeftButton:
            Forward(msg::LButtonUp, keys, lParam);
            InheritedMouseUp(mbLeft, shift, p.x(), p.y());
            break;
        case Qt::RightButton: // reaches the chart as a press (its popup menu)
            Forward(msg::RButtonDown, keys, lParam);
            InheritedMouseUp(mbRight, shift, p.x(), p.y());
            break;
        case Qt::MiddleButton:
            Forward(msg::MButtonUp, keys, lParam);
            InheritedMouseUp(mbMiddle, shift, p.x(), p.y());
            break;
        default:
            break;
        }
    });
}

template <class Traits> void GXChartControl<Traits>::mouseMoveEvent(QMouseEvent *event)
{
    ui::Guarded([&] {
        QPoint p = event->position().toPoint();
        std::uint32_t wParam = gxcontrol::KeysOf(event->buttons(), event->modifiers());
        std::int32_t lParam = msg::MakePoint(p.x(), p.y());
        if (RunTime() && Chart() != 0 && (wParam != FLastMoveWParam || lParam != FLastMoveLParam)) {
            Forward(msg::MouseMove, wParam, lParam);
            FLastMoveWParam = wParam;
            FLastMoveLParam = lParam;
            setCursor(FLib.ChartCurrentCursor(Chart()));
        }
        if (OnMouseMove)
            OnMouseMove(this, gxcontrol::ShiftOf(event->buttons(), event->modifiers()), p.x(),
                        p.y());
    });
}

template <class Traits>
void GXChartControl<Traits>::LeftButton(bool doubleClick, int x, int y, std::uint32_t keys,
                                        TShiftState shift)
{
    Forward(doubleClick ? msg::LButtonDblClk : msg::LButtonDown, keys, msg::MakePoint(x, y));
    if (!RunTime() || Chart() == 0 || (shift & (ssShift | ssCtrl | ssRight | ssMiddle))) {
        InheritedMouseDown(mbLeft, shift, x, y, doubleClick);
        return;
    }
    auto rec = gxcontrol::ReadRecord<HotSpotRecord>(FLib, Chart(), prop::HotSpotData);
    std::int32_t type = rec.type;
    const GXHotSpotRow row = Traits::HotSpotRow(type);
    if (row == GXHotSpotRow::Inherited) {
        InheritedMouseDown(mbLeft, shift, x, y, doubleClick);
        return;
    }
    // A recognised hot spot ends the handling here, assigned or not: no OnMouseDown, no click.
    DispatchHotSpot(row, type, rec.index1, rec.index2, doubleClick ? 1 : 0);
}

template <class Traits>
void GXChartControl<Traits>::DispatchHotSpot(GXHotSpotRow row, std::int32_t type, std::int32_t i1,
                                             std::int32_t i2, std::int32_t dbl)
{
    using R = GXHotSpotRow;
    switch (row) {
    case R::Inherited:
        return;
    case R::Subset:
        if (OnSubsetHotSpot)
            OnSubsetHotSpot(this, dbl, i1);
        return;
    case R::Point:
    case R::Table:
        RaiseOwnHotSpot(row, dbl, i1, i2);
        return;
    case R::Graph:
        if (OnGraphHotSpot) {
            auto g =
                gxcontrol::ReadRecord<GraphHotSpotRecord>(FLib, Chart(), prop::GraphHotSpotData);
            OnGraphHotSpot(this, dbl, g.axis, g.x, g.y);
        }
        return;
    case R::Data:
        if (OnDataHotSpot)
            OnDataHotSpot(this, dbl, i1, i2);
        return;
    case R::GraphAnnot:
        if (OnGraphAnnotHotSpot)
            OnGraphAnnotHotSpot(this, dbl, i1);
        return;
    case R::XAxisAnnot:
        if (OnXAxisAnnotHotSpot)
            OnXAxisAnnotHotSpot(this, dbl, i1);
        return;
    case R::YAxisAnnot:
        if (OnYAxisAnnotHotSpot)
            OnYAxisAnnotHotSpot(this, dbl, i1);
        return;
    case R::HorzLineAnnot:
        if (OnHorzLineAnnotHotSpot)
            OnHorzLineAnnotHotSpot(this, dbl, i1);
        return;
    case R::VertLineAnnot:
        if (OnVertLineAnnotHotSpot)
            OnVertLineAnnotHotSpot(this, dbl, i1);
        return;
    case R::MainTitle:
        if (OnMainTitle)
            OnMainTitle(this, dbl);
        return;
    case R::SubTitle:
        if (OnSubTitle)
            OnSubTitle(this, dbl);
        return;
    case R::MultiSubTitle:
        if (OnMultiSubTitle)
            OnMultiSubTitle(this, dbl, i1, i2);
        return;
    case R::MultiBottomTitle:
        if (OnMultiBottomTitle)
            OnMultiBottomTitle(this, dbl, i1, i2);
        return;
    case R::YAxisLabel:
        if (OnYAxisLabel)
            OnYAxisLabel(this, dbl, i1, i2);
        return;
    case R::XAxisLabel:
        if (OnXAxisLabel)
            OnXAxisLabel(this, dbl, i1);
        return;
    case R::YAxis:
        if (OnYAxis) {
            auto mp = gxcontrol::ReadRecord<PointRecord>(FLib, Chart(), prop::MousePoint);
            std::int32_t axis = i1, x = mp.x, y = mp.y;
            double dx = 0, dy = 0;
            FLib.ChartConvertPoint(Chart(), &axis, &x, &y, &dx, &dy, i2, 0, 0);
            OnYAxis(this, dbl, i1, i2, dy);
        }
        return;
    case R::XAxis:
        if (OnXAxis) {
            auto mp = gxcontrol::ReadRecord<PointRecord>(FLib, Chart(), prop::MousePoint);
            std::int32_t axis = 0, x = mp.x, y = mp.y;
            double dx = 0, dy = 0;
            FLib.ChartConvertPoint(Chart(), &axis, &x, &y, &dx, &dy, 0, i1, 0);
            OnXAxis(this, dbl, i1, dx);
        }
        return;
    case R::GridNumber: { // types 19 to 22
        double number = 0;
        FLib.ChartGetElement(Chart(), gxcontrol::kGridHotSpotValue, i2, number);
        static const std::int32_t kType[] = {1, 2, 0, 3};
        if (OnGridNumber)
            OnGridNumber(this, dbl, kType[type - 19], i1, number);
        return;
    }
    case R::TableAnnotation: // types 23 to 42
        if (OnTableAnnotation)
            OnTableAnnotation(this, dbl, type - 23, i1, i2);
        return;
    }
}

template <class Traits> void GXChartControl<Traits>::keyPressEvent(QKeyEvent *event)
{
    ui::Guarded([&] {
        std::uint16_t key = gxcontrol::VirtualKey(event->key());
        TShiftState shift = gxcontrol::ShiftOf(Qt::NoButton, event->modifiers());
        if (OnKeyDown)
            OnKeyDown(this, key, shift);
        if (OnKeyPress && !event->text().isEmpty()) {
            char16_t c = event->text().at(0).unicode();
            OnKeyPress(this, c);
        }
        Forward(msg::KeyDown, key, 0);
    });
}

template <class Traits> void GXChartControl<Traits>::keyReleaseEvent(QKeyEvent *event)
{
    ui::Guarded([&] {
        std::uint16_t key = gxcontrol::VirtualKey(event->key());
        if (OnKeyUp)
            OnKeyUp(this, key, gxcontrol::ShiftOf(Qt::NoButton, event->modifiers()));
        Forward(msg::KeyUp, key, 0);
    });
}

template <class Traits> void GXChartControl<Traits>::InvalidateFocusBand()
{
    QRect r = rect();
    update(QRegion(r).subtracted(QRegion(r.adjusted(2, 2, -2, -2))));
}

template <class Traits> void GXChartControl<Traits>::focusInEvent(QFocusEvent *event)
{
    ui::Guarded([&] {
        InvalidateFocusBand();
        QWidget::focusInEvent(event);
        if (OnEnter)
            OnEnter(this);
    });
}

template <class Traits> void GXChartControl<Traits>::focusOutEvent(QFocusEvent *event)
{
    ui::Guarded([&] {
        InvalidateFocusBand();
        QWidget::focusOutEvent(event);
        if (OnExit)
            OnExit(this);
    });
}

template <class Traits> void GXChartControl<Traits>::wheelEvent(QWheelEvent *event)
{
    ui::Guarded([&] {
        if (isVisible()) {
            setFocus();
            update();
        }
        if (Chart() != 0) {
            auto delta = std::int16_t(std::clamp(event->angleDelta().y(), -32768, 32767));
            std::uint32_t wParam = (std::uint32_t(std::uint16_t(delta)) << 16) |
                                   gxcontrol::KeysOf(event->buttons(), event->modifiers());
            FLib.ChartSendMessage(Chart(), msg::MouseWheel, wParam, 0);
        }
    });
}

// ---- notifications and scrolling ---------------------------------------------------------------

template <class Traits> void GXChartControl<Traits>::ChartNotify(HCHART source, std::int32_t code)
{
    WMCommand(std::uint32_t(code) << 16, source);
}

template <class Traits> void GXChartControl<Traits>::ChartInvalidate(HCHART, const ChartRect *r)
{
    if (!r)
        Invalidate();
    else
        update(QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1)));
}

template <class Traits>
void GXChartControl<Traits>::ChartScrolled(HCHART source, bool vertical, std::int32_t code,
                                           std::int32_t pos)
{
    const std::uint32_t wParam =
        (std::uint32_t(std::uint16_t(pos)) << 16) | (std::uint32_t(code) & 0xFFFF);
    ScrollFromChart(vertical, wParam, source);
}

template <class Traits>
void GXChartControl<Traits>::WMCommand(std::uint32_t wParam, std::uint32_t lParam)
{
    FLastMessage[0] = msg::Command;
    FLastMessage[1] = wParam;
    FLastMessage[2] = lParam;
    FLastMessage[3] = 0;
    if (Chart() == 0 || lParam != Chart())
        return; // only the chart's own notifications count
    const std::int32_t code = std::int32_t(wParam >> 16);
    switch (code) {
    case code::CustomGridNumbers:
        if (OnCustomGridnumbers) {
            auto rec = gxcontrol::ReadRecord<CustomGridNumberRecord>(FLib, Chart(),
                                                                     prop::CustomGridNumberData);
            constexpr std::size_t kUnits = std::size(rec.text);
            std::size_t len = 0;
            while (len < kUnits && rec.text[len] != 0)
                ++len;
            WideString text(rec.text, len);
            OnCustomGridnumbers(this, rec.axisType, rec.axisIndex, rec.number, text);
            // Written back into the fixed field: at most kUnits - 1 units and a NUL.
            std::size_t n = std::min(text.size(), kUnits - 1);
            std::fill(std::begin(rec.text), std::end(rec.text), u'\0');
            std::copy_n(text.data(), n, rec.text);
            FLib.ChartSetProperty(
                Chart(), prop::CustomGridNumberData,
                std::span(reinterpret_cast<const std::uint8_t *>(&rec), sizeof rec));
        }
        return;
    case code::CustomMenu:
        if (OnCustomMenu)
            OnCustomMenu(this, FLib.ChartGetInt(Chart(), prop::CustomMenuIndex),
                         FLib.ChartGetInt(Chart(), prop::CustomSubmenuIndex));
        return;
    case code::PreHScroll:
        if (OnPreHScroll)
            OnPreHScroll(this);
        return;
    case code::PreVScroll:
        if (OnPreVScroll)
            OnPreVScroll(this);
        return;
    case code::ZoomIn:
        if (OnZoomIn)
            OnZoomIn(this);
        return;
    case code::ZoomOut:
        if (OnZoomOut)
            OnZoomOut(this);
        return;
    case code::CursorMoved:
        if (OnCursorMoved)
            OnCursorMoved(this);
        return;
    case code::PreCursorMove:
        if (OnPreCursorMove)
            OnPreCursorMove(this);
        return;
    case code::CustomizeDlg:
        if (OnCustomizeDlg)
            OnCustomizeDlg(this);
        return;
    case code::PopupMenu:
        if (OnPopupMenu)
            OnPopupMenu(this);
        return;
    case code::ParamUpdate:
        CopyScrollBar(true); // whether or not the event is assigned
        CopyScrollBar(false);
        ShowScrollBars();
        if (OnParamUpdate)
            OnParamUpdate(this);
        return;
    default:
        return;
    }
}

template <class Traits> void GXChartControl<Traits>::CopyScrollBar(bool vertical)
{
    ChartScrollInfo info = FLib.ChartGetScrollInfo(Chart(), vertical);
    GXScrollBar &bar = vertical ? FVertBar : FHorzBar;
    if (info.min == 1)
        bar = {info.min, info.max, info.page, info.pos, true};
    else
        bar = {}; // range 0..0 hides the bar
}

template <class Traits> void GXChartControl<Traits>::ShowScrollBars()
{
    const bool wasVert = FVertScroll->isVisibleTo(this), wasHorz = FHorzScroll->isVisibleTo(this);
    for (const bool vertical : {true, false}) {
        const GXScrollBar &bar = vertical ? FVertBar : FHorzBar;
        QScrollBar *widget = vertical ? FVertScroll : FHorzScroll;
        if (!bar.visible) {
            widget->hide();
            continue;
        }
        // The bar's positions run from min to the last one at which the page still fits.
        const QSignalBlocker quiet(widget);
        widget->setRange(bar.min, std::max(bar.min, bar.max - std::max(bar.page, 1) + 1));
        widget->setPageStep(std::max(bar.page, 1));
        widget->setSingleStep(std::max(1, bar.page / 10));
        widget->setValue(bar.pos);
        widget->show();
    }
    if (wasVert != FVertBar.visible || wasHorz != FHorzBar.visible) {
        LayOutChart();
        update();
    }
}

template <class Traits> void GXChartControl<Traits>::ScrollBarAction(bool vertical, int action)
{
    QScrollBar *widget = vertical ? FVertScroll : FHorzScroll;
    std::int32_t scrollCode = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        scrollCode = msg::SB_LINEUP;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        scrollCode = msg::SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        scrollCode = msg::SB_PAGEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        scrollCode = msg::SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderMove:
        scrollCode = msg::SB_THUMBTRACK;
        break;
    case QAbstractSlider::SliderToMinimum:
        scrollCode = msg::SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        scrollCode = msg::SB_BOTTOM;
        break;
    default:
        return;
    }
    const GXScrollBar &bar = vertical ? FVertBar : FHorzBar;
    const std::int32_t pos = scrollCode == msg::SB_THUMBTRACK ? widget->sliderPosition() : bar.pos;
    const std::uint32_t wParam =
        (std::uint32_t(std::uint16_t(pos)) << 16) | std::uint32_t(scrollCode);
    ScrollFromChart(vertical, wParam, 0);
    // The bar shows where the chart went, not a step of its own.
    if (bar.visible)
        widget->setSliderPosition(bar.pos);
}

template <class Traits>
void GXChartControl<Traits>::ScrollFromChart(bool vertical, std::uint32_t wParam,
                                             std::uint32_t lParam)
{
    if (isVisible()) {
        setFocus();
        update();
    }
    const std::int32_t scrollCode = std::int32_t(wParam & 0xFFFF);
    const std::int32_t pos = std::int16_t(wParam >> 16);
    if (Chart() != 0 && lParam == Chart()) {
        if (scrollCode == 8) // end of scroll
            return;
        (vertical ? FVertBar : FHorzBar).pos = pos;
        QScrollBar *widget = vertical ? FVertScroll : FHorzScroll;
        if (!widget->isSliderDown()) {
            const QSignalBlocker quiet(widget);
            widget->setValue(pos);
        }
        update();
        TScrollEvent &event = vertical ? OnVertScroll : OnHorzScroll;
        if (event) {
            std::int32_t p = pos; // a position the handler writes back is not used
            event(this, scrollCode, p);
        }
        return;
    }
    if (Chart() != 0)
        FLib.ChartSendMessage(Chart(), vertical ? msg::VScroll : msg::HScroll, wParam, 0);
}

template <class Traits>
void GXChartControl<Traits>::WMVScroll(std::uint32_t wParam, std::uint32_t lParam)
{
    ScrollFromChart(true, wParam, lParam);
}

template <class Traits>
void GXChartControl<Traits>::WMHScroll(std::uint32_t wParam, std::uint32_t lParam)
{
    ScrollFromChart(false, wParam, lParam);
}

// ---- actions ---------------------------------------------------------------------------------

template <class Traits> void GXChartControl<Traits>::SetGXactions(Actions action)
{
    FGXactions = action;
    const HCHART h = Chart();
    const ChartPair pair{FGXnarg1, FGXnarg2};
    switch (GXAction(std::uint8_t(action))) {
    case GXAction::ReinitAndReset:
        FLib.ChartReinitialize(h);
        FLib.ChartResetImage(h, 0, 0);
        Invalidate();
        break;
    case GXAction::Reinitialize:
        FLib.ChartReinitialize(h);
        break;
    case GXAction::ResetImage:
        FLib.ChartResetImage(h, FGXnarg1, FGXnarg2);
        break;
    case GXAction::InvalidateImage:
        Invalidate();
        break;
    case GXAction::Maximize:
        FLib.ChartMaximize(h);
        break;
    case GXAction::Customize:
        FLib.ChartCustomizeDialog(h);
        break;
    case GXAction::ExportDialog:
        FLib.ChartExportDialog(h);
        break;
    case GXAction::TextExportDialog:
        FLib.ChartTextExportDialog(h, FGXnarg1, FGXstrarg1);
        break;
    case GXAction::PrintDialog:
        FLib.ChartPrintDialog(h, FGXnarg1 == 0 && FGXnarg2 == 0 ? 1 : 0, &pair);
        break;
    case GXAction::ColorDialog:
        FLib.ChartColorDialog(h);
        break;
    case GXAction::FontDialog:
        FLib.ChartFontDialog(h);
        break;
    case GXAction::PopupMenu:
        FLib.ChartPopupMenu(h, &pair);
        break;
    case GXAction::MetaToClip:
        FLib.ChartMetaToClip(h, &pair);
        break;
    case GXAction::MetaToFile:
        FLib.ChartMetaToFile(h, &pair, FGXstrarg1);
        break;
    case GXAction::BmpToClip:
        FLib.ChartBmpToClip(h, &pair);
        break;
    case GXAction::BmpToFile:
        FLib.ChartBmpToFile(h, &pair, FGXstrarg1);
        break;
    case GXAction::OleToClip:
        break; // nothing
    case GXAction::ReinitCustoms:
        FLib.ChartReinitCustoms(h);
        break;
    case GXAction::PrintGraph:
        FLib.ChartPrintGraph(h, 0, 0, FLib.ChartGetInt(h, gxcontrol::kDefOrientation));
        break;
    case GXAction::UndoZoom:
        FLib.ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
        break;
    case GXAction::Reset:
        FLib.ChartReset(h);
        break;
    case GXAction::JpegToClip:
        FLib.ChartJpegToClip(h, &pair);
        break;
    case GXAction::JpegToFile:
        FLib.ChartJpegToFile(h, &pair, FGXstrarg1);
        break;
    case GXAction::PngToClip:
        FLib.ChartPngToClip(h, &pair);
        break;
    case GXAction::PngToFile:
        FLib.ChartPngToFile(h, &pair, FGXstrarg1);
        break;
    }
}
