// The window control both chart controls are made from: GXChartControl<Traits> is a QWidget
// over one chart object of the chart engine (created windowless with the accessors of
// Traits::Properties, and kept when the control's window appears). It paints the engine's
// cached image, forwards the user's input to the chart, turns the chart's notifications and
// hot spots into events, and performs the actions written to GXactions. GXSGraph (gxsgraph.h)
// and GXGraph (gxgraph.h) are its two instances; what differs between them is in their traits:
// the property set, the names of the actions and what a click on some hot-spot types does.
//
// A traits class provides:
//   using Properties = ...;   the accessors (a GXChartProperties)
//   using Actions = ...;      the action enumeration (25 values numbered as GXAction)
//   static constexpr GXHotSpotRow HotSpotRow(std::int32_t type);
//
// Setters never repaint at run time: a window redraws with GXnarg1 := 0, GXnarg2 := 0,
// GXactions := ResetImage, GXactions := InvalidateImage (or ReinitAndReset after a whole
// chart state was loaded).
#pragma once

#include "chart/gx_table.h"
#include "platform/chartlib/render/chart_library.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class QScrollBar;

// What each action value does; both controls number their actions alike.
enum class GXAction : std::uint8_t {
    ReinitAndReset,
    Reinitialize,
    ResetImage,
    InvalidateImage,
    Maximize,
    Customize,
    ExportDialog,
    TextExportDialog,
    PrintDialog,
    ColorDialog,
    FontDialog,
    PopupMenu,
    MetaToClip,
    MetaToFile,
    BmpToClip,
    BmpToFile,
    OleToClip,
    ReinitCustoms,
    PrintGraph,
    UndoZoom,
    Reset,
    JpegToClip,
    JpegToFile,
    PngToClip,
    PngToFile
};
inline constexpr int kGXActionCount = int(GXAction::PngToFile) + 1;

// What a left press or double click on a hot spot of a type raises. Inherited: the class
// library's own handling (OnMouseDown, OnClick); every other row ends the handling there,
// whether or not its event is assigned.
enum class GXHotSpotRow : std::uint8_t {
    Inherited,
    Subset,
    Point,
    Graph,
    Table,
    Data,
    GraphAnnot,
    XAxisAnnot,
    YAxisAnnot,
    HorzLineAnnot,
    VertLineAnnot,
    MainTitle,
    SubTitle,
    MultiSubTitle,
    MultiBottomTitle,
    YAxisLabel,
    XAxisLabel,
    YAxis,
    XAxis,
    GridNumber,
    TableAnnotation
};

// The rows of GXSGraph: types 1 and 3, 5 to 42; 0, 2, 4 and the rest get the inherited handling.
constexpr GXHotSpotRow GXBaseHotSpotRow(std::int32_t type)
{
    using R = GXHotSpotRow;
    constexpr R rows[] = {
        R::Inherited,     R::Subset,     R::Inherited,  R::Graph,         R::Inherited,
        R::Data,          R::GraphAnnot, R::XAxisAnnot, R::YAxisAnnot,    R::HorzLineAnnot,
        R::VertLineAnnot, R::MainTitle,  R::SubTitle,   R::MultiSubTitle, R::MultiBottomTitle,
        R::YAxisLabel,    R::XAxisLabel, R::YAxis,      R::XAxis};
    if (type >= 0 && type < std::int32_t(std::size(rows)))
        return rows[type];
    if (type >= 19 && type <= 22)
        return R::GridNumber;
    if (type >= 23 && type <= 42)
        return R::TableAnnotation;
    return R::Inherited;
}

// Mouse buttons and shift state of the mouse and key events.
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = std::uint8_t;

// Event types. Sender is the control.
using TNotifyEvent = std::function<void(QObject *Sender)>;
using TScrollEvent =
    std::function<void(QObject *Sender, std::int32_t ScrollCode, std::int32_t &ScrollPos)>;
using TSubsetHotSpot =
    std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t SubsetIndex)>;
using TDataHotSpot = std::function<void(QObject *Sender, std::int32_t DblClick,
                                        std::int32_t SubsetIndex, std::int32_t PointIndex)>;
