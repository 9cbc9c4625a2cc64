// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog and Help Topics: how the dialog opens and closes, System
// Info with stand-in programs on the PATH, the help window and its failures.
#include "apptest.h"

#include "aboutdialog.h"
#include "helpwindow.h"
#include "version.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace Qt::StringLiterals;
using apptest::child;

namespace {
bool writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                               (executable ? QFile::ExeOwner : QFile::Permissions()));
}

HelpWindow *helpWindowOf(const QWidget &owner)
{
    return owner.findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
}
} // namespace

class AboutHelpTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid() && m_app.open()); }
    void cleanup() { m_app.finish(); }

    void about_closes_on_ok_enter_and_escape_data()
    {
        QTest::addColumn<int>("key"); // 0: OK clicked
        QTest::newRow("OK clicked") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    // Help > About through the menu bar: modal over the main window, which
    // takes no input meanwhile, and showing this build's version; the key or
    // OK closes it and does nothing else.
    void about_closes_on_ok_enter_and_escape()
    {
        QFETCH(int, key);
        m_app.setCell(1, 4, u"100"_s);
        QWidget *calculate = m_app.control(u"calculateButton"_s);
        QPointer<QWidget> seen;
        bool modal = false;
        QString version;
        const auto answer = [&](QWidget *shown) {
            seen = shown;
            modal = qobject_cast<AboutDialog *>(shown) && shown->isModal() &&
                    shown->parentWidget() == m_app.window.get();
            version = child<QLabel>(*shown, u"versionLabel"_s)->text();
            QWindow *mainWindow = m_app.window->windowHandle();
            QTest::keyClick(mainWindow, Qt::Key_Return);
            QTest::mouseClick(mainWindow, Qt::LeftButton, Qt::NoModifier,
                              calculate->mapTo(m_app.window.get(), calculate->rect().center()));
            if (key)
                QTest::keyClick(shown, Qt::Key(key));
            else
                QTest::mouseClick(child<QPushButton>(*shown, u"okButton"_s), Qt::LeftButton);
        };
        QVERIFY(m_app.chooseFromMenu(Qt::Key_H, Qt::Key_A, answer));
        QVERIFY(modal && seen.isNull());
        QVERIFY(version.endsWith(QStringLiteral(" " PLENIX_VERSION_STRING)));
        QCOMPARE(m_app.cell(1, 10), QString());
        QVERIFY(m_app.dialogs.calls.isEmpty());
        QTest::mouseClick(calculate, Qt::LeftButton);
        QVERIFY(!m_app.cell(1, 10).isEmpty());
    }

    // Two PATH folders, the first holding the last program of the list and
    // the second the one before it: the list's order wins, the program is
    // started detached and the dialog stays open. With none, or one that
    // cannot start, a message says so.
    void system_info()
    {
        const QStringList order = AboutDialog::systemInfoPrograms();
        const QString early = m_dir.filePath(u"early"_s), late = m_dir.filePath(u"late"_s);
        QVERIFY(QDir().mkpath(early) && QDir().mkpath(late));
        const QByteArray savedPath = qgetenv("PATH");
        AboutDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto press = [&dialog](const QByteArray &path) {
            qputenv("PATH", path);
            QTest::mouseClick(child<QPushButton>(dialog, u"systemInfoButton"_s), Qt::LeftButton);
        };
        press(QByteArray());
        for (const auto &[dir, program] :
             {std::pair(early, order.constLast()), std::pair(late, order.at(order.size() - 2))})
            QVERIFY(writeFile(dir + u'/' + program,
                              "#!/bin/sh\necho > '" + QFile::encodeName(m_dir.filePath(program)) +
                                  ".started'\n",
                              true));
        press(QFile::encodeName(early + u':' + late));
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(m_dir.filePath(order.at(order.size() - 2) + u".started"_s)), 10000);
        QVERIFY(writeFile(early + u'/' + order.constFirst(), "#!/nonexistent/interpreter\n", true));
        press(QFile::encodeName(early + u':' + late));
        qputenv("PATH", savedPath);
        QCOMPARE(m_app.dialogs.messages().size(), 2);
        QCOMPARE(QDir(m_dir.path()).entryList({u"*.started"_s}).size(), 1);
        QVERIFY(dialog.isVisible());
    }

    // Help > Help Topics through the menu bar shows the help file this build
    // was made with, or says it is missing. The help window does not block
    // its owner, and shown again it is the same window, back at the contents.
    void help_window_does_not_block_and_is_reused()
    {
        QVERIFY(m_app.chooseFromMenu(Qt::Key_H, Qt::Key_H));
        const bool helpThere = QFileInfo(helpFilePath()).isFile();
        QCOMPARE(bool(helpWindowOf(*m_app.window)), helpThere);
        QCOMPARE(m_app.dialogs.calls.size(), helpThere ? 0 : 1);
        m_app.dialogs.calls.clear();
        const QString path = m_dir.filePath(u"help.html"_s);
        QVERIFY(writeFile(path, "<h1>Contents page</h1>" +
                                    QByteArray("<p>Filler</p>").repeated(200) +
                                    "<h2><a name=\"far\"></a>Far section</h2>"));
        showHelpContents(m_app.window.get(), path);
        HelpWindow *window = helpWindowOf(*m_app.window);
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QVERIFY(window->isWindow() && !QApplication::activeModalWidget());
        m_app.window->activateWindow();
        m_app.typeAt(1, 2, u"7"_s);
        QCOMPARE(m_app.cell(1, 2), u"7"_s);
        window->browser()->scrollToAnchor(u"far"_s);
        QVERIFY(window->browser()->verticalScrollBar()->value() > 0);
        window->close();
        showHelpContents(m_app.window.get(), path);
        QCOMPARE(m_app.window->findChildren<HelpWindow *>().size(), 1);
        QVERIFY(window->isVisible() &&
                window->browser()->toPlainText().startsWith(u"Contents page"_s));
        QCOMPARE(window->browser()->verticalScrollBar()->value(), 0);
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    // No help file at all is said in an information box titled with the
    // caption; one that cannot be read, in a plain message naming it.
    void help_file_that_cannot_be_shown_is_reported()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(u"folder"_s));
        m_app.window->setWindowTitle(u"Plenix - Level 2"_s);
        const QStringList cases{u"|information|Plenix - Level 2|no Help"_s,
                                u"missing.html|message|plenix|No such file or directory"_s,
                                u"folder|message|plenix|folder"_s};
        for (const QString &c : cases) {
            const QString path =
                c.startsWith(u'|') ? QString() : m_dir.filePath(c.section(u'|', 0, 0));
            m_app.dialogs.calls.clear();
            showHelpContents(m_app.window.get(), path);
            QCOMPARE(m_app.dialogs.calls.size(), 1);
            const apptest::DialogCall &call = m_app.dialogs.calls[0];
            QCOMPARE(call.kind + u'|' + call.title, c.section(u'|', 1, 2));
            QVERIFY2(call.text.contains(path) && call.text.contains(c.section(u'|', 3)),
                     qPrintable(call.text));
            QCOMPARE(helpWindowOf(*m_app.window), nullptr);
        }
    }

    // Run from its build folder, however spelt, the program shows the source
    // copy; installed, or built without help, what it was configured with.
    void help_file_of_a_build()
    {
        const QString build = QDir::tempPath(), source = u"/src/help.html"_s;
        const QString installed = u"/usr/share/plenix/plenix-help.html"_s;
        QCOMPARE(helpFilePath(installed, source, build, u"/usr/bin"_s), installed);
        QCOMPARE(helpFilePath(installed, source, build, build), source);
        QCOMPARE(helpFilePath(installed, source, build, build + u"/./"_s), source);
        QCOMPARE(helpFilePath(QString(), source, build, build), QString());
        QCOMPARE(helpFilePath(installed, source, QString(), QString()), installed);
    }
};

APPTEST_MAIN(AboutHelpTest)
#include "tst_app_about_help.moc"
