// The logger download against the simulated meter with a fake clock: the
// memory size rule, the packets of the transfer, the progress it reports,
// and the codes of its failures.
#include "meter/logger_download.h"

#include "meter/logger_data.h"
#include "platform/rtl/datetime.h"
#include "platform/usb/sim/logger_image_builder.h"
#include "platform/usb/sim/simulated_meter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using meter::DownloadLogger;
using usb::SimulatedMeter;
using usb::UsbOp;

namespace {

struct RecordingView : meter::TDownloadView {
    void SetHourglass(bool on) override { events.push_back(on ? "hourglass" : "cursor"); }
    void ShowDownloadProgress(int total) override
    {
        events.push_back("show " + std::to_string(total));
        labels.push_back(0);
    }
    void DownloadProgressed(int received) override { labels.push_back(received); }
    void CloseDownloadProgress() override { events.push_back("close"); }
    std::vector<std::string> events;
    std::vector<int> labels;
};

struct Timer : meter::TMainTimerSwitch {
    void SetMainTimerEnabled(bool on) override { enabled = on; }
    bool enabled = true;
};

class LoggerDownloadTest : public ::testing::Test {
protected:
    // A memory whose handshake declares the last used address and holds a
    // pattern, so that every block's place can be checked.
    void SetMemory(uint32_t lastAddress)
    {
        std::vector<uint8_t> image(SimulatedMeter::LoggerSize);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<uint8_t>(i * 7 + i / 256);
        image[9] = 0;
        image[10] = 1;
        image[11] = uint8_t(lastAddress >> 16);
        image[12] = uint8_t(lastAddress >> 8);
        image[13] = uint8_t(lastAddress);
        meter_.SetLoggerImage(image);
    }
    int Run() { return DownloadLogger(link_, image_, last_, view_); }
    int Count(char command) const
    {
        int n = 0;
        for (const auto &p : meter_.WrittenPackets())
            n += p.size() == 7 && p[1] == uint8_t(command);
        return n;
    }

