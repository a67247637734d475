// A grid's rows read back as the points of a curve: the date cell, a blank
// and the time cell as one date-time in the user's formats, and a cell as a
// level in dB. The LEQ table and the list windows are read so.
#pragma once

#include "platform/rtl/datetime.h"

#include <QString>

namespace ui {
class TStringGrid;
}

namespace views {

// Cells (1, row) and (2, row) as one date-time; text: what was read.
bool GridRowDateTime(const ui::TStringGrid &grid, int row, rtl::TDateTime &out,
                     QString *text = nullptr);
// Cell (col, row) as a level.
bool GridCellLevel(const ui::TStringGrid &grid, int col, int row, float &out);
// The class library's message of a date-time that did not convert.
QString InvalidDateTimeText(const QString &text);

} // namespace views
