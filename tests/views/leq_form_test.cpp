// The LEQ window on its own: what Start and Stop ask of the main window,
// the saved table, and the messages of Save and Graph.
#include "views/leq_form.h"

#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_script.h"
#include "tests/support/quiet_graph_host.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using views::TfrmLEQ;

namespace {

struct FakeHost : views::TLeqHost {
    std::vector<int> starts;
    int stops = 0;
    int closed = 0;
    QString folder = QStringLiteral("/data/MX4820/");

    bool LeqStart(TfrmLEQ *, int seconds) override
    {
        starts.push_back(seconds);
        return true;
    }
    void LeqStop() override { ++stops; }
    void LeqFormClosed(TfrmLEQ *) override { ++closed; }
    QString LeqSaveFolder() override { return folder; }
    views::TGraphHost &LeqGraphHost() override { return graphHost; }
    void ShowLeqGraph(views::TfrmGraph *) override {}
    testsupport::TQuietGraphHost graphHost;
};

class LeqFormTest : public ::testing::Test {
protected:
    LeqFormTest() : scope_(services_) {}

    void Fill(int rows)
    {
        form_.LEQGrid->SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r) {
            const QString n = QString::number(r);
            form_.LEQGrid->SetRowTexts(
                r, {n, "3/9/2024", "2:30:0" + n + " PM", "6" + n + ".0", "7" + n + ".5"});
        }
    }
    QByteArray Saved(const QString &name)
    {
        QFile f(dir_.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

    ui::TScriptedUIServices services_;
    ui::TServicesScope scope_;
    QTemporaryDir dir_;
    FakeHost host_;
    TfrmLEQ form_{host_, nullptr};
};

TEST_F(LeqFormTest, StartStopAndCloseGoToTheMainWindow)
{
    form_.show();
    form_.btnLEQ->click();                   // the first entry, 10 s
    form_.cmbTimeSelect->setCurrentIndex(9); // "Manual"
    form_.btnLEQ->click();
    EXPECT_EQ(host_.starts, (std::vector<int>{10, 86400}));
    form_.Button1->click();
    EXPECT_EQ(host_.stops, 1);
    form_.close();
    EXPECT_EQ(host_.closed, 1);
}

TEST_F(LeqFormTest, SaveWritesOneTabbedLinePerRowWithoutNumberOrHeader)
{
    Fill(3);
    services_.AnswerFileDialog(dir_.filePath("run.txt"));
    form_.Button2->click();
    EXPECT_EQ(Saved("run.txt"), QByteArray("3/9/2024\t2:30:01 PM\t61.0\t71.5\t\r\n"
                                           "3/9/2024\t2:30:02 PM\t62.0\t72.5\t\r\n"
                                           "3/9/2024\t2:30:03 PM\t63.0\t73.5\t\r\n"));
    const ui::TFileDialog asked = services_.CallsOf(ui::TUICallKind::FileDialog).at(0).Dialog;
    EXPECT_EQ(asked.Kind, ui::TFileDialogKind::Save);
    EXPECT_EQ(asked.InitialDir, host_.folder);
    EXPECT_TRUE(asked.Options & ui::ofOverwritePrompt);

    form_.LEQGrid->SetRowCount(1);
    services_.AnswerFileDialog(dir_.filePath("empty.txt"));
    form_.Button2->click();
    EXPECT_EQ(Saved("empty.txt"), QByteArray());
    EXPECT_TRUE(services_.MessageTexts().isEmpty());
}

TEST_F(LeqFormTest, AFailedSaveNamesTheFileAndWritesNothing)
{
    Fill(2);
    // A folder that is not there, and a name that is a folder.
    for (const QString &target : {dir_.filePath("gone/run.txt"), dir_.path()}) {
        services_.ClearCalls();
        services_.AnswerFileDialog(target);
        form_.Button2->click();
        ASSERT_EQ(services_.MessageTexts().size(), 1) << target.toStdString();
        EXPECT_TRUE(services_.MessageTexts()[0].contains(target))
            << services_.MessageTexts()[0].toStdString();
    }
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(LeqFormTest, GraphOfAnEmptyTableSaysSo)
{
    form_.Button3->click();
    EXPECT_EQ(services_.MessageTexts(), QStringList{"No data to graph !"});
}

} // namespace
