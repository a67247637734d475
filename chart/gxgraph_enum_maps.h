// Library values of GXGraph's mapped enumerations: ePlottingMethod, ePlottingMethodII and
// eTALocation. The library values that only GXSGraph's chart knows (bubbles, contours,
// stacked lines, sticks, spline areas and ribbons) have no value here, and the II best fits,
// histograms and horizontal bars have none in GXSGraph. A library value that is not in its
// table reads as ordinal 0; an ordinal that is not in its table is sent as 0.
#pragma once

#include "chart/gx_enum_map.h"
#include "chart/gxgraph_types.h"

#include <array>
#include <cstddef>

namespace Gxgctl {

inline constexpr GXEnumMapEntry kPlottingMethodMap[] = {
    {gLine, 0},
    {gBar, 1},
    {gPoint, 2},
    {gArea, 3},
    {gAreaStacked, 4},
    {gAreaStackedPercent, 5},
    {gBarStacked, 6},
    {gBarStackedPercent, 7},
    {gPointsPlusBFL, 8},
    {gPointsPlusBFLII, 9},
    {gPointsPlusBFC, 13},
    {gPointsPlusBFCII, 14},
    {gPointsPlusSpline, 15},
    {gSpline, 16},
    {gHistogram, 10},
    {gSpecificPlotMode, 11},
    {gPointsPlusLine, 17},
    {gHorizontalBar, 18},
    {gHorzStackedBar, 19},
    {gHorzStackedBarPercent, 20},
    {gStep, 21},
    {gRibbon, 22},
};

inline constexpr GXEnumMapEntry kPlottingMethodIIMap[] = {
    {gLine2, 0},
    {gPoint2, 2},
    {gPointsPlusBFL2, 8},
    {gPointsPlusBFLII2, 9},
    {gPointsPlusBFC2, 13},
    {gPointsPlusBFCII2, 14},
    {gPointsPlusSpline2, 15},
    {gSpline2, 16},
    {gPointsPlusLine2, 17},
    {gStep2, 21},
    {gRibbon2, 22},
};

// The desk and inside positions 0..15 as they are, then the axis positions in groups of six,
// with the table position 300 between the outside and the overlapping ones.
constexpr auto MakeTALocationMap()
{
    std::array<GXEnumMapEntry, 35> map{};
    std::size_t k = 0;
    for (int v = 0; v < 16; ++v)
        map[k++] = {std::uint8_t(gTopCenterDesk + v), v};
    for (int v = 0; v < 6; ++v)
        map[k++] = {std::uint8_t(gInsideAxis0 + v), 100 + v};
    for (int v = 0; v < 6; ++v)
        map[k++] = {std::uint8_t(gOutsideAxis0 + v), 200 + v};
    map[k++] = {gInsideTable, 300};
    for (int v = 0; v < 6; ++v)
        map[k++] = {std::uint8_t(gInsideOverlap0 + v), 400 + v};
    return map;
}
inline constexpr auto kTALocationMap = MakeTALocationMap();

} // namespace Gxgctl

template <> constexpr std::span<const GXEnumMapEntry> GXEnumMap<Gxgctl::ePlottingMethod>()
{
    return Gxgctl::kPlottingMethodMap;
}
template <> constexpr std::span<const GXEnumMapEntry> GXEnumMap<Gxgctl::ePlottingMethodII>()
{
    return Gxgctl::kPlottingMethodIIMap;
}
template <> constexpr std::span<const GXEnumMapEntry> GXEnumMap<Gxgctl::eTALocation>()
{
    return Gxgctl::kTALocationMap;
}
