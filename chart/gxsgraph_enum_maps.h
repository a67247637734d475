// Library values of the enumerations. Every enumeration passes its ordinal to the chart
// library, except ePlottingMethod, ePlottingMethodII and eTALocation, which go through the
// tables below. A library value that is not in its table reads as the first value (ordinal 0);
// an ordinal that is not in its table is sent as 0.
#pragma once

#include "chart/gx_enum_map.h"
#include "chart/gxsgraph_types.h"

inline constexpr GXEnumMapEntry kPlottingMethodMap[] = {
    {sgLine, 0},
    {sgPoint, 2},
    {sgStick, 34},
    {sgPointsPlusBFL, 8},
    {sgPointsPlusBFC, 13},
    {sgPointsPlusSpline, 15},
    {sgSpline, 16},
    {sgBubble, 12},
    {sgPointsPlusLine, 17},
    {sgArea, 3},
    {sgBar, 1},
    {sgSpecificPlotMode, 11},
    {sgStep, 21},
    {sgRibbon, 22},
    {sgContourLines, 23},
    {sgContourColors, 24},
    {sgAreaStacked, 4},
    {sgAreaStackedPercent, 5},
    {sgBarStacked, 6},
    {sgBarStackedPercent, 7},
    {LineStacked, 30},
    {LineStackedPercent, 31},
    {sgSplineArea, 35},
    {sgSplineRibbon, 36},
};

inline constexpr GXEnumMapEntry kPlottingMethodIIMap[] = {
    {sgLine2, 0},
    {sgPoint2, 2},
    {sgPointsPlusBFL2, 8},
    {sgPointsPlusBFC2, 13},
    {sgPointsPlusSpline2, 15},
    {sgSpline2, 16},
    {sgPointsPlusLine2, 17},
    {sgStep2, 21},
    {sgRibbon2, 22},
};

// Desk and inside positions 0..15 as they are; the axis positions in groups of six.
inline constexpr GXEnumMapEntry kTALocationMap[] = {
    {sgTopCenterDesk, 0},       {sgTopLeftDesk, 1},        {sgLeftCenterDesk, 2},
    {sgBottomLeftDesk, 3},      {sgBottomCenterDesk, 4},   {sgBottomRightDesk, 5},
    {sgRightCenterDesk, 6},     {sgTopRightDesk, 7},       {sgInsideTopCenter, 8},
    {sgInsideTopLeft, 9},       {sgInsideLeftCenter, 10},  {sgInsideBottomLeft, 11},
    {sgInsideBottomCenter, 12}, {sgInsideBottomRight, 13}, {sgInsideRightCenter, 14},
    {sgInsideTopRight, 15},     {sgInsideAxis0, 100},      {sgInsideAxis1, 101},
    {sgInsideAxis2, 102},       {sgInsideAxis3, 103},      {sgInsideAxis4, 104},
    {sgInsideAxis5, 105},       {sgOutsideAxis0, 200},     {sgOutsideAxis1, 201},
    {sgOutsideAxis2, 202},      {sgOutsideAxis3, 203},     {sgOutsideAxis4, 204},
    {sgOutsideAxis5, 205},      {sgInsideOverlap0, 400},   {sgInsideOverlap1, 401},
    {sgInsideOverlap2, 402},    {sgInsideOverlap3, 403},   {sgInsideOverlap4, 404},
    {sgInsideOverlap5, 405},
};

// The tables of the mapped enumerations.
template <> constexpr std::span<const GXEnumMapEntry> GXEnumMap<ePlottingMethod>()
{
    return kPlottingMethodMap;
}
template <> constexpr std::span<const GXEnumMapEntry> GXEnumMap<ePlottingMethodII>()
{
    return kPlottingMethodIIMap;
}
template <> constexpr std::span<const GXEnumMapEntry> GXEnumMap<eTALocation>()
{
    return kTALocationMap;
}
