#include "platform/rtl/codepage.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace rtl {

unsigned GetACP()
{
    return SystemCodePage;
}

namespace {

enum class Kind { Bytes, Utf8, Utf16 };

const char *Utf16Name()
{
    return std::endian::native == std::endian::big ? "UTF-16BE" : "UTF-16LE";
}

std::string IconvName(unsigned codePage)
{
    switch (codePage) {
    case CP_UTF8:
        return "UTF-8";
    case 10000:
        return "MACINTOSH";
    default:
        return "CP" + std::to_string(codePage);
    }
}

// One cached descriptor per direction; a failed open is remembered too.
class IconvCache {
public:
    ~IconvCache()
    {
        for (auto &[key, cd] : FDescriptors)
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
    }

    // Runs fn(cd) under the cache lock; cd is (iconv_t)-1 when the direction
    // cannot be opened.
    template <typename Fn> auto With(const std::string &from, const std::string &to, Fn fn)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        auto key = std::make_pair(from, to);
        auto it = FDescriptors.find(key);
        if (it == FDescriptors.end())
            it = FDescriptors.emplace(key, iconv_open(to.c_str(), from.c_str())).first;
        if (it->second != reinterpret_cast<iconv_t>(-1))
            iconv(it->second, nullptr, nullptr, nullptr, nullptr); // initial state
        return fn(it->second);
    }

private:
    std::mutex FMutex;
    std::map<std::pair<std::string, std::string>, iconv_t> FDescriptors;
};

IconvCache &Cache()
{
    static IconvCache cache;
    return cache;
}

// The number of input bytes that make up the undecodable or unmappable unit
// at in[0]: a whole surrogate pair in UTF-16, a lead byte with its
// continuation bytes in UTF-8, one byte otherwise.
size_t SkipLength(Kind kind, const char *in, size_t left)
{
    switch (kind) {
    case Kind::Utf16: {
        if (left < 2)
            return left;
        char16_t first;
        memcpy(&first, in, 2);
        if (first >= 0xD800 && first < 0xDC00 && left >= 4) {
            char16_t second;
            memcpy(&second, in + 2, 2);
            if (second >= 0xDC00 && second < 0xE000)
                return 4;
        }
        return 2;
    }
    case Kind::Utf8: {
        size_t n = 1;
        while (n < left && n < 4 && (static_cast<unsigned char>(in[n]) & 0xC0) == 0x80)
            ++n;
        return n;
    }
    default:
        return 1;
    }
}

void AppendReplacement(Kind kind, std::string &out)
{
    switch (kind) {
    case Kind::Utf16: {
        const char16_t r = 0xFFFD;
        out.append(reinterpret_cast<const char *>(&r), 2);
        break;
    }
    case Kind::Utf8:
        out += "\xEF\xBF\xBD";
        break;
    default:
        out += '?';
        break;
    }
}

