// TfrmList: the list window, an MDI child of the main window that shows
// data opened from ".txt" and ".csv" files as a plain table. The main
// window fills it, saves it as text, prints it and turns it into a graph;
// no global pointer of the program holds it, and it frees itself on close.
//
// Grid1: 7 columns, 2 rows to begin with (the title row 0 and one data
// row), row height 18, range selection, resizable columns. Column 0 holds
// the line numbers; the titles "No", "Date", "Time", "Value" of columns
// 0..3 are fixed English texts, and a filler may write others over them.
#pragma once

#include <QWidget>

#include <vector>

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TStringGrid;
}

namespace views {

class TfrmList;

// What the list window tells the main window.
class TListHost {
public:
    virtual ~TListHost() = default;
    // The window became the active child.
    virtual void ListActivated(TfrmList &list) = 0;
};

class TfrmList : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 7;
    static constexpr int InitialRows = 2;
    static constexpr int RowHeight = 18;

    // Visible from creation in the class library, so the show handler runs
    // while the window is made.
    TfrmList(TListHost &host, i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);

    ui::TStringGrid *Grid1 = nullptr;
    i18n::TlxLangLinked *lxLangLinked_frmList = nullptr;

    // Widens the columns (never narrows them) to their titles and to the
    // text of rows[col] in each column, the longest one of the column: the
    // texts of a column differ little but in length.
    void FitColumns(const std::vector<int> &rows);

    // ---- published event handlers
    void FormShow();     // the four titles
    void FormActivate(); // the main window enables "Output Tabular to graph"

private:
    TListHost &FHost;
};

} // namespace views
