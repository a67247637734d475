// String and file-name helpers in the class library's manner. Text is 8-bit
// (Windows-1252); the ASCII-only case functions leave other bytes alone, the
// Ansi* functions (codepage.h) know the accented letters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

std::string IntToStr(int64_t value);

// Decimal with optional blanks in front and a sign, or hexadecimal written
// "$1F" / "0x1F"; the value must fit in 32 bits (hexadecimal up to $FFFFFFFF,
// taken as its two's complement). StrToInt raises EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(const std::string &text);
int StrToIntDef(const std::string &text, int defaultValue);
bool TryStrToInt(const std::string &text, int &value);

// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

// Cut the characters <= ' ' (blanks and control characters).
std::string Trim(const std::string &s);
std::string TrimLeft(const std::string &s);
std::string TrimRight(const std::string &s);

// ASCII letters only.
std::string UpperCase(const std::string &s);
std::string LowerCase(const std::string &s);
// Ordinal comparison of the ASCII-upper-cased texts: < 0, 0 or > 0.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Ordinal, case-sensitive comparison: < 0, 0 or > 0.
int CompareStr(const std::string &a, const std::string &b);

// StringReplace flags, or-ed together.
enum TReplaceFlag : unsigned { rfReplaceAll = 1u, rfIgnoreCase = 2u };
using TReplaceFlags = unsigned;

// Replaces the first (or with rfReplaceAll every) occurrence of oldPattern;
// rfIgnoreCase matches with the Windows-1252 case folding. An empty pattern
// replaces nothing.
std::string StringReplace(const std::string &s, const std::string &oldPattern,
                          const std::string &newPattern, TReplaceFlags flags);

// 'It''s' style quoting: the quote character around, inner ones doubled.
std::string QuotedStr(const std::string &s);
std::string AnsiQuotedStr(const std::string &s, char quote);
// Reads a quoted text starting at src[pos]: gives the text between the
// quotes with doubled quotes made single, and moves pos behind the closing
// quote (to the end when there is none). When src[pos] is not the quote
// character the result is empty and pos is unchanged.
std::string AnsiExtractQuotedStr(const std::string &src, char quote, size_t &pos);
std::string AnsiExtractQuotedStr(const std::string &src, char quote);

// Resource strings: the program's fixed texts, each with its number. A
// translation component may take them over (RedirectResStrings), so that
// LoadResString gives them in the active language.
struct TResStringRec {
    int Identifier;
    const char *Text; // as written in the program
};
using TResStringLoader = std::string (*)(const TResStringRec &rec);
// The text of rec: what the installed loader gives, else rec.Text.
std::string LoadResString(const TResStringRec &rec);
// Every later LoadResString asks loader (nullptr: the texts as written).
void RedirectResStrings(TResStringLoader loader);

// The screen cursor (the class library's Screen.Cursor, 0 the default) for
// code that has no UI of its own. The UI layer installs its reader and
// writer; without them the cursor reads 0 and writes are ignored.
struct TScreenCursorAccess {
    int (*Get)() = nullptr;
    void (*Set)(int cursor) = nullptr;
};
void InstallScreenCursor(TScreenCursorAccess access);
int ScreenCursor();
void SetScreenCursor(int cursor);

// File names with '/' as the path delimiter.
std::string IncludeTrailingPathDelimiter(const std::string &path);
std::string ExtractFileName(const std::string &fileName);
std::string ExtractFilePath(const std::string &fileName); // with the final '/'
std::string ExtractFileExt(const std::string &fileName);  // with the '.', or empty
std::string ChangeFileExt(const std::string &fileName, const std::string &extension);

} // namespace rtl
