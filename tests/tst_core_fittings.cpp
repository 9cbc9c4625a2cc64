// SPDX-License-Identifier: GPL-3.0-or-later
// The fitting library: every fitting against the published values of its
// source (fitting-sources.cases), its readings between and beyond the
// published points (fitting-readings.cases), and the faults a library file
// is refused for.
#include "fittings/library.h"
#include "fittings/lookup.h"
#include "fittings/rowfittings.h"
#include "project/projectfile.h"
#include "project/systemfigures.h"
#include "report.h"
#include "routedocument.h"

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

method::Settings settingsNamed(const std::string &name)
{
    method::Settings settings;
    if (name == "si") {
        settings.friction = method::Friction::DarcyColebrook;
        settings.units = units::System::SI;
    }
    return settings;
}

// A trunk of 2000 cfm in 16 in, and a branch of `branchFlow` in 10 in (8 in
// further on) that takes off after row `takeoffRow`; each has its junction
// fitting, the trunk's on row 2, named by `junction` ("Tee, 90 deg", "Wye").
Project teeProject(const std::string &branchFlow, int takeoffRow, const std::string &junction)
{
    Project project;
    ProjectRoute &trunk = project.routes.emplace_back();
    trunk.name = "Trunk";
    putRows(trunk.document->table(),
            "|2000|16|50\n||||" + junction + ", diverging, straight through\n|1200||30");
    ProjectRoute &branch = project.routes.emplace_back();
    branch.name = "Branch";
    branch.takeoff = Takeoff{"Trunk", takeoffRow};
    // The branch narrows further on: its first section is the junction's.
    putRows(branch.document->table(),
            "|" + branchFlow + "|10||" + junction + ", diverging, branch\n|||20\n||8|10");
    return project;
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
        // A worked example's figure (~) holds to one unit of its last digit.
        const bool example = c.at(2).starts_with('~');
        const std::string printed = c.at(2).substr(example ? 1 : 0);
        const double expected = std::stod(printed);
        const double tolerance =
            example ? std::pow(10.0, -static_cast<double>(printed.size() - printed.find('.') - 1))
                    : 1e-9 + 1e-8 * std::fabs(expected);
        QVERIFY2(std::fabs(result.coefficient - expected) <= tolerance,
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
        QTest::newRow("a keyword") << std::string("lateral")
                                   << std::string("wye-diverging-branch wye-diverging-main "
                                                  "wye-converging-branch wye-converging-main");
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

    void rows_data() { caseRows("fitting-rows.cases"); }

    void rows()
    {
        QFETCH(Case, c);
        RouteDocument document;
        document.setMethod(settingsNamed(c.at(0)));
        putRows(document.table(), c.at(1));
        const fittings::RouteContext context{document.method().units, {}, {}};
        document.calculate(&context);
        const int row = std::stoi(c.at(2));
        const RouteTable &table = document.table();
        QCOMPARE(table.cellText(row, RouteTable::ColLossCoef), c.at(3));
        const fittings::RowFitting &fitting =
            document.fittingRows().at(static_cast<std::size_t>(row - 1));
        // Its tooltip and tint follow it, on the last row too.
        QCOMPARE(fittings::currentFitting(table, document.fittingRows(), row), &fitting);
        if (c.at(4) != "-")
            QVERIFY2(std::fabs(fitting.velocityPressure / std::stod(c.at(4)) - 1) < 1e-6,
                     qPrintable(QString::number(fitting.velocityPressure, 'g', 10)));
        QCOMPARE(table.cellText(row, RouteTable::ColItemSP), c.at(5));
    }

    // Qb is the branch's flow and Qc the trunk's before the take-off: a
    // changed branch flow changes both tees.
    void teesFollowTheFlows_data()
    {
        QTest::addColumn<std::string>("branchFlow");
        QTest::addColumn<int>("takeoffRow");
        QTest::addColumn<std::string>("main");
        QTest::addColumn<std::string>("branch");
        QTest::addColumn<std::string>("junction");
        // Ab/Ac = 100/256; Crane's M = 0.4, and G and H 1 at 90 deg for a branch
        // of 0.625 the trunk's diameter.
        QTest::newRow("800 of 2000") << std::string("800") << 1 << std::string("0.064")
                                     << std::string("2.0486") << std::string("Tee, 90 deg");
        QTest::newRow("1000 of 2000") << std::string("1000") << 1 << std::string("0.1")
                                      << std::string("2.6384") << std::string("Tee, 90 deg");
        // A take-off after the tee's own row is the tee's junction too.
        QTest::newRow("after the tee's row") << std::string("800") << 2 << std::string("0.064")
                                             << std::string("2.0486") << std::string("Tee, 90 deg");
        // A 45 deg wye's branch: G 1 - 0.6 (0.4), less 2 (Vb/Vc) cos 45.
        QTest::newRow("wye") << std::string("800") << 1 << std::string("0.064")
                             << std::string("0.4563") << std::string("Wye");
    }

    void teesFollowTheFlows()
    {
        QFETCH(std::string, branchFlow);
        QFETCH(int, takeoffRow);
        QFETCH(std::string, main);
        QFETCH(std::string, branch);
        QFETCH(std::string, junction);
        Project project = teeProject(branchFlow, takeoffRow, junction);
        calculateProject(project);
        QCOMPARE(project.routes[0].document->table().cellText(2, RouteTable::ColLossCoef), main);
        QCOMPARE(project.routes[1].document->table().cellText(1, RouteTable::ColLossCoef), branch);
        // Both on the trunk's velocity pressure at the take-off row.
        const double trunkVp = project.routes[0].document->fittingRows().at(1).velocityPressure;
        QCOMPARE(project.routes[1].document->fittingRows().at(0).velocityPressure, trunkVp);
        QVERIFY(std::fabs(trunkVp - 0.1279146) < 1e-6);
    }

    void descriptions_data()
    {
        QTest::addColumn<std::string>("description");
        QTest::addColumn<std::string>("read");
        const auto add = [](const char *description, const char *read) {
            QTest::newRow(description) << std::string(description) << std::string(read);
        };
        add("Elbow, round, smooth radius, R/D 1.5, Angle 45 deg", "elbow-round-smooth 1.5 45");
        add("elbow, ROUND, smooth radius, angle 30", "elbow-round-smooth - 30");
        add("Elbow, round, smooth radius, supply side, R/D 2", "elbow-round-smooth 2 -");
        add("Elbow, round, smooth radiusR/D 2", "none");
        add("Elbow round smooth radius", "none");
        add("Elbow, round, smooth radius, R/D 1.5 in", "fault 'R/D 1.5 in' cannot be read");
        add("Coil, 0.3 in wg", "coil 0.3");
        add("Coil, 249.08891 Pa", "coil 1");
        add("Coil, 0.3 psi", "fault '0.3 psi' is no pressure in in wg or Pa");
        add("Coil", "none");
        add("Coil, chilled water", "none");
        add("Tee, 90 deg, diverging, straight through", "tee-diverging-main - -");
    }

    void descriptions()
    {
        QFETCH(std::string, description);
        QFETCH(std::string, read);
        const std::optional<fittings::DescribedFitting> described =
            fittings::readDescription(fittings::builtIn(), description, units::System::InchPound);
        std::string got = "none";
        if (described && !described->fault.empty()) {
            got = "fault " + described->fault;
        } else if (described) {
            got = described->fitting->id;
            for (const std::optional<double> &value : described->given)
                got += ' ' + (value ? fittings::valueText(*value) : std::string("-"));
            if (described->pressure)
                got += ' ' + fittings::valueText(std::round(*described->pressure * 1e9) / 1e9);
        }
        QCOMPARE(got, read);
    }

    // A row that a project file gives only by its keys takes the
    // description they say; saved again, the description is written.
    void rowFromKeys()
    {
        const std::string text =
            R"({"format":"plenix-project","version":1,"job":{},"settings":{"method":"classic"},)"
            R"("fan":{"items":[]},"routes":[{"name":"R","rows":[)"
            R"({"fitting":"elbow-round-smooth","parameters":{"angle":45,"rd":1.5}},)"
            R"({"fitting":"coil","pressure":0.3},{"fitting":"exit-free"}]}]})";
        const ProjectRead read = readProjectText(text, "p.plenix");
        QVERIFY2(read.project, read.error.c_str());
        const RouteTable &table = read.project->routes[0].document->table();
        QCOMPARE(table.cellText(1, RouteTable::ColDescription),
                 std::string("Elbow, round, smooth radius, R/D 1.5, Angle 45 deg"));
        QCOMPARE(table.cellText(2, RouteTable::ColDescription), std::string("Coil, 0.3 in wg"));
        QCOMPARE(table.cellText(3, RouteTable::ColDescription),
                 std::string("Exit, free discharge"));
        const std::string saved = projectFileText(*read.project);
        QVERIFY(saved.find(R"("description": "Coil, 0.3 in wg",)") != std::string::npos);
        QVERIFY(saved.find(R"("pressure": 0.3)") != std::string::npos);
    }

    void picks_data()
    {
        QTest::addColumn<std::string>("id");
        QTest::addColumn<std::vector<std::string>>("texts");
        QTest::addColumn<std::string>("picked");
        QTest::newRow("defaults") << std::string("elbow-round-smooth")
                                  << std::vector<std::string>{"1.5", "90"}
                                  << std::string("Elbow, round, smooth radius, R/D 1.5, Angle 90 "
                                                 "deg|0.15|C 0.15 on the velocity pressure of "
                                                 "the fitting's own section");
        QTest::newRow("left to the route")
            << std::string("tee-diverging-branch") << std::vector<std::string>{"", " "}
            << std::string("Tee, 90 deg, diverging, branch|1.3|C 1.3 on the velocity pressure "
                           "of the combined flow in the main");
        QTest::newRow("clamped") << std::string("elbow-round-smooth")
                                 << std::vector<std::string>{"3", "90"}
                                 << std::string("Elbow, round, smooth radius, R/D 3, Angle 90 "
                                                "deg|0.12|C 0.12 on the velocity pressure of the "
                                                "fitting's own section|R/D 3 is above the "
                                                "table's 2.5; the value at 2.5 is used");
        QTest::newRow("not a number")
            << std::string("elbow-round-smooth") << std::vector<std::string>{"1.5", "ninety"}
            << std::string("Angle: type a number");
        QTest::newRow("component") << std::string("coil") << std::vector<std::string>{"0.3"}
                                   << std::string("Coil, 0.3 in wg||A fixed loss of 0.3 in wg");
        QTest::newRow("component without pressure")
            << std::string("coil") << std::vector<std::string>{""}
            << std::string("Type the pressure from the maker's data");
    }

    void picks()
    {
        QFETCH(std::string, id);
        QFETCH(std::vector<std::string>, texts);
        QFETCH(std::string, picked);
        const fittings::Pick pick =
            fittings::pick(*fittings::builtIn().find(id), texts, units::System::InchPound);
        std::string got = pick.problem.empty()
                              ? pick.description + '|' + pick.coefficient + '|' + pick.summary
                              : pick.problem;
        for (const std::string &clamp : pick.clamps)
            got += '|' + clamp;
        QCOMPARE(got, picked);
    }

    // What a fitting row's tooltip tells: the fitting, its source, the
    // values used, the coefficient and its velocity pressure, and the clamp.
    void rowTips()
    {
        RouteDocument document;
        putRows(document.table(),
                "|2000|16|50\n||12||Contraction, gradual to abrupt, Included angle 90 deg\n"
                "|||||0.5");
        const fittings::RouteContext context;
        document.calculate(&context);
        const fittings::Fitting &contraction = fittingOf("contraction");
        QCOMPARE(
            fittings::rowTip(document.table(), document.fittingRows(), 2, units::System::InchPound),
            "Contraction, gradual to abrupt\n" + contraction.source +
                "\nIncluded angle 90 deg, A1/A2 2 (from the route)\nC 0.12 on the velocity "
                "pressure of the downstream section, 0.404 in wg\nA1/A2 1.778 is below the "
                "table's 2; the value at 2 is used");
        QCOMPARE(
            fittings::rowTip(document.table(), document.fittingRows(), 3, units::System::InchPound),
            std::string("Typed coefficient: no source"));
        QCOMPARE(
            fittings::rowTip(document.table(), document.fittingRows(), 1, units::System::InchPound),
            std::string());
    }

    // The report's list of a route's fittings: each with its rows and source,
    // the typed coefficients, and every clamp and fault; a component is an
    // item of the report.
    void reportedFittings()
    {
        ProjectRead read = readProjectText(
            readAll(QFINDTESTDATA("data/projects/fittings-si.plenix")).toStdString(), "p");
        QVERIFY2(read.project, read.error.c_str());
        Project &project = *read.project;
        putRows(project.routes[2].document->table(), "|||||0.5", 3);
        putRows(project.routes[1].document->table(), "||||Coil, 10 Pa", 4);
        calculateProject(project);
        const ReportContent supply = reportContent(*project.routes[0].document);
        QCOMPARE(supply.fittings.size(), std::size_t{12});
        QCOMPARE(supply.fittings.at(1),
                 "Hood, flanged duct opening (row 1): " + fittingOf("hood-flanged").source + ".");
        QCOMPARE(supply.fittings.at(9),
                 "Exit into a plenum (row 14): " + fittingOf("exit-plenum").source + ".");
        QCOMPARE(supply.fittings.at(10),
                 std::string("Row 7: A1/A2 1.432 is above the table's 1; the value at 1 is used."));
        QCOMPARE(supply.fittings.at(11), std::string("Row 12: 'R/D x' cannot be read."));
        const auto kind = [&supply](int number) {
            for (const ReportRow &row : supply.rows) {
                if (row.number == number)
                    return row.kind;
            }
            return ReportRowKind::Text;
        };
        QVERIFY(kind(10) == ReportRowKind::Item && kind(13) == ReportRowKind::Text);
        // A component on the route's last row is an item too.
        QVERIFY(reportContent(*project.routes[1].document).rows.back().kind == ReportRowKind::Item);
        const ReportContent run = reportContent(*project.routes[2].document);
        QCOMPARE(run.fittings.back(), std::string("Typed coefficients, with no source (row 3)."));
        // A route of a route file names no fitting.
        RouteDocument file;
        putRows(file.table(), "|1000|10|20\n||||Coil, 0.3 in wg|0.5");
        file.calculate();
        QVERIFY(reportContent(file).fittings.empty());
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
