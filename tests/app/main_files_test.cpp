// File > Save and File > Open through the main window: graphs and grids
// saved as text with the range question, the failures, text and chart files
// opened into list and graph windows, and "Output Tabular to graph" (a list
// window's rows back into a graph window).
#include "tests/app/main_window_test.h"

#include "chart/control/gxsgraph.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_qt.h"
#include "platform/usb/sim/logger_image_builder.h"
#include "tests/support/when_modal.h"
#include "tests/support/write_limit.h"
#include "views/graph_window.h"
#include "views/list_form.h"
#include "views/open_save_form.h"
#include "views/scope_form.h"
#include "views/show_modal.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const rtl::TDateTime kDay = rtl::EncodeDate(2026, 3, 14);

class MainFilesTest : public MainWindowTest {
protected:
    MainFilesTest() : runner_([this](QDialog &dialog) { return Answer(dialog); })
    {
        services_.SetOnUnanswered(
            [](const ui::TUICall &c) { ADD_FAILURE() << c.Describe().toStdString(); });
        Start();
    }

    // The range question: "All", or "Select" with the two texts.
    void AnswerAll() { ranges_.push_back({true, "", ""}); }
    void AnswerRange(const char *from, const char *to) { ranges_.push_back({false, from, to}); }

    // A graph window of the given points, the active child.
    views::TfrmGraph *Graph(const std::vector<std::pair<rtl::TDateTime, float>> &points)
    {
        auto *g = new views::TfrmGraph(*form_, views::TGraphRole::Other);
        g->setWindowTitle(QStringLiteral("Points"));
        form_->ShowGraphWindow(*g);
        form_->SetupGraph(*g->GXSGraph1, 1, int(points.size()), kDay, kDay + 1, 30, 130);
        for (size_t i = 0; i < points.size(); ++i) {
            g->GXSGraph1->SetXDataII(0, int(i), points[i].first);
            g->GXSGraph1->SetYData(0, int(i), points[i].second);
        }
        g->UpdateGraphStatistics();
        form_->MdiClient()->Activate(g);
        return g;
    }
    // n points one second apart from noon, levels 40.0, 40.1, ...
    views::TfrmGraph *Series(int n)
    {
        std::vector<std::pair<rtl::TDateTime, float>> points;
        for (int i = 0; i < n; ++i)
            points.push_back({kDay + 0.5 + i / rtl::SecsPerDay, 40.0f + i / 10.0f});
        return Graph(points);
    }
    QString Date() const { return QString::fromStdString(rtl::DateToStr(kDay)); }
    // The list of a text file, the active child.
    views::TfrmList *List(const char *name)
    {
        views::TfrmList *list = form_->OpenTextFile(File(name));
        if (list)
            form_->MdiClient()->Activate(list);
        return list;
    }
    QToolButton *OutputButton() { return form_->Control<QToolButton>("btnOutputToGraph"); }
    int Windows() { return form_->MdiClient()->ChildCount(); }

    std::vector<std::string> Calls()
    {
        std::vector<std::string> texts;
        for (const QString &t : services_.MessageTexts())
            texts.push_back(t.toStdString());
        return texts;
    }

private:
    struct Range {
        bool all;
        QString from, to;
    };
    ui::TModalResult Answer(QDialog &dialog)
    {
        // Open asks collection or single file: a single file.
        if (qobject_cast<views::TfrmOpenSave *>(&dialog)) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open File"));
            return ui::mrNo;
        }
        auto *scope = qobject_cast<views::TfrmScope *>(&dialog);
        if (!scope || ranges_.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return ui::mrCancel;
        }
        EXPECT_EQ(scope->windowTitle(), QStringLiteral("Save File"));
        const Range r = ranges_.front();
        ranges_.erase(ranges_.begin());
        if (r.all)
            return ui::mrOk;
        scope->radNo->setChecked(true);
        scope->edtSelFrom->setText(r.from);
        scope->edtSelTo->setText(r.to);
        return ui::mrOk;
    }

    TDayFirstSettings settings_;
    views::TModalRunnerScope runner_;
    std::vector<Range> ranges_;
};

