#include "platform/chartlib/chart_object.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace chartlib {

namespace {

bool ValidId(std::int32_t id)
{
    return id >= kMinPropertyId && id <= kMaxPropertyId;
}

// Element kind of the view a data id gives on the data store.
ElemKind DataViewKind(std::int32_t id)
{
    return (id == prop::XDataII || id == prop::YDataII) ? ElemKind::Double : ElemKind::Single;
}

template <class T> void GrowTo(std::vector<T> &v, std::size_t n)
{
    if (v.size() < n)
        v.resize(n);
}

// Column extent of a grid: the longest row.
template <class Rows> std::size_t ColumnExtent(const Rows &rows)
{
    std::size_t n = 0;
    for (const auto &r : rows)
        n = std::max(n, r.size());
    return n;
}

// Writes one cell, or a whole dimension when an index is -1, of a row-allocated grid.
// rowLimit/colLimit are the dimensions a -1 covers; cells at or beyond them are not written.
template <class T>
void WriteCells(std::vector<std::vector<T>> &rows, std::int32_t i, std::int32_t j,
                std::size_t rowLimit, std::size_t colLimit, const T &v)
{
    std::size_t r0 = i < 0 ? 0 : std::size_t(i), r1 = i < 0 ? rowLimit : std::size_t(i) + 1;
    std::size_t c0 = j < 0 ? 0 : std::size_t(j), c1 = j < 0 ? colLimit : std::size_t(j) + 1;
    if (r0 >= r1 || c0 >= c1)
        return;
    GrowTo(rows, r1);
    for (std::size_t r = r0; r < r1; ++r) {
        GrowTo(rows[r], c1);
        std::fill(rows[r].begin() + std::ptrdiff_t(c0), rows[r].begin() + std::ptrdiff_t(c1), v);
    }
}

template <class T>
const T *Cell(const std::vector<std::vector<T>> &rows, std::int32_t i, std::int32_t j)
{
    if (i < 0 || j < 0 || std::size_t(i) >= rows.size() || std::size_t(j) >= rows[i].size())
        return nullptr;
    return &rows[i][j];
}

// Every text cell of an array counts as its text plus this many units (what the cell itself
// costs), so that a grid of empty texts is bounded too.
constexpr std::size_t kCellUnits = sizeof(std::u16string) / sizeof(char16_t);

// What writing text of len units into rows [r0, r1) x columns [c0, c1) of a text grid adds and
// removes, in units (cells made by growing the rows included).
void TextWriteCost(const std::vector<std::vector<std::u16string>> &rows, std::size_t r0,
                   std::size_t r1, std::size_t c0, std::size_t c1, std::size_t len,
                   std::size_t &added, std::size_t &removed)
{
    added = removed = 0;
    if (r0 >= r1 || c0 >= c1)
        return;
    for (std::size_t r = r0; r < r1; ++r) {
        const std::size_t have = r < rows.size() ? rows[r].size() : 0;
        for (std::size_t c = c0; c < std::min(c1, have); ++c)
            removed += rows[r][c].size();
        added += (std::max(have, c1) - have) * kCellUnits + (c1 - c0) * len;
    }
}

template <class T> void Truncate(std::vector<std::vector<T>> &rows, std::size_t nr, std::size_t nc)
{
    if (rows.size() > nr)
        rows.resize(nr);
    for (auto &r : rows)
        if (r.size() > nc) {
            r.resize(nc);
            r.shrink_to_fit();
        }
}

} // namespace

bool IsTransientProperty(std::int32_t id)
{
    switch (id) {
    case prop::CacheBitmap:
    case prop::CacheDC:
    case prop::HotSpotData:
    case prop::PlotRect:
    case prop::MousePoint:
    case prop::CustomMenuIndex:
    case prop::CustomSubmenuIndex:
    case prop::ImageDirty:
    case prop::NotifyWindow:
    case prop::Painting:
    case prop::DialogResult:
    case prop::GraphHotSpotData:
    case prop::CustomGridNumberData:
    case prop::ZoomWindowShowing:
        return true;
    default:
        return false;
    }
}

