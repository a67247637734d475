// Translation components, stored translation data, dispatcher and the walk over a form's
// components.
#include "fake_form.h"

#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace i18n;
using fake::Data;
using fake::ErrorOf;
using fake::Row;

namespace {

const char D = '\x01';
using Form = fake::TTestForm;

const std::string kRange8 = "9 - is not a valid property value!\rValue must be within [1..8]!";

} // namespace

TEST(TranslationData, RoundTripAndReaderRules)
{
    Form f;
    auto *lang = f.Load("", 2);
    lang->Strings().Add(Row({"IDS_1", "A\r\nB", "x"}));
    std::string bytes = lang->TranslationDataBytes();
    EXPECT_NE(bytes.find("IDS_1\x01"
                         "A\x19\x1A"
                         "B\x01x\x01\r\n"),
              std::string::npos);
    Form g;
    auto *back = g.Load(bytes, 2);
    EXPECT_EQ(back->Strings().Strings(0), Row({"IDS_1", "A\r\nB", "x"}));
    EXPECT_EQ(back->GetStringById("IDS_1"), "A\r\nB");

    // Headers in any case; lines before the first header ignored; the owner's own row goes first.
    Form h;
    auto *read = h.Load(Data({"garbage\x01line\x01", "STCAPTIONS", Row({"Label1", "L1", "L1fr"}),
                              Row({"TfrmTest", "Form", "Formulaire"}), "stHints",
                              Row({"Label1", "hint", "astuce"})}),
                        2);
    ASSERT_EQ(read->Captions().Count(), 2);
    EXPECT_EQ(GetEntryField(read->Captions().Strings(0), D, 0), "TfrmTest");
    EXPECT_EQ(read->Hints().Count(), 1);
    // A stream of 0 or 1 bytes changes nothing.
    read->ReadTranslationData(std::string());
    read->ReadTranslationData(std::string("s"));
    EXPECT_EQ(read->Captions().Count(), 2);

    // An inherited form merges the stored rows into those it holds; in the designer the stored rows
    // replace them.
    read->SetIsInheritedOwner(true);
    const std::string label2 = Data({"stCaptions", Row({"Label2", "L2", "L2fr"})});
    read->ReadTranslationData(label2);
    EXPECT_EQ(read->Captions().Count(), 3);
    read->SetDesigning(true, false);
    read->ReadTranslationData(label2);
    ASSERT_EQ(read->Captions().Count(), 1);
    EXPECT_EQ(read->Captions().Strings(0), Row({"Label2", "L2", "L2fr"}));
}

TEST(TranslationData, WideStreamIsConvertedLanguageByLanguage)
{
    // Language 2 of this form is Russian: its texts go through code page 1251. The last line has no
    // CR; a character the code page lacks is replaced and reading goes on.
    Form f;
    auto *lang = f.Load(fake::Utf16Le(u"stCharSets\r\nTfrmTest\x01"
                                      u"ANSI_CHARSET\x01RUSSIAN_CHARSET\x01\r\n"
                                      u"stStrings_Unicode\r\nIDS_1\x01"
                                      u"caf\u00e9\x01\u0416\x01\r\n"
                                      u"IDS_3\x01\u4E2D\x01ok\x01"),
                        2);
    ASSERT_EQ(lang->Strings().Count(), 2);
    EXPECT_EQ(lang->Strings().Strings(0), Row({"IDS_1", "caf\xE9", "\xC6"}));
    EXPECT_EQ(lang->Strings().Strings(1), Row({"IDS_3", "?", "ok"}));
    EXPECT_EQ(lang->CharSets().Count(), 1);
}

