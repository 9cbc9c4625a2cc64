// SPDX-License-Identifier: GPL-3.0-or-later
// plenix-calc: the window's Calculate for route files, from a shell.
#include "calcoptions.h"
#include "exitstatus.h"
#include "fittings/lookup.h"
#include "projectfileio.h"
#include "projectrun.h"
#include "routefileio.h"
#include "routerun.h"
#include "tableexport.h"
#include "tableoutput.h"
#include "version.h"

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace plenix;

namespace {

// Bytes as they are into a pipe or a file; on a terminal, with its control
// characters shown rather than obeyed.
void print(std::FILE *stream, const std::string &bytes)
{
    const std::string shown = ::isatty(::fileno(stream)) ? visibleOnTerminal(bytes) : bytes;
    std::fwrite(shown.data(), 1, shown.size(), stream);
}

void print(std::FILE *stream, const QByteArray &bytes)
{
    print(stream, bytes.toStdString());
}

// Standard error is for plenix-calc's own messages: Qt's notes about the
// environment (no runtime folder when painting offscreen, fonts) would reach
// a script as noise. Only a fatal one is let through.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        print(stderr, (u"plenix-calc: "_s + message + u'\n').toLocal8Bit());
}

// --fittings and --fitting: the library, or one fitting's coefficient.
int printFittings(const CalcOptions &options)
{
    const fittings::Library &library = fittings::builtIn();
    const auto table = [&options](const TextRows &rows) {
        return options.format == OutputFormat::Csv ? csvText(rows) : tsvText(rows);
    };
    if (options.listFittings) {
        print(stdout, options.format == OutputFormat::Json ? fittings::libraryJson(library)
                                                           : table(fittings::libraryRows(library)));
        return ExitOk;
    }
    std::vector<std::string> assignments;
    for (const QString &word : options.fittingValues)
        assignments.push_back(word.toStdString());
    const auto lookup = fittings::readLookup(library, options.fitting.toStdString(), assignments);
    if (const std::string *error = std::get_if<std::string>(&lookup)) {
        print(stderr, "plenix-calc: " + *error + '\n');
        return ExitFailed;
    }
    const auto &found = std::get<fittings::Lookup>(lookup);
    print(stdout, options.format == OutputFormat::Json ? fittings::lookupJson(found)
                                                       : table(fittings::lookupRows(found)));
    return ExitOk;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietQtMessages);
    // A report needs no display: unless told otherwise it is painted on
    // Qt's offscreen platform.
    std::unique_ptr<QCoreApplication> app;
    if (needsWidgets(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(u"plenix-calc"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(PLENIX_VERSION_STRING));

    // The words as given: a file name in another encoding than UTF-8 still
    // names its file.
    const ParsedOptions parsed = parseCalcOptions(argumentsFromNative(argc, argv));
    if (parsed.exitStatus) {
        print(*parsed.exitStatus == ExitOk ? stdout : stderr, parsed.text.toLocal8Bit());
        return *parsed.exitStatus;
    }
    const CalcOptions &options = parsed.options;
    if (options.sizeFlow) {
        const method::Settings settings =
            sizing::sizingSettings(method::withOverrides({}, options.method));
        if (const std::optional<std::string> error = method::settingsError(settings)) {
            print(stderr,
                  (u"plenix-calc: "_s + QString::fromStdString(*error) + u'\n').toLocal8Bit());
            return ExitFailed;
        }
        const TextRows rows = sizing::proposalRows(*options.sizeFlow, options.sizeCriterion,
                                                   settings, options.sizeHeight);
        print(stdout, QByteArray::fromStdString(
                          options.format == OutputFormat::Csv ? csvText(rows) : tsvText(rows)));
        return ExitOk;
    }

    if (options.listFittings || !options.fitting.isEmpty())
        return printFittings(options);

    // A save of one of these files killed half way left its old content in a
    // backup; it is put back before anything reads the file.
    for (const QString &file : options.files) {
        if (file == u"-")
            continue;
        const SaveRecovery recovery = recoverInterruptedSave(file);
        if (recovery.notice || recovery.error)
            print(stderr, (u"plenix-calc: "_s +
                           recovery.notice.value_or(recovery.error.value_or(QString())) + u'\n')
                              .toLocal8Bit());
    }

    if (!options.projectFile.isEmpty()) {
        const ProjectRun run = buildProject(options);
        if (!run.diagnostic.isEmpty())
            print(stderr, (run.diagnostic + u'\n').toLocal8Bit());
        return run.status;
    }

    int status = ExitOk;
    bool printedAny = false;
    const bool named = options.files.size() > 1 && options.format != OutputFormat::Json;
    // A failure on one file does not stop the others.
    const auto tell = [&](const QString &diagnostic, const std::string &printed) {
        if (!diagnostic.isEmpty()) {
            std::fflush(stdout);
            print(stderr, (diagnostic + u'\n').toLocal8Bit());
        }
        if (printed.empty())
            return;
        if (named && printedAny)
            print(stdout, std::string("\n"));
        print(stdout, printed);
        printedAny = true;
    };
    for (const QString &file : options.files) {
        try {
            if (isProjectPath(file)) {
                const ProjectRun run = runProject(file, options, named);
                status = std::max(status, run.status);
                tell(run.diagnostic, run.printed);
                continue;
            }
            const RouteRun run = runRoute(file, options);
            status = std::max(status, run.status);
            tell(run.diagnostic, run.document && options.printsTables()
                                     ? printedRoute(options.format, file, *run.document,
                                                    run.stopMessage, named, options.csvFilled)
                                     : std::string());
        } catch (const std::bad_alloc &) {
            // The file is as it was: a save is whole or not made. What the
            // run held is given back as the exception unwinds.
            status = ExitFailed;
            tell(fileError(file, QCoreApplication::translate("plenix-calc", "not enough memory")),
                 {});
        }
    }

    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        print(stderr,
              QCoreApplication::translate("plenix-calc", "plenix-calc: standard output: %1\n")
                  .arg(QString::fromLocal8Bit(std::strerror(errno)))
                  .toLocal8Bit());
        return ExitFailed;
    }
    return status;
}
