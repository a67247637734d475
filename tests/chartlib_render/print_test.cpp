// Printing a chart to a PDF file: a whole page, or the size asked for, whatever the chart's
// window; the file is replaced only by a finished job; a job that fails or is aborted, or whose
// file cannot be written whole, leaves the previous file as it was and no temporary file behind.
// The same holds for an image written to a file.
#include "platform/chartlib/render/chart_output.h"
#include "platform/chartlib/render/chart_render.h"
#include "platform/ui/printer.h"

#include "tests/support/pdf_reader.h"
#include "tests/support/write_limit.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

using namespace chartlib;

namespace {

const QByteArray kOldFile = "the previous good printout";

QByteArray Contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList Entries(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

class ChartPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pdf = dir.filePath(QStringLiteral("chart.pdf"));
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kOldFile);
        f.close();
        ChartRect r{0, 0, 600, 400};
        h = ChartCreateWithView(304, 0, &r, 0, 12111);
        ASSERT_NE(h, 0u);
        ChartSetInt(h, 2115, 1);  // Subsets
        ChartSetInt(h, 2120, 50); // Points
        for (int i = 0; i < 50; ++i)
            ChartSetElement2D(h, 2140, 0, i, 40.0f + i);
        ui::Printer().SetOutputFileName(pdf);
    }
    void TearDown() override
    {
        ui::Printer().SetOutputFileName(QString());
        ChartDestroy(h);
    }

    QTemporaryDir dir;
    QString pdf;
    HCHART h = 0;
};

} // namespace

TEST_F(ChartPrintTest, AFinishedJobReplacesTheFileWithAWholePageWhateverTheWindowsShape)
{
    // A chart as flat as a window can be still fills the printable area of the page, with its
    // axes; the job is named after the window the chart stands in (none here, so the name
    // of an earlier job goes).
    ASSERT_TRUE(ChartMoveWindow(h, 16384, 1));
    ui::Printer().SetTitle(QStringLiteral("an earlier job"));
    EXPECT_TRUE(ChartPrintGraph(h, 0, 0, 1));
    EXPECT_FALSE(ui::Printer().Printing());
    EXPECT_TRUE(Contents(pdf).startsWith("%PDF"));
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("chart.pdf")});
    EXPECT_EQ(ui::Printer().OutputFileName(), pdf);
    EXPECT_EQ(ui::Printer().Title(), QString());
    ASSERT_TRUE(testsupport::PdfToolsInstalled());
    const QImage page = testsupport::PdfPageImage(pdf, 1, 36);
    ASSERT_FALSE(page.isNull());
    const QRectF printable = ui::Printer().QtPrinter().pageLayout().paintRect(QPageLayout::Point);
    const QRect ink = testsupport::InkBounds(page);
    EXPECT_GE(ink.height(), 0.95 * printable.height() * 36 / 72);
    EXPECT_GE(ink.width(), 0.95 * printable.width() * 36 / 72);

    // The print dialog's path with a size in millimetres goes the same way.
    ASSERT_TRUE(ChartMoveWindow(h, 600, 400));
    ChartPair size{100, 60};
    ASSERT_TRUE(ChartPrintTo(h, ui::Printer(), &size));
    EXPECT_TRUE(Contents(pdf).startsWith("%PDF"));
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("chart.pdf")});
    const QRect small = testsupport::InkBounds(testsupport::PdfPageImage(pdf, 1, 36));
    for (auto [drawn, mm] : {std::pair{small.width(), 100}, std::pair{small.height(), 60}}) {
        EXPECT_LE(drawn, mm / 25.4 * 36 + 1);
        EXPECT_GE(drawn, 0.9 * mm / 25.4 * 36);
    }
}

TEST_F(ChartPrintTest, NoSecondJobWhileOneRunsAndNoJobForAnUnknownChart)
{
    EXPECT_FALSE(ChartPrintTo(h + 1000, ui::Printer(), nullptr));
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("chart.pdf")});

    // A job already running on the printer is not ended or disturbed by the chart.
    ASSERT_TRUE(ui::Printer().BeginDoc());
    EXPECT_FALSE(ChartPrintTo(h, ui::Printer(), nullptr));
    EXPECT_TRUE(ui::Printer().Printing());
    ui::Printer().Abort();
    EXPECT_EQ(Contents(pdf), kOldFile);
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("chart.pdf")});
}

TEST_F(ChartPrintTest, AWriteThatFailsPartWayKeepsTheOldPrintoutAndImage)
{
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    {
        QFile f(png);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kOldFile);
    }
    // A full disk after the first kilobyte: the PDF and the image are both longer.
    EXPECT_EQ(testsupport::RunUnderWriteLimit(1024,
                                              [&] {
                                                  const bool printed = ChartPrintGraph(h, 0, 0, 1);
                                                  const bool saved = ChartPngToFile(
                                                      h, nullptr, png.toStdU16String());
                                                  return !printed && !saved; // both say so
                                              }),
              0);
    EXPECT_EQ(Contents(pdf), kOldFile);
    EXPECT_EQ(Contents(png), kOldFile);
    EXPECT_EQ(Entries(dir),
              (QStringList{QStringLiteral("chart.pdf"), QStringLiteral("chart.png")}));

    // Without the limit both are replaced.
    EXPECT_TRUE(ChartPngToFile(h, nullptr, png.toStdU16String()));
    EXPECT_TRUE(Contents(png).startsWith("\x89PNG"));
}
