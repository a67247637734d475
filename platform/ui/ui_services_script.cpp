#include "platform/ui/ui_services_script.h"

#include "platform/ui/printer.h"

namespace ui {

namespace {

const char *KindName(TUICallKind kind)
{
    switch (kind) {
    case TUICallKind::MessageDlg:
        return "MessageDlg";
    case TUICallKind::ShowMessage:
        return "ShowMessage";
    case TUICallKind::MessageBox:
        return "MessageBox";
    case TUICallKind::FileDialog:
        return "FileDialog";
    case TUICallKind::PrintDialog:
        return "PrintDialog";
    case TUICallKind::PrinterSetupDialog:
        return "PrinterSetupDialog";
    case TUICallKind::OpenDocument:
        return "OpenDocument";
    case TUICallKind::StartProgram:
        return "StartProgram";
    }
    return "?";
}

bool IsMessage(TUICallKind kind)
{
    return kind == TUICallKind::MessageDlg || kind == TUICallKind::ShowMessage ||
           kind == TUICallKind::MessageBox;
}

bool SingleButton(TMsgDlgButtons buttons)
{
    const unsigned answering = buttons & ~static_cast<unsigned>(mbHelp);
    return answering == 0 || (answering & (answering - 1)) == 0;
}

} // namespace

QString TUICall::Describe() const
{
    QString s = QString::fromLatin1(KindName(Kind));
    if (!Caption.isEmpty())
        s += QStringLiteral(" [") + Caption + QLatin1Char(']');
    if (Kind == TUICallKind::FileDialog)
        s += QStringLiteral(" filter \"") + Dialog.Filter + QLatin1Char('"');
    else
        s += QStringLiteral(" \"") + Text + QLatin1Char('"');
    if (IsMessage(Kind))
        s += QStringLiteral(" buttons 0x") + QString::number(Buttons, 16);
    s += QStringLiteral(" -> ") + QString::number(Result);
    if (!Answered)
        s += QStringLiteral(" (not answered: ") + Problem + QLatin1Char(')');
    return s;
}

void TScriptedUIServices::AnswerFileDialog(const QString &fileName, int filterIndex)
{
    FFiles.push_back({true, fileName, filterIndex});
}

void TScriptedUIServices::CancelFileDialog()
{
    FFiles.push_back({false, QString(), 0});
}

void TScriptedUIServices::AnswerPrintDialog(bool ok, const QString &outputFile)
{
    FPrints.push_back({ok, outputFile});
}

std::vector<TUICall> TScriptedUIServices::CallsOf(TUICallKind kind) const
{
    std::vector<TUICall> out;
    for (const TUICall &c : FCalls) {
        if (c.Kind == kind)
            out.push_back(c);
    }
    return out;
}

std::vector<TUICall> TScriptedUIServices::Messages() const
{
    std::vector<TUICall> out;
    for (const TUICall &c : FCalls) {
        if (IsMessage(c.Kind))
            out.push_back(c);
    }
    return out;
}

QStringList TScriptedUIServices::MessageTexts() const
{
    QStringList out;
    for (const TUICall &c : FCalls) {
        if (IsMessage(c.Kind))
            out << c.Text;
    }
    return out;
}

int TScriptedUIServices::UnansweredCount() const
{
    int n = 0;
    for (const TUICall &c : FCalls)
        n += c.Answered ? 0 : 1;
    return n;
}

size_t TScriptedUIServices::PendingAnswers() const
{
    return FMessages.size() + FFiles.size() + FPrints.size() + FPrinterSetups.size();
}

void TScriptedUIServices::Unanswered(TUICall &call, const QString &problem)
{
    call.Answered = false;
    call.Problem = problem;
    FCalls.push_back(call);
    if (FOnUnanswered)
        FOnUnanswered(call);
}

TModalResult TScriptedUIServices::AnswerBox(TUICall &call)
{
    if (SingleButton(call.Buttons)) {
        call.Result = EscapeResult(call.Buttons ? call.Buttons : TMsgDlgButtons(mbOK));
        FCalls.push_back(call);
        return call.Result;
    }
    call.Result = EscapeResult(call.Buttons);
    if (FMessages.empty()) {
        Unanswered(call, QStringLiteral("no scripted answer"));
        return call.Result;
    }
    const TModalResult answer = FMessages.front();
    FMessages.pop_front();
    if (!ResultOffered(answer, call.Buttons)) {
        Unanswered(call,
                   QStringLiteral("scripted answer %1 is not one of the buttons").arg(answer));
        return call.Result;
    }
    call.Result = answer;
    FCalls.push_back(call);
    return answer;
}

TModalResult TScriptedUIServices::MessageDlg(const QString &text, TMsgDlgType type,
                                             TMsgDlgButtons buttons)
{
    return MessageDlgCaptioned(text, type, buttons, QStringList());
}

TModalResult TScriptedUIServices::MessageDlgCaptioned(const QString &text, TMsgDlgType type,
                                                      TMsgDlgButtons buttons,
                                                      const QStringList &captions)
{
    TUICall call;
    call.Kind = TUICallKind::MessageDlg;
    call.Text = text;
    call.Caption = MessageDlgCaption(type);
    call.Type = type;
    call.Buttons = buttons ? buttons : TMsgDlgButtons(mbOK);
    call.ButtonCaptions = captions;
    return AnswerBox(call);
}

void TScriptedUIServices::ShowMessage(const QString &text)
{
    TUICall call;
    call.Kind = TUICallKind::ShowMessage;
    call.Text = text;
    call.Caption = ApplicationTitle();
    call.Buttons = mbOK;
    AnswerBox(call);
}

int TScriptedUIServices::MessageBox(const QString &text, const QString &caption, unsigned flags)
{
    TUICall call;
    call.Kind = TUICallKind::MessageBox;
    call.Text = text;
    call.Caption = caption.isEmpty() ? ApplicationTitle() : caption;
    call.Type = MessageBoxType(flags);
    call.Buttons = MessageBoxButtons(flags);
    call.Flags = flags;
    return AnswerBox(call);
}

bool TScriptedUIServices::ExecuteFileDialog(TFileDialog &dialog)
{
    TUICall call;
    call.Kind = TUICallKind::FileDialog;
    call.Text = dialog.Title;
    call.Dialog = dialog;
    if (FFiles.empty()) {
        call.Result = 0;
        Unanswered(call, QStringLiteral("no scripted answer"));
        return false;
    }
    const FileAnswer answer = FFiles.front();
    FFiles.pop_front();
    call.Result = answer.Ok ? 1 : 0;
    FCalls.push_back(call);
    if (!answer.Ok)
        return false;
    dialog.FileName = answer.FileName;
    if (answer.FilterIndex > 0)
        dialog.FilterIndex = answer.FilterIndex;
    return true;
}

bool TScriptedUIServices::ExecutePrintDialog(TPrinter &printer)
{
    TUICall call;
    call.Kind = TUICallKind::PrintDialog;
    if (FPrints.empty()) {
        call.Result = 0;
        Unanswered(call, QStringLiteral("no scripted answer"));
        return false;
    }
    const PrintAnswer answer = FPrints.front();
    FPrints.pop_front();
    call.Result = answer.Ok ? 1 : 0;
    call.Text = answer.OutputFile;
    FCalls.push_back(call);
    if (answer.Ok && !answer.OutputFile.isEmpty())
        printer.SetOutputFileName(answer.OutputFile);
    return answer.Ok;
}

bool TScriptedUIServices::ExecutePrinterSetupDialog(TPrinter &)
{
    TUICall call;
    call.Kind = TUICallKind::PrinterSetupDialog;
    if (FPrinterSetups.empty()) {
        call.Result = 0;
        Unanswered(call, QStringLiteral("no scripted answer"));
        return false;
    }
    const bool ok = FPrinterSetups.front();
    FPrinterSetups.pop_front();
    call.Result = ok ? 1 : 0;
    FCalls.push_back(call);
    return ok;
}

bool TScriptedUIServices::OpenDocument(const QString &fileName)
{
    TUICall call;
    call.Kind = TUICallKind::OpenDocument;
    call.Text = fileName;
    call.Result = FShellResult ? 1 : 0;
    FCalls.push_back(call);
    return FShellResult;
}

bool TScriptedUIServices::StartProgram(const QString &program, const QStringList &arguments,
                                       const QString &workingDir)
{
    TUICall call;
    call.Kind = TUICallKind::StartProgram;
    call.Text = program;
    call.Arguments = arguments;
    call.WorkingDir = workingDir;
    call.Result = FShellResult ? 1 : 0;
    FCalls.push_back(call);
    return FShellResult;
}

} // namespace ui
