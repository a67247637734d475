// The renderer's state of one chart object (attached to it) and the frame of one drawing: the
// layout, ranges and ticks computed from the properties for a given size.
#pragma once

#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/render/chart_render.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace chartlib {

struct Range {
    double min = 0.0, max = 1.0;
    bool operator==(const Range &) const = default;
};

struct Tick {
    double value = 0.0;
    QString label;  // first line
    QString label2; // second line (the date under a time), may be empty
};

// Colours and fonts of one drawing, read from the properties.
struct ChartStyle {
    QColor desk, text, graphFore, graphBack, grid, yAxis, xAxis;
    bool mono = false;
    QFont title, subTitle, label, numbers, legend, annotation, lineAnnotation;
    int gridStyle = 0;
    int gridControl = 0;
    bool gridInFront = false;
};

// Everything laid out for one size.
struct ChartFrame {
    QSize size;
    QRect plot; // plotting area, chart pixels (right and bottom inclusive)
    Range x, y; // ranges shown
    bool dateTime = false;
    double penScale = 1.0; // device pixels per chart pixel (printing)
    ChartStyle style;
    QString mainTitle, subTitle, xLabel, yLabel;
    QRect mainTitleRect, subTitleRect;
    std::vector<QString> legendTexts;
    std::vector<int> legendSubsets;
    std::vector<QRect> legendRects; // one per legend entry
    std::vector<Tick> xTicks, yTicks;

    // Pixel of a data value (not rounded).
    double PixelX(double v) const;
    double PixelY(double v) const;
    double DataX(double px) const;
    double DataY(double py) const;
};

// A run of consecutive points that fall in one pixel column (the min/max reduction).
struct ColumnRun {
    double firstX, firstY, lastX, lastY, minY, maxY;
    bool minFirst;
};

class ChartView : public ChartAttachment {
public:
    explicit ChartView(ChartObject &object);

    void Reinitialized() override;
    void StateReplaced() override;

    // Screen layout at the chart's size; stores PlotRect.
    void Relayout();
    const ChartFrame &Frame() const { return FFrame; }

    // Builds a frame for any size (printing and export use their own sizes).
    ChartFrame BuildFrame(QSize size) const;
    // Draws a frame into the painter at (0, 0).
    void Draw(QPainter &p, const ChartFrame &f) const;

    void ResetImage();
    std::int32_t ImageHandle() const { return FImageValid ? FImageSerial : 0; }
    const QImage &Image() const { return FImage; }
    void InvalidateImage() { FImageValid = false; }

    // Zoom: the unzoomed ranges come from the properties and the data; a zoom replaces them
    // until it is undone.
    bool Zoomed() const { return FZoom.has_value(); }
    void ZoomTo(Range x, Range y);
    void UndoZoom();

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
    ChartStyle ReadStyle(QSize size) const;
    void DrawSubsets(QPainter &p, const ChartFrame &f) const;
    void DrawGrid(QPainter &p, const ChartFrame &f) const;
    void DrawAxes(QPainter &p, const ChartFrame &f) const;
    void DrawTitles(QPainter &p, const ChartFrame &f) const;
    void DrawGraphAnnotations(QPainter &p, const ChartFrame &f) const;
    void DrawVertLines(QPainter &p, const ChartFrame &f) const;
    void FinishBand(QPoint end);
    void PopupMenu(QPoint at);

    ChartObject &FObject;
    ChartFrame FFrame;
    QImage FImage;
    bool FImageValid = false;
    std::int32_t FImageSerial = 0;
    std::optional<std::pair<Range, Range>> FZoom;
    bool FBanding = false;
    QPoint FBandStart, FBandEnd;
};

// The view of a chart (attached on first use), or null for an unknown handle.
ChartView *ViewOf(HCHART h);

// Helpers shared by the renderer's files.
QColor ChartColor(std::uint32_t c); // alpha byte 0 counts as opaque
QString FromU16(const std::u16string &s);
std::u16string ToU16(const QString &s);
// Line style of a subset or line annotation type: pen for the given colour.
QPen LinePen(std::int32_t lineType, const QColor &color, double scale);
// Reduces one subset to pixel-column runs. Calls emit(run, column) for each run in order; the
// gap flag is passed before a run that must not be joined to the previous one.
struct ReduceInput {
    std::span<const double> xs, ys;
    std::int32_t points = 0;
    bool useIndexX = false; // no X data: the point number (1-based) is X
    bool skipZeroX = false; // date-time mode: points whose X is 0.0 are not drawn
    bool hasNull = false;
    double nullY = 0.0;
    bool gaps = false; // null values break the line
};
std::vector<ColumnRun> ReduceToColumns(const ReduceInput &in, const ChartFrame &f,
                                       std::vector<std::size_t> *breaksBefore);

// TDateTime (days since 1899-12-30) to a Qt date-time in local wall-clock terms and back.
QDateTime DateTimeFromDays(double days);

} // namespace chartlib
