// The developer guide cites only names and paths that exist, and the checker
// finds a citation whose name or file was renamed.
#include "tests/docs/guide_names.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using guidecheck::CheckGuide;
using guidecheck::ReadFile;
using guidecheck::TProblem;
using guidecheck::TTree;

namespace {

const fs::path kRoot = NIVORA_SOURCE_DIR;

std::string Report(const std::vector<TProblem> &found)
{
    std::string text;
    for (const TProblem &p : found)
        text += p.Describe() + "\n";
    return text;
}

void Write(const fs::path &file, const std::string &text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string Replaced(std::string text, const std::string &from, const std::string &to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

int LineOf(const std::string &text, const std::string &what)
{
    const size_t at = text.find(what);
    return 1 + int(std::count(text.begin(), text.begin() + std::ptrdiff_t(at), '\n'));
}

// A small tree: a header with a class and a global, a folder, a script, and
// a guide that cites them in every form the checker reads.
class GuideFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FDir.Path().empty());
        Write(Root() / "src/widget.h", "class TWidget {\n    void Paint();\n};\nint gCount;\n");
        Write(Root() / "src/README.md", "TReadmeOnly is named in no source.\n");
        Write(Root() / "lib/data.txt", "btnStart\n");
        Write(Root() / "scripts/go.sh", "echo $NIVORA_FAST\n");
    }
    fs::path Root() const { return FDir.Path(); }

    testsupport::TTempDir FDir{"nivora-guide"};
};

const char kGuide[] = "# Guide\n"
                      "\n"
                      "`TWidget::Paint` (src/widget.h) counts in `gCount`; the buttons are\n"
                      "`btn*`, the files `src/*.h` and `lib/<name>.txt`, the folder `lib/`.\n"
                      "`NIVORA_FAST=1 scripts/go.sh --quick` runs it.\n";

} // namespace

// The guide names only what exists; a name or a path renamed in a copy of it is reported on
// its line.
TEST(Guide, EveryNameAndPathItCitesExistsAndARenamedOneIsReported)
{
    const std::string guide = ReadFile(kRoot / "docs/developing.md");
    ASSERT_FALSE(guide.empty());
    const TTree tree(kRoot);
    EXPECT_EQ(Report(CheckGuide(tree, guide)), "");
    // Put together here, so that this file does not hold the new name as a word.
    const std::string renamed = std::string("BuildThe") + "Timers";
    const std::string name =
        Replaced(guide, "`TfrmMain::BuildTimers`", "`TfrmMain::" + renamed + "`");
    EXPECT_EQ(Report(CheckGuide(tree, name)), std::to_string(LineOf(name, renamed)) + ": " +
                                                  renamed + ": no word of the tree's sources\n");
    const std::string path = Replaced(guide, "(app/main_download.cpp)", "(app/main_downloads.cpp)");
    EXPECT_EQ(Report(CheckGuide(tree, path)),
              std::to_string(LineOf(path, "main_downloads")) +
                  ": app/main_downloads.cpp: no such file or folder in the tree\n");
    // A method moved to another class (put together, as above), and a function to another file.
    const std::string wrongClass = std::string("TMainTimerLogic") + "::" + "PressKey";
    const std::string moved = Replaced(guide, "`TMeterLink::PressKey`", "`" + wrongClass + "`");
    EXPECT_EQ(Report(CheckGuide(tree, moved)), std::to_string(LineOf(moved, wrongClass)) + ": " +
                                                   wrongClass +
                                                   ": PressKey is no member of TMainTimerLogic\n");
    const std::string elsewhere = Replaced(guide, "`meter::DecodeStatus` (meter/status.cpp)",
                                           "`meter::DecodeStatus` (meter/link.cpp)");
    EXPECT_EQ(Report(CheckGuide(tree, elsewhere)),
              std::to_string(LineOf(elsewhere, "DecodeStatus` (meter/link.cpp)")) +
                  ": meter::DecodeStatus: not found in meter/link.cpp\n");
}

