// Moving about the route grid without a window: keys, clicks, drags and
// header presses, the clamping at the table's edges and the scroll position
// that keeps the moved corner in view.
#include "gridnavigation.h"

#include "coretest.h"

using namespace plenix;
using namespace coretest;

namespace {

// At 144 dots per inch a column is a tenth of its twips wide: 75, 85, 100,
// 85, 201, 90, 125, 90, 80, 140 and 1000 pixels. Rows are 20 high, so this
// view shows 10 whole rows and the columns 1 to 4 whole.
constexpr Viewport View{400, 200, 20, 144};

Viewport viewOfHeight(int height)
{
    Viewport view = View;
    view.height = height;
    return view;
}

// "current row,col  end row,col  top T left L", as written in the tables.
struct Start
{
    int row, col, endRow, endCol, top = 1, left = 1;
};

void place(RouteTable &table, const Start &s)
{
    table.setUp();
    table.setCurrentCell(static_cast<Int16>(s.row), static_cast<Int16>(s.col));
    table.setSelectionEnd(static_cast<Int16>(s.endRow), static_cast<Int16>(s.endCol));
    table.setTopRow(static_cast<Int16>(s.top));
    table.setLeftCol(static_cast<Int16>(s.left));
}

std::string state(const RouteTable &t)
{
    char text[80];
    std::snprintf(text, sizeof text, "%d,%d %d,%d top %d left %d", t.currentRow(),
                  t.currentCol(), t.selectionRow(), t.selectionCol(), t.topRow(), t.leftCol());
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(NavKey)

class TestNavigation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data()
    {
        QTest::addColumn<Start>("start");
        QTest::addColumn<NavKey>("key");
        QTest::addColumn<QString>("modifiers"); // s: Shift, c: Control
        QTest::addColumn<int>("height");
        QTest::addColumn<std::string>("expected");
        const auto row = [](const char *name, Start start, NavKey key, const char *modifiers,
                            const char *expected, int height = View.height) {
            QTest::newRow(name) << start << key << QString::fromLatin1(modifiers) << height
                                << std::string(expected);
        };
        using enum NavKey;
        // clang-format off
        row("down", {5, 3, 5, 3}, Down, "", "6,3 6,3 top 1 left 1");
        row("right", {5, 3, 5, 3}, Right, "", "5,4 5,4 top 1 left 1");
        row("up from row 1 stays", {1, 3, 1, 3}, Up, "", "1,3 1,3 top 1 left 1");
        row("left from column 1 stays", {4, 1, 4, 1}, Left, "", "4,1 4,1 top 1 left 1");
        row("down from row 60 stays", {60, 2, 60, 2, 51}, Down, "", "60,2 60,2 top 51 left 1");
        row("right from the spare column stays", {4, 11, 4, 11, 1, 11}, Right, "", "4,11 4,11 top 1 left 11");
        row("a plain key moves from the current cell", {5, 3, 8, 4}, Down, "", "6,3 6,3 top 1 left 1");
        row("shift down", {5, 3, 5, 3}, Down, "s", "5,3 6,3 top 1 left 1");
        row("shift up moves the selection end", {5, 3, 8, 4}, Up, "s", "5,3 7,4 top 1 left 1");
        row("shift left from column 1 stays", {5, 3, 5, 1}, Left, "s", "5,3 5,1 top 1 left 1");
        row("shift home", {5, 3, 5, 3}, Home, "s", "5,3 5,1 top 1 left 1");
        row("control down is down", {5, 3, 5, 3}, Down, "c", "6,3 6,3 top 1 left 1");
        row("home", {4, 6, 4, 6}, Home, "", "4,1 4,1 top 1 left 1");
        // The spare column is wider than the view: it stands at the left.
        row("end", {4, 6, 4, 6}, End, "", "4,11 4,11 top 1 left 11");
        row("control home", {9, 6, 9, 6, 5, 3}, Home, "c", "1,1 1,1 top 1 left 1");
        row("control end", {9, 6, 9, 6}, End, "c", "60,11 60,11 top 51 left 11");
        row("shift control end", {5, 3, 5, 3}, End, "sc", "5,3 60,11 top 51 left 11");
        // Past the last whole row the view scrolls by as much as needed.
        row("down past the bottom", {10, 2, 10, 2}, Down, "", "11,2 11,2 top 2 left 1");
        row("up past the top", {5, 2, 5, 2, 5}, Up, "", "4,2 4,2 top 4 left 1");
        row("right past the right edge", {4, 4, 4, 4}, Right, "", "4,5 4,5 top 1 left 3");
        row("left past the left column", {4, 3, 4, 3, 1, 3}, Left, "", "4,2 4,2 top 1 left 2");
        // A page is a screenful less one row.
        row("page down", {5, 2, 5, 2}, PageDown, "", "14,2 14,2 top 5 left 1");
        row("page up", {30, 2, 30, 2, 25}, PageUp, "", "21,2 21,2 top 21 left 1");
        row("page up from row 2", {2, 2, 2, 2}, PageUp, "", "1,2 1,2 top 1 left 1");
        row("page down near the end", {55, 2, 55, 2, 50}, PageDown, "", "60,2 60,2 top 51 left 1");
        row("shift page down", {5, 2, 5, 2}, PageDown, "s", "5,2 14,2 top 5 left 1");
        row("page down, 3 whole rows shown", {5, 2, 5, 2, 5}, PageDown, "", "7,2 7,2 top 5 left 1", 75);
        row("page down, less than a row shown", {5, 2, 5, 2, 5}, PageDown, "", "6,2 6,2 top 6 left 1", 15);
        row("page up, 50 rows shown", {58, 2, 58, 2, 11}, PageUp, "", "9,2 9,2 top 9 left 1", 1000);
        // A view grown taller never stays scrolled past the last row.
        row("scrolled too far", {56, 2, 56, 2, 55}, Down, "", "57,2 57,2 top 51 left 1");
        // clang-format on
    }

    void keys()
    {
        QFETCH(Start, start);
        QFETCH(NavKey, key);
        QFETCH(QString, modifiers);
        QFETCH(int, height);
        QFETCH(std::string, expected);
        RouteTable table;
        place(table, start);
        const KeyModifiers held{modifiers.contains(u's'), modifiers.contains(u'c')};
        moveByKey(table, key, held, viewOfHeight(height));
        QCOMPARE(state(table), expected);
    }

    void clicks_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<std::string>("expected");
        // From 5,3 with the top left in view.
        QTest::newRow("click") << 8 << 4 << false << "8,4 8,4 top 1 left 1"s;
        QTest::newRow("shift click") << 8 << 4 << true << "5,3 8,4 top 1 left 1"s;
        QTest::newRow("partly shown row") << 11 << 2 << false << "11,2 11,2 top 2 left 1"s;
        QTest::newRow("partly shown column") << 8 << 5 << true << "5,3 8,5 top 1 left 3"s;
        QTest::newRow("before the table") << 0 << 0 << false << "1,1 1,1 top 1 left 1"s;
        QTest::newRow("past the table") << 61 << 12 << true << "5,3 60,11 top 51 left 11"s;
    }

