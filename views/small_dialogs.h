// The three small modal dialogs of the graph window and the data-set
// display. They have no handlers of their own: the caller makes one into
// its global, fills it, shows it modally (views::ShowModal), reads it when
// the result is ui::mrOk, and frees it:
//
//     views::frmAnnoEdit = new views::TfrmAnnoEdit(dispatcher, this);
//     if (views::ShowModal(*views::frmAnnoEdit) == ui::mrOk)
//         text = views::frmAnnoEdit->Edit1->text();
//     delete views::frmAnnoEdit;      // clears frmAnnoEdit
//
// Each dialog clears the global that holds it when it is destroyed, so a
// caller that forgets to leaves no dangling pointer behind.
#pragma once

#include "platform/rtl/datetime.h"

#include <QDialog>

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TFormAdapter;
class TStringGrid;
} // namespace ui

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace views {

// Annotation text entry: no caption, Edit1 (one line), OK and Cancel.
class TfrmAnnoEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAnnoEdit(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmAnnoEdit() override;

    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK: modal result OK
    QPushButton *BitBtn2 = nullptr; // Cancel: modal result Cancel
    i18n::TlxLangLinked *lxLangLinked_frmAnnoEdit = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

private:
    ui::TFormAdapter *FForm = nullptr;
};

// "Erase Annotation": StringGrid1 (3 columns, 1 fixed row, whole-row and
// range selection, 2 rows to begin with), "Delete" (modal result OK,
// disabled until the caller lists a row and enables it) and "Cancel".
class TfrmDelAnno : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDelAnno(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmDelAnno() override;

    ui::TStringGrid *StringGrid1 = nullptr;
    QPushButton *BitBtn1 = nullptr; // "Delete"
    QPushButton *BitBtn2 = nullptr; // "Cancel"
    i18n::TlxLangLinked *lxLangLinked_frmDelAnno = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

private:
    ui::TFormAdapter *FForm = nullptr;
};

// "Date Time": Label1 (its text is never set), Label2 "is not valid, Please
// correct it.", DatePicker, TimePicker, OK and Cancel.
class TfrmDateTime : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDateTime(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmDateTime() override;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QDateEdit *DatePicker = nullptr;
    QTimeEdit *TimePicker = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel
    i18n::TlxLangLinked *lxLangLinked_frmDateTime = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

    // The pickers as the class library's date-time values: Date is the date
    // part (whole days), Time the time of day (fraction, to the second).
    rtl::TDateTime Date() const;
    void SetDate(rtl::TDateTime date);
    rtl::TDateTime Time() const;
    void SetTime(rtl::TDateTime time);

private:
    ui::TFormAdapter *FForm = nullptr;
};

extern TfrmAnnoEdit *frmAnnoEdit;
extern TfrmDelAnno *frmDelAnno;
extern TfrmDateTime *frmDateTime;

} // namespace views
