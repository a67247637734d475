// The fuzz targets' seed corpora: every target in fuzz/ names the golden vector folders it
// starts from (nivora_fuzz(... SEEDS ...)), each a family with vectors, and every family
// seeds some target.
#include "tests/golden/check.h"

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

namespace {

// The SEEDS folders of every nivora_fuzz() call below fuzz/, by target.
std::map<std::string, std::vector<std::string>> SeedsByTarget()
{
    std::map<std::string, std::vector<std::string>> seeds;
    const std::filesystem::path fuzz = std::filesystem::path(NIVORA_SOURCE_DIR) / "fuzz";
    for (const auto &file : std::filesystem::recursive_directory_iterator(fuzz)) {
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

} // namespace

TEST(GoldenSeeds, EveryFuzzTargetStartsFromGoldenVectorsInTheTree)
{
    const auto seeds = SeedsByTarget();
    ASSERT_GE(seeds.size(), 11u);
    std::set<std::string> used;
    for (const auto &[target, folders] : seeds) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(folders.empty()) << "no seed corpus";
        for (const std::string &folder : folders) {
            used.insert(folder);
            EXPECT_NE(golden::FindFamily(folder), nullptr) << folder << " is no family";
            const auto path = golden::Root() / folder;
            ASSERT_TRUE(std::filesystem::is_directory(path)) << path;
            EXPECT_NE(std::filesystem::directory_iterator(path),
                      std::filesystem::directory_iterator())
                << path << " is empty";
        }
    }
    for (const golden::TFamily &family : golden::Families())
        EXPECT_TRUE(used.count(family.Folder)) << family.Folder << " seeds no fuzz target";
}
