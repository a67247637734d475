// Settings of the translation components: languages, delimiters, default language, dialog rows,
// common containers, the dispatcher's names, exclusions and renamed components.
#include "fake_form.h"

#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/strings.h"

#include <gtest/gtest.h>

using namespace i18n;
using fake::Data;
using fake::Row;

namespace {

using Form = fake::TTestForm;

// The keys of the table's rows, one a line.
std::string Keys(const rtl::TStrings &table)
{
    std::string keys;
    for (int i = 0; i < table.Count(); ++i)
        keys += GetEntryField(table.Strings(i), '\x01', 0) + "\n";
    return keys;
}

} // namespace

TEST(LangSettings, FewerLanguagesCutRowsAndPadStrings)
{
    Form f;
    auto *lang = f.Load(
        Data({"stCaptions", Row({"Label1", "a", "b", "c"}), "stStrings", "IDS_1\x01x\x01"}), 3);
    EXPECT_EQ(lang->Strings().Strings(0), "IDS_1\x01x\x01"); // stored as it came
    lang->SetNumOfLanguages(2);
    EXPECT_EQ(lang->Strings().Strings(0), "IDS_1\x01x\x01\x01"); // padded to 2 texts
    EXPECT_EQ(lang->Captions().Strings(0), Row({"Label1", "a", "b"}));
    EXPECT_EQ(lang->LangNames().Count(), 2);
    EXPECT_EQ(lang->LangNames().Strings(1), "Language N2");
    // A count no form can use (a damaged stored form) is refused.
    EXPECT_THROW(lang->SetNumOfLanguages(kMaxLanguages + 1), ELanguageError);
    EXPECT_EQ(lang->NumOfLanguages(), 2);
}

TEST(LangSettings, DefaultLanguageFallbackAndTabDelimitedRows)
{
    Form f;
    auto *lang = f.Load(
        Data({"stStrings", Row({"IDS_1", "one", "deux", ""}), Row({"IDS_2", "only one", "", ""})}),
        3);
    lang->SetUseDefaultLanguage(true);
    lang->SetDefaultLanguage(2);
    lang->SetDefaultLanguage(7); // outside the languages: ignored
    EXPECT_EQ(lang->DefaultLanguage(), 2);
    lang->SetActiveLanguage(3);
    EXPECT_EQ(lang->GetStringById("IDS_1"), "deux");
    EXPECT_EQ(lang->GetStringById("IDS_2"), "only one");
    EXPECT_EQ(lang->ActiveLanguage(), 3);

    // Rows delimited by tabs are converted.
    Form g;
    g.label1->Caption = "x";
    auto *tabs = g.Load(Data({"stCaptions", "Label1\tA\tB\t", "stStrings", "IDS_1\tone\tun\t"}), 2);
    EXPECT_EQ(tabs->LangDelim(), '\x01');
    EXPECT_EQ(tabs->Captions().Strings(0), Row({"Label1", "A", "B"}));
    EXPECT_EQ(tabs->GetStringById("IDS_1"), "one");
    tabs->SetActiveLanguage(2);
    EXPECT_EQ(g.label1->Caption, "B");
}

TEST(LangSettings, DialogRowsAndTheCommonContainer)
{
    fake::TfrmTest main;
    TlxLang lang(&main);
    const int few = lang.DlgsCaptions().Count();
    lang.SetNeedAllDlgs(true);
    EXPECT_GT(lang.DlgsCaptions().Count(), few);
    lang.SetNeedAllDlgs(false);
    EXPECT_EQ(lang.DlgsCaptions().Count(), few);

    // A linked component takes the dialog rows of its common container when the program runs, and
    // holds none of its own in the designer.
    fake::TfrmTest other;
    TlxLangLinked linked(&other);
    linked.SetCommonContainer(&lang);
    EXPECT_EQ(linked.DlgsCaptions().Text(), lang.DlgsCaptions().Text());
    linked.SetDesigning(true, false);
    linked.Loaded();
    EXPECT_EQ(linked.DlgsCaptions().Count(), 0);
    linked.SetCommonContainer(nullptr);
}

TEST(LangSettings, TableWriterReappliesOnlyItsTable)
{
    Form f;
    auto *lang = f.Load(Data({"stCaptions", Row({"Label1", "cap", "cap2"}), "stHints",
                              Row({"Label1", "hint", "hint2"})}),
                        2);
    lang->SetActiveLanguage(2);
    f.label1->Caption = "changed";
    rtl::TStringList hints;
    hints.Add(Row({"Label1", "h", "new hint"}));
    lang->SetTable(stHints, hints);
    EXPECT_EQ(f.label1->Hint, "new hint");
    EXPECT_EQ(f.label1->Caption, "changed");

    // A component listed in DoNotTranslate keeps its texts; the name leaves the list with the
    // component.
    lang->DoNotTranslate().Add("Label1");
    lang->SetActiveLanguage(1);
    EXPECT_EQ(f.label1->Caption, "changed");
    delete f.label1;
    EXPECT_EQ(lang->DoNotTranslate().Count(), 0);
}

