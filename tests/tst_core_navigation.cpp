// SPDX-License-Identifier: GPL-3.0-or-later
// Moving about the route grid without a window: keys, clicks, drags and
// header presses, the clamping at the table's edges and the scroll position
// that keeps the moved corner in view.
#include "gridnavigation.h"

#include "coretest.h"

#include <map>
#include <sstream>

using namespace plenix;
using namespace coretest;

namespace {

// At 144 dots per inch a column is a tenth of its twips wide: 75, 85, 100,
// 85, 201, 90, 125, 90, 80, 140 and 1000 pixels. Rows are 20 high, so a view
// 400 by 200 shows 10 whole rows and the columns 1 to 4 whole.
constexpr Viewport View{400, 200, 20, 144};

// One action as the tables write it: a key ("Down", "s PageUp", "sc End"
// with s for Shift and c for Control), "click row,col", "s click row,col",
// "drag x,y", or a header press "column N" or "row N" with the x or y it is
// dragged on to after it.
bool act(RouteTable &table, const std::string &action, const Viewport &view)
{
    static const std::map<std::string, NavKey> keys{
        {"Up", NavKey::Up},       {"Down", NavKey::Down},     {"Left", NavKey::Left},
        {"Right", NavKey::Right}, {"PageUp", NavKey::PageUp}, {"PageDown", NavKey::PageDown},
        {"Home", NavKey::Home},   {"End", NavKey::End}};
    std::istringstream in(action);
    std::string word;
    in >> word;
    KeyModifiers held;
    if (word.find_first_not_of("sc") == std::string::npos) {
        held = {word.find('s') != std::string::npos, word.find('c') != std::string::npos};
        in >> word;
    }
    int a = 0, b = 0;
    char comma = 0;
    if (word == "click" && in >> a >> comma >> b) {
        clickCell(table, a, b, held.shift, view);
    } else if (word == "drag" && in >> a >> comma >> b) {
        dragTo(table, a, b, view);
    } else if ((word == "column" || word == "row") && in >> a) {
        const bool columns = word == "column";
        columns ? clickColumnHeader(table, a) : clickRowHeader(table, a);
        if (in >> b)
            columns ? dragColumnHeader(table, b, view) : dragRowHeader(table, b, view);
    } else if (keys.contains(word)) {
        moveByKey(table, keys.at(word), held, view);
    } else {
        return false;
    }
    return true;
}

} // namespace

