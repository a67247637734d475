#include "chart/control/gxsgraph.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>

using namespace chartlib;

namespace {

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

std::uint32_t KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    std::uint32_t k = 0;
    if (buttons & Qt::LeftButton)
        k |= msg::MK_LBUTTON;
    if (buttons & Qt::RightButton)
        k |= msg::MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        k |= msg::MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        k |= msg::MK_SHIFT;
    if (mods & Qt::ControlModifier)
        k |= msg::MK_CONTROL;
    return k;
}

TShiftState ShiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

// The platform's virtual key code of a Qt key (0 when it has none).
std::uint16_t VirtualKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        break;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return std::uint16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return std::uint16_t(0x70 + (key - Qt::Key_F1));
    return 0;
}

TShiftState KeyShift(Qt::KeyboardModifiers mods)
{
    return ShiftOf(Qt::NoButton, mods);
}

} // namespace

GXSGraph::GXSGraph(QWidget *owner, ChartLibrary *library)
    : QWidget(owner), FLib(library ? *library : DefaultChartLibrary())
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the background is never erased
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(kMinChartSize, kMinChartSize);
    ChartAttachView(FChart); // PlotRect and hit tests are valid from now on
}

GXSGraph::~GXSGraph()
{
    if (FChart != 0) {
        FLib.ChartSetSink(FChart, nullptr);
        FLib.ChartDestroy(FChart);
        FChart = 0;
        FWindowCreated = false;
    }
}

void GXSGraph::Loaded()
{
    FLib.ChartReinitialize(FChart);
    FLib.ChartResetImage(FChart, 0, 0);
    Invalidate();
}

void GXSGraph::ResetandInvalidate()
{
    if (!FDesigning || !FWindowCreated)
        return;
    FLib.ChartReinitialize(FChart);
    FLib.ChartResetImage(FChart, 0, 0);
    Invalidate();
}

void GXSGraph::Invalidate()
{
    update();
}

// ---- lifecycle and painting ------------------------------------------------------------------

void GXSGraph::WMCreate()
{
    if (FWindowCreated || FChart == 0)
        return;
    ChartRect r{0, 0, std::max(kMinChartSize, width()), std::max(kMinChartSize, height())};
    HCHART created = FLib.ChartCreate(FChart, 0, &r, WindowId(this), kChartChildId);
    if (created == 0)
        return; // the windowless object stays
    FLib.ChartSetInt(created, kNotifyWindow, std::int32_t(reinterpret_cast<std::uintptr_t>(this)));
    FChart = created;
    FLib.ChartSetSink(FChart, this);
    ChartSetParentWidget(FChart, this);
    FLib.ChartReinitialize(FChart);
    FLib.ChartResetImage(FChart, 0, 0);
    FWindowCreated = true;
}

void GXSGraph::showEvent(QShowEvent *event)
{
    WMCreate();
    QWidget::showEvent(event);
}

void GXSGraph::resizeEvent(QResizeEvent *event)
{
    if (FChart != 0)
        FLib.ChartMoveWindow(FChart, std::max(kMinChartSize, width()),
                             std::max(kMinChartSize, height()));
    QWidget::resizeEvent(event);
}

void GXSGraph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    try {
        PaintTo(painter);
    } catch (...) {
        // A failed drawing leaves the old picture; the next paint tries again.
    }
}

void GXSGraph::PaintTo(QPainter &painter)
{
    if (FChart == 0 || FLib.ChartGetInt(FChart, kPainting) != 0)
        return;
    FLib.ChartSetInt(FChart, kPainting, 1);
    struct PaintingReset { // cleared on every exit, also when drawing throws
        ChartLibrary &lib;
        HCHART h;
        ~PaintingReset() { lib.ChartSetInt(h, kPainting, 0); }
    } reset{FLib, FChart};

    std::int32_t image = FLib.ChartGetImage(FChart);
    if (image == 0) { // none yet at this size
        FLib.ChartResetImage(FChart, 0, 0);
        image = FLib.ChartGetImage(FChart);
    }
    FLib.ChartPlayImage(FChart, painter, image);
    if (hasFocus() && (FLib.ChartGetInt(FChart, kFocalRect) & 0xFF)) {
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
    FLib.ChartFinishPaint(FChart, painter);
}

// ---- input -----------------------------------------------------------------------------------

void GXSGraph::Forward(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam)
{
    FLastMessage[0] = message;
    FLastMessage[1] = wParam;
    FLastMessage[2] = std::uint32_t(lParam);
    FLastMessage[3] = 0;
    if (RunTime() && FChart != 0)
        FLib.ChartSendMessage(FChart, message, wParam, lParam);
}

void GXSGraph::InheritedMouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl)
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

