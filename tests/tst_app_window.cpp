// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on Qt's offscreen platform: each menu command, key and
// mouse action reaches its operation, whose cases the core tests check, its
// dialogs answered by a fake; Qt's own dialogs, each driven once, the About
// box, the help window and printing; last, thousands of random inputs.
#include "coretest.h"

#include "aboutdialog.h"
#include "descriptionbox.h"
#include "dialogs.h"
#include "documentcommands.h"
#include "helpwindow.h"
#include "layout.h"
#include "mainwindow.h"
#include "profilechart.h"
#include "routeview.h"
#include "textcodec.h"
#include "version.h"
#include "windowprinter.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <utility>

using namespace Qt::StringLiterals;
using Choice = Dialogs::SaveChoice;
using plenix::RouteTable;

namespace {
// Records each call as the function's name and what it was asked with (an
// elbow's angle and diameter, the name a file dialog offers, the printed
// route's name), and gives scripted answers, taken in order; none left, or
// nothing, is Cancel.
class FakeDialogs final : public Dialogs
{
public:
    QStringList calls;
    QStringList messages;                  // the texts of the message boxes
    QList<std::optional<QString>> replies; // to askElbowRadius
    QStringList fileNames;
    QList<SaveChoice> saveChoices;
    QString previewPdf; // the print preview's pages are painted into it

    void information(QWidget *, const QString &, const QString &text) override
    {
        note(u"information"_s, text);
    }
    void message(QWidget *, const QString &, const QString &text) override
    {
        note(u"message"_s, text);
    }
    std::optional<QString> askElbowRadius(QWidget *, const QString &angle, float diameter) override
    {
        calls << u"askElbowRadius %1 %2"_s.arg(angle).arg(diameter);
        return replies.isEmpty() ? std::nullopt : replies.takeFirst();
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &name) override
    {
        return fileName(u"openFileName"_s, name);
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &name) override
    {
        return fileName(u"saveFileName"_s, name);
    }
    void printPreview(QWidget *, QPrinter &printer,
                      const std::function<void(QPrinter &)> &paint) override
    {
        calls << u"printPreview "_s + printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previewPdf);
        paint(printer);
    }
    SaveChoice askSaveChanges(QWidget *, const QString &name) override
    {
        calls << u"askSaveChanges "_s + name;
        return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
    }

private:
    void note(const QString &kind, const QString &text)
    {
        calls << kind;
        messages << text;
    }
    QString fileName(const QString &kind, const QString &offered)
    {
        calls << (kind + u' ' + offered.section(u'/', -1)).trimmed();
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
};

// Watches for modal dialogs and pop-up menus.
class ModalGuard final
{
public:
    using Handler = std::function<void(QWidget *)>;

    ModalGuard()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start();
    }
    Q_DISABLE_COPY_MOVE(ModalGuard)

    // The next modal dialog or pop-up goes to `handler`.
    void expect(Handler handler)
    {
        m_handler = std::move(handler);
        m_busy = nullptr;
    }
    bool waiting() const { return bool(m_handler); }

    QStringList unexpected; // what appeared without being expected; each was closed

private:
    void poll()
    {
        if (const QWidget *busy = m_busy.data(); busy && !busy->isVisible())
            m_busy = nullptr;
        QWidget *shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
        if (!shown || !shown->isVisible() || shown == m_busy)
            return;
        if (m_handler) {
            // Answered from a fresh timer, so that a dialog the answer opens
            // in turn is seen by this poll again.
            m_busy = shown;
            QTimer::singleShot(0, shown,
                               [handler = std::exchange(m_handler, {}), shown] { handler(shown); });
            return;
        }
        unexpected.append(QString::fromLatin1(shown->metaObject()->className()) + u" \""_s +
                          shown->windowTitle() + u'"');
        if (auto *dialog = qobject_cast<QDialog *>(shown))
            dialog->reject();
        else
            shown->close();
    }

    QTimer m_timer;
    Handler m_handler;
    QPointer<QWidget> m_busy;
};

// A named child widget or action; a misspelt name ends the run.
template <typename T> T *child(const QObject &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Every warning Qt gives but the offscreen platform's notes on size hints.
QStringList recordedWarnings;
QtMessageHandler passOn = nullptr;

void recordWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg &&
        !message.startsWith(u"This plugin does not support"_s))
        recordedWarnings.append(message);
    passOn(type, context, message);
}

const QByteArray OtherBytes = "\t500\x80Other";

// A route of every byte value, in a cell and in the description.
QByteArray everyByte()
{
    QByteArray bytes;
    for (int byte = 0x81; byte < 256; ++byte)
        bytes += char(byte);
    bytes += "\t\t\t\t\t\t\t\t\t\x80";
    for (int byte = 0; byte < 256; ++byte)
        bytes += byte == '\r' ? "\r\n" : QByteArray(byte == '\n' ? 0 : 1, char(byte));
    return bytes;
}
const QByteArray EveryByte = everyByte();
} // namespace

class WindowTest final : public QObject
{
    Q_OBJECT

private:
    FakeDialogs m_dialogs;
    ModalGuard m_guard;
    std::unique_ptr<MainWindow> m_window;
    RouteView *m_grid = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    QWidget m_other;  // another window of the program
    QString m_popUp;  // the last pop-up's name
    QPoint m_pointer; // where the last pop-up should open
    std::mt19937 m_random;
    QString m_frame;
    QString m_opened; // the texts when the history last started
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    template <typename T = QWidget> T *control(const QString &name) const
    {
        return child<T>(*m_window, name);
    }
    void choose(const QString &action) { control<QAction>(action)->trigger(); }