int DataAxisOf(std::int32_t id)
{
    switch (id) {
    case prop::XData:
    case prop::XDataII:
        return 0;
    case prop::YData:
    case prop::YDataII:
        return 1;
    case prop::ZData:
        return 2;
    default:
        return -1;
    }
}

bool IsDataShaped(std::int32_t id)
{
    return id == prop::PointTypes || id == prop::PointColors || id == prop::DataPointLabels ||
           id == prop::PointHatch;
}

double ToKind(double v, ElemKind kind)
{
    switch (kind) {
    case ElemKind::Int:
        if (std::isnan(v))
            return 0;
        if (v >= 2147483647.0)
            return 2147483647.0;
        if (v <= -2147483648.0)
            return -2147483648.0;
        return std::trunc(v);
    case ElemKind::Single:
        return double(float(v));
    default:
        return v;
    }
}

std::u16string CleanText(std::u16string_view text)
{
    auto nul = text.find(u'\0');
    if (nul != std::u16string_view::npos)
        text = text.substr(0, nul);
    if (text.size() > kMaxTextUnits)
        text = text.substr(0, kMaxTextUnits);
    return std::u16string(text);
}

ChartObject::ChartObject(HCHART handle, std::uint32_t objectType, const ChartRect &rect,
                         std::int32_t id)
    : FHandle(handle), FObjectType(objectType), FRect(rect), FControlId(id)
{
}

void ChartObject::Recreate(const ChartRect &rect, WindowId parent, std::int32_t id)
{
    FRect = rect;
    FParent = parent;
    FControlId = id;
}

namespace {

// 1 when X value c of a row is not at or above the one before it (NaN counts).
std::size_t DescentAt(const std::vector<double> &row, std::size_t c)
{
    return c > 0 && c < row.size() && !(row[c] >= row[c - 1]) ? 1 : 0;
}

} // namespace

void ChartObject::RecountXDescents()
{
    FXDescents.clear();
    for (std::size_t r = 0; r < FState.data.values[0].size(); ++r)
        RecountXDescents(r);
}

void ChartObject::RecountXDescents(std::size_t r)
{
    const auto &xs = FState.data.values[0];
    if (FXDescents.size() < xs.size())
        FXDescents.resize(xs.size(), 0);
    if (r >= xs.size())
        return;
    FXDescents[r] = 0;
    for (std::size_t c = 1; c < xs[r].size(); ++c)
        FXDescents[r] += DescentAt(xs[r], c);
}

void ChartObject::XDescentsAround(std::size_t r, std::size_t c, bool add)
{
    const auto &row = FState.data.values[0][r];
    std::size_t n = DescentAt(row, c) + DescentAt(row, c + 1);
    if (FXDescents.size() <= r)
        FXDescents.resize(r + 1, 0);
    FXDescents[r] = add ? FXDescents[r] + n : FXDescents[r] - std::min(n, FXDescents[r]);
}

bool ChartObject::XAscending(std::int32_t subset) const
{
    return subset >= 0 && std::size_t(subset) < FXDescents.size() &&
           FXDescents[std::size_t(subset)] == 0;
}

void ChartObject::ForgetText(std::int32_t id)
{
    if (const ScalarValue *s = FindScalar(id))
        if (auto p = std::get_if<std::u16string>(s))
            FTextUnits -= std::min(FTextUnits, p->size());
}

std::map<std::int32_t, ScalarValue> &ChartObject::ScalarMap(std::int32_t id)
{
    return IsTransientProperty(id) ? FTransient : FState.scalars;
}

ScalarValue *ChartObject::FindScalar(std::int32_t id)
{
    auto &m = ScalarMap(id);
    auto it = m.find(id);
    return it == m.end() ? nullptr : &it->second;
}

const ScalarValue *ChartObject::FindScalar(std::int32_t id) const
{
    return const_cast<ChartObject *>(this)->FindScalar(id);
}

