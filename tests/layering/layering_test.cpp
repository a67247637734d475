// The dependency rules the folders' READMEs state ("Depends on: ...") against
// every include of the tree and the build's link graph, and the checker
// against includes and links that break them.
#include "tools/layering/layering.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace layering;

namespace {

const fs::path kRoot = NIVORA_SOURCE_DIR;

std::string Report(const std::vector<TViolation> &found)
{
    std::string text;
    for (const TViolation &v : found)
        text += v.Describe() + "\n";
    return text;
}

const TRules &TreeRules()
{
    static const TRules rules = [] {
        std::vector<TViolation> problems;
        TRules r = TRules::Read(kRoot, problems);
        EXPECT_EQ(Report(problems), "");
        return r;
    }();
    return rules;
}

std::string IncludeOf(const std::string &header)
{
    return "// a file\n#include <vector>\n#include \"" + header + "\"\n";
}

void Write(const fs::path &file, const std::string &text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace

TEST(Layering, TheTreeKeepsItsRules)
{
    std::vector<TViolation> problems;
    const TRules rules = TRules::Read(kRoot, problems);
    EXPECT_EQ(Report(problems), "");
    EXPECT_EQ(Report(CheckSources(rules)), "");
    // Every area of the system and of the platform has a rule of its own.
    for (const char *folder : {"platform/rtl", "platform/ui", "platform/usb", "platform/usb/sim",
                               "platform/chartlib", "app", "meter", "meter/windows", "chart",
                               "controls", "views", "i18n", "resources", "tests"})
        EXPECT_EQ(rules.Rules().count(folder), 1u) << folder;
    // So has every test folder: none falls back on the rule of tests/.
    int testFolders = 0;
    for (const auto &entry : fs::directory_iterator(kRoot / "tests"))
        if (entry.is_directory()) {
            ++testFolders;
            EXPECT_EQ(rules.Rules().count("tests/" + entry.path().filename().string()), 1u)
                << entry.path();
        }
    EXPECT_GE(testFolders, 18);
}

TEST(Layering, TheBuildLinksOnlyWhatItsFoldersMayUse)
{
    std::ifstream in(NIVORA_LINK_GRAPH, std::ios::binary);
    std::ostringstream graph;
    graph << in.rdbuf();
    ASSERT_NE(graph.str().find("nivora_meter\t"), std::string::npos) << NIVORA_LINK_GRAPH;
    EXPECT_EQ(Report(CheckLinkGraph(TreeRules(), graph.str())), "");
    // A test folder's line names what its tests include or link, and no more.
    EXPECT_EQ(Report(CheckNamedFoldersUsed(TreeRules(), graph.str(), "tests")), "");
}

TEST(Layering, PlatformIncludesNothingOfTheSystem)
{
    for (const char *header :
         {"app/main_form.h", "meter/link.h", "meter/windows/panel.h", "chart/gxsgraph_types.h",
          "controls/lang_form.h", "views/about_box.h", "i18n/lx_comp.h"})
        for (const char *file :
             {"platform/ui/probe.cpp", "platform/rtl/probe.h", "platform/chartlib/render/probe.cpp",
              "platform/usb/sim/probe.cpp"}) {
            const std::vector<TViolation> found = CheckSource(TreeRules(), file, IncludeOf(header));
            ASSERT_EQ(found.size(), 1u) << file << " including " << header << "\n" << Report(found);
            EXPECT_EQ(found[0].File, file);
            EXPECT_EQ(found[0].Line, 3);
            EXPECT_NE(found[0].Message.find(header), std::string::npos) << found[0].Message;
        }
    // The project folder is on every target's include path, so angle brackets
    // reach the system's headers just as well.
    const std::vector<TViolation> angled = CheckSource(
        TreeRules(), "platform/rtl/probe.cpp", "#include <vector>\n#include <meter/link.h>\n");
    ASSERT_EQ(angled.size(), 1u) << Report(angled);
    EXPECT_EQ(angled[0].Line, 2);
    EXPECT_NE(angled[0].Message.find("<meter/link.h> of meter"), std::string::npos)
        << angled[0].Message;
    // The platform's own layers stay usable, in either form.
    EXPECT_EQ(Report(CheckSource(TreeRules(), "platform/chartlib/render/probe.cpp",
                                 IncludeOf("platform/ui/printer.h"))),
              "");
    EXPECT_EQ(Report(CheckSource(TreeRules(), "platform/chartlib/render/probe.cpp",
                                 "#include <platform/ui/printer.h>\n#include <sys/stat.h>\n")),
              "");
}

TEST(Layering, QtStaysOutOfTheQtFreeFolders)
{
    const std::string text = "#include <vector>\n#include <QString>\n#include <QtCore/qglobal.h>\n";
    for (const char *file : {"platform/rtl/probe.cpp", "platform/usb/probe.h", "i18n/probe.cpp",
                             "meter/probe.cpp", "platform/chartlib/probe.cpp", "chart/probe.cpp"}) {
        const std::vector<TViolation> found = CheckSource(TreeRules(), file, text);
        ASSERT_EQ(found.size(), 2u) << file << "\n" << Report(found);
        EXPECT_EQ(found[0].Line, 2);
        EXPECT_EQ(found[1].Line, 3);
    }
    for (const char *file : {"platform/ui/probe.cpp", "meter/windows/probe.cpp", "views/probe.cpp"})
        EXPECT_EQ(Report(CheckSource(TreeRules(), file, text)), "") << file;
}

TEST(Layering, OnlyTheProgramAndTheTestsChooseAMeterBackend)
{
    const TRules &rules = TreeRules();
    const struct {
        const char *File, *Header;
        std::size_t Violations;
    } uses[] = {{"meter/probe.cpp", "platform/usb/sim/simulated_meter.h", 1},
                {"meter/probe.cpp", "platform/usb/backend/backend.h", 1},
                {"meter/probe.cpp", "platform/usb/usb_device.h", 0},
                {"app/probe.cpp", "platform/usb/backend/backend.h", 0},
                {"tests/meter/probe_test.cpp", "platform/usb/sim/simulated_meter.h", 0}};
    for (const auto &u : uses) {
        const std::vector<TViolation> found = CheckSource(rules, u.File, IncludeOf(u.Header));
        EXPECT_EQ(found.size(), u.Violations) << u.File << " " << u.Header << "\n" << Report(found);
    }

    const std::string root = kRoot.string();
    const std::string graph = "nivora_meter\t" + root + "/meter\tnivora_rtl;nivora_usb;" +
                              "$<LINK_ONLY:nivora_usb_sim>;$<LINK_ONLY:Qt6::Widgets>\n" +
                              "nivora_usb_sim\t" + root + "/platform/usb/sim\tnivora_usb\n" +
                              "nivora_usb\t" + root + "/platform/usb\t\n" + "nivora_rtl\t" + root +
                              "/platform/rtl\t\n";
    const std::vector<TViolation> found = CheckLinkGraph(rules, graph);
    ASSERT_EQ(found.size(), 2u) << Report(found);
    EXPECT_EQ(found[0].File, "meter/CMakeLists.txt");
    EXPECT_NE(found[0].Message.find("nivora_usb_sim"), std::string::npos) << found[0].Message;
    EXPECT_NE(found[1].Message.find("Qt6::Widgets"), std::string::npos) << found[1].Message;
}

TEST(Layering, ReadmesStateTheirRulesInOneForm)
{
    testsupport::TTempDir dir("nivora-layering");
    ASSERT_FALSE(dir.Path().empty());
    Write(dir.Path() / "README.md", "# the project\n");
    Write(dir.Path() / "a/README.md", "# a\n\nDepends on: b, libfoo (Debian libfoo-dev), Qt 6.\n");
    Write(dir.Path() / "b/README.md", "# b\n\nMay depend on: a.\n");
    Write(dir.Path() / "c/README.md", "# c\n\nNothing else.\n");
    Write(dir.Path() / "d/README.md", "Depends on: a/missing.\n");
    Write(dir.Path() / "e/README.md", "Depends on: nothing.\nDepends on: a.\n");
    Write(dir.Path() / "build/README.md", "# a build folder, never read\n");
    Write(dir.Path() / "f/README.md", "Depends on: b (its Qt-free part).\n");

    std::vector<TViolation> problems;
    const TRules rules = TRules::Read(dir.Path(), problems);
    EXPECT_EQ(Report(problems), "b/README.md: no \"Depends on: ...\" line\n"
                                "b/README.md:3: write the dependencies as one line \"Depends on: "
                                "...\"\n"
                                "c/README.md: no \"Depends on: ...\" line\n"
                                "d/README.md:1: names a/missing, which is no folder with a README\n"
                                "e/README.md:2: a second Depends on line\n");
    const TRule *a = rules.RuleOf("a/x/file.cpp");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Folder, "a");
    EXPECT_EQ(a->Folders, (std::set<std::string>{"b"}));
    EXPECT_TRUE(a->Qt);
    const TRule *f = rules.RuleOf("f/file.cpp");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Folders, (std::set<std::string>{"b"}));
    EXPECT_FALSE(f->Qt) << "a remark on a folder allows no Qt";
    EXPECT_EQ(rules.RuleOf("build/x.cpp"), nullptr);
    EXPECT_EQ(rules.RuleOf("top.cpp"), nullptr);
}

