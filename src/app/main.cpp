#include "display.h"
#include "mainwindow.h"
#include "version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    const QString program = QString::fromLocal8Bit(argc > 0 ? argv[0] : "plenix");
    if (!isDisplayAvailable()) {
        // Say plainly what is missing instead of letting the toolkit abort.
        std::fputs(noDisplayMessage(program).toLocal8Bit().constData(), stderr);
        return EXIT_FAILURE;
    }
    // The program reads no command line: Qt sees the program name only.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(u"plenix"_s);
    QApplication::setApplicationVersion(QStringLiteral(PLENIX_VERSION_STRING));

    MainWindow window;
    window.show();
    return QApplication::exec();
}
