// Dialogs wide enough for their whole caption: the message boxes, in each of
// the program's languages, and a dialog whose layout sizes it.
#include "platform/ui/caption_fit.h"
#include "platform/ui/qt_language.h"
#include "platform/ui/ui_services_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
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

// The width of the message box that show brings up, as it is shown.
int ShownWidth(const std::function<void()> &show, QString *caption)
{
    int width = -1;
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            width = box->width();
            *caption = box->windowTitle();
            EXPECT_GE(width, Needed(*box)) << caption->toStdString();
            box->buttons().front()->click();
        }
    });
    timer->start(5);
    show();
    return width;
}

} // namespace

TEST(CaptionFit, EveryMessageBoxShowsItsWholeCaptionInEveryLanguage)
{
    TQtUIServices services;
    const std::pair<const char *, std::function<void()>> boxes[] = {
        {"Nivora", [&] { services.ShowMessage("not available"); }},
        {"Warning", [&] { services.MessageDlg("?", mtWarning, mbYesNo); }},
        {"Error", [&] { services.MessageDlg("x", mtError, mbOK); }},
        {"Information", [&] { services.MessageDlg("i", mtInformation, mbOK); }},
        {"Confirm", [&] { services.MessageDlg("Save?", mtConfirmation, mbYesNoCancel); }},
        {"Über Nivora für Schallpegelmesser (a longer caption)",
         [&] {
             services.MessageBox("Erase?", "Über Nivora für Schallpegelmesser (a longer caption)",
                                 MB_YESNO);
         }},
    };
    for (int language = 1; language <= 8; ++language) {
        SetQtDialogLanguage(language);
        for (const auto &[expected, show] : boxes) {
            SCOPED_TRACE(testing::Message() << "language " << language << ", " << expected);
            QString caption;
            EXPECT_GT(ShownWidth(show, &caption), 0);
            EXPECT_EQ(caption, QString::fromUtf8(expected));
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
