#include "views/leq_form.h"

#include "views/graph_host.h"
#include "views/graph_window.h"
#include "views/grid_points.h"

#include "chart/control/gxsgraph.h"
#include "controls/lang_form.h"
#include "controls/translation_data.h"

#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/streams.h"
#include "platform/ui/app_application.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace views {

namespace {

constexpr int kColumnWidths[TfrmLEQ::ColumnCount] = {65, 75, 100, 75, 75};

QPushButton *MakeButton(QWidget *parent, const char *name, const char *caption)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit *MakeBox(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setMinimumWidth(90);
    return edit;
}

QLabel *MakeLabel(QWidget *parent, const char *name, const char *caption, QWidget *buddy)
{
    auto *label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

// One row of the table as a point of both curves.
struct TLeqPoint {
    rtl::TDateTime x = 0;
    float spl = 0;
    float leq = 0;
};

} // namespace

const std::vector<TLeqPeriod> &LeqPeriods()
{
    static const std::vector<TLeqPeriod> periods = {
        {"10 sec", 10},      {"1 minute", 60},     {"5 minutes", 300}, {"10 minutes", 600},
        {"15 minutes", 900}, {"30 minutes", 1800}, {"1 hour", 3600},   {"8 hour", 28800},
        {"24 hours", 86400}, {"Manual", 86400},
    };
    return periods;
}

QByteArray LeqTableText(const ui::TStringGrid &grid)
{
    QByteArray text;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int col = 1; col < grid.ColCount(); ++col) {
            text += grid.Cell(col, row).toUtf8();
            text += '\t';
        }
        text += "\r\n";
    }
    return text;
}

TfrmLEQ::TfrmLEQ(TLeqHost &host, i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QWidget(parent), FHost(host)
{
    setObjectName(QStringLiteral("frmLEQ"));
    setWindowTitle(QStringLiteral("LEQ"));
    setAttribute(Qt::WA_DeleteOnClose);

    cmbTimeSelect = new QComboBox(this);
    cmbTimeSelect->setObjectName(QStringLiteral("cmbTimeSelect"));
    // A list to choose from, never typed into: one period is always chosen.
    cmbTimeSelect->setEditable(false);
    for (const TLeqPeriod &p : LeqPeriods())
        cmbTimeSelect->addItem(QString::fromLatin1(p.text));
    cmbTimeSelect->setCurrentIndex(0);
    Label1 = MakeLabel(this, "Label1", "Period", cmbTimeSelect);
    btnLEQ = MakeButton(this, "btnLEQ", "Start");
    Button1 = MakeButton(this, "Button1", "Stop");
    Button2 = MakeButton(this, "Button2", "Save");
    Button3 = MakeButton(this, "Button3", "Graph");

    edtLEQValue = MakeBox(this, "edtLEQValue");
    edtTimeLeft = MakeBox(this, "edtTimeLeft");
    edtLEQrate = MakeBox(this, "edtLEQrate");
    Label2 = MakeLabel(this, "Label2", "Leq (dB)", edtLEQValue);
    Label3 = MakeLabel(this, "Label3", "Time left", edtTimeLeft);
    Label4 = MakeLabel(this, "Label4", "Readings", edtLEQrate);
    edtLEQrate->hide();
    Label4->hide();

    LEQGrid = new ui::TStringGrid(this);
    LEQGrid->setObjectName(QStringLiteral("LEQGrid"));
    LEQGrid->SetColCount(ColumnCount);
    LEQGrid->SetFixedRows(1);
    LEQGrid->SetFixedCols(1);
    LEQGrid->SetRowCount(1);
    LEQGrid->SetOptions(ui::goRowSelect);

    // The table at the left; the period, the buttons and the two boxes in a
    // column at its right, each label above its control.
    auto *side = new QVBoxLayout;
    side->addWidget(Label1);
    side->addWidget(cmbTimeSelect);
    side->addSpacing(6);
    for (QPushButton *b : {btnLEQ, Button1, Button2, Button3})
        side->addWidget(b);
    side->addSpacing(12);
    for (QWidget *w : std::initializer_list<QWidget *>{Label2, edtLEQValue, Label3, edtTimeLeft,
                                                       Label4, edtLEQrate})
        side->addWidget(w);
    side->addStretch(1);

    int gridWidth = 2 * LEQGrid->frameWidth() + 18; // room for the vertical scroll bar
    for (int width : kColumnWidths)
        gridWidth += width;
    LEQGrid->setMinimumWidth(gridWidth);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(LEQGrid, 1);
    layout->addLayout(side);

    connect(btnLEQ, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmLEQ::btnLEQClick));
    connect(Button1, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmLEQ::Button1Click));
    connect(Button2, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmLEQ::Button2Click));
    connect(Button3, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmLEQ::Button3Click));

    ui::TFormAdapter *form = ui::CreateFormComponent(this, "TfrmLEQ");
    lxLangLinked_frmLEQ = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        form, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmLEQ"));
    lxLangLinked_frmLEQ->SetName("lxLangLinked_frmLEQ");
    FormCreate();
    resize(sizeHint().width(), 420);
}

