#include "chart/control/gxsgraph.h"

#include "chart/control/gx_chart_control_impl.h"

template class GXChartControl<GXSGraphTraits>;

GXSGraph::GXSGraph(QWidget *owner, ChartLibrary *library) : GXChartControl(owner, library) {}
