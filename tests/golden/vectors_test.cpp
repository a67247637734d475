// The golden vectors, one table test per family: every entry of the family's expectation file
// reads as written there, and every vector of its folder has an entry. Every folder holds a
// family, and seeds the fuzz targets: every target in fuzz/ names the golden folders it starts
// from (nivora_fuzz(... SEEDS ...)), each a family with vectors, and every family seeds one.
#include "tests/golden/describe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace golden {
// A family shows as its folder in the test's messages.
void PrintTo(const TFamily &family, std::ostream *out)
{
    *out << family.Folder;
}
} // namespace golden

namespace {

const fs::path kRoot = NIVORA_GOLDEN_DIR;

class GoldenFamily : public testing::TestWithParam<golden::TFamily> {};

TEST_P(GoldenFamily, EveryVectorReadsAsItsEntrySays)
{
    const golden::TFamily &family = GetParam();
    const fs::path folder = kRoot / family.Folder;
    const auto entries = golden::ReadExpectations(kRoot / (std::string(family.Folder) + ".txt"));
    ASSERT_FALSE(entries.empty()) << "no expectations for " << family.Folder;
    std::set<std::string> listed;
    for (const golden::TEntry &e : entries) {
        SCOPED_TRACE(std::string(family.Folder) + "/" + e.File);
        listed.insert(e.File);
        ASSERT_TRUE(fs::is_regular_file(folder / e.File));
        EXPECT_EQ(golden::FieldLines(family.Describe(folder / e.File, e.Given)),
                  golden::FieldLines(e.Fields));
    }
    for (const auto &file : fs::directory_iterator(folder))
        EXPECT_TRUE(listed.count(file.path().filename().string()))
            << "no expectation for " << file.path();
}

INSTANTIATE_TEST_SUITE_P(Vectors, GoldenFamily, testing::ValuesIn(golden::Families()),
                         [](const auto &info) { return std::string(info.param.Folder); });

// The SEEDS folders of every nivora_fuzz() call below fuzz/, by target.
std::map<std::string, std::vector<std::string>> SeedsByTarget()
{
    std::map<std::string, std::vector<std::string>> seeds;
    for (const auto &file :
         fs::recursive_directory_iterator(fs::path(NIVORA_SOURCE_DIR) / "fuzz")) {
        if (file.path().filename() != "CMakeLists.txt")
            continue;
        std::string text; // without its comment lines
        std::istringstream lines(golden::ReadBytes(file.path()));
        for (std::string line; std::getline(lines, line);)
            if (line.find_first_not_of(' ') == std::string::npos ||
                line[line.find_first_not_of(' ')] != '#')
                text += line + "\n";
        const std::regex call(R"(nivora_fuzz\(([^)]*)\))");
        for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m) {
            std::istringstream words((*m)[1].str());
            std::string name, word;
            words >> name;
            std::vector<std::string> &folders = seeds[name];
            bool inSeeds = false;
            while (words >> word) {
                if (word == "SOURCES" || word == "DEPENDS" || word == "SEEDS")
                    inSeeds = word == "SEEDS";
                else if (inSeeds)
                    folders.push_back(word);
            }
        }
    }
    return seeds;
}

TEST(GoldenSeeds, EveryFuzzTargetStartsFromGoldenVectorsInTheTree)
{
    for (const auto &entry : fs::directory_iterator(kRoot))
        EXPECT_TRUE(!entry.is_directory() || golden::FindFamily(entry.path().filename().string()))
            << entry.path() << " is no family";
    const auto seeds = SeedsByTarget();
    ASSERT_GE(seeds.size(), 11u);
    std::set<std::string> used;
    for (const auto &[target, folders] : seeds) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(folders.empty()) << "no seed corpus";
        for (const std::string &folder : folders) {
            used.insert(folder);
            EXPECT_NE(golden::FindFamily(folder), nullptr) << folder << " is no family";
            ASSERT_TRUE(fs::is_directory(kRoot / folder)) << kRoot / folder;
            EXPECT_NE(fs::directory_iterator(kRoot / folder), fs::directory_iterator())
                << folder << " is empty";
        }
    }
    for (const golden::TFamily &family : golden::Families())
        EXPECT_TRUE(used.count(family.Folder)) << family.Folder << " seeds no fuzz target";
}

} // namespace
