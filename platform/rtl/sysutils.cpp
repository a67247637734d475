#include "platform/rtl/sysutils.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/exceptions.h"

#include <climits>

namespace rtl {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string IntToStr(int64_t value)
{
    return std::to_string(value);
}

bool TryStrToInt(const std::string &text, int &value)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    // Decimal: magnitude up to 2^31 (for the negative limit); hexadecimal:
    // any 32-bit pattern.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    const int64_t signedValue = base == 16 ? static_cast<int32_t>(static_cast<uint32_t>(magnitude))
                                           : static_cast<int64_t>(magnitude);
    value = static_cast<int>(negative ? -signedValue : signedValue);
    return true;
}

int StrToInt(const std::string &text)
{
    int value;
    if (!TryStrToInt(text, value))
        throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    return value;
}

int StrToIntDef(const std::string &text, int defaultValue)
{
    int value;
    return TryStrToInt(text, value) ? value : defaultValue;
}

static bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string TrimLeft(const std::string &s)
{
    size_t first = 0;
    while (first < s.size() && IsBlank(s[first]))
        ++first;
    return s.substr(first);
}

std::string TrimRight(const std::string &s)
{
    size_t last = s.size();
    while (last > 0 && IsBlank(s[last - 1]))
        --last;
    return s.substr(0, last);
}

std::string Trim(const std::string &s)
{
    return TrimLeft(TrimRight(s));
}

static char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
static char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string UpperCase(const std::string &s)
{
    std::string r(s);
    for (char &c : r)
        c = AsciiUpper(c);
    return r;
}

std::string LowerCase(const std::string &s)
{
    std::string r(s);
    for (char &c : r)
        c = AsciiLower(c);
    return r;
}

int CompareText(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(const std::string &a, const std::string &b)
{
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string StringReplace(const std::string &s, const std::string &oldPattern,
                          const std::string &newPattern, TReplaceFlags flags)
{
    if (oldPattern.empty())
        return s;
    // Windows-1252 case folding keeps every byte in place, so positions found
    // in the folded copies are positions in s.
    const bool ignoreCase = flags & rfIgnoreCase;
    const std::string haystack = ignoreCase ? AnsiUpperCase(s) : s;
    const std::string needle = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
    std::string result;
    size_t from = 0;
    for (;;) {
        const size_t at = haystack.find(needle, from);
        if (at == std::string::npos)
            break;
        result.append(s, from, at - from);
        result += newPattern;
        from = at + needle.size();
        if (!(flags & rfReplaceAll))
            break;
    }
    result.append(s, from, std::string::npos);
    return result;
}

std::string AnsiQuotedStr(const std::string &s, char quote)
{
    std::string r(1, quote);
    for (char c : s) {
        r += c;
        if (c == quote)
            r += c;
    }
    r += quote;
    return r;
}

std::string QuotedStr(const std::string &s)
{
    return AnsiQuotedStr(s, '\'');
}

std::string AnsiExtractQuotedStr(const std::string &src, char quote, size_t &pos)
{
    if (pos >= src.size() || src[pos] != quote)
        return {};
    std::string r;
    size_t i = pos + 1;
    while (i < src.size()) {
        if (src[i] == quote) {
            if (i + 1 < src.size() && src[i + 1] == quote) {
                r += quote;
                i += 2;
                continue;
            }
            ++i; // the closing quote
            pos = i;
            return r;
        }
        r += src[i++];
    }
    pos = i;
    return r;
}

std::string AnsiExtractQuotedStr(const std::string &src, char quote)
{
    size_t pos = 0;
    return AnsiExtractQuotedStr(src, quote, pos);
}

std::string IncludeTrailingPathDelimiter(const std::string &path)
{
    if (!path.empty() && path.back() == '/')
        return path;
    return path + '/';
}

std::string ExtractFileName(const std::string &fileName)
{
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string ExtractFilePath(const std::string &fileName)
{
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

// Position of the extension's '.', or npos when the name part has none.
static size_t ExtensionDot(const std::string &fileName)
{
    const size_t dot = fileName.rfind('.');
    const size_t slash = fileName.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}

std::string ExtractFileExt(const std::string &fileName)
{
    const size_t dot = ExtensionDot(fileName);
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string ChangeFileExt(const std::string &fileName, const std::string &extension)
{
    const size_t dot = ExtensionDot(fileName);
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + extension;
}

namespace {
TResStringLoader gResStringLoader = nullptr;
} // namespace

std::string LoadResString(const TResStringRec &rec)
{
    if (gResStringLoader)
        return gResStringLoader(rec);
    return rec.Text ? rec.Text : "";
}

void RedirectResStrings(TResStringLoader loader)
{
    gResStringLoader = loader;
}

namespace {
TScreenCursorAccess gScreenCursor;
} // namespace

void InstallScreenCursor(TScreenCursorAccess access)
{
    gScreenCursor = access;
}

int ScreenCursor()
{
    return gScreenCursor.Get ? gScreenCursor.Get() : 0;
}

void SetScreenCursor(int cursor)
{
    if (gScreenCursor.Set)
        gScreenCursor.Set(cursor);
}

} // namespace rtl
