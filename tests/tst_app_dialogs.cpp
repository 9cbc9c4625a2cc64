// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs, each driven once: the message box, the save-changes
// question, the radius prompt, the file dialogs and the report's print
// preview; the About box and its System Info, the help window, and the
// window's image printed on a page.
#include "apptest.h"

#include "aboutdialog.h"
#include "helpwindow.h"
#include "version.h"
#include "windowprinter.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace Qt::StringLiterals;
using apptest::child;

namespace {
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

class DialogsTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    QTemporaryDir m_dir;

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

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid() && m_app.open()); }
    void cleanup() { m_app.finish(); }

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
        const auto answer = [&](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            if (!menu)
                return shown->close(), void();
            m_app.guard.expect([&](QWidget *prompt) {
                auto *reply = child<QLineEdit>(*prompt, u"replyEdit"_s);
                seen << prompt->windowTitle() << reply->text()
                     << child<QLabel>(*prompt, u"diameterLabel"_s)->text();
                reply->selectAll();
                QTest::keyClicks(reply, u"18"_s);
                seen << child<QLabel>(*prompt, u"previewLabel"_s)->text();
                qobject_cast<QDialog *>(prompt)->accept();
            });
            menu->setActiveAction(menu->findChild<QAction *>(u"elbow90Action"_s));
            QTest::keyClick(menu, Qt::Key_Return);
        };
        withQtDialogs(answer, [this] {
            QTest::mouseClick(m_app.grid->viewport(), Qt::RightButton, {}, m_app.cellPoint(2, 6));
        });
        QCOMPARE(seen, (QStringList{u"plenix"_s, u"0"_s, u"Diameter in force: 12 in"_s,
                                    u"R/D = 1.5, coefficient 0.39"_s}));
        QCOMPARE(m_app.cell(2, 5), u"Elbow 90 deg 18 in clr"_s);
    }

    // Save As onto an existing file replaces it without a question, then
    // Open reads it back.
    void file_dialogs()
    {
        const QString file = m_dir.filePath(u"typed.txt"_s);
        QVERIFY(writeFile(file, "old contents"));
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
    // test starts), the report is printed from it; with PLENIX_PREVIEW_SHOT,
    // a picture of the dialog is saved there.
    void preview_shows_and_prints_the_report()
    {
        QVERIFY(m_app.window->openFile(QStringLiteral(PLENIX_TESTS_DIR "/report/sixty-rows.txt")));
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        const QString printer = qEnvironmentVariable("PLENIX_REPORT_PRINTER");
        const QString shot = qEnvironmentVariable("PLENIX_PREVIEW_SHOT");
        int pages = 0;
        const auto look = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(shown);
            auto *preview = shown->findChild<QPrintPreviewWidget *>();
            if (!dialog || !preview)
                return shown->close(), void();
            pages = preview->pageCount();
            if (!shot.isEmpty()) {
                dialog->resize(1000, 900);
                preview->setZoomMode(QPrintPreviewWidget::FitInView);
                QTest::qWait(200);
                dialog->grab().save(shot);
            }
            if (!printer.isEmpty() && dialog->printer()->printerName() == printer)
                preview->print();
            dialog->reject();
        };
        withQtDialogs(look, [this] { m_app.choose(u"printReportAction"_s); });
        QVERIFY2(pages >= 2 && pages <= 3, qPrintable(QString::number(pages)));
    }

    void about_closes_on_ok_enter_and_escape_data()
    {
        QTest::addColumn<int>("key"); // 0: OK clicked
        QTest::newRow("OK clicked") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    // Help > About through the menu bar: modal over the main window, which
    // takes no input meanwhile, showing this build's version.
    void about_closes_on_ok_enter_and_escape()
    {
        QFETCH(int, key);
        m_app.setCell(1, 4, u"100"_s);
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
        QVERIFY(m_app.chooseFromMenu(Qt::Key_H, Qt::Key_A, answer));
        QVERIFY(seen.isNull() && version.endsWith(QStringLiteral(" " PLENIX_VERSION_STRING)));
        QCOMPARE(m_app.cell(1, 10), QString());
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    // The first program of the list found on the PATH starts detached and
    // the dialog stays open; with none, or one that cannot start, a
    // message says so.
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
        const QString started = m_dir.filePath(u"started"_s);
        QVERIFY(writeFile(m_dir.filePath(order.constLast()),
                          "#!/bin/sh\necho > '" + QFile::encodeName(started) + "'\n"));
        press(m_dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 10000);
        QVERIFY(writeFile(m_dir.filePath(order.constFirst()), "#!/nonexistent/interpreter\n"));
        press(m_dir.path());
        qputenv("PATH", savedPath);
        QCOMPARE(m_app.dialogs.messages().size(), 2);
        QVERIFY(dialog.isVisible());
    }

    // Help Topics shows the help file this build was made with, or says it
    // is missing. The help window does not block its owner, and shown again it is the
    // same window, back at the contents. A file that cannot be shown is
    // reported, no file at all in an information box.
    void help_window()
    {
        QVERIFY(m_app.chooseFromMenu(Qt::Key_H, Qt::Key_H));
        const bool helpThere = QFileInfo(helpFilePath()).isFile();
        QCOMPARE(m_app.window->findChildren<HelpWindow *>().size(), int(helpThere));
        m_app.dialogs.calls.clear();
        delete m_app.window->findChild<HelpWindow *>();
        const QString path = m_dir.filePath(u"help.html"_s);
        QVERIFY(writeFile(path, "<h1>Contents</h1>" + QByteArray("<p>Filler</p>").repeated(200) +
                                    "<h2><a name=\"far\"></a>Far</h2>"));
        showHelpContents(m_app.window.get(), path);
        auto *help = m_app.window->findChild<HelpWindow *>();
        QVERIFY(help && QTest::qWaitForWindowExposed(help) && !QApplication::activeModalWidget());
        help->browser()->scrollToAnchor(u"far"_s);
        help->close();
        showHelpContents(m_app.window.get(), path);
        QCOMPARE(m_app.window->findChildren<HelpWindow *>().size(), 1);
        QVERIFY(help->isVisible() && help->browser()->toPlainText().startsWith(u"Contents"_s));
        QCOMPARE(help->browser()->verticalScrollBar()->value(), 0);
        showHelpContents(m_app.window.get(), m_dir.filePath(u"missing.html"_s));
        showHelpContents(m_app.window.get(), QString());
        QCOMPARE(m_app.dialogs.calls.size(), 2);
        QCOMPARE(m_app.dialogs.calls[0].kind + m_app.dialogs.calls[1].kind,
                 u"messageinformation"_s);
        QVERIFY(m_app.dialogs.calls[0].text.contains(u"missing.html"_s));
    }

    // Run from its build folder, however spelt, the program shows the source
    // copy of the help; installed, or built without help, what it was
    // configured with.
    void help_file_of_a_build()
    {
        const QString build = QDir::tempPath(), source = u"/src/help.html"_s;
        const QString installed = u"/usr/share/plenix/plenix-help.html"_s;
        QCOMPARE(helpFilePath(installed, source, build, u"/usr/bin"_s), installed);
        QCOMPARE(helpFilePath(installed, source, build, build + u"/./"_s), source);
        QCOMPARE(helpFilePath(QString(), source, build, build), QString());
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
        widget.setStyleSheet(u"background: #dc1e1e"_s);
        QWidget block(&widget);
        block.setGeometry(300, 150, 300, 150);
        block.setStyleSheet(u"background: #1428d2"_s);
        const QString pdf = m_dir.filePath(u"window.pdf"_s);
        {
            QPdfWriter writer(pdf);
            QVERIFY(paintWidgetPage(widget, writer));
        }
        QProcess render;
        render.start(pdftoppm, {u"-r"_s, u"30"_s, u"-png"_s, pdf, m_dir.filePath(u"page"_s)});
        QVERIFY(render.waitForFinished() && render.exitCode() == 0);
        QCOMPARE(QDir(m_dir.path()).entryList({u"page*.png"_s}), QStringList{u"page-1.png"_s});
        const QImage page(m_dir.filePath(u"page-1.png"_s));
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
        const QByteArray quarters = QByteArray(at(1, 1)) + at(3, 1) + at(1, 3) + at(3, 3);
        QCOMPARE(quarters, "rrrb");
    }
};

APPTEST_MAIN(DialogsTest)
#include "tst_app_dialogs.moc"
