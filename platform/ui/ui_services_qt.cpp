#include "platform/ui/ui_services_qt.h"

#include "platform/ui/caption_fit.h"
#include "platform/ui/printer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <utility>
#include <vector>

namespace ui {

namespace {

QWidget *DialogParent()
{
    return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    case mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

// Adds one button; the standard buttons bring Qt's own texts and roles.
QAbstractButton *AddButton(QMessageBox &box, TMsgDlgBtn button)
{
    switch (button) {
    case mbYes:
        return box.addButton(QMessageBox::Yes);
    case mbNo:
        return box.addButton(QMessageBox::No);
    case mbOK:
        return box.addButton(QMessageBox::Ok);
    case mbCancel:
        return box.addButton(QMessageBox::Cancel);
    case mbAbort:
        return box.addButton(QMessageBox::Abort);
    case mbRetry:
        return box.addButton(QMessageBox::Retry);
    case mbIgnore:
        return box.addButton(QMessageBox::Ignore);
    case mbAll:
        return box.addButton(QMessageBox::tr("&All"), QMessageBox::YesRole);
    case mbNoToAll:
        return box.addButton(QMessageBox::NoToAll);
    case mbYesToAll:
        return box.addButton(QMessageBox::YesToAll);
    case mbHelp:
        return box.addButton(QMessageBox::Help);
    case mbClose:
        return box.addButton(QMessageBox::Close);
    }
    return nullptr;
}

// Shows a modal box with the buttons in the given order; returns the result
// of the button pressed, or the escape result when the box is closed otherwise.
TModalResult RunBox(const QString &text, const QString &caption, QMessageBox::Icon icon,
                    const std::vector<TMsgDlgBtn> &order, TModalResult defaultResult,
                    TModalResult escapeResult, const QStringList &captions = QStringList())
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, DialogParent());
    box.setTextFormat(Qt::PlainText); // texts from files and the meter are never markup
    std::vector<std::pair<QAbstractButton *, TModalResult>> buttons;
    for (TMsgDlgBtn b : order) {
        QAbstractButton *button = AddButton(box, b);
        const qsizetype at = static_cast<qsizetype>(buttons.size());
        if (button && at < captions.size() && !captions[at].isEmpty()) {
            // A caption of its own keeps the key of its first letter, as the
            // standard "&Yes" and "&No" have theirs, unless it marks one.
            const QString &own = captions[at];
            button->setText(own);
            if (!own.contains(QLatin1Char('&')) && own[0].isLetterOrNumber())
                button->setShortcut(QKeySequence(
                    QKeyCombination(Qt::AltModifier, Qt::Key(own[0].toUpper().unicode()))));
        }
        const TModalResult result = ModalResultOf(b);
        buttons.emplace_back(button, result);
        if (result == defaultResult)
            box.setDefaultButton(qobject_cast<QPushButton *>(button));
        if (result == escapeResult)
            box.setEscapeButton(button);
    }
    FitCaption(box);
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    for (const auto &[button, result] : buttons) {
        if (button == clicked && result != mrNone)
            return result;
    }
    return escapeResult;
}

std::vector<TMsgDlgBtn> ButtonOrder(TMsgDlgButtons buttons)
{
    std::vector<TMsgDlgBtn> order;
    for (unsigned bit = 1; bit <= mbClose; bit <<= 1) {
        if (buttons & bit)
            order.push_back(static_cast<TMsgDlgBtn>(bit));
    }
    if (order.empty())
        order.push_back(mbOK);
    return order;
}

// The buttons of a MessageBox flag word in the order the flags count them
// (MB_DEFBUTTON2 is the second of these).
std::vector<TMsgDlgBtn> MessageBoxOrder(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return {mbOK, mbCancel};
    case MB_ABORTRETRYIGNORE:
        return {mbAbort, mbRetry, mbIgnore};
    case MB_YESNOCANCEL:
        return {mbYes, mbNo, mbCancel};
    case MB_YESNO:
        return {mbYes, mbNo};
    case MB_RETRYCANCEL:
        return {mbRetry, mbCancel};
    default:
        return {mbOK};
    }
}

// The extension a name typed without one gets with the current filter entry.
QString SuffixFor(const TFileDialog &dialog, int filterIndex)
{
    const QString named =
        ApplyDefaultExt(QStringLiteral("x"), dialog.Filter, filterIndex, dialog.DefaultExt);
    return named.size() > 2 ? named.mid(2) : QString();
}

