// Drawing of one laid-out frame: desk, plot, grid, subsets through the column reduction,
// annotations, axes and the placed texts. The same path serves the screen, printing and image
// files; lines and annotation marks are antialiased, axis-parallel lines are not.
#include "platform/chartlib/render/chart_view.h"

#include "platform/chartlib/render/chart_view_parts.h"
#include "platform/chartlib/render/render_props.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace chartlib {

using namespace parts;

namespace {

// The desk colour in the four bands around the plot's area.
void FillDeskAround(QPainter &p, const ChartFrame &f, const QRect &area)
{
    const int w = f.size.width(), h = f.size.height();
    p.fillRect(QRect(0, 0, w, area.top()), f.style.desk);
    p.fillRect(QRect(0, area.bottom() + 1, w, h - area.bottom() - 1), f.style.desk);
    p.fillRect(QRect(0, area.top(), area.left(), area.height()), f.style.desk);
    p.fillRect(QRect(area.right() + 1, area.top(), w - area.right() - 1, area.height()),
               f.style.desk);
}

} // namespace

void ChartView::Draw(QPainter &p, const ChartFrame &f) const
{
    DrawLayer(p, f, nullptr);
    if (HasOverlays())
        DrawOverlays(p, f, nullptr);
}

void ChartView::DrawLayer(QPainter &p, const ChartFrame &f, raster::PlotCanvas *canvas) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QRect area = f.plot.adjusted(0, 0, 1, 1);
    if (canvas) { // whole device pixels: the desk around the plot is all there is to fill
        FillDeskAround(p, f, area);
    } else {
        p.fillRect(QRect(QPoint(0, 0), f.size), f.style.desk);
    }
    p.fillRect(area, f.style.graphBack);
    if (!f.style.gridInFront)
        DrawGrid(p, f);
    if (canvas) // what the fill and the grid were drawn from
        canvas->SaveBackground(BackgroundKey(f));
    DrawPlotContents(p, f, canvas);
    DrawTitles(p, f);
    p.restore();
}

std::vector<double> ChartView::BackgroundKey(const ChartFrame &f)
{
    const ChartStyle &st = f.style;
    std::vector<double> key = {f.penScale,
                               double(f.plot.left()),
                               double(f.plot.top()),
                               double(f.plot.right()),
                               double(f.plot.bottom()),
                               f.x.min,
                               f.x.max,
                               f.y.min,
                               f.y.max,
                               double(st.graphBack.rgba()),
                               double(st.grid.rgba()),
                               double(st.gridStyle),
                               double(st.gridControl),
                               double(st.gridInFront)};
    for (const std::vector<Tick> *ticks : {&f.xTicks, &f.yTicks}) {
        key.push_back(double(ticks->size()));
        for (const Tick &t : *ticks)
            key.push_back(t.value);
    }
    return key;
}

std::vector<double> ChartView::PlotKey(const ChartFrame &f)
{
    std::vector<double> key = BackgroundKey(f);
    const ChartStyle &st = f.style;
    for (const QColor &c : {st.graphFore, st.yAxis, st.xAxis, st.text})
        key.push_back(double(c.rgba()));
    key.push_back(double(st.mono));
    key.push_back(double(f.dateTime));
    return key;
}

void ChartView::DrawAroundPlot(QPainter &p, const ChartFrame &f) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QRect area = f.plot.adjusted(0, 0, 1, 1);
    const int w = f.size.width(), h = f.size.height();
    FillDeskAround(p, f, area);
    // The grid and the axes in the order a whole drawing gives them, clipped to the desk:
    // what falls on the plot is in its kept pixels.
    p.setClipRegion(QRegion(0, 0, w, h) - QRegion(area));
    DrawGrid(p, f);
    DrawAxes(p, f);
    p.setClipping(false);
    DrawTitles(p, f);
    p.restore();
}

void ChartView::DrawPlotContents(QPainter &p, const ChartFrame &f, raster::PlotCanvas *canvas,
                                 const raster::OpaquePixels *frame,
                                 std::vector<SubsetTrace> *traces) const
{
    DrawSubsets(p, f, canvas, traces);
    const bool put = frame && canvas;
    if (f.style.gridInFront) {
        // Where the grid reaches beyond the plot, the axes drawn last lie over it: with the
        // axes put inside the plot only, what lies outside is left as it was.
        p.save();
        if (put)
            p.setClipRect(f.plot.adjusted(0, 0, 1, 1));
        DrawGrid(p, f);
        p.restore();
    }
    if (put)
        frame->Put(canvas->Pixels());
    else
        DrawAxes(p, f);
}

