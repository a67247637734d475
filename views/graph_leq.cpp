// "CAL Leq": the running energetic Leq of the window's levels in a window of
// its own; "Export Statistic": the window's statistics on the clipboard.
#include "views/graph_window.h"

#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chart_ids.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/ui_services.h"
#include "views/running_leq.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <span>
#include <vector>

namespace views {

namespace {

// Stored as it stands (a zero alpha byte, which the chart draws opaque):
// yellow for the copied levels.
constexpr GXColor kSplColor = 0x0000FFFF;

} // namespace

void TfrmGraph::bunCalLEQClick()
{
    RunningLeq();
}

TfrmGraph *TfrmGraph::RunningLeq()
{
    std::vector<double> x;
    std::vector<float> y;
    const int n = ReadLevels(x, y);
    if (n <= 1) {
        ui::ShowMessage(StringById("IDS_57"));
        return nullptr;
    }

    // The new window goes when this one does.
    auto *leq = new TfrmGraph(FHost, TGraphRole::RunningLeq, this);
    gLeqCurveGraph = leq;
    leq->setWindowTitle(windowTitle());
    GXSGraph &chart = *leq->GXSGraph1;
    FHost.SetupGraph(chart, 2, n, x[0], x[size_t(n - 1)], 30.0f, 130.0f);
    chart.SetSubsetLabels(0, u"SPL");
    chart.SetSubsetLabels(1, u"Leq");
    chart.SetSubsetColors(0, GXSGraph::GXargb(255, 0, 0, 0));
    chart.SetSubsetColors(0, kSplColor);
    chart.SetSubsetColors(1, GXSGraph::GXargb(255, 255, 0, 0));

    // Both subsets over the source's times: subset 0 the levels, subset 1
    // their running Leq.
    const auto count = size_t(n);
    std::vector<double> times(2 * count);
    std::copy_n(x.begin(), count, times.begin());
    std::copy_n(x.begin(), count, times.begin() + std::ptrdiff_t(count));
    std::vector<float> levels(2 * count);
    std::copy_n(y.begin(), count, levels.begin());
    views::RunningLeq(std::span<const float>(y.data(), count),
                      std::span<float>(levels.data() + count, count), kNullLevel);
    const chartlib::HCHART h = chart.GethObject();
    chartlib::ChartSetProperty(h, chartlib::prop::XDataII, std::span<const double>(times));
    chartlib::ChartSetProperty(h, chartlib::prop::YData, std::span<const float>(levels));

    leq->bunCalLEQ->setEnabled(false);
    leq->setWindowState(Qt::WindowNoState);
    FHost.ShowGraphWindow(*leq);
    leq->UpdateGraphStatistics();
    chart.SetGXactions(sgReinitAndReset);
    RedrawChart(chart);
    return leq;
}

QString TfrmGraph::StatisticText() const
{
    QString text;
    auto line = [&text](const QString &label, const QString &value) {
        text += label + value + QLatin1Char('\n');
    };
    auto timed = [&line](const QString &label, const QString &value, const QString &time) {
        line(label, value + QLatin1Char('@') + time);
    };
    line(QStringLiteral("Start Time:"), txtStartTime->text());
    line(StringById("IDS_35"), txtSamplingRate->currentText());
    line(StringById("IDS_37"), txtDataNo->text());
    line(StringById("IDS_39"), txtAvgAll->text());
    timed(StringById("IDS_41"), txtMax->text(), txtMaxTime->text());
    timed(StringById("IDS_43"), txtMin->text(), txtMinTime->text());
    timed(StringById("IDS_45"), txtCursorA->text(), txtCursorATime->text());
    timed(StringById("IDS_47"), txtCursorB->text(), txtCursorBTime->text());
    timed(StringById("IDS_49"), txtMaxAB->text(), txtMaxABTime->text());
    timed(QStringLiteral("Min.Between A and B:"), txtMinAB->text(), txtMinABTime->text());
    line(StringById("IDS_51"), txtAvgAB->text());
    return text;
}

void TfrmGraph::Button2Click()
{
    ui::SetClipboardText(StatisticText());
    ui::ShowMessage(StringById("IDS_53"));
}

} // namespace views
