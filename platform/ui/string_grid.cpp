#include "platform/ui/string_grid.h"

#include "platform/ui/app_application.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPalette>

#include <algorithm>
#include <climits>
#include <unordered_map>

namespace ui {

namespace {

// The cells of one row in one string, so that a row of short texts costs a
// single allocation (a list of 100,000 lines stays small): each cell is its
// length in one unit (or 0xFFFF and two more units for a longer text),
// then its text. Cells after the last one written are empty.
class TGridRow {
public:
    QString Cell(int col) const
    {
        qsizetype at = 0, len = 0;
        return Find(col, at, len) ? FData.mid(at, len) : QString();
    }
    void SetCell(int col, const QString &text)
    {
        QStringList cells = Texts(std::max(col + 1, Count()));
        cells[col] = text;
        SetTexts(cells);
    }
    // The first count cells.
    QStringList Texts(int count) const
    {
        QStringList cells;
        cells.reserve(count);
        qsizetype at = 0;
        for (int c = 0; c < count; ++c) {
            qsizetype len = 0;
            if (at < FData.size())
                at = ReadLength(at, len);
            cells << FData.mid(at, len);
            at += len;
        }
        return cells;
    }
    void SetTexts(const QStringList &cells)
    {
        int count = int(cells.size());
        while (count > 0 && cells[count - 1].isEmpty())
            --count;
        qsizetype size = 0;
        for (int c = 0; c < count; ++c)
            size += cells[c].size() + (cells[c].size() < 0xFFFF ? 1 : 3);
        QString data;
        data.reserve(size);
        for (int c = 0; c < count; ++c) {
            const qsizetype len = cells[c].size();
            if (len < 0xFFFF) {
                data += QChar(char16_t(len));
            } else {
                data += QChar(char16_t(0xFFFF));
                data += QChar(char16_t(len >> 16));
                data += QChar(char16_t(len & 0xFFFF));
            }
            data += cells[c];
        }
        FData = std::move(data);
    }
    // Cells from col on are gone.
    void Truncate(int col)
    {
        if (col < Count())
            SetTexts(Texts(col));
    }

private:
    // Cells held.
    int Count() const
    {
        int count = 0;
        for (qsizetype at = 0, len = 0; at < FData.size(); at += len, ++count)
            at = ReadLength(at, len);
        return count;
    }
    // Reads the length at 'at'; returns where the text starts.
    qsizetype ReadLength(qsizetype at, qsizetype &len) const
    {
        len = FData[at].unicode();
        if (len != 0xFFFF)
            return at + 1;
        len = (qsizetype(FData[at + 1].unicode()) << 16) | FData[at + 2].unicode();
        return at + 3;
    }
    bool Find(int col, qsizetype &at, qsizetype &len) const
    {
        at = 0;
        for (int c = 0; at < FData.size(); ++c) {
            at = ReadLength(at, len);
            if (c == col)
                return true;
            at += len;
        }
        return false;
    }

    QString FData;
};

} // namespace

// The cells, row by row. Rows[r].Cell(c) is Cells[c][r]; model row m shows
// grid row m + HeaderRows (row 0 is the view's header when there are fixed
// rows).
class TStringGridModel : public QAbstractTableModel {
public:
    std::vector<TGridRow> Rows;
    int Cols = 0;
    std::unordered_map<quint64, void *> Objects;
    int HeaderRows = 1;
    int FixedRows = 1;
    int FixedCols = 1;
    bool Editable = false;
    int UpdateDepth = 0;
    // The sizes the view has been told of.
    int ShownRows = 0;
    int ShownCols = 0;

