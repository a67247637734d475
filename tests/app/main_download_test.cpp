// "Load SPL Data" through the main window on the simulated meter with a fake
// clock: the download under the link guard, its messages and what a failure
// leaves in place; one data set shown and its start corrected; the working
// file and the ".REC" collections. Then "Load LEQ data", "Erase Memory" and
// the hidden set-up commands on the simulated meter's sample content.
#include "tests/app/main_window_test.h"

#include "app/logger_files.h"
#include "chart/control/gxsgraph.h"
#include "controls/slider2.h"
#include "meter/windows/setup_form.h"
#include "platform/rtl/streams.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/usb/sim/logger_image_builder.h"
#include "views/data_capture.h"
#include "views/graph_window.h"
#include "views/scope_form.h"
#include "views/show_modal.h"
#include "views/small_dialogs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using usb::UsbOp;

const QString kErrorText = QStringLiteral("There was error,please try again!   error code=");

class MainDownloadTest : public MainWindowTest {
protected:
    MainDownloadTest()
    {
        Start();
        Tick(); // the meter is found
    }

    // Sets of 30, 10, 2 and 0 samples at 1, 2, 60 and 5 s.
    static std::vector<uint8_t> FourSets(uint16_t level = 650)
    {
        usb::TLoggerImageBuilder b;
        const int counts[4] = {30, 10, 2, 0};
        const uint8_t intervals[4] = {1, 2, 60, 5};
        for (int i = 0; i < 4; ++i) {
            usb::TLoggerSetSpec set;
            set.DateBytes = {0x25, 0x06, 0x01, uint8_t(0x10 + i), 0x00, 0x00};
            set.Interval = intervals[i];
            set.Flags = uint8_t(i);
            for (int k = 0; k < counts[i]; ++k)
                set.Samples.push_back(uint16_t(level + 10 * i + (k % 7)));
            b.AddSet(set);
        }
        return b.Build();
    }
    QTimer *MainTimer() { return form_->Control<QTimer>("MainTimer"); }
    views::TfrmGraph *Logger() { return form_->gLoggerGraph; }
    QString WorkingFile() { return form_->WorkingFile(); }
    std::vector<uint8_t> FileBytes(const QString &name)
    {
        std::vector<uint8_t> bytes;
        rtl::TryReadAllBytes(QFile::encodeName(name).toStdString(), bytes);
        return bytes;
    }
    void WriteFile(const QString &name, const std::vector<uint8_t> &bytes)
    {
        rtl::WriteFileAtomically(QFile::encodeName(name).toStdString(), bytes);
    }
    int Written(char command)
    {
        int n = 0;
        for (const auto &p : meter_.WrittenPackets())
            n += p.size() == 7 && p[1] == uint8_t(command);
        return n;
    }
};

TEST_F(MainDownloadTest, LoadSplDataFillsTheGridTheWorkingFileAndShowsTheFirstSet)
{
    const std::vector<uint8_t> image = FourSets();
    meter_.SetLoggerImage(image);
    form_->MenuItem("LoadData1")->trigger();

    views::TfrmGraph *g = Logger();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Role(), views::TGraphRole::DataLogger);
    EXPECT_TRUE(services_.MessageTexts().isEmpty())
        << services_.MessageTexts().join("|").toStdString();
    EXPECT_TRUE(form_->gLoggerUnsaved);
    EXPECT_TRUE(MainTimer()->isActive());
    EXPECT_FALSE(meter::TLinkGuard::Instance().Held());
    EXPECT_EQ(views::frmScope, nullptr) << "the progress window is gone";

    ASSERT_EQ(g->Grid2->RowCount(), 5); // a row a set (its texts: tests/meter)
    EXPECT_EQ(g->Grid2->RowTexts(2).mid(2, 2), (QStringList{"11:00:00", "00:02"}));
    EXPECT_EQ(FileBytes(WorkingFile()), image);

    EXPECT_EQ(g->GXSGraph1->GetPoints(), 30);
    EXPECT_EQ(g->txtDataNo->text(), QStringLiteral("30"));
    EXPECT_EQ(g->txtSamplingRate->currentText(), QStringLiteral("1"));
    EXPECT_EQ(g->Slider1->Maximum(), 29);
    EXPECT_EQ(g->Slider1->Value1(), 10);
    EXPECT_EQ(g->Slider1->Value2(), 20);

    // A second download reuses the window.
    form_->LoadData1Click();
    EXPECT_EQ(Logger(), g);
    EXPECT_EQ(Written('P'), 2);
}

