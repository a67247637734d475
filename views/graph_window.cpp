#include "views/graph_window.h"

#include "chart/control/gxsgraph.h"
#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/chartlib/chart_ids.h"
#include "platform/chartlib/render/chart_render.h"
#include "platform/rtl/numbers.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/app_application.h"
#include "platform/ui/component_adapters.h"
#include "platform/ui/cursor.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"
#include "resources/pictures.h"
#include "views/chart_records.h"
#include "views/flow_layout.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace views {

int gAnnotationMode = -99;
QPointer<TfrmGraph> gLeqCurveGraph;
QPointer<TfrmGraph> gLeqGraph;

namespace {

constexpr double kMaxSamplingRate = 86400.0;
constexpr int kSliderHeight = 22;

WideString Wide(const QString &text)
{
    return text.toStdU16String();
}

// A read-only field wide enough for the texts it will hold.
QLineEdit *Field(QWidget *parent, const char *name, const QStringList &samples)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    int width = 0;
    for (const QString &s : samples)
        width = std::max(width, edit->fontMetrics().horizontalAdvance(s));
    edit->setFixedWidth(width + 14);
    return edit;
}

QLabel *Caption(QWidget *parent, const char *name, const char *text)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A labelled group of fields that the flow layout keeps together; an at sign
// stands between a value and its time.
QWidget *Group(QWidget *parent, QLabel *label, std::initializer_list<QWidget *> fields)
{
    auto *group = new QWidget(parent);
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    label->setParent(group);
    row->addWidget(label);
    bool first = true;
    for (QWidget *field : fields) {
        if (!first)
            row->addWidget(new QLabel(QStringLiteral("@"), group));
        first = false;
        field->setParent(group);
        row->addWidget(field);
    }
    return group;
}

// A named panel with a layout of its own (no margins).
template <class Layout> QWidget *Panel(QWidget *parent, const char *name, Layout *&layout)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    layout = new Layout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    return panel;
}

// Sum, count, maximum and minimum of the levels of points first .. last.
// Points without a reading (the null level) are left out; the first of equal
// extremes wins.
struct TLevels {
    double sum = 0;
    int count = 0;
    float maximum = 0, minimum = 0;
    int maxIndex = 0, minIndex = 0;
};
template <class Level>
TLevels SummariseLevels(int first, int last, float maximum, float minimum, Level level)
{
    TLevels r;
    r.maximum = maximum;
    r.minimum = minimum;
    for (int i = first; i <= last; ++i) {
        const float v = level(i);
        if (v == kNullLevel)
            continue;
        r.sum += v;
        ++r.count;
        if (v > r.maximum) {
            r.maximum = v;
            r.maxIndex = i;
        }
        if (v < r.minimum) {
            r.minimum = v;
            r.minIndex = i;
        }
    }
    return r;
}

QStringList LevelSamples()
{
    return {QStringLiteral("-8888.8"), QStringLiteral("9999.0")};
}

QStringList DateTimeSamples()
{
    const rtl::TDateTime day = rtl::EncodeDate(2026, 12, 28);
    return {DateTimeText(day + rtl::EncodeTime(10, 58, 58, 0)),
            DateTimeText(day + rtl::EncodeTime(22, 58, 58, 0))};
}

void SetBoxText(QComboBox *box, const QString &text)
{
    if (box->isEditable()) {
        box->setEditText(text);
        return;
    }
    // A list shows only its items: a text it does not hold leaves the choice.
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
}

} // namespace

// ---- texts -----------------------------------------------------------------------------------

QString LevelText(double db)
{
    return ui::AnsiToQString(rtl::LevelText(db));
}

QString DateTimeText(rtl::TDateTime dt)
{
    return ui::AnsiToQString(rtl::DateTimeToStr(dt));
}

QString TimeText(rtl::TDateTime dt)
{
    return ui::AnsiToQString(rtl::TimeToStr(dt));
}

rtl::TDateTime RoundUpTime(rtl::TDateTime dt)
{
    return rtl::RoundDisplaySeconds(dt);
}

void RedrawChart(GXSGraph &chart)
{
    chart.SetGXnarg1(0);
    chart.SetGXnarg2(0);
    chart.SetGXactions(sgResetImage);
    chart.SetGXactions(sgInvalidateImage);
}

// ---- construction ----------------------------------------------------------------------------

