// The LEQ menu command and a LEQ run through the main window, on the
// simulated meter with a fake clock and scripted UI services.
#include "tests/app/main_window_test.h"

#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class MainLeqTest : public MainWindowTest {
protected:
    MainLeqTest()
    {
        meter_.SetMeterTime(rtl::EncodeDate(2024, 3, 9) + rtl::EncodeTime(9, 0, 0, 300));
        Start();
        Tick(); // the meter is found
    }

    views::TfrmLEQ *OpenLeqWindow()
    {
        form_->MenuItem("LEQ1")->trigger();
        return form_->gLeqForm();
    }
    QTimer *Timer(const char *name) { return form_->Control<QTimer>(name); }
    // LEQTimer ticks 40 ms apart while it runs (at most limit ticks).
    int RunTicks(int limit)
    {
        int ticks = 0;
        while (Timer("LEQTimer")->isActive() && ticks < limit) {
            form_->LEQTimerTimer();
            clock_.Advance(40);
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(MainLeqTest, TheMenuOpensOneLeqWindowUnlessTheMeterRecords)
{
    meter_.SetRecording(true);
    Tick();
    EXPECT_EQ(OpenLeqWindow(), nullptr);
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"The meter is recording data, please stop recording first ."});

    meter_.SetRecording(false);
    Tick();
    views::TfrmLEQ *leq = OpenLeqWindow();
    ASSERT_NE(leq, nullptr);
    EXPECT_EQ(leq->windowTitle(), QStringLiteral("LEQ"));
    EXPECT_EQ(OpenLeqWindow(), leq);
    EXPECT_EQ(form_->MdiClient()->ChildCount(), 3); // the panel, the real-time graph, the LEQ window
}

TEST_F(MainLeqTest, TenSecondRunFillsTheTableThenGivesTheLinkBack)
{
    views::TfrmLEQ *leq = OpenLeqWindow();
    ASSERT_NE(leq, nullptr);
    leq->btnLEQ->click();
    EXPECT_TRUE(Timer("LEQTimer")->isActive());
    EXPECT_FALSE(Timer("MainTimer")->isActive());
    EXPECT_TRUE(meter::TLinkGuard::Instance().Held());
    EXPECT_EQ(form_->PanelKey('R'), meter::TKeyResult::Ignored);

    RunTicks(1000);
    EXPECT_EQ(leq->LEQGrid->RowCount(), 11);
    EXPECT_EQ(leq->LEQGrid->Cell(0, 10), QStringLiteral("10"));
    EXPECT_EQ(leq->LEQGrid->Cell(2, 1),
              QString::fromStdString(rtl::TimeToStr(rtl::EncodeTime(9, 0, 0, 0))));
    EXPECT_FALSE(leq->LEQGrid->Cell(4, 10).isEmpty());
    EXPECT_EQ(leq->edtTimeLeft->text(), QStringLiteral("0:0:0"));
    EXPECT_FALSE(Timer("LEQTimer")->isActive());
    EXPECT_TRUE(Timer("MainTimer")->isActive());
    EXPECT_FALSE(form_->LeqRun().LogOpen());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());

    QFile log(dir_.path() + "/bin/temp/LEQ.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_GT(lines.size(), 9 * 25); // 25 readings in each of the 9 whole seconds
    EXPECT_TRUE(lines[0].endsWith('\r'));
    EXPECT_EQ(lines[0].count('\t'), 1);
}

TEST_F(MainLeqTest, ClosingTheLeqOrTheMainWindowEndsTheRun)
{
    views::TfrmLEQ *leq = OpenLeqWindow();
    leq->btnLEQ->click();
    RunTicks(60);
    leq->close();
    EXPECT_EQ(form_->gLeqForm(), nullptr);
    EXPECT_FALSE(Timer("LEQTimer")->isActive());
    EXPECT_TRUE(Timer("MainTimer")->isActive());
    EXPECT_FALSE(form_->LeqRun().Running());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());

    OpenLeqWindow()->btnLEQ->click();
    ASSERT_TRUE(form_->LeqRun().Running());
    form_->close();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_FALSE(form_->LeqRun().Running());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());
}

} // namespace