TEST_F(MainDownloadTest, TheGuardHoldsTheLinkAndTheWindowsWhileBlocksComeIn)
{
    meter_.SetLoggerImage(FourSets());
    int blocks = 0;
    bool checked = false;
    meter_.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command != 'p' || ++blocks != 3)
            return;
        checked = true;
        EXPECT_TRUE(meter::TLinkGuard::Instance().Held());
        EXPECT_FALSE(MainTimer()->isActive());
        EXPECT_EQ(form_->PanelKey('R'), meter::TKeyResult::Ignored);
        EXPECT_FALSE(Logger()->close());
        EXPECT_FALSE(form_->close());
        const int handshakes = Written('P');
        form_->LoadData1Click(); // refused without a word
        EXPECT_EQ(Written('P'), handshakes);
    });
    form_->LoadData1Click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"The meter is busy with a transfer into this window. Please wait until "
                           "it has ended.",
                           "The meter is busy with a transfer. Please wait until it has ended."}));
    services_.AnswerMessage(ui::mrNo); // "Save DataLogger Data ?"
    EXPECT_TRUE(Logger()->close());
}

TEST_F(MainDownloadTest, AFailedBlockLeavesTheEarlierDataAndSendsQ)
{
    const std::vector<uint8_t> first = FourSets();
    meter_.SetLoggerImage(first);
    form_->LoadData1Click();
    const int sets = form_->gDataSets.SetCount();
    const QStringList row = Logger()->Grid2->RowTexts(1);

    meter_.SetLoggerImage(FourSets(700));
    meter_.ClearLog();
    // Reads: the link check's status reply, the handshake, then blocks.
    meter_.InjectFault(UsbOp::Read, meter_.CallCount(UsbOp::Read) + 2 + 10);
    form_->LoadData1Click();
    EXPECT_EQ(services_.MessageTexts(), QStringList{kErrorText + "124"});
    EXPECT_TRUE(form_->FLoggerImage.empty());
    EXPECT_EQ(form_->gDataSets.SetCount(), sets);
    EXPECT_EQ(Logger()->Grid2->RowTexts(1), row);
    EXPECT_EQ(FileBytes(WorkingFile()), first);
    EXPECT_TRUE(MainTimer()->isActive());
    // After the failed read: end of write, then 'Q' (the link is closed, so
    // neither reaches the meter; neither result matters).
    const auto &log = meter_.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].op, UsbOp::EndWrite);
    EXPECT_EQ(log.back().op, UsbOp::Write);
    EXPECT_EQ(log.back().bytes[1], 'Q');
    EXPECT_EQ(Written('p'), 10);
}

TEST_F(MainDownloadTest, RefusalsTouchNeitherTheLinkNorMainTimer)
{
    meter_.SetRecording(true);
    Tick();
    meter_.ClearLog();
    form_->LoadData1Click();
    EXPECT_EQ(
        services_.MessageTexts(),
        QStringList{"The meter is recording data, please stop recording before loading data."});
    EXPECT_TRUE(MainTimer()->isActive());
    EXPECT_TRUE(meter_.Log().empty());
    EXPECT_EQ(Logger(), nullptr);

    meter_.SetPresent(false);
    Tick(5); // five failed polls: disconnected
    services_.ClearCalls();
    form_->LoadData1Click();
    EXPECT_EQ(services_.MessageTexts(), QStringList{"There is no connection with meter !"});

    // An empty memory: the decoder's "no data" message, nothing written.
    meter_.SetPresent(true);
    meter_.SetRecording(false);
    meter_.ClearLogger();
    Tick(2); // found again, then its state
    services_.ClearCalls();
    form_->LoadData1Click();
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"There was not any data recorded in momery of meter !"});
    EXPECT_FALSE(QFile::exists(WorkingFile()));
    EXPECT_FALSE(form_->gLoggerUnsaved);
}

