// SPDX-License-Identifier: GPL-3.0-or-later
#include "routeview.h"

#include "celldelegate.h"
#include "editing.h"
#include "gridnavigation.h"
#include "layout.h"
#include "marks.h"
#include "textcodec.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

using plenix::Int16;
using plenix::LastGridCol;
using plenix::NavKey;
using plenix::RouteTable;
using namespace Qt::StringLiterals;

namespace {

// The grid's rows are one line of text high, as a route list is read line by line.
constexpr int RowHeightTwips = 240;
constexpr qreal GridPointSize = 8.25;
// How often a drag held beyond the cell area's edge scrolls on by one step.
constexpr int AutoScrollMs = 60;
// A giant cell's tooltip shows its beginning only.
constexpr std::size_t MaxToolTipChars = 2000;

std::optional<NavKey> navKey(int key)
{
    static constexpr std::array<std::pair<int, NavKey>, 8> keys{{
        {Qt::Key_Up, NavKey::Up},
        {Qt::Key_Down, NavKey::Down},
        {Qt::Key_Left, NavKey::Left},
        {Qt::Key_Right, NavKey::Right},
        {Qt::Key_PageUp, NavKey::PageUp},
        {Qt::Key_PageDown, NavKey::PageDown},
        {Qt::Key_Home, NavKey::Home},
        {Qt::Key_End, NavKey::End},
    }};
    for (const auto &[qtKey, navKey] : keys) {
        if (qtKey == key)
            return navKey;
    }
    return std::nullopt;
}

} // namespace

RouteView::RouteView(RouteTable &table, plenix::RouteMarks &marks, QWidget *parent)
    : QTableView(parent), m_table(table), m_marks(marks),
      m_model(new RouteModel(table, marks, this))
{
    setModel(m_model);
    setItemDelegate(new CellDelegate(this));

    // Typing goes into the table through the key handler; there is no
    // in-place editor, and the selection and the scrolling are the table's,
    // not Qt's.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    // A text wider than its column ends in an ellipsis; its tooltip has it all.
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setFocusPolicy(Qt::StrongFocus);

    // The column widths were chosen for a small 8-point sans-serif face; the
    // platform's sans-serif at that size keeps a fitting's description
    // inside its column.
    QFont cells = font();
    cells.setPointSizeF(GridPointSize);
    setFont(cells);
    horizontalHeader()->setFont(cells);
    verticalHeader()->setFont(cells);

    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(0);
        header->setHighlightSections(false);
        header->setSectionsClickable(false);
        header->setTextElideMode(Qt::ElideNone);
        // A header wider than its column breaks onto a second line rather than
        // being cut off: the column widths are fixed, the fonts are not.
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter |
                                    Qt::Alignment(Qt::TextWordWrap));
        // Header presses select whole columns or rows, handled here.
        header->viewport()->installEventFilter(this);
    }

    // The wheel, the scroll bars and a resize scroll the view itself; the
    // table follows.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_mirroring)
            m_table.setTopRow(static_cast<Int16>(value + 1));
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_mirroring)
            m_table.setLeftCol(static_cast<Int16>(value + 1));
    });

    // A right click on a scroll bar opens the grid's pop-up, not the bar's own.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()})
        bar->installEventFilter(this);
    m_autoScroll.setInterval(AutoScrollMs);
    connect(&m_autoScroll, &QTimer::timeout, this, &RouteView::dragStep);

    m_table.addListener(this, [this](const plenix::TableChange &change) { showTableChange(change); });
    m_marks.setListener(
        [this](const plenix::CellRange &marked) { m_model->notifyMarksChanged(marked); });
    setUpColumns();
    showCursor();
    showScroll();
}

RouteView::~RouteView()
{
    m_marks.setListener({});
    m_table.removeListener(this);
}

int RouteView::twipsToPixels(int twips, bool horizontal) const
{
    return plenix::twipsToPixels(twips, horizontal ? logicalDpiX() : logicalDpiY());
}

plenix::Viewport RouteView::measure() const
{
    return {viewport()->width(), viewport()->height(), rowHeight(0), double(logicalDpiX())};
}

