// SPDX-License-Identifier: GPL-3.0-or-later
#include "projectrun.h"
#include "tableoutput.h"

#include "exitstatus.h"
#include "project/projectfile.h"
#include "project/projectoutput.h"
#include "projectfileio.h"
#include "reportpainter.h"
#include "routefile.h"
#include "routefileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

// The routes' lists, each after a line with its name, then the system.
std::string printedTables(OutputFormat format, bool filled, const Project &project,
                          const SystemFigures &system)
{
    const auto table = [format](const TextRows &rows) {
        return format == OutputFormat::Csv ? csvText(rows) : tsvText(rows);
    };
    const auto heading = [format](const std::string &text) {
        return format == OutputFormat::Csv ? csvRecord({text}) : text + '\n';
    };
    std::string out;
    for (const ProjectRoute &route : project.routes) {
        const TextRows rows = listRows(route.document->table());
        out += heading("Route: " + route.name) +
               table(filled && format == OutputFormat::Csv ? filledRows(rows) : rows) + '\n';
    }
    return out + heading("System") + table(systemSummaryRows(project, system));
}

} // namespace

ProjectRun runProject(const QString &file, const CalcOptions &options, bool named)
{
    ProjectRun run;
    ProjectFileRead read = openProject(file);
    if (!read.project) {
        run.status = ExitFailed;
        run.diagnostic = QCoreApplication::translate("plenix-calc", "plenix-calc: ") + *read.error;
        return run;
    }
    Project &project = *read.project;
    if (options.method.any()) {
        project.settings = method::withOverrides(project.settings, options.method);
        if (const std::optional<std::string> error = method::settingsError(project.settings)) {
            run.status = ExitFailed;
            run.diagnostic = fileError(file, QString::fromStdString(*error));
            return run;
        }
    }
    const ProjectOutcome outcome = calculateProject(project);
    QStringList stops;
    for (std::size_t i = 0; i < project.routes.size(); ++i) {
        if (outcome.routes[i].stopped)
            stops << u"%1: %2: %3"_s.arg(
                file, QString::fromStdString(quotedRouteName(project.routes[i].name)),
                QString::fromStdString(outcome.routes[i].message).replace(u'\r', u' '));
    }
    if (!stops.isEmpty()) {
        run.status = ExitRouteFlagged;
        run.diagnostic = stops.join(u'\n');
    }

    if (options.printsTables()) {
        const std::string fileName = file.toStdString();
        if (options.format == OutputFormat::Json)
            run.printed = projectJson(fileName, project, outcome) + '\n';
        else
            run.printed = (named ? fileName + '\n' : std::string()) +
                          printedTables(options.format, options.csvFilled, project, outcome.system);
    }
    if (options.check)
        return run; // results are not stored in a project: none can be stale

    const auto failed = [&run](const QString &target, const QString &reason) {
        run.status = ExitFailed;
        run.diagnostic = fileError(target, reason);
        return std::move(run);
    };
    const QString target = options.inPlace ? file : options.outputFile;
    if (!target.isEmpty()) {
        if (std::optional<QString> error = saveProject(project, target))
            return failed(target, *error);
    }
    // Each export, unless it would replace the project's own file.
    const auto exportTo = [&](const QString &exportFile, const auto &writeFile) {
        if (exportFile.isEmpty())
            return std::optional<QString>();
        if (isSameFile(exportFile, file))
            return std::optional<QString>(QCoreApplication::translate(
                "plenix-calc", "the project's own file cannot be replaced by an export"));
        return writeFile(exportFile);
    };
    const QString pdf = exportFileOf(options.pdfFile, file, u"pdf");
    if (std::optional<QString> error = exportTo(pdf, [&](const QString &path) {
            ProjectReport report = projectReport(project, outcome.system, documentPath(file));
            report.setProfileAxis(options.profileAxis);
            return writeProjectReportPdf(path, report, options.paper.value_or(localPaper()));
        }))
        return failed(pdf, *error);
    const QString csv = exportFileOf(options.csvFile, file, u"csv");
    if (std::optional<QString> error = exportTo(csv, [&](const QString &path) {
            return writeCsv(path, projectListRows(project, options.csvFilled), options.csvRaw);
        }))
        return failed(csv, *error);
    return run;
}

ProjectRun buildProject(const CalcOptions &options)
{
    ProjectRun run;
    const auto failed = [&run](const QString &target, const QString &reason) {
        run.status = ExitFailed;
        run.diagnostic = fileError(target, reason);
        return std::move(run);
    };
    Project project;
    for (const QString &file : options.files) {
        const RouteFileRead read =
            file == u"-" ? RouteFileRead{{},
                                         QCoreApplication::translate(
                                             "plenix-calc",
                                             "--project reads route files, not standard input"),
                                         std::nullopt}
                         : readRouteFile(file);
        if (read.error)
            return failed(file, *read.error);
        std::optional<Project> single = projectFromRoute(
            std::string_view(read.bytes.constData(), static_cast<std::size_t>(read.bytes.size())),
            fileNameFromPath(documentPath(file)));
        if (!single)
            return failed(file, QString::fromLatin1(NotARouteFileMessage.data(),
                                                    qsizetype(NotARouteFileMessage.size())));
        ProjectRoute &route = single->routes.front();
        // As the window would save it: line breaks of the description CR LF.
        route.document->setDescription(descriptionAsSaved(route.document->description()));
        project.routes.push_back(std::move(route));
    }
    for (const QString &takeoff : options.takeoffs) {
        // NAME=FROM:ROW; a name may hold '=' or ':' itself, the row never.
        const qsizetype equals = takeoff.indexOf(u'='), colon = takeoff.lastIndexOf(u':');
        bool isNumber = false;
        const int row = takeoff.mid(colon + 1).toInt(&isNumber);
        const std::string name = takeoff.left(equals).toStdString();
        const std::optional<std::size_t> index = project.routeIndex(name);
        if (equals < 0 || colon < equals || !isNumber)
            return failed(options.projectFile,
                          QCoreApplication::translate("plenix-calc",
                                                      "--takeoff %1: write it as NAME=FROM:ROW")
                              .arg(takeoff));
        if (!index)
            return failed(
                options.projectFile,
                QCoreApplication::translate("plenix-calc", "--takeoff %1: no route is named %2")
                    .arg(takeoff, QString::fromStdString(name)));
        project.routes[*index].takeoff =
            Takeoff{takeoff.mid(equals + 1, colon - equals - 1).toStdString(), row};
    }
    if (const std::optional<std::string> fault = project.structureError())
        return failed(options.projectFile, QString::fromStdString(*fault));
    project.settings = method::withOverrides({}, options.method);
    if (const std::optional<std::string> error = method::settingsError(project.settings))
        return failed(options.projectFile, QString::fromStdString(*error));
    if (std::optional<QString> error = saveProject(project, options.projectFile))
        return failed(options.projectFile, *error);
    return run;
}

} // namespace plenix
