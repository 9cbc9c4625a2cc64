// SPDX-License-Identifier: GPL-3.0-or-later
#include "calcoptions.h"

#include "calculation/materials.h"
#include "exitstatus.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <string_view>
#include <utility>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

ParsedOptions usageError(const QString &reason)
{
    return {{},
            ExitFailed,
            QCoreApplication::translate(
                "plenix-calc", "plenix-calc: %1\nTry 'plenix-calc --help' for more information.\n")
                .arg(reason)};
}

// The options of the engineering methods, which override a file's settings.
struct MethodOptions
{
    QCommandLineOption unitsOption{
        u"units"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Read and calculate in <units>: ip (cfm, in, ft, in wg) or si "
                                    "(L/s, mm, m, Pa)."),
        u"units"_s};
    QCommandLineOption flowUnitOption{
        u"flow-unit"_s,
        QCoreApplication::translate("plenix-calc",
                                    "In si units, the flows' <unit>: l/s (the default), m3/h or "
                                    "m3/s."),
        u"unit"_s};
    QCommandLineOption methodOption{
        u"method"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Calculate friction by <method>: classic (the route file's "
                                    "formula) or darcy (Darcy-Weisbach with Colebrook)."),
        u"method"_s};
    QCommandLineOption materialOption{
        u"material"_s,
        QCoreApplication::translate("plenix-calc",
                                    "The ducts' <material>: galvanised, stainless, aluminium, pvc, "
                                    "ductboard, lined, flex or concrete."),
        u"material"_s};
    QCommandLineOption roughnessOption{
        u"roughness"_s,
        QCoreApplication::translate("plenix-calc",
                                    "The ducts' absolute roughness, ft in ip units, mm in si."),
        u"value"_s};
    QCommandLineOption elevationOption{
        u"elevation"_s,
        QCoreApplication::translate("plenix-calc", "The site's elevation, ft or m."), u"value"_s};
    QCommandLineOption temperatureOption{
        u"temperature"_s,
        QCoreApplication::translate("plenix-calc", "The air's temperature, F or C."), u"value"_s};
    QCommandLineOption sizeOption{
        u"size"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Print the round and rectangular sizes for <flow>, by "
                                    "--friction-rate, --max-velocity or both, and no route."),
        u"flow"_s};
    QCommandLineOption frictionRateOption{
        u"friction-rate"_s,
        QCoreApplication::translate("plenix-calc",
                                    "With --size: the largest friction rate, in wg per 100 ft or "
                                    "Pa per m."),
        u"value"_s};
    QCommandLineOption maxVelocityOption{
        u"max-velocity"_s,
        QCoreApplication::translate("plenix-calc",
                                    "With --size: the largest velocity, fpm or m/s."),
        u"value"_s};
    QCommandLineOption heightOption{
        u"height"_s,
        QCoreApplication::translate("plenix-calc",
                                    "With --size: the rectangles' height, in or mm."),
        u"value"_s};
    QCommandLineOption densityOption{
        u"density"_s,
        QCoreApplication::translate("plenix-calc",
                                    "The air's density, lb/ft3 or kg/m3, instead of elevation "
                                    "and temperature."),
        u"value"_s};

    QList<QCommandLineOption> all() const
    {
        return {unitsOption,     flowUnitOption,     methodOption,      materialOption,
                roughnessOption, elevationOption,    temperatureOption, densityOption,
                sizeOption,      frictionRateOption, maxVelocityOption, heightOption};
    }

    // Fills the overrides and the sizing, or says what is wrong.
    std::optional<QString> read(const QCommandLineParser &parser, CalcOptions &options) const
    {
        method::Overrides &out = options.method;
        if (parser.isSet(unitsOption)) {
            const QString value = parser.value(unitsOption).toLower();
            if (value != u"ip" && value != u"si")
                return QCoreApplication::translate("plenix-calc", "unknown units '%1' (ip or si)")
                    .arg(parser.value(unitsOption));
            out.units = value == u"si" ? units::System::SI : units::System::InchPound;
        }
        if (parser.isSet(flowUnitOption)) {
            out.flowUnit = units::flowUnitFromKey(parser.value(flowUnitOption).toStdString());
            if (!out.flowUnit)
                return QCoreApplication::translate("plenix-calc",
                                                   "unknown flow unit '%1' (l/s, m3/h or m3/s)")
                    .arg(parser.value(flowUnitOption));
        }
        if (parser.isSet(methodOption)) {
            const QString value = parser.value(methodOption).toLower();
            out.friction = method::frictionFromKey(value.toStdString());
            if (!out.friction)
                return QCoreApplication::translate("plenix-calc",
                                                   "unknown method '%1' (classic or darcy)")
                    .arg(parser.value(methodOption));
        }
        if (parser.isSet(materialOption)) {
            const materials::Material *found =
                materials::find(parser.value(materialOption).toStdString());
            if (!found)
                return QCoreApplication::translate(
                           "plenix-calc",
                           "unknown material '%1' (galvanised, stainless, aluminium, pvc, "
                           "ductboard, lined, flex or concrete)")
                    .arg(parser.value(materialOption));
            out.material = found->id;
        }
        const std::array numbers{
            std::pair{&roughnessOption, &out.roughness},
            std::pair{&elevationOption, &out.elevation},
            std::pair{&temperatureOption, &out.temperature},
            std::pair{&densityOption, &out.density},
            std::pair{&sizeOption, &options.sizeFlow},
            std::pair{&frictionRateOption, &options.sizeCriterion.frictionRate},
            std::pair{&maxVelocityOption, &options.sizeCriterion.maxVelocity},
            std::pair{&heightOption, &options.sizeHeight}};
        for (const auto &[option, value] : numbers) {
            if (!parser.isSet(*option))
                continue;
            bool ok = false;
            *value = parser.value(*option).toDouble(&ok);
            if (!ok)
                return QCoreApplication::translate("plenix-calc", "--%1 takes a number, not '%2'")
                    .arg(option->names().constFirst(), parser.value(*option));
        }
        if (out.density && (out.elevation || out.temperature))
            return QCoreApplication::translate("plenix-calc",
                                               "--density excludes --elevation and --temperature");
        const bool sizingOptions = options.sizeCriterion.frictionRate ||
                                   options.sizeCriterion.maxVelocity || options.sizeHeight;
        if (!options.sizeFlow && sizingOptions)
            return QCoreApplication::translate(
                "plenix-calc", "--friction-rate, --max-velocity and --height go with --size");
        if (options.sizeFlow) {
            if (std::optional<std::string> error = sizing::requestError(
                    *options.sizeFlow, options.sizeCriterion, options.sizeHeight))
                return QString::fromStdString(*error);
        }
        return std::nullopt;
    }
};

} // namespace

