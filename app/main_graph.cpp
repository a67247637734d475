// The main window's graph windows: chart set-up, chart files, the
// real-time window, and what a graph window asks of the main window.
#include "app/graph_files.h"
#include "app/main_form.h"

#include "chart/control/gxsgraph.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/app_application.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/ui_services.h"
#include "views/graph_window.h"
#include "views/open_save_form.h"
#include "views/show_modal.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace app {

// ---- chart set-up and files ------------------------------------------------------------------

void TfrmMain::SetupGraph(GXSGraph &chart, int subsets, int points, rtl::TDateTime minimumX,
                          rtl::TDateTime maximumX, float minimumY, float maximumY)
{
    app::SetupGraph(chart, subsets, points, minimumX, maximumX, minimumY, maximumY,
                    Text("IDS_26").toStdU16String());
}

void TfrmMain::LoadGraphFile(GXSGraph &chart, const QString &fileName)
{
    app::LoadGraphFile(chart, fileName);
}

void TfrmMain::SaveGraphFile(GXSGraph &chart, const QString &fileName)
{
    app::SaveGraphFile(chart, fileName);
}

// ---- the real-time window --------------------------------------------------------------------

void TfrmMain::CreateRealTimeGraph()
{
    auto *graph = new views::TfrmGraph(*this, views::TGraphRole::RealTime);
    gRealTimeGraph = graph;
    graph->setWindowTitle(QString::fromLatin1(views::TfrmGraph::kRealTimeCaption));
    MenuItem("RealTimeGraph1")->setChecked(true);
    ShowGraphWindow(*graph);
    if (QMdiSubWindow *sub = FMdiClient->SubWindowOf(graph))
        sub->move(sub->x(), 0);
    graph->tbntSep3->show();
    graph->tbntClr->show();

    // The time axis covers 2000 samples at the configured rate.
    const rtl::TDateTime now = rtl::GetClock().Now();
    SetupGraph(*graph->GXSGraph1, 1, 2000, now, now + gRealTimeRate * 2000 / rtl::SecsPerDay, 30.0f,
               130.0f);
    graph->GXSGraph1->SetYAxisLabel(u"dB");
    graph->GXSGraph1->SetNoRandomPointsToExport(true);
    graph->GXSGraph1->SetFocalRect(false);
    graph->GXSGraph1->SetAllowBar(false);
    graph->SetSamplingRateList();
    graph->SelectSamplingRate(gRealTimeRate);
    graph->UpdateGraphStatistics();
}

void TfrmMain::PlaceRealTimeGraph()
{
    if (!gRealTimeGraph)
        return;
    const QMdiSubWindow *panel = FPanel ? FMdiClient->SubWindowOf(FPanel) : nullptr;
    const int left = panel ? panel->width() : 0;
    const int height = this->height() - Panel1->height() - StatusBar1->height() - 40;
    FMdiClient->SetChildGeometry(gRealTimeGraph,
                                 QRect(left, 0, std::max(200, width() - left - 5),
                                       std::max(200, std::min(height, FMdiClient->height()))));
    FMdiClient->Activate(gRealTimeGraph);
    gRealTimeGraph->setFocus();
}

void TfrmMain::PlaceGraphAtTopLeft(views::TfrmGraph &graph)
{
    FMdiClient->SetChildGeometry(
        &graph, QRect(0, 0, std::min(width(), FMdiClient->width()),
                      std::min(centralWidget()->height() - 40, FMdiClient->height())));
}

void TfrmMain::RealTimeGraph1Click()
{
    if (gRealTimeGraph) {
        FMdiClient->Restore(gRealTimeGraph);
        return;
    }
    CreateRealTimeGraph();
    PlaceRealTimeGraph();
}

// ---- what the graph windows ask --------------------------------------------------------------

void TfrmMain::ShowGraphWindow(views::TfrmGraph &graph)
{
    FMdiClient->AddChild(&graph);
}

void TfrmMain::GraphActivated(views::TfrmGraph &)
{
    Control<QToolButton>("btnOutputToGraph")->setEnabled(false);
}

bool TfrmMain::SaveGraphWindow(views::TfrmGraph &graph)
{
    if (graph.Role() != views::TGraphRole::DataLogger)
        return SaveGraphAs(*graph.GXSGraph1);
    // The data-logger window saves either the whole collection or the set
    // it shows.
    QPointer<views::TfrmGraph> window(&graph);
    auto dialog = std::make_unique<views::TfrmOpenSave>(FDispatcher, this);
    views::frmOpenSave = dialog.get();
    dialog->setWindowTitle(Text("IDS_39"));
    const ui::TModalResult answer = views::ShowModal(*dialog);
    dialog.reset(); // clears frmOpenSave
    if (answer == ui::mrOk)
        return SaveLoggerFile();
    if (answer == ui::mrNo && window)
        return SaveGraphAs(*window->GXSGraph1);
    return false;
}

void TfrmMain::GraphClosed(views::TfrmGraph &graph)
{
    switch (graph.Role()) {
    case views::TGraphRole::DataLogger:
        if (gLoggerGraph == &graph)
            gLoggerGraph = nullptr;
        break;
    case views::TGraphRole::RealTime:
        if (gRealTimeGraph != &graph)
            break;
        // Closing the real-time window ends a run completely.
        gRealTimeGraph = nullptr;
        if (!FDestroying)
            MenuItem("RealTimeGraph1")->setChecked(false);
        RealTime_Timer->stop();
        gRealTimeRunning = false;
        SetCommandEnabled(meter::TMeterCommand::btnRun, FTimerLogic.gConnected);
        SetCommandEnabled(meter::TMeterCommand::Run1, FTimerLogic.gConnected);
        SetCommandEnabled(meter::TMeterCommand::btnStop, false);
        SetCommandEnabled(meter::TMeterCommand::Stop1, false);
        MainTimer->setInterval(500);
        gRealTimeCount = 0;
        break;
    default:
        break;
    }
}

void TfrmMain::RealTimeGraphCleared(views::TfrmGraph &)
{
    MenuItem("RealTimeGraph1")->setChecked(true);
    gRealTimeCount = 0;
}

} // namespace app
