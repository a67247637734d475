// The main window's side of the LEQ measurement: the LEQ menu command, the
// LEQ window's start and stop, and the run's output into that window.
#include "app/main_form.h"

#include "views/graph_window.h"

#include "platform/ui/ansi_text.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTimer>

#include <algorithm>

namespace app {

namespace {

// A window of the LEQ measurement goes to the top of the client area, right
// of the front panel, step steps down and right, as far as it fits.
void PlaceLeqWindow(ui::TMdiArea &area, QWidget *panel, QWidget *form, int step)
{
    QMdiSubWindow *sub = area.SubWindowOf(form);
    if (!sub)
        return;
    const QMdiSubWindow *panelWindow = panel ? area.SubWindowOf(panel) : nullptr;
    QPoint at((panelWindow ? panelWindow->width() : 0) + 24 * step, 24 * step);
    at.setX(std::max(0, std::min(at.x(), area.width() - sub->width())));
    at.setY(std::max(0, std::min(at.y(), area.height() - sub->height())));
    sub->move(at);
}

// A message about the log file, followed by its name and the system's reason
// on lines of their own.
QString WithLogFile(const QString &text, const std::string &fileName, const std::string &reason)
{
    return text + QLatin1Char('\n') +
           QDir::toNativeSeparators(QFile::decodeName(fileName.c_str())) + QLatin1Char('\n') +
           QString::fromLocal8Bit(reason.c_str());
}

} // namespace

void TfrmMain::LEQ1Click()
{
    if (FTimerLogic.gMeterRecording) {
        ui::ShowMessage(Text("IDS_122"));
        return;
    }
    if (FLeqForm) {
        FMdiClient->Restore(FLeqForm);
        return;
    }
    auto *form = new views::TfrmLEQ(*this, FDispatcher);
    FLeqForm = form;
    FMdiClient->AddChild(form);
    PlaceLeqWindow(*FMdiClient, FPanel, form, 0);
    FMdiClient->Restore(form);
    form->repaint();
}

bool TfrmMain::LeqStart(views::TfrmLEQ *form, int periodSeconds)
{
    if (form != FLeqForm)
        return false;
    // The log lies in "temp" beside the executable, or in the user's data
    // folder when the executable's folder cannot be written.
    const QString log = ui::WritableProgramFile(QStringLiteral("temp/LEQ.txt"));
    QDir().mkpath(QFileInfo(log).path());
    return FLeqRun.Start(periodSeconds, QFile::encodeName(log).toStdString());
}

void TfrmMain::LeqFormClosed(views::TfrmLEQ *form)
{
    if (form != FLeqForm && !FLeqForm.isNull())
        return;
    FLeqForm = nullptr;
    FLeqRun.Stop();
}

QString TfrmMain::LeqSaveFolder()
{
    return gDataFolder.isEmpty() ? ui::ExecutableFolder() : gDataFolder;
}

void TfrmMain::ShowLeqGraph(views::TfrmGraph *graph)
{
    ShowGraphWindow(*graph);
    PlaceLeqWindow(*FMdiClient, FPanel, graph, 1);
    FMdiClient->Restore(graph);
}

void TfrmMain::SetLeqRowCount(int count)
{
    if (FLeqForm)
        FLeqForm->LEQGrid->SetRowCount(count);
}

void TfrmMain::SetLeqCell(int col, int row, const std::string &text)
{
    if (!FLeqForm)
        return;
    FLeqForm->LEQGrid->SetCell(col, row, ui::AnsiToQString(text));
    FLeqForm->TableChanged();
}

void TfrmMain::ShowLeqLastRow()
{
    if (FLeqForm)
        FLeqForm->LEQGrid->scrollToBottom();
}

void TfrmMain::SetLeqText(meter::TLeqField field, const std::string &text)
{
    if (!FLeqForm)
        return;
    QLineEdit *edit = nullptr;
    switch (field) {
    case meter::TLeqField::edtLEQrate:
        edit = FLeqForm->edtLEQrate;
        break;
    case meter::TLeqField::edtLEQValue:
        edit = FLeqForm->edtLEQValue;
        break;
    case meter::TLeqField::edtTimeLeft:
        edit = FLeqForm->edtTimeLeft;
        break;
    }
    if (edit)
        edit->setText(ui::AnsiToQString(text));
}

void TfrmMain::SetLeqTimerEnabled(bool enabled)
{
    if (enabled)
        LEQTimer->start();
    else
        LEQTimer->stop();
}

void TfrmMain::LeqMessage(const std::string &id)
{
    ui::ShowMessage(Text(id.c_str()));
}

void TfrmMain::LeqLogStopped(const std::string &fileName, const std::string &reason)
{
    ui::ShowMessage(WithLogFile(Text("IDS_210"), fileName, reason));
}

void TfrmMain::LeqLogNotCreated(const std::string &fileName, const std::string &reason)
{
    ui::ShowMessage(WithLogFile(Text("IDS_232"), fileName, reason));
}

} // namespace app
