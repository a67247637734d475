// The graph window's marks (texts, crosses and the data-point marker), the
// erase dialog, the zoom undo, the colour or monochrome view and the chart's
// own dialog with the template question.
#include "views/graph_window.h"

#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chart_ids.h"
#include "platform/chartlib/render/chart_render.h"
#include "platform/chartlib/render/render_props.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"
#include "views/chart_records.h"
#include "views/show_modal.h"
#include "views/small_dialogs.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace views {

namespace {

constexpr GXColor kMarkerColor = GXSGraph::GXargb(255, 255, 255, 0); // opaque yellow

// The pointer of cross mode: a cross whose centre lies kCrossOffset pixels
// right of and below the pointer's hot spot, where the cross mark lands.
std::int32_t CrossCursor()
{
    static const std::int32_t handle = [] {
        constexpr int size = 32, c = TfrmGraph::kCrossOffset, arm = 8;
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        for (const auto &[colour, width] : {std::pair{Qt::white, 3}, std::pair{Qt::black, 1}}) {
            p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(c - arm, c, c + arm, c);
            p.drawLine(c, c - arm, c, c + arm);
        }
        p.end();
        return chartlib::ChartRegisterCursor(QCursor(picture, 0, 0));
    }();
    return handle;
}

// The time column grows to its longest date-time (the locale's may be longer
// than the column's 120 pixels), and the dialog with it.
void FitTimeColumn(TfrmDelAnno &dialog)
{
    ui::TStringGrid &grid = *dialog.StringGrid1;
    const QFontMetrics metrics(grid.font());
    int longest = 0;
    for (int row = 1; row < grid.RowCount(); ++row)
        longest = std::max(longest, metrics.horizontalAdvance(grid.Cell(1, row)));
    const int width = longest + 2 * metrics.horizontalAdvance(QLatin1Char('0'));
    const int grow = width - grid.ColWidth(1);
    if (grow <= 0)
        return;
    grid.SetColWidth(1, width);
    dialog.setFixedWidth(dialog.width() + grow);
}

} // namespace

void TfrmGraph::WireMarks()
{
    GXSGraph1->OnClick = [this](QObject *sender) { GXSGraph1Click(sender); };
    GXSGraph1->OnDataHotSpot = [this](QObject *sender, std::int32_t dbl, std::int32_t subset,
                                      std::int32_t point) {
        GXSGraph1DataHotSpot(sender, dbl, subset, point);
    };
    GXSGraph1->OnGraphAnnotHotSpot = [this](QObject *sender, std::int32_t dbl, std::int32_t index) {
        GXSGraph1GraphAnnotHotSpot(sender, dbl, index);
    };
    GXSGraph1->OnZoomIn = [this](QObject *sender) { GXSGraph1ZoomIn(sender); };
    GXSGraph1->OnZoomOut = [this](QObject *) { HideReadout(); };
    GXSGraph1->OnHorzScroll = GXSGraph1->OnVertScroll = [this](QObject *, std::int32_t,
                                                               std::int32_t &) { HideReadout(); };
    GXSGraph1->OnCustomizeDlg = [this](QObject *sender) { GXSGraph1CustomizeDlg(sender); };
}

// ---- mode buttons ----------------------------------------------------------------------------

void TfrmGraph::ToolButton4Click()
{
    GXSGraph1->SetArrowCursor(1);
    gAnnotationMode = -99;
}

void TfrmGraph::ToolButton9Click()
{
    GXSGraph1->SetArrowCursor(2);
    gAnnotationMode = kTextMark;
}

void TfrmGraph::ToolButton5Click()
{
    GXSGraph1->SetArrowCursor(CrossCursor());
    gAnnotationMode = kCrossMark;
}

// ---- placing and erasing marks ---------------------------------------------------------------