TEST(LangComponent, LanguageRangeAndCountErrors)
{
    Form f;
    auto *lang = f.Load(Data({"stCaptions", Row({"Label1", "one", "un"})}), 8);
    int changes = 0;
    lang->OnChangeLanguage = [&](rtl::TObject *) { ++changes; };
    EXPECT_EQ(ErrorOf([&] { lang->SetActiveLanguage(9); }), kRange8);
    EXPECT_EQ(lang->ActiveLanguage(), 1);
    lang->SetActiveLanguage(1); // the current value: nothing happens
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(f.label1->CaptionWrites, 0);
    EXPECT_EQ(ErrorOf([&] { lang->SetNumOfLanguages(0); }),
              "0 - is not a valid property value !\rValue must be more than ZERO !");
    EXPECT_EQ(lang->NumOfLanguages(), 8);

    // While loading an out-of-range language is ignored.
    Form g;
    g.Load("", 8, nullptr, std::function<void(TlxLangLinked &)>([](TlxLangLinked &l) {
               EXPECT_NO_THROW(l.SetActiveLanguage(9));
               EXPECT_EQ(l.ActiveLanguage(), 1);
           }));
    EXPECT_EQ(ErrorOf<rtl::Exception>([&] { new TlxLang(f.form.get()); }),
              "Only one TlxCustomLang component per Form/DataModule allowed!");
}

TEST(LangComponent, StringLookups)
{
    Form f;
    auto *lang = f.Load(Data({"stStrings", Row({"IDS_1", "one", ""}), Row({"IDS_2", "two", "deux"}),
                              "IDS_3\x01only"}),
                        3);
    lang->SetActiveLanguage(2);
    EXPECT_EQ(lang->GetStringById("IDS_1"), "one");   // empty language 2: language 1
    EXPECT_EQ(lang->GetStringByIdExact("IDS_1"), ""); // ttNoChange: no fallback
    EXPECT_EQ(lang->GetStringById("ids_2"), "deux");
    EXPECT_EQ(lang->GetStringByIdExact("IDS_3"), ""); // short row: missing field is empty
    lang->SetActiveLanguage(3);
    EXPECT_EQ(lang->GetStringById("IDS_3"), "only");
    EXPECT_EQ(lang->GetStringById("IDS_999"), "");
    lang->SetDoRaiseExceptions(true);
    EXPECT_EQ(ErrorOf([&] { lang->GetStringById("IDS_999"); }),
              "String identifier \"IDS_999\" not found!");

    // The whole-text look-up of other tables: a missing field does not run into the next row.
    lang->Hints().Add("Label1\x01"
                      "a");
    lang->Hints().Add("Label2"); // the key alone is no entry
    lang->Hints().Add(Row({"Label2", "b", "c", "d"}));
    lang->SetActiveLanguage(2);
    EXPECT_EQ(lang->LookupTableText(lang->Hints(), "label1", false), "");
    EXPECT_EQ(lang->LookupTableText(lang->Hints(), "label1", true), "a");
    EXPECT_EQ(lang->LookupTableText(lang->Hints(), "LABEL2", false), "c");

    // Writing into the table is seen by the index; a short row is padded.
    lang->StoreText(lang->Strings(), "trois", 3, "IDS_2");
    lang->StoreText(lang->Strings(), "seul", 3, "IDS_3");
    lang->SetActiveLanguage(3);
    EXPECT_EQ(lang->GetStringByIdExact("IDS_2"), "trois");
    EXPECT_EQ(lang->Strings().Strings(2), Row({"IDS_3", "only", "", "seul"}));
    rtl::TStringList replaced;
    replaced.Add(Row({"IDS_7", "seven", "sept", "sieben"}));
    lang->SetTable(stStrings, replaced);
    EXPECT_EQ(lang->GetStringById("IDS_7"), "sieben");
}

