// Collecting a form's texts into the tables: every text gets a row with the
// key the walk reads back; existing rows take the current text only where
// that loses no translation; rows of vanished components go, and a row
// dropped for a renamed component is reused; exclusions delete their rows.
#include "fake_form.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include <gtest/gtest.h>

using namespace i18n;

namespace {

class TMenuItem : public rtl::TComponent {
    RTL_DECLARE_CLASS(TMenuItem)
public:
    using rtl::TComponent::TComponent;
    std::string Caption;
};
RTL_IMPLEMENT_PUBLISHED_CLASS(TMenuItem, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TMenuItem &m) { return m.Caption; },
        [](TMenuItem &m, const std::string &v) { m.Caption = v; });
}

struct Form {
    std::unique_ptr<fake::TfrmTest> form = std::make_unique<fake::TfrmTest>();
    TlxLangLinked *lang = nullptr;

    explicit Form(const std::string &data = fake::Data({}), int languages = 3)
    {
        form->SetName("frmTest");
        form->Caption = "Test form";
        lang = fake::LoadLang<TlxLangLinked>(form.get(), data, languages);
        lang->SetDesigning(true, false);
    }
    fake::TLabel *Label(const std::string &name, const std::string &caption)
    {
        auto *l = fake::Make<fake::TLabel>(form.get(), name);
        l->Caption = caption;
        return l;
    }
};

std::string Texts(const rtl::TStrings &table)
{
    return table.Text();
}

} // namespace

TEST(CollectTexts, EveryTextGetsARowKeyedAsTheWalkReadsIt)
{
    Form f;
    f.Label("Label1", "Level")->Hint = "The level";
    f.Label("Label2", ""); // empty: no row
    auto *bar = fake::Make<fake::TStatusBar>(f.form.get(), "StatusBar1");
    bar->Panels.Add();
    static_cast<fake::TStatusPanel *>(bar->Panels.Add())->Text = "Ready";
    auto *list = fake::Make<fake::TListBox>(f.form.get(), "ListBox1");
    list->Items.SetCommaText("one,\"two words\"");
    auto *chart = fake::Make<fake::TChartBox>(f.form.get(), "Chart1");
    chart->WideText = u"wide";
    fake::Make<TMenuItem>(f.form.get(), "N1")->Caption = "-";
    fake::Make<TMenuItem>(f.form.get(), "mnuFile")->Caption = "&File";

    f.lang->CollectTexts();
    EXPECT_EQ(Texts(f.lang->Captions()), fake::Row({"TfrmTest", "Test form", "", ""}) + "\r\n" +
                                             fake::Row({"Label1", "Level", "", ""}) + "\r\n" +
                                             fake::Row({"mnuFile", "&File", "", ""}) + "\r\n");
    EXPECT_EQ(Texts(f.lang->Hints()), fake::Row({"Label1", "The level", "", ""}) + "\r\n");
    EXPECT_EQ(Texts(f.lang->Collections()),
              fake::Row({"StatusBar1.Panels[1].Text", "Ready", "", ""}) + "\r\n");
    EXPECT_EQ(Texts(f.lang->MultiLines()),
              fake::Row({"ListBox1.Items", "one,\"two words\"", "", ""}) + "\r\n");
    EXPECT_NE(Texts(f.lang->OtherStrings()).find(fake::Row({"Chart1.WideText", "wide", "", ""})),
              std::string::npos);

    // What was collected is what the walk applies.
    f.lang->StoreText(f.lang->Captions(), "Niveau", 2, "Label1");
    f.lang->StoreText(f.lang->Collections(), "Prêt", 2, "StatusBar1.Panels[1].Text");
    f.lang->SetDesigning(false, false);
    f.lang->SetActiveLanguage(2);
    EXPECT_EQ(static_cast<fake::TLabel *>(f.form->FindComponent("Label1"))->Caption, "Niveau");
    EXPECT_EQ(static_cast<fake::TStatusPanel *>(bar->Panels.Items(1))->Text, "Prêt");

    // Without AutoSkipEmpties the empty label gets a row of empty texts.
    Form g;
    g.Label("Label2", "");
    g.lang->SetAutoSkipEmpties(false);
    g.lang->CollectTexts();
    EXPECT_NE(Texts(g.lang->Captions()).find(fake::Row({"Label2", "", "", ""})), std::string::npos);
}

TEST(CollectTexts, RowsKeepTheirTranslationsAcrossRenamesAndLanguages)
{
    // The form's row keyed by its name, a row of a button since deleted, and
    // a label translated into language 2 only.
    Form f(fake::Data({"stCaptions", fake::Row({"frmTest", "Test form", "Essai", "Test"}),
                       fake::Row({"btnOld", "Start", "Démarrer", "Starten"}),
                       fake::Row({"Label1", "Level", "Niveau", ""})}));
    f.Label("Label1", "Level");
    f.Label("btnNew", "start");
    f.lang->CollectTexts();
    rtl::TStrings &captions = f.lang->Captions();
    EXPECT_EQ(captions.Strings(0), fake::Row({"TfrmTest", "Test form", "Essai", "Test"}));
    // The new button takes the deleted one's translations (matched ignoring
    // case); the old row is gone.
    EXPECT_EQ(f.lang->FindKeyText(captions, "btnNew", 2), "Démarrer");
    EXPECT_EQ(f.lang->FindKeyText(captions, "btnOld", 1), "");
    EXPECT_EQ(f.lang->RemovedRows(), nullptr);

    // Collected in language 3, where the label has no text yet: the text of
    // language 1 is not copied there; an edited text of language 2 is kept.
    f.lang->SetDesigning(false, false);
    f.lang->SetActiveLanguage(3);
    f.lang->SetDesigning(true, false);
    f.lang->CollectTexts();
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 3), "");
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 1), "Level");
    f.lang->SetDesigning(false, false);
    f.lang->SetActiveLanguage(2);
    static_cast<fake::TLabel *>(f.form->FindComponent("Label1"))->Caption = "Niveau sonore";
    f.lang->SetDesigning(true, false);
    f.lang->CollectTexts();
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 2), "Niveau sonore");
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 1), "Level");
}

TEST(CollectTexts, ExclusionsDeleteTheirRowsAndWrongPropertiesGo)
{
    Form f(fake::Data({"stHints", fake::Row({"Label1", "Tip", "", ""}), "stOtherStrings",
                       fake::Row({"Label1.Gone", "x", "", ""}),
                       fake::Row({"Chart1.WideText", "wide", "", ""})}));
    f.Label("Label1", "Level")->Hint = "Tip";
    fake::Make<fake::TChartBox>(f.form.get(), "Chart1")->WideText = u"wide";
    rtl::TStringList smart;
    smart.Add("Label1.Hint");
    f.lang->SetSmartExcludeProps(smart); // collects again
    EXPECT_EQ(f.lang->Hints().Count(), 0);
    EXPECT_EQ(f.lang->FindKeyText(f.lang->OtherStrings(), "Label1.Gone", 1), "");
    EXPECT_EQ(f.lang->FindKeyText(f.lang->OtherStrings(), "Chart1.WideText", 1), "wide");

    rtl::TStringList none;
    none.Add("Chart1");
    f.lang->SetDoNotTranslate(none);
    f.lang->CollectTexts();
    EXPECT_EQ(f.lang->FindKeyText(f.lang->OtherStrings(), "Chart1.WideText", 1), "");
    EXPECT_EQ(f.lang->FindKeyText(f.lang->Captions(), "Label1", 1), "Level");
}
