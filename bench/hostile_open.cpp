// SPDX-License-Identifier: GPL-3.0-or-later
// Open of a route file with a huge description, as the window does it: the
// document commands fill the description box, which is then painted. Prints
// the time to open and show, the slowest keystroke and scroll step after it,
// the same after pasting the description again, and the peak memory.
//
//   hostile_open <route file>
//
// Run it on the offscreen platform or under Xvfb (scripts/bench-hostile.sh).
#include "descriptionbox.h"
#include "dialogs.h"
#include "documentcommands.h"

#include "routedocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <cstdio>

using namespace plenix;

namespace {
long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

double milliseconds(QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void settle(QPlainTextEdit &box)
{
    box.repaint();
    QApplication::processEvents();
}

// The slowest of a few keystrokes at the end of the text, and of a few
// scroll steps through it.
void typeAndScroll(QPlainTextEdit &box, const char *when)
{
    QElapsedTimer timer;
    double slowestKey = 0;
    // Placing the cursor scrolls to the end; that is no keystroke.
    box.moveCursor(QTextCursor::End);
    settle(box);
    for (int i = 0; i < 10; ++i) {
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&box, &press);
        settle(box);
        slowestKey = qMax(slowestKey, milliseconds(timer));
    }
    double slowestScroll = 0;
    QScrollBar *bar = box.verticalScrollBar();
    for (int i = 0; i <= 10; ++i) {
        timer.start();
        bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) * i / 10);
        settle(box);
        slowestScroll = qMax(slowestScroll, milliseconds(timer));
    }
    std::printf("%s: slowest keystroke %.1f ms, slowest scroll step %.1f ms\n", when, slowestKey,
                slowestScroll);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: hostile_open <route file>\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QWidget window;
    auto *box = new DescriptionEdit(&window);
    setUpDescriptionBox(*box);
    box->setGeometry(0, 0, 600, 200);
    window.resize(600, 200);
    RouteDocument document;
    DocumentCommands commands(document, *box, window);
    window.show();
    QApplication::processEvents();
    const long idleKilobytes = peakKilobytes();

    QElapsedTimer timer;
    timer.start();
    if (!commands.openPath(path))
        return 1;
    settle(*box);
    std::printf("open and show: %.1f ms; peak memory %ld KiB (%ld KiB before the open)\n",
                milliseconds(timer), peakKilobytes(), idleKilobytes);
    typeAndScroll(*box, "after open");

    // Through the clipboard, as a user pastes.
    box->selectAll();
    box->copy();
    box->clear();
    timer.start();
    box->paste();
    settle(*box);
    std::printf("paste and show: %.1f ms\n", milliseconds(timer));
    typeAndScroll(*box, "after paste");
    return 0;
}
