#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

TEST(Format, FormatsLikePrintfAndCarriesIntoExceptions)
{
    EXPECT_EQ(rtl::Format("List index out of bounds (%d)", 7), "List index out of bounds (7)");
    EXPECT_EQ(rtl::Format("%s", ""), "");
    std::string longText(5000, 'x');
    EXPECT_EQ(rtl::Format("%s!", longText.c_str()).size(), 5001u);

    try {
        throw rtl::EReadError("Stream read error");
    } catch (const rtl::EStreamError &e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}
