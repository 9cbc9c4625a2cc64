// SPDX-License-Identifier: GPL-3.0-or-later
// Calculate and the numbers it reads and writes: the BASIC-style reader, the
// cell text formats, the standard fitting coefficients (elbow bands and
// angles, the radius reply, the diameter search, the insertion into a row).
//
// Golden routes: every NAME.route in the data folder is opened, calculated
// and saved the way the window does it, and the saved bytes must equal
// NAME.expected. Where NAME.message exists instead, Calculate must stop with
// that message and saving must give the opened file back unchanged. The
// end-to-end test checks the file the real program saves against the same
// expected bytes. The case table adds the edges the golden routes leave out.
//
// PLENIX_GOLDEN_WRITE=1 writes the .expected file of a route that has none
// (and skips it); read a new one through before committing it.
#include "calculation.h"
#include "numbertext.h"
#include "routefile.h"

#include "coretest.h"

#include <QDir>

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

class TestCalculation final : public QObject
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

    void goldenRoute_data()
    {
        QTest::addColumn<QString>("base"); // path without the extension
        const QDir folder(QStringLiteral(PLENIX_ROUTES_DIR));
        const QStringList names =
            folder.entryList({QStringLiteral("*.route")}, QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), PLENIX_ROUTES_DIR);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << folder.filePath(name.chopped(6));
    }

    void goldenRoute()
    {
        QFETCH(QString, base);
        const QByteArray input = readAll(base + QStringLiteral(".route"));
        RouteDocument document;
        QVERIFY(document.openText(input.toStdString()));
        // The window shows the description in its box and saves what the box holds.
        document.setDescription(descriptionAsSaved(document.description()));
        const std::string message = calculate(document.table()).message;
        const QByteArray saved = QByteArray::fromStdString(document.fileText());
        if (const QString messageFile = base + QStringLiteral(".message");
            QFile::exists(messageFile)) {
            QCOMPARE(message, readAll(messageFile).toStdString());
            QCOMPARE(saved, input);
            return;
        }
        QCOMPARE(message, ""s);
        const QString expectedFile = base + QStringLiteral(".expected");
        if (!QFile::exists(expectedFile) && qEnvironmentVariableIsSet("PLENIX_GOLDEN_WRITE")) {
            QVERIFY(writeAll(expectedFile, saved));
            QSKIP("expected file written");
        }
        QCOMPARE(saved, readAll(expectedFile));
    }

    void calculates_data() { caseRows("calculation.cases"); }

    // Only the result columns change, in one report, and the cursor goes home.
    void calculates()
    {
        QFETCH(Case, c);
        RouteTable table;
        table.setUp();
        putRows(table, c.at(1));
        place(table, "30,7 35,9 top 28 left 5");
        ChangeLog log(table);
        const CalculationOutcome outcome = calculate(table);
        if (outcome.stopped) {
            QCOMPARE("stopped at row " + std::to_string(outcome.row) + ", cursor " + cursor(table),
                     c.at(2));
            return;
        }
        RouteTable expected;
        expected.setUp();
        putRows(expected, c.at(1));
        putRows(expected, c.at(2), 1, RouteTable::ColItemSP);
        QCOMPARE(routeText(table), routeText(expected));
        QCOMPARE(cursor(table), "1,1 1,1 top 1 left 1"s);
        QCOMPARE(log.count, 1);
    }
};

QTEST_APPLESS_MAIN(TestCalculation)
#include "tst_core_calculation.moc"
