// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks.h"

#include "calculation/ductsection.h"
#include "editing.h"
#include "fittings.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <variant>

namespace plenix {

namespace {

constexpr int FirstResultCol = RouteTable::ColItemSP;
constexpr int LastResultCol = RouteTable::ColRouteSP;

bool hasNonZeroDigit(std::string_view text)
{
    return std::ranges::any_of(text, [](char c) { return c >= '1' && c <= '9'; });
}

// Control characters are keys, not typing mistakes.
bool isPrintable(char32_t code)
{
    return code >= 32 && code != 127;
}

} // namespace

bool isNumericInputCol(int col)
{
    return (col >= RouteTable::ColQty && col <= RouteTable::ColLength) ||
           col == RouteTable::ColLossCoef;
}

InputReading readInput(std::string_view text, int col, bool takesShapes)
{
    if (text.empty())
        return {};
    if (takesShapes && col == RouteTable::ColDiameter) {
        const auto size = section::readSection(text);
        if (const auto *read = std::get_if<section::Section>(&size))
            return {false, section::sectionText(*read)};
        return {true, "no size: write 12, 24x12, 24x12 oval or 12 flex"};
    }
    const double number = numberFromText(text);
    // A count is rounded to a whole one; every other input is single precision.
    const double used = col == RouteTable::ColQty ? std::nearbyint(number) : number;
    InputReading reading;
    reading.value = std::isfinite(used) ? decimalText(toSingle(used)) : std::string(NumMarker);
    reading.doubtful =
        !isNumericReply(text) || (number == 0 && hasNonZeroDigit(text)) || !std::isfinite(number);
    return reading;
}

RouteMarks::RouteMarks(RouteTable &table) : m_table(table)
{
    m_lastUsed = m_table.lastUsedRow(1);
    hashCells(1, RouteTable::DataRows);
    noteConsistent();
    m_table.addListener(this, [this](const TableChange &change) { followTable(change); });
}

RouteMarks::~RouteMarks()
{
    m_table.removeListener(this);
}

bool RouteMarks::isStale(int row, int col) const
{
    return m_firstStale > 0 && row >= m_firstStale && row <= m_lastUsed && col >= FirstResultCol &&
           col <= LastResultCol;
}

bool RouteMarks::isDoubtful(int row, int col) const
{
    if (!RouteTable::isDataRow(row) || !isNumericInputCol(col))
        return false;
    return !droppedChars(row, col).empty() ||
           readInput(m_table.cellText(row, col), col, m_table.takesShapes()).doubtful;
}

const std::u32string &RouteMarks::droppedChars(int row, int col) const
{
    return m_dropped[static_cast<std::size_t>(row * RouteTable::ColCount + col)];
}

std::u32string &RouteMarks::dropped(int row, int col)
{
    return m_dropped[static_cast<std::size_t>(row * RouteTable::ColCount + col)];
}

void RouteMarks::typeChar(char32_t code)
{
    const bool dropping =
        isPrintable(code) && !isCharAccepted(code, m_table.selectionCol(), m_table.takesShapes());
    if (dropping) {
        const CellRange selection = m_table.selection();
        CellRange marked;
        for (int row = selection.top; row <= selection.bottom; ++row) {
            for (int col = selection.left; col <= selection.right; ++col) {
                std::u32string &chars = dropped(row, col);
                if (!isNumericInputCol(col) || chars.find(code) != std::u32string::npos)
                    continue;
                chars += code;
                marked.unite({row, col, row, col});
            }
        }
        report(marked);
        return;
    }
    // Noted before the write, which the table may report at once.
    const bool writes = code == BackspaceCode
                            ? !m_table.currentText().empty()
                            : isCharAccepted(code, m_table.selectionCol(), m_table.takesShapes());
    if (writes)
        m_typed.unite(m_table.selection());
    plenix::typeChar(m_table, code);
}

void RouteMarks::calculated()
{
    noteConsistent();
    setFirstStale(0);
}

void RouteMarks::reset()
{
    hashCells(1, RouteTable::DataRows);
    m_consistent.clear();
    noteConsistent();
    setFirstStale(0);
    for (std::u32string &chars : m_dropped)
        chars.clear();
    report({1, 1, RouteTable::DataRows, RouteTable::DataCols});
}

void RouteMarks::followTable(const TableChange &change)
{
    const CellRange &cells = change.cells;
    const CellRange typed = std::exchange(m_typed, {});
    if (cells.isEmpty())
        return;
    const int top = std::max(cells.top, 1);
    const int bottom = std::min<int>(cells.bottom, RouteTable::DataRows);
    bool figuresChanged = false;
    for (int col = std::max(cells.left, 1); col <= std::min(cells.right, int(RouteTable::DataCols));
         ++col) {
        if (top <= bottom && col >= FirstResultCol && col <= LastResultCol)
            figuresChanged = true;
        if (!isNumericInputCol(col))
            continue;
        if (top <= bottom)
            figuresChanged = true;
        // Typing more characters keeps what was left out; any other new
        // text, or an emptied cell, ends it.
        for (int row = top; row <= bottom; ++row) {
            if (!typed.contains(row, col) || m_table.cellText(row, col).empty())
                dropped(row, col).clear();
        }
    }
    const int lastUsed = m_table.lastUsedRow(1);
    CellRange redraw;
    if (lastUsed != m_lastUsed && m_firstStale > 0)
        redraw = {m_firstStale, FirstResultCol, std::max(lastUsed, m_lastUsed), LastResultCol};
    m_lastUsed = lastUsed;
    report(redraw);
    if (figuresChanged) {
        hashCells(top, bottom);
        setFirstStale(firstStaleNow());
    }
}

void RouteMarks::hashCells(int top, int bottom)
{
    for (int row = top; row <= bottom; ++row) {
        for (int col = 1; col <= RouteTable::DataCols; ++col) {
            // Only the figures count: a huge description is never hashed.
            const auto cell = static_cast<std::size_t>(row * RouteTable::ColCount + col);
            const auto hash = [&] { return std::hash<std::string>{}(m_table.cellText(row, col)); };
            if (isNumericInputCol(col))
                m_inputs[cell] = hash();
            else if (col >= FirstResultCol && col <= LastResultCol)
                m_results[cell] = hash();
        }
    }
}

void RouteMarks::noteConsistent()
{
    if (m_consistent.size() == MaxConsistent)
        m_consistent.erase(m_consistent.begin());
    m_consistent.push_back({m_inputs, m_results});
}

namespace {

// The first row whose inputs differ, or 0.
template <typename Hashes> int firstDifferentRow(const Hashes &now, const Hashes &then)
{
    const auto rowSize = static_cast<std::ptrdiff_t>(RouteTable::ColCount);
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        const auto begin = row * rowSize;
        if (!std::equal(now.begin() + begin, now.begin() + begin + rowSize, then.begin() + begin))
            return row;
    }
    return 0;
}

} // namespace

int RouteMarks::firstStaleNow() const
{
    // The results shown are those of a consistent state when they are all
    // its results: then only inputs changed since count, and the state
    // that leaves the fewest rows out of date wins. Results typed over are
    // judged against the latest Calculate.
    int fewest = -1;
    for (const Consistent &state : m_consistent) {
        if (state.results != m_results)
            continue;
        const int row = firstDifferentRow(m_inputs, state.inputs);
        if (row == 0)
            return 0;
        fewest = std::max(fewest, row);
    }
    return fewest > 0 ? fewest : firstDifferentRow(m_inputs, m_consistent.back().inputs);
}

void RouteMarks::setFirstStale(int row)
{
    if (row == m_firstStale)
        return;
    const int from =
        std::min(row == 0 ? m_firstStale : row, m_firstStale == 0 ? row : m_firstStale);
    m_firstStale = row;
    report({from, FirstResultCol, RouteTable::DataRows, LastResultCol});
}

void RouteMarks::report(const CellRange &cells) const
{
    if (!cells.isEmpty() && m_listener)
        m_listener(cells);
}

} // namespace plenix
