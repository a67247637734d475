// File > Print and Printer Setup of the main window, printed to PDF files
// and read back with poppler's tools.
#include "tests/app/main_window_test.h"

#include "chart/control/gxsgraph.h"
#include "platform/chartlib/render/chart_output.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/printer.h"
#include "platform/ui/string_grid.h"
#include "tests/support/pdf_reader.h"
#include "views/data_capture.h"
#include "views/graph_window.h"
#include "views/leq_form.h"
#include "views/list_form.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QPrinter>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The chart's customise dialog answered by the test (the tabs it offered
// are kept); its print dialog goes to the scripted UI services, as the
// program's does.
class TestChartDialogs : public chartlib::ChartDialogs {
public:
    QStringList tabs;
    bool ExecDialog(QDialog &dialog) override
    {
        if (auto *t = dialog.findChild<QTabWidget *>(QStringLiteral("tabs")))
            for (int i = 0; i < t->count(); ++i)
                tabs << t->tabText(i);
        return false;
    }
    bool ExecPrintDialog(QPrinter &) override { return ui::ExecutePrintDialog(ui::Printer()); }
    bool DefaultPrinter(QPrinter &) override { return true; }
    bool SaveFileName(const QString &, const QString &, QString &, int &) override { return false; }
    QAction *ExecMenu(QMenu &, const QPoint &) override { return nullptr; }
};

class MainPrintTest : public MainWindowTest {
protected:
    MainPrintTest()
    {
        chartlib::SetChartDialogs(&dialogs_);
        ui::Printer().SetPageSize(QPageSize(QPageSize::A4));
        ui::Printer().SetOrientation(ui::poPortrait);
        pdf_ = dir_.path() + "/printout.pdf";
        meter_.LoadSampleContent();
        Start();
        Tick();
    }
    ~MainPrintTest() override
    {
        chartlib::SetChartDialogs(nullptr);
        ui::Printer().SetOutputFileName(QString());
    }

    void Print() { form_->Control<QToolButton>("btnPrint")->click(); }

    // The LEQ window, active, with rows measurements in its table.
    views::TfrmLEQ *LeqWindow(int rows)
    {
        form_->MenuItem("LEQ1")->trigger();
        views::TfrmLEQ *leq = form_->gLeqForm();
        if (!leq)
            return nullptr;
        ui::TStringGrid &grid = *leq->LEQGrid;
        grid.SetRowCount(rows + 1);
        for (int i = 1; i <= rows; ++i)
            grid.SetRowTexts(i, {QString::number(i), QStringLiteral("09/03/2024"),
                                 QStringLiteral("09:00:%1").arg(i, 2, 10, QLatin1Char('0')),
                                 QStringLiteral("6%1.5").arg(i % 10), QStringLiteral("70.1")});
        form_->MdiClient()->Activate(leq);
        return leq;
    }

    TestChartDialogs dialogs_;
    QString pdf_;
};

TEST_F(MainPrintTest, SetupIsThereFromTheStartAndThePanelAndRecordListPrintNothing)
{
    form_->MenuItem("PrinterSetup1")->trigger();
    EXPECT_EQ(services_.CallsOf(ui::TUICallKind::PrinterSetupDialog).size(), 1u);

    form_->MdiClient()->Activate(form_->gPanel());
    form_->MenuItem("Print1")->trigger();
    form_->MenuItem("LoadLEQdata1")->trigger();
    ASSERT_NE(views::gDataCaptureForm, nullptr);
    form_->MdiClient()->Activate(views::gDataCaptureForm);
    ASSERT_EQ(form_->MdiClient()->ActiveChild(), views::gDataCaptureForm);
    form_->MenuItem("Print1")->trigger();
    EXPECT_TRUE(services_.CallsOf(ui::TUICallKind::PrintDialog).empty());
    EXPECT_TRUE(dialogs_.tabs.isEmpty());
}

TEST_F(MainPrintTest, TheLeqTablePrintsAllItsColumnsOneRowALine)
{
    ASSERT_NE(LeqWindow(3), nullptr);
    services_.AnswerPrintDialog(false, pdf_);
    Print();
    EXPECT_FALSE(QFile::exists(pdf_)) << "a cancelled dialog prints nothing";

    services_.AnswerPrintDialog(true, pdf_);
    Print();
    ASSERT_TRUE(testsupport::PdfToolsInstalled());
    // A date of ten characters keeps a blank before the time.
    EXPECT_EQ(testsupport::PdfPageLines(pdf_, 1),
              (QStringList{"No Date TIME SPL Leq", "1 09/03/2024 09:00:01 61.5 70.1",
                           "2 09/03/2024 09:00:02 62.5 70.1", "3 09/03/2024 09:00:03 63.5 70.1"}));
    EXPECT_EQ(ui::Printer().Title(), QStringLiteral("LEQ"));
    EXPECT_TRUE(services_.MessageTexts().isEmpty());
}

TEST_F(MainPrintTest, APrintoutThatCannotBeWrittenSaysSo)
{
    ASSERT_NE(LeqWindow(2), nullptr);
    const QString missing = dir_.path() + "/gone/printout.pdf";
    services_.AnswerPrintDialog(true, missing);
    Print();
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(
        services_.MessageTexts(),
        QStringList{
            QStringLiteral("The printout could not be written to the file %1.").arg(missing)});
}

