#include "chart/gxgraph_properties.h"

#include "chart/gxgraph_enum_maps.h"

namespace Gxgctl {

GXGraphProperties::GXGraphProperties() : GXChartProperties(kObjectType, kObjectId) {}

// The accessors, generated from the table.
#define GXG(Name, Id, Family, Access, Kind, Type, Published, Refresh, Share)                       \
    GX_DEFINE_ACCESSORS(GXGraphProperties, Name, Id, Family, Access, Type, Refresh)
#define GXA(Name)
#include "chart/gxgraph_properties.def"
#undef GXA
#undef GXG

} // namespace Gxgctl