    static quint64 Key(int col, int row)
    {
        return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(col);
    }
    bool Inside(int col, int row) const
    {
        return col >= 0 && row >= 0 && col < Cols && row < static_cast<int>(Rows.size());
    }
    bool IsFixed(int col, int row) const { return row < FixedRows || col < FixedCols; }
    int RowsToShow() const { return std::max(0, static_cast<int>(Rows.size()) - HeaderRows); }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : ShownRows;
    }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : ShownCols;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const int col = index.column();
        const int row = index.row() + HeaderRows;
        if (!Inside(col, row))
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Rows[static_cast<size_t>(row)].Cell(col);
        case Qt::BackgroundRole:
            if (IsFixed(col, row))
                return QApplication::palette().brush(QPalette::Button);
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || HeaderRows == 0 || !Inside(section, 0))
            return {};
        if (role == Qt::DisplayRole)
            return Rows[0].Cell(section);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const int col = index.column();
        const int row = index.row() + HeaderRows;
        if (!Inside(col, row))
            return Qt::NoItemFlags;
        if (IsFixed(col, row))
            return Qt::ItemIsEnabled;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (Editable)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole)
            return false;
        const int col = index.column();
        const int row = index.row() + HeaderRows;
        if (!Inside(col, row) || IsFixed(col, row))
            return false;
        Rows[static_cast<size_t>(row)].SetCell(col, value.toString());
        emit dataChanged(index, index);
        return true;
    }

    // Tells the view of everything at once.
    void Reset()
    {
        beginResetModel();
        ShownRows = RowsToShow();
        ShownCols = Cols;
        endResetModel();
    }

    void SetCell(int col, int row, const QString &text)
    {
        if (!Inside(col, row))
            return;
        Rows[static_cast<size_t>(row)].SetCell(col, text);
        Changed(col, col, row);
    }

    // Columns 0 .. texts.size() - 1 of a row; the others are emptied.
    void SetRow(int row, const QStringList &texts)
    {
        if (row < 0 || row >= static_cast<int>(Rows.size()))
            return;
        Rows[static_cast<size_t>(row)].SetTexts(texts.mid(0, Cols));
        Changed(0, Cols - 1, row);
    }

    // Tells the view of changed cells of a row.
    void Changed(int first, int last, int row)
    {
        if (UpdateDepth > 0)
            return;
        if (row < HeaderRows)
            emit headerDataChanged(Qt::Horizontal, first, last);
        else
            emit dataChanged(index(row - HeaderRows, first), index(row - HeaderRows, last));
    }

    void SetRowCount(int count)
    {
        const int old = static_cast<int>(Rows.size());
        if (count == old)
            return;
        if (count < old) {
            for (auto it = Objects.begin(); it != Objects.end();) {
                if (static_cast<int>(it->first >> 32) >= count)
                    it = Objects.erase(it);
                else
                    ++it;
            }
        }
        if (UpdateDepth > 0) {
            Rows.resize(static_cast<size_t>(count));
            return;
        }
        const int oldShown = ShownRows;
        const int newShown = std::max(0, count - HeaderRows);
        if (newShown > oldShown) {
            beginInsertRows(QModelIndex(), oldShown, newShown - 1);
            Rows.resize(static_cast<size_t>(count));
            ShownRows = newShown;
            endInsertRows();
        } else if (newShown < oldShown) {
            beginRemoveRows(QModelIndex(), newShown, oldShown - 1);
            Rows.resize(static_cast<size_t>(count));
            ShownRows = newShown;
            endRemoveRows();
        } else {
            Rows.resize(static_cast<size_t>(count));
            if (HeaderRows > 0 && ShownCols > 0)
                emit headerDataChanged(Qt::Horizontal, 0, ShownCols - 1);
        }
    }

    void SetColCount(int count)
    {
        if (count == Cols)
            return;
        for (auto it = Objects.begin(); it != Objects.end();) {
            if (static_cast<int>(it->first & 0xFFFFFFFFu) >= count)
                it = Objects.erase(it);
            else
                ++it;
        }
        if (UpdateDepth == 0)
            beginResetModel();
        for (auto &row : Rows)
            row.Truncate(count);
        Cols = count;
        if (UpdateDepth == 0) {
            ShownRows = RowsToShow();
            ShownCols = Cols;
            endResetModel();
        }
    }
};

TStringGrid::TStringGrid(QWidget *parent)
    : QTableView(parent), FModel(std::make_unique<TStringGridModel>())
{
    FModel->SetColCount(5);
    FModel->SetRowCount(5);
    FModel->Reset();
    setModel(FModel.get());
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) {
                if (!FApplyingSizes && section >= 0 &&
                    section < static_cast<int>(FColWidths.size()))
                    FColWidths[static_cast<size_t>(section)] = newSize;
            });
    // The grid's own signals run the owner's handlers, mostly from inside
    // Qt's mouse and key handling: their errors are shown here.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            GuardedSlot([this](const QModelIndex &current) { OnCurrentChanged(current); }));
    connect(this, &QTableView::clicked, this, GuardedSlot([this](const QModelIndex &index) {
                emit cellClicked(index.column(), index.row() + HeaderRows());
            }));
    ApplyOptions();
    ApplySizes();
}

