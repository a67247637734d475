// Chart files and the chart set-up: the file layout, what a reader refuses,
// safe replacement, and what a template may and may not decide.
#include "app/graph_files.h"

#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chartlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class GraphFilesTest : public ::testing::Test {
protected:
    GraphFilesTest()
    {
        ui::TFolderRoots roots;
        roots.Documents = dir_.path() + "/Documents";
        roots.Executable = dir_.path() + "/bin";
        roots.UserData = dir_.path() + "/data";
        QDir().mkpath(roots.Executable + "/template");
        ui::SetFolderRoots(roots);
    }
    ~GraphFilesTest() override { ui::ResetFolderRoots(); }

    QString Path(const char *name) const { return dir_.path() + "/" + name; }
    QString Template() const { return dir_.path() + "/bin/template/graph.ghf"; }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void Write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QByteArray Length(std::int32_t n)
    {
        QByteArray b(4, 0);
        std::memcpy(b.data(), &n, 4); // the machine is little-endian like the file
        return b;
    }
    // A chart with a look and data of its own.
    static void Fill(GXSGraph &chart)
    {
        chart.SetDeskColor(GXSGraph::GXargb(255, 0, 0, 200));
        chart.SetMainTitle(u"From the template");
        chart.SetYAxisLabel(u"Pa");
        chart.SetManualMinY(-5);
        chart.SetPoints(3);
        for (int i = 0; i < 3; ++i) {
            chart.SetXDataII(0, i, 46000.5 + i / 86400.0);
            chart.SetYData(0, i, 60.0f + float(i));
        }
    }

    QTemporaryDir dir_;
};

TEST_F(GraphFilesTest, AChartFileIsTheLengthThenTheStateBlock)
{
    GXSGraph chart;
    Fill(chart);
    const std::vector<std::uint8_t> block = chartlib::ChartStoreState(chart.GethObject());
    app::SaveGraphFile(chart, Path("a.ghf"));
    const QByteArray file = Read(Path("a.ghf"));
    ASSERT_EQ(file.size(), qsizetype(4 + block.size()));
    EXPECT_EQ(file.left(4), Length(std::int32_t(block.size())));
    EXPECT_EQ(std::memcmp(file.constData() + 4, block.data(), block.size()), 0);

    // Read back, with bytes after the block that nobody looks at.
    Write(Path("b.ghf"), file + QByteArray("trailing bytes"));
    GXSGraph copy;
    app::LoadGraphFile(copy, Path("b.ghf"));
    EXPECT_EQ(copy.GetMainTitle(), u"From the template");
    EXPECT_EQ(copy.GetPoints(), 3);
    EXPECT_FLOAT_EQ(copy.GetYData(0, 2), 62.0f);
    EXPECT_EQ(QDir(dir_.path()).entryList({"*.ghf*"}, QDir::Files).size(), 2); // no temp left
}

TEST_F(GraphFilesTest, DamagedFilesAreRefusedAndTheChartStaysAsItWas)
{
    GXSGraph source;
    Fill(source);
    app::SaveGraphFile(source, Path("good.ghf"));
    const QByteArray good = Read(Path("good.ghf"));
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x5A);
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"short length", QByteArray("\x01\x00", 2)},
        {"negative length", Length(-1) + good.mid(4)},
        {"longer than the file", Length(std::int32_t(good.size())) + good.mid(4)},
        {"zero length", Length(0) + good.mid(4)},
        {"cut block", good.left(good.size() - 1)},
        {"damaged block", flipped},
    };
    for (const auto &c : cases) {
        Write(Path("bad.ghf"), c.bytes);
        GXSGraph chart;
        chart.SetMainTitle(u"mine");
        EXPECT_THROW(app::LoadGraphFile(chart, Path("bad.ghf")), rtl::EReadError) << c.what;
        EXPECT_EQ(chart.GetMainTitle(), u"mine") << c.what;
    }
    GXSGraph chart;
    EXPECT_THROW(app::LoadGraphFile(chart, Path("missing.ghf")), rtl::EFOpenError);
}

TEST_F(GraphFilesTest, AFailedSaveLeavesTheOldFile)
{
    GXSGraph chart;
    Fill(chart);
    Write(Path("keep.ghf"), "old contents");
    // A file that cannot be created (its folder is missing) raises and
    // writes nothing.
    EXPECT_THROW(app::SaveGraphFile(chart, Path("no/such/folder/x.ghf")), rtl::EStreamError);
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool readOnly = !QFile(Path("probe")).open(QIODevice::WriteOnly);
    if (readOnly) { // not when the tests run as root
        EXPECT_THROW(app::SaveGraphFile(chart, Path("keep.ghf")), rtl::EStreamError);
    }
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(Path("probe"));
    if (readOnly) {
        EXPECT_EQ(Read(Path("keep.ghf")), QByteArray("old contents"));
    }
}

