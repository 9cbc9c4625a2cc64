// SPDX-License-Identifier: GPL-3.0-or-later
// The route view's mouse: clicks, drags (scrolling on past the edge), header
// presses and the cells' tooltips.
#include "routeview.h"

#include "gridnavigation.h"
#include "marks.h"
#include "textcodec.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include <string_view>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
// A giant cell's tooltip shows its beginning only.
constexpr std::size_t MaxToolTipChars = 2000;
// Whether a press at `x` falls on a border between two column headers,
// where the header resizes the column: decided as QHeaderView decides it.
bool isOnColumnBorder(const QHeaderView &header, int x)
{
    const int visual = header.visualIndexAt(x);
    if (visual < 0)
        return false;
    const int logical = header.logicalIndex(visual);
    const int start = header.sectionViewportPosition(logical);
    const int grip = header.style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, &header);
    return (x < start + grip && visual > 0) || x > start + header.sectionSize(logical) - grip;
}

} // namespace

void RouteView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::RightButton) {
        Q_EMIT popUpRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    m_drag = Drag::Cells;
    clickCell(m_table, index.row() + 1, index.column() + 1,
              event->modifiers().testFlag(Qt::ShiftModifier), measure());
}

void RouteView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_drag != Drag::Cells || !event->buttons().testFlag(Qt::LeftButton))
        return;
    m_dragPos = event->position().toPoint();
    dragStep();
}

void RouteView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_drag = Drag::None;
}

void RouteView::dragStep()
{
    const Viewport view = measure();
    const bool pastX = m_dragPos.x() < 0 || m_dragPos.x() >= view.width;
    const bool pastY = m_dragPos.y() < 0 || m_dragPos.y() >= view.height;
    bool past = false;
    switch (m_drag) {
    case Drag::None:
    case Drag::ColumnBorder:
        break;
    case Drag::Cells:
        dragTo(m_table, m_dragPos.x(), m_dragPos.y(), view);
        past = pastX || pastY;
        break;
    case Drag::Columns:
        dragColumnHeader(m_table, m_dragPos.x(), view);
        past = pastX;
        break;
    case Drag::Rows:
        dragRowHeader(m_table, m_dragPos.y(), view);
        past = pastY;
        break;
    }
    if (!past)
        m_autoScroll.stop();
    else if (!m_autoScroll.isActive())
        m_autoScroll.start();
}

void RouteView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click is two presses: nothing opens.
    mousePressEvent(event);
}

bool RouteView::handleHeaderMouse(bool columns, QEvent *event)
{
    auto *mouse = static_cast<QMouseEvent *>(event);
    QHeaderView *header = columns ? horizontalHeader() : verticalHeader();
    const QPoint pos = mouse->position().toPoint();
    const int at = columns ? pos.x() : pos.y();
    const int extent = columns ? header->viewport()->width() : header->viewport()->height();
    // The header under the pointer, kept inside the header's own extent.
    const int section = header->logicalIndexAt(std::clamp(at, 0, std::max(extent - 1, 0)));
    const int cell = section < 0 ? header->count() : section + 1;

    // A column's border belongs to the header, which resizes the column and
    // never selects: its sections are not clickable.
    if (m_drag == Drag::ColumnBorder) {
        if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
            m_drag = Drag::None;
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (mouse->button() == Qt::LeftButton)
            m_drag = Drag::None;
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        // Hovering over a border shows the resize pointer.
        if (columns && mouse->buttons() == Qt::NoButton)
            return false;
        const Drag wanted = columns ? Drag::Columns : Drag::Rows;
        if (m_drag != wanted || !mouse->buttons().testFlag(Qt::LeftButton))
            return true;
        // A header lines up with the cell area along its own direction.
        m_dragPos = columns ? QPoint(pos.x(), 0) : QPoint(0, pos.y());
        dragStep();
        return true;
    }
    // A press or a double click.
    if (mouse->button() == Qt::RightButton) {
        Q_EMIT popUpRequested(mouse->globalPosition().toPoint());
        return true;
    }
    if (mouse->button() != Qt::LeftButton)
        return true;
    if (columns && isOnColumnBorder(*header, pos.x())) {
        m_drag = Drag::ColumnBorder;
        return false;
    }
    setFocus(Qt::MouseFocusReason);
    m_drag = columns ? Drag::Columns : Drag::Rows;
    const bool extend = mouse->modifiers().testFlag(Qt::ShiftModifier);
    columns ? clickColumnHeader(m_table, cell, extend) : clickRowHeader(m_table, cell, extend);
    return true;
}

bool RouteView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu &&
        (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        Q_EMIT popUpRequested(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    const bool columns = watched == horizontalHeader()->viewport();
    const bool rows = watched == verticalHeader()->viewport();
    if (!columns && !rows)
        return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return handleHeaderMouse(columns, event);
    case QEvent::ToolTip:
        showCellToolTip(static_cast<QHelpEvent *>(event)->globalPos());
        return true;
    default:
        return QTableView::eventFilter(watched, event);
    }
}

bool RouteView::viewportEvent(QEvent *event)
{
    // The grid has one tooltip for all of it, not one per cell.
    if (event->type() == QEvent::ToolTip) {
        showCellToolTip(static_cast<QHelpEvent *>(event)->globalPos());
        return true;
    }
    return QTableView::viewportEvent(event);
}

void RouteView::showCellToolTip(const QPoint &globalPos)
{
    // A cell's own word comes first: its marks, or the whole of a text its
    // column cuts short. The grid's hint stands everywhere else.
    QString tip = cellToolTip(viewport()->mapFromGlobal(globalPos));
    if (tip.isEmpty())
        tip = toolTip();
    else if (Qt::mightBeRichText(tip))
        tip = u"<p style='white-space:pre'>"_s + tip.toHtmlEscaped() + u"</p>"_s;
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, tip, this);
}

QString RouteView::cellToolTip(const QPoint &viewportPos) const
{
    if (!viewport()->rect().contains(viewportPos))
        return {};
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return {};
    if (QString marks = index.data(Qt::ToolTipRole).toString(); !marks.isEmpty())
        return marks;
    // The whole text, not the part the cell is given to draw.
    const std::string &cell = m_table.cellText(index.row() + 1, index.column() + 1);
    if (cell.size() > MaxToolTipChars)
        return toQString(std::string_view(cell).substr(0, MaxToolTipChars)) + QChar(0x2026);
    const QString text = toQString(cell);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (fontMetrics().horizontalAdvance(text) <= columnWidth(index.column()) - 2 * margin)
        return {};
    return text;
}

} // namespace plenix
