// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Marks the grid draws over the route without touching a text: result cells
// that no longer follow from the inputs, and input cells whose text does not
// say plainly what number Calculate will take from it.
namespace plenix {

// The columns Calculate reads a number from.
bool isNumericInputCol(int col);

struct InputReading
{
    // The text is not one plain number (letters, inner blanks, units, more
    // than one point, a radix prefix), or it holds digits but reads as 0.
    bool doubtful = false;
    // What Calculate takes from the text, as the tooltip names it.
    std::string value;
};

// How Calculate reads an input cell's text in the column. An empty text is
// not doubtful: it means the value in force. A table that takes shapes
// reads its size cells as sizes.
InputReading readInput(std::string_view text, int col, bool takesShapes = false);

// Follows the table and keeps the marks. Results go out of date from the
// first row whose inputs differ from those of the Calculate that gave the
// results shown, down to the route's last used row, so an edit undone or
// typed back leaves them current, and so does undoing back to the results
// of an earlier Calculate or of the file as opened;
// a typed character the grid's filter left out of a numeric input
// cell marks that cell until its text is replaced or emptied.
class RouteMarks final
{
public:
    // Told which cells draw differently after a change of the marks.
    using Listener = std::function<void(const CellRange &)>;

    explicit RouteMarks(RouteTable &table);
    ~RouteMarks();
    RouteMarks(const RouteMarks &) = delete;
    RouteMarks &operator=(const RouteMarks &) = delete;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    // The first row whose results are out of date, or 0.
    int firstStaleRow() const { return m_firstStale; }
    bool isStale(int row, int col) const;
    bool isDoubtful(int row, int col) const;
    // The characters typing left out of the cell, in the order typed.
    const std::u32string &droppedChars(int row, int col) const;

    // A typed character, through the grid's filter; one the filter drops from
    // a numeric input column is remembered on the selected cells.
    void typeChar(char32_t code);
    // Calculate has run to the end: every result follows from the inputs.
    void calculated();
    // Open and New: the texts came together, nothing is out of date.
    void reset();

private:
    void followTable(const TableChange &change);
    void setFirstStale(int row);
    using CellHashes = std::array<std::size_t, RouteTable::RowCount * RouteTable::ColCount>;
    // Inputs and results that belong together: those of a Calculate that ran
    // to the end, or of the route as opened.
    struct Consistent
    {
        CellHashes inputs;
        CellHashes results;
    };
    void hashCells(int top, int bottom);
    void noteConsistent();
    int firstStaleNow() const;
    void report(const CellRange &cells) const;
    std::u32string &dropped(int row, int col);

    RouteTable &m_table;
    Listener m_listener;
    int m_firstStale = 0;
    int m_lastUsed = 0;
    // The cells typing has written since the table last reported; a batch
    // may hold back the report until after several characters.
    CellRange m_typed;
    std::array<std::u32string, RouteTable::RowCount * RouteTable::ColCount> m_dropped;
    // The input and result cells' texts as hashes, now and at the last few
    // consistent states, newest last: a copy of the texts would double the
    // memory of a route of huge cells.
    static constexpr std::size_t MaxConsistent = 16;
    CellHashes m_inputs{};
    CellHashes m_results{};
    std::vector<Consistent> m_consistent;
};

} // namespace plenix
