// The chart's handling of input: hit tests (what lies under a pixel), the rubber-band zoom and
// its undo, and the messages the control forwards (mouse, keys, commands).
#include "platform/chartlib/render/chart_view.h"

#include "platform/chartlib/render/chart_view_parts.h"
#include "platform/chartlib/render/render_props.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace chartlib {

using namespace parts;

// ---- zoom and hit test ----------------------------------------------------------------------

void ChartView::ZoomTo(Range x, Range y)
{
    FZoom = std::make_pair(Widened(x, FFrame.dateTime), Widened(y, false));
}

void ChartView::UndoZoom()
{
    FZoom.reset();
}

namespace {

// Where a zoomed window [z] lies in the whole range [u] as a bar of kChartScrollUnits: page
// and first position (1-based); reversed for the vertical bar, whose top is the highest value.
ChartScrollInfo BarOf(Range u, Range z, bool reversed)
{
    const double whole = u.max - u.min, width = z.max - z.min;
    if (!(whole > 0.0) || !(width > 0.0) || width >= whole * (1.0 - 1e-9))
        return {};
    constexpr int n = kChartScrollUnits;
    const int page = std::clamp(int(std::lround(n * width / whole)), 1, n - 1);
    const double offset = reversed ? u.max - z.max : z.min - u.min;
    const int pos = 1 + std::clamp(int(std::lround(n * offset / whole)), 0, n - page);
    return {1, n, page, pos};
}

} // namespace

ChartScrollInfo ChartView::ScrollInfo(bool vertical) const
{
    if (!FZoom || !FlagOf(FObject, vertical ? rprop::ScrollingVertZoom : rprop::ScrollingHorzZoom))
        return {};
    Range x, y;
    UnzoomedRanges(x, y);
    return vertical ? BarOf(y, FZoom->second, true) : BarOf(x, FZoom->first, false);
}

void ChartView::Scroll(bool vertical, std::int32_t code, std::int32_t thumb)
{
    const ChartScrollInfo bar = ScrollInfo(vertical);
    if (bar.min != 1 || code == msg::SB_ENDSCROLL)
        return;
    const int last = bar.max - bar.page + 1, line = std::max(1, bar.page / 10);
    int pos = bar.pos;
    switch (code) {
    case msg::SB_LINEUP:
        pos -= line;
        break;
    case msg::SB_LINEDOWN:
        pos += line;
        break;
    case msg::SB_PAGEUP:
        pos -= bar.page;
        break;
    case msg::SB_PAGEDOWN:
        pos += bar.page;
        break;
    case msg::SB_THUMBPOSITION:
    case msg::SB_THUMBTRACK:
        pos = thumb;
        break;
    case msg::SB_TOP:
        pos = 1;
        break;
    case msg::SB_BOTTOM:
        pos = last;
        break;
    default:
        return;
    }
    pos = std::clamp(pos, 1, last);
    Notify(vertical ? code::PreVScroll : code::PreHScroll);
    if (!FZoom) // the notification's handler undid the zoom
        return;
    // The window keeps its width and moves to the position (the last one ends at the data's
    // end exactly).
    Range x, y;
    UnzoomedRanges(x, y);
    Range &z = vertical ? FZoom->second : FZoom->first;
    const Range u = vertical ? y : x;
    const double width = z.max - z.min, whole = u.max - u.min;
    const double offset = pos == last ? whole - width : (pos - 1) * whole / bar.max;
    if (vertical)
        z = {u.max - offset - width, u.max - offset};
    else
        z = {u.min + offset, u.min + offset + width};
    ResetImage();
    RequestRepaint();
    if (sink)
        sink->ChartScrolled(FObject.Handle(), vertical, code, pos);
}

