// The translation-source converter: what it stores, what it refuses, and that the program never
// keeps a half-written output.
#include "tools/lang_compile/lang_source.h"

#include "i18n/lx_linked.h"

#include "tests/support/temp_dir.h"
#include "tests/support/translation_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// A source row of this key with the text in every language.
std::string SourceRow(const std::string &key, const std::string &text)
{
    std::string row = key + "\n";
    for (const char *code : langsrc::kLanguageCodes)
        row += std::string("  ") + code + ": " + text + "\n";
    return row;
}

std::string Build(const std::string &text, const std::string &form = "TOwner")
{
    std::vector<langsrc::TError> errors;
    langsrc::TSource source = langsrc::ParseSource(text, errors);
    EXPECT_TRUE(errors.empty()) << langsrc::FormatErrors("source", errors);
    return langsrc::BuildTranslationData(source, form);
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
    std::string bytes = Build("# comment\n[Captions]\nLabel1\n"
                              "  en: Version:\n  fr: Version\\s:\n  de: Größe\n  it: a\n"
                              "  es: \n  sv: b\n  fi: c\n  da: d\n\n" +
                              SourceRow("TOwner", "T"));
    std::string expected = "stCaptions\r\n" +
                           testsupport::Row({"TOwner", "T", "T", "T", "T", "T", "T", "T", "T"}) +
                           "\r\n" +
                           testsupport::Row({"Label1", "Version:", "Version :",
                                             "Gr\xF6\xDF"
                                             "e",
                                             "a", "", "b", "c", "d"}) +
                           "\r\n";
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
    // Every header of a linked component follows, even for empty tables: an empty source is the 115
    // bytes of the nine headers.
    EXPECT_EQ(Build("").size(), 115u);
    EXPECT_EQ(bytes.size(), expected.size() + 115 - 12);

    std::string main = Build("@component TlxLang\n[DlgsCaptions]\n" + SourceRow("OK", "OK"));
    EXPECT_NE(main.find("\r\nstDlgsCaptions\r\nOK\x01"), std::string::npos);
    EXPECT_NE(main.find("\r\nstLocales\r\n"), std::string::npos);
}

// What the engine itself would store for the same tables, byte for byte; read back through the
// engine, line breaks and backslashes survive and the eight texts are the columns.
TEST(LangSource, WritesWhatTheEngineWritesAndReadsBack)
{
    for (const bool main : {false, true}) {
        const std::string text = std::string(main ? "@component TlxLang\r\n" : "\xEF\xBB\xBF") +
                                 "[Captions]\r\n" + SourceRow("Label1", "two\\r\\nlines \\\\ x") +
                                 SourceRow("TOwner", "T") + "[Strings]\n" +
                                 SourceRow("IDS_24", "Off ");
        TOwner owner;
        std::unique_ptr<i18n::TlxCustomLang> lang;
        if (main)
            lang = std::make_unique<i18n::TlxLang>(&owner);
        else
            lang = std::make_unique<i18n::TlxLangLinked>(&owner);
        lang->Loading();
        lang->SetNumOfLanguages(langsrc::kLanguageCount);
        lang->ReadTranslationData(Build(text));
        lang->Loaded();
        EXPECT_EQ(lang->TranslationDataBytes(), Build(text)) << (main ? "TlxLang" : "linked");
        EXPECT_EQ(lang->FindKeyText(lang->Captions(), "Label1", 8), "two\r\nlines \\ x");
        EXPECT_EQ(lang->GetStringById("IDS_24"), "Off");
    }
}

TEST(LangSource, RefusesBadRowsWithTheirLine)
{
    const std::string lang7 = "  en: a\n  fr: a\n  de: a\n  it: a\n  es: a\n  sv: a\n  fi: a\n";
    const std::tuple<std::string, int, const char *> cases[] = {
        {"[Captions]\nLabel1\n" + lang7 + "\n", 2, "a row without Danish"},
        {"[Captions]\nLabel1\n  en: a\n  de: a\n", 4, "languages out of order"},
        {"[Captions]\n" + SourceRow("L", "a") + "  da: again\n", 11, "a ninth language line"},
        {"[Captions]\nLabel1\n  en: a\tb\n", 3, "a tab in a text"},
        {"[Captions]\nLabel1\n  en: C:\\temp\n", 3, "an unknown escape"},
        {"[Captions]\nLabel1\n  en: \xCE\xB1\n", 3, "Greek alpha is not Windows-1252"},
        {"[Captions]\nLabel1\n  en: \xC3\n", 3, "broken UTF-8"},
        {"[Captions]\nLabel1\n  en: a\x01"
         "b\n",
         3, "the delimiter itself"},
        {"[Captions]\n" + SourceRow("Label1", "a") + SourceRow("LABEL1", "b"), 11,
         "a key given twice"},
        {"[DlgsCaptions]\n", 1, "a linked component has no DlgsCaptions"},
        {SourceRow("Label1", "a"), 1, "a row before any section"},
        {"[Captions]\n  en: a\n", 2, "a language line without a key"},
        {"[Captions]\nLabel1\n\ten: a\n", 3, "a language line indented with a tab"},
        {"[Caption]\n" + SourceRow("Label1", "a"), 1, "an unknown section"},
        {"[Captions]\n@component TlxLang\n", 2, "the component kind after a section"},
    };
    for (const auto &[text, line, why] : cases) {
        std::vector<langsrc::TError> errors;
        langsrc::ParseSource(text, errors);
        ASSERT_FALSE(errors.empty()) << why;
        EXPECT_EQ(errors.front().Line, line) << why << ": " << errors.front().Message;
    }
}

// The program: a bad source stops with the file and line and leaves an existing output as it was; a
// good one replaces it.
TEST(LangCompileProgram, KeepsTheOldOutputOnErrors)
{
    testsupport::TTempDir dir("lang_compile");
    const std::string src = dir / "TfrmX.txt", out = dir / "TfrmX.lxd", log = dir / "log.txt";
    std::ofstream(out, std::ios::binary) << "old";
    std::ofstream(src, std::ios::binary) << "[Captions]\nLabel1\n  en: a\n";
    const std::string cmd = std::string("\"") + NIVORA_LANG_COMPILE + "\" \"" + src + "\" \"" +
                            out + "\" > \"" + log + "\" 2>&1";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    EXPECT_EQ(testsupport::FileBytes(out), "old");
    EXPECT_NE(testsupport::FileBytes(log).find("TfrmX.txt:2:"), std::string::npos)
        << testsupport::FileBytes(log);

    std::ofstream(src, std::ios::binary | std::ios::trunc)
        << "[Captions]\n" + SourceRow("TfrmX", "T");
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(testsupport::FileBytes(out).rfind("stCaptions\r\nTfrmX\x01T\x01", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "TfrmX.lxd.tmp"));
}
