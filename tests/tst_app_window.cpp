// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: each menu command, key and mouse action reaches its
// operation, whose cases the core tests check, and the window shows what it
// did, its dialogs answered by a fake. Then Qt's own dialogs, each driven
// once: the message box, the save-changes question, the radius prompt, the
// file dialogs and the report's print preview; the About box and its System
// Info, the help window, and the window's image printed on a page.
#include "apptest.h"
#include "coretest.h"

#include "aboutdialog.h"
#include "documentcommands.h"
#include "helpwindow.h"
#include "layout.h"
#include "profilechart.h"
#include "version.h"
#include "windowprinter.h"

#include <QAbstractButton>
#include <QChartView>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolTip>

using namespace Qt::StringLiterals;
using Choice = Dialogs::SaveChoice;
using apptest::child;

namespace {
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
    apptest::WindowFixture m_app;
    std::unique_ptr<QTemporaryDir> m_dir;
    QWidget m_other;  // another window of the program
    QString m_popUp;  // the last pop-up's name
    QPoint m_pointer; // where the last pop-up should open

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        return coretest::writeAll(path(name), bytes) ? path(name) : QString();
    }
    QPlainTextEdit *description() { return m_app.control<QPlainTextEdit>(u"descriptionEdit"_s); }
    static QList<int> numbers(const QString &arg)
    {
        QList<int> found;
        for (const QString &number : arg.section(u'=', 0, 0).split(u','))
            found << number.toInt();
        return found;
    }

    // Runs `command` with Qt's own dialogs; the one it opens goes to `answer`.
    void withQtDialogs(const apptest::ModalGuard::Handler &answer,
                       const std::function<void()> &command)
    {
        Dialogs::setInstance(nullptr);
        m_app.guard.expect(answer);
        command();
        Dialogs::setInstance(&m_app.dialogs);
        QVERIFY(!m_app.guard.waiting());
    }
    bool writeProgram(const QString &file, const QByteArray &bytes)
    {
        return coretest::writeAll(file, bytes) &&
               QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Runs the inputs of a row of window-inputs.cases, which lists the words.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            const QList<int> n = numbers(arg);
            const QKeyCombination key = QKeySequence(arg)[0];
            QWidget *focused = QApplication::focusWidget();
            QWidget *viewport = m_app.grid->viewport();
            if (verb == u"at" || verb == u"shift") {
                m_app.clickCell(n[0], n[1], verb == u"at" ? Qt::NoModifier : Qt::ShiftModifier);
            } else if (verb == u"dclick") {
                QTest::mouseDClick(viewport, Qt::LeftButton, {}, m_app.cellPoint(n[0], n[1]));
            } else if (verb == u"drag" || verb == u"rows" || verb == u"cols") {
                const bool cells = verb == u"drag", columns = verb == u"cols";
                QWidget *target = cells ? viewport : m_app.header(columns);
                const auto at = [&](int i) {
                    return cells ? m_app.cellPoint(n[2 * i], n[2 * i + 1])
                                 : m_app.headerPoint(columns, n[i]);
                };
                QTest::mousePress(target, Qt::LeftButton, {}, at(0));
                QTest::mouseMove(target, at(1));
                QTest::mouseRelease(target, Qt::LeftButton, {}, at(1));
            } else if (verb == u"right" && arg == u"bar") {
                QWidget *bar = m_app.grid->verticalScrollBar();
                m_pointer = bar->mapToGlobal(bar->rect().center());
                QContextMenuEvent press(QContextMenuEvent::Mouse, bar->rect().center(), m_pointer);
                QApplication::sendEvent(bar, &press);
            } else if (verb == u"right") {
                QWidget *target = n[0] && n[1] ? viewport : m_app.header(n[0] == 0);
                const QPoint at = n[0] && n[1] ? m_app.cellPoint(n[0], n[1])
                                               : m_app.headerPoint(n[0] == 0, n[0] + n[1]);
                m_pointer = target->mapToGlobal(at);
                QTest::mouseClick(target, Qt::RightButton, {}, at);
            } else if (verb == u"key") {
                QTest::keyClick(focused, key.key(), key.keyboardModifiers());
            } else if (verb == u"type") {
                for (const QChar ch : arg)
                    QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, ch, {});
            } else if (verb == u"focus") {
                m_app.control(arg)->setFocus();
            } else if (verb == u"press") {
                QTest::mouseClick(m_app.control(arg), Qt::LeftButton);
            } else if (verb == u"set") {
                m_app.setCell(n[0], n[1], arg.section(u'=', 1));
            } else if (verb == u"huge") {
                m_app.setCell(n[0], n[1], QString(n[2], u'7'));
            } else if (verb == u"closeBox") {
                m_app.window->close();
            } else if (verb == u"openFile") {
                m_app.window->openFile(path(arg));
            } else if (verb == u"files") {
                m_app.dialogs.fileNames << path(arg);
            } else if (verb == u"reply") {
                m_app.dialogs.replies << (arg == u"-" ? std::nullopt : std::optional(arg));
            } else if (verb == u"choice") {
                m_app.dialogs.saveChoices << (arg == u"Save"      ? Choice::Save
                                              : arg == u"Discard" ? Choice::Discard
                                                                  : Choice::Cancel);
            } else if (verb == u"stopAfter") {
                m_app.window->documents().setWriteStep([n](QIODevice &file, QByteArrayView bytes) {
                    return file.write(bytes.data(), qMin(bytes.size(), qint64{n[0]}));
                });
            } else if (verb == u"routes") {
                for (int i = 1; i <= n[0]; ++i)
                    m_app.window->openFile(write(u"r%1.txt"_s.arg(i), "\t500\x80"));
            } else if (verb == u"gone") {
                QFile::remove(path(arg));
            } else if (verb == u"recent") {
                m_app.choose(u"recentAction"_s + arg);
            } else if (verb == u"bytes") {
                m_app.window->openFile(write(u"bytes.txt"_s, EveryByte));
            } else if (verb == u"pick") {
                pick(arg);
            } else {
                if (step == u"print" && !QPrinterInfo::defaultPrinter().isNull())
                    QSKIP("this machine has a default printer; printing on it is left to a person");
                m_app.choose(step + u"Action"_s);
            }
        }
    }

    // The next pop-up is answered with the item named, and noted with where
    // it opened; the keys open it below the current cell.
    void pick(const QString &item)
    {
        const plenix::RouteTable &t = m_app.table();
        m_pointer = m_app.grid->viewport()->mapToGlobal(
            m_app.grid->visualRect(m_app.index(t.currentRow(), t.currentCol())).bottomLeft());
        m_app.guard.expect([this, item](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            m_popUp = menu ? menu->objectName() : u"not a menu"_s;
            const QRect at = shown->geometry();
            if (at.top() != m_pointer.y() || at.left() > m_pointer.x() ||
                at.right() < m_pointer.x())
                m_popUp += u" away from the pointer"_s;
            QAction *action = menu ? menu->findChild<QAction *>(item) : nullptr;
            if (!action)
                return shown->close(), void();
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
    }

    // What the window shows, by the probe's name (the case file lists them).
    QString probe(const QString &name)
    {
        const QList<int> n = numbers(name.section(u':', 1));
        if (name.startsWith(u"cell:"))
            return m_app.shown(n[0], n[1]);
        if (name.startsWith(u"look:")) {
            const QModelIndex cell = m_app.index(n[0], n[1]);
            const int stale = int(cell.data(Qt::ForegroundRole).isValid()) +
                              int(cell.data(Qt::FontRole).value<QFont>().italic()) +
                              int(!cell.data(Qt::ToolTipRole).toString().isEmpty());
            const bool tinted = cell.data(Qt::BackgroundRole).isValid();
            return tinted ? u"doubtful"_s : stale == 3 ? u"stale"_s : u"plain"_s.repeated(!stale);
        }
        if (name.startsWith(u"tip:")) {
            const QPoint at = m_app.cellPoint(n[0], n[1]);
            QHelpEvent help(QEvent::ToolTip, at, m_app.grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(m_app.grid->viewport(), &help);
            if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }))
                return u"none"_s;
            const QString tip = QToolTip::text();
            if (tip.size() > 100)
                return u"%1 characters: %2"_s.arg(tip.size()).arg(tip.left(4) + tip.right(1));
            return tip == m_app.grid->toolTip() ? u"hint"_s : tip;
        }
        if (name == u"clipboard" || name == u"messages") {
            const QString text = name == u"messages" ? m_app.dialogs.messages.join(u'|')
                                                     : QGuiApplication::clipboard()->text();
            return QString(text)
                .replace(toQString(m_app.table().headerLine()), u"<header>"_s)
                .replace(m_dir->path(), u"<dir>"_s);
        }
        if (name == u"profile") {
            const auto *chart = qobject_cast<const ProfileChart *>(
                m_app.control<QChartView>(u"profileView"_s)->chart());
            const bool shown = m_app.control(u"profilePanel"_s)->isVisible();
            return u"%1, %2 point"_s.arg(shown ? u"shown" : u"hidden")
                       .arg(chart->profile().points.size()) +
                   u", out of date"_s.repeated(chart->isOutOfDate());
        }
        if (name == u"tooltips") {
            const QStringList names{u"routeView"_s, u"calculateButton"_s, u"descriptionEdit"_s};
            const auto shown = std::ranges::count_if(
                names, [this](const QString &c) { return !m_app.control(c)->toolTip().isEmpty(); });
            return u"%1 %2"_s.arg(shown).arg(
                m_app.control<QAction>(u"toolTipsAction"_s)->isChecked() ? u"on" : u"off");
        }
        const QWidget *focused = QApplication::focusWidget();
        const QDir dir(m_dir->path());
        QStringList recent;
        for (const QAction *item : m_app.control<QMenu>(u"recentMenu"_s)->actions())
            recent << item->text();
        const QHash<QString, QString> others{
            {u"cursor"_s, m_app.cursor()},
            {u"calls"_s, m_app.dialogs.calls.join(u',')},
            {u"title"_s, m_app.title()},
            {u"description"_s, description()->toPlainText()},
            {u"focus"_s, focused ? focused->objectName() : QString()},
            {u"popup"_s, m_popUp},
            {u"status"_s,
             u"said"_s.repeated(!m_app.window->statusBar()->currentMessage().isEmpty())},
            {u"bytes"_s,
             coretest::readAll(path(u"bytes.txt"_s)) == EveryByte ? u"unchanged"_s : u"changed"_s},
            {u"recent"_s, recent.join(u' ')},
            {u"other"_s,
             coretest::readAll(path(u"other.txt"_s)) == OtherBytes ? u"unchanged"_s : u"changed"_s},
            {u"entries"_s,
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(u' ')},
            {u"windows"_s,
             QString::number(int(m_app.window->isVisible()) + int(m_other.isVisible()))},
        };
        if (!others.contains(name))
            qFatal("no probe %s", qPrintable(name));
        return others[name];
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings(QSettings::UserScope, u"plenix"_s, u"plenix"_s).clear();
        QVERIFY(!write(u"other.txt"_s, OtherBytes).isEmpty());
        QVERIFY(!write(u"letter.txt"_s, "Dear Sir,\r\nthe ducts\t are\rready.").isEmpty());
        m_popUp = u"none"_s;
        m_other.show();
        QVERIFY(m_app.open());
        m_app.dialogs.previewPdf = path(u"preview.pdf"_s);
    }
    void cleanup()
    {
        QToolTip::hideText();
        m_other.hide();
        m_app.finish();
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

    // The view hands the core its measured size: Shift+Page Down stretches
    // the selection to the last wholly shown row, and a drag held past the
    // edge goes on scrolling until the button is let go.
    void view_measures_for_the_core()
    {
        QWidget *viewport = m_app.grid->viewport();
        m_app.clickCell(1, 2);
        QTest::keyClick(m_app.grid, Qt::Key_PageDown, Qt::ShiftModifier);
        const int end = m_app.table().selectionRow();
        QVERIFY(viewport->rect().contains(m_app.grid->visualRect(m_app.index(end, 2))));
        QVERIFY(!viewport->rect().contains(m_app.grid->visualRect(m_app.index(end + 1, 2))));
        const QPoint from = m_app.cellPoint(2, 2), past(from.x(), viewport->height() + 5);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, past);
        const int first = m_app.table().topRow();
        QTRY_VERIFY(m_app.table().topRow() >= first + 2);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, past);
        const int stopped = m_app.table().topRow();
        QTest::qWait(200);
        QCOMPARE(m_app.table().topRow(), stopped);
    }

    // Every control where the core's layout puts it, at start and at
    // another size; a client area of no size shrinks them to nothing.
    void layout_follows_the_client_area()
    {
        for (const QSize size : {m_app.window->size(), QSize(333, 222)}) {
            m_app.window->resize(size);
            QTRY_COMPARE(m_app.window->size(), size);
            const QSize client = m_app.window->centralWidget()->size();
            for (const plenix::DesignControl &design : plenix::DesignControls) {
                const plenix::Geometry g = plenix::geometryFromRatios(
                    plenix::ratiosFromGeometry(design.geometry, plenix::DesignClientWidth,
                                               plenix::DesignClientHeight),
                    float(client.width()), float(client.height()));
                const QRect shown = m_app.control(QString::fromLatin1(design.name))->geometry();
                const auto near = [](int pixels, float expected) {
                    return qAbs(pixels - double(expected)) <= 1;
                };
                QVERIFY(near(shown.x(), g.left) && near(shown.y(), g.top) &&
                        near(shown.width(), g.width) && near(shown.height(), g.height));
            }
        }
        m_app.window->layoutTable().apply(QSize(-160, -40));
        QVERIFY(m_app.control(u"routeView"_s)->geometry().isEmpty());
    }

    // A pass that stops says why in an information box; the question before
    // New offers Save, Discard and Cancel, and Discard goes on.
    void message_box_and_question()
    {
        m_app.setCell(1, 4, u"100"_s);
        m_app.setCell(1, 6, u"0.5"_s);
        QString seen;
        const auto read = [&seen](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            if (!box)
                return shown->close(), void();
            QStringList buttons;
            for (QAbstractButton *button : box->buttons())
                buttons << QString::number(box->standardButton(button), 16);
            buttons.sort();
            seen = u"%1|%2|%3|"_s.arg(box->windowTitle(), box->text()).arg(box->icon()) +
                   buttons.join(u',');
            box->button(buttons.size() > 1 ? QMessageBox::Discard : QMessageBox::Ok)->click();
        };
        withQtDialogs(read, [this] { QTest::keyClick(m_app.grid, Qt::Key_Return); });
        QCOMPARE(seen, u"Plenix|Length and Loss Coef. entries should be on separate rows.\n"
                       "Inspect row: 1|1|400"_s);
        withQtDialogs(read, [this] { m_app.choose(u"newAction"_s); });
        QCOMPARE(seen, u"plenix|Save changes to Untitled before closing?|2|400000,800,800000"_s);
        QCOMPARE(m_app.cell(1, 4), QString());
    }

    // The radius prompt under a duct of diameter 12 shows the diameter and,
    // as 18 is typed, the ratio and the coefficient.
    void radius_prompt()
    {
        m_app.setCell(1, 3, u"12"_s);
        m_app.clickCell(2, 6);
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
        withQtDialogs(answer, [this] { m_app.choose(u"elbow90Action"_s); });
        QCOMPARE(seen, (QStringList{u"plenix"_s, u"0"_s, u"Diameter in force: 12 in"_s,
                                    u"R/D = 1.5, coefficient 0.39"_s}));
        QCOMPARE(m_app.cell(2, 5), u"Elbow 90 deg 18 in clr"_s);
    }

    // Save As onto an existing file replaces it without a question, then
    // Open reads it back.
    void file_dialogs()
    {
        const QString file = path(u"typed.txt"_s);
        QVERIFY(writeProgram(file, "old contents"));
        m_app.setCell(1, 2, u"640"_s);
        QStringList seen;
        const auto typeName = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QFileDialog *>(shown);
            if (!dialog)
                return shown->close(), void();
            seen << dialog->windowTitle() + u'|' + dialog->nameFilters().join(u';');
            // Set rather than typed: typing opens the completer's pop-up
            // whenever the folder listing arrives.
            auto *name = child<QLineEdit>(*shown, u"fileNameEdit"_s);
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        };
        withQtDialogs(typeName, [this] { m_app.choose(u"saveAsAction"_s); });
        m_app.choose(u"newAction"_s);
        withQtDialogs(typeName, [this] { m_app.choose(u"openAction"_s); });
        QCOMPARE(seen,
                 (QStringList{u"Save As|Text Files (*.txt)"_s, u"Open|Text Files (*.txt)"_s}));
        QCOMPARE(m_app.cell(1, 2), u"640"_s);
        QCOMPARE(m_app.title(), u"Plenix - typed"_s);
    }

    // The preview shows the report's pages. With a printer named in
    // PLENIX_REPORT_PRINTER (the default printer of the spooler the report
    // test starts), the report is printed from it.
    void preview_shows_and_prints_the_report()
    {
        QVERIFY(m_app.window->openFile(QStringLiteral(PLENIX_TESTS_DIR "/report/sixty-rows.txt")));
        QTest::keyClick(m_app.grid, Qt::Key_Return);
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
        withQtDialogs(look, [this] { m_app.choose(u"printReportAction"_s); });
        QVERIFY2(pages >= 2 && pages <= 3, qPrintable(QString::number(pages)));
    }

    // Help > About: modal over the main window, which takes no input
    // meanwhile, showing this build's version; OK, Enter and Escape close it.
    void about_box()
    {
        m_app.setCell(1, 4, u"100"_s);
        for (const int key : {0, int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
            QPointer<QWidget> seen;
            QString version;
            const auto answer = [&](QWidget *shown) {
                seen = shown;
                version = child<QLabel>(*shown, u"versionLabel"_s)->text();
                QTest::keyClick(m_app.window->windowHandle(), Qt::Key_Return);
                if (key)
                    QTest::keyClick(shown, Qt::Key(key));
                else
                    QTest::mouseClick(child<QPushButton>(*shown, u"okButton"_s), Qt::LeftButton);
            };
            m_app.guard.expect(answer);
            m_app.choose(u"aboutAction"_s);
            QVERIFY(seen.isNull() && version.endsWith(QStringLiteral(" " PLENIX_VERSION_STRING)));
        }
        QCOMPARE(m_app.cell(1, 10), QString());
        QVERIFY(m_app.dialogs.calls.isEmpty());
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
        QVERIFY(writeProgram(path(order.constLast()),
                             "#!/bin/sh\necho > '" + QFile::encodeName(started) + "'\n"));
        press(m_dir->path());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 10000);
        qputenv("PATH", savedPath);
        QCOMPARE(m_app.dialogs.messages.size(), 1);
        QVERIFY(dialog.isVisible());
    }

    // Help Topics shows the help file this build was made with, or says it
    // is missing. The help window does not block its owner, and shown again
    // it is the same window, back at the contents. A file that cannot be
    // shown is reported, no file at all in an information box.
    void help_window()
    {
        m_app.choose(u"helpTopicsAction"_s);
        const bool helpThere = QFileInfo(helpFilePath()).isFile();
        QCOMPARE(m_app.window->findChildren<HelpWindow *>().size(), int(helpThere));
        m_app.dialogs = apptest::FakeDialogs();
        delete m_app.window->findChild<HelpWindow *>();
        const QString file =
            write(u"help.html"_s, "<h1>Contents</h1>" + QByteArray("<p>Filler</p>").repeated(200) +
                                      "<h2><a name=\"far\"></a>Far</h2>");
        showHelpContents(m_app.window.get(), file);
        auto *help = m_app.window->findChild<HelpWindow *>();
        QVERIFY(help && QTest::qWaitForWindowExposed(help) && !QApplication::activeModalWidget());
        help->browser()->scrollToAnchor(u"far"_s);
        help->close();
        showHelpContents(m_app.window.get(), file);
        QCOMPARE(m_app.window->findChildren<HelpWindow *>().size(), 1);
        QVERIFY(help->isVisible() && help->browser()->toPlainText().startsWith(u"Contents"_s));
        QCOMPARE(help->browser()->verticalScrollBar()->value(), 0);
        showHelpContents(m_app.window.get(), path(u"missing.html"_s));
        showHelpContents(m_app.window.get(), QString());
        QCOMPARE(m_app.dialogs.calls, (QStringList{u"message"_s, u"information"_s}));
        QVERIFY(m_app.dialogs.messages[0].contains(u"missing.html"_s));
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
};

APPTEST_MAIN(WindowTest)
#include "tst_app_window.moc"
