// SPDX-License-Identifier: GPL-3.0-or-later
// Standard fitting coefficients: branch entries, elbow bands and angles, the
// radius reply, the diameter search and the insertion into a row.
#include "fittings.h"

#include "coretest.h"

#include <algorithm>

using namespace plenix;
using namespace coretest;

namespace {

// What reaches the "Loss Coef." cell of a fresh row for a coefficient text.
std::string inCell(std::string_view coefficient)
{
    RouteTable table;
    table.setUp();
    table.setCurrentCell(1, RouteTable::ColLossCoef);
    writeFitting(table, coefficient, "d");
    return table.cellText(1, RouteTable::ColLossCoef);
}

} // namespace

class TestFittings final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void elbowCoefficients_data() { caseRows("elbows.cases"); }

    void elbowCoefficients()
    {
        QFETCH(Case, c);
        std::string actual;
        for (const char *angle : {"30", "45", "60", "90"}) {
            const std::string coefficient = elbowCoefficient(angle, std::stof(c.at(1)), c.at(2));
            actual += (coefficient.empty() ? "" : inCell(coefficient)) + "|";
        }
        actual.pop_back();
        QCOMPARE(actual, c.at(3));
    }

    void inserts_data() { caseRows("fitting-inserts.cases"); }

    // Every outcome but inserted has a word for the status bar.
    void inserts()
    {
        QFETCH(Case, c);
        const auto fitting = std::ranges::find(Fittings, c.at(0), &Fitting::caption);
        QVERIFY(fitting != Fittings.end());
        RouteDocument document;
        putRows(document.table(), c.at(1));
        run(document, c.at(2));
        const float diameter = elbowDiameter(document.table());
        const auto reply = c.at(3) == "-" ? std::nullopt : std::optional(c.at(3));
        const FittingOutcome outcome = insertFitting(document.table(), *fitting, diameter, reply);
        const char *const outcomes[] = {"inserted", "no diameter", "cancelled", "not a number"};
        QCOMPARE(outcomes[int(outcome)], c.at(4));
        QCOMPARE(fittingOutcomeText(outcome).empty(), outcome == FittingOutcome::Inserted);
        QCOMPARE(routeText(document.table()), c.at(5));
        if (fitting->asksForRadius())
            QCOMPARE(elbowPreview(fitting->value, diameter, reply.value_or("")), c.at(6));
    }
};

QTEST_APPLESS_MAIN(TestFittings)
#include "tst_core_fittings.moc"
