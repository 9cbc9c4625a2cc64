// SPDX-License-Identifier: GPL-3.0-or-later
// The engineering methods: Darcy-Colebrook friction, the air, duct shapes,
// the material table and the units, against published values (each case
// names its source) and against the independent model of
// scripts/method-model.py, which fills in method-routes.cases.
#include "calculation/darcy.h"
#include "calculation/ductsection.h"
#include "calculation/friction.h"
#include "calculation/materials.h"
#include "calculation/sizing.h"
#include "numbertext.h"
#include "project/unitswitch.h"

#include "coretest.h"

#include <cmath>
#include <sstream>

using namespace plenix;
using namespace coretest;

namespace {

// "units=si;material=flex;roughness=0.001;air=site:5000,70" (or
// air=density:0.07) as the Darcy-Colebrook settings it names.
method::Settings settingsFrom(const std::string &settingsText)
{
    method::Settings settings;
    settings.friction = method::Friction::DarcyColebrook;
    std::istringstream in(settingsText);
    for (std::string item; std::getline(in, item, ';');) {
        const std::string key = item.substr(0, item.find('='));
        const std::string value = item.substr(item.find('=') + 1);
        if (key == "units")
            settings.units = value == "si" ? units::System::SI : units::System::InchPound;
        else if (key == "flow")
            settings.flowUnit = *units::flowUnitFromKey(value);
        else if (key == "material")
            settings.material = value;
        else if (key == "roughness")
            settings.roughness = std::stod(value);
        else if (key == "method")
            settings.friction = *method::frictionFromKey(value);
        else if (value.starts_with("density:"))
            settings.air = {air::Basis::Typed, 0, 0, std::stod(value.substr(8))};
        else if (value.starts_with("site:"))
            settings.air = {air::Basis::Site, std::stod(value.substr(5)),
                            std::stod(value.substr(value.find(',') + 1)), 0};
    }
    return settings;
}

bool near(double actual, double expected, double relative, double absolute = 0)
{
    return std::fabs(actual - expected) <= std::max(absolute, relative * std::fabs(expected));
}

double figureOf(const std::string &what, const std::string &input)
{
    std::istringstream in(input);
    if (what == "colebrook") {
        double re = 0, roughness = 0;
        in >> re >> roughness;
        return friction::darcyFactor(re, roughness);
    }
    if (what == "de" || what == "area") {
        const auto section = std::get<section::Section>(section::readSection(input));
        return what == "de" ? section.equivalentDiameter() : section.area();
    }
    std::string system;
    in >> system;
    const units::System units = system == "si" ? units::System::SI : units::System::InchPound;
    double a = 0, b = 0;
    if (what == "density") {
        in >> a >> b;
        return air::state({air::Basis::Site, a, b, 0}, units).density;
    }
    if (what == "viscosity") {
        in >> a;
        return air::viscosity(units, a);
    }
    if (what == "convert") {
        std::istringstream again(input);
        std::string quantity;
        again >> a >> quantity >> system;
        const std::vector<std::string> names{"flow",        "size",     "length",
                                             "roughness",   "pressure", "density",
                                             "temperature", "velocity", "rate"};
        const auto index = std::find(names.begin(), names.end(), quantity) - names.begin();
        return units::convert(a, static_cast<units::Quantity>(index),
                              system == "si" ? units::System::SI : units::System::InchPound);
    }
    // "rate": flow, size and material, one duct row of 100 ft.
    std::string flow, size, material;
    std::istringstream rate(input);
    rate >> flow >> size >> material;
    RouteTable table;
    table.setUp();
    putRows(table, "|" + flow + "|" + size + "|100");
    return darcy::routeFigures(table, settingsFrom("material=" + material)).rows.at(0).frictionRate;
}

} // namespace

