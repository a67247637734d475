// Extended items, their stored form, and the paths that reach their
// properties.
#include "i18n/base/lx_ext.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

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

rtl::TComponent *TlxExtendedItem::Lang() const
{
    auto *items = dynamic_cast<TlxExtendedItems *>(Collection());
    return items ? items->Lang() : nullptr;
}

std::string TlxExtendedItem::Identifier() const
{
    if (!FComponent)
        return FIdentifier;
    rtl::TComponent *lang = Lang();
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
    rtl::TComponent *lang = Lang();
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

TlxExtendedItems::TlxExtendedItems(rtl::TComponent *owner)
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

rtl::TObject *ResolveExtendedPath(rtl::TComponent *form, const std::string &identifier)
{
    const size_t dot = identifier.find('.');
    if (!form || dot == std::string::npos)
        return nullptr;
    const std::string head = identifier.substr(0, dot);
    rtl::TObject *object = rtl::AnsiSameText(head, form->ClassName())
                               ? static_cast<rtl::TObject *>(form)
                               : form->FindComponent(head);
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

const rtl::TPropInfo *ExtendedPathProperty(rtl::TObject *object, const std::string &identifier)
{
    if (!object)
        return nullptr;
    const std::string last = identifier.substr(identifier.rfind('.') + 1);
    const rtl::TPropInfo *p = rtl::GetPropInfo(object, last, rtl::tkProperties);
    return p && p->IsReadable() ? p : nullptr;
}

} // namespace i18n
