// The property set of the twin control GXGraph against that of GXSGraph: which rows are
// shared and agree, which are its own, which it lacks, and its enumerations.
#include "chart/gxgraph_types.h"
#include "chart/gxsgraph_types.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

std::set<std::string> Names(const auto &table)
{
    std::set<std::string> names;
    for (const auto &p : table)
        names.insert(p.name);
    return names;
}

// Value names with the control's prefix (sg or g) taken off.
std::vector<std::string> Unprefixed(const GXEnumInfo &info, std::size_t prefix)
{
    std::vector<std::string> names = GXEnumValueNames(info);
    for (auto &n : names)
        n = n.substr(prefix);
    return names;
}

} // namespace

TEST(GXGraphTable, SharedOwnAndAbsentRows)
{
    using Gxgctl::kGXGraphAbsent;
    using Gxgctl::kGXGraphProperties;
    ASSERT_EQ(std::size(kGXGraphProperties), 658u);
    EXPECT_EQ(Names(kGXGraphProperties).size(), 658u);
    std::set<std::int32_t> ids;
    int shared = 0, own = 0;
    for (const auto &p : kGXGraphProperties) {
        ids.insert(p.id);
        EXPECT_FALSE(p.stored) << p.name; // no form places the twin
        const GXPropertyInfo *s = GXFindProperty(std::string_view(p.name));
        if (!p.shared) {
            ++own;
            EXPECT_EQ(s, nullptr) << p.name;
            continue;
        }
        ++shared;
        ASSERT_NE(s, nullptr) << p.name;
        EXPECT_EQ(p.id, s->id) << p.name;
        EXPECT_EQ(p.family, s->family) << p.name;
        EXPECT_EQ(p.access, s->access) << p.name;
        EXPECT_EQ(p.kind, s->kind) << p.name;
        EXPECT_STREQ(p.type, s->type) << p.name;
        EXPECT_EQ(p.refresh, s->refresh) << p.name;
    }
    EXPECT_EQ(shared, 595);
    EXPECT_EQ(own, 63);
    EXPECT_EQ(ids.size(), 658u);

    // The absent rows are exactly GXSGraph's properties that the twin does not have.
    ASSERT_EQ(std::size(kGXGraphAbsent), 74u);
    std::set<std::string> absent(std::begin(kGXGraphAbsent), std::end(kGXGraphAbsent));
    EXPECT_EQ(absent.size(), 74u);
    std::set<std::string> twin = Names(kGXGraphProperties);
    for (const auto &p : kGXSGraphProperties)
        EXPECT_NE(twin.count(p.name), absent.count(p.name)) << p.name;

    // One id, two names.
    const auto *nullY = GXFindRow(Gxgctl::kGXGraphProperties, 3268);
    ASSERT_NE(nullY, nullptr);
    EXPECT_STREQ(nullY->name, "NullDataValue");
    EXPECT_FALSE(nullY->shared);
    EXPECT_STREQ(GXFindProperty(3268)->name, "NullDataValueY");
    EXPECT_EQ(absent.count("NullDataValueY"), 1u);
    // Every other own id is unknown to GXSGraph.
    for (const auto &p : kGXGraphProperties)
        if (!p.shared && p.id != 3268) {
            EXPECT_EQ(GXFindProperty(p.id), nullptr) << p.name;
        }
}

