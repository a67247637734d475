// "Load LEQ data" against the simulated meter: the traffic, the shared try
// budget, the rows it lists and what a failure shows.
#include "meter/leq_download.h"

#include "meter/logger_download.h"

#include "tests/meter/command_fixture.h"

#include <map>

using namespace metertest;

namespace {

struct FakeList : meter::TLeqListSink {
    int shown = 0;
    std::map<int, TLeqRecordCells> rows;
    const void *ShowLeqList() override { return ++shown, this; }
    void ClearLeqRows() override { rows.clear(); }
    void SetLeqRow(int row, const TLeqRecordCells &cells) override { rows[row] = cells; }
};

class LeqDownloadTest : public CommandTest {
protected:
    LeqDownloadTest() { state.gConnected = true; }

    // 128 records (number, level, 2024-01-15 14:30:05, period, flags): 70.0 dB,
    // period 1, dBA FAST unless changed.
    void Store(int count, const std::map<int, Bytes> &changed = {})
    {
        Bytes memory;
        for (int r = 0; r < 128; ++r) {
            Bytes rec = {uint8_t(r + 1), 0x02, 0xBC, 0x24, 0x01, 0x15, 0x14, 0x30, 0x05, 1, 0xC0};
            if (auto it = changed.find(r); it != changed.end())
                for (size_t i = 0; i < it->second.size(); i += 2)
                    rec[it->second[i]] = it->second[i + 1];
            rec.resize(20, 0);
            memory.insert(memory.end(), rec.begin(), rec.end());
        }
        sim.SetLeqMemory(memory);
        sim.SetEeprom(0x1E, uint8_t(count));
    }
    int Load() { return meter::LoadLeqData(link, state, ui, list); }
    std::string Row(int row)
    {
        const TLeqRecordCells &c = list.rows[row];
        return c.Value + "|" + c.Time + "|" + c.Period + "|" + c.Weighting + "|" + c.Response;
    }

    FakeList list;
};

} // namespace

TEST_F(LeqDownloadTest, ReadsCountHandshakeAndEveryBlockAndListsAtMostAHundred)
{
    // Position 4: 130.0 dB, the highest level listed, period 0. The other rules of the cells
    // are checked on the golden LEQ memories (tests/golden).
    Store(150, {{4, {1, 0x05, 2, 0x14, 9, 0}}});
    ui.onPump = [&] {
        EXPECT_FALSE(guard.CanClose(&list));
        EXPECT_EQ(link.PressKey('R'), meter::TKeyResult::Ignored);
        EXPECT_FALSE(timer.enabled);
    };
    ASSERT_EQ(Load(), 0);

    const std::vector<Bytes> packets = CommandPackets();
    EXPECT_EQ(packets.front(), (Bytes{0x02, 0x72, 0x00, 0x00, 0x1E, 0x00, 0x03}));
    EXPECT_EQ(packets.back()[1], 'q');
    EXPECT_EQ(Written('Z'), 1);
    EXPECT_EQ(Written('p'), 80);
    EXPECT_EQ(Written('q'), 1);
    EXPECT_TRUE(ui.messages.empty());
    ExpectLinkGivenBack();

    ASSERT_EQ(list.rows.size(), 100u);
    EXPECT_EQ(list.rows.rbegin()->first, 100);
    EXPECT_EQ(Row(1), "70.0|1/15/2024 2:30:05 PM|00:01:00|dBA|FAST");
    EXPECT_EQ(Row(5), "130.0|1/15/2024 2:30:05 PM|00:00:10|dBA|FAST");

    Store(0);
    ASSERT_EQ(Load(), 0);
    EXPECT_TRUE(list.rows.empty()) << "cleared, and no record to write";
}

TEST_F(LeqDownloadTest, CountReadsAndHandshakesShareFifteenTries)
{
    Store(3);
    int countReads = 0;
    sim.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'r' && ++countReads <= 3)
            r[1] = 'x'; // not repeated: 707
        if (command == 'Z')
            r[0] = 0; // wrong marker: 1006
    });
    EXPECT_EQ(Load(), meter::LinkBadMarkers);
    EXPECT_EQ(Written('Z'), 12);
    EXPECT_EQ(list.shown, 0);
    EXPECT_EQ(ui.messages, Texts{"data error"});
    ExpectLinkGivenBack();
}

TEST_F(LeqDownloadTest, FailedBlockReadClosesTheLinkSaysSoAndKeepsTheEarlierList)
{
    Store(10);
    list.rows[1].Value = "65.2";
    int blocks = 0;
    sim.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command == 'p' && ++blocks == 10)
            sim.FailNext(usb::UsbOp::Read);
    });
    EXPECT_EQ(Load(), meter::DownloadReadFailed);
    EXPECT_EQ(Written('q'), 0);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_EQ(list.shown, 1);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[1].Value, "65.2");
    EXPECT_EQ(ui.messages, Texts{"There was error,please try again!   error code=124"});
    ExpectLinkGivenBack();
}

TEST_F(LeqDownloadTest, RefusalsTouchNeitherTheLinkNorMainTimer)
{
    state.gConnected = false;
    EXPECT_EQ(Load(), meter::LeqLoadRefused);
    state.gConnected = state.gMeterRecording = true;
    EXPECT_EQ(Load(), meter::LeqLoadRefused);
    state.gMeterRecording = false;
    ASSERT_TRUE(guard.TryAcquire("LEQ run"));
    EXPECT_EQ(Load(), meter::LeqLoadRefused);
    EXPECT_EQ(ui.messages, (Texts{"<IDS_106>", "<IDS_127>"}));
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(timer.switches, 0);
}
