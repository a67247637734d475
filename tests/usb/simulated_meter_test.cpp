#include "platform/usb/sim/simulated_meter.h"

#include "platform/rtl/datetime.h"
#include "platform/usb/sim/logger_image_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using usb::SimFault;
using usb::SimulatedMeter;
using usb::UsbOp;
using Bytes = std::vector<uint8_t>;

namespace {

class SimTest : public ::testing::Test {
protected:
    rtl::FakeClock clock{rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(14, 5, 9, 0)};
    rtl::ScopedClock scoped{clock};
    SimulatedMeter sim;

    void SetUp() override
    {
        ASSERT_EQ(sim.UsbOpen(0x04D9, 0xE000), 0);
        ASSERT_EQ(sim.UsbSetTimeouts(100, 100), 0);
    }

    // Writes a packet and reads its reply; false when no reply comes.
    bool Exchange(Bytes packet, SimulatedMeter::Reply &reply)
    {
        EXPECT_EQ(sim.UsbWrite(7, packet.data()), 0);
        return sim.UsbRead(32, reply.data()) == 0;
    }
    SimulatedMeter::Reply Ask(Bytes packet)
    {
        SimulatedMeter::Reply r{};
        EXPECT_TRUE(Exchange(std::move(packet), r));
        return r;
    }
    void Send(Bytes packet) { ASSERT_EQ(sim.UsbWrite(7, packet.data()), 0); }
};

Bytes Cmd(uint8_t c, uint8_t p1 = 0, uint8_t p2 = 0, uint8_t p3 = 0, uint8_t p5 = 0)
{
    return {0x02, c, p1, p2, p3, p5, 0x03};
}

} // namespace

TEST_F(SimTest, PanelKeysChangeTheStatusFlags)
{
    sim.SetLevel(250);
    auto r = Ask(Cmd('A'));
    EXPECT_EQ(r[1], 0x08 | 0x10 | 0x40) << "dBA, FAST, UNDER";
    EXPECT_EQ(r[2], 0x00);
    EXPECT_EQ(Bytes(r.begin() + 7, r.begin() + 11), (Bytes{0, 2, 5, 0}));

    for (uint8_t key : {'C', 'F', 'R', 'L', 's'})
        Send(Cmd(key));
    sim.SetLevel(1350);
    r = Ask(Cmd('A'));
    EXPECT_EQ(r[1], 0x01 | 0x80) << "REC, dBC, SLOW, OVER";
    EXPECT_EQ(r[2], 0x80 | 0x60) << "LEQ mode, started";
    EXPECT_EQ(r[26] * 256 + r[27], 1350);
    Send(Cmd('M'));
    sim.SetLevel(900);
    r = Ask(Cmd('A'));
    EXPECT_EQ(r[1] & 0x04, 0x04);
    EXPECT_EQ(r[4], 0x11);
    EXPECT_EQ(r[11] * 256 + r[12], 1350);
    EXPECT_EQ(r[13] * 256 + r[14], 900);
}

TEST_F(SimTest, FaultsHitTheChosenOccurrenceAndUnplugLasts)
{
    sim.InjectFault(UsbOp::Read, 3, SimFault::Fail, 2);
    SimulatedMeter::Reply r{};
    EXPECT_TRUE(Exchange(Cmd('A'), r));
    EXPECT_TRUE(Exchange(Cmd('A'), r));
    EXPECT_FALSE(Exchange(Cmd('A'), r));
    EXPECT_FALSE(Exchange(Cmd('A'), r));
    EXPECT_TRUE(Exchange(Cmd('A'), r));
    EXPECT_EQ(sim.CallCount(UsbOp::Read), 5);

    sim.FailNext(UsbOp::Read, 1, SimFault::WrongStartMarker);
    EXPECT_TRUE(Exchange(Cmd('K'), r));
    EXPECT_NE(r[0], 0x02);
    EXPECT_EQ(r[23], '4');

    sim.FailNext(UsbOp::Write, 1, SimFault::Unplug);
    EXPECT_NE(sim.UsbWrite(7, Cmd('A').data()), 0);
    EXPECT_FALSE(sim.Present());
    EXPECT_NE(sim.UsbOpen(0x04D9, 0xE000), 0);
    EXPECT_EQ(sim.UsbClose(), 0) << "closing is always harmless";
    sim.SetPresent(true);
    EXPECT_EQ(sim.UsbOpen(0x04D9, 0xE000), 0);
    EXPECT_NE(sim.UsbOpen(0x04D9, 0xE001), 0) << "wrong product id";

    Bytes eight = Cmd('A');
    eight.push_back(0);
    EXPECT_NE(sim.UsbWrite(8, eight.data()), 0) << "a packet is 7 bytes";
}

TEST_F(SimTest, TheLevelWandersWithOccasionalPeaksAndTheClockRunsOn)
{
    // Twenty minutes at two readings a second.
    int lowest = 9999, highest = 0, peaks = 0, steps = 0, unchanged = 0;
    int previous = sim.CurrentLevel(), baseline = previous;
    for (int i = 0; i < 2400; ++i) {
        clock.Advance(500);
        const int level = sim.CurrentLevel();
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
        steps = std::max(steps, std::abs(level - previous));
        unchanged += level == previous;
        // A peak: 10 dB above the level 5 s before.
        if (i % 10 == 0)
            baseline = level;
        peaks += level - baseline > 100;
        previous = level;
    }
    EXPECT_GE(lowest, 300) << "never below the bottom of the graph";
    EXPECT_LE(highest, 1300) << "never above its top: a reading is no glitch";
    EXPECT_GT(highest - lowest, 250) << "the level wanders";
    EXPECT_GT(peaks, 10);
    EXPECT_LT(unchanged, 2400 / 10) << "a live level, not a fixed one";
    EXPECT_LT(steps, 300);

    // The same time gives the same level: the curve follows the clock only.
    SimulatedMeter other;
    EXPECT_EQ(other.CurrentLevel(), sim.CurrentLevel());

    // The meter clock steps with the program's clock by itself.
    const auto r = Ask(Cmd('A'));
    clock.Advance(3000);
    const auto later = Ask(Cmd('A'));
    EXPECT_EQ((later[15] >> 4) * 10 + (later[15] & 15),
              ((r[15] >> 4) * 10 + (r[15] & 15) + 3) % 60);
}