TEST(Dispatcher, LanguagesNamesLinkingAndLifetime)
{
    TlxLangDispatcher d(nullptr);
    EXPECT_EQ(d.LangNames().Text(), "Language N1\r\n");
    d.SetNumOfLanguages(3);
    EXPECT_EQ(d.LangNames().Text(), "Language N1\r\nLanguage N2\r\nLanguage N3\r\n");
    d.SetNumOfLanguages(1);
    EXPECT_EQ(d.LangNames().Count(), 1);
    EXPECT_EQ(ErrorOf([&] { d.SetLanguage("Klingon"); }),
              "Language name shall be included in LangNames property!");
    Form f;
    auto *lang = f.Load("", 1, &d);
    d.LinkComponent(lang);
    EXPECT_EQ(d.LinkedCount(), 1);

    // Names set on the dispatcher give every linked component their count and names.
    rtl::TStringList names;
    names.SetCommaText("English,French,German");
    d.SetLangNames(names);
    EXPECT_EQ(d.NumOfLanguages(), 3);
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->LangNames().CommaText(), "English,French,German");
    d.SetLanguage("german");
    EXPECT_EQ(lang->ActiveLanguage(), 3);
    EXPECT_EQ(d.Language(), "German");
    d.SetUseDefaultLanguage(true);
    d.SetDefaultLanguage(2);
    EXPECT_TRUE(lang->UseDefaultLanguage());
    EXPECT_EQ(lang->DefaultLanguage(), 2);
    delete lang;
    EXPECT_EQ(d.LinkedCount(), 0);

    // A dispatcher that goes first leaves its components, unlinked.
    auto gone = std::make_unique<TlxLangDispatcher>(nullptr);
    Form g;
    auto *left = g.Load("", 1, gone.get());
    gone.reset();
    EXPECT_EQ(left->LangDispatcher(), nullptr);
    EXPECT_NO_THROW(left->SetActiveLanguage(1));
}

TEST(Dispatcher, SwitchesEveryFormAndChecksTheRange)
{
    TlxLangDispatcher d(nullptr);
    d.SetNumOfLanguages(8);
    const std::string data =
        Data({"stCaptions", Row({"Label1", "1", "2", "3", "4", "five", "6", "7", "8"})});
    std::vector<std::unique_ptr<Form>> forms;
    for (int i = 0; i < 4; ++i) {
        forms.push_back(std::make_unique<Form>());
        forms.back()->Load(data, 8, &d);
    }
    // One window whose handler fails must not stop the others.
    TlxCustomLang *third = d.Linked(2);
    third->OnChangeLanguage = [](rtl::TObject *) { throw rtl::Exception("handler failed"); };
    EXPECT_THROW(d.SetActiveLanguage(5), rtl::Exception);
    for (auto &f : forms)
        EXPECT_EQ(f->label1->Caption, "five");
    EXPECT_EQ(d.Language(), "Language N5");

    third->OnChangeLanguage = nullptr;
    EXPECT_EQ(ErrorOf([&] { d.SetActiveLanguage(9); }), kRange8);
    EXPECT_EQ(d.ActiveLanguage(), 5);
    for (int i = 0; i < d.LinkedCount(); ++i)
        EXPECT_EQ(d.Linked(i)->ActiveLanguage(), 5);

    // A window created afterwards comes up in the dispatcher's language.
    Form late;
    late.Load(data, 8, &d);
    EXPECT_EQ(late.label1->Caption, "five");
}

TEST(Dispatcher, AHandlerMayCloseWindowsDuringTheSwitch)
{
    TlxLangDispatcher d(nullptr);
    d.SetNumOfLanguages(2);
    std::unique_ptr<Form> forms[4];
    for (auto &f : forms) {
        f = std::make_unique<Form>();
        f->Load(Data({"stCaptions", Row({"Label1", "one", "un"})}), 2, &d);
    }
    // The first window's handler closes the second window; the third closes itself.
    d.Linked(0)->OnChangeLanguage = [&](rtl::TObject *) { forms[1].reset(); };
    d.Linked(2)->OnChangeLanguage = [&](rtl::TObject *) { forms[2].reset(); };
    d.SetActiveLanguage(2);
    EXPECT_EQ(d.LinkedCount(), 2);
    EXPECT_EQ(forms[0]->label1->Caption, "un");
    EXPECT_EQ(forms[3]->label1->Caption, "un");
}

namespace {

// A linked component whose translation file reader can read its file.
class TlxLangReading : public TlxLangLinked {
public:
    using TlxLangLinked::TlxLangLinked;
    bool ReadLanguageFile(const std::string &fileName, bool) override
    {
        Read = fileName;
        rtl::TStringList names;
        names.SetCommaText("en,fr,de");
        SetLangNames(names);
        return true;
    }
    std::string Read;
};

} // namespace

