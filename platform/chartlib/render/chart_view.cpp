// The renderer's state of a chart and the layout of one frame: style, ranges, margins that
// shrink with the chart, ticks, and every text placed so that none overlaps another.
#include "platform/chartlib/render/chart_view.h"

#include "platform/chartlib/render/chart_view_parts.h"
#include "platform/chartlib/render/render_props.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace chartlib {

// ---- shared pieces ---------------------------------------------------------------------------

namespace parts {

int IntOr(const ChartObject &o, std::int32_t id, int def)
{
    return o.Has(id) ? o.GetInt(id) : def;
}

bool FlagOf(const ChartObject &o, std::int32_t id, bool def)
{
    return (IntOr(o, id, def ? 1 : 0) & 0xFF) != 0;
}

double DoubleOr(const ChartObject &o, std::int32_t id, double def)
{
    double v = 0.0;
    return o.GetDouble(id, v) && std::isfinite(v) ? v : def;
}

QString TextOf(const ChartObject &o, std::int32_t id)
{
    return FromU16(o.GetText(id));
}

std::size_t ArrayLength(const ChartObject &o, std::int32_t id)
{
    return o.ArrayLength(id);
}

QColor ColorOr(const ChartObject &o, std::int32_t id, QColor def)
{
    return o.Has(id) ? ChartColor(std::uint32_t(o.GetInt(id))) : def;
}

QStringList SplitLines(const QString &text)
{
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(kBreak);
}

int WidestLine(const QFontMetrics &fm, const QStringList &lines)
{
    int width = 0;
    for (const QString &l : lines)
        width = std::max(width, fm.horizontalAdvance(l));
    return width;
}

namespace {

// Colour of element k of a colour array, or the fallback when the element was never written.
QColor ElementColor(const ChartObject &o, std::int32_t id, std::int32_t k, const QColor &fallback)
{
    if (std::size_t(k) >= ArrayLength(o, id))
        return fallback;
    return ChartColor(std::uint32_t(std::int64_t(o.GetElement(id, k))));
}

// The default colours of subsets whose colour was never set.
const QColor kSubsetPalette[] = {QColor(0, 0, 198),   QColor(198, 0, 0),   QColor(0, 148, 0),
                                 QColor(148, 0, 148), QColor(0, 148, 148), QColor(148, 98, 0),
                                 QColor(0, 0, 0),     QColor(98, 98, 98)};

} // namespace

QPen SubsetPen(const ChartObject &o, const ChartFrame &f, std::int32_t s)
{
    QColor color =
        f.style.mono ? f.style.text
                     : ElementColor(o, rprop::SubsetColors, s, kSubsetPalette[std::size_t(s) % 8]);
    std::int32_t type = std::size_t(s) < ArrayLength(o, rprop::SubsetLineTypes)
                            ? std::int32_t(o.GetElement(rprop::SubsetLineTypes, s))
                            : (f.style.mono ? s % 5 : 0);
    return LinePen(type, color, f.penScale);
}

QColor AnnotationColor(const ChartObject &o, const ChartFrame &f, std::int32_t id, std::int32_t i)
{
    return f.style.mono ? f.style.text : ElementColor(o, id, i, f.style.graphFore);
}

std::optional<PlacedAnnotation> PlaceGraphAnnotation(const ChartObject &o, const ChartFrame &f,
                                                     std::int32_t i)
{
    int type = int(o.GetElement(rprop::GraphAnnotationType, i));
    QString text = FromU16(o.GetElementText(rprop::GraphAnnotationText, i));
    if (type == 0 && text.isEmpty())
        return std::nullopt;
    double px = f.PixelX(o.GetElement(rprop::GraphAnnotationX, i));
    double py = f.PixelY(o.GetElement(rprop::GraphAnnotationY, i));
    if (!QRectF(f.plot.adjusted(0, 0, 1, 1)).contains(px, py))
        return std::nullopt;
    return PlacedAnnotation{type, std::move(text), px, py};
}

AnnotationGeometry GeometryOf(const QFontMetrics &fm, const QRect &plot, const PlacedAnnotation &a)
{
    AnnotationGeometry g;
    const double px = a.px, py = a.py;
    double half = std::max(4, fm.height() / 3);
    bool symbol = a.type == 1 || a.type == 2;
    if (symbol)
        g.symbol = QRectF(px - half, py - half, 2 * half, 2 * half);
    if (a.text.isEmpty())
        return g;
    g.lines = SplitLines(a.text);
    double width = WidestLine(fm, g.lines);
    double height = double(fm.height()) * g.lines.size();
    const QRectF area(plot.adjusted(0, 0, 1, 1));
    if (symbol) {
        g.text = QRectF(px + half + 3, py - height / 2, width, height);
        if (g.text.right() > area.right() - 2) // the other side of the symbol
            g.text.moveRight(px - half - 3);
    } else {
        g.text = QRectF(px, py - fm.ascent(), width, height);
    }
    // Inside the plot, as far as it fits; the drawing clips what does not.
    if (g.text.right() > area.right() - 2)
        g.text.moveRight(area.right() - 2);
    if (g.text.left() < area.left() + 2)
        g.text.moveLeft(area.left() + 2);
    if (g.text.bottom() > area.bottom() - 1)
        g.text.moveBottom(area.bottom() - 1);
    if (g.text.top() < area.top() + 1)
        g.text.moveTop(area.top() + 1);
    g.textOrigin = QPointF(g.text.left(), g.text.top() + fm.ascent());
    return g;
}

} // namespace parts

