#pragma once

// Shared by the core tests: QCOMPARE printing for std::string (TABs, CRs and
// high bytes spelled out) and cell ranges, std::string as a data column, and
// helpers that fill a route table from compact text and read it back.
#include "routetable.h"

#include <QTest>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

Q_DECLARE_METATYPE(std::string)

namespace QTest {
template <> inline char *toString(const std::string &text)
{
    std::string shown = "\"";
    for (const char raw : text) {
        const auto c = static_cast<unsigned char>(raw);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        if (c == '\t' || c == '\r' || c == '\n')
            shown += c == '\t' ? "\\t" : c == '\r' ? "\\r" : "\\n";
        else
            shown += c < 0x20 || c >= 0x7F ? std::string(hex) : std::string(1, raw);
    }
    return qstrdup((shown + '"').c_str());
}

template <> inline char *toString(const plenix::CellRange &r)
{
    char text[80];
    std::snprintf(text, sizeof text, "rows %d..%d, columns %d..%d", r.top, r.bottom, r.left,
                  r.right);
    return qstrdup(text);
}
} // namespace QTest

namespace coretest {

using namespace std::string_literals;
using plenix::RouteTable;

inline std::string tabs(int count)
{
    return std::string(static_cast<std::size_t>(count), '\t');
}

// Writes rows given as "qty|flow|diameter|...", one line per row, from
// (firstRow, firstCol) on; cells the text does not reach are left alone.
inline void putRows(RouteTable &table, std::string_view rows, int firstRow = 1, int firstCol = 1)
{
    int row = firstRow, col = firstCol;
    std::string field;
    for (std::size_t i = 0; i <= rows.size(); ++i) {
        if (i < rows.size() && rows[i] != '|' && rows[i] != '\n') {
            field += rows[i];
            continue;
        }
        table.setCellText(row, col++, field);
        field.clear();
        if (i < rows.size() && rows[i] == '\n') {
            ++row;
            col = firstCol;
        }
    }
}

// Every data cell named by its place: "row.col".
inline void fillData(RouteTable &table)
{
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        for (int col = 1; col <= RouteTable::DataCols; ++col)
            table.setCellText(row, col, std::to_string(row) + "." + std::to_string(col));
    }
}

// Columns first..last of a row joined by '|'.
inline std::string rowText(const RouteTable &table, int row, int first = 1, int last = 10)
{
    std::string text = table.cellText(row, first);
    for (int col = first + 1; col <= last; ++col)
        text += '|' + table.cellText(row, col);
    return text;
}

// Every cell's text, to show that an operation touched nothing else.
inline std::vector<std::string> snapshot(const RouteTable &table)
{
    std::vector<std::string> cells;
    for (int row = 0; row < RouteTable::RowCount; ++row) {
        for (int col = 0; col < RouteTable::ColCount; ++col)
            cells.push_back(table.cellText(row, col));
    }
    return cells;
}

// Current cell, selection and scroll position as one comparable text.
inline std::string cursor(const RouteTable &table)
{
    const plenix::CellRange s = table.selection();
    char text[80];
    std::snprintf(text, sizeof text, "at %d,%d selecting %d,%d-%d,%d top %d left %d",
                  table.currentRow(), table.currentCol(), s.top, s.left, s.bottom, s.right,
                  table.topRow(), table.leftCol());
    return text;
}

inline const std::string Home = "at 1,1 selecting 1,1-1,1 top 1 left 1";

inline void moveAway(RouteTable &table)
{
    table.setCurrentCell(30, 7);
    table.setSelectionEnd(35, 9);
    table.setTopRow(28);
    table.setLeftCol(5);
}

struct ChangeLog
{
    RouteTable &watched;
    std::vector<plenix::TableChange> changes;
    explicit ChangeLog(RouteTable &table) : watched(table)
    {
        table.addListener(this, [this](const plenix::TableChange &change) { changes.push_back(change); });
    }
    ~ChangeLog() { watched.removeListener(this); }
    ChangeLog(const ChangeLog &) = delete;
    ChangeLog &operator=(const ChangeLog &) = delete;
};

} // namespace coretest
