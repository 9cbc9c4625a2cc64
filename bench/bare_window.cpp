// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for Plenix's start-up time and memory: a bare Qt main window
// holding a table widget of the route grid's shape, sized like Plenix's
// window, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTableWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *table = new QTableWidget(61, 12, &window);
    window.setCentralWidget(table);
    window.setWindowTitle(QStringLiteral("Bare window"));
    const QSize screen = window.screen()->size();
    window.resize(int(screen.width() * 0.82), int(screen.height() * 0.7));
    window.show();
    return app.exec();
}
