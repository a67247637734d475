// GXSGraph: the chart control of the graph windows. Its whole state lives in one chart object
// of the chart engine (type 304, id 12111); every setting is a numbered property reached
// through the accessors of GXSGraphProperties. Painting, input, events and actions are those of
// GXChartControl (gx_chart_control.h).
//
// Setters never repaint at run time: a window redraws with GXnarg1 := 0, GXnarg2 := 0,
// GXactions := sgResetImage, GXactions := sgInvalidateImage (or sgReinitAndReset after a whole
// chart state was loaded).
#pragma once

#include "chart/control/gx_chart_control.h"
#include "chart/gxsgraph_properties.h"

#include <cstdint>

// The actions of GXactions.
enum eGXactions : std::uint8_t {
    sgReinitAndReset,
    sgReinitialize,
    sgResetImage,
    sgInvalidateImage,
    sgMaximize,
    sgCustomize,
    sgExportDialog,
    sgTextExportDialog,
    sgPrintDialog,
    sgColorDialog,
    sgFontDialog,
    sgPopupMenu,
    sgMetaToClip,
    sgMetaToFile,
    sgBmpToClip,
    sgBmpToFile,
    sgOleToClip,
    sgReinitCustoms,
    sgPrintGraph,
    sgUndoZoom,
    sgReset,
    sgJpegToClip,
    sgJpegToFile,
    sgPngToClip,
    sgPngToFile
};
static_assert(sgPngToFile + 1 == kGXActionCount && sgUndoZoom == int(GXAction::UndoZoom));

// The control's differences from its twin GXGraph: its property set and action names; its
// hot-spot rows are the base ones (grid numbers on types 19 to 22, types 2 and 4 inherited).
struct GXSGraphTraits {
    using Properties = GXSGraphProperties;
    using Actions = eGXactions;
    static constexpr GXHotSpotRow HotSpotRow(std::int32_t type) { return GXBaseHotSpotRow(type); }
};

class GXSGraph : public GXChartControl<GXSGraphTraits> {
    Q_OBJECT

public:
    // The chart object exists once the constructor returns. library: the engine to call (the
    // program's default when null; tests pass a recording one).
    explicit GXSGraph(QWidget *owner = nullptr, chartlib::ChartLibrary *library = nullptr);
};