bool ChartView::FrameOf(const ChartFrame &f, const QRect &plotPixels,
                        raster::OpaquePixels &out) const
{
    out.pixels.clear();
    const int scale = std::max(1, int(f.penScale));
    const int band = 3 * scale; // the axes lie on the edges, a pixel or two wide
    const QRect &a = plotPixels;
    if (a.width() < 3 * band || a.height() < 3 * band)
        return false;
    // Bands along the four edges, inside the plot; where the axes reach the inner side of one,
    // they may reach further.
    struct Band {
        QRect rect;
        bool vertical; // the inner side is a column (else a row)
        int inner;     // its x or y in the band
    };
    const Band bands[] = {{QRect(a.left(), a.top(), a.width(), band), false, band - 1},
                          {QRect(a.left(), a.bottom() - band + 1, a.width(), band), false, 0},
                          {QRect(a.left(), a.top(), band, a.height()), true, band - 1},
                          {QRect(a.right() - band + 1, a.top(), band, a.height()), true, 0}};
    constexpr QRgb kGrounds[2] = {0xFF000000u, 0xFFFFFFFFu};
    for (const Band &b : bands) {
        QImage drawn[2];
        for (int k = 0; k < 2; ++k) {
            drawn[k] = QImage(b.rect.size(), QImage::Format_RGB32);
            drawn[k].fill(kGrounds[k]);
            drawn[k].setDevicePixelRatio(f.penScale);
            QPainter p(&drawn[k]);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.translate(-b.rect.left() / scale, -b.rect.top() / scale); // whole chart pixels
            DrawAxes(p, f);
        }
        for (int y = 0; y < b.rect.height(); ++y) {
            const auto *p0 = reinterpret_cast<const QRgb *>(drawn[0].constScanLine(y));
            const auto *p1 = reinterpret_cast<const QRgb *>(drawn[1].constScanLine(y));
            for (int x = 0; x < b.rect.width(); ++x) {
                const bool touched = p0[x] != kGrounds[0] || p1[x] != kGrounds[1];
                if (!touched)
                    continue;
                // The inner side, away from the bands across it (where the edges meet).
                const bool inner = b.vertical ? x == b.inner && y >= band && y < a.height() - band
                                              : y == b.inner && x >= band && x < a.width() - band;
                if (p0[x] != p1[x] || inner) {
                    out.pixels.clear();
                    return false;
                }
                out.pixels.push_back({b.rect.left() + x, b.rect.top() + y, p0[x]});
            }
        }
    }
    return true;
}

bool ChartView::HasOverlays() const
{
    const ChartObject &o = FObject;
    return (FlagOf(o, rprop::ShowVertLineAnnotations) &&
            ArrayLength(o, rprop::VertLineAnnotation) > 0) ||
           (FlagOf(o, rprop::ShowGraphAnnotations) && ArrayLength(o, rprop::GraphAnnotationX) > 0);
}

void ChartView::DrawOverlays(QPainter &p, const ChartFrame &f, const OverlayHook *before) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    DrawVertLines(p, f, before);
    DrawGraphAnnotations(p, f, before);
    DrawAxes(p, f);
    p.restore();
}

void ChartView::DrawGrid(QPainter &p, const ChartFrame &f) const
{
    const ChartStyle &s = f.style;
    if (s.gridControl == 3)
        return;
    QPen pen(s.grid, f.penScale);
    pen.setCosmetic(true);
    switch (s.gridStyle) {
    case 1:
        pen.setWidthF(2.0 * f.penScale);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashLine);
        break;
    case 4:
        pen.setDashPattern({1.0, 3.0});
        break;
    default:
        break;
    }
    p.setPen(pen);
    if (s.gridControl == 0 || s.gridControl == 1)
        for (const Tick &t : f.yTicks) {
            double y = std::round(f.PixelY(t.value));
            p.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
        }
    if (s.gridControl == 0 || s.gridControl == 2)
        for (const Tick &t : f.xTicks) {
            double x = std::round(f.PixelX(t.value));
            p.drawLine(QPointF(x, f.plot.top()), QPointF(x, f.plot.bottom()));
        }
}

