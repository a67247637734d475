// Text and column operations on translation table rows. A row is a key
// followed by one text per language, every field ended by the delimiter
// byte: Key D text1 D text2 D ... textN D. Field 0 is the key, field n the
// text of language n. Positions are 1-based where noted.
#pragma once

#include <string>
#include <vector>

namespace i18n {

// Field n of a row: n = 0 is the text before the first delimiter (the whole
// row when it has none); n >= 1 the text after the n-th delimiter up to the
// next one or the end. Empty when the row has fewer than n delimiters; a
// field never runs past the end of its row.
std::string GetEntryField(const std::string &entry, char delim, int n);

// Number of characters of s that occur in chars.
int CountChars(const std::string &s, const std::string &chars);
int CountChars(const std::string &s, char c);

// The value WordPosition gives when s has fewer than n fields.
constexpr size_t kNoWord = 0;

// 1-based position where field n (1-based) of s begins, fields being
// separated by single characters of delims (an empty field counts). A last
// field that is empty begins one past the end. kNoWord when s has fewer
// than n fields.
size_t WordPosition(int n, const std::string &s, const std::string &delims);

// Field n (1-based) of s up to the next delimiter; empty when s has fewer
// fields.
std::string ExtractWord(int n, const std::string &s, const std::string &delims);

// s with old (case-sensitive) replaced by replacement: the first occurrence,
// or every occurrence when all.
std::string ReplaceText(const std::string &s, const std::string &old,
                        const std::string &replacement, bool all);

// The row without field n (n >= 1): field 0, delim, then every field 1 ..
// (number of delimiters) except n, each followed by delim.
std::string DeleteColumn(const std::string &row, int n, char delim);

// The row with field from moved to position to, the other fields keeping
// their order; unchanged when from equals to.
std::string MoveColumn(const std::string &row, int from, int to, char delim);

// Every upper-case letter made lower case and every other character upper
// case (Windows-1252).
std::string FlipCase(const std::string &s);

// Spreads length * percent / 100 copies of pad over s, after its characters;
// s is returned unchanged when it contains '%'.
std::string ExpandChars(const std::string &s, char pad, int percent);

// s without leading and trailing delim bytes.
std::string StripDelimiters(const std::string &s, char delim);

// Backslash escapes of C (\n, \t, \x41, \101, \\ ...) decoded; an escape
// that is not one stays as it is.
std::string DecodeEscapes(const std::string &s);

// 1-based position of the first occurrence of pattern in text, 0 when none,
// 1 for an empty pattern (Horspool search).
size_t FastPos(const std::string &pattern, const std::string &text);

// The pieces between occurrences of delim (which may be longer than one
// character); the piece after the last delim only when it is not empty.
std::vector<std::string> SplitByDelimiter(const std::string &text, const std::string &delim);

// Items joined by separator (none after the last); with skipEmpty empty
// items are left out.
std::string JoinWithDelimiter(const std::vector<std::string> &items, const std::string &separator,
                              bool skipEmpty);

// The stored key, then for each stored language field the new field when the
// new row has a non-empty one there, else the stored field; then the new
// row's fields beyond the stored count; all ended by delim.
std::string MergeEntries(const std::string &stored, const std::string &fresh, char delim);

// The row padded with delimiters so that it holds at least languages + 1.
std::string PadEntry(const std::string &row, char delim, int languages);

// The row cut just after its (languages + 1)-th delimiter: the key and the
// first `languages` texts; unchanged when it has no more delimiters.
std::string CutEntry(const std::string &row, char delim, int languages);

// The row with exactly field `language` (>= 1) replaced by text; a row with
// too few delimiters is padded first.
std::string ReplaceField(const std::string &row, char delim, int language, const std::string &text);

// True when the texts of languages 1..languages are all empty (with
// trimmed, empty once blanks and control characters are cut). Fields beyond
// the languages do not count.
bool AllTextsEmpty(const std::string &row, char delim, int languages, bool trimmed = false);

// Field n of a wide (UTF-16) row, as GetEntryField.
std::u16string GetWideEntryField(const std::u16string &entry, char16_t delim, int n);

// Conversions between 8-bit text in the code page of a font charset (the
// system code page for DEFAULT_CHARSET and unknown charsets) and UTF-16.
// Characters the code page lacks become replacement characters.
std::string WideToCharset(const std::u16string &wide, int charset);
std::u16string CharsetToWide(const std::string &text, int charset);

// The lines of a wide text: split at CR, every LF dropped. A last line
// without CR is kept.
class TlxWideStringsAdapter {
public:
    void SetWideText(const std::u16string &wide);
    int WideLineCount() const { return static_cast<int>(FLines.size()); }
    const std::u16string &WideLine(int i) const { return FLines.at(static_cast<size_t>(i)); }

private:
    std::vector<std::u16string> FLines;
};

// A stored row keeps CR and LF as the bytes 0x19 and 0x1A so that it stays
// on one line.
std::string EncodeLineBreaks(std::string row);
std::string DecodeLineBreaks(std::string row);

} // namespace i18n
