// A graph window's main window that does nothing, for tests that build a
// window which may make graph windows but whose charts do not matter.
#pragma once

#include "views/graph_host.h"

namespace testsupport {

class TQuietGraphHost : public views::TGraphHost {
public:
    i18n::TlxLangDispatcher *LangDispatcher() override { return nullptr; }
    void SetupGraph(GXSGraph &, int, int, rtl::TDateTime, rtl::TDateTime, float, float) override {}
    void ShowGraphWindow(views::TfrmGraph &) override {}
    void GraphActivated(views::TfrmGraph &) override {}
    bool SaveGraphWindow(views::TfrmGraph &) override { return false; }
    bool SaveGraphTemplate(GXSGraph &) override { return false; }
    void GraphClosed(views::TfrmGraph &) override {}
    bool RealTimeRunning() override { return false; }
    double RealTimeRate() override { return 1.0; }
    void SetRealTimeRate(double) override {}
    void RealTimeGraphCleared(views::TfrmGraph &) override {}
    bool LoggerUnsaved() override { return false; }
    void SetLoggerUnsaved(bool) override {}
    bool RealTimeUnsaved() override { return false; }
    void SetRealTimeUnsaved(bool) override {}
};

} // namespace testsupport
