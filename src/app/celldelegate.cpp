// SPDX-License-Identifier: GPL-3.0-or-later
#include "celldelegate.h"

#include <QAbstractItemView>
#include <QPainter>

namespace plenix {

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const bool current = view && view->currentIndex() == index;
    QStyleOptionViewItem cell(option);
    cell.state &= ~QStyle::State_HasFocus;
    if (current) {
        // The view has already drawn the selection behind every selected cell.
        cell.state &= ~QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
    }
    QStyledItemDelegate::paint(painter, cell, index);
    if (!current)
        return;
    painter->save();
    QPen pen(option.palette.color(QPalette::Active, QPalette::Text), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

} // namespace plenix
