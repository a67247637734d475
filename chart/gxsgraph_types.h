// Value types of the chart control GXSGraph: its enumerations (from gxsgraph_enums.def) and
// the description of its property table (gxsgraph_properties.def). The types both controls
// share are in gx_table.h.
#pragma once

#include "chart/gx_table.h"

#include <cstdint>
#include <string_view>

// The enumerations: one byte each, values in ordinal order.
#define GX_ENUM GX_ENUM_DECLARE
#include "chart/gxsgraph_enums.def"
#undef GX_ENUM

#define GX_ENUM(Name, Count, ...) GX_ENUM_TRAITS(Name, Name, Count, __VA_ARGS__)
#include "chart/gxsgraph_enums.def"
#undef GX_ENUM

inline constexpr GXEnumInfo kGXSGraphEnums[] = {
#define GX_ENUM GX_ENUM_INFO
#include "chart/gxsgraph_enums.def"
#undef GX_ENUM
};

inline constexpr GXPropertyInfo kGXSGraphProperties[] = {
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_PROPERTY_INFO(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored),
#include "chart/gxsgraph_properties.def"
#undef GXP
};

// The property of the given name or id, or null.
const GXPropertyInfo *GXFindProperty(std::string_view name);
const GXPropertyInfo *GXFindProperty(std::int32_t id);
