// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plenix {

using Int16 = std::int16_t;

// A rectangle of cells, inclusive on all four sides. An empty range has
// bottom < top.
struct CellRange
{
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;

    bool isEmpty() const { return bottom < top || right < left; }
    bool contains(int row, int col) const
    {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
    void unite(const CellRange &other);
    friend bool operator==(const CellRange &, const CellRange &) = default;
};

// What one operation on the table changed. The table reports it once per
// operation (or once per batch), never once per cell, so that a view can
// repaint a whole command in one go.
struct TableChange
{
    CellRange cells;          // cells whose text changed; empty when none did
    bool cursorMoved = false; // current cell or selection end
    bool scrolled = false;    // top row or left column
    bool refused = false;     // an edit was not made: the text limit forbade it
};

// The route grid's data: 61 rows by 12 columns of 8-bit text cells, with the
// grid control's cursor state. Row 0 holds the column headers and column 0
// the row numbers; rows 1..60 and columns 1..10 hold the route; column 11 is
// a spare that nothing reads or writes.
//
// Cells hold bytes in the program's 8-bit character set (Windows-1252), so a
// route file's bytes go into the cells unchanged.
class RouteTable final
{
public:
    static constexpr Int16 DataRows = 60;
    static constexpr Int16 DataCols = 10;
    static constexpr Int16 RowCount = DataRows + 1;
    static constexpr Int16 ColCount = DataCols + 2;

    enum Column : Int16
    {
        ColRowNumber = 0,
        ColQty = 1,
        ColFlow = 2,
        ColDiameter = 3,
        ColLength = 4,
        ColDescription = 5,
        ColLossCoef = 6,
        ColItemSP = 7,
        ColVP = 8,
        ColVelocity = 9,
        ColRouteSP = 10,
        ColSpare = 11,
    };

    using Listener = std::function<void(const TableChange &)>;
    // Sees a cell's text just before a write replaces it.
    using WriteHook = std::function<void(int row, int col, const std::string &before)>;

    RouteTable();
    RouteTable(const RouteTable &) = delete;
    RouteTable &operator=(const RouteTable &) = delete;

    using HeaderTexts = std::array<std::string_view, DataCols>;

    // Builds the headers, row numbers and column widths; once, at start-up.
    void setUp();
    // The captions of the data columns, as the list and Paste read them too.
    void setHeaderTexts(const HeaderTexts &texts);
    // Empties all 600 data cells, then goes home.
    void clear();
    // Cell (1, 1) current, scrolled to the top-left.
    void goHome();
    // Selects columns 1..10 of rows firstRow..lastRow, current cell (firstRow, 1).
    void selectRows(Int16 firstRow, Int16 lastRow);
    // The last data row at or after startRow with any text in columns 1..10, or 0.
    Int16 lastUsedRow(Int16 startRow) const;

    const std::string &cellText(int row, int col) const;
    void setCellText(int row, int col, std::string_view text);

    const std::string &currentText() const { return cellText(m_row, m_col); }
    // The fill rule: every cell of the selection gets the text. False, with
    // nothing changed and the refusal reported, when the text limit forbids.
    bool setCurrentText(std::string_view text);

    // Selected cells, TAB between cells, CR between rows, no closing CR.
    std::string blockText() const { return blockText(selection()); }
    std::string blockText(const CellRange &range) const;
    // The block text of columns 1..10 of the rows, without selecting them.
    std::string rowsText(Int16 firstRow, Int16 lastRow) const;
    // Splits at CR and TAB and fills the selection from its top-left cell;
    // what lies beyond the selection is dropped, cells the text does not reach
    // keep their contents. False, with nothing changed and the refusal
    // reported, when the text limit forbids.
    bool setBlockText(std::string_view text);

