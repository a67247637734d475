// Value types of the twin chart control GXGraph, in namespace Gxgctl: its enumerations (from
// gxgraph_enums.def, prefix g where GXSGraph's carry sg) and the description of its property
// table (gxgraph_properties.def): the rows it shares with GXSGraph, its own rows, and the
// names of GXSGraph's properties it does not have.
#pragma once

#include "chart/gx_table.h"

#include <cstdint>
#include <string_view>

namespace Gxgctl {

#define GX_ENUM GX_ENUM_DECLARE
#include "chart/gxgraph_enums.def"
#undef GX_ENUM

} // namespace Gxgctl

#define GX_ENUM(Name, Count, ...) GX_ENUM_TRAITS(Gxgctl::Name, Name, Count, __VA_ARGS__)
#include "chart/gxgraph_enums.def"
#undef GX_ENUM

namespace Gxgctl {

inline constexpr GXEnumInfo kGXGraphEnums[] = {
#define GX_ENUM GX_ENUM_INFO
#include "chart/gxgraph_enums.def"
#undef GX_ENUM
};

// A property row of GXGraph; shared: GXSGraph has the same property (name, id, family,
// access, value type, refresh mark). Nothing is stored by a form.
struct GXTwinPropertyInfo : GXPropertyInfo {
    bool shared;
};

#define GX_SHARE_SHARED true
#define GX_SHARE_OWN false
inline constexpr GXTwinPropertyInfo kGXGraphProperties[] = {
#define GXG(Name, Id, Family, Access, Kind, Type, Published, Refresh, Share)                       \
    {GX_PROPERTY_INFO(Name, Id, Family, Access, Kind, Type, Published, Refresh, 0),                \
     GX_SHARE_##Share},
#define GXA(Name)
#include "chart/gxgraph_properties.def"
#undef GXA
#undef GXG
};
#undef GX_SHARE_SHARED
#undef GX_SHARE_OWN

// The properties of GXSGraph that GXGraph does not have. A row is found with GXFindRow.
inline constexpr const char *kGXGraphAbsent[] = {
#define GXG(Name, Id, Family, Access, Kind, Type, Published, Refresh, Share)
#define GXA(Name) #Name,
#include "chart/gxgraph_properties.def"
#undef GXA
#undef GXG
};

} // namespace Gxgctl
