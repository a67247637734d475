// What a graph window needs from the main window that made it: the chart
// set-up, saving, the data-set store, the real-time run's state and the
// marks of unsaved data. The main window implements it; tests give their own.
#pragma once

#include "platform/rtl/datetime.h"

class GXSGraph;

namespace i18n {
class TlxLangDispatcher;
}

namespace views {

class TfrmGraph;

class TGraphHost {
public:
    virtual ~TGraphHost() = default;

    virtual i18n::TlxLangDispatcher *LangDispatcher() = 0;

    // The main window's chart set-up (template or default look, data shape,
    // scales), redraw included.
    virtual void SetupGraph(GXSGraph &chart, int subsets, int points, rtl::TDateTime minimumX,
                            rtl::TDateTime maximumX, float minimumY, float maximumY) = 0;

    // Writes the chart as the template that every new chart is set up from.
    // A failure is shown to the user (nothing is raised); false then.
    virtual bool SaveGraphTemplate(GXSGraph &chart) = 0;

    // Shows a new graph window among the main window's child windows (its
    // first show runs FormShow). Every creator of a graph window calls it.
    virtual void ShowGraphWindow(TfrmGraph &graph) = 0;
    // The window became the active child window.
    virtual void GraphActivated(TfrmGraph &graph) = 0;
    // Saves this window's data (the close query's "Yes"); true when a file
    // was written, false when the user cancelled or the save failed.
    virtual bool SaveGraphWindow(TfrmGraph &graph) = 0;
    // The window closes and frees itself: the main window lets go of it by
    // its role (a real-time window's close stops the run).
    virtual void GraphClosed(TfrmGraph &graph) = 0;

    // The data-logger window's data-set grid: show or correct data set index.
    virtual void ShowDataSet(int index) {}
    virtual void ChangeDataSetTime(int index) {}
    // True while a link operation writes into the window (the data-logger
    // window during a download): it may not close until that has ended.
    virtual bool WindowInUse(const TfrmGraph &graph) { return false; }

    // Real-time sampling.
    virtual bool RealTimeRunning() = 0;
    virtual double RealTimeRate() = 0;
    virtual void SetRealTimeRate(double rate) = 0;
    // The real-time window was cleared: sampling starts again at point 0.
    virtual void RealTimeGraphCleared(TfrmGraph &graph) = 0;

    // Unsaved data of the data-logger and real-time windows.
    virtual bool LoggerUnsaved() = 0;
    virtual void SetLoggerUnsaved(bool unsaved) = 0;
    virtual bool RealTimeUnsaved() = 0;
    virtual void SetRealTimeUnsaved(bool unsaved) = 0;
};

} // namespace views