bool ChartObject::SetInt(std::int32_t id, std::int32_t v)
{
    if (!ValidId(id) || DataAxisOf(id) >= 0 || id == prop::ObjectType)
        return false;
    if (id == prop::Subsets)
        return SetSubsets(v);
    if (id == prop::Points)
        return SetPoints(v);
    ForgetText(id);
    ScalarMap(id)[id] = v;
    Wrote(id);
    return true;
}

std::int32_t ChartObject::GetInt(std::int32_t id) const
{
    if (id == prop::Subsets)
        return FState.data.subsets;
    if (id == prop::Points)
        return FState.data.points;
    if (id == prop::ObjectType)
        return std::int32_t(FObjectType);
    const ScalarValue *s = FindScalar(id);
    if (!s)
        return 0;
    if (auto p = std::get_if<std::int32_t>(s))
        return *p;
    if (auto p = std::get_if<double>(s))
        return std::int32_t(ToKind(*p, ElemKind::Int));
    if (auto p = std::get_if<float>(s))
        return std::int32_t(ToKind(*p, ElemKind::Int));
    return 0;
}

namespace {

// Whether a scalar write of a kind other than an integer may store the id: a valid id that is
// not a data array, the subset or point count, or the object type.
bool TakesStoredScalar(std::int32_t id)
{
    return ValidId(id) && DataAxisOf(id) < 0 && id != prop::Subsets && id != prop::Points &&
           id != prop::ObjectType;
}

} // namespace

bool ChartObject::SetDouble(std::int32_t id, double v)
{
    if (!TakesStoredScalar(id))
        return false;
    ForgetText(id);
    ScalarMap(id)[id] = v;
    Wrote(id);
    return true;
}

bool ChartObject::SetSingle(std::int32_t id, float v)
{
    if (!TakesStoredScalar(id))
        return false;
    ForgetText(id);
    ScalarMap(id)[id] = v;
    Wrote(id);
    return true;
}

bool ChartObject::GetDouble(std::int32_t id, double &out) const
{
    out = 0;
    if (id == prop::Subsets || id == prop::Points || id == prop::ObjectType) {
        out = GetInt(id);
        return true;
    }
    const ScalarValue *s = FindScalar(id);
    if (!s)
        return false;
    if (auto d = std::get_if<double>(s)) {
        out = *d;
        return true;
    }
    if (auto f = std::get_if<float>(s)) {
        out = *f;
        return true;
    }
    if (auto i = std::get_if<std::int32_t>(s)) {
        out = *i;
        return true;
    }
    // A block of a double's or a single's size, as records of one value are written.
    auto b = std::get_if<std::vector<std::uint8_t>>(s);
    if (b && b->size() == 8) {
        std::memcpy(&out, b->data(), 8);
        return true;
    }
    if (b && b->size() == 4) {
        float f;
        std::memcpy(&f, b->data(), 4);
        out = f;
        return true;
    }
    return false;
}

bool ChartObject::SetText(std::int32_t id, std::u16string_view text)
{
    if (!TakesStoredScalar(id))
        return false;
    std::u16string clean = CleanText(text);
    std::size_t old = 0;
    if (const ScalarValue *s = FindScalar(id))
        if (auto p = std::get_if<std::u16string>(s))
            old = p->size();
    if (!TextFits(old, clean.size()))
        return false;
    FTextUnits = FTextUnits - old + clean.size();
    ScalarMap(id)[id] = std::move(clean);
    Wrote(id);
    return true;
}

bool ChartObject::TextFits(std::size_t removed, std::size_t added) const
{
    constexpr std::size_t kLimit = kMaxChartTextBytes / sizeof(char16_t);
    std::size_t rest = FTextUnits - std::min(removed, FTextUnits);
    return added <= kLimit - std::min(rest, kLimit);
}

void ChartObject::RecountText()
{
    std::size_t n = 0;
    for (const auto *scalars : {&FState.scalars, &FTransient})
        for (const auto &[id, v] : *scalars)
            if (auto p = std::get_if<std::u16string>(&v))
                n += p->size();
    for (const auto &[id, a] : FState.arrays)
        for (const auto &row : a.text)
            for (const auto &cell : row)
                n += cell.size() + kCellUnits;
    FTextUnits = n;
}

