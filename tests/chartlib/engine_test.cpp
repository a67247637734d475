#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/chartlib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace chartlib;

namespace {

class Chart : public ::testing::Test {
protected:
    void SetUp() override { h = ChartCreate(304, 0, nullptr, 0, 12111); }
    void TearDown() override { ChartDestroy(h); }
    HCHART h = 0;
};

std::u16string ReadText(HCHART h, std::int32_t id, std::size_t cap = 1256)
{
    std::vector<char16_t> buf(cap, u'x');
    std::int32_t n = ChartGetString(h, id, buf.data(), buf.size());
    EXPECT_GE(n, 0);
    EXPECT_EQ(buf[std::size_t(n)], u'\0');
    return std::u16string(buf.data(), std::size_t(n));
}

// The value an element reads as, asked for as a T (-7 if the getter writes nothing).
template <class T = double> T At(HCHART h, std::int32_t id, std::int32_t i)
{
    T v = T(-7);
    ChartGetElement(h, id, i, v);
    return v;
}
template <class T = double> T At(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j)
{
    T v = T(-7);
    ChartGetElement2D(h, id, i, j, v);
    return v;
}

} // namespace

TEST(ChartHandles, CreateRecreateDestroy)
{
    HCHART h = ChartCreate(304, 0, nullptr, 0, 12111);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(ChartGetInt(h, prop::ObjectType), 304);
    ASSERT_TRUE(ChartSetInt(h, 3006, 7));
    // Re-creating as a child window keeps the handle and everything written before.
    ChartRect r{0, 0, 640, 480};
    EXPECT_EQ(ChartCreate(h, 0, &r, 0x1234, 100), h);
    EXPECT_EQ(ChartGetInt(h, 3006), 7);
    EXPECT_EQ(ChartFind(h)->Parent(), 0x1234u);
    EXPECT_EQ(ChartFind(h)->Rect().right, 640);

    HCHART other = ChartCreate(300, 0, nullptr, 0, 11111);
    EXPECT_NE(other, h);
    EXPECT_TRUE(ChartDestroy(h));
    // A stale handle names nothing: reads give 0, writes fail, it is not re-created.
    EXPECT_FALSE(ChartDestroy(h));
    EXPECT_FALSE(ChartSetInt(h, 3006, 1));
    EXPECT_EQ(ChartGetInt(h, 3006), 0);
    EXPECT_EQ(ChartCreate(h, 0, nullptr, 0, 1), 0u);
    EXPECT_EQ(ChartGetInt(other, 3006), 0);
    ChartDestroy(other);
    EXPECT_EQ(ChartCreate(0, 0, nullptr, 0, 1), 0u);
}

TEST(ChartHandles, OnlyTheKnownObjectTypesAreCreated)
{
    for (std::uint32_t type : {300u, 304u}) {
        HCHART h = ChartCreate(type, 0, nullptr, 0, 1);
        ASSERT_NE(h, 0u) << type;
        EXPECT_EQ(ChartGetInt(h, prop::ObjectType), std::int32_t(type));
        // Both hold any numbered property, the twin's own ones too.
        EXPECT_TRUE(ChartSetInt(h, 3355, 2));
        EXPECT_EQ(ChartGetInt(h, 3355), 2);
        ChartDestroy(h);
    }
    for (std::uint32_t type : {1u, 299u, 301u, 303u, 305u, 9999u})
        EXPECT_EQ(ChartCreate(type, 0, nullptr, 0, 1), 0u) << type;
}

// The round trip of each kind goes through every accessor in tests/chart.
TEST_F(Chart, UnwrittenScalarsReadZeroAndTheIdSpaceIsBounded)
{
    double d = 1;
    EXPECT_FALSE(ChartGetProperty(h, 3620, d)); // never written: 0, and the getter says so
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(ChartGetInt(h, 3050), 0);
    // A colour keeps all 32 bits.
    EXPECT_TRUE(ChartSetInt(h, 3036, std::int32_t(0xFF0000FFu)));
    EXPECT_EQ(std::uint32_t(ChartGetInt(h, 3036)), 0xFF0000FFu);
    // The object type is fixed; ids outside the id space are refused.
    EXPECT_FALSE(ChartSetInt(h, prop::ObjectType, 1));
    EXPECT_FALSE(ChartSetInt(h, 0, 1));
    EXPECT_FALSE(ChartSetInt(h, 0x10000, 1));
}

