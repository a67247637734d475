// The property accessors of the chart control GXSGraph, without its window. Every property of
// gxsgraph_properties.def has a setter SetX and a getter GetX that forward to the chart object
// with the property's id; the control keeps no copy of any value. The window control derives
// from this class and overrides ResetandInvalidate.
//
// Signatures by family, for a property X of value type T:
//   scalar, floating, text:  void SetX(T); T GetX()
//   one index:               void SetX(int32_t i, T); T GetX(int32_t i)
//   two indexes:             void SetX(int32_t i, int32_t j, T); T GetX(int32_t i, int32_t j)
//   read-only:               the getter only
// For the data arrays (YData, XData, XDataII, YDataII, PointColors, PointTypes,
// DataPointLabels) i is the subset and j the point.
//
// Conversions: Booleans and enumerations travel as zero-extended 32-bit values and read back
// from the low 8 bits (non-zero is true); ePlottingMethod, ePlottingMethodII and eTALocation go
// through their tables (gxsgraph_enum_maps.h); colours and Integers pass their 32 bits; texts
// are read through a buffer of 1256 code units and cut at the first NUL and after 1255 units.
#pragma once

#include "chart/gxsgraph_types.h"
#include "platform/chartlib/chartlib.h"

#include <cstdint>
#include <type_traits>

// Texts are taken by reference, everything else by value.
template <class T> using GXIn = std::conditional_t<std::is_same_v<T, WideString>, const T &, T>;

class GXSGraphProperties {
public:
    // Object type and id of the chart object of this control.
    static constexpr std::uint32_t kObjectType = 304;
    static constexpr std::int32_t kObjectId = 12111;
    static constexpr std::size_t kTextBufferUnits = 1256;
    static constexpr std::size_t kMaxTextUnits = kTextBufferUnits - 1;

    // Creates the chart object, windowless, 300 x 300.
    GXSGraphProperties();
    virtual ~GXSGraphProperties();
    GXSGraphProperties(const GXSGraphProperties &) = delete;
    GXSGraphProperties &operator=(const GXSGraphProperties &) = delete;

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

    // Writes the values the graph window's form stores for this control (its published
    // properties, except floating values of 0 and empty texts).
    void ApplyGraphFormValues();

    // The last text a getter read (the getters return copies of it).
    const WideString &LastTextRead() const { return FLastText; }

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
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_DECL_##Family##_##Access(Name, Type)
#include "chart/gxsgraph_properties.def"
#undef GXP
#undef GX_DECL_SCALAR_RW
#undef GX_DECL_SCALAR_RO
#undef GX_DECL_FLOAT_RW
#undef GX_DECL_TEXT_RW
#undef GX_DECL_ARRAY1_RW
#undef GX_DECL_ARRAY1_RO2
#undef GX_DECL_ARRAY2_RW

protected:
    chartlib::HCHART FChart = 0;

private:
    template <class T> void ScalarSet(std::int32_t id, T value);
    template <class T> T ScalarGet(std::int32_t id);
    template <class T> void FloatSet(std::int32_t id, T value);
    template <class T> T FloatGet(std::int32_t id);
    void TextSet(std::int32_t id, const WideString &text);
    WideString TextGet(std::int32_t id);
    template <class T> void ElementSet(std::int32_t id, std::int32_t i, GXIn<T> value);
    template <class T> T ElementGet(std::int32_t id, std::int32_t i);
    template <class T>
    void Element2DSet(std::int32_t id, std::int32_t i, std::int32_t j, GXIn<T> value);
    template <class T> T Element2DGet(std::int32_t id, std::int32_t i, std::int32_t j);
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
