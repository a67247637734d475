// Window > Tile and Window > Cascade of the MDI client area (see mdi_area.h).
#include "platform/ui/mdi_area.h"

#include <QLayout>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// A child whose form cannot be resized keeps its size and place.
bool IsFixedSize(const QMdiSubWindow *sub)
{
    const QWidget *form = sub->widget();
    return form && form->minimumSize() == form->maximumSize();
}

const char *const kChart = "nivoraChart";

// The smallest size the sub-window takes.
QSize MinimumOf(const QMdiSubWindow *sub)
{
    return sub->minimumSizeHint().expandedTo(sub->minimumSize());
}

// The least height a layout gives a widget.
int LeastHeight(const QWidget *widget)
{
    if (widget->minimumHeight() > 0)
        return widget->minimumHeight();
    return widget->sizePolicy().verticalPolicy() & QSizePolicy::ShrinkFlag
               ? std::max(widget->minimumSizeHint().height(), 0)
               : std::max(widget->sizeHint().height(), 0);
}

// What the sub-window needs when it is width wide: its minimum size, the
// least height its form's layout takes at that width, and the height its
// charts lack of kUsableChartHeight at their least (more than they lack
// when something beside a chart already makes the window higher).
QSize NeededOf(const QMdiSubWindow *sub, int width)
{
    const QSize minimum = MinimumOf(sub);
    const QWidget *form = sub->widget();
    if (!form)
        return minimum;
    const QMargins frame = sub->contentsMargins();
    const int frameHeight = frame.top() + frame.bottom();
    int height = minimum.height() - frameHeight;
    if (const QLayout *layout = form->layout(); layout && layout->hasHeightForWidth()) {
        const int formWidth = std::max(width, minimum.width()) - frame.left() - frame.right();
        height = std::max(height, layout->totalMinimumHeightForWidth(formWidth));
    }
    for (const QWidget *chart : form->findChildren<QWidget *>())
        if (chart->property(kChart).toBool() && chart->isVisibleTo(form))
            height += std::max(kUsableChartHeight - LeastHeight(chart), 0);
    return QSize(minimum.width(), height + frameHeight);
}

// The left (top) edge of a window of length size at wanted in [from, from +
// length): as near to wanted as keeps it whole, its start first.
int Within(int wanted, int size, int from, int length)
{
    return std::max(from, std::min(wanted, from + length - size));
}

void PlaceWithin(QMdiSubWindow *sub, const QRect &cell, const QRect &area)
{
    const QSize size = cell.size().expandedTo(NeededOf(sub, cell.width()));
    sub->setGeometry(Within(cell.x(), size.width(), area.x(), area.width()),
                     Within(cell.y(), size.height(), area.y(), area.height()), size.width(),
                     size.height());
}

// Whether the sub-window fits in area when it is width wide.
bool FitsIn(const QMdiSubWindow *sub, const QRect &area, int width)
{
    const QSize need = NeededOf(sub, width);
    return need.width() <= area.width() && need.height() <= area.height();
}

