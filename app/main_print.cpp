// The main window's File > Print and Printer Setup: the active child
// window's grid as fixed-pitch lines (app/grid_printout.h), or its graph
// through the chart's customise and print dialogs.
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
#include "views/leq_form.h"

#include <QAction>
#include <QDir>
#include <QToolButton>

namespace app {

void TfrmMain::BuildPrinting()
{
    const auto print = ui::GuardedSlot([this](auto &&...) { btnPrintClick(); });
    connect(MenuItem("Print1"), &QAction::triggered, this, print);
    connect(Control<QToolButton>("btnPrint"), &QToolButton::clicked, this, print);
    connect(MenuItem("PrinterSetup1"), &QAction::triggered, this,
            ui::GuardedSlot([this](auto &&...) { PrinterSetup1Click(); }));
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
    if (auto *leq = qobject_cast<views::TfrmLEQ *>(child))
        PrintGridWindow(*leq->LEQGrid, leq->windowTitle());
    else if (auto *graph = qobject_cast<views::TfrmGraph *>(child))
        PrintGraphWindow(*graph);
}

void TfrmMain::PrintGridWindow(ui::TStringGrid &grid, const QString &caption)
{
    ui::TPrinter &printer = ui::Printer();
    if (!ui::Services().ExecutePrintDialog(printer))
        return;
    printer.SetTitle(caption);
    if (PrintGrid(printer, grid) == TGridPrintResult::Printed)
        return;
    // Nothing was printed, and a file printed to is left as it was.
    const QString file = printer.OutputFileName();
    const QString text = file.isEmpty()
                             ? ui::AnsiToQString(StringById("IDS_190"))
                                   .replace(QStringLiteral("%s"), printer.PrinterName())
                             : ui::AnsiToQString(StringById("IDS_191"))
                                   .replace(QStringLiteral("%s"), QDir::toNativeSeparators(file));
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

} // namespace app
