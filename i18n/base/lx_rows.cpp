#include "i18n/base/lx_rows.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/sysutils.h"

#include <algorithm>

#include <array>

namespace i18n {

std::string GetEntryField(const std::string &entry, char delim, int n)
{
    if (n < 0)
        return {};
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        size_t p = entry.find(delim, start);
        if (p == std::string::npos)
            return {};
        start = p + 1;
    }
    size_t end = entry.find(delim, start);
    if (end == std::string::npos)
        end = entry.size();
    return entry.substr(start, end - start);
}

int CountChars(const std::string &s, const std::string &chars)
{
    int n = 0;
    for (char c : s)
        if (chars.find(c) != std::string::npos)
            ++n;
    return n;
}

int CountChars(const std::string &s, char c)
{
    int n = 0;
    for (char x : s)
        if (x == c)
            ++n;
    return n;
}

size_t WordPosition(int n, const std::string &s, const std::string &delims)
{
    if (n < 1)
        return kNoWord;
    size_t pos = 0; // 0-based start of the current field
    for (int field = 1; field < n; ++field) {
        size_t p = s.find_first_of(delims, pos);
        if (p == std::string::npos)
            return kNoWord;
        pos = p + 1;
    }
    return pos + 1;
}

std::string ExtractWord(int n, const std::string &s, const std::string &delims)
{
    size_t pos = WordPosition(n, s, delims);
    if (pos == kNoWord || pos > s.size())
        return {};
    size_t start = pos - 1;
    size_t end = s.find_first_of(delims, start);
    if (end == std::string::npos)
        end = s.size();
    return s.substr(start, end - start);
}

std::string ReplaceText(const std::string &s, const std::string &old,
                        const std::string &replacement, bool all)
{
    if (old.empty())
        return s;
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t p = s.find(old, pos);
        if (p == std::string::npos)
            break;
        out.append(s, pos, p - pos);
        out += replacement;
        pos = p + old.size();
        if (!all)
            break;
    }
    out.append(s, pos, std::string::npos);
    return out;
}

std::string DeleteColumn(const std::string &row, int n, char delim)
{
    std::string result = GetEntryField(row, delim, 0) + delim;
    int count = CountChars(row, delim);
    for (int i = 1; i <= count; ++i) {
        if (i == n)
            continue;
        result += GetEntryField(row, delim, i);
        result += delim;
    }
    return result;
}

std::string MoveColumn(const std::string &row, int from, int to, char delim)
{
    if (from == to)
        return row;
    int last = CountChars(row, delim) - 1;
    std::string result = GetEntryField(row, delim, 0) + delim;
    auto add = [&](int first, int lastField) {
        for (int i = first; i <= lastField; ++i) {
            result += GetEntryField(row, delim, i);
            result += delim;
        }
    };
    if (to < from) {
        add(1, to - 1);
        add(from, from);
        add(to, from - 1);
        add(from + 1, last);
    } else {
        add(1, from - 1);
        add(from + 1, to);
        add(from, from);
        add(to + 1, last);
    }
    return result;
}

std::string FlipCase(const std::string &s)
{
    std::string out = s;
    for (char &c : out) {
        char upper = rtl::AnsiUpperChar(c);
        char lower = rtl::AnsiLowerChar(c);
        bool isUpperLetter = (lower != c);
        c = isUpperLetter ? lower : upper;
    }
    return out;
}

std::string ExpandChars(const std::string &s, char pad, int percent)
{
    if (s.find('%') != std::string::npos || s.empty())
        return s;
    long long remaining = static_cast<long long>(s.size()) * percent / 100;
    if (remaining < 0)
        remaining = 0;
    std::string out;
    size_t len = s.size();
    for (size_t p = 0; p < len; ++p) {
        long long k = remaining / static_cast<long long>(len - p);
        out += s[p];
        out.append(static_cast<size_t>(k), pad);
        remaining -= k;
    }
    return out;
}

std::string StripDelimiters(const std::string &s, char delim)
{
    size_t b = s.find_first_not_of(delim);
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(delim);
    return s.substr(b, e - b + 1);
}

std::string DecodeEscapes(const std::string &s)
{
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        char c = s[i];
        if (c != '\\' || i + 1 >= n) {
            out += c;
            ++i;
            continue;
        }
        char e = s[i + 1];
        switch (e) {
        case '"':
        case '\'':
        case '?':
        case '\\':
            out += e;
            i += 2;
            continue;
        case 'a':
            out += '\a';
            i += 2;
            continue;
        case 'b':
            out += '\b';
            i += 2;
            continue;
        case 'f':
            out += '\f';
            i += 2;
            continue;
        case 'n':
            out += '\n';
            i += 2;
            continue;
        case 'r':
            out += '\r';
            i += 2;
            continue;
        case 't':
            out += '\t';
            i += 2;
            continue;
        case 'v':
            out += '\v';
            i += 2;
            continue;
        default:
            break;
        }
        if (e >= '0' && e <= '7') {
            int value = e - '0';
            size_t j = i + 2;
            for (int k = 0; k < 2 && j < n && s[j] >= '0' && s[j] <= '7'; ++k, ++j)
                value = value * 8 + (s[j] - '0');
            out += static_cast<char>(value & 0xFF);
            i = j;
            continue;
        }
        if (e == 'x') {
            if (i + 2 >= n || rtl::HexDigitValue(s[i + 2]) < 0) {
                // Not a hexadecimal escape: keep backslash and x.
                out += '\\';
                out += 'x';
                i += 2;
                continue;
            }
            int value = rtl::HexDigitValue(s[i + 2]);
            size_t j = i + 3;
            if (j < n && rtl::HexDigitValue(s[j]) >= 0) {
                value = value * 16 + rtl::HexDigitValue(s[j]);
                ++j;
            }
            out += static_cast<char>(value);
            i = j;
            continue;
        }
        out += '\\';
        out += e;
        i += 2;
    }
    return out;
}

