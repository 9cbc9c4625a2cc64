// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers: the BASIC-style reader, the cell text formats, and the standard
// fitting coefficients (elbow bands and angles, the radius reply, the
// diameter search, the insertion into a row).
#include "numbertext.h"

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

class TestNumbers final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formats_data() { caseRows("number-formats.cases"); }

    void formats()
    {
        QFETCH(Case, c);
        const Pattern pattern = c.at(0) == "0.##"   ? Pattern::TwoDecimals
                                : c.at(0) == "####" ? Pattern::Whole
                                                    : Pattern::OneOrTwoDecimals;
        const double value = std::strtod(c.at(3).c_str(), nullptr);
        const bool single = c.at(1) == "single";
        const auto asSingle = static_cast<float>(value);
        QCOMPARE(single ? formatNumber(asSingle, pattern) : formatNumber(value, pattern), c.at(2));
        QCOMPARE(single ? formatNumberExactly(asSingle, pattern)
                        : formatNumberExactly(value, pattern),
                 c.at(2));
    }

    void readsNumbers_data() { caseRows("number-reads.cases"); }

    // Exactly: the reader must round as correctly as the C library does.
    void readsNumbers()
    {
        QFETCH(Case, c);
        const double actual = numberFromText(c.at(0));
        QVERIFY2(actual == std::strtod(c.at(1).c_str(), nullptr),
                 qPrintable(QString::number(actual, 'g', 17)));
    }

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

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_core_numbers.moc"
