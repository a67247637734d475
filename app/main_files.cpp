// The main window's File > Save and File > Open: saving the active window's
// data (a chart file, a graph's points or a grid as text) with the range
// question and the progress window, and opening chart and text files.
#include "app/main_form.h"
#include "app/text_data.h"
#include "controls/lang_form.h"
#include "meter/leq_record.h"

#include "chart/control/gxsgraph.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/app_application.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"
#include "views/graph_window.h"
#include "views/list_form.h"
#include "views/open_save_form.h"
#include "views/scope_form.h"
#include "views/show_modal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>
#include <fcntl.h>
#include <istream>
#include <memory>
#include <sys/stat.h>

namespace app {

namespace {

// The graph save dialog's entries (fixed English texts); with a decimal
// comma there is no comma-separated entry.
const char kGraphSaveFilter[] =
    "Graph file(*.ghf,only for MX4820)|*.GHF|TXT file(*.txt,data seperated by tab)|*.TXT";
const char kGraphSaveCsvEntry[] = "|EXCEL file format(*.CSV,seperated by comma)|*.CSV";
// The extensions of those entries, in order.
const char *const kGraphSaveExtensions[] = {"ghf", "txt", "csv"};

// Lines are handed to the file in blocks of about this size.
constexpr std::size_t kWriteBlock = 64 * 1024;

QString DialogFolder(const QString &dataFolder)
{
    return dataFolder.isEmpty() ? ui::ExecutableFolder() : dataFolder;
}

bool DecimalComma()
{
    return rtl::FormatSettings().DecimalSeparator == ',';
}

std::string LocalName(const QString &fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

QString WithFileName(QString text, const QString &fileName)
{
    return text.replace(QStringLiteral("%s"), QDir::toNativeSeparators(fileName));
}

// Per column the row of its longest text, which the column's width follows.
struct TLongestTexts {
    explicit TLongestTexts(int columns) : Row(std::size_t(columns), 0), Length(Row.size(), 0) {}
    void Note(const QStringList &texts, int row)
    {
        for (qsizetype k = 0; k < texts.size() && std::size_t(k) < Row.size(); ++k)
            if (texts[k].size() > Length[std::size_t(k)]) {
                Length[std::size_t(k)] = texts[k].size();
                Row[std::size_t(k)] = row;
            }
    }
    std::vector<int> Row;
    std::vector<qsizetype> Length;
};

// Shows a progress window modelessly, in front and painted at once, its
// modal result reset.
void ShowProgressWindow(views::TfrmScope &progress)
{
    progress.FitToParts();
    progress.show();
    progress.raise();
    progress.repaint();
    progress.SetModalResult(ui::mrNone);
}

} // namespace

QString TfrmMain::Text(const char *id)
{
    return controls::StringById(FLang, id);
}

// ---- Save ------------------------------------------------------------------------------------

void TfrmMain::Save1Click()
{
    QWidget *active = FMdiClient->ActiveChild();
    if (!active)
        return;
    if (auto *list = qobject_cast<views::TfrmList *>(active))
        SaveGridAs(*list->Grid1);
    else if (auto *leq = qobject_cast<views::TfrmLEQ *>(active))
        SaveGridAs(*leq->LEQGrid);
    else if (auto *graph = qobject_cast<views::TfrmGraph *>(active))
        SaveGraphWindow(*graph);
    else if (active->objectName() == QLatin1String("frmDataCapture"))
        // The LEQ record list, by its component name.
        if (auto *grid = active->findChild<ui::TStringGrid *>(QStringLiteral("Grid1")))
            SaveGridAs(*grid);
}

bool TfrmMain::SaveGraphAs(GXSGraph &chart)
{
    const bool comma = DecimalComma();
    ui::TFileDialog dialog;
    dialog.Kind = ui::TFileDialogKind::Save;
    dialog.InitialDir = DialogFolder(gDataFolder);
    dialog.Filter = QString::fromLatin1(kGraphSaveFilter);
    if (!comma)
        dialog.Filter += QString::fromLatin1(kGraphSaveCsvEntry);
    dialog.DefaultExt = QStringLiteral("GHF");
    dialog.Options = ui::ofOverwritePrompt | ui::ofHideReadOnly | ui::ofEnableSizing;
    if (!ui::Services().ExecuteFileDialog(dialog))
        return false;

    QString fileName = dialog.FileName;
    std::string ext = LowerExtension(LocalName(fileName));
    if (ext != "ghf" && ext != "txt" && ext != "csv") {
        // A name under another extension is saved in the format of the
        // entry chosen, under that entry's extension.
        const int entries = comma ? 2 : 3;
        const int index = std::clamp(dialog.FilterIndex, 1, entries);
        ext = kGraphSaveExtensions[index - 1];
        fileName += QLatin1Char('.') + QString::fromLatin1(ext.c_str());
        if (QFileInfo::exists(fileName) &&
            ui::MessageDlg(WithFileName(Text("IDS_172"), fileName), ui::mtConfirmation,
                           ui::mbYesNo) != ui::mrYes)
            return false;
    }
    if (ext == "txt")
        return ExportGraphData(chart, fileName, kTab);
    if (ext == "csv")
        return ExportGraphData(chart, fileName, ',');
    try {
        SaveGraphFile(chart, fileName);
    } catch (const rtl::Exception &e) {
        // The file and the system's reason, as the other saves say them.
        ui::ShowMessage(WithFileName(Text("IDS_170"), fileName) + QLatin1Char('\n') +
                        QString::fromLocal8Bit(e.Message().c_str()));
        return false;
    } catch (...) {
        ui::ShowCurrentException();
        return false;
    }
    return true;
}

bool TfrmMain::CommaTextRefused(char separator)
{
    // With a decimal comma every level would split into two fields.
    if (separator != ',' || !DecimalComma())
        return false;
    ui::ShowMessage(Text("IDS_171"));
    return true;
}

bool TfrmMain::ExportGraphData(GXSGraph &chart, const QString &fileName, char separator)
{
    if (CommaTextRefused(separator))
        return false;
    TExportRange range;
    if (!AskExportRange(chart.GetPoints(), Text("IDS_52"), range))
        return false;
    // Points from first to last; the data end at the first X of 0.0.
    return WriteDataText(fileName, range, [&chart, separator](std::int64_t i, std::string &line) {
        const int point = int(i - 1);
        const double x = chart.GetXDataII(0, point);
        if (x == 0.0)
            return false;
        line = GraphTextLine(x, chart.GetYData(0, point), separator);
        return true;
    });
}

bool TfrmMain::SaveGridAs(ui::TStringGrid &grid)
{
    ui::TFileDialog dialog;
    dialog.Kind = ui::TFileDialogKind::Save;
    dialog.InitialDir = DialogFolder(gDataFolder);
    dialog.Filter = Text(DecimalComma() ? "IDS_56" : "IDS_57");
    dialog.DefaultExt = QStringLiteral("TXT");
    dialog.Options = ui::ofOverwritePrompt | ui::ofHideReadOnly | ui::ofEnableSizing;
    if (!ui::Services().ExecuteFileDialog(dialog))
        return false;
    const char separator = GridFileSeparator(LocalName(dialog.FileName));
    if (CommaTextRefused(separator))
        return false;
    TExportRange range;
    if (!AskExportRange(grid.RowCount() - 1, QStringLiteral("invalid integer"), range))
        return false;
    QPointer<ui::TStringGrid> source(&grid);
    return WriteDataText(dialog.FileName, range,
                         [source, separator](std::int64_t row, std::string &line) {
                             if (!source)
                                 return false;
                             std::vector<std::string> cells;
                             for (int col = 1; col < source->ColCount(); ++col)
                                 cells.push_back(source->Cell(col, int(row)).toStdString());
                             line = GridTextLine(cells, separator);
                             return true;
                         });
}

bool TfrmMain::AskExportRange(int upper, const QString &invalidText, TExportRange &range)
{
    auto *scope = new views::TfrmScope(FDispatcher, this);
    views::frmScope = scope;
    scope->setWindowTitle(Text("IDS_39"));
    scope->GroupBox1->show();
    scope->BitBtn1->show();
    scope->BitBtn2->show();
    scope->edtSelFrom->setText(QStringLiteral("1"));
    scope->edtSelTo->setText(QString::number(upper));
    scope->FitToParts();
    const ui::TModalResult result = views::ShowModal(*scope);
    const bool all = scope->radAll->isChecked();
    const std::string from = scope->edtSelFrom->text().toStdString();
    const std::string to = scope->edtSelTo->text().toStdString();
    delete scope;
    if (result != ui::mrOk)
        return false;
    if (all) {
        range = {1, upper};
        return true;
    }
    if (!SelectRange(from, to, upper, range)) {
        ui::ShowMessage(invalidText);
        return false;
    }
    return true;
}

bool TfrmMain::WriteDataText(const QString &fileName, const TExportRange &range,
                             const std::function<bool(std::int64_t, std::string &)> &lineOf)
{
    const std::int64_t count = std::max<std::int64_t>(0, range.Last - range.First + 1);
    auto *progress = new views::TfrmScope(FDispatcher, this);
    views::frmScope = progress;
    progress->setWindowTitle(QStringLiteral("Saving Progress"));
    progress->Progress1->show();
    progress->SText1->show();
    progress->BitBtn2->show();
    progress->SText1->setText(Text("IDS_53"));
    progress->Progress1->setRange(0, int(std::min<std::int64_t>(count, INT32_MAX)));
    progress->Progress1->setValue(0);
    ShowProgressWindow(*progress);

    // The file is written to a temporary file and renamed into place only
    // when every line is written: a failure or a cancel keeps an old file.
    std::string failure;
    bool cancelled = false;
    try {
        rtl::TSafeFileStream out(LocalName(fileName));
        std::string block;
        std::string line;
        std::int64_t written = 0;
        for (std::int64_t i = range.First; i <= range.Last; ++i) {
            if (!lineOf(i, line))
                break;
            block += line;
            if (block.size() >= kWriteBlock) {
                out.WriteBuffer(block.data(), std::int64_t(block.size()));
                block.clear();
            }
            ++written;
            progress->Progress1->setValue(int(std::min<std::int64_t>(written, INT32_MAX)));
            if (written % 512 == 0)
                progress->repaint();
            if (progress->ModalResult() == ui::mrCancel) {
                cancelled = true;
                break;
            }
        }
        if (cancelled) {
            out.Cancel();
        } else {
            out.WriteBuffer(block.data(), std::int64_t(block.size()));
            out.Commit();
        }
    } catch (const rtl::Exception &e) {
        failure = e.Message();
    }
    progress->close();
    delete progress;
    if (!failure.empty()) {
        ui::ShowMessage(WithFileName(Text("IDS_170"), fileName) + QLatin1Char('\n') +
                        QString::fromLocal8Bit(failure.c_str()));
        return false;
    }
    return !cancelled;
}

// ---- Open ------------------------------------------------------------------------------------

void TfrmMain::Open1Click()
{
    // A data-set collection or a single data file.
    auto dialog = std::make_unique<views::TfrmOpenSave>(FDispatcher, this);
    views::frmOpenSave = dialog.get();
    dialog->setWindowTitle(Text("IDS_62"));
    dialog->btnOpenSets->setText(Text("IDS_63"));
    dialog->btnOpenSingleSet->setText(Text(DecimalComma() ? "IDS_64" : "IDS_65"));
    dialog->FitAndCentre();
    const ui::TModalResult answer = views::ShowModal(*dialog);
    dialog.reset(); // clears frmOpenSave
    if (answer == ui::mrOk)
        OpenLoggerFile();
    else if (answer == ui::mrNo)
        OpenDataFile();
}

void TfrmMain::OpenDataFile()
{
    ui::TFileDialog dialog;
    dialog.Kind = ui::TFileDialogKind::Open;
    dialog.InitialDir = DialogFolder(gDataFolder);
    dialog.FileName.clear();
    dialog.Filter = Text(DecimalComma() ? "IDS_45" : "IDS_46");
    dialog.DefaultExt = QStringLiteral("*.ghf");
    if (!ui::Services().ExecuteFileDialog(dialog))
        return;
    const std::string ext = LowerExtension(LocalName(dialog.FileName));
    if (ext == "ghf")
        OpenGraphFile(dialog.FileName);
    else if (ext == "txt" || ext == "csv")
        OpenTextFile(dialog.FileName);
    else
        ui::ShowMessage(WithFileName(Text("IDS_174"), dialog.FileName));
}

void TfrmMain::OpenGraphFile(const QString &fileName)
{
    // The file is read into the new window before it is shown: a file that
    // cannot be read leaves no window behind. The chart is shown as stored.
    auto graph = std::make_unique<views::TfrmGraph>(*this, views::TGraphRole::Other);
    graph->setWindowTitle(QDir::toNativeSeparators(fileName));
    try {
        LoadGraphFile(*graph->GXSGraph1, fileName);
    } catch (...) {
        ui::ShowCurrentException();
        return;
    }
    frmGraph = graph.release();
    ShowGraphWindow(*frmGraph);
    PlaceGraphAtTopLeft(*frmGraph);
    frmGraph->UpdateGraphStatistics();
    frmGraph->GXSGraph1->SetGXactions(sgReinitAndReset);
}

views::TfrmList *TfrmMain::OpenTextFile(const QString &fileName)
{
    // A regular file only: a pipe would block the reading, a device would
    // not end it. It is read as far as it reached when it was opened, so
    // that a file another program appends to does not keep the reading going.
    int err = 0;
    const int handle = rtl::OpenRegularFile(LocalName(fileName), O_RDONLY, err);
    if (handle < 0) {
        ui::ShowMessage(WithFileName(Text("IDS_173"), fileName));
        return nullptr;
    }
    struct stat st {};
    const uint64_t size = ::fstat(handle, &st) == 0 ? uint64_t(st.st_size) : UINT64_MAX;
    rtl::TDescriptorReadBuf buffer(handle, size);
    std::istream in(&buffer);
    TDataTextReader reader(in, DataFileSeparator(LocalName(fileName)));

    views::TfrmList *list = NewTextList(fileName);
    std::vector<int> longestRow;
    if (!FillTextList(*list, reader, longestRow))
        return nullptr;
    ShowTextListTitles(*list, longestRow);
    return list;
}

views::TfrmList *TfrmMain::NewTextList(const QString &fileName)
{
    auto *list = new views::TfrmList(*this, FDispatcher);
    list->setWindowTitle(QDir::toNativeSeparators(fileName));
    FMdiClient->AddChild(list);
    // At the top beside the front panel, over the real-time graph.
    const QMdiSubWindow *panel = FPanel ? FMdiClient->SubWindowOf(FPanel) : nullptr;
    const int left = panel && panel->isVisible() ? panel->width() : 0;
    if (QMdiSubWindow *sub = FMdiClient->SubWindowOf(list))
        FMdiClient->SetChildGeometry(
            list, QRect(left, 0, std::min(sub->width(), std::max(200, FMdiClient->width() - left)),
                        std::min(480, FMdiClient->height())));
    FMdiClient->Activate(list);
    frmList = list;
    return list;
}

QPointer<views::TfrmScope> TfrmMain::ShowOpenProgress()
{
    auto *progress = new views::TfrmScope(FDispatcher, this);
    views::frmScope = progress;
    progress->setWindowTitle(Text("IDS_80"));
    progress->SText1->setText(QStringLiteral("0"));
    progress->SText1->show();
    progress->BitBtn2->show();
    ShowProgressWindow(*progress);
    return progress;
}

bool TfrmMain::FillTextList(views::TfrmList &list, TDataTextReader &reader,
                            std::vector<int> &longestRow)
{
    // The window and the main window may be closed while messages run
    // between the lines: the list is held through a guarded pointer, and
    // the main window refuses its close until the reading is over.
    QPointer<views::TfrmList> target(&list);
    ui::TStringGrid *grid = list.Grid1;
    grid->BeginUpdate();
    QPointer<views::TfrmScope> scope = ShowOpenProgress();

    FReadingText = true;
    std::string line;
    int count = 0;
    // The count is shown and messages run (where Cancel is pressed) at the first line and then
    // every kProgressMs: a message loop per line would cost more than the line itself.
    constexpr std::int64_t kProgressMs = 50;
    std::int64_t lastProgress = 0;
    TLongestTexts longest(grid->ColCount());
    QStringList texts;
    while (reader.Next(line)) {
        ++count;
        if (!scope || scope->ModalResult() == ui::mrCancel)
            break;
        const std::int64_t now = rtl::GetClock().MonotonicMs();
        if (count == 1 || now - lastProgress >= kProgressMs) {
            lastProgress = now;
            scope->SText1->setText(QString::number(count));
            ui::ProcessMessages();
            if (!target || target->isHidden()) // closed: it goes with the next messages
                break;
        }
        if (grid->RowCount() - 1 < count)
            grid->SetRowCount(count + 1);
        const std::vector<std::string> cells =
            SplitDataLine(line, reader.Separator(), grid->ColCount());
        if (cells.empty())
            continue;
        texts.clear();
        texts << QString::number(count);
        for (const std::string &cell : cells)
            texts << QString::fromStdString(cell);
        grid->SetRowTexts(count, texts);
        longest.Note(texts, count);
    }
    FReadingText = false;
    if (scope)
        scope->SText1->setText(QString::number(count));
    delete scope.data();
    if (!target || target->isHidden())
        return false;
    grid->EndUpdate();
    longestRow = std::move(longest.Row);
    return true;
}

void TfrmMain::ShowTextListTitles(views::TfrmList &list, const std::vector<int> &longestRow)
{
    ui::TStringGrid *grid = list.Grid1;
    switch (ListTitlesFor(grid->Cell(4, 1).toStdString())) {
    case TListTitles::LeqRecords:
        for (int col = 0; col < LeqRecordColumns; ++col) {
            grid->SetCell(col, 0, QString::fromLatin1(LeqRecordTitles[col]));
            if (LeqRecordWidths[col] > 0)
                grid->SetColWidth(col, LeqRecordWidths[col]);
        }
        break;
    case TListTitles::LeqTable:
        grid->SetCell(3, 0, QStringLiteral("SPL"));
        grid->SetCell(4, 0, QStringLiteral("Leq"));
        break;
    case TListTitles::Own:
        break;
    }
    list.FitColumns(longestRow);
    // Wide enough for every column where there is room.
    if (QMdiSubWindow *sub = FMdiClient->SubWindowOf(&list)) {
        int width = sub->width() - grid->viewport()->width();
        for (int col = 0; col < grid->ColCount(); ++col)
            width += grid->ColWidth(col);
        const QRect at = sub->geometry();
        FMdiClient->SetChildGeometry(
            &list,
            QRect(at.topLeft(),
                  QSize(std::max(at.width(), std::min(width, FMdiClient->width() - at.left())),
                        at.height())));
    }
}

void TfrmMain::ListActivated(views::TfrmList &)
{
    Control<QToolButton>("btnOutputToGraph")->setEnabled(true);
}

} // namespace app
