// Ini-form translation files: the ini classes' reading rules and typed values; a component's export
// read back into a fresh one in all eight languages; the read rules of the sections (file
// delimiter, collection keys, other forms' keys, single texts, damaged names); and the imports that
// merge a file into a component's own languages.
#include "fake_form.h"

#include "i18n/base/lx_ini.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "i18n/lx_lxb.h"

#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace i18n;
using fake::Texts;

namespace {

void SetText(TlxMemIniFile &ini, const std::string &text)
{
    rtl::TStringList lines;
    lines.SetText(text);
    ini.SetStrings(lines);
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The form the files translate and its TlxLang of named languages.
struct Form : fake::TTestForm {
    TlxLang *lang;
    explicit Form(int languages = 8, const std::string &data = fake::Data({}))
        : lang(LoadNamed(data, languages))
    {
    }
};

void WriteFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Every table's rows (in key order: a file holds its keys sorted) and the extended items.
std::string AllTables(TlxCustomLang &lang)
{
    std::string s;
    for (int t = 0; t < kStringsTypeCount; ++t)
        if (rtl::TStrings *table = lang.TableOfType(t)) {
            rtl::TStringList rows;
            rows.Assign(*table);
            rows.Sort();
            s += std::string(StringsTypeName(t)) + ":\n" + rows.Text();
        }
    for (int i = 0; i < lang.ExtendedTranslations().Count(); ++i)
        s += lang.ExtendedTranslations().Items(i).Identifier() + "=" +
             lang.ExtendedTranslations().Items(i).Values() + "\n";
    return s;
}

} // namespace

TEST(IniFiles, ReadRulesAndTypedValues)
{
    TlxMemIniFile ini("");
    SetText(ini, ("orphan=before any section\n"
                  "[Numbers]\n"
                  "; a comment\n"
                  "\n"
                  "hex=0X1f\n"
                  "bare=0x\n"
                  "word=abc\n"
                  "k=a=b\n"
                  "flag\n"
                  "date=not a date\n"
                  "[numbers]\n"
                  "dup=second section of the same name\n"));
    EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("NUMBERS", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Numbers", "bare", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Numbers", "word", 7), 7);
    EXPECT_EQ(ini.ReadString("Numbers", "k", ""), "a=b");
    EXPECT_EQ(ini.ReadString("Numbers", "flag", "x"), "");
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Numbers", "word", 1.5), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadDate("Numbers", "date", 3.0), 3.0);
    EXPECT_EQ(ini.ReadString("Numbers", "dup", ""), "second section of the same name");

    rtl::TStringList keys;
    ini.ReadSection("Numbers", keys);
    EXPECT_EQ(keys.CommaText(), "bare,date,dup,flag,hex,k,word");
    ini.EraseSection("NUMBERS");
    EXPECT_FALSE(ini.SectionExists("Numbers"));

    // Written values, rendered sorted, and saved whole.
    testsupport::TTempDir dir("nivora-ini");
    TlxMemIniFile out(dir / "out.ini");
    out.WriteInteger("B", "n", 5);
    out.WriteString("A", "x", "1");
    out.WriteString("a", "x", "2"); // the same key of the same section
    out.UpdateFile();
    EXPECT_EQ(ReadFile(dir / "out.ini"), "[A]\r\nx=2\r\n\r\n[B]\r\nn=5\r\n\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
    TlxMemIniFile back(dir / "out.ini");
    EXPECT_EQ(back.ReadInteger("b", "N", 0), 5);
}

TEST(IniFormFiles, AnExportReadIntoAFreshComponentGivesTheSameTablesInEveryLanguage)
{
    testsupport::TTempDir dir("nivora-ini");
    const std::string file = dir / "forms.ini";
    WriteFile(file, "[Captions]\nTfrmOther.Label1=kept~!@#\n");

    Form source;
    source.lang->Captions().Add(Texts("TfrmTest", "Form"));
    source.lang->Captions().Add(Texts("Label1", "Text \"quoted\" = "));
    source.lang->Hints().Add(Texts("Label1", "Tip"));
    source.lang->Strings().Add(Texts("IDS_3", "Line\r\nbreak "));
    source.lang->Collections().Add(Texts("StatusBar1.Panels[2].Text", "Panel"));
    source.lang->MultiLines().Add(Texts("ListBox1.Items", "one,two "));
    source.lang->OtherStrings().Add(Texts("Chart1.WideText", "Wide"));
    TlxExtendedItem &item = source.lang->ExtendedTranslations().Add();
    item.SetIdentifier("Chart1.Title.Text");
    item.SetValues(Texts("", "Title").substr(1));
    item.SetPropertyType(rtl::tkLString);
    source.lang->FixedLanguages().Add("German");
    source.lang->WriteLanguageFile(file, "~!@#");

    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("TfrmOther.Label1=kept~!@#"), std::string::npos); // another form's
    EXPECT_NE(text.find("TfrmTest.StatusBar1.Panels-2+.Text=Panel1~!@#"), std::string::npos);
    EXPECT_NE(text.find("TfrmTest.IDS_3=Line\x19\x1A"
                        "break 1~!@#"),
              std::string::npos);
    EXPECT_NE(text.find("TfrmTest.Chart1.Title.Text_TypeKind=tkLString"), std::string::npos);
    EXPECT_NE(text.find("Language_3=German"), std::string::npos);
    EXPECT_EQ(dir.EntryCount(), 1u);

