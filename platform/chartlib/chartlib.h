// The chart engine: chart objects named by a 32-bit handle, numbered properties of every kind,
// data arrays and the state block. This header holds the storage side of the engine; drawing,
// hit tests and dialogs live in the renderer (render/), which works on the same objects.
//
// Every operation checks its handle, its indexes and its sizes. Reads outside the data give 0
// (or an empty text), writes outside are ignored, a whole-array write with no elements does
// nothing. Sizes and capacities are always passed by the caller, never assumed.
//
// All operations run on the GUI thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace chartlib {

using HCHART = std::uint32_t;    // 0 = no chart
using WindowId = std::uintptr_t; // opaque parent window of a chart; 0 = windowless

struct ChartRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// ---- Objects ---------------------------------------------------------------------------------

// Creates a chart object. typeOrOld is an object type (300 or 304, chart_ids.h) for a new
// object; when it is the handle of a live object, that object is re-created as the child of
// `parent` and keeps its handle and every value written to it. rect may be null (300 x 300).
// Returns 0 on failure (another object type, a handle that names nothing).
HCHART ChartCreate(std::uint32_t typeOrOld, std::int32_t reserved, const ChartRect *rect,
                   WindowId parent, std::int32_t id);
// Frees the object; false when the handle names none.
bool ChartDestroy(HCHART h);
// Recomputes derived state from the properties (the renderer hooks in here).
bool ChartReinitialize(HCHART h);

// ---- 32-bit values ---------------------------------------------------------------------------

bool ChartSetInt(HCHART h, std::int32_t id, std::int32_t value);
// Never-written properties, unknown handles and non-numeric values read as 0.
std::int32_t ChartGetInt(HCHART h, std::int32_t id);

// ---- Doubles, singles and blocks (ChartSetProperty / ChartGetProperty) -----------------------

// One value (what the accessors pass with element count 0).
bool ChartSetProperty(HCHART h, std::int32_t id, double value);
bool ChartSetProperty(HCHART h, std::int32_t id, float value);
// out receives the value (0 when there is none); false when there is none.
bool ChartGetProperty(HCHART h, std::int32_t id, double &out);
bool ChartGetProperty(HCHART h, std::int32_t id, float &out);

// Whole arrays with an explicit element count (the span's size). One-index arrays are filled
// from element 0; two-index arrays row by row (for the data: subset by subset, each over
// Points). An empty span writes nothing and returns false.
bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const double> values);
bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const float> values);
bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const std::int32_t> values);
// Reads out.size() elements in the same order; elements outside the data read as 0. Returns
// the number of elements that lie inside the data.
std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<double> out);
std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<float> out);
std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<std::int32_t> out);

// Blocks (records such as HotSpotData or PlotRect): copied in as they are, at most
// kMaxBlockBytes. The getter copies at most out.size() bytes, zero-fills the rest of out and
// returns the stored size.
bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const std::uint8_t> block);
std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<std::uint8_t> out);

// ---- Texts (UTF-16) --------------------------------------------------------------------------

// The text is taken up to its first NUL and at most kMaxTextUnits units.
bool ChartSetString(HCHART h, std::int32_t id, std::u16string_view text);
// Writes at most capacity - 1 units and a terminating NUL into buffer; returns the number of
// units written (without the NUL), or -1 when capacity is 0 or buffer is null.
std::int32_t ChartGetString(HCHART h, std::int32_t id, char16_t *buffer, std::size_t capacity);

// ---- Array elements --------------------------------------------------------------------------

// One index. Writes grow the array up to kMaxArrayLength elements; a negative index is ignored.
bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, std::int32_t value);
bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, double value);
bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, float value);
bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, std::u16string_view text);
bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, std::int32_t &out);
bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, double &out);
bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, float &out);
std::int32_t ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, char16_t *buffer,
                             std::size_t capacity);

// The number of elements a one-index array holds (the highest index written + 1); 0 for an
// unknown handle or an id that holds no array.
std::size_t ChartArrayLength(HCHART h, std::int32_t id);

// Two indexes. For the data arrays i is the subset and j the point, bounded by Subsets and
// Points; other two-index arrays grow up to kMaxGridRows x kMaxGridColumns. -1 in either
// position writes the whole of that dimension.
bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                       std::int32_t value);
bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, double value);
bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, float value);
bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                       std::u16string_view text);
bool ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                       std::int32_t &out);
bool ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, double &out);
bool ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, float &out);
std::int32_t ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                               char16_t *buffer, std::size_t capacity);

// ---- State block -----------------------------------------------------------------------------

// The whole state of the chart: every property that was written, the data and the annotations.
// Empty for an unknown handle.
std::vector<std::uint8_t> ChartStoreState(HCHART h);
// Validates the whole block first, then replaces the chart's state; a damaged or truncated
// block changes nothing and returns false. Bytes after the block's own length are ignored.
bool ChartLoadState(HCHART h, std::span<const std::uint8_t> block);

// ---- Remote data -----------------------------------------------------------------------------

// Appending data from a URL is not supported: the engine never touches the network. Returns 0
// (failure) and changes nothing.
std::int32_t ChartAppendFromURL(HCHART h, std::u16string_view url, std::uint32_t flags);

// ---- Colours ---------------------------------------------------------------------------------

// Chart colour: alpha in bits 24..31, blue 16..23, green 8..15, red 0..7.
constexpr std::uint32_t ChartArgb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (std::uint32_t(a) << 24) | (std::uint32_t(b) << 16) | (std::uint32_t(g) << 8) |
           std::uint32_t(r);
}
constexpr std::uint8_t ColorRed(std::uint32_t c)
{
    return std::uint8_t(c);
}
constexpr std::uint8_t ColorGreen(std::uint32_t c)
{
    return std::uint8_t(c >> 8);
}
constexpr std::uint8_t ColorBlue(std::uint32_t c)
{
    return std::uint8_t(c >> 16);
}
constexpr std::uint8_t ColorAlpha(std::uint32_t c)
{
    return std::uint8_t(c >> 24);
}

} // namespace chartlib
