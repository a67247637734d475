// The UI services: filter strings, default extensions, button rules and the
// scripted services that tests of the windows answer through.
#include "platform/ui/printer.h"
#include "platform/ui/ui_services.h"
#include "platform/ui/ui_services_qt.h"
#include "platform/ui/ui_services_script.h"
#include "tests/support/when_modal.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ui;

namespace {

const QString kGridFilter = QStringLiteral(
    "TXT file(*.txt,data seperated by tab)|*.TXT|EXCEL file format(*.csv,seperated by comma) "
    "|*.CSV");

using testsupport::WhenModal;

} // namespace

TEST(FilterString, ParsesAndRebuildsTheClassLibraryForm)
{
    const QString filters[] = {
        kGridFilter, QStringLiteral(" TXT file(*.txt,data seperated by tab)|*.TXT"),
        QStringLiteral("Text and CSV|*.txt;*.csv|All (*.*)|*.*"),
        QStringLiteral("|*.ghf"), // an empty description stays
    };
    for (const QString &f : filters)
        EXPECT_EQ(BuildFilter(ParseFilter(f)), f) << f.toStdString();

    const auto entries = ParseFilter(QStringLiteral("Text and CSV|*.txt;*.csv|All (*.*)|*.*"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Patterns, (QStringList{"*.txt", "*.csv"}));
    EXPECT_EQ(entries[1].Description, "All (*.*)");

    // A description without its pattern field gets "*"; nothing gives nothing.
    const auto odd = ParseFilter(QStringLiteral("Graph|*.ghf|Other"));
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_EQ(odd[1].Patterns, QStringList{"*"});
    EXPECT_TRUE(ParseFilter(QString()).empty());
}

TEST(FilterString, QtNameFiltersMapBackToTheirIndex)
{
    // Descriptions with parentheses of their own keep their patterns last,
    // where Qt reads them; "*.*" means every file.
    const QStringList names = QtNameFilters(kGridFilter);
    ASSERT_EQ(names.size(), 2);
    EXPECT_TRUE(names[0].endsWith("(*.TXT)"));
    EXPECT_EQ(QtNameFilters(QStringLiteral("All|*.*|Two|*.a;*.b")),
              (QStringList{"All (*)", "Two (*.a *.b)"}));
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(FilterIndexOfQtName(kGridFilter, names[i]), i + 1);
    EXPECT_EQ(FilterIndexOfQtName(kGridFilter, QStringLiteral("nothing (*)")), 0);
    // Qt hands the names back with their blanks simplified; the trailing
    // blank of the CSV entry's description must not lose it.
    EXPECT_EQ(FilterIndexOfQtName(kGridFilter, names[1].simplified()), 2);
    EXPECT_FALSE(names[1].contains("  "));
    EXPECT_EQ(QtNameFilters(QString()), QStringList{"*"});
}

TEST(FilterString, DefaultExtensionFollowsTheChosenEntry)
{
    // The grid save: default "TXT", but the CSV entry chosen gives ".CSV",
    // which the export reads as the comma separator.
    EXPECT_EQ(ApplyDefaultExt("/d/data", kGridFilter, 2, "TXT"), "/d/data.CSV");
    EXPECT_EQ(ApplyDefaultExt("/d/data", kGridFilter, 1, "TXT"), "/d/data.TXT");
    EXPECT_EQ(ApplyDefaultExt("/d/data.txt", kGridFilter, 2, "TXT"), "/d/data.txt");
    // A folder name with a dot does not count as an extension.
    EXPECT_EQ(ApplyDefaultExt("/d.x/data", kGridFilter, 1, "TXT"), "/d.x/data.TXT");
    // The stored form "*.ghf" and wildcard entries fall back to the default.
    EXPECT_EQ(ApplyDefaultExt("/d/g", "All|*.*", 1, "*.ghf"), "/d/g.ghf");
    EXPECT_EQ(ApplyDefaultExt("/d/g", kGridFilter, 9, ".ghf"), "/d/g.ghf");
    // No default extension: the name stays as typed.
    EXPECT_EQ(ApplyDefaultExt("/d/data", kGridFilter, 2, ""), "/d/data");
}

TEST(MessageButtons, EscapeDefaultAndFlagRules)
{
    EXPECT_EQ(EscapeResult(mbYesNoCancel), mrCancel);
    EXPECT_EQ(EscapeResult(mbYesNo), mrNo);
    EXPECT_EQ(EscapeResult(mbAbortRetryIgnore), mrCancel); // none answers Escape
    EXPECT_EQ(EscapeResult(mbRetry), mrRetry);
    EXPECT_EQ(DefaultResult(mbYesNoCancel), mrYes);
    EXPECT_EQ(DefaultResult(mbAbortRetryIgnore), mrAbort);
    EXPECT_EQ(MessageBoxButtons(MB_YESNO | MB_ICONQUESTION), mbYesNo);
    EXPECT_EQ(MessageBoxButtons(MB_RETRYCANCEL), mbRetry | mbCancel);
    EXPECT_EQ(MessageBoxType(MB_OK | MB_ICONSTOP), mtError);
    EXPECT_EQ(MessageBoxType(MB_ICONWARNING), mtWarning);
    EXPECT_TRUE(ResultOffered(mrAll, mbYes | mbAll));
    EXPECT_FALSE(ResultOffered(mrOk, mbYesNo));
    EXPECT_FALSE(ResultOffered(mrNone, mbHelp | mbOK));
}

TEST(ScriptedServices, AnswersInOrderAndRecordsEveryCall)
{
    TScriptedUIServices services;
    TServicesScope scope(services);
    services.AnswerMessage(mrNo);
    services.AnswerMessage(IDYES);
    services.AnswerFileDialog("/tmp/out", 2);

    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrNo);
    ShowMessage("not available"); // one button: answers itself
    EXPECT_EQ(Services().MessageBox("Erase?", "", MB_YESNO | MB_ICONQUESTION), IDYES);

    TFileDialog save;
    save.Kind = TFileDialogKind::Save;
    save.Filter = kGridFilter;
    save.FileName = "old";
    EXPECT_TRUE(Services().ExecuteFileDialog(save));
    EXPECT_EQ(save.FileName, "/tmp/out");
    EXPECT_EQ(save.FilterIndex, 2);

    ASSERT_EQ(services.Calls().size(), 4u);
    const TUICall &dlg = services.Calls()[0];
    EXPECT_EQ(dlg.Kind, TUICallKind::MessageDlg);
    EXPECT_EQ(dlg.Caption, "Confirm");
    EXPECT_EQ(dlg.Buttons, mbYesNoCancel);
    EXPECT_EQ(services.Calls()[1].Caption, ApplicationTitle());
    EXPECT_EQ(services.Calls()[2].Caption, ApplicationTitle()); // empty caption
    EXPECT_EQ(services.Calls()[2].Type, mtConfirmation);
    EXPECT_EQ(services.Calls()[3].Dialog.FileName, "old"); // the dialog as it was opened
    EXPECT_EQ(services.MessageTexts(), (QStringList{"Save changes?", "not available", "Erase?"}));
    EXPECT_EQ(services.UnansweredCount(), 0);
    EXPECT_EQ(services.PendingAnswers(), 0u);
}