TEST_F(SimTest, TheCallLogKeepsTheNewestCallsWithinItsLimit)
{
    EXPECT_EQ(sim.LogLimit(), SimulatedMeter::DefaultLogLimit);
    sim.SetLogLimit(10);
    sim.ClearLog();
    SimulatedMeter::Reply r{};
    for (int level = 500; level < 510; ++level) { // ten exchanges, twenty calls
        sim.SetLevel(level);
        Exchange(Cmd('A'), r);
    }
    ASSERT_EQ(sim.Log().size(), 10u);
    EXPECT_EQ(sim.LogDropped(), 10u);
    EXPECT_EQ(sim.Log().front().op, UsbOp::Write); // the sixth exchange
    EXPECT_EQ(sim.Log().back().op, UsbOp::Read);
    const std::vector<uint8_t> &last = sim.Log().back().bytes;
    ASSERT_EQ(last.size(), 32u);
    EXPECT_EQ(last[7] * 1000 + last[8] * 100 + last[9] * 10 + last[10], 509); // the newest
    EXPECT_GE(sim.CallCount(UsbOp::Write), 10) << "the counts cover every call";

    sim.ClearLog();
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(sim.LogDropped(), 0u);
}

TEST_F(SimTest, RecRecordsANewSetAtTheIntervalUntilPressedAgain)
{
    usb::TLoggerImageBuilder builder;
    builder.AddSimpleSet(10, 700);
    sim.SetLoggerImage(builder.Build());
    const size_t begin = builder.LastAddress() + 1;
    sim.SetEeprom(SimulatedMeter::IntervalAddress, 2);
    sim.SetLevel(655);
    Send(Cmd('C')); // dBC
    Send(Cmd('R'));
    EXPECT_TRUE(sim.Logging());
    clock.Advance(9000); // samples at 0, 2, 4, 6 and 8 s
    auto r = Ask(Cmd('A'));
    EXPECT_EQ(r[1] & 0x01, 0x01) << "REC";
    EXPECT_EQ(r[2] & 0x60, 0x60) << "recording";
    Send(Cmd('R'));
    EXPECT_FALSE(sim.Logging());
    clock.Advance(60000);
    Ask(Cmd('A'));

    const Bytes &m = sim.LoggerMemory();
    EXPECT_EQ(m[9] * 256 + m[10], 2);
    ASSERT_EQ(m[begin], 0xA5);
    EXPECT_EQ(m[begin + 1], 0x5A);
    EXPECT_EQ(Bytes(m.begin() + long(begin) + 3, m.begin() + long(begin) + 9),
              (Bytes{0x26, 0x12, 0x08, 0x14, 0x05, 0x09}));
    EXPECT_EQ(m[begin + 10], 2);
    EXPECT_EQ(m[begin + 11] << 16 | m[begin + 12] << 8 | m[begin + 13], 5);
    EXPECT_EQ(m[begin + 14], 0x01) << "dBC, FAST";
    EXPECT_EQ(m[begin + 16] << 8 | m[begin + 17], 655);
    const size_t end = begin + 17 + 2 * 5;
    EXPECT_EQ(m[end - 1], 0x5A);
    EXPECT_EQ(m[end], 0xA5);
    EXPECT_EQ(size_t(m[11] << 16 | m[12] << 8 | m[13]), end);

    // The next recording begins right after it.
    Send(Cmd('R'));
    Send(Cmd('R'));
    EXPECT_EQ(sim.LoggerMemory()[end + 1], 0xA5);
    EXPECT_EQ(sim.LoggerMemory()[10], 3);
}

TEST_F(SimTest, RecStopsWithFullWhenTheMemoryIsFull)
{
    usb::TLoggerImageBuilder builder;
    const size_t room = SimulatedMeter::LoggerCapacityAddress - 256;
    builder.AddSimpleSet(int((room - 18) / 2) - 30, 600); // room for a few more samples
    sim.SetLoggerImage(builder.Build());
    sim.SetEeprom(SimulatedMeter::IntervalAddress, 1);
    Send(Cmd('R'));
    ASSERT_TRUE(sim.Logging());
    clock.Advance(3600 * 1000);
    auto r = Ask(Cmd('A'));
    EXPECT_FALSE(sim.Logging());
    EXPECT_EQ(r[1] & 0x01, 0) << "REC off";
    EXPECT_EQ(r[2] & 0x10, 0x10) << "FULL";
    const Bytes &m = sim.LoggerMemory();
    const uint32_t last = m[11] << 16 | m[12] << 8 | m[13];
    EXPECT_LT(last, SimulatedMeter::LoggerCapacityAddress);
    EXPECT_EQ(m[last - 1], 0x5A);
    EXPECT_EQ(m[last], 0xA5);

    // REC on a full memory records nothing; erasing clears FULL.
    Send(Cmd('R'));
    EXPECT_FALSE(sim.Logging());
    EXPECT_EQ(sim.LoggerMemory()[10], 2);
    Ask(Cmd('e', 'r', 'a', 's', 'e'));
    EXPECT_FALSE(sim.MemoryFull());
}
