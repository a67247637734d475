// The drawing and interaction side of the chart engine: the QPainter renderer used for the
// screen, printing and image files alike, hit tests, pixel/data conversion, rubber-band zoom
// and undo zoom, the chart's "window procedure" for forwarded input, the customise dialog,
// printing and export.
//
// A chart object gets its renderer state (a ChartView, attached to the object) on first use of
// any operation here; ChartCreateWithView creates an object and attaches it at once, so that
// PlotRect is valid before the first paint.
//
// All operations run on the GUI thread.
#pragma once

#include "platform/chartlib/chart_ids.h"
#include "platform/chartlib/chartlib.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <string>

class QPainter;
class QCursor;
class QWidget;

namespace chartlib {

class ChartObject;

// Where the chart reports what the user did, in place of the notify window (WM_COMMAND with
// the chart handle and a code) and the private invalidate message of the control.
class ChartSink {
public:
    virtual ~ChartSink() = default;
    // A notification: code as in ChartCode.
    virtual void ChartNotify(HCHART source, std::int32_t code) = 0;
    // The chart wants the control to repaint: rect null for the whole control, else the
    // rectangle in chart pixels.
    virtual void ChartInvalidate(HCHART source, const ChartRect *rect) = 0;
    // The chart scrolled its zoomed window (the scroll message a chart window sends with its
    // handle): code as in msg::SB_*, pos the bar's new position.
    virtual void ChartScrolled(HCHART source, bool vertical, std::int32_t code, std::int32_t pos) {}
};

// Notification codes the chart sends to its sink.
namespace code {
constexpr std::int32_t CursorMoved = 3953;
constexpr std::int32_t ParamUpdate = 3961;
constexpr std::int32_t ZoomIn = 3966;
constexpr std::int32_t ZoomOut = 3967;
constexpr std::int32_t PreCursorMove = 3973;
constexpr std::int32_t CustomizeDlg = 3974;
constexpr std::int32_t PopupMenu = 3975;
constexpr std::int32_t CustomGridNumbers = 3979;
constexpr std::int32_t CustomMenu = 3980;
constexpr std::int32_t PreHScroll = 3981;
constexpr std::int32_t PreVScroll = 3982;
} // namespace code

// Messages the control forwards to the chart (the values of the platform's window messages).
namespace msg {
constexpr std::uint32_t Command = 0x0111;
constexpr std::uint32_t HScroll = 0x0114;
constexpr std::uint32_t VScroll = 0x0115;
constexpr std::uint32_t KeyDown = 0x0100;
constexpr std::uint32_t KeyUp = 0x0101;
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LButtonDown = 0x0201;
constexpr std::uint32_t LButtonUp = 0x0202;
constexpr std::uint32_t LButtonDblClk = 0x0203;
constexpr std::uint32_t RButtonDown = 0x0204;
constexpr std::uint32_t RButtonUp = 0x0205;
constexpr std::uint32_t MButtonDown = 0x0207;
constexpr std::uint32_t MButtonUp = 0x0208;
constexpr std::uint32_t MouseWheel = 0x020A;
// wParam key state bits of mouse messages.
constexpr std::uint32_t MK_LBUTTON = 0x0001;
constexpr std::uint32_t MK_RBUTTON = 0x0002;
constexpr std::uint32_t MK_SHIFT = 0x0004;
constexpr std::uint32_t MK_CONTROL = 0x0008;
constexpr std::uint32_t MK_MBUTTON = 0x0010;
// lParam of mouse messages: x in the low word, y in the high word (signed 16 bits each).
constexpr std::int32_t MakePoint(int x, int y)
{
    return std::int32_t((std::uint32_t(std::uint16_t(std::int16_t(y))) << 16) |
                        std::uint16_t(std::int16_t(x)));
}
constexpr int PointX(std::int32_t lParam)
{
    return std::int16_t(std::uint32_t(lParam) & 0xFFFF);
}
constexpr int PointY(std::int32_t lParam)
{
    return std::int16_t(std::uint32_t(lParam) >> 16);
}
// Scroll codes (the low word of a scroll message's wParam; the high word is the position).
constexpr std::int32_t SB_LINEUP = 0;
constexpr std::int32_t SB_LINEDOWN = 1;
constexpr std::int32_t SB_PAGEUP = 2;
constexpr std::int32_t SB_PAGEDOWN = 3;
constexpr std::int32_t SB_THUMBPOSITION = 4;
constexpr std::int32_t SB_THUMBTRACK = 5;
constexpr std::int32_t SB_TOP = 6;
constexpr std::int32_t SB_BOTTOM = 7;
constexpr std::int32_t SB_ENDSCROLL = 8;
// The command the chart takes as undo zoom.
constexpr std::int32_t UndoZoomCommand = 53053;
} // namespace msg

// Hot-spot types the hit test reports in HotSpotData.
namespace hotspot {
constexpr std::int32_t None = 0;
constexpr std::int32_t Subset = 1;
constexpr std::int32_t Graph = 3;
constexpr std::int32_t Data = 5;
constexpr std::int32_t GraphAnnotation = 6;
constexpr std::int32_t VertLineAnnotation = 10;
constexpr std::int32_t MainTitle = 11;
constexpr std::int32_t SubTitle = 12;
} // namespace hotspot

// ---- Objects and images ----------------------------------------------------------------------

// ChartCreate with the renderer attached and the layout computed (PlotRect valid at once).
HCHART ChartCreateWithView(std::uint32_t typeOrOld, std::int32_t reserved, const ChartRect *rect,
                           WindowId parent, std::int32_t id);
// Attaches the renderer to an object made by the core's ChartCreate (and lays it out); false
// for an unknown handle.
bool ChartAttachView(HCHART h);
// The widget that owns the chart's dialogs and popup menu (none: they have no owner).
bool ChartSetParentWidget(HCHART h, QWidget *widget);
// The chart's sink (none: nothing is reported). Not owned.
bool ChartSetSink(HCHART h, ChartSink *sink);
// Device pixels per chart pixel of the cached screen image (0: the parent widget's, which is
// the default); false for an unknown handle.
bool ChartSetPixelRatio(HCHART h, double ratio);
// Size of the chart window in pixels; the layout follows at once. Sizes below 1 are raised
// to 1.
bool ChartMoveWindow(HCHART h, int width, int height);
// Rebuilds the cached image at the chart's size (the arguments are reserved).
bool ChartResetImage(HCHART h, std::int32_t a, std::int32_t b);
// A handle of the current image: 0 when none was built since the last change of size.
std::int32_t ChartGetImage(HCHART h);
// The cached image (null image when none).
QImage ChartCachedImage(HCHART h);
// Draws the whole chart into painter, fitted to target (in the painter's coordinates). Used
// for the screen, the printer and image files.
bool ChartDrawToDC(HCHART h, QPainter &painter, const QRect &target);
// The last step of a paint: draws what lies over the image (the zoom band).
bool ChartFinishPaint(HCHART h, QPainter &painter);
// Renders the chart into a new image of the given size (chart size when width or height is 0).
QImage ChartRenderImage(HCHART h, int width = 0, int height = 0);

// ---- Hit test, conversion, input --------------------------------------------------------------

// Fills HotSpotData (and GraphHotSpotData for the graph area) for the pixel (x, y); returns
// the hot-spot type.
std::int32_t ChartHitTest(HCHART h, std::int32_t x, std::int32_t y);
// dir 0: pixel (x, y) to data (dx, dy); dir 1: data to pixel. axis selects the Y axis (only 0
// is drawn); right and top choose the right Y and top X axis, which share the ranges of the
// left and bottom axes. Uses the current (zoomed) ranges.
bool ChartConvertPoint(HCHART h, std::int32_t *axis, std::int32_t *x, std::int32_t *y, double *dx,
                       double *dy, std::int32_t right, std::int32_t top, std::int32_t dir);
// The chart window's handling of one forwarded message (mouse, keys, wheel, scroll, commands).
std::int32_t ChartSendMessage(HCHART h, std::uint32_t message, std::uint32_t wParam,
                              std::int32_t lParam);
// True while a zoom is in force.
bool ChartIsZoomed(HCHART h);
// Scroll bar of the chart window. While a zoom is in force and ScrollingHorzZoom (for the
// horizontal bar) or ScrollingVertZoom (vertical) is on, the bar runs from 1 to
// kChartScrollUnits over the unzoomed range, its page is the zoomed window and its position
// the window's left (or top) end; otherwise everything is 0, which hides the control's bar.
// A scroll message sent to the chart (ChartSendMessage with msg::HScroll or msg::VScroll)
// moves the window: the chart tells its sink PreHScroll or PreVScroll first, then redraws and
// reports the new position through ChartScrolled.
constexpr std::int32_t kChartScrollUnits = 1000;
struct ChartScrollInfo {
    std::int32_t min = 0, max = 0, page = 0, pos = 0;
};
ChartScrollInfo ChartGetScrollInfo(HCHART h, bool vertical);

// ---- Cursors ---------------------------------------------------------------------------------

// ArrowCursor codes: 1 the arrow, 2 the text cursor; other values are handles made by
// ChartRegisterCursor. Any other value (a stale handle from a file) gives the arrow.
std::int32_t ChartRegisterCursor(const QCursor &cursor);
QCursor ChartCursorFor(std::int32_t code);
// The cursor the chart wants over the pixel it last saw (ArrowCursor; the zoom cursor while a
// band is drawn).
QCursor ChartCurrentCursor(HCHART h);

} // namespace chartlib