TEST(ScriptedServices, MissingOrWrongAnswersAreEscapedAndReported)
{
    TScriptedUIServices services;
    QStringList reported;
    services.SetOnUnanswered([&](const TUICall &c) { reported << c.Describe(); });

    EXPECT_EQ(services.MessageDlg("Overwrite?", mtWarning, mbYesNo), mrNo);
    services.AnswerMessage(mrOk); // not a button of the next box
    EXPECT_EQ(services.MessageDlg("Retry?", mtError, mbAbortRetryIgnore), mrCancel);
    EXPECT_EQ(services.PendingAnswers(), 0u); // the wrong answer is used up

    TFileDialog open;
    open.FileName = "kept";
    EXPECT_FALSE(services.ExecuteFileDialog(open));
    EXPECT_EQ(open.FileName, "kept");
    EXPECT_FALSE(services.ExecutePrintDialog(Printer()));
    EXPECT_FALSE(services.ExecutePrinterSetupDialog(Printer()));

    EXPECT_EQ(services.UnansweredCount(), 5);
    ASSERT_EQ(reported.size(), 5);
    EXPECT_TRUE(reported[0].contains("Overwrite?"));
    EXPECT_TRUE(reported[1].contains("not one of the buttons"));
}

TEST(ScriptedServices, ExceptionDisplayEndsTheMessageWithAFullStop)
{
    TScriptedUIServices services;
    services.ShowException("/home/u/Documents/MX4820/temp");
    services.ShowException("Disk full.");
    services.ShowException("Nothing to graph !"); // '!' sorts before '.': kept
    services.ShowException("");
    const auto shown = services.Messages();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].Text, "/home/u/Documents/MX4820/temp.");
    EXPECT_EQ(shown[1].Text, "Disk full.");
    EXPECT_EQ(shown[2].Text, "Nothing to graph !");
    EXPECT_EQ(shown[3].Text, "");
    EXPECT_EQ(shown[0].Type, mtError);
    EXPECT_EQ(shown[0].Caption, ApplicationTitle());
}

