// Decoding logger images into the data-set store and the data-set grid rows.
#include "meter/logger_data.h"

#include "platform/usb/sim/logger_image_builder.h"

#include <gtest/gtest.h>

#include <numeric>

using usb::TLoggerImageBuilder;
using usb::TLoggerSetSpec;

namespace {

// Fixed clock and C-like format settings, so the fallbacks and texts are known.
class LoggerDecode : public ::testing::Test {
protected:
    LoggerDecode()
        : FClock(rtl::EncodeDate(2026, 3, 4) + rtl::EncodeTime(5, 6, 7, 0)), FScope(FClock)
    {
        rtl::SetFormatSettings(rtl::CLikeFormatSettings());
    }

    int Decode(const TLoggerImage &image, int lastAddress)
    {
        return DecodeLoggerData(image, lastAddress, Store, Rows);
    }
    int Decode(const TLoggerImageBuilder &builder)
    {
        return Decode(builder.Build(), static_cast<int>(builder.LastAddress()));
    }

    // The relations between the vectors that every decode must leave.
    void ExpectConsistent() const
    {
        const size_t sets = Store.FSetStart.size();
        for (size_t size :
             {Store.FSetInterval.size(), Store.FSetCount.size(), Store.FSetFlags.size(),
              Store.FSetBegin.size(), Store.FSetEnd.size(), Store.FSetMaxIndex.size(),
              Store.FSetMinIndex.size(), Store.FSetMean.size(), Rows.size()})
            EXPECT_EQ(size, sets);
        const size_t samples =
            std::accumulate(Store.FSetCount.begin(), Store.FSetCount.end(), size_t{0});
        EXPECT_EQ(Store.FDataLevels.size(), samples);
        EXPECT_EQ(Store.FDataTimes.size(), samples);
        if (sets > 0) {
            EXPECT_EQ(Store.FSetBegin[0], 256);
        }
        for (size_t n = 1; n < sets; ++n)
            EXPECT_EQ(Store.FSetBegin[n], Store.FSetEnd[n - 1] + 1);
    }

    std::vector<float> Levels(int set) const
    {
        const auto first = Store.FDataLevels.begin() + Store.SampleOffset(set);
        return {first, first + Store.FSetCount[static_cast<size_t>(set)]};
    }

    rtl::FakeClock FClock;
    rtl::ScopedClock FScope;
    TDataSetStore Store;
    std::vector<TDataSetGridRow> Rows;
};

TLoggerSetSpec SetOf(std::vector<uint16_t> samples)
{
    TLoggerSetSpec s;
    s.Samples = std::move(samples);
    return s;
}

TEST_F(LoggerDecode, SetCountLimits)
{
    TLoggerImageBuilder good;
    good.AddSimpleSet(5);
    good.AddSimpleSet(7);
    ASSERT_EQ(Decode(good), ldOk);
    const TDataSetStore before = Store;
    const auto rowsBefore = Rows;

    TLoggerImageBuilder none;
    EXPECT_EQ(Decode(none), ldNoDataSets);
    TLoggerImageBuilder tooMany;
    tooMany.AddSimpleSet(1);
    tooMany.SetDeclaredSetCount(4001);
    EXPECT_EQ(Decode(tooMany), ldTooManySets);
    EXPECT_EQ(Decode(TLoggerImage(9, 0xFF), 0xFFFFFF), ldNoDataSets); // no bytes 9..10

    EXPECT_EQ(Store.FSetCount, before.FSetCount);
    EXPECT_EQ(Store.FDataLevels, before.FDataLevels);
    EXPECT_EQ(Store.FSetStart, before.FSetStart);
    EXPECT_EQ(Rows, rowsBefore);

    TLoggerImageBuilder most;
    for (int i = 0; i < 4000; ++i)
        most.AddSimpleSet(i % 4);
    EXPECT_EQ(Decode(most), ldOk);
    EXPECT_EQ(Store.SetCount(), 4000);
    EXPECT_EQ(Rows.back()[0], "4000");
    EXPECT_EQ(Store.FSetCount[3999], 3);
    ExpectConsistent();
}

TEST_F(LoggerDecode, SecondDecodeReplacesEverything)
{
    TLoggerImageBuilder first;
    first.AddSimpleSet(10, 700);
    first.AddSimpleSet(20, 800);
    first.AddSimpleSet(30, 900);
    ASSERT_EQ(Decode(first), ldOk);
    TLoggerImageBuilder second;
    second.AddSimpleSet(4, 500);
    ASSERT_EQ(Decode(second), ldOk);
    EXPECT_EQ(Store.FDataLevels, std::vector<float>(4, 50.0f));
    EXPECT_EQ(Store.FDataTimes.size(), 4u);
    EXPECT_EQ(Store.SetCount(), 1);
    EXPECT_EQ(Rows.size(), 1u);
    ExpectConsistent();
}

TEST_F(LoggerDecode, PageRuleSizesBySearch)
{
    // First set ends at 499, so the second begins at 500: its count field
    // starts at 511, the last byte of a page.
    TLoggerImageBuilder b;
    b.AddSimpleSet(TLoggerImageBuilder::SamplesToReach(256, 500));
    // The stored count (6) is right, but a sample-aligned 0x5A 0xA5 inside
    // the samples ends the set for the search.
    ASSERT_EQ(b.AddSet(SetOf({600, 600, 0x5AA5, 600, 600, 600})), 500u);
    b.SetDeclaredSetCount(2);
    EXPECT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetCount[1], 2);
    EXPECT_EQ(Store.FSetEnd[1], 500 + 16 + 4 + 1);
    ExpectConsistent();
}

