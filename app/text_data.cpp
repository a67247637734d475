#include "app/text_data.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/numbers.h"

#include <charconv>
#include <limits>

namespace app {

namespace {

constexpr unsigned kWindows1252 = 1252;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string s)
{
    for (char &c : s)
        c = Lower(c);
    return s;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8(const std::string &s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (d & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

// The byte offset after the first `count` characters of UTF-8 text (the
// text's size when it holds fewer).
std::size_t Utf8Prefix(const std::string &s, std::size_t count, std::size_t &characters)
{
    characters = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            continue;
        if (characters == count)
            return i;
        ++characters;
    }
    return s.size();
}

std::string ToUtf8(const std::string &ansi)
{
    return rtl::CodePageToUtf8(ansi, kWindows1252);
}

} // namespace

char GridFileSeparator(const std::string &fileName)
{
    if (fileName.size() >= 3 && LowerAscii(fileName.substr(fileName.size() - 3)) == "csv")
        return ',';
    return kTab;
}

std::string LowerExtension(const std::string &fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return LowerAscii(fileName.substr(dot + 1));
}

char DataFileSeparator(const std::string &fileName)
{
    return LowerExtension(fileName) == "csv" ? ',' : kTab;
}

bool ParseRangeBound(const std::string &text, std::uint64_t &magnitude)
{
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos)
        return false;
    std::string digits = text.substr(begin, end - begin + 1);
    if (!digits.empty() && digits[0] == '+')
        digits.erase(0, 1);
    if (digits.empty() || digits[0] == '+')
        return false;
    std::int64_t value = 0;
    const char *first = digits.data();
    const char *last = first + digits.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
        return false;
    // The magnitude without negating the value: the lowest one has none.
    magnitude = value < 0 ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    return true;
}

bool SelectRange(const std::string &fromText, const std::string &toText, int upper,
                 TExportRange &range)
{
    std::uint64_t from = 0;
    std::uint64_t to = 0;
    if (!ParseRangeBound(fromText, from) || !ParseRangeBound(toText, to))
        return false;
    if (to < from)
        std::swap(from, to);
    const auto top = std::uint64_t(std::max(upper, 0));
    if (to > top)
        to = top;
    if (from == 0)
        from = 1;
    // Past the upper bound nothing is written; keep the first there.
    if (from > top + 1)
        from = top + 1;
    range.First = std::int64_t(from);
    range.Last = std::int64_t(to);
    return true;
}

std::string GraphTextLine(rtl::TDateTime x, double level, char separator,
                          const rtl::TFormatSettings &settings)
{
    const rtl::TDateTime shown = rtl::RoundDisplaySeconds(x);
    std::string line = rtl::DateToStr(shown, settings);
    line += separator;
    line += rtl::TimeToStr(shown, settings);
    line += separator;
    line += rtl::LevelText(level, settings);
    line = ToUtf8(line);
    line += "\r\n";
    return line;
}

std::string GridTextLine(const std::vector<std::string> &cells, char separator)
{
    std::string line;
    for (const std::string &cell : cells) {
        line += cell;
        line += separator;
    }
    line += "\r\n";
    return line;
}

bool TDataTextReader::Next(std::string &line)
{
    line.clear();
    if (FDone || FCut || !FIn.good()) {
        FDone = true;
        return false;
    }
    // Enough bytes for one character more than a line may hold, in any
    // encoding; the rest of a longer line is never needed.
    constexpr std::size_t kKeep = (kDataLineLimit + 1) * 4;
    std::string raw;
    bool ended = false;
    bool full = false;
    for (int c; (c = FIn.get()) != std::char_traits<char>::eof();) {
        if (c == '\n') {
            ended = true;
            break;
        }
        raw += char(c);
        if (raw.size() == kKeep) {
            full = true;
            break;
        }
    }
    if (!ended && raw.empty() && FIn.eof()) {
        FDone = true;
        return false;
    }
    if (!raw.empty() && raw.back() == '\r' && (ended || FIn.eof()))
        raw.pop_back();
    if (FFirst) {
        FFirst = false;
        if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
            raw.erase(0, 3);
    }
    // A line taken in part may end inside a UTF-8 character.
    bool utf8 = IsUtf8(raw);
    for (std::size_t drop = 1; full && !utf8 && drop <= 3; ++drop)
        if (IsUtf8(raw.substr(0, raw.size() - drop))) {
            raw.resize(raw.size() - drop);
            utf8 = true;
        }
    line = utf8 ? raw : ToUtf8(raw);
    std::size_t characters = 0;
    const std::size_t prefix = Utf8Prefix(line, kDataLineLimit, characters);
    if (prefix < line.size()) {
        line.resize(prefix);
        FCut = true;
    }
    if (line.find(FSeparator) == std::string::npos) {
        line.clear();
        FDone = true;
        return false;
    }
    return true;
}

std::vector<std::string> SplitDataLine(const std::string &line, char separator, int columns)
{
    std::vector<std::string> cells;
    std::string rest = line;
    for (int k = 1; k < columns; ++k) {
        const std::size_t p = rest.find(separator);
        if (p != std::string::npos) {
            cells.push_back(rest.substr(0, p));
            rest.erase(0, p + 1);
        } else if (rest.empty()) {
            break;
        } else {
            cells.push_back(rest);
            rest.clear();
        }
    }
    return cells;
}

TListTitles ListTitlesFor(const std::string &cell41)
{
    if (cell41.empty())
        return TListTitles::Own;
    if (cell41 == "dBA" || cell41 == "dBC")
        return TListTitles::LeqRecords;
    return TListTitles::LeqTable;
}

} // namespace app
