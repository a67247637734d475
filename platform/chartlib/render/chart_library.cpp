#include "platform/chartlib/render/chart_library.h"

#include <QPainter>

namespace chartlib {

// Each operation forwards to the engine function of the same name.
HCHART ChartLibrary::ChartCreate(std::uint32_t typeOrOld, std::int32_t reserved,
                                 const ChartRect *rect, WindowId parent, std::int32_t id)
{
    return chartlib::ChartCreateWithView(typeOrOld, reserved, rect, parent, id);
}
bool ChartLibrary::ChartDestroy(HCHART h)
{
    return chartlib::ChartDestroy(h);
}
bool ChartLibrary::ChartSetInt(HCHART h, std::int32_t id, std::int32_t value)
{
    return chartlib::ChartSetInt(h, id, value);
}
std::int32_t ChartLibrary::ChartGetInt(HCHART h, std::int32_t id)
{
    return chartlib::ChartGetInt(h, id);
}
std::size_t ChartLibrary::ChartGetProperty(HCHART h, std::int32_t id, std::span<std::uint8_t> out)
{
    return chartlib::ChartGetProperty(h, id, out);
}
bool ChartLibrary::ChartSetProperty(HCHART h, std::int32_t id, std::span<const std::uint8_t> block)
{
    return chartlib::ChartSetProperty(h, id, block);
}
bool ChartLibrary::ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, double &out)
{
    return chartlib::ChartGetElement(h, id, i, out);
}
std::int32_t ChartLibrary::ChartAppendFromURL(HCHART h, std::u16string_view url,
                                              std::uint32_t flags)
{
    return chartlib::ChartAppendFromURL(h, url, flags);
}
bool ChartLibrary::ChartReinitialize(HCHART h)
{
    return chartlib::ChartReinitialize(h);
}
bool ChartLibrary::ChartResetImage(HCHART h, std::int32_t a, std::int32_t b)
{
    return chartlib::ChartResetImage(h, a, b);
}
std::int32_t ChartLibrary::ChartGetImage(HCHART h)
{
    return chartlib::ChartGetImage(h);
}
bool ChartLibrary::ChartPlayImage(HCHART h, QPainter &painter, std::int32_t image)
{
    if (image == 0 || chartlib::ChartGetImage(h) != image)
        return false;
    painter.drawImage(QPoint(0, 0), chartlib::ChartCachedImage(h));
    return true;
}
bool ChartLibrary::ChartFinishPaint(HCHART h, QPainter &painter)
{
    return chartlib::ChartFinishPaint(h, painter);
}
bool ChartLibrary::ChartMoveWindow(HCHART h, int width, int height)
{
    return chartlib::ChartMoveWindow(h, width, height);
}
bool ChartLibrary::ChartSetSink(HCHART h, ChartSink *sink)
{
    return chartlib::ChartSetSink(h, sink);
}
std::int32_t ChartLibrary::ChartSendMessage(HCHART h, std::uint32_t message, std::uint32_t wParam,
                                            std::int32_t lParam)
{
    return chartlib::ChartSendMessage(h, message, wParam, lParam);
}
std::int32_t ChartLibrary::ChartHitTest(HCHART h, std::int32_t x, std::int32_t y)
{
    return chartlib::ChartHitTest(h, x, y);
}
bool ChartLibrary::ChartConvertPoint(HCHART h, std::int32_t *axis, std::int32_t *x, std::int32_t *y,
                                     double *dx, double *dy, std::int32_t right, std::int32_t top,
                                     std::int32_t dir)
{
    return chartlib::ChartConvertPoint(h, axis, x, y, dx, dy, right, top, dir);
}
ChartScrollInfo ChartLibrary::ChartGetScrollInfo(HCHART h, bool vertical)
{
    return chartlib::ChartGetScrollInfo(h, vertical);
}
QCursor ChartLibrary::ChartCurrentCursor(HCHART h)
{
    return chartlib::ChartCurrentCursor(h);
}
bool ChartLibrary::ChartMaximize(HCHART h)
{
    return chartlib::ChartMaximize(h);
}
bool ChartLibrary::ChartCustomizeDialog(HCHART h)
{
    return chartlib::ChartCustomizeDialog(h);
}
bool ChartLibrary::ChartExportDialog(HCHART h)
{
    return chartlib::ChartExportDialog(h);
}
bool ChartLibrary::ChartTextExportDialog(HCHART h, std::int32_t n, const std::u16string &text)
{
    return chartlib::ChartTextExportDialog(h, n, text);
}
bool ChartLibrary::ChartPrintDialog(HCHART h, std::int32_t flag, const ChartPair *pair)
{
    return chartlib::ChartPrintDialog(h, flag, pair);
}
bool ChartLibrary::ChartColorDialog(HCHART h)
{
    return chartlib::ChartColorDialog(h);
}
bool ChartLibrary::ChartFontDialog(HCHART h)
{
    return chartlib::ChartFontDialog(h);
}
bool ChartLibrary::ChartPopupMenu(HCHART h, const ChartPair *pair)
{
    return chartlib::ChartPopupMenu(h, pair);
}
bool ChartLibrary::ChartMetaToClip(HCHART h, const ChartPair *pair)
{
    return chartlib::ChartMetaToClip(h, pair);
}
bool ChartLibrary::ChartMetaToFile(HCHART h, const ChartPair *pair, const std::u16string &file)
{
    return chartlib::ChartMetaToFile(h, pair, file);
}
bool ChartLibrary::ChartBmpToClip(HCHART h, const ChartPair *pair)
{
    return chartlib::ChartBmpToClip(h, pair);
}
bool ChartLibrary::ChartBmpToFile(HCHART h, const ChartPair *pair, const std::u16string &file)
{
    return chartlib::ChartBmpToFile(h, pair, file);
}
bool ChartLibrary::ChartReinitCustoms(HCHART h)
{
    return chartlib::ChartReinitCustoms(h);
}
bool ChartLibrary::ChartPrintGraph(HCHART h, std::int32_t a, std::int32_t b,
                                   std::int32_t orientation)
{
    return chartlib::ChartPrintGraph(h, a, b, orientation);
}
bool ChartLibrary::ChartReset(HCHART h)
{
    return chartlib::ChartReset(h);
}
bool ChartLibrary::ChartJpegToClip(HCHART h, const ChartPair *pair)
{
    return chartlib::ChartJpegToClip(h, pair);
}
bool ChartLibrary::ChartJpegToFile(HCHART h, const ChartPair *pair, const std::u16string &file)
{
    return chartlib::ChartJpegToFile(h, pair, file);
}
bool ChartLibrary::ChartPngToClip(HCHART h, const ChartPair *pair)
{
    return chartlib::ChartPngToClip(h, pair);
}
bool ChartLibrary::ChartPngToFile(HCHART h, const ChartPair *pair, const std::u16string &file)
{
    return chartlib::ChartPngToFile(h, pair, file);
}

ChartLibrary &DefaultChartLibrary()
{
    static ChartLibrary library;
    return library;
}

} // namespace chartlib
