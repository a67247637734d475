// The set-up window's commands against the simulated meter: the clock block,
// the information texts, the interval and EEPROM packets with the bytes they
// carry over, and the input they refuse before any traffic.
#include "meter/setup_commands.h"

#include "meter/memory_erase.h"
#include "tests/meter/command_fixture.h"

#include <map>

using namespace metertest;
using F = meter::TSetupField;

namespace {

struct FakeFields : meter::TSetupFields {
    std::map<F, std::string> texts;
    std::string FieldText(F f) override { return texts[f]; }
    void SetFieldText(F f, const std::string &t) override { texts[f] = t; }
};

class SetupTest : public CommandTest {
protected:
    // Sets the fields, then runs the command on a fresh call log.
    void Run(void (meter::TSetupCommands::*command)(), std::map<F, std::string> input = {})
    {
        for (auto &[field, text] : input)
            fields.texts[field] = text;
        sim.ClearLog();
        ui.messages.clear();
        (commands.*command)();
    }

    meter::TSetupBuffers buffers;
    FakeFields fields;
    meter::TSetupCommands commands{link, ui, fields, buffers};
};

} // namespace

TEST_F(SetupTest, ClockPacketKeepsItsCarriedBytesAndTheBlockHoldsOnlyTheClock)
{
    buffers.Packet = {0x02, 'r', 0x00, 0x01, 0x44, 0x55, 0x03};
    buffers.Reply.fill(0xEE); // what the last reply left
    Run(&meter::TSetupCommands::SetMeterClock);
    EXPECT_EQ(CommandPackets(), (std::vector<Bytes>{{0x02, 0x74, 0x63, 0x00, 0x44, 0x55, 0x03}}));
    Bytes expected = {0x09, 0x05, 0x14, 0x08, 0x12, 0x00, 0x26, 0x00};
    expected.resize(32, 0x00);
    EXPECT_EQ(sim.Log().back().bytes, expected);
    EXPECT_EQ(ui.messages, Texts{"Meter time updated successfully \n"});
    EXPECT_EQ(rtl::DateToStr(sim.MeterTime()), "12/8/2026");

    sim.FailNext(usb::UsbOp::WriteBlock);
    Run(&meter::TSetupCommands::SetMeterClock);
    EXPECT_EQ(buffers.Result, meter::SetupClockBlockFailed);
    EXPECT_EQ(ui.messages, Texts{"Meter time updated fail"});
    ExpectLinkGivenBack();
}

// The texts of the information reply are checked on the golden information replies (tests/golden).
TEST_F(SetupTest, InformationAndTheSerialNumber)
{
    sim.SetSerialNumber("SN-42");
    sim.FailNext(usb::UsbOp::ReadSerial);
    Run(&meter::TSetupCommands::ReadInformation);
    EXPECT_EQ(CommandPackets(), std::vector<Bytes>{Packet('Y')});
    EXPECT_EQ(fields.texts[F::txtVer], "1.05");
    EXPECT_EQ(fields.texts[F::txtSN], "");
    EXPECT_EQ(ui.messages, Texts{"can not read serail number"});

    Run(&meter::TSetupCommands::ReadInformation);
    EXPECT_EQ(fields.texts[F::txtSN], "SN-42");
    EXPECT_EQ(ui.messages, Texts{"read data successfully"});
    ExpectLinkGivenBack();
}

TEST_F(SetupTest, RecordingIntervalAndTheByteItLeavesForTheNextRead)
{
    Run(&meter::TSetupCommands::SetRecordingInterval, {{F::edtInt1, "01"}, {F::edtInt2, "00"}});
    EXPECT_EQ(CommandPackets(),
              (std::vector<Bytes>{Packet('W', 0, 0, 0x0E, 0x00), Packet('W', 0, 0, 0x0F, 0x3C)}));
    EXPECT_EQ(ui.messages, Texts{"Recording Interval Setup Successfully, turn off and turn on the "
                                 "meter to effective "});

    for (auto [mm, ss] : {std::pair{"01", "01"}, {"05", "00"}, {"", "02"}, {"0x", "02"}}) {
        Run(&meter::TSetupCommands::SetRecordingInterval, {{F::edtInt1, mm}, {F::edtInt2, ss}});
        EXPECT_TRUE(sim.Log().empty()) << mm << ":" << ss;
        EXPECT_EQ(ui.messages, Texts{"Invalid Input"}) << mm << ":" << ss;
    }
    Run(&meter::TSetupCommands::SetRecordingInterval, {{F::edtInt1, "00"}, {F::edtInt2, "00"}});
    EXPECT_EQ(CommandPackets().back(), Packet('W', 0, 0, 0x0F, 0x00));

    Run(&meter::TSetupCommands::SetRecordingInterval, {{F::edtInt2, "45"}});
    sim.SetEeprom(30, 9);
    Run(&meter::TSetupCommands::ReadEeprom, {{F::txtRAddress, "30"}});
    EXPECT_EQ(CommandPackets(), std::vector<Bytes>{Packet('r', 0, 0, 0x1E, 0x2D)});
    EXPECT_EQ(fields.texts[F::txtRData], "9");
    ExpectLinkGivenBack();
}

