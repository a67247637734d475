// Extended items and the path operations that reach their properties.
#include "i18n/lx_ext.h"

#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/numbers.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <charconv>
#include <exception>

namespace i18n {

namespace {

const std::vector<std::string> &TypeKindNames()
{
    static const std::vector<std::string> names = {
        "tkUnknown", "tkInteger",   "tkChar",  "tkEnumeration", "tkFloat",   "tkString",  "tkSet",
        "tkClass",   "tkMethod",    "tkWChar", "tkLString",     "tkWString", "tkVariant", "tkArray",
        "tkRecord",  "tkInterface", "tkInt64", "tkDynArray",    "tkUString"};
    return names;
}

// A decimal integer of the full 64-bit range, blanks around allowed.
bool ParseInt64(const std::string &text, int64_t &value)
{
    const std::string t = rtl::Trim(text);
    const char *first = t.data();
    if (!t.empty() && t[0] == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size() && first != end;
}

// The path after the component: "Font.Name", "Columns[2].Caption".
struct TPathStep {
    std::string Name;
    int Index = -1; // the "[n]" after the name, -1 when none
};

std::vector<TPathStep> SplitPath(const std::string &path)
{
    std::vector<TPathStep> steps;
    size_t start = 0;
    while (start <= path.size()) {
        size_t dot = path.find('.', start);
        if (dot == std::string::npos)
            dot = path.size();
        std::string part = path.substr(start, dot - start);
        TPathStep step;
        const size_t open = part.find('[');
        step.Name = part.substr(0, open);
        if (open != std::string::npos) {
            const size_t close = part.find(']', open);
            int index = -1;
            if (close != std::string::npos &&
                rtl::TryStrToInt(part.substr(open + 1, close - open - 1), index))
                step.Index = index;
            else
                step.Index = -2; // unreadable index
        }
        steps.push_back(step);
        start = dot + 1;
    }
    return steps;
}

} // namespace

// ---------------------------------------------------------------------------
// Items

RTL_IMPLEMENT_PUBLISHED_CLASS(TlxExtendedItem, rtl::TCollectionItem)
{
    using I = TlxExtendedItem;
    P.String(
        "Identifier", "string", [](I &i) { return i.Identifier(); },
        [](I &i, const std::string &v) { i.SetIdentifier(v); });
    P.Enumeration<rtl::TTypeKind>(
         "PropertyType", "TTypeKind", TypeKindNames(), [](I &i) { return i.PropertyType(); },
         [](I &i, rtl::TTypeKind v) { i.SetPropertyType(v); })
        .Default(rtl::tkUnknown);
    P.String(
        "Values", "string", [](I &i) { return i.Values(); },
        [](I &i, const std::string &v) { i.SetValues(v); });
    P.Boolean("IsRoot", [](I &i) { return i.IsRoot(); });
}

RTL_IMPLEMENT_CLASS(TlxExtendedItems, rtl::TCollection)

TlxExtendedItem::TlxExtendedItem(rtl::TCollection *collection) : rtl::TCollectionItem(collection) {}

TlxCustomLang *TlxExtendedItem::Lang() const
{
    auto *items = dynamic_cast<TlxExtendedItems *>(Collection());
    return items ? items->Lang() : nullptr;
}

std::string TlxExtendedItem::Identifier() const
{
    if (!FComponent)
        return FIdentifier;
    TlxCustomLang *lang = Lang();
    const size_t dot = FIdentifier.find('.');
    const std::string rest = dot == std::string::npos ? std::string() : FIdentifier.substr(dot);
    if (lang && FComponent == lang->Owner())
        return FComponent->ClassName() + rest;
    return FComponent->Name() + rest;
}

void TlxExtendedItem::SetIdentifier(const std::string &identifier)
{
    FIdentifier = identifier;
}

void TlxExtendedItem::SetValues(const std::string &values)
{
    FValues = values;
    FHasWideValues = false;
    FWideValues.clear();
}

bool TlxExtendedItem::IsRoot() const
{
    TlxCustomLang *lang = Lang();
    if (!lang || !lang->Owner())
        return false;
    const std::string prefix = lang->Owner()->ClassName() + ".";
    const std::string id = Identifier();
    return id.size() >= prefix.size() && rtl::AnsiSameText(id.substr(0, prefix.size()), prefix);
}

std::string TlxExtendedItem::GetDisplayName() const
{
    const std::string id = Identifier();
    return id.empty() ? rtl::TCollectionItem::GetDisplayName() : id;
}

void TlxExtendedItem::Assign(const rtl::TPersistent &source)
{
    auto *item = dynamic_cast<const TlxExtendedItem *>(&source);
    if (!item) {
        rtl::TCollectionItem::Assign(source);
        return;
    }
    FIdentifier = item->Identifier();
    FComponent = nullptr;
    FValues = item->FValues;
    FWideValues = item->FWideValues;
    FHasWideValues = item->FHasWideValues;
    FPropertyType = item->FPropertyType;
}

void TlxExtendedItem::ReadValuesEx(rtl::TStream &stream)
{
    std::string bytes;
    char buffer[4096];
    for (int64_t n; (n = stream.Read(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<size_t>(n));
    const bool wide =
        bytes.find('\0') != std::string::npos && bytes.size() >= 4 && (bytes.size() - 4) % 2 == 0;
    if (!wide) {
        SetValues(bytes);
        return;
    }
    // UTF-16LE after 4 bytes that say nothing the values need.
    std::u16string text((bytes.size() - 4) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[4 + 2 * i]) |
                                        static_cast<unsigned char>(bytes[5 + 2 * i]) << 8);
    FValues = rtl::WideToCodePage(text, rtl::CP_ACP);
    FWideValues = std::move(text);
    FHasWideValues = true;
}

void TlxExtendedItem::WriteValuesEx(rtl::TStream &stream) const
{
    stream.WriteBuffer(FValues.data(), static_cast<int64_t>(FValues.size()));
}

void TlxExtendedItem::DefineProperties(rtl::TFiler &filer)
{
    rtl::TCollectionItem::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "ValuesEx", [this](rtl::TStream &s) { ReadValuesEx(s); },
        [this](rtl::TStream &s) { WriteValuesEx(s); }, !FValues.empty());
}

TlxExtendedItems::TlxExtendedItems(TlxCustomLang *owner)
    : rtl::TCollection(rtl::CollectionItemClass<TlxExtendedItem>(), owner), FLang(owner)
{
}

TlxExtendedItem &TlxExtendedItems::Add()
{
    return *static_cast<TlxExtendedItem *>(rtl::TCollection::Add());
}

TlxExtendedItem &TlxExtendedItems::Items(int i) const
{
    return *static_cast<TlxExtendedItem *>(rtl::TCollection::Items(i));
}

TlxExtendedItem *TlxExtendedItems::FindByIdentifier(const std::string &identifier) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiSameText(Items(i).Identifier(), identifier))
            return &Items(i);
    return nullptr;
}

