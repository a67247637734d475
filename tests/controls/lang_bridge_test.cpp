// The translation engine on real Qt widgets (offscreen).
#include "controls/lang_form.h"

#include "i18n/base/lx_rows.h"
#include "platform/rtl/typinfo.h"
#include "tests/support/translation_rows.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace i18n;

namespace {

using testsupport::Data;
using testsupport::Row;

// A window built the way the program builds its windows.
struct Window {
    std::unique_ptr<QWidget> w = std::make_unique<QWidget>();
    QLabel *label1 = Make<QLabel>("Label1", "HELLO");
    QLabel *label2 = Make<QLabel>("Label2", "keep");
    QLabel *fontLabel = Make<QLabel>("lblFont", "f");
    QLabel *parentFontLabel = Make<QLabel>("lblParent", "p");
    QPlainTextEdit *memo = Make<QPlainTextEdit>("Memo1");
    QListWidget *list = Make<QListWidget>("ListBox1");
    QComboBox *combo = Make<QComboBox>("ComboBox1");
    QStatusBar *bar = Make<QStatusBar>("StatusBar1");
    QAction *action = new QAction("&File", w.get());

    template <class W> W *Make(const char *name, const char *text = nullptr)
    {
        auto *widget = new W(w.get());
        widget->setObjectName(name);
        if constexpr (std::is_same_v<W, QLabel>)
            widget->setText(text);
        return widget;
    }

    Window()
    {
        w->setObjectName("frmTest");
        w->setWindowTitle("Test");
        action->setObjectName("mnuFile");
        memo->setPlainText("one\ntwo");
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        list->addItems({"one", "two", "three"});
        list->setCurrentRow(1);
        combo->addItems({"one", "two"});
        combo->setCurrentIndex(1);
        for (const char *name : {"Panel0", "Panel1"}) {
            auto *label = new QLabel(name);
            bar->addWidget(label);
        }
        QFont own = fontLabel->font();
        own.setFamily("Sans");
        fontLabel->setFont(own);
    }
};

const std::string kData =
    Data({"stCaptions",
          Row({"TfrmTest", "Test", "Essai"}),
          Row({"Label1", "Hello", "hello"}),
          Row({"Label2", "keep", ""}),
          Row({"mnuFile", "&File", "&Fichier"}),
          Row({"btnVanished", "Gone", "Parti"}),
          "stHints",
          Row({"Label1", "hint", "astuce"}),
          "stFonts",
          Row({"lblFont", "Sans", "Serif"}),
          Row({"lblParent", "Sans", "Serif"}),
          "stMultiLines",
          Row({"Memo1.Lines", "one,two", "un,deux"}),
          Row({"ListBox1.Items", "one,two,three", "un,deux,\"tr\xE8s bien\""}),
          Row({"ComboBox1.Items", "one,two", "un,deux"}),
          "stStrings",
          Row({"IDS_24", "Data error",
               "Erreur de donn\xE9"
               "es"}),
          "stCollections",
          Row({"StatusBar1.Panels[1].Text", "Panel1", "Panneau"}),
          Row({"StatusBar1.Panels[2].Text", "Panel2", "Panneau 2"})});

} // namespace