using namespace parts;

QColor ChartColor(std::uint32_t c)
{
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c),
                  ColorAlpha(c) == 0 ? 255 : ColorAlpha(c));
}

QString FromU16(const std::u16string &s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

std::u16string ToU16(const QString &s)
{
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
}

QPen LinePen(std::int32_t lineType, const QColor &color, double scale)
{
    QPen pen(color, scale); // cosmetic: device pixels
    pen.setCosmetic(true);
    switch (lineType) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 5:
        pen.setWidthF(2.0 * scale);
        break;
    case 6:
        pen.setWidthF(3.0 * scale);
        break;
    default:
        break;
    }
    return pen;
}

// ---- frame -----------------------------------------------------------------------------------

double ChartFrame::PixelX(double v) const
{
    return plot.left() + (v - x.min) / (x.max - x.min) * (plot.right() - plot.left());
}
double ChartFrame::PixelY(double v) const
{
    return plot.bottom() - (v - y.min) / (y.max - y.min) * (plot.bottom() - plot.top());
}
double ChartFrame::DataX(double px) const
{
    int w = std::max(1, plot.right() - plot.left());
    return x.min + (px - plot.left()) / w * (x.max - x.min);
}
double ChartFrame::DataY(double py) const
{
    int h = std::max(1, plot.bottom() - plot.top());
    return y.min + (plot.bottom() - py) / h * (y.max - y.min);
}

ColumnMapping ChartFrame::Mapping() const
{
    return ColumnMapping::Of(plot.left(), plot.right(), plot.top(), plot.bottom(), x.min, x.max,
                             y.min, y.max);
}

const QFont &ChartFrame::FontOf(PlacedText::Role role) const
{
    switch (role) {
    case PlacedText::MainTitle:
        return style.title;
    case PlacedText::SubTitle:
        return style.subTitle;
    case PlacedText::Legend:
        return style.legend;
    case PlacedText::XLabel:
    case PlacedText::YLabel:
        return style.label;
    default:
        return style.numbers;
    }
}

// ---- view ------------------------------------------------------------------------------------

ChartView::ChartView(ChartObject &object) : FObject(object) {}

void ChartView::Reinitialized()
{
    ++FGeneration;
    Relayout();
    FImageValid = false;
    FLayerValid = false;
}

void ChartView::StateReplaced()
{
    FPlotLookChanged = true;
    FExtentValid = false;
    FWriting.reset();
    FZoom.reset();
    FBanding = false;
    ++FGeneration;
    Relayout();
    FImageValid = false;
    FLayerValid = false;
}

namespace {

// The properties that change only the overlays (or nothing drawn): writing them keeps the
// layer.
bool OverlayProperty(std::int32_t id)
{
    switch (id) {
    case rprop::VertLineAnnotation:
    case rprop::VertLineAnnotationText:
    case rprop::VertLineAnnotationType:
    case rprop::VertLineAnnotationColor:
    case rprop::ShowGraphAnnotations:
    case rprop::ShowVertLineAnnotations:
    case rprop::AllowGraphAnnotHotSpots:
    case rprop::AllowVertLineAnnotHotSpots:
    case rprop::GraphAnnotationColor:
    case rprop::GraphAnnotationTextSize:
    case rprop::LineAnnotationTextSize:
    case rprop::GraphAnnotationType:
    case rprop::GraphAnnotationX:
    case rprop::GraphAnnotationY:
    case rprop::GraphAnnotationText:
        return true;
    default:
        return false;
    }
}

// The properties that change only what lies around the plot (texts, fonts, the desk) and the
// plot only through the layout: its place, ranges and ticks (ChartView::PlotKey).
bool AroundPlotProperty(std::int32_t id)
{
    switch (id) {
    case rprop::MainTitle:
    case rprop::SubTitle:
    case rprop::SubsetLabels:
    case rprop::FontSize:
    case rprop::MainTitleFont:
    case rprop::MainTitleBold:
    case rprop::MainTitleItalic:
    case rprop::MainTitleUnderline:
    case rprop::SubTitleFont:
    case rprop::SubTitleBold:
    case rprop::SubTitleItalic:
    case rprop::SubTitleUnderline:
    case rprop::LabelFont:
    case rprop::LabelBold:
    case rprop::LabelItalic:
    case rprop::LabelUnderline:
    case rprop::FontSizeGlobalCntl:
    case rprop::FontSizeTitleCntl:
    case rprop::FontSizeGNCntl:
    case rprop::FontSizeALCntl:
    case rprop::FontSizeLegendCntl:
    case rprop::ShowLegend:
    case rprop::LegendLocation:
    case rprop::XAxisLabel:
    case rprop::YAxisLabel:
    case rprop::DeskColor:
    case rprop::MonoDeskColor:
        return true;
    default:
        return false;
    }
}

// The data values: writing them changes what the plot shows, and the layout only through the
// ranges.
bool DataProperty(std::int32_t id)
{
    return id == prop::XData || id == prop::XDataII || id == prop::YData || id == prop::YDataII ||
           id == prop::ZData;
}

} // namespace