TEST_F(GuideFixture, CitationsOfWhatExistsPassAndOfWhatWasRenamedFail)
{
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), kGuide)), "");
    // Paint renamed: the name fails, its class still stands.
    Write(Root() / "src/widget.h", "class TWidget {\n    void Draw();\n};\nint gCount;\n");
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), kGuide)),
              "3: Paint: no word of the tree's sources\n");
    // The header renamed: the path in the text fails, the pattern still matches.
    fs::rename(Root() / "src/widget.h", Root() / "src/widgets.h");
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), kGuide)),
              "3: Paint: no word of the tree's sources\n"
              "3: src/widget.h: no such file or folder in the tree\n");
    // No file left for the patterns, no folder lib/, no button.
    fs::remove_all(Root() / "src");
    fs::remove_all(Root() / "lib");
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), kGuide)),
              "3: TWidget: no word of the tree's sources\n"
              "3: Paint: no word of the tree's sources\n"
              "3: gCount: no word of the tree's sources\n"
              "4: btn*: no word of the tree's sources\n"
              "4: src/*.h: no such file or folder in the tree\n"
              "4: lib/<name>.txt: no such file or folder in the tree\n"
              "4: lib/: no such file or folder in the tree\n");
}

TEST_F(GuideFixture, NamesInReadmesFilesAsFoldersAndTextsOutsideTheTreeDoNotCount)
{
    Write(Root() / "src/README.md", "TReadmeOnly\n");
    const std::string guide =
        "`TReadmeOnly` is only in a README; `src/widget.h/` is a file.\n"
        "\n"
        "    TInCommand tests/only/in/a/command\n"
        "\n"
        "```\n"
        " src/drawn/in/a/diagram\n"
        "```\n"
        "Texts and options are not names: `\"IDS_99\"`, `'Z'`, `--nothing`,\n"
        "nor are prefixes, numbers and paths outside the tree: `T`, `0x04D9`,\n"
        "`build/src/out`, `/usr/bin`, `$HOME/x`, build-x/y and and/or.\n"
        "A span may wrap: `gCount and\n"
        "TWidget::Painted`, reported on its first line.\n";
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), guide)),
              "1: TReadmeOnly: no word of the tree's sources\n"
              "1: src/widget.h/: no such file or folder in the tree\n"
              "11: and: no word of the tree's sources\n"
              "11: Painted: no word of the tree's sources\n");
}

// A qualified name is a member of its class; a name given with a file is in that file.
TEST_F(GuideFixture, ANameUnderTheWrongClassOrBesideTheWrongFileFails)
{
    Write(Root() / "src/gadget.h",
          "namespace ui {\nstruct TGadget;\nclass TGadget final : public TWidget {\n"
          "    void Press();\n    enum class TState { sIdle };\n};\n}\n");
    Write(Root() / "src/gadget.cpp", "void ui::TGadget::Release() {}\nint gCount;\n");
    const std::string good = "`ui::TGadget::Press`, `TGadget::Release`, `TGadget::TState::sIdle`,\n"
                             "`TWidget::Paint` (src/widget.h) and `TGadget::Press`\n"
                             "(src/gadget.h); `gCount` (src/gadget.cpp: a count), (`Paint`, "
                             "src/widget.h).\n";
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), good)), "");
    const std::string bad = "`TGadget::Paint` and `ui::gCount`, `TState::Press`.\n"
                            "`TGadget::Press` (src/widget.h), `Release`\n"
                            "(src/gadget.h), (`Paint`, src/gadget.cpp) and `TWidget` (src/).\n";
    EXPECT_EQ(Report(CheckGuide(TTree(Root()), bad)),
              "1: TGadget::Paint: Paint is no member of TGadget\n"
              "1: ui::gCount: gCount is no member of ui\n"
              "1: TState::Press: Press is no member of TState\n"
              "2: TGadget::Press: not found in src/widget.h\n"
              "2: Release: not found in src/gadget.h\n"
              "3: Paint: not found in src/gadget.cpp\n");
}