TfrmGraph::TfrmGraph(TGraphHost &host, TGraphRole role, QObject *owner)
    : QWidget(nullptr), FHost(host), FRole(role)
{
    setObjectName(QStringLiteral("frmGraph"));
    resize(780, 560);

    BuildToolBar();
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(2);
    body->addWidget(BuildDataSets());
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(BuildGraphStatistics());
    column->addWidget(BuildGraphPanel(), 1);
    column->addWidget(BuildCursorStatistics());
    body->addLayout(column, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    layout->addWidget(ToolBar1);
    layout->addLayout(body, 1);

    if (owner)
        connect(owner, &QObject::destroyed, this, [this] {
            if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
                sub->deleteLater();
            else
                deleteLater();
        });

    FForm = ui::CreateFormComponent(this, "TfrmGraph");
    lxLangLinked_frmGraph = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        FForm, host.LangDispatcher(), i18n::kLanguageCount, controls::TranslationData("TfrmGraph"));
    lxLangLinked_frmGraph->SetName("lxLangLinked_frmGraph");
    // The form is read: its chart takes up the stored values at once, shown or not.
    GXSGraph1->Loaded();
    FormCreate();
}

TfrmGraph::~TfrmGraph()
{
    // The chart's events must not reach a window that is going.
    if (GXSGraph1) {
        GXSGraph1->OnMouseMove = nullptr;
        GXSGraph1->OnMouseUp = nullptr;
        GXSGraph1->OnVertLineAnnotHotSpot = nullptr;
        GXSGraph1->OnClick = nullptr;
        GXSGraph1->OnDataHotSpot = nullptr;
        GXSGraph1->OnGraphAnnotHotSpot = nullptr;
        GXSGraph1->OnZoomIn = nullptr;
        GXSGraph1->OnZoomOut = nullptr;
        GXSGraph1->OnHorzScroll = GXSGraph1->OnVertScroll = nullptr;
        GXSGraph1->OnCustomizeDlg = nullptr;
    }
    if (Slider1)
        Slider1->OnValueChange1 = Slider1->OnValueChange2 = nullptr;
}

void TfrmGraph::BuildToolBar()
{
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    // The bar wraps in a narrow window rather than cutting its buttons off.
    auto *row = new TFlowLayout(ToolBar1, 1, 1);
    row->setContentsMargins(2, 2, 2, 0);
    auto tool = [this, row](const char *name, const char *hint, const char *icon, bool checkable) {
        auto *button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(QString::fromLatin1(hint));
        button->setIcon(QIcon(QString::fromLatin1(icon)));
        button->setIconSize(QSize(20, 20));
        button->setFixedSize(26, 26);
        button->setAutoRaise(true);
        button->setCheckable(checkable);
        row->addWidget(button);
        return button;
    };
    auto separator = [this, row](const char *name = nullptr) {
        auto *line = new QFrame(ToolBar1);
        if (name)
            line->setObjectName(QString::fromLatin1(name));
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedSize(8, 24);
        row->addWidget(line);
        return line;
    };
    auto button = [this, row](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        return b;
    };

    ToolButton1 = tool("ToolButton1", "Toggle Graph Statistic", pictures::kGraphStatistics, true);
    ToolButton2 =
        tool("ToolButton2", "Toggle Line Cursor Statistic", pictures::kGraphCursorStatistics, true);
    ToolButton1->setChecked(true);
    ToolButton2->setChecked(true);
    separator();
    ToolButton4 = tool("ToolButton4", "Normal Cursor", pictures::kGraphNormalCursor, true);
    ToolButton9 = tool("ToolButton9", "Text", pictures::kGraphText, true);
    ToolButton5 = tool("ToolButton5", "Draw A Cross On Graph", pictures::kGraphCross, true);
    // Two groups of check buttons on one tool bar, one button down in each:
    // the three modes, and the two views.
    auto group = [this](std::initializer_list<QToolButton *> buttons) {
        auto *g = new QButtonGroup(this);
        for (QToolButton *b : buttons)
            g->addButton(b);
    };
    group({ToolButton4, ToolButton9, ToolButton5});
    ToolButton4->setChecked(true);
    ToolButton13 = tool("ToolButton13", "Erase Annotation", pictures::kGraphErase, false);
    separator();
    UndoZoom = tool("UndoZoom", "Undo Zoom", pictures::kGraphUndoZoom, false);
    UndoZoom->setEnabled(false);
    ToolButton6 = tool("ToolButton6", "Color", pictures::kGraphColor, true);
    ToolButton7 = tool("ToolButton7", "Monochrome", pictures::kGraphMonochrome, true);
    group({ToolButton6, ToolButton7});
    ToolButton6->hide();
    ToolButton7->hide();
    separator();
    Button1 = button("Button1", "Graph Option");
    bunCalLEQ = button("bunCalLEQ", "CAL Leq");
    Button2 = button("Button2", "Export Statistic");
    tbntSep3 = separator("tbntSep3");
    tbntClr = tool("tbntClr", "Clear", pictures::kGraphClear, false);
    tbntSep3->hide();
    tbntClr->hide();

    // Every handler runs guarded: an exception it raises is shown, not passed to Qt.
    auto onClick = [this](QAbstractButton *b, void (TfrmGraph::*handler)()) {
        connect(b, &QAbstractButton::clicked, this,
                ui::GuardedSlot([this, handler](bool) { (this->*handler)(); }));
    };
    onClick(ToolButton1, &TfrmGraph::ToolButton1Click);
    onClick(ToolButton2, &TfrmGraph::ToolButton2Click);
    onClick(tbntClr, &TfrmGraph::tbntClrClick);
    onClick(ToolButton4, &TfrmGraph::ToolButton4Click);
    onClick(ToolButton9, &TfrmGraph::ToolButton9Click);
    onClick(ToolButton5, &TfrmGraph::ToolButton5Click);
    onClick(ToolButton13, &TfrmGraph::ToolButton13Click);
    onClick(UndoZoom, &TfrmGraph::UndoZoomClick);
    onClick(ToolButton6, &TfrmGraph::ToolButton7Click);
    onClick(ToolButton7, &TfrmGraph::ToolButton7Click);
    onClick(Button1, &TfrmGraph::Button1Click);
    onClick(bunCalLEQ, &TfrmGraph::bunCalLEQClick);
    onClick(Button2, &TfrmGraph::Button2Click);
}

