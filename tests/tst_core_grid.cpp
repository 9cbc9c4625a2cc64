// SPDX-License-Identifier: GPL-3.0-or-later
// The route grid without a window: moving about it with keys, clicks, drags
// and header presses; typing, the fill rule, block text, Delete, Insert Row
// and the list text; the marks drawn over it (results out of date, doubtful
// inputs, what the key filter dropped); the window's geometry in twips.
#include "gridnavigation.h"
#include "layout.h"
#include "marks.h"

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

// One action as tests/data/navigation.cases writes it; the number of
// operations it took, 0 for none it knows.
int act(RouteTable &table, const std::string &action, const Viewport &view)
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
        columns ? clickColumnHeader(table, a, held.shift) : clickRowHeader(table, a, held.shift);
        if (!(in >> b))
            return 1;
        columns ? dragColumnHeader(table, b, view) : dragRowHeader(table, b, view);
        return 2;
    } else if (keys.contains(word)) {
        moveByKey(table, keys.at(word), held, view);
    } else {
        return 0;
    }
    return 1;
}

// The rows whose results are drawn out of date; "?" after one whose two
// result columns disagree.
std::string staleRows(const RouteMarks &marks)
{
    std::string rows;
    for (int row = 1; row <= RouteTable::DataRows; ++row) {
        const bool item = marks.isStale(row, RouteTable::ColItemSP);
        if (item || marks.isStale(row, RouteTable::ColRouteSP)) {
            rows += (rows.empty() ? "" : " ") + std::to_string(row) +
                    (item != marks.isStale(row, RouteTable::ColRouteSP) ? "?" : "");
        }
    }
    return rows;
}

// "left top width height", to one decimal.
std::string shown(const Geometry &g)
{
    return QString::asprintf("%.1f %.1f %.1f %.1f", g.left, g.top, g.width, g.height).toStdString();
}

} // namespace

class TestGrid final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moves_data() { caseRows("navigation.cases"); }

    // One operation, whatever it changes, is one report to the view at most.
    void moves()
    {
        QFETCH(Case, c);
        RouteTable table;
        table.setUp();
        place(table, c.at(1));
        ChangeLog log(table);
        Viewport view = View;
        view.height = c.at(3).empty() ? View.height : std::stoi(c.at(3));
        const int operations = act(table, c.at(2), view);
        QVERIFY(operations > 0);
        QCOMPARE(cursor(table), c.at(4));
        QCOMPARE(log.count == 0, cursor(table) == c.at(1));
        QVERIFY(log.count <= operations);
        const auto scroll = [](const std::string &at) { return at.substr(at.find("top")); };
        QCOMPARE(log.all.scrolled, scroll(c.at(1)) != scroll(c.at(4)));
    }

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
        QCOMPARE(!log.all.cells.isEmpty(), c.at(3) != before);
    }

    // The used rows end at the last one with text in a data column, where a
    // blank is text; the fixed and the spare column do not count.
    void listTextHoldsHeadersAndUsedRows()
    {
        RouteTable table;
        table.setUp();
        putRows(table, "|500|||||||| ", 3);
        table.setCellText(4, 0, "x");
        table.setCellText(5, RouteTable::ColSpare, "x");
        const std::string empty(9, '\t');
        QCOMPARE(listText(table),
                 table.headerLine() + empty + "\r" + empty + "\r\t500" + empty.substr(1) + " ");
    }

    void readings_data() { caseRows("marks-readings.cases"); }

    // The window asks the marks, which ask the same rule of numeric inputs only.
    void readings()
    {
        QFETCH(Case, c);
        const int col = std::stoi(c.at(1));
        const InputReading reading = readInput(c.at(0), col);
        QCOMPARE(reading.doubtful, c.at(2) == "doubtful");
        QCOMPARE(reading.value, c.at(3));
        RouteTable table;
        table.setUp();
        RouteMarks marks(table);
        for (int column : {col, int(RouteTable::ColDescription)}) {
            table.setCellText(3, column, c.at(0));
            QCOMPARE(marks.isDoubtful(3, column), reading.doubtful && column == col);
        }
    }

    void stale_data() { caseRows("marks-stale.cases"); }

    void stale()
    {
        QFETCH(Case, c);
        RouteDocument document;
        RouteMarks &marks = document.marks();
        CellRange reported;
        marks.setListener([&](const CellRange &cells) { reported.unite(cells); });
        putRows(document.table(), "|1000|12|100\n||10|50\n||||elbow|0.39\n|||20");
        QCOMPARE(staleRows(marks), "1 2 3 4"s);
        document.calculate();
        QCOMPARE(staleRows(marks), ""s);
        // The grid is told to redraw what is no longer stale.
        QVERIFY(reported.contains(1, RouteTable::ColItemSP) &&
                reported.contains(4, RouteTable::ColRouteSP));
        run(document, c.at(1));
        QCOMPARE(staleRows(marks), c.at(2));
    }

    // "-1200" and "12in" typed into a numeric column hold "1200" and "12",
    // which read cleanly: the cell remembers what the filter left out.
    void characters_the_filter_drops()
    {
        RouteTable table;
        table.setUp();
        RouteMarks marks(table);
        table.setCurrentCell(2, RouteTable::ColFlow);
        table.setSelectionEnd(3, RouteTable::ColFlow);
        for (const char32_t code : std::u32string_view(U"-12in"))
            marks.typeChar(code);
        QCOMPARE(table.cellText(3, RouteTable::ColFlow), "12"s);
        QVERIFY(marks.isDoubtful(3, RouteTable::ColFlow));
        QCOMPARE(marks.droppedChars(2, RouteTable::ColFlow), std::u32string(U"-in"));
        marks.typeChar(BackspaceCode);
        QCOMPARE(marks.droppedChars(2, RouteTable::ColFlow), std::u32string(U"-in"));
        // A new text forgets it.
        table.setCellText(2, RouteTable::ColFlow, "5");
        QVERIFY(!marks.isDoubtful(2, RouteTable::ColFlow));
    }

    void placesWindow()
    {
        // A 1024 by 768 screen at 15 twips per pixel; right of and below centre.
        QCOMPARE(shown(windowPlacement(15360, 11520)), "2267.1 2419.2 12595.2 8064.0"s);
        // A toolkit that adds 10 twips to every size it is given: the place
        // follows the size the window really got, height first.
        std::vector<float> set;
        const Geometry g = windowPlacement(15360, 11520, [&set](float value) {
            set.push_back(value);
            return value + 10;
        });
        QCOMPARE(set.size(), std::size_t(4));
        QCOMPARE(shown({set[0], set[1], set[2], set[3]}), "8064.0 12595.2 2412.2 2258.9"s);
        QCOMPARE(shown(g), "2268.9 2422.2 12605.2 8074.0"s);
    }

    // 15 twips a pixel at 96 dots per inch; to the nearest whole pixel.
    void twipsAndPixels()
    {
        QCOMPARE(twipsToPixels(2010, 96), 134);
        QCOMPARE(twipsToPixels(7.5, 96), 1);
        QCOMPARE(twipsToPixels(7.4, 96), 0);
        QCOMPARE(twipsToPixels(1440, 120), 120);
        QCOMPARE(pixelsToTwips(1, 120), 12.0f);
    }
};

QTEST_APPLESS_MAIN(TestGrid)
#include "tst_core_grid.moc"