// ---------------------------------------------------------------------------
// Paths

void TlxCustomLang::SetExtendedTranslations(const TlxExtendedItems &items)
{
    if (&items != &FExtendedTranslations)
        FExtendedTranslations.Assign(items);
}

rtl::TObject *TlxCustomLang::ResolvePath(const std::string &identifier)
{
    rtl::TComponent *owner = Owner();
    const size_t dot = identifier.find('.');
    if (!owner || dot == std::string::npos)
        return nullptr;
    const std::string head = identifier.substr(0, dot);
    rtl::TObject *object = rtl::AnsiSameText(head, owner->ClassName())
                               ? static_cast<rtl::TObject *>(owner)
                               : owner->FindComponent(head);
    const std::vector<TPathStep> steps = SplitPath(identifier.substr(dot + 1));
    for (size_t i = 0; object && i + 1 < steps.size(); ++i) {
        const TPathStep &step = steps[i];
        const rtl::TPropInfo *p = rtl::GetPropInfo(object, step.Name, rtl::tkClass);
        if (!p || !p->IsReadable())
            return nullptr;
        object = rtl::GetObjectProp(object, p);
        if (step.Index == -1)
            continue;
        auto *collection = dynamic_cast<rtl::TCollection *>(object);
        if (!collection || step.Index < 0 || step.Index >= collection->Count())
            return nullptr;
        object = collection->Items(step.Index);
    }
    return object;
}

