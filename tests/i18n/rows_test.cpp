// Row and column operations of the translation tables.
#include "i18n/base/lx_index.h"
#include "i18n/base/lx_props.h"
#include "i18n/base/lx_rows.h"

#include "tests/support/translation_rows.h"

#include <gtest/gtest.h>

using namespace i18n;
using testsupport::Row;

namespace {
const char D = '\x01';
} // namespace

TEST(Rows, FieldsAndWordsEndAtTheirRow)
{
    std::string row = Row({"K", "one", "", "three"});
    EXPECT_EQ(GetEntryField(row, D, 0), "K");
    EXPECT_EQ(GetEntryField(row, D, 2), "");
    EXPECT_EQ(GetEntryField(row, D, 3), "three");
    EXPECT_EQ(GetEntryField(row, D, 4), ""); // after the last delimiter
    EXPECT_EQ(GetEntryField(row, D, 9), ""); // missing field
    EXPECT_EQ(GetEntryField("Key", D, 0), "Key");
    EXPECT_EQ(GetEntryField("Key", D, 1), "");
    // A missing field of one row never reads into text that follows it.
    EXPECT_EQ(GetEntryField("K\x01"
                            "a",
                            D, 2),
              "");

    // A missing word is told from a short last field.
    EXPECT_EQ(ExtractWord(2, "a,b", ","), "b");
    EXPECT_EQ(ExtractWord(3, "a,b", ","), "");
    EXPECT_EQ(WordPosition(3, "a,b", ","), kNoWord);
    EXPECT_EQ(WordPosition(2, "a,,c", ","), 3u);
    EXPECT_EQ(ExtractWord(2, "a,,c", ","), ""); // an empty field counts
    EXPECT_EQ(ExtractWord(3, "a,,c", ","), "c");
    EXPECT_EQ(ExtractWord(2, "a.b;c", ".;"), "b");
}

TEST(Rows, ColumnsMoveAndGoAndFieldsAreReplacedMergedAndPadded)
{
    std::string row = Row({"K", "x", "y", "z"});
    EXPECT_EQ(DeleteColumn(row, 2, D), Row({"K", "x", "z", ""}));
    EXPECT_EQ(MoveColumn(row, 3, 1, D), Row({"K", "z", "x", "y"}));
    EXPECT_EQ(MoveColumn(row, 1, 3, D), Row({"K", "y", "z", "x"}));
    EXPECT_EQ(MoveColumn(row, 2, 2, D), row);
    rtl::TStringList table;
    table.Add(Row({"K1", "a", "b", "c"}));
    table.Add(Row({"K2", "d", "e", "f"}));
    MoveColumnInTable(table, 3, 1, D);
    EXPECT_EQ(table.Strings(1), Row({"K2", "f", "d", "e"}));
    DeleteColumnInTable(table, 1, D);
    EXPECT_EQ(table.Strings(0), Row({"K1", "a", "b", ""}));

    EXPECT_EQ(ReplaceField(Row({"K", "a", "b"}), D, 2, "B"), Row({"K", "a", "B"}));
    EXPECT_EQ(ReplaceField("K" + std::string(1, D), D, 3, "c"), Row({"K", "", "", "c"}));
    EXPECT_EQ(ReplaceField("K", D, 1, "x"), Row({"K", "x"}));
    EXPECT_EQ(CutEntry(Row({"K", "a", "b", "c"}), D, 1), Row({"K", "a"}));
    EXPECT_EQ(PadEntry("K", D, 2), "K\x01\x01\x01");
    // A merge keeps the stored texts the new row leaves empty.
    EXPECT_EQ(MergeEntries(Row({"K", "one", ""}), Row({"K", "", "two"}), D),
              Row({"K", "one", "two"}));
    EXPECT_EQ(MergeEntries(Row({"K", "a"}), Row({"K", "", "b", "c"}), D),
              Row({"K", "a", "b", "c"}));
}

TEST(Rows, DecodeEscapes)
{
    EXPECT_EQ(DecodeEscapes("a\\x41b"), "aAb");
    EXPECT_EQ(DecodeEscapes("\\101"), "A");
    EXPECT_EQ(DecodeEscapes("\\q"), "\\q");
    EXPECT_EQ(DecodeEscapes("ab\\x"), "ab\\x");
    EXPECT_EQ(DecodeEscapes("\\xZ"), "\\xZ");
    EXPECT_EQ(DecodeEscapes("end\\"), "end\\");
    EXPECT_EQ(DecodeEscapes("\\n\\t\\\\\\\""), "\n\t\\\"");
    EXPECT_EQ(DecodeEscapes("\\477"), std::string(1, '\x3F')); // 0477 mod 256
}

TEST(Rows, OnlyRowsWithoutAnyTextAreEmptyAndSplitJoinAndSearch)
{
    EXPECT_TRUE(AllTextsEmpty(Row({"K", "", ""}), D, 2));
    EXPECT_FALSE(AllTextsEmpty(Row({"K", " ", ""}), D, 2));
    EXPECT_TRUE(AllTextsEmpty(Row({"K", " ", ""}), D, 2, true));
    EXPECT_FALSE(AllTextsEmpty(Row({"K", "xy", "", "", ""}), D, 2));
    EXPECT_TRUE(AllTextsEmpty(Row({"K", "", "", "beyond"}), D, 2));

    EXPECT_EQ(SplitByDelimiter("a||b||", "||"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitByDelimiter("a||||b", "||"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(JoinWithDelimiter({"a", "", "b"}, ",", true), "a,b");
    EXPECT_EQ(FastPos("lo W", "Hello World"), 4u);
    EXPECT_EQ(FastPos("xyz", "Hello"), 0u);
    EXPECT_EQ(FastPos("", "Hello"), 1u);
}