void GXSGraph::InheritedMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FClickPending) {
        FClickPending = false;
        if (rect().contains(x, y) && OnClick)
            OnClick(this);
    }
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void GXSGraph::mousePressEvent(QMouseEvent *event)
{
    QPoint p = event->position().toPoint();
    std::uint32_t keys = KeysOf(event->buttons(), event->modifiers());
    TShiftState shift = ShiftOf(event->buttons(), event->modifiers());
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
}

void GXSGraph::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    QPoint p = event->position().toPoint();
    LeftButton(true, p.x(), p.y(), KeysOf(event->buttons(), event->modifiers()),
               ShiftOf(event->buttons(), event->modifiers()));
}

void GXSGraph::mouseReleaseEvent(QMouseEvent *event)
{
    QPoint p = event->position().toPoint();
    std::uint32_t keys = KeysOf(event->buttons(), event->modifiers());
    TShiftState shift = ShiftOf(event->buttons(), event->modifiers());
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
}

void GXSGraph::mouseMoveEvent(QMouseEvent *event)
{
    QPoint p = event->position().toPoint();
    std::uint32_t wParam = KeysOf(event->buttons(), event->modifiers());
    std::int32_t lParam = msg::MakePoint(p.x(), p.y());
    if (RunTime() && FChart != 0 && (wParam != FLastMoveWParam || lParam != FLastMoveLParam)) {
        Forward(msg::MouseMove, wParam, lParam);
        FLastMoveWParam = wParam;
        FLastMoveLParam = lParam;
        setCursor(FLib.ChartCurrentCursor(FChart));
    }
    if (OnMouseMove)
        OnMouseMove(this, ShiftOf(event->buttons(), event->modifiers()), p.x(), p.y());
}

void GXSGraph::LeftButton(bool doubleClick, int x, int y, std::uint32_t keys, TShiftState shift)
{
    Forward(doubleClick ? msg::LButtonDblClk : msg::LButtonDown, keys, msg::MakePoint(x, y));
    if (!RunTime() || FChart == 0 || (shift & (ssShift | ssCtrl | ssRight | ssMiddle))) {
        InheritedMouseDown(mbLeft, shift, x, y, doubleClick);
        return;
    }
    auto rec = ReadRecord<HotSpotRecord>(FLib, FChart, prop::HotSpotData);
    std::int32_t type = rec.type;
    bool handled = type == 1 || type == 3 || (type >= 5 && type <= 42);
    if (!handled) {
        InheritedMouseDown(mbLeft, shift, x, y, doubleClick);
        return;
    }
    // A recognised hot spot ends the handling here, assigned or not: no OnMouseDown, no click.
    DispatchHotSpot(type, rec.index1, rec.index2, doubleClick ? 1 : 0);
}

void GXSGraph::DispatchHotSpot(std::int32_t type, std::int32_t i1, std::int32_t i2,
                               std::int32_t dbl)
{
    switch (type) {
    case 1:
        if (OnSubsetHotSpot)
            OnSubsetHotSpot(this, dbl, i1);
        return;
    case 3:
        if (OnGraphHotSpot) {
            auto g = ReadRecord<GraphHotSpotRecord>(FLib, FChart, prop::GraphHotSpotData);
            OnGraphHotSpot(this, dbl, g.axis, g.x, g.y);
        }
        return;
    case 5:
        if (OnDataHotSpot)
            OnDataHotSpot(this, dbl, i1, i2);
        return;
    case 6:
        if (OnGraphAnnotHotSpot)
            OnGraphAnnotHotSpot(this, dbl, i1);
        return;
    case 7:
        if (OnXAxisAnnotHotSpot)
            OnXAxisAnnotHotSpot(this, dbl, i1);
        return;
    case 8:
        if (OnYAxisAnnotHotSpot)
            OnYAxisAnnotHotSpot(this, dbl, i1);
        return;
    case 9:
        if (OnHorzLineAnnotHotSpot)
            OnHorzLineAnnotHotSpot(this, dbl, i1);
        return;
    case 10:
        if (OnVertLineAnnotHotSpot)
            OnVertLineAnnotHotSpot(this, dbl, i1);
        return;
    case 11:
        if (OnMainTitle)
            OnMainTitle(this, dbl);
        return;
    case 12:
        if (OnSubTitle)
            OnSubTitle(this, dbl);
        return;
    case 13:
        if (OnMultiSubTitle)
            OnMultiSubTitle(this, dbl, i1, i2);
        return;
    case 14:
        if (OnMultiBottomTitle)
            OnMultiBottomTitle(this, dbl, i1, i2);
        return;
    case 15:
        if (OnYAxisLabel)
            OnYAxisLabel(this, dbl, i1, i2);
        return;
    case 16:
        if (OnXAxisLabel)
            OnXAxisLabel(this, dbl, i1);
        return;
    case 17:
        if (OnYAxis) {
            auto mp = ReadRecord<PointRecord>(FLib, FChart, prop::MousePoint);
            std::int32_t axis = i1, x = mp.x, y = mp.y;
            double dx = 0, dy = 0;
            FLib.ChartConvertPoint(FChart, &axis, &x, &y, &dx, &dy, i2, 0, 0);
            OnYAxis(this, dbl, i1, i2, dy);
        }
        return;
    case 18:
        if (OnXAxis) {
            auto mp = ReadRecord<PointRecord>(FLib, FChart, prop::MousePoint);
            std::int32_t axis = 0, x = mp.x, y = mp.y;
            double dx = 0, dy = 0;
            FLib.ChartConvertPoint(FChart, &axis, &x, &y, &dx, &dy, 0, i1, 0);
            OnXAxis(this, dbl, i1, dx);
        }
        return;
    case 19:
    case 20:
    case 21:
    case 22: {
        double number = 0;
        FLib.ChartGetElement(FChart, kGridHotSpotValue, i2, number);
        static const std::int32_t kType[] = {1, 2, 0, 3};
        if (OnGridNumber)
            OnGridNumber(this, dbl, kType[type - 19], i1, number);
        return;
    }
    default: // 23 .. 42
        if (OnTableAnnotation)
            OnTableAnnotation(this, dbl, type - 23, i1, i2);
        return;
    }
}

