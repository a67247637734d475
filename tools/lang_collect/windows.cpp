#include "tools/lang_collect/windows.h"

#include "app/main_form.h"
#include "meter/windows/panel.h"
#include "meter/windows/panel_host.h"
#include "meter/windows/setup_real_time.h"
#include "platform/usb/sim/simulated_meter.h"
#include "tests/support/quiet_graph_host.h"
#include "views/about_box.h"
#include "views/data_capture.h"
#include "views/graph_window.h"
#include "views/leq_form.h"
#include "views/list_form.h"
#include "views/open_save_form.h"
#include "views/scope_form.h"
#include "views/small_dialogs.h"

namespace langcollect {

namespace {

// The few things a panel asks of its main window.
class TQuietPanelHost : public meter::TPanelHost {
public:
    meter::TKeyResult PanelKey(uint8_t) override { return meter::TKeyResult{}; }
    const meter::TDigitGlyphs &Glyphs() const override { return FGlyphs; }
    i18n::TlxLangDispatcher *LangDispatcher() override { return nullptr; }
    bool PanelUpdating() const override { return false; }
    void PanelActivated() override {}
    void PanelClosed(meter::TfrmPanel *) override {}

private:
    meter::TDigitGlyphs FGlyphs;
};

// What a LEQ window asks of its main window.
class TQuietLeqHost : public views::TLeqHost {
public:
    bool LeqStart(views::TfrmLEQ *, int) override { return false; }
    void LeqStop() override {}
    void LeqFormClosed(views::TfrmLEQ *) override {}
    QString LeqSaveFolder() override { return QString(); }
    views::TGraphHost &LeqGraphHost() override { return FGraphHost; }
    void ShowLeqGraph(views::TfrmGraph *) override {}

private:
    testsupport::TQuietGraphHost FGraphHost;
};

// What a list window asks of its main window.
class TQuietListHost : public views::TListHost {
public:
    void ListActivated(views::TfrmList &) override {}
};

} // namespace

const std::map<std::string, TWindowFactory> &ProgramWindows()
{
    static const std::map<std::string, TWindowFactory> windows = {
        {"TfrmAbout", [] { return std::make_unique<views::TfrmAbout>(nullptr); }},
        {"TfrmAnnoEdit", [] { return std::make_unique<views::TfrmAnnoEdit>(nullptr); }},
        {"TfrmDelAnno", [] { return std::make_unique<views::TfrmDelAnno>(nullptr); }},
        {"TfrmDateTime", [] { return std::make_unique<views::TfrmDateTime>(nullptr); }},
        {"TfrmScope", [] { return std::make_unique<views::TfrmScope>(nullptr); }},
        {"TfrmOpenSave", [] { return std::make_unique<views::TfrmOpenSave>(nullptr); }},
        {"TfrmList",
         [] {
             static TQuietListHost host;
             return std::make_unique<views::TfrmList>(host, nullptr);
         }},
        {"TfrmLEQ",
         [] {
             static TQuietLeqHost host;
             return std::make_unique<views::TfrmLEQ>(host, nullptr);
         }},
        {"TfrmGraph",
         [] {
             static testsupport::TQuietGraphHost host;
             return std::make_unique<views::TfrmGraph>(host, views::TGraphRole::Other);
         }},
        {"TfrmDataCapture", [] { return std::make_unique<views::TfrmDataCapture>(nullptr); }},
        {"TfrmMain",
         [] {
             static usb::SimulatedMeter meter;
             return std::make_unique<app::TfrmMain>(meter);
         }},
        {"TfrmPanel",
         [] {
             static TQuietPanelHost host;
             return std::make_unique<meter::TfrmPanel>(host);
         }},
        {"TfrmSetupRealTime", [] { return std::make_unique<meter::TfrmSetupRealTime>(nullptr); }},
    };
    return windows;
}

} // namespace langcollect