void ChartView::DataWriting(int axis, std::int32_t i, std::int32_t j)
{
    FWriting = DataCells{axis, i, j, false, 0.0, 0.0};
    if (!FExtentValid || axis == 2) // Z is not drawn
        return;
    if (i < 0 || j < 0) {
        FExtentValid = false;
        return;
    }
    const ReduceInput in = ExtentInput(i, true);
    if (axis == 0 && in.useIndexX) { // its first X value: X is no longer the point number
        FExtentValid = false;
        return;
    }
    FWriting->drawn = DataPoint(in, std::size_t(j), FWriting->x, FWriting->y);
}

void ChartView::Written(std::int32_t id)
{
    if (DataProperty(id)) {
        FPlotDirty = true;
        const std::optional<DataCells> cells = std::exchange(FWriting, std::nullopt);
        const int axis = DataAxisOf(id);
        if (!FExtentValid || axis == 2)
            return;
        if (!cells || cells->axis != axis || cells->i < 0 || cells->j < 0) {
            FExtentValid = false; // a whole array
            return;
        }
        // The point widens the extent as far as it needs. Where it was on an edge of the
        // extent and now lies inside, it may have been the only point there: the extent may
        // shrink, and is found again.
        double x = 0.0, y = 0.0;
        const bool drawn = DataPoint(ExtentInput(cells->i, true), std::size_t(cells->j), x, y);
        DataExtent &e = FExtent;
        if (cells->drawn && ((cells->x == e.xmin && !(drawn && x <= e.xmin)) ||
                             (cells->x == e.xmax && !(drawn && x >= e.xmax)) ||
                             (cells->y == e.ymin && !(drawn && y <= e.ymin)) ||
                             (cells->y == e.ymax && !(drawn && y >= e.ymax)))) {
            FExtentValid = false;
            return;
        }
        if (drawn)
            e = e.any ? DataExtent{std::min(e.xmin, x), std::max(e.xmax, x), std::min(e.ymin, y),
                                   std::max(e.ymax, y), true}
                      : DataExtent{x, x, y, y, true};
        return;
    }
    FWriting.reset();
    // The data's shape and what decides which points are drawn change the extent.
    if (id == prop::Subsets || id == prop::Points || id == rprop::DateTimeMode ||
        id == rprop::NullDataValueY)
        FExtentValid = false;
    if (!OverlayProperty(id)) {
        FLayerValid = false;
        if (!AroundPlotProperty(id))
            FPlotLookChanged = true;
    }
    // The annotations' text sizes are in the frame's fonts; the other overlay properties are
    // read when the overlays are drawn.
    if (!OverlayProperty(id) || id == rprop::GraphAnnotationTextSize ||
        id == rprop::LineAnnotationTextSize)
        ++FGeneration;
}

