// Scripted UI services for tests: every call is recorded (what was asked,
// with which caption and buttons, and what was answered) and answered from a
// queue of scripted answers, one queue per kind of question. Nothing ever
// blocks.
//
// Rules:
// - A box with one button (ShowMessage, MessageDlg with mbOK only, MessageBox
//   with MB_OK) answers itself and takes nothing from the queue.
// - A question with no scripted answer left is answered as Escape would
//   (Cancel, else No, else OK; dialogs are cancelled), recorded with
//   Answered = false, and reported to the OnUnanswered hook. So is a scripted
//   message answer that the box does not offer; it is used up.
//
//   ui::TScriptedUIServices services;
//   ui::TServicesScope scope(services);
//   services.SetOnUnanswered([](const ui::TUICall &c) { ADD_FAILURE() << c.Describe(); });
//   services.AnswerMessage(ui::mrYes);
//   services.AnswerFileDialog("/tmp/out.txt");
#pragma once

#include "platform/ui/ui_services.h"

#include <deque>
#include <functional>
#include <vector>

namespace ui {

enum class TUICallKind {
    MessageDlg,
    ShowMessage,
    MessageBox,
    FileDialog,
    PrintDialog,
    PrinterSetupDialog,
    OpenDocument,
    StartProgram,
};

struct TUICall {
    TUICallKind Kind = TUICallKind::ShowMessage;
    QString Text;                // the message; the document or program
    QString Caption;             // the caption the box shows
    TMsgDlgType Type = mtCustom; // MessageBox: the type of its icon
    TMsgDlgButtons Buttons = 0;  // MessageBox: the buttons its flags show
    QStringList ButtonCaptions;  // captions given in place of the standard button texts
    unsigned Flags = 0;          // MessageBox flags
    TFileDialog Dialog;          // a file dialog's settings as it was opened
    QStringList Arguments;       // StartProgram
    QString WorkingDir;          // StartProgram
    int Result = 0;              // mr*/ID* answer; dialogs and shell: 1 done, 0 not
    bool Answered = true;        // false: the answer was the Escape default
    QString Problem;             // why it was not answered

    // One line for failure messages: kind, caption, text, buttons, result.
    QString Describe() const;
};

class TScriptedUIServices : public TUIServices {
public:
    // ---- scripting
    // The next MessageDlg or MessageBox with more than one button answers this
    // (mr* and ID* values are the same numbers).
    void AnswerMessage(TModalResult result) { FMessages.push_back(result); }
    // The next file dialog is confirmed with this full path; filterIndex 0
    // keeps the dialog's FilterIndex.
    void AnswerFileDialog(const QString &fileName, int filterIndex = 0);
    void CancelFileDialog();
    // The next print dialog is confirmed (true) or cancelled; a non-empty
    // outputFile makes the printer print to that PDF file, as "print to file"
    // would.
    void AnswerPrintDialog(bool ok, const QString &outputFile = QString());
    void AnswerPrinterSetupDialog(bool ok) { FPrinterSetups.push_back(ok); }
    // What OpenDocument and StartProgram return (true unless set).
    void SetShellResult(bool ok) { FShellResult = ok; }
    void SetOnUnanswered(std::function<void(const TUICall &)> hook)
    {
        FOnUnanswered = std::move(hook);
    }

    // ---- what happened
    const std::vector<TUICall> &Calls() const { return FCalls; }
    std::vector<TUICall> CallsOf(TUICallKind kind) const;
    // All message calls (MessageDlg, ShowMessage, MessageBox) in order.
    std::vector<TUICall> Messages() const;
    // The texts of all message calls in order.
    QStringList MessageTexts() const;
    int UnansweredCount() const;
    // Scripted answers not used yet, all kinds together.
    size_t PendingAnswers() const;
    void ClearCalls() { FCalls.clear(); }

    // ---- TUIServices
    TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    TModalResult MessageDlgCaptioned(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons,
                                     const QStringList &captions) override;
    void ShowMessage(const QString &text) override;
    int MessageBox(const QString &text, const QString &caption, unsigned flags) override;
    bool ExecuteFileDialog(TFileDialog &dialog) override;
    bool ExecutePrintDialog(TPrinter &printer) override;
    bool ExecutePrinterSetupDialog(TPrinter &printer) override;
    bool OpenDocument(const QString &fileName) override;
    bool StartProgram(const QString &program, const QStringList &arguments,
                      const QString &workingDir = QString()) override;

private:
    struct FileAnswer {
        bool Ok = false;
        QString FileName;
        int FilterIndex = 0;
    };
    struct PrintAnswer {
        bool Ok = false;
        QString OutputFile;
    };

    TModalResult AnswerBox(TUICall &call);
    void Unanswered(TUICall &call, const QString &problem);

    std::deque<TModalResult> FMessages;
    std::deque<FileAnswer> FFiles;
    std::deque<PrintAnswer> FPrints;
    std::deque<bool> FPrinterSetups;
    bool FShellResult = true;
    std::function<void(const TUICall &)> FOnUnanswered;
    std::vector<TUICall> FCalls;
};

} // namespace ui