bool TfrmGraph::PlotPointToData(int x, int y, double &dataX, double &dataY) const
{
    const chartlib::HCHART h = GXSGraph1->GethObject();
    const auto plot = ReadChartRecord<chartlib::ChartRect>(h, chartlib::prop::PlotRect);
    std::int32_t axis = 0, px = x, py = y;
    chartlib::ChartConvertPoint(h, &axis, &px, &py, &dataX, &dataY, 0, 0, 0);
    return x >= plot.left && x <= plot.right && y >= plot.top && y <= plot.bottom;
}

void TfrmGraph::GXSGraph1Click(QObject *)
{
    if (FZoomedByPress) { // the press drew a zoom band
        FZoomedByPress = false;
        return;
    }
    if (gAnnotationMode != kTextMark && gAnnotationMode != kCrossMark)
        return;
    const bool text = gAnnotationMode == kTextMark;
    const auto mouse =
        ReadChartRecord<chartlib::PointRecord>(GXSGraph1->GethObject(), chartlib::prop::MousePoint);
    const int x = mouse.x + (text ? kTextOffsetX : kCrossOffset);
    const int y = mouse.y + (text ? kTextOffsetY : kCrossOffset);
    double dataX = 0, dataY = 0;
    if (!PlotPointToData(x, y, dataX, dataY))
        return; // nothing is placed outside the plotting area
    // The arrays of a chart end somewhere: past that no mark is placed.
    if (FAnnotationCount + 1 >= chartlib::kMaxArrayLength)
        return;

    auto place = [this, dataX, dataY](std::int32_t type, const QString &content) {
        const std::int32_t k = ++FAnnotationCount;
        GXSGraph1->SetGraphAnnotationType(k, type);
        GXSGraph1->SetGraphAnnotationX(k, dataX);
        GXSGraph1->SetGraphAnnotationY(k, dataY);
        GXSGraph1->SetGraphAnnotationText(k, content.toStdU16String());
    };
    if (text) {
        frmAnnoEdit = new TfrmAnnoEdit(FHost.LangDispatcher(), this);
        TfrmAnnoEdit *dialog = frmAnnoEdit;
        if (ShowModal(*dialog) == ui::mrOk)
            place(kTextMark, dialog->Edit1->text());
        delete dialog;
    } else {
        place(kCrossMark, QString());
    }
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::GXSGraph1DataHotSpot(QObject *, std::int32_t, std::int32_t SubsetIndex,
                                     std::int32_t PointIndex)
{
    const double x = GXSGraph1->GetXDataII(SubsetIndex, PointIndex);
    const double y = GXSGraph1->GetYData(SubsetIndex, PointIndex);
    GXSGraph1->SetGraphAnnotationType(kDataMarker, kCrossMark);
    GXSGraph1->SetGraphAnnotationColor(kDataMarker, kMarkerColor);
    GXSGraph1->SetGraphAnnotationX(kDataMarker, x);
    GXSGraph1->SetGraphAnnotationY(kDataMarker, y);
    const QString text =
        TimeText(RoundUpTime(x)) + QLatin1Char('\r') + LevelText(y) + QStringLiteral(" dB");
    GXSGraph1->SetGraphAnnotationText(kDataMarker, text.toStdU16String());
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::GXSGraph1GraphAnnotHotSpot(QObject *, std::int32_t DblClick, std::int32_t nIndex)
{
    if (DblClick == 0)
        return;
    GXSGraph1->SetGraphAnnotationType(nIndex, kTextMark);
    GXSGraph1->SetGraphAnnotationText(nIndex, WideString());
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::ToolButton13Click()
{
    frmDelAnno = new TfrmDelAnno(FHost.LangDispatcher(), this);
    TfrmDelAnno *dialog = frmDelAnno;
    ui::TStringGrid *grid = dialog->StringGrid1;
    grid->SetColWidth(0, 50);
    grid->SetColWidth(1, 120);
    grid->SetColWidth(2, 200);
    grid->SetCell(0, 0, StringById("IDS_54"));
    grid->SetCell(1, 0, StringById("IDS_55"));
    grid->SetCell(2, 0, StringById("IDS_56"));

    // rows[r] is the mark listed in row r (row 0 is the title row).
    std::vector<std::int32_t> rows(1, -1);
    grid->BeginUpdate();
    for (std::int32_t k = kFirstMark; k <= FAnnotationCount; ++k) {
        QString content;
        if (GXSGraph1->GetGraphAnnotationType(k) == kCrossMark)
            content = QStringLiteral("X");
        else
            content = QString::fromStdU16String(GXSGraph1->GetGraphAnnotationText(k));
        if (content.isEmpty())
            continue;
        const int row = int(rows.size());
        if (row >= grid->RowCount())
            grid->SetRowCount(row + 1);
        grid->SetCell(0, row, QString::number(grid->RowCount() - 1));
        grid->SetCell(1, row, DateTimeText(RoundUpTime(GXSGraph1->GetGraphAnnotationX(k))));
        grid->SetCell(2, row, content);
        rows.push_back(k);
        dialog->BitBtn1->setEnabled(true);
    }
    grid->EndUpdate();
    FitTimeColumn(*dialog);

    if (ShowModal(*dialog) == ui::mrOk) {
        const ui::TGridRect selection = grid->Selection();
        const int last = std::min<int>(selection.Bottom, int(rows.size()) - 1);
        for (int row = std::max(1, selection.Top); row <= last; ++row) {
            GXSGraph1->SetGraphAnnotationType(rows[size_t(row)], kTextMark);
            GXSGraph1->SetGraphAnnotationText(rows[size_t(row)], WideString());
        }
        RedrawChart(*GXSGraph1);
    }
    delete dialog;
}

TfrmGraph *TfrmGraph::OfChart(GXSGraph &chart)
{
    for (QWidget *w = chart.parentWidget(); w; w = w->parentWidget())
        if (auto *graph = qobject_cast<TfrmGraph *>(w))
            return graph->GXSGraph1 == &chart ? graph : nullptr;
    return nullptr;
}

void TfrmGraph::ChartLoaded()
{
    // Marks in use: a cross, or a text that is not empty. Erased slots may
    // be taken again.
    const chartlib::HCHART h = GXSGraph1->GethObject();
    const auto length =
        std::int32_t(std::max(chartlib::ChartArrayLength(h, chartlib::rprop::GraphAnnotationType),
                              chartlib::ChartArrayLength(h, chartlib::rprop::GraphAnnotationText)));
    std::int32_t highest = 4;
    for (std::int32_t k = length - 1; k > highest; --k)
        if (GXSGraph1->GetGraphAnnotationType(k) != kTextMark ||
            !GXSGraph1->GetGraphAnnotationText(k).empty()) {
            highest = k;
            break;
        }
    FAnnotationCount = highest;
}

// ---- zoom, view and the chart's dialog -------------------------------------------------------

void TfrmGraph::GXSGraph1ZoomIn(QObject *)
{
    UndoZoom->setEnabled(true);
    FZoomedByPress = true;
    HideReadout();
    // The scroll bars come with the zoom and take room from the plot: the
    // slider follows once they are there.
    QTimer::singleShot(0, this, &TfrmGraph::FormResize);
}

void TfrmGraph::UndoZoomClick()
{
    GXSGraph1->SetGXactions(sgUndoZoom);
    GXSGraph1->SetGXnarg1(0);
    GXSGraph1->SetGXnarg2(0);
    GXSGraph1->SetGXactions(sgResetImage);
    UndoZoom->setEnabled(false);
    HideReadout();
    FormResize();
}

void TfrmGraph::ToolButton7Click()
{
    GXSGraph1->SetViewingStyle(ToolButton7->isChecked() ? sgMonochrome : sgColor);
    RedrawChart(*GXSGraph1);
}

void TfrmGraph::Button1Click()
{
    GXSGraph1->SetGXactions(sgCustomize);
}

void TfrmGraph::GXSGraph1CustomizeDlg(QObject *)
{
    if (GXSGraph1->GetDialogResult() != 1)
        return;
    if (ui::MessageDlg(StringById("IDS_30"), ui::mtConfirmation, ui::mbYesNo) == ui::mrYes)
        FHost.SaveGraphTemplate(*GXSGraph1);
}

} // namespace views
