// The renderer's state of one chart object (attached to it) and the frame of one drawing: the
// layout, ranges and ticks computed from the properties for a given size.
#pragma once

#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/column_reduce.h"
#include "platform/chartlib/render/chart_axes.h"
#include "platform/chartlib/render/chart_raster.h"
#include "platform/chartlib/render/chart_render.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPen>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace chartlib {

// Colours and fonts of one drawing, read from the properties.
struct ChartStyle {
    QColor desk, text, graphFore, graphBack, grid, yAxis, xAxis;
    bool mono = false;
    QFont title, subTitle, label, numbers, legend, annotation, lineAnnotation;
    int gridStyle = 0;
    int gridControl = 0;
    bool gridInFront = false;
};

// A text the layout placed; no two of a frame overlap and all lie inside the chart.
struct PlacedText {
    enum Role : std::uint8_t {
        MainTitle,
        SubTitle,
        Legend,
        YNumber,
        XNumber,
        XDate,
        XLabel,
        YLabel
    };
    Role role;
    QString text;
    QRectF rect; // chart pixels; a YLabel's is the box of the turned text
};

// Everything laid out for one size.
struct ChartFrame {
    QSize size;
    QRect plot; // plotting area, chart pixels (right and bottom inclusive)
    Range x, y; // ranges shown
    bool dateTime = false;
    double penScale = 1.0; // device pixels per chart pixel (printing)
    ChartStyle style;
    QRect mainTitleRect, subTitleRect; // empty when not shown
    std::vector<int> legendSubsets;
    std::vector<QRect> legendRects; // one per legend entry shown: swatch and text
    std::vector<Tick> xTicks, yTicks;
    std::vector<PlacedText> texts;

    // Pixel of a data value (not rounded).
    double PixelX(double v) const;
    double PixelY(double v) const;
    double DataX(double px) const;
    double DataY(double py) const;
    // The reduction's mapping of data to the pixels of the plot.
    ColumnMapping Mapping() const;
    // The font a placed text is drawn in.
    const QFont &FontOf(PlacedText::Role role) const;
};

class ChartView : public ChartAttachment {
public:
    explicit ChartView(ChartObject &object);

    void Reinitialized() override;
    void StateReplaced() override;
    void Written(std::int32_t id) override;
    void DataWriting(int axis, std::int32_t i, std::int32_t j) override;

    // Screen layout at the chart's size; stores PlotRect. The layout of the last call is kept
    // while nothing it depends on changed: the size, the ranges shown, the locale and every
    // property but the data and the overlays.
    void Relayout();
    const ChartFrame &Frame() const { return FFrame; }

    // Builds a frame for any size (printing and export use their own sizes).
    ChartFrame BuildFrame(QSize size) const;
    // Draws a frame into the painter at (0, 0): its layer, then its overlays.
    void Draw(QPainter &p, const ChartFrame &f) const;

    // Rebuilds the cached image at the chart's size, in device pixels of the screen the chart
    // is shown on (PixelRatio), so text and lines stay sharp on a high-density screen. When
    // nothing but the overlays changed since the last rebuild (the lines, the graph
    // annotations, transient values such as the mouse point), the layer under them is kept:
    // the old overlays are wiped from it and the new ones drawn, which gives the same picture.
    // When the data changed but not the layout, only the plot is drawn again: the last
    // drawing of the subsets is wiped with the plot's background and they are drawn anew,
    // which gives the same picture as well. When a property changed that leaves the plot where it
    // was, with its ranges, ticks and look, the plot's pixels are kept and what lies around it
    // is drawn.
    void ResetImage();
    // Device pixels per chart pixel of the cached image: the set ratio, else the parent
    // widget's, else the application's (1 to 4).
    double PixelRatio() const;
    void SetPixelRatio(double ratio) { FPixelRatio = ratio; }
    std::int32_t ImageHandle() const { return FImageValid ? FImageSerial : 0; }
    const QImage &Image() const { return FImage; }
    void InvalidateImage() { FImageValid = false; }

    // Zoom: the unzoomed ranges come from the properties and the data; a zoom replaces them
    // until it is undone.
    bool Zoomed() const { return FZoom.has_value(); }
    void ZoomTo(Range x, Range y);
    void UndoZoom();
    // The ranges the properties and the data give, without a zoom.
    void UnzoomedRanges(Range &x, Range &y) const;
    // Scrolling the zoomed window over the data (ChartGetScrollInfo).
    ChartScrollInfo ScrollInfo(bool vertical) const;
    void Scroll(bool vertical, std::int32_t code, std::int32_t thumb);