TEST_F(MainFilesTest, AGraphSavesAsTextAndCsvLinesExactly)
{
    Graph({{kDay + rtl::EncodeTime(12, 0, 0, 600), 63.25f},
           {kDay + rtl::EncodeTime(12, 0, 2, 0), 70.0f}});
    services_.AnswerFileDialog(File("g.txt"));
    AnswerAll();
    form_->Save1Click();
    const QString d = Date();
    EXPECT_EQ(QString::fromUtf8(Read(File("g.txt"))),
              d + "\t12:00:01\t63.3\r\n" + d + "\t12:00:02\t70.0\r\n");

    services_.AnswerFileDialog(File("g.csv"));
    AnswerAll();
    form_->Save1Click();
    EXPECT_EQ(QString::fromUtf8(Read(File("g.csv"))),
              d + ",12:00:01,63.3\r\n" + d + ",12:00:02,70.0\r\n");

    // The dialog starts in the data folder and offers the three formats.
    const auto dialogs = services_.CallsOf(ui::TUICallKind::FileDialog);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].Dialog.InitialDir, form_->gDataFolder);
    EXPECT_TRUE(dialogs[0].Dialog.Filter.contains("*.CSV"));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MainFilesTest, TheRangeQuestionChoosesThePoints)
{
    views::TfrmGraph *g = Series(200);
    auto save = [this](const char *name) {
        services_.AnswerFileDialog(File(name));
        form_->Save1Click();
        return Read(File(name));
    };
    AnswerRange("30", "10");
    const QByteArray part = save("a.txt");
    EXPECT_EQ(part.count("\r\n"), 21);
    EXPECT_TRUE(part.startsWith((Date() + "\t12:00:09\t40.9\r\n").toUtf8()));
    AnswerRange("0", "0");
    EXPECT_EQ(save("c.txt"), QByteArray()); // created, empty
    AnswerRange("x", "3");
    EXPECT_EQ(save("d.txt"), QByteArray("<missing>"));
    EXPECT_EQ(Calls(), std::vector<std::string>{"invalid integer"});

    // The data end at the first point whose X is 0.0.
    g->GXSGraph1->SetXDataII(0, 150, 0.0);
    AnswerAll();
    EXPECT_EQ(save("e.txt").count("\r\n"), 150);
}