std::int32_t ChartView::HitTest(int x, int y)
{
    const ChartObject &o = FObject;
    const ChartFrame &f = FFrame;
    HotSpotRecord rec{};
    auto finish = [&](std::int32_t type, std::int32_t i1, std::int32_t i2) {
        rec.type = type;
        rec.index1 = i1;
        rec.index2 = i2;
        FObject.SetRecord(prop::HotSpotData, rec);
        return type;
    };
    const bool inPlot =
        x >= f.plot.left() && x <= f.plot.right() && y >= f.plot.top() && y <= f.plot.bottom();
    // Vertical line annotations (the cursors).
    if (FlagOf(o, rprop::ShowVertLineAnnotations) && FlagOf(o, rprop::AllowVertLineAnnotHotSpots) &&
        inPlot) {
        std::size_t n = ArrayLength(o, rprop::VertLineAnnotation);
        for (std::size_t k = n; k-- > 0;) {
            double px = std::round(f.PixelX(o.GetElement(rprop::VertLineAnnotation, int(k))));
            if (std::fabs(px - x) <= 3.0)
                return finish(hotspot::VertLineAnnotation, std::int32_t(k), 0);
        }
    }
    // Graph annotations.
    if (FlagOf(o, rprop::ShowGraphAnnotations) && FlagOf(o, rprop::AllowGraphAnnotHotSpots)) {
        std::size_t n = ArrayLength(o, rprop::GraphAnnotationX);
        QFontMetrics fm(f.style.annotation);
        for (std::size_t k = n; k-- > 0;) {
            auto i = std::int32_t(k);
            std::optional<PlacedAnnotation> a = PlaceGraphAnnotation(o, f, i);
            if (!a)
                continue;
            AnnotationGeometry g = GeometryOf(fm, f.plot, *a);
            QPointF pt(x, y);
            if (g.symbol.adjusted(-2, -2, 2, 2).contains(pt) || g.text.contains(pt))
                return finish(hotspot::GraphAnnotation, i, 0);
        }
    }
    // Data points.
    if (FlagOf(o, rprop::AllowDataHotSpots) && inPlot &&
        std::int64_t(o.Subsets()) * o.Points() <= IntOr(o, 3251, 900000)) {
        static const double kRadius[] = {4.0, 6.0, 9.0};
        double r = kRadius[std::clamp(IntOr(o, rprop::HotSpotSize, 0), 0, 2)];
        double nullY = 0.0;
        bool hasNull = o.GetDouble(rprop::NullDataValueY, nullY);
        double best = r * r + 1e-9;
        std::int32_t bs = -1, bp = -1;
        for (std::int32_t s = 0; s < o.Subsets(); ++s) {
            auto xs = o.DataRow(0, s);
            auto ys = o.DataRow(1, s);
            bool index = xs.empty() && !f.dateTime;
            for (std::int32_t i = 0; i < o.Points(); ++i) {
                double xv = index ? i + 1.0 : (std::size_t(i) < xs.size() ? xs[i] : 0.0);
                double yv = std::size_t(i) < ys.size() ? ys[i] : 0.0;
                if ((f.dateTime && xv == 0.0) || (hasNull && yv == nullY))
                    continue;
                double dx = f.PixelX(xv) - x;
                if (std::fabs(dx) > r)
                    continue;
                double dy = f.PixelY(yv) - y;
                double d = dx * dx + dy * dy;
                if (d < best) {
                    best = d;
                    bs = s;
                    bp = i;
                }
            }
        }
        if (bs >= 0)
            return finish(hotspot::Data, bs, bp);
    }
    // Legend entries.
    if (FlagOf(o, rprop::AllowSubsetHotSpots))
        for (std::size_t k = 0; k < f.legendRects.size(); ++k)
            if (f.legendRects[k].contains(x, y))
                return finish(hotspot::Subset, f.legendSubsets[k], 0);
    if (FlagOf(o, rprop::AllowTitleHotSpots) && f.mainTitleRect.contains(x, y))
        return finish(hotspot::MainTitle, 0, 0);
    if (FlagOf(o, rprop::AllowSubTitleHotSpots) && f.subTitleRect.contains(x, y))
        return finish(hotspot::SubTitle, 0, 0);
    if (FlagOf(o, rprop::AllowGraphHotSpots) && inPlot) {
        GraphHotSpotRecord g{0, 0, f.DataX(x), f.DataY(y)};
        FObject.SetRecord(prop::GraphHotSpotData, g);
        return finish(hotspot::Graph, 0, 0);
    }
    return finish(hotspot::None, 0, 0);
}

