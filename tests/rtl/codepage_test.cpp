#include "platform/rtl/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace rtl;

namespace {
char B(unsigned v)
{
    return static_cast<char>(v);
}
int Sign(int v)
{
    return (v > 0) - (v < 0);
}
} // namespace

TEST(Ansi1252Case, AccentedLettersFoldBothWays)
{
    const std::pair<unsigned, unsigned> pairs[] = {
        {'a', 'A'}, {0xE9, 0xC9}, {0x9A, 0x8A}, {0xFF, 0x9F}, {0xFE, 0xDE}};
    for (const auto &[lower, upper] : pairs) {
        EXPECT_EQ(AnsiUpperChar(B(lower)), B(upper)) << std::hex << lower;
        EXPECT_EQ(AnsiLowerChar(B(upper)), B(lower)) << std::hex << upper;
        EXPECT_TRUE(AnsiIsUpper(B(upper)));
        EXPECT_FALSE(AnsiIsUpper(B(lower)));
    }
    // No single-byte partner, or no letter at all.
    for (unsigned c : {0xDFu, 0xB5u, 0xF7u, 0xD7u, 0xAAu, 0x80u, unsigned('1'), unsigned('[')}) {
        EXPECT_EQ(AnsiUpperChar(B(c)), B(c)) << std::hex << c;
        EXPECT_EQ(AnsiLowerChar(B(c)), B(c)) << std::hex << c;
        EXPECT_FALSE(AnsiIsUpper(B(c)));
    }
    // The folding is a pairing: no two bytes share an upper or lower case.
    for (unsigned c = 0; c < 256; ++c) {
        if (AnsiIsUpper(B(c))) {
            EXPECT_EQ(AnsiUpperChar(AnsiLowerChar(B(c))), B(c)) << c;
        }
        if (AnsiUpperChar(B(c)) != B(c)) {
            EXPECT_EQ(AnsiLowerChar(AnsiUpperChar(B(c))), B(c)) << c;
        }
    }
}

TEST(Ansi1252Compare, OrderForLists)
{
    EXPECT_EQ(AnsiCompareText("\xE9t\xE9", "\xC9T\xC9"), 0);
    EXPECT_TRUE(AnsiSameText("\xE9t\xE9", "\xC9T\xC9"));
    EXPECT_FALSE(AnsiSameText("ete", "\xE9t\xE9"));
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
    EXPECT_LT(AnsiCompareText("e", "\xE9"), 0);
    EXPECT_LT(AnsiCompareText("\xE9", "f"), 0);
    EXPECT_LT(AnsiCompareText("\xE9z", "f"), 0); // the accent is a lesser difference
    EXPECT_LT(AnsiCompareText("_x", "0"), 0);
    // Case-sensitive: letters first, case last.
    EXPECT_LT(AnsiCompareStr("a", "A"), 0);
    EXPECT_LT(AnsiCompareStr("A", "b"), 0);
    EXPECT_LT(AnsiCompareStr("\xC9", "f"), 0);

    // A consistent total order over a mixed sample.
    const std::vector<std::string> sample = {"a", "A",    "\xC0", "b",  "e",  "\xE9", "E", "\xC9",
                                             "f", "\x9A", "\xDF", "ss", "z",  "\xFF", "1", "10",
                                             "9", "_",    " ",    "",   "ab", "\xB5"};
    for (const auto &x : sample)
        for (const auto &y : sample) {
            EXPECT_EQ(Sign(AnsiCompareText(x, y)), -Sign(AnsiCompareText(y, x))) << x << "|" << y;
            EXPECT_EQ(AnsiCompareText(x, y) == 0, AnsiUpperCase(x) == AnsiUpperCase(y));
            EXPECT_EQ(AnsiCompareStr(x, y) == 0, x == y);
            for (const auto &z : sample)
                if (AnsiCompareText(x, y) < 0 && AnsiCompareText(y, z) < 0) {
                    EXPECT_LT(AnsiCompareText(x, z), 0) << x << "|" << y << "|" << z;
                }
        }
}