std::u16string ChartObject::GetText(std::int32_t id) const
{
    const ScalarValue *s = FindScalar(id);
    if (auto p = s ? std::get_if<std::u16string>(s) : nullptr)
        return *p;
    return {};
}

bool ChartObject::SetBlock(std::int32_t id, std::span<const std::uint8_t> block)
{
    if (!TakesStoredScalar(id) || block.size() > kMaxBlockBytes)
        return false;
    ForgetText(id);
    ScalarMap(id)[id] = std::vector<std::uint8_t>(block.begin(), block.end());
    Wrote(id);
    return true;
}

std::size_t ChartObject::GetBlock(std::int32_t id, std::span<std::uint8_t> out) const
{
    std::fill(out.begin(), out.end(), std::uint8_t(0));
    const ScalarValue *s = FindScalar(id);
    auto p = s ? std::get_if<std::vector<std::uint8_t>>(s) : nullptr;
    if (!p)
        return 0;
    std::memcpy(out.data(), p->data(), std::min(out.size(), p->size()));
    return p->size();
}

bool ChartObject::Has(std::int32_t id) const
{
    if (id == prop::Subsets || id == prop::Points || id == prop::ObjectType || DataAxisOf(id) >= 0)
        return true;
    return FindScalar(id) != nullptr || FState.arrays.count(id) != 0;
}

namespace {

// Cuts the data and the data-shaped arrays to the data's subsets and points.
void TruncateToData(ChartState &state)
{
    const auto subsets = std::size_t(state.data.subsets), points = std::size_t(state.data.points);
    for (auto &axis : state.data.values)
        Truncate(axis, subsets, points);
    for (auto &[id, a] : state.arrays)
        if (IsDataShaped(id)) {
            Truncate(a.num, subsets, points);
            Truncate(a.text, subsets, points);
        }
}

// Rows and columns of a stored numeric array as a whole-array copy sees them: a data-shaped
// array has the data's subsets and points, a two-index array its rows and its longest row, and
// a one-index array is one row of singleRowColumns.
void ArrayExtent(const ChartData &data, std::int32_t id, const ArrayValue &a,
                 std::size_t singleRowColumns, std::size_t &nrows, std::size_t &ncols)
{
    if (IsDataShaped(id)) {
        nrows = std::size_t(data.subsets);
        ncols = std::size_t(data.points);
    } else if (a.twoIndex) {
        nrows = a.num.size();
        ncols = ColumnExtent(a.num);
    } else {
        nrows = 1;
        ncols = singleRowColumns;
    }
}

} // namespace

bool ChartObject::SetSubsets(std::int32_t n)
{
    if (n < 0 || n > kMaxSubsets || std::int64_t(n) * FState.data.points > kMaxDataElements)
        return false;
    FState.data.subsets = n;
    TruncateToData(FState);
    RecountText();
    RecountXDescents();
    Wrote(prop::Subsets);
    return true;
}

bool ChartObject::SetPoints(std::int32_t n)
{
    if (n < 0 || n > kMaxPoints || std::int64_t(n) * FState.data.subsets > kMaxDataElements)
        return false;
    FState.data.points = n;
    TruncateToData(FState);
    RecountText();
    RecountXDescents();
    Wrote(prop::Points);
    return true;
}

std::span<const double> ChartObject::DataRow(int axis, std::int32_t subset) const
{
    if (axis < 0 || axis > 2 || subset < 0)
        return {};
    const auto &rows = FState.data.values[std::size_t(axis)];
    if (std::size_t(subset) >= rows.size())
        return {};
    return rows[std::size_t(subset)];
}

bool ChartObject::ArrayKind(std::int32_t id, ElemKind &kind) const
{
    if (DataAxisOf(id) >= 0) {
        kind = DataViewKind(id);
        return true;
    }
    auto it = FState.arrays.find(id);
    if (it == FState.arrays.end())
        return false;
    kind = it->second.kind;
    return true;
}