QRect ChartView::BandRect() const
{
    return QRect(FBandStart, FBandEnd).normalized();
}

void ChartView::Notify(std::int32_t code)
{
    if (sink)
        sink->ChartNotify(FObject.Handle(), code);
}

void ChartView::RequestRepaint()
{
    if (sink)
        sink->ChartInvalidate(FObject.Handle(), nullptr);
}

void ChartView::FinishBand(QPoint end)
{
    FBanding = false;
    FBandEnd = end;
    QRect band = BandRect();
    int mode = IntOr(FObject, rprop::AllowZooming, 0);
    const ChartFrame &f = FFrame;
    Range x = f.x, y = f.y;
    bool horizontal = mode == 1 || mode == 3;
    bool vertical = mode == 2 || mode == 3;
    bool zoom = false;
    if (horizontal && band.width() >= 3) {
        x = {f.DataX(std::max(band.left(), f.plot.left())),
             f.DataX(std::min(band.right(), f.plot.right()))};
        zoom = true;
    }
    if (vertical && band.height() >= 3) {
        y = {f.DataY(std::min(band.bottom(), f.plot.bottom())),
             f.DataY(std::max(band.top(), f.plot.top()))};
        zoom = true;
    }
    if (zoom && x.max > x.min && y.max > y.min) {
        ZoomTo(x, y);
        ResetImage();
        RequestRepaint();
        Notify(code::ZoomIn);
        Notify(code::ParamUpdate); // the scroll bars changed
        return;
    }
    RequestRepaint(); // the band disappears
}

std::int32_t ChartView::HandleMessage(std::uint32_t message, std::uint32_t wParam,
                                      std::int32_t lParam)
{
    const int ui = IntOr(FObject, rprop::AllowUserInterface, 1);
    const bool mouseAllowed = ui != 0 && ui != 3;
    QPoint pt(msg::PointX(lParam), msg::PointY(lParam));
    auto setMouse = [&]() { FObject.SetRecord(prop::MousePoint, PointRecord{pt.x(), pt.y()}); };
    switch (message) {
    case msg::MouseMove:
        setMouse();
        HitTest(pt.x(), pt.y());
        if (FBanding) {
            FBandEnd = pt;
            RequestRepaint();
        }
        return 0;
    case msg::LButtonDown: {
        setMouse();
        std::int32_t type = HitTest(pt.x(), pt.y());
        if (!mouseAllowed || type != hotspot::None || FBanding)
            return 0;
        if (IntOr(FObject, rprop::AllowZooming, 0) != 0 && FFrame.plot.contains(pt) &&
            !(wParam & (msg::MK_SHIFT | msg::MK_CONTROL))) {
            FBanding = true;
            FBandStart = FBandEnd = pt;
        }
        return 0;
    }
    case msg::LButtonDblClk:
        setMouse();
        HitTest(pt.x(), pt.y());
        return 0;
    case msg::LButtonUp:
        setMouse();
        if (FBanding)
            FinishBand(pt);
        return 0;
    case msg::RButtonDown:
        setMouse();
        HitTest(pt.x(), pt.y());
        if (FBanding) {
            FBanding = false;
            RequestRepaint();
            return 0;
        }
        if (mouseAllowed && FlagOf(FObject, rprop::AllowPopup, true))
            PopupMenu(pt);
        return 0;
    case msg::KeyDown:
        if (wParam == 0x1B && FBanding) { // Escape ends a band without zooming
            FBanding = false;
            RequestRepaint();
        }
        return 0;
    case msg::HScroll:
    case msg::VScroll:
        Scroll(message == msg::VScroll, std::int32_t(wParam & 0xFFFF), std::int16_t(wParam >> 16));
        return 0;
    case msg::Command:
        if ((wParam & 0xFFFF) == std::uint32_t(msg::UndoZoomCommand)) {
            bool was = Zoomed();
            UndoZoom();
            ResetImage();
            RequestRepaint();
            if (was) {
                Notify(code::ZoomOut);
                Notify(code::ParamUpdate);
            }
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace chartlib
