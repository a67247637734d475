// The About box in both its uses: the splash (button hidden, closed by the
// main window) and the Help menu's modal box; each clears only its own global.
#include "views/about_box.h"
#include "views/show_modal.h"

#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>

#include <gtest/gtest.h>

using views::frmAbout;
using views::gAboutForm;
using views::TfrmAbout;

namespace {
void RunDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class AboutBox : public ::testing::Test {
protected:
    void TearDown() override
    {
        delete frmAbout;
        delete gAboutForm;
        RunDeferredDeletes();
    }
};
} // namespace

TEST_F(AboutBox, ClosingTheSplashClearsOnlyItsGlobal)
{
    gAboutForm = new TfrmAbout(nullptr); // an About box open at the same time
    TfrmAbout *box = gAboutForm;
    frmAbout = new TfrmAbout(nullptr);
    QPointer<TfrmAbout> splash = frmAbout;
    frmAbout->ShowSplash();
    frmAbout->close();
    EXPECT_EQ(frmAbout, nullptr); // at once, before the window is freed
    EXPECT_EQ(gAboutForm, box);
    RunDeferredDeletes();
    EXPECT_TRUE(splash.isNull());
}

TEST_F(AboutBox, ModalBoxIsFreedAndItsGlobalClearedHoweverItCloses)
{
    frmAbout = new TfrmAbout(nullptr); // a splash still open
    TfrmAbout *splash = frmAbout;
    const std::pair<const char *, std::function<void(TfrmAbout &)>> ways[] = {
        {"OK button", [](TfrmAbout &d) { d.BitBtn1->click(); }},
        {"system menu", [](TfrmAbout &d) { d.close(); }},
        {"Escape", [](TfrmAbout &d) { d.reject(); }},
    };
    for (const auto &[name, closeIt] : ways) {
        gAboutForm = new TfrmAbout(nullptr);
        QPointer<TfrmAbout> box = gAboutForm;
        bool buttonShown = false;
        views::TModalRunnerScope runner([&](QDialog &d) {
            auto &about = static_cast<TfrmAbout &>(d);
            buttonShown = about.BitBtn1->isVisible();
            closeIt(about);
            return ui::mrNone;
        });
        gAboutForm->ShowModal();
        EXPECT_TRUE(buttonShown) << name;
        EXPECT_EQ(gAboutForm, nullptr) << name;
        EXPECT_TRUE(box.isNull()) << name;
        EXPECT_EQ(frmAbout, splash) << name;
    }

    // Freed with its owner, without closing: the global is cleared too.
    auto *owner = new QWidget;
    gAboutForm = new TfrmAbout(nullptr, owner);
    delete owner;
    EXPECT_EQ(gAboutForm, nullptr);
}

TEST_F(AboutBox, FollowsTheDispatchersLanguage)
{
    i18n::TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(i18n::kLanguageCount);
    dispatcher.SetActiveLanguage(2);
    gAboutForm = new TfrmAbout(&dispatcher);
    EXPECT_EQ(gAboutForm->windowTitle(), QString::fromUtf8("À propos de Nivora pour sonomètre"));
    EXPECT_EQ(gAboutForm->Label2->text(), QStringLiteral(NIVORA_PROJECT_VERSION));
    dispatcher.SetActiveLanguage(3);
    EXPECT_EQ(gAboutForm->Label3->text(), QString::fromUtf8("Software für Schallpegelmesser"));
    delete gAboutForm; // unlinks before the dispatcher goes
}

// The window manager's title bar holds the whole caption: the caption in bold
// and room for an icon and three buttons of at least 25 pixels each; as
// made (it shows as the splash too) and as shown, still of fixed size.
TEST_F(AboutBox, IsWideEnoughForItsCaptionInEveryLanguage)
{
    i18n::TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(i18n::kLanguageCount);
    QSet<QString> captions;
    for (int language = 1; language <= i18n::kLanguageCount; ++language) {
        dispatcher.SetActiveLanguage(language);
        gAboutForm = new TfrmAbout(&dispatcher);
        const QString caption = gAboutForm->windowTitle();
        captions << caption;
        QFont bold = gAboutForm->font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(caption) + 100;
        EXPECT_GE(gAboutForm->width(), needed) << caption.toStdString();
        views::TModalRunnerScope runner([&](QDialog &d) {
            EXPECT_GE(d.width(), needed) << caption.toStdString();
            EXPECT_EQ(d.minimumWidth(), d.maximumWidth());
            return ui::mrOk;
        });
        gAboutForm->ShowModal();
        delete gAboutForm;
    }
    EXPECT_EQ(captions.size(), i18n::kLanguageCount) << "a caption of its own in each language";
}
