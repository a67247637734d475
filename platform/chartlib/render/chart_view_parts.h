// Pieces the renderer's files share: reading properties with their defaults, the pens and
// colours of subsets and annotations, and where a graph annotation lies (drawing and hit test
// must agree on it).
#pragma once

#include "platform/chartlib/render/chart_view.h"

#include <QFontMetrics>
#include <QRectF>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace chartlib::parts {

int IntOr(const ChartObject &o, std::int32_t id, int def);
// A switch property (the low byte of a Boolean).
bool FlagOf(const ChartObject &o, std::int32_t id, bool def = false);
double DoubleOr(const ChartObject &o, std::int32_t id, double def); // finite values only
QString TextOf(const ChartObject &o, std::int32_t id);
// Elements of a one-index array (the first row of a two-index one); 0 when there is none.
std::size_t ArrayLength(const ChartObject &o, std::int32_t id);
QColor ColorOr(const ChartObject &o, std::int32_t id, QColor def);

QStringList SplitLines(const QString &text); // at CR LF, CR or LF
int WidestLine(const QFontMetrics &fm, const QStringList &lines);

// The pen of a subset's line: its own colour and line type, or in monochrome the text colour
// and a line type of its own.
QPen SubsetPen(const ChartObject &o, const ChartFrame &f, std::int32_t s);
// The colour of annotation i of a colour array (the text colour in monochrome).
QColor AnnotationColor(const ChartObject &o, const ChartFrame &f, std::int32_t id, std::int32_t i);

// A graph annotation that is shown: it has a symbol or a text, and its point lies in the plot.
struct PlacedAnnotation {
    int type;
    QString text;
    double px, py;
};
std::optional<PlacedAnnotation> PlaceGraphAnnotation(const ChartObject &o, const ChartFrame &f,
                                                     std::int32_t i);

// Where an annotation's symbol and text lie. The text sits right of a symbol (left of it where
// it would leave the plot), or at the point itself, and is moved inside the plot.
struct AnnotationGeometry {
    QRectF symbol; // empty when the annotation has no symbol
    QRectF text;   // bounding rectangle of the text
    QStringList lines;
    QPointF textOrigin; // baseline of the first line
};
AnnotationGeometry GeometryOf(const QFontMetrics &fm, const QRect &plot, const PlacedAnnotation &a);

} // namespace chartlib::parts