TEST_F(LoggerDecode, PageRuleWithoutEndMarker)
{
    TLoggerImageBuilder b;
    b.AddSimpleSet(TLoggerImageBuilder::SamplesToReach(256, 500));
    TLoggerSetSpec damaged = SetOf({600, 600});
    damaged.EndMarker = false;
    b.AddSet(damaged);
    b.AddSimpleSet(3);
    b.SetDeclaredSetCount(3);
    b.SetLastAddress(540); // the third set's end marker lies beyond the search
    EXPECT_EQ(Decode(b), ldBeyondLastAddress);
    EXPECT_EQ(Store.FSetCount[1], 0);
    EXPECT_EQ(Store.FSetEnd[1], 516);
    EXPECT_EQ(Store.FSetBegin[2], 517);
    ExpectConsistent();

    // Only the page-case set: markers missing, but within the last address.
    b.SetDeclaredSetCount(2);
    EXPECT_EQ(Decode(b), ldBadMarkers);
    // The same set with b + 16 beyond the last used address.
    b.SetLastAddress(515);
    EXPECT_EQ(Decode(b.Build(), 515), ldBeyondLastAddress);
}

TEST_F(LoggerDecode, WrongCountReplacedByAlignedEnd)
{
    TLoggerImageBuilder b;
    // Bytes 00 5A A5 00: an odd-aligned 0x5A 0xA5 that must not end the set.
    TLoggerSetSpec s = SetOf({0x005A, 0xA500, 700, 700});
    s.StoredCount = 50;
    b.AddSet(s);
    b.AddSimpleSet(2);
    EXPECT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetCount[0], 4);
    EXPECT_EQ(Store.FSetEnd[0], 256 + 17 + 8);
    EXPECT_EQ(Store.FSetCount[1], 2);
    EXPECT_EQ(Rows[0][4], "4");

    // A count that matches no end and no end to find: kept as stored, and the
    // set is reported damaged.
    TLoggerImageBuilder c;
    TLoggerSetSpec broken = SetOf({700, 700});
    broken.StoredCount = 3;
    broken.EndMarker = false;
    c.AddSet(broken);
    EXPECT_EQ(Decode(c.Build(), 400), ldBadMarkers);
    EXPECT_EQ(Store.FSetCount[0], 3);
}

TEST_F(LoggerDecode, LevelsAndStatistics)
{
    TLoggerImageBuilder b;
    b.AddSet(SetOf({0x00C8, 0x0578, 0x0579, 0xF0C8, 0x00C7}));
    b.AddSet(SetOf({500, 700, 700, 300, 300, 650}));
    b.AddSet(SetOf({0, 0, 0}));
    b.AddSet(SetOf({}));
    ASSERT_EQ(Decode(b), ldOk);

    EXPECT_EQ(Levels(0), (std::vector<float>{20.0f, 140.0f, 0.0f, 20.0f, 0.0f}));
    EXPECT_EQ(Store.FSetMaxIndex[0], 1);
    EXPECT_EQ(Store.FSetMinIndex[0], 2); // the first level stored as 0
    EXPECT_DOUBLE_EQ(Store.FSetMean[0], 180.0 / 5);

    EXPECT_EQ(Store.FSetMaxIndex[1], 1); // first of equal extremes
    EXPECT_EQ(Store.FSetMinIndex[1], 3);
    EXPECT_NEAR(Store.FSetMean[1], 52.5, 1e-5);

    EXPECT_EQ(Store.FSetMaxIndex[2], 0);
    EXPECT_EQ(Store.FSetMinIndex[2], 0);
    EXPECT_EQ(Store.FSetMean[2], 0.0);
    EXPECT_EQ(Store.FSetMean[3], 0.0);
    EXPECT_EQ(Store.SampleOffset(3), 14);
    ExpectConsistent();
}