std::size_t ChartObject::ArrayLength(std::int32_t id) const
{
    auto it = FState.arrays.find(id);
    if (it == FState.arrays.end())
        return 0;
    const ArrayValue &a = it->second;
    if (a.kind == ElemKind::Text)
        return a.text.empty() ? 0 : a.text[0].size();
    return a.num.empty() ? 0 : a.num[0].size();
}

bool ChartObject::SetElement(std::int32_t id, std::int32_t i, double v, ElemKind kind)
{
    if (!ValidId(id) || i < 0 || i >= kMaxArrayLength || DataAxisOf(id) >= 0 || IsDataShaped(id))
        return false;
    auto [it, fresh] = FState.arrays.try_emplace(id);
    ArrayValue &a = it->second;
    if (fresh)
        a.kind = kind;
    if (a.twoIndex || a.kind == ElemKind::Text) {
        if (fresh)
            FState.arrays.erase(it);
        return false;
    }
    WriteCells(a.num, 0, i, 1, 0, ToKind(v, a.kind));
    Wrote(id);
    return true;
}

bool ChartObject::SetElement(std::int32_t id, std::int32_t i, std::u16string_view text)
{
    if (!ValidId(id) || i < 0 || i >= kMaxArrayLength || DataAxisOf(id) >= 0 || IsDataShaped(id))
        return false;
    auto [it, fresh] = FState.arrays.try_emplace(id);
    ArrayValue &a = it->second;
    if (fresh)
        a.kind = ElemKind::Text;
    if (a.twoIndex || a.kind != ElemKind::Text) {
        if (fresh)
            FState.arrays.erase(it);
        return false;
    }
    std::u16string clean = CleanText(text);
    std::size_t added = 0, removed = 0;
    TextWriteCost(a.text, 0, 1, std::size_t(i), std::size_t(i) + 1, clean.size(), added, removed);
    if (!TextFits(removed, added)) {
        if (fresh)
            FState.arrays.erase(it);
        return false;
    }
    FTextUnits = FTextUnits - removed + added;
    WriteCells(a.text, 0, i, 1, 0, clean);
    Wrote(id);
    return true;
}

double ChartObject::GetElement(std::int32_t id, std::int32_t i) const
{
    auto it = FState.arrays.find(id);
    if (it == FState.arrays.end() || it->second.twoIndex)
        return 0;
    const double *c = Cell(it->second.num, 0, i);
    return c ? *c : 0;
}

std::u16string ChartObject::GetElementText(std::int32_t id, std::int32_t i) const
{
    auto it = FState.arrays.find(id);
    if (it == FState.arrays.end() || it->second.twoIndex)
        return {};
    const std::u16string *c = Cell(it->second.text, 0, i);
    return c ? *c : std::u16string();
}

namespace {

// Checks the indexes of a two-index write and gives the dimensions a -1 covers.
bool GridBounds(const ChartData &d, std::int32_t id, const ArrayValue *a, std::int32_t i,
                std::int32_t j, std::size_t &rows, std::size_t &cols)
{
    if (i < -1 || j < -1)
        return false;
    if (DataAxisOf(id) >= 0 || IsDataShaped(id)) {
        rows = std::size_t(d.subsets);
        cols = std::size_t(d.points);
        return (i < 0 || std::size_t(i) < rows) && (j < 0 || std::size_t(j) < cols);
    }
    if (i >= kMaxGridRows || j >= kMaxGridColumns)
        return false;
    std::size_t curRows = 0, curCols = 0;
    if (a) {
        curRows = a->kind == ElemKind::Text ? a->text.size() : a->num.size();
        curCols = a->kind == ElemKind::Text ? ColumnExtent(a->text) : ColumnExtent(a->num);
    }
    std::size_t newRows = std::max(curRows, i < 0 ? 0 : std::size_t(i) + 1);
    std::size_t newCols = std::max(curCols, j < 0 ? 0 : std::size_t(j) + 1);
    if (std::int64_t(newRows) * std::int64_t(newCols) > kMaxGridElements)
        return false;
    rows = curRows;
    cols = curCols;
    return true;
}

} // namespace

