// SPDX-License-Identifier: GPL-3.0-or-later
// Calculate. Golden routes: every NAME.route in the data folder is opened,
// calculated and saved the way the window does it, and the saved bytes must
// equal NAME.expected. Where NAME.message exists instead, Calculate must stop
// with that message and saving must give the opened file back unchanged. The
// end-to-end test checks the file the real program saves against the same
// expected bytes. The case table adds the edges the golden routes leave out.
//
// PLENIX_GOLDEN_WRITE=1 writes the .expected file of a route that has none
// (and skips it); read a new one through before committing it.
#include "calculation.h"
#include "routedocument.h"
#include "routefile.h"

#include "coretest.h"

#include <QDir>

using namespace plenix;
using namespace coretest;

class TestCalculation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QCOMPARE(log.changes.size(), std::size_t(1));
    }
};

QTEST_APPLESS_MAIN(TestCalculation)
#include "tst_core_calculation.moc"
