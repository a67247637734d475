// The property accessors of the chart control GXSGraph, without its window. Every property of
// gxsgraph_properties.def has a setter SetX and a getter GetX that forward to the chart object
// with the property's id; the control keeps no copy of any value. The window control derives
// from this class and overrides ResetandInvalidate. Signatures and conversions are those of
// gx_properties.h; ePlottingMethod, ePlottingMethodII and eTALocation go through the tables of
// gxsgraph_enum_maps.h.
//
// For the data arrays (YData, XData, XDataII, YDataII, PointColors, PointTypes,
// DataPointLabels) i is the subset and j the point.
#pragma once

#include "chart/gx_properties.h"
#include "chart/gxsgraph_types.h"

#include <cstdint>

class GXSGraphProperties : public GXChartProperties {
public:
    // Object type and id of the chart object of this control.
    static constexpr std::uint32_t kObjectType = 304;
    static constexpr std::int32_t kObjectId = 12111;

    // Creates the chart object, windowless, 300 x 300.
    GXSGraphProperties();

    // Writes the values the graph window's form stores for this control (its published
    // properties, except floating values of 0 and empty texts).
    void ApplyGraphFormValues();

#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_DECLARE_ACCESSORS(Name, Family, Access, Type)
#include "chart/gxsgraph_properties.def"
#undef GXP
};
