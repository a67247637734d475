// Decoding logger images into the data-set store and the data-set grid rows.
#include "meter/logger_data.h"

#include "platform/usb/sim/logger_image_builder.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>

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
        const auto &s = Store;
        const size_t sets = s.FSetStart.size();
        for (size_t size : {s.FSetInterval.size(), s.FSetCount.size(), s.FSetFlags.size(),
                            s.FSetBegin.size(), s.FSetEnd.size(), s.FSetMaxIndex.size(),
                            s.FSetMinIndex.size(), s.FSetMean.size(), Rows.size()})
            EXPECT_EQ(size, sets);
        const size_t samples = std::accumulate(s.FSetCount.begin(), s.FSetCount.end(), size_t{0});
        EXPECT_EQ(s.FDataLevels.size(), samples);
        EXPECT_EQ(s.FDataTimes.size(), samples);
        for (size_t n = 0; n < sets; ++n)
            EXPECT_EQ(s.FSetBegin[n], n == 0 ? 256 : s.FSetEnd[n - 1] + 1);
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

TLoggerSetSpec SetOf(std::vector<uint16_t> samples, uint8_t interval = 1,
                     std::optional<uint32_t> storedCount = {}, bool endMarker = true)
{
    TLoggerSetSpec s;
    s.Samples = std::move(samples);
    s.Interval = interval;
    s.StoredCount = storedCount;
    s.EndMarker = endMarker;
    return s;
}

TEST_F(LoggerDecode, SetCountLimitsAndReplacement)
{
    TLoggerImageBuilder most;
    for (int i = 0; i < 4000; ++i)
        most.AddSimpleSet(i % 4);
    ASSERT_EQ(Decode(most), ldOk);
    EXPECT_EQ(Store.SetCount(), 4000);
    EXPECT_EQ(Rows.back()[0], "4000");
    ExpectConsistent();
    const TDataSetStore before = Store;
    const auto rowsBefore = Rows;

    TLoggerImageBuilder tooMany;
    tooMany.AddSimpleSet(1);
    tooMany.SetDeclaredSetCount(4001);
    EXPECT_EQ(Decode(tooMany), ldTooManySets);
    EXPECT_EQ(Decode(TLoggerImageBuilder()), ldNoDataSets);
    EXPECT_EQ(Decode(TLoggerImage(9, 0xFF), 0xFFFFFF), ldNoDataSets); // no bytes 9..10
    EXPECT_EQ(Store.FSetCount, before.FSetCount);
    EXPECT_EQ(Store.FDataLevels, before.FDataLevels);
    EXPECT_EQ(Rows, rowsBefore);

    // A smaller second image leaves nothing of the first.
    TLoggerImageBuilder small;
    small.AddSimpleSet(4, 500);
    ASSERT_EQ(Decode(small), ldOk);
    EXPECT_EQ(Store.FDataLevels, std::vector<float>(4, 50.0f));
    EXPECT_EQ(Store.SetCount(), 1);
    ExpectConsistent();
}

TEST_F(LoggerDecode, PageRuleSizesBySearch)
{
    // The first set ends at 499, so the second's count field starts at 511,
    // the last byte of a page. Its stored count (6) is right, but the
    // sample-aligned 0x5A 0xA5 inside its samples ends it.
    TLoggerImageBuilder b;
    b.AddSimpleSet(TLoggerImageBuilder::SamplesToReach(256, 500));
    ASSERT_EQ(b.AddSet(SetOf({600, 600, 0x5AA5, 600, 600, 600})), 500u);
    b.SetDeclaredSetCount(2);
    EXPECT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetCount[1], 2);
    EXPECT_EQ(Store.FSetEnd[1], 500 + 16 + 4 + 1);

    // Without an end marker up to the last address: no samples, last byte
    // b + 16, the next set at b + 17.
    TLoggerImageBuilder c;
    c.AddSimpleSet(TLoggerImageBuilder::SamplesToReach(256, 500));
    c.AddSet(SetOf({600, 600}, 1, {}, false));
    c.AddSimpleSet(3);
    c.SetLastAddress(540); // the third set's end marker lies beyond the search
    EXPECT_EQ(Decode(c), ldBeyondLastAddress);
    EXPECT_EQ(Store.FSetCount[1], 0);
    EXPECT_EQ(Store.FSetEnd[1], 516);
    EXPECT_EQ(Store.FSetBegin[2], 517);
    ExpectConsistent();
    c.SetDeclaredSetCount(2);
    EXPECT_EQ(Decode(c), ldBadMarkers);
    EXPECT_EQ(Decode(c.Build(), 515), ldBeyondLastAddress); // b + 16 beyond the last address
}

