#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"

#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace rtl;

namespace {

// A European-style locale: decimal comma, day first, 24-hour clock.
TFormatSettings GermanLike()
{
    TFormatSettings fs = CLikeFormatSettings();
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    fs.DateSeparator = '.';
    fs.ShortDateFormat = "dd.MM.yyyy";
    fs.LongTimeFormat = "hh:mm:ss";
    fs.TimeAMString = "";
    fs.TimePMString = "";
    return fs;
}

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return ComposeDateTime(EncodeDate(y, mo, d), EncodeTime(h, mi, s, ms));
}

} // namespace

TEST(DateTime, EncodeDecodeEdges)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);

    TDateTime dt;
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, dt)); // 1900 is no leap year
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, dt));  // 2000 is
    for (auto [y, m, d] :
         {std::tuple{2023, 2, 29}, {2024, 4, 31}, {2024, 1, 0}, {0, 1, 1}, {10000, 1, 1}})
        EXPECT_FALSE(TryEncodeDate(y, m, d, dt)) << y << "-" << m << "-" << d;
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, dt));
    EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, dt));
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);

    int y, m, d, h, mi, s, ms;
    DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
    EXPECT_EQ((y * 10000 + m * 100 + d), 20240229);
    DecodeDate(2958466.0, y, m, d); // past 9999-12-31
    EXPECT_EQ(y, 0);

    // Before day 0 the time of day is the absolute fraction.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ((y * 10000 + m * 100 + d), 18991229);
    EXPECT_EQ(h, 6);
    TDateTime early = At(1899, 12, 29, 6);
    EXPECT_DOUBLE_EQ(early, -1.25);

    // Time of day survives the round trip, including the last millisecond.
    for (int msec : {0, 1, 499, 500, 501, 999}) {
        TDateTime t = At(2026, 12, 31, 23, 59, 59, msec);
        DecodeTime(t, h, mi, s, ms);
        EXPECT_EQ(ms, msec);
        EXPECT_EQ(s, 59);
        DecodeDate(t, y, m, d);
        EXPECT_EQ(d, 31);
    }

    EXPECT_EQ(DayOfWeek(0.0), 7);   // Saturday
    EXPECT_EQ(DayOfWeek(-1.25), 6); // Friday
}

TEST(DateTime, RoundDisplaySecondsOnlyAbove500)
{
    TDateTime t500 = At(2026, 1, 1, 12, 0, 0, 500);
    TDateTime t501 = At(2026, 1, 1, 12, 0, 0, 501);
    EXPECT_EQ(RoundDisplaySeconds(t500), t500);
    EXPECT_EQ(FormatDateTime("hh:nn:ss", RoundDisplaySeconds(t501)), "12:00:01");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss",
                             RoundDisplaySeconds(At(2026, 12, 31, 23, 59, 59, 999))),
              "2027-01-01 00:00:00");
}

TEST(FormatDateTime, Specifiers)
{
    const TFormatSettings c = CLikeFormatSettings();
    const TDateTime t = At(2024, 3, 5, 14, 7, 9, 45);
    const std::pair<const char *, const char *> formats[] = {
        {"h:m:s", "14:7:9"}, // m after h is minutes
        {"m/d/yy", "3/5/24"},
        {"ddd dddd mmm mmmm", "Tue Tuesday Mar March"},
        {"z zzz", "45 045"},
        {"h:nn am/pm a/p AM/PM", "2:07 pm p PM"},
        {"'at' hh \"o'clock\" mm", "at 14 o'clock 07"},
        {"dddddd", "Tuesday, March 5, 2024"},
        {"c", "3/5/2024 2:07:09 PM"}};
    for (auto [format, text] : formats)
        EXPECT_EQ(FormatDateTime(format, t, c), text) << format;
    EXPECT_EQ(FormatDateTime("hh ampm", At(2024, 1, 1, 0, 30), c), "12 AM");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 5), c), "3/5/2024");

    const TFormatSettings g = GermanLike();
    EXPECT_EQ(DateTimeToStr(t, g), "05.03.2024 14:07:09");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", t, g), "05.03.2024 14:07"); // '/' is the separator
    EXPECT_EQ(TimeToStr(EncodeTime(0, 0, 0, 0), g), "00:00:00");
}