TEST(LangSettings, ExclusionsPurgeTheirRows)
{
    // Setting the exclusions collects the form's texts again: the rows' components are there,
    // but for a property Label1 lacks.
    Form f;
    f.chart->WideText = u"wide";
    fake::Make<fake::TField>(f.form.get(), "Field1");
    fake::Make<fake::TListBox>(f.form.get(), "Memo1");
    auto *lang = f.Load(
        Data({"stHints", Row({"Label1", "tip"}), "stDisplayLabels", Row({"Field1", "FileName"}),
              Row({"Field2", "Hint"}), "stMultiLines", Row({"Memo1.Lines", "a,b"}),
              Row({"Memo1.Items", "c"}), "stCollections", Row({"StatusBar1.Panels[0].Text", "p"}),
              Row({"StatusBar1.Panels[0].Width", "9"}), "stOtherStrings", Row({"Label1.Gone", "x"}),
              Row({"Chart1.WideText", "wide"})}),
        1);
    rtl::TStringList smart;
    smart.Add("Field2.DisplayLabel");
    lang->SetSmartExcludeProps(smart);
    rtl::TStringList excluded;
    excluded.Assign(lang->ExcludedProperties()); // "FileName" is among them
    excluded.Add("Hint");
    excluded.Add("Lines");
    excluded.Add("Width");
    lang->SetExcludedProperties(excluded);
    EXPECT_EQ(lang->Hints().Count(), 0);
    // A display label's text is no property name: "FileName" stays.
    EXPECT_EQ(Keys(lang->DisplayLabels()), "Field1\n");
    EXPECT_EQ(Keys(lang->MultiLines()), "Memo1.Items\n");
    EXPECT_EQ(Keys(lang->Collections()), "StatusBar1.Panels[0].Text\n");
    EXPECT_EQ(Keys(lang->OtherStrings()), "Chart1.WideText\n");

    // Names in DoNotTranslate purge rows only while the form is designed.
    rtl::TStringList names;
    names.Add("!TField");
    lang->SetDoNotTranslate(names);
    EXPECT_EQ(lang->DisplayLabels().Count(), 1);
    f.form->SetDesigning(true);
    names.Add("Field9");
    names.Add("Chart1");
    lang->SetDoNotTranslate(names);
    EXPECT_EQ(lang->DisplayLabels().Count(), 0);
    EXPECT_EQ(lang->OtherStrings().Count(), 0);
}

TEST(LangSettings, ARenamedComponentsRowsFollowItsNewName)
{
    Form f;
    fake::Make<fake::TLabel>(f.form.get(), "Label10");
    auto *lang = f.Load(Data({"stCaptions", Row({"Label1", "Label1 text"}),
                              Row({"Label10", "other"}), Row({"TfrmTest", "Window"})}),
                        1);
    rtl::TStringList names;
    names.Add("Label1");
    lang->SetDoNotTranslate(names);
    rtl::TStringList smart;
    smart.Add("Label1.Hint");
    lang->SetSmartExcludeProps(smart);
    lang->ExtendedTranslations().Add().SetIdentifier("Label1.Font.Name");
    auto has = [](rtl::TStrings &list, const std::string &row) { return list.IndexOf(row) >= 0; };

    lang->RenameComponentEntries("Label1", "lblTitle");
    // The name at the start of a row changes, a longer name and the texts do not.
    EXPECT_TRUE(has(lang->Captions(), Row({"lblTitle", "Label1 text"})));
    EXPECT_TRUE(has(lang->Captions(), Row({"Label10", "other"})));
    EXPECT_EQ(lang->Captions().Count(), 3);
    EXPECT_TRUE(has(lang->DoNotTranslate(), "lblTitle"));
    EXPECT_TRUE(has(lang->SmartExcludeProps(), "lblTitle.Hint"));
    EXPECT_EQ(lang->ExtendedTranslations().Items(0).Identifier(), "lblTitle.Font.Name");

    // The form's rows go by its class name; an empty new name changes nothing.
    lang->RenameComponentEntries("frmTest", "frmMain");
    EXPECT_TRUE(has(lang->Captions(), Row({"TfrmMain", "Window"})));
    lang->RenameComponentEntries("lblTitle", "");
    EXPECT_TRUE(has(lang->Captions(), Row({"lblTitle", "Label1 text"})));
}