TEST_F(MainFilesTest, GridsSaveTheirRowsWithTheSeparatorOfTheName)
{
    ui::TStringGrid grid;
    grid.SetColCount(6);
    grid.SetRowCount(3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            grid.SetCell(c, r, QStringLiteral("c%1").arg(c));
    for (const char *name : {"out.txt", "outcsv"}) {
        services_.AnswerFileDialog(File(name));
        AnswerAll();
        EXPECT_TRUE(form_->SaveGridAs(grid));
    }
    EXPECT_EQ(Read(File("out.txt")), QByteArray("c1\tc2\tc3\tc4\tc5\t\r\n").repeated(2));
    EXPECT_EQ(Read(File("outcsv")), QByteArray("c1,c2,c3,c4,c5,\r\n").repeated(2));
    // The LEQ record list saves its grid too.
    auto *records = new QWidget;
    records->setObjectName(QStringLiteral("frmDataCapture"));
    auto *recordGrid = new ui::TStringGrid(records);
    recordGrid->setObjectName(QStringLiteral("Grid1"));
    recordGrid->SetColCount(3);
    recordGrid->SetRowCount(2);
    recordGrid->SetCell(1, 1, QStringLiteral("85.3"));
    form_->MdiClient()->AddChild(records);
    form_->MdiClient()->Activate(records);
    services_.AnswerFileDialog(File("records.txt"));
    AnswerAll();
    form_->Save1Click();
    EXPECT_EQ(Read(File("records.txt")), QByteArray("85.3\t\t\r\n"));

    // A grid's invalid bound is the fixed English text.
    services_.AnswerFileDialog(File("bad.txt"));
    AnswerRange("1", "2x");
    EXPECT_FALSE(form_->SaveGridAs(grid));
    EXPECT_EQ(Calls(), std::vector<std::string>{"invalid integer"});
}

TEST_F(MainFilesTest, FailedWritesAreNamedAndKeepTheOldFile)
{
    views::TfrmGraph *g = Series(50);
    // A full disk: the old file stays as it was, no temporary is left, and
    // the message names the file and the system's reason.
    for (const QString name : {"old.txt", "old.ghf"}) {
        services_.ClearCalls();
        Write(File(name), "old");
        services_.AnswerFileDialog(File(name));
        if (name.endsWith(".txt"))
            AnswerAll();
        bool saved = true;
        {
            testsupport::TWriteLimit limit(64);
            saved = form_->SaveGraphAs(*g->GXSGraph1);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(Read(File(name)), QByteArray("old"));
        ASSERT_EQ(Calls().size(), 1u);
        const std::string file = File(name).toStdString();
        EXPECT_EQ(Calls()[0].rfind("The file " + file + " could not be written.\n", 0), 0u);
        EXPECT_NE(Calls()[0].find(file + "\". " + std::strerror(EFBIG)), std::string::npos)
            << Calls()[0];
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"old.ghf", "old.txt"}));
}

TEST_F(MainFilesTest, PipesAndDevicesAreRefusedAtOnceAsFilesThatCannotBeOpened)
{
    // The readers of data files, chart files and collections, by extension.
    for (const char *ext : {"txt", "ghf", "REC"}) {
        ASSERT_EQ(::mkfifo(File(QStringLiteral("pipe.") + ext).toLocal8Bit().constData(), 0600), 0);
        ASSERT_EQ(
            ::symlink("/dev/zero", File(QStringLiteral("zero.") + ext).toLocal8Bit().constData()),
            0);
    }
    const std::pair<const char *, const char *> cases[] = {
        {"pipe.txt", "The file %s could not be opened."},
        {"zero.txt", "The file %s could not be opened."},
        {"pipe.ghf", "Cannot open file \"%s\". Not a regular file."},
        {"zero.ghf", "Cannot open file \"%s\". Not a regular file."},
        {"pipe.REC", "%s\nCannot open file \"%s\". Not a regular file"},
        {"zero.REC", "%s\nCannot open file \"%s\". Not a regular file"},
    };
    for (const auto &[name, text] : cases) {
        services_.ClearCalls();
        services_.AnswerFileDialog(File(name));
        // A reader that blocks on the pipe or reads the device without end
        // is ended by the alarm.
        ::alarm(5);
        if (QString::fromLatin1(name).endsWith(".REC"))
            form_->OpenLoggerFile();
        else
            form_->OpenDataFile();
        ::alarm(0);
        ASSERT_EQ(Calls().size(), 1u) << name;
        EXPECT_NE(
            Calls()[0].find(QString::fromLatin1(text).replace("%s", File(name)).toStdString()),
            std::string::npos)
            << Calls()[0];
    }
    EXPECT_EQ(form_->frmList, nullptr);
    EXPECT_EQ(form_->frmGraph, nullptr);
}

// The messages are scripted; the file dialog is Qt's, as the program shows it,
// and the test types the names into it.
class TRealFileDialogs : public ui::TScriptedUIServices {
public:
    bool ExecuteFileDialog(ui::TFileDialog &dialog) override
    {
        const bool chosen = FQt.ExecuteFileDialog(dialog);
        FClosed.start();
        return chosen;
    }
    // Milliseconds since the last file dialog closed.
    qint64 SinceDialogClosed() const { return FClosed.elapsed(); }

private:
    ui::TQtUIServices FQt;
    QElapsedTimer FClosed;
};

