// The table-driven check of one family of golden vectors: every entry of its expectation file
// reads as written there, and every vector of its folder has an entry.
#pragma once

#include "tests/golden/describe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace golden {

inline std::filesystem::path Root()
{
    return NIVORA_GOLDEN_DIR;
}

inline void CheckFamily(const char *folder)
{
    const TFamily *family = FindFamily(folder);
    ASSERT_NE(family, nullptr) << folder;
    const std::vector<TEntry> entries = ReadExpectations(Root() / (std::string(folder) + ".txt"));
    ASSERT_FALSE(entries.empty()) << "no expectations for " << folder;
    std::set<std::string> listed;
    for (const TEntry &e : entries) {
        SCOPED_TRACE(std::string(folder) + "/" + e.File);
        listed.insert(e.File);
        ASSERT_TRUE(std::filesystem::is_regular_file(Root() / folder / e.File));
        EXPECT_EQ(FieldLines(family->Describe(Root() / folder / e.File, e.Given)),
                  FieldLines(e.Fields));
    }
    for (const auto &file : std::filesystem::directory_iterator(Root() / folder))
        EXPECT_TRUE(listed.count(file.path().filename().string()))
            << "no expectation for " << file.path();
}

} // namespace golden
