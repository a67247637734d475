// What the property accessors of both chart controls are built on: the chart object a control
// owns, the conversions of each value kind at the library boundary, and the macros that turn
// a row of a property table into its setter and getter.
//
// Signatures by family, for a property X of value type T:
//   scalar, floating, text:  void SetX(T); T GetX()
//   one index:               void SetX(int32_t i, T); T GetX(int32_t i)
//   two indexes:             void SetX(int32_t i, int32_t j, T); T GetX(int32_t i, int32_t j)
//   read-only:               the getter only
//
// Conversions: Booleans and enumerations travel as zero-extended 32-bit values and read back
// from the low 8 bits (non-zero is true); the mapped enumerations go through their tables
// (gx_enum_map.h); colours and Integers pass their 32 bits; texts are read through a buffer of
// 1256 code units and cut at the first NUL and after 1255 units.
#pragma once

#include "chart/gx_enum_map.h"
#include "chart/gx_table.h"
#include "platform/chartlib/chartlib.h"

#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

// Texts are taken by reference, everything else by value.
template <class T> using GXIn = std::conditional_t<std::is_same_v<T, WideString>, const T &, T>;

class GXChartProperties {
public:
    static constexpr std::size_t kTextBufferUnits = 1256;
    static constexpr std::size_t kMaxTextUnits = kTextBufferUnits - 1;

    virtual ~GXChartProperties();
    GXChartProperties(const GXChartProperties &) = delete;
    GXChartProperties &operator=(const GXChartProperties &) = delete;

    // The handle of the chart object, for direct library calls (state blocks, hit tests,
    // pixel conversion, DialogResult). 0 when there is none.
    chartlib::HCHART GethObject() const { return FChart; }

    // The colour of alpha, red, green and blue bytes.
    static constexpr GXColor GXargb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        return chartlib::ChartArgb(a, r, g, b);
    }

    // Called after every refresh-marked setter. The chart is redrawn by the control's actions
    // at run time, so the default does nothing; a window control may redraw here while its
    // form is being designed.
    virtual void ResetandInvalidate() {}

    // Appending data from a URL is not supported: returns the library's failure result (0)
    // and touches no network.
    std::int32_t AppendFromURL(const WideString &url);

    // The last text a getter read (the getters return copies of it).
    const WideString &LastTextRead() const { return FLastText; }

protected:
    // Creates the chart object of the given type and id, windowless, 300 x 300.
    GXChartProperties(std::uint32_t objectType, std::int32_t objectId);

    // One library call per accessor, by family.
    template <class T> void ScalarSet(std::int32_t id, T value)
    {
        chartlib::ChartSetInt(FChart, id, ToLibrary(value));
    }
    template <class T> T ScalarGet(std::int32_t id)
    {
        return FromLibrary<T>(chartlib::ChartGetInt(FChart, id));
    }
    template <class T> void FloatSet(std::int32_t id, T value)
    {
        chartlib::ChartSetProperty(FChart, id, value);
    }
    template <class T> T FloatGet(std::int32_t id)
    {
        if constexpr (std::is_same_v<T, double>) {
            chartlib::ChartGetProperty(FChart, id, FDoubleSlot);
            return FDoubleSlot;
        } else {
            chartlib::ChartGetProperty(FChart, id, FSingleSlot);
            return FSingleSlot;
        }
    }
    void TextSet(std::int32_t id, const WideString &text);
    WideString TextGet(std::int32_t id);
    template <class T> void ElementSet(std::int32_t id, std::int32_t i, GXIn<T> value);
    template <class T> T ElementGet(std::int32_t id, std::int32_t i);
    template <class T>
    void Element2DSet(std::int32_t id, std::int32_t i, std::int32_t j, GXIn<T> value);
    template <class T> T Element2DGet(std::int32_t id, std::int32_t i, std::int32_t j);
    // Element i * 10 + j of a one-index array (an index that does not fit reads as outside).
    template <class T> T FoldedGet(std::int32_t id, std::int32_t i, std::int32_t j)
    {
        std::int64_t k = std::int64_t(i) * 10 + j;
        bool fits = k >= 0 && k <= std::numeric_limits<std::int32_t>::max();
        return ElementGet<T>(id, fits ? std::int32_t(k) : -1);
    }

    chartlib::HCHART FChart = 0;

private:
    // A value as the library receives it through the 32-bit operations.
    template <class T> static std::int32_t ToLibrary(T value)
    {
        if constexpr (std::is_same_v<T, bool>)
            return value ? 1 : 0;
        else if constexpr (std::is_enum_v<T>)
            return GXEnumToLibrary(value);
        else
            return std::int32_t(value); // Integer, or a colour's 32 bits
    }
    // A 32-bit library value as the property's type.
    template <class T> static T FromLibrary(std::int32_t value)
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
    // The text in the buffer up to its first NUL, at most kMaxTextUnits units; it becomes the
    // last text read.
    WideString TakeText();

    // Scratch shared by all accessors of one control (GUI thread only).
    char16_t FTextBuffer[kTextBufferUnits] = {};
    WideString FLastText;
    std::int32_t FIntSlot = 0;
    float FSingleSlot = 0;
    double FDoubleSlot = 0;
};