QWidget *TfrmGraph::BuildGraphStatistics()
{
    TFlowLayout *flow = nullptr;
    pnlGraphStatistic = Panel(this, "pnlGraphStatistic", flow);
    flow->setContentsMargins(4, 2, 4, 2);
    QWidget *p = pnlGraphStatistic;

    txtStartTime = Field(p, "txtStartTime", DateTimeSamples());
    QHBoxLayout *rateRow = nullptr;
    pnlSamplingRate = Panel(p, "pnlSamplingRate", rateRow);
    txtSamplingRate = new QComboBox(pnlSamplingRate);
    txtSamplingRate->setObjectName(QStringLiteral("txtSamplingRate"));
    txtSamplingRate->setEditable(true);
    txtSamplingRate->setInsertPolicy(QComboBox::NoInsert);
    txtSamplingRate->setMinimumWidth(
        txtSamplingRate->fontMetrics().horizontalAdvance(QStringLiteral("88888.8")) + 36);
    rateRow->addWidget(txtSamplingRate);
    // Only the real-time window's box is the user's (SetSamplingRateList).
    pnlSamplingRate->setEnabled(false);
    const auto rateChange =
        ui::GuardedSlot([this](const QString &text) { txtSamplingRateChange(text); });
    connect(txtSamplingRate, &QComboBox::textActivated, this, rateChange);
    connect(txtSamplingRate->lineEdit(), &QLineEdit::textEdited, this, rateChange);

    txtDataNo = Field(p, "txtDataNo", {QStringLiteral("88888888")});
    txtAvgAll = Field(p, "txtAvgAll", LevelSamples());
    txtMax = Field(p, "txtMax", LevelSamples());
    txtMaxTime = Field(p, "txtMaxTime", DateTimeSamples());
    txtMin = Field(p, "txtMin", LevelSamples());
    txtMinTime = Field(p, "txtMinTime", DateTimeSamples());

    flow->addWidget(Group(p, Caption(p, "Label1", "Start Time:"), {txtStartTime}));
    flow->addWidget(Group(p, Caption(p, "Label2", "Sampling Rate:"), {pnlSamplingRate}));
    flow->addWidget(Group(p, Caption(p, "Label3", "DataNo:"), {txtDataNo}));
    flow->addWidget(Group(p, Caption(p, "Label4", "Avg.:"), {txtAvgAll}));
    flow->addWidget(Group(p, Caption(p, "Label5", "Maximum:"), {txtMax, txtMaxTime}));
    flow->addWidget(Group(p, Caption(p, "Label6", "Minimum:"), {txtMin, txtMinTime}));
    return pnlGraphStatistic;
}

