// Collecting a form's texts into the tables: every text gets a row with the key the walk reads
// back; existing rows take the current text only where that loses no translation; rows of vanished
// components go, and a row dropped for a renamed component is reused.
#include "fake_form.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include <gtest/gtest.h>

using namespace i18n;
using fake::Row;

namespace {

class TMenuItem : public rtl::TComponent {
    RTL_DECLARE_CLASS(TMenuItem)
public:
    using rtl::TComponent::TComponent;
    std::string Caption;
};
RTL_IMPLEMENT_PUBLISHED_CLASS(TMenuItem, rtl::TComponent)
{
    FAKE_STRING(TMenuItem, "Caption", "TCaption", Caption);
}

// The test form in the designer, captioned "Test form", with a component of three languages.
struct Form : fake::TTestForm {
    TlxLangLinked *lang = nullptr;

    explicit Form(const std::string &data = fake::Data({}))
    {
        form->Caption = "Test form";
        lang = Load(data, 3);
        lang->SetDesigning(true, false);
    }
};

} // namespace

TEST(CollectTexts, EveryTextGetsARowKeyedAsTheWalkReadsIt)
{
    Form f;
    f.label1->Caption = "Level";
    f.label1->Hint = "The level"; // Label2 is empty: no row
    f.bar->Text(1) = "Ready";
    f.list->Items.SetCommaText("one,\"two words\"");
    f.chart->WideText = u"wide";
    fake::Make<TMenuItem>(f.form.get(), "N1")->Caption = "-";
    fake::Make<TMenuItem>(f.form.get(), "mnuFile")->Caption = "&File";

    f.lang->CollectTexts();
    EXPECT_EQ(f.lang->Captions().Text(), Row({"TfrmTest", "Test form", "", ""}) + "\r\n" +
                                             Row({"Label1", "Level", "", ""}) + "\r\n" +
                                             Row({"mnuFile", "&File", "", ""}) + "\r\n");
    EXPECT_EQ(f.lang->Hints().Text(), Row({"Label1", "The level", "", ""}) + "\r\n");
    EXPECT_EQ(f.lang->Collections().Text(),
              Row({"StatusBar1.Panels[1].Text", "Ready", "", ""}) + "\r\n");
    EXPECT_EQ(f.lang->MultiLines().Text(),
              Row({"ListBox1.Items", "one,\"two words\"", "", ""}) + "\r\n");
    EXPECT_NE(f.lang->OtherStrings().Text().find(Row({"Chart1.WideText", "wide", "", ""})),
              std::string::npos);

    // What was collected is what the walk applies.
    f.lang->StoreText(f.lang->Captions(), "Niveau", 2, "Label1");
    f.lang->StoreText(f.lang->Collections(), "Prêt", 2, "StatusBar1.Panels[1].Text");
    f.lang->SetDesigning(false, false);
    f.lang->SetActiveLanguage(2);
    EXPECT_EQ(f.label1->Caption, "Niveau");
    EXPECT_EQ(f.bar->Text(1), "Prêt");

    // Without AutoSkipEmpties the empty label gets a row of empty texts.
    Form g;
    g.lang->SetAutoSkipEmpties(false);
    g.lang->CollectTexts();
    EXPECT_NE(g.lang->Captions().Text().find(Row({"Label2", "", "", ""})), std::string::npos);
}

TEST(CollectTexts, RowsKeepTheirTranslationsAcrossRenamesAndLanguages)
{
    // The form's row keyed by its name, a row of a button since deleted, and a label translated
    // into language 2 only.
    Form f(fake::Data({"stCaptions", Row({"frmTest", "Test form", "Essai", "Test"}),
                       Row({"btnOld", "Start", "Démarrer", "Starten"}),
                       Row({"Label1", "Level", "Niveau", ""})}));
    f.label1->Caption = "Level";
    fake::Make<fake::TLabel>(f.form.get(), "btnNew")->Caption = "start";
    f.lang->CollectTexts();
    rtl::TStrings &captions = f.lang->Captions();
    EXPECT_EQ(captions.Strings(0), Row({"TfrmTest", "Test form", "Essai", "Test"}));
    // The new button takes the deleted one's translations (matched ignoring case); the old row is
    // gone.
    EXPECT_EQ(f.lang->FindKeyText(captions, "btnNew", 2), "Démarrer");
    EXPECT_EQ(f.lang->FindKeyText(captions, "btnOld", 1), "");
    EXPECT_EQ(f.lang->RemovedRows(), nullptr);

    // Collected in language 3, where the label has no text yet: the text of language 1 is not
    // copied there; an edited text of language 2 is kept.
    f.lang->SetDesigning(false, false);
    f.lang->SetActiveLanguage(3);
    f.lang->SetDesigning(true, false);
    f.lang->CollectTexts();
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 3), "");
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 1), "Level");
    f.lang->SetDesigning(false, false);
    f.lang->SetActiveLanguage(2);
    f.label1->Caption = "Niveau sonore";
    f.lang->SetDesigning(true, false);
    f.lang->CollectTexts();
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 2), "Niveau sonore");
    EXPECT_EQ(f.lang->FindKeyText(captions, "Label1", 1), "Level");
}