ChartStyle ChartView::ReadStyle() const
{
    const ChartObject &o = FObject;
    ChartStyle s;
    int viewing = IntOr(o, rprop::ViewingStyle, 0);
    s.mono = viewing == 1 || viewing == 2;
    if (s.mono) {
        s.desk = ColorOr(o, rprop::MonoDeskColor, Qt::white);
        s.text = ColorOr(o, rprop::MonoTextColor, Qt::black);
        s.graphFore = ColorOr(o, rprop::MonoGraphForeColor, Qt::black);
        s.graphBack = ColorOr(o, rprop::MonoGraphBackColor, Qt::white);
        s.grid = s.graphFore;
        s.yAxis = s.xAxis = s.text;
    } else {
        s.desk = ColorOr(o, rprop::DeskColor, Qt::white);
        s.text = ColorOr(o, rprop::TextColor, Qt::black);
        s.graphFore = ColorOr(o, rprop::GraphForeColor, Qt::black);
        s.graphBack = ColorOr(o, rprop::GraphBackColor, Qt::white);
        s.grid = ColorOr(o, rprop::GridLineColor, s.graphFore);
        s.yAxis = ColorOr(o, rprop::YAxisColor, s.text);
        s.xAxis = ColorOr(o, rprop::XAxisColor, s.text);
    }
    s.gridStyle = IntOr(o, rprop::GridStyle, 0);
    s.gridControl = IntOr(o, rprop::GridLineControl, 0);
    s.gridInFront = FlagOf(o, rprop::GridInFront);

    static const int kBase[] = {14, 12, 10};
    int fs = IntOr(o, rprop::FontSize, 1);
    double base = kBase[std::clamp(fs, 0, 2)] * DoubleOr(o, rprop::FontSizeGlobalCntl, 1.0);
    auto makeFont = [&](std::int32_t familyId, const char *fallback, double px, std::int32_t bold,
                        std::int32_t italic, std::int32_t underline) {
        QString family = TextOf(o, familyId);
        QFont f(family.isEmpty() ? QString::fromLatin1(fallback) : family);
        f.setPixelSize(std::clamp(int(std::lround(px)), 1, 400));
        f.setBold(bold && (o.GetInt(bold) & 0xFF));
        f.setItalic(italic && (o.GetInt(italic) & 0xFF));
        f.setUnderline(underline && (o.GetInt(underline) & 0xFF));
        return f;
    };
    s.title = makeFont(rprop::MainTitleFont, "DejaVu Sans",
                       base * 1.5 * DoubleOr(o, rprop::FontSizeTitleCntl, 1.0),
                       rprop::MainTitleBold, rprop::MainTitleItalic, rprop::MainTitleUnderline);
    s.subTitle = makeFont(rprop::SubTitleFont, "DejaVu Sans",
                          base * 1.2 * DoubleOr(o, rprop::FontSizeTitleCntl, 1.0),
                          rprop::SubTitleBold, rprop::SubTitleItalic, rprop::SubTitleUnderline);
    s.label =
        makeFont(rprop::LabelFont, "DejaVu Sans", base * DoubleOr(o, rprop::FontSizeALCntl, 1.0),
                 rprop::LabelBold, rprop::LabelItalic, rprop::LabelUnderline);
    s.numbers = makeFont(rprop::LabelFont, "DejaVu Sans",
                         base * DoubleOr(o, rprop::FontSizeGNCntl, 1.0), 0, 0, 0);
    s.legend = makeFont(rprop::LabelFont, "DejaVu Sans",
                        base * DoubleOr(o, rprop::FontSizeLegendCntl, 1.0), 0, 0, 0);
    s.annotation = makeFont(rprop::LabelFont, "DejaVu Sans",
                            base * IntOr(o, rprop::GraphAnnotationTextSize, 100) / 100.0, 0, 0, 0);
    s.lineAnnotation =
        makeFont(rprop::LabelFont, "DejaVu Sans",
                 base * IntOr(o, rprop::LineAnnotationTextSize, 100) / 100.0, 0, 0, 0);
    return s;
}

ReduceInput ChartView::ExtentInput(std::int32_t subset, bool kept) const
{
    const ChartObject &o = FObject;
    ReduceInput in;
    if (kept) {
        in = FExtentRules;
    } else {
        in.skipZeroX = IntOr(o, rprop::DateTimeMode, 0) != 0;
        in.hasNull = o.GetDouble(rprop::NullDataValueY, in.nullY);
    }
    in.points = o.Points();
    in.xs = o.DataRow(0, subset);
    in.ys = o.DataRow(1, subset);
    in.useIndexX = in.xs.empty() && !in.skipZeroX;
    return in;
}

void ChartView::DataRanges(Range &xr, Range &yr) const
{
    // One pass over all subsets for both ranges, when the kept extent may be out of date;
    // points that are not drawn do not count.
    if (!FExtentValid) {
        DataExtent e;
        for (std::int32_t s = 0; s < FObject.Subsets(); ++s)
            ExtendToData(ExtentInput(s), e);
        FExtent = e;
        FExtentRules = ExtentInput(-1);
        FExtentValid = true;
    }
    const DataExtent &e = FExtent;
    xr = e.any ? Range{e.xmin, e.xmax} : Range{0.0, 1.0};
    yr = e.any ? Range{e.ymin, e.ymax} : Range{0.0, 1.0};
}

void ChartView::FrameRanges(Range &x, Range &y) const
{
    if (FZoom) {
        x = FZoom->first;
        y = FZoom->second;
    } else {
        UnzoomedRanges(x, y);
    }
    x = Widened(x, IntOr(FObject, rprop::DateTimeMode, 0) != 0);
    y = Widened(y, false);
}

ChartFrame ChartView::BuildFrame(QSize size) const
{
    Range x, y;
    FrameRanges(x, y);
    return BuildFrameWith(size, x, y);
}

