#include "platform/rtl/typinfo.h"

#include "platform/rtl/codepage.h"

#include <algorithm>
#include <strings.h>

namespace rtl {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

int CompareNames(const std::string &a, const std::string &b)
{
    return strcasecmp(a.c_str(), b.c_str());
}

std::u16string AnsiToWide(const std::string &text)
{
    return CodePageToWide(text, CP_ACP);
}

std::string WideToAnsi(const std::u16string &text)
{
    return WideToCodePage(text, CP_ACP);
}

const char *KindName(TTypeKind kind)
{
    static const char *const names[] = {
        "tkUnknown", "tkInteger",   "tkChar",  "tkEnumeration", "tkFloat",   "tkString",  "tkSet",
        "tkClass",   "tkMethod",    "tkWChar", "tkLString",     "tkWString", "tkVariant", "tkArray",
        "tkRecord",  "tkInterface", "tkInt64", "tkDynArray",    "tkUString",
    };
    return kind <= tkUString ? names[kind] : "?";
}

[[noreturn]] void RaiseInvalidType(const TPropInfo &prop)
{
    throw EPropertyError(Format("Invalid property type: %s", prop.TypeName().c_str()));
}

const TPropInfo &Need(TObject *instance, const TPropInfo *prop)
{
    if (!instance)
        throw EPropertyError("No object for the property");
    if (!prop)
        throw EPropertyError("Property does not exist");
    return *prop;
}

const TPropInfo *Find(TObject *instance, std::string_view name)
{
    if (!instance)
        throw EPropertyError("No object for the property");
    const TPropInfo *prop = GetPropInfo(instance, name);
    if (!prop)
        throw EPropertyError(Format("Property %s does not exist", std::string(name).c_str()));
    return prop;
}

// The value a getter produced, checked against the alternative its kind uses.
template <class V> V Take(const TPropInfo &prop, const TPropValue &value)
{
    if (const V *v = std::get_if<V>(&value))
        return *v;
    throw EPropertyError(Format("Property %s returned a value of the wrong type (%s)",
                                prop.Name().c_str(), KindName(prop.Kind())));
}

bool IsOrdinal(TTypeKind kind)
{
    return tkOrdinal.Contains(kind);
}

} // namespace

namespace detail {
void RaiseWrongClass(const TObject &instance, const char *className)
{
    throw EPropertyError(
        Format("Invalid class typecast: %s is not a %s", instance.ClassName().c_str(), className));
}
} // namespace detail

// ---- TPropInfo ----

TPropInfo::TPropInfo(std::string name, TTypeKind kind, std::string typeName, TGetter get,
                     TSetter set)
    : FName(std::move(name)), FKind(kind), FTypeName(std::move(typeName)), FGet(std::move(get)),
      FSet(std::move(set))
{
}

std::string TPropInfo::TypeName() const
{
    if (FTypeName.empty() && FPropClass)
        return FPropClass().Name;
    return FTypeName;
}

TPropInfo &TPropInfo::SetStored(TStoredFn stored)
{
    FStored = std::move(stored);
    return *this;
}

TPropInfo &TPropInfo::SetDefault(std::int64_t value)
{
    FHasDefault = true;
    FDefault = value;
    return *this;
}

TPropInfo &TPropInfo::SetEnumNames(std::vector<std::string> names)
{
    FEnumNames = std::move(names);
    return *this;
}

TPropInfo &TPropInfo::SetPropClass(TClassInfoFn propClass)
{
    FPropClass = propClass;
    return *this;
}

TPropValue TPropInfo::GetValue(TObject &instance) const
{
    if (!FGet)
        throw EPropertyError(Format("Property %s is write-only", FName.c_str()));
    return FGet(instance);
}

