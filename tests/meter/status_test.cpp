// Status decoding beyond the golden status replies (tests/golden): which field the mode shows,
// garbage digits, the bar's edges, the clock's partial and reset rules, and the flag bits that
// must show nothing.
#include "meter/status.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

using meter::DecodeStatus;
using meter::TMaxMinAction;
using meter::TReplyBlock;

namespace {

TReplyBlock Reply()
{
    TReplyBlock r{};
    r[0] = 0x02;
    r[31] = 0x03;
    r[15] = 0x30; // 12:34:30 on 08.12.26
    r[16] = 0x34;
    r[17] = 0x12;
    r[18] = 0x08;
    r[19] = 0x12;
    r[21] = 0x26;
    return r;
}

void SetWord(TReplyBlock &r, int at, int v)
{
    r[at] = static_cast<uint8_t>(v >> 8);
    r[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

} // namespace

TEST(StatusValue, ModeDecidesWhichFieldIsShown)
{
    TReplyBlock r = Reply();
    r[7] = 0, r[8] = 9, r[9] = 4, r[10] = 5;
    SetWord(r, 5, 701);
    SetWord(r, 11, 1102);
    SetWord(r, 13, 403);
    SetWord(r, 26, 888);
    EXPECT_EQ(DecodeStatus(r, 0).value, 945);

    r[1] = 0x04; // MAX/MIN mode
    const std::pair<uint8_t, int> fields[] = {{0x11, 1102}, {0x22, 403}, {0x44, 701}, {0x00, 701}};
    for (auto [state, value] : fields) {
        r[4] = state;
        EXPECT_EQ(DecodeStatus(r, 0).value, value) << int(state);
    }
    r[4] = 0x11;
    EXPECT_EQ(DecodeStatus(r, 0).MainD, (std::array<int, 4>{1, 1, 0, 2}));

    r[2] = 0x80; // LEQ mode wins over MAX/MIN and the digits
    const auto d = DecodeStatus(r, 0);
    EXPECT_EQ(d.value, 888);
    EXPECT_FLOAT_EQ(d.currentLevel, 88.8f);
    EXPECT_TRUE(d.meterLeqMode && d.imgLEQ);
    EXPECT_FALSE(d.imgSPL);
}

TEST(StatusValue, OutOfRangeValuesStillGiveValidGlyphsAndAnUnclampedBar)
{
    TReplyBlock r = Reply();
    r[2] = 0x80;
    SetWord(r, 26, 65535);
    EXPECT_EQ(DecodeStatus(r, 0).MainD, (std::array<int, 4>{meter::BlankGlyph, 5, 3, 5}));
    // Raw digit bytes above 9 (garbage from the meter).
    r = Reply();
    r[7] = r[8] = r[9] = r[10] = 255;
    const auto d = DecodeStatus(r, 0);
    EXPECT_EQ(d.value, 255 * 1111);
    for (int g : d.MainD)
        EXPECT_TRUE(g >= 0 && g <= meter::BlankGlyph);

    // Three pixels per two decibels above 30 dB, rounded down; no upper clamp.
    EXPECT_EQ(meter::LevelBarWidth(0), 4);
    EXPECT_EQ(meter::LevelBarWidth(301), 4);
    EXPECT_EQ(meter::LevelBarWidth(320), 7);
    EXPECT_EQ(meter::LevelBarWidth(1400), 169);
}

TEST(StatusClock, DrawsOnANewSecondOnlyAndStopsAtTheFirstNonBcdByte)
{
    TReplyBlock r = Reply();
    auto d = DecodeStatus(r, 0x29);
    ASSERT_TRUE(d.clockChanged);
    EXPECT_EQ(d.clockFieldsDrawn, 6);
    EXPECT_EQ(d.clock[meter::ClockHours].tens, 1);
    EXPECT_EQ(d.clock[meter::ClockDay].units, 8);
    EXPECT_EQ(DecodeStatus(r, 0x30).clockFieldsDrawn, 0);

    r[16] = 0x3F; // minutes unreadable: hours drawn, the rest kept as it was
    d = DecodeStatus(r, 0x29);
    EXPECT_EQ(d.clockFieldsDrawn, 1);
    EXPECT_EQ(d.clockLastSecond, 0x30) << "the remembered second still advances";

    // 0x5A resets the clock and remembers second 2: the next reply with second 02 is not drawn.
    r = Reply();
    r[15] = 0x5A;
    d = DecodeStatus(r, 0x30);
    EXPECT_TRUE(d.clockReset);
    EXPECT_EQ(d.clockLastSecond, 2);
    r[15] = 0x02;
    EXPECT_EQ(DecodeStatus(r, d.clockLastSecond).clockFieldsDrawn, 0);
    r[15] = 0x03;
    r[17] = 0x5A; // in the hours byte too, once the second moved
    EXPECT_TRUE(DecodeStatus(r, 2).clockReset);
    EXPECT_FALSE(DecodeStatus(r, 0x03).clockReset) << "same second: not looked at";
}

TEST(StatusIndicators, RecordingSymbolMaxMinStateAndBitsThatShowNothing)
{
    TReplyBlock r = Reply();
    const std::pair<uint8_t, int> symbols[] = {{0x60, 0}, {0x40, 1}, {0x20, 2}, {0x00, 2}};
    for (auto [flags, which] : symbols) {
        r[2] = flags;
        const auto d = DecodeStatus(r, 0);
        EXPECT_EQ((std::array<bool, 3>{d.imgStart, d.imgPause, d.imgStop}),
                  (std::array<bool, 3>{which == 0, which == 1, which == 2}))
            << int(flags);
    }
    r[4] = 0x44;
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::HideLabels) << "bit 2 of byte 1 unset";
    r[1] = 0x04;
    r[4] = 0x00;
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::StopTimer);
    r[4] = 0x33;
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::NoChange);

    r[1] = 0x26; // bits 1, 2 and 5 only: MAX/MIN mode, nothing shown by the others
    r[2] = 0x2F;
    const auto d = DecodeStatus(r, 0);
    EXPECT_FALSE(d.lblREC || d.meterRecording || d.lbldBA || d.lblFAST || d.imgUNDER || d.imgOVER ||
                 d.lblFULL || d.meterLeqMode);
    EXPECT_TRUE(d.lbldBC && d.lblSLOW);
}
