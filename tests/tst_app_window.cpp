// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a whole, driven through its menus and keys: the
// proportional layout, focus order, the tooltip switch and closing; the Edit
// and Tools commands and what the route hands to the clipboard; printing.
// (A start without a display is tried from outside, in the end-to-end test.)
#include "apptest.h"

#include "routefileio.h"
#include "windowprinter.h"

#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {
QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}
} // namespace

class WindowTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    QPlainTextEdit *description() { return m_app.control<QPlainTextEdit>(u"descriptionEdit"_s); }
    void verifyHome()
    {
        QCOMPARE(m_app.cursor() + u' ' + m_app.viewSelection(), u"1,1 1,1 1,1 1,1"_s);
        QCOMPARE(m_app.table().topRow() + m_app.table().leftCol(), 2);
    }

    QList<QRect> geometries() const
    {
        QList<QRect> result;
        for (const plenix::DesignControl &design : plenix::DesignControls)
            result << m_app.control(QString::fromLatin1(design.name))->geometry();
        return result;
    }

    // Every control where the core's layout puts it in the client area.
    void verifyLayout()
    {
        const QSize client = m_app.window->centralWidget()->size();
        for (const plenix::DesignControl &design : plenix::DesignControls) {
            const plenix::Geometry g = plenix::geometryFromRatios(
                plenix::ratiosFromGeometry(design.geometry, plenix::DesignClientWidth,
                                           plenix::DesignClientHeight),
                float(client.width()), float(client.height()));
            const QRect actual = m_app.control(QString::fromLatin1(design.name))->geometry();
            const auto near = [](int pixels, float expected) {
                return qAbs(pixels - double(expected)) <= 1;
            };
            QVERIFY2(near(actual.x(), g.left) && near(actual.y(), g.top) &&
                         near(actual.width(), g.width) && near(actual.height(), g.height),
                     qPrintable(QString::fromLatin1(design.name) + QDebug::toString(actual)));
        }
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup() { m_app.finish(); }

    // At start, at another size and back again to the same pixels; a minimised
    // window's empty or negative client area shrinks the controls to nothing.
    void layout_follows_the_client_area()
    {
        verifyLayout();
        const QSize original = m_app.window->size();
        const QList<QRect> before = geometries();
        m_app.window->resize(333, 222);
        QTRY_COMPARE(m_app.window->size(), QSize(333, 222));
        verifyLayout();
        m_app.window->resize(original);
        QTRY_COMPARE(geometries(), before);
        m_app.window->layoutTable().apply(QSize(-160, -40));
        QCOMPARE(geometries(), QList<QRect>(before.size(), QRect(0, 0, 0, 0)));
    }

    // Grid, description box, button and back; Tab never types into a cell
    // or the box, which takes Return as a line break.
    void tab_goes_round_the_controls()
    {
        auto *button = m_app.control(u"calculateButton"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Tab);
        QTRY_VERIFY(description()->hasFocus());
        QTest::keyClicks(description(), u"first"_s);
        QTest::keyClick(description(), Qt::Key_Return);
        QTest::keyClick(description(), Qt::Key_Tab);
        QTRY_VERIFY(button->hasFocus());
        QCOMPARE(description()->toPlainText(), u"first\n"_s);
        QTest::keyClick(button, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(description()->hasFocus());
        QTest::keyClick(description(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(m_app.grid->hasFocus());
        QCOMPARE(m_app.cell(1, 1), QString());
    }

    // Options > Show ToolTips through the menu bar: the check mark and the
    // three controls' tooltips flip together each time.
    void show_tooltips_flips_check_mark_and_texts_together()
    {
        auto *toggle = m_app.control<QAction>(u"toolTipsAction"_s);
        const auto tooltips = [this] {
            return QStringList{m_app.grid->toolTip(),
                               m_app.control(u"calculateButton"_s)->toolTip(),
                               m_app.control(u"descriptionEdit"_s)->toolTip()};
        };
        const QStringList on = tooltips();
        QVERIFY(toggle->isChecked() && !on.contains(QString()));
        for (const bool expectOn : {false, true}) {
            QVERIFY(m_app.chooseFromMenu(Qt::Key_O, Qt::Key_T));
            QCOMPARE(toggle->isChecked(), expectOn);
            QCOMPARE(tooltips(), expectOn ? on : QStringList(3));
        }
    }

    void exit_and_close_box_close_at_once_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("File > Exit") << true;
        QTest::newRow("close box") << false;
    }

    // With no unsaved changes and another window open: both close, nothing
    // asked.
    void exit_and_close_box_close_at_once()
    {
        QFETCH(bool, byMenu);
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        byMenu ? m_app.choose(u"exitAction"_s) : void(m_app.window->close());
        QVERIFY(!m_app.window->isVisible() && !other.isVisible());
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    // Insert Row, Clear Description and Clear List through the menu, their
    // cases tested on the table: each touches only its own part, and the
    // row commands go home.
    void edit_menu_commands()
    {
        for (const int row : {1, 2, 3, 30})
            m_app.setCell(row, 10, QString::number(row));
        description()->setPlainText(u"two\nlines"_s);
        m_app.clickCell(2, 7);
        m_app.choose(u"insertRowAction"_s);
        const QStringList shown{m_app.shown(2, 10), m_app.shown(3, 10), m_app.shown(31, 10)};
        QCOMPARE(shown, QStringList({QString(), u"2"_s, u"30"_s}));
        verifyHome();
        m_app.clickCell(30, 4);
        m_app.choose(u"clearDescriptionAction"_s);
        QCOMPARE(description()->toPlainText(), QString());
        QCOMPARE(m_app.cursor(), u"30,4 30,4"_s);
        description()->setPlainText(u"kept"_s);
        m_app.choose(u"clearListAction"_s);
        QCOMPARE(m_app.shown(1, 10) + m_app.shown(31, 10), QString());
        verifyHome();
        QCOMPARE(description()->toPlainText(), u"kept"_s);
    }

    // The header line, then the used rows, 8-bit text as the characters it
    // stands for; the cursor goes home.
    void send_list()
    {
        m_app.setCell(3, 5, u"Caf\u00E9 \u20AC"_s);
        m_app.clickCell(40, 4);
        m_app.clickCell(45, 6, Qt::ShiftModifier);
        m_app.choose(u"copyListAction"_s);
        const QString empty = u"\t"_s.repeated(9) + u'\r';
        QCOMPARE(clipboardText(), toQString(m_app.table().headerLine()) + empty + empty +
                                      u"\t\t\t\tCaf\u00E9 \u20AC"_s + u"\t"_s.repeated(5));
        verifyHome();
    }

    // Return and Shift+Return typed into the box both go as CR LF; any
    // character goes, the no-break space kept.
    void send_description()
    {
        description()->setFocus();
        QTest::keyClicks(description(), u"one"_s);
        QTest::keyClick(description(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(description(), u"two"_s);
        QTest::keyClick(description(), Qt::Key_Return);
        description()->insertPlainText(u"a\u00A0\u2192"_s);
        m_app.choose(u"copyDescriptionAction"_s);
        QCOMPARE(clipboardText(), u"one\r\ntwo\r\na\u00A0\u2192"_s);
    }

    // Send FileName gives the saved file's full path, or nothing once untitled.
    void send_file_name()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(u"Level 2 \u00e9.txt"_s);
        m_app.dialogs.fileNames = {file};
        m_app.choose(u"saveAction"_s);
        m_app.choose(u"copyFileNameAction"_s);
        QCOMPARE(clipboardText(), file);
        m_app.choose(u"newAction"_s);
        m_app.choose(u"copyFileNameAction"_s);
        QCOMPARE(clipboardText(), QString());
    }

    // A save that fails after every byte was taken, in the flush (the
    // process may write 10 bytes at most) or in the rename (a folder has
    // taken the file's place): the error is reported and nothing is saved.
    void save_failing_after_the_write_saves_nothing()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"route.txt"_s);
        plenix::RouteDocument document;
        document.setDescription(std::string(100, 'd'));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        for (const bool inFlush : {true, false}) {
            const auto error =
                saveDocument(document, target, [&](QIODevice &file, QByteArrayView bytes) {
                    rlimit small = saved;
                    small.rlim_cur = 10;
                    inFlush ? void(setrlimit(RLIMIT_FSIZE, &small))
                            : void(QDir().mkpath(target + u"/inside"_s));
                    return file.write(bytes.data(), bytes.size());
                });
            setrlimit(RLIMIT_FSIZE, &saved);
            QVERIFY2(error.has_value(), inFlush ? "flush" : "rename");
            QVERIFY(document.isUntitled() && document.isModified());
            QVERIFY(inFlush ? !QFile::exists(target) : QFileInfo(target).isDir());
        }
    }

    void print_without_a_printer_says_so()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; printing on it is left to a person");
        m_app.choose(u"printAction"_s);
        QCOMPARE(m_app.dialogs.messages().size(), 1);
        QVERIFY(m_app.dialogs.calls[0].text.startsWith(u"No printer"_s));
    }

    // A wide red widget with a blue block in its lower right quarter, printed
    // to a PDF as the menu prints the window: one landscape page showing the
    // widget scaled to fit, proportions kept, blue where it was.
    void print_to_pdf_gives_one_page_with_the_image()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(u"pdftoppm"_s);
        if (pdftoppm.isEmpty())
            QSKIP("poppler-utils (pdftoppm) is not installed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QColor red(220, 30, 30), blue(20, 40, 210);
        const auto paint = [](QWidget &widget, const QColor &color) {
            QPalette palette = widget.palette();
            palette.setColor(QPalette::Window, color);
            widget.setPalette(palette);
            widget.setAutoFillBackground(true);
        };
        QWidget widget;
        widget.resize(600, 300);
        auto *block = new QWidget(&widget);
        block->setGeometry(300, 150, 300, 150);
        paint(widget, red);
        paint(*block, blue);
        const QString pdf = dir.filePath(u"window.pdf"_s);
        {
            QPdfWriter writer(pdf);
            QVERIFY(paintWidgetPage(widget, writer));
        }
        QProcess render;
        render.start(pdftoppm, {u"-r"_s, u"30"_s, u"-png"_s, pdf, dir.filePath(u"page"_s)});
        QVERIFY(render.waitForFinished() && render.exitCode() == 0);
        QCOMPARE(QDir(dir.path()).entryList({u"page*.png"_s}), QStringList{u"page-1.png"_s});
        const QImage page(dir.filePath(u"page-1.png"_s));
        QVERIFY(page.width() > page.height());
        const auto near = [](QRgb pixel, const QColor &color) {
            return qAbs(qRed(pixel) - color.red()) + qAbs(qGreen(pixel) - color.green()) +
                       qAbs(qBlue(pixel) - color.blue()) <
                   80;
        };
        QRect painted;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (near(page.pixel(x, y), red) || near(page.pixel(x, y), blue))
                    painted |= QRect(x, y, 1, 1);
            }
        }
        const auto at = [&](int x, int y) {
            return page.pixel(painted.topLeft() +
                              QPoint(painted.width() * x / 4, painted.height() * y / 4));
        };
        QVERIFY(painted.width() > page.width() * 7 / 10 ||
                painted.height() > page.height() * 7 / 10);
        QVERIFY(qAbs(painted.width() - 2 * painted.height()) <= 3);
        QVERIFY(near(at(1, 1), red) && near(at(3, 1), red) && near(at(1, 3), red) &&
                near(at(3, 3), blue));
    }
};

APPTEST_MAIN(WindowTest)
#include "tst_app_window.moc"
