// SPDX-License-Identifier: GPL-3.0-or-later
// Moving about the route grid without a window: keys, clicks, drags and
// header presses, the clamping at the table's edges and the scroll position
// that keeps the moved corner in view.
#include "gridnavigation.h"

#include "coretest.h"

#include <algorithm>
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
        columns ? clickColumnHeader(table, a) : clickRowHeader(table, a);
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

} // namespace

class TestNavigation final : public QObject
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
        QCOMPARE(log.changes.empty(), cursor(table) == c.at(1));
        QVERIFY(int(log.changes.size()) <= operations);
        const auto scroll = [](const std::string &at) { return at.substr(at.find("top")); };
        QCOMPARE(
            std::ranges::any_of(log.changes, [](const auto &change) { return change.scrolled; }),
            scroll(c.at(1)) != scroll(c.at(4)));
    }
};

QTEST_APPLESS_MAIN(TestNavigation)
#include "tst_core_navigation.moc"
