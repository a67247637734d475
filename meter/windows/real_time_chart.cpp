#include "meter/windows/real_time_chart.h"

#include "chart/control/gxsgraph.h"

namespace meter {

int TRealTimeGraphChart::GetPoints()
{
    return FChart.GetPoints();
}

void TRealTimeGraphChart::SetPoints(int points)
{
    FChart.SetPoints(points);
}

int TRealTimeGraphChart::GetSubsets()
{
    return FChart.GetSubsets();
}

double TRealTimeGraphChart::GetXDataII(int subset, int point)
{
    return FChart.GetXDataII(subset, point);
}

void TRealTimeGraphChart::SetXDataII(int subset, int point, double value)
{
    FChart.SetXDataII(subset, point, value);
}

void TRealTimeGraphChart::SetYDataII(int subset, int point, double value)
{
    FChart.SetYDataII(subset, point, value);
}

float TRealTimeGraphChart::GetYData(int subset, int point)
{
    return FChart.GetYData(subset, point);
}

void TRealTimeGraphChart::SetYData(int subset, int point, float value)
{
    FChart.SetYData(subset, point, value);
}

double TRealTimeGraphChart::GetManualMaxX()
{
    return FChart.GetManualMaxX();
}

void TRealTimeGraphChart::SetManualMinX(double value)
{
    FChart.SetManualMinX(value);
}

void TRealTimeGraphChart::SetManualMaxX(double value)
{
    FChart.SetManualMaxX(value);
}

void TRealTimeGraphChart::Repaint()
{
    FChart.SetGXnarg1(0);
    FChart.SetGXnarg2(0);
    FChart.SetGXactions(sgResetImage);
    FChart.SetGXactions(sgInvalidateImage);
}

} // namespace meter