// Bytes of Windows-1252 that iconv leaves undefined. Windows maps them to
// the C1 control characters of the same number, and so does this code, so
// that every byte of the system code page survives a round trip.
bool Is1252Gap(unsigned c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Handles such a byte (or its character) at in[0] where iconv stopped; the
// number of input bytes used, 0 when in[0] is something else.
size_t Map1252Gap(bool from1252, Kind fromKind, bool to1252, Kind toKind, const char *in,
                  size_t left, std::string &out)
{
    const unsigned first = static_cast<unsigned char>(in[0]);
    if (from1252 && Is1252Gap(first)) {
        if (toKind == Kind::Utf16) {
            const char16_t unit = static_cast<char16_t>(first);
            out.append(reinterpret_cast<const char *>(&unit), 2);
        } else if (toKind == Kind::Utf8) {
            out += static_cast<char>(0xC2);
            out += static_cast<char>(first);
        } else {
            out += static_cast<char>(first);
        }
        return 1;
    }
    if (to1252 && left >= 2) {
        if (fromKind == Kind::Utf16) {
            char16_t unit;
            memcpy(&unit, in, 2);
            if (unit < 0x100 && Is1252Gap(unit)) {
                out += static_cast<char>(unit);
                return 2;
            }
        } else if (fromKind == Kind::Utf8 && first == 0xC2 &&
                   Is1252Gap(static_cast<unsigned char>(in[1]))) {
            out += in[1];
            return 2;
        }
    }
    return 0;
}

bool Usable(const std::string &from, const std::string &to)
{
    return Cache().With(from, to, [](iconv_t cd) { return cd != reinterpret_cast<iconv_t>(-1); });
}

// Converts input bytes; returns false only when the direction has no
// converter at all.
bool Convert(const std::string &input, const std::string &fromName, Kind fromKind,
             const std::string &toName, Kind toKind, std::string &out)
{
    const bool from1252 = fromName == "CP1252", to1252 = toName == "CP1252";
    out.clear();
    if (input.empty())
        return Usable(fromName, toName);
    return Cache().With(fromName, toName, [&](iconv_t cd) {
        if (cd == reinterpret_cast<iconv_t>(-1))
            return false;
        std::vector<char> buffer(input.size() * 4 + 16);
        char *in = const_cast<char *>(input.data());
        size_t inLeft = input.size();
        while (true) {
            char *outPtr = buffer.data();
            size_t outLeft = buffer.size();
            const size_t rc =
                iconv(cd, inLeft ? &in : nullptr, inLeft ? &inLeft : nullptr, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (rc != static_cast<size_t>(-1)) {
                if (inLeft == 0) {
                    // Flush any shift state, then done.
                    outPtr = buffer.data();
                    outLeft = buffer.size();
                    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
                    out.append(buffer.data(), buffer.size() - outLeft);
                    return true;
                }
                continue;
            }
            if (errno == E2BIG)
                continue; // the buffer was drained into out; go on
            if (errno == EILSEQ) {
                size_t skip = Map1252Gap(from1252, fromKind, to1252, toKind, in, inLeft, out);
                if (!skip) {
                    AppendReplacement(toKind, out);
                    skip = SkipLength(fromKind, in, inLeft);
                }
                in += skip;
                inLeft -= skip;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (inLeft == 0)
                    return true;
                continue;
            }
            // EINVAL: an incomplete sequence at the end of the input.
            AppendReplacement(toKind, out);
            return true;
        }
    });
}

unsigned Resolve(unsigned codePage)
{
    if (codePage == CP_ACP)
        return SystemCodePage;
    if (codePage == CP_SYMBOL || IsCodePageSupported(codePage))
        return codePage;
    return SystemCodePage;
}

Kind KindOf(unsigned codePage)
{
    return codePage == CP_UTF8 ? Kind::Utf8 : Kind::Bytes;
}

std::string ToBytes(const std::u16string &text)
{
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
}

std::u16string FromBytes(const std::string &bytes)
{
    std::u16string r(bytes.size() / 2, u'\0');
    memcpy(r.data(), bytes.data(), r.size() * 2);
    return r;
}

std::u16string SymbolToWide(const std::string &text)
{
    std::u16string r;
    r.reserve(text.size());
    for (unsigned char c : text)
        r += static_cast<char16_t>(c < 0x20 ? c : 0xF000 + c);
    return r;
}

std::string WideToSymbol(const std::u16string &text)
{
    std::string r;
    r.reserve(text.size());
    for (char16_t c : text) {
        if (c < 0x20)
            r += static_cast<char>(c);
        else if (c >= 0xF020 && c <= 0xF0FF)
            r += static_cast<char>(c & 0xFF);
        else if (c >= 0xDC00 && c < 0xE000 && !r.empty() && r.back() == '?')
            ; // second half of a surrogate pair already replaced
        else
            r += '?';
    }
    return r;
}

} // namespace

bool IsCodePageSupported(unsigned codePage)
{
    if (codePage == CP_ACP || codePage == CP_SYMBOL)
        return true;
    return Usable(IconvName(codePage), Utf16Name()) && Usable(Utf16Name(), IconvName(codePage));
}

std::u16string CodePageToWide(const std::string &text, unsigned codePage)
{
    codePage = Resolve(codePage);
    if (codePage == CP_SYMBOL)
        return SymbolToWide(text);
    std::string out;
    Convert(text, IconvName(codePage), KindOf(codePage), Utf16Name(), Kind::Utf16, out);
    return FromBytes(out);
}

std::string WideToCodePage(const std::u16string &text, unsigned codePage)
{
    codePage = Resolve(codePage);
    if (codePage == CP_SYMBOL)
        return WideToSymbol(text);
    std::string out;
    Convert(ToBytes(text), Utf16Name(), Kind::Utf16, IconvName(codePage), KindOf(codePage), out);
    return out;
}

std::string CodePageToUtf8(const std::string &text, unsigned codePage)
{
    codePage = Resolve(codePage);
    if (codePage == CP_SYMBOL)
        return WideToUtf8(SymbolToWide(text));
    std::string out;
    Convert(text, IconvName(codePage), KindOf(codePage), "UTF-8", Kind::Utf8, out);
    return out;
}

std::string Utf8ToCodePage(const std::string &utf8, unsigned codePage)
{
    codePage = Resolve(codePage);
    if (codePage == CP_SYMBOL)
        return WideToSymbol(Utf8ToWide(utf8));
    std::string out;
    Convert(utf8, "UTF-8", Kind::Utf8, IconvName(codePage), KindOf(codePage), out);
    return out;
}

std::u16string Utf8ToWide(const std::string &utf8)
{
    std::string out;
    Convert(utf8, "UTF-8", Kind::Utf8, Utf16Name(), Kind::Utf16, out);
    return FromBytes(out);
}

std::string WideToUtf8(const std::u16string &text)
{
    std::string out;
    Convert(ToBytes(text), Utf16Name(), Kind::Utf16, "UTF-8", Kind::Utf8, out);
    return out;
}

// ---- Charsets -------------------------------------------------------------

bool TryCharsetToCodePage(int charset, unsigned &codePage)
{
    static const std::pair<int, unsigned> table[] = {
        {ANSI_CHARSET, 1252},        {DEFAULT_CHARSET, SystemCodePage},
        {SYMBOL_CHARSET, CP_SYMBOL}, {MAC_CHARSET, 10000},
        {SHIFTJIS_CHARSET, 932},     {HANGEUL_CHARSET, 949},
        {JOHAB_CHARSET, 1361},       {GB2312_CHARSET, 936},
        {CHINESEBIG5_CHARSET, 950},  {GREEK_CHARSET, 1253},
        {TURKISH_CHARSET, 1254},     {VIETNAMESE_CHARSET, 1258},
        {HEBREW_CHARSET, 1255},      {ARABIC_CHARSET, 1256},
        {BALTIC_CHARSET, 1257},      {RUSSIAN_CHARSET, 1251},
        {THAI_CHARSET, 874},         {EASTEUROPE_CHARSET, 1250},
        {OEM_CHARSET, 437},
    };
    for (const auto &[cs, cp] : table)
        if (cs == charset) {
            codePage = cp;
            return true;
        }
    return false;
}

unsigned CharsetToCodePage(int charset)
{
    unsigned codePage = SystemCodePage;
    TryCharsetToCodePage(charset, codePage);
    return codePage;
}

// ---- Windows-1252 case and ordering ----------------------------------------

char AnsiUpperChar(char ch)
{
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 0x20);
    switch (c) {
    case 0x9A: // s caron
    case 0x9C: // oe
    case 0x9E: // z caron
        return static_cast<char>(c - 0x10);
    case 0xFF: // y diaeresis
        return static_cast<char>(0x9F);
    default:
        break;
    }
    if (c >= 0xE0 && c != 0xF7) // accented small letters; 0xF7 is the division sign
        return static_cast<char>(c - 0x20);
    return ch;
}