TEST(StrToDateTime, FollowsTheLocaleOrderAndRejectsImpossibleDates)
{
    FakeClock clock(EncodeDate(2026, 6, 1));
    ScopedClock scoped(clock);
    const TFormatSettings c = CLikeFormatSettings();
    const TFormatSettings g = GermanLike();
    TDateTime dt = -1;
    ASSERT_TRUE(TryStrToDate("2/29/2024", dt, c));
    EXPECT_EQ(dt, EncodeDate(2024, 2, 29));
    ASSERT_TRUE(TryStrToDate("3/4", dt, c)); // this year
    EXPECT_EQ(dt, EncodeDate(2026, 3, 4));
    // Two-digit years fall in 1976 .. 2075 around 2026.
    const std::pair<const char *, TDateTime> dates[] = {{" 29.02.2024 ", EncodeDate(2024, 2, 29)},
                                                        {"1.2.75", EncodeDate(2075, 2, 1)},
                                                        {"1.2.76", EncodeDate(1976, 2, 1)}};
    for (auto [text, date] : dates) {
        ASSERT_TRUE(TryStrToDate(text, dt, g)) << text;
        EXPECT_EQ(dt, date) << text;
    }
    for (const char *bad : {"31.04.2024", "29.02.2023", "0.1.2024", "1.13.2024", "", "1.2.2024x",
                            "1/2/2024", "1.2.20245", "1.2.202"})
        EXPECT_FALSE(TryStrToDate(bad, dt, g)) << bad;

    ASSERT_TRUE(TryStrToTime("12:30 AM", dt, c));
    EXPECT_EQ(FormatDateTime("hh:nn", dt), "00:30");
    ASSERT_TRUE(TryStrToTime("1:05:02 pm", dt, c));
    EXPECT_EQ(FormatDateTime("hh:nn:ss", dt), "13:05:02");
    for (const char *bad : {"24:00", "12:60", "13:00 PM", "12", "1:2:3:4", "12:00 xx"})
        EXPECT_FALSE(TryStrToTime(bad, dt, c)) << bad;

    ASSERT_TRUE(TryStrToDateTime("05.03.2024 14:07:09", dt, g));
    EXPECT_EQ(DateTimeToStr(dt, g), "05.03.2024 14:07:09");
    EXPECT_FALSE(TryStrToDateTime("05.03.2024 25:00", dt, g));
}

TEST(Numbers, FloatTextInBothLocales)
{
    const TFormatSettings c = CLikeFormatSettings();
    const TFormatSettings g = GermanLike();
    EXPECT_EQ(FloatToStr(0.1 + 0.2, c), "0.3");
    EXPECT_EQ(FloatToStr(-2.5, g), "-2,5");
    EXPECT_EQ(FloatToStr(0.00001, c), "1E-5");
    EXPECT_EQ(FloatToStr(1e15, c), "1E15");
    EXPECT_EQ(FloatToStr(123456789012345.0, c), "123456789012345");
    EXPECT_EQ(FormatFloatFixed(-0.004, 2, c), "0.00");
    EXPECT_EQ(FormatFloatFixed(99.995, 2, g), "100,00");

    double v = 0;
    EXPECT_TRUE(TryStrToFloat(" 63,25 ", v, g));
    EXPECT_EQ(v, 63.25);
    EXPECT_TRUE(TryStrToFloat("-1,5e2", v, g));
    EXPECT_EQ(v, -150.0);
    for (const char *bad : {"63.25", "63,25x", "", ",", "1e", "nan", "inf", "1,2,3", "--1"})
        EXPECT_FALSE(TryStrToFloat(bad, v, g)) << bad;
}

// The fixed format rounds the exact binary value: only a true tie goes away
// from zero; a decimal tie stored a hair below stays down.
TEST(Numbers, LevelTextRoundsTheExactValue)
{
    const struct {
        double level;
        const char *text;
    } cases[] = {
        {0.15, "0.1"},         // 0.14999999999999999444...
        {0.25, "0.3"},         // exact tie
        {63.15, "63.1"},       // 63.14999999999999857...
        {1263.0 / 20, "63.1"}, // a LEQ second's mean
        {63.25, "63.3"},       // exact tie
        {70.05, "70.0"},       // 70.04999999999999715...
        {1.15, "1.1"},         // 1.14999999999999991...
        {63.2499999, "63.2"},
        {99.95, "100.0"},                        // 99.95000000000000284..., carries
        {63.15f, "63.2"},                        // single precision, widened: 63.15000152...
        {70.05f, "70.1"},                        // 70.05000305...
        {static_cast<float>(631 * 0.1), "63.1"}, // a LEQ record's level
        {-0.05, "-0.1"},                         // -0.05000000000000000277...
        {-0.15, "-0.1"},
        {-63.25, "-63.3"},
        {-0.04, "0.0"},             // no "-0.0"
        {123456.75, "123456.8"},    // seven digits, exact tie
        {999999.95, "999999.9"},    // 999999.94999999995...
        {1234567.25, "1234567.0"},  // digits beyond seven read as zeros
        {12345678.9, "12345678.9"}, // too long for the fixed form
    };
    const TFormatSettings c = CLikeFormatSettings();
    for (const auto &k : cases)
        EXPECT_EQ(LevelText(k.level, c), k.text) << k.level;
    EXPECT_EQ(LevelText(63.25, GermanLike()), "63,3");
    EXPECT_EQ(FormatFloatFixed(1.005, 2, GermanLike()), "1,00"); // 1.00499999...
    EXPECT_EQ(FormatFloatFixed(1.125, 2, c), "1.13");
}

TEST(Clock, FakeClockMovesOnlyWhenTold)
{
    FakeClock fake(EncodeDate(2026, 12, 9) + 0.5, 5000);
    {
        ScopedClock scoped(fake);
        Clock &clk = GetClock();
        EXPECT_EQ(&clk, &fake);
        EXPECT_EQ(clk.MonotonicMs(), 5000);
        clk.SleepMs(1500);
        EXPECT_EQ(clk.MonotonicMs(), 6500);
        EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", clk.Now()), "12:00:01.500");
        fake.Advance(-10); // never backwards
        EXPECT_EQ(clk.MonotonicMs(), 6500);
    }
    EXPECT_NE(&GetClock(), static_cast<Clock *>(&fake));
}
