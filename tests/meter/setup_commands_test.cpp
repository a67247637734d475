// The set-up window's commands against the simulated meter: the clock block,
// the information texts, the interval and EEPROM packets with the bytes they
// carry over, and the input they refuse before any traffic.
#include "meter/setup_commands.h"

#include "meter/memory_erase.h"

#include "platform/usb/sim/logger_image_builder.h"
#include "tests/meter/command_fixture.h"

#include <map>

using namespace metertest;
using meter::TSetupField;
using usb::UsbOp;

namespace {

struct FakeFields : meter::TSetupFields {
    std::map<TSetupField, std::string> texts;
    std::string FieldText(TSetupField f) override { return texts[f]; }
    void SetFieldText(TSetupField f, const std::string &t) override { texts[f] = t; }
};

class SetupTest : public CommandTest {
protected:
    // An information reply with every field set.
    static meter::TReplyBlock InformationReply()
    {
        meter::TReplyBlock r{};
        r[9] = 0x00, r[10] = 0x03;                // 3 data sets
        r[11] = 0x00, r[12] = 0x10, r[13] = 0x00; // last used address 0x001000
        r[15] = 45;                               // interval
        r[18] = 0xFB;                             // -5: -0.5 dB
        r[19] = 0x46, r[20] = 0x00;               // 70 dB word 0x4600
        r[21] = 0x3C, r[22] = 0x80;               // 60 dB word 0x3C80
        r[23] = 0x28, r[24] = 0x01;               // 40 dB word 0x2801
        r[25] = 0x07, r[26] = 0x05, r[27] = 0x31; // year 07, month 05, day 31
        r[28] = 0x13, r[29] = 0x45, r[30] = 0x00; // 13:45:00
        r[31] = 105;                              // firmware 1.05
        return r;
    }

    meter::TSetupBuffers buffers;
    FakeFields fields;
    meter::TSetupCommands commands{link, ui, fields, buffers};
};

} // namespace

TEST_F(SetupTest, ClockPacketKeepsItsCarriedBytesAndTheBlockHoldsOnlyTheClock)
{
    buffers.Packet = {0x02, 'r', 0x00, 0x01, 0x44, 0x55, 0x03};
    buffers.Reply.fill(0xEE); // a stale reply
    commands.SetMeterClock();

    const std::vector<Bytes> packets = CommandPackets();
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0], (Bytes{0x02, 0x74, 0x63, 0x00, 0x44, 0x55, 0x03}));
    Bytes block;
    for (const usb::SimCall &c : sim.Log())
        if (c.op == UsbOp::WriteBlock)
            block = c.bytes;
    Bytes expected = {0x09, 0x05, 0x14, 0x08, 0x12, 0x00, 0x26, 0x00};
    expected.resize(32, 0x00);
    EXPECT_EQ(block, expected);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Meter time updated successfully \n"});
    EXPECT_EQ(buffers.Result, 0);
    ExpectLinkGivenBack();
    int y, m, d;
    rtl::DecodeDate(sim.MeterTime(), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20261208);

    sim.FailNext(UsbOp::WriteBlock);
    ui.messages.clear();
    commands.SetMeterClock();
    EXPECT_EQ(buffers.Result, meter::SetupClockBlockFailed);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Meter time updated fail"});
}

TEST_F(SetupTest, InformationTexts)
{
    const meter::TLoggerInformation info = meter::FormatLoggerInformation(InformationReply());
    EXPECT_EQ(info.DataSets, "3");
    EXPECT_EQ(info.MemoryAvailable, "62080");
    EXPECT_EQ(info.Interval, "45");
    EXPECT_EQ(info.Cal94, "-0.5");
    EXPECT_EQ(info.Cal70, "70.00  (17920)");
    EXPECT_EQ(info.Cal60, "60.50  (15488)");
    EXPECT_EQ(info.Cal40, "40.00  (10241)");
    EXPECT_EQ(info.Cal30, "7.02  (1797)") << "the clock's year and month overlay the 30 dB word";
    EXPECT_EQ(info.MeterTime, "05/31/2007   13:45:00");
    EXPECT_EQ(info.Version, "1.05");

    // A last used address beyond the sample area gives a negative count, cut toward zero.
    meter::TReplyBlock full{};
    full[11] = 0x01, full[12] = 0xF5, full[13] = 0x03;
    EXPECT_EQ(meter::FormatLoggerInformation(full).MemoryAvailable, "-1");
}

TEST_F(SetupTest, ReadInformationFillsTheFieldsFromTheMeterAndThenTheSerialNumber)
{
    usb::TLoggerImageBuilder logger;
    logger.AddSimpleSet(30);
    logger.AddSimpleSet(30);
    sim.SetLoggerImage(logger.Build());
    sim.SetSerialNumber("SN-42");
    fields.texts[TSetupField::txt60dB] = "keep";
    fields.texts[TSetupField::txt94dB] = "old";

    commands.ReadInformation();
    EXPECT_EQ(CommandPackets(), std::vector<Bytes>{Packet('Y')});
    EXPECT_EQ(fields.texts[TSetupField::txtDataSets], "2");
    EXPECT_EQ(fields.texts[TSetupField::txtInt], "2");
    EXPECT_EQ(fields.texts[TSetupField::txtSN], "SN-42");
    EXPECT_EQ(fields.texts[TSetupField::txtVer], "1.05");
    EXPECT_EQ(ui.messages, std::vector<std::string>{"read data successfully"});

    // The reply fails: only the first eight fields are emptied.
    sim.SetPresent(false);
    ui.messages.clear();
    commands.ReadInformation();
    EXPECT_EQ(fields.texts[TSetupField::txt94dB], "");
    EXPECT_EQ(fields.texts[TSetupField::txtSN], "");
    EXPECT_NE(fields.texts[TSetupField::txt60dB], "");
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"There was error,please try again!   error code=1001"});

    sim.SetPresent(true);
    sim.FailNext(UsbOp::ReadSerial);
    ui.messages.clear();
    commands.ReadInformation();
    EXPECT_EQ(fields.texts[TSetupField::txtDataSets], "2");
    EXPECT_EQ(fields.texts[TSetupField::txtSN], "");
    EXPECT_EQ(ui.messages, std::vector<std::string>{"can not read serail number"});
    ExpectLinkGivenBack();
}