QWidget *TfrmGraph::BuildDataSets()
{
    QVBoxLayout *layout = nullptr;
    pnlDataSets = Panel(this, "pnlDataSets", layout);
    layout->setContentsMargins(2, 2, 0, 2);
    Grid2 = new ui::TStringGrid(pnlDataSets);
    Grid2->setObjectName(QStringLiteral("Grid2"));
    Grid2->SetColCount(8);
    Grid2->SetFixedRows(1);
    Grid2->SetRowCount(2);
    Grid2->SetOptions(ui::goRowSelect);
    layout->addWidget(Grid2);
    pnlDataSets->setFixedWidth(405);
    pnlDataSets->setVisible(FRole == TGraphRole::DataLogger);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    ChangeDateTime1 = PopupMenu1->addAction(ui::QtCaption(QStringLiteral("Change Date & Time")));
    ChangeDateTime1->setObjectName(QStringLiteral("ChangeDateTime1"));
    Grid2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Grid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(Grid2->viewport()->mapToGlobal(pos)); });
    connect(ChangeDateTime1, &QAction::triggered, this,
            ui::GuardedSlot([this](bool) { ChangeDateTime1Click(); }));
    // The grid runs its handlers guarded itself.
    connect(Grid2, &ui::TStringGrid::cellClicked, this, [this](int, int) { Grid2Click(); });
    return pnlDataSets;
}

QWidget *TfrmGraph::BuildGraphPanel()
{
    QVBoxLayout *layout = nullptr;
    pnlGraph = Panel(this, "pnlGraph", layout);
    GXSGraph1 = new GXSGraph(pnlGraph);
    GXSGraph1->setObjectName(QStringLiteral("GXSGraph1"));
    GXSGraph1->ApplyGraphFormValues();
    ui::MarkChart(GXSGraph1); // Tile and Cascade keep it high enough to read
    layout->addWidget(GXSGraph1);

    Panel12 = new QLabel(pnlGraph);
    Panel12->setObjectName(QStringLiteral("Panel12"));
    Panel12->setFrameShape(QFrame::Panel);
    Panel12->setFrameShadow(QFrame::Raised);
    Panel12->setAutoFillBackground(true);
    Panel12->setMargin(2);
    Panel12->hide(); // shown with its first readout
    Panel12->raise();
    // The mouse goes through it to the chart under it.
    Panel12->setAttribute(Qt::WA_TransparentForMouseEvents);

    GXSGraph1->OnMouseMove = [this](QObject *sender, TShiftState, int x, int y) {
        GXSGraph1MouseMove(sender, x, y);
    };
    GXSGraph1->OnMouseUp = [this](QObject *sender, TMouseButton, TShiftState, int, int) {
        GXSGraph1MouseUp(sender);
    };
    GXSGraph1->OnVertLineAnnotHotSpot = [this](QObject *sender, std::int32_t dbl,
                                               std::int32_t index) {
        GXSGraph1VertLineAnnotHotSpot(sender, dbl, index);
    };
    WireMarks();
    GXSGraph1->installEventFilter(this);
    pnlGraph->installEventFilter(this);
    return pnlGraph;
}

QWidget *TfrmGraph::BuildCursorStatistics()
{
    QVBoxLayout *layout = nullptr;
    pnlStatistic = Panel(this, "pnlStatistic", layout);
    layout->setSpacing(2);

    pnlSlider = new QWidget(pnlStatistic);
    pnlSlider->setObjectName(QStringLiteral("pnlSlider"));
    pnlSlider->setFixedHeight(kSliderHeight);
    Slider1 = new controls::Tslider2(pnlSlider);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->SetMin(0);
    Slider1->SetMax(0);
    Slider1->SetValue1(0);
    Slider1->SetValue2(0);
    Slider1->SetTrackWidth(5);
    Slider1->SetThumbHeight(16);
    Slider1->SetTrackColor(palette().color(QPalette::Base));
    Slider1->setGeometry(0, 0, 200, kSliderHeight);
    Slider1->OnValueChange1 = [this](QObject *sender) { Slider1ValueChange1(sender); };
    Slider1->OnValueChange2 = Slider1->OnValueChange1;
    pnlSlider->installEventFilter(this);
    layout->addWidget(pnlSlider);

    auto *fields = new QWidget(pnlStatistic);
    auto *flow = new TFlowLayout(fields);
    flow->setContentsMargins(4, 0, 4, 2);
    txtCursorA = Field(fields, "txtCursorA", LevelSamples());
    txtCursorATime = Field(fields, "txtCursorATime", DateTimeSamples());
    txtCursorB = Field(fields, "txtCursorB", LevelSamples());
    txtCursorBTime = Field(fields, "txtCursorBTime", DateTimeSamples());
    txtMaxAB = Field(fields, "txtMaxAB", LevelSamples());
    txtMaxABTime = Field(fields, "txtMaxABTime", DateTimeSamples());
    txtMinAB = Field(fields, "txtMinAB", LevelSamples());
    txtMinABTime = Field(fields, "txtMinABTime", DateTimeSamples());
    txtAvgAB = Field(fields, "txtAvgAB", LevelSamples());
    flow->addWidget(
        Group(fields, Caption(fields, "Label7", "Cursor A:"), {txtCursorA, txtCursorATime}));
    flow->addWidget(
        Group(fields, Caption(fields, "Label8", "Cursor B:"), {txtCursorB, txtCursorBTime}));
    flow->addWidget(
        Group(fields, Caption(fields, "Label9", "Max.Between A and B:"), {txtMaxAB, txtMaxABTime}));
    flow->addWidget(Group(fields, Caption(fields, "Label10", "Min.Between A and B:"),
                          {txtMinAB, txtMinABTime}));
    flow->addWidget(Group(fields, Caption(fields, "Label11", "Avg. Between A and B:"), {txtAvgAB}));
    layout->addWidget(fields);
    return pnlStatistic;
}

