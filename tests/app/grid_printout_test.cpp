// The grid printout: the padded lines, the paging, and what reaches a PDF
// file (read back with poppler's tools).
#include "app/grid_printout.h"

#include "platform/ui/printer.h"
#include "platform/ui/string_grid.h"
#include "tests/support/pdf_reader.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using app::GridPrintColumns;
using app::GridPrintLine;
using app::TGridPrintLayout;

TEST(GridPrintLine, CellsStartInTheirColumnsAndNeverRunTogether)
{
    ui::TStringGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(2);
    grid.SetRowTexts(0, {"No", "Date", "Time", "Value"});
    grid.SetRowTexts(1, {"1", "", QStringLiteral("abcd"), "63.1"});
    // Twice the width: 20 characters, 34 in column 2.
    std::vector<int> columns = app::GridPrintColumns(grid);
    EXPECT_EQ(columns, (std::vector<int>{20, 20, 34, 20}));
    EXPECT_EQ(GridPrintLine(grid.RowTexts(1), columns),
              "1" + QString(19 + 20, ' ') + "abcd" + QString(30, ' ') + "63.1");
    EXPECT_EQ(GridPrintLine({}, columns), QString());

    // A cell as long as its column or longer widens the column to one
    // blank past it, on every line.
    const QString longCell = QString(34, 'x');
    grid.SetRowTexts(1, {"1", "12/10/2026", longCell, "63.1"});
    columns = app::GridPrintColumns(grid);
    EXPECT_EQ(columns, (std::vector<int>{20, 20, 35, 20}));
    const QString header = GridPrintLine(grid.RowTexts(0), columns);
    const QString row = GridPrintLine(grid.RowTexts(1), columns);
    EXPECT_EQ(row.indexOf("63.1"), header.indexOf("Value"));
    EXPECT_EQ(row.indexOf(longCell + " 63.1"), header.indexOf("Time"));
    // Cells beyond the grid's columns still get their blank.
    EXPECT_EQ(GridPrintLine({"a", "b", "c", "d", "e"}, {1, 1, 1, 1}), "a b c d e");
}

TEST(GridPrintLayout, EveryLineEndsOnItsPageAndAPageTakesOneLineAtLeast)
{
    // The last line too, even when the page height is a whole number of
    // lines (the paging itself: the printout tests below).
    for (int pageHeight : {1000, 1001, 1039, 1040}) {
        const TGridPrintLayout l = app::GridPrintLayout(pageHeight, 36);
        EXPECT_EQ(l.LineHeight, 40);
        EXPECT_LE(l.TopOf(l.LinesPerPage - 1) + 36, pageHeight) << pageHeight;
        EXPECT_GT(l.TopOf(l.LinesPerPage - 1) + 40 + 36, pageHeight) << pageHeight;
    }
    // A page lower than a line (or none at all) still takes one line.
    for (int pageHeight : {30, 0, -5})
        EXPECT_EQ(app::GridPrintLayout(pageHeight, 36).LinesPerPage, 1) << pageHeight;
}

class GridPrintoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::PdfToolsInstalled()) << "poppler-utils is missing";
        ASSERT_TRUE(dir_.isValid());
        pdf_ = dir_.filePath(QStringLiteral("grid.pdf"));
        printer().SetPageSize(QPageSize(QPageSize::A4));
        printer().SetOrientation(ui::poPortrait);
        printer().SetOutputFileName(pdf_);
        grid_.SetColCount(4);
    }
    void TearDown() override { printer().SetOutputFileName(QString()); }

    static ui::TPrinter &printer() { return ui::Printer(); }
    // Rows 0..n-1, the cells of row i "i", "a<i>", "b<i>", "c<i>".
    void Fill(int rows)
    {
        grid_.SetRowCount(rows);
        for (int i = 0; i < rows; ++i)
            grid_.SetRowTexts(i, {QString::number(i), QStringLiteral("a%1").arg(i),
                                  QStringLiteral("b%1").arg(i), QStringLiteral("c%1").arg(i)});
    }
    static QString Line(int i) { return QStringLiteral("%1 a%1 b%1 c%1").arg(i); }

    QTemporaryDir dir_;
    QString pdf_;
    ui::TStringGrid grid_;
};

