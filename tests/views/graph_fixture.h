// The graph window tests' fixture: a main window as a graph window sees it
// (with the real chart set-up), private folders without a template, a fake
// clock at noon and scripted message boxes.
#pragma once

#include "views/graph_window.h"

#include "app/graph_files.h"
#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chart_ids.h"
#include "platform/chartlib/render/chart_render.h"
#include "platform/chartlib/render/chart_view.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/cursor.h"
#include "platform/ui/folders.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_script.h"
#include "tests/support/mouse.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <span>
#include <vector>

namespace {

using views::TfrmGraph;
using views::TGraphRole;

const rtl::TDateTime kNoon = 46000.5; // 12:00:00
const double kSecond = 1.0 / 86400.0;

// The main window as a graph window sees it, with the real chart set-up.
class TFakeHost : public views::TGraphHost {
public:
    i18n::TlxLangDispatcher *LangDispatcher() override { return dispatcher; }
    void SetupGraph(GXSGraph &chart, int subsets, int points, rtl::TDateTime minimumX,
                    rtl::TDateTime maximumX, float minimumY, float maximumY) override
    {
        ++setups;
        lastPoints = points;
        lastMinX = minimumX;
        lastMaxX = maximumX;
        app::SetupGraph(chart, subsets, points, minimumX, maximumX, minimumY, maximumY, u"Time");
    }
    void ShowGraphWindow(TfrmGraph &graph) override { graph.show(); }
    void GraphActivated(TfrmGraph &) override {}
    bool SaveGraphWindow(TfrmGraph &) override
    {
        ++saves;
        return saveSucceeds;
    }
    void GraphClosed(TfrmGraph &graph) override { closed.push_back(graph.Role()); }
    bool SaveGraphTemplate(GXSGraph &chart) override
    {
        ++templates;
        app::SaveGraphTemplate(chart);
        return true;
    }
    void ShowDataSet(int index) override { shown.push_back(index); }
    bool RealTimeRunning() override { return running; }
    double RealTimeRate() override { return rate; }
    void SetRealTimeRate(double r) override { rate = r; }
    void RealTimeGraphCleared(TfrmGraph &) override { ++clears; }
    bool LoggerUnsaved() override { return loggerUnsaved; }
    void SetLoggerUnsaved(bool u) override { loggerUnsaved = u; }
    bool RealTimeUnsaved() override { return realTimeUnsaved; }
    void SetRealTimeUnsaved(bool u) override { realTimeUnsaved = u; }

    i18n::TlxLangDispatcher *dispatcher = nullptr; // none: English
    int setups = 0, saves = 0, clears = 0, templates = 0, lastPoints = 0;
    double lastMinX = 0, lastMaxX = 0;
    bool saveSucceeds = true, running = false, loggerUnsaved = false, realTimeUnsaved = false;
    double rate = 1.0;
    std::vector<TGraphRole> closed;
    std::vector<int> shown;
};

class GraphWindowTest : public ::testing::Test {
protected:
    GraphWindowTest() : clockScope_(clock_), servicesScope_(services_)
    {
        ui::TFolderRoots roots;
        roots.Executable = dir_.path();
        roots.UserData = dir_.path() + "/data";
        ui::SetFolderRoots(roots); // no template
        rtl::TFormatSettings settings = rtl::CLikeFormatSettings();
        settings.ShortDateFormat = "yyyy-mm-dd";
        settings.LongTimeFormat = "hh:nn:ss";
        rtl::SetFormatSettings(settings);
    }
    ~GraphWindowTest() override
    {
        rtl::SetFormatSettings(rtl::CLikeFormatSettings());
        ui::ResetFolderRoots();
    }

    std::unique_ptr<TfrmGraph> Make(TGraphRole role = TGraphRole::Other)
    {
        auto graph = std::make_unique<TfrmGraph>(host_, role);
        graph->resize(900, 640);
        graph->show();
        QApplication::processEvents();
        return graph;
    }
    // Levels one second apart from noon (or at the given times), then the
    // statistics, as a creator does.
    void Fill(TfrmGraph &g, const std::vector<float> &levels, std::vector<double> times = {},
              int capacity = 0)
    {
        if (times.empty())
            for (size_t i = 0; i < levels.size(); ++i)
                times.push_back(kNoon + double(i) * kSecond);
        const int n = int(levels.size());
        host_.SetupGraph(*g.GXSGraph1, 1, capacity ? capacity : n, times.front(), times.back(), 30,
                         130);
        for (int i = 0; i < n; ++i) {
            g.GXSGraph1->SetXDataII(0, i, times[size_t(i)]);
            g.GXSGraph1->SetYData(0, i, levels[size_t(i)]);
        }
        g.UpdateGraphStatistics();
    }
    // The chart pixel of a data point.
    static QPoint Pixel(TfrmGraph &g, double x, double y)
    {
        std::int32_t axis = 0, px = 0, py = 0;
        chartlib::ChartConvertPoint(g.GXSGraph1->GethObject(), &axis, &px, &py, &x, &y, 0, 0, 1);
        return QPoint(px, py);
    }
    // A mouse event on the chart at chart pixel p (presses and releases with
    // the left button).
    static void Send(TfrmGraph &g, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
    {
        testsupport::SendMouse(*g.GXSGraph1, type, p,
                               type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons);
    }
    // The pointer moved to p, then a left click (or a double click) there.
    static void Click(TfrmGraph &g, QPoint p, bool twice = false)
    {
        Send(g, QEvent::MouseMove, p, Qt::NoButton);
        testsupport::LeftClick(*g.GXSGraph1, p, twice);
    }
    static QString Text(QLineEdit *e) { return e->text(); }
    static QString DateTime(double x) { return views::DateTimeText(x); }

    rtl::FakeClock clock_{kNoon};
    rtl::ScopedClock clockScope_;
    ui::TScriptedUIServices services_;
    ui::TServicesScope servicesScope_;
    QTemporaryDir dir_;
    TFakeHost host_;
};

} // namespace
