#include "views/grid_points.h"

#include "platform/rtl/numbers.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/string_grid.h"

namespace views {

bool GridRowDateTime(const ui::TStringGrid &grid, int row, rtl::TDateTime &out, QString *text)
{
    const QString joined = grid.Cell(1, row) + QLatin1Char(' ') + grid.Cell(2, row);
    if (text)
        *text = joined;
    return rtl::TryStrToDateTime(ui::QStringToAnsi(joined), out);
}

bool GridCellLevel(const ui::TStringGrid &grid, int col, int row, float &out)
{
    double v = 0;
    if (!rtl::TryStrToFloat(ui::QStringToAnsi(grid.Cell(col, row)), v))
        return false;
    out = static_cast<float>(v);
    return true;
}

QString InvalidDateTimeText(const QString &text)
{
    return QStringLiteral("'%1' is not a valid date and time").arg(text);
}

} // namespace views
