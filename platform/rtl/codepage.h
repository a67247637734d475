// Code pages: conversions between 8-bit text in a code page, UTF-16 and
// UTF-8 (through glibc iconv), the Windows font charsets and their code
// pages, and case handling of Windows-1252 text.
//
// No conversion stops part-way: input that is invalid in its encoding, or a
// character the target cannot represent, becomes a replacement character
// ('?' in 8-bit targets, U+FFFD in UTF-16 and UTF-8) and conversion goes on.
#pragma once

#include <string>

namespace rtl {

// The system code page: Windows-1252. Its five bytes without a printable
// character (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
// characters of the same number, as on Windows, so every byte converts and
// comes back.
inline constexpr unsigned SystemCodePage = 1252;
unsigned GetACP();

inline constexpr unsigned CP_ACP = 0;     // stands for the system code page
inline constexpr unsigned CP_SYMBOL = 42; // byte b <-> U+F000 + b (b >= 0x20)
inline constexpr unsigned CP_UTF8 = 65001;

// True when conversions with codePage are possible here. A code page
// without a converter is treated as the system code page.
bool IsCodePageSupported(unsigned codePage);

std::u16string CodePageToWide(const std::string &text, unsigned codePage);
std::string WideToCodePage(const std::u16string &text, unsigned codePage);
std::string CodePageToUtf8(const std::string &text, unsigned codePage);
std::string Utf8ToCodePage(const std::string &utf8, unsigned codePage);
std::u16string Utf8ToWide(const std::string &utf8);
std::string WideToUtf8(const std::u16string &text);

// Windows font charsets.
enum : int {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    MAC_CHARSET = 77,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    JOHAB_CHARSET = 130,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};

// The code page of a font charset; false (codePage untouched) for a number
// that is no charset. DEFAULT_CHARSET gives the system code page.
bool TryCharsetToCodePage(int charset, unsigned &codePage);
// As above, the system code page for an unknown charset.
unsigned CharsetToCodePage(int charset);

// Windows-1252 case handling: the ASCII letters and the accented letters of
// the code page ('é' 0xE9 <-> 'É' 0xC9, 'š' 0x9A <-> 'Š' 0x8A, 'ÿ' 0xFF <->
// 'Ÿ' 0x9F, ...); 'ß' and 'µ' have no single-byte upper case and stay.
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
bool AnsiIsUpper(char c); // an upper-case letter
std::string AnsiUpperCase(const std::string &s);
std::string AnsiLowerCase(const std::string &s);

// Orderings for lists, returning < 0, 0 or > 0. Letters sort after digits
// and digits after the other characters; an accented letter sorts with its
// base letter, ahead of the next letter ("e" < "é" < "f"), and ASCII letters
// sort alphabetically whatever their case. AnsiCompareText ignores case
// (0 exactly when the texts are equal after AnsiUpperCase); AnsiCompareStr
// is 0 only for identical texts and puts lower case before upper case when
// the texts differ only in case.
int AnsiCompareText(const std::string &a, const std::string &b);
int AnsiCompareStr(const std::string &a, const std::string &b);
bool AnsiSameText(const std::string &a, const std::string &b);

} // namespace rtl