std::vector<ChartView::SubsetTrace> ChartView::TraceSubsets(const ChartFrame &f, bool canvas) const
{
    const ChartObject &o = FObject;
    const ColumnMapping map = f.Mapping();
    const int scale = canvas ? int(f.penScale) : 1;
    ReduceInput in;
    in.points = o.Points();
    in.skipZeroX = f.dateTime;
    in.hasNull = o.GetDouble(rprop::NullDataValueY, in.nullY);
    in.gaps = FlagOf(o, rprop::NullDataGaps);
    std::vector<SubsetTrace> traces(std::size_t(std::max(0, o.Subsets())));
    for (std::int32_t s = 0; s < o.Subsets(); ++s) {
        SubsetTrace &t = traces[std::size_t(s)];
        std::vector<QPointF> &line = t.trace.line;
        std::vector<std::size_t> &pieces = t.trace.pieces; // where each unbroken piece starts
        in.xs = o.DataRow(0, s);
        in.ys = o.DataRow(1, s);
        in.useIndexX = in.xs.empty() && !f.dateTime;
        in.xAscending = o.XAscending(s);
        t.pen = SubsetPen(o, f, s);
        // A solid line's runs that span rows are filled as crisp column bars, which is what
        // makes a dense trace look right; the line through the runs' first and last points is
        // smoothed. Patterned lines are drawn through every run's points.
        const bool bars = t.pen.style() == Qt::SolidLine;
        in.extremesOrder = !bars;
        std::vector<std::size_t> breaks;
        std::vector<ColumnRun> runs = ReduceToColumns(in, map, &breaks);
        const int barWidth = std::max(1, int(std::lround(t.pen.widthF() / f.penScale)));
        std::size_t nextBreak = 0;
        line.reserve(runs.size() * (bars ? 2 : 4));
        pieces.assign(1, 0);
        for (std::size_t k = 0; k < runs.size(); ++k) {
            if (nextBreak < breaks.size() && breaks[nextBreak] == k) {
                if (line.size() > pieces.back())
                    pieces.push_back(line.size());
                ++nextBreak;
            }
            const ColumnRun &r = runs[k];
            double cx = std::floor(r.firstX) + 0.5; // the column's centre: a crisp span
            line.emplace_back(r.firstX, r.firstY);
            if (r.minY != r.maxY) {
                if (bars) // whole pixels: filled without any blending
                    t.spans.emplace_back(QPoint(int(cx) - barWidth / 2, int(std::lround(r.minY))),
                                         QSize(barWidth, int(std::lround(r.maxY - r.minY)) + 1));
                else if (r.minFirst)
                    line.insert(line.end(), {QPointF(cx, r.minY), QPointF(cx, r.maxY)});
                else
                    line.insert(line.end(), {QPointF(cx, r.maxY), QPointF(cx, r.minY)});
            }
            if (r.lastX != r.firstX || r.lastY != r.firstY)
                line.emplace_back(r.lastX, r.lastY);
        }
        pieces.push_back(line.size());

        // Straight into the screen image where that gives QPainter's pixels: an opaque colour,
        // and for the line the thin smoothed pen at one device pixel per chart pixel.
        const QColor color = t.pen.color();
        const bool direct = canvas && color.alpha() == 255;
        if (direct) {
            t.trace.bars.reserve(t.spans.size());
            for (const QRect &r : t.spans)
                t.trace.bars.emplace_back(r.x() * scale, r.y() * scale, r.width() * scale,
                                          r.height() * scale);
        }
        t.trace.rgb = color.rgb() & 0xFFFFFFu;
        t.directBars = direct;
        t.trace.direct =
            direct && scale == 1 && bars && t.pen.isCosmetic() && t.pen.widthF() == 1.0 &&
            std::adjacent_find(pieces.begin(), pieces.end(), [](std::size_t a, std::size_t b) {
                return b - a == 1;
            }) == pieces.end();
    }
    return traces;
}