ChartFrame ChartView::BuildFrameWith(QSize size, Range x, Range y) const
{
    ChartFrame f;
    f.size = QSize(std::max(1, size.width()), std::max(1, size.height()));
    f.style = ReadStyle();
    f.dateTime = IntOr(FObject, rprop::DateTimeMode, 0) != 0;
    f.x = x;
    f.y = y;
    LayOut(f);
    return f;
}

bool ChartView::TextsClearOfPlot(const ChartFrame &f)
{
    const QRectF area(f.plot.adjusted(0, 0, 1, 1));
    for (const QRect &r : f.legendRects) // the swatches, whatever their pen
        if (QRectF(r).adjusted(-3, -3, 3, 3).intersects(area))
            return false;
    for (const PlacedText &t : f.texts) {
        const QFont &font = f.FontOf(t.role);
        const QFontMetrics fm(font);
        // The ink around the origin the text is drawn at (see DrawTitles), and a pixel more
        // for the smoothed edges.
        QRectF ink = QFontMetricsF(font).boundingRect(t.text).adjusted(-2, -2, 2, 2);
        if (t.role == PlacedText::YLabel) // turned a quarter left about its origin
            ink = QRectF(QPointF(ink.top(), -ink.right()), QPointF(ink.bottom(), -ink.left()))
                      .translated(t.rect.left() + fm.ascent(), t.rect.bottom());
        else
            ink.translate(t.rect.left(), t.rect.top() + fm.ascent());
        if (ink.intersects(area) || t.rect.adjusted(-2, -2, 2, 2).intersects(area))
            return false;
    }
    return true;
}

void ChartView::UnzoomedRanges(Range &fx, Range &fy) const
{
    const ChartObject &o = FObject;
    const bool dateTime = IntOr(o, rprop::DateTimeMode, 0) != 0;
    int cx = IntOr(o, rprop::ManualScaleControlX, 0);
    int cy = IntOr(o, rprop::ManualScaleControlY, 0);
    Range dataX, dataY;
    if (cx != 3 || cy != 3)
        DataRanges(dataX, dataY);
    // Scale control 0 automatic, 1 manual minimum, 2 manual maximum, 3 both manual.
    auto scaled = [&](int control, Range data, std::int32_t minId, std::int32_t maxId) {
        Range r = control == 3 ? Range{} : data;
        if (control == 1 || control == 3)
            r.min = DoubleOr(o, minId, r.min);
        if (control == 2 || control == 3)
            r.max = DoubleOr(o, maxId, r.max);
        return r;
    };
    fx = Widened(scaled(cx, dataX, rprop::ManualMinX, rprop::ManualMaxX), dateTime);
    Range y = Widened(scaled(cy, dataY, rprop::ManualMinY, rprop::ManualMaxY), false);
    if (cy == 0) { // automatic: extend to whole steps
        double step = NiceStep((y.max - y.min) / 8.0);
        y = {std::floor(y.min / step) * step, std::ceil(y.max / step) * step};
        y = Widened(y, false);
    }
    fy = y;
}

namespace {

// Texts placed so far: a new one goes in only inside the chart and clear of all the others.
class TextPlacer {
public:
    explicit TextPlacer(ChartFrame &f)
        : FFrame(f), FChart(0, 0, f.size.width(), f.size.height()), FPlot(f.plot)
    {
    }
    bool Place(PlacedText::Role role, const QString &text, const QRectF &rect)
    {
        if (text.isEmpty() || !FChart.contains(rect))
            return false;
        const QRectF padded = rect.adjusted(-2, 0, 2, 0); // a little room beside each text
        if (padded.intersects(FPlot))
            return false;
        for (const PlacedText &t : FFrame.texts)
            if (padded.intersects(t.rect))
                return false;
        FFrame.texts.push_back({role, text, rect});
        return true;
    }

private:
    ChartFrame &FFrame;
    QRectF FChart, FPlot;
};

} // namespace

