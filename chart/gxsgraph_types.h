// Value types of the chart control GXSGraph: its enumerations (from gxsgraph_enums.def), the
// colour and text types, and the description of its property table (gxsgraph_properties.def).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// UTF-16 text as the chart control passes it.
using WideString = std::u16string;
// Chart colour: alpha in bits 24..31, blue 16..23, green 8..15, red 0..7.
using GXColor = std::uint32_t;
// One-byte read-only flag (Painting, FilterOn, ZoomWindowShowing).
using GXFlag = std::uint8_t;

// The enumerations: one byte each, values in ordinal order.
#define GX_ENUM(Name, Count, ...) enum Name : std::uint8_t { __VA_ARGS__ };
#include "chart/gxsgraph_enums.def"
#undef GX_ENUM

// Name, number of values and value names (", "-separated) of each enumeration.
template <class E> struct GXEnumTraits;
#define GX_ENUM(Name, Count, ...)                                                                  \
    template <> struct GXEnumTraits<Name> {                                                        \
        static constexpr const char *name = #Name;                                                 \
        static constexpr int count = Count;                                                        \
        static constexpr const char *values = #__VA_ARGS__;                                        \
    };
#include "chart/gxsgraph_enums.def"
#undef GX_ENUM

struct GXEnumInfo {
    const char *name;
    int count;
    const char *values; // ", "-separated, empty for eDateTimeMode
};

inline constexpr GXEnumInfo kGXSGraphEnums[] = {
#define GX_ENUM(Name, Count, ...) {#Name, Count, #__VA_ARGS__},
#include "chart/gxsgraph_enums.def"
#undef GX_ENUM
};

// The value names of an enumeration, in ordinal order.
std::vector<std::string> GXEnumValueNames(const GXEnumInfo &info);

// Description of one property of the table.
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

#define GX_FAMILY_SCALAR GXFamily::Scalar
#define GX_FAMILY_FLOAT GXFamily::Float
#define GX_FAMILY_TEXT GXFamily::Text
#define GX_FAMILY_ARRAY1 GXFamily::Array1
#define GX_FAMILY_ARRAY2 GXFamily::Array2
#define GX_ACCESS_RW GXAccess::ReadWrite
#define GX_ACCESS_RO GXAccess::ReadOnly
#define GX_ACCESS_RO2 GXAccess::ReadOnlyFolded
#define GX_KIND_BOOL GXKind::Boolean
#define GX_KIND_ENUM GXKind::Enumeration
#define GX_KIND_INT GXKind::Integer
#define GX_KIND_COLOR GXKind::Colour
#define GX_KIND_DOUBLE GXKind::Double
#define GX_KIND_SINGLE GXKind::Single
#define GX_KIND_TEXT GXKind::Text
#define GX_KIND_FLAG GXKind::Flag

inline constexpr GXPropertyInfo kGXSGraphProperties[] = {
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    {#Name,          Id,           GX_FAMILY_##Family, GX_ACCESS_##Access, GX_KIND_##Kind, #Type,  \
     Published != 0, Refresh != 0, Stored != 0},
#include "chart/gxsgraph_properties.def"
#undef GXP
};

#undef GX_FAMILY_SCALAR
#undef GX_FAMILY_FLOAT
#undef GX_FAMILY_TEXT
#undef GX_FAMILY_ARRAY1
#undef GX_FAMILY_ARRAY2
#undef GX_ACCESS_RW
#undef GX_ACCESS_RO
#undef GX_ACCESS_RO2
#undef GX_KIND_BOOL
#undef GX_KIND_ENUM
#undef GX_KIND_INT
#undef GX_KIND_COLOR
#undef GX_KIND_DOUBLE
#undef GX_KIND_SINGLE
#undef GX_KIND_TEXT
#undef GX_KIND_FLAG

// The property of the given name or id, or null.
const GXPropertyInfo *GXFindProperty(std::string_view name);
const GXPropertyInfo *GXFindProperty(std::int32_t id);