void ChartView::DrawSubsets(QPainter &p, const ChartFrame &f, raster::PlotCanvas *canvas,
                            std::vector<SubsetTrace> *traced) const
{
    std::vector<SubsetTrace> traces =
        traced ? std::move(*traced) : TraceSubsets(f, canvas != nullptr);
    p.save();
    p.setClipRect(f.plot.adjusted(0, 0, 1, 1));
    raster::ColumnSpans cover; // the device pixels the bars fill
    const raster::Target &target = canvas ? canvas->Pixels() : raster::Target{};
    for (SubsetTrace &t : traces) {
        if (t.trace.direct) { // all of it straight into the screen image's pixels
            raster::DrawTrace(target, t.trace, cover, canvas->drawn);
            continue;
        }
        const std::vector<QPointF> &line = t.trace.line;
        const std::vector<std::size_t> &pieces = t.trace.pieces;
        p.setPen(t.pen);
        p.setRenderHint(QPainter::Antialiasing, true);
        for (std::size_t k = 0; k + 1 < pieces.size(); ++k) {
            const std::size_t from = pieces[k], count = pieces[k + 1] - from;
            if (count == 1)
                p.drawPoint(line[from]);
            else if (count > 1)
                p.drawPolyline(line.data() + from, int(count));
            if (canvas && count > 0)
                canvas->drawnAll = true; // not counted column by column
        }
        if (t.directBars) {
            raster::FillRects(target, t.trace.bars, t.trace.rgb, canvas->drawn);
        } else if (!t.spans.empty()) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::NoPen);
            p.setBrush(t.pen.color());
            p.drawRects(t.spans.data(), int(t.spans.size()));
            p.setBrush(Qt::NoBrush);
            if (canvas)
                canvas->drawnAll = true;
        }
    }
    p.restore();
    if (canvas) { // what the plot holds now, for the next change of the data
        canvas->traces.clear();
        for (SubsetTrace &t : traces)
            canvas->traces.push_back(std::move(t.trace));
    }
}

bool ChartView::RedrawChangedColumns(raster::PlotCanvas &canvas, raster::ColumnSpans &last,
                                     std::vector<SubsetTrace> &traces) const
{
    std::vector<raster::Trace> now;
    now.reserve(traces.size());
    for (SubsetTrace &t : traces)
        now.push_back(std::move(t.trace));
    const raster::Target &all = canvas.Pixels();
    const std::optional<raster::Columns> changed =
        raster::ChangedColumns(canvas.traces, now, all.clip);
    // Beyond a third of the plot, drawing it all is as quick.
    if (!changed || changed->Width() > all.clip.width() / 3) {
        for (std::size_t k = 0; k < now.size(); ++k)
            traces[k].trace = std::move(now[k]);
        return false;
    }
    canvas.drawn = std::move(last);
    if (!changed->Empty()) {
        canvas.RedrawColumns(*changed, now);
        FAxesPixels.Put(all, *changed);
    }
    canvas.traces = std::move(now);
    return true;
}

namespace {

void DrawLines(QPainter &p, const QFontMetrics &fm, QPointF origin, const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(origin.x(), origin.y() + double(i) * fm.height()), lines[i]);
}

} // namespace

void ChartView::DrawGraphAnnotations(QPainter &p, const ChartFrame &f,
                                     const OverlayHook *before) const
{
    const ChartObject &o = FObject;
    if (!FlagOf(o, rprop::ShowGraphAnnotations))
        return;
    std::size_t n = ArrayLength(o, rprop::GraphAnnotationX);
    QFontMetrics fm(f.style.annotation);
    const QRectF area(f.plot.adjusted(0, 0, 1, 1));
    p.save();
    p.setClipRect(area); // marks and texts stay inside the plot
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(f.style.annotation);
    for (std::size_t k = 0; k < n; ++k) {
        auto i = std::int32_t(k);
        std::optional<PlacedAnnotation> a = PlaceGraphAnnotation(o, f, i);
        if (!a)
            continue;
        const double px = a->px, py = a->py;
        AnnotationGeometry g = GeometryOf(fm, f.plot, *a);
        if (before) {
            if (!g.symbol.isEmpty())
                (*before)(g.symbol.adjusted(-2, -2, 2, 2) & area);
            if (!g.lines.isEmpty())
                (*before)(g.text.adjusted(-2, -2, 2, 2) & area);
        }
        p.setPen(QPen(AnnotationColor(o, f, rprop::GraphAnnotationColor, i), 2));
        if (!g.symbol.isEmpty()) {
            if (a->type == 2) {
                p.drawLine(g.symbol.topLeft(), g.symbol.bottomRight());
                p.drawLine(g.symbol.bottomLeft(), g.symbol.topRight());
            } else {
                p.drawLine(QPointF(g.symbol.left(), py), QPointF(g.symbol.right(), py));
                p.drawLine(QPointF(px, g.symbol.top()), QPointF(px, g.symbol.bottom()));
            }
        }
        if (!g.lines.isEmpty())
            DrawLines(p, fm, g.textOrigin, g.lines);
    }
    p.restore();
}

