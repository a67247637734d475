// Real-time runs against the simulated meter with a fake clock, over a real
// chart control: the start, the cadence, the glitch filter, the automatic
// stop, Stop with its mean and slider, the save question and the faults a
// run must survive (bad counts, no sample at all, the meter going away).
#include "meter/real_time.h"

#include "chart/control/gxsgraph.h"
#include "meter/windows/real_time_chart.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"
#include "platform/usb/sim/simulated_meter.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using meter::TAnswer;
using meter::TMeterCommand;
using meter::TRealTimeText;
using usb::UsbOp;

namespace {

// The main window as the status poll and the sampling see it, with a real
// chart in place of the graph window's.
class TTestMain : public meter::TMainTimerSink, public meter::TRealTimeSink {
public:
    meter::TRealTimeLogic *run = nullptr;
    GXSGraph chart;
    meter::TRealTimeGraphChart chartAdapter{chart};
    bool graph = true;
    int created = 0;
    std::map<TMeterCommand, bool> enabled;
    bool timer = false;
    std::deque<TAnswer> answers;
    std::vector<std::string> questions, messages;
    bool saveResult = true;
    int saves = 0;
    std::function<bool(meter::TRealTimeSetup &)> dialog;
    meter::TRealTimeSetup shown;
    std::string rateBox = "1.0";
    std::vector<double> selected;
    std::map<TRealTimeText, std::string> texts;
    int cleared = 0;
    std::tuple<int, int, int, int> slider{-1, -1, -1, -1};

    // ---- TMainTimerSink
    void SetStatusText(int, const std::string &) override {}
    std::string StringById(const std::string &id) override
    {
        static const std::map<std::string, std::string> texts = {
            {"IDS_32", "There are datas in Real_Time graph ,it have to reset the graph.\n"},
            {"IDS_33", "Do you want to save the Real-Time graph ?"},
            {"IDS_34", " is not valid.\n"}};
        auto it = texts.find(id);
        return it == texts.end() ? "" : it->second;
    }
    void SetCommandVisible(TMeterCommand, bool) override {}
    void SetCommandEnabled(TMeterCommand c, bool on) override { enabled[c] = on; }
    bool RealTimeRunning() override { return run->gRealTimeRunning; }
    void StopRealTimeSampling() override { run->btnStopClick(); }
    bool PanelExists() override { return false; }
    void SetPanelLabelVisible(meter::TPanelLabel, bool) override {}
    void DrawReading(const meter::TStatusDisplay &) override {}
    void DrawBlankDigits() override {}
    void SetMaxMinTimerEnabled(bool) override {}

    // ---- TRealTimeSink
    void SetRealTimeTimerEnabled(bool on) override { timer = on; }
    TAnswer Confirm(const std::string &text) override
    {
        questions.push_back(text);
        TAnswer a = answers.empty() ? TAnswer::No : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return a;
    }
    void ShowMessage(const std::string &text) override { messages.push_back(text); }
    bool RunSetupDialog(meter::TRealTimeSetup &setup) override
    {
        shown = setup;
        return dialog ? dialog(setup) : false;
    }
    bool RealTimeGraphExists() override { return graph; }
    void OpenRealTimeGraph() override
    {
        ++created;
        graph = true;
        chart.SetPoints(2000);
    }
    void RestoreRealTimeGraph() override {}
    void FocusRealTimeGraph() override {}
    bool SaveRealTimeGraph() override
    {
        ++saves;
        return saveResult;
    }
    meter::TRealTimeChart *RealTimeChart() override { return graph ? &chartAdapter : nullptr; }
    std::string SamplingRateText() override { return rateBox; }
    void SelectSamplingRate(double rate) override { selected.push_back(rate); }
    void SetStatisticText(TRealTimeText t, const std::string &v) override { texts[t] = v; }
    void ClearStatistics() override
    {
        ++cleared;
        texts.clear();
    }
    void SetSlider(int minimum, int maximum, int v1, int v2) override
    {
        slider = {minimum, maximum, v1, v2};
    }
};

class RealTimeTest : public ::testing::Test {
protected:
    // Half a second into a second: the start waits for the next one.
    rtl::FakeClock clock{rtl::EncodeDate(2024, 3, 5) + rtl::EncodeTime(12, 0, 0, 500)};
    rtl::ScopedClock scoped{clock};
    usb::SimulatedMeter sim;
    meter::TLinkGuard guard;
    meter::TMeterLink link{sim, nullptr, guard};
    TTestMain main;
    meter::TMainTimerLogic poll{link, main};
    meter::TRealTimeLogic run{poll, main};

