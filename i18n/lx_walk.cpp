// The walk that writes the texts of the active language into the owner form
// and its components, through their published properties.
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <exception>
#include <filesystem>

namespace i18n {

namespace {

const char *const kDefaultProperty[kStringsTypeCount] = {
    "Caption", "Hint",  "DisplayLabel", "Font",        "TStrings", "Dialog",
    "Strings", "Other", "Locales",      "Collections", "CharSet",  "ListView_TreeView_Items"};

bool ReadWrite(const rtl::TPropInfo *p)
{
    return p && p->IsReadable() && p->IsWritable();
}

bool IsStringKind(const rtl::TPropInfo *p)
{
    return p && rtl::tkStrings.Contains(p->Kind());
}

// The full path a relative text names, for comparing file-like values.
std::string ExpandPath(const std::string &text)
{
    std::string s = text;
    for (char &c : s)
        if (c == '\\')
            c = '/';
    std::error_code ec;
    auto full = std::filesystem::absolute(std::filesystem::path(s), ec);
    if (ec)
        return text;
    return full.lexically_normal().string();
}

// The lines of a list joined by line breaks, without a final one.
std::string JoinLines(const rtl::TStrings &list)
{
    std::string out;
    for (int i = 0; i < list.Count(); ++i) {
        if (i)
            out += "\r\n";
        out += list.Strings(i);
    }
    return out;
}

// Replaces the lines of target by those of source one by one, so that
// unchanged lines and the objects attached to kept lines stay.
void ReplaceLines(rtl::TStrings &target, const rtl::TStrings &source)
{
    auto *sorted = dynamic_cast<rtl::TStringList *>(&target);
    bool wasSorted = sorted && sorted->Sorted();
    if (wasSorted)
        sorted->SetSorted(false);
    target.BeginUpdate();
    try {
        for (int i = 0; i < source.Count(); ++i) {
            if (i < target.Count()) {
                if (target.Strings(i) != source.Strings(i))
                    target.Put(i, source.Strings(i));
            } else {
                target.Add(source.Strings(i));
            }
        }
        while (target.Count() > source.Count())
            target.Delete(target.Count() - 1);
    } catch (...) {
        target.EndUpdate();
        if (wasSorted)
            sorted->SetSorted(true);
        throw;
    }
    target.EndUpdate();
    if (wasSorted)
        sorted->SetSorted(true);
}

rtl::TStrings *AsStrings(rtl::TObject *object)
{
    return dynamic_cast<rtl::TStrings *>(object);
}

} // namespace

struct TlxCustomLang::CollectionTarget {
    rtl::TObject *Object = nullptr;       // the object holding the final property
    const rtl::TPropInfo *Prop = nullptr; // the final property
    // An object on the way to the collection holds nothing yet: the row is
    // skipped but kept, as the object may be there on a later switch.
    bool NotThereYet = false;
};

bool TlxCustomLang::IsTranslatableClass(const std::string &className) const
{
    return FDoNotTranslate.IndexOf(className) < 0 && FDoNotTranslate.IndexOf("!" + className) < 0;
}

std::string TlxCustomLang::RowText(const std::string &row, int kind)
{
    // Font and charset names are stored as they are; every other text as
    // the storage holds it, shown in the active language's charset.
    const bool plain = kind == stFonts || kind == stCharSets;
    auto field = [&](int n) {
        const std::string text = GetEntryField(row, FLangDelim, n);
        return plain ? text : FromStorage(text, FActiveCharset);
    };
    std::string text = field(FActiveLanguage);
    if (text.empty() && FUseDefaultLanguage)
        text = field(FDefaultLanguage);
    if (text.empty() && FActiveLanguage > 1 && !plain && kind != stLocales && TestModeActive())
        text = TestModeText(field(1));
    if (text.empty() && FTranslateType == ttGetDefault)
        text = field(1);
    return text;
}

std::string TlxCustomLang::GetPropertyText(rtl::TObject *object, const rtl::TPropInfo *prop)
{
    if (rtl::tkWideStrings.Contains(prop->Kind()))
        return WideToCharset(rtl::GetWideStrProp(object, prop), FActiveCharset);
    return rtl::GetStrProp(object, prop);
}

namespace {
TTranslateHook gTranslateHook = nullptr;

// The hook sees each line of a list about to be written into the list of
// object's property.
void HookLines(rtl::TStrings &lines, rtl::TObject *object, const rtl::TPropInfo *prop)
{
    if (!gTranslateHook)
        return;
    for (int i = 0; i < lines.Count(); ++i) {
        std::string line = lines.Strings(i);
        gTranslateHook(object, prop ? prop->Name() : std::string(), line);
        lines.Put(i, line);
    }
}
} // namespace

void SetTranslateHook(TTranslateHook hook)
{
    gTranslateHook = hook;
}

TTranslateHook TranslateHook()
{
    return gTranslateHook;
}

void TlxCustomLang::AssignTextProperty(rtl::TObject *object, const rtl::TPropInfo *prop,
                                       const std::string &written)
{
    std::string text = written;
    if (gTranslateHook)
        gTranslateHook(object, prop->Name(), text);
    if (rtl::tkWideStrings.Contains(prop->Kind()))
        rtl::SetWideStrProp(object, prop, CharsetToWide(text, FActiveCharset));
    else
        rtl::SetStrProp(object, prop, text);
}

bool TlxCustomLang::IsActionText(rtl::TComponent *component, int kind)
{
    if (!component || (kind != stCaptions && kind != stHints))
        return false;
    try {
        const rtl::TPropInfo *action = rtl::GetPropInfo(component, "Action", rtl::tkClass);
        if (!action || !action->IsReadable())
            return false;
        rtl::TObject *a = rtl::GetObjectProp(component, action);
        if (!a)
            return false;
        const char *name = kind == stCaptions ? "Caption" : "Hint";
        const rtl::TPropInfo *own = rtl::GetPropInfo(component, name, rtl::tkStrings);
        const rtl::TPropInfo *its = rtl::GetPropInfo(a, name, rtl::tkStrings);
        if (!own || !its)
            return false;
        return rtl::AnsiSameText(rtl::GetStrProp(component, own), rtl::GetStrProp(a, its));
    } catch (const std::exception &) {
        return false;
    }
}

void TlxCustomLang::MoveOut(rtl::TStrings &table, int index)
{
    if (!FRemovedRows)
        FRemovedRows = std::make_unique<rtl::TStringList>();
    FRemovedRows->Add(table.Strings(index));
    table.Delete(index);
}

// Resolves "Component.Collection[Index].ItemProperty" (the collection may be
// reached through object properties, "Component.Properties.Items[0].Text";
// the item property may be a path into objects the item holds). Every step
// must exist; the final property must be readable and writable.
bool TlxCustomLang::ResolveCollectionKey(const std::string &key, CollectionTarget &target)
{
    rtl::TComponent *owner = Owner();
    size_t dot = key.find('.');
    if (!owner || dot == std::string::npos)
        return false;
    rtl::TObject *object = owner->FindComponent(key.substr(0, dot));
    if (!object)
        return false;
    size_t open = key.find('[', dot);
    size_t close = open == std::string::npos ? open : key.find(']', open);
    if (close == std::string::npos || close + 1 >= key.size() || key[close + 1] != '.')
        return false;
    int index = 0;
    if (!rtl::TryStrToInt(key.substr(open + 1, close - open - 1), index) || index < 0)
        return false;
    // The path to the collection: object properties, then the collection.
    std::string path = key.substr(dot + 1, open - dot - 1);
    std::vector<std::string> steps = SplitByDelimiter(path + ".", ".");
    if (steps.empty())
        return false;
    for (size_t i = 0; i < steps.size(); ++i) {
        const rtl::TPropInfo *p = rtl::GetPropInfo(object, steps[i], rtl::tkClass);
        if (!p || !p->IsReadable())
            return false;
        object = rtl::GetObjectProp(object, p);
        if (!object) {
            target.NotThereYet = i + 1 < steps.size();
            return false;
        }
    }
    auto *collection = dynamic_cast<rtl::TCollection *>(object);
    if (!collection || index >= collection->Count())
        return false;
    object = collection->Items(index);
    std::vector<std::string> itemPath = SplitByDelimiter(key.substr(close + 2) + ".", ".");
    if (itemPath.empty())
        return false;
    for (size_t i = 0; i + 1 < itemPath.size(); ++i) {
        const rtl::TPropInfo *p = rtl::GetPropInfo(object, itemPath[i], rtl::tkClass);
        if (!ReadWrite(p))
            return false;
        object = rtl::GetObjectProp(object, p);
        if (!object)
            return false;
    }
    const rtl::TPropInfo *p = rtl::GetPropInfo(object, itemPath.back(), rtl::tkProperties);
    if (!ReadWrite(p))
        return false;
    if (p->Kind() == rtl::tkClass && !rtl::GetObjectProp(object, p))
        return false;
    if (p->Kind() != rtl::tkClass && !IsStringKind(p))
        return false;
    target.Object = object;
    target.Prop = p;
    return true;
}

void TlxCustomLang::RemoveObsoleteRows(rtl::TStrings &table, int kind)
{
    if (kind == stDlgsCaptions || kind == stStrings || kind == stLocales)
        return;
    rtl::TComponent *owner = Owner();
    if (!owner)
        return;
    if (!FRemovedRows)
        FRemovedRows = std::make_unique<rtl::TStringList>();
    const std::string cls = owner->ClassName();
    if (kind == stCollections) {
        for (int i = 0; i < table.Count();) {
            CollectionTarget target;
            std::string key = GetEntryField(table.Strings(i), FLangDelim, 0);
            bool ok = false;
            try {
                ok = ResolveCollectionKey(key, target);
            } catch (const std::exception &) {
                ok = false;
            }
            if (ok || target.NotThereYet)
                ++i;
            else
                MoveOut(table, i);
        }
    } else {
        int start = 0;
        if (kind == stCaptions || kind == stHints || kind == stFonts || kind == stCharSets) {
            bool ownerRow = table.Count() > 0 &&
                            rtl::AnsiSameText(GetEntryField(table.Strings(0), FLangDelim, 0), cls);
            bool hasProp = false;
            if (kind == stCaptions)
                hasProp = rtl::GetPropInfo(owner, "Caption", rtl::tkStrings) != nullptr;
            else if (kind == stHints)
                hasProp = rtl::GetPropInfo(owner, "Hint", rtl::tkStrings) != nullptr;
            else
                hasProp = !FOwnerHasNoFont;
            start = ownerRow && hasProp ? 1 : 0;
            if (start == 1 && (kind == stCaptions || kind == stHints) &&
                IsActionText(owner, kind)) {
                table.Delete(0);
                start = 0;
            }
        }
        for (int i = start; i < table.Count();) {
            std::string key = GetEntryField(table.Strings(i), FLangDelim, 0);
            bool stays;
            rtl::TComponent *component = nullptr;
            if (kind == stMultiLines || kind == stOtherStrings ||
                kind == stListView_TreeView_Items) {
                std::string comp = key.substr(0, key.find('.'));
                component = owner->FindComponent(comp);
                stays = component || rtl::AnsiSameText(comp, cls);
            } else {
                component = owner->FindComponent(key);
                stays = component != nullptr;
            }
            if (!stays) {
                MoveOut(table, i);
                continue;
            }
            if ((kind == stCaptions || kind == stHints) && IsActionText(component, kind)) {
                table.Delete(i);
                continue;
            }
            ++i;
        }
    }
    // Rows without any text in the languages go (a collection's texts of
    // blanks count as none).
    if (FAutoSkipEmpties)
        for (int i = table.Count() - 1; i >= 0; --i)
            if (AllTextsEmpty(table.Strings(i), FLangDelim, FNumOfLanguages, kind == stCollections))
                table.Delete(i);
}

void TlxCustomLang::ApplyLocale(const std::string &key, const std::string &text)
{
    rtl::TFormatSettings &fs = rtl::FormatSettings();
    int which = -1;
    for (int i = 0; i < 15; ++i)
        if (rtl::AnsiSameText(key, kLocaleKeys[i]))
            which = i;
    auto names = [&](std::string *target, int count) {
        rtl::TStringList list;
        list.SetCommaText(text);
        for (int i = 0; i < count && i < list.Count(); ++i)
            target[i] = list.Strings(i);
    };
    switch (which) {
    case 0:
        fs.CurrencyString = text;
        break;
    case 1:
        fs.ThousandSeparator = text[0];
        break;
    case 2:
        fs.DecimalSeparator = text[0];
        break;
    case 3:
        fs.DateSeparator = text[0];
        break;
    case 4:
        fs.ShortDateFormat = text;
        break;
    case 5:
        fs.LongDateFormat = text;
        break;
    case 6:
        fs.TimeSeparator = text[0];
        break;
    case 7:
        fs.TimeAMString = text;
        break;
    case 8:
        fs.TimePMString = text;
        break;
    case 9:
        fs.ShortTimeFormat = text;
        break;
    case 10:
        fs.LongTimeFormat = text;
        break;
    case 11:
        names(fs.ShortMonthNames, 12);
        break;
    case 12:
        names(fs.LongMonthNames, 12);
        break;
    case 13:
        names(fs.ShortDayNames, 7);
        break;
    case 14:
        names(fs.LongDayNames, 7);
        break;
    default:
        break;
    }
}

namespace {
// A list property (or a list of an object the property holds) gets the
// row's comma text. A list control keeps its selected item; a memo is
// unwrapped while its lines are replaced.
void ApplyLinesRow(rtl::TComponent *target, const rtl::TPropInfo *prop, const std::string &sub,
                   const std::string &text)
{
    if (text.empty())
        return;
    rtl::TObject *object =
        prop->Kind() == rtl::tkClass ? rtl::GetObjectProp(target, prop) : nullptr;
    if (!object)
        return;
    if (!sub.empty()) {
        const rtl::TPropInfo *subProp = rtl::GetPropInfo(object, sub, rtl::tkClass);
        if (!subProp || !subProp->IsReadable())
            return;
        rtl::TStrings *list = AsStrings(rtl::GetObjectProp(object, subProp));
        if (!list || rtl::AnsiSameText(list->CommaText(), text))
            return;
        rtl::TStringList fresh;
        fresh.SetCommaText(text);
        HookLines(fresh, object, subProp);
        ReplaceLines(*list, fresh);
        return;
    }
    rtl::TStrings *list = AsStrings(object);
    if (!list || rtl::AnsiSameText(list->CommaText(), text))
        return;
    rtl::TStringList fresh;
    fresh.SetCommaText(text);
    const rtl::TPropInfo *itemIndex = nullptr;
    int64_t savedIndex = -1;
    if (target->InheritsFrom(std::string("TCustomListControl"))) {
        itemIndex = rtl::GetPropInfo(target, "ItemIndex", rtl::tkOrdinal);
        if (ReadWrite(itemIndex))
            savedIndex = rtl::GetOrdProp(target, itemIndex);
        else
            itemIndex = nullptr;
    }
    const rtl::TPropInfo *wordWrap = nullptr;
    bool wrapped = false;
    if (target->InheritsFrom(std::string("TCustomMemo"))) {
        wordWrap = rtl::GetPropInfo(target, "WordWrap", rtl::tkOrdinal);
        if (ReadWrite(wordWrap)) {
            wrapped = rtl::GetOrdProp(target, wordWrap) != 0;
            if (wrapped)
                rtl::SetOrdProp(target, wordWrap, 0);
        }
    }
    try {
        HookLines(fresh, target, prop);
        ReplaceLines(*list, fresh);
    } catch (...) {
        if (wrapped)
            rtl::SetOrdProp(target, wordWrap, 1);
        throw;
    }
    if (itemIndex && savedIndex < list->Count())
        rtl::SetOrdProp(target, itemIndex, savedIndex);
    if (wrapped)
        rtl::SetOrdProp(target, wordWrap, 1);
}
} // namespace

void TlxCustomLang::ApplyRow(const std::string &row, int kind)
{
    rtl::TComponent *owner = Owner();
    std::string key = GetEntryField(row, FLangDelim, 0);
    std::string component, property, sub;
    if (kind == stMultiLines || kind == stOtherStrings) {
        size_t dot = key.find('.');
        if (dot == std::string::npos)
            return;
        component = key.substr(0, dot);
        property = key.substr(dot + 1);
        size_t dot2 = property.find('.');
        if (dot2 != std::string::npos) {
            sub = property.substr(dot2 + 1);
            property = property.substr(0, dot2);
        }
    } else {
        component = key;
        property = kDefaultProperty[kind];
    }
    if (FDoNotTranslate.IndexOf(component) >= 0)
        return;
    const std::string text = RowText(row, kind);
    if (kind == stLocales) {
        if (!text.empty())
            ApplyLocale(component, text);
        return;
    }
    rtl::TComponent *target = owner->FindComponent(component);
    if (!target && (rtl::AnsiSameText(component, owner->ClassName()) ||
                    rtl::AnsiSameText(component, owner->Name())))
        target = owner;
    if (!target)
        return;
    const rtl::TPropInfo *prop = rtl::GetPropInfo(target, property);
    if (!ReadWrite(prop))
        return;
    if (kind == stFonts)
        ApplyFontRow(target, prop, component, text);
    else if (kind == stMultiLines)
        ApplyLinesRow(target, prop, sub, text);
    else
        ApplyTextRow(target, prop, sub, kind, text);
}

// The font's name is the row's text, its charset the component's row of the
// charsets table; a component that uses its parent's font keeps it.
void TlxCustomLang::ApplyFontRow(rtl::TComponent *target, const rtl::TPropInfo *prop,
                                 const std::string &component, const std::string &text)
{
    rtl::TObject *font = rtl::GetObjectProp(target, prop);
    if (!font || !font->InheritsFrom(std::string("TFont")))
        return;
    const rtl::TPropInfo *parentFont = rtl::GetPropInfo(target, "ParentFont", rtl::tkOrdinal);
    bool usesParentFont =
        parentFont && parentFont->IsReadable() && rtl::GetOrdProp(target, parentFont) != 0;
    if (usesParentFont)
        return;
    int charset = CharsetValueOf(FindKeyText(FTables[stCharSets], component, FActiveLanguage));
    bool changed = false;
    if (charset >= 0)
        if (const rtl::TPropInfo *cp = rtl::GetPropInfo(font, "Charset", rtl::tkOrdinal);
            ReadWrite(cp) && rtl::GetOrdProp(font, cp) != charset) {
            rtl::SetOrdProp(font, cp, charset);
            changed = true;
        }
    if (!text.empty())
        if (const rtl::TPropInfo *np = rtl::GetPropInfo(font, "Name", rtl::tkStrings);
            ReadWrite(np) && rtl::GetStrProp(font, np) != text) {
            rtl::SetStrProp(font, np, text);
            changed = true;
        }
    if (changed)
        rtl::SetObjectProp(target, prop, font);
}

// Captions, hints, display labels and other strings: a failed write leaves
// the property as it is.
void TlxCustomLang::ApplyTextRow(rtl::TComponent *target, const rtl::TPropInfo *prop,
                                 const std::string &sub, int kind, const std::string &text)
{
    if (text.empty())
        return;
    try {
        if (kind == stOtherStrings && !sub.empty()) {
            if (prop->Kind() != rtl::tkClass)
                return;
            rtl::TObject *object = rtl::GetObjectProp(target, prop);
            const rtl::TPropInfo *subProp =
                object ? rtl::GetPropInfo(object, sub, rtl::tkStrings) : nullptr;
            if (!ReadWrite(subProp))
                return;
            if (!rtl::AnsiSameText(GetPropertyText(object, subProp), text))
                AssignTextProperty(object, subProp, text);
            return;
        }
        if (!IsStringKind(prop))
            return;
        std::string current = GetPropertyText(target, prop);
        if (rtl::AnsiSameText(current, text))
            return;
        if ((kind == stDisplayLabels || kind == stOtherStrings) &&
            (text.find("..") != std::string::npos || text.find(".\\") != std::string::npos) &&
            rtl::AnsiSameText(ExpandPath(text), ExpandPath(current)))
            return;
        AssignTextProperty(target, prop, text);
    } catch (const std::exception &) {
    }
}

void TlxCustomLang::ApplyTableTexts(rtl::TStrings &table, int kind)
{
    RemoveObsoleteRows(table, kind);
    if (table.Count() == 0)
        return;
    if (kind == stCollections) {
        ApplyCollections(table);
        return;
    }
    rtl::TComponent *owner = Owner();
    if (!owner)
        return;
    int first = 0;
    if ((kind == stCaptions || kind == stHints || kind == stFonts) &&
        owner->InheritsFrom(std::string("TCustomForm")) &&
        IsTranslatableClass(owner->ClassName()) &&
        rtl::AnsiSameText(GetEntryField(table.Strings(0), FLangDelim, 0), owner->ClassName()))
        first = 1;
    for (int i = first; i < table.Count(); ++i) {
        try {
            ApplyRow(table.Strings(i), kind);
        } catch (const std::exception &) {
            // A row that addresses nothing usable is skipped.
        }
    }
}

void TlxCustomLang::ApplyCollections(rtl::TStrings &table)
{
    for (int i = 0; i < table.Count(); ++i) {
        try {
            std::string row = table.Strings(i);
            std::string key = GetEntryField(row, FLangDelim, 0);
            if (FDoNotTranslate.IndexOf(key.substr(0, key.find('.'))) >= 0)
                continue;
            CollectionTarget target;
            if (!ResolveCollectionKey(key, target))
                continue;
            std::string text = RowText(row, stCollections);
            if (text.empty())
                continue;
            if (target.Prop->Kind() == rtl::tkClass) {
                rtl::TStrings *list = AsStrings(rtl::GetObjectProp(target.Object, target.Prop));
                if (!list || rtl::AnsiSameText(JoinLines(*list), text))
                    continue;
                rtl::TStringList fresh;
                fresh.SetText(text);
                HookLines(fresh, target.Object, target.Prop);
                ReplaceLines(*list, fresh);
                continue;
            }
            if (!rtl::AnsiSameText(GetPropertyText(target.Object, target.Prop), text))
                AssignTextProperty(target.Object, target.Prop, text);
        } catch (const std::exception &) {
            // A row that addresses nothing usable is skipped.
        }
    }
}

void TlxCustomLang::ApplyOwnerTexts()
{
    rtl::TComponent *owner = Owner();
    const std::string cls = owner->ClassName();
    for (int kind : {stCaptions, stHints}) {
        try {
            rtl::TStrings &table = FTables[kind];
            const char *name = kind == stCaptions ? "Caption" : "Hint";
            if (table.Count() == 0 || !IsTranslatableClass(cls) ||
                FSmartExcludeProps.IndexOf(cls + "." + name) >= 0)
                continue;
            const rtl::TPropInfo *prop = rtl::GetPropInfo(owner, name, rtl::tkStrings);
            if (!ReadWrite(prop))
                continue;
            std::string row = table.Strings(0);
            if (!rtl::AnsiSameText(GetEntryField(row, FLangDelim, 0), cls))
                continue;
            std::string text = RowText(row, kind);
            if (!text.empty())
                AssignTextProperty(owner, prop, text);
        } catch (const std::exception &) {
        }
    }
}

void TlxCustomLang::ApplyExtendedItemsGuarded()
{
    try {
        ApplyExtendedItems();
    } catch (const std::exception &) {
        // A path that leads nowhere usable translates nothing.
    }
}

void TlxCustomLang::TranslateOwner()
{
    rtl::TComponent *owner = Owner();
    if (!owner || FLXBLoading)
        return;
    UpdateCharsetCache();
    if (FTranslateExtendedFirst && FTableToTranslate == -1)
        ApplyExtendedItemsGuarded();
    ApplyOwnerTexts();
    auto wanted = [this](int kind) { return FTableToTranslate == -1 || FTableToTranslate == kind; };
    for (int kind : {stCaptions, stHints, stDisplayLabels})
        if (wanted(kind))
            ApplyTableTexts(FTables[kind], kind);
    if ((wanted(stFonts) || FTableToTranslate == stCharSets) && !FOwnerHasNoFont)
        ApplyTableTexts(FTables[stFonts], stFonts);

    // The form's own font.
    const std::string cls = owner->ClassName();
    rtl::TStrings &fonts = FTables[stFonts];
    if (fonts.Count() > 0 && !FOwnerHasNoFont && IsTranslatableClass(cls) &&
        FSmartExcludeProps.IndexOf(cls + ".Font") < 0) {
        try {
            std::string row = fonts.Strings(0);
            rtl::TObject *font = rtl::GetObjectProp(owner, "Font");
            if (font && rtl::AnsiSameText(GetEntryField(row, FLangDelim, 0), cls)) {
                std::string name = GetEntryField(row, FLangDelim, FActiveLanguage);
                if (name.empty() && FTranslateType == ttGetDefault)
                    name = GetEntryField(row, FLangDelim, 1);
                bool changed = false;
                if (!name.empty() && rtl::GetStrProp(font, "Name") != name) {
                    rtl::SetStrProp(font, "Name", name);
                    changed = true;
                }
                int charset =
                    CharsetValueOf(FindKeyText(FTables[stCharSets], cls, FActiveLanguage));
                if (charset >= 0 && rtl::GetOrdProp(font, "Charset") != charset) {
                    rtl::SetOrdProp(font, "Charset", charset);
                    changed = true;
                }
                if (changed)
                    rtl::SetObjectProp(owner, "Font", font);
            }
        } catch (const std::exception &) {
        }
    }

    for (int kind : {stMultiLines, stOtherStrings})
        if (wanted(kind))
            ApplyTableTexts(FTables[kind], kind);
    if (wanted(stLocales) && FChangeLocales)
        if (rtl::TStrings *locales = TableOfType(stLocales))
            for (int i = 0; i < locales->Count(); ++i)
                ApplyRow(locales->Strings(i), stLocales);
    if (wanted(stCollections))
        ApplyTableTexts(FTables[stCollections], stCollections);
    if (!FTranslateExtendedFirst && FTableToTranslate == -1)
        ApplyExtendedItemsGuarded();
    if (OnChangeLanguage) {
        // The handler may close the window and with it this component.
        const auto handler = OnChangeLanguage;
        handler(this);
    }
}

} // namespace i18n
