// The printout of a grid (a list window's or the LEQ table) as lines of
// fixed-pitch text, one line per row, the title row included.
//
// A row's line is the text of each cell in turn, each padded with blanks to
// the column it stands in, so that every cell of a column, its title
// included, starts at the same character. A column is twice its width in
// characters (10, 17 in column 2) wide, as an empty cell of it always was,
// and wider where one of its cells needs it: at least one blank follows the
// longest, so fields never run together whatever the locale's date and time
// formats make of them. The last cell of a line is not padded.
//
// The font is "FixedSys", 10 points at 400 pixels per inch (where FixedSys is
// missing the desktop's fixed-pitch face stands in), on a page of 600 dots
// per inch. The line height H is the height of the text "String Grid
// Printout" + 4; a page holds P lines, as many as fit wholly below the first
// line height, at least one; row i goes on page i div P at x = 1,
// y = (i mod P) * H + H.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

namespace ui {
class TPrinter;
class TStringGrid;
} // namespace ui

namespace app {

// The width of column col in characters.
int GridPrintWidth(int col);
// The printed columns of a grid, in characters: where each column's cells
// start is the sum of the columns before it.
std::vector<int> GridPrintColumns(const ui::TStringGrid &grid);
// The printed line of one row's cells (columns 0, 1, ...) in those columns.
QString GridPrintLine(const QStringList &cells, const std::vector<int> &columns);

// Where the rows of a printout go.
struct TGridPrintLayout {
    int LineHeight = 1;   // H
    int LinesPerPage = 1; // P, never below 1
    // The page of row i, counting from 0, and the top of its text.
    int PageOf(int row) const { return row / LinesPerPage; }
    int TopOf(int row) const { return (row % LinesPerPage) * LineHeight + LineHeight; }
};
// The layout on a page of pageHeight device pixels for a text height.
TGridPrintLayout GridPrintLayout(int pageHeight, int textHeight);

inline constexpr int kGridPrintDpi = 600;
// The printout's font at its 400 pixels per inch.
QFont GridPrintFont();

enum class TGridPrintResult {
    Printed,
    NotStarted, // the printer (or the file it prints to) could not be opened
    Failed,     // the job broke off; a file printed to is left as it was
};

// Prints every row of the grid as one job on the printer.
TGridPrintResult PrintGrid(ui::TPrinter &printer, const ui::TStringGrid &grid);

} // namespace app
