// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"
#include "display.h"
#include "documentcommands.h"
#include "mainwindow.h"
#include "routefileio.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

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

// The signals that end the program, turned into bytes on a socket that the
// event loop reads: a signal handler may do little more than write.
int g_endingSignalSocket[2] = {-1, -1};

void noteEndingSignal(int signal)
{
    const char byte = char(signal);
    const int saved = errno;
    [[maybe_unused]] const ssize_t written = ::write(g_endingSignalSocket[1], &byte, 1);
    errno = saved;
}

int endingSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_endingSignalSocket) != 0)
        return -1;
    struct sigaction action
    {
    };
    action.sa_handler = noteEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    return g_endingSignalSocket[0];
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
    Application app(argc, argv);
    setNames();
    QCommandLineParser parser;
    setUpParser(parser);
    // What Qt left of the command line, as the bytes given: a file name in
    // another encoding than UTF-8 still names its file.
    parser.process(argumentsFromNative(argc, argv));
    const QStringList routes = parser.positionalArguments();
    if (routes.size() > 1) {
        std::fputs("plenix: one route file at a time\n", stderr);
        return EXIT_FAILURE;
    }

    MainWindow window;
    window.show();
    // Told to end (a logout, a closed terminal, a kill), the window keeps a
    // copy of unsaved work for the next start instead of asking about it.
    QSocketNotifier ending(endingSignals(), QSocketNotifier::Read);
    QObject::connect(&ending, &QSocketNotifier::activated, &window,
                     [&window](QSocketDescriptor fd) {
                         char signal = 0;
                         if (::read(int(fd), &signal, 1) != 1)
                             signal = 0;
                         window.documents().keepUnsavedWork();
                         QCoreApplication::exit(128 + signal);
                     });
    QTimer::singleShot(0, &window, [&window] { window.offerRecovery(); });
    if (!routes.isEmpty()) {
        // Once the window shows, so that an "Error: " box has it as owner.
        QTimer::singleShot(0, &window,
                           [&window, route = routes.constFirst()] { window.openFile(route); });
    }
    return QApplication::exec();
}