TEST_F(Chart, TextsAreCutAndCopiedSafely)
{
    std::u16string longText(1300, u'a');
    longText[1254] = u'b';
    longText[1255] = u'c';
    ASSERT_TRUE(ChartSetString(h, 2105, longText));
    std::u16string back = ReadText(h, 2105);
    EXPECT_EQ(back.size(), 1255u);
    EXPECT_EQ(back.back(), u'b');
    // A small buffer gets its capacity minus the NUL, never more.
    EXPECT_EQ(ReadText(h, 2105, 4), u"aaa");
    char16_t one[1] = {u'x'};
    EXPECT_EQ(ChartGetString(h, 2105, one, 1), 0);
    EXPECT_EQ(one[0], u'\0');
    EXPECT_EQ(ChartGetString(h, 2105, nullptr, 10), -1);
    EXPECT_EQ(ChartGetString(h, 2105, one, 0), -1);
    // A text is taken up to its first NUL; the empty text is a text.
    ASSERT_TRUE(ChartSetString(h, 2110, std::u16string(u"ab\0cd", 5)));
    EXPECT_EQ(ReadText(h, 2110), u"ab");
    ASSERT_TRUE(ChartSetString(h, 2110, u""));
    EXPECT_EQ(ReadText(h, 2110), u"");
    EXPECT_EQ(ReadText(h, 9999), u"");
}

TEST_F(Chart, XAndYAreOneStoreWithTwoPrecisions)
{
    ASSERT_TRUE(ChartSetInt(h, prop::Subsets, 2));
    ASSERT_TRUE(ChartSetInt(h, prop::Points, 3));
    const double t = 46000.123456789012;
    ASSERT_TRUE(ChartSetElement2D(h, prop::XDataII, 1, 2, t));
    EXPECT_EQ(At(h, prop::XDataII, 1, 2), t);
    EXPECT_EQ(At<float>(h, prop::XData, 1, 2), float(t));
    // Written through the single view, read through the double view.
    ASSERT_TRUE(ChartSetElement2D(h, prop::YData, 0, 1, 85.3f));
    EXPECT_EQ(At(h, prop::YDataII, 0, 1), double(85.3f));
    // A double written through the single view is held at single precision.
    ASSERT_TRUE(ChartSetElement2D(h, prop::YData, 0, 0, 0.1));
    EXPECT_EQ(At(h, prop::YDataII, 0, 0), double(0.1f));
}

TEST_F(Chart, DataIndexesAreBounded)
{
    ChartSetInt(h, prop::Subsets, 1);
    ChartSetInt(h, prop::Points, 3);
    EXPECT_FALSE(ChartSetElement2D(h, prop::YDataII, 0, 3, 1.0));
    EXPECT_FALSE(ChartSetElement2D(h, prop::YDataII, 1, 0, 1.0));
    EXPECT_FALSE(ChartSetElement2D(h, prop::YDataII, -2, 0, 1.0));
    EXPECT_FALSE(ChartSetElement2D(h, prop::YDataII, 0, std::int32_t(0x80000000u), 1.0));
    double d = 7;
    for (auto [i, j] : {std::pair{0, -1}, {-1, 0}, {0, 3}, {1, 0}, {0, 1 << 30}}) {
        d = 7;
        EXPECT_TRUE(ChartGetElement2D(h, prop::YDataII, i, j, d));
        EXPECT_EQ(d, 0.0) << i << "," << j;
    }
    std::vector<double> all(3, 9);
    EXPECT_EQ(ChartGetProperty(h, prop::YDataII, std::span<double>(all)), 3u);
    EXPECT_EQ(all, std::vector<double>(3, 0.0));
    // Impossible shapes are refused and change nothing.
    EXPECT_FALSE(ChartSetInt(h, prop::Points, -1));
    EXPECT_FALSE(ChartSetInt(h, prop::Subsets, kMaxSubsets + 1));
    EXPECT_FALSE(ChartSetInt(h, prop::Points, kMaxPoints + 1));
    ChartSetInt(h, prop::Points, kMaxPoints);
    EXPECT_FALSE(ChartSetInt(h, prop::Subsets, 5)); // 5 x 2^24 is above the data limit
    EXPECT_EQ(ChartGetInt(h, prop::Subsets), 1);
}