TEST(QtServices, ButtonsAnswerWithTheirResults)
{
    TQtUIServices services;
    WhenModal<QMessageBox>([](QMessageBox *box) {
        EXPECT_EQ(box->windowTitle(), "Confirm");
        EXPECT_EQ(box->buttons().size(), 3);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(services.MessageDlg("Save?", mtConfirmation, mbYesNoCancel), mrNo);

    // MB_DEFBUTTON2 makes the second button (No) the default.
    WhenModal<QMessageBox>([](QMessageBox *box) { box->defaultButton()->click(); });
    EXPECT_EQ(services.MessageBox("Erase?", "Nivora", MB_YESNO | MB_DEFBUTTON2), IDNO);

    WhenModal<QMessageBox>([](QMessageBox *box) {
        for (QAbstractButton *b : box->buttons()) {
            if (b->text().contains("All"))
                b->click();
        }
    });
    EXPECT_EQ(services.MessageDlg("Replace?", mtWarning, mbYes | mbNo | mbAll), mrAll);

    // Captions given for the buttons replace the standard texts, whatever
    // language Qt's own texts are in; their results stay.
    WhenModal<QMessageBox>([](QMessageBox *box) {
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "Yes");
        EXPECT_EQ(box->button(QMessageBox::No)->text(), "No");
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(services.MessageDlgCaptioned("Erase?", mtConfirmation, mbYesNo, {"Yes", "No"}),
              mrYes);

    // ... and their keys: Y and N answer, as they do the standard buttons.
    for (auto [key, result] : {std::pair{Qt::Key_N, mrNo}, std::pair{Qt::Key_Y, mrYes}}) {
        WhenModal<QMessageBox>([key = key](QMessageBox *box) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
        });
        EXPECT_EQ(services.MessageDlgCaptioned("Erase?", mtConfirmation, mbYesNo, {"Yes", "No"}),
                  result);
    }
}

TEST(QtServices, SaveDialogTakesTheChosenFilterAndItsExtension)
{
    QTemporaryDir dir;
    TQtUIServices services;
    TFileDialog save;
    save.Kind = TFileDialogKind::Save;
    save.Filter = kGridFilter;
    save.DefaultExt = "TXT";
    save.InitialDir = dir.path();
    save.Options |= ofOverwritePrompt;
    // A save dialog adds the extension even to a typed name that exists
    // (where an open dialog takes it as it stands).
    ASSERT_TRUE(QFile(dir.filePath("data")).open(QIODevice::WriteOnly));
    testsupport::TypeIntoFileDialog("data", 1);
    ASSERT_TRUE(services.ExecuteFileDialog(save));
    EXPECT_EQ(save.FileName.toStdString(), (dir.path() + "/data.CSV").toStdString());
    EXPECT_EQ(save.FilterIndex, 2);

    WhenModal<QFileDialog>([](QFileDialog *d) { d->reject(); });
    TFileDialog cancelled = save;
    EXPECT_FALSE(services.ExecuteFileDialog(cancelled));
    EXPECT_EQ(cancelled.FileName, save.FileName);
}
