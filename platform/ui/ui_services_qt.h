// The UI services on Qt's own dialogs: QMessageBox, QFileDialog,
// QPrintDialog and QPageSetupDialog, QDesktopServices and QProcess. Dialogs
// are parented to the active window so they stay above the program.
#pragma once

#include "platform/ui/ui_services.h"

namespace ui {

class TQtUIServices : public TUIServices {
public:
    TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    TModalResult MessageDlgCaptioned(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons,
                                     const QStringList &captions) override;
    void ShowMessage(const QString &text) override;
    int MessageBox(const QString &text, const QString &caption, unsigned flags) override;
    bool ExecuteFileDialog(TFileDialog &dialog) override;
    bool ExecutePrintDialog(TPrinter &printer) override;
    bool PrintDialogAsksBeforeReplacing() const override { return true; }
    bool ExecutePrinterSetupDialog(TPrinter &printer) override;
    bool OpenDocument(const QString &fileName) override;
    bool StartProgram(const QString &program, const QStringList &arguments,
                      const QString &workingDir = QString()) override;
};

} // namespace ui