TEST_F(LoggerDecode, CountsAndDamageCodes)
{
    // Bytes 00 5A A5 00: an odd-aligned 0x5A 0xA5 that must not end the set.
    TLoggerImageBuilder b;
    b.AddSet(SetOf({0x005A, 0xA500, 700, 700}, 1, 50));
    b.AddSimpleSet(2);
    EXPECT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetCount[0], 4);
    EXPECT_EQ(Store.FSetEnd[0], 256 + 17 + 8);
    EXPECT_EQ(Rows[0][4], "4");

    // A wrong count with a sample-aligned 0x5A 0xA5 among the samples: the
    // first such pair ends the set, not the set's own end marker.
    TLoggerImageBuilder f;
    f.AddSet(SetOf({700, 0x5AA5, 700, 700}, 1, 9));
    EXPECT_EQ(Decode(f), ldOk);
    EXPECT_EQ(Store.FSetCount[0], 1);
    EXPECT_EQ(Store.FSetEnd[0], 256 + 16 + 3);

    // No end where the count says and none to find: the count stays.
    TLoggerImageBuilder c;
    c.AddSet(SetOf({700, 700}, 1, 3, false));
    EXPECT_EQ(Decode(c.Build(), 400), ldBadMarkers);
    EXPECT_EQ(Store.FSetCount[0], 3);

    // A missing start marker, then a later bound failure: the later code wins.
    TLoggerImageBuilder d;
    TLoggerSetSpec noStart = SetOf({600, 600});
    noStart.StartMarker = false;
    d.AddSet(noStart);
    d.AddSimpleSet(2);
    EXPECT_EQ(Decode(d), ldBadMarkers);
    EXPECT_EQ(Levels(0), (std::vector<float>{60.0f, 60.0f}));
    EXPECT_EQ(Decode(d.Build(), static_cast<int>(d.LastAddress()) - 1), ldBeyondLastAddress);
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
    EXPECT_EQ(Store.FSetMaxIndex[2] + Store.FSetMinIndex[2], 0);
    EXPECT_EQ(Store.FSetMean[2] + Store.FSetMean[3], 0.0);
    EXPECT_EQ(Store.SampleOffset(3), 14);
    ExpectConsistent();

    // What a decode that ran out of memory keeps: the first sets whole.
    const std::vector<float> second = Levels(1);
    Store.KeepSets(2);
    Rows.resize(2);
    ExpectConsistent();
    EXPECT_EQ(Levels(1), second);
    EXPECT_EQ(Store.FDataLevels.size(), 11u);
}

TEST_F(LoggerDecode, IntervalsAndSampleTimes)
{
    TLoggerImageBuilder b;
    for (uint8_t interval : {61, 60, 0})
        b.AddSet(SetOf({600, 600, 600}, interval));
    ASSERT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetInterval, (std::vector<int>{2, 60, 0}));
    EXPECT_EQ(Rows[0][3], "00:02");
    for (size_t k = 6; k < 9; ++k)
        EXPECT_EQ(Store.FDataTimes[k], Store.FSetStart[2]);
    EXPECT_NEAR(Store.FDataTimes[5] - Store.FSetStart[1], 120 / rtl::SecsPerDay, 1e-9);
}

TEST_F(LoggerDecode, StartDateTimeAndRowTexts)
{
    TLoggerImageBuilder b;
    const std::array<uint8_t, 6> dates[] = {{0x24, 0x01, 0x15, 0x10, 0x30, 0x00},
                                            {0x24, 0x01, 0x15, 0x10, 0x30, 0x5A},  // second
                                            {0x24, 0x13, 0x15, 0x10, 0x30, 0x00},  // month 13
                                            {0xFA, 0x02, 0x28, 0x23, 0x59, 0x59}}; // year
    for (const auto &date : dates) {
        TLoggerSetSpec s = SetOf({600, 600, 600});
        s.DateBytes = date;
        s.Flags = b.SetsAdded() == 1 ? 0x00 : 0x03;
        b.AddSet(s);
    }
    ASSERT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Store.FSetStart[0], rtl::EncodeDate(2024, 1, 15) + rtl::EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(Store.FSetStart[1], rtl::EncodeDate(2024, 1, 15) + rtl::EncodeTime(10, 30, 7, 0));
    EXPECT_EQ(Store.FSetStart[2], FClock.Now());
    EXPECT_EQ(Store.FSetStart[3], rtl::EncodeDate(2026, 2, 28) + rtl::EncodeTime(23, 59, 59, 0));
    // The rows' other texts are checked on the golden logger images (tests/golden).
    EXPECT_EQ(Rows[2][1] + " " + Rows[2][2], "3/4/2026 05:06:07");

    // A fallback start with more than 500 ms is shown one second later.
    FClock.SetNow(rtl::EncodeDate(2026, 12, 31) + rtl::EncodeTime(23, 59, 59, 700));
    ASSERT_EQ(Decode(b), ldOk);
    EXPECT_EQ(Rows[2][1] + " " + Rows[2][2], "1/1/2027 00:00:00");

    // The time text is written directly; it must agree with the formatter.
    rtl::TFormatSettings fs = rtl::CLikeFormatSettings();
    fs.TimeSeparator = '.';
    rtl::SetFormatSettings(fs);
    for (double t : {0.0, 0.999988425925926, 0.0416666666666667, 0.1234567})
        EXPECT_EQ(DataSetTimeText(t), rtl::FormatDateTime("hh:nn:ss", rtl::RoundDisplaySeconds(t)));
    EXPECT_EQ(DataSetTimeText(rtl::EncodeTime(7, 8, 9, 0)), "07.08.09");
}

// Damaged counts and short images: every byte read must lie inside the
// image (this suite runs under AddressSanitizer in the sanitized build).
TEST_F(LoggerDecode, NoReadOutsideImage)
{
    // The search takes the next set's end marker as the first set's end.
    TLoggerImageBuilder b;
    b.AddSet(SetOf({600, 600, 600, 600}, 1, 0xFFFFFF, false));
    b.AddSimpleSet(3);
    b.SetDeclaredSetCount(4000);
    ASSERT_EQ(Decode(b.Build(b.NextOffset()), 0xFFFFFF), ldBadMarkers);
    EXPECT_EQ(Store.FSetCount[0], 16);
    ExpectConsistent();

    // A count far past the image with nothing to find: only samples inside count.
    TLoggerImageBuilder c;
    c.AddSet(SetOf({600, 600, 600}, 1, 0xFFFFFF, false));
    c.SetDeclaredSetCount(3);
    EXPECT_EQ(Decode(c.Build(c.NextOffset()), 0xFFFFFF), ldBeyondLastAddress);
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