// ---- window events ---------------------------------------------------------------------------

void TfrmGraph::FormCreate()
{
    for (int c = 0; c <= 6; ++c)
        Grid2->SetCell(c, 0, StringById(("IDS_" + std::to_string(c)).c_str()));
    Grid2->SetCell(7, 0, QStringLiteral("LEVEL"));
    const int widths[8] = {25, 60, 60, 40, 40, 40, 40, 60};
    for (int c = 0; c < 8; ++c)
        Grid2->SetColWidth(c, widths[c]);
    for (int c = 0; c < Grid2->ColCount(); ++c)
        Grid2->SetCell(c, 1, QString());
}

void TfrmGraph::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        ui::Guarded([this] { FormShow(); });
    }
}

void TfrmGraph::FormShow()
{
    ToolButton6->setChecked(true);
    GXSGraph1->SetArrowCursor(1);
    gAnnotationMode = -99;
    const QString text = txtSamplingRate->currentText();
    txtSamplingRate->clear();
    for (double rate : kSamplingRates)
        txtSamplingRate->addItem(LevelText(rate));
    if (txtSamplingRate->isEditable())
        txtSamplingRate->setEditText(text);
    else
        txtSamplingRate->setCurrentIndex(-1);
}

void TfrmGraph::FormActivate()
{
    FHost.GraphActivated(*this);
}

bool TfrmGraph::DataUnsaved() const
{
    return (FRole == TGraphRole::DataLogger && FHost.LoggerUnsaved()) ||
           (FRole == TGraphRole::RealTime && FHost.RealTimeUnsaved());
}

bool TfrmGraph::FormCloseQuery()
{
    // Each question belongs to the window whose data it is about; "Yes" saves
    // this window, and a cancelled or failed save keeps it open.
    auto ask = [this](const char *id) {
        return ui::MessageDlg(StringById(id), ui::mtConfirmation, ui::mbYesNoCancel);
    };
    FDataGivenUp = false;
    if (FRole == TGraphRole::DataLogger && FHost.LoggerUnsaved()) {
        const ui::TModalResult answer = ask("IDS_10");
        if (answer == ui::mrYes) {
            if (!FHost.SaveGraphWindow(*this))
                return false;
            FHost.SetLoggerUnsaved(false);
        } else if (answer == ui::mrNo) {
            FDataGivenUp = true;
        } else {
            return false;
        }
    }
    if (FRole == TGraphRole::RealTime && FHost.RealTimeUnsaved()) {
        const ui::TModalResult answer = ask("IDS_12");
        if (answer == ui::mrYes) {
            // Cleared before the save: a sample that comes while the file is
            // chosen or written (the text formats show a progress window)
            // marks the data unsaved again, so the close asks once more.
            FHost.SetRealTimeUnsaved(false);
            if (!FHost.SaveGraphWindow(*this)) {
                FHost.SetRealTimeUnsaved(true);
                return false;
            }
        } else if (answer == ui::mrNo) {
            FDataGivenUp = true;
        } else {
            return false;
        }
        // No: the data go when the window closes (FormClose); a close of the
        // program that is cancelled later keeps them, and asks again.
    }
    return true;
}

void TfrmGraph::FormClose()
{
    if (FRole == TGraphRole::DataLogger)
        FHost.SetLoggerUnsaved(false);
    if (FRole == TGraphRole::RealTime)
        FHost.SetRealTimeUnsaved(false);
    FHost.GraphClosed(*this);
}

void TfrmGraph::closeEvent(QCloseEvent *event)
{
    // A question or save that fails keeps the window open.
    event->ignore();
    ui::Guarded([this, event] {
        if (FHost.WindowInUse(*this)) {
            ui::ShowMessage(StringById("IDS_140"));
            return;
        }
        if (!ui::CloseAgreed(this) && !FormCloseQuery())
            return;
        event->accept();
        FormClose();
    });
}

