// TfrmLEQ: the "LEQ" window, an MDI child of the main window, in which the
// user runs a timed LEQ measurement on the meter, watches its table grow,
// saves the table as tab-separated text and plots it into "Leq" graph
// windows (the mean levels and the running Leq as two curves), which close
// with it.
//
// The window owns the controls and the start and stop of a run; the run
// itself (one reading per 40 ms tick, the table rows, the log, the
// count-down) belongs to the main window, which the window reaches through
// TLeqHost and which writes the table and the edit boxes while a run goes.
//
// LEQGrid: 5 columns and 1 header row: number, date, time, the mean level
// of that second ("SPL") and the running Leq ("Leq"), both in dB.
//
// A table holding rows of a run that were not saved since is asked about
// ("Save LEQ Data ?", Yes, No, Cancel) before the window closes, before the
// program closes and before a new Start empties it. While the program's close
// asks its other windows, a run goes on adding rows: a window that agreed
// without the question, or with its table saved, and has rows since is asked
// again; No gives up the table with the rows that follow.
#pragma once

#include "platform/ui/mdi_area.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TStringGrid;
}

namespace views {

class TfrmGraph;
class TfrmLEQ;
class TGraphHost;

// What the LEQ window needs of the main window.
class TLeqHost {
public:
    virtual ~TLeqHost() = default;
    // Starts (or restarts) a run of the given number of meter seconds for
    // this window. False when another link operation holds the link; then
    // nothing has changed.
    virtual bool LeqStart(TfrmLEQ *form, int periodSeconds) = 0;
    // Ends the run when one is going.
    virtual void LeqStop() = 0;
    // The window closes: the run ends and the main window forgets it.
    virtual void LeqFormClosed(TfrmLEQ *form) = 0;
    // The folder the save dialog starts in (the data folder, or the
    // executable's folder when there is none).
    virtual QString LeqSaveFolder() = 0;
    // What a graph window of the LEQ window asks of the main window (its
    // chart set-up among it).
    virtual TGraphHost &LeqGraphHost() = 0;
    // Shows a graph window made by the LEQ window among the main window's
    // child windows (through the graph host's ShowGraphWindow) and places it.
    virtual void ShowLeqGraph(TfrmGraph *graph) = 0;
};

// One entry of the period list.
struct TLeqPeriod {
    const char *text;
    int seconds;
};
// "10 sec" .. "24 hours", and "Manual", which runs 24 hours unless stopped.
const std::vector<TLeqPeriod> &LeqPeriods();

// The table as the window saves it: for each row after the header, the
// cells of columns 1.. each followed by a TAB, then CR LF. A table with
// only its header gives no line.
QByteArray LeqTableText(const ui::TStringGrid &grid);

class TfrmLEQ : public QWidget, public ui::TCloseQuery {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 5;

    TfrmLEQ(TLeqHost &host, i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmLEQ() override;

    // ---- handlers
    void FormCreate();   // grid headers and widths
    void FormShow();     // first period chosen
    void btnLEQClick();  // Start
    void Button1Click(); // Stop
    void Button2Click(); // Save
    void Button3Click(); // Graph: a "Leq" graph window of the table
    // Asks about an unsaved table: true to go on (saved, or No), false to
    // keep the table (Cancel, or a save cancelled or failed).
    bool FormCloseQuery();
    bool CloseQuery() override { return FormCloseQuery(); }
    bool ChangedSinceAgreed() override { return !FTableGivenUp && TableUnsaved(); }
    void FormClose();

    // The run wrote a row: the table is unsaved until it is saved.
    void TableChanged() { FTableUnsaved = true; }
    // The table holds rows that were not saved since they came.
    bool TableUnsaved() const;
    // The save dialog and the table written; true when a file was written.
    bool SaveTableAs();

    // Seconds of the chosen period.
    int PeriodSeconds() const;
    // Writes the table to fileName through a temporary file; false and a
    // reason when it could not be written (an existing file is then left
    // as it was).
    bool SaveTable(const QString &fileName, QString *error = nullptr) const;

    ui::TStringGrid *LEQGrid = nullptr;
    QComboBox *cmbTimeSelect = nullptr;
    QLineEdit *edtLEQValue = nullptr;
    QLineEdit *edtTimeLeft = nullptr;
    QLineEdit *edtLEQrate = nullptr; // hidden, with its label
    QLabel *Label1 = nullptr;        // "Period"
    QLabel *Label2 = nullptr;        // of edtLEQValue
    QLabel *Label3 = nullptr;        // of edtTimeLeft
    QLabel *Label4 = nullptr;        // of edtLEQrate, hidden
    QPushButton *btnLEQ = nullptr;   // "Start"
    QPushButton *Button1 = nullptr;  // "Stop"
    QPushButton *Button2 = nullptr;  // "Save"
    QPushButton *Button3 = nullptr;  // "Graph"
    i18n::TlxLangLinked *lxLangLinked_frmLEQ = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QString Text(const char *id) const;

    TLeqHost &FHost;
    std::vector<QPointer<TfrmGraph>> FGraphs; // its graph windows, closed with it
    bool FShown = false;
    bool FClosed = false;
    bool FTableUnsaved = false;
    bool FTableGivenUp = false; // the last question was answered No
};

} // namespace views