using TGraphHotSpot = std::function<void(QObject *Sender, std::int32_t DblClick,
                                         std::int32_t AxisIndex, double Xval, double Yval)>;
using TAnnotHotSpot =
    std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nIndex)>;
using TTitle = std::function<void(QObject *Sender, std::int32_t DblClick)>;
using TMultiTitle = std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nIndex,
                                       std::int32_t nJustification)>;
using TYAxisLabel = std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nAxis,
                                       std::int32_t nRight)>;
using TXAxisLabelEvent =
    std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nTop)>;
using TYAxis = std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nAxis,
                                  std::int32_t nRight, double Yval)>;
using TXAxis =
    std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nTop, double Xval)>;
// szData holds the grid number's text (at most 99 units are kept); the handler may rewrite it.
using TCustomGridNumbers =
    std::function<void(QObject *Sender, std::int32_t nAxisType, std::int32_t nAxisIndex,
                       double dNumber, WideString &szData)>;
using TTableAnnotation =
    std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nIndex,
                       std::int32_t nRow, std::int32_t nColumn)>;
using TCustomMenu =
    std::function<void(QObject *Sender, std::int32_t MenuIndex, std::int32_t SubmenuIndex)>;
using TPreHScroll = TNotifyEvent;
using TPreVScroll = TNotifyEvent;
using TGridNumber2 = std::function<void(QObject *Sender, std::int32_t DblClick, std::int32_t nType,
                                        std::int32_t nAxis, double dNumber)>;