void TPropInfo::SetValue(TObject &instance, const TPropValue &value) const
{
    if (!FSet)
        throw EPropertyError(Format("Property %s is read-only", FName.c_str()));
    bool fits = true;
    if (IsOrdinal(FKind))
        fits = std::holds_alternative<std::int64_t>(value);
    else if (FKind == tkFloat)
        fits = std::holds_alternative<double>(value);
    else if (FKind == tkString || FKind == tkLString)
        fits = std::holds_alternative<std::string>(value);
    else if (tkWideStrings.Contains(FKind))
        fits = std::holds_alternative<std::u16string>(value);
    else if (FKind == tkClass)
        fits = std::holds_alternative<TObject *>(value);
    if (!fits)
        RaiseInvalidType(*this);
    if (FKind == tkEnumeration && !FEnumNames.empty()) {
        std::int64_t v = std::get<std::int64_t>(value);
        if (v < 0 || v >= static_cast<std::int64_t>(FEnumNames.size()))
            throw EPropertyError(Format("Invalid property value %lld for %s",
                                        static_cast<long long>(v), FName.c_str()));
    }
    if (FKind == tkClass && FPropClass) {
        TObject *object = std::get<TObject *>(value);
        if (object && !object->InheritsFrom(FPropClass()))
            throw EPropertyError(Format("Invalid property value: a %s is not a %s",
                                        object->ClassName().c_str(), FPropClass().Name));
    }
    FSet(instance, value);
}

// ---- Lists and look-up ----

TPropList GetPropInfos(const TClassInfo &cls)
{
    std::vector<const TClassInfo *> chain;
    for (const TClassInfo *c = &cls; c; c = c->Parent)
        chain.push_back(c);
    TPropList result;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!(*it)->Published)
            continue;
        for (const TPropInfo &prop : (*it)->Published->Props) {
            auto same = std::find_if(result.begin(), result.end(), [&](const TPropInfo *p) {
                return SameName(p->Name(), prop.Name());
            });
            if (same != result.end())
                *same = &prop;
            else
                result.push_back(&prop);
        }
    }
    return result;
}

TPropList GetPropList(const TClassInfo &cls, TTypeKinds kinds, bool sorted)
{
    TPropList all = GetPropInfos(cls);
    TPropList result;
    for (const TPropInfo *prop : all)
        if (kinds.Contains(prop->Kind()))
            result.push_back(prop);
    if (sorted)
        std::stable_sort(result.begin(), result.end(), [](const TPropInfo *a, const TPropInfo *b) {
            return CompareNames(a->Name(), b->Name()) < 0;
        });
    return result;
}

TPropList GetPropList(const TObject *instance, TTypeKinds kinds, bool sorted)
{
    if (!instance)
        return {};
    return GetPropList(instance->ClassType(), kinds, sorted);
}

const TPropInfo *GetPropInfo(const TClassInfo &cls, std::string_view name, TTypeKinds kinds)
{
    // The most derived declaration wins.
    for (const TClassInfo *c = &cls; c; c = c->Parent) {
        if (!c->Published)
            continue;
        for (const TPropInfo &prop : c->Published->Props)
            if (SameName(prop.Name(), name))
                return kinds.Contains(prop.Kind()) ? &prop : nullptr;
    }
    return nullptr;
}

const TPropInfo *GetPropInfo(const TObject *instance, std::string_view name, TTypeKinds kinds)
{
    return instance ? GetPropInfo(instance->ClassType(), name, kinds) : nullptr;
}

bool IsPublishedProp(const TClassInfo &cls, std::string_view name)
{
    return GetPropInfo(cls, name) != nullptr;
}

bool IsPublishedProp(const TObject *instance, std::string_view name)
{
    return GetPropInfo(instance, name) != nullptr;
}

// ---- Strings ----

std::string GetStrProp(TObject *instance, const TPropInfo *prop)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() == tkString || p.Kind() == tkLString)
        return Take<std::string>(p, p.GetValue(*instance));
    if (tkWideStrings.Contains(p.Kind()))
        return WideToAnsi(Take<std::u16string>(p, p.GetValue(*instance)));
    RaiseInvalidType(p);
}