TEST_F(GraphFilesTest, WithoutTemplateTheDefaultLookAndTheCallsShape)
{
    GXSGraph chart;
    chart.SetManualScaleControlX(sgManualMin);
    EXPECT_FALSE(app::SetupGraph(chart, 2, 5, 0.0, 0.0, 30.0f, 130.0f, u"Time"));
    // What the graph windows rely on: date-time X of double precision,
    // cursors and marks shown and hit (the rest of the look: tests/views).
    EXPECT_EQ(int(chart.GetDateTimeMode()), 1);
    EXPECT_TRUE(chart.GetUsingXDataII());
    EXPECT_TRUE(chart.GetShowVertLineAnnotations() && chart.GetAllowVertLineAnnotHotSpots());
    EXPECT_TRUE(chart.GetShowGraphAnnotations() && chart.GetAllowGraphAnnotHotSpots());
    EXPECT_EQ(chart.GetXAxisLabel(), u"Time");
    EXPECT_EQ(chart.GetYAxisLabel(), u"dB");
    // Minimum X 0.0 leaves the X scale alone; Y is the call's.
    EXPECT_EQ(chart.GetManualScaleControlX(), sgManualMin);
    EXPECT_EQ(chart.GetManualScaleControlY(), sgManualMinAndMax);
    EXPECT_DOUBLE_EQ(chart.GetManualMinY(), 30.0);
    // Every point of every subset is empty, not only a few of them.
    EXPECT_EQ(chart.GetSubsets(), 2);
    EXPECT_EQ(chart.GetPoints(), 5);
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(chart.GetXDataII(s, i), 0.0) << s << "," << i;
            EXPECT_EQ(chart.GetYDataII(s, i), 9999.0) << s << "," << i;
        }

    app::SetupGraph(chart, 1, 4, 46000.5, 46000.6, 30.0f, 130.0f, u"Time");
    EXPECT_EQ(chart.GetManualScaleControlX(), sgManualMinAndMax);
    EXPECT_DOUBLE_EQ(chart.GetManualMinX(), 46000.5);
    EXPECT_DOUBLE_EQ(chart.GetManualMaxX(), 46000.6);
}

TEST_F(GraphFilesTest, ATemplateGivesTheLookButNotTheShapeScalesOrYLabel)
{
    GXSGraph designed;
    Fill(designed);
    app::SaveGraphFile(designed, Template());

    GXSGraph chart;
    EXPECT_TRUE(app::SetupGraph(chart, 1, 10, 46000.5, 46000.6, 30.0f, 130.0f, u"Time"));
    EXPECT_EQ(chart.GetDeskColor(), GXSGraph::GXargb(255, 0, 0, 200));
    EXPECT_EQ(chart.GetMainTitle(), u"From the template");
    EXPECT_EQ(chart.GetYAxisLabel(), u"dB");
    EXPECT_DOUBLE_EQ(chart.GetManualMinY(), 30.0);
    EXPECT_EQ(chart.GetPoints(), 10);
    EXPECT_EQ(chart.GetYDataII(0, 1), 9999.0); // the template's data are gone

    // A user's own copy comes before the one beside the program.
    GXSGraph mine;
    mine.SetMainTitle(u"The user's template");
    QDir().mkpath(dir_.path() + "/data/template");
    app::SaveGraphFile(mine, dir_.path() + "/data/template/graph.ghf");
    EXPECT_EQ(app::GraphTemplateFile(), dir_.path() + "/data/template/graph.ghf");
    app::SetupGraph(chart, 1, 10, 46000.5, 46000.6, 30.0f, 130.0f, u"Time");
    EXPECT_EQ(chart.GetMainTitle(), u"The user's template");
}

TEST_F(GraphFilesTest, ADamagedTemplateGivesTheDefaultLook)
{
    Write(Template(), Length(1000) + QByteArray(20, 'x'));
    GXSGraph chart;
    chart.SetMainTitle(u"old");
    EXPECT_FALSE(app::SetupGraph(chart, 1, 10, 46000.5, 46000.6, 30.0f, 130.0f, u"Zeit"));
    EXPECT_EQ(chart.GetMainTitle(), u"");
    EXPECT_EQ(chart.GetXAxisLabel(), u"Zeit");
    EXPECT_EQ(chart.GetDeskColor(), GXSGraph::GXargb(255, 190, 190, 190));
    EXPECT_EQ(chart.GetPoints(), 10);
}

} // namespace