bool TfrmGraph::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        // The chart lays its plot out in its own resize handling, which runs
        // after this filter: the slider follows once that is done.
        if (watched == GXSGraph1 || watched == pnlSlider)
            QTimer::singleShot(0, this, &TfrmGraph::FormResize);
        if (watched == pnlGraph)
            pnlGraphResize();
    }
    if (event->type() == QEvent::Leave && watched == GXSGraph1)
        HideReadout();
    return QWidget::eventFilter(watched, event);
}

void TfrmGraph::FormResize()
{
    AlignSlider();
}

void TfrmGraph::pnlGraphResize()
{
    PlaceReadout();
}

void TfrmGraph::PlaceReadout()
{
    const auto plot =
        ReadChartRecord<chartlib::ChartRect>(GXSGraph1->GethObject(), chartlib::prop::PlotRect);
    Panel12->move(GXSGraph1->pos() + QPoint(plot.left + 1, plot.top + 1));
}

void TfrmGraph::HideReadout()
{
    Panel12->hide();
}

void TfrmGraph::AlignSlider()
{
    const auto plot =
        ReadChartRecord<chartlib::ChartRect>(GXSGraph1->GethObject(), chartlib::prop::PlotRect);
    const int left =
        GXSGraph1->mapTo(this, QPoint(plot.left, 0)).x() - pnlSlider->mapTo(this, QPoint(0, 0)).x();
    Slider1->setGeometry(left, 0, std::max(0, plot.right - plot.left), pnlSlider->height());
}

void TfrmGraph::Grid2Click()
{
    const int top = Grid2->Selection().Top;
    if (!Grid2->Cell(1, top).isEmpty())
        FHost.ShowDataSet(top - 1);
}

void TfrmGraph::ChangeDateTime1Click()
{
    const int top = Grid2->Selection().Top;
    if (!Grid2->Cell(1, top).isEmpty())
        FHost.ChangeDataSetTime(top - 1);
}

QString TfrmGraph::StringById(const char *id) const
{
    return controls::StringById(lxLangLinked_frmGraph, id);
}

// ---- statistics ------------------------------------------------------------------------------

void TfrmGraph::ClearGraphStatistics()
{
    for (QLineEdit *edit :
         {txtStartTime, txtDataNo, txtAvgAll, txtMax, txtMaxTime, txtMin, txtMinTime})
        edit->clear();
    if (txtSamplingRate->isEditable())
        txtSamplingRate->setEditText(QString());
}

int TfrmGraph::ReadLevels(std::vector<double> &x, std::vector<float> &y) const
{
    const chartlib::HCHART h = GXSGraph1->GethObject();
    const int points = std::max(0, GXSGraph1->GetPoints());
    x.assign(static_cast<std::size_t>(points), 0.0);
    y.assign(static_cast<std::size_t>(points), 0.0f);
    if (points > 0) {
        chartlib::ChartGetProperty(h, chartlib::prop::XDataII, std::span<double>(x));
        chartlib::ChartGetProperty(h, chartlib::prop::YData, std::span<float>(y));
    }
    // Points after the first unfilled one (X 0.0) are capacity, not data.
    return int(std::find(x.begin(), x.end(), 0.0) - x.begin());
}

void TfrmGraph::UpdateGraphStatistics()
{
    std::vector<double> x;
    std::vector<float> y;
    const int n = ReadLevels(x, y);
    FPointsInUse = n;

    ClearGraphStatistics();
    if (n > 0) {
        const double first = x[0], last = x[size_t(n - 1)];
        txtStartTime->setText(DateTimeText(RoundUpTime(first)));
        const double interval = n > 1 ? (last - first) * rtl::SecsPerDay / (n - 1) : 0.0;
        SetBoxText(txtSamplingRate, LevelText(interval));
        txtDataNo->setText(QString::number(n));

        // Null points (no reading) count as points but not as levels.
        const TLevels levels =
            SummariseLevels(0, n - 1, -9999.0f, 9999.0f, [&y](int i) { return y[size_t(i)]; });
        if (levels.count > 0) {
            txtAvgAll->setText(LevelText(levels.sum / levels.count));
            txtMax->setText(LevelText(levels.maximum));
            txtMaxTime->setText(DateTimeText(RoundUpTime(x[size_t(levels.maxIndex)])));
            txtMin->setText(LevelText(levels.minimum));
            txtMinTime->setText(DateTimeText(RoundUpTime(x[size_t(levels.minIndex)])));
        }
    }

    // The slider under the plot, its thumbs a third and two thirds in. The
    // cursors follow once, from the final values, even when none changed.
    AlignSlider();
    FSettingSlider = true;
    Slider1->SetMin(0);
    Slider1->SetMax(std::max(0, n - 1));
    Slider1->SetValue1(n / 3);
    Slider1->SetValue2(int((2 * std::int64_t(n)) / 3));
    FSettingSlider = false;
    Slider1ValueChange1(Slider1);
}