void ChartView::LayOut(ChartFrame &f) const
{
    const ChartObject &o = FObject;
    const ChartStyle &st = f.style;
    const int w = f.size.width(), h = f.size.height();
    const int gap = 4;
    const QFontMetrics tfm(st.title), sfm(st.subTitle), gfm(st.legend), nfm(st.numbers),
        lfm(st.label);
    const int nh = nfm.height(), lh = lfm.height();
    // The X numbers start below the half of the lowest Y number that hangs under the plot.
    const int xNumbersGap = std::max(4, nh / 2 + 1);

    QStringList titleLines, subLines;
    if (QString t = TextOf(o, rprop::MainTitle); !t.trimmed().isEmpty())
        titleLines = SplitLines(t);
    if (QString t = TextOf(o, rprop::SubTitle); !t.trimmed().isEmpty())
        subLines = SplitLines(t);
    const QString xLabel = TextOf(o, rprop::XAxisLabel), yLabel = TextOf(o, rprop::YAxisLabel);
    std::vector<QString> legendTexts;
    std::vector<int> legendSubsets;
    if (FlagOf(o, rprop::ShowLegend, true))
        for (std::int32_t s = 0; s < o.Subsets() && s < 256; ++s) {
            QString t = FromU16(o.GetElementText(rprop::SubsetLabels, s));
            if (!t.isEmpty()) {
                legendTexts.push_back(t);
                legendSubsets.push_back(s);
            }
        }
    const bool legendTop = IntOr(o, rprop::LegendLocation, 0) == 0;

    // The optional pieces around the plot; on a small chart they go, the first of each list
    // first, until the plot keeps a third of the chart in each direction.
    bool xLabelOn = !xLabel.isEmpty(), subOn = !subLines.isEmpty(), legendOn = !legendTexts.empty(),
         titleOn = !titleLines.isEmpty(), datesOn = f.dateTime, xNumbersOn = true,
         yNumbersOn = true, yLabelOn = !yLabel.isEmpty();
    int top = 0, bottom = 0;
    auto vertical = [&]() {
        top = gap;
        if (titleOn)
            top += tfm.height() * int(titleLines.size()) + gap;
        if (subOn)
            top += sfm.height() * int(subLines.size()) + gap;
        if (legendOn && legendTop)
            top += gfm.height() + gap;
        if (yNumbersOn)
            top = std::max(top, nh / 2 + gap); // room for the top Y label
        bottom = gap;
        if (xNumbersOn)
            bottom += xNumbersGap + nh * (datesOn ? 2 : 1);
        if (xLabelOn)
            bottom += gap + lh;
        if (legendOn && !legendTop)
            bottom += gap + gfm.height();
    };
    const int minHeight = std::max(1, h / 3), minWidth = std::max(1, w / 3);
    bool *verticalDrops[] = {&xLabelOn, &subOn, &legendOn, &titleOn, &datesOn, &xNumbersOn};
    vertical();
    for (bool *drop : verticalDrops) {
        if (h - top - bottom >= minHeight)
            break;
        *drop = false;
        vertical();
    }
    if (h - top - bottom < minHeight) { // not even the number line fits: no Y numbers either
        yNumbersOn = false;
        vertical();
    }
    top = std::min(top, std::max(0, (h - 2) / 2));
    bottom = std::min(bottom, std::max(0, (h - 2) / 2));

    // Y ticks (they decide the left margin).
    const int plotHeight = std::max(1, h - top - bottom - 1);
    int targetY = std::max(2, plotHeight / std::max(1, nh * 5 / 2));
    f.yTicks = LinearTicks(f.y, NiceStep((f.y.max - f.y.min) / targetY));
    int yNumberWidth = 0;
    for (const Tick &t : f.yTicks)
        yNumberWidth = std::max(yNumberWidth, nfm.horizontalAdvance(t.label));
    int left = 0, right = 0;
    auto horizontal = [&]() {
        left = gap + (yNumbersOn ? yNumberWidth + 6 : 0) + (yLabelOn ? lh + gap : 0);
        right = xNumbersOn ? 12 : gap;
    };
    horizontal();
    bool *horizontalDrops[] = {&yLabelOn, &yNumbersOn};
    for (bool *drop : horizontalDrops) {
        if (w - left - right >= minWidth)
            break;
        *drop = false;
        horizontal();
    }
    left = std::min(left, std::max(0, (w - 2) / 2));
    right = std::min(right, std::max(0, (w - 2) / 2));
    f.plot = QRect(QPoint(left, top),
                   QPoint(std::max(left, w - 1 - right), std::max(top, h - 1 - bottom)));
    const int plotWidth = f.plot.right() - f.plot.left();
    f.xTicks = f.dateTime ? DateTimeTicks(f.x, plotWidth, nfm, datesOn)
                          : NumericTicksX(f.x, plotWidth, nfm);

    // The texts, the more important first: what does not fit beside them is left out.
    TextPlacer placer(f);
    int y = gap;
    auto titleBlock = [&](bool on, const QStringList &lines, const QFontMetrics &fm,
                          PlacedText::Role role, QRect &band) {
        if (!on)
            return;
        band = QRect(0, y, w, fm.height() * int(lines.size()));
        for (const QString &line : lines) {
            QString text = fm.elidedText(line, Qt::ElideRight, w - 2);
            double tw = fm.horizontalAdvance(text);
            placer.Place(role, text, QRectF((w - tw) / 2.0, y, tw, fm.height()));
            y += fm.height();
        }
        y += gap;
    };
    titleBlock(titleOn, titleLines, tfm, PlacedText::MainTitle, f.mainTitleRect);
    titleBlock(subOn, subLines, sfm, PlacedText::SubTitle, f.subTitleRect);

    if (legendOn) {
        std::vector<int> widths;
        int total = 0;
        for (const QString &t : legendTexts) {
            widths.push_back(24 + gfm.horizontalAdvance(t));
            total += widths.back() + 12;
        }
        int x = std::max(f.plot.left(), f.plot.left() + (f.plot.width() - total) / 2);
        int ly = legendTop ? y : h - gap - gfm.height();
        for (std::size_t k = 0; k < widths.size(); ++k) {
            QRect entry(x, ly, widths[k], gfm.height());
            if (entry.right() >= w)
                break; // the entries that do not fit in the width are left out
            if (placer.Place(PlacedText::Legend, legendTexts[k],
                             QRectF(x + 24, ly, widths[k] - 24, gfm.height()))) {
                f.legendRects.push_back(entry);
                f.legendSubsets.push_back(legendSubsets[k]);
            }
            x += widths[k] + 12;
        }
    }

    if (yLabelOn) {
        QString text = lfm.elidedText(yLabel, Qt::ElideRight, f.plot.height());
        double tw = lfm.horizontalAdvance(text);
        placer.Place(PlacedText::YLabel, text, QRectF(gap, f.plot.center().y() - tw / 2.0, lh, tw));
    }
    if (xLabelOn) {
        QString text = lfm.elidedText(xLabel, Qt::ElideRight, w - 2);
        double tw = lfm.horizontalAdvance(text);
        double ly = f.plot.bottom() + (xNumbersOn ? xNumbersGap + nh * (datesOn ? 2 : 1) : 0) + gap;
        placer.Place(PlacedText::XLabel, text,
                     QRectF(std::clamp(f.plot.center().x() - tw / 2.0, 0.0, w - tw), ly, tw, lh));
    }

    if (yNumbersOn)
        for (const Tick &t : f.yTicks) {
            double baseline = std::round(f.PixelY(t.value)) + (nfm.ascent() - nfm.descent()) / 2.0;
            double tw = nfm.horizontalAdvance(t.label);
            placer.Place(PlacedText::YNumber, t.label,
                         QRectF(f.plot.left() - 6 - tw, baseline - nfm.ascent(), tw, nh));
        }
    if (xNumbersOn) {
        // A date goes under the first tick of each day whose label is drawn.
        QDate lastDate;
        const double line = f.plot.bottom() + xNumbersGap;
        for (const Tick &t : f.xTicks) {
            double x = std::round(f.PixelX(t.value));
            double tw = nfm.horizontalAdvance(t.label);
            QRectF r(std::clamp(x - tw / 2.0, 0.0, std::max(0.0, w - tw)), line, tw, nh);
            if (!placer.Place(PlacedText::XNumber, t.label, r) || !datesOn || !t.day.isValid() ||
                t.day == lastDate)
                continue;
            QString date = DateLabel(t.day);
            double dw = nfm.horizontalAdvance(date);
            QRectF d(std::clamp(x - dw / 2.0, 0.0, std::max(0.0, w - dw)), line + nh, dw, nh);
            if (placer.Place(PlacedText::XDate, date, d))
                lastDate = t.day;
        }
    }
}