class TestMethods final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishedFigures_data() { caseRows("method-figures.cases"); }

    void publishedFigures()
    {
        QFETCH(Case, c);
        const double actual = figureOf(c.at(0), c.at(1));
        const double expected = std::stod(c.at(2));
        const std::string &tolerance = c.at(3);
        const bool relative = tolerance.ends_with('%');
        const double allowed = std::stod(tolerance) * (relative ? std::fabs(expected) / 100 : 1);
        QVERIFY2(std::fabs(actual - expected) <= allowed + 1e-15 * std::fabs(expected),
                 qPrintable(QString::number(actual, 'g', 12)));
    }

    void againstTheModel_data() { caseRows("method-routes.cases"); }

    void againstTheModel()
    {
        QFETCH(Case, c);
        RouteTable table;
        table.setUp();
        putRows(table, c.at(2));
        const darcy::RouteFigures figures = darcy::routeFigures(table, settingsFrom(c.at(1)));
        if (figures.outcome.stopped) {
            QCOMPARE(figures.outcome.message, c.at(3));
            return;
        }
        std::istringstream expected(c.at(3));
        std::size_t row = 0;
        for (std::string line; std::getline(expected, line, '\n'); ++row) {
            QVERIFY(row < figures.rows.size());
            const darcy::RowFigures &here = figures.rows[row];
            double v = 0, vp = 0, loss = 0, total = 0, pressure = 0;
            const int read =
                std::sscanf(line.c_str(), "%lf|%lf|%lf|%lf|%lf", &v, &vp, &loss, &total, &pressure);
            QVERIFY(read == 5 || (read == 4 && line.ends_with("|-")));
            const std::optional<double> shown = darcy::staticPressure(here);
            QCOMPARE(shown.has_value(), read == 5);
            const double actual[] = {here.velocity, here.velocityPressure, here.loss, here.total,
                                     shown.value_or(0)};
            const double wanted[] = {v, vp, loss, total, pressure};
            for (int i = 0; i < 5; ++i)
                QVERIFY2(near(actual[i], wanted[i], 1e-6, 1e-15),
                         qPrintable(QStringLiteral("row %1, figure %2: %3")
                                        .arg(row + 1)
                                        .arg(i + 1)
                                        .arg(actual[i], 0, 'g', 12)));
        }
        QCOMPARE(row, figures.rows.size());
    }

    void shownTexts_data() { caseRows("method-shown.cases"); }

    // The cells Calculate writes: the shown digits of each unit system, and
    // the markers where there can be no figure.
    void shownTexts()
    {
        QFETCH(Case, c);
        RouteDocument document;
        document.table().setUp();
        document.setMethod(settingsFrom(c.at(1)));
        putRows(document.table(), c.at(2));
        const CalculationOutcome outcome = document.calculate();
        std::string shown = outcome.message;
        for (int row = 1; !outcome.stopped && row <= document.table().lastUsedRow(1); ++row)
            shown += (row > 1 ? "\n" : "") + rowText(document.table(), row, 7, 10);
        QCOMPARE(shown, c.at(3));
    }

    void sizes_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::string>("read");
        const std::string unreadable = "cannot be read";
        QTest::newRow("diameter") << "12"s
                                  << "12"s;
        QTest::newRow("decimal") << " 12.5 "s
                                 << "12.5"s;
        QTest::newRow("rectangle") << "24x12"s
                                   << "24x12"s;
        QTest::newRow("capital X with blanks") << "24 X 12"s
                                               << "24x12"s;
        QTest::newRow("multiplication sign") << "24\xD7"s + "12"s
                                             << "24x12"s;
        QTest::newRow("oval") << "24x12 oval"s
                              << "24x12 oval"s;
        QTest::newRow("oval, minor first, capitals") << "12 x 24 OVAL "s
                                                     << "24x12 oval"s;
        QTest::newRow("a side of 0") << "0x12"s
                                     << "has a side of 0"s;
        QTest::newRow("a diameter of 0") << "0"s
                                         << "has a side of 0"s;
        QTest::newRow("oval of height 0") << "24x0 oval"s
                                          << "has a side of 0"s;
        QTest::newRow("typo in the sign") << "24y12"s << unreadable;
        QTest::newRow("no height") << "24x"s << unreadable;
        QTest::newRow("no width") << "x12"s << unreadable;
        QTest::newRow("negative") << "-12"s << unreadable;
        QTest::newRow("two points") << "1.2.3"s << unreadable;
        QTest::newRow("typo in oval") << "24x12 ovl"s << unreadable;
        QTest::newRow("oval of a diameter") << "24 oval"s << unreadable;
        QTest::newRow("empty") << ""s << unreadable;
        QTest::newRow("own material") << "12 flex"s
                                      << "12 flex"s;
        QTest::newRow("oval of an alias, capitals, no blank") << "24x12oval GALVANIZED "s
                                                              << "24x12 oval galvanised"s;
        QTest::newRow("material alone") << "flex"s << unreadable;
        QTest::newRow("material first") << "flex 12"s << unreadable;
        QTest::newRow("material not in the table") << "12 flx"s << unreadable;
    }

    void sizes()
    {
        QFETCH(std::string, text);
        QFETCH(std::string, read);
        const auto section = section::readSection(text);
        // An expected refusal names the words of its message.
        const bool refused = read == "has a side of 0" || read == "cannot be read";
        const auto *error = std::get_if<section::SectionError>(&section);
        QCOMPARE(error != nullptr, refused);
        if (error)
            QVERIFY2(error->message.find(read) != std::string::npos, error->message.c_str());
        else
            QCOMPARE(section::sectionText(std::get<section::Section>(section)), read);
    }

    // The table the program carries is the file in the repository, and every
    // value in it says where it comes from.
    void materialTable()
    {
        const materials::Table file =
            materials::readTable(readAll(QStringLiteral(PLENIX_MATERIALS_FILE)).toStdString());
        const materials::Table &table = materials::builtIn();
        QCOMPARE(table.materials.size(), file.materials.size());
        QVERIFY(table.materials.size() >= 8);
        for (const materials::Material &material : table.materials) {
            QVERIFY2(material.source.starts_with("ASHRAE Handbook - Fundamentals (2017), ch. 21, "
                                                 "Table 1"),
                     material.id.c_str());
            // The two published values describe one roughness, each rounded.
            QVERIFY2(near(material.roughnessMm, material.roughnessFt * 304.8, 0.05),
                     material.id.c_str());
            QCOMPARE(materials::find(material.id), &material);
            for (const std::string &alias : material.aliases)
                QCOMPARE(materials::find(alias), &material);
        }
        const materials::Material *galvanised = materials::find("GALVANIZED");
        QVERIFY(galvanised);
        QCOMPARE(galvanised->roughnessFt, 0.0003);
        QCOMPARE(galvanised->roughnessMm, 0.09);
        QVERIFY(materials::find("flex")->flexible);
        QVERIFY(!galvanised->flexible);
        QVERIFY(!materials::find("copper"));
    }

    void badMaterialTables_data()
    {
        QTest::addColumn<std::string>("json");
        QTest::newRow("not JSON") << "{"s;
        QTest::newRow("no source") << R"({"materials":[{"id":"a","aliases":[],"name":"A",
                  "roughnessFt":0.1,"roughnessMm":30}]})"s;
        QTest::newRow("negative roughness") << R"({"materials":[{"id":"a","aliases":[],"name":"A",
                  "roughnessFt":-0.1,"roughnessMm":30,"source":"S"}]})"s;
    }

    void badMaterialTables()
    {
        QFETCH(std::string, json);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, materials::readTable(json));
    }

    // Switching units: each input by the exact factors, back and forth.
    void unitSwitch_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<std::string>("converted");
        const auto flow = int(units::Quantity::Flow), size = int(units::Quantity::Size);
        QTest::newRow("flow") << "1000"s << flow << "471.9474432"s;
        QTest::newRow("length") << "100"s << int(units::Quantity::Length) << "30.48"s;
        QTest::newRow("pressure") << "0.45"s << int(units::Quantity::Pressure) << "112.0900095"s;
        QTest::newRow("oval") << "24 X 12 OVAL"s << size << "609.6x304.8 oval"s;
        QTest::newRow("a classic diameter no shape reads") << "1E1"s << size << "254"s;
        QTest::newRow("a marker stays") << "#NUM!"s << flow << "#NUM!"s;
        QTest::newRow("text stays") << "n/a"s << flow << "n/a"s;
    }

    void unitSwitch()
    {
        QFETCH(std::string, text);
        QFETCH(int, quantity);
        QFETCH(std::string, converted);
        const auto what = static_cast<units::Quantity>(quantity);
        QCOMPARE(convertedCell(text, what, units::System::InchPound), converted);
        if (converted != text && what != units::Quantity::Size)
            QCOMPARE(numberFromText(convertedCell(converted, what, units::System::SI)),
                     numberFromText(text));
    }

    void unitSwitchCoversTheProject()
    {
        Project project;
        project.fanItems = {{"Coil", "1"}, {"Filter", ""}};
        putRows(project.routes.emplace_back().document->table(), "|1000|12|100");
        convertInputs(project, settingsFrom(""), settingsFrom("units=si;flow=m3/h"));
        QCOMPARE(rowText(project.routes[0].document->table(), 1, 1, 4),
                 "|1699.01079552|304.8|30.48");
        QCOMPARE(project.fanItems[0].pressure, "249.08891");
        QCOMPARE(project.fanItems[1].pressure, "");
        // Between two SI flow units only the flows change.
        convertInputs(project, settingsFrom("units=si;flow=m3/h"), settingsFrom("units=si"));
        QCOMPARE(rowText(project.routes[0].document->table(), 1, 1, 4), "|471.9474432|304.8|30.48");
        QCOMPARE(project.fanItems[0].pressure, "249.08891");
    }

    // A flow carried between cfm and the SI flow units by the definitions:
    // 1 ft = 0.3048 m, 1 min = 60 s, 1 h = 3600 s, 1 m3 = 1000 L; twelve
    // digits keep 1 cfm's 1.69901079552 m3/h whole.
    void flowUnits_data()
    {
        QTest::addColumn<std::string>("from");
        QTest::addColumn<std::string>("to");
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::string>("converted");
        QTest::newRow("cfm to L/s") << ""s
                                    << "units=si"s
                                    << "1000"s
                                    << "471.9474432"s;
        QTest::newRow("cfm to m3/h") << ""s
                                     << "units=si;flow=m3/h"s
                                     << "1000"s
                                     << "1699.01079552"s;
        QTest::newRow("L/s to m3/h") << "units=si"s
                                     << "units=si;flow=m3/h"s
                                     << "1000"s
                                     << "3600"s;
        QTest::newRow("m3/h to m3/s") << "units=si;flow=m3/h"s
                                      << "units=si;flow=m3/s"s
                                      << "3600"s
                                      << "1"s;
        QTest::newRow("m3/s to cfm") << "units=si;flow=m3/s"s
                                     << ""s
                                     << "1"s
                                     << "2118.88000329"s;
        QTest::newRow("a marker stays") << ""s
                                        << "units=si;flow=m3/h"s
                                        << "#NUM!"s
                                        << "#NUM!"s;
    }

    void flowUnits()
    {
        QFETCH(std::string, from);
        QFETCH(std::string, to);
        QFETCH(std::string, text);
        QFETCH(std::string, converted);
        QCOMPARE(convertedFlow(text, settingsFrom(from), settingsFrom(to)), converted);
    }

    // Sizing: the smallest size of the series within the criterion. The
    // figures are Darcy-Colebrook's, as method-routes.cases checks them;
    // 1000 cfm at 0.1 in wg/100 ft lies between 13 and 14 in on the round
    // galvanised duct friction chart of ASHRAE Handbook - Fundamentals
    // (2017), ch. 21.
    void sizes_proposed_data()
    {
        QTest::addColumn<std::string>("settingsText");
        QTest::addColumn<double>("flow");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("velocity");
        QTest::addColumn<double>("height");
        QTest::addColumn<std::string>("round");
        QTest::addColumn<std::string>("rectangle");
        QTest::newRow("by friction") << ""s << 1000.0 << 0.1 << 0.0 << 0.0 << "14"s
                                     << "16x10"s;
        QTest::newRow("by velocity, 1 ft2 at least")
            << ""s << 1000.0 << 0.0 << 1000.0 << 0.0 << "14"s
            << "12x12"s;
        QTest::newRow("by both, the velocity governing")
            << ""s << 1000.0 << 0.2 << 900.0 << 0.0 << "15"s
            << "16x10"s;
        QTest::newRow("a height given") << ""s << 1000.0 << 0.1 << 0.0 << 8.0 << "14"s
                                        << "22x8"s;
        QTest::newRow("SI") << "units=si"s << 500.0 << 1.0 << 0.0 << 0.0 << "400"s
                            << "400x250"s;
        // The series' edges: 20 in, the last whole inch; 315 mm.
        QTest::newRow("20 in") << ""s << 3500.0 << 0.16 << 0.0 << 0.0 << "20"s
                               << "22x16"s;
        QTest::newRow("315 mm") << "units=si"s << 500.0 << 2.0 << 0.0 << 0.0 << "315"s
                                << "300x250"s;
        QTest::newRow("a height past the aspect limit")
            << ""s << 1000.0 << 0.2 << 0.0 << 4.0 << "12"s
            << "40x4"s;
        QTest::newRow("beyond the series") << ""s << 1e6 << 0.01 << 0.0 << 0.0 << ""s
                                           << ""s;
    }

    void sizes_proposed()
    {
        QFETCH(std::string, settingsText);
        QFETCH(double, flow);
        QFETCH(double, rate);
        QFETCH(double, velocity);
        QFETCH(double, height);
        QFETCH(std::string, round);
        QFETCH(std::string, rectangle);
        const method::Settings settings = settingsFrom(settingsText);
        const sizing::Criterion criterion{rate > 0 ? std::optional(rate) : std::nullopt,
                                          velocity > 0 ? std::optional(velocity) : std::nullopt};
        QVERIFY(!sizing::requestError(flow, criterion));
        const auto text = [](const std::optional<sizing::Proposal> &proposal) {
            return proposal ? section::sectionText(proposal->size) : std::string();
        };
        const std::optional<sizing::Proposal> roundProposal =
            sizing::roundSize(flow, criterion, settings);
        QCOMPARE(text(roundProposal), round);
        QCOMPARE(text(sizing::rectangleSize(flow, criterion, settings,
                                            height > 0 ? std::optional(height) : std::nullopt)),
                 rectangle);
        if (roundProposal)
            QVERIFY(!(roundProposal->frictionRate > rate && rate > 0) &&
                    !(roundProposal->velocity > velocity && velocity > 0));
    }

    // Size Ducts over rows: every duct run its own flow's size, fittings and
    // text rows left; 500 cfm needs 11 in at 0.1 in wg/100 ft (10 in gives
    // 0.129 by scripts/method-model.py).
    void sizesRows()
    {
        RouteTable table;
        table.setUp();
        putRows(table, "|1000|10|100\n|||||0.2\n|500||50\n||||Riser\n|0||20");
        const sizing::RowsSized sized =
            sizing::sizeRows(table, 1, 5, {0.1, std::nullopt}, settingsFrom(""), false);
        QCOMPARE(sized.sized, 2);
        QCOMPARE(rowText(table, 1, 3, 3) + ' ' + rowText(table, 2, 3, 3) + ' ' +
                     rowText(table, 3, 3, 3) + ' ' + rowText(table, 5, 3, 3),
                 "14  11 ");
        const sizing::RowsSized none =
            sizing::sizeRows(table, 1, 1, {1e-7, std::nullopt}, settingsFrom(""), true);
        QCOMPARE(none.unsized, 1);
        QCOMPARE(table.cellText(1, RouteTable::ColDiameter), "14");

        // A run of its own material is sized in it and keeps it, and so does
        // the run that takes its size from above. The independent model of
        // method-model.py gives 15 in for 1000 cfm of flexible duct at
        // 0.1 in wg/100 ft, where galvanised duct takes 14 in.
        RouteTable flexible;
        flexible.setUp();
        putRows(flexible, "|1000|10 flex|100\n|||100");
        QCOMPARE(
            sizing::sizeRows(flexible, 1, 2, {0.1, std::nullopt}, settingsFrom(""), false).sized,
            2);
        QCOMPARE(rowText(flexible, 1, 3, 3) + ' ' + rowText(flexible, 2, 3, 3), "15 flex 15 flex");
    }

    void sizingRefusals()
    {
        QVERIFY(sizing::requestError(0, {1.0, std::nullopt}));
        QVERIFY(sizing::requestError(1000, {}));
        QVERIFY(sizing::requestError(1000, {-1.0, std::nullopt}));
        QVERIFY(sizing::requestError(1000, {std::nullopt, 0.0}));
    }

    void settingsErrors_data()
    {
        QTest::addColumn<std::string>("settingsText");
        QTest::addColumn<std::string>("error");
        QTest::newRow("classic in SI") << "method=classic;units=si"s
                                       << "SI units need"s;
        QTest::newRow("classic at altitude") << "method=classic;air=site:5000,70"s
                                             << "needs the Darcy-Colebrook"s;
        QTest::newRow("negative roughness") << "roughness=-0.001"s
                                            << "between 0 and 0.1 ft"s;
        QTest::newRow("roughness beyond") << "units=si;roughness=31"s
                                          << "between 0 and 30 mm"s;
        QTest::newRow("unknown material") << "material=copper"s
                                          << "\"copper\" is not"s;
        QTest::newRow("below absolute zero") << "air=site:0,-500"s
                                             << "temperature must lie between -148 and 1112 F"s;
        QTest::newRow("100 km up") << "units=si;air=site:100000,20"s
                                   << "elevation must lie"s;
        QTest::newRow("no density") << "air=density:0"s
                                    << "density must lie"s;
        QTest::newRow("sound") << "units=si;material=flex;air=site:1500,45"s
                               << ""s;
        QTest::newRow("the highest elevation") << "air=site:36000,70"s
                                               << ""s;
    }

    void settingsErrors()
    {
        QFETCH(std::string, settingsText);
        QFETCH(std::string, error);
        const std::optional<std::string> actual = method::settingsError(settingsFrom(settingsText));
        QCOMPARE(actual.has_value(), !error.empty());
        if (actual)
            QVERIFY2(actual->find(error) != std::string::npos, actual->c_str());
    }
};

QTEST_APPLESS_MAIN(TestMethods)
#include "tst_core_methods.moc"
