#include "chart/gxsgraph_types.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

TEST(GXSGraphTable, IdsAndNamesAreUnique)
{
    std::set<std::int32_t> ids;
    std::set<std::string> names;
    for (const auto &p : kGXSGraphProperties) {
        EXPECT_TRUE(ids.insert(p.id).second) << p.name;
        EXPECT_TRUE(names.insert(p.name).second) << p.name;
    }
}

TEST(GXSGraphTable, RowsFollowTheFormRulesAndTheirKinds)
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
        // The kinds match the types the accessors use.
        static const std::map<GXKind, std::string> types = {
            {GXKind::Boolean, "bool"},  {GXKind::Integer, "int32_t"}, {GXKind::Colour, "GXColor"},
            {GXKind::Double, "double"}, {GXKind::Single, "float"},    {GXKind::Text, "WideString"},
            {GXKind::Flag, "GXFlag"}};
        if (p.kind == GXKind::Enumeration) {
            EXPECT_EQ(p.type[0], 'e') << p.name;
        } else {
            EXPECT_EQ(p.type, types.at(p.kind)) << p.name;
        }
    }
}

// Chart files and the graph windows address properties by these ids.
TEST(GXSGraphTable, NamesAndIdsTheProgramUses)
{
    const std::pair<const char *, int> known[] = {
        {"Subsets", 2115},        {"Points", 2120},         {"YData", 2140},
        {"XDataII", 3013},        {"PlottingMethod", 3090}, {"TALocation", 2961},
        {"NullDataValueY", 3268}, {"ManualMaxX", 3625},     {"VertLineAnnotation", 3218},
        {"BestFitCoeffs", 3058}};
    for (auto [name, id] : known) {
        const GXPropertyInfo *p = GXFindProperty(name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->id, id) << name;
        EXPECT_EQ(GXFindProperty(id), p);
    }
    EXPECT_EQ(GXFindProperty("NullDataValue"), nullptr); // the twin's name for 3268
    EXPECT_EQ(GXFindProperty(3058)->access, GXAccess::ReadOnlyFolded);
}

TEST(GXSGraphTable, Enumerations)
{
    std::set<std::string> all, enumNames;
    std::size_t values = 0;
    for (const auto &e : kGXSGraphEnums) {
        auto names = GXEnumValueNames(e);
        enumNames.insert(e.name);
        if (std::string(e.name) == "eDateTimeMode") {
            EXPECT_TRUE(names.empty());
            continue;
        }
        EXPECT_EQ(int(names.size()), e.count) << e.name;
        values += names.size();
        all.insert(names.begin(), names.end());
    }
    EXPECT_EQ(all.size(), values); // no value name twice
    // The value names keep their misspellings.
    for (const char *odd : {"sgLinearDiagonlaUp", "sgAlwaysShowMarins", "sgTwentyTwoPrecent"})
        EXPECT_EQ(all.count(odd), 1u) << odd;
    for (const auto &p : kGXSGraphProperties)
        if (p.kind == GXKind::Enumeration) {
            EXPECT_EQ(enumNames.count(p.type), 1u) << p.name;
        }
}
