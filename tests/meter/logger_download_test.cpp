// The logger download against the simulated meter with a fake clock: the
// memory size rule, the packets of the transfer, the progress it reports,
// and the codes of its failures.
#include "meter/logger_download.h"

#include "tests/meter/command_fixture.h"

#include <string>
#include <vector>

using namespace metertest;
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

class LoggerDownloadTest : public CommandTest {
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
        sim.SetLoggerImage(image);
    }
    int Run() { return DownloadLogger(link, image_, last_, view_); }

    RecordingView view_;
    TLoggerImage image_;
    int last_ = -1;
};

TEST_F(LoggerDownloadTest, ReadsTheMemoryBlockByBlockAndReportsEachBlock)
{
    SetMemory(0x00FFFF);
    sim.ClearLog();
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(last_, 0x00FFFF);
    EXPECT_EQ(Written('P'), 1);
    EXPECT_EQ(Written('p'), 2047);
    EXPECT_EQ(Written('q'), 1);
    ASSERT_EQ(image_.size(), 65536u);
    const std::vector<uint8_t> &memory = sim.LoggerMemory();
    EXPECT_EQ(image_[0], 4);
    EXPECT_EQ(image_[31], 5);
    EXPECT_TRUE(std::equal(image_.begin() + 1, image_.begin() + 31, memory.begin() + 1));
    EXPECT_TRUE(std::equal(image_.begin() + 32, image_.end(), memory.begin() + 32));
    EXPECT_FALSE(timer.enabled) << "the caller switches MainTimer on again";
    EXPECT_TRUE(sim.IsOpen()) << "a complete transfer leaves the link open";

    // The block requests change only the command byte: byte 5 still holds
    // the sequence byte of the last status command.
    const auto packets = sim.WrittenPackets();
    const auto request =
        std::find_if(packets.begin(), packets.end(), [](const auto &p) { return p[1] == 'p'; });
    ASSERT_NE(request, packets.end());
    EXPECT_EQ(*request, (std::vector<uint8_t>{0x02, 'p', 0, 0, 0, link.gSequence, 0x03}));
    // Between a request and its read: no end of write, no pause.
    const auto &log = sim.Log();
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
    EXPECT_EQ(Written('p'), 9);

    EXPECT_EQ(meter::LoggerMemorySize(0x0000FF), 256);
    for (uint32_t last : {0x0000FEu, 0x020000u}) {
        image_.clear();
        sim.ClearLog();
        SetMemory(last);
        ASSERT_EQ(Run(), 0);
        EXPECT_EQ(image_.size(), 131072u);
        EXPECT_EQ(last_, int(last));
        EXPECT_EQ(Written('p'), 4095);
    }
}

TEST_F(LoggerDownloadTest, AFailedBlockClosesTheLinkWithItsCode)
{
    SetMemory(0x000FFF);
    // Reads: the link check's status reply, the handshake reply, then blocks.
    sim.InjectFault(UsbOp::Read, 2 + 10);
    EXPECT_EQ(Run(), meter::DownloadReadFailed);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_EQ(Written('p'), 10);
    EXPECT_EQ(Written('q'), 0);
    EXPECT_EQ(view_.events.back(), "close");

    image_.clear();
    sim.ClearLog();
    sim.ClearFaults();
    // Writes: the link check's status command, 'P', then the requests.
    sim.InjectFault(UsbOp::Write, sim.CallCount(UsbOp::Write) + 2 + 5);
    EXPECT_EQ(Run(), meter::DownloadRequestFailed);
    EXPECT_FALSE(sim.IsOpen());

    image_.clear();
    sim.ClearFaults();
    SetMemory(0x0000FF);
    sim.InjectFault(UsbOp::Write, sim.CallCount(UsbOp::Write) + 2 + 8);
    EXPECT_EQ(Run(), meter::DownloadEndFailed);
    EXPECT_EQ(image_.size(), 256u);
}

TEST_F(LoggerDownloadTest, TheHandshakeIsTriedFifteenTimes)
{
    SetMemory(0x0000FF);
    int handshakes = 0;
    int badOnes = 14;
    sim.SetReplyFilter([&](uint8_t command, SimulatedMeter::Reply &r) {
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
    sim.SetPresent(false);
    EXPECT_EQ(Run(), meter::LinkNoAnswer);
}

} // namespace
