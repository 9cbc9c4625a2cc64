// The About dialog and Help Topics: the dialog's labels and how it closes,
// System Info with stand-in programs on the PATH, the help window, and the
// help page the program ships with.
#include "apptest.h"

#include "aboutdialog.h"
#include "helpconfig.h"
#include "helpwindow.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {
using apptest::child;

bool writeFile(const QString &path, const QByteArray &bytes,
               QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.setPermissions(permissions);
}

// A stand-in system-information program: started, it leaves `marker`. It may
// use shell built-ins only, since the PATH it inherits holds nothing else.
bool writeStandIn(const QString &dir, const QString &name, const QString &marker)
{
    return writeFile(dir + u'/' + name,
                     "#!/bin/sh\necho started > '" + marker.toLocal8Bit() + "'\n",
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

HelpWindow *helpWindowOf(const QWidget &owner)
{
    return owner.findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
}

const QString Unavailable = u"System Information Is Unavailable At This Time"_s;
} // namespace

class AboutHelpTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    QByteArray m_savedPath;
    std::unique_ptr<QTemporaryDir> m_dir;

    // A help page long enough to scroll, with a section far down.
    QString writeLongPage()
    {
        QByteArray page = "<html><body><h1>Contents page</h1>";
        for (int i = 0; i < 200; ++i)
            page += "<p>Filler paragraph " + QByteArray::number(i) + "</p>";
        page += "<h2><a name=\"far\"></a>Far section</h2></body></html>";
        const QString path = m_dir->filePath(u"help.html"_s);
        return writeFile(path, page) ? path : QString();
    }

private Q_SLOTS:
    void init()
    {
        m_savedPath = qgetenv("PATH");
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(m_app.open());
    }
    void cleanup()
    {
        qputenv("PATH", m_savedPath);
        m_app.finish();
        m_dir.reset();
    }

    void about_shows_its_labels()
    {
        AboutDialog dialog;
        QCOMPARE(dialog.windowTitle(), u"About Plenix"_s);
        QCOMPARE(child<QLabel>(dialog, u"titleLabel"_s)->text(), u"Plenix"_s);
        QCOMPARE(child<QLabel>(dialog, u"versionLabel"_s)->text(),
                 u"Version "_s + QStringLiteral(PLENIX_VERSION_STRING));
        // Blank first line, the description, a blank line, web site, e-mail;
        // the project has neither, so none may be made up.
        const QStringList lines = child<QLabel>(dialog, u"descriptionLabel"_s)->text().split(u'\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.mid(0, 3), (QStringList{QString(), u"Airflow in Ducts"_s, QString()}));
        QVERIFY(lines.at(3).startsWith(u"Web site:"_s) && lines.at(4).startsWith(u"E-mail:"_s));
        for (const QString &line : lines.mid(3))
            QVERIFY2(!line.contains(u'@') && !line.contains(u"http"_s), qPrintable(line));
        const QString notice = child<QLabel>(dialog, u"disclaimerLabel"_s)->text();
        QVERIFY(notice.contains(u"qualified engineer"_s) && notice.contains(u"warranty"_s));
        const QFrame *line = child<QFrame>(dialog, u"separatorLine"_s);
        QCOMPARE(line->frameShape(), QFrame::HLine);
        QCOMPARE(line->frameShadow(), QFrame::Sunken);
        QVERIFY(child<QPushButton>(dialog, u"okButton"_s)->isDefault());
        QCOMPARE(child<QPushButton>(dialog, u"okButton"_s)->text(), u"OK"_s);
        QCOMPARE(child<QPushButton>(dialog, u"systemInfoButton"_s)->text(), u"&System Info..."_s);

        // The icon: a white disc with a black outline on a transparent ground.
        const QPixmap pixmap = child<QLabel>(dialog, u"iconLabel"_s)->pixmap();
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(32, 32));
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32).scaled(32, 32);
        QCOMPARE(image.pixelColor(16, 16), QColor(Qt::white));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        const QColor rim = image.pixelColor(16, 1);
        QVERIFY2(rim.alpha() > 200 && rim.value() < 60, qPrintable(rim.name(QColor::HexArgb)));
    }

    void about_closes_on_ok_enter_and_escape_data()
    {
        QTest::addColumn<int>("key"); // 0: OK clicked
        QTest::newRow("OK clicked") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    // Help > About through the menu bar: modal over the main window, which
    // takes no input meanwhile; the key or OK closes it and does nothing else.
    void about_closes_on_ok_enter_and_escape()
    {
        QFETCH(int, key);
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        QWidget *calculate = m_app.control(u"calculateButton"_s);
        QPointer<QWidget> seen;
        QString className;
        bool modal = false;
        const auto answer = [&](QWidget *shown) {
            seen = shown;
            className = QString::fromLatin1(shown->metaObject()->className());
            modal = shown->isModal() && shown->parentWidget() == m_app.window.get();
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
        QCOMPARE(className, u"AboutDialog"_s);
        QVERIFY(modal);
        QVERIFY(seen.isNull());
        QCOMPARE(m_app.cell(1, 10), QString());
        QVERIFY(m_app.dialogs.calls.isEmpty());
        QTest::mouseClick(calculate, Qt::LeftButton);
        QVERIFY(!m_app.cell(1, 10).isEmpty());
    }

    void system_info_data()
    {
        QTest::addColumn<QStringList>("early"); // programs in the first PATH folder
        QTest::addColumn<QStringList>("late");  // in the second
        QTest::addColumn<QString>("started");   // which one leaves its marker
        const QStringList order = AboutDialog::systemInfoPrograms();
        QTest::newRow("empty PATH") << QStringList() << QStringList() << QString();
        QTest::newRow("one tool") << QStringList() << QStringList{u"hardinfo"_s} << u"hardinfo"_s;
        // The order of the list wins over the order of the PATH.
        QTest::newRow("first in its order")
            << QStringList{order.constLast()} << QStringList{order.at(order.size() - 2)}
            << order.at(order.size() - 2);
        QTest::newRow("tool that cannot start")
            << QStringList{u"broken:"_s + order.constFirst()} << QStringList() << QString();
    }

    // The tool found is started detached and the dialog stays open; with
    // none, or one that cannot start, the message says so.
    void system_info()
    {
        QFETCH(QStringList, early);
        QFETCH(QStringList, late);
        QFETCH(QString, started);
        QByteArray path;
        int folder = 0;
        for (const QStringList &programs : {early, late}) {
            const QString dir = m_dir->filePath(u"bin%1"_s.arg(++folder));
            QVERIFY(QDir().mkpath(dir));
            for (QString program : programs) {
                if (program.startsWith(u"broken:"_s)) {
                    program = program.mid(7);
                    QVERIFY(writeFile(dir + u'/' + program, "#!/nonexistent/interpreter\n",
                                      QFile::ReadOwner | QFile::ExeOwner));
                } else {
                    QVERIFY(writeStandIn(dir, program, m_dir->filePath(program + u".started"_s)));
                }
            }
            path += (path.isEmpty() ? "" : ":") + QFile::encodeName(dir);
        }
        qputenv("PATH", early.isEmpty() && late.isEmpty() ? QByteArray() : path);

        AboutDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(child<QPushButton>(dialog, u"systemInfoButton"_s), Qt::LeftButton);
        if (started.isEmpty()) {
            QCOMPARE(m_app.dialogs.calls.size(), 1);
            QCOMPARE(m_app.dialogs.calls[0].kind, u"message"_s);
            QCOMPARE(m_app.dialogs.calls[0].title, u"plenix"_s);
            QCOMPARE(m_app.dialogs.calls[0].text, Unavailable);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir->filePath(started + u".started"_s)),
                                     10000);
            QVERIFY(m_app.dialogs.calls.isEmpty());
            const QStringList markers = QDir(m_dir->path()).entryList({u"*.started"_s});
            QCOMPARE(markers, QStringList{started + u".started"_s});
        }
        QVERIFY(dialog.isVisible());
    }

    // Help > Help Topics through the menu bar shows the help file this build
    // was made with: the help window when it is in place, the failure
    // message when it is not.
    void help_topics_shows_the_builds_help_file()
    {
        const QString helpFile = helpFilePath();
        QVERIFY(!helpFile.isEmpty());
        QVERIFY(m_app.chooseFromMenu(Qt::Key_H, Qt::Key_H));
        HelpWindow *help = helpWindowOf(*m_app.window);
        if (QFileInfo(helpFile).isFile()) {
            QVERIFY(m_app.dialogs.calls.isEmpty());
            QVERIFY(help && help->isVisible());
        } else {
            QCOMPARE(help, nullptr);
            QCOMPARE(m_app.dialogs.calls.size(), 1);
            QVERIFY(m_app.dialogs.calls[0].text.contains(helpFile));
        }
    }

    void no_help_file_says_so_titled_with_the_caption()
    {
        m_app.window->setWindowTitle(u"Plenix - Level 2"_s);
        showHelpContents(m_app.window.get(), QString());
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls[0].kind, u"information"_s);
        QCOMPARE(m_app.dialogs.calls[0].title, u"Plenix - Level 2"_s);
        QCOMPARE(m_app.dialogs.calls[0].text, u"Unable to display Help Contents. There is no Help "
                                              "associated with this project."_s);
        QCOMPARE(helpWindowOf(*m_app.window), nullptr);
    }

    // The help window does not block its owner; shown again, it is the same
    // window, back at the contents.
    void help_window_does_not_block_and_is_reused()
    {
        const QString path = writeLongPage();
        showHelpContents(m_app.window.get(), path);
        HelpWindow *window = helpWindowOf(*m_app.window);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->isWindow());
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(window->browser()->toPlainText().startsWith(u"Contents page"_s));
        m_app.window->activateWindow();
        m_app.typeAt(1, 2, u"7"_s);
        QCOMPARE(m_app.cell(1, 2), u"7"_s);

        window->browser()->scrollToAnchor(u"far"_s);
        QVERIFY(window->browser()->verticalScrollBar()->value() > 0);
        window->close();
        showHelpContents(m_app.window.get(), path);
        QCOMPARE(m_app.window->findChildren<HelpWindow *>().size(), 1);
        QVERIFY(window->isVisible());
        QCOMPARE(window->browser()->verticalScrollBar()->value(), 0);
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    void help_file_that_cannot_be_shown_is_reported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << u"missing.html"_s << u"No such file or directory"_s;
        QTest::newRow("a folder") << u"folder"_s << u"folder"_s;
    }

    void help_file_that_cannot_be_shown_is_reported()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
        const QString path = m_dir->filePath(name);
        showHelpContents(m_app.window.get(), path);
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls[0].kind, u"message"_s);
        QCOMPARE(m_app.dialogs.calls[0].title, u"plenix"_s);
        const QString text = m_app.dialogs.calls[0].text;
        QVERIFY2(text.contains(path) && text.contains(reason), qPrintable(text));
        QCOMPARE(helpWindowOf(*m_app.window), nullptr);
    }

    void help_file_of_a_build_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<bool>("sourceCopy");
        const QString build = QDir::tempPath();
        const QString installed = u"/usr/share/plenix/plenix-help.html"_s;
        QTest::newRow("installed program") << installed << u"/usr/bin"_s << false;
        QTest::newRow("program in its build folder") << installed << build << true;
        QTest::newRow("build folder spelled otherwise") << installed << build + u"/./"_s << true;
        QTest::newRow("no help, even in the build folder") << QString() << build << false;
        QTest::newRow("no build folder known") << installed << QString() << false;
    }

    void help_file_of_a_build()
    {
        QFETCH(QString, configured);
        QFETCH(QString, programDir);
        QFETCH(bool, sourceCopy);
        const QString source = u"/src/plenix/docs/help/plenix-help.html"_s;
        const QString build = programDir.isEmpty() ? QString() : QDir::tempPath();
        QCOMPARE(helpFilePath(configured, source, build, programDir),
                 sourceCopy ? source : configured);
    }

    // The shipped page, as the reader sees it: the units, the formulas'
    // constants, the fitting tables, the markers, the keys, the file format
    // and the clipboard; its links lead to its own sections.
    void shipped_page_covers_the_topics()
    {
        showHelpContents(m_app.window.get(), QStringLiteral(PLENIX_HELP_SOURCE_COPY));
        QVERIFY(m_app.dialogs.calls.isEmpty());
        const QString text = helpWindowOf(*m_app.window)->browser()->toPlainText().simplified();
        const QStringList needles =
            u"cfm|fpm|in wg|3.141593|4005|0.00109136|1.9|5.02|Branch Entry 90 deg|0.44|0.18|1.25|"
            "0.55|0.39|0.32|0.27|0.22|0.29|0.67|#DIV/0!|#NUM!|-32768|32767|Backspace|Delete|Enter|"
            "right mouse button|0x80|Windows-1252|Send List to Clipboard|Send FileName to "
            "Clipboard|not a general fitting database|qualified engineer"_s.split(u'|');
        for (const QString &needle : needles)
            QVERIFY2(text.contains(needle), qPrintable(needle));

        QFile file(QStringLiteral(PLENIX_HELP_SOURCE_COPY));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        QSet<QString> anchors;
        for (const auto &m : QRegularExpression(u"<a name=\"([^\"]+)\""_s).globalMatch(page))
            anchors.insert(m.captured(1));
        int links = 0;
        for (const auto &m : QRegularExpression(u"<a href=\"([^\"]*)\""_s).globalMatch(page)) {
            const QString target = m.captured(1);
            QVERIFY2(target.startsWith(u'#') && anchors.contains(target.mid(1)),
                     qPrintable(target));
            ++links;
        }
        QVERIFY(links >= 11);
    }
};

APPTEST_MAIN(AboutHelpTest)
#include "tst_app_about_help.moc"
