// The LEQ menu command and a LEQ run through the main window, on the
// simulated meter with a fake clock and scripted UI services.
#include "app/main_form.h"

#include "meter/link_guard.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/registry.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_script.h"
#include "platform/usb/sim/simulated_meter.h"

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

using app::TfrmMain;

class MainLeqTest : public ::testing::Test {
protected:
    MainLeqTest() : clockScope_(clock_), servicesScope_(services_)
    {
        ui::TFolderRoots roots;
        roots.Documents = dir_.path() + "/Documents";
        roots.Executable = dir_.path() + "/bin";
        roots.UserData = dir_.path() + "/data";
        QDir().mkpath(roots.Documents);
        QDir().mkpath(roots.Executable);
        ui::SetFolderRoots(roots);
        meter_.SetMeterTime(rtl::EncodeDate(2024, 3, 9) + rtl::EncodeTime(9, 0, 0, 300));
        form_ = std::make_unique<TfrmMain>(meter_);
        form_->show();
        form_->MainTimerTimer(); // the meter is found
    }
    ~MainLeqTest() override
    {
        form_.reset();
        ui::ResetFolderRoots();
        meter::TLinkGuard::Instance().Release();
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

    rtl::FakeClock clock_{46000.5};
    rtl::ScopedClock clockScope_;
    rtl::TRegistryBackendScope registry_;
    ui::TScriptedUIServices services_;
    ui::TServicesScope servicesScope_;
    QTemporaryDir dir_;
    usb::SimulatedMeter meter_;
    std::unique_ptr<TfrmMain> form_;
};

TEST_F(MainLeqTest, TheMenuOpensOneLeqWindowUnlessTheMeterRecords)
{
    meter_.SetRecording(true);
    form_->MainTimerTimer();
    EXPECT_EQ(OpenLeqWindow(), nullptr);
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"The meter is recording data, please stop recording first ."});

    meter_.SetRecording(false);
    form_->MainTimerTimer();
    views::TfrmLEQ *leq = OpenLeqWindow();
    ASSERT_NE(leq, nullptr);
    EXPECT_EQ(leq->windowTitle(), QStringLiteral("LEQ"));
    EXPECT_EQ(OpenLeqWindow(), leq);
    EXPECT_EQ(form_->MdiClient()->ChildCount(), 2); // the panel and the LEQ window
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
    EXPECT_EQ(leq->LEQGrid->Cell(2, 1), QString::fromStdString(rtl::TimeToStr(
                                            rtl::EncodeTime(9, 0, 0, 0))));
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
