// The set-up window: its controls, the fields its commands read and fill,
// and its global.
#include "meter/windows/setup_form.h"

#include "platform/rtl/datetime.h"
#include "platform/ui/ui_services_script.h"
#include "platform/usb/sim/simulated_meter.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class SetupFormTest : public ::testing::Test {
protected:
    SetupFormTest() { meter::SetupBuffers() = meter::TSetupBuffers{}; }
    ~SetupFormTest() override { meter::TLinkGuard::Instance().Release(); }

    rtl::FakeClock clock{rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(14, 5, 9, 0)};
    rtl::ScopedClock scoped{clock};
    ui::TScriptedUIServices services;
    ui::TServicesScope servicesScope{services};
    usb::SimulatedMeter sim;
    meter::TMeterLink link{sim};
};

} // namespace

TEST_F(SetupFormTest, LayoutCaptionsDefaultsAndHiddenControls)
{
    meter::TfrmSetup form(link, nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Data Logger Setup"));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Adjust Meter Time To Computer Time"));
    EXPECT_EQ(form.GroupBox1->title(), QStringLiteral("Meter Recording Interval "));
    EXPECT_EQ(form.Button4->text(), QStringLiteral("Read  "));
    EXPECT_EQ(form.Control<QLabel>("Label2")->text(), QStringLiteral("mm:ss(00:01~01:00)"));
    EXPECT_EQ(form.Field(meter::TSetupField::edtInt1)->text(), QStringLiteral("00"));
    EXPECT_EQ(form.Field(meter::TSetupField::edtInt2)->text(), QStringLiteral("02"));
    for (auto f : {meter::TSetupField::txtWAddress, meter::TSetupField::txtWData,
                   meter::TSetupField::edtPassword})
        EXPECT_EQ(form.Field(f)->text(), QStringLiteral("0"));
    EXPECT_TRUE(form.Field(meter::TSetupField::txtMeterTime)->isReadOnly());
    form.show();
    for (const char *hidden : {"Grid1", "Button5", "lblMemTest", "Label9"})
        EXPECT_FALSE(form.Control(hidden)->isVisible()) << hidden;
}

TEST_F(SetupFormTest, ButtonsRunTheCommandsOnTheWindowsFields)
{
    meter::TfrmSetup form(link, nullptr);
    form.Field(meter::TSetupField::edtPassword)->setText(QStringLiteral("0429"));
    form.Field(meter::TSetupField::txtWAddress)->setText(QStringLiteral("300"));
    form.Field(meter::TSetupField::txtWData)->setText(QStringLiteral("7"));
    form.Button6->click();
    EXPECT_EQ(sim.Eeprom(300), 7);

    form.Field(meter::TSetupField::txtRAddress)->setText(QStringLiteral("300"));
    form.Button7->click();
    EXPECT_EQ(form.Field(meter::TSetupField::txtRData)->text(), QStringLiteral("7"));

    sim.SetSerialNumber("MX-7");
    form.Button4->click();
    EXPECT_EQ(form.Field(meter::TSetupField::txtSN)->text(), QStringLiteral("MX-7"));
    EXPECT_EQ(services.MessageTexts(),
              (QStringList{"Write EEProm successfully", "Read EEProm successfully",
                           "read data successfully"}));
}

TEST_F(SetupFormTest, ClosingClearsTheGlobalUnlessAnOperationWritesIntoIt)
{
    auto *form = new meter::TfrmSetup(link, nullptr);
    meter::frmSetup = form;
    form->show();
    meter::TLinkGuard &guard = meter::TLinkGuard::Instance();
    ASSERT_TRUE(guard.TryAcquire("set-up"));
    guard.Protect(form);
    EXPECT_FALSE(form->close());
    guard.Release();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(meter::frmSetup, nullptr);
    delete form;
}
