// Library values of enumerations: the generic part of the enumeration maps. Each control's
// maps header specialises GXEnumMap for its mapped enumerations; every other enumeration
// passes its ordinal.
#pragma once

#include <cstdint>
#include <span>

struct GXEnumMapEntry {
    std::uint8_t ordinal;
    std::int32_t library;
};

// The table of a mapped enumeration; empty for every other one.
template <class E> constexpr std::span<const GXEnumMapEntry> GXEnumMap()
{
    return {};
}

// The 32-bit value the library receives for an enumeration value.
template <class E> constexpr std::int32_t GXEnumToLibrary(E value)
{
    auto map = GXEnumMap<E>();
    if (map.empty())
        return std::int32_t(std::uint8_t(value));
    for (const auto &e : map)
        if (e.ordinal == std::uint8_t(value))
            return e.library;
    return 0;
}

// The enumeration value of a 32-bit library value: its low 8 bits as the ordinal, or the
// table's look-up for a mapped enumeration.
template <class E> constexpr E GXEnumFromLibrary(std::int32_t library)
{
    auto map = GXEnumMap<E>();
    if (map.empty())
        return E(std::uint8_t(library & 0xFF));
    for (const auto &e : map)
        if (e.library == library)
            return E(e.ordinal);
    return E(0);
}
