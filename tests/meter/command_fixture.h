// Shared by the tests of the meter link and its commands: the simulated meter
// on a fake clock, a link with its own guard and MainTimer switch, the meter
// state the commands check, and window services that record what a command shows.
#pragma once

#include "meter/meter_commands.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format_settings.h"
#include "platform/usb/sim/simulated_meter.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace metertest {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

struct FakeMainTimer : meter::TMainTimerSwitch {
    bool enabled = true;
    int switches = 0;
    void SetMainTimerEnabled(bool on) override { enabled = on, ++switches; }
};

struct FakeUi : meter::TCommandUi {
    Texts messages, questions;
    std::deque<bool> answers; // none left: No
    bool hourglass = false;
    std::function<void()> onPump;

    void ShowMessage(const std::string &text) override
    {
        EXPECT_FALSE(hourglass) << "the default cursor comes back before the message";
        messages.push_back(text);
    }
    bool Confirm(const std::string &text) override
    {
        questions.push_back(text);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.pop_front();
        return yes;
    }
    std::string StringById(const std::string &id) override { return "<" + id + ">"; }
    void SetHourglass(bool on) override { hourglass = on; }
    void ProcessMessages() override
    {
        if (onPump)
            onPump();
    }
};

class CommandTest : public ::testing::Test {
protected:
    CommandTest() { rtl::SetFormatSettings(rtl::CLikeFormatSettings()); }

    static Bytes Packet(uint8_t c, uint8_t p2 = 0, uint8_t p3 = 0, uint8_t p4 = 0, uint8_t p5 = 0)
    {
        return {0x02, c, p2, p3, p4, p5, 0x03};
    }
    // The packets written, without the status polls of the link checks.
    std::vector<Bytes> CommandPackets() const
    {
        std::vector<Bytes> out;
        for (const Bytes &p : sim.WrittenPackets())
            if (p[1] != 'A')
                out.push_back(p);
        return out;
    }
    int Written(uint8_t command) const
    {
        int n = 0;
        for (const Bytes &p : sim.WrittenPackets())
            n += p[1] == command;
        return n;
    }
    // The meter takes the next packet of this command and is unplugged before
    // its reply is read: what the packet did stays done, the reply is lost.
    void UnplugBeforeReplyTo(uint8_t command)
    {
        sim.SetPresent(true);
        sim.SetReplyFilter([this, command](uint8_t c, usb::SimulatedMeter::Reply &) {
            if (c == command)
                sim.FailNext(usb::UsbOp::Read, 1, usb::SimFault::Unplug);
        });
    }
    void ExpectLinkGivenBack()
    {
        EXPECT_FALSE(guard.Held());
        EXPECT_TRUE(timer.enabled);
        EXPECT_FALSE(ui.hourglass);
    }

    rtl::FakeClock clock{rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(14, 5, 9, 0)};
    rtl::ScopedClock scoped{clock};
    usb::SimulatedMeter sim;
    FakeMainTimer timer;
    meter::TLinkGuard guard;
    meter::TMeterLink link{sim, &timer, guard};
    meter::TMeterState state;
    FakeUi ui;
};

} // namespace metertest
