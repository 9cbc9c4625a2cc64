// SPDX-License-Identifier: GPL-3.0-or-later
#include "routerun.h"
#include "tableoutput.h"

#include "calculation.h"
#include "exitstatus.h"
#include "reportpainter.h"
#include "routedocument.h"
#include "routefile.h"
#include "routefileio.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

// A pipe has no size to check beforehand, so the limit is kept while reading.
std::optional<QString> openStandardInput(RouteDocument &document)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return in.errorString();
    QByteArray bytes;
    std::array<char, 64 * 1024> chunk{};
    for (qint64 got; (got = in.read(chunk.data(), qint64{chunk.size()})) != 0;) {
        if (got < 0)
            return in.errorString();
        if (bytes.size() + got > MaxRouteFileBytes)
            return QString::fromLocal8Bit(std::strerror(EFBIG));
        bytes.append(chunk.data(), static_cast<qsizetype>(got));
    }
    if (!document.openText(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return QString::fromLatin1(NotARouteFileMessage.data(),
                                   static_cast<qsizetype>(NotARouteFileMessage.size()));
    return std::nullopt;
}

std::vector<std::string> rowTexts(const RouteTable &table)
{
    std::vector<std::string> rows;
    for (Int16 row = 1; row <= RouteTable::DataRows; ++row)
        rows.push_back(table.rowsText(row, row));
    return rows;
}

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

} // namespace

RouteRun runRoute(const QString &file, const CalcOptions &options)
{
    RouteRun run;
    auto document = std::make_unique<RouteDocument>();
    // Taken before the read: a file changed after it is never overwritten.
    const std::optional<FileStamp> readVersion =
        options.inPlace ? fileStamp(file) : std::optional<FileStamp>();
    const std::optional<QString> readError =
        file == u"-" ? openStandardInput(*document) : openDocument(*document, file);
    if (readError) {
        run.status = ExitFailed;
        run.diagnostic = fileError(file, *readError);
        return run;
    }

    // The window shows the description in its box and saves the box's text,
    // which settles its line breaks; a file written here must be the same.
    document->setDescription(descriptionAsSaved(document->description()));
    if (options.method.any()) {
        const method::Settings settings = method::withOverrides({}, options.method);
        std::optional<std::string> refusal = method::settingsError(settings);
        if (!refusal && (options.inPlace || !options.outputFile.isEmpty()))
            refusal = "a route file cannot hold --units, --flow-unit, --method, --material, "
                      "--roughness, --elevation, --temperature or --density; write a project "
                      "with --project";
        if (refusal) {
            run.status = ExitFailed;
            run.diagnostic = fileError(file, QString::fromStdString(*refusal));
            return run;
        }
        document->setMethod(settings);
    }
    const std::vector<std::string> stored = rowTexts(document->table());
    const CalculationOutcome outcome = document->calculate();
    run.document = std::move(document);
    if (outcome.stopped) {
        run.status = ExitRouteFlagged;
        run.stopMessage = oneLine(outcome.message);
        run.diagnostic = u"%1: %2"_s.arg(file, QString::fromStdString(run.stopMessage));
        return run;
    }

    if (options.check) {
        const std::vector<std::string> fresh = rowTexts(run.document->table());
        const auto differing = std::mismatch(stored.begin(), stored.end(), fresh.begin());
        if (differing.first != stored.end()) {
            run.status = ExitRouteFlagged;
            run.diagnostic =
                QCoreApplication::translate(
                    "plenix-calc",
                    "%1: stored results differ from a fresh Calculate. Inspect row: %2")
                    .arg(file)
                    .arg(differing.first - stored.begin() + 1);
        }
        return run;
    }

    const QString target = options.inPlace ? file : options.outputFile;
    if (!target.isEmpty()) {
        if (const std::optional<QString> error =
                saveDocument(*run.document, target, {}, readVersion)) {
            run.status = ExitFailed;
            run.diagnostic = fileError(target, *error);
            return run;
        }
    }
    writeExports(run, file, options);
    return run;
}

void writeExports(RouteRun &run, const QString &file, const CalcOptions &options)
{
    const auto write = [&](const QString &exportFile, const auto &writeFile) {
        if (exportFile.isEmpty() || run.status == ExitFailed)
            return;
        std::optional<QString> error;
        if (file != u"-" && isSameFile(exportFile, file))
            error = QCoreApplication::translate(
                "plenix-calc", "the route's own file cannot be replaced by an export");
        else
            error = writeFile(exportFile);
        if (error) {
            run.status = ExitFailed;
            run.diagnostic = fileError(exportFile, *error);
        }
    };
    // Calculate has just run: no figure is out of date.
    write(exportFileOf(options.pdfFile, file, u"pdf"), [&](const QString &path) {
        RouteReport report = routeReport(*run.document);
        report.profileAxis = options.profileAxis;
        return writeReportPdf(path, report, options.paper.value_or(localPaper()));
    });
    write(exportFileOf(options.csvFile, file, u"csv"), [&](const QString &path) {
        return writeRouteCsv(path, run.document->table(), options.csvFilled, options.csvRaw);
    });
}

} // namespace plenix
