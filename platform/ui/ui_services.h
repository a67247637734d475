// The UI services: every modal interaction of the program (message boxes,
// open and save dialogs, the print and printer set-up dialogs, opening a
// document with the desktop's handler, starting a program) goes through one
// interface. The program installs the Qt implementation (ui_services_qt.h);
// tests install the scripted one (ui_services_script.h), which answers from
// queues and never blocks.
//
// Texts are QStrings; 8-bit texts of the translation engine are converted
// with AnsiToQString (locale_settings.h) before they get here. File names are
// full paths with '/'.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace ui {

class TPrinter;

// ---- message boxes ---------------------------------------------------------

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of MessageDlg, or-ed into a TMsgDlgButtons set: mbYes | mbNo.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
    mbClose = 1u << 11,
};
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// Modal results. The message box results (IDOK .. IDNO) have the same values.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;
inline constexpr TModalResult mrClose = 11;

// Application.MessageBox flags and results.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The buttons a MessageBox flag word shows (mbOK for an unknown button code).
TMsgDlgButtons MessageBoxButtons(unsigned flags);
// The message type a MessageBox flag word's icon stands for (mtCustom: none).
TMsgDlgType MessageBoxType(unsigned flags);
// The result of one button (mrNone for mbHelp and for no button).
TModalResult ModalResultOf(TMsgDlgBtn button);
// The button that answers Escape or the close box: Cancel, else No, else OK,
// else the only button; mrCancel when the set offers none of these.
TModalResult EscapeResult(TMsgDlgButtons buttons);
// The default button's result: Yes or OK when offered, else the first button.
TModalResult DefaultResult(TMsgDlgButtons buttons);
// True when the result is the answer of a button in the set.
bool ResultOffered(TModalResult result, TMsgDlgButtons buttons);
// The caption MessageDlg shows for a type: "Warning", "Error",
// "Information", "Confirm"; the application title for mtCustom.
QString MessageDlgCaption(TMsgDlgType type);

// ---- file dialogs ----------------------------------------------------------

enum TOpenOption : unsigned {
    ofOverwritePrompt = 1u << 0, // save: ask before replacing an existing file
    ofHideReadOnly = 1u << 1,
    ofEnableSizing = 1u << 2,
    ofFileMustExist = 1u << 3,
    ofPathMustExist = 1u << 4,
    ofNoChangeDir = 1u << 5,
};
using TOpenOptions = unsigned;

enum class TFileDialogKind { Open, Save };

// The settings of an open or save dialog and, after Execute, its answer.
// Filter uses the class library's form, description and pattern in turn,
// separated by '|': "Text files (*.txt)|*.txt|All (*.*)|*.*" (several
// patterns of one entry separated by ';'). FilterIndex is 1-based.
struct TFileDialog {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Title; // empty: the dialog's own title
    QString Filter;
    int FilterIndex = 1; // in: the entry offered first; out: the one chosen
    // "txt", ".txt" or "*.txt": appended to a name typed without one; an open
    // dialog takes a typed name that exists as it stands.
    QString DefaultExt;
    QString InitialDir; // empty: the current folder
    QString FileName;   // in: the name proposed; out: the full path chosen
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
};

// One entry of a filter string.
struct TFilterEntry {
    QString Description;
    QStringList Patterns; // "*.txt", "*.*"
    bool operator==(const TFilterEntry &) const = default;
};

// Splits a class-library filter string. An entry without a pattern field (an
// odd field at the end) gets "*"; empty descriptions and patterns are kept.
std::vector<TFilterEntry> ParseFilter(const QString &filter);
// The class-library filter string of the entries (ParseFilter's inverse).
QString BuildFilter(const std::vector<TFilterEntry> &entries);
// Qt name filters: "Text files (*.txt) (*.txt)" per entry, blanks simplified
// as Qt keeps them; no filter gives "*".
QStringList QtNameFilters(const QString &filter);
// The 1-based index of a Qt name filter among QtNameFilters(filter); 0 when absent.
int FilterIndexOfQtName(const QString &filter, const QString &qtNameFilter);
// The extension DefaultExt stands for, without dot or star ("*.ghf" -> "ghf").
QString NormalizedDefaultExt(const QString &defaultExt);
// A save name the user typed without an extension gets one: the extension of
// the chosen filter entry when its first pattern is a plain "*.ext", else the
// default extension (none when DefaultExt is empty). A name with an extension
// stays as it is.
QString ApplyDefaultExt(const QString &fileName, const QString &filter, int filterIndex,
                        const QString &defaultExt);