TEST_F(MainPrintTest, PrintingOverAnEarlierFileAsksFirst)
{
    // As a save dialog asks: No keeps the earlier printout, Yes replaces it;
    // grids and graphs alike.
    QWidget *leq = LeqWindow(2);
    ASSERT_NE(leq, nullptr);
    for (QWidget *window : {leq, static_cast<QWidget *>(form_->gRealTimeGraph)}) {
        Write(pdf_, "earlier printout");
        form_->MdiClient()->Activate(window);
        services_.ClearCalls();
        services_.AnswerPrintDialog(true, pdf_);
        services_.AnswerMessage(ui::mrNo);
        Print();
        EXPECT_EQ(Read(pdf_), QByteArray("earlier printout"));
        EXPECT_EQ(services_.MessageTexts(),
                  QStringList{pdf_ + " already exists.\nDo you want to replace it?"});
        services_.AnswerPrintDialog(true, pdf_);
        services_.AnswerMessage(ui::mrYes);
        Print();
        EXPECT_TRUE(Read(pdf_).startsWith("%PDF"));
        EXPECT_EQ(services_.PendingAnswers(), 0u);
    }
}

TEST_F(MainPrintTest, AGraphIsCustomisedWithoutFourPagesThenPrintedWithItsCurve)
{
    views::TfrmGraph *graph = form_->gRealTimeGraph;
    ASSERT_NE(graph, nullptr);
    GXSGraph &chart = *graph->GXSGraph1;
    const rtl::TDateTime start = chart.GetManualMinX();
    for (int i = 0; i < 400; ++i) {
        chart.SetXDataII(0, i, start + i * 5.0 / rtl::SecsPerDay);
        chart.SetYData(0, i, static_cast<float>(80 + 30 * std::sin(i / 20.0)));
    }
    views::RedrawChart(chart);
    form_->MdiClient()->Activate(graph);

    services_.AnswerPrintDialog(true, pdf_);
    Print();
    EXPECT_EQ(dialogs_.tabs, (QStringList{"Color", "Style", "Axis"}));
    EXPECT_TRUE(chart.GetAllowPage1() && chart.GetAllowPage2() && chart.GetAllowSubsetsPage() &&
                chart.GetAllowFontPage());
    ASSERT_EQ(services_.CallsOf(ui::TUICallKind::PrintDialog).size(), 1u);

    ASSERT_TRUE(testsupport::PdfToolsInstalled());
    ASSERT_EQ(testsupport::PdfPageCount(pdf_), 1);
    const QImage page = testsupport::PdfPageImage(pdf_, 1, 72);
    ASSERT_FALSE(page.isNull());
    // The yellow curve of the default look, on its black plotting area.
    int yellow = 0, black = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            yellow += c.red() > 180 && c.green() > 180 && c.blue() < 100;
            black += c.red() < 40 && c.green() < 40 && c.blue() < 40;
        }
    EXPECT_GT(yellow, 300);
    EXPECT_GT(black, 10000);
}

TEST_F(MainPrintTest, AListPrintsItsTitlesAndRows)
{
    // The paging is the grid printout's (tests of grid_printout).
    Write(dir_.path() + "/list.txt", "r1\t40.5\r\nr2\t41.5\r\n");
    views::TfrmList *list = form_->OpenTextFile(dir_.path() + "/list.txt");
    ASSERT_NE(list, nullptr);
    form_->MdiClient()->Activate(list);

    services_.AnswerPrintDialog(true, pdf_);
    Print();
    ASSERT_TRUE(testsupport::PdfToolsInstalled());
    EXPECT_EQ(testsupport::PdfPageLines(pdf_, 1),
              (QStringList{"No Date Time Value", "1 r1 40.5", "2 r2 41.5"}));
    EXPECT_EQ(testsupport::PdfTitle(pdf_).toStdString(), (dir_.path() + "/list.txt").toStdString())
        << "the job is named after the window";
}

TEST_F(MainPrintTest, AGraphJobIsTitledByItsWindowAndFillsThePageWhateverItsHeight)
{
    // A graph from a window 100 pixels high.
    views::TfrmGraph *graph = form_->gRealTimeGraph;
    ASSERT_NE(graph, nullptr);
    graph->setWindowTitle(dir_.path() + "/set2.GHF");
    form_->MdiClient()->SetChildGeometry(graph, QRect(0, 0, 600, 100));
    ASSERT_LE(graph->GXSGraph1->height(), 100);
    form_->MdiClient()->Activate(graph);
    services_.AnswerPrintDialog(true, pdf_);
    Print();

    ASSERT_TRUE(testsupport::PdfToolsInstalled());
    EXPECT_EQ(testsupport::PdfTitle(pdf_).toStdString(), (dir_.path() + "/set2.GHF").toStdString());
    // The chart, its time axis included, over the printable height of the
    // page in the orientation the print dialog had.
    const QImage page = testsupport::PdfPageImage(pdf_, 1, 36);
    ASSERT_FALSE(page.isNull());
    const QRectF printable = ui::Printer().QtPrinter().pageLayout().paintRect(QPageLayout::Point);
    EXPECT_GE(testsupport::InkBounds(page).height(), 0.8 * printable.height() * 36 / 72);
    EXPECT_NE(testsupport::PdfPageLines(pdf_, 1).join(' ').indexOf(QStringLiteral("Time")), -1);
}

} // namespace