void ChartView::DrawVertLines(QPainter &p, const ChartFrame &f, const OverlayHook *before) const
{
    const ChartObject &o = FObject;
    if (!FlagOf(o, rprop::ShowVertLineAnnotations))
        return;
    std::size_t n = ArrayLength(o, rprop::VertLineAnnotation);
    QFontMetrics fm(f.style.lineAnnotation);
    const QRectF area(f.plot.adjusted(0, 0, 1, 1));
    p.save();
    p.setClipRect(area); // lines and labels stay inside the plot
    p.setFont(f.style.lineAnnotation);
    for (std::size_t k = 0; k < n; ++k) {
        auto i = std::int32_t(k);
        double px = std::round(f.PixelX(o.GetElement(rprop::VertLineAnnotation, i)));
        if (px < f.plot.left() || px > f.plot.right())
            continue;
        QColor color = AnnotationColor(o, f, rprop::VertLineAnnotationColor, i);
        int type = int(o.GetElement(rprop::VertLineAnnotationType, i));
        if (before) // at most 3 pixels wide
            (*before)(QRectF(px - 3, f.plot.top(), 7, f.plot.height()) & area);
        p.setPen(LinePen(type, color, f.penScale));
        p.drawLine(QPointF(px, f.plot.top()), QPointF(px, f.plot.bottom()));
        QString text = FromU16(o.GetElementText(rprop::VertLineAnnotationText, i));
        bool atTop = text.startsWith(QStringLiteral("|t"));
        if (atTop)
            text = text.mid(2);
        if (text.isEmpty())
            continue;
        QStringList lines = SplitLines(text);
        int width = WidestLine(fm, lines);
        double x = px + 3;
        if (x + width > f.plot.right())
            x = px - 3 - width; // keep the label inside the plot
        double y =
            atTop ? f.plot.top() + 2 + fm.ascent()
                  : f.plot.bottom() - 2 - fm.descent() - double(lines.size() - 1) * fm.height();
        if (before)
            (*before)(QRectF(x - 2, y - fm.ascent() - 2, width + 4,
                             double(lines.size()) * fm.height() + 4) &
                      area);
        p.setPen(color);
        DrawLines(p, fm, QPointF(x, y), lines);
    }
    p.restore();
}

void ChartView::DrawAxes(QPainter &p, const ChartFrame &f) const
{
    const ChartStyle &s = f.style;
    p.setPen(QPen(s.graphFore, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.plot);
    p.setPen(s.yAxis);
    p.drawLine(f.plot.topLeft(), f.plot.bottomLeft());
    // Tick marks stand outside the plot, on the desk, where they show and cover nothing.
    for (const Tick &t : f.yTicks) {
        int y = int(std::round(f.PixelY(t.value)));
        p.drawLine(f.plot.left() - 4, y, f.plot.left() - 1, y);
    }
    p.setPen(s.xAxis);
    p.drawLine(f.plot.bottomLeft(), f.plot.bottomRight());
    for (const Tick &t : f.xTicks) {
        int x = int(std::round(f.PixelX(t.value)));
        p.drawLine(x, f.plot.bottom() + 1, x, f.plot.bottom() + 4);
    }
}

void ChartView::DrawTitles(QPainter &p, const ChartFrame &f) const
{
    const ChartStyle &s = f.style;
    // Legend swatches beside their texts.
    for (std::size_t k = 0; k < f.legendRects.size(); ++k) {
        const QRect &r = f.legendRects[k];
        p.setPen(SubsetPen(FObject, f, f.legendSubsets[k]));
        int ym = r.center().y();
        p.drawLine(r.left(), ym, r.left() + 18, ym);
    }
    for (const PlacedText &t : f.texts) {
        const QFont &font = f.FontOf(t.role);
        QFontMetrics fm(font);
        p.setFont(font);
        switch (t.role) {
        case PlacedText::YNumber:
            p.setPen(s.yAxis);
            break;
        case PlacedText::XNumber:
        case PlacedText::XDate:
            p.setPen(s.xAxis);
            break;
        default:
            p.setPen(s.text);
            break;
        }
        if (t.role == PlacedText::YLabel) { // turned a quarter left, reading upwards
            p.save();
            p.translate(t.rect.left() + fm.ascent(), t.rect.bottom());
            p.rotate(-90);
            p.drawText(QPointF(0, 0), t.text);
            p.restore();
        } else {
            p.drawText(QPointF(t.rect.left(), t.rect.top() + fm.ascent()), t.text);
        }
    }
}

} // namespace chartlib