    Form target;
    target.lang->SetActiveLanguage(5);
    ASSERT_TRUE(target.lang->ReadLanguageFile(file, true));
    EXPECT_EQ(AllTables(*target.lang), AllTables(*source.lang));
    EXPECT_EQ(target.lang->FixedLanguages().CommaText(), "German");
    // Read back with brackets, and applied.
    EXPECT_EQ(target.lang->Collections().Strings(0).substr(0, 26), "StatusBar1.Panels[2].Text\x01");
    EXPECT_EQ(static_cast<fake::TStatusPanel *>(target.bar->Panels.Items(2))->Text, "Panel5");
    EXPECT_EQ(target.label1->Caption, "Text \"quoted\" = 5");
    EXPECT_EQ(target.lang->GetStringById("IDS_3"), "Line\r\nbreak 5");
    EXPECT_EQ(target.chart->Title.Text, "Title5");
}

TEST(IniFormFiles, SectionsAreReadByTheirRules)
{
    Form form(2);
    auto read = [&](int type, const std::string &text) {
        rtl::TMemoryStream s = fake::StreamOf(text);
        return form.lang->ReadIniSection(type, s, true);
    };
    // No delimiter named: "~!@#". Another form's keys, a key of the form's name (an older naming)
    // and a key of a component not translated.
    form.lang->DoNotTranslate().Add("Chart1");
    EXPECT_EQ(read(stHints, "[Hints]\n"
                            "TfrmTest.Label1=Tip~!@#Astuce~!@#\n"
                            "frmTest.ListBox1=Named~!@#\n"
                            "TfrmOther.Label1=Not mine~!@#\n"
                            "TfrmTest.Chart1=Left alone~!@#\n"),
              2);
    EXPECT_EQ(form.lang->Hints().Text(), fake::Row({"ListBox1", "Named"}) + "\r\n" +
                                             fake::Row({"Label1", "Tip", "Astuce"}) + "\r\n");
    EXPECT_EQ(form.label1->Hint, "Tip");

    // A single text is language 1's only; a key without value has none.
    EXPECT_EQ(read(stCaptions, "[OPTIONS]\nDELIMITER=;\n[Captions]\n"
                               "TfrmTest.Label1=Only one\n"
                               "TfrmTest.TfrmTest=Form;Formulaire;\n"),
              2);
    ASSERT_EQ(form.lang->Captions().Count(), 2); // none for ListBox1, absent from the section
    EXPECT_EQ(form.lang->Captions().Strings(0), fake::Row({"TfrmTest", "Form", "Formulaire"}));
    EXPECT_EQ(form.lang->Captions().Strings(1), fake::Row({"Label1", "Only one"}));
    form.lang->SetActiveLanguage(2);
    EXPECT_EQ(form.label1->Caption, "Only one"); // unchanged: no text of language 2
    EXPECT_EQ(form.form->Caption, "Formulaire");

    // A names section without "Language_1" names nothing: the languages and the rows stay whole.
    form.lang->Strings().Add(fake::Row({"IDS_1", "One", "Un"}));
    read(stDisplayLabels, "[Language names - for internal use only!]\nLanguage_2=French\n"
                          "[DisplayLabels]\n");
    EXPECT_EQ(form.lang->NumOfLanguages(), 2);
    EXPECT_EQ(form.lang->LangNames().CommaText(), "English,French");
    EXPECT_EQ(form.lang->Strings().Strings(0), fake::Row({"IDS_1", "One", "Un"}));
}

TEST(IniFormFiles, ImportsMapTheFilesLanguagesAndAFailedBatchLeavesNoBatchBehind)
{
    testsupport::TTempDir dir("nivora-ini");
    const std::string file = dir / "import.ini";
    // The file's languages: French and English swapped, and one the component does not know.
    WriteFile(file, "[Language names - for internal use only!]\n"
                    "Language_1=French\nLanguage_2=English\nLanguage_3=Klingon\n"
                    "[Captions]\nTfrmTest.Label1=Etiquette~!@#Label~!@#tlhegh~!@#\n");
    Form form(3, fake::Data({"stCaptions", fake::Row({"ListBox1", "List", "Liste", "Liste"})}));
    ASSERT_TRUE(form.lang->ImportSection(stCaptions, file));
    EXPECT_EQ(form.lang->LangNames().CommaText(), "English,French,German");
    EXPECT_EQ(form.lang->Captions().Text(),
              fake::Row({"Label1", "Label", "Etiquette", ""}) + "\r\n" +
                  fake::Row({"ListBox1", "List", "Liste", "Liste"}) + "\r\n");

    // A failing batch import leaves no batch behind: a later single import applies what it read to
    // the form.
    rtl::TMemoryStream none;
    WriteLXB(none, rtl::TStringList(), {});
    rtl::WriteFileAtomically(dir / "none.lxb", none.Bytes());
    EXPECT_FALSE(form.lang->ImportAllSections(dir / "none.lxb"));
    EXPECT_FALSE(form.lang->ImportSection(stCaptions, dir / "missing.ini"));
    form.lang->SetActiveLanguage(2);
    WriteFile(dir / "new.ini", "[Captions]\nTfrmTest.Label1=Title~!@#Titre~!@#Titel~!@#\n");
    ASSERT_TRUE(form.lang->ImportSection(stCaptions, dir / "new.ini"));
    EXPECT_EQ(form.label1->Caption, "Titre");
}
