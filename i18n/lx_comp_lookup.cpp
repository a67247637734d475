// The look-ups of a translation component: string ids, table keys and rows
// in the active language, with the fall-backs, the components that answer
// for others (loUseExtCommonStrings, loUseExtUDStrings) and the test mode;
// and the component's answer for the program's resource strings.
#include "i18n/lx_comp.h"

#include "i18n/base/lx_resstr.h"
#include "i18n/base/lx_rows.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/sysutils.h"

namespace i18n {

TlxCustomLang *TlxCustomLang::ExternalSource(int type)
{
    if (!FLangDispatcher)
        return nullptr;
    for (int i = 0; i < FLangDispatcher->LinkedCount(); ++i) {
        TlxCustomLang *other = FLangDispatcher->Linked(i);
        if (other == this)
            continue;
        rtl::TStrings *t = other->TableOfType(type);
        if (t && t->Count() > 0)
            return other;
    }
    return this;
}

std::string TlxCustomLang::LookupTableText(rtl::TStrings &table, const std::string &key,
                                           bool fallBack)
{
    int type = -1;
    for (int t = 0; t < kStringsTypeCount; ++t)
        if (&FTables[t] == &table)
            type = t;
    bool external =
        ((FOptions & loUseExtCommonStrings) && (type == stDlgsCaptions || type == stLocales)) ||
        ((FOptions & loUseExtUDStrings) && type == stStrings);
    if (external) {
        TlxCustomLang *source = ExternalSource(type);
        if (!source)
            return {};
        if (source != this) {
            // The other component answers in this component's language.
            int saved = source->FActiveLanguage;
            source->FActiveLanguage = FActiveLanguage;
            std::string r;
            try {
                r = source->LookupIn(*source->TableOfType(type), type, key, fallBack);
            } catch (...) {
                source->FActiveLanguage = saved;
                throw;
            }
            source->FActiveLanguage = saved;
            return r;
        }
    }
    return LookupIn(table, type, key, fallBack);
}

std::string TlxCustomLang::LookupIn(rtl::TStrings &table, int type, const std::string &key,
                                    bool fallBack)
{
    auto notFound = [&]() {
        if (!FDoRaiseExceptions)
            return;
        // The message is a resource string: it may come translated, and its
        // one placeholder takes the key.
        std::string message = rtl::LoadResString(SStringIdNotFound);
        const size_t at = message.find("%s");
        if (at != std::string::npos)
            message.replace(at, 2, key);
        throw ELanguageError(message);
    };
    auto language1 = [&](std::string text, const std::string &first) {
        if (text.empty() && FActiveLanguage > 1 && TestModeActive())
            text = TestModeText(first);
        if (text.empty() && fallBack)
            text = first;
        return text;
    };
    if (type == stStrings && &table == &FTables[stStrings] && !HasState(rtl::csDesigning)) {
        const TlxStringsCollection &index = KeyIndex();
        bool found = false;
        std::string result = index.FindByKey(key, FActiveLanguage, &found);
        if (!found) {
            notFound();
            return {};
        }
        return result.empty() ? language1(result, index.FindByKey(key, 1)) : result;
    }
    // The first row that begins with the key and a delimiter.
    for (int i = 0; i < table.Count(); ++i) {
        std::string row = table.Strings(i);
        if (row.find(FLangDelim) == std::string::npos ||
            !rtl::AnsiSameText(GetEntryField(row, FLangDelim, 0), key))
            continue;
        std::string result = language1(GetEntryField(row, FLangDelim, FActiveLanguage),
                                       GetEntryField(row, FLangDelim, 1));
        return result.empty() ? result : FromStorage(result, FActiveCharset);
    }
    notFound();
    return {};
}

std::string TlxCustomLang::GetStringByIdExact(const std::string &id)
{
    std::string r = LookupTableText(FTables[stStrings], id, FTranslateType == ttGetDefault);
    return FDecodeEscapes ? DecodeEscapes(r) : r;
}

std::string TlxCustomLang::GetStringById(const std::string &id)
{
    if (!FUseDefaultLanguage) {
        std::string r = LookupTableText(FTables[stStrings], id, true);
        return FDecodeEscapes ? DecodeEscapes(r) : r;
    }
    std::string r = GetStringByIdExact(id);
    if (!r.empty())
        return r;
    int saved = FActiveLanguage;
    FActiveLanguage = FDefaultLanguage;
    try {
        r = GetStringByIdExact(id);
        if (r.empty())
            r = LookupTableText(FTables[stStrings], id, true);
    } catch (...) {
        FActiveLanguage = saved;
        throw;
    }
    FActiveLanguage = saved;
    return r;
}

std::string TlxCustomLang::GetRowText(rtl::TStrings &table, int index, bool fallBack)
{
    rtl::TStrings *source = &table;
    if ((FOptions & loUseExtCommonStrings) &&
        (&table == &FTables[stLocales] || &table == &FTables[stDlgsCaptions])) {
        int type = &table == &FTables[stLocales] ? stLocales : stDlgsCaptions;
        TlxCustomLang *other = ExternalSource(type);
        if (!other)
            return {};
        if (other != this)
            source = other->TableOfType(type);
    }
    if (index < 0 || index >= source->Count())
        return {};
    std::string row = source->Strings(index);
    std::string r = GetEntryField(row, FLangDelim, FActiveLanguage);
    if (r.empty() && fallBack)
        r = GetEntryField(row, FLangDelim, 1);
    return r.empty() ? r : FromStorage(r, FActiveCharset);
}

std::string TlxCustomLang::FindKeyText(rtl::TStrings &table, const std::string &key, int language)
{
    for (int i = 0; i < table.Count(); ++i) {
        std::string row = table.Strings(i);
        if (!rtl::AnsiSameText(GetEntryField(row, FLangDelim, 0), key))
            continue;
        std::string text = GetEntryField(row, FLangDelim, language);
        if (FStoreAsUTF8 && !text.empty() && &table != &FTables[stCharSets] &&
            &table != &FTables[stFonts])
            text = Utf8ToCharset(text, CharsetOf(language));
        return text;
    }
    return {};
}

void TlxCustomLang::StoreText(rtl::TStrings &table, const std::string &text, int language,
                              const std::string &key)
{
    if (language < 1)
        return;
    for (int i = 0; i < table.Count(); ++i) {
        std::string row = table.Strings(i);
        if (!rtl::AnsiSameText(GetEntryField(row, FLangDelim, 0), key))
            continue;
        // The Strings indexes follow the table (they are rebuilt on change).
        table.Put(i, ReplaceField(row, FLangDelim, language, ToStorage(text, CharsetOf(language))));
        return;
    }
}

// ---------------------------------------------------------------------------
// Resource strings

namespace {

// The translation of a resource string of that text: the row of its id
// "IDS_RES_" and the number (within ResourceIdLimit), else the row whose
// text in ResourceLanguageIndex it is; none while that is the active
// language.
std::string TranslateResString(TlxCustomLang &owner, const rtl::TResStringRec &rec,
                               const std::string &text)
{
    if (owner.ResourceLanguageIndex() == owner.ActiveLanguage())
        return {};
    std::string translated;
    const int limit = ResourceIdLimit();
    if (limit != 0 && limit >= rec.Identifier) {
        try {
            translated = owner.LookupTableText(owner.Strings(),
                                               "IDS_RES_" + std::to_string(rec.Identifier), false);
        } catch (const ELanguageError &) {
            // A missing id is no translation.
        }
    }
    if (translated.empty())
        translated = owner.ResourceIndex().FindByText(text, owner.ActiveLanguage());
    return translated;
}

} // namespace

void TlxCustomLang::TakeResourceStrings()
{
    FIndexDirty = true;
    SetResourceStringOwner(this, &TranslateResString);
}

void TlxCustomLang::ReleaseResourceStrings()
{
    ClearResourceStringOwner(this);
}

} // namespace i18n