    RealTimeTest()
    {
        main.run = &run;
        rtl::SetFormatSettings(rtl::CLikeFormatSettings());
        poll.MainTimerTimer(); // identify
        EXPECT_TRUE(poll.gConnected);
    }

    // The user confirms the dialog with this rate and count.
    void Answer(const std::string &rate, const std::string &count)
    {
        main.dialog = [rate, count](meter::TRealTimeSetup &s) {
            s.rateText = rate;
            s.countText = count;
            return true;
        };
    }
    // Reads the meter at level (0.1 dB), then clicks Run.
    void Start(const std::string &rate, const std::string &count, int level = 700)
    {
        Answer(rate, count);
        Read(level);
        run.btnRunClick();
    }
    void Read(int level)
    {
        sim.SetLevel(level);
        poll.MainTimerTimer();
    }
    // One second: the status poll reads level, then RealTime_Timer ticks.
    void Tick(int level = 700)
    {
        clock.Advance(1000);
        Read(level);
        if (main.timer)
            run.RealTime_TimerTimer();
    }
    float Y(int i) { return main.chart.GetYData(0, i); }
    double X(int i) { return main.chart.GetXDataII(0, i); }
};

} // namespace

TEST_F(RealTimeTest, TenPointsAtOneSecondFillTheChartAndStopByThemselves)
{
    Start("1.0", "10");
    ASSERT_TRUE(run.gRealTimeRunning);
    EXPECT_EQ(main.chart.GetPoints(), 10);
    EXPECT_EQ(run.gRealTimeCount, 1) << "the first sample is taken at the start";
    EXPECT_TRUE(main.timer); // Run, Stop and Clear as the main window shows them: tests/app
    EXPECT_TRUE(run.gRealTimeUnsaved);
    EXPECT_EQ(main.selected, std::vector<double>{1.0});

    // The start waited for the beginning of the next second.
    int h, m, s, ms;
    rtl::DecodeTime(X(0), h, m, s, ms);
    EXPECT_EQ(s, 1);
    EXPECT_LE(ms, 20);
    EXPECT_EQ(main.texts[TRealTimeText::txtStartTime], "3/5/2024 12:00:01 PM");
    // The time axis starts at the click and covers 100 s.
    EXPECT_NEAR((main.chart.GetManualMaxX() - main.chart.GetManualMinX()) * 86400, 100.0, 0.01);

    for (int i = 1; i < 9; ++i)
        Tick(700 + i);
    EXPECT_TRUE(run.gRealTimeRunning);
    Tick(709);
    EXPECT_FALSE(run.gRealTimeRunning) << "the 10th sample fills the chart";
    EXPECT_FALSE(main.timer);
    EXPECT_EQ(run.gRealTimeCount, 10);
    EXPECT_EQ(main.chart.GetPoints(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(Y(i), (700 + i) * 0.1F) << i;
        if (i > 0) {
            EXPECT_NEAR((X(i) - X(i - 1)) * 86400, 1.0, 1e-6) << i;
        }
    }
    EXPECT_EQ(main.texts[TRealTimeText::txtDataNo], "10");
    EXPECT_EQ(main.texts[TRealTimeText::txtMax], "70.9");
    EXPECT_EQ(main.texts[TRealTimeText::txtMin], "70.0");
    EXPECT_EQ(run.gRealTimeMinTime, X(0)) << "the sample taken at the start";

    // More ticks change nothing; a sample asked for anyway (a tick that was already queued)
    // stops instead of writing past the capacity.
    Tick();
    run.PlotReading();
    EXPECT_EQ(run.gRealTimeCount, 10);
    EXPECT_EQ(main.chart.GetPoints(), 10);
}

TEST_F(RealTimeTest, ARateTakesASampleEveryWholeNumberOfTicksAtOrAboveIt)
{
    Start("2.5", "100");
    EXPECT_EQ(run.gRealTimeRate, 2.5);
    EXPECT_EQ(main.selected, std::vector<double>{2.5});
    std::vector<int> counts;
    for (int i = 0; i < 9; ++i) {
        Tick();
        counts.push_back(run.gRealTimeCount);
    }
    EXPECT_EQ(counts, (std::vector<int>{1, 1, 2, 2, 2, 3, 3, 3, 4}));

    // 0.5 samples on every tick; 35 every 35 ticks.
    run.btnStopClick();
    Start("0.5", "100");
    Tick();
    Tick();
    EXPECT_EQ(run.gRealTimeCount, 3);
    // A sample past the right end of the time axis moves it on by 30 s.
    clock.Advance(120000);
    Tick();
    EXPECT_NEAR((main.chart.GetManualMaxX() - X(3)) * 86400, 30.0, 1e-3);
    const double left = main.chart.GetManualMinX();
    Tick();
    EXPECT_EQ(main.chart.GetManualMinX(), left);
    run.btnStopClick();
    Start("35", "100");
    for (int i = 0; i < 34; ++i)
        Tick();
    EXPECT_EQ(run.gRealTimeCount, 1);
    Tick();
    EXPECT_EQ(run.gRealTimeCount, 2);
}

TEST_F(RealTimeTest, GlitchesAreReplacedByTheLastGoodLevelOrSkipped)
{
    // The first timer sample after the start has no good level yet: skipped.
    Start("1.0", "100", 800);
    Tick(1500);
    EXPECT_EQ(run.gRealTimeCount, 1);
    EXPECT_EQ(run.gGlitchCount, 1);

    // 80.0 then 150.0: 80.0 twice, and the reading itself is replaced.
    Tick(800);
    Tick(1500);
    EXPECT_EQ(run.gRealTimeCount, 3);
    EXPECT_FLOAT_EQ(Y(1), 80.0F);
    EXPECT_FLOAT_EQ(Y(2), 80.0F);
    EXPECT_FLOAT_EQ(poll.gCurrentLevel, 80.0F);

    // The edges pass; 140.1 is a glitch.
    Tick(200);
    Tick(1400);
    Tick(1401);
    EXPECT_EQ(run.gRealTimeCount, 6);
    EXPECT_FLOAT_EQ(Y(3), 20.0F);
    EXPECT_FLOAT_EQ(Y(4), 140.0F);
    EXPECT_FLOAT_EQ(Y(5), 140.0F);
    EXPECT_EQ(run.gGlitchCount, 3);

    // A glitch after a good level of 30 dB or less is skipped.
    Tick(250);
    Tick(0);
    EXPECT_EQ(run.gRealTimeCount, 7);
    EXPECT_EQ(run.gGlitchCount, 4);
}

TEST_F(RealTimeTest, StopKeepsTheSamplesWithTheirMeanAndSlider)
{
    const int levels[] = {600, 800, 800, 500, 700, 650, 720, 610, 690};
    Start("1.0", "2000", levels[0]);
    for (int i = 1; i < 9; ++i)
        Tick(levels[i]);
    const double lastX = X(8);
    clock.Advance(400);
    run.btnStopClick();

    EXPECT_FALSE(run.gRealTimeRunning);
    EXPECT_FALSE(main.timer);
    EXPECT_EQ(main.chart.GetPoints(), 9) << "the capacity shrinks to the samples taken";
    EXPECT_EQ(X(8), lastX);
    EXPECT_FLOAT_EQ(Y(8), 69.0F);
    EXPECT_EQ(main.slider, std::make_tuple(0, 8, 3, 6));
    double sum = 0;
    for (int l : levels)
        sum += l * 0.1;
    EXPECT_EQ(main.texts[TRealTimeText::txtAvgAll], rtl::LevelText(sum / 9)) << "arithmetic mean";
    EXPECT_EQ(main.texts[TRealTimeText::txtAvgAll], "67.4");
    // The maximum and the minimum keep the time of their first sample.
    EXPECT_EQ(run.gRealTimeMaxTime, X(1));
    EXPECT_EQ(run.gRealTimeMinTime, X(3));
    EXPECT_EQ(main.texts[TRealTimeText::txtMinTime], meter::FormatSampleTime(X(3)));
    EXPECT_NEAR(main.chart.GetManualMaxX(), clock.Now(), 1e-9);
    EXPECT_TRUE(main.enabled[TMeterCommand::tbntClr]);

    // Two samples: slider 0..1.
    main.answers = {TAnswer::No};
    Start("1.0", "2000");
    Tick();
    run.btnStopClick();
    EXPECT_EQ(main.slider, std::make_tuple(0, 1, 0, 1));
}

TEST_F(RealTimeTest, AStopWithoutASampleLeavesTheChartAlone)
{
    // Every reading a glitch and no good level before: nothing is plotted.
    Start("1.0", "50", 1500);
    Tick(1500);
    ASSERT_EQ(run.gRealTimeCount, 0);
    run.btnStopClick();
    EXPECT_EQ(main.chart.GetPoints(), 50);
    EXPECT_EQ(main.texts[TRealTimeText::txtAvgAll], "0.0");
    EXPECT_EQ(main.slider, std::make_tuple(-1, -1, -1, -1)) << "the slider is left as it was";
    EXPECT_FALSE(run.gRealTimeRunning);
}

TEST_F(RealTimeTest, BadCountsAndRatesAreRefusedAndChangeNothing)
{
    main.chart.SetPoints(2000);
    for (const char *count : {"0", "", "12a", "1 2"}) {
        Start("1.0", count);
        EXPECT_FALSE(run.gRealTimeRunning) << count;
        ASSERT_FALSE(main.messages.empty());
        EXPECT_EQ(main.messages.back(), std::string(count) + " is not valid.\n");
    }
    for (const char *rate : {"0", "-1.0", "abc", "86401", "inf"}) {
        Start(rate, "10");
        EXPECT_FALSE(run.gRealTimeRunning) << rate;
        EXPECT_EQ(main.messages.back(), std::string(rate) + " is not valid.\n");
    }
    EXPECT_EQ(main.chart.GetPoints(), 2000);
    EXPECT_EQ(run.gRealTimeRate, 1.0);
    EXPECT_EQ(main.cleared, 0);

    // Cancel in the dialog: nothing either.
    main.dialog = nullptr;
    run.btnRunClick();
    EXPECT_FALSE(run.gRealTimeRunning);
    EXPECT_EQ(main.chart.GetPoints(), 2000);
}

TEST_F(RealTimeTest, TheDialogOpensWithTheGraphsRateAndThePeriodOfTheStoredOne)
{
    run.gRealTimeRate = 1.8;
    main.rateBox = "2.0";
    run.btnRunClick();
    EXPECT_EQ(main.shown.rateText, "2.0");
    EXPECT_EQ(main.shown.periodText, "1:0:0");

    // Without a graph window Run makes one first, and asks nothing.
    main.graph = false;
    Start("1.0", "10");
    EXPECT_EQ(main.created, 1);
    EXPECT_TRUE(main.questions.empty());
    EXPECT_TRUE(run.gRealTimeRunning);
    // Without the graph window ticks do nothing.
    main.graph = false;
    Tick();
    EXPECT_EQ(run.gRealTimeCount, 1);

    // Not connected: Run does nothing at all.
    run.btnStopClick();
    poll.gConnected = false;
    main.shown = {};
    run.btnRunClick();
    EXPECT_EQ(main.shown.rateText, "");
}

TEST_F(RealTimeTest, ANewRunAsksAboutTheSamplesAndKeepsThemUnlessSaved)
{
    Start("1.0", "100", 700);
    Tick();
    run.btnStopClick();
    ASSERT_EQ(run.gRealTimeCount, 2);

    main.answers = {TAnswer::Cancel};
    Start("1.0", "100");
    ASSERT_EQ(main.questions.size(), 1u);
    EXPECT_EQ(main.questions[0], "There are datas in Real_Time graph ,it have to reset the graph.\n"
                                 "Do you want to save the Real-Time graph ?");
    EXPECT_EQ(run.gRealTimeCount, 2);
    EXPECT_FALSE(run.gRealTimeRunning);

    // Yes, but the save was cancelled or failed: the samples stay.
    main.answers = {TAnswer::Yes};
    main.saveResult = false;
    Start("1.0", "100");
    EXPECT_EQ(main.saves, 1);
    EXPECT_EQ(run.gRealTimeCount, 2);
    EXPECT_EQ(main.chart.GetPoints(), 2);

    // Saved: the run starts on an emptied chart.
    main.answers = {TAnswer::Yes};
    main.saveResult = true;
    Start("1.0", "100", 900);
    EXPECT_EQ(main.saves, 2);
    EXPECT_TRUE(run.gRealTimeRunning);
    EXPECT_EQ(run.gRealTimeCount, 1);
    EXPECT_EQ(main.cleared, 2);
    EXPECT_FLOAT_EQ(Y(0), 90.0F);
    EXPECT_EQ(X(1), 0.0) << "old samples are emptied";
    EXPECT_EQ(main.texts[TRealTimeText::txtMax], "90.0");
}

TEST_F(RealTimeTest, LosingTheMeterStopsTheRunAndKeepsItsSamples)
{
    Start("1.0", "100");
    Tick();
    Tick();
    sim.SetPresent(false);
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_FALSE(poll.gConnected);
    EXPECT_FALSE(run.gRealTimeRunning);
    EXPECT_FALSE(main.timer);
    EXPECT_EQ(run.gRealTimeCount, 7) << "the samples before the fifth failed poll";
    EXPECT_EQ(main.chart.GetPoints(), 7);
    for (TMeterCommand c :
         {TMeterCommand::btnRun, TMeterCommand::Run1, TMeterCommand::btnStop, TMeterCommand::Stop1})
        EXPECT_FALSE(main.enabled[c]) << "no meter: neither Run nor Stop";
}