    void clicks()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, shift);
        QFETCH(std::string, expected);
        RouteTable table;
        place(table, {5, 3, 5, 3});
        clickCell(table, row, col, shift, View);
        QCOMPARE(state(table), expected);
    }

    void drags_data()
    {
        QTest::addColumn<Start>("start");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("height");
        QTest::addColumn<std::string>("expected");
        const auto row = [](const char *name, Start start, QPoint to, const char *expected,
                            int height = View.height) {
            QTest::newRow(name) << start << to << height << std::string(expected);
        };
        // Column 2 spans x 75..159, column 3 160..259; row 6 y 100..119 from the top.
        // clang-format off
        row("onto a cell", {3, 2, 3, 2}, {210, 110}, "3,2 6,3 top 1 left 1");
        row("onto a cell, scrolled", {8, 2, 8, 2, 5, 2}, {10, 30}, "8,2 6,2 top 5 left 2");
        row("below the view", {3, 2, 3, 2}, {100, 250}, "3,2 11,2 top 2 left 1");
        row("below a partly shown row", {3, 2, 3, 2}, {100, 250}, "3,2 12,2 top 3 left 1", 210);
        row("below the view at row 60", {55, 2, 55, 2, 51}, {100, 250}, "55,2 60,2 top 51 left 1");
        row("past row 60 inside the view", {3, 2, 3, 2}, {100, 1250}, "3,2 60,2 top 1 left 1", 1300);
        row("above the view", {6, 2, 6, 2, 5}, {100, -5}, "6,2 4,2 top 4 left 1");
        row("above the view at row 1", {3, 2, 3, 2}, {100, -5}, "3,2 1,2 top 1 left 1");
        row("right of the view", {3, 2, 3, 2}, {450, 30}, "3,2 2,6 top 1 left 4");
        row("left of the view", {3, 4, 3, 4, 1, 3}, {-1, 30}, "3,4 2,2 top 1 left 2");
        row("left of the view at column 1", {3, 4, 3, 4}, {-1, 30}, "3,4 2,1 top 1 left 1");
        // clang-format on
    }

    void drags()
    {
        QFETCH(Start, start);
        QFETCH(QPoint, to);
        QFETCH(int, height);
        QFETCH(std::string, expected);
        RouteTable table;
        place(table, start);
        dragTo(table, to.x(), to.y(), viewOfHeight(height));
        QCOMPARE(state(table), expected);
    }

    void headers_data()
    {
        QTest::addColumn<bool>("columns");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("draggedTo"); // 0: no drag
        QTest::addColumn<std::string>("expected");
        // From 9,2 scrolled to 20,3; header presses do not scroll.
        QTest::newRow("column") << true << 4 << 0 << "1,4 60,4 top 20 left 3"s;
        QTest::newRow("column dragged") << true << 4 << 2 << "1,4 60,2 top 20 left 3"s;
        QTest::newRow("spare column") << true << 11 << 0 << "1,11 60,11 top 20 left 3"s;
        QTest::newRow("past the spare column") << true << 12 << 13 << "1,11 60,11 top 20 left 3"s;
        QTest::newRow("row") << false << 7 << 0 << "7,1 7,11 top 20 left 3"s;
        QTest::newRow("row dragged up") << false << 7 << 3 << "7,1 3,11 top 20 left 3"s;
        QTest::newRow("row 60 dragged past") << false << 60 << 61 << "60,1 60,11 top 20 left 3"s;
    }

    void headers()
    {
        QFETCH(bool, columns);
        QFETCH(int, pressed);
        QFETCH(int, draggedTo);
        QFETCH(std::string, expected);
        RouteTable table;
        place(table, {9, 2, 9, 2, 20, 3});
        columns ? clickColumnHeader(table, pressed) : clickRowHeader(table, pressed);
        if (draggedTo)
            columns ? dragColumnHeader(table, draggedTo) : dragRowHeader(table, draggedTo);
        QCOMPARE(state(table), expected);
    }

    // One move, whatever it changes, is one report to the view.
    void one_move_one_notification()
    {
        RouteTable table;
        place(table, {10, 4, 10, 4});
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