TEST(GXGraphTable, OwnRowsAsListed)
{
    struct Row {
        const char *name;
        std::int32_t id;
        GXFamily family;
        GXKind kind;
        const char *type;
        bool refresh, published;
    };
    using F = GXFamily;
    using K = GXKind;
    const Row rows[] = {
        {"FontSizeTBCntl", 2121, F::Float, K::Single, "float", true, false},
        {"SubsetsToTable", 2159, F::Array1, K::Integer, "int32_t", false, false},
        {"TableForeColor", 2345, F::Scalar, K::Colour, "GXColor", true, true},
        {"TableFont", 2565, F::Text, K::Text, "WideString", true, true},
        {"TableGradientStyle", 2699, F::Scalar, K::Enumeration, "eGradientStyle", true, true},
        {"NullDataValue", 3268, F::Float, K::Double, "double", true, true},
        {"HScrollStyle", 3331, F::Scalar, K::Enumeration, "eHScrollStyle", false, false},
        {"ManualStackedMinY", 3418, F::Float, K::Double, "double", false, true},
        {"AutoXData", 3423, F::Scalar, K::Enumeration, "eAutoXData", true, false},
        {"PointPaddingBar", 3429, F::Float, K::Single, "float", true, true},
        {"TableGridLines", 3434, F::Scalar, K::Enumeration, "eTableGridLines", false, false},
    };
    for (const Row &r : rows) {
        const auto *p = GXFindRow(Gxgctl::kGXGraphProperties, r.name);
        ASSERT_NE(p, nullptr) << r.name;
        EXPECT_FALSE(p->shared) << r.name;
        EXPECT_EQ(p->id, r.id) << r.name;
        EXPECT_EQ(p->family, r.family) << r.name;
        EXPECT_EQ(p->kind, r.kind) << r.name;
        EXPECT_STREQ(p->type, r.type) << r.name;
        EXPECT_EQ(p->refresh, r.refresh) << r.name;
        EXPECT_EQ(p->published, r.published) << r.name;
    }
    for (const char *name : {"ScrollingRange", "ScrollingFactor"})
        EXPECT_EQ(GXFindRow(Gxgctl::kGXGraphProperties, name)->access, GXAccess::ReadOnly);
}

TEST(GXGraphTable, EnumerationsFollowGXSGraphsWithTheirOwnPrefix)
{
    std::map<std::string, const GXEnumInfo *> sg;
    for (const auto &e : kGXSGraphEnums)
        sg[e.name] = &e;
    ASSERT_EQ(std::size(Gxgctl::kGXGraphEnums), 91u);
    const std::set<std::string> differ = {"ePlottingMethod", "ePlottingMethodII", "eTALocation",
                                          "eTAAxisLocation", "eYearMonthDayPrompt"};
    const std::set<std::string> ownEnums = {
        "eAutoXData",         "eForceVerticalPoints", "eGraphPlusTable", "eHScrollStyle",
        "ePointsToGraphInit", "eTableWhat",           "eTableGridLines"};
    std::set<std::string> all;
    std::size_t values = 0;
    for (const auto &e : Gxgctl::kGXGraphEnums) {
        auto names = GXEnumValueNames(e);
        if (std::string(e.name) != "eDateTimeMode") {
            EXPECT_EQ(int(names.size()), e.count) << e.name;
        }
        for (const auto &n : names)
            EXPECT_EQ(n.substr(0, 1), "g") << n;
        values += names.size();
        all.insert(names.begin(), names.end());
        auto s = sg.find(e.name);
        EXPECT_EQ(s == sg.end(), ownEnums.count(e.name) == 1) << e.name;
        if (s != sg.end() && !differ.count(e.name)) {
            EXPECT_EQ(Unprefixed(e, 1), Unprefixed(*s->second, 2)) << e.name;
        }
    }
    EXPECT_EQ(all.size(), values);
    for (const char *gone : {"eAllowDataLabels", "eBubbleSize", "eBubbleGradientStyle"})
        EXPECT_EQ(all.count(gone), 0u);
    namespace G = Gxgctl;
    static_assert(GXEnumTraits<G::ePlottingMethod>::count == 22 && G::gRibbon == 21);
    static_assert(GXEnumTraits<G::ePlottingMethodII>::count == 11 && G::gPointsPlusBFCII2 == 5);
    static_assert(GXEnumTraits<G::eTALocation>::count == 35 && G::gInsideTable == 28);
    static_assert(GXEnumTraits<G::eTAAxisLocation>::count == 10 && G::gBottomTableSpaced == 9);
    static_assert(GXEnumTraits<G::eYearMonthDayPrompt>::count == 3 && G::gInsideTopLabel == 2);
    // Every enumeration a property names exists.
    for (const auto &p : G::kGXGraphProperties)
        if (p.kind == GXKind::Enumeration) {
            bool found = false;
            for (const auto &e : G::kGXGraphEnums)
                found = found || std::string(e.name) == p.type;
            EXPECT_TRUE(found) << p.name;
        }
}
