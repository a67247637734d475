// The chart of the "Real-Time Graph" window as real-time sampling writes it:
// meter::TRealTimeChart over a GXSGraph control.
#pragma once

#include "meter/real_time.h"

class GXSGraph;

namespace meter {

class TRealTimeGraphChart : public TRealTimeChart {
public:
    explicit TRealTimeGraphChart(GXSGraph &chart) : FChart(chart) {}
    GXSGraph &Chart() const { return FChart; }

    int GetPoints() override;
    void SetPoints(int points) override;
    int GetSubsets() override;
    double GetXDataII(int subset, int point) override;
    void SetXDataII(int subset, int point, double value) override;
    void SetYDataII(int subset, int point, double value) override;
    float GetYData(int subset, int point) override;
    void SetYData(int subset, int point, float value) override;
    double GetManualMaxX() override;
    void SetManualMinX(double value) override;
    void SetManualMaxX(double value) override;
    void Repaint() override;

private:
    GXSGraph &FChart;
};

} // namespace meter