TEST(Dispatcher, LinkingReadsTheFileNamedByFileName)
{
    const std::string data = Data({"stCaptions", Row({"Label1", "one", "un", "eins"})});
    TlxLangDispatcher d(nullptr);
    d.SetNumOfLanguages(3);
    d.SetActiveLanguage(2);

    // No such file, or a file the component cannot read: it switches to the dispatcher's language
    // as without a file.
    d.SetFileName("no such file.lxb");
    Form missing;
    missing.Load(data, 3, &d);
    EXPECT_EQ(missing.label1->Caption, "un");
    const auto file = std::filesystem::temp_directory_path() / "nivora_lang_link_test.ini";
    std::ofstream(file) << "[not a translation]\n";
    d.SetFileName(file.string());
    Form unreadable;
    unreadable.Load(data, 3, &d);
    EXPECT_EQ(unreadable.label1->Caption, "un");

    // A file that is read gives the component its texts, names and count.
    Form read;
    auto *lang = read.Load<TlxLangReading>(data, 3, &d);
    EXPECT_EQ(lang->Read, file.string());
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(d.LangNames().CommaText(), "en,fr,de");

    // In the designer a component only follows the dispatcher's language: no link handler, no file.
    int handled = 0;
    d.OnLinkToDispatcher = [&](rtl::TObject *, TlxCustomLang *) { ++handled; };
    Form designed;
    auto *inDesigner = new TlxLangReading(designed.form.get());
    inDesigner->SetDesigning(true, false);
    inDesigner->SetLangDispatcher(&d);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(inDesigner->Read, "");
    EXPECT_EQ(inDesigner->ActiveLanguage(), 2);
    d.OnLinkToDispatcher = nullptr;
    std::filesystem::remove(file);
}

TEST(Walk, AppliesCaptionsHintsAndCollections)
{
    Form f;
    f.label1->Caption = "HELLO";
    f.label2->Caption = "keep";
    auto *lang = f.Load(
        Data({"stCaptions", Row({"TfrmTest", "Form", "Fenetre"}), Row({"Label1", "hello", "Hello"}),
              Row({"Label2", "keep", ""}), Row({"Gone", "x", "y"}), Row({"Label1", "", ""}),
              "stHints", Row({"Label1", " ", ""}), Row({"Label2", "xy", "", "", ""}),
              "stCollections", Row({"StatusBar1.Panels[1].Text", "p1", "panneau"}),
              Row({"StatusBar1.Panels[5].Text", "p5", "p5"}),
              Row({"StatusBar1.Nothing[0].Text", "n", "n"}),
              Row({"StatusBar1.Panels[0].Missing", "m", "m"}),
              Row({"StatusBar1.Panels[2].Text", "  ", ""})}),
        2);
    lang->SetActiveLanguage(2);
    EXPECT_EQ(f.form->Caption, "Fenetre");
    EXPECT_EQ(f.label1->Caption, "HELLO"); // differs only in case: not rewritten
    EXPECT_EQ(f.label1->CaptionWrites, 0);
    EXPECT_EQ(f.label2->Caption, "keep"); // empty text: left as it is
    EXPECT_EQ(f.bar->Text(1), "panneau");

    // Rows that address nothing moved out; an all-empty row deleted; a row whose only text is a
    // blank kept, but not in a collection, where blanks are no text.
    ASSERT_NE(lang->RemovedRows(), nullptr);
    EXPECT_EQ(lang->RemovedRows()->Count(), 4);
    EXPECT_EQ(GetEntryField(lang->RemovedRows()->Strings(0), D, 0), "Gone");
    EXPECT_EQ(lang->Captions().Count(), 3);
    EXPECT_EQ(lang->Hints().Count(), 2); // a blank or extra delimiters are kept
    EXPECT_EQ(lang->Collections().Count(), 1);
}

