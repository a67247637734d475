// The printer: a job printed to PDF without a display, pages, and the canvas
// font sized as the class library sizes it.
#include "platform/ui/printer.h"

#include "tests/support/pdf_reader.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ui;

TEST(Printer, JobToPdfWithPages)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("grid.pdf");
    TPrinter printer;
    printer.SetOutputFileName(pdf);
    printer.SetOrientation(poLandscape);
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Canvas(), nullptr);
    EXPECT_FALSE(printer.NewPage()); // no job yet

    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_FALSE(printer.BeginDoc());                     // one job at a time
    EXPECT_GT(printer.PageWidth(), printer.PageHeight()); // landscape
    printer.Canvas()->setFont(CanvasFont("FixedSys", 10, 400, true));
    const int h = printer.Canvas()->fontMetrics().height() + 4;
    const int perPage = printer.PageHeight() / h;
    EXPECT_GT(perPage, 10);
    printer.Canvas()->drawText(1, h, "String Grid Printout");
    EXPECT_TRUE(printer.NewPage());
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Canvas()->drawText(1, h, "page two");
    EXPECT_TRUE(printer.EndDoc());
    EXPECT_FALSE(printer.Printing());

    EXPECT_EQ(testsupport::PdfPageCount(pdf), 2);
    EXPECT_EQ(testsupport::PdfPageLines(pdf, 2), QStringList{"page two"});
}

TEST(Printer, CanvasFontUsesTheGivenPixelsPerInch)
{
    const QFont f = CanvasFont("FixedSys", 10, 400, true);
    EXPECT_EQ(f.pixelSize(), 56); // 10 pt at 400 pixels per inch
    EXPECT_TRUE(f.fixedPitch());
    EXPECT_EQ(CanvasFont("Tahoma", 8, 96).pixelSize(), 11);
}

TEST(Printer, PrintingToAFileReplacesItOnlyWhenTheJobEnds)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old report");
    }
    auto oldBytes = [&] {
        QFile f(pdf);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    TPrinter printer;
    printer.SetOutputFileName(pdf);

    // An aborted job leaves the old file and no temporary file behind.
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_EQ(printer.OutputFileName(), pdf);
    printer.Canvas()->drawText(10, 10, "half a report");
    EXPECT_EQ(oldBytes(), QByteArray("the old report")); // untouched while printing
    printer.Abort();
    EXPECT_EQ(oldBytes(), QByteArray("the old report"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});

    // A finished job replaces it.
    ASSERT_TRUE(printer.BeginDoc());
    printer.Canvas()->drawText(10, 10, "the new report");
    EXPECT_TRUE(printer.EndDoc());
    EXPECT_TRUE(oldBytes().startsWith("%PDF"));
    EXPECT_EQ(printer.OutputFileName(), pdf);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
}
