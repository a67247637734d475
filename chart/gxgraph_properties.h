// The property accessors of the twin chart control GXGraph, without its window: a setter SetX
// and a getter GetX for every property of gxgraph_properties.def, forwarding to a chart object
// of type 300 (id 11111) exactly as GXSGraphProperties does for its own table (gx_properties.h).
// ePlottingMethod, ePlottingMethodII and eTALocation go through gxgraph_enum_maps.h.
#pragma once

#include "chart/gx_properties.h"
#include "chart/gxgraph_types.h"

#include <cstdint>

namespace Gxgctl {

class GXGraphProperties : public GXChartProperties {
public:
    // Object type and id of the chart object of this control.
    static constexpr std::uint32_t kObjectType = 300;
    static constexpr std::int32_t kObjectId = 11111;

    // Creates the chart object, windowless, 300 x 300.
    GXGraphProperties();

#define GXG(Name, Id, Family, Access, Kind, Type, Published, Refresh, Share)                       \
    GX_DECLARE_ACCESSORS(Name, Family, Access, Type)
#define GXA(Name)
#include "chart/gxgraph_properties.def"
#undef GXA
#undef GXG
};

} // namespace Gxgctl
