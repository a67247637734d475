// Locales, charsets, UTF-8 storage, and the test mode as a component sees it
// (the mode itself is in base/lx_testmode.cpp).
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/typinfo.h"

namespace i18n {

// ---------------------------------------------------------------------------
// Test mode

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