namespace {
const rtl::TPropInfo *LastProperty(rtl::TObject *object, const std::string &identifier)
{
    if (!object)
        return nullptr;
    const std::string last = identifier.substr(identifier.rfind('.') + 1);
    const rtl::TPropInfo *p = rtl::GetPropInfo(object, last, rtl::tkProperties);
    return p && p->IsReadable() ? p : nullptr;
}
} // namespace

rtl::TTypeKind TlxCustomLang::PropertyKindOf(const std::string &identifier)
{
    rtl::TObject *object = ResolvePath(identifier);
    const rtl::TPropInfo *p = LastProperty(object, identifier);
    if (!p)
        return rtl::tkUnknown;
    if (p->Kind() != rtl::tkClass)
        return p->Kind();
    try {
        return dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(object, p)) ? rtl::tkClass
                                                                            : rtl::tkUnknown;
    } catch (const std::exception &) {
        return rtl::tkUnknown;
    }
}

std::string TlxCustomLang::GetPathPropertyText(const std::string &identifier)
{
    rtl::TObject *object = ResolvePath(identifier);
    const rtl::TPropInfo *p = LastProperty(object, identifier);
    if (!p)
        return {};
    try {
        switch (p->Kind()) {
        case rtl::tkInteger:
        case rtl::tkInt64:
            return rtl::IntToStr(rtl::GetOrdProp(object, p));
        case rtl::tkChar:
            return std::string(1, static_cast<char>(rtl::GetOrdProp(object, p)));
        case rtl::tkWChar:
            return ToStorage(
                WideToCharset(std::u16string(1, static_cast<char16_t>(rtl::GetOrdProp(object, p))),
                              FActiveCharset),
                FActiveCharset);
        case rtl::tkEnumeration:
            return rtl::GetEnumProp(object, p);
        case rtl::tkFloat:
            return rtl::FloatToStr(rtl::GetFloatProp(object, p));
        case rtl::tkSet:
            return rtl::GetSetProp(object, p);
        case rtl::tkClass: {
            auto *list = dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(object, p));
            return list ? list->CommaText() : std::string();
        }
        default:
            break;
        }
        if (rtl::tkStrings.Contains(p->Kind()))
            return GetStringPropertyText(object, p->Name());
    } catch (const std::exception &) {
    }
    return {};
}

