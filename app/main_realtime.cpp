// The main window's side of real-time sampling: Run and Stop, RealTime_Timer,
// the set-up dialog, and the "Real-Time Graph" window and its chart as
// meter::TRealTimeLogic reaches them.
#include "app/main_form.h"

#include "controls/slider2.h"
#include "meter/windows/setup_real_time.h"
#include "platform/ui/app_application.h"
#include "platform/ui/locale_settings.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/ui_services.h"
#include "views/graph_window.h"
#include "views/show_modal.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace app {

void TfrmMain::BuildRealTime()
{
    // Run and Stop wait for the meter: the status poll enables them.
    Control<QToolButton>("btnRun")->setEnabled(false);
    Control<QToolButton>("btnStop")->setEnabled(false);
    const auto run = ui::GuardedSlot(this, &TfrmMain::btnRunClick);
    const auto stop = ui::GuardedSlot(this, &TfrmMain::btnStopClick);
    connect(MenuItem("Run1"), &QAction::triggered, this, run);
    connect(MenuItem("Stop1"), &QAction::triggered, this, stop);
    connect(Control<QToolButton>("btnRun"), &QToolButton::clicked, this, run);
    connect(Control<QToolButton>("btnStop"), &QToolButton::clicked, this, stop);
    connect(RealTime_Timer, &QTimer::timeout, this,
            ui::GuardedSlot(this, &TfrmMain::RealTime_TimerTimer));
}

void TfrmMain::SetRealTimeTimerEnabled(bool enabled)
{
    if (enabled)
        RealTime_Timer->start();
    else
        RealTime_Timer->stop();
}

meter::TAnswer TfrmMain::Confirm(const std::string &text)
{
    switch (ui::MessageDlg(ui::AnsiToQString(text), ui::mtConfirmation, ui::mbYesNoCancel)) {
    case ui::mrYes:
        return meter::TAnswer::Yes;
    case ui::mrNo:
        return meter::TAnswer::No;
    default:
        return meter::TAnswer::Cancel;
    }
}

void TfrmMain::ShowMessage(const std::string &text)
{
    ui::ShowMessage(ui::AnsiToQString(text));
}

bool TfrmMain::RunSetupDialog(meter::TRealTimeSetup &setup)
{
    meter::frmSetupRealTime = new meter::TfrmSetupRealTime(FDispatcher, this);
    meter::TfrmSetupRealTime &dialog = *meter::frmSetupRealTime;
    dialog.txtRate->setEditText(ui::AnsiToQString(setup.rateText));
    dialog.edtPeriod->setText(ui::AnsiToQString(setup.periodText));
    const bool ok = views::ShowModal(dialog) == ui::mrOk;
    if (ok) {
        setup.rateText = dialog.RateText();
        setup.countText = dialog.CountText();
    }
    delete &dialog;
    return ok;
}

// ---------------------------------------------------------------------------
// The real-time graph window

bool TfrmMain::RealTimeGraphExists()
{
    return !gRealTimeGraph.isNull();
}

void TfrmMain::OpenRealTimeGraph()
{
    CreateRealTimeGraph();
    PlaceRealTimeGraph();
}

void TfrmMain::RestoreRealTimeGraph()
{
    if (gRealTimeGraph)
        FMdiClient->Restore(gRealTimeGraph);
}

void TfrmMain::FocusRealTimeGraph()
{
    if (gRealTimeGraph) {
        FMdiClient->Activate(gRealTimeGraph);
        gRealTimeGraph->setFocus();
    }
}

bool TfrmMain::SaveRealTimeGraph()
{
    return gRealTimeGraph && SaveGraphWindow(*gRealTimeGraph);
}

meter::TRealTimeChart *TfrmMain::RealTimeChart()
{
    if (!gRealTimeGraph)
        return nullptr;
    // A new window (after the old one closed) gets a chart of its own.
    if (!FRealTimeChart || &FRealTimeChart->Chart() != gRealTimeGraph->GXSGraph1)
        FRealTimeChart = std::make_unique<meter::TRealTimeGraphChart>(*gRealTimeGraph->GXSGraph1);
    return FRealTimeChart.get();
}

std::string TfrmMain::SamplingRateText()
{
    return gRealTimeGraph ? ui::QStringToAnsi(gRealTimeGraph->txtSamplingRate->currentText())
                          : std::string();
}

void TfrmMain::SelectSamplingRate(double rate)
{
    if (gRealTimeGraph)
        gRealTimeGraph->SelectSamplingRate(rate);
}

void TfrmMain::SetStatisticText(meter::TRealTimeText text, const std::string &value)
{
    // The edits in the order of meter::TRealTimeText.
    static QLineEdit *views::TfrmGraph::*const kEdits[] = {
        &views::TfrmGraph::txtStartTime, &views::TfrmGraph::txtDataNo,
        &views::TfrmGraph::txtMax,       &views::TfrmGraph::txtMaxTime,
        &views::TfrmGraph::txtMin,       &views::TfrmGraph::txtMinTime,
        &views::TfrmGraph::txtAvgAll};
    const auto index = static_cast<size_t>(text);
    if (gRealTimeGraph && index < std::size(kEdits))
        ((*gRealTimeGraph).*kEdits[index])->setText(ui::AnsiToQString(value));
}

void TfrmMain::ClearStatistics()
{
    if (!gRealTimeGraph)
        return;
    views::TfrmGraph &g = *gRealTimeGraph;
    for (QLineEdit *edit :
         {g.txtStartTime, g.txtDataNo, g.txtAvgAll, g.txtMax, g.txtMaxTime, g.txtMin, g.txtMinTime,
          g.txtCursorA, g.txtCursorATime, g.txtCursorB, g.txtCursorBTime, g.txtMaxAB,
          g.txtMaxABTime, g.txtMinAB, g.txtMinABTime, g.txtAvgAB})
        edit->clear();
}

void TfrmMain::SetSlider(int minimum, int maximum, int value1, int value2)
{
    if (!gRealTimeGraph)
        return;
    controls::Tslider2 &slider = *gRealTimeGraph->Slider1;
    slider.SetMin(minimum);
    slider.SetMax(maximum);
    slider.SetValue1(value1);
    slider.SetValue2(value2);
}

} // namespace app
