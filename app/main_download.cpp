// The main window's logger side: "Load SPL Data" (the download into the
// "DataLogger" window with its progress window), the display of one data
// set and the correction of its start, and the working file with the ".REC"
// collections saved from it and opened into the window.
#include "app/logger_files.h"
#include "app/main_form.h"

#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chartlib.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/app_application.h"
#include "platform/ui/cursor.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"
#include "views/graph_window.h"
#include "views/scope_form.h"
#include "views/show_modal.h"
#include "views/small_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QStyle>
#include <QWidget>

#include <cmath>
#include <memory>
#include <span>

namespace app {

namespace {

constexpr char kGuardHolder[] = "logger download";
constexpr char kRecordingText[] =
    "The meter is recording data, please stop recording before loading data.";
// 500 s: the empty window's time axis.
constexpr double kEmptyAxisDays = 0.005787037037037037;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Widens the grid's columns (never narrows them) so that no date, time or
// count is cut off in the locale's formats, and the panel so that every
// column is in view.
void FitDataSetGrid(views::TfrmGraph &graph, const std::vector<TDataSetGridRow> &rows)
{
    ui::TStringGrid *grid = graph.Grid2;
    const QFontMetrics metrics(grid->font());
    const int padding = 2 * metrics.horizontalAdvance(QLatin1Char('0'));
    int total = 0;
    for (int c = 0; c < DataSetGridColumns; ++c) {
        // The texts of a column differ little but in length: the longest stands for all.
        QString longest = grid->Cell(c, 0);
        size_t longestRow = 0;
        for (const TDataSetGridRow &row : rows)
            longestRow = std::max(longestRow, row[size_t(c)].size());
        for (const TDataSetGridRow &row : rows)
            if (row[size_t(c)].size() == longestRow) {
                const QString text = ui::AnsiToQString(row[size_t(c)]);
                if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(longest))
                    longest = text;
                break;
            }
        const int width = std::max(grid->ColWidth(c), metrics.horizontalAdvance(longest) + padding);
        grid->SetColWidth(c, width);
        total += width;
    }
    const int chrome =
        2 * grid->frameWidth() + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    graph.pnlDataSets->setFixedWidth(std::max(graph.pnlDataSets->width(), total + chrome));
}

} // namespace

QString TfrmMain::WorkingFile() const
{
    return ui::JoinPath(ui::WorkingFolder(gDataFolder), QString::fromLatin1(kWorkingFileName));
}

// ---- the download ----------------------------------------------------------------------------

void TfrmMain::LoadData1Click()
{
    const rtl::TDateTime t0 = rtl::GetClock().Now();
    if (!FTimerLogic.gConnected) {
        ui::ShowMessage(Text("IDS_106"));
        return;
    }
    if (FTimerLogic.gMeterRecording) {
        ui::ShowMessage(QString::fromLatin1(kRecordingText));
        return;
    }
    // Held until the end of this command: no other link command, no status
    // poll and no panel key runs in the middle of the transfer, and neither
    // this window nor the "DataLogger" window closes under it. The guard
    // also switches MainTimer off and on again at the end.
    meter::TLinkOperation op(FLink, kGuardHolder);
    if (!op)
        return;
    OpenLoggerGraph(t0);
    op.Protect(gLoggerGraph.data());

    const int code = LoadLoggerData();
    if (code == ldOk || code == ldBadMarkers || code == ldBeyondLastAddress) {
        gLoggerUnsaved = true;
    } else if (code == ldNoDataSets) {
        ui::ShowMessage(Text("IDS_108"));
    } else {
        ui::ShowMessage(QString::fromStdString(meter::LinkErrorText(code)));
        // Bring the meter back from wherever the transfer left it.
        usb::UsbDevice &device = FLink.Device();
        device.UsbEndWrite();
        FLink.gCommand[0] = 0x02;
        FLink.gCommand[1] = 'Q';
        FLink.gCommand[6] = 0x03;
        device.UsbWrite(usb::PacketSize, FLink.gCommand.data());
    }
}

int TfrmMain::LoadLoggerData()
{
    FLoggerImage.clear();
    const int code = DownloadLogger();
    if (code != meter::LinkOk) {
        FLoggerImage.clear();
        return code;
    }
    return DecodeAndShowImage();
}

