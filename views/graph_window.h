// TfrmGraph: the window in which every sound-level curve is examined. Its
// chart GXSGraph1 holds the levels in subset 0 (Y in dB, single precision;
// X a date-time in XDataII); the window keeps no copy of the data, every
// statistic reads the chart.
//
// Top to bottom: the tool bar, the whole-set statistics pnlGraphStatistic,
// the chart in pnlGraph (with the readout Panel12 at its top left corner),
// and the cursor panel pnlStatistic: the slider Slider1 in pnlSlider, lined
// up under the plotting area, over the A-B statistics. The data-logger use
// adds the data-set grid Grid2 (pnlDataSets) at the left.
//
// The slider's thumbs are cursors A and B; they also stand as vertical
// line annotations 0 and 1 on the chart, where the mouse can drag them.
// Each window keeps its own cursor indexes and drag flags; the slider's
// values are the truth.
//
// A window has one role, given by its creator; the caption is only a
// caption. The role decides the close query, what its close releases in the
// main window, and whether its sampling-rate box sets the real-time rate:
//
//   RealTime    "Real-Time Graph", held in gRealTimeGraph
//   DataLogger  "DataLogger", held in gLoggerGraph, shows Grid2
//   RunningLeq  the running Leq of another graph window (gLeqCurveGraph)
//   LeqPlot     the plot of the LEQ table
//   Other       opened from a file or a list window
//
// While the program's close asks the other windows, a real-time run goes on
// sampling: a window that agreed without the question, or with its data
// saved, and has samples since is asked again; No gives up its data with the
// samples that follow.
//
// Creation: the creator makes the window with its role (and owner), sets the
// caption, shows it through the host's ShowGraphWindow, prepares the chart
// through the host's SetupGraph, fills subset 0 (and 1) and calls
// UpdateGraphStatistics.
//
// Marks (graph_marks.cpp) are graph annotations of the chart and live only
// there: index 2 is the marker of a clicked data point, the user's texts and
// crosses take the indexes from 5 upward, each window counting its own (the
// count starts above the marks a loaded chart brings, ChartLoaded). An erased
// mark keeps its index as type 0 with an empty text. The same file holds the
// zoom undo, the colour or monochrome view and the chart's own dialog with
// the question whether its look becomes the template of every new graph.
// The running Leq and the statistics export are in graph_leq.cpp.
#pragma once

#include "controls/slider2.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/mdi_area.h"
#include "views/graph_host.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class GXSGraph;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace i18n {
class TlxLangLinked;
}
namespace ui {
class TFormAdapter;
class TStringGrid;
} // namespace ui

namespace views {

enum class TGraphRole { RealTime, DataLogger, RunningLeq, LeqPlot, Other };

// Texts shared by the graph windows. A level has one decimal (ties away
// from zero, the locale's separator); date-times are the locale's short
// date and long time.
QString LevelText(double db);
QString DateTimeText(rtl::TDateTime dt);
QString TimeText(rtl::TDateTime dt);
// One second later when the millisecond part exceeds 500; never earlier.
rtl::TDateTime RoundUpTime(rtl::TDateTime dt);

// The redraw after settings or data changed: GXnarg1 := 0, GXnarg2 := 0,
// then sgResetImage and sgInvalidateImage.
void RedrawChart(GXSGraph &chart);

// The Y value of a point that holds no reading.
inline constexpr float kNullLevel = 9999.0f;

// What a click on a chart does, for every graph window: -99 nothing, 0 place
// a text, 2 place a cross.
extern int gAnnotationMode;

class TfrmGraph;
// The latest running-Leq window, and the plot of the LEQ table.
extern QPointer<TfrmGraph> gLeqCurveGraph;
extern QPointer<TfrmGraph> gLeqGraph;

class TfrmGraph : public QWidget, public ui::TCloseQuery {
    Q_OBJECT
public:
    // The sampling rates of the real-time window's box, in seconds.
    static constexpr double kSamplingRates[6] = {1.0, 2.0, 5.0, 10.0, 20.0, 30.0};
    static constexpr const char *kRealTimeCaption = "Real-Time Graph";
    static constexpr const char *kDataLoggerCaption = "DataLogger";

    // owner: when given, the window is destroyed with it (a running-Leq
    // window goes with its source).
    TfrmGraph(TGraphHost &host, TGraphRole role, QObject *owner = nullptr);
    ~TfrmGraph() override;

    TGraphRole Role() const { return FRole; }
    // The graph window whose chart this is (null for any other chart).
    static TfrmGraph *OfChart(GXSGraph &chart);
    TGraphHost &Host() const { return FHost; }

