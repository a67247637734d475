// The LEQ menu command and a LEQ run through the main window, on the
// simulated meter with a fake clock and scripted UI services.
#include "tests/app/main_window_test.h"

#include "meter/windows/setup_real_time.h"
#include "views/graph_window.h"
#include "views/leq_form.h"
#include "views/show_modal.h"

#include "chart/control/gxsgraph.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <variant>

namespace {

// Scripted answers, and something that happens while a question is open, as
// the timers of the program run while a real box waits for the user.
class QuestionTimeServices : public ui::TScriptedUIServices {
public:
    ui::TModalResult MessageDlg(const QString &text, ui::TMsgDlgType type,
                                ui::TMsgDlgButtons buttons) override
    {
        if (WhileAsked)
            WhileAsked(text);
        return TScriptedUIServices::MessageDlg(text, type, buttons);
    }
    std::function<void(const QString &)> WhileAsked;
};

const QString kLeqQuestion = QStringLiteral("Save LEQ Data ?");
const QString kGraphQuestion = QStringLiteral("Save Real-Time Graph ?");

class MainLeqTest : public MainWindowTest {
protected:
    MainLeqTest()
    {
        meter_.SetMeterTime(rtl::EncodeDate(2024, 3, 9) + rtl::EncodeTime(9, 0, 0, 300));
        Start();
        Tick(); // the meter is found
    }

