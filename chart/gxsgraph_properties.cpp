#include "chart/gxsgraph_properties.h"

#include "chart/gxsgraph_enum_maps.h"

#include <cstring>
#include <limits>
#include <string_view>

namespace {

// A value as the library receives it through the 32-bit operations.
template <class T> std::int32_t ToLibrary(T value)
{
    if constexpr (std::is_same_v<T, bool>)
        return value ? 1 : 0;
    else if constexpr (std::is_enum_v<T>)
        return GXEnumToLibrary(value);
    else
        return std::int32_t(value); // Integer, or a colour's 32 bits
}

// A 32-bit library value as the property's type.
template <class T> T FromLibrary(std::int32_t value)
{
    if constexpr (std::is_same_v<T, bool>)
        return (value & 0xFF) != 0;
    else if constexpr (std::is_enum_v<T>)
        return GXEnumFromLibrary<T>(value);
    else if constexpr (std::is_same_v<T, GXFlag>)
        return GXFlag(value & 0xFF);
    else
        return T(value);
}

} // namespace

GXSGraphProperties::GXSGraphProperties()
{
    const chartlib::ChartRect rect{0, 0, 300, 300};
    FChart = chartlib::ChartCreate(kObjectType, 0, &rect, 0, kObjectId);
}

GXSGraphProperties::~GXSGraphProperties()
{
    if (FChart != 0) {
        chartlib::ChartDestroy(FChart);
        FChart = 0;
    }
}

std::int32_t GXSGraphProperties::AppendFromURL(const WideString &url)
{
    return chartlib::ChartAppendFromURL(FChart, url, 0x80000002u);
}

WideString GXSGraphProperties::TakeText()
{
    std::size_t n = 0;
    while (n < kMaxTextUnits && FTextBuffer[n] != u'\0')
        ++n;
    FLastText.assign(FTextBuffer, n);
    return FLastText;
}

template <class T> void GXSGraphProperties::ScalarSet(std::int32_t id, T value)
{
    chartlib::ChartSetInt(FChart, id, ToLibrary(value));
}

template <class T> T GXSGraphProperties::ScalarGet(std::int32_t id)
{
    return FromLibrary<T>(chartlib::ChartGetInt(FChart, id));
}

template <class T> void GXSGraphProperties::FloatSet(std::int32_t id, T value)
{
    chartlib::ChartSetProperty(FChart, id, value);
}

template <class T> T GXSGraphProperties::FloatGet(std::int32_t id)
{
    if constexpr (std::is_same_v<T, double>) {
        chartlib::ChartGetProperty(FChart, id, FDoubleSlot);
        return FDoubleSlot;
    } else {
        chartlib::ChartGetProperty(FChart, id, FSingleSlot);
        return FSingleSlot;
    }
}

void GXSGraphProperties::TextSet(std::int32_t id, const WideString &text)
{
    chartlib::ChartSetString(FChart, id, text);
}

WideString GXSGraphProperties::TextGet(std::int32_t id)
{
    FTextBuffer[0] = u'\0';
    chartlib::ChartGetString(FChart, id, FTextBuffer, kTextBufferUnits);
    return TakeText();
}

