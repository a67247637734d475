// TfrmScope: the small stay-on-top window that asks for a range of rows or
// points before saving and shows the progress of saving, opening, graphing
// and downloading. Every part is hidden as the window is made; each use
// shows the parts it needs and then calls FitToParts():
//
//   range question  GroupBox1 (radAll, radNo, "from" edtSelFrom, "to"
//                   edtSelTo), BitBtn1 OK and BitBtn2 Cancel, shown modally
//   progress        Progress1, SText1 and SText2 with lblBytesReceived and
//                   lblTotalBytes, and BitBtn2 when it may be cancelled,
//                   shown modelessly; ModalResult() turns mrCancel when the
//                   user presses Cancel or closes the window
//
// The caller makes one into the global frmScope and frees it after use;
// the window clears frmScope when it is destroyed.
#pragma once

#include "platform/ui/ui_services.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TFormAdapter;
}

namespace views {

class TfrmScope : public QDialog {
    Q_OBJECT
public:
    explicit TfrmScope(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmScope() override;

    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *radAll = nullptr; // "&All", chosen at first
    QRadioButton *radNo = nullptr;  // "&Select"
    QLabel *Label1 = nullptr;       // "&from"
    QLabel *Label2 = nullptr;       // "&to"
    QLineEdit *edtSelFrom = nullptr;
    QLineEdit *edtSelTo = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel
    QProgressBar *Progress1 = nullptr;
    QLabel *SText1 = nullptr; // "bytes received"
    QLabel *SText2 = nullptr; // "total bytes"
    QLabel *lblBytesReceived = nullptr;
    QLabel *lblTotalBytes = nullptr;
    i18n::TlxLangLinked *lxLangLinked_frmScope = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

    // The modal result as the class library keeps it: set by OK and Cancel
    // (also while the window is shown modelessly) and by the close box.
    ui::TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(ui::TModalResult result);

    // Sizes the window to the parts now shown and to its caption.
    void FitToParts();
    // A progress that must run to its end (a download) offers no way to
    // close the window: no close box, and Escape does nothing.
    void SetClosable(bool closable);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    ui::TFormAdapter *FForm = nullptr;
    ui::TModalResult FModalResult = ui::mrNone;
    bool FClosable = true;
};

extern TfrmScope *frmScope;

} // namespace views
