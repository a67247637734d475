#include "meter/main_timer.h"

#include "platform/rtl/datetime.h"
#include "platform/usb/sim/simulated_meter.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using meter::TMainTimerLogic;
using meter::TMeterCommand;
using meter::TPanelLabel;
using usb::SimFault;
using usb::UsbOp;

namespace {

// Records what the tick shows; answers the main window's questions.
struct RecordingSink : meter::TMainTimerSink {
    bool panel = true;
    bool realTimeRunning = false;
    bool throwOnDraw = false;
    std::map<int, std::string> status;
    std::map<TMeterCommand, bool> enabled, visible;
    std::map<TPanelLabel, bool> labels;
    std::vector<meter::TStatusDisplay> drawn;
    std::vector<bool> maxMinTimer;
    int calls = 0;
    int blanked = 0;
    meter::TMeterLink *link = nullptr;
    bool busySeen = false;

    void SetStatusText(int p, const std::string &text) override
    {
        ++calls;
        status[p] = text;
    }
    std::string StringById(const std::string &id) override
    {
        return id == "IDS_115" ? "No Connection" : "";
    }
    void SetCommandVisible(TMeterCommand c, bool v) override
    {
        ++calls;
        visible[c] = v;
    }
    void SetCommandEnabled(TMeterCommand c, bool e) override
    {
        ++calls;
        enabled[c] = e;
    }
    bool RealTimeRunning() override { return realTimeRunning; }
    void StopRealTimeSampling() override { realTimeRunning = false; }
    bool PanelExists() override { return panel; }
    void SetPanelLabelVisible(TPanelLabel l, bool v) override
    {
        ++calls;
        labels[l] = v;
    }
    void DrawReading(const meter::TStatusDisplay &d) override
    {
        ++calls;
        busySeen = link != nullptr && link->gUsbBusy;
        if (throwOnDraw)
            throw std::runtime_error("drawing failed");
        drawn.push_back(d);
    }
    void DrawBlankDigits() override { ++blanked; }
    void SetMaxMinTimerEnabled(bool on) override { maxMinTimer.push_back(on); }
};

class MainTimerTest : public ::testing::Test {
protected:
    rtl::FakeClock clock;
    rtl::ScopedClock scoped{clock};
    usb::SimulatedMeter sim;
    meter::TLinkGuard guard;
    meter::TMeterLink link{sim, nullptr, guard};
    RecordingSink sink;
    TMainTimerLogic logic{link, sink};

    MainTimerTest() { sink.link = &link; }

    void Connect()
    {
        logic.MainTimerTimer();
        ASSERT_TRUE(logic.gConnected);
    }
};

} // namespace

TEST_F(MainTimerTest, IdentifyWith4820ConnectsAndSetsUpTheCommands)
{
    sim.SetModel("4821"); // another model: disconnected and silent
    logic.MainTimerTimer();
    sim.SetModel("4820");
    sim.FailNext(UsbOp::Read); // unanswered: the same
    logic.MainTimerTimer();
    EXPECT_FALSE(logic.gConnected);
    EXPECT_EQ(sink.calls, 0);

    logic.MainTimerTimer();
    EXPECT_TRUE(logic.gConnected);
    EXPECT_EQ(sim.WrittenPackets().back()[1], 'K');
    EXPECT_EQ(sink.status[0], "");
    EXPECT_TRUE(sink.labels[TPanelLabel::lblTime]);
    EXPECT_TRUE(sink.visible[TMeterCommand::btnDataLogger] &&
                sink.enabled[TMeterCommand::btnDataLogger]);
    // Run, Stop and Clear as the main window shows them: tests/app (main_realtime).
    EXPECT_FALSE(link.gUsbBusy);

    // The next tick polls.
    sim.ClearLog();
    logic.MainTimerTimer();
    EXPECT_EQ(sim.WrittenPackets().at(0)[1], 'A');
}

TEST_F(MainTimerTest, ConnectWhileSamplingAndWithoutPanel)
{
    sink.realTimeRunning = true;
    sink.panel = false;
    Connect();
    EXPECT_FALSE(sink.enabled[TMeterCommand::btnRun] || sink.enabled[TMeterCommand::Run1]);
    EXPECT_TRUE(sink.enabled[TMeterCommand::btnStop] && sink.enabled[TMeterCommand::Stop1]);
    EXPECT_FALSE(sink.enabled[TMeterCommand::tbntClr]);
    EXPECT_TRUE(sink.labels.empty()) << "no panel calls without a panel";

    sim.SetLevel(945);
    logic.MainTimerTimer();
    EXPECT_FLOAT_EQ(logic.gCurrentLevel, 94.5f) << "the reading is kept without a panel";
    EXPECT_TRUE(sink.drawn.empty());
}

TEST_F(MainTimerTest, FiveFailedPollsInARowDisconnect)
{
    Connect();
    sim.FailNext(UsbOp::Read, 4);
    for (int i = 0; i < 4; ++i)
        logic.MainTimerTimer();
    EXPECT_EQ(logic.gPollFailures, 4);
    logic.MainTimerTimer(); // a good one
    EXPECT_EQ(logic.gPollFailures, 0);
    EXPECT_TRUE(logic.gConnected);

    sim.FailNext(UsbOp::Read, 5);
    for (int i = 0; i < 4; ++i)
        logic.MainTimerTimer();
    EXPECT_TRUE(logic.gConnected);
    logic.MainTimerTimer(); // the texts and the panel it shows then: tests/app (main_form)
    EXPECT_FALSE(logic.gConnected);
    EXPECT_EQ(logic.gPollFailures, 0);
    for (TMeterCommand c :
         {TMeterCommand::btnRun, TMeterCommand::Run1, TMeterCommand::btnStop, TMeterCommand::Stop1,
          TMeterCommand::btnDataLogger, TMeterCommand::DataLogger1})
        EXPECT_FALSE(sink.enabled[c]);

    sim.ClearLog();
    logic.MainTimerTimer();
    EXPECT_EQ(sim.WrittenPackets().at(0)[1], 'K') << "the next tick identifies again";
    EXPECT_TRUE(logic.gConnected);
}