TEST_F(LoggerDecode, IntervalsAndSampleTimes)
{
    TLoggerImageBuilder b;
    for (uint8_t interval : {61, 60, 0, 2}) {
        TLoggerSetSpec s = SetOf({600, 600, 600});
        s.Interval = interval;
        b.AddSet(s);
    }
    ASSERT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetInterval, (std::vector<int>{2, 60, 0, 2}));
    EXPECT_EQ(Rows[0][3], "00:02");
    EXPECT_EQ(Rows[1][3], "01:00");
    EXPECT_EQ(Rows[2][3], "00:00");
    EXPECT_EQ(IntervalText(59), "00:59");
    EXPECT_EQ(IntervalText(600), "10:00");

    const double start = Store.FSetStart[2];
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(Store.FDataTimes[static_cast<size_t>(6 + k)], start);
    const int first = Store.SampleOffset(1);
    EXPECT_NEAR(Store.FDataTimes[static_cast<size_t>(first + 2)] - Store.FSetStart[1],
                120 / rtl::SecsPerDay, 1e-9);
}

TEST_F(LoggerDecode, StartDateTimeAndRowTexts)
{
    TLoggerImageBuilder b;
    TLoggerSetSpec plain = SetOf({600, 600, 600});
    plain.Flags = 0x03;
    b.AddSet(plain);
    TLoggerSetSpec badSecond = plain;
    badSecond.DateBytes = {0x24, 0x01, 0x15, 0x10, 0x30, 0x5A};
    badSecond.Flags = 0x00;
    b.AddSet(badSecond);
    TLoggerSetSpec badMonth = plain;
    badMonth.DateBytes = {0x24, 0x13, 0x15, 0x10, 0x30, 0x00};
    b.AddSet(badMonth);
    TLoggerSetSpec badYear = plain;
    badYear.DateBytes = {0xFA, 0x02, 0x28, 0x23, 0x59, 0x59};
    b.AddSet(badYear);
    TLoggerSetSpec feb29 = plain;
    feb29.DateBytes = {0x25, 0x02, 0x29, 0x00, 0x00, 0x00}; // 2025 is no leap year
    b.AddSet(feb29);
    ASSERT_EQ(Decode(b), ldOk);

    const double now = FClock.Now();
    EXPECT_EQ(Store.FSetStart[0], rtl::EncodeDate(2024, 1, 15) + rtl::EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(Store.FSetStart[1], rtl::EncodeDate(2024, 1, 15) + rtl::EncodeTime(10, 30, 7, 0));
    EXPECT_EQ(Store.FSetStart[2], now);
    EXPECT_EQ(Store.FSetStart[3], rtl::EncodeDate(2026, 2, 28) + rtl::EncodeTime(23, 59, 59, 0));
    EXPECT_EQ(Store.FSetStart[4], now);

    EXPECT_EQ(Rows[0], (TDataSetGridRow{"1", "1/15/2024", "10:30:00", "00:01", "3", "dBA", "FAST",
                                        "30-130"}));
    EXPECT_EQ(Rows[1][5], "dBC");
    EXPECT_EQ(Rows[1][6], "SLOW");
    EXPECT_EQ(Rows[2][1], "3/4/2026");
    EXPECT_EQ(Rows[2][2], "05:06:07");
}

TEST_F(LoggerDecode, FallbackStartIsShownRounded)
{
    FClock.SetNow(rtl::EncodeDate(2026, 12, 31) + rtl::EncodeTime(23, 59, 59, 700));
    TLoggerImageBuilder b;
    TLoggerSetSpec s = SetOf({600});
    s.DateBytes = {0x24, 0x13, 0x01, 0x00, 0x00, 0x00};
    b.AddSet(s);
    ASSERT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Rows[0][1], "1/1/2027");
    EXPECT_EQ(Rows[0][2], "00:00:00");
}