TEST_F(MainDownloadTest, AWorkingFolderThatCannotBeMadeIsToldAndTheSetsStillShow)
{
    meter_.SetLoggerImage(FourSets());
    WriteFile(form_->gDataFolder + "temp", {1, 2, 3}); // a file where the folder belongs
    form_->LoadData1Click();
    ASSERT_EQ(services_.MessageTexts().size(), 1);
    EXPECT_TRUE(services_.MessageTexts()[0].startsWith(
        "The downloaded data could not be written to the working file:"));
    // The folder and the system's reason, as every failed write.
    EXPECT_TRUE(
        services_.MessageTexts()[0].endsWith("\n" + form_->gDataFolder + "temp\nNot a directory"))
        << services_.MessageTexts()[0].toStdString();
    ASSERT_NE(Logger(), nullptr);
    EXPECT_EQ(Logger()->GXSGraph1->GetPoints(), 30);
    EXPECT_TRUE(MainTimer()->isActive());

    // Saving then would pass off no file, or an older one, as these sets.
    services_.ClearCalls();
    EXPECT_FALSE(form_->SaveLoggerFile());
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"There are no data sets to save yet: load them from the meter or open "
                          "a collection first."});
}

// ---- one data set ----------------------------------------------------------------------------

TEST_F(MainDownloadTest, ASetGoesToTheChartWholeWithItsFiguresAndCursors)
{
    meter_.SetLoggerImage(FourSets());
    form_->LoadData1Click();
    views::TfrmGraph *g = Logger();
    TDataSetStore &s = form_->gDataSets;

    form_->ShowDataSet(1);
    GXSGraph &chart = *g->GXSGraph1;
    ASSERT_EQ(chart.GetPoints(), 10);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(chart.GetXDataII(0, k), s.FDataTimes[size_t(30 + k)]);
        EXPECT_EQ(chart.GetYData(0, k), s.FDataLevels[size_t(30 + k)]);
    }
    EXPECT_EQ(g->Slider1->Maximum(), 9);
    EXPECT_EQ(g->Slider1->Value1(), 3);
    EXPECT_EQ(g->Slider1->Value2(), 6);
    EXPECT_EQ(g->txtCursorA->text(), views::LevelText(s.FDataLevels[33]));
    EXPECT_EQ(g->txtMax->text(), QStringLiteral("66.6"));

    form_->ShowDataSet(2);
    EXPECT_EQ(g->Slider1->Maximum(), 1);
    EXPECT_EQ(g->Slider1->Value1(), 0);
    EXPECT_EQ(g->Slider1->Value2(), 1);
    EXPECT_FALSE(g->txtCursorB->text().isEmpty());

    form_->ShowDataSet(3); // no samples: nothing to read
    EXPECT_EQ(chart.GetPoints(), 0);
    EXPECT_TRUE(g->txtMax->text().isEmpty());
    EXPECT_TRUE(g->txtMinTime->text().isEmpty());
    EXPECT_EQ(g->txtDataNo->text(), QStringLiteral("0"));

    // A maximum or a start at .501 of a second shows one second later, at
    // .500 as it is.
    const double second = 1.0 / 86400.0, ms = second / 1000.0;
    const size_t at = size_t(30 + s.FSetMaxIndex[1]);
    const double whole = std::floor(s.FDataTimes[at] / second + 0.5) * second;
    const double start = std::floor(s.FSetStart[1] / second + 0.5) * second;
    s.FDataTimes[at] = whole + 501 * ms;
    s.FSetStart[1] = start + 501 * ms;
    form_->ShowDataSet(1);
    EXPECT_EQ(g->txtMaxTime->text(), views::DateTimeText(whole + second));
    EXPECT_EQ(g->txtStartTime->text(), views::DateTimeText(start + second));
    s.FDataTimes[at] = whole + 500 * ms;
    s.FSetStart[1] = start + 500 * ms;
    form_->ShowDataSet(1);
    EXPECT_EQ(g->txtMaxTime->text(), views::DateTimeText(whole));
    EXPECT_EQ(g->txtStartTime->text(), views::DateTimeText(start));
}