TEST_F(Chart, MinusOneFillsAWholeDimension)
{
    ChartSetInt(h, prop::Subsets, 3);
    ChartSetInt(h, prop::Points, 4);
    ASSERT_TRUE(ChartSetElement2D(h, prop::YDataII, 1, -1, 9999.0));
    ASSERT_TRUE(ChartSetElement2D(h, prop::XDataII, -1, 2, 5.0));
    ASSERT_TRUE(ChartSetElement2D(h, prop::ZData, -1, -1, 2.0f));
    for (int s = 0; s < 3; ++s)
        for (int p = 0; p < 4; ++p) {
            double y, x, z;
            ChartGetElement2D(h, prop::YDataII, s, p, y);
            ChartGetElement2D(h, prop::XDataII, s, p, x);
            ChartGetElement2D(h, prop::ZData, s, p, z);
            EXPECT_EQ(y, s == 1 ? 9999.0 : 0.0);
            EXPECT_EQ(x, p == 2 ? 5.0 : 0.0);
            EXPECT_EQ(z, 2.0);
        }
}

TEST_F(Chart, WholeArraysWithExplicitCounts)
{
    ChartSetInt(h, prop::Subsets, 1);
    ChartSetInt(h, prop::Points, 5);
    std::vector<double> x = {46000.5, 46000.50001157407, 46000.50002314815, 1e-300, -0.0};
    std::vector<float> y = {85.3f, 30.1f, 129.9f, 0.0f, 140.0f};
    ASSERT_TRUE(ChartSetProperty(h, prop::XDataII, std::span<const double>(x)));
    ASSERT_TRUE(ChartSetProperty(h, prop::YData, std::span<const float>(y)));
    std::vector<double> xb(5);
    std::vector<float> yb(5);
    EXPECT_EQ(ChartGetProperty(h, prop::XDataII, std::span<double>(xb)), 5u);
    EXPECT_EQ(ChartGetProperty(h, prop::YData, std::span<float>(yb)), 5u);
    EXPECT_EQ(0, std::memcmp(xb.data(), x.data(), 5 * sizeof(double)));
    EXPECT_EQ(yb, y);
    // No elements: nothing written, nothing read past the end.
    EXPECT_FALSE(ChartSetProperty(h, prop::XDataII, std::span<const double>()));
    EXPECT_FALSE(ChartSetProperty(h, prop::YData, std::span<const float>(y.data(), 0)));
    ChartGetProperty(h, prop::XDataII, std::span<double>(xb));
    EXPECT_EQ(xb[0], x[0]);
    // More values than the data holds: the rest is ignored; reading more gives zeros.
    std::vector<double> many(8, 1.0);
    ASSERT_TRUE(ChartSetProperty(h, prop::YDataII, std::span<const double>(many)));
    std::vector<double> wide(8, 7.0);
    EXPECT_EQ(ChartGetProperty(h, prop::YDataII, std::span<double>(wide)), 5u);
    EXPECT_EQ(wide, (std::vector<double>{1, 1, 1, 1, 1, 0, 0, 0}));
    // Two subsets are filled subset by subset.
    ChartSetInt(h, prop::Subsets, 2);
    ChartSetInt(h, prop::Points, 2);
    std::vector<double> four = {1, 2, 3, 4};
    ChartSetProperty(h, prop::XDataII, std::span<const double>(four));
    EXPECT_EQ(At(h, prop::XDataII, 1, 0), 3.0);
}

// What the renderer is told of the data: each write of data cells before it is made, then that
// it was made; nothing for reads or for writes that are refused.
TEST_F(Chart, TheRendererIsToldOfDataWritesOnly)
{
    struct Recorder : ChartAttachment {
        std::vector<std::string> told;
        void Written(std::int32_t id) override { told.push_back("written " + std::to_string(id)); }
        void DataWriting(int axis, std::int32_t i, std::int32_t j) override
        {
            told.push_back("writing " + std::to_string(axis) + " " + std::to_string(i) + " " +
                           std::to_string(j));
        }
    };
    ChartSetInt(h, prop::Subsets, 1);
    ChartSetInt(h, prop::Points, 3);
    ChartObject *o = ChartFind(h);
    ASSERT_NE(o, nullptr);
    auto owned = std::make_unique<Recorder>();
    Recorder &r = *owned;
    o->SetAttachment(std::move(owned));
    const std::vector<double> three = {1, 2, 3};
    ASSERT_TRUE(ChartSetProperty(h, prop::YDataII, std::span<const double>(three)));
    ASSERT_TRUE(ChartSetElement2D(h, prop::XDataII, 0, 2, 4.0));
    EXPECT_EQ(r.told, (std::vector<std::string>{"writing 1 -1 -1", "written 3014", "writing 0 0 2",
                                                "written 3013"}));
    r.told.clear();
    std::vector<double> out(3);
    EXPECT_EQ(ChartGetProperty(h, prop::YDataII, std::span<double>(out)), 3u);
    EXPECT_EQ(At(h, prop::XDataII, 0, 2), 4.0);
    EXPECT_FALSE(ChartSetElement2D(h, prop::YDataII, 0, 3, 1.0));
    EXPECT_FALSE(ChartSetProperty(h, prop::YDataII, std::span<const double>()));
    EXPECT_TRUE(r.told.empty());
    // With no subsets a whole array has nowhere to go.
    ChartSetInt(h, prop::Subsets, 0);
    r.told.clear();
    EXPECT_FALSE(ChartSetProperty(h, prop::YDataII, std::span<const double>(three)));
    EXPECT_TRUE(r.told.empty());
}