TEST(Walk, AnInstalledHookSeesAndMayChangeEveryTextAndLineAndListsKeepTheirItemIndex)
{
    Form f;
    f.list->Items.SetCommaText("one,two");
    f.list->ItemIndex = 1;
    auto *lang = f.Load(Data({"stCaptions", Row({"Label1", "Level", "Niveau"}), "stMultiLines",
                              Row({"ListBox1.Items", "one,two", "un,deux"})}),
                        2);
    static std::vector<std::string> seen;
    seen.clear();
    SetTranslateHook([](rtl::TObject *, const std::string &property, std::string &text) {
        seen.push_back(property + "=" + text);
        text = "[" + text + "]";
    });
    lang->SetActiveLanguage(2);
    SetTranslateHook(nullptr);
    EXPECT_EQ(f.label1->Caption, "[Niveau]");
    EXPECT_EQ(f.list->Items.CommaText(), "[un],[deux]");
    EXPECT_EQ(f.list->ItemIndex, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"Caption=Niveau", "Items=un", "Items=deux"}));
    // Without one the texts go in as they are.
    lang->SetActiveLanguage(1);
    EXPECT_EQ(f.label1->Caption, "Level");
    EXPECT_EQ(f.list->Items.CommaText(), "one,two");
}

namespace {

// A list whose lines cannot be replaced, on a control of its own.
class TFailingStrings : public rtl::TStringList {
public:
    void Put(int, const std::string &) override { throw rtl::EConvertError("refused"); }
};

class TStubbornList : public rtl::TComponent {
    RTL_DECLARE_CLASS(TStubbornList)
public:
    using rtl::TComponent::TComponent;
    TFailingStrings Items;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TStubbornList, rtl::TComponent)
{
    P.Object<rtl::TStrings>(
        "Items", [](TStubbornList &l) { return &l.Items; },
        [](TStubbornList &, rtl::TStrings *) {});
}

// A control whose Caption may come from an action, as menu items and buttons do.
class TActionControl : public rtl::TComponent {
    RTL_DECLARE_CLASS(TActionControl)
public:
    using rtl::TComponent::TComponent;
    std::string Caption;
    fake::TLabel *Action = nullptr;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TActionControl, rtl::TComponent)
{
    FAKE_STRING(TActionControl, "Caption", "TCaption", Caption);
    P.Object<fake::TLabel>(
        "Action", [](TActionControl &c) { return c.Action; },
        [](TActionControl &c, fake::TLabel *v) { c.Action = v; });
}

// A control whose collection lives in an object it creates only later.
class TLateHost : public rtl::TComponent {
    RTL_DECLARE_CLASS(TLateHost)
public:
    using rtl::TComponent::TComponent;
    fake::TStatusBar *Properties = nullptr;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TLateHost, rtl::TComponent)
{
    P.Object<fake::TStatusBar>("Properties", [](TLateHost &h) { return h.Properties; });
}

} // namespace

TEST(Walk, AFailingRowDoesNotStopTheOthers)
{
    Form f;
    auto *stubborn = fake::Make<TStubbornList>(f.form.get(), "ListBox2");
    stubborn->Items.SetCommaText("a,b");
    f.list->Items.SetCommaText("one,two");
    auto *lang = f.Load(Data({"stMultiLines", Row({"ListBox2.Items", "a,b", "x,y"}),
                              Row({"ListBox1.Items", "one,two", "un,deux"})}),
                        2);
    EXPECT_NO_THROW(lang->SetActiveLanguage(2));
    EXPECT_EQ(f.list->Items.CommaText(), "un,deux");
    EXPECT_EQ(stubborn->Items.CommaText(), "a,b");
}

