// Window > Tile and Window > Cascade of the MDI client area (see mdi_area.h).
#include "platform/ui/mdi_area.h"

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

// The smallest size the sub-window takes.
QSize MinimumOf(const QMdiSubWindow *sub)
{
    return sub->minimumSizeHint().expandedTo(sub->minimumSize());
}

// The left (top) edge of a window of length size at wanted in [from, from +
// length): as near to wanted as keeps it whole, its start first.
int Within(int wanted, int size, int from, int length)
{
    return std::max(from, std::min(wanted, from + length - size));
}

void PlaceWithin(QMdiSubWindow *sub, const QRect &cell, const QRect &area)
{
    const QSize size = cell.size().expandedTo(MinimumOf(sub));
    sub->setGeometry(Within(cell.x(), size.width(), area.x(), area.width()),
                     Within(cell.y(), size.height(), area.y(), area.height()), size.width(),
                     size.height());
}

// Tiles in rows. The windows go into the rows in their order, at most
// perRow in a row, and a row takes no more than its minimum widths leave
// room for; a row's width left over is shared evenly. Every cell lies in
// area, except where the minimum sizes need more.
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
    // Each row is as high as its highest minimum, and what is left of the
    // area's height is shared evenly.
    const int count = static_cast<int>(rows.size());
    QList<int> heights(count);
    int spareHeight = area.height();
    for (int r = 0; r < count; ++r) {
        for (int i : rows[r])
            heights[r] = std::max(heights[r], MinimumOf(subs[i]).height());
        spareHeight -= heights[r];
    }
    spareHeight = std::max(spareHeight, 0);
    QList<QRect> cells(subs.size());
    int top = area.y();
    for (int r = 0; r < count; ++r) {
        const int height = heights[r] + spareHeight * (r + 1) / count - spareHeight * r / count;
        const QList<int> &row = rows[r];
        int spare = area.width();
        for (int i : row)
            spare -= MinimumOf(subs[i]).width();
        spare = std::max(spare, 0);
        int left = area.x();
        for (int k = 0; k < row.size(); ++k) {
            const int share = spare * (k + 1) / int(row.size()) - spare * k / int(row.size());
            const int width = MinimumOf(subs[row[k]]).width() + share;
            cells[row[k]] = QRect(left, top, width, height);
            left += width;
        }
        top += height;
    }
    return cells;
}

// The tiling of subs in area: of the row tilings with at most 1, 2, ...
// windows a row, the one that leaves the fewest windows below their minimum
// size, and of those the one whose cells come nearest to the shape of 4:3.
QList<QRect> TileCells(const QList<QMdiSubWindow *> &subs, const QRect &area)
{
    QList<QRect> best;
    int bestFits = -1;
    double bestShape = 0;
    for (int perRow = 1; perRow <= subs.size(); ++perRow) {
        const QList<QRect> cells = TileRows(subs, area, perRow);
        int fits = 0;
        double shape = 0;
        for (int i = 0; i < subs.size(); ++i) {
            const QSize minimum = MinimumOf(subs[i]);
            const QRect &cell = cells[i];
            fits += minimum.width() <= cell.width() && minimum.height() <= cell.height();
            shape += cell.isEmpty()
                         ? 1e9
                         : std::abs(std::log(cell.width() / (cell.height() * 4.0 / 3.0)));
        }
        if (fits > bestFits || (fits == bestFits && shape < bestShape)) {
            best = cells;
            bestFits = fits;
            bestShape = shape;
        }
    }
    return best;
}

} // namespace

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
                            const QList<QMdiSubWindow *> &arranged)
{
    // The windows are placed in the whole area, which then needs no scroll
    // bars: scrolled back first, the children move with the contents.
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    QRect area(QPoint(0, 0), maximumViewportSize());
    QRect region = FreePart(area, fixed);
    // A window larger than its part makes the area scroll: then the part
    // is what the scroll bars leave.
    bool scrolls = false;
    for (const QMdiSubWindow *sub : arranged) {
        const QSize minimum = MinimumOf(sub);
        scrolls |= minimum.width() > region.width() || minimum.height() > region.height();
    }
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
    const QRect area = ArrangeArea(fixed, subs);
    if (subs.isEmpty())
        return;
    const QList<QRect> cells = TileCells(subs, area);
    for (int i = 0; i < subs.size(); ++i)
        PlaceWithin(subs[i], cells[i], area);
}

void TMdiArea::Cascade()
{
    QList<QMdiSubWindow *> fixed;
    QList<QMdiSubWindow *> subs; // the active window last, on top
    for (QMdiSubWindow *sub : ArrangedSubWindows(QMdiArea::ActivationHistoryOrder))
        (IsFixedSize(sub) ? fixed : subs) << sub;
    const QRect area = ArrangeArea(fixed, subs);
    if (subs.isEmpty())
        return;
    const int count = static_cast<int>(subs.size());
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs.front()) + 4;
    // One size for all, at least half the area each way; the steps shrink
    // when the windows would otherwise leave the area.
    const QSize size(std::max(area.width() - (count - 1) * step, area.width() / 2),
                     std::max(area.height() - (count - 1) * step, area.height() / 2));
    const int stepX = count > 1 ? std::min(step, (area.width() - size.width()) / (count - 1)) : 0;
    const int stepY = count > 1 ? std::min(step, (area.height() - size.height()) / (count - 1)) : 0;
    for (int i = 0; i < count; ++i) {
        PlaceWithin(subs[i], QRect(area.topLeft() + QPoint(i * stepX, i * stepY), size), area);
        subs[i]->raise();
    }
}

} // namespace ui