TEST(CodePageConversion, EuroSignThroughUtf16AndUtf8)
{
    EXPECT_EQ(CodePageToWide("x\x80", CP_ACP), u"x\u20AC");
    EXPECT_EQ(CodePageToUtf8("\x80\xE9", 1252), "\xE2\x82\xAC\xC3\xA9");
    EXPECT_EQ(Utf8ToWide("\xE2\x82\xAC\xF0\x9F\x98\x80"), u"\u20AC\U0001F600");
    EXPECT_EQ(WideToUtf8(u"\u20AC\U0001F600"), "\xE2\x82\xAC\xF0\x9F\x98\x80");

    // Every byte of the system code page that has a character goes there and back.
    std::string all;
    for (unsigned c = 1; c < 256; ++c)
        all += B(c);
    EXPECT_EQ(WideToCodePage(CodePageToWide(all, 1252), 1252), all);
    EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(all, 1252), 1252), all);
}

TEST(CodePageConversion, ReplacesAndGoesOn)
{
    EXPECT_EQ(WideToCodePage(u"a\u4E2Db", 1252), "a?b");
    EXPECT_EQ(WideToCodePage(u"a\U0001F600b", 1252), "a?b"); // one character, one '?'
    EXPECT_EQ(Utf8ToCodePage("a\xE4\xB8\xAD"
                             "b",
                             1252),
              "a?b");
    EXPECT_EQ(Utf8ToCodePage("a\xC3(b", 1252), "a?(b");
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToWide("a\xE2\x82"), u"a\uFFFD");     // cut short at the end
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80x"), u"\uFFFDx"); // an encoded surrogate
    EXPECT_EQ(WideToUtf8(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a\xEF\xBF\xBD"
                                                                          "b");
    EXPECT_EQ(CodePageToUtf8("\x81", 1252), "\xC2\x81");             // as Windows maps it
    EXPECT_EQ(CodePageToUtf8("\x81", 1253), "\xEF\xBF\xBD");         // no such character in Greek
    EXPECT_EQ(CodePageToWide("\x82\xA0\x82", 932), u"\u3042\uFFFD"); // lone lead byte

    // Many bad bytes in a row: every one replaced, nothing lost after them.
    const std::string bad(5000, '\xFF');
    const std::u16string wide = Utf8ToWide(bad + "end");
    EXPECT_EQ(wide.size(), 5003u);
    EXPECT_EQ(wide.substr(5000), u"end");
    EXPECT_EQ(std::count(wide.begin(), wide.end(), u'\uFFFD'), 5000);
}

TEST(CodePageCharsets, TextsConvertByTheCharsetOfTheirLanguage)
{
    EXPECT_EQ(WideToCodePage(u"\u0410", CharsetToCodePage(RUSSIAN_CHARSET)), "\xC0");
    EXPECT_EQ(CodePageToWide("\x82\xA0", CharsetToCodePage(SHIFTJIS_CHARSET)), u"\u3042");
    EXPECT_EQ(CodePageToWide("\x80", CharsetToCodePage(OEM_CHARSET)), u"\u00C7");
    EXPECT_EQ(CodePageToWide("\x80", CharsetToCodePage(DEFAULT_CHARSET)), u"\u20AC");
    EXPECT_EQ(CodePageToWide("\x01"
                             "A",
                             CP_SYMBOL),
              u"\x01\uF041");
    EXPECT_EQ(WideToCodePage(u"\uF041x", CP_SYMBOL), "A?");

    // An unknown charset is the system code page; one without a converter reads as it too.
    unsigned cp = 7;
    EXPECT_FALSE(TryCharsetToCodePage(99, cp));
    EXPECT_EQ(cp, 7u);
    EXPECT_EQ(CharsetToCodePage(99), 1252u);
    EXPECT_FALSE(IsCodePageSupported(12345));
    EXPECT_EQ(CodePageToWide("\x80", 12345), u"\u20AC");
}