    views::TfrmLEQ *OpenLeqWindow()
    {
        form_->MenuItem("LEQ1")->trigger();
        return form_->gLeqForm();
    }
    QTimer *Timer(const char *name) { return form_->Control<QTimer>(name); }
    // A real-time run of 1 s samples (at most 100).
    void StartRealTimeRun()
    {
        views::TModalRunnerScope runner([](QDialog &d) {
            auto &setup = static_cast<meter::TfrmSetupRealTime &>(d);
            setup.edtRealTimeNo->setText(QStringLiteral("100"));
            setup.btnOpenSingleSet->click();
            return d.result();
        });
        form_->Control<QToolButton>("btnRun")->click();
    }
    // A LEQ run of manual length in the LEQ window.
    void StartManualLeqRun(views::TfrmLEQ &leq)
    {
        leq.cmbTimeSelect->setCurrentIndex(9); // "Manual"
        leq.btnLEQ->click();
        ASSERT_TRUE(form_->LeqRun().Running());
    }
    // Closes the program with its questions answered in turn (a result for
    // a question, a file name for a save dialog; every answer used); what it
    // asked.
    QStringList
    CloseAnswering(QuestionTimeServices &ui,
                   std::initializer_list<std::variant<ui::TModalResult, const char *>> answers)
    {
        ui.ClearCalls();
        for (const auto &answer : answers) {
            if (const auto *result = std::get_if<ui::TModalResult>(&answer))
                ui.AnswerMessage(*result);
            else
                ui.AnswerFileDialog(File(std::get<const char *>(answer)));
        }
        form_->close();
        EXPECT_EQ(ui.UnansweredCount(), 0);
        return ui.MessageTexts();
    }
    // LEQTimer ticks 40 ms apart while it runs (at most limit ticks).
    int RunTicks(int limit)
    {
        int ticks = 0;
        while (Timer("LEQTimer")->isActive() && ticks < limit) {
            form_->LEQTimerTimer();
            clock_.Advance(40);
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(MainLeqTest, RealTimeSamplesBesideALeqRunAreLevelsTheMeterGaveEachTakenOnce)
{
    // A real-time run of 1 s samples, started on the status poll's reading.
    meter_.SetLevel(619);
    Tick();
    StartRealTimeRun();
    ASSERT_TRUE(form_->gRealTimeRunning);
    GXSGraph &chart = *form_->gRealTimeGraph->GXSGraph1;
    ASSERT_EQ(form_->gRealTimeCount, 1);
    EXPECT_FLOAT_EQ(chart.GetYData(0, 0), 61.9f);

    StartManualLeqRun(*OpenLeqWindow());

    // 12 s of LEQ ticks, each reading a level of its own; the reads fail from
    // just after the 5th sample for 1.8 s, so the 6th sample finds no new one.
    std::map<rtl::TDateTime, float> given; // time of each reading -> its level
    int reading = 0;
    for (int ms = 40; ms <= 12000; ms += 40) {
        clock_.Advance(40);
        const bool failing = ms > 5000 && ms <= 6800;
        if (failing) {
            meter_.FailNext(usb::UsbOp::Read);
        } else {
            const int tenths = 400 + (++reading * 37) % 600; // all different
            meter_.SetLevel(tenths);
            given[clock_.Now()] = static_cast<float>(tenths * 0.1);
        }
        form_->LEQTimerTimer();
        if (ms % 1000 == 0)
            form_->RealTime_TimerTimer();
    }
    ASSERT_TRUE(form_->LeqRun().Running());
    EXPECT_EQ(form_->gRealTimeCount, 1 + 12 - 1) << "the sample without a new reading is not taken";

    std::set<float> seen;
    for (int i = 1; i < form_->gRealTimeCount; ++i) {
        const rtl::TDateTime x = chart.GetXDataII(0, i);
        const float y = chart.GetYData(0, i);
        // The last reading at or before the sample.
        auto last = given.upper_bound(x + 1e-9);
        ASSERT_NE(last, given.begin()) << i;
        --last;
        EXPECT_FLOAT_EQ(y, last->second) << "sample " << i;
        EXPECT_LT((x - last->first) * 86400.0, 0.05) << "sample " << i;
        EXPECT_TRUE(seen.insert(y).second) << "sample " << i << " repeats " << y;
    }
}

TEST_F(MainLeqTest, RowsAddedWhileTheProgramsCloseAsksAnotherWindowAreAskedAboutAgain)
{
    QuestionTimeServices ticking;
    ui::TServicesScope scope(ticking);
    QPointer<views::TfrmLEQ> leq = OpenLeqWindow();
    StartManualLeqRun(*leq);
    RunTicks(60);
    const int savedRows = leq->LEQGrid->RowCount() - 1;
    ASSERT_GE(savedRows, 2);
    form_->gRealTimeUnsaved = true;
    // The LEQ timer goes on while "Save Real-Time Graph ?" is open.
    QByteArray table;
    ticking.WhileAsked = [&](const QString &text) {
        if (text == kGraphQuestion) {
            RunTicks(130);
            table = views::LeqTableText(*leq->LEQGrid);
        }
    };

    // Cancel at the question asked again keeps every window and the run.
    EXPECT_EQ(CloseAnswering(ticking, {ui::mrYes, "leq.txt", ui::mrNo, ui::mrCancel}),
              (QStringList{kLeqQuestion, kGraphQuestion, kLeqQuestion}));
    EXPECT_TRUE(form_->isVisible());
    ASSERT_FALSE(leq.isNull());
    EXPECT_TRUE(form_->LeqRun().Running());
    EXPECT_TRUE(form_->gRealTimeUnsaved);
    EXPECT_EQ(Read(File("leq.txt")).count('\n'), savedRows);

    // Yes again: the file holds every row the run made before the close.
    EXPECT_EQ(CloseAnswering(ticking, {ui::mrYes, "leq.txt", ui::mrNo, ui::mrYes, "leq.txt"}),
              (QStringList{kLeqQuestion, kGraphQuestion, kLeqQuestion}));
    EXPECT_FALSE(form_->isVisible());
    EXPECT_GE(table.count('\n'), savedRows + 10);
    EXPECT_EQ(Read(File("leq.txt")), table);
    EXPECT_FALSE(form_->LeqRun().Running());
}

TEST_F(MainLeqTest, SamplesTakenWhileTheProgramsCloseAsksAnotherWindowAreAskedAboutAgain)
{
    QuestionTimeServices ticking;
    ui::TServicesScope scope(ticking);
    // The real-time window reopened beside the LEQ window is asked first.
    QPointer<views::TfrmLEQ> leq = OpenLeqWindow();
    form_->gRealTimeGraph->close();
    form_->MenuItem("RealTimeGraph1")->trigger();
    QPointer<views::TfrmGraph> graph = form_->gRealTimeGraph;
    meter_.SetLevel(619);
    Tick();
    StartRealTimeRun();
    ASSERT_TRUE(form_->gRealTimeUnsaved);
    StartManualLeqRun(*leq);
    RunTicks(60);
    const int children = form_->MdiClient()->ChildCount();
    // Both runs go on while any question is open: 2 s of LEQ ticks and samples.
    ticking.WhileAsked = [&](const QString &) {
        for (int s = 0; s < 2; ++s) {
            RunTicks(25);
            form_->RealTime_TimerTimer();
        }
    };

    // Saved, then samples came: asked again; Cancel keeps both runs and windows.
    EXPECT_EQ(CloseAnswering(ticking, {ui::mrYes, "rt.ghf", ui::mrYes, "leq.txt", ui::mrCancel}),
              (QStringList{kGraphQuestion, kLeqQuestion, kGraphQuestion}));
    EXPECT_TRUE(form_->isVisible());
    ASSERT_FALSE(leq.isNull());
    ASSERT_FALSE(graph.isNull());
    EXPECT_EQ(form_->MdiClient()->ChildCount(), children);
    EXPECT_TRUE(form_->LeqRun().Running());
    EXPECT_TRUE(form_->gRealTimeRunning);
    EXPECT_TRUE(form_->gRealTimeUnsaved);
    const int count = form_->gRealTimeCount;
    RunTicks(25);
    form_->RealTime_TimerTimer();
    EXPECT_EQ(form_->gRealTimeCount, count + 1) << "still sampling";

    // No ends a window's questions although both runs still add to it.
    EXPECT_EQ(CloseAnswering(ticking, {ui::mrYes, "rt.ghf", ui::mrNo, ui::mrNo}),
              (QStringList{kGraphQuestion, kLeqQuestion, kGraphQuestion}));
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(MainLeqTest, TheMenuOpensOneLeqWindowUnlessTheMeterRecords)
{
    meter_.SetRecording(true);
    Tick();
    EXPECT_EQ(OpenLeqWindow(), nullptr);
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"The meter is recording data, please stop recording first ."});

    meter_.SetRecording(false);
    Tick();
    views::TfrmLEQ *leq = OpenLeqWindow();
    ASSERT_NE(leq, nullptr);
    EXPECT_EQ(OpenLeqWindow(), leq);
    EXPECT_EQ(form_->MdiClient()->ChildCount(), 3); // the panel, the real-time graph, the LEQ
}

TEST_F(MainLeqTest, TenSecondRunFillsTheTableThenGivesTheLinkBack)
{
    views::TfrmLEQ *leq = OpenLeqWindow();
    ASSERT_NE(leq, nullptr);
    leq->btnLEQ->click();
    EXPECT_TRUE(Timer("LEQTimer")->isActive());
    EXPECT_FALSE(Timer("MainTimer")->isActive());
    EXPECT_TRUE(meter::TLinkGuard::Instance().Held());
    EXPECT_EQ(form_->PanelKey('R'), meter::TKeyResult::Ignored);

    RunTicks(1000);
    EXPECT_EQ(leq->LEQGrid->RowCount(), 11);
    EXPECT_FALSE(leq->LEQGrid->Cell(4, 10).isEmpty());
    EXPECT_EQ(leq->edtTimeLeft->text(), QStringLiteral("0:0:0"));
    EXPECT_FALSE(Timer("LEQTimer")->isActive());
    EXPECT_TRUE(Timer("MainTimer")->isActive());
    EXPECT_FALSE(form_->LeqRun().LogOpen());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());

    QFile log(dir_.path() + "/bin/temp/LEQ.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    // 25 readings in each of the 9 whole seconds (their lines: tests of the run).
    EXPECT_GE(log.readAll().count('\n'), 9 * 25);
}

// Program and data folders that cannot be written (files in their place:
// tests run as root, whom read-only folders do not stop): the start says
// once that the log could not be created, and why; the run goes on.
TEST_F(MainLeqTest, ALogThatCannotBeCreatedIsToldOnceAtTheStartAndTheRunGoesOn)
{
    Write(File("blocked"), "no folder");
    ui::TFolderRoots roots = ui::FolderRoots();
    roots.Executable = File("blocked/bin");
    roots.UserData = File("blocked/data");
    ui::SetFolderRoots(roots);
    views::TfrmLEQ *leq = OpenLeqWindow();
    leq->btnLEQ->click();
    EXPECT_TRUE(Timer("LEQTimer")->isActive());
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"The LEQ log could not be created; the measurement runs without it:\n" +
                          File("blocked/data/temp/LEQ.txt") + "\nNot a directory"});
    RunTicks(1000);
    EXPECT_EQ(leq->LEQGrid->RowCount(), 11);
    EXPECT_EQ(services_.MessageTexts().size(), 1);
}

TEST_F(MainLeqTest, ClosingTheLeqWindowEndsTheRun)
{
    views::TfrmLEQ *leq = OpenLeqWindow();
    leq->btnLEQ->click();
    leq->close(); // no row yet: nothing to ask about
    EXPECT_EQ(form_->gLeqForm(), nullptr);
    EXPECT_FALSE(Timer("LEQTimer")->isActive());
    EXPECT_TRUE(Timer("MainTimer")->isActive());
    EXPECT_FALSE(form_->LeqRun().Running());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());
    EXPECT_TRUE(services_.MessageTexts().isEmpty());
}

