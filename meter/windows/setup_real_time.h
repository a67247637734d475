// "Real-Time Setup": the modal dialog in which a real-time run is given its
// number of readings and its sampling interval; it shows the resulting
// recording period while either is edited. The caller makes it into
// frmSetupRealTime, fills txtRate and edtPeriod, shows it modally
// (views::ShowModal) and reads edtRealTimeNo and txtRate when it closes with
// Start (ui::mrOk):
//
//     meter::frmSetupRealTime = new meter::TfrmSetupRealTime(dispatcher, this);
//     frmSetupRealTime->txtRate->setEditText(rate);
//     frmSetupRealTime->edtPeriod->setText(period);
//     if (views::ShowModal(*meter::frmSetupRealTime) == ui::mrOk) ...
//     delete meter::frmSetupRealTime; // clears frmSetupRealTime
//
// Start closes the dialog only for a rate a run can use (finite, above 0, at
// most one day); any other rate is named in a message and the dialog stays.
#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TFormAdapter;
}

namespace meter {

class TfrmSetupRealTime : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetupRealTime(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmSetupRealTime() override;

    // The show handler: the rate list becomes 1.0, 2.0, 5.0, 10.0, 20.0 and
    // 30.0 (in the settings' number format); the typed rate stays.
    void FormShow();
    // The change handler of both fields: the period of count x rate.
    void edtRealTimeNoChange();
    // Start: closes with mrOk when the rate is one a run can use.
    void btnOpenSingleSetClick();

    // The fields as the system's 8-bit text.
    std::string RateText() const;
    std::string CountText() const;

    QLineEdit *edtRealTimeNo = nullptr;      // up to five digits, " 2000" at first
    QComboBox *txtRate = nullptr;            // seconds per reading, "0.5" at first
    QWidget *Panel1 = nullptr;               // disabled: edtPeriod inside cannot be edited
    QLineEdit *edtPeriod = nullptr;          // hours:minutes:seconds
    QPushButton *btnOpenSingleSet = nullptr; // "Start"
    QPushButton *Button1 = nullptr;          // "Cancel"
    QLabel *Label1 = nullptr;                // "Real-Time data no to be recorded"
    QLabel *Label2 = nullptr;                // "(Adjust the number to meet your need)"
    QLabel *Label3 = nullptr;                // "Real -Time Sampling Rate"
    QLabel *Label4 = nullptr;                // "second"
    QLabel *Label5 = nullptr;                // "Recording Period"
    QLabel *Label6 = nullptr;                // "HH:MM:SS"
    i18n::TlxLangLinked *lxLangLinked_frmSetupRealTime = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    ui::TFormAdapter *FForm = nullptr;
};

extern TfrmSetupRealTime *frmSetupRealTime;

} // namespace meter
