// The chart engine as one object of virtual operations, the way a chart control calls it.
// The default implementation forwards to the engine; tests derive from it to record the calls
// a control makes and their order.
#pragma once

#include "platform/chartlib/chart_ids.h"
#include "platform/chartlib/chartlib.h"
#include "platform/chartlib/render/chart_output.h"
#include "platform/chartlib/render/chart_render.h"

#include <QCursor>
#include <QImage>

#include <cstdint>
#include <span>
#include <string>

class QPainter;

namespace chartlib {

class ChartLibrary {
public:
    virtual ~ChartLibrary() = default;

    // Objects and properties.
    virtual HCHART ChartCreate(std::uint32_t typeOrOld, std::int32_t reserved,
                               const ChartRect *rect, WindowId parent, std::int32_t id);
    virtual bool ChartDestroy(HCHART h);
    virtual bool ChartSetInt(HCHART h, std::int32_t id, std::int32_t value);
    virtual std::int32_t ChartGetInt(HCHART h, std::int32_t id);
    virtual std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<std::uint8_t> out);
    virtual bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const std::uint8_t> block);
    virtual bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, double &out);
    virtual std::int32_t ChartAppendFromURL(HCHART h, std::u16string_view url, std::uint32_t flags);

    // Image and painting.
    virtual bool ChartReinitialize(HCHART h);
    virtual bool ChartResetImage(HCHART h, std::int32_t a, std::int32_t b);
    virtual std::int32_t ChartGetImage(HCHART h);
    // Draws the cached image at (0, 0).
    virtual bool ChartPlayImage(HCHART h, QPainter &painter, std::int32_t image);
    virtual bool ChartFinishPaint(HCHART h, QPainter &painter);
    virtual bool ChartMoveWindow(HCHART h, int width, int height);
    virtual bool ChartSetSink(HCHART h, ChartSink *sink);

    // Input and geometry.
    virtual std::int32_t ChartSendMessage(HCHART h, std::uint32_t message, std::uint32_t wParam,
                                          std::int32_t lParam);
    virtual std::int32_t ChartHitTest(HCHART h, std::int32_t x, std::int32_t y);
    virtual bool ChartConvertPoint(HCHART h, std::int32_t *axis, std::int32_t *x, std::int32_t *y,
                                   double *dx, double *dy, std::int32_t right, std::int32_t top,
                                   std::int32_t dir);
    virtual ChartScrollInfo ChartGetScrollInfo(HCHART h, bool vertical);
    virtual QCursor ChartCurrentCursor(HCHART h);

    // Actions.
    virtual bool ChartMaximize(HCHART h);
    virtual bool ChartCustomizeDialog(HCHART h);
    virtual bool ChartExportDialog(HCHART h);
    virtual bool ChartTextExportDialog(HCHART h, std::int32_t n, const std::u16string &text);
    virtual bool ChartPrintDialog(HCHART h, std::int32_t flag, const ChartPair *pair);
    virtual bool ChartColorDialog(HCHART h);
    virtual bool ChartFontDialog(HCHART h);
    virtual bool ChartPopupMenu(HCHART h, const ChartPair *pair);
    virtual bool ChartMetaToClip(HCHART h, const ChartPair *pair);
    virtual bool ChartMetaToFile(HCHART h, const ChartPair *pair, const std::u16string &file);
    virtual bool ChartBmpToClip(HCHART h, const ChartPair *pair);
    virtual bool ChartBmpToFile(HCHART h, const ChartPair *pair, const std::u16string &file);
    virtual bool ChartReinitCustoms(HCHART h);
    virtual bool ChartPrintGraph(HCHART h, std::int32_t a, std::int32_t b,
                                 std::int32_t orientation);
    virtual bool ChartReset(HCHART h);
    virtual bool ChartJpegToClip(HCHART h, const ChartPair *pair);
    virtual bool ChartJpegToFile(HCHART h, const ChartPair *pair, const std::u16string &file);
    virtual bool ChartPngToClip(HCHART h, const ChartPair *pair);
    virtual bool ChartPngToFile(HCHART h, const ChartPair *pair, const std::u16string &file);
};

// The library that forwards to the engine (one for the program).
ChartLibrary &DefaultChartLibrary();

} // namespace chartlib