    // The length of the block text of the used rows, which a route file
    // stores; counted, not built.
    std::size_t rowsTextSize() const;
    // The fill rule and block pastes refuse an edit after which that length
    // would exceed the limit, unless the edit makes it no longer. Cells set
    // one by one are not limited: they are the program's own short texts.
    void setTextLimit(std::size_t limit) { m_textLimit = limit; }
    // Whether the size cell takes rectangles and ovals ("24 x 12 oval"),
    // and so the small letters and the blank, as the methods but the
    // classic one read it.
    void setTakesShapes(bool takes) { m_takesShapes = takes; }
    bool takesShapes() const { return m_takesShapes; }
    std::size_t textLimit() const { return m_textLimit; }

    // The ten column headers joined by TAB, closed by one CR; empty before setup.
    const std::string &headerLine() const { return m_headerLine; }

    // Cursor. Moving the current cell collapses the selection onto it.
    Int16 currentRow() const { return m_row; }
    Int16 currentCol() const { return m_col; }
    void setCurrentRow(Int16 row);
    void setCurrentCol(Int16 col);
    void setCurrentCell(Int16 row, Int16 col);

    // The selection's second corner; the current cell is the first.
    Int16 selectionRow() const { return m_rowSel; }
    Int16 selectionCol() const { return m_colSel; }
    void setSelectionRow(Int16 row);
    void setSelectionCol(Int16 col);
    void setSelectionEnd(Int16 row, Int16 col);
    CellRange selection() const;

    // First visible data row and data column.
    Int16 topRow() const { return m_topRow; }
    Int16 leftCol() const { return m_leftCol; }
    void setTopRow(Int16 row);
    void setLeftCol(Int16 col);

    // The columns' widths as the grid shows them, which its navigation goes
    // by: the classic layout's until the user drags a border. No route file
    // holds them.
    int colWidthTwips(int col) const;
    void setColWidthTwips(int col, int twips);

    // Any number of listeners follow the table: the grid, and whatever else
    // shows or records the route. Each is known by its owner, which removes
    // it before it goes.
    void addListener(const void *owner, Listener listener);
    void removeListener(const void *owner);
    // One hook at most, for whatever records edits for undoing; an empty one
    // removes it.
    void setWriteHook(WriteHook hook) { m_writeHook = std::move(hook); }

    // Holds back notifications until the outermost batch ends, then reports
    // everything that changed as one change. Every operation of the table
    // runs in one; a caller makes its own to join several into one report.
    class Batch final
    {
    public:
        explicit Batch(RouteTable &table) : m_table(table) { ++m_table.m_batchDepth; }
        ~Batch() { m_table.endBatch(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        RouteTable &m_table;
    };

    static bool isDataRow(int row) { return row >= 1 && row <= DataRows; }
    static bool isCell(int row, int col)
    {
        return row >= 0 && row < RowCount && col >= 0 && col < ColCount;
    }

private:
    std::string &cell(int row, int col) { return m_cells[index(row, col)]; }
    static std::size_t index(int row, int col)
    {
        return static_cast<std::size_t>(row) * ColCount + static_cast<std::size_t>(col);
    }
    using CellSizes = std::array<std::size_t, std::size_t{DataRows} * DataCols>;
    CellSizes cellSizes() const;
    static std::size_t rowsTextSize(const CellSizes &sizes);
    // Whether an edit that leaves the data cells at these sizes may be made;
    // reports the refusal when not.
    bool admits(const CellSizes &after);
    template <typename Visit> void forEachBlockField(std::string_view text, Visit visit) const;
    void markCell(int row, int col);
    void markCursor() { m_pending.cursorMoved = true; }
    void endBatch();

    std::array<std::string, RowCount * ColCount> m_cells;
    std::array<int, ColCount> m_colWidths{};
    std::string m_headerLine;
    Int16 m_row = 1;
    Int16 m_col = 1;
    Int16 m_rowSel = 1;
    Int16 m_colSel = 1;
    Int16 m_topRow = 1;
    Int16 m_leftCol = 1;

    std::vector<std::pair<const void *, Listener>> m_listeners;
    WriteHook m_writeHook;
    TableChange m_pending;
    std::size_t m_textLimit = static_cast<std::size_t>(-1);
    bool m_takesShapes = false;
    int m_batchDepth = 0;
};

} // namespace plenix