void RouteView::setUpColumns()
{
    for (int col = 1; col <= LastGridCol; ++col)
        setColumnWidth(col - 1, twipsToPixels(m_table.colWidthTwips(col), true));
    verticalHeader()->setFixedWidth(
        twipsToPixels(m_table.colWidthTwips(RouteTable::ColRowNumber), true));
    const int rowHeight =
        std::max(twipsToPixels(RowHeightTwips, false), fontMetrics().height() + 4);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(2 * fontMetrics().lineSpacing() + 6);
}

void RouteView::showTableChange(const plenix::TableChange &change)
{
    ++m_notifications;
    if (!change.cells.isEmpty()) {
        m_model->notifyCellsChanged(change.cells);
        if (change.cells.top == 0 || change.cells.left == 0)
            setUpColumns();
    }
    if (change.cursorMoved)
        showCursor();
    if (change.scrolled)
        showScroll();
}

void RouteView::showCursor()
{
    QScopedValueRollback<bool> mirroring(m_mirroring, true);
    const plenix::CellRange range = m_table.selection();
    QItemSelectionModel *selection = selectionModel();
    selection->setCurrentIndex(m_model->cellIndex(m_table.currentRow(), m_table.currentCol()),
                               QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(m_model->cellIndex(range.top, range.left),
                                     m_model->cellIndex(range.bottom, range.right)),
                      QItemSelectionModel::ClearAndSelect);
}

void RouteView::showScroll()
{
    QScopedValueRollback<bool> mirroring(m_mirroring, true);
    verticalScrollBar()->setValue(m_table.topRow() - 1);
    horizontalScrollBar()->setValue(m_table.leftCol() - 1);
}

void RouteView::keyPressEvent(QKeyEvent *event)
{
    // Delete and Enter act alike whatever modifier is held.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Q_EMIT enterPressed();
        return;
    case Qt::Key_Delete:
        event->accept();
        plenix::deleteSelection(m_table);
        return;
    case Qt::Key_Backspace:
        event->accept();
        m_marks.typeChar(plenix::BackspaceCode);
        return;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (event->key() == Qt::Key_Menu || event->modifiers() == Qt::ShiftModifier) {
            event->accept();
            // At the current cell, or at the cell area's edge nearest it.
            const QRect cell =
                visualRect(m_model->cellIndex(m_table.currentRow(), m_table.currentCol()));
            const QRect area = viewport()->rect();
            const QPoint at(std::clamp(cell.left(), 0, area.right()),
                            std::clamp(cell.bottom(), 0, area.bottom()));
            Q_EMIT popUpRequested(viewport()->mapToGlobal(at));
            return;
        }
        break;
    default:
        break;
    }
    if (const std::optional<NavKey> key = navKey(event->key())) {
        event->accept();
        const Qt::KeyboardModifiers held = event->modifiers();
        plenix::moveByKey(m_table, *key,
                          {.shift = held.testFlag(Qt::ShiftModifier),
                           .control = held.testFlag(Qt::ControlModifier)},
                          measure());
        return;
    }
    // Control and Alt combinations are commands, not characters.
    const QString text = event->text();
    if (text.isEmpty() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        event->ignore();
        return;
    }
    event->accept();
    RouteTable::Batch batch(m_table);
    const QList<uint> codes = text.toUcs4();
    for (const uint code : codes)
        m_marks.typeChar(static_cast<char32_t>(code));
}

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
    plenix::clickCell(m_table, index.row() + 1, index.column() + 1,
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
    const plenix::Viewport view = measure();
    const bool pastX = m_dragPos.x() < 0 || m_dragPos.x() >= view.width;
    const bool pastY = m_dragPos.y() < 0 || m_dragPos.y() >= view.height;
    bool past = false;
    switch (m_drag) {
    case Drag::None:
        break;
    case Drag::Cells:
        plenix::dragTo(m_table, m_dragPos.x(), m_dragPos.y(), view);
        past = pastX || pastY;
        break;
    case Drag::Columns:
        plenix::dragColumnHeader(m_table, m_dragPos.x(), view);
        past = pastX;
        break;
    case Drag::Rows:
        plenix::dragRowHeader(m_table, m_dragPos.y(), view);
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

    if (event->type() == QEvent::MouseButtonRelease) {
        if (mouse->button() == Qt::LeftButton)
            m_drag = Drag::None;
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
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
    setFocus(Qt::MouseFocusReason);
    m_drag = columns ? Drag::Columns : Drag::Rows;
    columns ? plenix::clickColumnHeader(m_table, cell) : plenix::clickRowHeader(m_table, cell);
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
