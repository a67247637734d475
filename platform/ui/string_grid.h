// A string grid addressed as the class library's: Cell(col, row), ColCount,
// RowCount, FixedCols and FixedRows, column widths, the current cell and the
// selection, and an optional object pointer per cell.
//
// It is a QTableView over a model of its own. With FixedRows >= 1, row 0 is
// shown as the column header (so it stays in view while the rows scroll);
// further fixed rows and the fixed columns are shown as grey cells that
// cannot be selected. Cells hold text only; row 0 counts as a row
// everywhere in the interface, as the class library counts it.
//
// Large fills (100,000 rows and more) go between BeginUpdate and EndUpdate:
// the view is told once at the end.
#pragma once

#include <QTableView>

#include <memory>
#include <vector>

namespace ui {

struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect &) const = default;
};

enum TGridOption : unsigned {
    goRangeSelect = 1u << 0, // a range of cells can be selected
    goRowSelect = 1u << 1,   // whole rows are selected
    goColSizing = 1u << 2,   // the user can resize columns
    goEditing = 1u << 3,     // the user can edit cells
};
using TGridOptions = unsigned;

class TStringGridModel;

class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget *parent = nullptr);
    ~TStringGrid() override;

    // Sizes. New cells are empty; cells cut off by a smaller size are gone.
    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int count);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int count);

    // Cells[col][row]. Reading outside the grid gives an empty text; writing
    // outside it is ignored.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);
    // The texts of one row, columns 0 .. ColCount - 1.
    QStringList RowTexts(int row) const;
    void SetRowTexts(int row, const QStringList &texts);
    // Objects[col][row]: a pointer kept with the cell, not owned.
    void *Object(int col, int row) const;
    void SetObject(int col, int row, void *object);

    // Sizes in pixels.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int height);

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions options);

    // The current cell (FixedCols, FixedRows at first) and the selection; a
    // cell outside the grid or in a fixed row or column is refused.
    int Col() const { return FCol; }
    int Row() const { return FRow; }
    void SetCol(int col);
    void SetRow(int row);
    TGridRect Selection() const;
    void SetSelection(const TGridRect &rect);
    // The first row shown below the header; scrolls the grid.
    int TopRow() const;
    void SetTopRow(int row);

    // Fills without telling the view after every change; nest freely.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const;

signals:
    // Their handlers run guarded: an error is shown and goes no further
    // (not even to a caller of SetRow/SetCol).
    // A cell was clicked with the mouse (grid coordinates).
    void cellClicked(int col, int row);
    // The current cell changed by mouse, keyboard or SetRow/SetCol.
    void currentCellChanged(int col, int row);

private:
    void ApplyOptions();
    void ApplySizes();
    void OnCurrentChanged(const QModelIndex &current);
    void MoveTo(int col, int row);
    int HeaderRows() const { return FFixedRows > 0 ? 1 : 0; }
    QModelIndex IndexOf(int col, int row) const;

    std::unique_ptr<TStringGridModel> FModel;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FCol = 1;
    int FRow = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    TGridOptions FOptions = 0;
    std::vector<int> FColWidths;
    bool FApplyingSizes = false;
};

} // namespace ui