std::string GetStrProp(TObject *instance, std::string_view name)
{
    return GetStrProp(instance, Find(instance, name));
}

void SetStrProp(TObject *instance, const TPropInfo *prop, const std::string &value)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() == tkString || p.Kind() == tkLString)
        p.SetValue(*instance, value);
    else if (tkWideStrings.Contains(p.Kind()))
        p.SetValue(*instance, AnsiToWide(value));
    else
        RaiseInvalidType(p);
}

void SetStrProp(TObject *instance, std::string_view name, const std::string &value)
{
    SetStrProp(instance, Find(instance, name), value);
}

std::u16string GetWideStrProp(TObject *instance, const TPropInfo *prop)
{
    const TPropInfo &p = Need(instance, prop);
    if (tkWideStrings.Contains(p.Kind()))
        return Take<std::u16string>(p, p.GetValue(*instance));
    if (p.Kind() == tkString || p.Kind() == tkLString)
        return AnsiToWide(Take<std::string>(p, p.GetValue(*instance)));
    RaiseInvalidType(p);
}

std::u16string GetWideStrProp(TObject *instance, std::string_view name)
{
    return GetWideStrProp(instance, Find(instance, name));
}

void SetWideStrProp(TObject *instance, const TPropInfo *prop, const std::u16string &value)
{
    const TPropInfo &p = Need(instance, prop);
    if (tkWideStrings.Contains(p.Kind()))
        p.SetValue(*instance, value);
    else if (p.Kind() == tkString || p.Kind() == tkLString)
        p.SetValue(*instance, WideToAnsi(value));
    else
        RaiseInvalidType(p);
}

void SetWideStrProp(TObject *instance, std::string_view name, const std::u16string &value)
{
    SetWideStrProp(instance, Find(instance, name), value);
}

// ---- Ordinals and floats ----

std::int64_t GetOrdProp(TObject *instance, const TPropInfo *prop)
{
    const TPropInfo &p = Need(instance, prop);
    if (!IsOrdinal(p.Kind()))
        RaiseInvalidType(p);
    return Take<std::int64_t>(p, p.GetValue(*instance));
}

std::int64_t GetOrdProp(TObject *instance, std::string_view name)
{
    return GetOrdProp(instance, Find(instance, name));
}

void SetOrdProp(TObject *instance, const TPropInfo *prop, std::int64_t value)
{
    const TPropInfo &p = Need(instance, prop);
    if (!IsOrdinal(p.Kind()))
        RaiseInvalidType(p);
    p.SetValue(*instance, value);
}

void SetOrdProp(TObject *instance, std::string_view name, std::int64_t value)
{
    SetOrdProp(instance, Find(instance, name), value);
}

double GetFloatProp(TObject *instance, const TPropInfo *prop)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkFloat)
        RaiseInvalidType(p);
    return Take<double>(p, p.GetValue(*instance));
}

double GetFloatProp(TObject *instance, std::string_view name)
{
    return GetFloatProp(instance, Find(instance, name));
}

void SetFloatProp(TObject *instance, const TPropInfo *prop, double value)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkFloat)
        RaiseInvalidType(p);
    p.SetValue(*instance, value);
}

void SetFloatProp(TObject *instance, std::string_view name, double value)
{
    SetFloatProp(instance, Find(instance, name), value);
}

// ---- Objects ----

TObject *GetObjectProp(TObject *instance, const TPropInfo *prop, const TClassInfo *minClass)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkClass)
        RaiseInvalidType(p);
    TObject *object = Take<TObject *>(p, p.GetValue(*instance));
    if (object && minClass && !object->InheritsFrom(*minClass))
        return nullptr;
    return object;
}

TObject *GetObjectProp(TObject *instance, std::string_view name, const TClassInfo *minClass)
{
    return GetObjectProp(instance, Find(instance, name), minClass);
}

