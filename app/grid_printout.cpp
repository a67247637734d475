#include "app/grid_printout.h"

#include "platform/ui/printer.h"
#include "platform/ui/string_grid.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace app {

int GridPrintWidth(int col)
{
    return col == 2 ? 17 : 10;
}

std::vector<int> GridPrintColumns(const ui::TStringGrid &grid)
{
    std::vector<int> columns(static_cast<size_t>(std::max(0, grid.ColCount())));
    for (size_t col = 0; col < columns.size(); ++col)
        columns[col] = 2 * GridPrintWidth(static_cast<int>(col));
    for (int row = 0; row < grid.RowCount(); ++row) {
        const QStringList cells = grid.RowTexts(row);
        for (qsizetype col = 0; col < cells.size() && col < qsizetype(columns.size()); ++col) {
            int &width = columns[static_cast<size_t>(col)];
            width = std::max(width, static_cast<int>(cells[col].size()) + 1);
        }
    }
    return columns;
}

QString GridPrintLine(const QStringList &cells, const std::vector<int> &columns)
{
    QString line;
    for (qsizetype col = 0; col < cells.size(); ++col) {
        const QString &cell = cells[col];
        line += cell;
        if (col + 1 == cells.size())
            break;
        const int width = col < qsizetype(columns.size())
                              ? columns[static_cast<size_t>(col)]
                              : 2 * GridPrintWidth(static_cast<int>(col));
        line += QString(std::max<qsizetype>(1, width - cell.size()), QLatin1Char(' '));
    }
    return line;
}

TGridPrintLayout GridPrintLayout(int pageHeight, int textHeight)
{
    TGridPrintLayout layout;
    layout.LineHeight = std::max(1, textHeight + 4);
    // The first line starts one line height down, and the last one must end
    // on the page: a tiny page or a huge font still prints one line a page.
    layout.LinesPerPage = std::max(1, (pageHeight - textHeight) / layout.LineHeight);
    return layout;
}

QFont GridPrintFont()
{
    return ui::CanvasFont(QStringLiteral("FixedSys"), 10, 400, true);
}

TGridPrintResult PrintGrid(ui::TPrinter &printer, const ui::TStringGrid &grid)
{
    const int previousDpi = printer.Resolution();
    printer.SetResolution(kGridPrintDpi);
    struct Restore {
        ui::TPrinter &printer;
        int dpi;
        ~Restore() { printer.SetResolution(dpi); }
    } restore{printer, previousDpi};

    if (!printer.BeginDoc())
        return TGridPrintResult::NotStarted;
    QPainter &canvas = *printer.Canvas();
    canvas.setFont(GridPrintFont());
    const QFontMetrics metrics = canvas.fontMetrics();
    // The height of a line of text in this font, as "String Grid Printout"
    // measures (the font's ascent and descent, whatever the characters).
    const int textHeight =
        metrics.size(Qt::TextSingleLine, QStringLiteral("String Grid Printout")).height();
    const TGridPrintLayout layout = GridPrintLayout(printer.PageHeight(), textHeight);
    const std::vector<int> columns = GridPrintColumns(grid);
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (row % layout.LinesPerPage == 0 && row != 0 && !printer.NewPage()) {
            printer.Abort();
            return TGridPrintResult::Failed;
        }
        // The text's top at y, as the class library's TextOut places it.
        canvas.drawText(QPoint(1, layout.TopOf(row) + metrics.ascent()),
                        GridPrintLine(grid.RowTexts(row), columns));
    }
    return printer.EndDoc() ? TGridPrintResult::Printed : TGridPrintResult::Failed;
}

} // namespace app
