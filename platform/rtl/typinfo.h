// Run-time type information: published properties of classes, found by
// name and listed by kind, read and written through getter and setter code.
//
// A class declares RTL_DECLARE_CLASS(Class) in its body as usual and
// publishes properties in its .cpp file with RTL_IMPLEMENT_PUBLISHED_CLASS in
// place of RTL_IMPLEMENT_CLASS:
//
//     RTL_IMPLEMENT_PUBLISHED_CLASS(TButtonAdapter, TComponent)
//     {
//         P.String("Caption", "TCaption", [](TButtonAdapter &b) { return b.Caption(); },
//                  [](TButtonAdapter &b, const std::string &v) { b.SetCaption(v); });
//         P.Object<TFont>("Font", [](TButtonAdapter &b) { return b.Font(); });
//     }
//
// Getters and setters are any callables taking the object (lambdas, member
// function pointers); a property without setter is read-only. A class
// inherits its parent's published properties; publishing a name again
// replaces the inherited property of that name.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace rtl {

enum TTypeKind : unsigned char {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString, // short string
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString, // long (8-bit) string
    tkWString, // wide (UTF-16) string
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray,
    tkUString, // Unicode (UTF-16) string
};

// A set of type kinds.
class TTypeKinds {
public:
    constexpr TTypeKinds() = default;
    constexpr TTypeKinds(TTypeKind kind) : FBits(1u << kind) {}
    constexpr bool Contains(TTypeKind kind) const { return (FBits & (1u << kind)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TTypeKinds operator|(TTypeKinds other) const { return FromBits(FBits | other.FBits); }
    constexpr TTypeKinds operator&(TTypeKinds other) const { return FromBits(FBits & other.FBits); }
    constexpr TTypeKinds operator-(TTypeKinds other) const
    {
        return FromBits(FBits & ~other.FBits);
    }
    constexpr bool operator==(const TTypeKinds &) const = default;

private:
    static constexpr TTypeKinds FromBits(std::uint32_t bits)
    {
        TTypeKinds k;
        k.FBits = bits;
        return k;
    }
    std::uint32_t FBits = 0;
};

constexpr TTypeKinds operator|(TTypeKind a, TTypeKind b)
{
    return TTypeKinds(a) | b;
}

inline constexpr TTypeKinds tkAny = [] {
    TTypeKinds all;
    for (int k = tkUnknown; k <= tkUString; ++k)
        all = all | static_cast<TTypeKind>(k);
    return all;
}();
inline constexpr TTypeKinds tkMethods = tkMethod;
// Every kind a walk over properties looks at: all but methods and unknown.
inline constexpr TTypeKinds tkProperties = tkAny - tkMethods - tkUnknown;
inline constexpr TTypeKinds tkStrings = tkString | tkLString | tkWString | tkUString;
inline constexpr TTypeKinds tkWideStrings = tkWString | tkUString;
inline constexpr TTypeKinds tkOrdinal =
    tkInteger | tkChar | tkEnumeration | tkSet | tkWChar | tkInt64;

// A property value. Ordinal kinds (integer, char, enumeration, set, int64)
// hold int64, float holds double, short and long strings hold 8-bit text in
// the system code page, wide strings UTF-16, the class kind an object.
using TPropValue =
    std::variant<std::monostate, std::int64_t, double, std::string, std::u16string, TObject *>;

// One published property.
class TPropInfo {
public:
    using TGetter = std::function<TPropValue(TObject &)>;
    using TSetter = std::function<void(TObject &, const TPropValue &)>;
    using TClassInfoFn = const TClassInfo &(*)();

    TPropInfo(std::string name, TTypeKind kind, std::string typeName, TGetter get, TSetter set);

    const std::string &Name() const { return FName; }
    TTypeKind Kind() const { return FKind; }
    // The declared type's name ("TCaption", "WideString", "Integer",
    // "TAlign", ...); for the class kind the class's name unless given.
    std::string TypeName() const;
    // Class kind: the declared class of the value; nullptr otherwise.
    const TClassInfo *PropClass() const { return FPropClass ? &FPropClass() : nullptr; }
    // Enumeration kind: the names of the values 0, 1, ...; set kind: the
    // names of its elements.
    const std::vector<std::string> &EnumNames() const { return FEnumNames; }

    bool IsReadable() const { return static_cast<bool>(FGet); }
    bool IsWritable() const { return static_cast<bool>(FSet); }

    // Reads the value; EPropertyError when the property has no getter.
    TPropValue GetValue(TObject &instance) const;
    // Writes the value, which must hold the alternative of the property's
    // kind (and for the class kind nullptr or an object of PropClass);
    // EPropertyError when it does not or the property has no setter.
    void SetValue(TObject &instance, const TPropValue &value) const;

    TPropInfo &SetEnumNames(std::vector<std::string> names);
    TPropInfo &SetPropClass(TClassInfoFn propClass);

    // Stored forms: whether the property is written for instance (true
    // unless a stored rule says otherwise), and the default of an ordinal
    // property, which is not written.
    using TStoredFn = std::function<bool(TObject &)>;
    bool IsStored(TObject &instance) const { return !FStored || FStored(instance); }
    TPropInfo &SetStored(TStoredFn stored);
    bool HasDefault() const { return FHasDefault; }
    std::int64_t Default() const { return FDefault; }
    TPropInfo &SetDefault(std::int64_t value);

private:
    std::string FName;
    TTypeKind FKind;
    std::string FTypeName;
    TClassInfoFn FPropClass = nullptr;
    std::vector<std::string> FEnumNames;
    TGetter FGet;
    TSetter FSet;
    TStoredFn FStored;
    bool FHasDefault = false;
    std::int64_t FDefault = 0;
};

// The properties one class publishes itself, in declaration order.
struct TPublishedTable {
    std::vector<TPropInfo> Props;
};

namespace detail {
[[noreturn]] void RaiseWrongClass(const TObject &instance, const char *className);
} // namespace detail

// Declares the published properties of Class; see the top of this file.
template <class Class> class TPublisher {
public:
    explicit TPublisher(TPublishedTable &table) : FTable(table) {}

    static TPublishedTable Build(void (*define)(TPublisher &))
    {
        TPublishedTable table;
        TPublisher publisher(table);
        define(publisher);
        return table;
    }

    // Any kind: get(Class &) returns a TPropValue, set(Class &, const
    // TPropValue &) receives one holding the kind's alternative.
    template <class G, class S = std::nullptr_t>
    TPropInfo &Add(std::string name, TTypeKind kind, std::string typeName, G get, S set = nullptr)
    {
        return Put(std::move(name), kind, std::move(typeName), Getter<TPropValue>(std::move(get)),
                   Setter<TPropValue>(std::move(set)));
    }

    // An 8-bit string (long string kind); get returns something convertible
    // to std::string, set takes const std::string &.
    template <class G, class S = std::nullptr_t>
    TPublisher &String(std::string name, std::string typeName, G get, S set = nullptr)
    {
        Put(std::move(name), tkLString, std::move(typeName), Getter<std::string>(std::move(get)),
            Setter<std::string>(std::move(set)));
        return *this;
    }

    // A wide string (UTF-16).
    template <class G, class S = std::nullptr_t>
    TPublisher &WideString(std::string name, std::string typeName, G get, S set = nullptr)
    {
        Put(std::move(name), tkWString, std::move(typeName), Getter<std::u16string>(std::move(get)),
            Setter<std::u16string>(std::move(set)));
        return *this;
    }

    // An integer (32-bit in the class library); the setter receives the
    // value converted to its parameter type.
    template <class G, class S = std::nullptr_t>
    TPublisher &Integer(std::string name, std::string typeName, G get, S set = nullptr)
    {
        Put(std::move(name), tkInteger, std::move(typeName), Getter<std::int64_t>(std::move(get)),
            Setter<std::int64_t>(std::move(set)));
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TPublisher &Int64(std::string name, std::string typeName, G get, S set = nullptr)
    {
        Put(std::move(name), tkInt64, std::move(typeName), Getter<std::int64_t>(std::move(get)),
            Setter<std::int64_t>(std::move(set)));
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TPublisher &Float(std::string name, std::string typeName, G get, S set = nullptr)
    {
        Put(std::move(name), tkFloat, std::move(typeName), Getter<double>(std::move(get)),
            Setter<double>(std::move(set)));
        return *this;
    }

    // A Boolean: the enumeration kind with the values False and True.
    template <class G, class S = std::nullptr_t>
    TPublisher &Boolean(std::string name, G get, S set = nullptr)
    {
        Put(std::move(name), tkEnumeration, "Boolean", Getter<std::int64_t>(std::move(get)),
            Setter<bool>(std::move(set)))
            .SetEnumNames({"False", "True"});
        return *this;
    }

    // An enumeration of type E (an enum or an integer type) whose values
    // 0, 1, ... are named by names.
    template <class E = int, class G, class S = std::nullptr_t>
    TPublisher &Enumeration(std::string name, std::string typeName, std::vector<std::string> names,
                            G get, S set = nullptr)
    {
        Put(std::move(name), tkEnumeration, std::move(typeName),
            Getter<std::int64_t>(std::move(get)), Setter<E>(std::move(set)))
            .SetEnumNames(std::move(names));
        return *this;
    }

    // A set whose elements 0, 1, ... are named by names; get returns and set
    // receives the elements as bits (element i is bit i).
    template <class G, class S = std::nullptr_t>
    TPublisher &Set(std::string name, std::string typeName, std::vector<std::string> names, G get,
                    S set = nullptr)
    {
        Put(std::move(name), tkSet, std::move(typeName), Getter<std::int64_t>(std::move(get)),
            Setter<std::int64_t>(std::move(set)))
            .SetEnumNames(std::move(names));
        return *this;
    }

    // An object of class T (T has class information); get returns T *, set
    // takes T *.
    template <class T, class G, class S = std::nullptr_t>
    TPublisher &Object(std::string name, G get, S set = nullptr)
    {
        Put(std::move(name), tkClass, std::string(), Getter<TObject *>(std::move(get)),
            Setter<T *>(std::move(set)))
            .SetPropClass(&T::StaticClassInfo);
        return *this;
    }

    // The stored rule and the default of the property declared last.
    template <class F> TPublisher &Stored(F stored)
    {
        FTable.Props.back().SetStored([stored = std::move(stored)](TObject &instance) -> bool {
            return std::invoke(stored, Cast(instance));
        });
        return *this;
    }
    TPublisher &Default(std::int64_t value)
    {
        FTable.Props.back().SetDefault(value);
        return *this;
    }

private:
    static Class &Cast(TObject &instance)
    {
        auto *object = dynamic_cast<Class *>(&instance);
        if (!object)
            detail::RaiseWrongClass(instance, Class::StaticClassInfo().Name);
        return *object;
    }

    // Wraps get so that it returns a TPropValue holding a V.
    template <class V, class G> static TPropInfo::TGetter Getter(G get)
    {
        if constexpr (std::is_null_pointer_v<G>) {
            return {};
        } else {
            return [get = std::move(get)](TObject &instance) -> TPropValue {
                if constexpr (std::is_same_v<V, TPropValue>)
                    return std::invoke(get, Cast(instance));
                else if constexpr (std::is_same_v<V, TObject *>)
                    return static_cast<TObject *>(std::invoke(get, Cast(instance)));
                else
                    return static_cast<V>(std::invoke(get, Cast(instance)));
            };
        }
    }

    // Wraps set so that it receives the value as a P.
    template <class P, class S> static TPropInfo::TSetter Setter(S set)
    {
        if constexpr (std::is_null_pointer_v<S>) {
            return {};
        } else {
            return [set = std::move(set)](TObject &instance, const TPropValue &value) {
                if constexpr (std::is_same_v<P, TPropValue>) {
                    std::invoke(set, Cast(instance), value);
                } else if constexpr (std::is_pointer_v<P>) {
                    // SetValue checked the class against PropClass.
                    std::invoke(set, Cast(instance), static_cast<P>(std::get<TObject *>(value)));
                } else if constexpr (std::is_same_v<P, std::string> ||
                                     std::is_same_v<P, std::u16string> ||
                                     std::is_same_v<P, double>) {
                    std::invoke(set, Cast(instance), std::get<P>(value));
                } else {
                    std::invoke(set, Cast(instance), static_cast<P>(std::get<std::int64_t>(value)));
                }
            };
        }
    }

    TPropInfo &Put(std::string name, TTypeKind kind, std::string typeName, TPropInfo::TGetter get,
                   TPropInfo::TSetter set)
    {
        FTable.Props.emplace_back(std::move(name), kind, std::move(typeName), std::move(get),
                                  std::move(set));
        return FTable.Props.back();
    }

    TPublishedTable &FTable;
};

// In the class's .cpp file, in place of RTL_IMPLEMENT_CLASS: defines the class
// information of Class below Parent and opens the body of the function that
// publishes its properties through the TPublisher<Class> named P.
#define RTL_IMPLEMENT_PUBLISHED_CLASS(Class, Parent)                                               \
    const ::rtl::TClassInfo &Class::StaticClassInfo()                                              \
    {                                                                                              \
        static const ::rtl::TPublishedTable table =                                                \
            ::rtl::TPublisher<Class>::Build(&Class::DefinePublished);                              \
        static const ::rtl::TClassInfo info{#Class, &Parent::StaticClassInfo(), &table};           \
        return info;                                                                               \
    }                                                                                              \
    void Class::DefinePublished([[maybe_unused]] ::rtl::TPublisher<Class> &P)

// Property lists hold pointers into the class information; they stay valid
// for the whole run.
using TPropList = std::vector<const TPropInfo *>;

// Every published property of cls and its ancestors, ancestors' first, in
// declaration order; a property published again by a descendant takes the
// place of the inherited one.
TPropList GetPropInfos(const TClassInfo &cls);
// The published properties whose kind is in kinds, sorted by name ignoring
// case unless sorted is false. Empty for a null instance.
TPropList GetPropList(const TClassInfo &cls, TTypeKinds kinds = tkProperties, bool sorted = true);
TPropList GetPropList(const TObject *instance, TTypeKinds kinds = tkProperties, bool sorted = true);

// The published property named name (ignoring case); nullptr when absent,
// when its kind is not in kinds, or for a null instance.
const TPropInfo *GetPropInfo(const TClassInfo &cls, std::string_view name,
                             TTypeKinds kinds = tkAny);
const TPropInfo *GetPropInfo(const TObject *instance, std::string_view name,
                             TTypeKinds kinds = tkAny);
bool IsPublishedProp(const TClassInfo &cls, std::string_view name);
bool IsPublishedProp(const TObject *instance, std::string_view name);

// Typed access. Every function raises EPropertyError for a null instance or
// property, a property of another kind ("Invalid property type: X"), and a
// property that cannot be read or written. The overloads taking a name raise
// it for an unknown name ("Property X does not exist").
//
// String access converts between 8-bit (system code page) and wide kinds.
std::string GetStrProp(TObject *instance, const TPropInfo *prop);
std::string GetStrProp(TObject *instance, std::string_view name);
void SetStrProp(TObject *instance, const TPropInfo *prop, const std::string &value);
void SetStrProp(TObject *instance, std::string_view name, const std::string &value);
std::u16string GetWideStrProp(TObject *instance, const TPropInfo *prop);
std::u16string GetWideStrProp(TObject *instance, std::string_view name);
void SetWideStrProp(TObject *instance, const TPropInfo *prop, const std::u16string &value);
void SetWideStrProp(TObject *instance, std::string_view name, const std::u16string &value);

// Ordinal kinds. An enumeration value outside its names is refused.
std::int64_t GetOrdProp(TObject *instance, const TPropInfo *prop);
std::int64_t GetOrdProp(TObject *instance, std::string_view name);
void SetOrdProp(TObject *instance, const TPropInfo *prop, std::int64_t value);
void SetOrdProp(TObject *instance, std::string_view name, std::int64_t value);

double GetFloatProp(TObject *instance, const TPropInfo *prop);
double GetFloatProp(TObject *instance, std::string_view name);
void SetFloatProp(TObject *instance, const TPropInfo *prop, double value);
void SetFloatProp(TObject *instance, std::string_view name, double value);

// Class kind. With minClass, an object not of that class reads as nullptr.
// SetObjectProp refuses an object that is not of the property's class.
TObject *GetObjectProp(TObject *instance, const TPropInfo *prop,
                       const TClassInfo *minClass = nullptr);
TObject *GetObjectProp(TObject *instance, std::string_view name,
                       const TClassInfo *minClass = nullptr);
void SetObjectProp(TObject *instance, const TPropInfo *prop, TObject *value);
void SetObjectProp(TObject *instance, std::string_view name, TObject *value);

// Enumeration kind by value name.
std::string GetEnumProp(TObject *instance, const TPropInfo *prop);
std::string GetEnumProp(TObject *instance, std::string_view name);
// Raises EPropertyError for a name that is no value of the type.
void SetEnumProp(TObject *instance, const TPropInfo *prop, std::string_view value);
void SetEnumProp(TObject *instance, std::string_view name, std::string_view value);

// Set kind as text: the element names separated by ",", in element order,
// in "[" "]" when brackets is set. SetSetProp accepts the text with or
// without brackets, names ignoring case and blanks around them, and raises
// EPropertyError for a name that is no element.
std::string GetSetProp(TObject *instance, const TPropInfo *prop, bool brackets = false);
std::string GetSetProp(TObject *instance, std::string_view name, bool brackets = false);
void SetSetProp(TObject *instance, const TPropInfo *prop, std::string_view value);
void SetSetProp(TObject *instance, std::string_view name, std::string_view value);

// The name of an enumeration value; empty when out of range or not an
// enumeration.
std::string GetEnumName(const TPropInfo *prop, std::int64_t value);
// The value of an enumeration name (ignoring case); -1 when unknown.
int GetEnumValue(const TPropInfo *prop, std::string_view name);

} // namespace rtl
