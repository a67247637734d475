// Dialogs wide enough for their whole caption: the message boxes, in each of
// the program's languages, and a dialog whose layout sizes it.
#include "platform/ui/caption_fit.h"
#include "platform/ui/qt_language.h"
#include "platform/ui/ui_services_qt.h"
#include "tests/support/when_modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <functional>

#include <gtest/gtest.h>

using namespace ui;

namespace {

// What a title bar needs at least: the caption in bold and room for an icon
// and three buttons of at least 25 pixels each.
int Needed(const QWidget &window)
{
    QFont bold = window.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 100;
}

} // namespace

// A box of one OK button is as narrow as its caption lets it be (Yes, No and
// Cancel make a box wide enough anyway): one for each kind of call.
TEST(CaptionFit, EveryMessageBoxShowsItsWholeCaptionInEveryLanguage)
{
    TQtUIServices services;
    const QString longer =
        QString::fromUtf8("Über Nivora für Schallpegelmesser (a longer caption)");
    const std::pair<QString, std::function<void()>> boxes[] = {
        {"Nivora", [&] { services.ShowMessage("not available"); }},
        {"Information", [&] { services.MessageDlg("i", mtInformation, mbOK); }},
        {longer, [&] { services.MessageBox("Erase?", longer, MB_OK); }},
    };
    for (int language = 1; language <= 8; ++language) {
        SetQtDialogLanguage(language);
        for (const auto &[expected, show] : boxes) {
            SCOPED_TRACE(testing::Message()
                         << "language " << language << ", " << expected.toStdString());
            bool shown = false;
            testsupport::WhenModal<QMessageBox>([&](QMessageBox *box) {
                shown = true;
                EXPECT_EQ(box->windowTitle(), expected);
                EXPECT_GE(box->width(), Needed(*box));
                box->buttons().front()->click();
            });
            show();
            EXPECT_TRUE(shown);
        }
    }
    SetQtDialogLanguage(1);
}

TEST(CaptionFit, ADialogThatSizesItselfKeepsTheWidthAndANewCaptionIsFittedAgain)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new QLabel("50 %"));
    dialog.setWindowTitle("Saving the data of the real-time graph");
    FitCaption(dialog);
    dialog.show();
    layout->activate();
    EXPECT_GE(dialog.width(), Needed(dialog));
    EXPECT_EQ(dialog.minimumWidth(), dialog.maximumWidth()) << "still fixed";

    dialog.setWindowTitle("Opening the file that was chosen in the open dialog just now");
    FitCaption(dialog);
    layout->activate();
    EXPECT_GE(dialog.width(), Needed(dialog));

    // A dialog of fixed size without a layout stays fixed, at the new width.
    QDialog fixed;
    fixed.setFixedSize(120, 80);
    fixed.setWindowTitle("About Nivora For Sound Level Meter");
    FitCaption(fixed);
    EXPECT_GE(fixed.width(), Needed(fixed));
    EXPECT_EQ(fixed.minimumSize(), fixed.maximumSize());
    EXPECT_EQ(fixed.height(), 80);
}
