// SPDX-License-Identifier: GPL-3.0-or-later
// The edit recorder: each kind of change becomes one edit that undoes to the
// exact texts and cursor it began from and redoes to where it ended, and
// keystrokes join only while they continue the same typing.
#include "coretest.h"

#include "calculation.h"
#include "editing.h"
#include "fittings.h"
#include "routeedit.h"

#include <sstream>

using namespace coretest;
using plenix::EditRecorder;
using plenix::RouteDocument;
using plenix::RouteEdit;

namespace {
const std::string Route = "|1000|12|100\n|||||0.28\n||||Supply";

struct State
{
    std::vector<std::string> cells;
    std::string description;
    std::string cursor;
    friend bool operator==(const State &, const State &) = default;
};

State stateOf(const RouteDocument &document)
{
    return {snapshot(document.table()), document.description(), cursor(document.table())};
}

// Runs the named steps; "type:X" types X (a "<" is Backspace), "at:R,C"
// moves the cursor, "select:R,C" extends the selection.
void run(RouteDocument &document, const std::string &steps)
{
    RouteTable &table = document.table();
    std::istringstream words(steps);
    for (std::string step; words >> step;) {
        const std::string arg = step.substr(step.find(':') + 1);
        int row = 0, col = 0;
        std::sscanf(arg.c_str(), "%d,%d", &row, &col);
        if (step.starts_with("type:")) {
            for (const char c : arg)
                plenix::typeChar(table, c == '<' ? char32_t{plenix::BackspaceCode} : char32_t(c));
        } else if (step.starts_with("at:")) {
            table.setCurrentCell(plenix::Int16(row), plenix::Int16(col));
        } else if (step.starts_with("select:")) {
            table.setSelectionEnd(plenix::Int16(row), plenix::Int16(col));
        } else if (step.starts_with("describe:")) {
            document.setDescription(arg);
        } else if (step == "delete") {
            plenix::deleteSelection(table);
        } else if (step == "insertRow") {
            plenix::insertRow(table);
        } else if (step == "clearList") {
            table.clear();
        } else if (step == "fitting") {
            plenix::insertFitting(table, plenix::Fittings[5]);
        } else if (step == "calculate") {
            plenix::calculate(table);
        }
    }
}
} // namespace

