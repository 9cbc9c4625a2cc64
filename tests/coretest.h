// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the core tests: QCOMPARE printing for std::string (TABs, CRs and
// high bytes spelled out), case files as data rows, a route table written
// from and read back as compact text, and edits run from a line of steps.
#include "editing.h"
#include "fittings.h"
#include "routedocument.h"

#include <QFile>
#include <QTest>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
using Case = std::vector<std::string>;

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

// Columns first..last of a row joined by '|'.
inline std::string rowText(const RouteTable &table, int row, int first = 1, int last = 10)
{
    std::string text = table.cellText(row, first);
    for (int col = first + 1; col <= last; ++col)
        text += '|' + table.cellText(row, col);
    return text;
}

// The rows that hold text, data and spare columns, one a line as
// "row:qty|flow|...", with the empty cells at the end of a row left out.
inline std::string routeText(const RouteTable &table)
{
    std::string text;
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        std::string line = rowText(table, row, 1, RouteTable::ColSpare);
        if (line.erase(line.find_last_not_of('|') + 1); !line.empty())
            text += (text.empty() ? "" : "\n") + std::to_string(row) + ':' + line;
    }
    return text;
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

// Runs steps separated by ';': "at:R,C", "select:R,C", "left:C" (the first
// column shown), "rows:A,B",
// "set:R,C=text", "type:keys" (\x08 is Backspace), "text:x" (the fill rule),
// "paste:block", "describe:text", "splice:offset,count=text" (in the
// description), "delete", "insertRow", "clearList",
// "fitting" (Branch Entry 60) and "calculate".
inline void run(plenix::RouteDocument &document, const std::string &steps)
{
    using plenix::Int16;
    RouteTable &table = document.table();
    std::istringstream in(steps);
    for (std::string step; std::getline(in, step, ';');) {
        const std::size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
        int a = 0, b = 0;
        std::sscanf(arg.c_str(), "%d,%d", &a, &b);
        if (verb == "at")
            table.setCurrentCell(Int16(a), Int16(b));
        else if (verb == "select")
            table.setSelectionEnd(Int16(a), Int16(b));
        else if (verb == "left")
            table.setLeftCol(Int16(a));
        else if (verb == "rows")
            table.selectRows(Int16(a), Int16(b));
        else if (verb == "set")
            table.setCellText(a, b, arg.substr(arg.find('=') + 1));
        else if (verb == "type")
            for (const char c : arg)
                plenix::typeChar(table, static_cast<unsigned char>(c));
        else if (verb == "text")
            table.setCurrentText(arg);
        else if (verb == "paste")
            table.setBlockText(arg);
        else if (verb == "describe")
            document.setDescription(arg);
        else if (verb == "splice")
            document.replaceDescription(std::size_t(a), std::size_t(b),
                                        arg.substr(arg.find('=') + 1));
        else if (verb == "delete")
            plenix::deleteSelection(table);
        else if (verb == "insertRow")
            plenix::insertRow(table);
        else if (verb == "deleteRows")
            plenix::deleteRows(table);
        else if (verb == "moveRows")
            plenix::moveRows(table, a);
        else if (verb == "pasteText")
            plenix::pasteText(table, arg);
        else if (verb == "pasteList")
            plenix::pasteText(table, plenix::listText(table));
        else if (verb == "copyTo") {
            const std::string copied = plenix::copiedText(table);
            table.setCurrentCell(Int16(a), Int16(b));
            plenix::pasteText(table, copied);
        } else if (verb == "clearList")
            table.clear();
        else if (verb == "fitting")
            plenix::insertFitting(table, plenix::Fittings[5]);
        else if (verb == "calculate")
            document.calculate();
        else
            qFatal("no step: %s", step.c_str());
    }
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

// The cases of tests/data/NAME: one a line, fields split at TABs, the
// escapes \t \r \n \0 \\ and \xHH undone; blank lines and lines that start
// with '#' are comments.
inline std::vector<Case> caseFile(const char *name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("data/") + QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the case file %s", name);
    std::vector<Case> cases;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        Case &fields = cases.emplace_back(1);
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

// The cases of a case file as the data rows of a test, in one column "c",
// each named by its number and first field.
inline void caseRows(const char *name)
{
    QTest::addColumn<Case>("c");
    int number = 0;
    for (const Case &c : caseFile(name)) {
        const std::unique_ptr<char[]> first(QTest::toString(c.front().substr(0, 40)));
        QTest::addRow("%d %s", ++number, first.get()) << c;
    }
}

// Counts the changes the table reports while it lives, and unites them.
struct ChangeLog
{
    RouteTable &watched;
    int count = 0;
    plenix::TableChange all;
    explicit ChangeLog(RouteTable &table) : watched(table)
    {
        table.addListener(this, [this](const plenix::TableChange &change) {
            ++count;
            all.cells.unite(change.cells);
            all.scrolled = all.scrolled || change.scrolled;
            all.refused = all.refused || change.refused;
        });
    }
    ~ChangeLog() { watched.removeListener(this); }
    Q_DISABLE_COPY_MOVE(ChangeLog)
};

} // namespace coretest
