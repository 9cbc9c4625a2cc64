#include "routegrid.h"

#include "editing.h"
#include "layout.h"
#include "textcodec.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

using plenix::Int16;
using plenix::RouteTable;

namespace {

constexpr int LastCol = RouteTable::ColCount - 1;
// The grid's rows are one line of text high, as a route list is read line by line.
constexpr int RowHeightTwips = 240;
constexpr qreal GridPointSize = 8.25;

Int16 clampedRow(int row)
{
    return static_cast<Int16>(std::clamp(row, 1, static_cast<int>(RouteTable::DataRows)));
}

Int16 clampedCol(int col)
{
    return static_cast<Int16>(std::clamp(col, 1, LastCol));
}

// Draws the current cell unhighlighted inside a heavy rectangle, so that it
// stands out from the rest of the selection even when the grid has no focus.
class CellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
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
};

} // namespace

// ---------------------------------------------------------------- RouteModel

RouteModel::RouteModel(const RouteTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
}

int RouteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RouteTable::DataRows;
}

int RouteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : LastCol;
}

QVariant RouteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return toQString(m_table.cellText(index.row() + 1, index.column() + 1));
    case Qt::TextAlignmentRole:
        // Numbers too stand at the left, as a route list is read.
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    default:
        return {};
    }
}

QVariant RouteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return toQString(m_table.cellText(0, section + 1));
    return toQString(m_table.cellText(section + 1, 0));
}

Qt::ItemFlags RouteModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QModelIndex RouteModel::cellIndex(int row, int col) const
{
    return index(row - 1, col - 1);
}

void RouteModel::notifyCellsChanged(const plenix::CellRange &cells)
{
    if (cells.isEmpty())
        return;
    const int top = std::max(cells.top, 1);
    const int left = std::max(cells.left, 1);
    const int bottom = std::min<int>(cells.bottom, RouteTable::DataRows);
    const int right = std::min(cells.right, LastCol);
    if (top <= bottom && left <= right)
        Q_EMIT dataChanged(cellIndex(top, left), cellIndex(bottom, right), {Qt::DisplayRole});
    if (cells.top == 0 && left <= right)
        Q_EMIT headerDataChanged(Qt::Horizontal, left - 1, right - 1);
    if (cells.left == 0 && top <= bottom)
        Q_EMIT headerDataChanged(Qt::Vertical, top - 1, bottom - 1);
}

// ----------------------------------------------------------------- RouteView

RouteView::RouteView(RouteTable &table, QWidget *parent)
    : QTableView(parent), m_table(table), m_model(new RouteModel(table, this))
{
    setModel(m_model);
    setItemDelegate(new CellDelegate(this));

    // Typing goes into the table through the key handler; there is no
    // in-place editor, and the selection is the table's, not Qt's.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
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

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_mirroring)
            m_table.setTopRow(clampedRow(value + 1));
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_mirroring)
            m_table.setLeftCol(clampedCol(value + 1));
    });

    m_table.addListener(this, [this](const plenix::TableChange &change) { showTableChange(change); });
    setUpColumns();
    showCursor();
    showScroll();
}

RouteView::~RouteView()
{
    m_table.removeListener(this);
}

int RouteView::twipsToPixels(int twips, bool horizontal) const
{
    return plenix::twipsToPixels(twips, horizontal ? logicalDpiX() : logicalDpiY());
}

