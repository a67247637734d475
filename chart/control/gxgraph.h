// GXGraph: the twin of the chart control GXSGraph, which no window of the program places. It is
// made from the same control (GXChartControl, gx_chart_control.h) over a chart object of type
// 300 and id 11111 and its own property set (GXGraphProperties). Its differences, all here: the
// action names carry the prefix g in place of sg; a click on hot-spot type 2 raises
// OnPointHotSpot and on type 4 OnTableHotSpot, while types 21 and 22 get the inherited handling
// (GXSGraph raises OnGridNumber for them).
#pragma once

#include "chart/control/gx_chart_control.h"
#include "chart/gxgraph_properties.h"

#include <cstdint>

namespace Gxgctl {

// The actions of GXactions; each does what the value of the same number does in GXSGraph.
enum eGXactions : std::uint8_t {
    gReinitAndReset,
    gReinitialize,
    gResetImage,
    gInvalidateImage,
    gMaximize,
    gCustomize,
    gExportDialog,
    gTextExportDialog,
    gPrintDialog,
    gColorDialog,
    gFontDialog,
    gPopupMenu,
    gMetaToClip,
    gMetaToFile,
    gBmpToClip,
    gBmpToFile,
    gOleToClip,
    gReinitCustoms,
    gPrintGraph,
    gUndoZoom,
    gReset,
    gJpegToClip,
    gJpegToFile,
    gPngToClip,
    gPngToFile
};
static_assert(gPngToFile + 1 == kGXActionCount && gUndoZoom == int(GXAction::UndoZoom));

// Event types of GXGraph's own: a point hot spot, and GXSGraph's TXAxisLabelEvent by the name
// this control gives it.
using TPointHotSpot =
    std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t PointIndex)>;
using TXAxisLabel = TXAxisLabelEvent;

struct GXGraphTraits {
    using Properties = GXGraphProperties;
    using Actions = eGXactions;
    static constexpr GXHotSpotRow HotSpotRow(std::int32_t type)
    {
        switch (type) {
        case 2:
            return GXHotSpotRow::Point;
        case 4:
            return GXHotSpotRow::Table;
        case 21:
        case 22:
            return GXHotSpotRow::Inherited;
        default:
            return GXBaseHotSpotRow(type);
        }
    }
};

class GXGraph : public GXChartControl<GXGraphTraits> {
    Q_OBJECT

public:
    // The chart object exists once the constructor returns. library: the engine to call (the
    // program's default when null; tests pass a recording one).
    explicit GXGraph(QWidget *owner = nullptr, chartlib::ChartLibrary *library = nullptr);

    // PointIndex = the hot spot's first index.
    TPointHotSpot OnPointHotSpot;
    // SubsetIndex = the first index, PointIndex = the second.
    TDataHotSpot OnTableHotSpot;

protected:
    void RaiseOwnHotSpot(GXHotSpotRow row, std::int32_t dbl, std::int32_t i1,
                         std::int32_t i2) override;
};

} // namespace Gxgctl

using Gxgctl::GXGraph;
