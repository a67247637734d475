// The main window's "Load LEQ data", "Erase Memory" and hidden set-up
// commands as a user reaches them, on the simulated meter with its sample
// content.
#include "app/main_form.h"

#include "meter/link_guard.h"
#include "meter/windows/setup_form.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/registry.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_script.h"
#include "platform/usb/sim/simulated_meter.h"
#include "views/data_capture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct MeterCommandsTest : ::testing::Test {
    MeterCommandsTest()
    {
        ui::TFolderRoots roots{dir.path() + "/Documents", dir.path() + "/bin",
                               dir.path() + "/data"};
        for (const QString &folder : {roots.Documents, roots.Executable})
            QDir().mkpath(folder);
        ui::SetFolderRoots(roots);
        meter.LoadSampleContent();
        form = std::make_unique<app::TfrmMain>(meter);
        form->show();
        form->MainTimerTimer(); // the meter answers the identify command
    }
    ~MeterCommandsTest() override
    {
        form.reset();
        ui::ResetFolderRoots();
        meter::TLinkGuard::Instance().Release();
    }
    ui::TStringGrid *List() const
    {
        return views::gDataCaptureForm ? views::gDataCaptureForm->Grid1 : nullptr;
    }

    rtl::FakeClock clock{rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(14, 5, 9, 0)};
    rtl::ScopedClock clockScope{clock};
    rtl::TRegistryBackendScope registry;
    ui::TScriptedUIServices services;
    ui::TServicesScope servicesScope{services};
    QTemporaryDir dir;
    usb::SimulatedMeter meter;
    std::unique_ptr<app::TfrmMain> form;
};

} // namespace

TEST_F(MeterCommandsTest, LoadLeqDataListsTheMetersRecordsInOneListWindow)
{
    ASSERT_TRUE(form->TimerLogic().gConnected);
    QAction *load = form->MenuItem("LoadLEQdata1");
    ASSERT_TRUE(load->isEnabled());
    load->trigger();

    ui::TStringGrid *grid = List();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(form->MdiClient()->SubWindowOf(views::gDataCaptureForm) != nullptr, true);
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("65.2"));
    EXPECT_EQ(grid->Cell(3, 1), QStringLiteral("00:01:00"));
    EXPECT_EQ(grid->Cell(1, 6), QStringLiteral("----")) << "135.2 dB is over the range";
    EXPECT_TRUE(grid->Cell(2, 6).isEmpty());
    EXPECT_FALSE(grid->Cell(1, 8).isEmpty());
    EXPECT_TRUE(grid->Cell(1, 9).isEmpty());
    EXPECT_TRUE(services.MessageTexts().isEmpty());
    EXPECT_TRUE(form->Control<QTimer>("MainTimer")->isActive());

    // A second load reuses the window.
    views::TfrmDataCapture *first = views::gDataCaptureForm;
    load->trigger();
    EXPECT_EQ(views::gDataCaptureForm, first);
    EXPECT_EQ(form->MdiClient()->ChildCount(), 2); // the panel and the list
}

TEST_F(MeterCommandsTest, EraseAfterYesEmptiesTheMeterAndTheNextLoadListsNothing)
{
    services.AnswerMessage(ui::mrYes);
    form->MenuItem("EraseMemory1")->trigger();
    EXPECT_EQ(services.MessageTexts(),
              (QStringList{"Are you sure to erase memory ?",
                           "erase memory successfully! Please power off and power on the meter "
                           "again."}));
    EXPECT_EQ(meter.LoggerMemory()[10], 0);

    form->MenuItem("LoadLEQdata1")->trigger();
    ASSERT_NE(List(), nullptr);
    for (int r = 1; r <= 100; ++r)
        ASSERT_TRUE(List()->Cell(1, r).isEmpty()) << r;

    // Without a meter both commands say so in the window's language.
    meter.SetPresent(false);
    for (int i = 0; i < 5; ++i)
        form->MainTimerTimer();
    ASSERT_FALSE(form->TimerLogic().gConnected);
    services.ClearCalls();
    form->MenuItem("EraseMemory1")->trigger();
    form->MenuItem("LoadLEQdata1")->trigger();
    EXPECT_EQ(services.MessageTexts(), (QStringList{"There is no connection with meter !",
                                                    "There is no connection with meter !"}));
}

TEST_F(MeterCommandsTest, HiddenSetupCommandsOpenOneSetupWindowAndButton2RemovesTheOldFiles)
{
    EXPECT_FALSE(form->MenuItem("Setup1")->isVisible());
    form->Control<QPushButton>("Button1")->click();
    meter::TfrmSetup *setup = meter::frmSetup;
    ASSERT_NE(setup, nullptr);
    EXPECT_NE(form->MdiClient()->SubWindowOf(setup), nullptr);
    form->MenuItem("Setup1")->trigger();
    EXPECT_EQ(meter::frmSetup, setup);

    const QString folder = dir.path() + "/bin/";
    for (const char *name : {"CHARTX32D.dll", "CHARTX32B.dll", "other.dll"}) {
        QFile file(folder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    form->Control<QPushButton>("Button2")->click();
    EXPECT_FALSE(QFile::exists(folder + "CHARTX32D.dll"));
    EXPECT_FALSE(QFile::exists(folder + "CHARTX32B.dll"));
    EXPECT_TRUE(QFile::exists(folder + "other.dll"));
    form->Control<QPushButton>("Button2")->click(); // neither there: nothing happens
}
