#include "platform/usb/backend/backend.h"

#include "platform/usb/hid/hid_device.h"
#include "platform/usb/sim/simulated_meter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using usb::Backend;

TEST(BackendChoice, SimulateFlagOrEnvironmentSelectTheSimulatedMeter)
{
    EXPECT_EQ(usb::SelectBackend(true, nullptr), Backend::Simulated);
    EXPECT_EQ(usb::SelectBackend(false, "sim"), Backend::Simulated);
    EXPECT_EQ(usb::SelectBackend(false, nullptr), Backend::Hid);
    EXPECT_EQ(usb::SelectBackend(false, ""), Backend::Hid);

    ::unsetenv("NIVORA_METER");
    const char *plain[] = {"nivora", "file.ghf"};
    const char *flagged[] = {"nivora", "--simulate"};
    EXPECT_EQ(usb::SelectBackend(2, plain), Backend::Hid);
    EXPECT_EQ(usb::SelectBackend(2, flagged), Backend::Simulated);
    ::setenv("NIVORA_METER", "sim", 1);
    EXPECT_EQ(usb::SelectBackend(2, plain), Backend::Simulated);
    ::unsetenv("NIVORA_METER");

    // The simulated meter comes with logged sets and LEQ records to download.
    auto device = usb::CreateUsbDevice(Backend::Simulated);
    auto *sim = dynamic_cast<usb::SimulatedMeter *>(device.get());
    ASSERT_NE(sim, nullptr);
    EXPECT_GT(sim->LoggerMemory()[9] * 256 + sim->LoggerMemory()[10], 0);
    EXPECT_GT(sim->Eeprom(0x1E), 0);
}

// No meter is attached here: the backend must fail cleanly, never crash.
TEST(HidBackend, NoDevicePresent)
{
    usb::HidDevice hid;
    EXPECT_EQ(hid.UsbClose(), 0);
    EXPECT_NE(hid.UsbOpen(0x04D9, 0xE000), 0);
    EXPECT_NE(hid.UsbSetTimeouts(100, 100), 0);
    const uint8_t packet[7] = {0x02, 'A', 0, 0, 0, 1, 0x03};
    EXPECT_NE(hid.UsbWrite(7, packet), 0);
    EXPECT_NE(hid.UsbEndWrite(), 0);
    uint8_t reply[32] = {};
    EXPECT_NE(hid.UsbRead(32, reply), 0);
    EXPECT_NE(hid.UsbWriteBlock(32, reply), 0);
    char serial[64];
    EXPECT_NE(hid.UsbReadSerial(0, serial, sizeof serial), 0);
    EXPECT_EQ(hid.UsbClose(), 0);
}

// A meter that is there but may not be opened gets one line naming the udev
// rule; no meter at all gets none.
TEST(HidBackend, AMeterThatCannotBeOpenedNamesTheUdevRuleOnce)
{
    for (const bool present : {true, false}) {
        std::FILE *out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        usb::HidDevice hid;
        hid.SetHintStream(out);
        hid.SetPresenceProbe([present](uint16_t vendor, uint16_t product) {
            return present && vendor == 0x04D9 && product == 0xE000;
        });
        EXPECT_NE(hid.UsbOpen(0x04D9, 0xE000), 0);
        EXPECT_NE(hid.UsbOpen(0x04D9, 0xE000), 0); // the poll tries again and again
        std::rewind(out);
        std::string text;
        for (int c; (c = std::fgetc(out)) != EOF;)
            text += static_cast<char>(c);
        std::fclose(out);
        EXPECT_EQ(text, present ? std::string(usb::HidDevice::OpenHint()) + "\n" : "");
    }
    EXPECT_NE(std::string(usb::HidDevice::OpenHint()).find("dist/60-nivora-mx4820.rules"),
              std::string::npos);
}
