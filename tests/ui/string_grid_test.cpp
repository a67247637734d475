// The string grid: (column, row) addressing, sizes, the header row, fixed
// cells, selection and large fills.
#include "platform/ui/string_grid.h"

#include <QAbstractItemModel>
#include <QHeaderView>

#include <gtest/gtest.h>

using namespace ui;

TEST(StringGrid, CellsAreAddressedByColumnThenRow)
{
    TStringGrid grid;
    EXPECT_EQ(grid.ColCount(), 5); // the class library's defaults
    EXPECT_EQ(grid.RowCount(), 5);
    grid.SetColCount(7);
    grid.SetRowCount(2);
    grid.SetCell(3, 0, "Value");
    grid.SetCell(1, 1, "01/02/2024");
    // Outside the grid: empty on reading, ignored on writing.
    grid.SetCell(7, 1, "x");
    grid.SetCell(1, 2, "x");
    EXPECT_EQ(grid.Cell(7, 1), "");
    EXPECT_EQ(grid.Cell(-1, 0), "");
    EXPECT_EQ(grid.RowTexts(1), (QStringList{"", "01/02/2024", "", "", "", "", ""}));

    // Growing keeps cells and adds empty ones; shrinking drops what is cut off.
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cell(1, 1), "01/02/2024");
    EXPECT_EQ(grid.Cell(1, 3), "");
    grid.SetCell(6, 3, "far");
    grid.SetColCount(6);
    grid.SetColCount(7);
    EXPECT_EQ(grid.Cell(6, 3), "");
    grid.SetRowCount(1);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cell(1, 1), "");
    EXPECT_EQ(grid.Cell(3, 0), "Value");

    // A row keeps any text in any cell, whatever its length or characters, beside others.
    for (const qsizetype length : {qsizetype(0xFFFE), qsizetype(0xFFFF), qsizetype(70000)}) {
        const QString text(length, QChar(0xFFFF)), nul(3, QChar(0));
        grid.SetRowTexts(2, {"a", text, "", nul});
        grid.SetCell(5, 2, "b");
        EXPECT_EQ(grid.RowTexts(2), (QStringList{"a", text, "", nul, "", "b", ""})) << length;
        grid.SetCell(1, 2, "");
        EXPECT_EQ(grid.Cell(3, 2), nul);
        EXPECT_EQ(grid.Cell(5, 2), "b");
    }
}

TEST(StringGrid, RowZeroIsTheHeaderAndFixedCellsCannotBeSelected)
{
    TStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCell(0, 0, "No");
    grid.SetCell(1, 0, "Date");
    grid.SetCell(1, 1, "a");
    grid.SetCell(1, 2, "b");
    QAbstractItemModel *m = grid.model();
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "Date");
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "No");
    EXPECT_EQ(m->index(0, 1).data().toString(), "a");
    EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsSelectable); // fixed column
    EXPECT_TRUE(m->flags(m->index(0, 1)) & Qt::ItemIsSelectable);
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.horizontalHeader()->isHidden());

    // A header text written later reaches the view.
    grid.SetCell(2, 0, "Time");
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "Time");

    // Two fixed rows: row 1 becomes a grey, unselectable model row.
    grid.SetFixedRows(2);
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsSelectable);
    EXPECT_TRUE(m->flags(m->index(1, 1)) & Qt::ItemIsSelectable);
    // No fixed rows: row 0 is an ordinary row and the header is hidden.
    grid.SetFixedRows(0);
    EXPECT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->index(0, 1).data().toString(), "Date");
    EXPECT_TRUE(grid.horizontalHeader()->isHidden());
}

TEST(StringGrid, CurrentCellAndSelection)
{
    TStringGrid grid;
    grid.SetColCount(8);
    grid.SetRowCount(10);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    int signalledRow = -1;
    QObject::connect(&grid, &TStringGrid::currentCellChanged,
                     [&](int, int row) { signalledRow = row; });
    grid.SetRow(4);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(signalledRow, 4);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 4, 1, 4}));
    grid.SetRow(0);  // a fixed row is refused
    grid.SetRow(10); // beyond the grid too
    EXPECT_EQ(grid.Row(), 4);

    grid.SetOptions(goRowSelect | goRangeSelect);
    grid.SetRow(6);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 6, 7, 6}));
    grid.SetSelection(TGridRect{2, 3, 4, 5});
    EXPECT_EQ(grid.Selection().Top, 3);
    EXPECT_EQ(grid.Selection().Bottom, 5);
    EXPECT_EQ(grid.Row(), 3);
}

TEST(StringGrid, WidthsObjectsAndEditing)
{
    TStringGrid grid;
    grid.SetColCount(6);
    grid.SetColWidth(2, 160);
    grid.SetColWidth(3, 180);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(3), 180);
    EXPECT_EQ(grid.ColWidth(0), 64);
    // More columns later: the set widths stay, the new ones take the default.
    grid.SetColCount(8);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(2), 160);
    EXPECT_EQ(grid.ColWidth(7), 64);

    int value = 5;
    grid.SetObject(1, 1, &value);
    EXPECT_EQ(grid.Object(1, 1), &value);
    EXPECT_EQ(grid.Object(1, 2), nullptr);
    grid.SetRowCount(1);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Object(1, 1), nullptr); // gone with its row
    EXPECT_EQ(grid.FixedRows(), 0);        // lowered with the row count
    grid.SetFixedRows(1);

    grid.SetOptions(goEditing);
    QAbstractItemModel *m = grid.model();
    EXPECT_TRUE(m->setData(m->index(0, 1), "typed"));
    EXPECT_EQ(grid.Cell(1, 1), "typed");
    EXPECT_FALSE(m->setData(m->index(0, 0), "fixed")); // a fixed cell is not edited
}

TEST(StringGrid, LargeFillInsideAnUpdate)
{
    TStringGrid grid;
    grid.SetColCount(7);
    grid.show();
    int resets = 0;
    QObject::connect(grid.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    grid.BeginUpdate();
    grid.BeginUpdate(); // nested
    for (int r = 1; r <= 100000; ++r) {
        if (grid.RowCount() - 1 < r)
            grid.SetRowCount(grid.RowCount() + 1);
        grid.SetCell(0, r, QString::number(r));
        grid.SetCell(3, r, QStringLiteral("63.2"));
    }
    EXPECT_EQ(grid.model()->rowCount(), 4); // the view still sees the old size
    grid.EndUpdate();
    EXPECT_EQ(resets, 0);
    grid.EndUpdate();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(grid.RowCount(), 100001);
    EXPECT_EQ(grid.model()->rowCount(), 100000);
    EXPECT_EQ(grid.model()->index(99999, 0).data().toString(), "100000");
    grid.SetTopRow(50000);
    EXPECT_GT(grid.TopRow(), 1);
}