TEST_F(MainLeqTest, AnUnsavedTableIsAskedAboutAtCloseAtStartAndAtProgramCloseNotAfterSave)
{
    const QString question = QStringLiteral("Save LEQ Data ?");
    views::TfrmLEQ *leq = OpenLeqWindow();
    leq->btnLEQ->click();
    RunTicks(1000);
    ASSERT_EQ(leq->LEQGrid->RowCount(), 11);

    // Cancel, and a cancelled save, keep the window and its table.
    services_.AnswerMessage(ui::mrCancel);
    leq->close();
    ASSERT_EQ(form_->gLeqForm(), leq);
    services_.AnswerMessage(ui::mrYes);
    services_.CancelFileDialog();
    leq->btnLEQ->click();
    EXPECT_FALSE(form_->LeqRun().Running());
    EXPECT_EQ(leq->LEQGrid->RowCount(), 11);
    EXPECT_EQ(services_.MessageTexts(), (QStringList{question, question}));

    // Saved: nothing to ask; a new Start asks again once it has rows.
    services_.AnswerFileDialog(File("leq.txt"));
    leq->Button2->click();
    EXPECT_EQ(Read(File("leq.txt")).count('\n'), 10);
    leq->btnLEQ->click();
    RunTicks(100);
    EXPECT_EQ(services_.MessageTexts().size(), 2);

    // At program close: a save that fails keeps the program and the run.
    services_.ClearCalls();
    services_.AnswerMessage(ui::mrYes);
    services_.AnswerFileDialog(File("no/such/folder/leq.txt"));
    form_->close();
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(form_->gLeqForm(), leq);
    EXPECT_TRUE(form_->LeqRun().Running());
    ASSERT_EQ(services_.MessageTexts().size(), 2);
    EXPECT_EQ(services_.MessageTexts()[0], question);

    services_.AnswerMessage(ui::mrYes);
    services_.AnswerFileDialog(File("leq2.txt"));
    form_->close();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_TRUE(QFile::exists(File("leq2.txt")));
}

