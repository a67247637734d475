#include "meter/link.h"

#include "platform/rtl/datetime.h"
#include "platform/usb/sim/simulated_meter.h"
#include "tests/meter/command_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using meter::TCommandPacket;
using meter::TMeterLink;
using meter::TReplyBlock;
using usb::SimFault;
using usb::UsbOp;
using Bytes = std::vector<uint8_t>;

namespace {

class LinkTest : public metertest::CommandTest {
protected:
    // Monotonic times of the calls of op, relative to the first logged call.
    std::vector<int64_t> TimesOf(UsbOp op, int64_t origin) const
    {
        std::vector<int64_t> t;
        for (const usb::SimCall &c : sim.Log())
            if (c.op == op)
                t.push_back(c.timeMs - origin);
        return t;
    }
};

} // namespace

TEST_F(LinkTest, StatusSequenceStartsAtOneWrapsToZeroAndIdentifyCarriesIt)
{
    ASSERT_TRUE(link.PollStatus());
    EXPECT_EQ(sim.WrittenPackets().at(0), (Bytes{0x02, 0x41, 0x00, 0x00, 0x00, 0x01, 0x03}));
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write EndWrite Read Close");
    EXPECT_EQ(sim.Log()[1].arg1, 0x04D9);
    EXPECT_EQ(sim.Log()[1].arg2, 0xE000);
    EXPECT_EQ(sim.Log()[2].arg1, 100);
    EXPECT_EQ(sim.Log()[2].arg2, 100);

    for (int i = 2; i <= 255; ++i)
        ASSERT_TRUE(link.ReadStatus());
    sim.ClearLog();
    ASSERT_TRUE(link.PollStatus()); // the 256th status command
    EXPECT_EQ(sim.WrittenPackets().at(0)[5], 0x00);
    ASSERT_EQ(sim.WrittenPackets().size(), 1u) << "echo of 0 matched: no resynchronise";

    ASSERT_TRUE(link.ReadStatus()); // sequence 1 again
    sim.ClearLog();
    ASSERT_TRUE(link.QueryCommand('K'));
    EXPECT_EQ(sim.WrittenPackets().at(0), (Bytes{0x02, 'K', 0, 0, 0, 0x01, 0x03}));
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write EndWrite Read Close");
    EXPECT_EQ(link.gReply[23], '4');
    EXPECT_EQ(link.gReply[26], '0');
}

TEST_F(LinkTest, EchoMismatchSendsOneResynchroniseWithoutEndWriteOrRead)
{
    sim.FailNext(UsbOp::Read, 1, SimFault::WrongEcho);
    ASSERT_TRUE(link.PollStatus()) << "the echo does not decide the result";
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write EndWrite Read Write Close");
    const auto packets = sim.WrittenPackets();
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[1], (Bytes{0x02, 0x51, 0x00, 0x00, 0x00, 0x01, 0x03}));

    // ReadStatus makes no echo check.
    sim.ClearLog();
    sim.FailNext(UsbOp::Read, 1, SimFault::WrongEcho);
    EXPECT_TRUE(link.ReadStatus());
    EXPECT_EQ(sim.WrittenPackets().size(), 1u);

    // A failed read leaves a zeroed buffer: it fails the echo too, and the
    // poll reports the failure.
    sim.ClearLog();
    sim.FailNext(UsbOp::Read);
    EXPECT_FALSE(link.PollStatus());
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write EndWrite Read Write Close");
    EXPECT_EQ(sim.WrittenPackets()[1][1], 'Q');
}

TEST_F(LinkTest, AbsentMeterCheckLinkWaitsGrowingPausesAndTransactFails1001)
{
    sim.SetPresent(false);
    const int64_t t0 = clock.MonotonicMs();
    EXPECT_FALSE(link.CheckLink());
    const auto opens = TimesOf(UsbOp::Open, t0);
    ASSERT_EQ(opens.size(), 10u);
    int64_t expected = 0;
    for (int i = 0; i < 10; ++i) {
        expected += 100 + 10 * i;
        EXPECT_EQ(opens[static_cast<size_t>(i)], expected) << "try " << i;
    }
    EXPECT_EQ(clock.MonotonicMs() - t0, 1450);
    EXPECT_EQ(sim.CallCount(UsbOp::Write), 0);

    TReplyBlock reply{};
    const TCommandPacket packet{0x02, 'r', 0, 0, 0x1E, 0, 0x03};
    EXPECT_EQ(link.Transact(packet, reply), meter::LinkNoAnswer);
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(link.SendPacket(packet), meter::LinkNoAnswer);
    EXPECT_EQ(link.HandshakeSpl(), meter::LinkNoAnswer);
}

