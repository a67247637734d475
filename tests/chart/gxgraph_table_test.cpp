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
    EXPECT_EQ(Names(kGXGraphProperties).size(), std::size(kGXGraphProperties));
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
    EXPECT_EQ(ids.size(), std::size(kGXGraphProperties));

    // The absent rows are exactly GXSGraph's properties that the twin does not have.
    std::set<std::string> absent(std::begin(kGXGraphAbsent), std::end(kGXGraphAbsent));
    EXPECT_EQ(absent.size(), std::size(kGXGraphAbsent));
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

TEST(GXGraphTable, EnumerationsFollowGXSGraphsWithTheirOwnPrefix)
{
    std::map<std::string, const GXEnumInfo *> sg;
    for (const auto &e : kGXSGraphEnums)
        sg[e.name] = &e;
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
    // Every enumeration a property names exists.
    for (const auto &p : G::kGXGraphProperties)
        if (p.kind == GXKind::Enumeration) {
            bool found = false;
            for (const auto &e : G::kGXGraphEnums)
                found = found || std::string(e.name) == p.type;
            EXPECT_TRUE(found) << p.name;
        }
}