// Two sets of one length give the slider the same values: the cursors must
// still follow the new set.
TEST_F(MainDownloadTest, ASetOfTheSameLengthStillMovesTheCursorTexts)
{
    usb::TLoggerImageBuilder b;
    b.AddSimpleSet(9, 600);
    b.AddSimpleSet(9, 800);
    meter_.SetLoggerImage(b.Build());
    form_->LoadData1Click();
    views::TfrmGraph *g = Logger();
    EXPECT_EQ(g->txtCursorA->text(), QStringLiteral("60.0"));
    form_->ShowDataSet(1);
    EXPECT_EQ(g->txtCursorA->text(), QStringLiteral("80.0"));
    EXPECT_EQ(g->txtAvgAB->text(), QStringLiteral("80.0"));
}

TEST_F(MainDownloadTest, CorrectingAStartShiftsOnlyThatSet)
{
    meter_.SetLoggerImage(FourSets());
    form_->LoadData1Click();
    TDataSetStore before = form_->gDataSets;
    const double hour = 1.0 / 24.0;
    const rtl::TDateTime start = before.FSetStart[1] + hour;

    views::TModalRunnerScope runner([&](QDialog &) {
        views::frmDateTime->SetDate(std::floor(start));
        views::frmDateTime->SetTime(start - std::floor(start));
        return ui::mrOk;
    });
    Logger()->Grid2->SetSelection({0, 2, 4, 2});
    Logger()->ChangeDateTime1Click();
    EXPECT_EQ(views::frmDateTime, nullptr);

    const TDataSetStore &after = form_->gDataSets;
    EXPECT_NEAR(after.FSetStart[1], start, 1e-9);
    for (size_t k = 30; k < 40; ++k)
        EXPECT_NEAR(after.FDataTimes[k], before.FDataTimes[k] + hour, 1e-9);
    for (size_t k : {0u, 29u, 40u, 41u})
        EXPECT_EQ(after.FDataTimes[k], before.FDataTimes[k]);
    EXPECT_EQ(Logger()->Grid2->Cell(2, 2), QStringLiteral("12:00:00"));
    EXPECT_EQ(Logger()->GXSGraph1->GetXDataII(0, 0), after.FDataTimes[30]);

    // A new download brings back the meter's times.
    form_->LoadData1Click();
    EXPECT_EQ(form_->gDataSets.FSetStart[1], before.FSetStart[1]);
}

// ---- collections -----------------------------------------------------------------------------

