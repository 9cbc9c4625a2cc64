// SPDX-License-Identifier: GPL-3.0-or-later
// The route grid's data (cursor, fill rule, block text, notifications) and
// the editing on it: typing, Delete, Insert Row and the list text.
#include "editing.h"
#include "routetable.h"

#include "coretest.h"

#include <algorithm>

using namespace plenix;
using namespace coretest;

class TestRouteTable final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void edits_data() { caseRows("grid-edits.cases"); }

    // The listeners hear of every change of text.
    void edits()
    {
        QFETCH(Case, c);
        RouteDocument document;
        putRows(document.table(), c.at(1));
        const std::string before = routeText(document.table());
        ChangeLog log(document.table());
        run(document, c.at(2));
        QCOMPARE(routeText(document.table()), c.at(3));
        QCOMPARE(cursor(document.table()), c.at(4));
        QCOMPARE(document.table().blockText(), c.at(5));
        QCOMPARE(std::ranges::any_of(log.changes,
                                     [](const auto &change) { return !change.cells.isEmpty(); }),
                 c.at(3) != before);
    }

    // The used rows end at the last one with text in a data column, where a
    // blank is text; the fixed and the spare column do not count.
    void listTextHoldsHeadersAndUsedRows()
    {
        RouteTable table;
        table.setUp();
        QCOMPARE(listText(table), table.headerLine());
        putRows(table, "|500|||||||| ", 3);
        table.setCellText(4, 0, "x");
        table.setCellText(5, RouteTable::ColSpare, "x");
        const std::string empty(9, '\t');
        QCOMPARE(listText(table),
                 table.headerLine() + empty + "\r" + empty + "\r\t500" + empty.substr(1) + " ");
    }
};

QTEST_APPLESS_MAIN(TestRouteTable)
#include "tst_core_routetable.moc"
