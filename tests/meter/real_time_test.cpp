// The texts and rules of real-time sampling that need no window: the
// recording period of the set-up dialog and the rate checks.
// The runs themselves are tested over a real chart in tests/meter_windows.
#include "meter/real_time.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"

#include <gtest/gtest.h>

#include <limits>

using meter::RecordingPeriodText;

TEST(RealTimePeriod, CountTimesRateAsHoursMinutesSeconds)
{
    const struct {
        const char *count, *rate, *period;
    } rows[] = {
        {" 2000", "0.5", "0:16:40"},
        {"99999", "30.0", "833:19:30"}, // hours have no two-digit limit
        {"3", "0.3", "0:00:01"}, // 0.9 s (the rate held in single precision) to the nearest second
        {"1", "0.4", "0:00:00"},
        {"99999", "86400", "2399976:00:00"},
        // A count that does not read counts as 0.
        {"", "1.0", "0:00:00"},
        {"12 4", "1.0", "0:00:00"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(RecordingPeriodText(r.count, r.rate), r.period) << r.count << " x " << r.rate;
    // A rate that does not read, or that no run takes, shows 0:00:00 until it does.
    for (const char *rate : {"", "abc", "1,5", "-2.0", "0", "nan", "1e300", "86400.5"})
        EXPECT_EQ(RecordingPeriodText("2000", rate), "0:00:00") << rate;

    // The rate is read with the settings' decimal separator.
    rtl::TFormatSettings comma = rtl::CLikeFormatSettings();
    comma.DecimalSeparator = ',';
    const rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::SetFormatSettings(comma);
    EXPECT_EQ(RecordingPeriodText("2000", "0,5"), "0:16:40");
    EXPECT_EQ(RecordingPeriodText("2000", "0.5"), "0:00:00");
    rtl::SetFormatSettings(saved);

    // The dialog opens with 2000 readings, without leading zeros.
    EXPECT_EQ(meter::InitialPeriodText(0.5), "0:16:40");
    EXPECT_EQ(meter::InitialPeriodText(std::numeric_limits<double>::quiet_NaN()), "0:0:0");
}

TEST(RealTimeRate, OnlyFiniteRatesUpToADayAreUsed)
{
    EXPECT_TRUE(meter::ValidRealTimeRate(0.001));
    EXPECT_TRUE(meter::ValidRealTimeRate(86400.0));
    for (double bad : {0.0, -1.0, 86400.01, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(meter::ValidRealTimeRate(bad)) << bad;
        EXPECT_EQ(meter::UsableRealTimeRate(bad), 1.0) << bad;
    }
    EXPECT_EQ(meter::UsableRealTimeRate(2.5), 2.5);
}

TEST(RealTimeTime, SampleTimesRoundUpOnlyAboveHalfASecond)
{
    const rtl::TDateTime noon = rtl::EncodeDate(2024, 3, 5) + rtl::EncodeTime(12, 0, 0, 0);
    rtl::SetFormatSettings(rtl::CLikeFormatSettings());
    EXPECT_EQ(meter::FormatSampleTime(noon + 500 / rtl::MSecsPerDay), "3/5/2024 12:00:00 PM");
    EXPECT_EQ(meter::FormatSampleTime(noon + 501 / rtl::MSecsPerDay), "3/5/2024 12:00:01 PM");
}