TEST_F(MainDownloadTest, ACollectionIsTheWorkingFileAndOpensBack)
{
    // 1000 bytes declaring the last used address 256: the working file holds
    // its first 513.
    usb::TLoggerImageBuilder b;
    b.AddSimpleSet(100, 700);
    b.SetLastAddress(256);
    const std::vector<uint8_t> file = b.Build(1000);
    WriteFile(File("in.REC"), file);
    services_.AnswerFileDialog(File("in.REC"));
    form_->OpenLoggerFile();
    EXPECT_EQ(services_.MessageTexts().join('|').toStdString(),
              "These data sets failed their checks and are shown as they were found:\n1")
        << "the set runs past the last used address";
    const std::vector<uint8_t> working = FileBytes(WorkingFile());
    EXPECT_EQ(working, std::vector<uint8_t>(file.begin(), file.begin() + 513));
    ASSERT_NE(Logger(), nullptr);
    EXPECT_EQ(form_->gDataSets.SetCount(), 1);
    EXPECT_FALSE(form_->gLoggerUnsaved) << "opening marks nothing unsaved";

    services_.AnswerFileDialog(File("X.REC"));
    EXPECT_TRUE(form_->SaveLoggerFile());
    EXPECT_EQ(FileBytes(File("X.REC")), working);

    // Files that are no collection change nothing.
    const TDataSetStore store = form_->gDataSets;
    for (size_t size : {size_t(0), size_t(255)}) {
        WriteFile(File("bad.REC"), std::vector<uint8_t>(file.begin(), file.begin() + long(size)));
        services_.ClearCalls();
        services_.AnswerFileDialog(File("bad.REC"));
        form_->OpenLoggerFile();
        EXPECT_EQ(services_.MessageTexts().size(), 1);
        EXPECT_EQ(FileBytes(WorkingFile()), working);
        EXPECT_EQ(form_->gDataSets.FSetCount, store.FSetCount);
    }

    // A collection without sets, or with too many, says so as a download does.
    std::vector<uint8_t> header(file.begin(), file.begin() + 600);
    header[9] = header[10] = 0;
    WriteFile(File("none.REC"), header);
    header[9] = 0x0F;
    header[10] = 0xA1; // 4001 sets
    WriteFile(File("many.REC"), header);
    services_.ClearCalls();
    services_.AnswerFileDialog(File("none.REC"));
    form_->OpenLoggerFile();
    services_.AnswerFileDialog(File("many.REC"));
    form_->OpenLoggerFile();
    EXPECT_EQ(
        services_.MessageTexts(),
        (QStringList{"There was not any data recorded in momery of meter !", kErrorText + "32"}));
    EXPECT_EQ(FileBytes(WorkingFile()), working);
}

TEST_F(MainDownloadTest, SaveOffersTheCollectionForTheLoggerWindow)
{
    meter_.SetLoggerImage(FourSets());
    form_->LoadData1Click();
    form_->MdiClient()->Activate(Logger());
    QString caption;
    views::TModalRunnerScope runner([&](QDialog &d) {
        caption = d.windowTitle();
        return ui::mrOk;
    });
    services_.AnswerFileDialog(File("all.REC"));
    form_->Save1Click();
    EXPECT_EQ(caption, QStringLiteral("Save File"));
    EXPECT_EQ(FileBytes(File("all.REC")), FileBytes(WorkingFile()));

    // A copy that cannot be written is told; nothing half-written is left.
    services_.ClearCalls();
    services_.AnswerFileDialog(File("no/such/folder/x.REC"));
    EXPECT_FALSE(form_->SaveLoggerFile());
    ASSERT_EQ(services_.MessageTexts().size(), 1);
    EXPECT_TRUE(
        services_.MessageTexts()[0].startsWith("The data set collection could not be saved:"));
}

} // namespace

TEST_F(MainDownloadTest, ADamagedSetIsShownAsFoundAndNamedOnceAfterTheLoad)
{
    // The last of three sets lacks its end markers.
    usb::TLoggerImageBuilder b;
    b.AddSimpleSet(20, 600);
    b.AddSimpleSet(8, 800);
    usb::TLoggerSetSpec damaged;
    damaged.DateBytes = {0x25, 0x06, 0x01, 0x10, 0x00, 0x00};
    damaged.Interval = 1;
    damaged.Samples.assign(12, 700);
    damaged.EndMarker = false;
    b.AddSet(damaged);
    meter_.SetLoggerImage(b.Build());
    const QString named =
        QStringLiteral("These data sets failed their checks and are shown as they were found:\n3");

    form_->MenuItem("LoadData1")->trigger();
    ASSERT_NE(Logger(), nullptr);
    EXPECT_EQ(Logger()->Grid2->RowCount(), 4);
    EXPECT_EQ(form_->gDataSets.SetCount(), 3);
    EXPECT_TRUE(form_->gLoggerUnsaved);
    EXPECT_EQ(services_.MessageTexts().join('|').toStdString(), named.toStdString());

    // The same image opened as a collection.
    services_.AnswerFileDialog(File("damaged.REC"));
    ASSERT_TRUE(form_->SaveLoggerFile());
    services_.ClearCalls();
    form_->gDataSets.Clear();
    services_.AnswerFileDialog(File("damaged.REC"));
    form_->OpenLoggerFile();
    EXPECT_EQ(form_->gDataSets.SetCount(), 3);
    EXPECT_EQ(Logger()->Grid2->Cell(0, 3), QStringLiteral("3"));
    EXPECT_EQ(services_.MessageTexts().join('|').toStdString(), named.toStdString());
}

