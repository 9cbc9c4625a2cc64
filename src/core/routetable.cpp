// SPDX-License-Identifier: GPL-3.0-or-later
#include "routetable.h"

#include "calculation/method.h"

#include <algorithm>

namespace plenix {

namespace {

constexpr std::array<int, RouteTable::ColCount> ColumnWidthsTwips{
    360, 750, 850, 1000, 850, 2010, 900, 1250, 900, 800, 1400, 10000,
};

Int16 clampRow(Int16 row)
{
    return std::clamp<Int16>(row, 1, RouteTable::DataRows);
}

Int16 clampCol(Int16 col)
{
    return std::clamp<Int16>(col, 1, RouteTable::ColCount - 1);
}
} // namespace

void CellRange::unite(const CellRange &other)
{
    if (other.isEmpty())
        return;
    if (isEmpty()) {
        *this = other;
        return;
    }
    top = std::min(top, other.top);
    left = std::min(left, other.left);
    bottom = std::max(bottom, other.bottom);
    right = std::max(right, other.right);
}

RouteTable::RouteTable() = default;

void RouteTable::setUp()
{
    Batch batch(*this);
    m_colWidths = ColumnWidthsTwips;
    setHeaderTexts(method::columnCaptions({}));
    for (int row = 1; row <= DataRows; ++row)
        setCellText(row, 0, " " + std::to_string(row));
    goHome();
}

void RouteTable::setHeaderTexts(const HeaderTexts &texts)
{
    Batch batch(*this);
    m_headerLine.clear();
    for (int col = 1; col <= DataCols; ++col) {
        setCellText(0, col, texts[static_cast<std::size_t>(col - 1)]);
        if (col > 1)
            m_headerLine += '\t';
        m_headerLine += cellText(0, col);
    }
    m_headerLine += '\r';
}

void RouteTable::clear()
{
    Batch batch(*this);
    setCurrentCell(1, 1);
    setSelectionEnd(DataRows, DataCols);
    setCurrentText("");
    goHome();
}

void RouteTable::goHome()
{
    Batch batch(*this);
    setCurrentCell(1, 1);
    setLeftCol(1);
    setTopRow(1);
}

void RouteTable::selectRows(Int16 firstRow, Int16 lastRow)
{
    Batch batch(*this);
    setCurrentCell(firstRow, 1);
    setSelectionEnd(lastRow, DataCols);
}

Int16 RouteTable::lastUsedRow(Int16 startRow) const
{
    const int first = std::max<int>(startRow, 1);
    for (int row = DataRows; row >= first; --row) {
        for (int col = 1; col <= DataCols; ++col) {
            if (!cellText(row, col).empty())
                return static_cast<Int16>(row);
        }
    }
    return 0;
}

const std::string &RouteTable::cellText(int row, int col) const
{
    static const std::string none;
    if (!isCell(row, col))
        return none;
    return m_cells[index(row, col)];
}

void RouteTable::setCellText(int row, int col, std::string_view text)
{
    if (!isCell(row, col))
        return;
    std::string &target = cell(row, col);
    if (target == text)
        return;
    Batch batch(*this);
    if (m_writeHook)
        m_writeHook(row, col, target);
    target.assign(text);
    markCell(row, col);
}

bool RouteTable::setCurrentText(std::string_view text)
{
    Batch batch(*this);
    const CellRange range = selection();
    CellSizes after = cellSizes();
    for (int row = std::max(range.top, 1); row <= range.bottom; ++row) {
        for (int col = std::max(range.left, 1); col <= std::min<int>(range.right, DataCols); ++col)
            after[static_cast<std::size_t>((row - 1) * DataCols + col - 1)] = text.size();
    }
    if (!admits(after))
        return false;
    for (int row = range.top; row <= range.bottom; ++row) {
        for (int col = range.left; col <= range.right; ++col)
            setCellText(row, col, text);
    }
    return true;
}

RouteTable::CellSizes RouteTable::cellSizes() const
{
    CellSizes sizes{};
    for (int row = 1; row <= DataRows; ++row) {
        for (int col = 1; col <= DataCols; ++col)
            sizes[static_cast<std::size_t>((row - 1) * DataCols + col - 1)] =
                cellText(row, col).size();
    }
    return sizes;
}

std::size_t RouteTable::rowsTextSize(const CellSizes &sizes)
{
    std::size_t total = 0;
    std::size_t usedRows = 0;
    for (std::size_t row = 0; row < DataRows; ++row) {
        for (std::size_t col = 0; col < DataCols; ++col) {
            const std::size_t size = sizes[row * DataCols + col];
            total += size;
            if (size > 0)
                usedRows = row + 1;
        }
    }
    // Nine TABs in every row, a CR between rows.
    return usedRows == 0 ? 0 : total + usedRows * DataCols - 1;
}

std::size_t RouteTable::rowsTextSize() const
{
    return rowsTextSize(cellSizes());
}

bool RouteTable::admits(const CellSizes &after)
{
    const std::size_t size = rowsTextSize(after);
    if (size <= m_textLimit || size <= rowsTextSize())
        return true;
    Batch batch(*this);
    m_pending.refused = true;
    return false;
}

std::string RouteTable::blockText(const CellRange &range) const
{
    std::string text;
    for (int row = range.top; row <= range.bottom; ++row) {
        if (row > range.top)
            text += '\r';
        for (int col = range.left; col <= range.right; ++col) {
            if (col > range.left)
                text += '\t';
            text += cellText(row, col);
        }
    }
    return text;
}

std::string RouteTable::rowsText(Int16 firstRow, Int16 lastRow) const
{
    return blockText({firstRow, 1, lastRow, DataCols});
}

// Calls visit(row, col, field) for each field of a block text in the
// selection, in order.
template <typename Visit>
void RouteTable::forEachBlockField(std::string_view text, Visit visit) const
{
    const CellRange range = selection();
    int row = range.top;
    std::size_t lineStart = 0;
    while (row <= range.bottom) {
        const std::size_t lineEnd = std::min(text.find('\r', lineStart), text.size());
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        int col = range.left;
        std::size_t fieldStart = 0;
        while (col <= range.right) {
            const std::size_t fieldEnd = std::min(line.find('\t', fieldStart), line.size());
            visit(row, col, line.substr(fieldStart, fieldEnd - fieldStart));
            ++col;
            if (fieldEnd == line.size())
                break;
            fieldStart = fieldEnd + 1;
        }
        ++row;
        if (lineEnd == text.size())
            break;
        lineStart = lineEnd + 1;
    }
}

bool RouteTable::setBlockText(std::string_view text)
{
    Batch batch(*this);
    CellSizes after = cellSizes();
    forEachBlockField(text, [&after](int row, int col, std::string_view field) {
        if (isDataRow(row) && col >= 1 && col <= DataCols)
            after[static_cast<std::size_t>((row - 1) * DataCols + col - 1)] = field.size();
    });
    if (!admits(after))
        return false;
    forEachBlockField(
        text, [this](int row, int col, std::string_view field) { setCellText(row, col, field); });
    return true;
}

void RouteTable::setCurrentRow(Int16 row)
{
    setCurrentCell(row, m_col);
}

void RouteTable::setCurrentCol(Int16 col)
{
    setCurrentCell(m_row, col);
}

void RouteTable::setCurrentCell(Int16 row, Int16 col)
{
    row = clampRow(row);
    col = clampCol(col);
    if (row == m_row && col == m_col && m_rowSel == row && m_colSel == col)
        return;
    Batch batch(*this);
    m_row = m_rowSel = row;
    m_col = m_colSel = col;
    markCursor();
}

void RouteTable::setSelectionRow(Int16 row)
{
    setSelectionEnd(row, m_colSel);
}

void RouteTable::setSelectionCol(Int16 col)
{
    setSelectionEnd(m_rowSel, col);
}

void RouteTable::setSelectionEnd(Int16 row, Int16 col)
{
    row = clampRow(row);
    col = clampCol(col);
    if (row == m_rowSel && col == m_colSel)
        return;
    Batch batch(*this);
    m_rowSel = row;
    m_colSel = col;
    markCursor();
}

CellRange RouteTable::selection() const
{
    return {std::min(m_row, m_rowSel), std::min(m_col, m_colSel), std::max(m_row, m_rowSel),
            std::max(m_col, m_colSel)};
}

void RouteTable::setTopRow(Int16 row)
{
    row = clampRow(row);
    if (row == m_topRow)
        return;
    Batch batch(*this);
    m_topRow = row;
    m_pending.scrolled = true;
}

void RouteTable::setLeftCol(Int16 col)
{
    col = clampCol(col);
    if (col == m_leftCol)
        return;
    Batch batch(*this);
    m_leftCol = col;
    m_pending.scrolled = true;
}

int RouteTable::colWidthTwips(int col) const
{
    if (col < 0 || col >= ColCount)
        return 0;
    return m_colWidths[static_cast<std::size_t>(col)];
}

void RouteTable::setColWidthTwips(int col, int twips)
{
    if (col >= 1 && col < ColCount)
        m_colWidths[static_cast<std::size_t>(col)] = std::max(twips, 0);
}

void RouteTable::markCell(int row, int col)
{
    m_pending.cells.unite({row, col, row, col});
}

void RouteTable::endBatch()
{
    if (--m_batchDepth > 0)
        return;
    const bool changed = !m_pending.cells.isEmpty() || m_pending.cursorMoved ||
                         m_pending.scrolled || m_pending.refused;
    if (!changed)
        return;
    const TableChange change = m_pending;
    m_pending = {};
    // A copy, so that a listener may add or remove listeners while it runs.
    const auto listeners = m_listeners;
    for (const auto &entry : listeners)
        entry.second(change);
}

void RouteTable::addListener(const void *owner, Listener listener)
{
    m_listeners.emplace_back(owner, std::move(listener));
}

void RouteTable::removeListener(const void *owner)
{
    std::erase_if(m_listeners, [owner](const auto &entry) { return entry.first == owner; });
}

} // namespace plenix
