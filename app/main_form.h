// TfrmMain: the program's main window, an MDI parent. It owns the meter
// link and its timers, the front panel, the digit glyphs and the data-set
// store, and runs the start-up (FormCreate, FormShow) and close (closeEvent:
// FormCloseQuery, FormClose) sequences.
#pragma once

#include "app/settings.h"
#include "app/text_data.h"
#include "meter/leq_run.h"
#include "meter/link.h"
#include "meter/logger_data.h"
#include "meter/logger_download.h"
#include "meter/main_timer.h"
#include "meter/real_time.h"
#include "meter/windows/panel.h"
#include "meter/windows/panel_host.h"
#include "meter/windows/real_time_chart.h"
#include "views/graph_host.h"
#include "views/leq_form.h"
#include "views/list_form.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolButton;
class GXSGraph;

namespace i18n {
class TlxLang;
class TlxLangDispatcher;
} // namespace i18n
namespace ui {
class TMdiArea;
class TStringGrid;
} // namespace ui
namespace usb {
class UsbDevice;
}
namespace views {
class TfrmGraph;
class TfrmScope;
class TfrmList;
} // namespace views
namespace ui {
class TStringGrid;
}

namespace app {

class TfrmMain : public QMainWindow,
                 public meter::TMainTimerSink,
                 public meter::TMainTimerSwitch,
                 public meter::TRealTimeSink,
                 public meter::TPanelHost,
                 public meter::TLeqSink,
                 public views::TLeqHost,
                 public views::TGraphHost,
                 public meter::TDownloadView,
                 public views::TListHost {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 885;
    static constexpr int ClientHeight = 579;

    // Builds the window and runs FormCreate. The device is the meter the
    // link talks to (simulated or real); it must outlive the window.
    explicit TfrmMain(usb::UsbDevice &device, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // ---- start and close
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    // ---- menu and button handlers of this window
    void Exit1Click();
    void Tile1Click();
    void Cascade1Click();
    void About1Click();
    void Contents1Click();
    void ControlPanel1Click();
    void LanguageClick(int index); // English1Click .. Danish1Click
    void English1Click() { LanguageClick(1); }
    void French1Click() { LanguageClick(2); }
    void German1Click() { LanguageClick(3); }
    void Italian1Click() { LanguageClick(4); }
    void Spanish1Click() { LanguageClick(5); }
    void Swedish1Click() { LanguageClick(6); }
    void Finnish1Click() { LanguageClick(7); }
    void Danish1Click() { LanguageClick(8); }

    // ---- LEQ records, memory erase and the set-up window (main_metercmds.cpp)
    void LoadLEQdata1Click();
    void EraseMemory1Click();
    void Setup1Click();
    void Button1Click() { Setup1Click(); }
    // Deletes two leftover files of an old charting library beside the program.
    void Button2Click();

    // Busy wait on the program's clock; processes no window messages.
    void Delay(unsigned milliseconds) { FLink.Delay(milliseconds); }

    // ---- timers
    void MainTimerTimer() { FTimerLogic.MainTimerTimer(); }
    void MaxMinTimerTimer() { FTimerLogic.MaxMinTimerTimer(); }

    // ---- state (the names the rest of the program knows)
    meter::TMeterLink &Link() { return FLink; }
    meter::TMainTimerLogic &TimerLogic() { return FTimerLogic; }
    meter::TfrmPanel *gPanel() const { return FPanel; }
    ui::TMdiArea *MdiClient() const { return FMdiClient; }
    i18n::TlxLangDispatcher *lxLangDispatcher1() const { return FDispatcher; }
    i18n::TlxLang *lxLang_frmMain() const { return FLang; }
    QString gDataFolder;
    int gLanguageIndex = 1;
    bool gLanguageChanged = false;
    std::vector<uint8_t> FLoggerImage;

    // ---- graph windows and chart files (main_graph.cpp)
    // Prepares a chart for new data: the template "template/graph.ghf" or the
    // default look, the data shape with every point empty, the scales; redraws.
    void SetupGraph(GXSGraph &chart, int subsets, int points, rtl::TDateTime minimumX,
                    rtl::TDateTime maximumX, float minimumY, float maximumY) override;
    // Raise rtl stream errors (see app/graph_files.h).
    void LoadGraphFile(GXSGraph &chart, const QString &fileName);
    void SaveGraphFile(GXSGraph &chart, const QString &fileName);
    // Makes the "Real-Time Graph" window into gRealTimeGraph.
    void CreateRealTimeGraph();
    void RealTimeGraph1Click();
    QPointer<views::TfrmGraph> gRealTimeGraph;
    QPointer<views::TfrmGraph> gLoggerGraph;
    QPointer<views::TfrmGraph> frmGraph; // the latest window opened from a file
    bool gLoggerUnsaved = false;
    // ---- printing and the output of a list to a graph (main_print.cpp)
    // File > Print: the active child window's grid as lines of text, or its
    // graph through the chart's dialogs; nothing for other windows.
    void btnPrintClick();
    // File > Printer Setup: the page set-up of the program's printer.
    void PrinterSetup1Click();
    // "Output Tabular to graph": the active list window's rows (date, time,
    // level) as a new graph window; the rows that do not convert are left out.
    void btnOutputToGraphClick();
    // True while a list is being turned into a graph (the main window stays open).
    bool GraphingList() const { return FGraphingList; }

    // ---- TGraphHost
    void ShowGraphWindow(views::TfrmGraph &graph) override;
    void GraphActivated(views::TfrmGraph &graph) override;
    bool SaveGraphWindow(views::TfrmGraph &graph) override;
    void GraphClosed(views::TfrmGraph &graph) override;
    double RealTimeRate() override { return gRealTimeRate; }
    void SetRealTimeRate(double rate) override { gRealTimeRate = rate; }
    void RealTimeGraphCleared(views::TfrmGraph &graph) override;
    bool LoggerUnsaved() override { return gLoggerUnsaved; }
    void SetLoggerUnsaved(bool unsaved) override { gLoggerUnsaved = unsaved; }
    bool RealTimeUnsaved() override { return gRealTimeUnsaved; }
    void SetRealTimeUnsaved(bool unsaved) override { gRealTimeUnsaved = unsaved; }

    // ---- graph marks and the chart template (main_annotate.cpp)
    // Writes the chart as "template/graph.ghf"; a failure is shown.
    bool SaveGraphTemplate(GXSGraph &chart) override;

    // A component of the window by name: menu items and actions, buttons,
    // labels, timers (tests and the translation engine find them so).
    template <class T = QObject> T *Control(const char *name) const
    {
        return findChild<T *>(QString::fromLatin1(name));
    }
    QAction *MenuItem(const char *name) const;
    // Status bar panel 0..2.
    QLabel *StatusPanel(int index) const;

    // ---- TMainTimerSink
    void SetStatusText(int panel, const std::string &text) override;
    std::string StringById(const std::string &id) override;
    void SetCommandVisible(meter::TMeterCommand command, bool visible) override;
    void SetCommandEnabled(meter::TMeterCommand command, bool enabled) override;
    bool RealTimeRunning() override { return gRealTimeRunning; }
    void StopRealTimeSampling() override { btnStopClick(); }
    bool PanelExists() override { return !FPanel.isNull(); }
    void SetPanelLabelVisible(meter::TPanelLabel label, bool visible) override;
    void DrawReading(const meter::TStatusDisplay &display) override;
    void DrawBlankDigits() override;
    void SetMaxMinTimerEnabled(bool enabled) override;
    // ---- TMainTimerSwitch
    void SetMainTimerEnabled(bool enabled) override;
    // ---- real-time sampling (main_realtime.cpp)
    void btnRunClick() { FRealTime.btnRunClick(); }
    void btnStopClick() { FRealTime.btnStopClick(); }
    void RealTime_TimerTimer() { FRealTime.RealTime_TimerTimer(); }
    void PlotReading() { FRealTime.PlotReading(); }
    meter::TRealTimeLogic &RealTime() { return FRealTime; }
    // TRealTimeSink (StringById and SetCommandEnabled above serve it too)
    void SetRealTimeTimerEnabled(bool enabled) override;
    meter::TAnswer Confirm(const std::string &text) override;
    void ShowMessage(const std::string &text) override;
    bool RunSetupDialog(meter::TRealTimeSetup &setup) override;
    bool RealTimeGraphExists() override;
    void OpenRealTimeGraph() override;
    void RestoreRealTimeGraph() override;
    void FocusRealTimeGraph() override;
    bool SaveRealTimeGraph() override;
    meter::TRealTimeChart *RealTimeChart() override;
    std::string SamplingRateText() override;
    void SelectSamplingRate(double rate) override;
    void SetStatisticText(meter::TRealTimeText text, const std::string &value) override;
    void ClearStatistics() override;
    void SetSlider(int minimum, int maximum, int value1, int value2) override;

    // ---- TPanelHost
    meter::TKeyResult PanelKey(uint8_t key) override { return FLink.PressKey(key); }
    const meter::TDigitGlyphs &Glyphs() const override { return FGlyphs; }
    i18n::TlxLangDispatcher *LangDispatcher() override { return FDispatcher; }
    bool PanelUpdating() const override { return FTimerLogic.gPanelUpdating; }
    void PanelActivated() override;
    void PanelClosed(meter::TfrmPanel *panel) override;

    // ---- saving and opening data files (main_files.cpp)
    // File > Save: the active window's data by its kind (a grid as text, a
    // graph through SaveGraphAs); nothing for other windows.
    void Save1Click();
    // The save dialog of a graph: a chart file, or its points as tab- or
    // comma-separated text. A name under another extension gets the one
    // of the chosen entry. True when a file was written.
    bool SaveGraphAs(GXSGraph &chart);
    // Subset 0's points as text (range question, progress window); true
    // when the file was written. A failure is shown and keeps an old file.
    bool ExportGraphData(GXSGraph &chart, const QString &fileName, char separator);
    // The save dialog of a grid and the grid's rows as text.
    bool SaveGridAs(ui::TStringGrid &grid);
    // File > Open, and its single-file road: a chart file into a new graph
    // window, a text file into a new list window.
    void Open1Click();
    void OpenDataFile();
    void OpenGraphFile(const QString &fileName);
    // Reads a text file into a new list window (progress window with
    // Cancel); nullptr when the file cannot be opened or the list was
    // closed while it was read.
    views::TfrmList *OpenTextFile(const QString &fileName);
    // True while a text file is being read (the main window stays open).
    bool ReadingTextFile() const { return FReadingText; }
    QPointer<views::TfrmList> frmList; // the latest list opened from a file
    // TListHost
    void ListActivated(views::TfrmList &list) override;

    // ---- LEQ measurement and the LEQ window (main_leq.cpp)
    void LEQ1Click();
    void LEQTimerTimer() { FLeqRun.LEQTimerTimer(); }
    meter::TLeqRun &LeqRun() { return FLeqRun; }
    views::TfrmLEQ *gLeqForm() const { return FLeqForm; }
    // TLeqSink
    bool LeqWindowExists() override { return !FLeqForm.isNull(); }
    void SetLeqRowCount(int count) override;
    void SetLeqCell(int col, int row, const std::string &text) override;
    void ShowLeqLastRow() override;
    void SetLeqText(meter::TLeqField field, const std::string &text) override;
    void SetLeqTimerEnabled(bool enabled) override;
    void LeqMessage(const std::string &id) override;
    void LeqLogStopped(const std::string &fileName, const std::string &reason) override;
    void LeqLogNotCreated(const std::string &fileName, const std::string &reason) override;
    // TLeqHost
    bool LeqStart(views::TfrmLEQ *form, int periodSeconds) override;
    void LeqStop() override { FLeqRun.Stop(); }
    void LeqFormClosed(views::TfrmLEQ *form) override;
    QString LeqSaveFolder() override;
    views::TGraphHost &LeqGraphHost() override { return *this; }
    void ShowLeqGraph(views::TfrmGraph *graph) override;

    // ---- logger download, data sets and collection files (main_download.cpp)
    // "Load SPL Data": refusals, the "DataLogger" window, the download held
    // under the link guard, the messages of its result.
    void LoadData1Click();
    // Download, decode, working file, set 0 shown: the download's code when
    // it fails, else the decoder's result.
    int LoadLoggerData();
    int DownloadLogger();
    void ShowDownloadProgress(int total) override;
    // Set n of the store into the "DataLogger" window; its start corrected
    // through the date and time dialog.
    void ShowDataSet(int index) override;
    void ChangeDataSetTime(int index) override;
    // Saves the working file as a ".REC" collection; true when one was written.
    bool SaveLoggerFile();
    // Opens a ".REC" collection into the "DataLogger" window.
    void OpenLoggerFile();
    // The "DataLogger" window, made at the size the download and the
    // collection open give it, or brought back.
    void OpenLoggerGraph(rtl::TDateTime now);
    QString WorkingFile() const;
    TDataSetStore gDataSets; // the data sets of the last download or collection
    // False after the working file failed to take the last image in: it then
    // holds an older one, which Save must not pass off as the current data.
    bool gWorkingFileCurrent = true;
    // TDownloadView
    void SetHourglass(bool on) override;
    void DownloadProgressed(int received) override;
    void CloseDownloadProgress() override;
    // TGraphHost
    bool WindowInUse(const views::TfrmGraph &graph) override;

signals:
    // Emitted once, when the window has painted itself for the first time.
    void firstPainted();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The close box's close: the close query, the child windows, FormClose.
    void HandleClose(QCloseEvent *event);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildTimers();
    void BuildRealTime(); // Run, Stop and RealTime_Timer (main_realtime.cpp)
    // main_print.cpp
    void BuildPrinting();
    void PrintGridWindow(ui::TStringGrid &grid, const QString &caption);
    void PrintGraphWindow(views::TfrmGraph &graph);
    void OutputListToGraph(views::TfrmList &list);
    void CheckLanguageItem(int index);
    void CreatePanel();
    void PlaceRealTimeGraph();
    // A graph window opened from a file or a list: at the top left, as wide
    // and high as the client area allows.
    void PlaceGraphAtTopLeft(views::TfrmGraph &graph);
    // Decodes FLoggerImage (a download's or a collection's) into the store and,
    // when that replaced the store, shows its sets; empties the image.
    // Returns the decoder's code.
    int DecodeAndShowImage();
    // After a decode that replaced the store: grid rows, working file, set 0,
    // and the sets that failed their checks named once.
    void ShowDecodedSets(const std::vector<TDataSetGridRow> &rows, const std::vector<int> &damaged);
    QObject *CommandObject(meter::TMeterCommand command) const;
    // main_files.cpp
    QString Text(const char *id);
    bool CommaTextRefused(char separator);
    bool AskExportRange(int upper, const QString &invalidText, TExportRange &range);
    bool WriteDataText(const QString &fileName, const TExportRange &range,
                       const std::function<bool(std::int64_t, std::string &)> &lineOf);
    // The three steps of OpenTextFile: the list window, its rows from the
    // reader (false when the list was closed meanwhile; the progress window
    // shows the count and offers Cancel), and its titles and widths.
    views::TfrmList *NewTextList(const QString &fileName);
    QPointer<views::TfrmScope> ShowOpenProgress();
    bool FillTextList(views::TfrmList &list, TDataTextReader &reader, std::vector<int> &longestRow);
    void ShowTextListTitles(views::TfrmList &list, const std::vector<int> &longestRow);

    meter::TMeterLink FLink;
    meter::TMainTimerLogic FTimerLogic;
    meter::TLeqRun FLeqRun;
    QPointer<views::TfrmLEQ> FLeqForm;
    meter::TRealTimeLogic FRealTime;
    std::unique_ptr<meter::TRealTimeGraphChart> FRealTimeChart; // over gRealTimeGraph's chart
    QPointer<views::TfrmScope> FScope;                          // the download's progress window
    meter::TDigitGlyphs FGlyphs;
    QPointer<meter::TfrmPanel> FPanel;
    ui::TMdiArea *FMdiClient = nullptr;
    i18n::TlxLangDispatcher *FDispatcher = nullptr;
    i18n::TlxLang *FLang = nullptr;
    QWidget *Panel1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    std::array<QLabel *, 3> FStatusPanels{};
    QTimer *MainTimer = nullptr;
    QTimer *MaxMinTimer = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *LEQTimer = nullptr;
    QTimer *RealTime_Timer = nullptr;
    bool FShown = false;
    bool FPainted = false;
    bool FClosing = false;
    bool FDestroying = false;
    bool FReadingText = false;
    bool FGraphingList = false;

public:
    // The run state of real-time sampling, under the names the rest of the
    // program knows (held by FRealTime).
    double &gRealTimeRate = FRealTime.gRealTimeRate; // seconds per sample
    bool &gRealTimeRunning = FRealTime.gRealTimeRunning;
    int &gRealTimeCount = FRealTime.gRealTimeCount;
    bool &gRealTimeUnsaved = FRealTime.gRealTimeUnsaved;
};

} // namespace app
