// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace plenix {

// Draws the current cell unhighlighted inside a heavy rectangle, so that it
// stands out from the rest of the selection even when the grid has no focus.
class CellDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    Q_DISABLE_COPY_MOVE(CellDelegate)

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace plenix