void GXSGraph::keyPressEvent(QKeyEvent *event)
{
    std::uint16_t key = VirtualKey(event->key());
    TShiftState shift = KeyShift(event->modifiers());
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    if (OnKeyPress && !event->text().isEmpty()) {
        char16_t c = event->text().at(0).unicode();
        OnKeyPress(this, c);
    }
    Forward(msg::KeyDown, key, 0);
}

void GXSGraph::keyReleaseEvent(QKeyEvent *event)
{
    std::uint16_t key = VirtualKey(event->key());
    if (OnKeyUp)
        OnKeyUp(this, key, KeyShift(event->modifiers()));
    Forward(msg::KeyUp, key, 0);
}

void GXSGraph::InvalidateFocusBand()
{
    QRect r = rect();
    update(QRegion(r).subtracted(QRegion(r.adjusted(2, 2, -2, -2))));
}

void GXSGraph::focusInEvent(QFocusEvent *event)
{
    InvalidateFocusBand();
    QWidget::focusInEvent(event);
    if (OnEnter)
        OnEnter(this);
}

void GXSGraph::focusOutEvent(QFocusEvent *event)
{
    InvalidateFocusBand();
    QWidget::focusOutEvent(event);
    if (OnExit)
        OnExit(this);
}

void GXSGraph::wheelEvent(QWheelEvent *event)
{
    if (isVisible()) {
        setFocus();
        update();
    }
    if (FChart != 0) {
        auto delta = std::int16_t(std::clamp(event->angleDelta().y(), -32768, 32767));
        std::uint32_t wParam = (std::uint32_t(std::uint16_t(delta)) << 16) |
                               KeysOf(event->buttons(), event->modifiers());
        FLib.ChartSendMessage(FChart, msg::MouseWheel, wParam, 0);
    }
}

// ---- notifications and scrolling ---------------------------------------------------------------

void GXSGraph::ChartNotify(HCHART source, std::int32_t code)
{
    WMCommand(std::uint32_t(code) << 16, source);
}

void GXSGraph::ChartInvalidate(HCHART, const ChartRect *r)
{
    if (!r)
        Invalidate();
    else
        update(QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1)));
}

void GXSGraph::WMCommand(std::uint32_t wParam, std::uint32_t lParam)
{
    FLastMessage[0] = msg::Command;
    FLastMessage[1] = wParam;
    FLastMessage[2] = lParam;
    FLastMessage[3] = 0;
    if (FChart == 0 || lParam != FChart)
        return; // only the chart's own notifications count
    const std::int32_t code = std::int32_t(wParam >> 16);
    switch (code) {
    case code::CustomGridNumbers:
        if (OnCustomGridnumbers) {
            auto rec = ReadRecord<CustomGridNumberRecord>(FLib, FChart, prop::CustomGridNumberData);
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
                FChart, prop::CustomGridNumberData,
                std::span(reinterpret_cast<const std::uint8_t *>(&rec), sizeof rec));
        }
        return;
    case code::CustomMenu:
        if (OnCustomMenu)
            OnCustomMenu(this, FLib.ChartGetInt(FChart, prop::CustomMenuIndex),
                         FLib.ChartGetInt(FChart, prop::CustomSubmenuIndex));
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
        if (OnParamUpdate)
            OnParamUpdate(this);
        return;
    default:
        return;
    }
}