TEST(LangBridge, WalkOnQtWidgets)
{
    TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(2);
    Window win;
    auto *form = ui::CreateFormComponent(win.w.get(), "TfrmTest");
    auto *lang = controls::LoadFormTranslation(form, &dispatcher, 2, kData);
    EXPECT_EQ(controls::LangOf(win.w.get()), lang);
    EXPECT_EQ(win.label1->text(), "HELLO"); // language 1 is active: nothing changed yet

    dispatcher.SetActiveLanguage(2);
    EXPECT_EQ(win.w->windowTitle(), "Essai");
    EXPECT_EQ(win.label1->text(), "HELLO"); // differs only in case: not rewritten
    EXPECT_EQ(win.label1->toolTip(), "astuce");
    EXPECT_EQ(win.label2->text(), "keep"); // empty text: left as it is
    EXPECT_EQ(win.action->text(), "&Fichier");
    EXPECT_EQ(win.memo->toPlainText(), "un\ndeux");
    EXPECT_EQ(win.memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    ASSERT_EQ(win.list->count(), 3);
    EXPECT_EQ(win.list->item(2)->text(), QString::fromUtf8("tr\u00e8s bien"));
    EXPECT_EQ(win.list->currentRow(), 1);
    EXPECT_EQ(win.combo->itemText(0), "un");
    EXPECT_EQ(win.combo->currentIndex(), 1);
    auto panels = win.bar->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(panels[1]->text(), "Panneau");
    EXPECT_EQ(win.fontLabel->font().family(), "Serif");
    EXPECT_NE(win.parentFontLabel->font().family(), "Serif"); // takes its parent's font
    EXPECT_EQ(controls::StringById(lang, "IDS_24"), QString::fromUtf8("Erreur de donn\u00e9es"));

    // Rows of vanished components (and a panel that does not exist) moved out.
    ASSERT_NE(lang->RemovedRows(), nullptr);
    ASSERT_EQ(lang->RemovedRows()->Count(), 2);
    EXPECT_EQ(GetEntryField(lang->RemovedRows()->Strings(0), '\x01', 0), "btnVanished");
    EXPECT_EQ(GetEntryField(lang->RemovedRows()->Strings(1), '\x01', 0),
              "StatusBar1.Panels[2].Text");

    // A widget destroyed later: its adapter goes with it; the walk skips it.
    delete win.label1;
    EXPECT_EQ(form->FindComponent("Label1"), nullptr);
    EXPECT_NO_THROW(dispatcher.SetActiveLanguage(1));
    EXPECT_EQ(win.w->windowTitle(), "Test");
    // (A window made later comes up translated: tests/i18n, and the main
    // window's panel in tests/app.)
    EXPECT_EQ(dispatcher.LinkedCount(), 1);
    win.w.reset(); // the window takes its components along
    EXPECT_EQ(dispatcher.LinkedCount(), 0);
}

// A language whose CharSets row names RUSSIAN_CHARSET keeps its texts in code
// page 1251; real widgets show them as Cyrillic, and the Western language
// next to it stays in Windows-1252.
TEST(LangBridge, TextsTakeTheCharsetOfTheLanguage)
{
    const std::string privet = "\xCF\xF0\xE8\xE2\xE5\xF2"; // "Привет" in 1251
    const std::string data = Data(
        {"stCaptions", Row({"TfrmRu", "Caf\xE9", privet + " 1"}),
         Row({"Label1", "Caf\xE9", privet}), Row({"btnOk", "Caf\xE9", privet + "!"}),
         Row({"mnuOpen", "&Caf\xE9", "&" + privet}), "stHints",
         Row({"btnOk", "Caf\xE9", privet + "?"}), "stStrings", Row({"IDS_1", "Caf\xE9", privet}),
         "stCharSets", Row({"TfrmRu", "DEFAULT_CHARSET", "RUSSIAN_CHARSET"})});
    TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(2);
    QWidget w;
    w.setObjectName("frmRu");
    auto *label = new QLabel("x", &w);
    label->setObjectName("Label1");
    auto *button = new QPushButton("x", &w);
    button->setObjectName("btnOk");
    auto *menu = new QMenu("File", &w);
    QAction *item = menu->addAction("x");
    item->setObjectName("mnuOpen");
    auto *form = ui::CreateFormComponent(&w, "TfrmRu");
    auto *lang = controls::LoadFormTranslation(form, &dispatcher, 2, data);
    const QString cafe = QString::fromUtf8("Caf\u00e9");
    const QString cyrillic = QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442");

    dispatcher.SetActiveLanguage(2);
    EXPECT_EQ(w.windowTitle(), cyrillic + " 1");
    EXPECT_EQ(label->text(), cyrillic);
    EXPECT_EQ(button->text(), cyrillic + "!");
    EXPECT_EQ(button->toolTip(), cyrillic + "?");
    EXPECT_EQ(item->text(), "&" + cyrillic);
    EXPECT_EQ(controls::StringById(lang, "IDS_1"), cyrillic);
    // Read back through the same charset, as collecting the texts does.
    EXPECT_EQ(rtl::GetStrProp(form->FindComponent("Label1"), "Caption"), privet);

    dispatcher.SetActiveLanguage(1);
    EXPECT_EQ(w.windowTitle(), cafe);
    EXPECT_EQ(label->text(), cafe);
    EXPECT_EQ(item->text(), "&" + cafe);
    EXPECT_EQ(controls::StringById(lang, "IDS_1"), cafe);
}
