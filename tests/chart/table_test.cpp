// The property table of GXSGraph: one id per property and one property per id, and the ids that
// chart files and the graph windows address.
#include "chart/gxsgraph_types.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(GXSGraphTable, IdsAndNamesAreUniqueAndTheProgramsIdsAreKnown)
{
    std::set<std::int32_t> ids;
    std::set<std::string> names;
    for (const auto &p : kGXSGraphProperties) {
        EXPECT_TRUE(ids.insert(p.id).second) << p.name;
        EXPECT_TRUE(names.insert(p.name).second) << p.name;
    }

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
}
