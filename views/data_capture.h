// TfrmDataCapture, the window "LEQ": the list of the LEQ records read from
// the meter's memory, held by gDataCaptureForm. An MDI child of the main
// window, visible from creation; it frees itself when closed and clears
// gDataCaptureForm.
//
// Its grid Grid1 has six columns and 101 rows: the fixed English headers
// "No", "Value", "Time", "LEQ period(hh:mm:ss)", "dBA/dBC", "FAST/SLOW" in
// row 0 and the row numbers "01" .. "100" in column 0, written once when the
// window is made. The LEQ-record load fills columns 1..5 of rows 1..100; the
// main window's save command writes the grid as text (the window has no
// save or print command of its own).
//
// The window cannot be closed while a link operation writes into it (the
// load protects it through the link guard).
#pragma once

#include <QWidget>

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TStringGrid;
}

namespace views {

class TfrmDataCapture : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 6;
    static constexpr int Rows = 101; // the header row and 100 records

    // dispatcher may be nullptr: the caption stays English.
    explicit TfrmDataCapture(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmDataCapture() override;

    ui::TStringGrid *Grid1 = nullptr;
    i18n::TlxLangLinked *lxLangLinked_frmDataCapture = nullptr;

    // ---- published event handlers
    // Headers, column widths and the row numbers.
    void FormShow();
    // gDataCaptureForm := none; the window is freed.
    void FormClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool FClosed = false;
};

extern TfrmDataCapture *gDataCaptureForm;

} // namespace views