// ---- the services ----------------------------------------------------------

class TUIServices {
public:
    virtual ~TUIServices() = default;

    // The class library's MessageDlg: returns the chosen button's mr* result.
    virtual TModalResult MessageDlg(const QString &text, TMsgDlgType type,
                                    TMsgDlgButtons buttons) = 0;
    // MessageDlg whose buttons carry the given captions, in the order the
    // buttons are shown, instead of their standard (translated) texts; a
    // missing or empty caption keeps the standard text.
    virtual TModalResult MessageDlgCaptioned(const QString &text, TMsgDlgType type,
                                             TMsgDlgButtons buttons, const QStringList &captions)
    {
        (void)captions;
        return MessageDlg(text, type, buttons);
    }
    // A message with an OK button and the application title as caption.
    virtual void ShowMessage(const QString &text) = 0;
    // Application.MessageBox: MB_* flags in, ID* result out. An empty caption
    // shows the application title.
    virtual int MessageBox(const QString &text, const QString &caption, unsigned flags) = 0;

    // Open or save dialog by dialog.Kind. True when confirmed; then FileName
    // and FilterIndex hold the answer. Cancelled: dialog is unchanged.
    virtual bool ExecuteFileDialog(TFileDialog &dialog) = 0;
    // The print dialog on a printer (copies, range, printer choice, print to
    // file); true when confirmed.
    virtual bool ExecutePrintDialog(TPrinter &printer) = 0;
    // True when the print dialog itself asks before a job to a file replaces
    // an existing file (Qt's does).
    virtual bool PrintDialogAsksBeforeReplacing() const { return false; }
    // The printer set-up dialog (paper, orientation); true when confirmed.
    virtual bool ExecutePrinterSetupDialog(TPrinter &printer) = 0;

    // Opens a document with the desktop's handler (the shell's "open").
    virtual bool OpenDocument(const QString &fileName) = 0;
    // Starts a program without waiting for it; workingDir empty: the current one.
    virtual bool StartProgram(const QString &program, const QStringList &arguments,
                              const QString &workingDir = QString()) = 0;

    // The application object's display of an exception's message: an error
    // box with an OK button and the application title as caption. A message
    // that does not end in a full stop (or a character below it) gets one.
    void ShowException(const QString &message);
};

// The current services. Until SetServices is called: a Qt implementation
// made on first use. SetServices does not take ownership; nullptr goes back
// to that default.
TUIServices &Services();
void SetServices(TUIServices *services);

// Installs services for the lifetime of the guard (tests).
class TServicesScope {
public:
    explicit TServicesScope(TUIServices &services);
    ~TServicesScope();
    TServicesScope(const TServicesScope &) = delete;
    TServicesScope &operator=(const TServicesScope &) = delete;

private:
    TUIServices *FPrevious;
};

// The calls a window makes, spelled as the class library spells them.
inline TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return Services().MessageDlg(text, type, buttons);
}
inline TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons,
                               const QStringList &captions)
{
    return Services().MessageDlgCaptioned(text, type, buttons, captions);
}
inline void ShowMessage(const QString &text)
{
    Services().ShowMessage(text);
}

// The print dialog as the program shows it. Confirmed for a job to a file
// that exists, it asks whether to replace the file, as a save dialog does
// (unless the dialog itself asked). False when the dialog is cancelled or the
// file is to be kept.
bool ExecutePrintDialog(TPrinter &printer);

// The application title: "Nivora" unless set (TApplication::SetTitle).
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

} // namespace ui