TEST_F(LoggerDecode, CellTextsFollowFormatSettings)
{
    rtl::TFormatSettings fs = rtl::CLikeFormatSettings();
    fs.TimeSeparator = '.';
    fs.ShortDateFormat = "dd.mm.yyyy";
    rtl::SetFormatSettings(fs);
    for (double t : {0.0, 0.5, 0.999988425925926, 0.0416666666666667, 0.7, 0.1234567}) {
        const double dt = rtl::EncodeDate(2025, 7, 9) + t;
        EXPECT_EQ(DataSetTimeText(dt), rtl::FormatDateTime("hh:nn:ss", logger::ShownDateTime(dt)));
    }
    EXPECT_EQ(DataSetTimeText(rtl::EncodeTime(7, 8, 9, 0)), "07.08.09");
    EXPECT_EQ(DataSetDateText(rtl::EncodeDate(2025, 7, 9)), "09.07.2025");
    rtl::SetFormatSettings(rtl::CLikeFormatSettings());
}

TEST_F(LoggerDecode, MarkerAndBoundCodes)
{
    TLoggerImageBuilder b;
    TLoggerSetSpec noStart = SetOf({600, 600});
    noStart.StartMarker = false;
    b.AddSet(noStart);
    b.AddSimpleSet(2);
    EXPECT_EQ(Decode(b), ldBadMarkers);
    EXPECT_EQ(Store.SetCount(), 2);
    EXPECT_EQ(Levels(0), (std::vector<float>{60.0f, 60.0f}));

    // The later failure decides: a bound failure after a marker failure.
    TLoggerImage image = b.Build();
    EXPECT_EQ(Decode(image, static_cast<int>(b.LastAddress()) - 1), ldBeyondLastAddress);
}

// Damaged counts and short images: every byte read must lie inside the
// image (this suite runs under AddressSanitizer in the sanitized build).
TEST_F(LoggerDecode, NoReadOutsideImage)
{
    TLoggerImageBuilder b;
    TLoggerSetSpec huge = SetOf({600, 600, 600, 600});
    huge.StoredCount = 0xFFFFFF;
    huge.EndMarker = false;
    b.AddSet(huge);
    b.AddSimpleSet(3);
    b.SetDeclaredSetCount(4000);
    b.SetLastAddress(0xFFFFFF);
    const TLoggerImage image = b.Build(b.NextOffset());
    ASSERT_EQ(Decode(image, 0xFFFFFF), ldBadMarkers);
    // The search found the second set's end marker and took it as the first's end.
    EXPECT_EQ(Store.FSetCount[0], 16);
    ExpectConsistent();
    EXPECT_LE(Store.FDataLevels.size(), image.size() / 2);

    // A count far past the image with nothing to find: only samples inside count.
    TLoggerImageBuilder c;
    TLoggerSetSpec lone = SetOf({600, 600, 600});
    lone.StoredCount = 0xFFFFFF;
    lone.EndMarker = false;
    c.AddSet(lone);
    c.SetDeclaredSetCount(3);
    const TLoggerImage short_ = c.Build(c.NextOffset());
    EXPECT_EQ(Decode(short_, 0xFFFFFF), ldBeyondLastAddress);
    EXPECT_EQ(Store.FSetCount, (std::vector<int>{4, 0, 0}));
    EXPECT_EQ(Store.FSetEnd[0], 256 + 17 + 2 * 0xFFFFFF);
    ExpectConsistent();

    // Every cut of a good image, with its end at the last address and beyond.
    TLoggerImageBuilder d;
    d.AddSimpleSet(TLoggerImageBuilder::SamplesToReach(256, 500));
    d.AddSimpleSet(5);
    d.AddSimpleSet(1);
    const TLoggerImage full = d.Build();
    for (size_t size = 0; size <= full.size(); ++size) {
        const TLoggerImage cut(full.begin(), full.begin() + static_cast<ptrdiff_t>(size));
        for (int last : {static_cast<int>(size) - 1, static_cast<int>(size), 0xFFFFFF}) {
            const int result = Decode(cut, last);
            EXPECT_TRUE(result == ldNoDataSets || LoggerDecodeReplacedStore(result));
            ExpectConsistent();
        }
    }
}

} // namespace