void TfrmGraph::Slider1ValueChange1(QObject *)
{
    FCursorA = Slider1->Value1();
    FCursorB = Slider1->Value2();
    if (FSettingSlider)
        return;
    if (Slider1->Maximum() <= 0) {
        // One point or none: no cursors to show.
        ClearCursors();
        RedrawChart(*GXSGraph1);
        return;
    }
    ShowCursor(0);
    ShowCursor(1);
    UpdateCursorStatistics();
    pnlSlider->update();
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::ShowCursor(int k)
{
    const int index = k == 0 ? FCursorA : FCursorB;
    const double x = GXSGraph1->GetXDataII(0, index);
    const float level = GXSGraph1->GetYData(0, index);
    const rtl::TDateTime t = RoundUpTime(x);
    (k == 0 ? txtCursorA : txtCursorB)->setText(LevelText(level));
    (k == 0 ? txtCursorATime : txtCursorBTime)->setText(DateTimeText(t));
    GXSGraph1->SetVertLineAnnotation(k, x);
    GXSGraph1->SetVertLineAnnotationText(k, Wide(QStringLiteral("|t") + TimeText(t) +
                                                 QLatin1Char('\n') + LevelText(level) +
                                                 QStringLiteral("dB")));
}

void TfrmGraph::ClearCursors()
{
    for (QLineEdit *edit : {txtCursorA, txtCursorATime, txtCursorB, txtCursorBTime, txtMaxAB,
                            txtMaxABTime, txtMinAB, txtMinABTime, txtAvgAB})
        edit->clear();
    // Lines at X 0.0 lie before every date-time scale: nothing is drawn.
    for (int k = 0; k < 2; ++k) {
        GXSGraph1->SetVertLineAnnotation(k, 0.0);
        GXSGraph1->SetVertLineAnnotationText(k, WideString());
    }
}

void TfrmGraph::UpdateCursorStatistics()
{
    const int lo = std::min(FCursorA, FCursorB);
    const int hi = std::min(std::max(FCursorA, FCursorB), GXSGraph1->GetPoints() - 1);
    const TLevels levels = SummariseLevels(std::max(0, lo), hi, -99999.0f, 99999.0f,
                                           [this](int i) { return GXSGraph1->GetYData(0, i); });
    for (QLineEdit *edit : {txtMaxAB, txtMaxABTime, txtMinAB, txtMinABTime, txtAvgAB})
        edit->clear();
    if (levels.count == 0)
        return;
    txtMaxAB->setText(LevelText(levels.maximum));
    txtMinAB->setText(LevelText(levels.minimum));
    txtAvgAB->setText(LevelText(levels.sum / levels.count));
    // The times as stored, not rounded.
    txtMaxABTime->setText(DateTimeText(GXSGraph1->GetXDataII(0, levels.maxIndex)));
    txtMinABTime->setText(DateTimeText(GXSGraph1->GetXDataII(0, levels.minIndex)));
}

// ---- mouse readout and cursor drag -----------------------------------------------------------

void TfrmGraph::GXSGraph1MouseMove(QObject *, int, int)
{
    const chartlib::HCHART h = GXSGraph1->GethObject();
    const auto mouse = ReadChartRecord<chartlib::PointRecord>(h, chartlib::prop::MousePoint);
    chartlib::ChartHitTest(h, mouse.x, mouse.y);
    const auto plot = ReadChartRecord<chartlib::ChartRect>(h, chartlib::prop::PlotRect);
    const auto hot = ReadChartRecord<chartlib::HotSpotRecord>(h, chartlib::prop::HotSpotData);
    std::int32_t axis = 0, px = mouse.x, py = mouse.y;
    double dataX = 0, dataY = 0;
    chartlib::ChartConvertPoint(h, &axis, &px, &py, &dataX, &dataY, 0, 0, 0);

    if (mouse.x < plot.left || mouse.x > plot.right || mouse.y < plot.top ||
        mouse.y > plot.bottom) {
        HideReadout();
        return;
    }
    Panel12->setText(LevelText(dataY) + QStringLiteral("dB@") + TimeText(dataX));
    Panel12->adjustSize();
    PlaceReadout();
    Panel12->show();

    // On a cursor line nothing moves: the line is where the pointer is.
    if (hot.type == chartlib::hotspot::VertLineAnnotation)
        return;
    if (FDragCursorA) {
        if (DragCursor(0, dataX)) {
            UpdateCursorStatistics();
            SetCursorA(dataY);
        }
    } else if (FDragCursorB) {
        if (DragCursor(1, dataX)) {
            UpdateCursorStatistics();
            SetCursorB(dataY);
        }
    }
}

bool TfrmGraph::DragCursor(int k, double dataX)
{
    std::int32_t &cursor = k == 0 ? FCursorA : FCursorB;
    const int last = Slider1->Maximum();
    const double line = GXSGraph1->GetVertLineAnnotation(k);
    auto x = [this](int i) { return GXSGraph1->GetXDataII(0, i); };
    if (line < dataX && cursor < last) {
        while (x(cursor) < dataX && cursor < last)
            ++cursor;
    } else if (line > dataX && cursor > 0) {
        while (x(cursor) > dataX && cursor > 0)
            --cursor;
    } else {
        return false;
    }
    return true;
}

void TfrmGraph::SetCursorA(double dataY)
{
    SetCursor(0, dataY);
}

void TfrmGraph::SetCursorB(double dataY)
{
    SetCursor(1, dataY);
}

void TfrmGraph::SetCursor(int k, double dataY)
{
    const int index = k == 0 ? FCursorA : FCursorB;
    if (k == 0)
        Slider1->SetValue1(index);
    else
        Slider1->SetValue2(index);
    Slider1->update();

    // The pointer snaps onto the line.
    const chartlib::HCHART h = GXSGraph1->GethObject();
    std::int32_t axis = 0, px = 0, py = 0;
    double dx = GXSGraph1->GetXDataII(0, index), dy = dataY;
    if (chartlib::ChartConvertPoint(h, &axis, &px, &py, &dx, &dy, 0, 0, 1))
        ui::SetCursorPos(GXSGraph1->mapToGlobal(QPoint(px, py)));

    ShowCursor(k);
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::GXSGraph1VertLineAnnotHotSpot(QObject *, std::int32_t, std::int32_t nIndex)
{
    if (nIndex == 0)
        FDragCursorA = true;
    else if (nIndex == 1)
        FDragCursorB = true;
}

void TfrmGraph::GXSGraph1MouseUp(QObject *)
{
    FDragCursorA = FDragCursorB = false;
}

// ---- tool bar --------------------------------------------------------------------------------

void TfrmGraph::ToolButton1Click()
{
    pnlGraphStatistic->setVisible(ToolButton1->isChecked());
    pnlGraphResize();
}

void TfrmGraph::ToolButton2Click()
{
    const bool down = ToolButton2->isChecked();
    pnlStatistic->setVisible(down);
    GXSGraph1->SetShowVertLineAnnotations(down);
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::tbntClrClick()
{
    setWindowTitle(QString::fromLatin1(kRealTimeCaption));
    tbntSep3->show();
    tbntClr->show();
    const rtl::TDateTime now = rtl::GetClock().Now();
    const double span = double(float(30.0 / rtl::SecsPerDay));
    FHost.SetupGraph(*GXSGraph1, 1, 200, now, now + span, 30.0f, 130.0f);
    GXSGraph1->SetXDataII(0, -1, 0.0);
    GXSGraph1->SetYData(0, -1, 0.0f);
    FHost.RealTimeGraphCleared(*this);
    for (int k = 3; k <= FAnnotationCount; ++k) {
        GXSGraph1->SetGraphAnnotationX(k, 0.0);
        GXSGraph1->SetGraphAnnotationY(k, 0.0);
    }
    FAnnotationCount = 3;
    UpdateGraphStatistics();
    RedrawChart(*GXSGraph1);
}

// ---- sampling rate ---------------------------------------------------------------------------

int TfrmGraph::SamplingRateIndex(double rate)
{
    const double limits[6] = {1.5, 2.5, 5.5, 10.5, 20.5, 30.5};
    for (int i = 0; i < 6; ++i)
        if (rate < limits[i])
            return i;
    return -1;
}

void TfrmGraph::SelectSamplingRate(double rate)
{
    const int index = SamplingRateIndex(rate);
    if (index >= 0 && index < txtSamplingRate->count())
        txtSamplingRate->setCurrentIndex(index);
}

void TfrmGraph::SetSamplingRateList()
{
    txtSamplingRate->setEditable(false);
    pnlSamplingRate->setEnabled(true);
}

void TfrmGraph::txtSamplingRateChange(const QString &text)
{
    if (FRole != TGraphRole::RealTime)
        return;
    if (FHost.RealTimeRunning()) {
        SelectSamplingRate(FHost.RealTimeRate());
        ui::ShowMessage(QStringLiteral("Can not change Sampling Rate while Real-Time is running."));
        return;
    }
    double rate = 0;
    if (!rtl::TryStrToFloat(ui::QStringToAnsi(text), rate))
        return;
    if (!std::isfinite(rate) || rate <= 0 || rate > kMaxSamplingRate)
        return;
    FHost.SetRealTimeRate(rate);
}

} // namespace views
