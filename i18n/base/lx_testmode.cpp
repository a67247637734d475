// The test mode's settings and its transformations of a text.
#include "i18n/base/lx_testmode.h"

#include "i18n/base/lx_rows.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/typinfo.h"

#include <cstdint>

namespace i18n {

RTL_IMPLEMENT_PUBLISHED_CLASS(TTestModeInfo, rtl::TPersistent)
{
    using T = TTestModeInfo;
    P.Boolean(
         "Active", [](T &t) { return t.Active; }, [](T &t, bool v) { t.Active = v; })
        .Default(0);
    P.Add(
         "PaddingChar", rtl::tkChar, "Char",
         [](T &t) {
             return rtl::TPropValue(std::int64_t(static_cast<unsigned char>(t.PaddingChar)));
         },
         [](T &t, const rtl::TPropValue &v) {
             t.PaddingChar = static_cast<char>(std::get<std::int64_t>(v));
         })
        .SetDefault('*');
    P.Integer(
         "ExpandCharsPercent", "Integer", [](T &t) { return t.ExpandCharsPercent; },
         [](T &t, int v) { t.ExpandCharsPercent = v; })
        .Default(100);
    P.Integer(
         "ExpandWidthPercent", "Integer", [](T &t) { return t.ExpandWidthPercent; },
         [](T &t, int v) { t.ExpandWidthPercent = v; })
        .Default(100);
    P.Enumeration<TTestModeKind>(
         "Kind", "TTestModeKind", {"tmkExpandWidth", "tmkFlipCase", "tmkExpandChars"},
         [](T &t) { return t.Kind; }, [](T &t, TTestModeKind v) { t.Kind = v; })
        .Default(tmkExpandWidth);
}

void TTestModeInfo::Assign(const rtl::TPersistent &source)
{
    auto *info = dynamic_cast<const TTestModeInfo *>(&source);
    if (!info) {
        rtl::TPersistent::Assign(source);
        return;
    }
    Active = info->Active;
    PaddingChar = info->PaddingChar;
    ExpandCharsPercent = info->ExpandCharsPercent;
    ExpandWidthPercent = info->ExpandWidthPercent;
    Kind = info->Kind;
}

namespace {
TTextMeasurer &Measurer()
{
    static TTextMeasurer measurer;
    return measurer;
}

// The expand-width form: the upper-cased text with padding inserted from
// its end towards its start, every second position, until it is wider by
// the percentage. A padding character that adds no width ends it, and it
// never takes more than four padding characters per character of text.
std::string ExpandWidth(const TTestModeInfo &info, const std::string &text)
{
    std::string result = rtl::AnsiUpperCase(text);
    const int width = MeasureTestModeText(result);
    const int64_t target = width + int64_t(width) * info.ExpandWidthPercent / 100;
    const size_t limit = 4 * text.size();
    size_t p = result.size(); // 1-based insertion position
    int current = width;
    for (size_t inserted = 0; current < target && inserted < limit; ++inserted) {
        std::string wider = result;
        wider.insert(p - 1 < wider.size() ? p - 1 : wider.size(), 1, info.PaddingChar);
        const int w = MeasureTestModeText(wider);
        if (w <= current)
            break;
        result = std::move(wider);
        current = w;
        p = p > 3 ? p - 2 : result.size() - 1;
        if (p < 1)
            p = 1;
    }
    return result;
}
} // namespace

void SetTestModeTextMeasurer(TTextMeasurer measurer)
{
    Measurer() = std::move(measurer);
}

int MeasureTestModeText(const std::string &text)
{
    const TTextMeasurer &m = Measurer();
    return m ? m(text) : static_cast<int>(text.size());
}

std::string TestModeTransform(const TTestModeInfo &info, const std::string &text)
{
    switch (info.Kind) {
    case tmkFlipCase:
        return FlipCase(text);
    case tmkExpandChars:
        return ExpandChars(text, info.PaddingChar, info.ExpandCharsPercent);
    case tmkExpandWidth:
    default:
        return ExpandWidth(info, text);
    }
}

} // namespace i18n
