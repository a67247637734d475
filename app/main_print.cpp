// The main window's File > Print and Printer Setup (the active child
// window's grid as fixed-pitch lines, app/grid_printout.h, or its graph
// through the chart's customise and print dialogs), and "Output Tabular to
// graph", which turns a list window's rows back into a graph window.
#include "app/main_form.h"

#include "app/grid_printout.h"
#include "chart/control/gxsgraph.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/app_application.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/printer.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"
#include "views/graph_window.h"
#include "views/grid_points.h"
#include "views/leq_form.h"
#include "views/list_form.h"
#include "views/scope_form.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace app {

void TfrmMain::BuildPrinting()
{
    const auto print = ui::GuardedSlot(this, &TfrmMain::btnPrintClick);
    connect(MenuItem("Print1"), &QAction::triggered, this, print);
    connect(Control<QToolButton>("btnPrint"), &QToolButton::clicked, this, print);
    connect(MenuItem("PrinterSetup1"), &QAction::triggered, this,
            ui::GuardedSlot(this, &TfrmMain::PrinterSetup1Click));
    connect(Control<QToolButton>("btnOutputToGraph"), &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmMain::btnOutputToGraphClick));
}

void TfrmMain::PrinterSetup1Click()
{
    ui::Services().ExecutePrinterSetupDialog(ui::Printer());
}

void TfrmMain::btnPrintClick()
{
    // What the active child window shows; the front panel (and the LEQ
    // record list) print nothing.
    QWidget *child = FMdiClient->ActiveChild();
    if (auto *list = qobject_cast<views::TfrmList *>(child))
        PrintGridWindow(*list->Grid1, list->windowTitle());
    else if (auto *leq = qobject_cast<views::TfrmLEQ *>(child))
        PrintGridWindow(*leq->LEQGrid, leq->windowTitle());
    else if (auto *graph = qobject_cast<views::TfrmGraph *>(child))
        PrintGraphWindow(*graph);
}

void TfrmMain::PrintGridWindow(ui::TStringGrid &grid, const QString &caption)
{
    ui::TPrinter &printer = ui::Printer();
    if (!ui::ExecutePrintDialog(printer))
        return;
    printer.SetTitle(caption);
    if (PrintGrid(printer, grid) == TGridPrintResult::Printed)
        return;
    // Nothing was printed, and a file printed to is left as it was.
    const QString file = printer.OutputFileName();
    const QString text =
        file.isEmpty()
            ? Text("IDS_190").replace(QStringLiteral("%s"), printer.PrinterName())
            : Text("IDS_191").replace(QStringLiteral("%s"), QDir::toNativeSeparators(file));
    ui::ShowMessage(text);
}

void TfrmMain::PrintGraphWindow(views::TfrmGraph &graph)
{
    // The customise dialog first, with its colour, style and axis pages
    // only, then the chart's own print dialog.
    const QPointer<views::TfrmGraph> window(&graph);
    GXSGraph &chart = *graph.GXSGraph1;
    chart.SetAllowFontPage(false);
    chart.SetAllowPage1(false);
    chart.SetAllowPage2(false);
    chart.SetAllowSubsetsPage(false);
    chart.SetGXactions(sgCustomize);
    if (!window)
        return; // closed while the dialog was open
    chart.SetAllowFontPage(true);
    chart.SetAllowPage1(true);
    chart.SetAllowPage2(true);
    chart.SetAllowSubsetsPage(true);
    chart.SetGXactions(sgPrintDialog);
}

// ---- output of a list to a graph ------------------------------------------------------------

void TfrmMain::btnOutputToGraphClick()
{
    if (FGraphingList)
        return; // one output at a time
    if (auto *list = FMdiClient->ActiveChildAs<views::TfrmList>())
        OutputListToGraph(*list);
}

void TfrmMain::OutputListToGraph(views::TfrmList &list)
{
    ui::TStringGrid &grid = *list.Grid1;
    if (grid.Cell(1, 1).isEmpty()) {
        ui::ShowMessage(Text("IDS_96"));
        return;
    }
    const int rows = grid.RowCount() - 1;
    const QString caption = list.windowTitle();

    auto *progress = new views::TfrmScope(FDispatcher, this);
    views::frmScope = progress;
    const QPointer<views::TfrmScope> scope(progress);
    progress->setWindowTitle(Text("IDS_97"));
    progress->SText1->setText(Text("IDS_98"));
    progress->SText1->show();
    progress->Progress1->setRange(0, rows);
    progress->Progress1->setValue(0);
    progress->Progress1->show();
    progress->SetClosable(false); // no Cancel: it runs to its end
    progress->FitToParts();
    progress->show();
    progress->raise();
    progress->repaint();

    // Messages run between the rows, and the list may be closed meanwhile:
    // it is held through a guarded pointer, the main window stays open.
    // Only the rows whose date, time and level all convert become points,
    // so that no empty point stands in the middle of the curve.
    struct TPoint {
        rtl::TDateTime x = 0;
        float y = 0;
    };
    std::vector<TPoint> points;
    points.reserve(static_cast<size_t>(std::max(0, rows)));
    const QPointer<views::TfrmList> source(&list);
    FGraphingList = true;
    for (int row = 1; row <= rows; ++row) {
        if (scope)
            scope->Progress1->setValue(row);
        ui::ProcessMessages();
        if (!source)
            break;
        TPoint p;
        if (views::GridRowDateTime(*source->Grid1, row, p.x) &&
            views::GridCellLevel(*source->Grid1, 3, row, p.y))
            points.push_back(p);
    }
    FGraphingList = false;
    delete scope.data();
    views::frmScope = nullptr;
    if (!source)
        return; // the list went: there is nothing to graph
    if (points.empty()) {
        ui::ShowMessage(Text("IDS_192"));
        return;
    }

    auto *graph = new views::TfrmGraph(*this, views::TGraphRole::Other);
    frmGraph = graph;
    graph->setWindowTitle(caption);
    ShowGraphWindow(*graph);
    PlaceGraphAtTopLeft(*graph);
    GXSGraph &chart = *graph->GXSGraph1;
    const auto [first, last] = std::minmax_element(
        points.begin(), points.end(), [](const TPoint &a, const TPoint &b) { return a.x < b.x; });
    SetupGraph(chart, 1, static_cast<int>(points.size()), first->x, last->x, 30.0f, 130.0f);
    for (size_t i = 0; i < points.size(); ++i) {
        chart.SetXDataII(0, static_cast<int32_t>(i), points[i].x);
        chart.SetYData(0, static_cast<int32_t>(i), points[i].y);
    }
    FMdiClient->Restore(graph);
    graph->UpdateGraphStatistics();
    chart.SetGXactions(sgReinitAndReset);
    views::RedrawChart(chart);
}

} // namespace app