TEST_F(MainLeqTest, CancelAtTheSecondQuestionKeepsEveryWindowAndTheRunNoClosesAll)
{
    meter_.LoadSampleContent();
    form_->MenuItem("LoadData1")->trigger();
    QPointer<views::TfrmGraph> logger = form_->gLoggerGraph;
    ASSERT_TRUE(form_->gLoggerUnsaved);
    QPointer<views::TfrmGraph> realTime = form_->gRealTimeGraph;
    form_->gRealTimeUnsaved = true;
    QPointer<views::TfrmLEQ> leq = OpenLeqWindow();
    leq->cmbTimeSelect->setCurrentIndex(1); // 1 minute
    leq->btnLEQ->click();
    RunTicks(200);
    const int rows = leq->LEQGrid->RowCount();
    ASSERT_GT(rows, 5);
    const QString left = leq->edtTimeLeft->text();
    const int children = form_->MdiClient()->ChildCount();

    services_.AnswerMessage(ui::mrNo);     // "Save LEQ Data ?"
    services_.AnswerMessage(ui::mrCancel); // "Save DataLogger Data ?"
    form_->close();
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(services_.MessageTexts(), (QStringList{"Save LEQ Data ?", "Save DataLogger Data ?"}));
    EXPECT_EQ(form_->MdiClient()->ChildCount(), children);
    ASSERT_FALSE(logger.isNull());
    ASSERT_FALSE(realTime.isNull());
    ASSERT_FALSE(leq.isNull());
    EXPECT_TRUE(form_->gLoggerUnsaved);
    EXPECT_TRUE(form_->gRealTimeUnsaved);
    EXPECT_EQ(leq->LEQGrid->RowCount(), rows);
    EXPECT_TRUE(form_->LeqRun().Running());
    RunTicks(100);
    EXPECT_NE(leq->edtTimeLeft->text(), left) << "still counting down";

    services_.ClearCalls();
    for (int i = 0; i < 3; ++i)
        services_.AnswerMessage(ui::mrNo);
    form_->close();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"Save LEQ Data ?", "Save DataLogger Data ?", "Save Real-Time Graph ?"}));
    EXPECT_FALSE(form_->LeqRun().Running());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());
}