TEST(Walk, CaptionsSuppliedByAnActionAreLeftToIt)
{
    Form f;
    auto *action = fake::Make<fake::TLabel>(f.form.get(), "actOpen");
    action->Caption = "&open";
    auto *item = fake::Make<TActionControl>(f.form.get(), "mnuOpen");
    item->Caption = "&Open"; // the action's text, in other letter case
    item->Action = action;
    auto *plain = fake::Make<TActionControl>(f.form.get(), "mnuClose");
    plain->Caption = "&Close";
    auto *lang = f.Load(Data({"stCaptions", Row({"mnuOpen", "&Open", "&Ouvrir"}),
                              Row({"mnuClose", "&Close", "&Fermer"})}),
                        2);
    lang->SetActiveLanguage(2);
    EXPECT_EQ(item->Caption, "&Open");
    EXPECT_EQ(plain->Caption, "&Fermer");
    // The action's row is deleted, not kept among the removed rows.
    ASSERT_EQ(lang->Captions().Count(), 1);
    EXPECT_EQ(GetEntryField(lang->Captions().Strings(0), D, 0), "mnuClose");
    EXPECT_TRUE(!lang->RemovedRows() || lang->RemovedRows()->Count() == 0);
}

TEST(Walk, RelativePathTextsAreComparedExpanded)
{
    Form f;
    const std::string full =
        (std::filesystem::current_path().parent_path() / "data").lexically_normal().string();
    f.label1->Hint = full;
    f.label2->Hint = full;
    auto *lang = f.Load(Data({"stOtherStrings", Row({"Label1.Hint", "x", "../data"}),
                              Row({"Label2.Hint", "x", "../other"})}),
                        2);
    lang->SetActiveLanguage(2);
    EXPECT_EQ(f.label1->Hint, full); // names the current value: not rewritten
    EXPECT_EQ(f.label2->Hint, "../other");
}

TEST(Walk, CollectionRowsWaitForAnObjectNotThereYet)
{
    Form f;
    auto *host = fake::Make<TLateHost>(f.form.get(), "Host1");
    auto *lang =
        f.Load(Data({"stCollections", Row({"Host1.Properties.Panels[0].Text", "p0", "zero"})}), 2);
    lang->SetActiveLanguage(2);
    EXPECT_EQ(lang->Collections().Count(), 1); // kept, not moved out
    EXPECT_TRUE(!lang->RemovedRows() || lang->RemovedRows()->Count() == 0);

    fake::TStatusBar properties(nullptr);
    properties.Panels.Add();
    host->Properties = &properties;
    lang->SetActiveLanguage(1);
    lang->SetActiveLanguage(2);
    EXPECT_EQ(properties.Text(0), "zero");
    host->Properties = nullptr;
}

namespace {
int gCursor = 0;
std::vector<int> gCursorWrites;
} // namespace

TEST(LangComponent, TheChangingCursorStandsDuringTheSwitchAndDesignEditsAreKept)
{
    gCursor = 0;
    gCursorWrites.clear();
    rtl::InstallScreenCursor(
        {[] { return gCursor; }, [](int c) { gCursorWrites.push_back(gCursor = c); }});
    Form f;
    auto *lang = f.Load(Data({"stCaptions", Row({"Label1", "one", "un", "eins"})}), 3);
    lang->SetChangingCursor(-11); // the hour glass
    int during = 0;
    lang->OnChangeLanguage = [&](rtl::TObject *) { during = rtl::ScreenCursor(); };
    lang->SetActiveLanguage(2);
    EXPECT_EQ(during, -11);
    EXPECT_EQ(gCursorWrites, (std::vector<int>{-11, 0}));
    // A failing switch still gives the cursor back; a cursor someone else shows is left alone.
    lang->OnChangeLanguage = [](rtl::TObject *) { throw rtl::Exception("handler failed"); };
    EXPECT_THROW(lang->SetActiveLanguage(3), rtl::Exception);
    EXPECT_EQ(gCursor, 0);
    gCursor = -2;
    gCursorWrites.clear();
    lang->OnChangeLanguage = nullptr;
    lang->SetActiveLanguage(1);
    EXPECT_TRUE(gCursorWrites.empty());
    rtl::InstallScreenCursor({});

    // In the designer the texts as edited go into the old language's column before the switch.
    lang->SetDesigning(true, false);
    f.label1->Caption = "first";
    lang->SetActiveLanguage(2);
    EXPECT_EQ(lang->Captions().Strings(0), Row({"Label1", "first", "un", "eins"}));
}
