// The property table of the twin control GXGraph against that of GXSGraph: a shared row means
// the same property (id, value type, refresh), the twin's own ids are unknown to GXSGraph.
#include "chart/gxgraph_types.h"
#include "chart/gxsgraph_types.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(GXGraphTable, SharedRowsAgreeWithGXSGraphAndOwnIdsAreItsOwn)
{
    using Gxgctl::kGXGraphProperties;
    std::set<std::int32_t> ids;
    std::set<std::string> names;
    for (const auto &p : kGXGraphProperties) {
        EXPECT_TRUE(ids.insert(p.id).second) << p.name;
        EXPECT_TRUE(names.insert(p.name).second) << p.name;
        const GXPropertyInfo *s = GXFindProperty(std::string_view(p.name));
        if (!p.shared) {
            EXPECT_EQ(s, nullptr) << p.name;
            if (p.id != 3268) { // NullDataValue, GXSGraph's NullDataValueY
                EXPECT_EQ(GXFindProperty(p.id), nullptr) << p.name;
            }
            continue;
        }
        ASSERT_NE(s, nullptr) << p.name;
        EXPECT_EQ(p.id, s->id) << p.name;
        EXPECT_EQ(p.access, s->access) << p.name;
        EXPECT_STREQ(p.type, s->type) << p.name;
        EXPECT_EQ(p.refresh, s->refresh) << p.name;
    }
    EXPECT_STREQ(GXFindRow(kGXGraphProperties, 3268)->name, "NullDataValue");
    EXPECT_STREQ(GXFindProperty(3268)->name, "NullDataValueY");
}
