// SPDX-License-Identifier: GPL-3.0-or-later
// The fitting library: every fitting against the published values of its
// source (fitting-sources.cases), its readings between and beyond the
// published points (fitting-readings.cases), and the faults a library file
// is refused for.
#include "fittings/library.h"
#include "fittings/lookup.h"

#include "coretest.h"

#include <cmath>
#include <set>
#include <sstream>

using namespace plenix;
using namespace coretest;

namespace {

const fittings::Fitting &fittingOf(const std::string &id)
{
    const fittings::Fitting *fitting = fittings::builtIn().find(id);
    if (fitting == nullptr)
        qFatal("no fitting %s", id.c_str());
    return *fitting;
}

// "rd=1.5 angle=90" (or "-") as the fitting's values, the others at their
// defaults.
std::vector<double> valuesOf(const fittings::Fitting &fitting, const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream in(text == "-" ? std::string() : text);
    for (std::string word; in >> word;)
        words.push_back(word);
    const auto lookup = fittings::readLookup(fittings::builtIn(), fitting.id, words);
    return std::get<fittings::Lookup>(lookup).values;
}

} // namespace

class TestFittings final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishedValues_data() { caseRows("fitting-sources.cases"); }

    void publishedValues()
    {
        QFETCH(Case, c);
        const fittings::Fitting &fitting = fittingOf(c.at(0));
        const fittings::Evaluation result = fittings::evaluate(fitting, valuesOf(fitting, c.at(1)));
        QVERIFY2(std::fabs(result.coefficient - std::stod(c.at(2))) <= 1e-9,
                 qPrintable(QString::number(result.coefficient, 'g', 12)));
        QVERIFY(result.clamps.empty());
        QCOMPARE(std::string(fittings::vpReferenceKey(fitting.vpReference)), c.at(3));
    }

    // Every coefficient of the library is checked against its source above.
    void everyFittingHasPublishedCases()
    {
        std::set<std::string> checked;
        for (const Case &c : caseFile("fitting-sources.cases"))
            checked.insert(c.at(0));
        for (const fittings::Fitting &fitting : fittings::builtIn().fittings) {
            if (fitting.kind == fittings::Fitting::Kind::Coefficient)
                QVERIFY2(checked.contains(fitting.id), fitting.id.c_str());
        }
    }

    void readings_data() { caseRows("fitting-readings.cases"); }

    void readings()
    {
        QFETCH(Case, c);
        const fittings::Fitting &fitting = fittingOf(c.at(0));
        const fittings::Evaluation result = fittings::evaluate(fitting, valuesOf(fitting, c.at(1)));
        QVERIFY2(std::fabs(result.coefficient - std::stod(c.at(2))) <= 1e-9,
                 qPrintable(QString::number(result.coefficient, 'g', 12)));
        std::string marks;
        for (const fittings::Clamp &clamp : result.clamps)
            marks += (marks.empty() ? "" : " | ") + fittings::clampText(fitting, clamp);
        QCOMPARE(marks.empty() ? std::string("-") : marks, c.at(3));
    }

    // A value that is no number cannot be read; one that reaches the
    // evaluation anyway takes the default, marked.
    void notANumber()
    {
        const fittings::Fitting &elbow = fittingOf("elbow-round-smooth");
        const fittings::Evaluation result = fittings::evaluate(elbow, {std::nan(""), 45});
        QCOMPARE(result.coefficient, 0.15 * 0.60);
        QCOMPARE(fittings::clampText(elbow, result.clamps.at(0)),
                 std::string("R/D is not a number; 1.5 is used"));
        for (const char *text : {"nan", "inf", "-inf", "1e999", "", "1,5", "0x10", "1.5.2", "--1"})
            QVERIFY2(!fittings::readValue(text), text);
        QCOMPARE(fittings::readValue(" +2.5e1 "), 25.0);
    }

    void libraryFile()
    {
        const fittings::Library file =
            fittings::readLibrary(readAll(QStringLiteral(PLENIX_FITTINGS_FILE)).toStdString());
        QCOMPARE(file.fittings.size(), fittings::builtIn().fittings.size());
        for (const fittings::Fitting &fitting : file.fittings) {
            // A coefficient names the table, figure, diagram or formula it
            // comes from; a component, where its pressure is read.
            const bool named = fitting.source.find("Table") != std::string::npos ||
                               fitting.source.find("fitting") != std::string::npos ||
                               fitting.source.find("Figure") != std::string::npos ||
                               fitting.source.find("diagram") != std::string::npos ||
                               fitting.source.find("formula") != std::string::npos ||
                               fitting.source.find("p. ") != std::string::npos ||
                               fitting.source.find("Appendix") != std::string::npos ||
                               fitting.source.find("maker's") != std::string::npos;
            QVERIFY2(named, fitting.id.c_str());
        }
    }

    void refusedLibraries_data()
    {
        QTest::addColumn<std::string>("json");
        QTest::addColumn<std::string>("message");
        const std::string head = R"({"fittings": [{"id": "x", "name": "X", "family": "F", )"
                                 R"("source": "S, Table 1", "vpReference": "own", )";
        const std::string parameter = R"("parameters": [{"id": "p", "name": "P", "min": 0, )"
                                      R"("max": 1, "default": 0.5}], )";
        QTest::newRow("values") << head + parameter +
                                       R"("coefficient": [{"axes": ["p"], "points": [[0, 1]], )"
                                       R"("values": [1]}]}]})"
                                << std::string("fitting x: a table has 1 values for 2 points");
        QTest::newRow("falling") << head + parameter +
                                        R"("coefficient": [{"axes": ["p"], "points": [[1, 0]], )"
                                        R"("values": [1, 2]}]}]})"
                                 << std::string("fitting x: a table's points must rise");
        QTest::newRow("axis") << head + parameter +
                                     R"("coefficient": [{"axes": ["q"], "points": [[0, 1]], )"
                                     R"("values": [1, 2]}]}]})"
                              << std::string("fitting x: no parameter q");
        QTest::newRow("formula") << head + parameter +
                                        R"("coefficient": [{"formula": "magic", "of": ["p"]}]}]})"
                                 << std::string("fitting x: no formula magic");
        QTest::newRow("arity") << head + parameter +
                                      R"("coefficient": [{"formula": "conical-expansion", )"
                                      R"("of": ["p"]}]}]})"
                               << std::string("fitting x: formula conical-expansion takes 2 "
                                              "parameters");
        QTest::newRow("default")
            << head +
                   R"("parameters": [{"id": "p", "name": "P", "min": 0, "max": 1, "default": 2}], )"
                   R"("coefficient": [{"value": 1}]}]})"
            << std::string("fitting x: the default of p is outside its range");
        QTest::newRow("reference")
            << std::string(R"({"fittings": [{"id": "x", "name": "X", "family": "F", )"
                           R"("source": "S", "vpReference": "sideways", )"
                           R"("coefficient": [{"value": 1}]}]})")
            << std::string("fitting x: no velocity pressure sideways");
        QTest::newRow("source") << std::string(R"({"fittings": [{"id": "x", "name": "X", )"
                                               R"("family": "F", "source": "", )"
                                               R"("vpReference": "own", )"
                                               R"("coefficient": [{"value": 1}]}]})")
                                << std::string("fitting x: no source");
        QTest::newRow("twice") << R"({"fittings": [)" + head.substr(14) +
                                      R"("coefficient": [{"value": 1}]}, )" + head.substr(14) +
                                      R"("coefficient": [{"value": 1}]}]})"
                               << std::string("fitting x: two fittings of this id");
    }

    void refusedLibraries()
    {
        QFETCH(std::string, json);
        QFETCH(std::string, message);
        try {
            fittings::readLibrary(json);
            QFAIL("read");
        } catch (const std::runtime_error &error) {
            QCOMPARE(std::string(error.what()), message);
        }
    }

    void search_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::string>("found");
        QTest::newRow("tee") << std::string("tee")
                             << std::string("tee-diverging-branch tee-diverging-main "
                                            "tee-converging-branch tee-converging-main");
        QTest::newRow("any case, keyword")
            << std::string("BELLMOUTH") << std::string("entry-bellmouth");
        QTest::newRow("every word")
            << std::string("  round   mitered ") << std::string("elbow-round-mitered");
        QTest::newRow("family") << std::string("exits") << std::string("exit-free exit-plenum");
        QTest::newRow("none") << std::string("tee bellmouth") << std::string();
    }

    void search()
    {
        QFETCH(std::string, text);
        QFETCH(std::string, found);
        std::string ids;
        for (const fittings::Fitting *fitting : fittings::builtIn().search(text))
            ids += (ids.empty() ? "" : " ") + fitting->id;
        QCOMPARE(ids, found);
        QCOMPARE(fittings::builtIn().search("").size(), fittings::builtIn().fittings.size());
    }

    void descriptionAndRange()
    {
        const fittings::Fitting &elbow = fittingOf("elbow-round-smooth");
        QCOMPARE(fittings::description(elbow, {1.5, 45}),
                 std::string("Elbow, round, smooth radius, R/D 1.5, Angle 45 deg"));
        QCOMPARE(fittings::rangeText(elbow.parameters.at(1)), std::string("0 to 180 deg"));
        QCOMPARE(fittings::rangeText(fittingOf("elbow-round-mitered").parameters.at(1)),
                 std::string("10000 and above"));
        QCOMPARE(fittings::coefficientText(0.18500000000000003), std::string("0.185"));
        QCOMPARE(fittings::coefficientText(-0.072), std::string("-0.072"));
        QCOMPARE(fittings::coefficientText(2.17159), std::string("2.1716"));
        QCOMPARE(fittings::coefficientText(-0.00001), std::string("0"));
    }
};

QTEST_APPLESS_MAIN(TestFittings)
#include "tst_core_fittings.moc"
