// "Output Tabular to graph": a list window's rows back into a graph window.
#include "tests/app/main_window_test.h"

#include "chart/control/gxsgraph.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "views/graph_window.h"
#include "views/list_form.h"
#include "views/scope_form.h"
#include "views/show_modal.h"

#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const rtl::TDateTime kDay = rtl::EncodeDate(2026, 3, 14);

class MainOutputTest : public MainWindowTest {
protected:
    MainOutputTest() : runner_([](QDialog &) { return ui::mrOk; }) { Start(); }

    // The list of a text file, the active child.
    views::TfrmList *List(const char *name)
    {
        views::TfrmList *list = form_->OpenTextFile(File(name));
        if (list)
            form_->MdiClient()->Activate(list);
        return list;
    }
    void Output() { form_->Control<QToolButton>("btnOutputToGraph")->click(); }
    int Windows() { return form_->MdiClient()->ChildCount(); }

    TDayFirstSettings settings_;
    views::TModalRunnerScope runner_;
};

TEST_F(MainOutputTest, AGraphSavedAsTextComesBackWithTheSavedPoints)
{
    // A graph whose times have milliseconds and whose levels more than one
    // decimal: the text keeps whole seconds (rounded up past 500 ms) and
    // one decimal, and the output gives exactly those.
    auto *source = new views::TfrmGraph(*form_, views::TGraphRole::Other);
    form_->ShowGraphWindow(*source);
    GXSGraph &from = *source->GXSGraph1;
    form_->SetupGraph(from, 1, 30, kDay, kDay + 1, 30, 130);
    for (int i = 0; i < 30; ++i) {
        from.SetXDataII(0, i, kDay + rtl::EncodeTime(9, 0, i, i % 2 ? 700 : 200));
        from.SetYData(0, i, 55.04f + i * 0.37f);
    }
    source->UpdateGraphStatistics();
    form_->MdiClient()->Activate(source);
    EXPECT_FALSE(form_->Control<QToolButton>("btnOutputToGraph")->isEnabled());
    services_.AnswerFileDialog(File("g.txt"));
    form_->Save1Click();

    ASSERT_NE(List("g.txt"), nullptr);
    EXPECT_TRUE(form_->Control<QToolButton>("btnOutputToGraph")->isEnabled());
    Output();
    views::TfrmGraph *graph = form_->frmGraph;
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(graph, source);
    EXPECT_EQ(graph->Role(), views::TGraphRole::Other);
    EXPECT_EQ(graph->windowTitle(), File("g.txt"));
    EXPECT_EQ(form_->MdiClient()->ActiveChild(), graph);
    EXPECT_FALSE(form_->Control<QToolButton>("btnOutputToGraph")->isEnabled());
    GXSGraph &to = *graph->GXSGraph1;
    ASSERT_EQ(to.GetPoints(), 30);
    for (int i = 0; i < 30; ++i) {
        const rtl::TDateTime saved = kDay + rtl::EncodeTime(9, 0, i + (i % 2), 0);
        EXPECT_NEAR(to.GetXDataII(0, i), saved, 1e-3 / rtl::SecsPerDay) << i;
        EXPECT_FLOAT_EQ(to.GetYData(0, i), std::round((55.04f + i * 0.37f) * 10) / 10) << i;
    }
    EXPECT_EQ(to.GetManualMinX(), to.GetXDataII(0, 0));
    EXPECT_EQ(to.GetManualMaxX(), to.GetXDataII(0, 29));
    EXPECT_EQ(graph->txtDataNo->text(), QStringLiteral("30"));
    EXPECT_TRUE(services_.MessageTexts().isEmpty());
}

TEST_F(MainOutputTest, OnlyRowsThatConvertBecomePoints)
{
    Write(File("rows.txt"), "14/03/2026\tnoon\t50.0\r\n"       // no time
                            "14/03/2026\t10:00:01\t61.5\r\n"   // a point
                            "14/03/2026\t10:00:02\tloud\r\n"   // no level
                            "14/03/2026\t10:00:03\t63.5\r\n"   // a point
                            "32/03/2026\t10:00:04\t64.5\r\n"); // no date
    ASSERT_NE(List("rows.txt"), nullptr);
    Output();
    ASSERT_NE(form_->frmGraph, nullptr);
    GXSGraph &chart = *form_->frmGraph->GXSGraph1;
    ASSERT_EQ(chart.GetPoints(), 2);
    EXPECT_FLOAT_EQ(chart.GetYData(0, 0), 61.5f);
    EXPECT_FLOAT_EQ(chart.GetYData(0, 1), 63.5f);
    EXPECT_EQ(chart.GetManualMinX(), kDay + rtl::EncodeTime(10, 0, 1, 0));
    EXPECT_EQ(chart.GetManualMaxX(), kDay + rtl::EncodeTime(10, 0, 3, 0));
    EXPECT_TRUE(services_.MessageTexts().isEmpty());
}

TEST_F(MainOutputTest, AListWithoutPointsSaysSoAndMakesNoWindow)
{
    // A list of LEQ records: a level in column 1, a date-time in column 2.
    Write(File("records.txt"), "61.5\t14/03/2026 10:00:00\t00:01:00\tdBA\tFAST\r\n");
    ASSERT_NE(List("records.txt"), nullptr);
    const int windows = Windows();
    Output();
    EXPECT_EQ(Windows(), windows);
    EXPECT_EQ(form_->frmGraph, nullptr);

    // A list without data at all.
    Write(File("none.txt"), "just one field\r\n");
    ASSERT_NE(List("none.txt"), nullptr);
    Output();
    EXPECT_EQ(Windows(), windows + 1);
    EXPECT_EQ(
        services_.MessageTexts(),
        (QStringList{"No row of the list holds a date, a time and a level that can be graphed.",
                     "No data to graph !"}));
}

TEST_F(MainOutputTest, AListClosedWhileItIsGraphedGivesNoWindow)
{
    QByteArray text;
    for (int i = 0; i < 50; ++i)
        text += "14/03/2026\t10:00:" + QByteArray::number(i).rightJustified(2, '0') + "\t60.0\r\n";
    Write(File("n.txt"), text);
    views::TfrmList *list = List("n.txt");
    ASSERT_NE(list, nullptr);
    const int windows = Windows();
    bool refused = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(form_->GraphingList());
        EXPECT_NE(views::frmScope, nullptr);
        refused = !form_->close();
        list->close();
    });
    Output();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(form_->GraphingList());
    EXPECT_EQ(views::frmScope, nullptr);
    EXPECT_EQ(Windows(), windows - 1);
    EXPECT_EQ(form_->frmGraph, nullptr);
    EXPECT_TRUE(services_.MessageTexts().isEmpty());
}

} // namespace
