#include "meter/leq_run.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"
#include "platform/usb/sim/simulated_meter.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

using meter::TLeqField;
using meter::TLeqRun;
using usb::SimFault;
using usb::UsbOp;

namespace {

// Keeps the table and the boxes as the LEQ window would show them.
struct TableSink : meter::TLeqSink, meter::TMainTimerSwitch {
    bool window = true;
    int rowCount = 0;
    std::map<std::pair<int, int>, std::string> cells;
    std::map<TLeqField, std::string> texts;
    bool leqTimer = false;
    bool mainTimer = true;
    std::vector<std::string> messages;

    bool LeqWindowExists() override { return window; }
    void SetLeqRowCount(int count) override
    {
        rowCount = count;
        std::erase_if(cells, [count](const auto &c) { return c.first.second >= count; });
    }
    void SetLeqCell(int col, int row, const std::string &text) override
    {
        if (row < rowCount)
            cells[{col, row}] = text;
    }
    void ShowLeqLastRow() override {}
    void SetLeqText(TLeqField field, const std::string &text) override { texts[field] = text; }
    void SetLeqTimerEnabled(bool enabled) override { leqTimer = enabled; }
    void LeqMessage(const std::string &id) override { messages.push_back(id); }
    void LeqLogStopped(const std::string &file, const std::string &reason) override
    {
        messages.push_back("log stopped: " + file + ": " + reason);
    }
    void LeqLogNotCreated(const std::string &file, const std::string &reason) override
    {
        messages.push_back("log not created: " + file + ": " + reason);
    }
    void SetMainTimerEnabled(bool enabled) override { mainTimer = enabled; }

    std::string Cell(int col, int row) const
    {
        auto it = cells.find({col, row});
        return it == cells.end() ? "" : it->second;
    }
};

class LeqRunTest : public ::testing::Test {
protected:
    LeqRunTest()
    {
        sim.FreezeMeterClock(rtl::EncodeDate(2024, 3, 9) + rtl::EncodeTime(14, 30, 0, 0));
    }

    // One tick with the meter showing level (0.1 dB).
    void Read(int level)
    {
        sim.SetLevel(level);
        run.LEQTimerTimer();
    }
    // The meter clock moves on one second.
    void NextSecond() { sim.StepMeterClock(1); }
    std::string Log() const { return testsupport::FileBytes(log); }

