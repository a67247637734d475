// "Load LEQ data" against the simulated meter: the exact traffic, the shared
// try budget, the rows it lists and what a failure shows.
#include "meter/leq_download.h"

#include "tests/meter/command_fixture.h"

#include <map>

using namespace metertest;
using usb::UsbOp;

namespace {

struct FakeList : meter::TLeqListSink {
    int shown = 0;
    std::map<int, TLeqRecordCells> rows;
    const void *ShowLeqList() override
    {
        ++shown;
        return this;
    }
    void ClearLeqRows() override { rows.clear(); }
    void SetLeqRow(int row, const TLeqRecordCells &cells) override { rows[row] = cells; }
};

// Record r of the LEQ memory: number, level, 2024-01-15 14:30:05, period, flags.
Bytes Record(int r, int tenths, uint8_t period = 1, uint8_t flags = 0xC0)
{
    Bytes rec = {static_cast<uint8_t>(r + 1),
                 static_cast<uint8_t>(tenths >> 8),
                 static_cast<uint8_t>(tenths),
                 0x24,
                 0x01,
                 0x15,
                 0x14,
                 0x30,
                 0x05,
                 period,
                 flags};
    rec.resize(20, 0);
    return rec;
}

class LeqDownloadTest : public CommandTest {
protected:
    LeqDownloadTest() { state.gConnected = true; }

    // 128 records of 70.0 dB, then the given ones put in place.
    void StoreRecords(int count, const std::map<int, Bytes> &special = {})
    {
        Bytes memory;
        for (int r = 0; r < 128; ++r) {
            auto it = special.find(r);
            const Bytes rec = it != special.end() ? it->second : Record(r, 700);
            memory.insert(memory.end(), rec.begin(), rec.end());
        }
        sim.SetLeqMemory(memory);
        sim.SetEeprom(0x1E, static_cast<uint8_t>(count));
    }
    int Load() { return meter::LoadLeqData(link, state, ui, list); }

    FakeList list;
};

} // namespace

TEST_F(LeqDownloadTest, ReadsCountHandshakeAndAllBlocksAndListsAtMostAHundredRecords)
{
    StoreRecords(150, {{4, Record(4, 0x0514, 0, 0xC0)},
                       {5, Record(5, 0x0515)},
                       {6, Record(7, 700)},
                       {7, Record(7, 853, 12, 0x03)}});
    // While the blocks come in the list cannot close and panel keys do nothing.
    ui.onPump = [&] {
        EXPECT_FALSE(guard.CanClose(&list));
        EXPECT_EQ(link.PressKey('R'), meter::TKeyResult::Ignored);
        EXPECT_FALSE(timer.enabled);
    };

    ASSERT_EQ(Load(), 0);

    const std::vector<Bytes> packets = CommandPackets();
    ASSERT_GE(packets.size(), 2u);
    EXPECT_EQ(packets[0], (Bytes{0x02, 0x72, 0x00, 0x00, 0x1E, 0x00, 0x03}));
    EXPECT_EQ(packets[1][1], 'Z');
    EXPECT_EQ(Written('Z'), 1);
    EXPECT_EQ(Written('p'), 80);
    EXPECT_EQ(Written('q'), 1);
    EXPECT_EQ(packets.back()[1], 'q');
    EXPECT_EQ(ui.pumps, 80);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(list.shown, 1);
    ExpectLinkGivenBack();

    ASSERT_EQ(list.rows.size(), 100u);
    EXPECT_EQ(list.rows.begin()->first, 1);
    EXPECT_EQ(list.rows.rbegin()->first, 100);
    const TLeqRecordCells &first = list.rows[1];
    EXPECT_EQ(first.Value, "70.0");
    EXPECT_EQ(first.Time, "1/15/2024 2:30:05 PM");
    EXPECT_EQ(first.Period, "00:01:00");
    EXPECT_EQ(list.rows[5].Value, "130.0");
    EXPECT_EQ(list.rows[5].Period, "00:00:10");
    EXPECT_EQ(list.rows[5].Weighting + list.rows[5].Response, "dBAFAST");
    for (int row : {6, 7}) { // level 130.1, and a record out of its place
        const TLeqRecordCells &bad = list.rows[row];
        EXPECT_EQ(bad.Value + "|" + bad.Time + bad.Period + bad.Weighting + bad.Response, "----|");
    }
    EXPECT_EQ(list.rows[8].Period, "");
    EXPECT_EQ(list.rows[8].Weighting + list.rows[8].Response, "dBCSLOW");
}

TEST_F(LeqDownloadTest, CountsOfZeroListNothing)
{
    StoreRecords(0);
    list.rows[3] = {"old", "", "", "", ""};
    ASSERT_EQ(Load(), 0);
    EXPECT_TRUE(list.rows.empty()) << "the rows are cleared and none is written";
    EXPECT_EQ(Written('p'), 80) << "the whole LEQ memory is read all the same";
}

TEST_F(LeqDownloadTest, CountReadsAndHandshakesShareFifteenTries)
{
    StoreRecords(3);
    int countReads = 0;
    sim.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'r' && ++countReads <= 3)
            r[1] = 'x'; // not the packet's command byte: 707
        if (command == 'Z')
            r[0] = 0; // wrong marker: 1006
    });

    EXPECT_EQ(Load(), meter::LinkBadMarkers);
    EXPECT_EQ(countReads, 4);
    EXPECT_EQ(Written('Z'), 12);
    EXPECT_EQ(Written('p'), 0);
    EXPECT_EQ(list.shown, 0);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"data error"});
    ExpectLinkGivenBack();

    // A count read that never answers right uses up every try.
    sim.ClearLog();
    ui.messages.clear();
    sim.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'r')
            r[0] = 0;
    });
    EXPECT_EQ(Load(), meter::LinkNotEchoed);
    EXPECT_EQ(Written('r'), 15);
    EXPECT_EQ(Written('Z'), 0);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"data error"});
}

TEST_F(LeqDownloadTest, FailedBlockReadClosesTheLinkAndSaysSo)
{
    StoreRecords(10);
    list.rows[1] = {"old", "", "", "", ""};
    int blocks = 0;
    sim.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command == 'p' && ++blocks == 10)
            sim.FailNext(UsbOp::Read);
    });

    EXPECT_EQ(Load(), meter::TransferReadFailed);
    EXPECT_EQ(Written('p'), 10);
    EXPECT_EQ(Written('q'), 0);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_EQ(list.shown, 1);
    EXPECT_TRUE(list.rows.empty()) << "cleared, and the message says why it stays empty";
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"There was error,please try again!   error code=124"});
    ExpectLinkGivenBack();
}

TEST_F(LeqDownloadTest, RefusalsTouchNeitherTheLinkNorMainTimer)
{
    state.gConnected = false;
    EXPECT_EQ(Load(), meter::LeqLoadRefused);
    state.gConnected = true;
    state.gMeterRecording = true;
    EXPECT_EQ(Load(), meter::LeqLoadRefused);
    state.gMeterRecording = false;
    ASSERT_TRUE(guard.TryAcquire("LEQ run"));
    EXPECT_EQ(Load(), meter::LeqLoadRefused);
    guard.Release();

    EXPECT_EQ(ui.messages, (std::vector<std::string>{"<IDS_106>", "<IDS_127>"}));
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(timer.switches, 0);
    EXPECT_EQ(list.shown, 0);
}
