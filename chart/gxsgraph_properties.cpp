#include "chart/gxsgraph_properties.h"

#include "chart/gxsgraph_enum_maps.h"

GXSGraphProperties::GXSGraphProperties() : GXChartProperties(kObjectType, kObjectId) {}

// The accessors, generated from the table.
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_DEFINE_ACCESSORS(GXSGraphProperties, Name, Id, Family, Access, Type, Refresh)
#include "chart/gxsgraph_properties.def"
#undef GXP

void GXSGraphProperties::ApplyGraphFormValues()
{
#define GX_STORE_0(N, V)
#define GX_STORE_1(N, V) Set##N(V);
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_STORE_##Stored(Name, Value)
#include "chart/gxsgraph_properties.def"
#undef GXP
#undef GX_STORE_0
#undef GX_STORE_1
}

const GXPropertyInfo *GXFindProperty(std::string_view name)
{
    return GXFindRow(kGXSGraphProperties, name);
}

const GXPropertyInfo *GXFindProperty(std::int32_t id)
{
    return GXFindRow(kGXSGraphProperties, id);
}