// Tiles in rows. The windows go into the rows in their order, at most
// perRow in a row, and a row takes no more than its minimum widths leave
// room for; a row's width left over is shared evenly. A row is as high as
// its windows need at their widths, and the area's height left over is
// shared in proportion to the rows' needs. Every cell lies in area, except
// where the windows need more.
QList<QRect> TileRows(const QList<QMdiSubWindow *> &subs, const QRect &area, int perRow)
{
    QList<QList<int>> rows;
    int rowWidth = 0;
    for (int i = 0; i < subs.size(); ++i) {
        const int width = MinimumOf(subs[i]).width();
        if (rows.isEmpty() || rows.back().size() >= perRow || rowWidth + width > area.width()) {
            rows.append(QList<int>());
            rowWidth = 0;
        }
        rows.back().append(i);
        rowWidth += width;
    }
    QList<QRect> cells(subs.size());
    const int count = static_cast<int>(rows.size());
    QList<int> needs(count);
    int needed = 0;
    for (int r = 0; r < count; ++r) {
        const QList<int> &row = rows[r];
        int spare = area.width();
        for (int i : row)
            spare -= MinimumOf(subs[i]).width();
        spare = std::max(spare, 0);
        int left = area.x();
        for (int k = 0; k < row.size(); ++k) {
            const int share = spare * (k + 1) / int(row.size()) - spare * k / int(row.size());
            const int width = MinimumOf(subs[row[k]]).width() + share;
            cells[row[k]] = QRect(left, 0, width, 0);
            needs[r] = std::max(needs[r], NeededOf(subs[row[k]], width).height());
            left += width;
        }
        needed += needs[r];
    }
    const qint64 spare = std::max(area.height() - needed, 0);
    int top = area.y();
    int neededAbove = 0;
    for (int r = 0; r < count; ++r) {
        const int bottom = area.y() + neededAbove + needs[r] +
                           int(spare * (neededAbove + needs[r]) / std::max(needed, 1));
        for (int i : rows[r]) {
            cells[i].setTop(top);
            cells[i].setBottom(bottom - 1);
        }
        neededAbove += needs[r];
        top = bottom;
    }
    return cells;
}

// The rectangle the cells take together.
QRect Extent(const QList<QRect> &cells)
{
    QRect extent;
    for (const QRect &cell : cells)
        extent |= cell;
    return extent;
}

// The tiling of subs in area: the windows larger than the area after those
// that fit; of the row tilings with at most 1, 2, ... windows a row, one that
// stays in the area if any does, and of those the one whose cells come
// nearest to the shape of 4:3.
QList<QRect> TileCells(const QList<QMdiSubWindow *> &subs, const QRect &area)
{
    QList<int> order;
    for (int i = 0; i < subs.size(); ++i)
        if (FitsIn(subs[i], area, area.width()))
            order << i;
    for (int i = 0; i < subs.size(); ++i)
        if (!order.contains(i))
            order << i;
    QList<QMdiSubWindow *> ordered;
    for (int i : order)
        ordered << subs[i];

    QList<QRect> best;
    qint64 bestOver = -1;
    double bestShape = 0;
    for (int perRow = 1; perRow <= ordered.size(); ++perRow) {
        const QList<QRect> cells = TileRows(ordered, area, perRow);
        const QRect extent = Extent(cells);
        const qint64 over = qint64(std::max(extent.right() - area.right(), 0)) * area.height() +
                            qint64(std::max(extent.bottom() - area.bottom(), 0)) * area.width();
        double shape = 0;
        for (const QRect &cell : cells)
            shape += cell.isEmpty()
                         ? 1e9
                         : std::abs(std::log(cell.width() / (cell.height() * 4.0 / 3.0)));
        if (bestOver < 0 || over < bestOver || (over == bestOver && shape < bestShape)) {
            best = cells;
            bestOver = over;
            bestShape = shape;
        }
    }
    QList<QRect> cells(subs.size());
    for (int k = 0; k < order.size(); ++k)
        cells[order[k]] = best[k];
    return cells;
}

} // namespace

void MarkChart(QWidget *chart)
{
    chart->setProperty(kChart, true);
}

QSize TMdiArea::minimumSizeHint() const
{
    return QAbstractScrollArea::minimumSizeHint();
}

QList<QMdiSubWindow *> TMdiArea::ArrangedSubWindows(QMdiArea::WindowOrder order) const
{
    const QList<QWidget *> forms = Children();
    QList<QMdiSubWindow *> subs;
    for (QMdiSubWindow *sub : subWindowList(order)) {
        if (!forms.contains(sub->widget()) || sub->isHidden() || sub->isMinimized())
            continue;
        if (sub->isMaximized())
            sub->showNormal();
        subs << sub;
    }
    return subs;
}

