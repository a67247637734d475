#include "chart/gxsgraph_enum_maps.h"
#include "chart/gxsgraph_properties.h"
#include "platform/chartlib/chart_object.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace chartlib;

namespace {

// Counts the refreshes the refresh-marked setters ask for.
class Graph : public GXSGraphProperties {
public:
    void ResetandInvalidate() override { ++refreshes; }
    int refreshes = 0;
    HCHART h() const { return GethObject(); }
};

template <class T> T Sample()
{
    if constexpr (std::is_same_v<T, bool>)
        return true;
    else if constexpr (std::is_enum_v<T>)
        return T(1);
    else if constexpr (std::is_same_v<T, GXColor>)
        return 0x80112233u;
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return 3;
    else if constexpr (std::is_same_v<T, double>)
        return 12345.678901234567;
    else if constexpr (std::is_same_v<T, float>)
        return 2.5f;
    else
        return u"abc\u00e9";
}

} // namespace

TEST(GXSGraphAccessors, OwnsOneChartObject)
{
    HCHART h;
    {
        GXSGraphProperties g;
        h = g.GethObject();
        ASSERT_NE(h, 0u);
        EXPECT_EQ(ChartGetInt(h, prop::ObjectType), 304);
        EXPECT_EQ(ChartFind(h)->ControlId(), 12111);
        EXPECT_EQ(g.GetObjectType(), 304);
        EXPECT_EQ(g.AppendFromURL(u"http://192.0.2.1/data"), 0); // no network, failure
    }
    EXPECT_EQ(ChartFind(h), nullptr);
    static_assert(GXSGraphProperties::GXargb(255, 1, 2, 3) == 0xFF030201u);
    static_assert(GXSGraphProperties::GXargb(255, 190, 190, 190) == 0xFFBEBEBEu);
}

using P = GXSGraphProperties;

// One check per property, called through member pointers so that the table expands into calls
// rather than into 669 copies of the checks.
template <class T>
[[gnu::noinline]] void CheckScalar(Graph &g, const char *name, std::int32_t id, int refresh,
                                   void (P::*set)(GXIn<T>), T (P::*get)())
{
    int before = g.refreshes;
    (g.*set)(Sample<T>());
    EXPECT_EQ(g.refreshes - before, refresh) << name;
    EXPECT_TRUE((g.*get)() == Sample<T>()) << name;
    EXPECT_TRUE(ChartFind(g.h())->Has(id)) << name;
}

template <class T>
[[gnu::noinline]] void CheckArray1(Graph &g, const char *name, int refresh,
                                   void (P::*set)(std::int32_t, GXIn<T>), T (P::*get)(std::int32_t))
{
    int before = g.refreshes;
    (g.*set)(2, Sample<T>());
    EXPECT_EQ(g.refreshes - before, refresh) << name;
    EXPECT_TRUE((g.*get)(2) == Sample<T>()) << name;
    EXPECT_TRUE((g.*get)(1) == T{}) << name;
}

template <class T>
[[gnu::noinline]] void CheckArray2(Graph &g, const char *name, int refresh,
                                   void (P::*set)(std::int32_t, std::int32_t, GXIn<T>),
                                   T (P::*get)(std::int32_t, std::int32_t))
{
    int before = g.refreshes;
    (g.*set)(0, 1, Sample<T>());
    EXPECT_EQ(g.refreshes - before, refresh) << name;
    EXPECT_TRUE((g.*get)(0, 1) == Sample<T>()) << name;
    EXPECT_TRUE((g.*get)(0, 0) == T{}) << name;
}

// Every setter reaches its own id, reads back through its getter, and asks for a refresh
// exactly when its property is refresh-marked.
TEST(GXSGraphAccessors, EveryPropertyRoundTrips)
{
    Graph g;
#define GX_T_SCALAR_RW(N, Id, T, R) CheckScalar<T>(g, #N, Id, R, &P::Set##N, &P::Get##N);
#define GX_T_FLOAT_RW(N, Id, T, R) GX_T_SCALAR_RW(N, Id, T, R)
#define GX_T_TEXT_RW(N, Id, T, R) GX_T_SCALAR_RW(N, Id, T, R)
#define GX_T_SCALAR_RO(N, Id, T, R) (void)g.Get##N();
#define GX_T_ARRAY1_RW(N, Id, T, R) CheckArray1<T>(g, #N, R, &P::Set##N, &P::Get##N);
#define GX_T_ARRAY1_RO2(N, Id, T, R) (void)g.Get##N(0, 0);
#define GX_T_ARRAY2_RW(N, Id, T, R) CheckArray2<T>(g, #N, R, &P::Set##N, &P::Get##N);
#define GXP(Name, Id, Family, Access, Kind, Type, Published, Refresh, Stored, Value)               \
    GX_T_##Family##_##Access(Name, Id, Type, Refresh)
#include "chart/gxsgraph_properties.def"
#undef GXP
}

TEST(GXSGraphAccessors, BooleansAndEnumerationsReadTheLowByte)
{
    Graph g;
    ChartSetInt(g.h(), 3223, 256);
    EXPECT_FALSE(g.GetShowGraphAnnotations());
    ChartSetInt(g.h(), 3223, 257);
    EXPECT_TRUE(g.GetShowGraphAnnotations());
    ChartSetInt(g.h(), 3032, 0x102);
    EXPECT_EQ(g.GetGridStyle(), sgDot);
    ChartSetElement(g.h(), 3138, 0, std::int32_t(0x200));
    EXPECT_FALSE(g.GetHorzLineAnnotHotSpot(0));
    ChartSetInt(g.h(), 2916, 0x101);
    EXPECT_EQ(g.GetPainting(), 1);
    // Setters send the zero-extended byte; Integers and colours keep all 32 bits.
    g.SetAllowZooming(sgHorzPlusVertZooming);
    EXPECT_EQ(ChartGetInt(g.h(), 3282), 3);
    g.SetShowLegend(true);
    EXPECT_EQ(ChartGetInt(g.h(), 2666), 1);
    g.SetWorkingAxis(-5);
    EXPECT_EQ(g.GetWorkingAxis(), -5);
    g.SetDeskColor(0xFFFFFFFFu);
    EXPECT_EQ(ChartGetInt(g.h(), 2320), -1);
    EXPECT_EQ(g.GetDeskColor(), 0xFFFFFFFFu);
}

