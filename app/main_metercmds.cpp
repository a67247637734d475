// The main window's LEQ-record load, memory erase and set-up window
// commands. The commands themselves live in meter/ (leq_download.h,
// memory_erase.h, setup_commands.h); here they meet the main window's link,
// its translation component and the LEQ record list window.
#include "app/main_form.h"

#include "i18n/lx_comp.h"
#include "meter/leq_download.h"
#include "meter/memory_erase.h"
#include "meter/windows/command_ui.h"
#include "meter/windows/setup_form.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/folders.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "views/data_capture.h"

#include <QFile>
#include <QPointer>

namespace app {

namespace {

// The LEQ record list window gDataCaptureForm as the load fills it. Window
// messages run while the blocks come in, so the window is held through a
// guarded pointer (the load also keeps it from closing).
class TDataCaptureList : public meter::TLeqListSink {
public:
    explicit TDataCaptureList(TfrmMain &main) : FMain(main) {}

    const void *ShowLeqList() override
    {
        if (views::gDataCaptureForm) {
            FMain.MdiClient()->Restore(views::gDataCaptureForm);
        } else {
            views::gDataCaptureForm = new views::TfrmDataCapture(FMain.lxLangDispatcher1());
            FMain.MdiClient()->AddChild(views::gDataCaptureForm);
            // At the top, beside the panel, where the whole list is in view.
            const int left = FMain.gPanel() ? FMain.gPanel()->width() : 0;
            FMain.MdiClient()->MoveChild(views::gDataCaptureForm, QPoint(left, 0));
        }
        FList = views::gDataCaptureForm;
        return FList.data();
    }

    void ClearLeqRows() override
    {
        if (!FList)
            return;
        ui::TStringGrid *grid = FList->Grid1;
        grid->BeginUpdate();
        for (int r = 1; r < views::TfrmDataCapture::Rows; ++r)
            for (int c = 1; c < views::TfrmDataCapture::Columns; ++c)
                grid->SetCell(c, r, QString());
        grid->EndUpdate();
    }

    void SetLeqRow(int row, const TLeqRecordCells &cells) override
    {
        if (!FList)
            return;
        const std::string *texts[] = {&cells.Value, &cells.Time, &cells.Period, &cells.Weighting,
                                      &cells.Response};
        for (int c = 0; c < 5; ++c)
            FList->Grid1->SetCell(c + 1, row, ui::AnsiToQString(*texts[c]));
    }

private:
    TfrmMain &FMain;
    QPointer<views::TfrmDataCapture> FList;
};

meter::TMeterState CommandState(const meter::TMainTimerLogic &timer)
{
    return {timer.gConnected, timer.gMeterRecording, timer.gMeterLeqMode};
}

} // namespace

void TfrmMain::LoadLEQdata1Click()
{
    meter::TQtCommandUi ui(FLang);
    TDataCaptureList list(*this);
    meter::LoadLeqData(FLink, CommandState(FTimerLogic), ui, list);
}

void TfrmMain::EraseMemory1Click()
{
    meter::TQtCommandUi ui(FLang);
    meter::EraseMemory(FLink, CommandState(FTimerLogic), ui);
}

void TfrmMain::Setup1Click()
{
    if (meter::frmSetup) {
        FMdiClient->Restore(meter::frmSetup);
        return;
    }
    meter::frmSetup = new meter::TfrmSetup(FLink, FDispatcher);
    FMdiClient->AddChild(meter::frmSetup);
}

void TfrmMain::Button2Click()
{
    for (const char *name : {"CHARTX32D.dll", "CHARTX32B.dll"}) {
        const QString path = ui::JoinPath(ui::ExecutableFolder(), QString::fromLatin1(name));
        if (QFile::exists(path))
            QFile::remove(path);
    }
}

} // namespace app
