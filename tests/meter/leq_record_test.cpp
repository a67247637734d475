// Cell texts of LEQ records beyond the golden LEQ memories (tests/golden): the clock's date-time
// in place of an unreadable one, and records and memories cut short.
#include "meter/leq_record.h"

#include "platform/rtl/datetime.h"

#include <gtest/gtest.h>

namespace {

class LeqRecordCells : public ::testing::Test {
protected:
    LeqRecordCells()
        : FClock(rtl::EncodeDate(2026, 3, 4) + rtl::EncodeTime(5, 6, 7, 0)), FScope(FClock)
    {
        rtl::SetFormatSettings(rtl::CLikeFormatSettings());
    }

    // Record at position r (number r + 1), 2024-01-15 14:30:05, period 1, dBA FAST.
    static TLeqRecord Record(int r, uint16_t tenths)
    {
        TLeqRecord rec{};
        rec[0] = static_cast<uint8_t>(r + 1);
        rec[1] = static_cast<uint8_t>(tenths >> 8);
        rec[2] = static_cast<uint8_t>(tenths);
        const uint8_t date[6] = {0x24, 0x01, 0x15, 0x14, 0x30, 0x05};
        std::copy(std::begin(date), std::end(date), rec.begin() + 3);
        rec[9] = 1;
        rec[10] = 0xC0;
        return rec;
    }

    rtl::FakeClock FClock;
    rtl::ScopedClock FScope;
};

TEST_F(LeqRecordCells, DateFallbacks)
{
    TLeqRecord rec = Record(0, 700);
    rec[8] = 0x5A; // unreadable second: the clock's second
    EXPECT_EQ(DecodeLeqRecord(rec, 0).Time, "1/15/2024 2:30:07 PM");
    rec[4] = 0x13; // no month 13: the whole date-time is the clock's
    EXPECT_EQ(DecodeLeqRecord(rec, 0).Time, "3/4/2026 5:06:07 AM");
}

TEST_F(LeqRecordCells, ShortRecordsAndCounts)
{
    const TLeqRecord rec = Record(0, 700);
    // Only the number and level: the date falls back, the flags read 0.
    const TLeqRecordCells part = DecodeLeqRecord(std::span(rec).first(3), 0);
    EXPECT_EQ(part.Value + "|" + part.Time + "|" + part.Period + "|" + part.Weighting,
              "70.0|3/4/2026 5:06:07 AM||dBC");
    EXPECT_EQ(DecodeLeqRecord(std::span(rec).first(2), 0).Value, "----");

    std::vector<uint8_t> memory(LeqMemorySize, 0);
    for (int r = 0; r < 128; ++r) {
        const TLeqRecord one = Record(r, static_cast<uint16_t>(300 + r));
        std::copy(one.begin(), one.end(), memory.begin() + r * LeqRecordSize);
    }
    EXPECT_TRUE(DecodeLeqRecords(memory, 0).empty());
    EXPECT_EQ(DecodeLeqRecords(memory, 100).at(99).Value, "39.9");
    EXPECT_EQ(DecodeLeqRecords(std::span(memory).first(45), 100).size(), 2u);
}

} // namespace