namespace {

// A folder among the arguments stands for the route files and projects in
// it, sorted by name; one without any stays, to be reported as a folder.
QStringList withFolderContents(const QStringList &arguments)
{
    QStringList files;
    for (const QString &argument : arguments) {
        const QDir folder(argument);
        const QStringList names =
            argument != u"-" && QFileInfo(argument).isDir()
                ? folder.entryList({u"*.txt"_s, u"*.plenix"_s}, QDir::Files, QDir::Name)
                : QStringList();
        if (names.isEmpty())
            files << argument;
        for (const QString &name : names)
            files << folder.filePath(name);
    }
    return files;
}

} // namespace

QString exportFileOf(const QString &target, const QString &file, QStringView extension)
{
    if (!QFileInfo(target).isDir())
        return target;
    const QString name = file == u"-" ? u"standard-input"_s : QFileInfo(file).completeBaseName();
    return QDir(target).filePath(name + u'.' + extension.toString());
}

ParsedOptions parseCalcOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "plenix-calc",
        "Calculates route files and projects as the Plenix window does and prints their\n"
        "tables.\n"
        "Exit status: 0 all well, 1 a route stopped at the validation check or holds\n"
        "stale results (--check), 2 a usage error or a file that cannot be read or written."));
    const QCommandLineOption helpOption(
        {u"h"_s, u"help"_s},
        QCoreApplication::translate("plenix-calc", "Show this help and exit."));
    const QCommandLineOption versionOption(
        u"version"_s, QCoreApplication::translate("plenix-calc", "Show the version and exit."));
    const QCommandLineOption formatOption(
        u"format"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Print tables as tsv (the default), csv or json."),
        u"format"_s, u"tsv"_s);
    const QCommandLineOption outputOption(
        {u"o"_s, u"output"_s},
        QCoreApplication::translate("plenix-calc",
                                    "Write the calculated route to <file> (one route only)."),
        u"file"_s);
    const QCommandLineOption inPlaceOption(
        {u"i"_s, u"in-place"_s},
        QCoreApplication::translate("plenix-calc", "Rewrite each route file with its results."));
    const QCommandLineOption checkOption(
        u"check"_s,
        QCoreApplication::translate(
            "plenix-calc", "Write nothing; name each route whose stored results are stale."));
    const QCommandLineOption quietOption(
        {u"q"_s, u"quiet"_s}, QCoreApplication::translate("plenix-calc", "Print no tables."));
    const QCommandLineOption pdfOption(
        u"pdf"_s,
        QCoreApplication::translate(
            "plenix-calc",
            "Write the calculated route's report to <file> as PDF; to a folder, one file a "
            "route, named after it."),
        u"file"_s);
    const QCommandLineOption csvOption(
        u"csv"_s,
        QCoreApplication::translate("plenix-calc", "Write the calculated route's list to <file> as "
                                                   "CSV for spreadsheets; to a folder, one file a "
                                                   "route, named after it."),
        u"file"_s);
    const QCommandLineOption csvRawOption(
        u"csv-raw"_s,
        QCoreApplication::translate("plenix-calc", "With --csv: write text that begins with =, +, "
                                                   "-, @, TAB or CR as it is, without the "
                                                   "apostrophe that keeps a spreadsheet from "
                                                   "running it as a formula."));
    const QCommandLineOption csvFilledOption(
        u"csv-filled"_s,
        QCoreApplication::translate("plenix-calc",
                                    "With --csv or --format=csv: write the flow and the diameter "
                                    "in force on every row, carried down from the row that gave "
                                    "them, so that a spreadsheet can work each row out."));
    const QCommandLineOption paperOption(
        u"paper"_s,
        QCoreApplication::translate("plenix-calc",
                                    "With --pdf: print the report on <paper>, letter or a4; "
                                    "without it, on the locale's (letter for en_US, else a4)."),
        u"paper"_s);
    const QCommandLineOption profileAxisOption(
        u"profile-axis"_s,
        QCoreApplication::translate("plenix-calc",
                                    "With --pdf: draw the pressure profile against <axis>, row "
                                    "(the default) or distance along the route."),
        u"axis"_s);
    const QCommandLineOption projectOption(
        u"project"_s,
        QCoreApplication::translate(
            "plenix-calc",
            "Write the routes as one project to <file>; the first route starts at the fan."),
        u"file"_s);
    const QCommandLineOption takeoffOption(
        u"takeoff"_s,
        QCoreApplication::translate(
            "plenix-calc",
            "With --project: route NAME (its file's name without .txt) takes off route FROM after "
            "row ROW. Give one for every route but the first."),
        u"NAME=FROM:ROW"_s);
    const QCommandLineOption fittingsOption(
        u"fittings"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Print the fitting library: each fitting's identifier, name, "
                                    "family, parameters with their units and ranges, the velocity "
                                    "pressure its coefficient is on, and its source."));
    const QCommandLineOption fittingOption(
        u"fitting"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Print the coefficient of fitting <id> for the parameters "
                                    "given as NAME=VALUE words, the others at their defaults, "
                                    "with its velocity pressure, source and what was clamped."),
        u"id"_s);
    parser.addOptions({helpOption, versionOption, formatOption, outputOption, inPlaceOption,
                       checkOption, quietOption, pdfOption, csvOption, csvRawOption,
                       csvFilledOption, paperOption, profileAxisOption, projectOption,
                       takeoffOption, fittingsOption, fittingOption});
    const MethodOptions methodOptions;
    parser.addOptions(methodOptions.all());
    parser.addPositionalArgument(
        u"routes"_s,
        QCoreApplication::translate("plenix-calc",
                                    "Route files and projects (.plenix), or folders of them; - "
                                    "reads a route from standard input."),
        u"ROUTE..."_s);

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption))
        return {{}, ExitOk, parser.helpText()};
    if (parser.isSet(versionOption))
        return {{},
                ExitOk,
                u"%1 %2\n"_s.arg(QCoreApplication::applicationName(),
                                 QCoreApplication::applicationVersion())};

    CalcOptions options;
    options.files = withFolderContents(parser.positionalArguments());
    const std::optional<OutputFormat> format = outputFormatNamed(parser.value(formatOption));
    if (!format)
        return usageError(
            QCoreApplication::translate("plenix-calc", "unknown format '%1' (tsv, csv or json)")
                .arg(parser.value(formatOption)));
    options.format = *format;
    options.outputFile = parser.value(outputOption);
    options.inPlace = parser.isSet(inPlaceOption);
    options.check = parser.isSet(checkOption);
    options.quiet = parser.isSet(quietOption);
    options.pdfFile = parser.value(pdfOption);
    options.csvFile = parser.value(csvOption);
    options.csvRaw = parser.isSet(csvRawOption);
    options.csvFilled = parser.isSet(csvFilledOption);
    if (parser.isSet(paperOption)) {
        const QString paper = parser.value(paperOption).toLower();
        if (paper != u"letter" && paper != u"a4")
            return usageError(
                QCoreApplication::translate("plenix-calc", "unknown paper '%1' (letter or a4)")
                    .arg(parser.value(paperOption)));
        options.paper = QPageSize(paper == u"letter" ? QPageSize::Letter : QPageSize::A4);
    }
    if (parser.isSet(profileAxisOption)) {
        const QString axis = parser.value(profileAxisOption).toLower();
        if (axis != u"row" && axis != u"distance")
            return usageError(
                QCoreApplication::translate("plenix-calc", "unknown axis '%1' (row or distance)")
                    .arg(parser.value(profileAxisOption)));
        options.profileAxis = axis == u"row" ? ProfileAxis::Row : ProfileAxis::Distance;
    }
    if (std::optional<QString> error = methodOptions.read(parser, options))
        return usageError(*error);
    if (parser.isSet(fittingsOption) || parser.isSet(fittingOption)) {
        if (parser.isSet(fittingsOption) && parser.isSet(fittingOption))
            return usageError(QCoreApplication::translate(
                "plenix-calc", "--fittings and --fitting exclude each other"));
        if (parser.isSet(fittingsOption) && !options.files.isEmpty())
            return usageError(
                QCoreApplication::translate("plenix-calc", "--fittings takes no route file"));
        options.listFittings = parser.isSet(fittingsOption);
        options.fitting = parser.value(fittingOption);
        options.fittingValues = parser.positionalArguments();
        options.files.clear();
        return {options, std::nullopt, {}};
    }
    if (options.sizeFlow) {
        if (!options.files.isEmpty())
            return usageError(
                QCoreApplication::translate("plenix-calc", "--size takes no route file"));
        if (options.format == OutputFormat::Json)
            return usageError(
                QCoreApplication::translate("plenix-calc", "--size prints tsv or csv"));
        return {options, std::nullopt, {}};
    }
    options.projectFile = parser.value(projectOption);
    options.takeoffs = parser.values(takeoffOption);

    if (options.files.isEmpty())
        return usageError(QCoreApplication::translate("plenix-calc", "no route file given"));
    const bool writes = options.inPlace || parser.isSet(outputOption);
    if (options.check && writes)
        return usageError(QCoreApplication::translate(
            "plenix-calc", "--check writes nothing and takes no --output or --in-place"));
    if (options.inPlace && parser.isSet(outputOption))
        return usageError(QCoreApplication::translate(
            "plenix-calc", "--output and --in-place exclude each other"));
    if (parser.isSet(outputOption) && (options.files.size() != 1 || options.outputFile.isEmpty()))
        return usageError(
            QCoreApplication::translate("plenix-calc", "--output takes one route and a file name"));
    const bool exports = parser.isSet(pdfOption) || parser.isSet(csvOption);
    if (exports && options.check)
        return usageError(QCoreApplication::translate(
            "plenix-calc", "--check writes nothing and takes no --pdf or --csv"));
    if ((parser.isSet(pdfOption) && options.pdfFile.isEmpty()) ||
        (parser.isSet(csvOption) && options.csvFile.isEmpty()))
        return usageError(
            QCoreApplication::translate("plenix-calc", "--pdf and --csv take a file name"));
    // Several routes' exports go to a folder, one file each.
    for (const auto &[target, extension] :
         {std::pair{options.pdfFile, u"pdf"_s}, std::pair{options.csvFile, u"csv"_s}}) {
        if (target.isEmpty() || options.files.size() == 1)
            continue;
        if (!QFileInfo(target).isDir())
            return usageError(QCoreApplication::translate(
                "plenix-calc", "with several routes, --pdf and --csv take a folder"));
        QStringList written;
        for (const QString &file : options.files) {
            const QString exportFile = exportFileOf(target, file, extension);
            if (written.contains(exportFile))
                return usageError(
                    QCoreApplication::translate("plenix-calc", "two routes would be exported to %1")
                        .arg(exportFile));
            written << exportFile;
        }
    }
    if (parser.isSet(projectOption) &&
        (options.projectFile.isEmpty() || writes || exports || options.check))
        return usageError(QCoreApplication::translate(
            "plenix-calc", "--project takes a file name and no --output, --in-place, --check, "
                           "--pdf or --csv"));
    if (options.csvRaw && options.csvFile.isEmpty())
        return usageError(QCoreApplication::translate("plenix-calc", "--csv-raw goes with --csv"));
    if (options.paper && options.pdfFile.isEmpty())
        return usageError(QCoreApplication::translate("plenix-calc", "--paper goes with --pdf"));
    if (options.csvFilled && options.csvFile.isEmpty() && options.format != OutputFormat::Csv)
        return usageError(QCoreApplication::translate(
            "plenix-calc", "--csv-filled goes with --csv or --format=csv"));
    if (parser.isSet(takeoffOption) && !parser.isSet(projectOption))
        return usageError(
            QCoreApplication::translate("plenix-calc", "--takeoff goes with --project"));
    if (options.inPlace && options.files.contains(u"-"_s))
        return usageError(QCoreApplication::translate(
            "plenix-calc", "standard input cannot be rewritten in place"));
    return {options, std::nullopt, {}};
}

bool needsWidgets(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--")
            break;
        if (argument == "--pdf" || argument.starts_with("--pdf="))
            return true;
    }
    return false;
}

} // namespace plenix