    plenix::RouteTable &table() { return m_window->routeTable(); }
    // The caption as the title bar shows it, unsaved-changes mark included.
    QString title() const { return m_window->windowHandle()->title(); }
    QString cell(int row, int col) { return toQString(table().cellText(row, col)); }
    void setCell(int row, int col, const QString &text)
    {
        table().setCellText(row, col, fromQString(text).value());
    }
    QModelIndex index(int row, int col) const { return m_grid->routeModel()->cellIndex(row, col); }
    QString shown(int row, int col) const { return index(row, col).data().toString(); }

    // The centre of a cell, scrolled into view first.
    QPoint cellPoint(int row, int col)
    {
        m_grid->scrollTo(index(row, col));
        return m_grid->visualRect(index(row, col)).center();
    }
    void clickCell(int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, modifiers, cellPoint(row, col));
    }
    // The middle of a column header (col 1..11) or a row number (row 1..60).
    QPoint headerPoint(bool columns, int section) const
    {
        const QHeaderView *header = columns ? m_grid->horizontalHeader() : m_grid->verticalHeader();
        const int middle =
            header->sectionViewportPosition(section - 1) + header->sectionSize(section - 1) / 2;
        return columns ? QPoint(middle, header->height() / 2) : QPoint(header->width() / 2, middle);
    }
    QWidget *header(bool columns) const
    {
        return (columns ? m_grid->horizontalHeader() : m_grid->verticalHeader())->viewport();
    }

    // Current cell and selection end, as "row,col row,col".
    QString cursor()
    {
        const plenix::RouteTable &t = table();
        return QString::asprintf("%d,%d %d,%d", t.currentRow(), t.currentCol(), t.selectionRow(),
                                 t.selectionCol());
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        return coretest::writeAll(path(name), bytes) ? path(name) : QString();
    }
    static QList<int> numbers(const QString &arg)
    {
        QList<int> found;
        for (const QString &number : arg.section(u'=', 0, 0).split(u','))
            found << number.toInt();
        return found;
    }

    // Runs `command` with Qt's own dialogs; the one it opens goes to `answer`.
    void withQtDialogs(const ModalGuard::Handler &answer, const std::function<void()> &command)
    {
        Dialogs::setInstance(nullptr);
        m_guard.expect(answer);
        command();
        Dialogs::setInstance(&m_dialogs);
        QVERIFY(!m_guard.waiting());
    }

    // Runs the inputs of a row of window-inputs.cases, which lists the words.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            const QList<int> n = numbers(arg);
            const QKeyCombination key = QKeySequence(arg)[0];
            QWidget *focused = QApplication::focusWidget();
            QWidget *viewport = m_grid->viewport();
            if (verb == u"at" || verb == u"shift") {
                clickCell(n[0], n[1], verb == u"at" ? Qt::NoModifier : Qt::ShiftModifier);
            } else if (verb == u"dclick") {
                QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellPoint(n[0], n[1]));
            } else if (verb == u"drag" || verb == u"rows" || verb == u"cols") {
                const bool cells = verb == u"drag", columns = verb == u"cols";
                QWidget *target = cells ? viewport : header(columns);
                const auto at = [&](int i) {
                    return cells ? cellPoint(n[2 * i], n[2 * i + 1]) : headerPoint(columns, n[i]);
                };
                QTest::mousePress(target, Qt::LeftButton, {}, at(0));
                QTest::mouseMove(target, at(1));
                QTest::mouseRelease(target, Qt::LeftButton, {}, at(1));
            } else if (verb == u"right" && arg == u"bar") {
                QWidget *bar = m_grid->verticalScrollBar();
                m_pointer = bar->mapToGlobal(bar->rect().center());
                QContextMenuEvent press(QContextMenuEvent::Mouse, bar->rect().center(), m_pointer);
                QApplication::sendEvent(bar, &press);
            } else if (verb == u"right") {
                QWidget *target = n[0] && n[1] ? viewport : header(n[0] == 0);
                const QPoint at =
                    n[0] && n[1] ? cellPoint(n[0], n[1]) : headerPoint(n[0] == 0, n[0] + n[1]);
                m_pointer = target->mapToGlobal(at);
                QTest::mouseClick(target, Qt::RightButton, {}, at);
            } else if (verb == u"key") {
                QTest::keyClick(focused, key.key(), key.keyboardModifiers());
            } else if (verb == u"type") {
                for (const QChar ch : arg)
                    QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, ch, {});
            } else if (verb == u"focus") {
                control(arg)->setFocus();
            } else if (verb == u"press") {
                QTest::mouseClick(control(arg), Qt::LeftButton);
            } else if (verb == u"set") {
                setCell(n[0], n[1], arg.section(u'=', 1));
            } else if (verb == u"huge") {
                setCell(n[0], n[1], QString(n[2], u'7'));
            } else if (verb == u"closeBox") {
                m_window->close();
            } else if (verb == u"openFile") {
                m_window->openFile(path(arg));
            } else if (verb == u"files") {
                m_dialogs.fileNames << path(arg);
            } else if (verb == u"reply") {
                m_dialogs.replies << (arg == u"-" ? std::nullopt : std::optional(arg));
            } else if (verb == u"choice") {
                m_dialogs.saveChoices
                    << Choice(QStringList{u"Save"_s, u"Discard"_s, u"Cancel"_s}.indexOf(arg));
            } else if (verb == u"stopAfter") {
                m_window->documents().setWriteStep([n](QIODevice &file, QByteArrayView bytes) {
                    return file.write(bytes.data(), qMin(bytes.size(), qint64{n[0]}));
                });
            } else if (verb == u"routes") {
                for (int i = 1; i <= n[0]; ++i)
                    m_window->openFile(write(u"r%1.txt"_s.arg(i), "\t500\x80"));
            } else if (verb == u"gone") {
                QFile::remove(path(arg));
            } else if (verb == u"recent") {
                choose(u"recentAction"_s + arg);
            } else if (verb == u"pick") {
                answerPopUp(arg);
            } else {
                if (step == u"print" && !QPrinterInfo::defaultPrinter().isNull())
                    QSKIP("this machine has a default printer; printing on it is left to a person");
                choose(step + u"Action"_s);
            }
        }
    }

    // The next pop-up is answered with the item named, and noted with where
    // it opened; the keys open it below the current cell.
    void answerPopUp(const QString &item)
    {
        const plenix::RouteTable &t = table();
        m_pointer = m_grid->viewport()->mapToGlobal(
            m_grid->visualRect(index(t.currentRow(), t.currentCol())).bottomLeft());
        m_guard.expect([this, item](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            m_popUp = menu ? menu->objectName() : u"not a menu"_s;
            if (shown->geometry().top() != m_pointer.y() || !shown->geometry().contains(m_pointer))
                m_popUp += u" away from the pointer"_s;
            QAction *action = menu ? menu->findChild<QAction *>(item) : nullptr;
            if (!action)
                return shown->close(), void();
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
    }

    // A long text as its length, start and end.
    static QString brief(const QString &text)
    {
        return text.size() <= 100
                   ? text
                   : u"%1 characters: %2"_s.arg(text.size()).arg(text.left(4) + text.right(1));
    }

    // What the window shows, by the probe's name (the case file lists them).
    QString probe(const QString &name)
    {
        const QList<int> n = numbers(name.section(u':', 1));
        if (name.startsWith(u"cell:"))
            return brief(shown(n[0], n[1]));
        if (name.startsWith(u"look:")) {
            const QModelIndex cell = index(n[0], n[1]);
            const int stale = int(cell.data(Qt::ForegroundRole).isValid()) +
                              int(cell.data(Qt::FontRole).value<QFont>().italic()) +
                              int(!cell.data(Qt::ToolTipRole).toString().isEmpty());
            const bool tinted = cell.data(Qt::BackgroundRole).isValid();
            return tinted ? u"doubtful"_s : stale == 3 ? u"stale"_s : u"plain"_s.repeated(!stale);
        }
        if (name.startsWith(u"tip:")) {
            const QPoint at = cellPoint(n[0], n[1]);
            QHelpEvent help(QEvent::ToolTip, at, m_grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(m_grid->viewport(), &help);
            if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }))
                return u"none"_s;
            return QToolTip::text() == m_grid->toolTip() ? u"hint"_s : brief(QToolTip::text());
        }
        if (name == u"clipboard" || name == u"messages") {
            const QString text = name == u"messages" ? m_dialogs.messages.join(u'|')
                                                     : QGuiApplication::clipboard()->text();
            return QString(text)
                .replace(toQString(table().headerLine()), u"<header>"_s)
                .replace(m_dir->path(), u"<dir>"_s);
        }
        if (name == u"profile") {
            const auto *chart =
                qobject_cast<const ProfileChart *>(control<QChartView>(u"profileView"_s)->chart());
            const bool shown = control(u"profilePanel"_s)->isVisible();
            return u"%1, %2 point"_s.arg(shown ? u"shown" : u"hidden")
                       .arg(chart->profile().points.size()) +
                   u", out of date"_s.repeated(chart->isOutOfDate());
        }
        const QWidget *focused = QApplication::focusWidget();
        const QDir dir(m_dir->path());
        QStringList recent;
        for (const QAction *item : control<QMenu>(u"recentMenu"_s)->actions())
            recent << item->text();
        const QHash<QString, QString> others{
            {u"cursor"_s, cursor()},
            {u"calls"_s, m_dialogs.calls.join(u',')},
            {u"title"_s, title()},
            {u"description"_s, control<QPlainTextEdit>(u"descriptionEdit"_s)->toPlainText()},
            {u"tooltips"_s,
             QString::number(!m_grid->toolTip().isEmpty() +
                             !control(u"calculateButton"_s)->toolTip().isEmpty() +
                             !control(u"descriptionEdit"_s)->toolTip().isEmpty()) +
                 u" on"_s.repeated(control<QAction>(u"toolTipsAction"_s)->isChecked())},
            {u"focus"_s, focused ? focused->objectName() : QString()},
            {u"popup"_s, m_popUp},
            {u"status"_s, u"said"_s.repeated(!m_window->statusBar()->currentMessage().isEmpty())},
            {u"bytes"_s,
             coretest::readAll(path(u"bytes.txt"_s)) == EveryByte ? u"unchanged"_s : u"changed"_s},
            {u"recent"_s, recent.join(u' ')},
            {u"other"_s,
             coretest::readAll(path(u"other.txt"_s)) == OtherBytes ? u"unchanged"_s : u"changed"_s},
            {u"entries"_s,
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(u' ')},
            {u"windows"_s, QString::number(int(m_window->isVisible()) + int(m_other.isVisible()))},
        };
        if (!others.contains(name))
            qFatal("no probe %s", qPrintable(name));
        return others[name];
    }

    int pick(int count) { return int(m_random() % quint32(std::max(count, 1))); }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename List> auto any(const List &list)
    {
        return list[decltype(list.size())(pick(int(list.size())))];
    }
    // A point of the widget, or up to `beyond` pixels outside it.
    QPoint pointIn(const QWidget *w, int beyond = 0)
    {
        return {pick(w->width() + 2 * beyond) - beyond, pick(w->height() + 2 * beyond) - beyond};
    }
    Qt::KeyboardModifiers shift() { return chance(20) ? Qt::ShiftModifier : Qt::NoModifier; }

    // The prompt's next reply (Cancel, empty, a number or text), the next
    // file dialog's answer (cancelled, a file, the folder itself, or a file
    // in a folder that does not exist) and the save-changes choice.
    void scriptDialogs()
    {
        static const QStringList texts = u"abc|1e999|-7| 12 |&HFF|\u0436|0.0001|\t"_s.split(u'|');
        const std::array<std::optional<QString>, 4> replies{
            std::nullopt, QString(), QString::number(pick(10000) / 100.0), any(texts)};
        m_dialogs.replies = {any(replies)};
        m_dialogs.fileNames = {
            any(std::array{QString(), path(u"a.txt"_s), m_dir->path(), path(u"no/c.txt"_s)})};
        m_dialogs.saveChoices = {Dialogs::SaveChoice(pick(3))};
    }

    // Every data cell and the description.
    QString texts() { return toQString(m_window->document().fileText()); }

    // Half of the characters from what numbers are made of, so that
    // Calculate has routes to work through.
    void typeText()
    {
        QString text;
        for (int count = 1 + pick(4); count > 0; --count)
            text += QLatin1Char(chance(50) ? any("0123456789.E"_ba) : char(32 + pick(95)));
        QTest::keyClicks(m_grid, text);
    }

    void pressKey()
    {
        static const std::array keys{Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return,
                                     Qt::Key_Enter,     Qt::Key_Up,     Qt::Key_Down,
                                     Qt::Key_Left,      Qt::Key_Right,  Qt::Key_PageUp,
                                     Qt::Key_PageDown,  Qt::Key_Home,   Qt::Key_End};
        QTest::keyClick(m_grid, any(keys),
                        shift() | (chance(20) ? Qt::ControlModifier : Qt::NoModifier));
    }

    // On the cells or a header: a click, a double click, a drag (partly
    // beyond the edges, which scrolls), or a right click whose pop-up gets
    // one of its items by mouse or keyboard, or Escape.
    void mouse()
    {
        const int area = pick(4); // 0 and 1 the cells, 2 the column headers, 3 the row numbers
        QWidget *target = area < 2 ? m_grid->viewport() : header(area == 2);
        const QPoint at = pointIn(target);
        if (const int action = pick(10); action < 3) {
            QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
            for (int moves = 1 + pick(4); moves > 0; --moves)
                QTest::mouseMove(target, pointIn(target, 60));
            return QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, pointIn(target, 60));
        } else if (action < 6) {
            return action < 5 ? QTest::mouseClick(target, Qt::LeftButton, shift(), at)
                              : QTest::mouseDClick(target, Qt::LeftButton, shift(), at);
        }
        const int answer = pick(9);
        const bool byMouse = chance(50);
        scriptDialogs();
        m_guard.expect([answer, byMouse](QWidget *shown) {
            QList<QAction *> items = shown->actions();
            items.removeIf([](const QAction *a) { return a->isSeparator(); });
            auto *menu = qobject_cast<QMenu *>(shown);
            const auto choice = answer % (items.size() + 1);
            if (!menu || choice == items.size()) {
                QTest::keyClick(shown, Qt::Key_Escape);
            } else if (byMouse) {
                const QPoint item = menu->actionGeometry(items[choice]).center();
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, item);
            } else {
                menu->setActiveAction(items[choice]);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        // The pop-up runs its own loop until it is answered.
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
        const bool answered = !m_guard.waiting();
        m_guard.expect({});
        QVERIFY2(answered && !QApplication::activePopupWidget(), "no pop-up, or one left open");
    }

    // The wheel over the cells, or a new size or state of the window.
    void viewChange()
    {
        MainWindow *window = m_window.get();
        if (const int change = pick(6); change < 3)
            return change ? window->setWindowState(Qt::WindowState(change)) : window->showNormal();
        else if (change == 3)
            return window->resize(40 + pick(1600), 40 + pick(1200));
        QWidget *viewport = m_grid->viewport();
        const QPoint at = pointIn(viewport), delta{0, 120 * (pick(7) - 3)};
        QWheelEvent wheel(at, viewport->mapToGlobal(at), {}, delta, Qt::NoButton, shift(),
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }

    void runCommand()
    {
        // Insert Row and Undo twice as often; Exit is left out, as it would
        // end the run, and Clear List often enough that the grid is seen
        // filling from empty.
        static const QStringList names =
            u"new open close save saveAs print clearDescription clearList insertRow insertRow "
            "copyDescription copyList copyFileName toolTips helpTopics about elbow90 elbow30 "
            "branchEntry60 branchEntry45 undo undo redo"_s.split(u' ');
        scriptDialogs();
        const QString name = chance(20) ? u"clearList"_s : any(names);
        // Printing goes to a real printer when there is one.
        if (name == u"print" && !QPrinterInfo::defaultPrinter().isNull())
            return;
        // The About box is modal; it is closed unread.
        if (name == u"about")
            m_guard.expect([](QWidget *shown) { shown->close(); });
        choose(name + u"Action"_s);
        m_guard.expect({});
    }

    // The grid's shape, headers and row numbers, which nothing may change.
    QString frame()
    {
        const RouteModel *model = m_grid->routeModel();
        QString text = u"%1 rows %2 columns"_s.arg(model->rowCount()).arg(model->columnCount());
        for (int col = 0; col < RouteTable::ColCount; ++col)
            text += u'|' + cell(0, col);
        for (int row = 1; row <= RouteTable::DataRows; ++row)
            text += u'|' + cell(row, 0);
        return text;
    }

    // The grid is whole, the view agrees with the route table, Qt has not
    // warned; undoing everything since the last Open or New gives back the
    // texts it opened, and redoing it all the texts before.
    void checkInvariants()
    {
        QStringList broken;
        const auto expect = [&broken](bool ok, const QString &what) {
            if (!ok)
                broken.append(what);
        };
        const RouteTable &t = table();
        expect(frame() == m_frame, u"shape, headers or row numbers now "_s + frame());
        // Current cell, selection (its corners and size) and scroll
        // position, as the view and as the table have them, all on cells.
        const QModelIndex current = m_grid->currentIndex();
        const QModelIndexList selected = m_grid->selectionModel()->selectedIndexes();
        const auto [top, bottom] = std::ranges::minmax(selected, {}, &QModelIndex::row);
        const auto [left, right] = std::ranges::minmax(selected, {}, &QModelIndex::column);
        const plenix::CellRange s = t.selection();
        const QList<int> view = QList<int>()
                                << current.row() + 1 << current.column() + 1 << top.row() + 1
                                << left.column() + 1 << bottom.row() + 1 << right.column() + 1
                                << int(selected.size()) << m_grid->verticalScrollBar()->value() + 1
                                << m_grid->horizontalScrollBar()->value() + 1;
        const QList<int> model = QList<int>()
                                 << t.currentRow() << t.currentCol() << s.top << s.left << s.bottom
                                 << s.right << (s.bottom - s.top + 1) * (s.right - s.left + 1)
                                 << t.topRow() << t.leftCol();
        expect(view == model && current.isValid(),
               u"view at %1, table at %2"_s.arg(QDebug::toString(view), QDebug::toString(model)));
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col < RouteTable::ColCount; ++col) {
                if (const QString text = shown(row, col); text != cell(row, col))
                    broken << u"cell %1,%2 shown as \"%3\""_s.arg(row).arg(col).arg(text);
            }
        }
        QUndoStack &history = m_window->documents().history().stack();
        expect(m_window->isWindowModified() == !history.isClean() &&
                   m_window->document().isModified() == !history.isClean(),
               u"unsaved mark differs from the history"_s);
        const QString now = texts();
        const int steps = history.index();
        history.setIndex(0);
        expect(texts() == m_opened, u"undoing everything gave "_s + texts());
        history.setIndex(steps);
        expect(texts() == now, u"redoing everything gave "_s + texts());
        expect(recordedWarnings.isEmpty(), u"Qt warned: "_s + recordedWarnings.join(u"; "_s));
        expect(m_guard.unexpected.isEmpty(),
               u"unexpected windows: "_s + m_guard.unexpected.join(u"; "_s));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    }

