#include "platform/chartlib/render/chart_render.h"

#include "platform/chartlib/render/chart_view.h"
#include "platform/chartlib/render/render_props.h"

#include <QCursor>
#include <QPainter>

#include <algorithm>
#include <map>

namespace chartlib {

ChartView *ViewOf(HCHART h)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return nullptr;
    if (auto *v = dynamic_cast<ChartView *>(o->Attachment()))
        return v;
    auto view = std::make_unique<ChartView>(*o);
    ChartView *raw = view.get();
    o->SetAttachment(std::move(view));
    raw->Relayout();
    return raw;
}

HCHART ChartCreateWithView(std::uint32_t typeOrOld, std::int32_t reserved, const ChartRect *rect,
                           WindowId parent, std::int32_t id)
{
    HCHART h = ChartCreate(typeOrOld, reserved, rect, parent, id);
    if (ChartView *v = ViewOf(h)) {
        v->Relayout();
        v->InvalidateImage();
    }
    return h;
}

bool ChartAttachView(HCHART h)
{
    return ViewOf(h) != nullptr;
}

bool ChartSetParentWidget(HCHART h, QWidget *widget)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    v->parentWidget = widget;
    return true;
}

bool ChartSetSink(HCHART h, ChartSink *sink)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    v->sink = sink;
    return true;
}

bool ChartSetPixelRatio(HCHART h, double ratio)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    v->SetPixelRatio(ratio);
    v->InvalidateImage();
    return true;
}

bool ChartMoveWindow(HCHART h, int width, int height)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    ChartObject &o = v->Object();
    constexpr int kMaxSide = 16384; // the image is held in memory
    ChartRect r{0, 0, std::clamp(width, 1, kMaxSide), std::clamp(height, 1, kMaxSide)};
    const ChartRect &old = o.Rect();
    if (old.right - old.left == r.right && old.bottom - old.top == r.bottom)
        return true;
    o.Recreate(r, o.Parent(), o.ControlId());
    v->Relayout();
    v->InvalidateImage();
    return true;
}

bool ChartResetImage(HCHART h, std::int32_t, std::int32_t)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    v->ResetImage();
    return true;
}

std::int32_t ChartGetImage(HCHART h)
{
    ChartView *v = ViewOf(h);
    return v ? v->ImageHandle() : 0;
}

QImage ChartCachedImage(HCHART h)
{
    ChartView *v = ViewOf(h);
    return v && v->ImageHandle() ? v->Image() : QImage();
}

bool ChartDrawToDC(HCHART h, QPainter &painter, const QRect &target)
{
    ChartView *v = ViewOf(h);
    if (!v || target.isEmpty())
        return false;
    // The chart is laid out at the target's size in logical pixels of 1/96 inch, so that a
    // printed page shows the same proportions of text and lines as the screen.
    double dpi = painter.device() ? painter.device()->logicalDpiX() : 96.0;
    double scale = std::max(1.0, dpi / 96.0);
    QSize logical(std::max(1, int(target.width() / scale)),
                  std::max(1, int(target.height() / scale)));
    ChartFrame f = v->BuildFrame(logical);
    f.penScale = double(target.width()) / logical.width();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / logical.width(),
                  double(target.height()) / logical.height());
    v->Draw(painter, f);
    painter.restore();
    return true;
}

bool ChartFinishPaint(HCHART h, QPainter &painter)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    if (v->Banding()) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(v->BandRect());
        painter.restore();
    }
    return true;
}

QImage ChartRenderImage(HCHART h, int width, int height)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return {};
    const ChartRect &r = v->Object().Rect();
    QSize size(width > 0 ? width : r.right - r.left, height > 0 ? height : r.bottom - r.top);
    size = size.expandedTo(QSize(1, 1)).boundedTo(QSize(16384, 16384));
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    v->Draw(p, v->BuildFrame(size));
    p.end();
    return img;
}

std::int32_t ChartHitTest(HCHART h, std::int32_t x, std::int32_t y)
{
    ChartView *v = ViewOf(h);
    return v ? v->HitTest(x, y) : 0;
}

bool ChartConvertPoint(HCHART h, std::int32_t *axis, std::int32_t *x, std::int32_t *y, double *dx,
                       double *dy, std::int32_t, std::int32_t, std::int32_t dir)
{
    ChartView *v = ViewOf(h);
    if (!v || !x || !y || !dx || !dy)
        return false;
    if (axis)
        *axis = 0; // one Y axis is drawn
    const ChartFrame &f = v->Frame();
    if (dir == 0) {
        *dx = f.DataX(*x);
        *dy = f.DataY(*y);
        return true;
    }
    auto toInt = [](double p) { return std::int32_t(std::clamp(std::round(p), -2.0e9, 2.0e9)); };
    *x = toInt(f.PixelX(*dx));
    *y = toInt(f.PixelY(*dy));
    return true;
}

std::int32_t ChartSendMessage(HCHART h, std::uint32_t message, std::uint32_t wParam,
                              std::int32_t lParam)
{
    ChartView *v = ViewOf(h);
    return v ? v->HandleMessage(message, wParam, lParam) : 0;
}

bool ChartIsZoomed(HCHART h)
{
    ChartView *v = ViewOf(h);
    return v && v->Zoomed();
}

ChartScrollInfo ChartGetScrollInfo(HCHART h, bool vertical)
{
    ChartView *v = ViewOf(h);
    return v ? v->ScrollInfo(vertical) : ChartScrollInfo{};
}

namespace {
struct CursorRegistry {
    std::map<std::int32_t, QCursor> cursors;
    std::int32_t next = 0x00020001;
};
CursorRegistry &Cursors()
{
    static CursorRegistry r;
    return r;
}
} // namespace

std::int32_t ChartRegisterCursor(const QCursor &cursor)
{
    CursorRegistry &r = Cursors();
    std::int32_t handle = r.next++;
    r.cursors.emplace(handle, cursor);
    return handle;
}

QCursor ChartCursorFor(std::int32_t code)
{
    if (code == 2)
        return QCursor(Qt::IBeamCursor);
    auto &map = Cursors().cursors;
    auto it = map.find(code);
    return it == map.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

QCursor ChartCurrentCursor(HCHART h)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return QCursor(Qt::ArrowCursor);
    if (v->Banding())
        return QCursor(Qt::CrossCursor);
    return ChartCursorFor(v->Object().GetInt(rprop::ArrowCursor));
}

} // namespace chartlib