// The class library's own control events.
using TMouseEvent =
    std::function<void(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject *Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(QObject *Sender, std::uint16_t &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject *Sender, char16_t &Key)>;

// A scroll bar of the control, as copied from the chart (hidden when the chart has none). The
// control shows it as a real bar along its right (vertical) or bottom (horizontal) edge, and
// the chart takes the rest of the control; moving that bar sends the control a scroll message
// of its own (source 0), which goes on to the chart.
struct GXScrollBar {
    std::int32_t min = 0, max = 0, page = 0, pos = 0;
    bool visible = false;
};

template <class Traits>
class GXChartControl : public QWidget, public Traits::Properties, private chartlib::ChartSink {
public:
    using Actions = typename Traits::Actions;

    // The chart object exists once the constructor returns. library: the engine to call (the
    // program's default when null; tests pass a recording one).
    explicit GXChartControl(QWidget *owner = nullptr, chartlib::ChartLibrary *library = nullptr);
    ~GXChartControl() override;

    // After the form's values were written: reinitialise, reset the image, repaint.
    virtual void Loaded();
    // At design time, once the chart window exists: reinitialise, reset, repaint. At run time
    // it does nothing, so a setter never redraws.
    void ResetandInvalidate() override;
    // Repaint request of the whole control (the class library's Invalidate).
    virtual void Invalidate();

    // Form-designer state: input is not forwarded and refresh-marked setters redraw.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool designing) { FDesigning = designing; }
    // True once the chart object was re-created as the child of the control's window.
    bool WindowCreated() const { return FWindowCreated; }

    // Actions and their arguments (arguments stay until changed).
    void SetGXactions(Actions action);
    Actions GetGXactions() const { return FGXactions; }
    void SetGXnarg1(std::int32_t v) { FGXnarg1 = v; }
    std::int32_t GetGXnarg1() const { return FGXnarg1; }
    void SetGXnarg2(std::int32_t v) { FGXnarg2 = v; }
    std::int32_t GetGXnarg2() const { return FGXnarg2; }
    void SetGXstrarg1(const WideString &v) { FGXstrarg1 = v; }
    const WideString &GetGXstrarg1() const { return FGXstrarg1; }

    // Notifications of the chart (WM_COMMAND: code in the high word of wParam, the chart's
    // handle in lParam); from any other source nothing is raised.
    void WMCommand(std::uint32_t wParam, std::uint32_t lParam);
    // Scroll messages: from the chart (lParam its handle) or from the control's own bar.
    void WMVScroll(std::uint32_t wParam, std::uint32_t lParam);
    void WMHScroll(std::uint32_t wParam, std::uint32_t lParam);
    const GXScrollBar &VertScrollBar() const { return FVertBar; }
    const GXScrollBar &HorzScrollBar() const { return FHorzBar; }
    // The bar on the screen (shown while its GXScrollBar is visible).
    QScrollBar *ScrollBarWidget(bool vertical) const
    {
        return vertical ? FVertScroll : FHorzScroll;
    }

    // One paint of the control into a painter (what paintEvent runs). The Painting guard of
    // the chart is reset on every exit, also when drawing throws.
    void PaintTo(QPainter &painter);

    // Chart events.
    TNotifyEvent OnParamUpdate, OnCursorMoved, OnZoomIn, OnZoomOut, OnPreCursorMove, OnCustomizeDlg,
        OnPopupMenu;
    TScrollEvent OnVertScroll, OnHorzScroll;
    TSubsetHotSpot OnSubsetHotSpot;
    TDataHotSpot OnDataHotSpot;
    TGraphHotSpot OnGraphHotSpot;
    TAnnotHotSpot OnGraphAnnotHotSpot, OnXAxisAnnotHotSpot, OnYAxisAnnotHotSpot,
        OnHorzLineAnnotHotSpot, OnVertLineAnnotHotSpot;
    TTitle OnMainTitle, OnSubTitle;
    TMultiTitle OnMultiSubTitle, OnMultiBottomTitle;
    TYAxisLabel OnYAxisLabel;
    TXAxisLabelEvent OnXAxisLabel;
    TYAxis OnYAxis;
    TXAxis OnXAxis;
    TCustomGridNumbers OnCustomGridnumbers;
    TTableAnnotation OnTableAnnotation;
    TCustomMenu OnCustomMenu;
    TPreHScroll OnPreHScroll;
    TPreVScroll OnPreVScroll;
    TGridNumber2 OnGridNumber;
    // The class library's control events.
    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // The smallest size of the chart window.
    static constexpr int kMinChartSize = 50;

protected:
    // The hot-spot rows of one control only (Point, Table): raised by that control.
    virtual void RaiseOwnHotSpot(GXHotSpotRow row, std::int32_t dbl, std::int32_t i1,
                                 std::int32_t i2)
    {
    }

    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // The control's window appears: the chart becomes its child and reports to it.
    void WMCreate();
    void LeftButton(bool doubleClick, int x, int y, std::uint32_t keys, TShiftState shift);
    void DispatchHotSpot(GXHotSpotRow row, std::int32_t type, std::int32_t i1, std::int32_t i2,
                         std::int32_t dbl);
    void InheritedMouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl);
    void InheritedMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void Forward(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam);
    void CopyScrollBar(bool vertical);
    // The bars on the screen follow FVertBar and FHorzBar; the chart gets the space they leave.
    void ShowScrollBars();
    void LayOutChart();
    // The user worked a bar on the screen: its action as a scroll message to the control.
    void ScrollBarAction(bool vertical, int action);
    void ScrollFromChart(bool vertical, std::uint32_t wParam, std::uint32_t lParam);
    void InvalidateFocusBand();
    bool RunTime() const { return !FDesigning; }
    chartlib::HCHART Chart() const { return this->FChart; }

    // ChartSink: notifications and repaint requests of the chart.
    void ChartNotify(chartlib::HCHART source, std::int32_t code) override;
    void ChartInvalidate(chartlib::HCHART source, const chartlib::ChartRect *rect) override;
    // The chart scrolled: its scroll message, with its handle as the source.
    void ChartScrolled(chartlib::HCHART source, bool vertical, std::int32_t code,
                       std::int32_t pos) override;

    chartlib::ChartLibrary &FLib;
    bool FDesigning = false;
    bool FWindowCreated = false;
    bool FClickPending = false;
    Actions FGXactions = Actions(0);
    std::int32_t FGXnarg1 = 0, FGXnarg2 = 0;
    WideString FGXstrarg1;
    std::uint32_t FLastMoveWParam = 0xFFFFFFFF;
    std::int32_t FLastMoveLParam = 0;
    std::uint32_t FLastMessage[4] = {};
    GXScrollBar FVertBar, FHorzBar;
    QScrollBar *FVertScroll = nullptr, *FHorzScroll = nullptr;
};