// ---- LEQ records, erase and set-up ---------------------------------------------------------

TEST_F(MainDownloadTest, LeqRecordsEraseAndTheSetupWindowFromTheMainWindow)
{
    meter_.LoadSampleContent();
    app::TfrmMain &f = *form_;
    f.MenuItem("LoadLEQdata1")->trigger();
    ASSERT_NE(views::gDataCaptureForm, nullptr);
    ui::TStringGrid *grid = views::gDataCaptureForm->Grid1;
    EXPECT_NE(f.MdiClient()->SubWindowOf(views::gDataCaptureForm), nullptr);
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("65.2"));
    EXPECT_EQ(grid->Cell(3, 1), QStringLiteral("00:01:00"));
    EXPECT_EQ(grid->Cell(1, 6), QStringLiteral("----"));
    EXPECT_TRUE(grid->Cell(1, 9).isEmpty());
    EXPECT_TRUE(MainTimer()->isActive());

    // A load failing at its last block keeps the earlier list.
    int blocks = 0;
    meter_.SetReplyFilter([&](uint8_t command, usb::SimulatedMeter::Reply &) {
        if (command == 'p' && ++blocks == 80)
            meter_.FailNext(usb::UsbOp::Read);
    });
    f.MenuItem("LoadLEQdata1")->trigger();
    meter_.SetReplyFilter(nullptr);
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("65.2"));
    EXPECT_EQ(services_.MessageTexts(), QStringList{kErrorText + "124"});
    services_.ClearCalls();

    services_.AnswerMessage(ui::mrYes);
    f.MenuItem("EraseMemory1")->trigger();
    f.MenuItem("LoadLEQdata1")->trigger();
    const QList<QWidget *> children = f.MdiClient()->Children();
    EXPECT_EQ(std::count_if(children.begin(), children.end(),
                            [](QWidget *w) { return qobject_cast<views::TfrmDataCapture *>(w); }),
              1)
        << "the list is reused";
    EXPECT_TRUE(grid->Cell(1, 1).isEmpty());
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"Are you sure to erase memory ?",
                           "erase memory successfully! Please power off and power on the meter "
                           "again."}));
    EXPECT_EQ(services_.CallsOf(ui::TUICallKind::MessageDlg).front().ButtonCaptions,
              (QStringList{"Yes", "No"}));

    f.Control<QPushButton>("Button1")->click();
    meter::TfrmSetup *setup = meter::frmSetup;
    ASSERT_NE(setup, nullptr);
    f.MenuItem("Setup1")->trigger();
    EXPECT_EQ(meter::frmSetup, setup);
    services_.ClearCalls();
    setup->Field(meter::TSetupField::edtPassword)->setText(QStringLiteral("0429"));
    setup->Field(meter::TSetupField::txtWAddress)->setText(QStringLiteral("300"));
    setup->Field(meter::TSetupField::txtWData)->setText(QStringLiteral("7"));
    setup->Button6->click();
    setup->Field(meter::TSetupField::txtRAddress)->setText(QStringLiteral("300"));
    setup->Button7->click();
    EXPECT_EQ(setup->Field(meter::TSetupField::txtRData)->text(), QStringLiteral("7"));
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"Write EEProm successfully", "Read EEProm successfully"}));

    form_.reset();
    EXPECT_EQ(views::gDataCaptureForm, nullptr);
    EXPECT_EQ(meter::frmSetup, nullptr);
}