int TfrmMain::DecodeAndShowImage()
{
    std::vector<TDataSetGridRow> rows;
    std::vector<int> damaged;
    const int result =
        DecodeLoggerData(FLoggerImage, gLoggerLastAddress, gDataSets, rows, &damaged);
    if (LoggerDecodeReplacedStore(result))
        ShowDecodedSets(rows, damaged);
    FLoggerImage.clear();
    return result;
}

int TfrmMain::DownloadLogger()
{
    return meter::DownloadLogger(FLink, FLoggerImage, gLoggerLastAddress, *this);
}

void TfrmMain::SetHourglass(bool on)
{
    ui::SetScreenCursor(on ? ui::crHourGlass : ui::crDefault);
}

void TfrmMain::ShowDownloadProgress(int total)
{
    delete FScope;
    auto *scope = new views::TfrmScope(FDispatcher, this);
    FScope = scope;
    views::frmScope = scope;
    scope->setWindowTitle(Text("IDS_94"));
    scope->SetClosable(false);
    for (QWidget *part :
         std::initializer_list<QWidget *>{scope->Progress1, scope->lblTotalBytes,
                                          scope->lblBytesReceived, scope->SText1, scope->SText2})
        part->show();
    scope->Progress1->setRange(0, total);
    scope->Progress1->setValue(0);
    scope->lblTotalBytes->setText(QString::number(total));
    scope->lblBytesReceived->setText(QStringLiteral("0"));
    scope->FitToParts();
    scope->show();
    repaint();
}

void TfrmMain::DownloadProgressed(int received)
{
    if (FScope) {
        FScope->lblBytesReceived->setText(QString::number(received));
        FScope->Progress1->setValue(received);
    }
    ui::ProcessMessages();
}

void TfrmMain::CloseDownloadProgress()
{
    delete FScope;
}

bool TfrmMain::WindowInUse(const views::TfrmGraph &graph)
{
    return FLink.Guard().Protects(&graph);
}

// ---- the "DataLogger" window and the decoded sets ---------------------------------------------

void TfrmMain::OpenLoggerGraph(rtl::TDateTime now)
{
    if (gLoggerGraph) {
        FMdiClient->Restore(gLoggerGraph);
        return;
    }
    auto *graph = new views::TfrmGraph(*this, views::TGraphRole::DataLogger);
    gLoggerGraph = graph;
    graph->setWindowTitle(QString::fromLatin1(views::TfrmGraph::kDataLoggerCaption));
    graph->pnlDataSets->setVisible(true);
    FMdiClient->AddChild(graph);
    // As wide as the main window's client area (below its menu bar) and 60
    // pixels less high; a main window made very small still leaves it a
    // usable height.
    const QMenuBar *bar = menuBar();
    const int clientHeight =
        height() - (bar->isVisible() ? bar->height() : bar->sizeHint().height());
    FMdiClient->SetChildGeometry(graph, QRect(0, 0, width(), std::max(200, clientHeight - 60)));
    SetupGraph(*graph->GXSGraph1, 1, 500, now, now + kEmptyAxisDays, 30.0f, 130.0f);
    graph->GXSGraph1->SetAllowGraphAnnotHotSpots(true);
    graph->repaint();
}