void ChartView::Relayout()
{
    const ChartRect &r = FObject.Rect();
    QSize size(std::max(1, r.right - r.left), std::max(1, r.bottom - r.top));
    Range x, y;
    FrameRanges(x, y);
    const QLocale locale; // the date lines are in its format
    const bool same = FFrameKey && FFrameKey->size == size && FFrameKey->x == x &&
                      FFrameKey->y == y && FFrameKey->generation == FGeneration &&
                      FFrameKey->locale == locale;
    if (!same) {
        if (FFrameKey && FFrameKey->locale != locale)
            FLayerValid = false; // its texts change, not its geometry
        FFrame = BuildFrameWith(size, x, y);
        FFrameKey = FrameKey{size, x, y, FGeneration, locale};
        FTextsClear = TextsClearOfPlot(FFrame);
    }
    ChartRect plot{FFrame.plot.left(), FFrame.plot.top(), FFrame.plot.right(),
                   FFrame.plot.bottom()};
    FObject.SetRecord(prop::PlotRect, plot);
}

double ChartView::PixelRatio() const
{
    double ratio = FPixelRatio;
    if (!(ratio > 0.0))
        ratio = parentWidget ? parentWidget->devicePixelRatioF()
                : qGuiApp    ? qGuiApp->devicePixelRatio()
                             : 1.0;
    return std::isfinite(ratio) ? std::clamp(ratio, 1.0, 4.0) : 1.0;
}

