// The accessors of the twin control GXGraph over the real engine core: its chart object, every
// row of its table reaching its id, and its own enumeration maps.
#include "chart/gxgraph_enum_maps.h"
#include "chart/gxgraph_properties.h"
#include "chart/gxsgraph_properties.h"
#include "platform/chartlib/chart_object.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace chartlib;

// Inside the namespace, the enumeration names of the table rows are the twin's own.
namespace Gxgctl {
namespace {

class Twin : public GXGraphProperties {
public:
    void ResetandInvalidate() override { ++refreshes; }
    int refreshes = 0;
};

// A value of each type that is not what a new chart reads (true for a Boolean); for an
// enumeration its last value, which a mapped one sends as a number of its own.
template <class T> T Sample()
{
    if constexpr (std::is_enum_v<T>)
        return T(GXEnumTraits<T>::count - 1);
    else if constexpr (std::is_same_v<T, WideString>)
        return u"x\u00e9";
    else
        return T(7);
}

} // namespace

TEST(GXGraphAccessors, OwnsAChartOfType300)
{
    auto g = std::make_unique<GXGraphProperties>();
    const HCHART h = g->GethObject();
    ASSERT_NE(ChartFind(h), nullptr);
    EXPECT_EQ(g->GetObjectType(), 300);
    EXPECT_EQ(ChartFind(h)->ControlId(), 11111);
    g.reset();
    EXPECT_EQ(ChartFind(h), nullptr);
}

// Each row's setter writes its own id and reads back through its getter; refresh-marked
// setters ask for a refresh, the others do not.
TEST(GXGraphAccessors, EveryRowReachesItsId)
{
    Twin g;
    ChartObject *o = ChartFind(g.GethObject());
    std::set<std::int32_t> written;
    auto check = [&](const char *name, std::int32_t id, bool refresh, auto write, auto read,
                     auto sample) {
        const int before = g.refreshes;
        write(sample);
        EXPECT_EQ(g.refreshes - before, refresh ? 1 : 0) << name;
        EXPECT_TRUE(read() == sample) << name;
        EXPECT_TRUE(o->Has(id)) << name;
        written.insert(id);
    };
#define GX_T_SCALAR_RW(N, Id, T, R)                                                                \
    check(                                                                                         \
        #N, Id, R, [&](T v) { g.Set##N(v); }, [&] { return g.Get##N(); }, Sample<T>());
#define GX_T_FLOAT_RW GX_T_SCALAR_RW
#define GX_T_TEXT_RW GX_T_SCALAR_RW
#define GX_T_ARRAY1_RW(N, Id, T, R)                                                                \
    check(                                                                                         \
        #N, Id, R, [&](T v) { g.Set##N(3, v); }, [&] { return g.Get##N(3); }, Sample<T>());
#define GX_T_ARRAY2_RW(N, Id, T, R)                                                                \
    check(                                                                                         \
        #N, Id, R, [&](T v) { g.Set##N(0, 2, v); }, [&] { return g.Get##N(0, 2); }, Sample<T>());
#define GX_T_SCALAR_RO(N, Id, T, R) (void)g.Get##N();
#define GX_T_ARRAY1_RO2(N, Id, T, R) (void)g.Get##N(1, 1);
#define GXG(Name, Id, Family, Access, Kind, Type, Published, Refresh, Share)                       \
    GX_T_##Family##_##Access(Name, Id, Type, Refresh)
#define GXA(Name)
#include "chart/gxgraph_properties.def"
#undef GXA
#undef GXG
}

TEST(GXGraphAccessors, MappedEnumerationsUseTheTwinsTables)
{
    GXGraphProperties g;
    GXSGraphProperties s;
    const HCHART h = g.GethObject();
    ChartSetInt(h, 3090, 12); // GXSGraph's bubbles
    EXPECT_EQ(g.GetPlottingMethod(), gLine);
    ChartSetInt(s.GethObject(), 3090, 18); // the twin's horizontal bars
    EXPECT_EQ(s.GetPlottingMethod(), sgLine);
    for (int lib : {23, 24, 30, 31, 34, 35, 36, -1}) {
        ChartSetInt(h, 3090, lib);
        EXPECT_EQ(g.GetPlottingMethod(), gLine) << lib;
    }
    g.SetTALocation(gInsideTable);
    EXPECT_EQ(ChartGetInt(h, 2961), 300);
    g.SetTALocation(eTALocation(35)); // no such value
    EXPECT_EQ(ChartGetInt(h, 2961), 0);

    // Every value of each mapped enumeration has a library value of its own.
    auto roundTrips = [&](auto last, std::int32_t id, auto set, auto get) {
        using E = decltype(last);
        std::set<std::int32_t> sent;
        for (int v = 0; v <= int(last); ++v) {
            (g.*set)(E(v));
            sent.insert(ChartGetInt(h, id));
            EXPECT_EQ((g.*get)(), E(v)) << GXEnumTraits<E>::name << " " << v;
        }
        EXPECT_EQ(int(sent.size()), GXEnumTraits<E>::count);
    };
    using P = GXGraphProperties;
    roundTrips(gRibbon, 3090, &P::SetPlottingMethod, &P::GetPlottingMethod);
    roundTrips(gRibbon2, 3011, &P::SetPlottingMethodII, &P::GetPlottingMethodII);
    roundTrips(gInsideOverlap5, 2961, &P::SetTALocation, &P::GetTALocation);
    // The other enumerations pass their ordinal.
    g.SetTAAxisLocation(gBottomTableSpaced);
    EXPECT_EQ(ChartGetInt(h, 2966), 9);
}

TEST(GXGraphAccessors, NullDataValueAndNullDataValueYAreOneId)
{
    GXGraphProperties g;
    GXSGraphProperties s;
    g.SetNullDataValue(-1.5);
    s.SetNullDataValueY(-2.5);
    double twin = 0, first = 0;
    ASSERT_TRUE(ChartGetProperty(g.GethObject(), 3268, twin));
    ASSERT_TRUE(ChartGetProperty(s.GethObject(), 3268, first));
    EXPECT_EQ(twin, -1.5);
    EXPECT_EQ(first, -2.5);
}

} // namespace Gxgctl