TStringGrid::~TStringGrid() = default;

QModelIndex TStringGrid::IndexOf(int col, int row) const
{
    return FModel->index(row - HeaderRows(), col);
}

void TStringGrid::ApplySizes()
{
    FApplyingSizes = true;
    FColWidths.resize(static_cast<size_t>(FModel->Cols), FDefaultColWidth);
    horizontalHeader()->setDefaultSectionSize(FDefaultColWidth);
    for (int c = 0; c < FModel->ShownCols && c < static_cast<int>(FColWidths.size()); ++c)
        horizontalHeader()->resizeSection(c, FColWidths[static_cast<size_t>(c)]);
    verticalHeader()->setDefaultSectionSize(FDefaultRowHeight);
    horizontalHeader()->setVisible(FFixedRows > 0);
    if (FFixedRows > 0)
        horizontalHeader()->setFixedHeight(FDefaultRowHeight);
    FApplyingSizes = false;
}

void TStringGrid::ApplyOptions()
{
    setSelectionBehavior((FOptions & goRowSelect) ? QAbstractItemView::SelectRows
                                                  : QAbstractItemView::SelectItems);
    setSelectionMode((FOptions & goRangeSelect) ? QAbstractItemView::ContiguousSelection
                                                : QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionResizeMode((FOptions & goColSizing) ? QHeaderView::Interactive
                                                                      : QHeaderView::Fixed);
    FModel->Editable = (FOptions & goEditing) != 0;
    setEditTriggers(FModel->Editable
                        ? (QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed)
                        : QAbstractItemView::NoEditTriggers);
}

void TStringGrid::OnCurrentChanged(const QModelIndex &current)
{
    if (!current.isValid())
        return;
    const int col = current.column();
    const int row = current.row() + HeaderRows();
    if (col == FCol && row == FRow)
        return;
    FCol = col;
    FRow = row;
    emit currentCellChanged(col, row);
}

int TStringGrid::ColCount() const
{
    return FModel->Cols;
}

void TStringGrid::SetColCount(int count)
{
    count = std::max(count, 1);
    FModel->SetColCount(count);
    if (FFixedCols >= count)
        FFixedCols = count - 1;
    FModel->FixedCols = FFixedCols;
    if (!Updating())
        ApplySizes();
    FCol = std::clamp(FCol, FFixedCols, count - 1);
    if (!Updating())
        SetCol(FCol);
}

int TStringGrid::RowCount() const
{
    return static_cast<int>(FModel->Rows.size());
}

void TStringGrid::SetRowCount(int count)
{
    count = std::max(count, 1);
    FModel->SetRowCount(count);
    if (FFixedRows >= count)
        SetFixedRows(count - 1);
    if (FRow >= count)
        FRow = count - 1;
}

void TStringGrid::SetFixedCols(int count)
{
    count = std::clamp(count, 0, ColCount() - 1);
    if (count == FFixedCols)
        return;
    FFixedCols = count;
    FModel->FixedCols = count;
    if (!Updating())
        FModel->Reset();
    FCol = std::max(FCol, count);
    if (!Updating()) {
        ApplySizes();
        SetCol(FCol);
    }
}

void TStringGrid::SetFixedRows(int count)
{
    count = std::clamp(count, 0, RowCount() - 1);
    if (count == FFixedRows)
        return;
    FFixedRows = count;
    FModel->FixedRows = count;
    FModel->HeaderRows = HeaderRows();
    if (!Updating())
        FModel->Reset();
    FRow = std::max(FRow, count);
    if (!Updating()) {
        ApplySizes();
        SetRow(FRow);
    }
}

QString TStringGrid::Cell(int col, int row) const
{
    if (!FModel->Inside(col, row))
        return QString();
    return FModel->Rows[static_cast<size_t>(row)].Cell(col);
}

void TStringGrid::SetCell(int col, int row, const QString &text)
{
    FModel->SetCell(col, row, text);
}

QStringList TStringGrid::RowTexts(int row) const
{
    if (row < 0 || row >= RowCount())
        return QStringList();
    return FModel->Rows[static_cast<size_t>(row)].Texts(ColCount());
}

void TStringGrid::SetRowTexts(int row, const QStringList &texts)
{
    FModel->SetRow(row, texts);
}

void *TStringGrid::Object(int col, int row) const
{
    const auto it = FModel->Objects.find(TStringGridModel::Key(col, row));
    return it == FModel->Objects.end() ? nullptr : it->second;
}

void TStringGrid::SetObject(int col, int row, void *object)
{
    if (!FModel->Inside(col, row))
        return;
    if (object)
        FModel->Objects[TStringGridModel::Key(col, row)] = object;
    else
        FModel->Objects.erase(TStringGridModel::Key(col, row));
}

int TStringGrid::ColWidth(int col) const
{
    if (col < 0 || col >= static_cast<int>(FColWidths.size()))
        return FDefaultColWidth;
    return FColWidths[static_cast<size_t>(col)];
}

void TStringGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= ColCount())
        return;
    FColWidths.resize(static_cast<size_t>(ColCount()), FDefaultColWidth);
    FColWidths[static_cast<size_t>(col)] = std::max(width, 0);
    if (!Updating())
        ApplySizes();
}

