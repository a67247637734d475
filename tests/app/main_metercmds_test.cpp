// "Load LEQ data", "Erase Memory" and the hidden set-up commands as a user
// reaches them from the main window, on the simulated meter's sample content.
#include "tests/app/main_window_test.h"

#include "meter/windows/setup_form.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "views/data_capture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using MeterCommandsTest = MainWindowTest;

TEST_F(MeterCommandsTest, LeqRecordsEraseAndTheSetupWindowFromTheMainWindow)
{
    meter_.LoadSampleContent();
    app::TfrmMain &f = Start();
    Tick(); // the meter answers the identify command

    f.MenuItem("LoadLEQdata1")->trigger();
    ASSERT_NE(views::gDataCaptureForm, nullptr);
    ui::TStringGrid *grid = views::gDataCaptureForm->Grid1;
    EXPECT_NE(f.MdiClient()->SubWindowOf(views::gDataCaptureForm), nullptr);
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("65.2"));
    EXPECT_EQ(grid->Cell(3, 1), QStringLiteral("00:01:00"));
    EXPECT_EQ(grid->Cell(1, 6), QStringLiteral("----"));
    EXPECT_TRUE(grid->Cell(1, 9).isEmpty());
    EXPECT_TRUE(f.Control<QTimer>("MainTimer")->isActive());

    // A load failing at its last block keeps the earlier list.
    int blocks = 0;
    meter_.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command == 'p' && ++blocks == 80)
            meter_.FailNext(usb::UsbOp::Read);
    });
    f.MenuItem("LoadLEQdata1")->trigger();
    meter_.SetReplyFilter(nullptr);
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("65.2"));
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"There was error,please try again!   error code=124"});
    services_.ClearCalls();

    services_.AnswerMessage(ui::mrYes);
    f.MenuItem("EraseMemory1")->trigger();
    f.MenuItem("LoadLEQdata1")->trigger();
    const QList<QWidget *> children = f.MdiClient()->Children();
    EXPECT_EQ(std::count_if(children.begin(), children.end(),
                            [](QWidget *w) { return qobject_cast<views::TfrmDataCapture *>(w); }),
              1)
        << "the list is reused";
    EXPECT_TRUE(grid->Cell(1, 1).isEmpty());
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"Are you sure to erase memory ?",
                           "erase memory successfully! Please power off and power on the meter "
                           "again."}));
    EXPECT_EQ(services_.CallsOf(ui::TUICallKind::MessageDlg).front().ButtonCaptions,
              (QStringList{"Yes", "No"}));

    f.Control<QPushButton>("Button1")->click();
    meter::TfrmSetup *setup = meter::frmSetup;
    ASSERT_NE(setup, nullptr);
    f.MenuItem("Setup1")->trigger();
    EXPECT_EQ(meter::frmSetup, setup);
    services_.ClearCalls();
    setup->Field(meter::TSetupField::edtPassword)->setText(QStringLiteral("0429"));
    setup->Field(meter::TSetupField::txtWAddress)->setText(QStringLiteral("300"));
    setup->Field(meter::TSetupField::txtWData)->setText(QStringLiteral("7"));
    setup->Button6->click();
    setup->Field(meter::TSetupField::txtRAddress)->setText(QStringLiteral("300"));
    setup->Button7->click();
    EXPECT_EQ(setup->Field(meter::TSetupField::txtRData)->text(), QStringLiteral("7"));
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"Write EEProm successfully", "Read EEProm successfully"}));

    form_.reset();
    EXPECT_EQ(views::gDataCaptureForm, nullptr);
    EXPECT_EQ(meter::frmSetup, nullptr);
}
