// Locales, charsets, UTF-8 storage and the test mode.
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/typinfo.h"

namespace i18n {

// ---------------------------------------------------------------------------
// Test mode

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

bool TlxCustomLang::TestModeActive() const
{
    return FLangDispatcher && FLangDispatcher->TestModeInfo().Active;
}

std::string TlxCustomLang::TestModeText(const std::string &text) const
{
    return FLangDispatcher ? TestModeTransform(FLangDispatcher->TestModeInfo(), text) : text;
}

// ---------------------------------------------------------------------------
// Charsets and UTF-8

std::string TlxCustomLang::CharsetToUtf8(const std::string &text, int charset)
{
    return text.empty() ? text : rtl::WideToUtf8(CharsetToWide(text, charset));
}

std::string TlxCustomLang::Utf8ToCharset(const std::string &text, int charset)
{
    return text.empty() ? text : WideToCharset(rtl::Utf8ToWide(text), charset);
}

std::string TlxCustomLang::FromStorage(const std::string &text, int charset) const
{
    return FStoreAsUTF8 ? Utf8ToCharset(text, charset) : text;
}

std::string TlxCustomLang::ToStorage(const std::string &text, int charset) const
{
    return FStoreAsUTF8 ? CharsetToUtf8(text, charset) : text;
}

int TlxCustomLang::CharsetOf(int language)
{
    if (static_cast<int>(FCharsets.size()) < FNumOfLanguages)
        RebuildCharsetCache();
    if (language < 1 || language > static_cast<int>(FCharsets.size()))
        return rtl::DEFAULT_CHARSET;
    return FCharsets[static_cast<size_t>(language - 1)];
}

std::string TlxCustomLang::GetStringPropertyText(rtl::TObject *object, const std::string &property)
{
    if (!object)
        return {};
    const rtl::TPropInfo *p = rtl::GetPropInfo(object, property, rtl::tkStrings);
    if (!p)
        return {};
    if (!rtl::tkWideStrings.Contains(p->Kind()))
        return FStoreAsUTF8 ? CharsetToUtf8(rtl::GetStrProp(object, p), FActiveCharset)
                            : rtl::GetStrProp(object, p);
    const std::u16string wide = rtl::GetWideStrProp(object, p);
    return FStoreAsUTF8 ? rtl::WideToUtf8(wide) : WideToCharset(wide, FActiveCharset);
}

void TlxCustomLang::SetStoreAsUTF8(bool b)
{
    if (IsLoading()) {
        FStoreAsUTF8 = b;
        return;
    }
    if (b == FStoreAsUTF8)
        return;
    ConvertStorage(b);
    FStoreAsUTF8 = b;
}

void TlxCustomLang::ConvertStorage(bool toUtf8)
{
    RebuildCharsetCache();
    auto convert = [&](const std::string &text, int language) {
        const int charset = CharsetOf(language);
        return toUtf8 ? CharsetToUtf8(text, charset) : Utf8ToCharset(text, charset);
    };
    for (int t = 0; t < kStringsTypeCount; ++t) {
        if (t == stFonts || t == stCharSets)
            continue;
        rtl::TStrings *table = TableOfType(t);
        if (!table)
            continue;
        for (int i = 0; i < table->Count(); ++i) {
            const std::string row = table->Strings(i);
            std::string rebuilt = GetEntryField(row, FLangDelim, 0) + FLangDelim;
            for (int n = 1; n <= FNumOfLanguages; ++n)
                rebuilt += convert(GetEntryField(row, FLangDelim, n), n) + FLangDelim;
            if (rebuilt != row)
                table->Put(i, rebuilt);
        }
    }
    if (!HasState(rtl::csDesigning))
        FIndexDirty = true; // both indexes follow the converted Strings table
    for (int i = 0; i < FExtendedTranslations.Count(); ++i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        std::string values;
        for (int n = 1; n <= FNumOfLanguages; ++n)
            values += convert(GetEntryField(item.Values(), FLangDelim, n - 1), n) + FLangDelim;
        item.SetValues(values);
    }
}

// ---------------------------------------------------------------------------
// Locales

void TlxCustomLang::SetChangeLocales(bool b)
{
    if (b == FChangeLocales)
        return;
    FChangeLocales = b;
    rtl::TStrings *locales = TableOfType(stLocales);
    if (b && locales && locales->Count() == 0)
        for (int i = 0; i < 15; ++i)
            locales->Add(std::string(kLocaleKeys[i]) + FLangDelim + FLocaleDefaults[i] +
                         FLangDelim);
}

} // namespace i18n