// The file dialog with the class library's default extension: a name typed
// without one gets the extension of the filter entry chosen at that moment.
// An open dialog takes a typed name that exists as it stands (a file without
// an extension, a device, a pipe: its reader opens or refuses it), and adds
// the extension only to a name that does not exist.
class FileDialog : public QFileDialog {
public:
    FileDialog(const TFileDialog &settings)
        : QFileDialog(DialogParent(), settings.Title, settings.InitialDir), FSettings(settings)
    {
    }

protected:
    void accept() override
    {
        const int index = FilterIndexOfQtName(FSettings.Filter, selectedNameFilter());
        QString suffix = SuffixFor(FSettings, index > 0 ? index : FSettings.FilterIndex);
        if (acceptMode() == QFileDialog::AcceptOpen && !suffix.isEmpty()) {
            setDefaultSuffix(QString());
            const QStringList typed = selectedFiles();
            if (!typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](const QString &f) {
                    return QFileInfo(f).exists() || QFileInfo(f).isSymLink();
                }))
                suffix.clear();
        }
        if (acceptMode() == QFileDialog::AcceptSave && !suffix.isEmpty())
            ForgetListedNameWithoutExtension();
        setDefaultSuffix(suffix);
        QFileDialog::accept();
    }

private:
    // Typing a name selects the file of that name in the folder's list, and
    // Qt then saves to the listed file as it is: a typed "data" beside a file
    // "data" would lose its extension. A name without one is taken as typed.
    void ForgetListedNameWithoutExtension()
    {
        const auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!edit)
            return;
        const QString typed = edit->text();
        if (typed.isEmpty() || typed.contains(QLatin1Char('"')) ||
            QFileInfo(typed).fileName().contains(QLatin1Char('.')))
            return;
        for (const char *name : {"listView", "treeView"}) // the folder's list and details
            if (auto *view = findChild<QAbstractItemView *>(QLatin1String(name)))
                if (view->selectionModel())
                    view->selectionModel()->clearSelection();
    }

    const TFileDialog &FSettings;
};

} // namespace

TModalResult TQtUIServices::MessageDlg(const QString &text, TMsgDlgType type,
                                       TMsgDlgButtons buttons)
{
    return MessageDlgCaptioned(text, type, buttons, QStringList());
}

TModalResult TQtUIServices::MessageDlgCaptioned(const QString &text, TMsgDlgType type,
                                                TMsgDlgButtons buttons, const QStringList &captions)
{
    const TMsgDlgButtons shown = buttons ? buttons : TMsgDlgButtons(mbOK);
    return RunBox(text, MessageDlgCaption(type), IconOf(type), ButtonOrder(shown),
                  DefaultResult(shown), EscapeResult(shown), captions);
}

void TQtUIServices::ShowMessage(const QString &text)
{
    RunBox(text, ApplicationTitle(), QMessageBox::NoIcon, {mbOK}, mrOk, mrOk);
}

int TQtUIServices::MessageBox(const QString &text, const QString &caption, unsigned flags)
{
    const std::vector<TMsgDlgBtn> order = MessageBoxOrder(flags);
    const size_t defaultIndex = (flags >> 8) & 0xF;
    const TModalResult defaultResult =
        ModalResultOf(order[defaultIndex < order.size() ? defaultIndex : 0]);
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : order)
        set |= b;
    return RunBox(text, caption.isEmpty() ? ApplicationTitle() : caption,
                  IconOf(MessageBoxType(flags)), order, defaultResult, EscapeResult(set));
}

bool TQtUIServices::ExecuteFileDialog(TFileDialog &dialog)
{
    const bool save = dialog.Kind == TFileDialogKind::Save;
    FileDialog box(dialog);
    box.setOption(QFileDialog::DontUseNativeDialog, true); // case-insensitive filters
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode((!save && (dialog.Options & ofFileMustExist)) ? QFileDialog::ExistingFile
                                                                  : QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Options & ofOverwritePrompt));
    const QStringList names = QtNameFilters(dialog.Filter);
    box.setNameFilters(names);
    int index = dialog.FilterIndex;
    if (index < 1 || index > names.size())
        index = 1;
    box.selectNameFilter(names[index - 1]);
    if (!dialog.FileName.isEmpty())
        box.selectFile(dialog.FileName);
    if (box.exec() != QDialog::Accepted)
        return false;
    const QStringList files = box.selectedFiles();
    if (files.isEmpty())
        return false;
    dialog.FileName = files.front();
    const int chosen = FilterIndexOfQtName(dialog.Filter, box.selectedNameFilter());
    if (chosen > 0)
        dialog.FilterIndex = chosen;
    return true;
}

bool TQtUIServices::ExecutePrintDialog(TPrinter &printer)
{
    QPrintDialog box(&printer.QtPrinter(), DialogParent());
    return box.exec() == QDialog::Accepted;
}

bool TQtUIServices::ExecutePrinterSetupDialog(TPrinter &printer)
{
    QPageSetupDialog box(&printer.QtPrinter(), DialogParent());
    return box.exec() == QDialog::Accepted;
}

bool TQtUIServices::OpenDocument(const QString &fileName)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

bool TQtUIServices::StartProgram(const QString &program, const QStringList &arguments,
                                 const QString &workingDir)
{
    return QProcess::startDetached(program, arguments, workingDir);
}

} // namespace ui
