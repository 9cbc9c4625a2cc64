// SPDX-License-Identifier: GPL-3.0-or-later
// The edit recorder: each kind of change becomes one edit that undoes to the
// exact texts and cursor it began from and redoes to where it ended, and
// keystrokes join only while they continue the same typing.
#include "coretest.h"

#include "routeedit.h"

using namespace coretest;
using plenix::EditRecorder;
using plenix::RouteDocument;
using plenix::RouteEdit;

namespace {
// The rows that hold text, the description and, unless given, the cursor.
std::string stateOf(const RouteDocument &document, const std::string &at = {})
{
    return routeText(document.table()) + "\n/" + document.description() + "/" +
           (at.empty() ? cursor(document.table()) : at);
}
} // namespace

class TestRouteEdit final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undoesAndRedoesExactly_data() { caseRows("route-edits.cases"); }

    void undoesAndRedoesExactly()
    {
        QFETCH(Case, c);
        RouteDocument document;
        putRows(document.table(), "|1000|12|100\n|||||0.28\n||||Supply");
        document.table().setTopRow(2);
        run(document, c.at(1));
        std::vector<RouteEdit> recorded, joined;
        EditRecorder recorder(document, [&](RouteEdit edit) {
            recorded.push_back(edit);
            if (!joined.empty() && joined.back().continuesTyping(edit))
                joined.back().append(edit);
            else
                joined.push_back(edit);
        });
        document.markSaved();
        const std::string before = stateOf(document, c.at(6));
        run(document, c.at(2));
        const std::string after = stateOf(document, c.at(7));
        QCOMPARE(recorded.size(), std::stoul(c.at(3)));
        QCOMPARE(joined.size(), std::stoul(c.at(4)));
        QCOMPARE(document.isModified(), !recorded.empty());
        if (recorded.empty())
            return;
        QCOMPARE(recorded[0].typing, c.at(5) == "typing");
        for (auto edit = joined.rbegin(); edit != joined.rend(); ++edit)
            recorder.undo(*edit);
        QCOMPARE(stateOf(document), before);
        for (const RouteEdit &edit : joined)
            recorder.redo(edit);
        QCOMPARE(stateOf(document), after);
        QCOMPARE(recorded.size(), std::stoul(c.at(3)));
    }

    // A group is one edit, never typing, from where it began to where it
    // ended; one whose changes cancel out is none.
    void groupIsOneEdit()
    {
        RouteDocument document;
        std::vector<RouteEdit> recorded;
        EditRecorder recorder(document, [&](RouteEdit edit) { recorded.push_back(edit); });
        const std::string before = stateOf(document);
        {
            EditRecorder::Group group(recorder);
            run(document, "at:2,2;type:12;describe:x");
        }
        {
            EditRecorder::Group group(recorder);
            run(document, "type:3;type:\b;at:4,4");
        }
        QCOMPARE(recorded.size(), std::size_t{1});
        QVERIFY(!recorded[0].typing);
        QCOMPARE(recorded[0].cells.size(), std::size_t{1});
        recorder.undo(recorded[0]);
        QCOMPARE(stateOf(document), before);
    }
};

QTEST_APPLESS_MAIN(TestRouteEdit)
#include "tst_core_routeedit.moc"
