// "Erase Memory" against the simulated meter: the packets, the echo tests,
// the LEVEL key in LEQ mode, and which message each outcome shows.
#include "meter/memory_erase.h"

#include "platform/usb/sim/logger_image_builder.h"
#include "tests/meter/command_fixture.h"

using namespace metertest;

namespace {

class EraseTest : public CommandTest {
protected:
    EraseTest()
    {
        state.gConnected = true;
        SetUpMemory();
    }
    // One data set and one LEQ record.
    void SetUpMemory()
    {
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

TEST_F(EraseTest, ClearsTheCountErasesAndInLeqModePressesLevelWithoutAReply)
{
    ASSERT_EQ(Erase(), 0);
    EXPECT_EQ(CommandPackets(), (std::vector<Bytes>{{0x02, 0x57, 0x00, 0x00, 0x1E, 0x00, 0x03},
                                                    {0x02, 0x65, 0x72, 0x61, 0x73, 0x65, 0x03}}));
    EXPECT_EQ(ui.messages,
              Texts{"erase memory successfully! Please power off and power on the meter again."});
    EXPECT_EQ(sim.Eeprom(0x1E), 0);
    EXPECT_EQ(sim.LoggerMemory()[10], 0) << "no data set left";

    state.gMeterLeqMode = true;
    sim.ClearLog();
    ASSERT_EQ(Erase(), 0);
    EXPECT_EQ(CommandPackets().back(), (Bytes{0x02, 0x4C, 0x00, 0x00, 0x00, 0x00, 0x03}));
    const auto &log = sim.Log();
    EXPECT_EQ(log[log.size() - 2].op, usb::UsbOp::Write);
    EXPECT_EQ(log.back().op, usb::UsbOp::EndWrite) << "the LEVEL key reads no reply";
    ExpectLinkGivenBack();
}

TEST_F(EraseTest, AnEraseReplyDifferingInAnyOfItsFirstSevenBytesIsAskedFifteenTimes)
{
    for (size_t byte = 0; byte < 7; ++byte) {
        sim.ClearLog();
        ui.messages.clear();
        sim.SetReplyFilter([byte](uint8_t command, usb::SimulatedMeter::Reply &r) {
            if (command == 'e')
                r[byte] ^= 0x01;
        });
        EXPECT_EQ(Erase(), meter::LinkNotEchoed) << byte;
        EXPECT_EQ(Written('e'), 15) << byte;
        EXPECT_EQ(ui.messages, Texts{"The count of LEQ records is cleared.\nThe memory could not "
                                     "be erased.\ndata error"})
            << byte;
    }
}

TEST_F(EraseTest, AFailedStepSaysWhichStepsWereDoneAndWhichFailed)
{
    const std::string cleared = "The count of LEQ records is cleared.\n";
    const std::string erased =
        "The memory is erased. Please power off and power on the meter again.\n";
    const std::string unplugged = "There was error,please try again!   error code=1001";
    // The meter is pulled out once it has answered the given command (0:
    // before the erase starts); the third step is the LEVEL key of LEQ mode.
    const struct {
        uint8_t unplugAfter;
        bool leqMode;
        int code;
        std::string text;
    } cases[] = {
        {0, false, meter::LinkNoAnswer, unplugged},
        {'W', false, meter::LinkNoAnswer,
         cleared + "The memory could not be erased.\n" + unplugged},
        {'e', true, meter::LinkNoAnswer,
         cleared + erased + "The meter could not be put back into level mode.\n" + unplugged},
    };
    for (const auto &c : cases) {
        sim.SetPresent(c.unplugAfter != 0);
        state.gMeterLeqMode = c.leqMode;
        ui.messages.clear();
        sim.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &) {
            if (command == c.unplugAfter)
                sim.FailNext(usb::UsbOp::Write, 1, usb::SimFault::Unplug);
        });
        EXPECT_EQ(Erase(), c.code) << c.unplugAfter;
        EXPECT_EQ(ui.messages, Texts{c.text}) << c.unplugAfter;
    }

    // A count clear never repeated, then a good erase.
    sim.SetPresent(true);
    state.gMeterLeqMode = false;
    ui.messages.clear();
    sim.ClearLog();
    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'W')
            r[5] ^= 0xFF;
    });
    EXPECT_EQ(Erase(), meter::LinkNotEchoed);
    EXPECT_EQ(Written('e'), 1);
    EXPECT_EQ(ui.messages,
              Texts{"The count of LEQ records could not be cleared.\n" + erased + "data error"});
    ExpectLinkGivenBack();
}

// The fault matrix's lost replies: the meter took a step's packet and was
// unplugged before it answered. That step may have been carried out, and
// the message says so and what to load again; a step whose packet never
// left keeps its failure (never sent at all: the test above).
TEST_F(EraseTest, AStepWhoseReplyWasLostMayHaveBeenCarriedOut)
{
    const std::string maybeCleared =
        "The count of LEQ records may have been cleared: the meter took the command, but its "
        "reply was lost. Load the LEQ data again (Data Logger > Load LEQ data) to see whether "
        "any record is left.\n";
    const std::string maybeErased =
        "The memory may have been erased: the meter took the command, but its reply was lost. "
        "Load the memory again (Data Logger > Load SPL Data) to see whether it is empty; if it "
        "is, power the meter off and on again.\n";
    const std::string unplugged = "There was error,please try again!   error code=1001";
    const struct {
        uint8_t lostReply;
        bool leqMode;
        std::string text;
    } cases[] = {
        {'W', false, maybeCleared + "The memory could not be erased.\n" + unplugged},
        {'e', false, "The count of LEQ records is cleared.\n" + maybeErased + unplugged},
        {'e', true,
         "The count of LEQ records is cleared.\n" + maybeErased +
             "The meter could not be put back into level mode.\n" + unplugged},
    };
    for (const auto &c : cases) {
        EraseTest::SetUpMemory();
        state.gMeterLeqMode = c.leqMode;
        ui.messages.clear();
        UnplugBeforeReplyTo(c.lostReply);
        EXPECT_EQ(Erase(), meter::LinkNoAnswer) << c.lostReply;
        EXPECT_EQ(ui.messages, Texts{c.text}) << c.lostReply;
        // What the message cannot know: the step was carried out.
        EXPECT_EQ(sim.Eeprom(0x1E), 0) << c.lostReply;
        EXPECT_EQ(sim.LoggerMemory()[10], c.lostReply == 'e' ? 0 : 1) << c.lostReply;
        ExpectLinkGivenBack();
    }

    // A reply lost once and the step asked again: it is done.
    sim.SetPresent(true);
    ui.messages.clear();
    state.gMeterLeqMode = false;
    sim.SetReplyFilter([this](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command == 'e' && Written('e') == 1)
            sim.FailNext(usb::UsbOp::Read);
    });
    sim.ClearLog();
    EXPECT_EQ(Erase(), 0);
    EXPECT_EQ(Written('e'), 2);
    EXPECT_EQ(ui.messages,
              Texts{"erase memory successfully! Please power off and power on the meter again."});
}

TEST_F(EraseTest, NoMeterRecordingOrNoLeaveTheMeterUntouched)
{
    EXPECT_EQ(Erase(false), meter::EraseRefused);
    state.gMeterRecording = true;
    EXPECT_EQ(Erase(), meter::EraseRefused);
    state.gConnected = false;
    EXPECT_EQ(Erase(), meter::EraseRefused);
    EXPECT_EQ(ui.questions, Texts{"Are you sure to erase memory ?"});
    EXPECT_EQ(ui.messages, (Texts{"<IDS_109>", "<IDS_106>"}));
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(timer.switches, 0);
}