bool ChartObject::SetElement2D(std::int32_t id, std::int32_t i, std::int32_t j, double v,
                               ElemKind kind)
{
    if (!ValidId(id))
        return false;
    std::size_t rows = 0, cols = 0;
    if (int axis = DataAxisOf(id); axis >= 0) {
        if (!GridBounds(FState.data, id, nullptr, i, j, rows, cols))
            return false;
        auto &values = FState.data.values[std::size_t(axis)];
        // X in order is counted as it is written, so a redraw need not check it.
        const bool single = axis == 0 && i >= 0 && j >= 0;
        const auto r = std::size_t(i), c = std::size_t(j);
        const bool known = single && r < values.size() && c <= values[r].size();
        if (FAttachment)
            FAttachment->DataWriting(axis, i, j);
        if (known)
            XDescentsAround(r, c, false);
        WriteCells(values, i, j, rows, cols, ToKind(v, DataViewKind(id)));
        if (known)
            XDescentsAround(r, c, true);
        else if (single)
            RecountXDescents(r);
        else if (axis == 0)
            RecountXDescents();
        Wrote(id);
        return true;
    }
    auto it = FState.arrays.find(id);
    ArrayValue *a = it == FState.arrays.end() ? nullptr : &it->second;
    if (a && (!a->twoIndex || a->kind == ElemKind::Text))
        return false;
    if (!GridBounds(FState.data, id, a, i, j, rows, cols))
        return false;
    if (!a) {
        a = &FState.arrays[id];
        a->kind = kind;
        a->twoIndex = true;
    }
    WriteCells(a->num, i, j, rows, cols, ToKind(v, a->kind));
    Wrote(id);
    return true;
}

bool ChartObject::SetElement2D(std::int32_t id, std::int32_t i, std::int32_t j,
                               std::u16string_view text)
{
    if (!ValidId(id) || DataAxisOf(id) >= 0)
        return false;
    auto it = FState.arrays.find(id);
    ArrayValue *a = it == FState.arrays.end() ? nullptr : &it->second;
    if (a && (!a->twoIndex || a->kind != ElemKind::Text))
        return false;
    std::size_t rows = 0, cols = 0;
    if (!GridBounds(FState.data, id, a, i, j, rows, cols))
        return false;
    // The texts the write replaces and the ones it adds: a -1 copies the text into every cell
    // of its dimension, so the total is checked before any cell is written.
    std::u16string clean = CleanText(text);
    const std::size_t r0 = i < 0 ? 0 : std::size_t(i), r1 = i < 0 ? rows : std::size_t(i) + 1;
    const std::size_t c0 = j < 0 ? 0 : std::size_t(j), c1 = j < 0 ? cols : std::size_t(j) + 1;
    std::size_t added = 0, removed = 0;
    TextWriteCost(a ? a->text : std::vector<std::vector<std::u16string>>(), r0, r1, c0, c1,
                  clean.size(), added, removed);
    if (!TextFits(removed, added))
        return false;
    if (!a) {
        a = &FState.arrays[id];
        a->kind = ElemKind::Text;
        a->twoIndex = true;
    }
    FTextUnits = FTextUnits - removed + added;
    WriteCells(a->text, i, j, rows, cols, clean);
    Wrote(id);
    return true;
}

double ChartObject::GetElement2D(std::int32_t id, std::int32_t i, std::int32_t j) const
{
    if (int axis = DataAxisOf(id); axis >= 0) {
        const double *c = Cell(FState.data.values[std::size_t(axis)], i, j);
        return c ? ToKind(*c, DataViewKind(id)) : 0;
    }
    auto it = FState.arrays.find(id);
    if (it == FState.arrays.end() || !it->second.twoIndex)
        return 0;
    const double *c = Cell(it->second.num, i, j);
    return c ? *c : 0;
}

std::u16string ChartObject::GetElementText2D(std::int32_t id, std::int32_t i, std::int32_t j) const
{
    auto it = FState.arrays.find(id);
    if (it == FState.arrays.end() || !it->second.twoIndex)
        return {};
    const std::u16string *c = Cell(it->second.text, i, j);
    return c ? *c : std::u16string();
}