QRect TMdiArea::ArrangeArea(const QList<QMdiSubWindow *> &fixed,
                            const std::function<bool(const QRect &)> &overflows)
{
    // The windows are placed in the whole area, which then needs no scroll
    // bars: scrolled back first, the children move with the contents.
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    QRect area(QPoint(0, 0), maximumViewportSize());
    QRect region = FreePart(area, fixed);
    // Windows that do not fit make the area scroll: then the part is what
    // the scroll bars leave.
    bool scrolls = overflows(region);
    for (const QMdiSubWindow *sub : fixed)
        scrolls |= sub->width() > area.width() || sub->height() > area.height();
    if (scrolls) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        area.adjust(0, 0, -bar, -bar);
        region = FreePart(area, fixed);
    }
    return region;
}

QRect TMdiArea::FreePart(const QRect &area, const QList<QMdiSubWindow *> &fixed)
{
    if (fixed.isEmpty())
        return area;
    QRect taken;
    for (QMdiSubWindow *sub : fixed) {
        sub->move(Within(sub->x(), sub->width(), area.x(), area.width()),
                  Within(sub->y(), sub->height(), area.y(), area.height()));
        taken |= sub->geometry();
    }
    // The largest part of the area beside the fixed windows: right of
    // them, left, below or above.
    const QRect parts[4] = {
        QRect(QPoint(taken.right() + 1, area.top()), area.bottomRight()),
        QRect(area.topLeft(), QPoint(taken.left() - 1, area.bottom())),
        QRect(QPoint(area.left(), taken.bottom() + 1), area.bottomRight()),
        QRect(area.topLeft(), QPoint(area.right(), taken.top() - 1)),
    };
    QRect best;
    for (const QRect &part : parts) {
        const qint64 size = part.isValid() ? qint64(part.width()) * part.height() : 0;
        if (size > (best.isValid() ? qint64(best.width()) * best.height() : 0))
            best = part;
    }
    return best.isValid() ? best : area;
}

void TMdiArea::Tile()
{
    QList<QMdiSubWindow *> fixed;
    QList<QMdiSubWindow *> subs;
    for (QMdiSubWindow *sub : ArrangedSubWindows(QMdiArea::CreationOrder))
        (IsFixedSize(sub) ? fixed : subs) << sub;
    QList<QRect> cells;
    QRect tiled;
    const QRect area = ArrangeArea(fixed, [&](const QRect &region) {
        cells = TileCells(subs, tiled = region);
        return !subs.isEmpty() && !region.contains(Extent(cells));
    });
    if (area != tiled) // tiled again in what the scroll bars leave
        cells = TileCells(subs, area);
    // Cells below or right of the visible part are reached by scrolling.
    for (int i = 0; i < subs.size(); ++i)
        subs[i]->setGeometry(cells[i]);
}

void TMdiArea::Cascade()
{
    QList<QMdiSubWindow *> fixed;
    QList<QMdiSubWindow *> subs; // the active window last, on top
    for (QMdiSubWindow *sub : ArrangedSubWindows(QMdiArea::ActivationHistoryOrder))
        (IsFixedSize(sub) ? fixed : subs) << sub;
    if (subs.isEmpty()) {
        ArrangeArea(fixed, [](const QRect &) { return false; });
        return;
    }
    const int count = static_cast<int>(subs.size());
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs.front()) + 4;
    // One size for all, at least half the area each way; the steps shrink
    // when the windows would otherwise leave the area.
    const auto sizeIn = [&](const QRect &area) {
        return QSize(std::max(area.width() - (count - 1) * step, area.width() / 2),
                     std::max(area.height() - (count - 1) * step, area.height() / 2));
    };
    const QRect area = ArrangeArea(fixed, [&](const QRect &region) {
        const int width = sizeIn(region).width();
        return !std::all_of(subs.begin(), subs.end(),
                            [&](const QMdiSubWindow *sub) { return FitsIn(sub, region, width); });
    });
    const QSize size = sizeIn(area);
    const int stepX = count > 1 ? std::min(step, (area.width() - size.width()) / (count - 1)) : 0;
    const int stepY = count > 1 ? std::min(step, (area.height() - size.height()) / (count - 1)) : 0;
    for (int i = 0; i < count; ++i) {
        PlaceWithin(subs[i], QRect(area.topLeft() + QPoint(i * stepX, i * stepY), size), area);
        subs[i]->raise();
    }
}

} // namespace ui
