// "Erase Memory" against the simulated meter: the packets, the echo tests,
// the LEVEL key in LEQ mode, and which message each outcome shows.
#include "meter/memory_erase.h"

#include "platform/usb/sim/logger_image_builder.h"
#include "tests/meter/command_fixture.h"

using namespace metertest;
using usb::UsbOp;

namespace {

const std::string kSuccess =
    "erase memory successfully! Please power off and power on the meter again.";

class EraseTest : public CommandTest {
protected:
    EraseTest()
    {
        state.gConnected = true;
        usb::TLoggerImageBuilder logger;
        logger.AddSimpleSet(20);
        sim.SetLoggerImage(logger.Build());
        sim.SetLeqRecords({{700, rtl::EncodeDate(2026, 1, 2), 1, true, true}});
    }
    int Erase(bool yes = true)
    {
        ui.answers.push_back(yes);
        return meter::EraseMemory(link, state, ui);
    }
};

} // namespace

TEST_F(EraseTest, LevelModeClearsTheCountThenErases)
{
    ASSERT_EQ(Erase(), 0);
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Are you sure to erase memory ?"});
    EXPECT_EQ(CommandPackets(), (std::vector<Bytes>{{0x02, 0x57, 0x00, 0x00, 0x1E, 0x00, 0x03},
                                                    {0x02, 0x65, 0x72, 0x61, 0x73, 0x65, 0x03}}));
    EXPECT_EQ(ui.messages, std::vector<std::string>{kSuccess});
    ExpectLinkGivenBack();
    EXPECT_EQ(sim.Eeprom(0x1E), 0);
    EXPECT_EQ(sim.LoggerMemory()[10], 0) << "no data set left";
    EXPECT_EQ(sim.LeqMemory()[0], 0xFF);
}

TEST_F(EraseTest, LeqModePressesLevelWithoutReadingAReply)
{
    state.gMeterLeqMode = true;
    sim.SetLeqMode(true);
    ASSERT_EQ(Erase(), 0);
    const std::vector<Bytes> packets = CommandPackets();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[2], (Bytes{0x02, 0x4C, 0x00, 0x00, 0x00, 0x00, 0x03}));
    EXPECT_FALSE(sim.LeqMode());

    const auto &log = sim.Log();
    size_t at = log.size();
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].op == UsbOp::Write && log[i].bytes.at(1) == 'L')
            at = i;
    ASSERT_LT(at + 1, log.size());
    EXPECT_EQ(log[at + 1].op, UsbOp::EndWrite);
    for (size_t i = at + 1; i < log.size(); ++i)
        EXPECT_NE(log[i].op, UsbOp::Read);
    EXPECT_EQ(ui.messages, std::vector<std::string>{kSuccess});
}

TEST_F(EraseTest, AnEraseReplyDifferingInAnyOfItsFirstSevenBytesIsAskedFifteenTimes)
{
    for (int byte = 0; byte < 7; ++byte) {
        sim.ClearLog();
        ui.messages.clear();
        sim.SetReplyFilter([byte](uint8_t command, usb::SimulatedMeter::Reply &r) {
            if (command == 'e')
                r[static_cast<size_t>(byte)] ^= 0x01;
        });
        EXPECT_EQ(Erase(), meter::LinkNotEchoed) << "byte " << byte;
        EXPECT_EQ(Written('e'), 15) << "byte " << byte;
        EXPECT_EQ(ui.messages, std::vector<std::string>{"data error"}) << "byte " << byte;
    }
    ExpectLinkGivenBack();
}

TEST_F(EraseTest, TheFirstFailedStepIsReportedEvenWhenLaterStepsSucceed)
{
    // The count clear is never echoed; the erase itself goes through.
    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'W')
            r[5] ^= 0xFF;
    });
    EXPECT_EQ(Erase(), meter::LinkNotEchoed);
    EXPECT_EQ(Written('W'), 15);
    EXPECT_EQ(Written('e'), 1) << "the erase runs after a failed count clear";
    EXPECT_EQ(ui.messages, std::vector<std::string>{"data error"});

    // Without an answer from the meter: the error text with the code.
    sim.SetReplyFilter(nullptr);
    sim.SetPresent(false);
    ui.messages.clear();
    EXPECT_EQ(Erase(), meter::LinkNoAnswer);
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"There was error,please try again!   error code=1001"});
    ExpectLinkGivenBack();
}

TEST_F(EraseTest, NoMeterRecordingOrNoLeaveTheMeterUntouched)
{
    EXPECT_EQ(Erase(false), meter::EraseRefused);
    EXPECT_EQ(ui.questions.size(), 1u);
    state.gMeterRecording = true;
    EXPECT_EQ(Erase(), meter::EraseRefused);
    state.gConnected = false;
    EXPECT_EQ(Erase(), meter::EraseRefused);

    EXPECT_EQ(ui.questions.size(), 1u) << "refusals ask nothing";
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"<IDS_109>", "<IDS_106>"}));
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(timer.switches, 0);
    EXPECT_EQ(sim.Eeprom(0x1E), 1);
}