class TestNavigation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moves_data()
    {
        QTest::addColumn<std::string>("start");
        QTest::addColumn<std::string>("action");
        QTest::addColumn<int>("height"); // of the view
        QTest::addColumn<std::string>("expected");
        const auto row = [](const char *name, const char *start, const char *action,
                            const char *expected, int height = View.height) {
            QTest::newRow(name) << std::string(start) << std::string(action) << height
                                << std::string(expected);
        };
        // clang-format off
        row("down", "5,3 5,3 top 1 left 1", "Down", "6,3 6,3 top 1 left 1");
        row("up from row 1", "1,3 1,3 top 1 left 1", "Up", "1,3 1,3 top 1 left 1");
        row("left from column 1", "4,1 4,1 top 1 left 1", "Left", "4,1 4,1 top 1 left 1");
        row("down from row 60", "60,2 60,2 top 51 left 1", "Down", "60,2 60,2 top 51 left 1");
        row("right from the spare column", "4,11 4,11 top 1 left 11", "Right", "4,11 4,11 top 1 left 11");
        row("a plain key moves the current cell", "5,3 8,4 top 1 left 1", "Down", "6,3 6,3 top 1 left 1");
        row("shift down", "5,3 5,3 top 1 left 1", "s Down", "5,3 6,3 top 1 left 1");
        row("shift up moves the selection end", "5,3 8,4 top 1 left 1", "s Up", "5,3 7,4 top 1 left 1");
        row("shift home", "5,3 5,3 top 1 left 1", "s Home", "5,3 5,1 top 1 left 1");
        row("home", "4,6 4,6 top 1 left 1", "Home", "4,1 4,1 top 1 left 1");
        // The spare column is wider than the view: it stands at the left.
        row("end", "4,6 4,6 top 1 left 1", "End", "4,11 4,11 top 1 left 11");
        row("control home", "9,6 9,6 top 5 left 3", "c Home", "1,1 1,1 top 1 left 1");
        row("control end", "9,6 9,6 top 1 left 1", "c End", "60,11 60,11 top 51 left 11");
        row("shift control end", "5,3 5,3 top 1 left 1", "sc End", "5,3 60,11 top 51 left 11");
        // Past the last whole row or column the view scrolls as little as it can.
        row("down past the bottom", "10,2 10,2 top 1 left 1", "Down", "11,2 11,2 top 2 left 1");
        row("up past the top", "5,2 5,2 top 5 left 1", "Up", "4,2 4,2 top 4 left 1");
        row("right past the right edge", "4,4 4,4 top 1 left 1", "Right", "4,5 4,5 top 1 left 3");
        row("left past the left column", "4,3 4,3 top 1 left 3", "Left", "4,2 4,2 top 1 left 2");
        // A page is a screenful less one row.
        row("page down", "5,2 5,2 top 1 left 1", "PageDown", "14,2 14,2 top 5 left 1");
        row("page up", "30,2 30,2 top 25 left 1", "PageUp", "21,2 21,2 top 21 left 1");
        row("page down near the end", "55,2 55,2 top 50 left 1", "PageDown", "60,2 60,2 top 51 left 1");
        row("shift page down", "5,2 5,2 top 1 left 1", "s PageDown", "5,2 14,2 top 5 left 1");
        row("page down, 3 whole rows", "5,2 5,2 top 5 left 1", "PageDown", "7,2 7,2 top 5 left 1", 75);
        row("page down, less than a row", "5,2 5,2 top 5 left 1", "PageDown", "6,2 6,2 top 6 left 1", 15);
        row("page up, 50 rows", "58,2 58,2 top 11 left 1", "PageUp", "9,2 9,2 top 9 left 1", 1000);
        // A view grown taller stays scrolled no further than the last row.
        row("scrolled too far", "56,2 56,2 top 55 left 1", "Down", "57,2 57,2 top 51 left 1");

        row("click", "5,3 5,3 top 1 left 1", "click 8,4", "8,4 8,4 top 1 left 1");
        row("shift click", "5,3 5,3 top 1 left 1", "s click 8,4", "5,3 8,4 top 1 left 1");
        row("click a partly shown row", "5,3 5,3 top 1 left 1", "click 11,2", "11,2 11,2 top 2 left 1");
        row("click a partly shown column", "5,3 5,3 top 1 left 1", "s click 8,5", "5,3 8,5 top 1 left 3");
        row("click before the table", "5,3 5,3 top 1 left 1", "click 0,0", "1,1 1,1 top 1 left 1");
        row("click past the table", "5,3 5,3 top 1 left 1", "s click 61,12", "5,3 60,11 top 51 left 11");

        // Column 2 spans x 75..159, column 3 160..259; row 6 y 100..119 unscrolled.
        row("drag onto a cell", "3,2 3,2 top 1 left 1", "drag 210,110", "3,2 6,3 top 1 left 1");
        row("drag onto a cell, scrolled", "8,2 8,2 top 5 left 2", "drag 10,30", "8,2 6,2 top 5 left 2");
        row("drag below the view", "3,2 3,2 top 1 left 1", "drag 100,250", "3,2 11,2 top 2 left 1");
        row("drag below a partly shown row", "3,2 3,2 top 1 left 1", "drag 100,250", "3,2 12,2 top 3 left 1", 210);
        row("drag below row 60", "55,2 55,2 top 51 left 1", "drag 100,250", "55,2 60,2 top 51 left 1");
        row("drag past row 60 inside the view", "3,2 3,2 top 1 left 1", "drag 100,1250", "3,2 60,2 top 1 left 1", 1300);
        row("drag above the view", "6,2 6,2 top 5 left 1", "drag 100,-5", "6,2 4,2 top 4 left 1");
        row("drag above row 1", "3,2 3,2 top 1 left 1", "drag 100,-5", "3,2 1,2 top 1 left 1");
        row("drag right of the view", "3,2 3,2 top 1 left 1", "drag 450,30", "3,2 2,6 top 1 left 4");
        row("drag left of the view", "3,4 3,4 top 1 left 3", "drag -1,30", "3,4 2,2 top 1 left 2");

        // Header presses select whole columns or rows and do not scroll;
        // dragging past an edge scrolls along the headers only.
        row("column header", "9,2 9,2 top 20 left 3", "column 4", "1,4 60,4 top 20 left 3");
        row("column header dragged", "9,2 9,2 top 20 left 3", "column 4 200", "1,4 60,5 top 20 left 3");
        row("column header dragged left", "9,2 9,2 top 20 left 3", "column 4 -1", "1,4 60,2 top 20 left 2");
        row("column header dragged right", "9,2 9,2 top 20 left 3", "column 6 450", "1,6 60,7 top 20 left 6");
        row("past the spare column", "9,2 9,2 top 20 left 3", "column 12", "1,11 60,11 top 20 left 3");
        row("row header", "9,2 9,2 top 20 left 3", "row 7", "7,1 7,11 top 20 left 3");
        row("row header dragged up", "9,2 9,2 top 20 left 3", "row 25 -5", "25,1 19,11 top 19 left 3");
        row("row header dragged down", "9,2 9,2 top 20 left 3", "row 25 250", "25,1 30,11 top 21 left 3");
        row("row 60 dragged past", "9,2 9,2 top 51 left 3", "row 60 250", "60,1 60,11 top 51 left 3");
        // clang-format on
    }

    void moves()
    {
        QFETCH(std::string, start);
        QFETCH(std::string, action);
        QFETCH(int, height);
        QFETCH(std::string, expected);
        RouteTable table;
        table.setUp();
        place(table, start);
        Viewport view = View;
        view.height = height;
        QVERIFY(act(table, action, view));
        QCOMPARE(cursor(table), expected);
    }

    // One move, whatever it changes, is one report to the view.
    void one_move_one_notification()
    {
        RouteTable table;
        table.setUp();
        place(table, "10,4 10,4 top 1 left 1");
        ChangeLog log(table);
        moveByKey(table, NavKey::End, {.shift = false, .control = true}, View);
        QCOMPARE(log.changes.size(), std::size_t(1));
        QVERIFY(log.changes[0].cursorMoved && log.changes[0].scrolled);
        clickColumnHeader(table, 3);
        QCOMPARE(log.changes.size(), std::size_t(2));
    }
};

QTEST_APPLESS_MAIN(TestNavigation)
#include "tst_core_navigation.moc"