private Q_SLOTS:
    void initTestCase() { passOn = qInstallMessageHandler(recordWarnings); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings(QSettings::UserScope, u"plenix"_s, u"plenix"_s).clear();
        QVERIFY(!write(u"other.txt"_s, OtherBytes).isEmpty());
        QVERIFY(!write(u"bytes.txt"_s, EveryByte).isEmpty());
        QVERIFY(!write(u"letter.txt"_s, "Dear Sir,\r\nthe ducts\t are\rready.").isEmpty());
        m_popUp = u"none"_s;
        m_other.show();
        // One main window with the fake dialogs installed, its grid focused.
        m_dialogs = FakeDialogs();
        m_dialogs.previewPdf = path(u"preview.pdf"_s);
        Dialogs::setInstance(&m_dialogs);
        m_window = std::make_unique<MainWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QApplication::setActiveWindow(m_window.get());
        m_grid = m_window->findChild<RouteView *>(u"routeView"_s);
        QVERIFY(m_grid && QTest::qWaitFor([this] { return m_grid->hasFocus(); }, 2000));
    }
    void cleanup()
    {
        m_tester.reset();
        QToolTip::hideText();
        m_other.hide();
        const QStringList unexpected = std::exchange(m_guard.unexpected, {});
        m_grid = nullptr;
        m_window.reset();
        Dialogs::setInstance(nullptr);
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u"; "_s)));
    }

    void inputs_reach_their_operations_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected"); // probe=value, joined by ';'
        for (const std::vector<std::string> &c : coretest::caseFile("window-inputs.cases")) {
            QTest::newRow(c.at(0).c_str())
                << QString::fromStdString(c.at(1)) << QString::fromStdString(c.at(2));
        }
    }

    void inputs_reach_their_operations()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        run(steps);
        QStringList seen;
        for (const QString &item : expected.split(u';')) {
            const QString name = item.section(u'=', 0, 0);
            seen << name + u'=' + probe(name);
        }
        QCOMPARE(seen.join(u';'), expected);
    }

    void long_description_lines_save_what_the_box_shows_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        for (const std::vector<std::string> &c : coretest::caseFile("long-lines.cases")) {
            QTest::newRow(c.at(0).c_str())
                << QString::fromStdString(c.at(1)) << QString::fromStdString(c.at(2))
                << std::stoi(c.at(3)) << QString::fromStdString(c.at(4));
        }
    }

    void long_description_lines_save_what_the_box_shows()
    {
        QFETCH(QString, steps);
        QFETCH(QString, at);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        // "C", "2C", "C+N" and "C-N" count from the length of a paragraph.
        const auto number = [](QStringView text) {
            const qsizetype c = text.indexOf(u'C');
            return c < 0 ? text.toInt()
                         : (c > 0 ? text.first(c).toInt() : 1) * DescriptionEdit::ChunkChars +
                               (c + 1 < text.size() ? text.sliced(c + 1).toInt() : 0);
        };
        std::string line;
        for (int i = 0; i < 2 * DescriptionEdit::ChunkChars + 100; ++i)
            line += char('0' + i % 10);
        std::string stored = line + "\r\nend\r\n\r\nlast\r\n" + line;
        for (int i = 0; i < 800; ++i)
            stored += "\r\n" + std::string(80, 'q');
        const QString file = write(u"long.txt"_s, QByteArray::fromStdString("\x80" + stored));
        m_window->openFile(file);
        auto &box = *control<DescriptionEdit>(u"descriptionEdit"_s);
        QClipboard &clipboard = *QGuiApplication::clipboard();
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString arg = step.section(u':', 1);
            QTextCursor cursor = box.textCursor();
            if (step.startsWith(u"at:")) {
                cursor.setPosition(number(arg));
                box.setTextCursor(cursor);
            } else if (step.startsWith(u"select:")) {
                cursor.setPosition(number(arg.section(u',', 0, 0)));
                cursor.setPosition(number(arg.section(u',', 1)), QTextCursor::KeepAnchor);
                box.setTextCursor(cursor);
            } else if (step.startsWith(u"type:")) {
                QTest::keyClicks(&box, arg);
            } else if (step == u"copy") {
                box.copy();
            } else if (step.startsWith(u"paste")) {
                if (step == u"paste-long")
                    clipboard.setText(QString(2 * DescriptionEdit::ChunkChars + 5, u'p'));
                box.paste();
            } else {
                QTest::keyClick(&box, step == u"enter"    ? Qt::Key_Return
                                      : step == u"delete" ? Qt::Key_Delete
                                                          : Qt::Key_Backspace);
            }
        }
        std::string added;
        for (const QString &part : inserted.split(u'|')) {
            added += part.startsWith(u"p*") ? std::string(size_t(number(part.sliced(2))), 'p')
                                            : part.toStdString();
        }
        stored.replace(size_t(number(at)), size_t(removed), added);
        choose(u"saveAction"_s);
        QCOMPARE(coretest::readAll(file), QByteArray::fromStdString("\x80" + stored));
        QCOMPARE(descriptionBoxText(box),
                 QString::fromStdString(stored).replace(u"\r\n"_s, u"\n"_s));
    }

    // The view hands the core its measured size: Shift+Page Down stretches
    // the selection to the last wholly shown row, and a drag held past the
    // edge goes on scrolling until the button is let go.
    void view_measures_for_the_core()
    {
        QWidget *viewport = m_grid->viewport();
        clickCell(1, 2);
        QTest::keyClick(m_grid, Qt::Key_PageDown, Qt::ShiftModifier);
        const int end = table().selectionRow();
        QVERIFY(viewport->rect().contains(m_grid->visualRect(index(end, 2))));
        QVERIFY(!viewport->rect().contains(m_grid->visualRect(index(end + 1, 2))));
        const QPoint from = cellPoint(2, 2), past(from.x(), viewport->height() + 5);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, past);
        const int first = table().topRow();
        QTRY_VERIFY(table().topRow() >= first + 2);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, past);
        const int stopped = table().topRow();
        QTest::qWait(200);
        QCOMPARE(table().topRow(), stopped);
    }

    // Every control where the core's layout puts it, at start and at
    // another size; a client area of no size shrinks them to nothing.
    void layout_follows_the_client_area()
    {
        for (const QSize size : {m_window->size(), QSize(333, 222)}) {
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);
            const QSize client = m_window->centralWidget()->size();
            for (const plenix::DesignControl &design : plenix::DesignControls) {
                const plenix::Geometry g = plenix::geometryFromRatios(
                    plenix::ratiosFromGeometry(design.geometry, plenix::DesignClientWidth,
                                               plenix::DesignClientHeight),
                    float(client.width()), float(client.height()));
                const QRect shown = control(QString::fromLatin1(design.name))->geometry();
                const QRectF expected(g.left, g.top, g.width, g.height);
                QVERIFY(std::abs(shown.x() - expected.x()) <= 1 &&
                        std::abs(shown.y() - expected.y()) <= 1 &&
                        std::abs(shown.width() - expected.width()) <= 1 &&
                        std::abs(shown.height() - expected.height()) <= 1);
            }
        }
        m_window->layoutTable().apply(QSize(-160, -40));
        QVERIFY(control(u"routeView"_s)->geometry().isEmpty());
    }

    // A pass that stops says why in an information box; the question before
    // New offers Save, Discard and Cancel, and Discard goes on.
    void message_box_and_question()
    {
        setCell(1, 4, u"100"_s);
        setCell(1, 6, u"0.5"_s);
        QString seen;
        const auto read = [&seen](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            if (!box)
                return shown->close(), void();
            seen = u"%1|%2|%3|%4"_s.arg(box->windowTitle(), box->text())
                       .arg(box->icon())
                       .arg(box->standardButtons().toInt(), 0, 16);
            box->button(box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Discard)
                ->click();
        };
        withQtDialogs(read, [this] { QTest::keyClick(m_grid, Qt::Key_Return); });
        QCOMPARE(seen, u"Plenix|Length and Loss Coef. entries should be on separate rows.\n"
                       "Inspect row: 1|1|400"_s);
        withQtDialogs(read, [this] { choose(u"newAction"_s); });
        QCOMPARE(seen, u"plenix|Save changes to Untitled before closing?|2|c00800"_s);
        QCOMPARE(cell(1, 4), QString());
    }

    // The radius prompt under a duct of diameter 12 shows the diameter and,
    // as 18 is typed, the ratio and the coefficient.
    void radius_prompt()
    {
        setCell(1, 3, u"12"_s);
        clickCell(2, 6);
        QStringList seen;
        const auto answer = [&](QWidget *prompt) {
            auto *reply = child<QLineEdit>(*prompt, u"replyEdit"_s);
            seen << prompt->windowTitle() << reply->text()
                 << child<QLabel>(*prompt, u"diameterLabel"_s)->text();
            reply->selectAll();
            QTest::keyClicks(reply, u"18"_s);
            seen << child<QLabel>(*prompt, u"previewLabel"_s)->text();
            qobject_cast<QDialog *>(prompt)->accept();
        };
        withQtDialogs(answer, [this] { choose(u"elbow90Action"_s); });
        QCOMPARE(seen, (QStringList{u"plenix"_s, u"0"_s, u"Diameter in force: 12 in"_s,
                                    u"R/D = 1.5, coefficient 0.39"_s}));
        QCOMPARE(cell(2, 5), u"Elbow 90 deg 18 in clr"_s);
    }

    // Save As onto an existing file replaces it without a question, then
    // Open reads it back.
    void file_dialogs()
    {
        const QString file = write(u"typed.txt"_s, "old contents");
        setCell(1, 2, u"640"_s);
        const auto typeName = [&](QWidget *shown) {
            if (!qobject_cast<QFileDialog *>(shown))
                return shown->close(), void();
            // Set rather than typed: typing opens the completer's pop-up
            // whenever the folder listing arrives.
            auto *name = child<QLineEdit>(*shown, u"fileNameEdit"_s);
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        };
        withQtDialogs(typeName, [this] { choose(u"saveAsAction"_s); });
        choose(u"newAction"_s);
        withQtDialogs(typeName, [this] { choose(u"openAction"_s); });
        QCOMPARE(cell(1, 2), u"640"_s);
        QCOMPARE(title(), u"Plenix - typed"_s);
    }

    // The preview shows the report's pages. With a printer named in
    // PLENIX_REPORT_PRINTER (the default printer of the spooler the report
    // test starts), the report is printed from it.
    void preview_shows_and_prints_the_report()
    {
        QVERIFY(m_window->openFile(QStringLiteral(PLENIX_TESTS_DIR "/report/sixty-rows.txt")));
        QTest::keyClick(m_grid, Qt::Key_Return);
        const QString printer = qEnvironmentVariable("PLENIX_REPORT_PRINTER");
        int pages = 0;
        const auto look = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(shown);
            auto *preview = shown->findChild<QPrintPreviewWidget *>();
            if (!dialog || !preview)
                return shown->close(), void();
            pages = preview->pageCount();
            if (!printer.isEmpty() && dialog->printer()->printerName() == printer)
                preview->print();
            dialog->reject();
        };
        withQtDialogs(look, [this] { choose(u"printReportAction"_s); });
        QVERIFY2(pages >= 2 && pages <= 3, qPrintable(QString::number(pages)));
    }

    // An access key two items of one menu share only moves between them.
    void access_keys_are_unique_in_each_menu()
    {
        QList<QWidget *> menus{m_window->menuBar()};
        for (QMenu *menu : m_window->findChildren<QMenu *>())
            menus << menu;
        for (const QWidget *menu : std::as_const(menus)) {
            QStringList keys;
            for (const QAction *action : menu->actions()) {
                const QString key = QKeySequence::mnemonic(action->text()).toString();
                QVERIFY2(key.isEmpty() || !keys.contains(key), qPrintable(action->text()));
                keys << key;
            }
        }
    }

    // Help > About: modal over the main window, which takes no input
    // meanwhile, showing this build's version; OK, Enter and Escape close it.
    void about_box()
    {
        setCell(1, 4, u"100"_s);
        for (const int key : {0, int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
            QPointer<QWidget> seen;
            QString version;
            const auto answer = [&](QWidget *shown) {
                seen = shown;
                version = child<QLabel>(*shown, u"versionLabel"_s)->text();
                QTest::keyClick(m_window->windowHandle(), Qt::Key_Return);
                if (key)
                    QTest::keyClick(shown, Qt::Key(key));
                else
                    QTest::mouseClick(child<QPushButton>(*shown, u"okButton"_s), Qt::LeftButton);
            };
            m_guard.expect(answer);
            choose(u"aboutAction"_s);
            QVERIFY(seen.isNull() && version.endsWith(QStringLiteral(" " PLENIX_VERSION_STRING)));
        }
        QCOMPARE(cell(1, 10), QString());
        QVERIFY(m_dialogs.calls.isEmpty());
    }

    // A program of the list found on the PATH starts detached and the
    // dialog stays open; with none, a message says so.
    void system_info()
    {
        const QStringList order = AboutDialog::systemInfoPrograms();
        const QByteArray savedPath = qgetenv("PATH");
        AboutDialog dialog;
        dialog.show();
        const auto press = [&dialog](const QString &path) {
            qputenv("PATH", QFile::encodeName(path));
            QTest::mouseClick(child<QPushButton>(dialog, u"systemInfoButton"_s), Qt::LeftButton);
        };
        press(QString());
        const QString started = path(u"started"_s);
        const QString program =
            write(order.constLast(), "#!/bin/sh\necho > '" + QFile::encodeName(started) + "'\n");
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        press(m_dir->path());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 10000);
        qputenv("PATH", savedPath);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(dialog.isVisible());
    }

    // Help Topics shows the help file this build was made with, or says it
    // is missing. The help window does not block its owner, and shown again
    // it is the same window, back at the contents. A file that cannot be
    // shown is reported, no file at all in an information box.
    void help_window()
    {
        choose(u"helpTopicsAction"_s);
        const bool helpThere = QFileInfo(helpFilePath()).isFile();
        QCOMPARE(m_window->findChildren<HelpWindow *>().size(), int(helpThere));
        m_dialogs = FakeDialogs();
        delete m_window->findChild<HelpWindow *>();
        const QString file =
            write(u"help.html"_s, "<h1>Contents</h1>" + QByteArray("<p>Filler</p>").repeated(200) +
                                      "<h2><a name=\"far\"></a>Far</h2>");
        showHelpContents(m_window.get(), file);
        auto *help = m_window->findChild<HelpWindow *>();
        QVERIFY(help && QTest::qWaitForWindowExposed(help) && !QApplication::activeModalWidget());
        help->browser()->scrollToAnchor(u"far"_s);
        help->close();
        showHelpContents(m_window.get(), file);
        QCOMPARE(m_window->findChildren<HelpWindow *>().size(), 1);
        QVERIFY(help->isVisible() && help->browser()->toPlainText().startsWith(u"Contents"_s));
        QCOMPARE(help->browser()->verticalScrollBar()->value(), 0);
        showHelpContents(m_window.get(), path(u"missing.html"_s));
        showHelpContents(m_window.get(), QString());
        QCOMPARE(m_dialogs.calls, (QStringList{u"message"_s, u"information"_s}));
        QVERIFY(m_dialogs.messages[0].contains(u"missing.html"_s));
    }

    // A wide red widget with a blue lower right quarter, printed as the menu
    // prints the window: one landscape page, the widget scaled to fit with
    // its proportions kept.
    void window_image_on_one_page()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(u"pdftoppm"_s);
        if (pdftoppm.isEmpty())
            QSKIP("poppler-utils (pdftoppm) is not installed");
        QWidget widget;
        widget.resize(600, 300);
        widget.setStyleSheet(u"background: red"_s);
        QWidget block(&widget);
        block.setGeometry(300, 150, 300, 150);
        block.setStyleSheet(u"background: blue"_s);
        {
            QPdfWriter writer(path(u"window.pdf"_s));
            QVERIFY(paintWidgetPage(widget, writer));
        }
        const QStringList arguments{u"-r"_s, u"30"_s, u"-png"_s, path(u"window.pdf"_s),
                                    path(u"page"_s)};
        QCOMPARE(QProcess::execute(pdftoppm, arguments), 0);
        QVERIFY(!QFile::exists(path(u"page-2.png"_s)));
        const QImage page(path(u"page-1.png"_s));
        QRect painted; // where the page is not white
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 200)
                    painted |= QRect(x, y, 1, 1);
            }
        }
        const auto at = [&](int x, int y) {
            const QRgb pixel = page.pixel(painted.x() + painted.width() * x / 4,
                                          painted.y() + painted.height() * y / 4);
            return qRed(pixel) > qBlue(pixel) ? "r" : "b";
        };
        QVERIFY(page.width() > page.height() && painted.width() > page.width() * 7 / 10);
        QVERIFY(qAbs(painted.width() - 2 * painted.height()) <= 3);
        QCOMPARE(QByteArray(at(1, 1)) + at(3, 1) + at(1, 3) + at(3, 3), "rrrb");
    }
    // Random input from a seeded generator (PLENIX_RANDOM_SEED replays a run,
    // PLENIX_RANDOM_EVENTS sets its length; ctest runs it as tst_app_random).
    // After every 50 events the invariants above must hold.
    void random_input_keeps_the_grid_whole()
    {
        const quint32 seed = qEnvironmentVariable("PLENIX_RANDOM_SEED", u"20240611"_s).toUInt();
        const int events = qEnvironmentVariable("PLENIX_RANDOM_EVENTS", u"5000"_s).toInt();
        if (events <= 0)
            QSKIP("PLENIX_RANDOM_EVENTS is 0");
        m_random.seed(seed);
        m_frame = frame();
        m_opened = texts();
        connect(&m_window->documents().history(), &EditHistory::restarted, this,
                [this] { m_opened = texts(); });
        // Checks the model at once and after every change it reports.
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_grid->routeModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        recordedWarnings.clear();
        qInfo("Seed %u, %d events; PLENIX_RANDOM_SEED and PLENIX_RANDOM_EVENTS change them.", seed,
              events);
        for (int done = 1; done <= events && !QTest::currentTestFailed(); ++done) {
            // The kinds of event, with their shares in percent: 38, 20, 25, 5, 12.
            if (const int kind = pick(100); kind < 38)
                typeText();
            else if (kind < 58)
                pressKey();
            else if (kind < 83)
                mouse();
            else if (kind < 88)
                viewChange();
            else
                runCommand();
            // What the event posted (repaints, layout, deferred deletes) runs
            // before the next one, as it would between a person's inputs.
            QCoreApplication::processEvents();
            if (done % 50 == 0 || done == events)
                checkInvariants();
            if (QTest::currentTestFailed())
                qInfo("Failed by event %d of seed %u.", done, seed);
        }
    }
};

// QTEST_MAIN, with the offscreen platform chosen before the application
// starts, Qt's own dialogs instead of a platform's, and settings in a test
// folder, never the user's.
int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"plenix"_s);
    WindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_window.moc"