char AnsiLowerChar(char ch)
{
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c + 0x20);
    switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<char>(c + 0x10);
    case 0x9F:
        return static_cast<char>(0xFF);
    default:
        break;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) // 0xD7 is the multiplication sign
        return static_cast<char>(c + 0x20);
    return ch;
}

bool AnsiIsUpper(char c)
{
    return AnsiLowerChar(c) != c;
}

std::string AnsiUpperCase(const std::string &s)
{
    std::string r(s);
    for (char &c : r)
        c = AnsiUpperChar(c);
    return r;
}

std::string AnsiLowerCase(const std::string &s)
{
    std::string r(s);
    for (char &c : r)
        c = AnsiLowerChar(c);
    return r;
}

namespace {

// Primary sort weight of an upper-cased Windows-1252 byte: other characters
// by their code, then digits, then letters, an accented letter with its base.
int PrimaryWeight(unsigned char c)
{
    constexpr int digits = 0x100, letters = 0x200;
    if (c >= '0' && c <= '9')
        return digits + (c - '0');
    if (c >= 'A' && c <= 'Z')
        return letters + (c - 'A');
    char base = 0;
    switch (c) {
    case 0xB9:
        return digits + 1;
    case 0xB2:
        return digits + 2;
    case 0xB3:
        return digits + 3;
    case 0x8A: // S caron
    case 0xDF: // sharp s
        base = 'S';
        break;
    case 0x8C: // OE
    case 0xBA: // masculine ordinal
        base = 'O';
        break;
    case 0x8E:
        base = 'Z';
        break;
    case 0x9F:
    case 0xDD:
        base = 'Y';
        break;
    case 0xAA: // feminine ordinal
        base = 'A';
        break;
    case 0xC7:
        base = 'C';
        break;
    case 0xD0:
        base = 'D';
        break;
    case 0xD1:
        base = 'N';
        break;
    case 0xD8:
        base = 'O';
        break;
    case 0xDE: // thorn, after Z
        return letters + 26;
    default:
        if (c >= 0xC0 && c <= 0xC6)
            base = 'A';
        else if (c >= 0xC8 && c <= 0xCB)
            base = 'E';
        else if (c >= 0xCC && c <= 0xCF)
            base = 'I';
        else if (c >= 0xD2 && c <= 0xD6)
            base = 'O';
        else if (c >= 0xD9 && c <= 0xDC)
            base = 'U';
        break;
    }
    if (base)
        return letters + (base - 'A');
    return c;
}

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Three levels: base letters, then the upper-cased bytes (accents), then
// (when case matters) lower before upper case.
int AnsiCompare(const std::string &a, const std::string &b, bool caseSensitive)
{
    const std::string ua = AnsiUpperCase(a), ub = AnsiUpperCase(b);
    const size_t n = std::min(ua.size(), ub.size());
    for (size_t i = 0; i < n; ++i) {
        const int d = PrimaryWeight(static_cast<unsigned char>(ua[i])) -
                      PrimaryWeight(static_cast<unsigned char>(ub[i]));
        if (d)
            return Sign(d);
    }
    if (ua.size() != ub.size())
        return ua.size() < ub.size() ? -1 : 1;
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<unsigned char>(ua[i]) - static_cast<unsigned char>(ub[i]);
        if (d)
            return Sign(d);
    }
    if (!caseSensitive)
        return 0;
    // The upper-cased texts are equal, so differing bytes are case variants.
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return AnsiIsUpper(a[i]) ? 1 : -1;
    return 0;
}

} // namespace

int AnsiCompareText(const std::string &a, const std::string &b)
{
    return AnsiCompare(a, b, false);
}

int AnsiCompareStr(const std::string &a, const std::string &b)
{
    return AnsiCompare(a, b, true);
}

bool AnsiSameText(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && AnsiUpperCase(a) == AnsiUpperCase(b);
}

} // namespace rtl