TEST(Layering, AFolderNamedButNeitherIncludedNorLinkedIsReported)
{
    testsupport::TTempDir dir("nivora-layering");
    ASSERT_FALSE(dir.Path().empty());
    const fs::path root = dir.Path();
    Write(root / "lib/README.md", "Depends on: nothing.\n");
    Write(root / "lib/lib.h", "// a header\n");
    Write(root / "other/README.md", "Depends on: nothing.\n");
    Write(root / "more/README.md", "Depends on: nothing.\n");
    Write(root / "tests/README.md", "Depends on: nothing.\n");
    Write(root / "tests/a/README.md", "# tests/a\n\nDepends on: lib, other, more, GoogleTest.\n");
    Write(root / "tests/a/a_test.cpp", "#include <lib/lib.h>\n");
    Write(root / "tests/b/README.md", "Depends on: lib.\n");
    Write(root / "tests/b/b_test.cpp", "#include \"lib/lib.h\"\n");

    std::vector<TViolation> problems;
    const TRules rules = TRules::Read(root, problems);
    ASSERT_EQ(Report(problems), "");
    const std::string r = root.string();
    const std::string graph = "a_test\t" + r + "/tests/a\tlib_lib;GTest::gtest\n" + "lib_lib\t" +
                              r + "/lib\t\n" + "other_lib\t" + r + "/other\t\n";
    // tests/a uses lib (through an include in angle brackets and a link) and
    // neither of the others; tests/b uses what it names.
    EXPECT_EQ(Report(CheckNamedFoldersUsed(rules, graph, "tests")),
              "tests/a/README.md:3: names more, which no include or link of tests/a uses\n"
              "tests/a/README.md:3: names other, which no include or link of tests/a uses\n");
    // A link is a use too.
    const std::string linked =
        graph + "a2_test\t" + r + "/tests/a\tother_lib;more_lib\n" + "more_lib\t" + r + "/more\t\n";
    EXPECT_EQ(Report(CheckNamedFoldersUsed(rules, linked, "tests")), "");
    EXPECT_EQ(FoldersUsed(rules, linked).at("tests/a"),
              (std::set<std::string>{"lib", "other", "more"}));
}

