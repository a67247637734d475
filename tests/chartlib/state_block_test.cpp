#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/chartlib.h"
#include "platform/chartlib/state_block.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

using namespace chartlib;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A chart with settings, data and annotations of every kind.
HCHART FilledChart()
{
    HCHART h = ChartCreate(304, 0, nullptr, 0, 12111);
    ChartSetInt(h, prop::Subsets, 2);
    ChartSetInt(h, prop::Points, 6);
    for (int p = 0; p < 6; ++p) {
        ChartSetElement2D(h, prop::XDataII, 0, p, 46000.5 + p / 86400.0);
        ChartSetElement2D(h, prop::YData, 0, p, 60.0f + float(p) * 0.1f);
    }
    ChartSetElement2D(h, prop::YDataII, 1, 3, 9999.0);
    ChartSetElement2D(h, prop::PointColors, 1, 2, std::int32_t(0xFF00FF00u));
    ChartSetElement2D(h, prop::DataPointLabels, 0, 1, u"peak");
    ChartSetInt(h, 3032, 2);                         // a setting
    ChartSetInt(h, 2320, std::int32_t(0xFFBEBEBEu)); // a colour
    ChartSetProperty(h, 3055, 30.0);
    ChartSetProperty(h, 2634, 1.5f);
    ChartSetString(h, 2105, u"Main \u00e9");
    ChartSetString(h, 2110, u"");
    ChartSetElement(h, 3291, 5, 46000.5);         // graph annotation X
    ChartSetElement(h, 3292, 5, 85.0);            // Y
    ChartSetElement(h, 3246, 5, std::int32_t(2)); // type
    ChartSetElement(h, 3293, 5, u"mark\r\nline");
    ChartSetElement(h, 3218, 1, 46000.5); // vertical line (cursor)
    ChartSetElement(h, 3188, 0, 1.25f);
    ChartSetElement2D(h, 2954, 1, 1, u"table");
    std::uint8_t blob[3] = {1, 2, 3};
    ChartSetProperty(h, 2001, std::span<const std::uint8_t>(blob));
    return h;
}

void FixCrc(Bytes &b)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    std::uint32_t len = b[8] | (b[9] << 8) | (b[10] << 16) | (std::uint32_t(b[11]) << 24);
    crc = crc32(crc, b.data() + 16, uInt(len - 16));
    for (int k = 0; k < 4; ++k)
        b[std::size_t(12 + k)] = std::uint8_t(crc >> (8 * k));
}

} // namespace