    rtl::FakeClock clock_{46000.5};
    rtl::ScopedClock scope_{clock_};
    SimulatedMeter meter_;
    Timer timer_;
    meter::TLinkGuard guard_;
    meter::TMeterLink link_{meter_, &timer_, guard_};
    RecordingView view_;
    TLoggerImage image_;
    int last_ = -1;
};

TEST_F(LoggerDownloadTest, ReadsTheMemoryBlockByBlockAndReportsEachBlock)
{
    SetMemory(0x00FFFF);
    meter_.ClearLog();
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(last_, 0x00FFFF);
    EXPECT_EQ(Count('P'), 1);
    EXPECT_EQ(Count('p'), 2047);
    EXPECT_EQ(Count('q'), 1);
    ASSERT_EQ(image_.size(), 65536u);
    const std::vector<uint8_t> &memory = meter_.LoggerMemory();
    EXPECT_EQ(image_[0], 4);
    EXPECT_EQ(image_[31], 5);
    EXPECT_TRUE(std::equal(image_.begin() + 1, image_.begin() + 31, memory.begin() + 1));
    EXPECT_TRUE(std::equal(image_.begin() + 32, image_.end(), memory.begin() + 32));
    EXPECT_FALSE(timer_.enabled) << "the caller switches MainTimer on again";
    EXPECT_TRUE(meter_.IsOpen()) << "a complete transfer leaves the link open";

    // The block requests change only the command byte: byte 5 still holds
    // the sequence byte of the last status command.
    const auto packets = meter_.WrittenPackets();
    const auto request =
        std::find_if(packets.begin(), packets.end(), [](const auto &p) { return p[1] == 'p'; });
    ASSERT_NE(request, packets.end());
    EXPECT_EQ(*request, (std::vector<uint8_t>{0x02, 'p', 0, 0, 0, link_.gSequence, 0x03}));
    // Between a request and its read: no end of write, no pause.
    const auto &log = meter_.Log();
    for (size_t i = 0; i + 1 < log.size(); ++i)
        if (log[i].op == UsbOp::Write && log[i].bytes[1] == 'p') {
            ASSERT_EQ(log[i + 1].op, UsbOp::Read);
            EXPECT_EQ(log[i + 1].timeMs, log[i].timeMs);
        }

    ASSERT_EQ(view_.labels.size(), 2048u);
    EXPECT_EQ(view_.labels[0], 0);
    EXPECT_EQ(view_.labels[1], 64);
    EXPECT_EQ(view_.labels.back(), 65536);
    EXPECT_EQ(view_.events,
              (std::vector<std::string>{"hourglass", "cursor", "show 65536", "close"}));
}

TEST_F(LoggerDownloadTest, SizesBelowAndAboveTheMemoryReadItAll)
{
    SetMemory(0x000120);
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(image_.size(), 320u);
    EXPECT_EQ(Count('p'), 9);

    EXPECT_EQ(meter::LoggerMemorySize(0x0000FF), 256);
    for (uint32_t last : {0x0000FEu, 0x020000u}) {
        image_.clear();
        meter_.ClearLog();
        SetMemory(last);
        ASSERT_EQ(Run(), 0);
        EXPECT_EQ(image_.size(), 131072u);
        EXPECT_EQ(last_, int(last));
        EXPECT_EQ(Count('p'), 4095);
    }
}

TEST_F(LoggerDownloadTest, AFailedBlockClosesTheLinkWithItsCode)
{
    SetMemory(0x000FFF);
    // Reads: the link check's status reply, the handshake reply, then blocks.
    meter_.InjectFault(UsbOp::Read, 2 + 10);
    EXPECT_EQ(Run(), meter::DownloadReadFailed);
    EXPECT_FALSE(meter_.IsOpen());
    EXPECT_EQ(Count('p'), 10);
    EXPECT_EQ(Count('q'), 0);
    EXPECT_EQ(view_.events.back(), "close");

    image_.clear();
    meter_.ClearLog();
    meter_.ClearFaults();
    // Writes: the link check's status command, 'P', then the requests.
    meter_.InjectFault(UsbOp::Write, meter_.CallCount(UsbOp::Write) + 2 + 5);
    EXPECT_EQ(Run(), meter::DownloadRequestFailed);
    EXPECT_FALSE(meter_.IsOpen());

    image_.clear();
    meter_.ClearFaults();
    SetMemory(0x0000FF);
    meter_.InjectFault(UsbOp::Write, meter_.CallCount(UsbOp::Write) + 2 + 8);
    EXPECT_EQ(Run(), meter::DownloadEndFailed);
    EXPECT_EQ(image_.size(), 256u);
}

TEST_F(LoggerDownloadTest, TheHandshakeIsTriedFifteenTimes)
{
    SetMemory(0x0000FF);
    int handshakes = 0;
    int badOnes = 14;
    meter_.SetReplyFilter([&](uint8_t command, SimulatedMeter::Reply &r) {
        if (command == 'P' && ++handshakes <= badOnes)
            r[0] = 0x44;
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(handshakes, 15);
    EXPECT_EQ(image_.size(), 256u);

    image_.clear();
    handshakes = 0;
    badOnes = 15;
    EXPECT_EQ(Run(), meter::LinkBadMarkers);
    EXPECT_EQ(handshakes, 15);
    EXPECT_TRUE(image_.empty());
    EXPECT_EQ(view_.events.back(), "close");

    // No meter: every try fails its link check (ten status polls each).
    image_.clear();
    meter_.SetPresent(false);
    EXPECT_EQ(Run(), meter::LinkNoAnswer);
}

// A REC recording on the simulated meter comes down as a data set of its own.
TEST_F(LoggerDownloadTest, ARecordingOfTheSimulatedMeterDecodesAsANewSet)
{
    meter_.LoadSampleContent();
    const int before = meter_.LoggerMemory()[10];
    meter_.SetEeprom(SimulatedMeter::IntervalAddress, 5);
    meter_.UsbOpen(0x04D9, 0xE000);
    const uint8_t rec[7] = {0x02, 'R', 0, 0, 0, 0, 0x03};
    meter_.UsbWrite(7, rec);
    clock_.Advance(60 * 1000 + 1); // 13 samples: 0, 5, ..., 60 s
    meter_.UsbWrite(7, rec);

    ASSERT_EQ(Run(), 0);
    TDataSetStore store;
    std::vector<TDataSetGridRow> rows;
    ASSERT_EQ(DecodeLoggerData(image_, last_, store, rows), ldOk);
    ASSERT_EQ(store.SetCount(), before + 1);
    EXPECT_EQ(store.FSetCount.back(), 13);
    EXPECT_EQ(store.FSetInterval.back(), 5);
    EXPECT_GT(store.FSetCount[2], 40000) << "the long set fills most of the memory";
    EXPECT_GT(image_.size(), 100000u);
    EXPECT_EQ(rows.back()[3], "00:05");
}

} // namespace