    // ---- operations of other windows
    // Whole-set statistics of subset 0 and the slider set up on them; the
    // cursors follow (a third and two thirds of the way in).
    void UpdateGraphStatistics();
    // The A-B statistics between the window's cursors.
    void UpdateCursorStatistics();
    // The cursor moved by a drag to its index: slider, texts, line, and the
    // mouse pointer put onto the line at the level dataY.
    void SetCursorA(double dataY);
    void SetCursorB(double dataY);
    // The real-time window's box item for a rate: 0..5, or -1 for a rate
    // of 30.5 s and more (the selection is left as it is).
    static int SamplingRateIndex(double rate);
    // Selects the box item of the rate (nothing for -1).
    void SelectSamplingRate(double rate);
    // Makes the sampling-rate box a drop-down list of the rates and enables
    // its panel (the real-time window's box).
    void SetSamplingRateList();

    // ---- published event handlers
    void FormCreate();
    void FormShow();
    void FormActivate();
    bool FormCloseQuery();
    bool CloseQuery() override { return FormCloseQuery(); }
    // Samples (or a download) that came after the window agreed without the
    // question or with its data saved; after a No they go with the window.
    bool ChangedSinceAgreed() override { return !FDataGivenUp && DataUnsaved(); }
    void FormClose();
    void FormResize();
    void pnlGraphResize();
    void Grid2Click();
    void ChangeDateTime1Click();
    void Slider1ValueChange1(QObject *Sender);
    void GXSGraph1MouseMove(QObject *Sender, int X, int Y);
    void GXSGraph1MouseUp(QObject *Sender);
    void GXSGraph1VertLineAnnotHotSpot(QObject *Sender, std::int32_t DblClick, std::int32_t nIndex);
    void ToolButton1Click();
    void ToolButton2Click();
    void tbntClrClick();
    // A rate chosen or typed by the user in txtSamplingRate.
    void txtSamplingRateChange(const QString &text);

    // ---- marks, zoom and view (graph_marks.cpp)
    void ToolButton4Click(); // "Normal Cursor"
    void ToolButton9Click(); // "Text"
    void ToolButton5Click(); // "Draw A Cross On Graph"
    void GXSGraph1Click(QObject *Sender);
    void GXSGraph1DataHotSpot(QObject *Sender, std::int32_t DblClick, std::int32_t SubsetIndex,
                              std::int32_t PointIndex);
    void GXSGraph1GraphAnnotHotSpot(QObject *Sender, std::int32_t DblClick, std::int32_t nIndex);
    void ToolButton13Click(); // the erase dialog
    void GXSGraph1ZoomIn(QObject *Sender);
    void UndoZoomClick();
    void ToolButton7Click(); // "Color" and "Monochrome"
    void Button1Click();     // "Graph Option"
    void GXSGraph1CustomizeDlg(QObject *Sender);
    // A whole chart state was loaded into the chart (a file or the template):
    // the window's marks go on above the highest one in use there.
    void ChartLoaded();

    // ---- running Leq and statistics export (graph_leq.cpp)
    void bunCalLEQClick();
    // Makes the running-Leq window of this window's levels (owned by this
    // window, which it closes with); null after the message for fewer than
    // two points.
    TfrmGraph *RunningLeq();
    void Button2Click();
    // The eleven lines "Export Statistic" puts on the clipboard, each ended
    // by a line feed.
    QString StatisticText() const;

    // Graph annotation indexes and types.
    static constexpr std::int32_t kDataMarker = 2;
    static constexpr std::int32_t kFirstMark = 5;
    static constexpr std::int32_t kTextMark = 0;
    static constexpr std::int32_t kCrossMark = 2;
    // Mouse offsets of a placed text and cross from the pointer's pixel.
    static constexpr int kTextOffsetX = 1, kTextOffsetY = 7;
    static constexpr int kCrossOffset = 15;

    // ---- the window's state
    std::int32_t CursorA() const { return FCursorA; }
    std::int32_t CursorB() const { return FCursorB; }
    bool DragCursorA() const { return FDragCursorA; }
    bool DragCursorB() const { return FDragCursorB; }
    // The number of points the statistics saw: those before the first X of
    // 0.0 (an unfilled point).
    std::int32_t PointsInUse() const { return FPointsInUse; }
    // The highest graph annotation index handed out in this chart (user marks
    // take the next ones).
    std::int32_t AnnotationCount() const { return FAnnotationCount; }
    void SetAnnotationCount(std::int32_t count) { FAnnotationCount = count; }