TEST_F(Chart, ChangingTheShapeKeepsValues)
{
    ChartSetInt(h, prop::Subsets, 2);
    ChartSetInt(h, prop::Points, 10);
    for (int p = 0; p < 10; ++p) {
        ChartSetElement2D(h, prop::XDataII, 0, p, double(p));
        ChartSetElement2D(h, prop::YData, 1, p, float(p) + 0.5f);
    }
    ChartSetElement2D(h, prop::PointColors, 1, 9, std::int32_t(42));
    ChartSetInt(h, prop::Points, 20);
    EXPECT_EQ(At(h, prop::XDataII, 0, 9), 9.0);
    EXPECT_EQ(At(h, prop::XDataII, 0, 15), 0.0);
    // Shrinking drops what no longer fits; growing again does not bring it back.
    ChartSetInt(h, prop::Points, 5);
    ChartSetInt(h, prop::Subsets, 1);
    ChartSetInt(h, prop::Points, 10);
    ChartSetInt(h, prop::Subsets, 2);
    EXPECT_EQ(At(h, prop::XDataII, 0, 4), 4.0);
    EXPECT_EQ(At(h, prop::XDataII, 0, 7), 0.0);
    EXPECT_EQ(At(h, prop::YData, 1, 2), 0.0);
    EXPECT_EQ(At<std::int32_t>(h, prop::PointColors, 1, 9), 0);
}

TEST_F(Chart, OneIndexArraysGrowUpToTheCap)
{
    EXPECT_TRUE(ChartSetElement(h, 3218, 5, 46000.25));
    EXPECT_EQ(At(h, 3218, 5), 46000.25);
    EXPECT_EQ(At(h, 3218, 4), 0.0);
    EXPECT_EQ(At(h, 3218, 6), 0.0);
    EXPECT_FALSE(ChartSetElement(h, 3218, -1, 1.0));
    EXPECT_FALSE(ChartSetElement(h, 3218, kMaxArrayLength, 1.0));
    EXPECT_TRUE(ChartSetElement(h, 3218, kMaxArrayLength - 1, 1.0));
    // The kind of the first write stays: a text cannot go into a numeric array, an Integer
    // array keeps whole numbers.
    EXPECT_FALSE(ChartSetElement(h, 3218, 0, u"text"));
    ChartSetElement(h, 3246, 0, std::int32_t(2));
    ChartSetElement(h, 3246, 1, 2.75);
    EXPECT_EQ(At<std::int32_t>(h, 3246, 1), 2);
    ChartSetElement(h, 3293, 3, u"note");
    char16_t buf[16];
    EXPECT_EQ(ChartGetElement(h, 3293, 3, buf, 16), 4);
    EXPECT_EQ(std::u16string(buf), u"note");
    EXPECT_EQ(ChartGetElement(h, 3293, 2, buf, 16), 0);
    EXPECT_EQ(ChartGetElement(h, 3293, 99, buf, 16), 0);
    // The length is the highest index written + 1, of numbers and texts alike.
    EXPECT_EQ(ChartArrayLength(h, 3293), 4u);
    EXPECT_EQ(ChartArrayLength(h, 3246), 2u);
    EXPECT_EQ(ChartArrayLength(h, 3218), std::size_t(kMaxArrayLength));
    EXPECT_EQ(ChartArrayLength(h, 3291), 0u);
    EXPECT_EQ(ChartArrayLength(0, 3293), 0u);
}