void TfrmMain::ShowDecodedSets(const std::vector<TDataSetGridRow> &rows,
                               const std::vector<int> &damaged)
{
    if (views::TfrmGraph *graph = gLoggerGraph) {
        ui::TStringGrid *grid = graph->Grid2;
        grid->SetRowCount(static_cast<int>(rows.size()) + 1);
        for (size_t i = 0; i < rows.size(); ++i)
            for (int c = 0; c < DataSetGridColumns; ++c)
                grid->SetCell(c, int(i) + 1, ui::AnsiToQString(rows[i][size_t(c)]));
        grid->SetSelection({0, 1, 4, 1});
        FitDataSetGrid(*graph, rows);
    }

    // A working file that cannot be written is told, and the sets are
    // shown all the same: they are in the store.
    QString error;
    const QString folder = ui::WorkingFolder(gDataFolder);
    const TWorkingFileResult written = WriteWorkingFile(folder, FLoggerImage, &error);
    gWorkingFileCurrent = written == TWorkingFileResult::Written;
    if (!gWorkingFileCurrent) {
        QString text = Text("IDS_141") + QLatin1Char('\n') +
                       Native(written == TWorkingFileResult::NoFolder ? folder : WorkingFile());
        if (!error.isEmpty())
            text += QLatin1Char('\n') + error;
        ui::ShowMessage(text);
    }
    if (gDataSets.SetCount() > 0)
        ShowDataSet(0);

    // The meter's blocks carry no check of their own: damaged sets are shown
    // as found, and named once, here.
    if (!damaged.empty()) {
        constexpr size_t kNamed = 50;
        QStringList numbers;
        for (size_t i = 0; i < damaged.size() && i < kNamed; ++i)
            numbers << QString::number(damaged[i] + 1);
        QString text = Text("IDS_211") + QLatin1Char('\n') + numbers.join(QStringLiteral(", "));
        if (damaged.size() > kNamed)
            text += QStringLiteral(", ... (+%1)").arg(damaged.size() - kNamed);
        ui::ShowMessage(text);
    }
}

void TfrmMain::ShowDataSet(int index)
{
    views::TfrmGraph *graph = gLoggerGraph;
    if (graph == nullptr || index < 0 || index >= gDataSets.SetCount())
        return;
    const TDataSetStore &s = gDataSets;
    const size_t n = static_cast<size_t>(index);
    const size_t offset = static_cast<size_t>(s.SampleOffset(index));
    const int count = s.FSetCount[n];
    const double step = s.FSetInterval[n] / rtl::SecsPerDay;
    const rtl::TDateTime start = s.FSetStart[n];
    GXSGraph &chart = *graph->GXSGraph1;

    SetupGraph(chart, 1, count, start, start + count * step, 30.0f, 130.0f);
    // The set goes to the chart in two whole-array writes; a set without
    // samples writes nothing (there is no first value to hand over).
    if (count > 0) {
        const chartlib::HCHART h = chart.GethObject();
        chartlib::ChartSetProperty(
            h, chartlib::prop::XDataII,
            std::span<const double>(s.FDataTimes.data() + offset, size_t(count)));
        chartlib::ChartSetProperty(
            h, chartlib::prop::YData,
            std::span<const float>(s.FDataLevels.data() + offset, size_t(count)));
    }
    // The slider and the cursors, run in every case: the new set may give the
    // slider the values of the last one, and its cursor texts and A-B
    // statistics would be left as they were.
    graph->UpdateGraphStatistics();

    graph->txtStartTime->setText(views::DateTimeText(views::RoundUpTime(start)));
    const QString interval = QString::number(s.FSetInterval[n]);
    if (graph->txtSamplingRate->isEditable())
        graph->txtSamplingRate->setEditText(interval);
    else
        graph->txtSamplingRate->setCurrentText(interval);
    graph->txtDataNo->setText(QString::number(count));
    auto extreme = [&](int at, QLineEdit *level, QLineEdit *time) {
        if (count == 0) { // no point to read
            level->clear();
            time->clear();
            return;
        }
        level->setText(views::LevelText(chart.GetYData(0, at)));
        time->setText(views::DateTimeText(views::RoundUpTime(chart.GetXDataII(0, at))));
    };
    extreme(s.FSetMaxIndex[n], graph->txtMax, graph->txtMaxTime);
    extreme(s.FSetMinIndex[n], graph->txtMin, graph->txtMinTime);
    graph->txtAvgAll->setText(views::LevelText(s.FSetMean[n]));
    views::RedrawChart(chart);
}