TEST_F(MainLeqTest, RepliesWithoutMarkersStopTheRunAfterFiftyWithTheFailureMessage)
{
    meter_.SetReplyFilter([](uint8_t command, usb::SimulatedMeter::Reply &r) {
        if (command == 'A')
            r[31] = 0;
    });
    OpenLeqWindow()->btnLEQ->click();
    EXPECT_EQ(RunTicks(1000), 51);
    EXPECT_FALSE(form_->LeqRun().Running());
    EXPECT_EQ(services_.MessageTexts(), QStringList{"LEQ fail , try to start again !!"});
}

} // namespace

TEST_F(MainLeqTest, GraphPlotsTheRowsThatReadBackAndClosesWithTheLeqWindow)
{
    views::TfrmLEQ *leq = OpenLeqWindow();
    leq->btnLEQ->click();
    RunTicks(1000);
    ui::TStringGrid &grid = *leq->LEQGrid;
    ASSERT_EQ(grid.RowCount(), 11);
    grid.SetCell(3, 4, QString()); // a second without readings has no levels

    leq->Button3->click();
    QPointer<views::TfrmGraph> graph = views::gLeqGraph;
    ASSERT_FALSE(graph.isNull());
    EXPECT_TRUE(form_->MdiClient()->Children().contains(graph.data()));
    GXSGraph &chart = *graph->GXSGraph1;
    ASSERT_EQ(chart.GetPoints(), 9);
    // Black levels would not show on the default look's black plotting area.
    ASSERT_EQ(chart.GetGraphBackColor(), GXSGraph::GXargb(255, 0, 0, 0));
    EXPECT_EQ(chart.GetSubsetColors(0), GXSGraph::GXargb(255, 255, 255, 0));
    EXPECT_EQ(chart.GetSubsetColors(1), GXSGraph::GXargb(255, 255, 0, 0));
    rtl::TDateTime first = 0, fifth = 0;
    ASSERT_TRUE(
        rtl::TryStrToDateTime(ui::QStringToAnsi(grid.Cell(1, 1) + " " + grid.Cell(2, 1)), first));
    ASSERT_TRUE(
        rtl::TryStrToDateTime(ui::QStringToAnsi(grid.Cell(1, 5) + " " + grid.Cell(2, 5)), fifth));
    EXPECT_DOUBLE_EQ(chart.GetXDataII(0, 0), first);
    EXPECT_DOUBLE_EQ(chart.GetXDataII(1, 3), fifth); // row 4 left out
    EXPECT_FLOAT_EQ(chart.GetYData(1, 8), grid.Cell(4, 10).toFloat());
    EXPECT_FALSE(graph->bunCalLEQ->isEnabled());
    EXPECT_EQ(graph->txtSamplingRate->currentText(), QStringLiteral("1"));

    services_.AnswerMessage(ui::mrNo); // "Save LEQ Data ?"
    leq->close();
    EXPECT_FALSE(form_->MdiClient()->Children().contains(graph.data()));
}

TEST_F(MainLeqTest, GraphOfAnUnreadableTimeSaysSoAndOneRowGivesOnePoint)
{
    views::TfrmLEQ *leq = OpenLeqWindow();
    ui::TStringGrid &grid = *leq->LEQGrid;
    grid.SetRowCount(2);
    grid.SetRowTexts(1, {"1", "31/31/2024", "12:00:00 PM", "60.0", "60.0"});
    leq->Button3->click();
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"'31/31/2024 12:00:00 PM' is not a valid date and time."});
    EXPECT_FALSE(views::gLeqGraph.isNull()); // the empty window stays

    const rtl::TDateTime noon = rtl::EncodeDate(2024, 3, 9) + 0.5;
    grid.SetRowTexts(1, {"1", QString::fromStdString(rtl::DateToStr(noon)),
                         QString::fromStdString(rtl::TimeToStr(noon)), "60.0", "60.0"});
    leq->Button3->click();
    GXSGraph &chart = *views::gLeqGraph->GXSGraph1;
    EXPECT_EQ(chart.GetPoints(), 1);
    EXPECT_DOUBLE_EQ(chart.GetXDataII(0, 0), noon);
    EXPECT_FLOAT_EQ(chart.GetYData(0, 0), 60.0f);
}