    rtl::FakeClock clock{46000.5};
    rtl::ScopedClock scoped{clock};
    usb::SimulatedMeter sim;
    meter::TLinkGuard guard;
    TableSink sink;
    meter::TMeterLink link{sim, &sink, guard};
    TLeqRun run{link, sink};
    testsupport::TTempDir dir{"nivora-leq-run"};
    std::string log = dir / "LEQ.txt";
};

TEST_F(LeqRunTest, EachMeterSecondBecomesARowWithItsMeanAndTheRunningLeq)
{
    ASSERT_TRUE(run.Start(60, log));
    Read(700); // opens the first second; not in its mean
    Read(900);
    Read(900);
    NextSecond();
    Read(700); // closes the first second, opens the second
    EXPECT_EQ(sink.rowCount, 2);
    EXPECT_EQ(sink.Cell(0, 1), "1");
    EXPECT_EQ(sink.Cell(1, 1), rtl::DateToStr(rtl::EncodeDate(2024, 3, 9)));
    EXPECT_EQ(sink.Cell(2, 1), rtl::TimeToStr(rtl::EncodeTime(14, 30, 0, 0)));
    EXPECT_EQ(sink.Cell(3, 1), "90.0");
    EXPECT_EQ(sink.Cell(4, 1), "90.0");
    EXPECT_EQ(sink.texts[TLeqField::edtLEQrate], "2/sec");
    Read(800);
    Read(800);
    NextSecond();
    Read(800);
    EXPECT_EQ(sink.Cell(3, 2), "80.0");
    EXPECT_EQ(sink.Cell(4, 2), "87.4");
    EXPECT_EQ(sink.texts[TLeqField::edtLEQValue], "87.4");
    EXPECT_EQ(sink.texts[TLeqField::edtTimeLeft], "0:0:58");

    // A second whose only reading opened it: a row without levels, yet it
    // counts in n. The next full second averages over three seconds.
    NextSecond();
    Read(500);
    EXPECT_EQ(sink.rowCount, 4);
    EXPECT_EQ(sink.Cell(0, 3), "3");
    EXPECT_FALSE(sink.Cell(2, 3).empty());
    EXPECT_EQ(sink.Cell(3, 3), "");
    EXPECT_EQ(sink.Cell(4, 3), "");
    EXPECT_EQ(run.gLeqSeconds, 3);
    Read(632);
    Read(633);
    NextSecond();
    Read(700);
    EXPECT_EQ(sink.Cell(3, 4), "63.3"); // M = 63.25
    EXPECT_EQ(sink.Cell(4, 4), rtl::LevelText(meter::NextLeq(87.403f, 63.25f, 4)));

    // The log has a line for every reading, without the date; the run to its end and the log
    // it leaves: tests/app (main_leq).
    const std::string first = rtl::TimeToStr(rtl::EncodeTime(14, 30, 0, 0)) + "\t70.0\r\n";
    const std::string text = Log();
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
}

TEST_F(LeqRunTest, The51stFailedReadEndsTheRunGoodReadsInBetweenDoNotReset)
{
    ASSERT_TRUE(run.Start(60, log));
    sim.FailNext(UsbOp::Read, 30);
    for (int i = 0; i < 30; ++i)
        run.LEQTimerTimer();
    Read(700);
    sim.FailNext(UsbOp::Read, 20);
    for (int i = 0; i < 20; ++i)
        run.LEQTimerTimer();
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(run.gLeqFailures, 50);
    EXPECT_TRUE(sink.messages.empty());
    sim.FailNext(UsbOp::Read);
    run.LEQTimerTimer();
    EXPECT_FALSE(run.Running());
    EXPECT_EQ(sink.messages, std::vector<std::string>{"IDS_123"});
    EXPECT_TRUE(sink.mainTimer);
    EXPECT_FALSE(guard.Held());
}

TEST_F(LeqRunTest, RepliesWithoutStatusMarkersAreFailedReads)
{
    ASSERT_TRUE(run.Start(60, log));
    Read(700);
    Read(900);
    sim.FailNext(UsbOp::Read, 1, SimFault::WrongStartMarker);
    Read(100);
    sim.FailNext(UsbOp::Read, 1, SimFault::WrongEndMarker);
    Read(100);
    NextSecond();
    Read(700);
    EXPECT_EQ(sink.Cell(3, 1), "90.0");
    EXPECT_EQ(run.gLeqFailures, 2);
    EXPECT_EQ(Log().find("10.0"), std::string::npos);
    // A meter that sends nothing else ends the run after 50: tests/app (main_leq).
}

TEST_F(LeqRunTest, ALogThatCannotBeWrittenStopsOnceAndTheRunGoesOn)
{
    ASSERT_TRUE(run.Start(60, "/dev/full"));
    ASSERT_TRUE(run.LogOpen());
    Read(700);
    Read(800);
    EXPECT_FALSE(run.LogOpen());
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(sink.messages, std::vector<std::string>{"log stopped: /dev/full: " +
                                                      std::generic_category().message(ENOSPC)});
    NextSecond();
    Read(700);
    EXPECT_EQ(sink.Cell(3, 1), "80.0");
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(LeqRunTest, TheLeqStepStaysFiniteForTheLargestLevelWords)
{
    EXPECT_FLOAT_EQ(meter::NextLeq(6553.5f, 6553.5f, 2), 6553.5f);
    const float mixed = meter::NextLeq(6553.5f, 20.0f, 2);
    EXPECT_NEAR(mixed, 6553.5 - 10 * std::log10(2.0), 1e-3);

    // Through the run: level words of 0xFFFF give a finite table.
    sim.SetReplyFilter([](uint8_t, usb::SimulatedMeter::Reply &r) { r[5] = r[6] = 0xFF; });
    ASSERT_TRUE(run.Start(60, log));
    for (int s = 0; s < 3; ++s) {
        run.LEQTimerTimer();
        run.LEQTimerTimer();
        NextSecond();
    }
    run.LEQTimerTimer();
    EXPECT_EQ(sink.Cell(4, 3), "6553.5");
}

TEST_F(LeqRunTest, StartTruncatesTheLogKeepsTheLinkOpenAndRespectsOtherOperations)
{
    ASSERT_TRUE(run.Start(60, log));
    Read(700);
    Read(710);
    ASSERT_FALSE(Log().empty());

    // A restart empties the table and the log and starts the count again.
    sim.ClearLog();
    ASSERT_TRUE(run.Start(10, log));
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(sink.rowCount, 1);
    EXPECT_EQ(sim.OpSequence(), "Close Open SetTimeouts");
    Read(720);
    EXPECT_EQ(Log().find("\t72.0\r\n") != std::string::npos, true);
    // Each tick only writes and reads on the open link, without a new
    // sequence byte.
    const uint8_t sequence = link.gCommand[5];
    sim.ClearLog();
    Read(730);
    EXPECT_EQ(sim.OpSequence(), "Write EndWrite Read");
    EXPECT_EQ(sim.WrittenPackets().at(0),
              (std::vector<uint8_t>{0x02, 'A', 0, 0, 0, sequence, 0x03}));
    EXPECT_EQ(link.PressKey('R'), meter::TKeyResult::Ignored);

    run.Stop();
    EXPECT_FALSE(guard.Held());
    run.Stop(); // a second Stop changes nothing
    EXPECT_TRUE(sink.mainTimer);

    // Another operation owns the link: Start touches nothing.
    ASSERT_TRUE(guard.TryAcquire("download"));
    sink.mainTimer = false;
    sim.ClearLog();
    EXPECT_FALSE(run.Start(10, log));
    EXPECT_EQ(sim.OpSequence(), "");
    EXPECT_FALSE(sink.leqTimer);
    run.Stop();
    EXPECT_FALSE(sink.mainTimer);
    EXPECT_TRUE(guard.Held());
}

TEST_F(LeqRunTest, ABadMeterClockStampsTheRowWithThePcClock)
{
    sim.SetReplyFilter([](uint8_t, usb::SimulatedMeter::Reply &r) { r[17] = 0x3F; });
    ASSERT_TRUE(run.Start(60, log));
    Read(700);
    Read(800);
    NextSecond();
    Read(700);
    EXPECT_EQ(sink.Cell(1, 1), rtl::DateToStr(clock.Now()));
    EXPECT_EQ(sink.Cell(2, 1), rtl::TimeToStr(clock.Now()));
}

} // namespace
