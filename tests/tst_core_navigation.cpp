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

// The view of the cases in data/navigation.cases, at 144 dots per inch.
constexpr Viewport View{400, 200, 20, 144};

// One action as the case file writes it.
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
    if (word == "click" && in >> a >> comma >> b)
        clickCell(table, a, b, held.shift, view);
    else if (word == "drag" && in >> a >> comma >> b)
        dragTo(table, a, b, view);
    else if (word == "column" && in >> a)
        clickColumnHeader(table, a), in >> b ? dragColumnHeader(table, b) : void();
    else if (word == "row" && in >> a)
        clickRowHeader(table, a), in >> b ? dragRowHeader(table, b) : void();
    else if (keys.contains(word))
        moveByKey(table, keys.at(word), held, view);
    else
        return false;
    return true;
}

} // namespace

class TestNavigation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moves_data()
    {
        QTest::addColumn<std::vector<std::string>>("move");
        for (const std::vector<std::string> &move : caseFile("navigation.cases"))
            QTest::newRow(move.at(0).c_str()) << move;
    }

    void moves()
    {
        QFETCH(std::vector<std::string>, move);
        QVERIFY(move.size() == 4 || move.size() == 5);
        RouteTable table;
        table.setUp();
        place(table, move[1]);
        QCOMPARE(cursor(table), move[1]);
        Viewport view = View;
        view.height = move.size() == 5 ? std::stoi(move[4]) : View.height;
        QVERIFY(act(table, move[2], view));
        QCOMPARE(cursor(table), move[3]);
    }
};

QTEST_APPLESS_MAIN(TestNavigation)
#include "tst_core_navigation.moc"