TEST_F(MainTimerTest, WrongEndMarkerResetsFailuresAndChangesNoReading)
{
    Connect();
    sim.SetLevel(812);
    logic.MainTimerTimer();
    ASSERT_FLOAT_EQ(logic.gCurrentLevel, 81.2f);
    const size_t drawn = sink.drawn.size();

    sim.FailNext(UsbOp::Read, 2);
    logic.MainTimerTimer();
    logic.MainTimerTimer();
    ASSERT_EQ(logic.gPollFailures, 2);
    sim.SetLevel(1000);
    sim.SetRecording(true);
    sim.FailNext(UsbOp::Read, 1, SimFault::WrongEndMarker);
    logic.MainTimerTimer();
    EXPECT_EQ(logic.gPollFailures, 0);
    EXPECT_FLOAT_EQ(logic.gCurrentLevel, 81.2f);
    EXPECT_FALSE(logic.gMeterRecording);
    EXPECT_EQ(sink.drawn.size(), drawn);

    logic.MainTimerTimer();
    EXPECT_FLOAT_EQ(logic.gCurrentLevel, 100.0f);
    EXPECT_TRUE(logic.gMeterRecording);
}

TEST_F(MainTimerTest, HeldGuardKeepsTheTickOffTheLink)
{
    Connect();
    sim.ClearLog();
    ASSERT_TRUE(guard.TryAcquire("LEQ run"));
    logic.MainTimerTimer();
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_FALSE(link.gUsbBusy);
    guard.Release();
    logic.MainTimerTimer();
    EXPECT_FALSE(sim.Log().empty());
}

TEST_F(MainTimerTest, BusyFlagCoversTheTickAndADrawingErrorBlanksTheDigitsOnly)
{
    Connect();
    logic.MainTimerTimer();
    EXPECT_TRUE(sink.busySeen);
    EXPECT_FALSE(link.gUsbBusy);
    sink.throwOnDraw = true;
    sim.SetLevel(733);
    // MAX shown: the MAX/MIN step after the drawing must still run.
    sim.SetReplyFilter([](uint8_t cmd, usb::SimulatedMeter::Reply &r) {
        if (cmd == 'A') {
            r[1] |= 0x04;
            r[4] = 0x11;
        }
    });
    EXPECT_NO_THROW(logic.MainTimerTimer()); // absorbed inside the decoding
    EXPECT_FALSE(link.gUsbBusy) << "a busy flag left set would stall every later command";
    EXPECT_FLOAT_EQ(logic.gCurrentLevel, 73.3f) << "the reading is kept when drawing fails";
    EXPECT_EQ(sink.blanked, 1);
    EXPECT_TRUE(sink.labels[TPanelLabel::lblMAX]);
    EXPECT_FALSE(sink.labels[TPanelLabel::lblMIN]);
}

TEST_F(MainTimerTest, ClockByte5AIsWrittenBackAsOnes)
{
    Connect();
    sim.SetReplyFilter([](uint8_t cmd, usb::SimulatedMeter::Reply &r) {
        if (cmd == 'A') {
            r[15] = 0x07; // a new second, so the clock is looked at
            r[16] = 0x5A;
        }
    });
    logic.MainTimerTimer();
    ASSERT_FALSE(sink.drawn.empty());
    EXPECT_TRUE(sink.drawn.back().clockReset);
    EXPECT_EQ(logic.gClockLastSecond, 2);
    EXPECT_EQ(link.gReply[15], 1);
    EXPECT_EQ(link.gReply[16], 1);
    EXPECT_EQ(link.gReply[17], 1);
}

TEST_F(MainTimerTest, MaxMinTimerFollowsTheMeterState)
{
    Connect();
    sim.SetLevel(700);
    link.SendKey('M'); // MAX
    logic.MainTimerTimer();
    EXPECT_TRUE(sink.labels[TPanelLabel::lblMAX]);
    EXPECT_FALSE(sink.labels[TPanelLabel::lblMIN]);
    EXPECT_FALSE(logic.MaxMinTimerEnabled());

    link.SendKey('M'); // MIN
    link.SendKey('M'); // alternating
    sink.maxMinTimer.clear();
    logic.MainTimerTimer();
    logic.MainTimerTimer();
    EXPECT_EQ(sink.maxMinTimer, std::vector<bool>{true}) << "enabled once, not restarted";
    // The blinking itself: tests/app (main_form).

    // Panel closed while blinking: the timer keeps running harmlessly.
    sink.panel = false;
    link.SendKey('N');
    logic.MainTimerTimer();
    EXPECT_TRUE(logic.MaxMinTimerEnabled());
    sink.panel = true;
    logic.MainTimerTimer();
    EXPECT_FALSE(logic.MaxMinTimerEnabled());
    EXPECT_FALSE(sink.labels[TPanelLabel::lblMAX] || sink.labels[TPanelLabel::lblMIN]);
}
