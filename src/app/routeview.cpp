// SPDX-License-Identifier: GPL-3.0-or-later
#include "routeview.h"

#include "celldelegate.h"
#include "editing.h"
#include "gridnavigation.h"
#include "layout.h"
#include "marks.h"
#include "textcodec.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

// The grid's rows are one line of text high, as a route list is read line by line.
constexpr int RowHeightTwips = 240;
constexpr qreal GridPointSize = 8.25;
// How often a drag held beyond the cell area's edge scrolls on by one step.
constexpr int AutoScrollMs = 60;

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

RouteView::RouteView(RouteTable &table, RouteMarks &marks, QWidget *parent)
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
        header->setSectionResizeMode(header == horizontalHeader() ? QHeaderView::Interactive
                                                                  : QHeaderView::Fixed);
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

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int newSize) { followColumnResize(logical, newSize); });

    m_table.addListener(this, [this](const TableChange &change) { showTableChange(change); });
    m_marks.setListener([this](const CellRange &marked) { m_model->notifyMarksChanged(marked); });
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

Viewport RouteView::measure() const
{
    return {viewport()->width(), viewport()->height(), rowHeight(0), double(logicalDpiX())};
}

void RouteView::showRow(int row)
{
    if (row < 1 || row > RouteTable::DataRows)
        return;
    m_table.selectRows(static_cast<Int16>(row), static_cast<Int16>(row));
    scrollIntoView(m_table, row, 1, measure());
}

void RouteView::showStaticPressures(const QString &caption,
                                    std::function<std::vector<QString>()> texts)
{
    m_model->setStaticPressures(caption, std::move(texts));
    showColumnWidths();
}

void RouteView::setChosenWidths(const QList<int> &twips)
{
    if (twips.size() != LastGridCol)
        return;
    m_chosenWidths = twips;
    showColumnWidths();
}

void RouteView::showColumnWidths()
{
    const QScopedValueRollback<bool> mirroring(m_mirroring, true);
    int others = 0;
    for (int col = 1; col <= LastGridCol; ++col) {
        // The static pressure is a column of figures like Route SP's.
        const bool figures = col == RouteTable::ColSpare && m_model->showsStaticPressures();
        const int width =
            twipsToPixels(m_chosenWidths.at((figures ? RouteTable::ColRouteSP : col) - 1), true);
        setColumnWidth(col - 1, width);
        // The description gives up the room the other columns need, the
        // static pressure's too; the bare spare column lies beyond the edge.
        if (col != RouteTable::ColDescription && (col != RouteTable::ColSpare || figures))
            others += width;
    }
    const int description =
        std::max(columnWidth(RouteTable::ColDescription - 1), viewport()->width() - others);
    setColumnWidth(RouteTable::ColDescription - 1, description);
    // A column the table already has at this width keeps its exact twips.
    for (int col = 1; col <= LastGridCol; ++col) {
        if (twipsToPixels(m_table.colWidthTwips(col), true) != columnWidth(col - 1))
            m_table.setColWidthTwips(col, int(pixelsToTwips(columnWidth(col - 1), logicalDpiX())));
    }
}

void RouteView::followColumnResize(int logical, int newSize)
{
    if (m_mirroring)
        return;
    if (twipsToPixels(m_chosenWidths.at(logical), true) != newSize)
        m_chosenWidths[logical] = int(pixelsToTwips(newSize, logicalDpiX()));
    showColumnWidths();
    showScroll();
    Q_EMIT chosenWidthsChanged();
}

void RouteView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    showColumnWidths();
}

void RouteView::setUpColumns()
{
    if (m_chosenWidths.isEmpty()) {
        for (int col = 1; col <= LastGridCol; ++col)
            m_chosenWidths << m_table.colWidthTwips(col);
    }
    showColumnWidths();
    verticalHeader()->setFixedWidth(
        twipsToPixels(m_table.colWidthTwips(RouteTable::ColRowNumber), true));
    const int rowHeight =
        std::max(twipsToPixels(RowHeightTwips, false), fontMetrics().height() + 4);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(2 * fontMetrics().lineSpacing() + 6);
}

void RouteView::showTableChange(const TableChange &change)
{
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
    const CellRange range = m_table.selection();
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
    // The static pressure column shows figures worked out, which no typing
    // would change.
    const bool figuresOnly =
        m_model->showsStaticPressures() && m_table.selection().left == RouteTable::ColSpare;
    // Delete and Enter act alike whatever modifier is held.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Q_EMIT enterPressed();
        return;
    case Qt::Key_Delete:
        event->accept();
        if (!figuresOnly)
            deleteSelection(m_table);
        return;
    case Qt::Key_Backspace:
        event->accept();
        if (!figuresOnly)
            m_marks.typeChar(BackspaceCode);
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
        moveByKey(m_table, *key,
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
    if (figuresOnly)
        return;
    RouteTable::Batch batch(m_table);
    const QList<uint> codes = text.toUcs4();
    for (const uint code : codes)
        m_marks.typeChar(static_cast<char32_t>(code));
}

} // namespace plenix