    // ---- controls, under their component names
    QWidget *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr;  // "Toggle Graph Statistic"
    QToolButton *ToolButton2 = nullptr;  // "Toggle Line Cursor Statistic"
    QToolButton *ToolButton4 = nullptr;  // "Normal Cursor"
    QToolButton *ToolButton9 = nullptr;  // "Text"
    QToolButton *ToolButton5 = nullptr;  // "Draw A Cross On Graph"
    QToolButton *ToolButton13 = nullptr; // erase marks
    QToolButton *UndoZoom = nullptr;
    QToolButton *ToolButton6 = nullptr; // "Color" (hidden)
    QToolButton *ToolButton7 = nullptr; // "Monochrome" (hidden)
    QPushButton *Button1 = nullptr;     // "Graph Option"
    QPushButton *bunCalLEQ = nullptr;   // "CAL Leq"
    QPushButton *Button2 = nullptr;     // "Export Statistic"
    QWidget *tbntSep3 = nullptr;
    QToolButton *tbntClr = nullptr; // "Clear", real-time window only

    QWidget *pnlGraphStatistic = nullptr;
    QLineEdit *txtStartTime = nullptr;
    QWidget *pnlSamplingRate = nullptr;
    QComboBox *txtSamplingRate = nullptr;
    QLineEdit *txtDataNo = nullptr;
    QLineEdit *txtAvgAll = nullptr;
    QLineEdit *txtMax = nullptr;
    QLineEdit *txtMaxTime = nullptr;
    QLineEdit *txtMin = nullptr;
    QLineEdit *txtMinTime = nullptr;

    QWidget *pnlDataSets = nullptr;
    ui::TStringGrid *Grid2 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *ChangeDateTime1 = nullptr;

    QWidget *pnlGraph = nullptr;
    GXSGraph *GXSGraph1 = nullptr;
    QLabel *Panel12 = nullptr;

    QWidget *pnlStatistic = nullptr;
    QWidget *pnlSlider = nullptr;
    controls::Tslider2 *Slider1 = nullptr;
    QLineEdit *txtCursorA = nullptr;
    QLineEdit *txtCursorATime = nullptr;
    QLineEdit *txtCursorB = nullptr;
    QLineEdit *txtCursorBTime = nullptr;
    QLineEdit *txtMaxAB = nullptr;
    QLineEdit *txtMaxABTime = nullptr;
    QLineEdit *txtMinAB = nullptr;
    QLineEdit *txtMinABTime = nullptr;
    QLineEdit *txtAvgAB = nullptr;

    i18n::TlxLangLinked *lxLangLinked_frmGraph = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

    // Text of one of the window's string ids in the active language.
    QString StringById(const char *id) const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The readout of the value under the mouse: just inside the plot's top left corner, where
    // it covers no axis text; hidden whenever its value may no longer be the one under the
    // mouse (the mouse left the plot, the chart zoomed, undid a zoom or scrolled).
    void PlaceReadout();
    void HideReadout();
    void BuildToolBar();
    QWidget *BuildGraphStatistics();
    QWidget *BuildDataSets();
    QWidget *BuildGraphPanel();
    QWidget *BuildCursorStatistics();
    // The cursor texts and line of cursor k (0 A, 1 B) at its index.
    void ShowCursor(int k);
    // Cursor texts, lines and A-B statistics emptied.
    void ClearCursors();
    void ClearGraphStatistics();
    // Moves cursor k towards dataX as the drag rules say; false when it
    // stays where it is.
    bool DragCursor(int k, double dataX);
    void SetCursor(int k, double dataY);
    void AlignSlider();
    // The data under the chart pixel; false when the pixel lies outside the
    // plotting area (its edges count as inside).
    bool PlotPointToData(int x, int y, double &dataX, double &dataY) const;
    void WireMarks();
    // Subset 0's times and levels; returns the number of points in use.
    int ReadLevels(std::vector<double> &x, std::vector<float> &y) const;
    // The data-logger or real-time data have not been saved since they came.
    bool DataUnsaved() const;

    TGraphHost &FHost;
    TGraphRole FRole;
    ui::TFormAdapter *FForm = nullptr;
    bool FShown = false;
    bool FSettingSlider = false;
    bool FDataGivenUp = false; // the last close question was answered No

    std::int32_t FCursorA = 0, FCursorB = 0;
    bool FDragCursorA = false, FDragCursorB = false;
    std::int32_t FPointsInUse = 0;
    std::int32_t FAnnotationCount = 4;
    // A press that ended in a zoom is no click that places a mark.
    bool FZoomedByPress = false;
};

} // namespace views