bool ChartObject::SetArray(std::int32_t id, std::span<const double> values, ElemKind kind)
{
    return SetArrayOf(id, values, kind);
}

bool ChartObject::SetArray(std::int32_t id, std::span<const float> values, ElemKind kind)
{
    return SetArrayOf(id, values, kind);
}

bool ChartObject::SetArray(std::int32_t id, std::span<const std::int32_t> values, ElemKind kind)
{
    return SetArrayOf(id, values, kind);
}

template <class T>
bool ChartObject::SetArrayOf(std::int32_t id, std::span<const T> values, ElemKind kind)
{
    if (!ValidId(id) || values.empty())
        return false;
    std::vector<std::vector<double>> *rows = nullptr;
    ElemKind k = kind;
    std::size_t ncols = 0, nrows = 0;
    const int axis = DataAxisOf(id);
    if (axis >= 0) {
        rows = &FState.data.values[std::size_t(axis)];
        k = DataViewKind(id);
        nrows = std::size_t(FState.data.subsets);
        ncols = std::size_t(FState.data.points);
    } else {
        auto it = FState.arrays.find(id);
        ArrayValue *a = nullptr;
        if (it == FState.arrays.end()) {
            a = &FState.arrays[id];
            a->kind = kind;
            a->twoIndex = IsDataShaped(id);
        } else {
            a = &it->second;
            if (a->kind == ElemKind::Text)
                return false;
        }
        k = a->kind;
        rows = &a->num;
        ArrayExtent(FState.data, id, *a, std::size_t(kMaxArrayLength), nrows, ncols);
    }
    if (ncols == 0 || nrows == 0)
        return false;
    if (axis >= 0 && FAttachment)
        FAttachment->DataWriting(axis, -1, -1);
    std::size_t n = std::min<std::size_t>(values.size(), nrows * ncols);
    for (std::size_t r = 0; r * ncols < n; ++r) {
        std::size_t len = std::min(ncols, n - r * ncols);
        GrowTo(*rows, r + 1);
        GrowTo((*rows)[r], len);
        for (std::size_t c = 0; c < len; ++c)
            (*rows)[r][c] = ToKind(double(values[r * ncols + c]), k);
    }
    if (rows == &FState.data.values[0])
        RecountXDescents();
    Wrote(id);
    return true;
}

std::size_t ChartObject::GetArray(std::int32_t id, std::span<double> out) const
{
    std::fill(out.begin(), out.end(), 0.0);
    const std::vector<std::vector<double>> *rows = nullptr;
    std::size_t ncols = 0, nrows = 0;
    ElemKind k = ElemKind::Double;
    if (int axis = DataAxisOf(id); axis >= 0) {
        rows = &FState.data.values[std::size_t(axis)];
        k = DataViewKind(id);
        nrows = std::size_t(FState.data.subsets);
        ncols = std::size_t(FState.data.points);
    } else {
        auto it = FState.arrays.find(id);
        if (it == FState.arrays.end() || it->second.kind == ElemKind::Text)
            return 0;
        const ArrayValue &a = it->second;
        rows = &a.num;
        k = a.kind;
        ArrayExtent(FState.data, id, a, a.num.empty() ? 0 : a.num[0].size(), nrows, ncols);
    }
    if (ncols == 0 || nrows == 0)
        return 0;
    std::size_t n = std::min<std::size_t>(out.size(), nrows * ncols);
    for (std::size_t r = 0; r < rows->size() && r * ncols < n; ++r) {
        const auto &row = (*rows)[r];
        std::size_t len = std::min({ncols, n - r * ncols, row.size()});
        for (std::size_t c = 0; c < len; ++c)
            out[r * ncols + c] = ToKind(row[c], k);
    }
    return n;
}

void ChartObject::Wrote(std::int32_t id)
{
    if (FAttachment && !IsTransientProperty(id))
        FAttachment->Written(id);
}

void ChartObject::ReplaceState(ChartState &&state)
{
    FState = std::move(state);
    RecountText();
    RecountXDescents();
    if (FAttachment)
        FAttachment->StateReplaced();
}

} // namespace chartlib