TEST_F(MainFilesTest, ATypedNameThatExistsOpensAsItStandsWithoutTheFiltersExtension)
{
    TRealFileDialogs real;
    ui::TServicesScope scope(real);

    // A collection kept under a name without an extension in the data
    // folder, where the dialog opens, opens from the collection dialog, whose
    // filter is "*.REC".
    usb::TLoggerImageBuilder b;
    b.AddSimpleSet(100, 700);
    const std::vector<uint8_t> image = b.Build();
    const QString noext = form_->gDataFolder + QStringLiteral("noext");
    Write(noext, QByteArray(reinterpret_cast<const char *>(image.data()), qsizetype(image.size())));
    testsupport::TypeIntoFileDialog(noext);
    form_->OpenLoggerFile();
    EXPECT_TRUE(real.MessageTexts().isEmpty()) << real.MessageTexts().join('|').toStdString();
    EXPECT_EQ(form_->gDataSets.SetCount(), 1);

    // A pipe typed without an extension reaches the reader, which refuses it
    // at once with its own message (the alarm ends a reader that would wait
    // for a writer).
    const QString pipe = form_->gDataFolder + QStringLiteral("pipe");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    ::alarm(5);
    testsupport::TypeIntoFileDialog(pipe);
    form_->OpenLoggerFile();
    ::alarm(0);
    EXPECT_LT(real.SinceDialogClosed(), 1000) << "from the press of Open to the message";
    EXPECT_EQ(real.MessageTexts().join('|').toStdString(),
              QStringLiteral("The file could not be read:\n%1\nCannot open file \"%1\". Not a "
                             "regular file")
                  .arg(pipe)
                  .toStdString());
    EXPECT_EQ(form_->gDataSets.SetCount(), 1) << "the store is kept";

    // A name that does not exist gets the filter's extension, so that a
    // collection is found by its name alone; the data file dialog then
    // opens "list.TXT" from "list" typed with the text filter.
    Write(File("list.TXT"), "a\tb\r\n");
    testsupport::TypeIntoFileDialog(File("list"), 1);
    form_->OpenDataFile();
    ASSERT_NE(form_->frmList, nullptr);
    EXPECT_EQ(form_->frmList->windowTitle(), File("list.TXT"));
}

TEST_F(MainFilesTest, ANameOfAnotherExtensionTakesTheFormatOfTheChosenEntry)
{
    Series(3);
    services_.AnswerFileDialog(File("g.dat"), 2); // the TXT entry
    AnswerAll();
    form_->Save1Click();
    EXPECT_EQ(Read(File("g.dat.txt")).count("\r\n"), 3);
    EXPECT_FALSE(QFile::exists(File("g.dat")));

    // Replacing a file the dialog did not ask about is asked here.
    services_.AnswerFileDialog(File("g.dat"), 2);
    services_.AnswerMessage(ui::mrNo);
    form_->Save1Click();
    EXPECT_EQ(Read(File("g.dat.txt")).count("\r\n"), 3);
    EXPECT_EQ(services_.PendingAnswers(), 0u);
}

TEST_F(MainFilesTest, WithADecimalCommaNoCommaSeparatedFileIsWritten)
{
    rtl::FormatSettings().DecimalSeparator = ',';
    Series(3);
    services_.AnswerFileDialog(File("g.csv"));
    form_->Save1Click();
    EXPECT_FALSE(QFile::exists(File("g.csv")));
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_NE(Calls()[0].find("tab-separated"), std::string::npos);
    // The dialogs offer no comma-separated entry; tab-separated text has
    // the comma in its levels.
    EXPECT_FALSE(services_.CallsOf(ui::TUICallKind::FileDialog)[0].Dialog.Filter.contains("CSV"));
    services_.AnswerFileDialog(File("g.txt"));
    AnswerAll();
    form_->Save1Click();
    EXPECT_TRUE(Read(File("g.txt")).endsWith("\t40,2\r\n"));

    ui::TStringGrid grid;
    services_.AnswerFileDialog(File("grid.csv"));
    EXPECT_FALSE(form_->SaveGridAs(grid));
    EXPECT_FALSE(QFile::exists(File("grid.csv")));
    EXPECT_EQ(services_.CallsOf(ui::TUICallKind::FileDialog).back().Dialog.Filter,
              QStringLiteral(" TXT file(*.txt,data seperated by tab)|*.TXT"));
}