TEST(ChartStateBlock, RoundTripIsBitExactAndIgnoresTrailingBytes)
{
    HCHART a = FilledChart();
    Bytes block = ChartStoreState(a);
    ASSERT_GT(block.size(), 16u);
    HCHART b = ChartCreate(304, 0, nullptr, 0, 12111);
    ASSERT_TRUE(ChartLoadState(b, block));
    EXPECT_EQ(ChartStoreState(b), block);

    EXPECT_EQ(ChartGetInt(b, prop::Subsets), 2);
    EXPECT_EQ(ChartGetInt(b, 3032), 2);
    double d;
    float f;
    ChartGetElement2D(b, prop::XDataII, 0, 5, d);
    EXPECT_EQ(d, 46000.5 + 5 / 86400.0);
    ChartGetElement2D(b, prop::YData, 0, 4, f);
    EXPECT_EQ(f, 60.0f + 4 * 0.1f);
    ChartGetProperty(b, 2634, f);
    EXPECT_EQ(f, 1.5f);
    char16_t buf[32];
    ChartGetElement(b, 3293, 5, buf, 32);
    EXPECT_EQ(std::u16string(buf), u"mark\r\nline");
    ChartGetElement2D(b, prop::DataPointLabels, 0, 1, buf, 32);
    EXPECT_EQ(std::u16string(buf), u"peak");
    ChartGetString(b, 2105, buf, 32);
    EXPECT_EQ(std::u16string(buf), u"Main \u00e9");
    EXPECT_TRUE(ChartFind(b)->Has(2110)); // the empty text was written, and stays written

    // Bytes after the block are ignored.
    Bytes longer = block;
    longer.insert(longer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    HCHART c = ChartCreate(304, 0, nullptr, 0, 1);
    ASSERT_TRUE(ChartLoadState(c, longer));
    EXPECT_EQ(ChartStoreState(c), block);
    ChartDestroy(c);
    ChartDestroy(a);
    ChartDestroy(b);
}

TEST(ChartStateBlock, TransientValuesAreNeitherStoredNorReplaced)
{
    HCHART a = FilledChart();
    ChartSetInt(a, prop::DialogResult, 1);
    ChartSetInt(a, prop::NotifyWindow, 0x4242);
    HotSpotRecord hs{};
    hs.type = 5;
    ChartFind(a)->SetRecord(prop::HotSpotData, hs);
    Bytes withTransient = ChartStoreState(a);
    ChartSetInt(a, prop::DialogResult, 0);
    ChartSetInt(a, prop::NotifyWindow, 0);
    ChartFind(a)->SetRecord(prop::HotSpotData, HotSpotRecord{});
    EXPECT_EQ(ChartStoreState(a), withTransient);

    HCHART b = ChartCreate(304, 0, nullptr, 0, 12111);
    ChartSetInt(b, prop::NotifyWindow, 0x777);
    ASSERT_TRUE(ChartLoadState(b, withTransient));
    EXPECT_EQ(ChartGetInt(b, prop::NotifyWindow), 0x777);
    EXPECT_EQ(ChartGetInt(b, prop::DialogResult), 0);
    EXPECT_EQ(ChartGetInt(b, prop::ObjectType), 304);
    ChartDestroy(a);
    ChartDestroy(b);
}

TEST(ChartStateBlock, DamageChangesNothing)
{
    HCHART a = FilledChart();
    Bytes block = ChartStoreState(a);
    HCHART b = ChartCreate(304, 0, nullptr, 0, 1);
    ChartSetString(b, 2105, u"before");
    ChartSetInt(b, prop::Points, 3);
    ChartSetElement2D(b, prop::YDataII, 0, 2, 1.5);
    const Bytes before = ChartStoreState(b);

    for (std::size_t k = 0; k < block.size(); ++k) {
        Bytes bad = block;
        bad[k] ^= 0x5A;
        EXPECT_FALSE(ChartLoadState(b, bad)) << "flipped byte " << k;
    }
    for (std::size_t n = 0; n < block.size(); ++n)
        EXPECT_FALSE(ChartLoadState(b, std::span(block.data(), n))) << "cut to " << n;
    EXPECT_FALSE(ChartLoadState(b, {}));
    EXPECT_FALSE(ChartLoadState(0, block));
    EXPECT_EQ(ChartStoreState(b), before);
    ChartDestroy(a);
    ChartDestroy(b);
}

TEST(ChartStateBlock, WellSummedButImpossibleContentIsRefused)
{
    HCHART a = ChartCreate(304, 0, nullptr, 0, 1);
    ChartSetInt(a, prop::Subsets, 1);
    ChartSetInt(a, prop::Points, 2);
    ChartSetElement2D(a, prop::XDataII, 0, 1, 1.0);
    Bytes block = ChartStoreState(a);
    // Data record payload: subsets at 28, points at 32.
    ASSERT_EQ(block[16], 1);
    HCHART b = ChartCreate(304, 0, nullptr, 0, 1);
    const Bytes before = ChartStoreState(b);

    Bytes bad = block;
    bad[32] = 1; // one point, but a row of two values follows
    FixCrc(bad);
    EXPECT_FALSE(ChartLoadState(b, bad));
    bad = block;
    bad[31] = 0x80; // negative subset count
    FixCrc(bad);
    EXPECT_FALSE(ChartLoadState(b, bad));
    bad = block;
    bad[8] = std::uint8_t(bad[8] - 1); // length shorter than the records
    FixCrc(bad);
    EXPECT_FALSE(ChartLoadState(b, bad));
    // A record for a transient id is not accepted.
    ChartSetInt(a, 3006, 1);
    bad = ChartStoreState(a);
    std::size_t at = bad.size() - 16; // the int record: tag, 3 reserved, id, length, value
    ASSERT_EQ(bad[at], 2);
    bad[at + 4] = prop::DialogResult & 0xFF;
    bad[at + 5] = prop::DialogResult >> 8;
    FixCrc(bad);
    EXPECT_FALSE(ChartLoadState(b, bad));
    // A block without a data record is not a chart.
    bad = Bytes(block.begin(), block.begin() + 16);
    bad[8] = 16;
    bad[9] = bad[10] = bad[11] = 0;
    FixCrc(bad);
    EXPECT_FALSE(ChartLoadState(b, bad));
    EXPECT_EQ(ChartStoreState(b), before);
    ChartDestroy(a);
    ChartDestroy(b);
}
