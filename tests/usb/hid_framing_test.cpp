// The hidapi backend on a scripted port: replies that come too late are
// thrown away before the next command, whatever the input report size.
#include "platform/usb/hid/hid_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace {

// A meter behind the port: each 7-byte packet written is answered, after
// `delay` empty reads, by a 32-byte reply in reports of `reportSize` bytes
// whose first byte is the packet's sequence byte (byte 5).
class ScriptedPort : public usb::HidPort {
public:
    explicit ScriptedPort(int reportSize) : FReportSize(reportSize) {}

    bool Open(uint16_t, uint16_t) override { return FOpen = true; }
    void Close() override { FOpen = false; }
    bool IsOpen() const override { return FOpen; }
    int Write(const uint8_t *report, size_t length) override
    {
        written.emplace_back(report, report + length);
        std::vector<uint8_t> reply(32, 0xEE);
        reply[0] = report[1 + 5];
        for (int at = 0; at < 32; at += FReportSize)
            FPending.emplace_back(reply.begin() + at, reply.begin() + at + FReportSize);
        FDelay = delay;
        return static_cast<int>(length);
    }
    int Read(uint8_t *buffer, size_t capacity, int timeoutMs) override
    {
        if (timeoutMs > 0 && FDelay > 0) {
            --FDelay; // this read waits in vain: the reply comes later
            return 0;
        }
        if (FPending.empty())
            return 0;
        const std::vector<uint8_t> r = FPending.front();
        FPending.pop_front();
        const size_t n = std::min(capacity, r.size());
        std::copy(r.begin(), r.begin() + static_cast<long>(n), buffer);
        return static_cast<int>(n);
    }
    bool SerialNumber(wchar_t *, size_t) override { return false; }
    bool Present(uint16_t, uint16_t) override { return true; }

    int delay = 0;
    std::vector<std::vector<uint8_t>> written;

private:
    int FReportSize;
    bool FOpen = false;
    int FDelay = 0;
    std::deque<std::vector<uint8_t>> FPending;
};

struct Fixture {
    explicit Fixture(int reportSize)
    {
        auto p = std::make_unique<ScriptedPort>(reportSize);
        port = p.get();
        device = std::make_unique<usb::HidDevice>(std::move(p));
        device->UsbOpen(0x04D9, 0xE000);
        device->UsbSetTimeouts(100, 100);
    }
    int Send(uint8_t sequence)
    {
        const uint8_t packet[7] = {0x02, 'p', 0, 0, 0, sequence, 0x03};
        return device->UsbWrite(7, packet);
    }
    ScriptedPort *port = nullptr;
    std::unique_ptr<usb::HidDevice> device;
};

// A block whose reply came after its read timed out: the late reply must not
// be read as the answer to the next request.
TEST(HidFraming, AReplyThatCameTooLateIsDroppedBeforeTheNextCommand)
{
    for (int reportSize : {8, 32}) {
        Fixture f(reportSize);
        uint8_t reply[32] = {};
        f.port->delay = 1;
        ASSERT_EQ(f.Send(1), usb::UsbOk);
        EXPECT_EQ(f.device->UsbRead(32, reply), usb::UsbFailed);
        f.port->delay = 0;

        ASSERT_EQ(f.Send(2), usb::UsbOk);
        ASSERT_EQ(f.device->UsbRead(32, reply), usb::UsbOk);
        EXPECT_EQ(reply[0], 2) << "report size " << reportSize;

        // A reply cut short by a time-out half way leaves its tail behind.
        if (reportSize == 8) {
            ASSERT_EQ(f.Send(3), usb::UsbOk);
            uint8_t part[8];
            ASSERT_EQ(f.port->Read(part, sizeof part, 100), 8);
            ASSERT_EQ(f.Send(4), usb::UsbOk);
            ASSERT_EQ(f.device->UsbRead(32, reply), usb::UsbOk);
            EXPECT_EQ(reply[0], 4);
        }
    }
}

} // namespace
