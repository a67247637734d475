#include "views/flow_layout.h"

#include <QWidget>

#include <algorithm>

namespace views {

TFlowLayout::TFlowLayout(QWidget *parent, int hSpacing, int vSpacing)
    : QLayout(parent), FHSpacing(hSpacing), FVSpacing(vSpacing)
{
}

TFlowLayout::~TFlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void TFlowLayout::addItem(QLayoutItem *item)
{
    FItems.append(item);
}

QLayoutItem *TFlowLayout::itemAt(int index) const
{
    return index >= 0 && index < FItems.size() ? FItems.at(index) : nullptr;
}

QLayoutItem *TFlowLayout::takeAt(int index)
{
    return index >= 0 && index < FItems.size() ? FItems.takeAt(index) : nullptr;
}

int TFlowLayout::heightForWidth(int width) const
{
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize TFlowLayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem *item : FItems)
        size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize TFlowLayout::sizeHint() const
{
    // One row of everything is the wish; heightForWidth says what it takes.
    int width = 0, height = 0;
    for (const QLayoutItem *item : FItems) {
        if (item->isEmpty())
            continue;
        const QSize s = item->sizeHint();
        width += (width ? FHSpacing : 0) + s.width();
        height = std::max(height, s.height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void TFlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int TFlowLayout::Arrange(const QRect &rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x(), y = area.y(), rowHeight = 0;
    for (QLayoutItem *item : FItems) {
        if (item->isEmpty())
            continue;
        const QSize s = item->sizeHint();
        if (x > area.x() && x + s.width() > area.right() + 1) {
            x = area.x();
            y += rowHeight + FVSpacing;
            rowHeight = 0;
        }
        if (apply)
            item->setGeometry(QRect(QPoint(x, y), s));
        x += s.width() + FHSpacing;
        rowHeight = std::max(rowHeight, s.height());
    }
    const QMargins m = contentsMargins();
    return y + rowHeight - rect.y() + m.bottom();
}

} // namespace views
