#include "platform/rtl/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace rtl {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal digits and the position of the decimal point of a finite, non-zero
// magnitude: value = 0.d1d2d3... * 10^exponent.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

// Every decimal digit of the exact binary value of v. A double is an integer
// times a power of two, so its decimal expansion ends: below the binary point
// it has as many decimals as bits, above it at most one digit per bit, and
// printf writes all of them when asked for that many.
DecimalDigits ExactDigits(double v)
{
    int binaryExponent = 0;
    std::frexp(v, &binaryExponent);
    const int fractionBits = std::max(0, 53 - binaryExponent);
    const int precision = fractionBits + std::max(0, binaryExponent) + 2;
    std::vector<char> buf(static_cast<size_t>(precision) + 16);
    const int n = std::snprintf(buf.data(), buf.size(), "%.*e", precision, std::fabs(v));
    std::string text(buf.data(), static_cast<size_t>(std::max(n, 0)));
    DecimalDigits out;
    const size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i)
        if (IsDigit(text[i]))
            out.digits += text[i];
    out.exponent = std::stoi(text.substr(e + 1)) + 1;
    while (out.digits.size() > 1 && out.digits.back() == '0')
        out.digits.pop_back();
    return out;
}

// Rounds d to keep digits, halves away from zero. Returns false when the
// value rounds to zero.
bool RoundDigits(DecimalDigits &d, int keep)
{
    if (keep < 0) {
        d.digits.clear();
        return false;
    }
    if (static_cast<int>(d.digits.size()) <= keep)
        return true;
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.exponent += 1;
            d.digits.pop_back();
            if (d.digits.empty())
                d.digits = "1";
        } else {
            ++d.digits[static_cast<size_t>(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return !d.digits.empty();
}

std::string NonFinite(double v)
{
    if (std::isnan(v))
        return "NAN";
    return v < 0 ? "-INF" : "INF";
}

// Fixed-point text with `decimals` decimals and at most `precision`
// significant digits, rounded on the exact binary value of v: 0.15 is stored
// a hair below the tie and gives "0.1", a true tie such as 63.25 goes away
// from zero.
std::string FixedText(double v, int precision, int decimals, char sep)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    decimals = std::clamp(decimals, 0, 18);
    DecimalDigits d;
    bool nonZero = v != 0.0;
    if (nonZero) {
        d = ExactDigits(v);
        // Digits kept: up to the requested decimal, and never more than the
        // precision.
        if (d.exponent > precision) // too large for fixed notation
            return FloatToStr(v, [&] {
                TFormatSettings fs;
                fs.DecimalSeparator = sep;
                return fs;
            }());
        const int keep = std::min(precision, d.exponent + decimals);
        if (keep == 0 && !d.digits.empty() && d.digits[0] >= '5') {
            // The first digit itself rounds up into the next place.
            d.digits = "1";
            d.exponent += 1;
        } else {
            nonZero = RoundDigits(d, keep);
        }
    }
    std::string out;
    if (nonZero && v < 0)
        out += '-';
    auto digitAt = [&](int index) -> char { // index 0 = first digit after 10^exponent
        if (!nonZero || index < 0 || index >= static_cast<int>(d.digits.size()))
            return '0';
        return d.digits[static_cast<size_t>(index)];
    };
    const int intDigits = nonZero ? d.exponent : 0;
    if (intDigits <= 0) {
        out += '0';
    } else {
        for (int i = 0; i < intDigits; ++i)
            out += digitAt(i);
    }
    if (decimals > 0) {
        out += sep;
        for (int k = 0; k < decimals; ++k)
            out += digitAt(intDigits + k);
    }
    return out;
}

} // namespace

std::string FloatToStr(double v, const TFormatSettings &settings)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    if (v == 0.0)
        return "0";
    // 15 significant digits, trailing zeros dropped.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string text(buf);
    const size_t e = text.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (IsDigit(text[i]))
            digits += text[i];
    const int exponent = std::stoi(text.substr(e + 1)) + 1; // digits before the point
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = v < 0 ? "-" : "";
    const int nd = static_cast<int>(digits.size());
    if (exponent > 15 || exponent < -3) {
        // 1.5E20, 1E-5
        out += digits[0];
        if (nd > 1) {
            out += settings.DecimalSeparator;
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += std::to_string(exponent - 1);
    } else if (exponent <= 0) {
        out += '0';
        out += settings.DecimalSeparator;
        out.append(static_cast<size_t>(-exponent), '0');
        out += digits;
    } else {
        for (int i = 0; i < exponent; ++i)
            out += i < nd ? digits[static_cast<size_t>(i)] : '0';
        if (nd > exponent) {
            out += settings.DecimalSeparator;
            out.append(digits, static_cast<size_t>(exponent), std::string::npos);
        }
    }
    return out;
}

std::string FormatFloatFixed(double v, int decimals, const TFormatSettings &settings)
{
    return FixedText(v, 15, decimals, settings.DecimalSeparator);
}

bool TryStrToFloat(const std::string &s, double &out, const TFormatSettings &settings)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    std::string text;
    bool negative = false;
    if (b < e && (s[b] == '+' || s[b] == '-')) {
        negative = s[b] == '-';
        ++b;
    }
    bool mantissaDigits = false;
    bool seenPoint = false;
    size_t i = b;
    for (; i < e; ++i) {
        const char c = s[i];
        if (IsDigit(c)) {
            mantissaDigits = true;
            text += c;
        } else if (c == settings.DecimalSeparator && !seenPoint) {
            seenPoint = true;
            text += '.';
        } else {
            break;
        }
    }
    if (!mantissaDigits)
        return false;
    if (i < e && (s[i] == 'e' || s[i] == 'E')) {
        text += 'e';
        ++i;
        if (i < e && (s[i] == '+' || s[i] == '-'))
            text += s[i++];
        bool expDigits = false;
        while (i < e && IsDigit(s[i])) {
            text += s[i++];
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    if (i != e)
        return false;
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(v))
        return false;
    out = negative ? -v : v;
    return true;
}

std::string LevelText(double db, const TFormatSettings &settings)
{
    return FixedText(db, 7, 1, settings.DecimalSeparator);
}

} // namespace rtl