void SetObjectProp(TObject *instance, const TPropInfo *prop, TObject *value)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkClass)
        RaiseInvalidType(p);
    p.SetValue(*instance, value);
}

void SetObjectProp(TObject *instance, std::string_view name, TObject *value)
{
    SetObjectProp(instance, Find(instance, name), value);
}

// ---- Enumerations ----

std::string GetEnumProp(TObject *instance, const TPropInfo *prop)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkEnumeration)
        RaiseInvalidType(p);
    return GetEnumName(&p, Take<std::int64_t>(p, p.GetValue(*instance)));
}

std::string GetEnumProp(TObject *instance, std::string_view name)
{
    return GetEnumProp(instance, Find(instance, name));
}

void SetEnumProp(TObject *instance, const TPropInfo *prop, std::string_view value)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkEnumeration)
        RaiseInvalidType(p);
    int v = GetEnumValue(&p, value);
    if (v < 0)
        throw EPropertyError(Format("Invalid property value %s for %s", std::string(value).c_str(),
                                    p.Name().c_str()));
    p.SetValue(*instance, static_cast<std::int64_t>(v));
}

void SetEnumProp(TObject *instance, std::string_view name, std::string_view value)
{
    SetEnumProp(instance, Find(instance, name), value);
}

// ---- Sets ----

std::string GetSetProp(TObject *instance, const TPropInfo *prop, bool brackets)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkSet)
        RaiseInvalidType(p);
    auto bits = static_cast<std::uint64_t>(Take<std::int64_t>(p, p.GetValue(*instance)));
    std::string text;
    const auto &names = p.EnumNames();
    for (size_t i = 0; i < names.size() && i < 64; ++i) {
        if (!(bits & (std::uint64_t{1} << i)))
            continue;
        if (!text.empty())
            text += ',';
        text += names[i];
    }
    return brackets ? "[" + text + "]" : text;
}

std::string GetSetProp(TObject *instance, std::string_view name, bool brackets)
{
    return GetSetProp(instance, Find(instance, name), brackets);
}

void SetSetProp(TObject *instance, const TPropInfo *prop, std::string_view value)
{
    const TPropInfo &p = Need(instance, prop);
    if (p.Kind() != tkSet)
        RaiseInvalidType(p);
    auto trim = [](std::string_view v) {
        while (!v.empty() && static_cast<unsigned char>(v.front()) <= ' ')
            v.remove_prefix(1);
        while (!v.empty() && static_cast<unsigned char>(v.back()) <= ' ')
            v.remove_suffix(1);
        return v;
    };
    std::string_view text = trim(value);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    std::uint64_t bits = 0;
    while (!trim(text).empty()) {
        size_t comma = text.find(',');
        std::string_view element = trim(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const auto &names = p.EnumNames();
        auto it = std::find_if(names.begin(), names.end(),
                               [&](const std::string &n) { return SameName(n, element); });
        if (it == names.end() || it - names.begin() >= 64)
            throw EPropertyError(
                Format("Invalid property element: %s", std::string(element).c_str()));
        bits |= std::uint64_t{1} << (it - names.begin());
    }
    p.SetValue(*instance, static_cast<std::int64_t>(bits));
}

void SetSetProp(TObject *instance, std::string_view name, std::string_view value)
{
    SetSetProp(instance, Find(instance, name), value);
}

std::string GetEnumName(const TPropInfo *prop, std::int64_t value)
{
    if (!prop || prop->Kind() != tkEnumeration || value < 0 ||
        value >= static_cast<std::int64_t>(prop->EnumNames().size()))
        return {};
    return prop->EnumNames()[static_cast<size_t>(value)];
}

int GetEnumValue(const TPropInfo *prop, std::string_view name)
{
    if (!prop || prop->Kind() != tkEnumeration)
        return -1;
    const auto &names = prop->EnumNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (SameName(names[i], name))
            return static_cast<int>(i);
    return -1;
}

} // namespace rtl