    // Input.
    std::int32_t HitTest(int x, int y);
    std::int32_t HandleMessage(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam);
    bool Banding() const { return FBanding; }
    QRect BandRect() const;

    ChartSink *sink = nullptr;
    QPointer<QWidget> parentWidget; // owner of the chart's dialogs and menu

    ChartObject &Object() const { return FObject; }

private:
    void Notify(std::int32_t code);
    void RequestRepaint();
    // The ranges of the drawn data (0..1 when there is none).
    void DataRanges(Range &x, Range &y) const;
    // One subset as the data extent reads it: with the properties as they are, or as they were
    // when the kept extent was found (they are the same while it is kept).
    ReduceInput ExtentInput(std::int32_t subset, bool kept = false) const;
    ChartStyle ReadStyle() const;
    // The ranges a frame shows: the zoom's, else those of the properties and the data.
    void FrameRanges(Range &x, Range &y) const;
    ChartFrame BuildFrameWith(QSize size, Range x, Range y) const;
    // Whether every text and legend swatch of a frame lies clear of the plot (drawn ink
    // included), so that drawing the plot again leaves them as they are.
    static bool TextsClearOfPlot(const ChartFrame &f);
    // Margins, plot, ticks and placed texts for the frame's size, ranges and style.
    void LayOut(ChartFrame &f) const;
    // Everything but the overlays: desk, plot, grid, subsets, axes and texts. With a canvas (the
    // screen image, at a whole number of device pixels per chart pixel) the plot's background
    // is kept in it and the subsets are drawn into its pixels where that gives the pixels
    // QPainter gives.
    void DrawLayer(QPainter &p, const ChartFrame &f, raster::PlotCanvas *canvas) const;
    // What lies over the plot's background: subsets, the grid when it is in front, the axes.
    // With frame given, the axes are put as those pixels instead of being drawn (FrameOf).
    // One subset made ready to draw: its pen, its bars in chart pixels, and what it draws in
    // device pixels (directBars: its bars are filled straight into the screen image).
    struct SubsetTrace {
        QPen pen;
        std::vector<QRect> spans;
        raster::Trace trace;
        bool directBars = false;
    };
    // With traces given (from TraceSubsets), they are drawn.
    void DrawPlotContents(QPainter &p, const ChartFrame &f, raster::PlotCanvas *canvas,
                          const raster::OpaquePixels *frame = nullptr,
                          std::vector<SubsetTrace> *traces = nullptr) const;
    // What the axes draw inside the plot's device rectangle of the screen image (at a whole
    // number of device pixels per chart pixel), found by drawing them over two backgrounds:
    // false when they draw anything not opaque there, or away from the plot's edges.
    bool FrameOf(const ChartFrame &f, const QRect &plotPixels, raster::OpaquePixels &out) const;
    // What the fill and the grid of the plot are drawn from, and beyond them (PlotKey) the
    // colours of the frame drawn over the plot and of monochrome subsets: with the data and
    // the properties that only the plot reads, all the plot's pixels are drawn from.
    static std::vector<double> BackgroundKey(const ChartFrame &f);
    static std::vector<double> PlotKey(const ChartFrame &f);
    // Everything of a layer outside the plot, over a plot whose pixels are kept: the desk, the
    // grid and axes where they reach beyond the plot, the texts.
    void DrawAroundPlot(QPainter &p, const ChartFrame &f) const;
    // Vertical lines, graph annotations, then the axes again (the frame lies over the lines'
    // ends, with the pixels it has in the layer). When given, before is told the chart pixels
    // each line, mark and text will draw on, before it is drawn.
    using OverlayHook = std::function<void(const QRectF &)>;
    void DrawOverlays(QPainter &p, const ChartFrame &f, const OverlayHook *before) const;
    bool HasOverlays() const;
    // The subsets reduced to the columns of the plot, lines and bars; canvas: to be drawn into
    // the screen image's pixels (PlotCanvas).
    std::vector<SubsetTrace> TraceSubsets(const ChartFrame &f, bool canvas) const;
    // Draws the subsets (traced: made ready already); with a canvas, keeps in it what they drew.
    void DrawSubsets(QPainter &p, const ChartFrame &f, raster::PlotCanvas *canvas,
                     std::vector<SubsetTrace> *traced = nullptr) const;
    // After a change of the data, with the plot as the last rebuild drew it and its traces kept
    // in the canvas: draws again only the columns where the new traces give other pixels, from
    // the kept background, and puts the axes' pixels there (FAxesPixels). last: what the
    // subsets drew before, taken over as the canvas's record. False, with nothing drawn and
    // the traces as they were, where that cannot be told or most of the plot changed.
    bool RedrawChangedColumns(raster::PlotCanvas &canvas, raster::ColumnSpans &last,
                              std::vector<SubsetTrace> &traces) const;
    void DrawGrid(QPainter &p, const ChartFrame &f) const;
    void DrawAxes(QPainter &p, const ChartFrame &f) const;
    void DrawTitles(QPainter &p, const ChartFrame &f) const;
    void DrawGraphAnnotations(QPainter &p, const ChartFrame &f, const OverlayHook *before) const;
    void DrawVertLines(QPainter &p, const ChartFrame &f, const OverlayHook *before) const;
    void FinishBand(QPoint end);
    void PopupMenu(QPoint at);