TEST_F(SetupTest, RecordingIntervalAndTheByteItLeavesForTheNextRead)
{
    auto interval = [&](const char *mm, const char *ss) {
        fields.texts[TSetupField::edtInt1] = mm;
        fields.texts[TSetupField::edtInt2] = ss;
        sim.ClearLog();
        ui.messages.clear();
        commands.SetRecordingInterval();
    };
    interval("01", "00");
    EXPECT_EQ(CommandPackets(),
              (std::vector<Bytes>{Packet('W', 0, 0, 0x0E, 0x00), Packet('W', 0, 0, 0x0F, 0x3C)}));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Recording Interval Setup Successfully, turn off and turn "
                                       "on the meter to effective "});
    EXPECT_EQ(sim.Eeprom(0x0F), 60);

    for (auto [mm, ss] : {std::pair{"01", "01"}, {"05", "00"}, {"", "02"}, {"0x", "02"}}) {
        const int switches = timer.switches;
        interval(mm, ss);
        EXPECT_TRUE(sim.Log().empty()) << mm << ":" << ss;
        EXPECT_EQ(timer.switches, switches);
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid Input"}) << mm << ":" << ss;
        EXPECT_EQ(buffers.Result, meter::SetupInvalidInput);
    }

    interval("00", "00");
    EXPECT_EQ(CommandPackets().back(), Packet('W', 0, 0, 0x0F, 0x00));

    interval("00", "45");
    fields.texts[TSetupField::txtRAddress] = "30";
    sim.SetEeprom(30, 9);
    sim.ClearLog();
    commands.ReadEeprom();
    EXPECT_EQ(CommandPackets(), std::vector<Bytes>{Packet('r', 0, 0, 0x1E, 0x2D)});
    EXPECT_EQ(fields.texts[TSetupField::txtRData], "9");
    EXPECT_EQ(ui.messages.back(), "Read EEProm successfully");
    ExpectLinkGivenBack();
}

TEST_F(SetupTest, EepromWriteNeedsTheAccessCodeAndInputInRange)
{
    auto write = [&](const char *password, const char *address, const char *data) {
        fields.texts[TSetupField::edtPassword] = password;
        fields.texts[TSetupField::txtWAddress] = address;
        fields.texts[TSetupField::txtWData] = data;
        sim.ClearLog();
        ui.messages.clear();
        commands.WriteEeprom();
    };
    write("429", "300", "7");
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Password error !!"});

    write("0429", "300", "7");
    EXPECT_EQ(CommandPackets(), (std::vector<Bytes>{{0x02, 0x57, 0x00, 0x01, 0x2C, 0x07, 0x03}}));
    EXPECT_EQ(sim.Eeprom(300), 7);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Write EEProm successfully"});
    write("0429", "16777215", "255");
    EXPECT_EQ(sim.Eeprom(0xFFFFFF), 255);

    // 16,777,246 would wrap to 0x1E, the LEQ record count.
    const int switches = timer.switches;
    for (auto [address, data] : {std::pair{"16777246", "5"},
                                 {"16777216", "5"},
                                 {"-1", "5"},
                                 {"300", "256"},
                                 {"300", "-1"},
                                 {"abc", "5"},
                                 {"300", "7.5"},
                                 {"", "5"}}) {
        write("0429", address, data);
        EXPECT_TRUE(sim.Log().empty()) << address << " " << data;
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid Input"}) << address << " " << data;
    }
    EXPECT_EQ(timer.switches, switches);
    EXPECT_EQ(sim.Eeprom(0x1E), 0);

    fields.texts[TSetupField::txtRAddress] = "99999999";
    fields.texts[TSetupField::txtRData] = "old";
    commands.ReadEeprom();
    EXPECT_EQ(fields.texts[TSetupField::txtRData], "");
    EXPECT_EQ(ui.messages.back(), "Invalid Input");

    // A reply that does not repeat the written bytes.
    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'W')
            r[6] = 0;
    });
    write("0429", "300", "7");
    EXPECT_EQ(Written('W'), 15);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"data error"});
    ExpectLinkGivenBack();
}

TEST_F(SetupTest, EraseAsksFirstAndReportsItsOwnFailure)
{
    commands.EraseMemory();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Are you sure to erase memory ?"});
    EXPECT_TRUE(sim.Log().empty());

    ui.answers.push_back(true);
    commands.EraseMemory();
    EXPECT_EQ(CommandPackets(), (std::vector<Bytes>{{0x02, 'e', 'r', 'a', 's', 'e', 0x03},
                                                    Packet('W', 0, 0, 0x1E, 0)}));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"erase memory successfully"});
    EXPECT_EQ(buffers.Packet, meter::ClearLeqCountPacket);

    // The erase fails, the count clear after it succeeds: the erase's failure shows.
    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'e')
            r[2] = 0;
    });
    sim.ClearLog();
    ui.messages.clear();
    ui.answers.push_back(true);
    commands.EraseMemory();
    EXPECT_EQ(Written('e'), 15);
    EXPECT_EQ(Written('W'), 1);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"data error"});
    ExpectLinkGivenBack();
}