void RouteView::setUpColumns()
{
    for (int col = 1; col <= LastCol; ++col)
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

void RouteView::moveCursor(int row, int col, bool extend)
{
    RouteTable::Batch batch(m_table);
    const Int16 r = clampedRow(row);
    const Int16 c = clampedCol(col);
    if (extend)
        m_table.setSelectionEnd(r, c);
    else
        m_table.setCurrentCell(r, c);
    // Scrolling moves the view's scroll bars, which report the new first row
    // and column to the table; the batch shows it all at once.
    scrollTo(m_model->cellIndex(r, c), QAbstractItemView::EnsureVisible);
}

// --------------------------------------------------------------------- keys

bool RouteView::handleNavigationKey(const QKeyEvent *event)
{
    const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    // Shift moves the selection end and leaves the current cell where it is.
    int row = extend ? m_table.selectionRow() : m_table.currentRow();
    int col = extend ? m_table.selectionCol() : m_table.currentCol();
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)) - 1);
    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        col = 1;
        if (control)
            row = 1;
        break;
    case Qt::Key_End:
        col = LastCol;
        if (control)
            row = RouteTable::DataRows;
        break;
    default:
        return false;
    }
    moveCursor(row, col, extend);
    return true;
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
        plenix::typeChar(m_table, plenix::BackspaceCode);
        return;
    default:
        break;
    }
    if (handleNavigationKey(event)) {
        event->accept();
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
        plenix::typeChar(m_table, static_cast<char32_t>(code));
}

// -------------------------------------------------------------------- mouse

QPoint RouteView::cellAtDrag(const QPoint &pos) const
{
    const int width = viewport()->width();
    const int height = viewport()->height();
    const auto lastVisible = [](int at, int count) { return at < 0 ? count - 1 : at; };

    int row = 0;
    if (pos.y() < 0) {
        row = std::max(rowAt(0), 0) - 1;
    } else if (pos.y() >= height) {
        row = lastVisible(rowAt(height - 1), m_model->rowCount()) + 1;
    } else {
        row = lastVisible(rowAt(pos.y()), m_model->rowCount());
    }
    int col = 0;
    if (pos.x() < 0) {
        col = std::max(columnAt(0), 0) - 1;
    } else if (pos.x() >= width) {
        col = lastVisible(columnAt(width - 1), m_model->columnCount()) + 1;
    } else {
        col = lastVisible(columnAt(pos.x()), m_model->columnCount());
    }
    return {col + 1, row + 1};
}

void RouteView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::RightButton) {
        Q_EMIT rightButtonPressed(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    m_drag = Drag::Cells;
    moveCursor(index.row() + 1, index.column() + 1,
                 event->modifiers().testFlag(Qt::ShiftModifier));
}

void RouteView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_drag != Drag::Cells || !event->buttons().testFlag(Qt::LeftButton))
        return;
    const QPoint cell = cellAtDrag(event->position().toPoint());
    moveCursor(cell.y(), cell.x(), true);
}

void RouteView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_drag = Drag::None;
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
    int section = header->logicalIndexAt(std::clamp(at, 0, std::max(extent - 1, 0)));
    if (section < 0)
        section = header->count() - 1;

    if (event->type() == QEvent::MouseButtonRelease) {
        if (mouse->button() == Qt::LeftButton)
            m_drag = Drag::None;
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const Drag wanted = columns ? Drag::Columns : Drag::Rows;
        if (m_drag != wanted || !mouse->buttons().testFlag(Qt::LeftButton))
            return true;
        if (columns)
            m_table.setSelectionEnd(RouteTable::DataRows, clampedCol(section + 1));
        else
            m_table.setSelectionEnd(clampedRow(section + 1), LastCol);
        return true;
    }
    // A press or a double click.
    if (mouse->button() == Qt::RightButton) {
        Q_EMIT rightButtonPressed(mouse->globalPosition().toPoint());
        return true;
    }
    if (mouse->button() != Qt::LeftButton)
        return true;
    setFocus(Qt::MouseFocusReason);
    RouteTable::Batch batch(m_table);
    if (columns) {
        // A column header selects the column's data cells, from the top.
        m_drag = Drag::Columns;
        m_table.setCurrentCell(1, clampedCol(section + 1));
        m_table.setSelectionEnd(RouteTable::DataRows, clampedCol(section + 1));
    } else {
        m_drag = Drag::Rows;
        m_table.setCurrentCell(clampedRow(section + 1), 1);
        m_table.setSelectionEnd(clampedRow(section + 1), LastCol);
    }
    return true;
}

bool RouteView::eventFilter(QObject *watched, QEvent *event)
{
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
    if (toolTip().isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, toolTip(), this);
}