TEST_F(LinkTest, SendKeyOpensWritesAndClosesWithoutEndWrite)
{
    EXPECT_TRUE(link.SendKey('M'));
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write Close");
    EXPECT_EQ(sim.WrittenPackets()[0], (Bytes{0x02, 'M', 0, 0, 0, 0, 0x03}));
    EXPECT_TRUE(sim.MaxMinMode());

    sim.ClearLog();
    sim.FailNext(UsbOp::Write);
    EXPECT_TRUE(link.SendKey('R')) << "a failed write is not noticed";

    sim.ClearLog();
    sim.SetPresent(false);
    EXPECT_FALSE(link.SendKey('R'));
    EXPECT_EQ(sim.OpSequence(), "Close Open") << "no close after a failed open";

    sim.SetPresent(true);
    sim.ClearLog();
    sim.FailNext(UsbOp::SetTimeouts);
    EXPECT_FALSE(link.SendKey('R'));
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts");
    EXPECT_TRUE(sim.IsOpen()) << "left as it is";
}

TEST_F(LinkTest, TransactChecksTheLinkPausesBeforeTheReadAndLeavesTheLinkOpen)
{
    TReplyBlock reply{};
    const TCommandPacket packet{0x02, 'W', 0x00, 0x00, 0x1E, 0x00, 0x03};
    sim.SetEeprom(0x1E, 9);
    ASSERT_EQ(link.Transact(packet, reply), meter::LinkOk);
    EXPECT_FALSE(timer.enabled);
    EXPECT_TRUE(sim.IsOpen());
    EXPECT_EQ(sim.Eeprom(0x1E), 0);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 7), Bytes(packet.begin(), packet.end()));
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write EndWrite Read Close " // link check
                                "Close Open SetTimeouts Write EndWrite Read");
    const auto &log = sim.Log();
    EXPECT_EQ(log[log.size() - 1].timeMs - log[log.size() - 2].timeMs, 100);

    // SendPacket stops after the end of write.
    sim.ClearLog();
    ASSERT_EQ(link.SendPacket({0x02, 'L', 0, 0, 0, 0, 0x03}), meter::LinkOk);
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts Write EndWrite Read Close "
                                "Close Open SetTimeouts Write EndWrite");

    // Passing the shared packet itself: the link check must not change what is sent.
    link.gCommand = {0x02, 'r', 0x00, 0x00, 0x0F, 0x00, 0x03};
    sim.ClearLog();
    ASSERT_EQ(link.Transact(link.gCommand, link.gReply), meter::LinkOk);
    EXPECT_EQ(sim.WrittenPackets().back(), (Bytes{0x02, 'r', 0, 0, 0x0F, 0, 0x03}));
    EXPECT_EQ(link.gReply[6], 2) << "the interval byte";
}

TEST_F(LinkTest, TransactReportsEachFailingStep)
{
    TReplyBlock reply{};
    const TCommandPacket packet{0x02, 'Y', 0, 0, 0, 0, 0x03};
    // The link check opens once (its first try succeeds); the second open is the transaction's.
    sim.InjectFault(UsbOp::Open, sim.CallCount(UsbOp::Open) + 2);
    EXPECT_EQ(link.Transact(packet, reply), meter::LinkOpenFailed);
    sim.InjectFault(UsbOp::SetTimeouts, sim.CallCount(UsbOp::SetTimeouts) + 2);
    EXPECT_EQ(link.Transact(packet, reply), meter::LinkTimeoutFailed);
    sim.InjectFault(UsbOp::Write, sim.CallCount(UsbOp::Write) + 2);
    EXPECT_EQ(link.Transact(packet, reply), meter::LinkWriteFailed);
    sim.InjectFault(UsbOp::Read, sim.CallCount(UsbOp::Read) + 2);
    EXPECT_EQ(link.Transact(packet, reply), meter::LinkReadFailed);
    EXPECT_EQ(link.Transact(packet, reply), meter::LinkOk);
    EXPECT_EQ(reply[31], 105) << "the firmware byte of the information reply";
}