void ChartView::ResetImage()
{
    Relayout();
    const double ratio = PixelRatio();
    // The image is held in memory: at most 16384 device pixels a side.
    const QSize pixels(std::min(16384, int(std::ceil(FFrame.size.width() * ratio))),
                       std::min(16384, int(std::ceil(FFrame.size.height() * ratio))));
    ChartFrame f = FFrame;
    f.penScale = ratio;
    const bool sameImage = FImage.size() == pixels && FImage.devicePixelRatio() == ratio;
    // What is drawn over the whole plot (the axes, the grid in front) is drawn again over pixels
    // that are kept: only an opaque colour gives the same pixels twice. With a see-through one
    // everything is drawn anew.
    const ChartStyle &st = f.style;
    const bool opaqueOver = st.graphFore.alpha() == 255 && st.yAxis.alpha() == 255 &&
                            st.xAxis.alpha() == 255 && (!st.gridInFront || st.grid.alpha() == 255);
    const bool keepLayer = opaqueOver && FLayerValid && sameImage && FLayerSize == f.size &&
                           FLayerPlot == f.plot && FLayerX == f.x && FLayerY == f.y;
    if (!sameImage) {
        FImage = QImage(pixels, QImage::Format_RGB32);
        FImage.setDevicePixelRatio(ratio);
        FCanvas.ForgetBackground();
        FImageHasLayer = false;
    }
    // At a whole number of device pixels per chart pixel the plot has whole device pixels: the
    // subsets are drawn straight into them, a change of the data draws the plot again over its
    // background, where the last subsets were, and a change of a property that leaves the plot
    // as it was drawn keeps its pixels and draws what lies around it.
    const int scale = int(ratio);
    const bool whole = double(scale) == ratio;
    const QRect area = f.plot.adjusted(0, 0, 1, 1); // the plot's fill, frame and clip
    const QRect plotPixels(area.left() * scale, area.top() * scale, area.width() * scale,
                           area.height() * scale);
    std::vector<double> plotKey;
    bool keepPlot = false;
    if (opaqueOver && !keepLayer && !FPlotDirty && !FPlotLookChanged && FImageHasLayer && whole &&
        FLayerTextsClear && FTextsClear && FCanvas.HasBackground(plotPixels & FImage.rect())) {
        plotKey = PlotKey(f);
        keepPlot = plotKey == FLayerPlotKey;
    }
    // The layer comes back from under the last overlays.
    if (keepLayer || keepPlot)
        FUnderOverlays.Restore(FImage);
    else
        FUnderOverlays.Clear();
    if (keepPlot) {
        QPainter p(&FImage);
        DrawAroundPlot(p, f);
        p.end();
    } else if (!keepLayer || FPlotDirty) {
        const bool again =
            keepLayer && whole && FTextsClear && FCanvas.HasBackground(plotPixels & FImage.rect());
        raster::ColumnSpans last = std::move(FCanvas.drawn);
        const bool lastAll = FCanvas.drawnAll;
        if (whole)
            FCanvas.Begin(FImage, plotPixels);
        else
            FCanvas.ForgetBackground();
        if (again && FAxesPlotKey != FLayerPlotKey) {
            // The axes over the plot are put as the pixels they drew, found once per layer.
            FAxesValid = FrameOf(f, plotPixels & FImage.rect(), FAxesPixels);
            FAxesPlotKey = FLayerPlotKey;
        }
        std::vector<SubsetTrace> traces;
        bool partial = false;
        if (again) {
            traces = TraceSubsets(f, true);
            // With the axes put as pixels and nothing drawn over the plot after the subsets,
            // the columns that the change of the data leaves as they were are kept.
            partial = FAxesValid && !f.style.gridInFront && !lastAll &&
                      RedrawChangedColumns(FCanvas, last, traces);
        }
        if (!partial) {
            QPainter p(&FImage);
            if (again) {
                FCanvas.RestoreBackground(last, lastAll);
                p.save();
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setRenderHint(QPainter::TextAntialiasing, true);
                DrawPlotContents(p, f, &FCanvas, FAxesValid ? &FAxesPixels : nullptr, &traces);
                p.restore();
            } else {
                DrawLayer(p, f, whole ? &FCanvas : nullptr);
                FLayerPlotKey = plotKey.empty() ? PlotKey(f) : std::move(plotKey);
            }
            p.end();
        }
    }
    if (!keepLayer || FPlotDirty) {
        FLayerValid = true;
        FPlotDirty = false;
        FPlotLookChanged = false;
        FImageHasLayer = true;
        FLayerTextsClear = FTextsClear;
        FLayerSize = f.size;
        FLayerPlot = f.plot;
        FLayerX = f.x;
        FLayerY = f.y;
    }
    if (HasOverlays()) {
        // What each overlay draws on is kept first (with a pixel more for the smoothed edges).
        const OverlayHook keep = [&](const QRectF &r) {
            FUnderOverlays.Save(
                FImage, QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio)
                            .toAlignedRect()
                            .adjusted(-1, -1, 1, 1));
        };
        QPainter p(&FImage);
        DrawOverlays(p, f, &keep);
        p.end();
    }
    FImageValid = true;
    FImageSerial = FImageSerial >= 0x7FFFFFFF ? 1 : FImageSerial + 1;
}

} // namespace chartlib
