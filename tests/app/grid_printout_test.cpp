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
#include <tuple>

namespace {

using app::GridPrintLine;
using app::TGridPrintLayout;

TEST(GridPrintLine, EachCellIsFollowedByTwoBlanksPerMissingCharacter)
{
    const QString blanks12(12, QLatin1Char(' '));
    EXPECT_EQ(GridPrintLine({QStringLiteral("abcd")}), QStringLiteral("abcd") + blanks12);
    EXPECT_EQ(GridPrintLine({"", "", QStringLiteral("abcd")}), QString(40, QLatin1Char(' ')) +
                                                                   QStringLiteral("abcd") +
                                                                   QString(26, QLatin1Char(' ')));
    // At or above the width: no blanks, and nothing cut.
    EXPECT_EQ(GridPrintLine({"", "", QStringLiteral("12345678901234567"), QStringLiteral("x")}),
              QString(40, QLatin1Char(' ')) + QStringLiteral("12345678901234567x") +
                  QString(18, QLatin1Char(' ')));
    EXPECT_EQ(GridPrintLine({}), QString());
}

TEST(GridPrintLayout, RowsArePagedAndEachPageStartsOneLineDown)
{
    const TGridPrintLayout layout{40, 25};
    for (auto [row, page, top] : {std::tuple{0, 0, 40}, {24, 0, 1000}, {25, 1, 40}, {39, 1, 600}}) {
        EXPECT_EQ(layout.PageOf(row), page) << row;
        EXPECT_EQ(layout.TopOf(row), top) << row;
    }

    // Every line ends on its page, the last one too, even when the page
    // height is a whole number of lines.
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
