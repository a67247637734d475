// Real-time sampling through the main window: Run from the tool bar with
// the set-up dialog, samples into the "Real-Time Graph" window until it is
// full; on the simulated meter with a fake clock and scripted UI services.
// A meter lost during a run is tested with the run (tests/meter_windows).
#include "tests/app/main_window_test.h"

#include "chart/control/gxsgraph.h"
#include "controls/slider2.h"
#include "meter/windows/setup_real_time.h"
#include "views/graph_window.h"
#include "views/show_modal.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class MainRealTimeTest : public MainWindowTest {
protected:
    bool Enabled(const char *name)
    {
        if (QAction *item = form_->MenuItem(name))
            return item->isEnabled();
        return form_->Control<QToolButton>(name)->isEnabled();
    }
    bool TimerRuns() { return form_->Control<QTimer>("RealTime_Timer")->isActive(); }
};

} // namespace

TEST_F(MainRealTimeTest, RunSamplesIntoTheRealTimeGraphUntilItIsFull)
{
    app::TfrmMain &f = Start();
    EXPECT_FALSE(Enabled("Run1") || Enabled("btnRun") || Enabled("Stop1") || Enabled("btnStop"));
    meter_.SetLevel(700);
    Tick(2); // identify, then the first reading
    ASSERT_TRUE(f.TimerLogic().gConnected);
    EXPECT_TRUE(Enabled("Run1") && Enabled("btnRun"));
    EXPECT_FALSE(Enabled("Stop1") || Enabled("btnStop"));

    QString rate, period;
    views::TModalRunnerScope runner([&](QDialog &d) {
        auto &setup = static_cast<meter::TfrmSetupRealTime &>(d);
        rate = setup.txtRate->currentText();
        period = setup.edtPeriod->text();
        setup.edtRealTimeNo->setText(QStringLiteral("10"));
        setup.btnOpenSingleSet->click();
        return d.result();
    });
    f.Control<QToolButton>("btnRun")->click();
    EXPECT_EQ(rate, QString("1.0"));
    EXPECT_EQ(period, QString("0:33:20"));
    ASSERT_TRUE(f.gRealTimeRunning);
    views::TfrmGraph &g = *f.gRealTimeGraph;
    EXPECT_TRUE(TimerRuns());
    EXPECT_TRUE(Enabled("Stop1") && Enabled("btnStop"));
    EXPECT_FALSE(Enabled("Run1") || Enabled("btnRun"));
    EXPECT_FALSE(g.tbntClr->isEnabled());
    EXPECT_EQ(g.txtDataNo->text(), QString("1"));

    for (int i = 1; i < 10; ++i) {
        clock_.Advance(1000);
        meter_.SetLevel(700 + 10 * (i % 3));
        Tick(2);
        f.RealTime_TimerTimer();
    }
    EXPECT_FALSE(f.gRealTimeRunning) << "a full chart stops the run";
    EXPECT_FALSE(TimerRuns());
    // The figures reach the window's boxes and slider (their rules are tested with the run).
    EXPECT_EQ(g.GXSGraph1->GetPoints(), 10);
    EXPECT_EQ(g.txtMax->text(), QString("72.0"));
    EXPECT_EQ(g.txtAvgAll->text(), QString("70.9"));
    EXPECT_EQ(g.Slider1->Maximum(), 9);
    EXPECT_TRUE(g.tbntClr->isEnabled());
    EXPECT_TRUE(Enabled("Run1") && !Enabled("Stop1"));

    // The samples are unsaved: closing the window asks.
    services_.AnswerMessage(ui::mrNo);
    g.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(services_.MessageTexts().isEmpty());
    EXPECT_EQ(services_.MessageTexts().back(), QString("Save Real-Time Graph ?"));
    EXPECT_EQ(f.gRealTimeGraph, nullptr);
    EXPECT_FALSE(f.gRealTimeUnsaved);
}
