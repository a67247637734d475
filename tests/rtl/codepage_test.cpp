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
        {'a', 'A'},   {0xE9, 0xC9}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E},
        {0xFF, 0x9F}, {0xE0, 0xC0}, {0xFE, 0xDE}, {0xF8, 0xD8}, {0xFD, 0xDD},
    };
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
    EXPECT_EQ(AnsiUpperCase("stra\xDF"
                            "e \xE9t\xE9 \xFF"),
              "STRA\xDF"
              "E \xC9T\xC9 \x9F");
    EXPECT_EQ(AnsiLowerCase("\xC9T\xC9 \x8A"), "\xE9t\xE9 \x9A");
}

TEST(Ansi1252Compare, CaseInsensitiveOrderForLists)
{
    EXPECT_EQ(AnsiCompareText("\xE9t\xE9", "\xC9T\xC9"), 0);
    EXPECT_TRUE(AnsiSameText("\xE9t\xE9", "\xC9T\xC9"));
    EXPECT_FALSE(AnsiSameText("ete", "\xE9t\xE9"));
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
    EXPECT_LT(AnsiCompareText("Banana", "cherry"), 0);
    EXPECT_GT(AnsiCompareText("Zebra", "apple"), 0);
    EXPECT_LT(AnsiCompareText("e", "\xE9"), 0);
    EXPECT_LT(AnsiCompareText("\xE9", "f"), 0);
    EXPECT_LT(AnsiCompareText("\xE9z", "f"), 0); // the accent is a lesser difference
    EXPECT_LT(AnsiCompareText("9", "a"), 0);
    EXPECT_LT(AnsiCompareText("_x", "0"), 0);
    EXPECT_LT(AnsiCompareText("ab", "abc"), 0);

    // A consistent total order over a mixed sample.
    const std::vector<std::string> sample = {"a",  "A",    "\xE0", "\xC0", "b",    "e",    "\xE9",
                                             "E",  "\xC9", "f",    "s",    "\x9A", "\xDF", "ss",
                                             "z",  "Z",    "\x9E", "y",    "\xFF", "\x9F", "1",
                                             "10", "9",    "_",    " ",    "",     "ab",   "\xB5"};
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

TEST(Ansi1252Compare, CaseSensitiveOrder)
{
    EXPECT_LT(AnsiCompareStr("a", "A"), 0);
    EXPECT_LT(AnsiCompareStr("A", "b"), 0); // letters first, case last
    EXPECT_LT(AnsiCompareStr("\xE9", "\xC9"), 0);
    EXPECT_LT(AnsiCompareStr("\xC9", "f"), 0);
    EXPECT_EQ(AnsiCompareStr("abc", "abc"), 0);
}

TEST(CodePageConversion, EuroSignThroughUtf16AndUtf8)
{
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(CodePageToWide("\x80", 1252), u"\u20AC");
    EXPECT_EQ(CodePageToWide("x\x80", CP_ACP), u"x\u20AC");
    EXPECT_EQ(WideToCodePage(u"\u20AC \u00E9", 1252), "\x80 \xE9");
    EXPECT_EQ(CodePageToUtf8("\x80\xE9", 1252), "\xE2\x82\xAC\xC3\xA9");
    EXPECT_EQ(Utf8ToCodePage("\xE2\x82\xAC\xC3\xA9", 1252), "\x80\xE9");
    EXPECT_EQ(Utf8ToWide("\xE2\x82\xAC\xF0\x9F\x98\x80"), u"\u20AC\U0001F600");
    EXPECT_EQ(WideToUtf8(u"\u20AC\U0001F600"), "\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(CodePageToWide("", 1252), u"");

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

TEST(CodePageCharsets, TableAndConversionsByCharset)
{
    const std::pair<int, unsigned> table[] = {
        {ANSI_CHARSET, 1252},    {DEFAULT_CHARSET, 1252}, {SYMBOL_CHARSET, CP_SYMBOL},
        {MAC_CHARSET, 10000},    {SHIFTJIS_CHARSET, 932}, {HANGEUL_CHARSET, 949},
        {JOHAB_CHARSET, 1361},   {GB2312_CHARSET, 936},   {CHINESEBIG5_CHARSET, 950},
        {GREEK_CHARSET, 1253},   {TURKISH_CHARSET, 1254}, {VIETNAMESE_CHARSET, 1258},
        {HEBREW_CHARSET, 1255},  {ARABIC_CHARSET, 1256},  {BALTIC_CHARSET, 1257},
        {RUSSIAN_CHARSET, 1251}, {THAI_CHARSET, 874},     {EASTEUROPE_CHARSET, 1250},
        {OEM_CHARSET, 437}};
    for (const auto &[charset, codePage] : table) {
        unsigned cp = 0;
        EXPECT_TRUE(TryCharsetToCodePage(charset, cp)) << charset;
        EXPECT_EQ(cp, codePage) << charset;
        EXPECT_TRUE(IsCodePageSupported(cp)) << cp;
    }
    unsigned cp = 7;
    EXPECT_FALSE(TryCharsetToCodePage(99, cp));
    EXPECT_EQ(cp, 7u);
    EXPECT_EQ(CharsetToCodePage(99), 1252u);

    EXPECT_EQ(CodePageToWide("\xE1", CharsetToCodePage(GREEK_CHARSET)), u"\u03B1");
    EXPECT_EQ(WideToCodePage(u"\u0410", CharsetToCodePage(RUSSIAN_CHARSET)), "\xC0");
    EXPECT_EQ(CodePageToWide("\x82\xA0", CharsetToCodePage(SHIFTJIS_CHARSET)), u"\u3042");
    EXPECT_EQ(CodePageToWide("\x80", CharsetToCodePage(MAC_CHARSET)), u"\u00C4");
    EXPECT_EQ(CodePageToWide("\x80", CharsetToCodePage(OEM_CHARSET)), u"\u00C7");
    EXPECT_EQ(CodePageToWide("\x01"
                             "A",
                             CP_SYMBOL),
              u"\x01\uF041");
    EXPECT_EQ(WideToCodePage(u"\uF041x", CP_SYMBOL), "A?");

    // A code page without a converter is read as the system code page.
    EXPECT_FALSE(IsCodePageSupported(12345));
    EXPECT_EQ(CodePageToWide("\x80", 12345), u"\u20AC");
}