void TlxCustomLang::SetPathPropertyText(const std::string &identifier, const std::string &text)
{
    rtl::TObject *object = ResolvePath(identifier);
    const rtl::TPropInfo *p = LastProperty(object, identifier);
    if (!p)
        return;
    try {
        switch (p->Kind()) {
        case rtl::tkInteger: {
            int value = 0;
            if (rtl::TryStrToInt(text, value))
                rtl::SetOrdProp(object, p, value);
            return;
        }
        case rtl::tkInt64: {
            int64_t value = 0;
            if (ParseInt64(text, value))
                rtl::SetOrdProp(object, p, value);
            return;
        }
        case rtl::tkChar:
            if (!text.empty())
                rtl::SetOrdProp(object, p, static_cast<unsigned char>(text[0]));
            return;
        case rtl::tkEnumeration:
            rtl::SetEnumProp(object, p, rtl::Trim(text));
            return;
        case rtl::tkFloat: {
            double value = 0;
            if (rtl::TryStrToFloat(text, value))
                rtl::SetFloatProp(object, p, value);
            return;
        }
        case rtl::tkSet:
            rtl::SetSetProp(object, p, text);
            return;
        case rtl::tkClass: {
            auto *list = dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(object, p));
            if (!list)
                return;
            rtl::TStringList fresh;
            fresh.SetCommaText(text);
            for (int i = 0; i < fresh.Count(); ++i) {
                if (i < list->Count())
                    list->Put(i, fresh.Strings(i));
                else
                    list->Add(fresh.Strings(i));
            }
            while (list->Count() > fresh.Count())
                list->Delete(list->Count() - 1);
            return;
        }
        default:
            break;
        }
        if (rtl::tkStrings.Contains(p->Kind()) || p->Kind() == rtl::tkWChar) {
            const std::string plain = FromStorage(text, FActiveCharset);
            if (p->Kind() == rtl::tkWChar) {
                const std::u16string wide = CharsetToWide(plain, FActiveCharset);
                if (!wide.empty())
                    rtl::SetOrdProp(object, p, wide[0]);
            } else if (FStoreAsUTF8 && rtl::tkWideStrings.Contains(p->Kind())) {
                rtl::SetWideStrProp(object, p, rtl::Utf8ToWide(text));
            } else {
                AssignTextProperty(object, p, plain);
            }
        }
    } catch (const std::exception &) {
        // A value that does not convert leaves the property as it is.
    }
}

std::string TlxCustomLang::MakeValuesRow(const std::string &text, int n) const
{
    std::string row;
    for (int i = 1; i <= FNumOfLanguages; ++i) {
        if (i == n)
            row += text;
        row += FLangDelim;
    }
    return row;
}

std::string TlxCustomLang::ExtendedTextFor(const std::string &row, int n) const
{
    // The values have no key: language n is field n - 1.
    std::string text = GetEntryField(row, FLangDelim, n - 1);
    if (FUseDefaultLanguage && text.empty() && n != FDefaultLanguage)
        text = GetEntryField(row, FLangDelim, FDefaultLanguage - 1);
    return text;
}

void TlxCustomLang::ApplyExtendedItems()
{
    for (int i = 0; i < FExtendedTranslations.Count(); ++i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        std::string text = ExtendedTextFor(item.Values(), FActiveLanguage);
        if (text.empty() && FActiveLanguage > 1 && TestModeActive())
            text = TestModeText(GetEntryField(item.Values(), FLangDelim, 0));
        if (text.empty() && FTranslateType == ttGetDefault)
            text = GetEntryField(item.Values(), FLangDelim, 0);
        if (!text.empty())
            SetPathPropertyText(item.Identifier(), text);
    }
}

void TlxCustomLang::RefreshExtendedItems()
{
    for (int i = FExtendedTranslations.Count() - 1; i >= 0; --i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        const std::string id = item.Identifier();
        if (!LastProperty(ResolvePath(id), id)) {
            FExtendedTranslations.Delete(i);
            continue;
        }
        const std::string current = GetPathPropertyText(id);
        if (current == GetEntryField(item.Values(), FLangDelim, FActiveLanguage - 1))
            continue;
        std::string values;
        for (int n = 1; n <= FNumOfLanguages; ++n) {
            values +=
                n == FActiveLanguage ? current : GetEntryField(item.Values(), FLangDelim, n - 1);
            values += FLangDelim;
        }
        item.SetValues(values);
    }
}

void TlxCustomLang::BindExtendedItems()
{
    rtl::TComponent *owner = Owner();
    for (int i = FExtendedTranslations.Count() - 1; i >= 0; --i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        const std::string id = item.Identifier();
        const std::string head = id.substr(0, id.find('.'));
        if (rtl::AnsiSameText(head, owner->ClassName()))
            item.SetComponent(owner);
        else if (rtl::TComponent *c = owner->FindComponent(head))
            item.SetComponent(c);
        else
            FExtendedTranslations.Delete(i);
    }
}

} // namespace i18n