class TestRouteEdit final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachChangeUndoesAndRedoesExactly_data()
    {
        QTest::addColumn<std::string>("setup");
        QTest::addColumn<std::string>("change");
        QTest::addColumn<int>("edits");
        QTest::addColumn<bool>("typing");
        QTest::newRow("typed character") << "at:2,3"s
                                         << "type:7"s << 1 << true;
        QTest::newRow("fill of a selection") << "at:1,2 select:3,4"s
                                             << "type:5"s << 1 << true;
        QTest::newRow("backspace") << "at:1,2"s
                                   << "type:<"s << 1 << true;
        QTest::newRow("rejected character") << "at:1,2"s
                                            << "type:z"s << 0 << false;
        QTest::newRow("delete") << "at:1,2 select:2,6"s
                                << "delete"s << 1 << false;
        QTest::newRow("insert row") << "at:2,4"s
                                    << "insertRow"s << 1 << false;
        QTest::newRow("insert row, nothing below") << "at:9,4"s
                                                   << "insertRow"s << 0 << false;
        QTest::newRow("clear list") << "at:3,5"s
                                    << "clearList"s << 1 << false;
        QTest::newRow("fitting") << "at:4,6"s
                                 << "fitting"s << 1 << false;
        QTest::newRow("calculate") << "at:2,2 select:3,3"s
                                   << "calculate"s << 1 << false;
        QTest::newRow("calculate again") << "calculate at:2,2"s
                                         << "calculate"s << 0 << false;
        QTest::newRow("description") << "describe:old"s
                                     << "describe:new"s << 1 << true;
        QTest::newRow("description unchanged") << "describe:old"s
                                               << "describe:old"s << 0 << false;
        QTest::newRow("cursor only") << ""s
                                     << "at:5,5 select:6,6"s << 0 << false;
        QTest::newRow("moves and types") << "at:3,3"s
                                         << "at:1,2 type:5 at:4,4"s << 1 << true;
    }

    void eachChangeUndoesAndRedoesExactly()
    {
        QFETCH(std::string, setup);
        QFETCH(std::string, change);
        QFETCH(int, edits);
        QFETCH(bool, typing);
        RouteDocument document;
        putRows(document.table(), Route);
        document.table().setTopRow(2);
        run(document, setup);
        std::vector<RouteEdit> recorded;
        EditRecorder recorder(document, [&](RouteEdit edit) { recorded.push_back(edit); });
        State before = stateOf(document);
        run(document, change);
        State after = stateOf(document);
        // An edit takes the cursor back to where it began, not to where moves
        // before it started.
        if (change.starts_with("at:"))
            before.cursor = "1,2 1,2 top 2 left 1", after.cursor = before.cursor;
        QCOMPARE(int(recorded.size()), edits);
        if (edits == 0)
            return;
        QCOMPARE(recorded[0].typing, typing);
        recorder.undo(recorded[0]);
        QVERIFY(stateOf(document) == before);
        recorder.redo(recorded[0]);
        QVERIFY(stateOf(document) == after);
        // Undo and redo are not themselves recorded.
        QCOMPARE(int(recorded.size()), edits);
    }

    // A group is one edit, never typing, from where it began to where it
    // ended; one whose changes cancel out is none.
    void groupIsOneEdit()
    {
        RouteDocument document;
        std::vector<RouteEdit> recorded;
        EditRecorder recorder(document, [&](RouteEdit edit) { recorded.push_back(edit); });
        const State before = stateOf(document);
        {
            EditRecorder::Group group(recorder);
            run(document, "at:2,2 type:12 describe:x");
        }
        {
            EditRecorder::Group group(recorder);
            run(document, "type:3 type:< at:4,4");
        }
        QCOMPARE(int(recorded.size()), 1);
        QVERIFY(!recorded[0].typing);
        QCOMPARE(recorded[0].cells.size(), std::size_t{1});
        recorder.undo(recorded[0]);
        QVERIFY(stateOf(document) == before);
    }

    // What joins, as QUndoStack merges: the number of steps left.
    void keystrokesJoinWhileTypingContinues_data()
    {
        QTest::addColumn<std::string>("steps");
        QTest::addColumn<int>("count");
        QTest::newRow("word in one cell") << "at:1,2 type:1250"s << 1;
        QTest::newRow("typing and backspace") << "at:1,2 type:12<5"s << 1;
        QTest::newRow("two cells") << "at:1,2 type:12 at:1,3 type:8"s << 2;
        QTest::newRow("back to the same cell") << "at:1,2 type:1 at:1,3 at:1,2 type:2"s << 2;
        QTest::newRow("delete after typing") << "at:1,2 type:12 delete"s << 2;
        QTest::newRow("calculate between") << "at:1,3 type:1 calculate at:1,3 type:2"s << 3;
        QTest::newRow("description typing") << "describe:a describe:ab describe:abc"s << 1;
        QTest::newRow("cell then description") << "at:1,2 type:1 describe:a"s << 2;
    }

    void keystrokesJoinWhileTypingContinues()
    {
        QFETCH(std::string, steps);
        QFETCH(int, count);
        RouteDocument document;
        putRows(document.table(), "|1000|12|100");
        const State before = stateOf(document);
        std::vector<RouteEdit> stack;
        EditRecorder recorder(document, [&](RouteEdit edit) {
            if (!stack.empty() && stack.back().continuesTyping(edit))
                stack.back().append(edit);
            else
                stack.push_back(edit);
        });
        run(document, steps);
        QCOMPARE(int(stack.size()), count);
        for (auto edit = stack.rbegin(); edit != stack.rend(); ++edit)
            recorder.undo(*edit);
        QVERIFY(stateOf(document).cells == before.cells);
        QCOMPARE(document.description(), before.description);
    }
};

QTEST_APPLESS_MAIN(TestRouteEdit)
#include "tst_core_routeedit.moc"
