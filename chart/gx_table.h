// What the property tables of both chart controls are made of: the value types every property
// uses (texts, colours, flags), the description of an enumeration and of a property row, and
// the names the rows of the table files (.def) are written with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// UTF-16 text as the chart controls pass it.
using WideString = std::u16string;
// Chart colour: alpha in bits 24..31, blue 16..23, green 8..15, red 0..7.
using GXColor = std::uint32_t;
// One-byte read-only flag (Painting, FilterOn, ZoomWindowShowing).
using GXFlag = std::uint8_t;

// Name, number of values and value names (", "-separated) of each enumeration; specialised by
// each control's types header.
template <class E> struct GXEnumTraits;

struct GXEnumInfo {
    const char *name;
    int count;
    const char *values; // ", "-separated, empty for eDateTimeMode
};

// The value names of an enumeration, in ordinal order.
std::vector<std::string> GXEnumValueNames(const GXEnumInfo &info);

// Description of one property of a table.
enum class GXFamily : std::uint8_t { Scalar, Float, Text, Array1, Array2 };
enum class GXAccess : std::uint8_t {
    ReadWrite,
    ReadOnly,
    ReadOnlyFolded // getter (i, j) reading element i * 10 + j
};
enum class GXKind : std::uint8_t {
    Boolean,
    Enumeration,
    Integer,
    Colour,
    Double,
    Single,
    Text,
    Flag
};

struct GXPropertyInfo {
    const char *name;
    std::int32_t id;
    GXFamily family;
    GXAccess access;
    GXKind kind;
    const char *type; // the value type's name (the enumeration's for enumerations)
    bool published;
    bool refresh; // the setter calls ResetandInvalidate
    bool stored;  // the graph window's form stores a value for it
};

// The row of a table with the given name (a string) or id (an integer), or null.
template <class Row, std::size_t N, class Key>
constexpr const Row *GXFindRow(const Row (&table)[N], Key key)
{
    for (const Row &row : table) {
        if constexpr (std::is_integral_v<Key>) {
            if (row.id == key)
                return &row;
        } else if (std::string_view(key) == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// The words of the table files' Family, Access and Kind columns, so that a row expands into
// its description as gxfamily::SCALAR, gxaccess::RW, gxkind::BOOL and so on.
namespace gxfamily {
inline constexpr GXFamily SCALAR = GXFamily::Scalar;
inline constexpr GXFamily FLOAT = GXFamily::Float;
inline constexpr GXFamily TEXT = GXFamily::Text;
inline constexpr GXFamily ARRAY1 = GXFamily::Array1;
inline constexpr GXFamily ARRAY2 = GXFamily::Array2;
} // namespace gxfamily
namespace gxaccess {
inline constexpr GXAccess RW = GXAccess::ReadWrite;
inline constexpr GXAccess RO = GXAccess::ReadOnly;
inline constexpr GXAccess RO2 = GXAccess::ReadOnlyFolded;
} // namespace gxaccess
namespace gxkind {
inline constexpr GXKind BOOL = GXKind::Boolean;
inline constexpr GXKind ENUM = GXKind::Enumeration;
inline constexpr GXKind INT = GXKind::Integer;
inline constexpr GXKind COLOR = GXKind::Colour;
inline constexpr GXKind DOUBLE = GXKind::Double;
inline constexpr GXKind SINGLE = GXKind::Single;
inline constexpr GXKind TEXT = GXKind::Text;
inline constexpr GXKind FLAG = GXKind::Flag;
} // namespace gxkind

// Expansions of the rows of the table files, for the controls' types headers.
//   GX_ENUM(Name, Count, Values...) as the enumeration, as GXEnumTraits<Type>, as GXEnumInfo:
#define GX_ENUM_DECLARE(Name, Count, ...) enum Name : std::uint8_t { __VA_ARGS__ };
#define GX_ENUM_TRAITS(Type, Name, Count, ...)                                                     \
    template <> struct GXEnumTraits<Type> {                                                        \
        static constexpr const char *name = #Name;                                                 \
        static constexpr int count = Count;                                                        \
        static constexpr const char *values = #__VA_ARGS__;                                        \
    };
#define GX_ENUM_INFO(Name, Count, ...) {#Name, Count, #__VA_ARGS__},
//   a property row as GXPropertyInfo:
#define GX_PROPERTY_INFO(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored)         \
    {                                                                                              \
#Name, Id, gxfamily::Family, gxaccess::Access, gxkind::Kind, #Type, Published != 0,        \
            Refresh != 0, Stored != 0                                                              \
    }