// An include the checker could not follow is a violation by itself: its header
// named through a macro, split across a line continuation or behind a comment.
TEST(Layering, AnIncludeNamesItsHeaderPlainlyOnALineOfItsOwn)
{
    const struct {
        const char *Text;
        const char *Says; // in the message; nullptr: no violation
    } cases[] = {
        {"#define HEADER \"meter/link.h\"\n#include HEADER\n", "through a macro (HEADER)"},
        {"#include MAKE_NAME(link)\n", "through a macro (MAKE_NAME(link))"},
        {"#include\n", "through a macro (nothing)"},
        {"#include \\\n    \"platform/rtl/strings.h\"\n", "across a line continuation"},
        {"#inc\\\nlude \"platform/rtl/strings.h\"\n", "across a line continuation"},
        {"/* the strings */ #include \"platform/rtl/strings.h\"\n", "behind a comment"},
        {"#include /* the strings */ \"platform/rtl/strings.h\"\n", "behind a comment"},
        {"# /**/ include <vector>\n", "behind a comment"},
        {"/* a comment\n   of two lines */ #include \"platform/rtl/strings.h\"\n",
         "behind a comment"},
        // Plain includes, and what only looks like one, pass.
        {"#include \"platform/rtl/strings.h\" // the string lists\n", nullptr},
        {"  #  include <vector>\r\n", nullptr},
        {"// #include HEADER\n/*\n#include HEADER\n*/\n", nullptr},
        {"const char *t = R\"(\n#include HEADER\n)\";\nint n = 1'000;\n", nullptr},
    };
    for (const auto &c : cases) {
        const std::vector<TViolation> found = CheckSource(TreeRules(), "meter/probe.cpp", c.Text);
        if (!c.Says) {
            EXPECT_EQ(Report(found), "") << c.Text;
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << c.Text << "\n" << Report(found);
        EXPECT_NE(found[0].Message.find(c.Says), std::string::npos) << found[0].Message;
        EXPECT_NE(found[0].Message.find("plainly on a line of its own"), std::string::npos);
    }
    // The line is the directive's first; the rule still holds for the header named.
    const std::vector<TViolation> hidden =
        CheckSource(TreeRules(), "platform/rtl/probe.cpp",
                    "#include <vector>\n#include \\\n\"meter/link.h\"\n");
    ASSERT_EQ(hidden.size(), 2u) << Report(hidden);
    EXPECT_EQ(hidden[0].Line, 2);
    EXPECT_NE(hidden[0].Message.find("across a line continuation"), std::string::npos);
    EXPECT_NE(hidden[1].Message.find("\"meter/link.h\" of meter"), std::string::npos);
}

TEST(Layering, EveryFileTheCompilerMayIncludeIsReadAndOnlyBuildFoldersAreLeftOut)
{
    testsupport::TTempDir dir("nivora-layering");
    ASSERT_FALSE(dir.Path().empty());
    const fs::path root = dir.Path();
    Write(root / "low/README.md", "Depends on: nothing.\n");
    Write(root / "low/low.h", "// a header\n");
    Write(root / "high/README.md", "Depends on: nothing.\n");
    const std::string uses = "#include \"low/low.h\"\n";
    Write(root / "high/table.inc", uses);
    Write(root / "high/api.hpp", uses);
    Write(root / "high/old.cc", uses);
    Write(root / "high/a.cpp", "#include \"high/rows.txt\"\n");
    Write(root / "high/rows.txt", uses);  // read because a.cpp includes it
    Write(root / "high/notes.txt", uses); // included by nothing: not read
    // Only build folders are left out: a folder that merely starts with "build" is read.
    Write(root / "buildkit/README.md", "Depends on: nothing.\n");
    Write(root / "buildkit/kit.h", uses);
    Write(root / "build/README.md", "# never read\n");
    Write(root / "build/x.h", uses);
    Write(root / "build-asan/x.h", uses);
    Write(root / "out/CMakeCache.txt", "# a build folder by another name\n");
    Write(root / "out/x.h", uses);
    Write(root / "high/sub/CMakeCache.txt", "# a build folder below the top\n");
    Write(root / "high/sub/x.h", uses);

    std::vector<TViolation> problems;
    const TRules rules = TRules::Read(root, problems);
    ASSERT_EQ(Report(problems), "");
    EXPECT_EQ(rules.Rules().count("buildkit"), 1u);
    EXPECT_EQ(rules.Rules().count("build"), 0u);
    const std::string refused = ":1: includes \"low/low.h\" of low, which %s may not use "
                                "(%s/README.md does not name low)\n";
    std::string expected;
    for (const char *file :
         {"buildkit/kit.h", "high/api.hpp", "high/old.cc", "high/rows.txt", "high/table.inc"}) {
        const std::string folder = fs::path(file).begin()->string();
        std::string line = file + refused;
        for (size_t at; (at = line.find("%s")) != std::string::npos;)
            line.replace(at, 2, folder);
        expected += line;
    }
    EXPECT_EQ(Report(CheckSources(rules)), expected);
}

// The link graph as the build writes it (cmake/NivoraLayering.cmake), of a
// small project: links handed on or inside generator expressions and a
// source borrowed from another folder are all read.
TEST(Layering, InterfaceLinksGeneratorExpressionsAndBorrowedSourcesAreChecked)
{
    testsupport::TTempDir dir("nivora-layering");
    ASSERT_FALSE(dir.Path().empty());
    const fs::path root = dir.Path() / "src";
    Write(root / "CMakeLists.txt",
          "cmake_minimum_required(VERSION 3.25)\n"
          "project(Probe LANGUAGES CXX)\n"
          "include(" NIVORA_SOURCE_DIR "/cmake/NivoraLayering.cmake)\n"
          "foreach(d other low high ok)\n  add_subdirectory(${d})\nendforeach()\n"
          "nivora_write_link_graph(${PROJECT_BINARY_DIR}/graph.txt)\n");
    Write(root / "other/README.md", "Depends on: nothing.\n");
    Write(root / "other/other.h", "// other\n");
    Write(root / "other/CMakeLists.txt",
          "add_library(other STATIC other.h)\n"
          "set_target_properties(other PROPERTIES LINKER_LANGUAGE CXX)\n");
    Write(root / "low/README.md", "Depends on: other.\n");
    Write(root / "low/low.cpp", "#include \"other/other.h\"\n");
    Write(root / "low/CMakeLists.txt", "add_library(low STATIC low.cpp)\n");
    Write(root / "high/README.md", "Depends on: nothing.\n");
    Write(root / "high/high.cpp", "// high\n");
    Write(root / "high/CMakeLists.txt",
          "add_library(high_handed INTERFACE)\n"
          "target_link_libraries(high_handed INTERFACE low)\n"
          "add_library(high_built STATIC high.cpp)\n"
          "target_link_libraries(high_built PRIVATE $<BUILD_INTERFACE:low>)\n"
          "add_library(high_borrows STATIC high.cpp ../low/low.cpp)\n");
    // A folder allowed all of it passes.
    Write(root / "ok/README.md", "Depends on: low, other.\n");
    Write(root / "ok/CMakeLists.txt",
          "add_library(ok INTERFACE)\n"
          "target_link_libraries(ok INTERFACE $<BUILD_INTERFACE:low>)\n"
          "target_sources(ok INTERFACE ${PROJECT_SOURCE_DIR}/low/low.cpp)\n");
    const fs::path build = dir.Path() / "build";
    const std::string command = std::string("\"" NIVORA_CMAKE "\" -S \"") + root.string() +
                                "\" -B \"" + build.string() +
                                "\" -DCMAKE_CXX_COMPILER=" NIVORA_CXX " >\"" +
                                (dir.Path() / "cmake.log").string() + "\" 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(build / "graph.txt", std::ios::binary);
    std::ostringstream graph;
    graph << in.rdbuf();

    std::vector<TViolation> problems;
    const TRules rules = TRules::Read(root, problems);
    ASSERT_EQ(Report(problems), "");
    EXPECT_EQ(Report(CheckLinkGraph(rules, graph.str())),
              "high/CMakeLists.txt: high_handed links low of low, which high may not use "
              "(high/README.md does not name low)\n"
              "high/CMakeLists.txt: high_built links low of low, which high may not use "
              "(high/README.md does not name low)\n"
              "high/CMakeLists.txt: high_borrows compiles low/low.cpp of low, which high may not "
              "use (high/README.md does not name low)\n"
              "low/low.cpp:1: includes \"other/other.h\" of other (compiled into high_borrows of "
              "high), which high may not use (high/README.md does not name other)\n")
        << graph.str();
    // The borrowing folder uses what the borrowed source includes.
    EXPECT_EQ(FoldersUsed(rules, graph.str()).at("ok"), (std::set<std::string>{"low", "other"}));
}
