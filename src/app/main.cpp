// SPDX-License-Identifier: GPL-3.0-or-later
#include "display.h"
#include "mainwindow.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace plenix;

namespace {

void setUpParser(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Static-pressure loss of round duct routes."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        u"route"_s,
        QCoreApplication::translate("main", "A route file to open, as File > Open does."),
        u"[ROUTE]"_s);
}

void setNames()
{
    QCoreApplication::setApplicationName(u"plenix"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(PLENIX_VERSION_STRING));
}

// --help and --version need no window, so they are answered before anything
// asks for a display.
bool asksForInformation(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    setUpParser(parser);
    parser.parse(arguments);
    return parser.isSet(u"help"_s) || parser.isSet(u"help-all"_s) || parser.isSet(u"version"_s);
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksForInformation(argc, argv)) {
        QCoreApplication app(argc, argv);
        setNames();
        QCommandLineParser parser;
        setUpParser(parser);
        parser.process(app); // prints and exits
    }
    const QString program = QString::fromLocal8Bit(argc > 0 ? argv[0] : "plenix");
    if (!isDisplayAvailable()) {
        // Say plainly what is missing instead of letting the toolkit abort.
        std::fputs(noDisplayMessage(program).toLocal8Bit().constData(), stderr);
        return EXIT_FAILURE;
    }
    // Qt takes its own options (-platform, -style, ...) out of the command
    // line; what is left is ours.
    QApplication app(argc, argv);
    setNames();
    QCommandLineParser parser;
    setUpParser(parser);
    parser.process(app);
    const QStringList routes = parser.positionalArguments();
    if (routes.size() > 1) {
        std::fputs("plenix: one route file at a time\n", stderr);
        return EXIT_FAILURE;
    }

    MainWindow window;
    window.show();
    if (!routes.isEmpty()) {
        // Once the window shows, so that an "Error: " box has it as owner.
        QTimer::singleShot(0, &window,
                           [&window, route = routes.constFirst()] { window.openFile(route); });
    }
    return QApplication::exec();
}
