// Property ids the engine itself gives a meaning to, the records it keeps for the control and
// the engine's limits. Every other id is stored as it is written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace chartlib {

// The object types the engine creates: the graph (300) and the scientific graph (304). Both hold
// any numbered property and are drawn alike; a chart of another type is not created.
constexpr std::uint32_t kObjectTypeGraph = 300;
constexpr std::uint32_t kObjectTypeScientificGraph = 304;

namespace prop {
// The object type the chart was created with (read-only).
constexpr std::int32_t ObjectType = 2100;
// Data shape; changing either keeps the values that still fit.
constexpr std::int32_t Subsets = 2115;
constexpr std::int32_t Points = 2120;
// The data, held once as double; the single-precision ids are views of the same store.
constexpr std::int32_t XData = 2135;   // single
constexpr std::int32_t XDataII = 3013; // double
constexpr std::int32_t YData = 2140;   // single
constexpr std::int32_t YDataII = 3014; // double
constexpr std::int32_t ZData = 2900;   // single
// Per-point arrays shaped like the data (subset, point).
constexpr std::int32_t PointTypes = 3156;
constexpr std::int32_t PointColors = 3258;
constexpr std::int32_t DataPointLabels = 3643;
constexpr std::int32_t PointHatch = 3114;

// Transient values: handles, positions and records of the running chart. They are never part
// of a state block, and restoring a block keeps their current values.
constexpr std::int32_t CacheBitmap = 2575;
constexpr std::int32_t CacheDC = 2580;
constexpr std::int32_t HotSpotData = 2610; // HotSpotRecord
constexpr std::int32_t PlotRect = 2611;    // ChartRect, chart pixels
constexpr std::int32_t MousePoint = 2637;  // PointRecord, chart pixels
constexpr std::int32_t CustomMenuIndex = 2675;
constexpr std::int32_t CustomSubmenuIndex = 2676;
constexpr std::int32_t ImageDirty = 2905;
constexpr std::int32_t NotifyWindow = 2915;
constexpr std::int32_t Painting = 2916;
constexpr std::int32_t DialogResult = 2981;
constexpr std::int32_t GraphHotSpotData = 3023;     // GraphHotSpotRecord
constexpr std::int32_t CustomGridNumberData = 3162; // CustomGridNumberRecord
constexpr std::int32_t ZoomWindowShowing = 3385;
} // namespace prop

// True for the ids listed as transient above.
bool IsTransientProperty(std::int32_t id);

// Records kept in block properties. Layouts are little-endian int32/double as the control
// reads them.
struct HotSpotRecord { // 28 bytes
    std::uint8_t reserved[16];
    std::int32_t type;
    std::int32_t index1;
    std::int32_t index2;
};
static_assert(sizeof(HotSpotRecord) == 28);

struct GraphHotSpotRecord { // 24 bytes
    std::int32_t axis;
    std::int32_t padding;
    double x;
    double y;
};
static_assert(sizeof(GraphHotSpotRecord) == 24);

struct CustomGridNumberRecord { // 216 bytes
    std::int32_t axisType;
    std::int32_t axisIndex;
    double number;
    char16_t text[100];
};
static_assert(sizeof(CustomGridNumberRecord) == 216);

struct PointRecord {
    std::int32_t x;
    std::int32_t y;
};

// Limits.
constexpr std::int32_t kMinPropertyId = 1;
constexpr std::int32_t kMaxPropertyId = 0xFFFF;
constexpr std::int32_t kMaxSubsets = 65536;
constexpr std::int32_t kMaxPoints = 1 << 24;                     // 16,777,216 points per subset
constexpr std::int64_t kMaxDataElements = std::int64_t(1) << 26; // Subsets x Points
constexpr std::int32_t kMaxArrayLength = 1 << 20;                // one-index arrays
constexpr std::int32_t kMaxGridRows = 4096;                      // other two-index arrays
constexpr std::int32_t kMaxGridColumns = 65536;
constexpr std::int64_t kMaxGridElements = std::int64_t(1) << 22;
constexpr std::size_t kMaxTextUnits = 32767;
// All texts of one chart together (scalars and array cells, UTF-16): a write that would pass
// this is refused.
constexpr std::size_t kMaxChartTextBytes = std::size_t(64) << 20;
constexpr std::size_t kMaxBlockBytes = 65536;

} // namespace chartlib