TEST_F(MainFilesTest, TheFifthFieldChoosesTheListTitles)
{
    Write(File("leq.txt"),
          "85.3\t14/03/2026 12:00:00\t00:00:10\tdBA\tFAST\t\r\n----\t\t\t\t\t\r\n");
    views::TfrmList *records = form_->OpenTextFile(File("leq.txt"));
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->Grid1->RowTexts(0).mid(0, 6),
              (QStringList{"No", "Value", "Time", "LEQ period(hh:mm:ss)", "dBA/dBC", "FAST/SLOW"}));
    EXPECT_EQ(records->Grid1->RowTexts(2).mid(0, 3), (QStringList{"2", "----", ""}));

    Write(File("table.csv"), "14/03/2026,12:00:00,63.0,63.0,\r\n");
    views::TfrmList *table = form_->OpenTextFile(File("table.csv"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Grid1->RowTexts(0).mid(0, 5),
              (QStringList{"No", "Date", "Time", "SPL", "Leq"}));
    EXPECT_EQ(table->Grid1->Cell(3, 1), QStringLiteral("63.0"));

    // A first line without a separator gives an empty list.
    Write(File("one.txt"), "123\r\n1\t2\r\n");
    views::TfrmList *empty = form_->OpenTextFile(File("one.txt"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Grid1->RowCount(), 2);
    EXPECT_EQ(empty->Grid1->Cell(1, 1), QString());

    EXPECT_EQ(form_->OpenTextFile(File("missing.txt")), nullptr);
    EXPECT_EQ(Calls(), std::vector<std::string>{"The file " + File("missing.txt").toStdString() +
                                                " could not be opened."});
}

TEST_F(MainFilesTest, ReadingEndsOnCancelAndWhenTheListCloses)
{
    QByteArray text;
    for (int i = 1; i <= 50; ++i)
        text += QByteArray::number(i) + "\tx\r\n";
    Write(File("n.txt"), text);

    // Cancel is pressed while the first line's messages run; the main
    // window does not close meanwhile.
    bool refused = false;
    QTimer::singleShot(0, [&] {
        refused = !form_->close();
        views::frmScope->BitBtn2->click();
    });
    views::TfrmList *list = form_->OpenTextFile(File("n.txt"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(views::frmScope, nullptr);
    EXPECT_EQ(list->Grid1->Cell(1, 1), QStringLiteral("1"));
    EXPECT_LT(list->Grid1->RowCount(), 10);

    // The list closed while it is filled: the reading ends.
    QTimer::singleShot(0, [this] { form_->frmList->close(); });
    EXPECT_EQ(form_->OpenTextFile(File("n.txt")), nullptr);
    EXPECT_FALSE(form_->ReadingTextFile());
    EXPECT_TRUE(form_->close());
}

// A file another program appends to while it is read: the list holds the
// lines the file had when it was opened, and the open returns.
TEST_F(MainFilesTest, AFileAppendedToWhileItIsReadGivesTheLinesItHeldAtTheOpen)
{
    QByteArray text;
    for (int i = 1; i <= 20; ++i)
        text += QByteArray::number(i) + "\tx\r\n";
    Write(File("grows.txt"), text);
    // While the first line's messages run, far more is appended than was there.
    QTimer::singleShot(0, [&] {
        QFile file(File("grows.txt"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        for (int i = 21; i <= 5000; ++i)
            file.write(QByteArray::number(i) + "\tappended\r\n");
    });
    views::TfrmList *list = form_->OpenTextFile(File("grows.txt"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Grid1->RowCount(), 21);
    EXPECT_EQ(list->Grid1->Cell(1, 20), QStringLiteral("20"));
    EXPECT_FALSE(form_->ReadingTextFile());
}

TEST_F(MainFilesTest, OpenMakesGraphAndListWindowsAndTheOutputButtonFollowsThem)
{
    views::TfrmGraph *g = Series(10);
    g->GXSGraph1->SetMainTitle(u"saved");
    services_.AnswerFileDialog(File("c.ghf"));
    form_->Save1Click(); // a chart file: no range to ask
    Write(File("l.txt"), "a\tb\r\n");
    auto *button = form_->Control<QToolButton>("btnOutputToGraph");
    EXPECT_FALSE(button->isEnabled());

    services_.AnswerFileDialog(File("l.txt"));
    form_->Open1Click();
    ASSERT_NE(form_->frmList, nullptr);
    EXPECT_EQ(form_->MdiClient()->ActiveChild(), form_->frmList.data());
    EXPECT_TRUE(button->isEnabled());

    services_.AnswerFileDialog(File("c.ghf"));
    form_->Open1Click();
    ASSERT_NE(form_->frmGraph, nullptr);
    EXPECT_EQ(form_->frmGraph->windowTitle(), File("c.ghf"));
    EXPECT_EQ(form_->frmGraph->GXSGraph1->GetPoints(), 10);
    EXPECT_EQ(form_->frmGraph->GXSGraph1->GetMainTitle(), u"saved");
    EXPECT_EQ(form_->frmGraph->txtDataNo->text(), QStringLiteral("10"));
    form_->MdiClient()->Activate(form_->frmGraph);
    EXPECT_FALSE(button->isEnabled());
    form_->MdiClient()->Activate(form_->frmList);
    EXPECT_TRUE(button->isEnabled());

    // A damaged chart file opens into no window and says so.
    const int windows = form_->MdiClient()->ChildCount();
    Write(File("damaged.ghf"), QByteArray("\x10\x00\x00\x00short", 9));
    services_.AnswerFileDialog(File("damaged.ghf"));
    form_->Open1Click();
    EXPECT_EQ(form_->MdiClient()->ChildCount(), windows);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_NE(Calls()[0].find("damaged"), std::string::npos);

    EXPECT_EQ(services_.CallsOf(ui::TUICallKind::FileDialog)[1].Dialog.InitialDir,
              form_->gDataFolder);
}

// ---- Output Tabular to graph ----------------------------------------------------------------

TEST_F(MainFilesTest, AGraphSavedAsTextComesBackWithTheSavedPoints)
{
    // Times with milliseconds and levels of more than one decimal: the text
    // keeps whole seconds (rounded up past 500 ms) and one decimal, and the
    // output gives exactly those.
    std::vector<std::pair<rtl::TDateTime, float>> points;
    for (int i = 0; i < 30; ++i)
        points.push_back({kDay + rtl::EncodeTime(9, 0, i, i % 2 ? 700 : 200), 55.04f + i * 0.37f});
    views::TfrmGraph *source = Graph(points);
    EXPECT_FALSE(OutputButton()->isEnabled());
    services_.AnswerFileDialog(File("g.txt"));
    AnswerAll();
    form_->Save1Click();

    ASSERT_NE(List("g.txt"), nullptr);
    EXPECT_TRUE(OutputButton()->isEnabled());
    OutputButton()->click();
    views::TfrmGraph *graph = form_->frmGraph;
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(graph, source);
    EXPECT_EQ(graph->windowTitle(), File("g.txt"));
    EXPECT_EQ(form_->MdiClient()->ActiveChild(), graph);
    EXPECT_FALSE(OutputButton()->isEnabled());
    GXSGraph &to = *graph->GXSGraph1;
    ASSERT_EQ(to.GetPoints(), 30);
    for (int i = 0; i < 30; ++i) {
        const rtl::TDateTime saved = kDay + rtl::EncodeTime(9, 0, i + (i % 2), 0);
        EXPECT_NEAR(to.GetXDataII(0, i), saved, 1e-3 / rtl::SecsPerDay) << i;
        EXPECT_FLOAT_EQ(to.GetYData(0, i), std::round((55.04f + i * 0.37f) * 10) / 10) << i;
    }
    EXPECT_EQ(to.GetManualMinX(), to.GetXDataII(0, 0));
    EXPECT_EQ(to.GetManualMaxX(), to.GetXDataII(0, 29));
    EXPECT_EQ(graph->txtDataNo->text(), QStringLiteral("30"));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MainFilesTest, OnlyRowsThatConvertBecomePointsAndAListWithoutAnyMakesNoWindow)
{
    Write(File("rows.txt"), "14/03/2026\tnoon\t50.0\r\n"       // no time
                            "14/03/2026\t10:00:01\t61.5\r\n"   // a point
                            "14/03/2026\t10:00:02\tloud\r\n"   // no level
                            "14/03/2026\t10:00:03\t63.5\r\n"   // a point
                            "32/03/2026\t10:00:04\t64.5\r\n"); // no date
    ASSERT_NE(List("rows.txt"), nullptr);
    OutputButton()->click();
    ASSERT_NE(form_->frmGraph, nullptr);
    GXSGraph &chart = *form_->frmGraph->GXSGraph1;
    ASSERT_EQ(chart.GetPoints(), 2);
    EXPECT_FLOAT_EQ(chart.GetYData(0, 0), 61.5f);
    EXPECT_FLOAT_EQ(chart.GetYData(0, 1), 63.5f);
    EXPECT_EQ(chart.GetManualMinX(), kDay + rtl::EncodeTime(10, 0, 1, 0));
    EXPECT_EQ(chart.GetManualMaxX(), kDay + rtl::EncodeTime(10, 0, 3, 0));
    EXPECT_TRUE(Calls().empty());

    // A list of LEQ records (a level in column 1, a date-time in column 2),
    // then a list without data at all.
    Write(File("records.txt"), "61.5\t14/03/2026 10:00:00\t00:01:00\tdBA\tFAST\r\n");
    ASSERT_NE(List("records.txt"), nullptr);
    const int windows = Windows();
    OutputButton()->click();
    EXPECT_EQ(Windows(), windows);
    Write(File("none.txt"), "just one field\r\n");
    ASSERT_NE(List("none.txt"), nullptr);
    OutputButton()->click();
    EXPECT_EQ(Windows(), windows + 1);
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{
                  "No row of the list holds a date, a time and a level that can be graphed.",
                  "No data to graph !"}));
}

TEST_F(MainFilesTest, AListClosedWhileItIsGraphedGivesNoWindow)
{
    QByteArray text;
    for (int i = 0; i < 50; ++i)
        text += "14/03/2026\t10:00:" + QByteArray::number(i).rightJustified(2, '0') + "\t60.0\r\n";
    Write(File("n.txt"), text);
    views::TfrmList *list = List("n.txt");
    ASSERT_NE(list, nullptr);
    const int windows = Windows();
    bool refused = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(form_->GraphingList());
        EXPECT_NE(views::frmScope, nullptr);
        refused = !form_->close();
        list->close();
    });
    OutputButton()->click();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(form_->GraphingList());
    EXPECT_EQ(views::frmScope, nullptr);
    EXPECT_EQ(Windows(), windows - 1);
    EXPECT_EQ(form_->frmGraph, nullptr);
    EXPECT_TRUE(Calls().empty());
}

} // namespace
