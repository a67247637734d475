#include "chart/gxsgraph_types.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>

namespace {

int Count(auto pred)
{
    return int(std::count_if(std::begin(kGXSGraphProperties), std::end(kGXSGraphProperties), pred));
}

} // namespace

TEST(GXSGraphTable, Totals)
{
    EXPECT_EQ(std::size(kGXSGraphProperties), 669u);
    std::set<std::int32_t> ids;
    std::set<std::string> names;
    for (const auto &p : kGXSGraphProperties) {
        ids.insert(p.id);
        names.insert(p.name);
    }
    EXPECT_EQ(ids.size(), 669u);
    EXPECT_EQ(names.size(), 669u);
    EXPECT_EQ(*ids.begin(), 1901);
    EXPECT_EQ(*ids.rbegin(), 3698);
    EXPECT_EQ(Count([](auto &p) { return p.published; }), 264);
    EXPECT_EQ(Count([](auto &p) { return p.refresh; }), 208);
    EXPECT_EQ(Count([](auto &p) { return p.stored; }), 243);
}

TEST(GXSGraphTable, PublishedAndStoredFollowTheFormRules)
{
    for (const auto &p : kGXSGraphProperties) {
        // Only published properties are stored; a published one that is not stored holds a
        // floating 0 or an empty text.
        if (p.stored) {
            EXPECT_TRUE(p.published) << p.name;
        }
        if (p.published && !p.stored) {
            EXPECT_TRUE(p.family == GXFamily::Float || p.family == GXFamily::Text) << p.name;
        }
        // Indexed and read-only properties are run-time only.
        if (p.family == GXFamily::Array1 || p.family == GXFamily::Array2 ||
            p.access != GXAccess::ReadWrite) {
            EXPECT_FALSE(p.published) << p.name;
        }
    }
}

TEST(GXSGraphTable, FamilyCounts)
{
    std::map<std::tuple<GXFamily, GXKind, bool>, int> n;
    for (const auto &p : kGXSGraphProperties)
        ++n[{p.family, p.kind, p.access != GXAccess::ReadWrite}];
    using F = GXFamily;
    using K = GXKind;
    auto rw = [&](F f, K k) { return n[{f, k, false}]; };
    EXPECT_EQ(rw(F::Scalar, K::Boolean), 203);
    EXPECT_EQ(rw(F::Scalar, K::Enumeration), 152);
    EXPECT_EQ(rw(F::Scalar, K::Integer), 83);
    EXPECT_EQ(rw(F::Scalar, K::Colour), 35);
    int readOnlyScalars = n[{F::Scalar, K::Integer, true}] + n[{F::Scalar, K::Flag, true}];
    EXPECT_EQ(readOnlyScalars, 5);
    EXPECT_EQ(rw(F::Float, K::Double), 42);
    EXPECT_EQ(rw(F::Float, K::Single), 12);
    EXPECT_EQ(rw(F::Text, K::Text), 28);
    const std::pair<K, int> one[] = {{K::Text, 15},        {K::Boolean, 8}, {K::Double, 8},
                                     {K::Enumeration, 15}, {K::Single, 2},  {K::Integer, 23},
                                     {K::Colour, 10}};
    for (auto [k, c] : one)
        EXPECT_EQ(rw(F::Array1, k), c) << int(k);
    int readOnlyArrays = n[{F::Array1, K::Double, true}];
    EXPECT_EQ(readOnlyArrays, 1);
    const std::pair<K, int> two[] = {{K::Text, 3},        {K::Boolean, 4}, {K::Double, 5},
                                     {K::Enumeration, 4}, {K::Single, 6},  {K::Integer, 2},
                                     {K::Colour, 3}};
    for (auto [k, c] : two)
        EXPECT_EQ(rw(F::Array2, k), c) << int(k);
    // The kinds match the types the accessors use.
    for (const auto &p : kGXSGraphProperties) {
        std::string t = p.type;
        switch (p.kind) {
        case K::Boolean:
            EXPECT_EQ(t, "bool") << p.name;
            break;
        case K::Integer:
            EXPECT_EQ(t, "int32_t") << p.name;
            break;
        case K::Colour:
            EXPECT_EQ(t, "GXColor") << p.name;
            break;
        case K::Double:
            EXPECT_EQ(t, "double") << p.name;
            break;
        case K::Single:
            EXPECT_EQ(t, "float") << p.name;
            break;
        case K::Text:
            EXPECT_EQ(t, "WideString") << p.name;
            break;
        case K::Flag:
            EXPECT_EQ(t, "GXFlag") << p.name;
            break;
        case K::Enumeration:
            EXPECT_EQ(t[0], 'e') << p.name;
            break;
        }
    }
}

TEST(GXSGraphTable, NamesAndIdsTheProgramUses)
{
    const std::pair<const char *, int> known[] = {{"Subsets", 2115},
                                                  {"Points", 2120},
                                                  {"YData", 2140},
                                                  {"XDataII", 3013},
                                                  {"YDataII", 3014},
                                                  {"SubsetColors", 2190},
                                                  {"PlottingMethod", 3090},
                                                  {"PlottingMethodII", 3011},
                                                  {"TALocation", 2961},
                                                  {"BestFitCoeffs", 3058},
                                                  {"DialogResult", 2981},
                                                  {"Painting", 2916},
                                                  {"NullDataValueY", 3268},
                                                  {"ManualMaxX", 3625},
                                                  {"VertLineAnnotation", 3218},
                                                  {"GraphAnnotationText", 3293},
                                                  {"ArrowCursor", 2917},
                                                  {"bStop", 2677}};
    for (auto [name, id] : known) {
        const GXPropertyInfo *p = GXFindProperty(name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->id, id) << name;
        EXPECT_EQ(GXFindProperty(id), p);
    }
    EXPECT_EQ(GXFindProperty("NullDataValue"), nullptr); // the twin's name for 3268
    EXPECT_EQ(GXFindProperty(3000)->kind, GXKind::Text);
    EXPECT_EQ(GXFindProperty(3058)->access, GXAccess::ReadOnlyFolded);
}

TEST(GXSGraphTable, Enumerations)
{
    ASSERT_EQ(std::size(kGXSGraphEnums), 87u);
    std::set<std::string> all, enumNames;
    std::size_t values = 0;
    for (const auto &e : kGXSGraphEnums) {
        auto names = GXEnumValueNames(e);
        enumNames.insert(e.name);
        if (std::string(e.name) == "eDateTimeMode") {
            EXPECT_TRUE(names.empty());
            EXPECT_EQ(e.count, 3);
            continue;
        }
        EXPECT_EQ(int(names.size()), e.count) << e.name;
        values += names.size();
        all.insert(names.begin(), names.end());
    }
    EXPECT_EQ(all.size(), values); // no value name twice
    for (const char *odd : {"sgLinearDiagonlaUp", "sgAlwaysShowMarins", "sgTwentyTwoPrecent",
                            "sgRadialTopLefPG", "LineStacked", "LineStackedPercent"})
        EXPECT_EQ(all.count(odd), 1u) << odd;
    for (const auto &p : kGXSGraphProperties)
        if (p.kind == GXKind::Enumeration) {
            EXPECT_EQ(enumNames.count(p.type), 1u) << p.name;
        }
    // Ordinals are the declaration order.
    static_assert(sgSplineRibbon == 23 && sgRibbon2 == 8 && sgInsideOverlap5 == 33);
    static_assert(GXEnumTraits<eMenuControl>::count == 3 && sgGrayMenu == 2);
}