TfrmLEQ::~TfrmLEQ()
{
    // Destroyed without a close (the main window going away): the run and
    // the main window's pointer still go with the window.
    if (!FClosed) {
        FClosed = true;
        FHost.LeqFormClosed(this);
    }
}

QString TfrmLEQ::Text(const char *id) const
{
    return controls::StringById(lxLangLinked_frmLEQ, id);
}

void TfrmLEQ::FormCreate()
{
    LEQGrid->SetCell(0, 0, Text("IDS_1"));
    LEQGrid->SetCell(1, 0, Text("IDS_2"));
    LEQGrid->SetCell(2, 0, Text("IDS_3"));
    LEQGrid->SetCell(3, 0, QStringLiteral("SPL"));
    LEQGrid->SetCell(4, 0, QStringLiteral("Leq"));
    for (int col = 0; col < ColumnCount; ++col)
        LEQGrid->SetColWidth(col, kColumnWidths[col]);
}

void TfrmLEQ::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        ui::Guarded([this] { FormShow(); });
    }
}

void TfrmLEQ::FormShow()
{
    cmbTimeSelect->setCurrentIndex(0);
}

int TfrmLEQ::PeriodSeconds() const
{
    const auto &periods = LeqPeriods();
    const int index = cmbTimeSelect->currentIndex();
    if (index < 0 || index >= static_cast<int>(periods.size()))
        return periods.front().seconds;
    return periods[static_cast<size_t>(index)].seconds;
}

void TfrmLEQ::btnLEQClick()
{
    // A new run empties the table.
    if (!FormCloseQuery())
        return;
    FHost.LeqStart(this, PeriodSeconds());
}

void TfrmLEQ::Button1Click()
{
    FHost.LeqStop();
}

bool TfrmLEQ::SaveTable(const QString &fileName, QString *error) const
{
    const QByteArray text = LeqTableText(*LEQGrid);
    std::string reason;
    if (rtl::TryWriteFileAtomically(QFile::encodeName(fileName).toStdString(), text.constData(),
                                    static_cast<size_t>(text.size()), &reason))
        return true;
    if (error)
        *error = QString::fromLocal8Bit(reason.c_str());
    return false;
}

void TfrmLEQ::Button2Click()
{
    SaveTableAs();
}

bool TfrmLEQ::SaveTableAs()
{
    ui::TFileDialog dialog;
    dialog.Kind = ui::TFileDialogKind::Save;
    dialog.DefaultExt = QStringLiteral("txt");
    dialog.InitialDir = FHost.LeqSaveFolder();
    dialog.Options |= ui::ofOverwritePrompt;
    if (!ui::Services().ExecuteFileDialog(dialog))
        return false;
    QString error;
    if (!SaveTable(dialog.FileName, &error)) {
        ui::ShowMessage(
            Text("IDS_7").replace(QStringLiteral("%s"), QDir::toNativeSeparators(dialog.FileName)) +
            QLatin1Char('\n') + error);
        return false;
    }
    FTableUnsaved = false;
    return true;
}

bool TfrmLEQ::TableUnsaved() const
{
    return FTableUnsaved && LEQGrid->RowCount() > 1;
}

