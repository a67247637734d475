// The data text files: the exact lines of graph and grid text, the
// separators, the range question's rules and the reader.
#include "app/text_data.h"

#include "platform/rtl/datetime.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

rtl::TFormatSettings Settings(char decimal = '.')
{
    rtl::TFormatSettings s = rtl::CLikeFormatSettings();
    s.DecimalSeparator = decimal;
    s.ShortDateFormat = "dd/MM/yyyy";
    s.LongTimeFormat = "hh:nn:ss";
    return s;
}

std::vector<std::string> ReadAll(const std::string &text, char separator = '\t')
{
    std::istringstream in(text);
    app::TDataTextReader reader(in, separator);
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(TextData, GraphLinesAreDateTimeAndLevelRoundedAsShown)
{
    const rtl::TFormatSettings s = Settings();
    const rtl::TDateTime day = rtl::EncodeDate(2026, 3, 14);
    const std::string d = rtl::DateToStr(day, s);
    EXPECT_EQ(d, "14/03/2026");
    // 600 ms round up to the next second; a level has one decimal, ties away.
    EXPECT_EQ(app::GraphTextLine(day + rtl::EncodeTime(12, 0, 0, 600), 63.25f, '\t', s),
              d + "\t12:00:01\t63.3\r\n");
    EXPECT_EQ(app::GraphTextLine(day + rtl::EncodeTime(12, 0, 2, 0), 70.0f, ',', s),
              d + ",12:00:02,70.0\r\n");
    // 500 ms stay; the decimal separator is the locale's.
    EXPECT_EQ(
        app::GraphTextLine(day + rtl::EncodeTime(23, 59, 59, 500), 41.04, '\t', Settings(',')),
        d + "\t23:59:59\t41,0\r\n");
}

TEST(TextData, SeparatorsComeFromTheNameOrTheExtension)
{
    // A grid looks at the last three characters, a graph and the reader at
    // the extension.
    EXPECT_EQ(app::GridFileSeparator("/data/outcsv"), ',');
    EXPECT_EQ(app::GridFileSeparator("out"), '\t');
    EXPECT_EQ(app::DataFileSeparator("/a/b.Csv"), ',');
    EXPECT_EQ(app::DataFileSeparator("/a/bcsv"), '\t');
    EXPECT_EQ(app::DataFileSeparator("/a.csv/b"), '\t');
}

TEST(TextData, TheRangeTakesAbsoluteValuesSwapsAndClamps)
{
    auto range = [](const char *from, const char *to, int upper) {
        app::TExportRange r{-7, -7};
        EXPECT_TRUE(app::SelectRange(from, to, upper, r)) << from << " " << to;
        return std::make_pair(r.First, r.Last);
    };
    using P = std::pair<std::int64_t, std::int64_t>;
    EXPECT_EQ(range("-5", "3", 200), P(3, 5));
    EXPECT_EQ(range("0", "0", 200), P(1, 0)); // nothing written
    EXPECT_EQ(range("500", "600", 200), P(201, 200));
    EXPECT_EQ(range(" +4 ", "-9223372036854775808", 200), P(4, 200));

    // Anything but a whole integer in 64 bits is refused, the range kept.
    for (const char *bad : {"3abc", "", "1.5", "0x10", "- 1", "9223372036854775808"}) {
        app::TExportRange r{4, 5};
        EXPECT_FALSE(app::SelectRange(bad, "3", 200, r)) << bad;
        EXPECT_FALSE(app::SelectRange("3", bad, 200, r)) << bad;
        EXPECT_EQ(r.First, 4);
        EXPECT_EQ(r.Last, 5);
    }
}

TEST(TextData, TheReaderSplitsFieldsIntoTheListColumns)
{
    EXPECT_EQ(app::SplitDataLine("a\t\tb", '\t', 7), (std::vector<std::string>{"a", "", "b"}));
    // A separator at the end adds nothing; a seventh field and more are dropped.
    EXPECT_EQ(app::SplitDataLine("c1\tc2\t", '\t', 7), (std::vector<std::string>{"c1", "c2"}));
    EXPECT_EQ(app::SplitDataLine("1\t2\t3\t4\t5\t6\t7\t8", '\t', 7),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(app::SplitDataLine("a,b\tc", ',', 7), (std::vector<std::string>{"a", "b\tc"}));
}

TEST(TextData, TheReaderStopsAtALineWithoutSeparatorAndAfterACutLine)
{
    EXPECT_EQ(ReadAll("a\tb\r\nc\td\n"), (std::vector<std::string>{"a\tb", "c\td"}));
    EXPECT_EQ(ReadAll("a\tb\r\n123\r\nc\td\r\n"), (std::vector<std::string>{"a\tb"}));
    EXPECT_TRUE(ReadAll("\r\na\tb\r\n").empty());
    EXPECT_EQ(ReadAll("a\tb"), (std::vector<std::string>{"a\tb"})); // no line end
    EXPECT_EQ(ReadAll("a,b\r\n", ','), (std::vector<std::string>{"a,b"}));

    // 200 characters: the first 179 are a line, and nothing after it is read.
    std::string longLine = "x\t" + std::string(198, 'y');
    auto lines = ReadAll(longLine + "\r\na\tb\r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], longLine.substr(0, 179));
    // 179 characters and a CR are a whole line.
    std::string full = "x\t" + std::string(177, 'y');
    EXPECT_EQ(ReadAll(full + "\r\na\tb\r\n"), (std::vector<std::string>{full, "a\tb"}));
    // A very long line without line end is cut, not held in memory whole.
    EXPECT_EQ(ReadAll("a\t" + std::string(5'000'000, 'z')).size(), 1u);
}

TEST(TextData, TheReaderTakesUtf8AndFallsBackToWindows1252)
{
    // Characters, not bytes, are counted for the cut.
    const std::string e = "\xC3\xA9"; // é
    std::string utf8 = "\t";
    for (int i = 0; i < 200; ++i)
        utf8 += e;
    auto lines = ReadAll(utf8);
    ASSERT_EQ(lines.size(), 1u);
    std::string cut = "\t";
    for (int i = 0; i < 178; ++i)
        cut += e;
    EXPECT_EQ(lines[0], cut);
    EXPECT_EQ(ReadAll("caf\xE9\t1\r\n"), (std::vector<std::string>{"caf" + e + "\t1"}));
    EXPECT_EQ(ReadAll("\xEF\xBB\xBF"
                      "a\tb\r\n"),
              (std::vector<std::string>{"a\tb"}));
}