TEST_F(Chart, OtherTwoIndexArraysGrowAndFill)
{
    ASSERT_TRUE(ChartSetElement2D(h, 2954, 1, 2, u"cell"));
    ASSERT_TRUE(ChartSetElement2D(h, 2954, -1, 0, u"first"));
    char16_t buf[16];
    ChartGetElement2D(h, 2954, 0, 0, buf, 16);
    EXPECT_EQ(std::u16string(buf), u"first");
    ChartGetElement2D(h, 2954, 1, 2, buf, 16);
    EXPECT_EQ(std::u16string(buf), u"cell");
    EXPECT_EQ(ChartGetElement2D(h, 2954, 2, 0, buf, 16), 0);
    EXPECT_FALSE(ChartSetElement2D(h, 2954, kMaxGridRows, 0, u"x"));
    EXPECT_FALSE(ChartSetElement2D(h, 2955, 4095, 65535, std::int32_t(1))); // above 2^22 cells
    EXPECT_FALSE(ChartSetElement(h, 2954, 0, u"one index on a two-index array"));
}

TEST_F(Chart, BlocksAndRecords)
{
    HotSpotRecord hs{};
    hs.type = 10;
    hs.index1 = 1;
    hs.index2 = -1;
    ASSERT_TRUE(ChartFind(h)->SetRecord(prop::HotSpotData, hs));
    std::uint8_t raw[40];
    EXPECT_EQ(ChartGetProperty(h, prop::HotSpotData, std::span<std::uint8_t>(raw)), 28u);
    EXPECT_EQ(raw[16], 10);
    EXPECT_EQ(raw[30], 0); // zero-filled past the record
    auto back = ChartFind(h)->GetRecord<HotSpotRecord>(prop::HotSpotData);
    EXPECT_EQ(back.index2, -1);
    // A short buffer gets what fits.
    std::uint8_t small[17] = {};
    EXPECT_EQ(ChartGetProperty(h, prop::HotSpotData, std::span<std::uint8_t>(small)), 28u);
    EXPECT_EQ(small[16], 10);
    std::vector<std::uint8_t> huge(kMaxBlockBytes + 1);
    EXPECT_FALSE(ChartSetProperty(h, 2000, std::span<const std::uint8_t>(huge)));
}

TEST_F(Chart, AllTextsOfAChartTogetherAreBounded)
{
    // A -1 fill copies the text into every cell: 4096 x 1024 cells of 32,767 units would ask
    // for 256 GiB. Refused before any cell is written; what was there stays.
    const std::u16string big(kMaxTextUnits, u'x');
    ASSERT_TRUE(ChartSetElement2D(h, 2954, 4095, 1023, u"corner"));
    EXPECT_FALSE(ChartSetElement2D(h, 2954, -1, -1, big));
    std::vector<char16_t> buf(64);
    ASSERT_EQ(ChartGetElement2D(h, 2954, 4095, 1023, buf.data(), buf.size()), 6);
    EXPECT_EQ(std::u16string(buf.data()), u"corner");
    // A grid of empty texts is bounded by its cells too, a small fill of short texts is not
    // refused, and rewriting the same cells keeps fitting.
    ASSERT_TRUE(ChartSetElement2D(h, 2954, 0, -1, u"ab"));
    ASSERT_TRUE(ChartSetElement2D(h, 2954, 0, -1, u"cd"));
    EXPECT_FALSE(ChartSetElement2D(h, 2954, -1, -1, u""));
    // Data-shaped texts: the labels of a million points.
    ChartSetInt(h, prop::Points, 1 << 20);
    EXPECT_FALSE(ChartSetElement2D(h, prop::DataPointLabels, -1, -1, std::u16string(40, u'y')));
    // Room that texts give back can be used again.
    ChartDestroy(h);
    h = ChartCreate(304, 0, nullptr, 0, 12111);
    int n = 0;
    while (n < 4000 && ChartSetElement(h, 3293, n, big))
        ++n;
    EXPECT_GT(n, 500); // tens of megabytes of annotation texts are fine
    EXPECT_LT(n, 4000);
    EXPECT_FALSE(ChartSetString(h, 2105, big)); // scalars count as well
    ASSERT_TRUE(ChartSetElement(h, 3293, 0, u""));
    EXPECT_TRUE(ChartSetElement(h, 3293, n, big));
}