void TfrmMain::ChangeDataSetTime(int index)
{
    if (!gLoggerGraph || index < 0 || index >= gDataSets.SetCount())
        return;
    auto dialog = std::make_unique<views::TfrmDateTime>(FDispatcher, this);
    views::frmDateTime = dialog.get();
    const rtl::TDateTime now = rtl::GetClock().Now();
    dialog->SetDate(std::floor(now));
    dialog->SetTime(now - std::floor(now));
    if (views::ShowModal(*dialog) == ui::mrOk) {
        const size_t n = static_cast<size_t>(index);
        const rtl::TDateTime start = dialog->Date() + dialog->Time();
        const double step = gDataSets.FSetInterval[n] / rtl::SecsPerDay;
        gDataSets.FSetStart[n] = start;
        if (gLoggerGraph) {
            gLoggerGraph->Grid2->SetCell(1, index + 1, ui::AnsiToQString(DataSetDateText(start)));
            gLoggerGraph->Grid2->SetCell(2, index + 1, ui::AnsiToQString(DataSetTimeText(start)));
        }
        const size_t offset = static_cast<size_t>(gDataSets.SampleOffset(index));
        for (int k = 0; k < gDataSets.FSetCount[n]; ++k)
            gDataSets.FDataTimes[offset + size_t(k)] = start + k * step;
        ShowDataSet(index);
    }
    dialog.reset(); // clears frmDateTime
}

// ---- collections -----------------------------------------------------------------------------

bool TfrmMain::SaveLoggerFile()
{
    // Nothing to save, or only an older image than the one shown: say so
    // before a file name is asked for.
    const QString working = WorkingFile();
    if (!QFileInfo(working).isFile()) {
        ui::ShowMessage(Text("IDS_142"));
        return false;
    }
    if (!gWorkingFileCurrent) {
        ui::ShowMessage(Text("IDS_144"));
        return false;
    }
    ui::TFileDialog dialog;
    dialog.Kind = ui::TFileDialogKind::Save;
    dialog.Filter = Text("IDS_40");
    dialog.DefaultExt = QStringLiteral("REC");
    dialog.InitialDir = gDataFolder.isEmpty() ? ui::ExecutableFolder() : gDataFolder;
    dialog.Options = ui::ofOverwritePrompt | ui::ofHideReadOnly | ui::ofEnableSizing;
    if (!ui::Services().ExecuteFileDialog(dialog))
        return false;
    QString error;
    if (!SaveCollectionFile(working, dialog.FileName, &error)) {
        ui::ShowMessage(Text("IDS_143") + QLatin1Char('\n') + Native(dialog.FileName) +
                        QLatin1Char('\n') + error);
        return false;
    }
    return true;
}

void TfrmMain::OpenLoggerFile()
{
    // A download writes into the window and the store until it ends.
    if (gLoggerGraph && FLink.Guard().Protects(gLoggerGraph.data())) {
        ui::ShowMessage(Text("IDS_140"));
        return;
    }
    OpenLoggerGraph(rtl::GetClock().Now());

    ui::TFileDialog dialog;
    dialog.Kind = ui::TFileDialogKind::Open;
    dialog.Filter = Text("IDS_67");
    dialog.DefaultExt = QStringLiteral("REC");
    dialog.InitialDir = gDataFolder.isEmpty() ? ui::ExecutableFolder() : gDataFolder;
    dialog.FileName.clear();
    if (!ui::Services().ExecuteFileDialog(dialog))
        return;

    // A file that is no collection changes neither the store nor the
    // working file.
    TLoggerImage image;
    QString error;
    switch (ReadCollectionFile(dialog.FileName, image, &error)) {
    case TCollectionRead::Read:
        break;
    case TCollectionRead::Unreadable:
        ui::ShowMessage(Text("IDS_146") + QLatin1Char('\n') + Native(dialog.FileName) +
                        (error.isEmpty() ? QString() : QLatin1Char('\n') + error));
        return;
    case TCollectionRead::Empty:
    case TCollectionRead::TooShort:
    case TCollectionRead::TooLong:
        ui::ShowMessage(Text("IDS_145") + QLatin1Char('\n') + Native(dialog.FileName));
        return;
    }

    FLoggerImage = std::move(image);
    gLoggerLastAddress = logger::ImageLastAddress(FLoggerImage);
    const int result = DecodeAndShowImage();
    if (result == ldNoDataSets)
        ui::ShowMessage(Text("IDS_108"));
    else if (!LoggerDecodeReplacedStore(result))
        ui::ShowMessage(QString::fromStdString(meter::LinkErrorText(result)));
}

} // namespace app
