#include "chart/control/gxgraph.h"

#include "chart/control/gx_chart_control_impl.h"

template class GXChartControl<Gxgctl::GXGraphTraits>;

namespace Gxgctl {

GXGraph::GXGraph(QWidget *owner, ChartLibrary *library) : GXChartControl(owner, library) {}

void GXGraph::RaiseOwnHotSpot(GXHotSpotRow row, std::int32_t dbl, std::int32_t i1, std::int32_t i2)
{
    if (row == GXHotSpotRow::Point && OnPointHotSpot)
        OnPointHotSpot(this, dbl, i1);
    else if (row == GXHotSpotRow::Table && OnTableHotSpot)
        OnTableHotSpot(this, dbl, i1, i2);
}

} // namespace Gxgctl
