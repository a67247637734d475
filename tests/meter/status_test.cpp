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

void SetDigits(TReplyBlock &r, int d1, int d2, int d3, int d4)
{
    r[7] = static_cast<uint8_t>(d1);
    r[8] = static_cast<uint8_t>(d2);
    r[9] = static_cast<uint8_t>(d3);
    r[10] = static_cast<uint8_t>(d4);
}

} // namespace

TEST(StatusValue, ModeDecidesWhichFieldIsShown)
{
    TReplyBlock r = Reply();
    SetDigits(r, 0, 9, 4, 5);
    SetWord(r, 5, 701);
    SetWord(r, 11, 1102);
    SetWord(r, 13, 403);
    SetWord(r, 26, 888);

    auto d = DecodeStatus(r, 0);
    EXPECT_EQ(d.value, 945);
    EXPECT_EQ(d.MainD, (std::array<int, 4>{meter::BlankGlyph, 9, 4, 5}));
    EXPECT_FLOAT_EQ(d.currentLevel, 94.5f);

    r[1] = 0x04; // MAX/MIN mode
    r[4] = 0x11;
    EXPECT_EQ(DecodeStatus(r, 0).value, 1102);
    EXPECT_EQ(DecodeStatus(r, 0).MainD, (std::array<int, 4>{1, 1, 0, 2}));
    r[4] = 0x22;
    EXPECT_EQ(DecodeStatus(r, 0).value, 403);
    r[4] = 0x44;
    EXPECT_EQ(DecodeStatus(r, 0).value, 701);
    r[4] = 0x00;
    EXPECT_EQ(DecodeStatus(r, 0).value, 701);

    r[2] = 0x80; // LEQ mode wins over MAX/MIN and the digits
    d = DecodeStatus(r, 0);
    EXPECT_EQ(d.value, 888);
    EXPECT_FLOAT_EQ(d.currentLevel, 88.8f);
    EXPECT_TRUE(d.meterLeqMode);
    EXPECT_TRUE(d.imgLEQ);
    EXPECT_FALSE(d.imgSPL);
}

TEST(StatusValue, OutOfRangeValuesStillGiveValidGlyphs)
{
    TReplyBlock r = Reply();
    r[2] = 0x80;
    SetWord(r, 26, 65535);
    auto d = DecodeStatus(r, 0);
    EXPECT_EQ(d.MainD, (std::array<int, 4>{meter::BlankGlyph, 5, 3, 5}));
    // Raw digit bytes above 9 (garbage from the meter).
    r = Reply();
    SetDigits(r, 255, 255, 255, 255);
    d = DecodeStatus(r, 0);
    EXPECT_EQ(d.value, 255 * 1111);
    for (int g : d.MainD)
        EXPECT_TRUE(g >= 0 && g <= meter::BlankGlyph);
}

TEST(StatusBar, WidthGrowsThreePixelsPerTwoDecibelsWithoutUpperClamp)
{
    EXPECT_EQ(meter::LevelBarWidth(0), 4);
    EXPECT_EQ(meter::LevelBarWidth(300), 4);
    EXPECT_EQ(meter::LevelBarWidth(301), 4);
    EXPECT_EQ(meter::LevelBarWidth(320), 7);
    EXPECT_EQ(meter::LevelBarWidth(1300), 154);
    EXPECT_EQ(meter::LevelBarWidth(1400), 169);
    TReplyBlock r = Reply();
    SetDigits(r, 1, 3, 0, 0);
    EXPECT_EQ(DecodeStatus(r, 0).imgColorBarWidth, 154);
}

TEST(StatusClock, DrawsOnANewSecondOnlyAndStopsAtTheFirstNonBcdByte)
{
    TReplyBlock r = Reply();
    auto d = DecodeStatus(r, 0x29);
    ASSERT_TRUE(d.clockChanged);
    EXPECT_EQ(d.clockFieldsDrawn, 6);
    EXPECT_EQ(d.clock[meter::ClockHours].tens, 1);
    EXPECT_EQ(d.clock[meter::ClockHours].units, 2);
    EXPECT_EQ(d.clock[meter::ClockSeconds].tens, 3);
    EXPECT_EQ(d.clock[meter::ClockYear].units, 6);
    EXPECT_EQ(d.clock[meter::ClockMonth].tens, 1);
    EXPECT_EQ(d.clock[meter::ClockDay].units, 8);
    EXPECT_EQ(d.clockLastSecond, 0x30);

    d = DecodeStatus(r, 0x30);
    EXPECT_FALSE(d.clockChanged);
    EXPECT_EQ(d.clockFieldsDrawn, 0);
    EXPECT_EQ(d.clockLastSecond, 0x30);

    r[16] = 0x3F; // minutes unreadable: hours drawn, the rest kept as it was
    d = DecodeStatus(r, 0x29);
    EXPECT_EQ(d.clockFieldsDrawn, 1);
    EXPECT_EQ(d.clockLastSecond, 0x30) << "the remembered second still advances";
    r[16] = 0x34;
    r[19] = 0xA1; // month unreadable: time and year drawn
    EXPECT_EQ(DecodeStatus(r, 0x29).clockFieldsDrawn, 4);
}

TEST(StatusClock, Byte5AResetsTheClockAndRemembersSecondTwo)
{
    TReplyBlock r = Reply();
    r[15] = 0x5A;
    auto d = DecodeStatus(r, 0x30);
    EXPECT_TRUE(d.clockReset);
    EXPECT_EQ(d.clockFieldsDrawn, 0);
    EXPECT_EQ(d.clockLastSecond, 2);

    r[15] = 0x02; // the next reply with second 02 is not drawn either
    d = DecodeStatus(r, d.clockLastSecond);
    EXPECT_FALSE(d.clockChanged);
    EXPECT_EQ(d.clockFieldsDrawn, 0);

    r[15] = 0x03;
    r[17] = 0x5A; // in the hours byte too, once the second moved
    EXPECT_TRUE(DecodeStatus(r, 2).clockReset);
    EXPECT_FALSE(DecodeStatus(r, 0x03).clockReset) << "same second: not looked at";
}

TEST(StatusIndicators, RecordingSymbolNeedsBitSixAndMaxMinStateNeedsBitTwo)
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
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::HideLabels);
    r[1] = 0x04;
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::Blink);
    r[4] = 0x00;
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::StopTimer);
    r[4] = 0x33;
    EXPECT_EQ(DecodeStatus(r, 0).maxMin, TMaxMinAction::NoChange);
}

TEST(StatusIndicators, EachFlagBitSetsItsOwnIndicator)
{
    TReplyBlock r = Reply();
    r[1] = 0xD9; // REC, dBA, FAST, UNDER, OVER (bits 0, 3, 4, 6, 7)
    r[2] = 0x10; // FULL
    auto d = DecodeStatus(r, 0);
    EXPECT_TRUE(d.lblREC && d.meterRecording && d.lbldBA && d.lblFAST && d.imgUNDER && d.imgOVER &&
                d.lblFULL);
    EXPECT_FALSE(d.lbldBC || d.lblSLOW || d.meterLeqMode || d.imgLEQ);
    EXPECT_TRUE(d.imgSPL);

    r[1] = 0x26; // bits 1, 2 and 5 only: MAX/MIN mode, nothing shown by the others
    r[2] = 0x2F;
    d = DecodeStatus(r, 0);
    EXPECT_FALSE(d.lblREC || d.meterRecording || d.lbldBA || d.lblFAST || d.imgUNDER || d.imgOVER ||
                 d.lblFULL);
    EXPECT_TRUE(d.lbldBC && d.lblSLOW);
}
