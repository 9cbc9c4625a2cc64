// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the core tests: QCOMPARE printing for std::string (TABs, CRs and
// high bytes spelled out), std::string as a data column, case files, and
// helpers that fill a route table from compact text and read it back.
#include "routetable.h"

#include <QFile>
#include <QTest>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<std::string>)

namespace QTest {
template <> inline char *toString(const std::string &text)
{
    std::string shown = "\"";
    for (const char raw : text) {
        const auto c = static_cast<unsigned char>(raw);
        shown += c == '\t'               ? "\\t"
                 : c == '\r'             ? "\\r"
                 : c == '\n'             ? "\\n"
                 : c < 0x20 || c >= 0x7F ? QString::asprintf("\\x%02X", c).toStdString()
                                         : std::string(1, raw);
    }
    return qstrdup((shown + '"').c_str());
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
        table.setCellText(row, col++, std::exchange(field, {}));
        if (i < rows.size() && rows[i] == '\n')
            ++row, col = firstCol;
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

// Current cell, selection end and scroll position as "row,col row,col top
// T left L", and the same put into a table.
inline std::string cursor(const RouteTable &t)
{
    return QString::asprintf("%d,%d %d,%d top %d left %d", t.currentRow(), t.currentCol(),
                             t.selectionRow(), t.selectionCol(), t.topRow(), t.leftCol())
        .toStdString();
}

inline void place(RouteTable &table, const std::string &at)
{
    int v[6] = {};
    if (std::sscanf(at.c_str(), "%d,%d %d,%d top %d left %d", &v[0], &v[1], &v[2], &v[3], &v[4],
                    &v[5]) != 6)
        qFatal("no place: %s", at.c_str());
    table.setCurrentCell(plenix::Int16(v[0]), plenix::Int16(v[1]));
    table.setSelectionEnd(plenix::Int16(v[2]), plenix::Int16(v[3]));
    table.setTopRow(plenix::Int16(v[4]));
    table.setLeftCol(plenix::Int16(v[5]));
}

// A whole file's bytes, or a text no file holds when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline const std::string Home = "1,1 1,1 top 1 left 1";

inline void moveAway(RouteTable &table)
{
    place(table, "30,7 35,9 top 28 left 5");
}

// The cases of tests/data/NAME: one a line, fields split at TABs, the
// escapes \t \r \n \0 \\ and \xHH undone; blank lines and lines that start
// with '#' are comments.
inline std::vector<std::vector<std::string>> caseFile(const char *name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("data/") + QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the case file %s", name);
    std::vector<std::vector<std::string>> cases;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        std::vector<std::string> &fields = cases.emplace_back(1);
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char c = line[i], e = i + 1 < line.size() ? line[i + 1] : '\\';
            if (c == '\t')
                fields.emplace_back();
            else if (c != '\\')
                fields.back() += c;
            else if (++i, e == 'x')
                fields.back() += static_cast<char>(line.mid(i + 1, 2).toInt(nullptr, 16)), i += 2;
            else
                fields.back() += e == 't'   ? '\t'
                                 : e == 'r' ? '\r'
                                 : e == 'n' ? '\n'
                                 : e == '0' ? '\0'
                                            : e;
        }
    }
    return cases;
}

// Records every change the table reports while it lives.
struct ChangeLog
{
    RouteTable &watched;
    std::vector<plenix::TableChange> changes;
    explicit ChangeLog(RouteTable &table) : watched(table)
    {
        table.addListener(this,
                          [this](const plenix::TableChange &change) { changes.push_back(change); });
    }
    ~ChangeLog() { watched.removeListener(this); }
    Q_DISABLE_COPY_MOVE(ChangeLog)
};

} // namespace coretest