TEST_F(LinkTest, HandshakesCheckTheirMarkersAndLeaveTheLinkOpen)
{
    EXPECT_EQ(link.HandshakeSpl(), meter::LinkOk);
    EXPECT_TRUE(sim.IsOpen());
    EXPECT_EQ(link.gReply[0], 4);
    EXPECT_EQ(link.gReply[31], 5);
    EXPECT_EQ(sim.WrittenPackets().back()[1], 'P');
    EXPECT_EQ(link.HandshakeLeq(), meter::LinkOk);
    EXPECT_EQ(link.gReply[0], 6);
    EXPECT_EQ(link.gReply[31], 7);

    sim.InjectFault(UsbOp::Read, sim.CallCount(UsbOp::Read) + 2, SimFault::WrongEndMarker);
    EXPECT_EQ(link.HandshakeSpl(), meter::LinkBadMarkers);
    sim.InjectFault(UsbOp::Read, sim.CallCount(UsbOp::Read) + 2, SimFault::WrongStartMarker);
    EXPECT_EQ(link.HandshakeLeq(), meter::LinkBadMarkers);
    sim.InjectFault(UsbOp::Read, sim.CallCount(UsbOp::Read) + 2);
    EXPECT_EQ(link.HandshakeSpl(), meter::LinkReadFailed);
}

TEST_F(LinkTest, GuardRefusesKeysAndSecondOperationsWithoutTouchingTheLink)
{
    {
        meter::TLinkOperation op(link, "download");
        ASSERT_TRUE(op);
        EXPECT_FALSE(timer.enabled);
        int dummyWindow = 0;
        op.Protect(&dummyWindow);
        EXPECT_FALSE(guard.CanClose(&dummyWindow));

        sim.ClearLog();
        EXPECT_EQ(link.PressKey('R'), meter::TKeyResult::Ignored);
        meter::TLinkOperation second(link, "erase");
        EXPECT_FALSE(second);
        EXPECT_TRUE(sim.Log().empty());
        EXPECT_FALSE(sim.Recording());
        EXPECT_FALSE(timer.enabled) << "the refused operation does not switch the timer back on";
    }
    EXPECT_TRUE(timer.enabled);
    EXPECT_FALSE(guard.Held());
    EXPECT_EQ(link.PressKey('R'), meter::TKeyResult::Sent);
    EXPECT_TRUE(sim.Recording());
    sim.SetPresent(false);
    EXPECT_EQ(link.PressKey('R'), meter::TKeyResult::OpenFailed);
}

TEST_F(LinkTest, BusyFlagWaitIsBounded)
{
    link.gUsbBusy = true; // as seen from a handler nested in a tick
    const int64_t t0 = clock.MonotonicMs();
    link.WaitLinkIdle();
    EXPECT_EQ(clock.MonotonicMs() - t0, TMeterLink::BusyWaitLimitMs);
    EXPECT_FALSE(timer.enabled);
}

// Every fault on every operation at each of the first calls, against a mix of
// transactions and a download-like block loop: nothing crashes, every result
// is a link code, and the meter ends up usable again.
TEST_F(LinkTest, SurvivesEveryInjectedFault)
{
    const SimFault faults[] = {SimFault::Fail, SimFault::WrongStartMarker, SimFault::WrongEndMarker,
                               SimFault::WrongEcho, SimFault::Unplug};
    const UsbOp ops[] = {UsbOp::Close, UsbOp::EndWrite,    UsbOp::ReadSerial, UsbOp::Open,
                         UsbOp::Read,  UsbOp::SetTimeouts, UsbOp::Write,      UsbOp::WriteBlock};
    for (UsbOp op : ops)
        for (SimFault fault : faults)
            for (int occurrence = 1; occurrence <= 12; ++occurrence) {
                usb::SimulatedMeter meter;
                meter::TLinkGuard localGuard;
                TMeterLink l(meter, &timer, localGuard);
                meter.InjectFault(op, occurrence, fault, 3);
                auto isCode = [](int c) { return c == 0 || (c >= 1001 && c <= 1006); };
                l.PollStatus();
                l.QueryCommand('K');
                TReplyBlock reply{};
                EXPECT_TRUE(isCode(l.Transact({0x02, 'Y', 0, 0, 0, 0, 0x03}, reply)));
                EXPECT_TRUE(isCode(l.SendPacket({0x02, 't', 'c', 0, 0, 0, 0x03})));
                l.Device().UsbWriteBlock(32, reply.data());
                char serial[64];
                l.Device().UsbReadSerial(0, serial, sizeof serial);
                const int code = l.HandshakeSpl();
                EXPECT_TRUE(isCode(code));
                if (code == 0)
                    for (int block = 0; block < 8; ++block) {
                        l.gCommand[1] = 'p';
                        if (l.Device().UsbWrite(7, l.gCommand.data()) != 0 ||
                            l.Device().UsbRead(32, l.gReply.data()) != 0)
                            break;
                    }
                l.SendKey('F');
                meter.SetPresent(true);
                meter.ClearFaults();
                EXPECT_TRUE(l.PollStatus()) << usb::UsbOpName(op) << " #" << occurrence;
            }
}