    ChartObject &FObject;
    ChartFrame FFrame;
    // What the frame was laid out for; FGeneration counts the writes of properties the layout
    // depends on.
    struct FrameKey {
        QSize size;
        Range x, y;
        std::uint64_t generation = 0;
        QLocale locale;
    };
    std::optional<FrameKey> FFrameKey;
    std::uint64_t FGeneration = 1;
    bool FTextsClear = false;
    QImage FImage;
    bool FImageValid = false;
    // FImage holds the layer of the last rebuild (everything but the overlays) with the
    // overlays drawn over it; FUnderOverlays keeps the layer's pixels they cover. FLayerValid:
    // the layer is drawn as the properties say, for the size, plot and ranges FLayer... name;
    // FPlotDirty: the data changed since. FCanvas holds the plot's background and what the
    // subsets drew on it.
    bool FLayerValid = false;
    bool FPlotDirty = false;
    // FImage holds a whole layer (under its overlays), drawn from FLayerPlotKey with texts clear
    // of the plot or not (FLayerTextsClear); FPlotLookChanged: a property was written since that
    // the plot's pixels may depend on beyond what PlotKey holds.
    bool FImageHasLayer = false;
    bool FLayerTextsClear = false;
    bool FPlotLookChanged = true;
    std::vector<double> FLayerPlotKey;
    // The axes' pixels inside the plot, for the layer drawn from FAxesPlotKey (FAxesValid:
    // they can be put instead of drawn).
    raster::OpaquePixels FAxesPixels;
    std::vector<double> FAxesPlotKey;
    bool FAxesValid = false;
    raster::PlotCanvas FCanvas;
    raster::SavedPixels FUnderOverlays;
    QSize FLayerSize;
    QRect FLayerPlot;
    Range FLayerX, FLayerY;
    std::int32_t FImageSerial = 0;
    std::optional<std::pair<Range, Range>> FZoom;
    // The extent of the drawn data, kept from one rebuild to the next: a write of one value
    // widens it; it is found again by a pass over all the data (FExtentValid false) after a
    // value on its edge was overwritten (it may shrink), a write of many values, a change of
    // the data's shape or of what decides which points are drawn. FWriting: the cells of the
    // data write under way (DataWriting to Written).
    mutable DataExtent FExtent;
    mutable ReduceInput FExtentRules; // what decides which points are drawn
    mutable bool FExtentValid = false;
    struct DataCells {
        int axis;
        std::int32_t i, j;
        bool drawn; // the point before the write (one point written)
        double x, y;
    };
    std::optional<DataCells> FWriting;
    bool FBanding = false;
    QPoint FBandStart, FBandEnd;
    double FPixelRatio = 0.0; // 0: follow the screen
};

// The view of a chart (attached on first use), or null for an unknown handle.
ChartView *ViewOf(HCHART h);

// Helpers shared by the renderer's files.
QColor ChartColor(std::uint32_t c); // alpha byte 0 counts as opaque
QString FromU16(const std::u16string &s);
std::u16string ToU16(const QString &s);
// Line style of a subset or line annotation type: pen for the given colour.
QPen LinePen(std::int32_t lineType, const QColor &color, double scale);

} // namespace chartlib