size_t FastPos(const std::string &pattern, const std::string &text)
{
    const size_t m = pattern.size();
    if (m == 0)
        return 1;
    if (m > text.size())
        return 0;
    std::array<size_t, 256> skip;
    skip.fill(m);
    for (size_t k = 0; k + 1 < m; ++k)
        skip[static_cast<unsigned char>(pattern[k])] = m - 1 - k;
    size_t pos = 0;
    while (pos + m <= text.size()) {
        if (text.compare(pos, m, pattern) == 0)
            return pos + 1;
        pos += skip[static_cast<unsigned char>(text[pos + m - 1])];
    }
    return 0;
}

std::vector<std::string> SplitByDelimiter(const std::string &text, const std::string &delim)
{
    std::vector<std::string> out;
    if (delim.empty()) {
        if (!text.empty())
            out.push_back(text);
        return out;
    }
    size_t pos = 0;
    while (true) {
        size_t p = text.find(delim, pos);
        if (p == std::string::npos)
            break;
        out.push_back(text.substr(pos, p - pos));
        pos = p + delim.size();
    }
    if (pos < text.size())
        out.push_back(text.substr(pos));
    return out;
}

std::string JoinWithDelimiter(const std::vector<std::string> &items, const std::string &separator,
                              bool skipEmpty)
{
    std::string out;
    bool first = true;
    for (const auto &item : items) {
        if (skipEmpty && item.empty())
            continue;
        if (!first)
            out += separator;
        out += item;
        first = false;
    }
    return out;
}

std::string MergeEntries(const std::string &stored, const std::string &fresh, char delim)
{
    const std::string d(1, delim);
    std::vector<std::string> s = SplitByDelimiter(stored, d);
    std::vector<std::string> f = SplitByDelimiter(fresh, d);
    std::vector<std::string> out;
    out.push_back(s.empty() ? std::string() : s[0]);
    for (size_t i = 1; i < s.size(); ++i)
        out.push_back(i < f.size() && !f[i].empty() ? f[i] : s[i]);
    for (size_t i = std::max<size_t>(s.size(), 1); i < f.size(); ++i)
        out.push_back(f[i]);
    return JoinWithDelimiter(out, d, false) + d;
}

std::string PadEntry(const std::string &row, char delim, int languages)
{
    int k = CountChars(row, delim);
    if (k >= languages + 1)
        return row;
    return row + std::string(static_cast<size_t>(languages + 1 - k), delim);
}

std::string CutEntry(const std::string &row, char delim, int languages)
{
    int seen = 0;
    for (size_t i = 0; i < row.size(); ++i) {
        if (row[i] == delim && ++seen == languages + 1)
            return row.substr(0, i + 1);
    }
    return row;
}

std::string ReplaceField(const std::string &row, char delim, int language, const std::string &text)
{
    if (language < 1)
        return row;
    std::string padded = PadEntry(row, delim, language);
    // Start of the field: after the language-th delimiter.
    size_t start = 0;
    for (int i = 0; i < language; ++i)
        start = padded.find(delim, start) + 1;
    size_t end = padded.find(delim, start);
    return padded.substr(0, start) + text + padded.substr(end);
}

bool AllTextsEmpty(const std::string &row, char delim, int languages, bool trimmed)
{
    for (int n = 1; n <= languages; ++n) {
        const std::string text = GetEntryField(row, delim, n);
        if (trimmed ? !rtl::Trim(text).empty() : !text.empty())
            return false;
    }
    return true;
}

std::u16string GetWideEntryField(const std::u16string &entry, char16_t delim, int n)
{
    if (n < 0)
        return {};
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        size_t p = entry.find(delim, start);
        if (p == std::u16string::npos)
            return {};
        start = p + 1;
    }
    size_t end = entry.find(delim, start);
    if (end == std::u16string::npos)
        end = entry.size();
    return entry.substr(start, end - start);
}

std::string WideToCharset(const std::u16string &wide, int charset)
{
    return rtl::WideToCodePage(wide, rtl::CharsetToCodePage(charset));
}

std::u16string CharsetToWide(const std::string &text, int charset)
{
    return rtl::CodePageToWide(text, rtl::CharsetToCodePage(charset));
}

void TlxWideStringsAdapter::SetWideText(const std::u16string &wide)
{
    FLines.clear();
    std::u16string line;
    bool pending = false;
    for (char16_t c : wide) {
        if (c == u'\r') {
            FLines.push_back(line);
            line.clear();
            pending = false;
        } else if (c != u'\n') {
            line += c;
            pending = true;
        }
    }
    if (pending)
        FLines.push_back(line);
}

std::string EncodeLineBreaks(std::string row)
{
    for (char &c : row) {
        if (c == '\r')
            c = '\x19';
        else if (c == '\n')
            c = '\x1A';
    }
    return row;
}

std::string DecodeLineBreaks(std::string row)
{
    for (char &c : row) {
        if (c == '\x19')
            c = '\r';
        else if (c == '\x1A')
            c = '\n';
    }
    return row;
}

} // namespace i18n
