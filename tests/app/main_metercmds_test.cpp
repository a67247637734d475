// "Load LEQ data", "Erase Memory" and the hidden set-up commands as a user
// reaches them from the main window, on the simulated meter's sample content.
#include "app/main_form.h"

#include "meter/link_guard.h"
#include "meter/windows/setup_form.h"
#include "platform/rtl/registry.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_script.h"
#include "platform/usb/sim/simulated_meter.h"
#include "views/data_capture.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

TEST(MeterCommands, LeqRecordsEraseAndTheSetupWindowFromTheMainWindow)
{
    rtl::FakeClock clock;
    rtl::ScopedClock clockScope{clock};
    rtl::TRegistryBackendScope registry;
    ui::TScriptedUIServices services;
    ui::TServicesScope servicesScope{services};
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Documents");
    ui::SetFolderRoots({dir.path() + "/Documents", dir.path(), dir.path()});
    usb::SimulatedMeter meter;
    meter.LoadSampleContent();
    auto form = std::make_unique<app::TfrmMain>(meter);
    form->show();
    form->MainTimerTimer(); // the meter answers the identify command

    form->MenuItem("LoadLEQdata1")->trigger();
    ASSERT_NE(views::gDataCaptureForm, nullptr);
    ui::TStringGrid *grid = views::gDataCaptureForm->Grid1;
    EXPECT_NE(form->MdiClient()->SubWindowOf(views::gDataCaptureForm), nullptr);
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("65.2"));
    EXPECT_EQ(grid->Cell(3, 1), QStringLiteral("00:01:00"));
    EXPECT_EQ(grid->Cell(1, 6), QStringLiteral("----"));
    EXPECT_TRUE(grid->Cell(1, 9).isEmpty());
    EXPECT_TRUE(form->Control<QTimer>("MainTimer")->isActive());

    services.AnswerMessage(ui::mrYes);
    form->MenuItem("EraseMemory1")->trigger();
    form->MenuItem("LoadLEQdata1")->trigger();
    EXPECT_EQ(form->MdiClient()->ChildCount(), 2) << "the panel and the one list";
    EXPECT_TRUE(grid->Cell(1, 1).isEmpty());
    EXPECT_EQ(services.MessageTexts(),
              (QStringList{"Are you sure to erase memory ?",
                           "erase memory successfully! Please power off and power on the meter "
                           "again."}));

    form->Control<QPushButton>("Button1")->click();
    meter::TfrmSetup *setup = meter::frmSetup;
    ASSERT_NE(setup, nullptr);
    form->MenuItem("Setup1")->trigger();
    EXPECT_EQ(meter::frmSetup, setup);
    services.ClearCalls();
    setup->Field(meter::TSetupField::edtPassword)->setText(QStringLiteral("0429"));
    setup->Field(meter::TSetupField::txtWAddress)->setText(QStringLiteral("300"));
    setup->Field(meter::TSetupField::txtWData)->setText(QStringLiteral("7"));
    setup->Button6->click();
    setup->Field(meter::TSetupField::txtRAddress)->setText(QStringLiteral("300"));
    setup->Button7->click();
    EXPECT_EQ(setup->Field(meter::TSetupField::txtRData)->text(), QStringLiteral("7"));
    EXPECT_EQ(services.MessageTexts(),
              (QStringList{"Write EEProm successfully", "Read EEProm successfully"}));

    form.reset();
    EXPECT_EQ(views::gDataCaptureForm, nullptr);
    EXPECT_EQ(meter::frmSetup, nullptr);
    ui::ResetFolderRoots();
    meter::TLinkGuard::Instance().Release();
}