template <class T>
void GXChartProperties::ElementSet(std::int32_t id, std::int32_t i, GXIn<T> value)
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

template <class T> T GXChartProperties::ElementGet(std::int32_t id, std::int32_t i)
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
void GXChartProperties::Element2DSet(std::int32_t id, std::int32_t i, std::int32_t j, GXIn<T> value)
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
T GXChartProperties::Element2DGet(std::int32_t id, std::int32_t i, std::int32_t j)
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

// ---- accessors from table rows -----------------------------------------------------------------
//
// GX_DECLARE_ACCESSORS(Name, Family, Access, Type) declares the accessors of one row inside the
// class; GX_DEFINE_ACCESSORS(Class, Name, Id, Family, Access, Type, Refresh) defines them.

#define GX_DECLARE_ACCESSORS(N, Family, Access, T) GX_DECL_##Family##_##Access(N, T)
#define GX_DECL_SCALAR_RW(N, T)                                                                    \
    void Set##N(GXIn<T> value);                                                                    \
    T Get##N();
#define GX_DECL_SCALAR_RO(N, T) T Get##N();
#define GX_DECL_FLOAT_RW(N, T) GX_DECL_SCALAR_RW(N, T)
#define GX_DECL_TEXT_RW(N, T) GX_DECL_SCALAR_RW(N, T)
#define GX_DECL_ARRAY1_RW(N, T)                                                                    \
    void Set##N(std::int32_t i, GXIn<T> value);                                                    \
    T Get##N(std::int32_t i);
#define GX_DECL_ARRAY1_RO2(N, T) T Get##N(std::int32_t i, std::int32_t j);
#define GX_DECL_ARRAY2_RW(N, T)                                                                    \
    void Set##N(std::int32_t i, std::int32_t j, GXIn<T> value);                                    \
    T Get##N(std::int32_t i, std::int32_t j);

#define GX_DEFINE_ACCESSORS(C, N, Id, Family, Access, T, R)                                        \
    GX_DEF_##Family##_##Access(C, N, Id, T, R)
#define GX_REFRESH(R)                                                                              \
    if constexpr (R != 0)                                                                          \
    ResetandInvalidate()
#define GX_DEF_SCALAR_RW(C, N, Id, T, R)                                                           \
    void C::Set##N(GXIn<T> value)                                                                  \
    {                                                                                              \
        ScalarSet<T>(Id, value);                                                                   \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T C::Get##N()                                                                                  \
    {                                                                                              \
        return ScalarGet<T>(Id);                                                                   \
    }
#define GX_DEF_SCALAR_RO(C, N, Id, T, R)                                                           \
    T C::Get##N()                                                                                  \
    {                                                                                              \
        return ScalarGet<T>(Id);                                                                   \
    }
#define GX_DEF_FLOAT_RW(C, N, Id, T, R)                                                            \
    void C::Set##N(GXIn<T> value)                                                                  \
    {                                                                                              \
        FloatSet<T>(Id, value);                                                                    \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T C::Get##N()                                                                                  \
    {                                                                                              \
        return FloatGet<T>(Id);                                                                    \
    }
#define GX_DEF_TEXT_RW(C, N, Id, T, R)                                                             \
    void C::Set##N(GXIn<T> value)                                                                  \
    {                                                                                              \
        TextSet(Id, value);                                                                        \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T C::Get##N()                                                                                  \
    {                                                                                              \
        return TextGet(Id);                                                                        \
    }
#define GX_DEF_ARRAY1_RW(C, N, Id, T, R)                                                           \
    void C::Set##N(std::int32_t i, GXIn<T> value)                                                  \
    {                                                                                              \
        ElementSet<T>(Id, i, value);                                                               \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T C::Get##N(std::int32_t i)                                                                    \
    {                                                                                              \
        return ElementGet<T>(Id, i);                                                               \
    }
#define GX_DEF_ARRAY1_RO2(C, N, Id, T, R)                                                          \
    T C::Get##N(std::int32_t i, std::int32_t j)                                                    \
    {                                                                                              \
        return FoldedGet<T>(Id, i, j);                                                             \
    }
#define GX_DEF_ARRAY2_RW(C, N, Id, T, R)                                                           \
    void C::Set##N(std::int32_t i, std::int32_t j, GXIn<T> value)                                  \
    {                                                                                              \
        Element2DSet<T>(Id, i, j, value);                                                          \
        GX_REFRESH(R);                                                                             \
    }                                                                                              \
    T C::Get##N(std::int32_t i, std::int32_t j)                                                    \
    {                                                                                              \
        return Element2DGet<T>(Id, i, j);                                                          \
    }