TEST_F(SetupTest, EepromWriteNeedsTheAccessCodeAndInputInRange)
{
    auto write = [&](const char *password, const char *address, const char *data) {
        Run(&meter::TSetupCommands::WriteEeprom,
            {{F::edtPassword, password}, {F::txtWAddress, address}, {F::txtWData, data}});
    };
    write("429", "300", "7");
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(ui.messages, Texts{"Password error !!"});

    write("0429", "300", "7");
    EXPECT_EQ(CommandPackets(), (std::vector<Bytes>{{0x02, 0x57, 0x00, 0x01, 0x2C, 0x07, 0x03}}));
    EXPECT_EQ(ui.messages, Texts{"Write EEProm successfully"});

    // 16,777,246 would wrap to 0x1E, the LEQ record count.
    const int switches = timer.switches;
    for (auto [address, data] :
         {std::pair{"16777246", "5"}, {"-1", "5"}, {"300", "256"}, {"abc", "5"}, {"300", "7.5"}}) {
        write("0429", address, data);
        EXPECT_TRUE(sim.Log().empty()) << address << " " << data;
        EXPECT_EQ(ui.messages, Texts{"Invalid Input"}) << address << " " << data;
    }
    EXPECT_EQ(timer.switches, switches);

    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'W')
            r[6] = 0; // not the packet's end marker
    });
    write("0429", "300", "7");
    EXPECT_EQ(Written('W'), 15);
    EXPECT_EQ(ui.messages, Texts{"data error"});

    sim.SetPresent(false); // no answer at all: the code is shown, not nothing
    write("0429", "300", "7");
    EXPECT_EQ(ui.messages, Texts{"There was error,please try again!   error code=1001"});
}

TEST_F(SetupTest, EraseAsksFirstAndReportsItsOwnFailure)
{
    Run(&meter::TSetupCommands::EraseMemory);
    EXPECT_EQ(ui.questions, Texts{"Are you sure to erase memory ?"});
    EXPECT_TRUE(sim.Log().empty());

    ui.answers = {true};
    Run(&meter::TSetupCommands::EraseMemory);
    EXPECT_EQ(CommandPackets(),
              (std::vector<Bytes>{{0x02, 'e', 'r', 'a', 's', 'e', 0x03}, Packet('W', 0, 0, 0x1E)}));
    EXPECT_EQ(ui.messages, Texts{"erase memory successfully"});

    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'e')
            r[2] = 0;
    });
    ui.answers = {true};
    Run(&meter::TSetupCommands::EraseMemory);
    EXPECT_EQ(Written('W'), 1) << "the count clear after it succeeds";
    EXPECT_EQ(ui.messages, Texts{"data error"});
    ExpectLinkGivenBack();
}

// The fault matrix's set-up writes whose reply was lost: the meter took the
// packet and was unplugged before it answered. The value may have been
// written, and the message says what to read again; a write never sent keeps
// its failure.
TEST_F(SetupTest, AWriteWhoseReplyWasLostMayHaveBeenCarriedOut)
{
    const std::string lost = ": the meter took the command, but its reply was lost. ";
    const std::string unplugged = "There was error,please try again!   error code=1001";
    const std::map<F, std::string> interval = {{F::edtInt1, "00"}, {F::edtInt2, "45"}};

    // The interval's own write: address 15 holds it, unknown to the program.
    sim.SetReplyFilter([this](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command == 'W' && sim.Eeprom(0x0F) == 45)
            sim.FailNext(usb::UsbOp::Read, 1, usb::SimFault::Unplug);
    });
    Run(&meter::TSetupCommands::SetRecordingInterval, interval);
    EXPECT_EQ(sim.Eeprom(0x0F), 45);
    EXPECT_EQ(buffers.Result, meter::LinkNoAnswer);
    EXPECT_EQ(ui.messages, Texts{"The recording interval may have been set" + lost +
                                 "Read the meter's set-up again (Read) to see the interval it "
                                 "has.\n" +
                                 unplugged});
    ExpectLinkGivenBack();

    // The reply to the first write lost: the interval was never sent.
    sim.SetEeprom(0x0F, 2);
    UnplugBeforeReplyTo('W');
    Run(&meter::TSetupCommands::SetRecordingInterval, interval);
    EXPECT_EQ(Written('W'), 1);
    EXPECT_EQ(sim.Eeprom(0x0F), 2);
    EXPECT_EQ(ui.messages, Texts{unplugged});

    UnplugBeforeReplyTo('W');
    Run(&meter::TSetupCommands::WriteEeprom,
        {{F::edtPassword, "0429"}, {F::txtWAddress, "300"}, {F::txtWData, "7"}});
    EXPECT_EQ(sim.Eeprom(300), 7);
    EXPECT_EQ(ui.messages,
              Texts{"The EEPROM byte may have been written" + lost +
                    "Read it again (Read EEProm) to see what the meter holds.\n" + unplugged});

    // The erase's reply lost: the count clear after it is never sent.
    UnplugBeforeReplyTo('e');
    ui.answers = {true};
    Run(&meter::TSetupCommands::EraseMemory);
    EXPECT_EQ(Written('W'), 0);
    EXPECT_EQ(ui.messages,
              Texts{"The count of LEQ records could not be cleared.\nThe memory may have been "
                    "erased" +
                    lost +
                    "Load the memory again (Data Logger > Load SPL Data) to see whether it is "
                    "empty; if it is, power the meter off and on again.\n" +
                    unplugged});
    ExpectLinkGivenBack();
}
