#include "display.h"
#include "frmmain.h"
#include "version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace Module1 {

// The one main window, for the life of the process.
frmMain *mainWindow = nullptr;

void Main()
{
    mainWindow = new frmMain;
    mainWindow->show();
}

} // namespace Module1

int main(int argc, char *argv[])
{
    const QString program = QString::fromLocal8Bit(argc > 0 ? argv[0] : "plenix");
    if (!fnDisplayAvailable()) {
        // Say plainly what is missing instead of letting the toolkit abort.
        std::fputs(fnNoDisplayMessage(program).toLocal8Bit().constData(), stderr);
        return EXIT_FAILURE;
    }
    // The program reads no command line: Qt sees the program name only.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(u"plenix"_s);
    QApplication::setApplicationVersion(QStringLiteral(PLENIX_VERSION_STRING));

    Module1::Main();
    const int status = QApplication::exec();
    delete Module1::mainWindow;
    return status;
}