TEST_F(GridPrintoutTest, EveryRowReachesItsPageInOrder)
{
    Fill(250);
    const int resolution = printer().Resolution();
    ASSERT_EQ(app::PrintGrid(printer(), grid_), app::TGridPrintResult::Printed);
    EXPECT_EQ(printer().Resolution(), resolution) << "the printer's own resolution is back";

    const int pages = testsupport::PdfPageCount(pdf_);
    ASSERT_GE(pages, 2);
    const int perPage = static_cast<int>(testsupport::PdfPageLines(pdf_, 1).size());
    ASSERT_GT(perPage, 20);
    EXPECT_EQ(pages, (250 + perPage - 1) / perPage);
    int row = 0;
    for (int page = 1; page <= pages; ++page) {
        for (const QString &line : testsupport::PdfPageLines(pdf_, page)) {
            EXPECT_EQ(line, Line(row)) << "page " << page;
            ++row;
        }
        if (page < pages) {
            EXPECT_EQ(row, page * perPage);
        }
    }
    EXPECT_EQ(row, 250);

    // Row 0 of each page one line height below the top of the printable
    // area, the next rows a line height apart.
    const double top = printer().QtPrinter().pageLayout().paintRect(QPageLayout::Point).top();
    const auto topOf = [&](int page, int row) {
        for (const testsupport::TPdfWord &w : testsupport::PdfPageWords(pdf_, page))
            if (w.Text == QStringLiteral("a%1").arg(row))
                return w.Top;
        return -1.0;
    };
    const double lineHeight = (topOf(1, 20) - topOf(1, 0)) / 20;
    EXPECT_GT(lineHeight, 5.0);
    for (int page = 1; page <= 2; ++page) {
        const int first = (page - 1) * perPage;
        EXPECT_NEAR(topOf(page, first) - top, lineHeight, 1.0) << "page " << page;
        EXPECT_NEAR(topOf(page, first + 1) - topOf(page, first), lineHeight, 0.01)
            << "page " << page;
    }
}

TEST_F(GridPrintoutTest, TenCharacterDatesKeepTheirBlankAndTheTitlesStandOverTheirColumns)
{
    grid_.SetColCount(4);
    grid_.SetRowCount(4);
    grid_.SetRowTexts(0, {"No", "Date", "Time", "Value"});
    grid_.SetRowTexts(1, {"1", "12/10/2026", "2:55:57 PM", "63.1"});
    grid_.SetRowTexts(2, {"2", "12/10/2026", "12:55:58 PM", "104.0"});
    grid_.SetRowTexts(3, {"100", "2026-12-10", "14:55:59.123456789", "7.5"});
    ASSERT_EQ(app::PrintGrid(printer(), grid_), app::TGridPrintResult::Printed);

    const QStringList lines = testsupport::PdfPageLines(pdf_, 1);
    ASSERT_EQ(lines.size(), 4);
    for (int row = 0; row < 4; ++row) {
        QStringList fields = grid_.RowTexts(row);
        // "2:55:57 PM" holds a blank of its own.
        QStringList expected;
        for (const QString &f : fields)
            expected << f.split(' ');
        EXPECT_EQ(lines[row].split(' '), expected) << row;
    }

    // Each title starts where the cells of its column start.
    const std::vector<testsupport::TPdfWord> words = testsupport::PdfPageWords(pdf_, 1);
    const auto leftOf = [&](const QString &text) {
        for (const testsupport::TPdfWord &w : words)
            if (w.Text == text)
                return w.Left;
        return -1.0;
    };
    for (auto [title, cells] :
         {std::pair{"Date", QStringList{"12/10/2026", "2026-12-10"}},
          std::pair{"Time", QStringList{"2:55:57", "12:55:58", "14:55:59.123456789"}},
          std::pair{"Value", QStringList{"63.1", "104.0", "7.5"}}}) {
        ASSERT_GT(leftOf(title), 0) << title;
        for (const QString &cell : cells)
            EXPECT_NEAR(leftOf(cell), leftOf(title), 0.5) << title << " " << cell.toStdString();
    }
}

TEST_F(GridPrintoutTest, APageLowerThanALinePrintsOneLineAPage)
{
    printer().SetPageSize(QPageSize(QSizeF(60, 4), QPageSize::Millimeter));
    Fill(5);
    ASSERT_EQ(app::PrintGrid(printer(), grid_), app::TGridPrintResult::Printed);
    EXPECT_EQ(testsupport::PdfPageCount(pdf_), 5);
}

TEST_F(GridPrintoutTest, AFileThatCannotBeMadeIsReportedAndLeavesNothing)
{
    const QString missing = dir_.filePath(QStringLiteral("no/such/folder/grid.pdf"));
    printer().SetOutputFileName(missing);
    Fill(3);
    EXPECT_EQ(app::PrintGrid(printer(), grid_), app::TGridPrintResult::NotStarted);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(printer().Printing());
}

} // namespace
