// The translation-source converter: what it stores, what it refuses, and
// that the program never keeps a half-written output.
#include "tools/lang_compile/lang_source.h"

#include "i18n/lx_linked.h"
#include "platform/rtl/classes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

std::string Row(const std::string &key, const std::string &text)
{
    std::string row = key + "\n";
    for (const char *code : langsrc::kLanguageCodes)
        row += std::string("  ") + code + ": " + text + "\n";
    return row;
}

langsrc::TSource Parse(const std::string &text, std::vector<langsrc::TError> &errors)
{
    errors.clear();
    return langsrc::ParseSource(text, errors);
}

class TOwner : public rtl::TComponent {
    RTL_DECLARE_CLASS(TOwner)
public:
    using rtl::TComponent::TComponent;
};
RTL_IMPLEMENT_CLASS(TOwner, rtl::TComponent)

} // namespace

TEST(LangSource, StoresWindows1252RowsWithTheFormRowFirst)
{
    std::vector<langsrc::TError> errors;
    const std::string text = "# comment\n"
                             "[Captions]\n"
                             "Label1\n"
                             "  en: Version:\n  fr: Version\\s:\n  de: Größe\n  it: a\n"
                             "  es: \n  sv: b\n  fi: c\n  da: d\n"
                             "\n" +
                             Row("TOwner", "Title");
    auto source = Parse(text, errors);
    ASSERT_TRUE(errors.empty()) << langsrc::FormatErrors("t", errors);
    std::string bytes = langsrc::BuildTranslationData(source, "TOwner");

    const std::string d(1, '\x01');
    std::string expected = "stCaptions\r\nTOwner" + d;
    for (int i = 0; i < 8; ++i)
        expected += "Title" + d;
    expected += "\r\nLabel1" + d + "Version:" + d + "Version :" + d +
                "Gr\xF6\xDF"
                "e" +
                d + "a" + d + d + "b" + d + "c" + d + "d" + d + "\r\n";
    expected += "stHints\r\nstDisplayLabels\r\nstFonts\r\nstMultiLines\r\nstStrings\r\n"
                "stOtherStrings\r\nstCollections\r\nstCharSets\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(LangSource, EmptyLinkedSourceIsTheNineHeaders)
{
    std::vector<langsrc::TError> errors;
    auto linked = Parse("", errors);
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(langsrc::BuildTranslationData(linked, "TfrmX").size(), 115u);

    auto main = Parse("@component TlxLang\n[DlgsCaptions]\n" + Row("OK", "OK"), errors);
    ASSERT_TRUE(errors.empty()) << langsrc::FormatErrors("t", errors);
    std::string bytes = langsrc::BuildTranslationData(main, "TfrmMain");
    EXPECT_NE(bytes.find("\r\nstDlgsCaptions\r\nOK\x01"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nstLocales\r\n"), std::string::npos);
}

// The stored bytes read back through the engine: line breaks survive, the
// form row is row 0, and the eight texts are the columns.
TEST(LangSource, RoundTripsThroughTheTranslationComponent)
{
    std::vector<langsrc::TError> errors;
    auto source = Parse("[Captions]\n" + Row("Label1", "two\\r\\nlines \\\\ x") +
                            Row("TOwner", "Caption") + "[Strings]\n" + Row("IDS_24", "Off"),
                        errors);
    ASSERT_TRUE(errors.empty()) << langsrc::FormatErrors("t", errors);

    TOwner owner;
    owner.SetName("frmOwner");
    auto *lang = new i18n::TlxLangLinked(&owner);
    lang->Loading();
    lang->SetNumOfLanguages(8);
    lang->ReadTranslationData(langsrc::BuildTranslationData(source, "TOwner"));
    lang->Loaded();
    ASSERT_EQ(lang->Captions().Count(), 2);
    EXPECT_EQ(lang->Captions().Strings(0).rfind("TOwner\x01", 0), 0u);
    EXPECT_EQ(lang->FindKeyText(lang->Captions(), "Label1", 8), "two\r\nlines \\ x");
    EXPECT_EQ(lang->GetStringById("IDS_24"), "Off");
}

TEST(LangSource, RefusesBadRowsWithTheirLine)
{
    struct Case {
        std::string Text;
        int Line;
        const char *Why;
    };
    const std::string lang7 = "  en: a\n  fr: a\n  de: a\n  it: a\n  es: a\n  sv: a\n  fi: a\n";
    const Case cases[] = {
        {"[Captions]\nLabel1\n" + lang7 + "\n", 2, "a row without Danish"},
        {"[Captions]\nLabel1\n  en: a\n  de: a\n", 4, "languages out of order"},
        {"[Captions]\n" + Row("L", "a") + "  da: again\n", 11, "a ninth language line"},
        {"[Captions]\nLabel1\n  en: a\tb\n", 3, "a tab in a text"},
        {"[Captions]\nLabel1\n\ten: a\n", 3, "a tab as indent"},
        {"[Captions]\nLabel1\n  en: C:\\temp\n", 3, "an unknown escape"},
        {"[Captions]\nLabel1\n  en: end\\\n", 3, "a lone backslash"},
        {"[Captions]\nLabel1\n  en: \xCE\xB1\n", 3, "Greek alpha is not Windows-1252"},
        {"[Captions]\nLabel1\n  en: \xC3\n", 3, "broken UTF-8"},
        {"[Captions]\nLabel1\n  en: a\x01"
         "b\n",
         3, "the delimiter itself"},
        {"[Captions]\nLabel1\n  en: \xC2\x81\n", 3, "a C1 control character"},
        {"[Captions]\n" + Row("Label1", "a") + Row("LABEL1", "b"), 11, "a key given twice"},
        {"[DlgsCaptions]\n", 1, "a linked component has no DlgsCaptions"},
        {"[Locales]\n", 1, "a linked component has no Locales"},
        {"[Nonsense]\n", 1, "an unknown section"},
        {Row("Label1", "a"), 1, "a row before any section"},
        {"[Captions]\n  en: a\n", 2, "a language line without a key"},
        {"[Captions]\nLabel1\n  xx: a\n", 3, "an unknown language"},
        {"[Captions]\n@component TlxLang\n", 2, "@component after a section"},
        {"@component TlxFoo\n", 1, "an unknown component"},
    };
    for (const Case &c : cases) {
        std::vector<langsrc::TError> errors;
        Parse(c.Text, errors);
        ASSERT_FALSE(errors.empty()) << c.Why;
        EXPECT_EQ(errors.front().Line, c.Line) << c.Why << ": " << errors.front().Message;
    }
}

TEST(LangSource, AcceptsCrLfLinesAndAByteOrderMark)
{
    std::vector<langsrc::TError> errors;
    std::string text = "\xEF\xBB\xBF[Strings]\r\nIDS_1\r\n";
    for (const char *code : langsrc::kLanguageCodes)
        text += std::string("  ") + code + ":  x \r\n";
    auto source = Parse(text, errors);
    ASSERT_TRUE(errors.empty()) << langsrc::FormatErrors("t", errors);
    const langsrc::TRow *row = source.Find(6, "ids_1");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Texts[7], "x");
}

#ifdef NIVORA_LANG_COMPILE
// The program: a bad source stops with the file and line and leaves an
// existing output as it was; a good one replaces it.
TEST(LangCompileProgram, KeepsTheOldOutputOnErrors)
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("lang_compile_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path src = dir / "TfrmX.txt", out = dir / "TfrmX.lxd", log = dir / "log.txt";
    std::ofstream(out, std::ios::binary) << "old";
    std::ofstream(src, std::ios::binary) << "[Captions]\nLabel1\n  en: a\n";

    std::string cmd = std::string("\"") + NIVORA_LANG_COMPILE + "\" \"" + src.string() + "\" \"" +
                      out.string() + "\" > \"" + log.string() + "\" 2>&1";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    std::stringstream got, msg;
    got << std::ifstream(out, std::ios::binary).rdbuf();
    msg << std::ifstream(log).rdbuf();
    EXPECT_EQ(got.str(), "old");
    EXPECT_NE(msg.str().find("TfrmX.txt:2:"), std::string::npos) << msg.str();

    std::ofstream(src, std::ios::binary | std::ios::trunc) << "[Captions]\n" + Row("TfrmX", "T");
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::stringstream fresh;
    fresh << std::ifstream(out, std::ios::binary).rdbuf();
    EXPECT_EQ(fresh.str().rfind("stCaptions\r\nTfrmX\x01T\x01", 0), 0u);
    EXPECT_FALSE(fs::exists(dir / "TfrmX.lxd.tmp"));
    fs::remove_all(dir);
}
#endif