// Every value of a mapped enumeration has a library value of its own, so each one survives a
// trip through the chart object.
template <class E, class Set, class Get>
void CheckMappedRoundTrips(Graph &g, std::int32_t id, Set set, Get get)
{
    std::set<std::int32_t> sent;
    for (int v = 0; v < GXEnumTraits<E>::count; ++v) {
        (g.*set)(E(v));
        sent.insert(ChartGetInt(g.h(), id));
        EXPECT_EQ((g.*get)(), E(v)) << GXEnumTraits<E>::name << " " << v;
    }
    EXPECT_EQ(int(sent.size()), GXEnumTraits<E>::count) << GXEnumTraits<E>::name;
}

TEST(GXSGraphAccessors, MappedEnumerations)
{
    Graph g;
    CheckMappedRoundTrips<ePlottingMethod>(g, 3090, &P::SetPlottingMethod, &P::GetPlottingMethod);
    CheckMappedRoundTrips<ePlottingMethodII>(g, 3011, &P::SetPlottingMethodII,
                                             &P::GetPlottingMethodII);
    CheckMappedRoundTrips<eTALocation>(g, 2961, &P::SetTALocation, &P::GetTALocation);

    g.SetPlottingMethod(sgStick);
    EXPECT_EQ(ChartGetInt(g.h(), 3090), 34);
    // Library values without a name of ours read as a line; values of ours out of range go as 0.
    for (int lib : {9, 10, 18, 14, 255, -1}) {
        ChartSetInt(g.h(), 3090, lib);
        EXPECT_EQ(g.GetPlottingMethod(), sgLine) << lib;
    }
    g.SetPlottingMethod(ePlottingMethod(24));
    EXPECT_EQ(ChartGetInt(g.h(), 3090), 0);
    g.SetTALocation(eTALocation(16));
    EXPECT_EQ(ChartGetInt(g.h(), 2961), 100);
    g.SetTALocation(sgInsideOverlap0);
    EXPECT_EQ(ChartGetInt(g.h(), 2961), 400);

    // Every other enumeration passes its ordinal unchanged, whatever it is.
    g.SetQuickStyle(eQuickStyle(200));
    EXPECT_EQ(ChartGetInt(g.h(), 2672), 200);
}

// The engine's text rules (the cut at 1255 units, the first NUL, the empty text) are tested in
// tests/chartlib; here the control's own text buffer.
TEST(GXSGraphAccessors, TextsThroughTheBuffer)
{
    Graph g;
    // Getters hand out copies: later reads and changes to a copy touch nothing else.
    g.SetYAxisLabel(u"dB");
    WideString first = g.GetYAxisLabel();
    first[0] = u'Q';
    EXPECT_EQ(g.LastTextRead(), u"dB");
    g.SetYAxisLabel(u"Leq");
    WideString second = g.GetYAxisLabel();
    EXPECT_EQ(first, u"QB");
    EXPECT_EQ(second, u"Leq");
    // Element texts go through the same buffer, up to the same cut.
    g.SetGraphAnnotationText(5, WideString(1300, u'x'));
    EXPECT_EQ(g.GetGraphAnnotationText(5).size(), 1255u);
    EXPECT_EQ(g.GetGraphAnnotationText(6), u"");
    g.SetTAText(1, 2, u"cell");
    EXPECT_EQ(g.GetTAText(1, 2), u"cell");
}

TEST(GXSGraphAccessors, BestFitCoeffsFoldTheIndexes)
{
    Graph g;
    ChartSetElement(g.h(), 3058, 23, 1.5);
    EXPECT_EQ(g.GetBestFitCoeffs(2, 3), 1.5);
    EXPECT_EQ(g.GetBestFitCoeffs(3, 2), 0.0);
    EXPECT_EQ(g.GetBestFitCoeffs(0x7FFFFFFF, 9), 0.0);
    EXPECT_EQ(g.GetBestFitCoeffs(-1, 5), 0.0);
}

TEST(GXSGraphAccessors, GraphFormValues)
{
    Graph g;
    g.ApplyGraphFormValues();
    ChartObject *o = ChartFind(g.h());
    for (const auto &p : kGXSGraphProperties) {
        bool always = p.id == prop::ObjectType || DataAxisOf(p.id) >= 0;
        if (!always) {
            EXPECT_EQ(o->Has(p.id), p.stored) << p.name;
        }
    }
    // A value of each family arrives as stored.
    EXPECT_EQ(g.GetPoints(), 4);
    EXPECT_EQ(g.GetLineGapThreshold(), 9.999999933815813e+36);
    EXPECT_EQ(g.GetFontSizeGlobalCntl(), 1.0f);
    EXPECT_EQ(g.GetYAxisLabel(), u"Y Axis #1");
    EXPECT_EQ(g.GetYAxisColor(), 0x00000001u);
    EXPECT_EQ(g.GetSymbolFrequency(), sgEightPercent);
    EXPECT_TRUE(g.GetShowLegend());
}