bool TfrmLEQ::FormCloseQuery()
{
    FTableGivenUp = false;
    if (!TableUnsaved())
        return true;
    switch (ui::MessageDlg(Text("IDS_8"), ui::mtConfirmation, ui::mbYesNoCancel)) {
    case ui::mrYes:
        return SaveTableAs();
    case ui::mrNo:
        FTableGivenUp = true;
        return true;
    default:
        return false;
    }
}

void TfrmLEQ::Button3Click()
{
    if (LEQGrid->Cell(1, 1).isEmpty()) {
        ui::ShowMessage(Text("IDS_6"));
        return;
    }
    const int rows = LEQGrid->RowCount() - 1;
    auto *graph = new TfrmGraph(FHost.LeqGraphHost(), TGraphRole::LeqPlot, this);
    views::gLeqGraph = graph;
    std::erase_if(FGraphs, [](const QPointer<TfrmGraph> &g) { return g.isNull(); });
    FGraphs.emplace_back(graph);
    graph->setWindowTitle(QStringLiteral("Leq"));
    FHost.ShowLeqGraph(graph);

    rtl::TDateTime first = 0, last = 0;
    QString text;
    if (!GridRowDateTime(*LEQGrid, 1, first, &text) ||
        !GridRowDateTime(*LEQGrid, rows, last, &text)) {
        ui::Services().ShowException(InvalidDateTimeText(text));
        return; // the empty window stays
    }
    // Only rows that read back whole become points: a second without
    // readings has no levels, and a point without them would stand in the
    // middle of the curves at 0 dB.
    std::vector<TLeqPoint> points;
    for (int row = 1; row <= rows; ++row) {
        TLeqPoint p;
        if (GridRowDateTime(*LEQGrid, row, p.x, nullptr) &&
            GridCellLevel(*LEQGrid, 3, row, p.spl) && GridCellLevel(*LEQGrid, 4, row, p.leq))
            points.push_back(p);
    }

    GXSGraph &chart = *graph->GXSGraph1;
    FHost.LeqGraphHost().SetupGraph(chart, 2, static_cast<int>(points.size()), first, last, 30.0f,
                                    130.0f);
    chart.SetSubsetLabels(0, u"SPL");
    chart.SetSubsetLabels(1, u"Leq");
    // The levels in black and the Leq in red; on a black plotting area (the
    // default look) a black curve could not be seen, so the levels keep the
    // look's own yellow there.
    const GXColor black = GXSGraph::GXargb(255, 0, 0, 0);
    chart.SetSubsetColors(0, chart.GetGraphBackColor() == black ? GXSGraph::GXargb(255, 255, 255, 0)
                                                                : black);
    chart.SetSubsetColors(1, GXSGraph::GXargb(255, 255, 0, 0));
    graph->bunCalLEQ->setEnabled(false);
    for (size_t i = 0; i < points.size(); ++i) {
        const auto j = static_cast<int32_t>(i);
        chart.SetXDataII(0, j, points[i].x);
        chart.SetXDataII(1, j, points[i].x);
        chart.SetYData(0, j, points[i].spl);
        chart.SetYData(1, j, points[i].leq);
    }

    graph->UpdateGraphStatistics();
    graph->txtSamplingRate->setEditText(QStringLiteral("1"));
    chart.SetGXactions(sgReinitAndReset);
    chart.SetGXnarg1(0);
    chart.SetGXnarg2(0);
    chart.SetGXactions(sgResetImage);
    chart.SetGXactions(sgInvalidateImage);
}

void TfrmLEQ::closeEvent(QCloseEvent *event)
{
    // A question answered Cancel, or a save that fails, keeps the window.
    event->ignore();
    ui::Guarded([this, event] {
        if (!FClosed && !ui::CloseAgreed(this) && !FormCloseQuery())
            return;
        event->accept();
        FormClose();
    });
}

void TfrmLEQ::FormClose()
{
    if (FClosed)
        return;
    FClosed = true;
    FHost.LeqFormClosed(this);
    for (const QPointer<TfrmGraph> &graph : FGraphs)
        if (graph)
            graph->close();
}

} // namespace views