void GXSGraph::CopyScrollBar(bool vertical)
{
    ChartScrollInfo info = FLib.ChartGetScrollInfo(FChart, vertical);
    GXScrollBar &bar = vertical ? FVertBar : FHorzBar;
    if (info.min == 1)
        bar = {info.min, info.max, info.page, info.pos, true};
    else
        bar = {}; // range 0..0 hides the bar
}

void GXSGraph::ScrollFromChart(bool vertical, std::uint32_t wParam, std::uint32_t lParam)
{
    if (isVisible()) {
        setFocus();
        update();
    }
    const std::int32_t scrollCode = std::int32_t(wParam & 0xFFFF);
    const std::int32_t pos = std::int16_t(wParam >> 16);
    if (FChart != 0 && lParam == FChart) {
        if (scrollCode == 8) // end of scroll
            return;
        (vertical ? FVertBar : FHorzBar).pos = pos;
        update();
        TScrollEvent &event = vertical ? OnVertScroll : OnHorzScroll;
        if (event) {
            std::int32_t p = pos; // a position the handler writes back is not used
            event(this, scrollCode, p);
        }
        return;
    }
    if (FChart != 0)
        FLib.ChartSendMessage(FChart, vertical ? msg::VScroll : msg::HScroll, wParam, 0);
}

void GXSGraph::WMVScroll(std::uint32_t wParam, std::uint32_t lParam)
{
    ScrollFromChart(true, wParam, lParam);
}

void GXSGraph::WMHScroll(std::uint32_t wParam, std::uint32_t lParam)
{
    ScrollFromChart(false, wParam, lParam);
}

// ---- actions ---------------------------------------------------------------------------------

void GXSGraph::SetGXactions(eGXactions action)
{
    FGXactions = action;
    const HCHART h = FChart;
    const ChartPair pair{FGXnarg1, FGXnarg2};
    switch (action) {
    case sgReinitAndReset:
        FLib.ChartReinitialize(h);
        FLib.ChartResetImage(h, 0, 0);
        Invalidate();
        break;
    case sgReinitialize:
        FLib.ChartReinitialize(h);
        break;
    case sgResetImage:
        FLib.ChartResetImage(h, FGXnarg1, FGXnarg2);
        break;
    case sgInvalidateImage:
        Invalidate();
        break;
    case sgMaximize:
        FLib.ChartMaximize(h);
        break;
    case sgCustomize:
        FLib.ChartCustomizeDialog(h);
        break;
    case sgExportDialog:
        FLib.ChartExportDialog(h);
        break;
    case sgTextExportDialog:
        FLib.ChartTextExportDialog(h, FGXnarg1, FGXstrarg1);
        break;
    case sgPrintDialog:
        FLib.ChartPrintDialog(h, FGXnarg1 == 0 && FGXnarg2 == 0 ? 1 : 0, &pair);
        break;
    case sgColorDialog:
        FLib.ChartColorDialog(h);
        break;
    case sgFontDialog:
        FLib.ChartFontDialog(h);
        break;
    case sgPopupMenu:
        FLib.ChartPopupMenu(h, &pair);
        break;
    case sgMetaToClip:
        FLib.ChartMetaToClip(h, &pair);
        break;
    case sgMetaToFile:
        FLib.ChartMetaToFile(h, &pair, FGXstrarg1);
        break;
    case sgBmpToClip:
        FLib.ChartBmpToClip(h, &pair);
        break;
    case sgBmpToFile:
        FLib.ChartBmpToFile(h, &pair, FGXstrarg1);
        break;
    case sgOleToClip:
        break; // nothing
    case sgReinitCustoms:
        FLib.ChartReinitCustoms(h);
        break;
    case sgPrintGraph:
        FLib.ChartPrintGraph(h, 0, 0, FLib.ChartGetInt(h, kDefOrientation));
        break;
    case sgUndoZoom:
        FLib.ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
        break;
    case sgReset:
        FLib.ChartReset(h);
        break;
    case sgJpegToClip:
        FLib.ChartJpegToClip(h, &pair);
        break;
    case sgJpegToFile:
        FLib.ChartJpegToFile(h, &pair, FGXstrarg1);
        break;
    case sgPngToClip:
        FLib.ChartPngToClip(h, &pair);
        break;
    case sgPngToFile:
        FLib.ChartPngToFile(h, &pair, FGXstrarg1);
        break;
    }
}
