// Window > Tile and Window > Cascade through the main window on a screen of
// 1280 x 900: the front panel and six other windows (the real-time graph,
// the LEQ window, the "DataLogger" window, the LEQ-record list and two lists
// of text files) stay inside the client area (Tile makes it scroll rather
// than squeeze a window below what its layout and its chart need), and
// neither the main window nor the panel changes its size.
#include "tests/app/main_window_test.h"

#include "chart/control/gxsgraph.h"
#include "platform/ui/mdi_area.h"
#include "views/graph_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QMdiSubWindow>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

class MainArrangeTest : public MainWindowTest {
protected:
    MainArrangeTest()
    {
        form_ = std::make_unique<app::TfrmMain>(meter_);
        form_->resize(1280, 900);
        form_->show();
        Tick(); // the meter is found
        meter_.LoadSampleContent();
        form_->MenuItem("LEQ1")->trigger();
        QCoreApplication::processEvents();
        size_ = form_->size();
        panel_ = form_->gPanel();
        panelSize_ = panel_->size();
    }
    void OpenTheOthers()
    {
        form_->MenuItem("LoadData1")->trigger();
        form_->MenuItem("LoadLEQdata1")->trigger();
        for (const char *name : {"a.txt", "b.txt"}) {
            Write(File(name), "1\t01/06/2025\t10:00:00\t65.0\r\n2\t01/06/2025\t10:00:01\t66.0\r\n");
            EXPECT_NE(form_->OpenTextFile(File(name)), nullptr);
        }
        QCoreApplication::processEvents();
    }

    ui::TMdiArea &Area() { return *form_->MdiClient(); }
    QList<QMdiSubWindow *> Others()
    {
        QList<QMdiSubWindow *> subs;
        for (QWidget *child : Area().Children())
            if (child != panel_)
                subs << Area().SubWindowOf(child);
        return subs;
    }
    // The main window and the panel as they were; every window inside the
    // visible client area (or, where it scrolls, the part reached by
    // scrolling down), with its whole caption bar, none over the panel.
    void ExpectEverythingInside(bool scrolls = false)
    {
        QCoreApplication::processEvents();
        EXPECT_EQ(form_->size(), size_);
        ASSERT_FALSE(panel_.isNull());
        EXPECT_EQ(panel_->size(), panelSize_);
        const QRect visible = Area().viewport()->rect();
        const QRect panel = Area().SubWindowOf(panel_)->geometry();
        EXPECT_TRUE(visible.contains(panel));
        QRect area = visible;
        if (scrolls)
            area.setHeight(area.height() + Area().verticalScrollBar()->maximum());
        else
            EXPECT_EQ(area.size(), Area().size()) << "nothing to scroll";
        for (QMdiSubWindow *sub : Others()) {
            SCOPED_TRACE(sub->windowTitle().toStdString());
            EXPECT_TRUE(area.contains(sub->geometry()))
                << sub->geometry().x() << "," << sub->geometry().y() << " " << sub->width() << "x"
                << sub->height();
            EXPECT_FALSE(panel.intersects(sub->geometry()));
        }
    }
    // After Tile: no window smaller than its layout needs at its width, the
    // graphs' charts high enough to read, no window over another.
    void ExpectNeedsMet()
    {
        const QList<QMdiSubWindow *> subs = Others();
        for (QMdiSubWindow *sub : subs) {
            SCOPED_TRACE(sub->windowTitle().toStdString());
            const QWidget *form = sub->widget();
            const QLayout *layout = form->layout();
            const QSize minimum = form->minimumSizeHint();
            EXPECT_GE(form->width(), minimum.width());
            EXPECT_GE(form->height(), minimum.height());
            EXPECT_GE(form->height(), layout->hasHeightForWidth()
                                          ? layout->totalMinimumHeightForWidth(form->width())
                                          : 0);
            for (QMdiSubWindow *other : subs)
                EXPECT_TRUE(sub == other || !sub->geometry().intersects(other->geometry()))
                    << other->windowTitle().toStdString();
        }
        for (views::TfrmGraph *graph : {form_->gRealTimeGraph.data(), form_->gLoggerGraph.data()})
            if (graph) {
                EXPECT_GE(graph->GXSGraph1->height(), ui::kUsableChartHeight)
                    << graph->windowTitle().toStdString();
            }
    }

    QSize size_;
    QPointer<QWidget> panel_;
    QSize panelSize_;
};

} // namespace

TEST_F(MainArrangeTest, TileGivesTheRealTimeGraphAndTheLeqWindowWhatTheyNeed)
{
    ASSERT_EQ(Others().size(), 2);
    form_->MenuItem("Tile1")->trigger();
    ExpectEverythingInside();
    ExpectNeedsMet();
}

TEST_F(MainArrangeTest, TileAndCascadeKeepTheWindowsTheMainWindowAndThePanelInside)
{
    OpenTheOthers();
    ASSERT_EQ(Others().size(), 6);

    form_->MenuItem("Tile1")->trigger();
    ExpectEverythingInside(true);
    ExpectNeedsMet();

    form_->MenuItem("Cascade1")->trigger();
    ExpectEverythingInside();
    const int area = Area().viewport()->height();
    for (QMdiSubWindow *sub : Others())
        EXPECT_GE(sub->height(), area / 2) << sub->windowTitle().toStdString();
    // The graphs' charts keep a height to read them by.
    for (views::TfrmGraph *graph : {form_->gRealTimeGraph.data(), form_->gLoggerGraph.data()}) {
        ASSERT_NE(graph, nullptr);
        EXPECT_GE(graph->GXSGraph1->height(), ui::kUsableChartHeight)
            << graph->windowTitle().toStdString();
    }
}