template <class T>
void GXSGraphProperties::ElementSet(std::int32_t id, std::int32_t i, GXIn<T> value)
{
    if constexpr (std::is_same_v<T, WideString>) {
        chartlib::ChartSetElement(FChart, id, i, std::u16string_view(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        chartlib::ChartSetElement(FChart, id, i, value);
    } else {
        FIntSlot = ToLibrary(value);
        chartlib::ChartSetElement(FChart, id, i, FIntSlot);
    }
}

template <class T> T GXSGraphProperties::ElementGet(std::int32_t id, std::int32_t i)
{
    if constexpr (std::is_same_v<T, WideString>) {
        FTextBuffer[0] = u'\0';
        chartlib::ChartGetElement(FChart, id, i, FTextBuffer, kTextBufferUnits);
        return TakeText();
    } else if constexpr (std::is_same_v<T, double>) {
        chartlib::ChartGetElement(FChart, id, i, FDoubleSlot);
        return FDoubleSlot;
    } else if constexpr (std::is_same_v<T, float>) {
        chartlib::ChartGetElement(FChart, id, i, FSingleSlot);
        return FSingleSlot;
    } else {
        chartlib::ChartGetElement(FChart, id, i, FIntSlot);
        return FromLibrary<T>(FIntSlot);
    }
}

template <class T>
void GXSGraphProperties::Element2DSet(std::int32_t id, std::int32_t i, std::int32_t j,
                                      GXIn<T> value)
{
    if constexpr (std::is_same_v<T, WideString>) {
        chartlib::ChartSetElement2D(FChart, id, i, j, std::u16string_view(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        chartlib::ChartSetElement2D(FChart, id, i, j, value);
    } else {
        FIntSlot = ToLibrary(value);
        chartlib::ChartSetElement2D(FChart, id, i, j, FIntSlot);
    }
}

template <class T>
T GXSGraphProperties::Element2DGet(std::int32_t id, std::int32_t i, std::int32_t j)
{
    if constexpr (std::is_same_v<T, WideString>) {
        FTextBuffer[0] = u'\0';
        chartlib::ChartGetElement2D(FChart, id, i, j, FTextBuffer, kTextBufferUnits);
        return TakeText();
    } else if constexpr (std::is_same_v<T, double>) {
        chartlib::ChartGetElement2D(FChart, id, i, j, FDoubleSlot);
        return FDoubleSlot;
    } else if constexpr (std::is_same_v<T, float>) {
        chartlib::ChartGetElement2D(FChart, id, i, j, FSingleSlot);
        return FSingleSlot;
    } else {
        chartlib::ChartGetElement2D(FChart, id, i, j, FIntSlot);
        return FromLibrary<T>(FIntSlot);
    }
}

// The accessors, generated from the table.
#define GX_REFRESH(R)                                                                              \
    if constexpr (R != 0)                                                                          \
    ResetandInvalidate()
#define GX_DEF_SCALAR_RW(N, Id, T, R)                                                              \
    void GXSGraphProperties::Set##N(GXIn<T> value)                                                 \
    {                                                                                              \
        ScalarSet<T>(Id, value);                                                                   \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T GXSGraphProperties::Get##N()                                                                 \
    {                                                                                              \
        return ScalarGet<T>(Id);                                                                   \
    }
#define GX_DEF_SCALAR_RO(N, Id, T, R)                                                              \
    T GXSGraphProperties::Get##N()                                                                 \
    {                                                                                              \
        return ScalarGet<T>(Id);                                                                   \
    }
#define GX_DEF_FLOAT_RW(N, Id, T, R)                                                               \
    void GXSGraphProperties::Set##N(GXIn<T> value)                                                 \
    {                                                                                              \
        FloatSet<T>(Id, value);                                                                    \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T GXSGraphProperties::Get##N()                                                                 \
    {                                                                                              \
        return FloatGet<T>(Id);                                                                    \
    }
#define GX_DEF_TEXT_RW(N, Id, T, R)                                                                \
    void GXSGraphProperties::Set##N(GXIn<T> value)                                                 \
    {                                                                                              \
        TextSet(Id, value);                                                                        \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T GXSGraphProperties::Get##N()                                                                 \
    {                                                                                              \
        return TextGet(Id);                                                                        \
    }
#define GX_DEF_ARRAY1_RW(N, Id, T, R)                                                              \
    void GXSGraphProperties::Set##N(std::int32_t i, GXIn<T> value)                                 \
    {                                                                                              \
        ElementSet<T>(Id, i, value);                                                               \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T GXSGraphProperties::Get##N(std::int32_t i)                                                   \
    {                                                                                              \
        return ElementGet<T>(Id, i);                                                               \
    }
// Ten elements per row: element i * 10 + j (an index that does not fit reads as outside).
#define GX_DEF_ARRAY1_RO2(N, Id, T, R)                                                             \
    T GXSGraphProperties::Get##N(std::int32_t i, std::int32_t j)                                   \
    {                                                                                              \
        std::int64_t k = std::int64_t(i) * 10 + j;                                                 \
        bool fits = k >= 0 && k <= std::numeric_limits<std::int32_t>::max();                       \
        return ElementGet<T>(Id, fits ? std::int32_t(k) : -1);                                     \
    }
#define GX_DEF_ARRAY2_RW(N, Id, T, R)                                                              \
    void GXSGraphProperties::Set##N(std::int32_t i, std::int32_t j, GXIn<T> value)                 \
    {                                                                                              \
        Element2DSet<T>(Id, i, j, value);                                                          \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T GXSGraphProperties::Get##N(std::int32_t i, std::int32_t j)                                   \
    {                                                                                              \
        return Element2DGet<T>(Id, i, j);                                                          \
    }
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_DEF_##Family##_##Access(Name, Id, Type, Refresh)
#include "chart/gxsgraph_properties.def"
#undef GXP

void GXSGraphProperties::ApplyGraphFormValues()
{
#define GX_STORE_0(N, V)
#define GX_STORE_1(N, V) Set##N(V);
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_STORE_##Stored(Name, Value)
#include "chart/gxsgraph_properties.def"
#undef GXP
#undef GX_STORE_0
#undef GX_STORE_1
}

std::vector<std::string> GXEnumValueNames(const GXEnumInfo &info)
{
    std::vector<std::string> names;
    std::string_view s(info.values);
    while (!s.empty()) {
        auto comma = s.find(',');
        std::string_view name = s.substr(0, comma);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        names.emplace_back(name);
        if (comma == std::string_view::npos)
            break;
        s.remove_prefix(comma + 1);
    }
    return names;
}

const GXPropertyInfo *GXFindProperty(std::string_view name)
{
    for (const auto &p : kGXSGraphProperties)
        if (name == p.name)
            return &p;
    return nullptr;
}

const GXPropertyInfo *GXFindProperty(std::int32_t id)
{
    for (const auto &p : kGXSGraphProperties)
        if (p.id == id)
            return &p;
    return nullptr;
}