void TStringGrid::SetDefaultColWidth(int width)
{
    // The class library gives every column the new default width.
    FDefaultColWidth = std::max(width, 0);
    FColWidths.assign(static_cast<size_t>(ColCount()), FDefaultColWidth);
    ApplySizes();
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    FDefaultRowHeight = std::max(height, 1);
    ApplySizes();
}

void TStringGrid::SetOptions(TGridOptions options)
{
    FOptions = options;
    ApplyOptions();
}

void TStringGrid::SetCol(int col)
{
    if (col < FFixedCols || col >= ColCount())
        return;
    MoveTo(col, FRow);
}

void TStringGrid::SetRow(int row)
{
    if (row < FFixedRows || row >= RowCount())
        return;
    MoveTo(FCol, row);
}

void TStringGrid::MoveTo(int col, int row)
{
    const QModelIndex i = IndexOf(col, row);
    if (Updating() || !i.isValid()) {
        FCol = col;
        FRow = row;
        return;
    }
    // The view's current-cell change brings FCol and FRow along.
    const auto rows =
        (FOptions & goRowSelect) ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate;
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | rows);
    FCol = col;
    FRow = row;
}

TGridRect TStringGrid::Selection() const
{
    TGridRect r{FCol, FRow, FCol, FRow};
    if (FOptions & goRowSelect) {
        r.Left = FFixedCols;
        r.Right = ColCount() - 1;
    }
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return r;
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (const QModelIndex &i : selected) {
        left = std::min(left, i.column());
        right = std::max(right, i.column());
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
    }
    return TGridRect{left, top + HeaderRows(), right, bottom + HeaderRows()};
}

void TStringGrid::SetSelection(const TGridRect &rect)
{
    const QModelIndex topLeft =
        IndexOf(std::max(rect.Left, FFixedCols), std::max(rect.Top, FFixedRows));
    const QModelIndex bottomRight =
        IndexOf(std::min(rect.Right, ColCount() - 1), std::min(rect.Bottom, RowCount() - 1));
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, bottomRight),
                             QItemSelectionModel::ClearAndSelect);
    FCol = topLeft.column();
    FRow = topLeft.row() + HeaderRows();
}

int TStringGrid::TopRow() const
{
    const int m = rowAt(0);
    return (m < 0 ? 0 : m) + HeaderRows();
}

void TStringGrid::SetTopRow(int row)
{
    const QModelIndex i = IndexOf(FCol, row);
    if (i.isValid())
        scrollTo(i, QAbstractItemView::PositionAtTop);
}

void TStringGrid::BeginUpdate()
{
    ++FModel->UpdateDepth;
}

void TStringGrid::EndUpdate()
{
    if (FModel->UpdateDepth == 0 || --FModel->UpdateDepth > 0)
        return;
    FModel->Reset();
    ApplySizes();
    FCol = std::clamp(FCol, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    FRow = std::clamp(FRow, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    SetRow(FRow);
}

bool TStringGrid::Updating() const
{
    return FModel->UpdateDepth > 0;
}

} // namespace ui
