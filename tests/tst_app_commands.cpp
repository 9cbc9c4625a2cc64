// The File, Edit and Tools commands of the real main window, chosen through
// its menu actions: what the grid, the description box, the caption and the
// clipboard show afterwards.
#include "apptest.h"

#include "windowprinter.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// What a used row holds in the Insert Row cases: its own number in every
// data column, so that a moved row is recognised by where it came from.
QString rowText(int row, int col)
{
    return u"%1.%2"_s.arg(row).arg(col);
}
} // namespace

class CommandsTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    QAction *action(const QString &name) { return m_app.window->findChild<QAction *>(name); }
    void choose(const QString &name)
    {
        QAction *item = action(name);
        QVERIFY2(item, qPrintable(name));
        item->trigger();
    }
    QPlainTextEdit *description()
    {
        return m_app.window->findChild<QPlainTextEdit *>(u"txtDescription"_s);
    }
    QString clipboardText() { return QGuiApplication::clipboard()->text(); }
    // The grid's text of a cell, as the view shows it.
    QString shownText(int row, int col)
    {
        return m_app.grid->routeModel()->data(m_app.index(row, col)).toString();
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const apptest::DialogCall &call : std::as_const(m_app.dialogs.calls)) {
            if (call.kind == u"message")
                texts.append(call.text);
        }
        return texts;
    }
    void fillRows(const QList<int> &rows)
    {
        for (const int row : rows) {
            for (int col = 1; col <= 10; ++col)
                m_app.setCell(row, col, rowText(row, col));
        }
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    void insertRow_data()
    {
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("moves");

        const auto range = [](int first, int last, int skip = 0) {
            QList<int> rows;
            for (int row = first; row <= last; ++row) {
                if (row != skip)
                    rows.append(row);
            }
            return rows;
        };
        QTest::newRow("rows 1-10, row 4 selected") << range(1, 10) << 4 << true;
        QTest::newRow("rows 1-10 but 6, empty row 6 selected") << range(1, 10, 6) << 6 << true;
        QTest::newRow("rows 1-3, row 5 selected") << range(1, 3) << 5 << false;
        QTest::newRow("rows 1-59, row 1 selected") << range(1, 59) << 1 << true;
        QTest::newRow("rows 1-60, row 1 selected") << range(1, 60) << 1 << false;
        QTest::newRow("only row 60, row 60 selected") << QList<int>{60} << 60 << false;
        QTest::newRow("rows 1-59, row 59 selected") << range(1, 59) << 59 << true;
    }

    // Rows from the selected one down to the last used one move down by one
    // and the selected row becomes empty; with row 60 in use, or nothing at
    // or below the selection, nothing moves. The cursor goes home either way.
    void insertRow()
    {
        QFETCH(QList<int>, used);
        QFETCH(int, selected);
        QFETCH(bool, moves);
        fillRows(used);
        description()->setPlainText(u"kept"_s);
        m_app.clickCell(selected, 7); // the column does not matter

        choose(u"mnuInsertRow"_s);

        const int lastUsed = *std::max_element(used.cbegin(), used.cend());
        for (int row = 1; row <= 60; ++row) {
            int from = row; // the row whose text should stand here now
            if (moves && row == selected)
                from = 0;
            else if (moves && row > selected && row <= lastUsed + 1)
                from = row - 1;
            for (int col = 1; col <= 10; ++col) {
                const QString expected =
                    from > 0 && used.contains(from) ? rowText(from, col) : QString();
                QCOMPARE(m_app.cell(row, col), expected);
            }
        }
        QCOMPARE(shownText(selected + 1, 3), moves && used.contains(selected)
                                                 ? rowText(selected, 3)
                                                 : m_app.cell(selected + 1, 3));
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
        QCOMPARE(m_app.table().topRow(), 1);
        QCOMPARE(description()->toPlainText(), u"kept"_s);
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Untitled"_s);
    }

    void clearList_emptiesTheGridOnly()
    {
        fillRows({1, 2, 30});
        description()->setPlainText(u"kept"_s);
        m_app.clickCell(30, 4);

        choose(u"mnuClearList"_s);

        for (int row = 1; row <= 60; ++row) {
            for (int col = 1; col <= 10; ++col)
                QCOMPARE(m_app.cell(row, col), QString());
        }
        QCOMPARE(shownText(2, 2), QString());
        QCOMPARE(m_app.cell(0, 2), u"Flow, cfm"_s);
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
        QCOMPARE(m_app.table().topRow(), 1);
        QCOMPARE(description()->toPlainText(), u"kept"_s);
    }

    void clearDescription_leavesTheGrid()
    {
        fillRows({2});
        description()->setPlainText(u"two\nlines"_s);
        m_app.clickCell(2, 5);

        choose(u"mnuClearDescription"_s);

        QCOMPARE(description()->toPlainText(), QString());
        QCOMPARE(m_app.cell(2, 5), rowText(2, 5));
        QCOMPARE(m_app.cursor(), u"2,5 2,5"_s);
    }

    void sendList_headerAndRows_cursorHome()
    {
        m_app.setCell(3, 2, u"500"_s);
        m_app.clickCell(3, 2);
        QTest::mouseClick(m_app.grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          m_app.cellPoint(5, 6));
        QGuiApplication::clipboard()->setText(u"old"_s);

        choose(u"mnuToolsListClipboard"_s);

        const QString header =
            u"Item Qty\tFlow, cfm\tDiameter, in\tLength, ft\tDescription\tLoss Coef.\t"
            "Item SP, in wg\tVP, in wg\tVel., fpm\tRoute SP, in wg\r"_s;
        QCOMPARE(clipboardText(), header + u"\t\t\t\t\t\t\t\t\t\r\t\t\t\t\t\t\t\t\t\r"
                                           "\t500\t\t\t\t\t\t\t\t"_s);
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
        QCOMPARE(m_app.viewSelection(), u"1,1 1,1"_s);
    }

    void sendDescription_withCrLf()
    {
        description()->setFocus();
        QTest::keyClicks(description(), u"Supply"_s);
        QTest::keyClick(description(), Qt::Key_Return);
        QTest::keyClicks(description(), u"level 2"_s);

        choose(u"mnuToolsDescriptionClipboard"_s);
        QCOMPARE(clipboardText(), u"Supply\r\nlevel 2"_s);

        choose(u"mnuClearDescription"_s);
        choose(u"mnuToolsDescriptionClipboard"_s);
        QCOMPARE(clipboardText(), QString());
    }

    // Save As, New, Open through the menus: the route and caption come back,
    // and Send FileName gives the full path, or nothing once untitled.
    void fileMenu_saveNewOpen_andSendFileName()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(u"Level 2.txt"_s);
        m_app.typeAt(1, 2, u"1000"_s);
        m_app.typeAt(1, 3, u"12"_s);
        m_app.typeAt(1, 4, u"100"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        const QString velocity = m_app.cell(1, 9);
        QVERIFY(!velocity.isEmpty());
        description()->setPlainText(u"Main\nrun"_s);

        m_app.dialogs.fileNames = {file};
        choose(u"mnuFileSave"_s); // untitled: asks for a name
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls.at(0).kind, u"saveFileName"_s);
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Level 2"_s);
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QVERIFY(bytes.startsWith("\t1000\t12\t100\t"));
        QVERIFY(bytes.endsWith("\x80Main\r\nrun"));

        choose(u"mnuToolsFileNameClipboard"_s);
        QCOMPARE(clipboardText(), file);

        choose(u"mnuFileNew"_s);
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Untitled"_s);
        QCOMPARE(shownText(1, 2), QString());
        QCOMPARE(description()->toPlainText(), QString());
        choose(u"mnuToolsFileNameClipboard"_s);
        QCOMPARE(clipboardText(), QString());

        m_app.dialogs.fileNames = {file};
        choose(u"mnuFileOpen"_s);
        QCOMPARE(m_app.dialogs.calls.last().kind, u"openFileName"_s);
        QCOMPARE(m_app.dialogs.calls.last().initial, file);
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Level 2"_s);
        QCOMPARE(shownText(1, 2), u"1000"_s);
        QCOMPARE(shownText(1, 9), velocity);
        QCOMPARE(description()->toPlainText(), u"Main\nrun"_s);
        QVERIFY(messages().isEmpty());

        // A failed Open leaves the window on the file it had.
        m_app.dialogs.fileNames = {dir.filePath(u"gone.txt"_s)};
        choose(u"mnuFileOpen"_s);
        QCOMPARE(messages(), QStringList{u"Error: No such file or directory"_s});
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Level 2"_s);
        QCOMPARE(shownText(1, 2), u"1000"_s);
        choose(u"mnuToolsFileNameClipboard"_s);
        QCOMPARE(clipboardText(), file);

        choose(u"mnuFileClose"_s);
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Untitled"_s);
        QCOMPARE(m_app.cell(1, 2), QString());
    }

    void print_withoutPrinter_saysSo()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; printing on it is left to a person");
        choose(u"mnuPrint"_s);
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls.at(0).title, u"plenix"_s);
        QVERIFY(m_app.dialogs.calls.at(0).text.startsWith(u"No printer"_s));
    }

    // The page the menu prints, sent to a PDF instead: one page that looks
    // like the window's client area, compared block by block.
    void print_toPdf_pageShowsTheWindow()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(u"pdftoppm"_s);
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        fillRows({1, 2, 3});
        description()->setPlainText(u"Printed route"_s);
        QWidget *client = m_app.window->centralWidget();
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(u"window.pdf"_s);
        {
            QPdfWriter writer(pdf);
            // No margins, so that the image's place on the page is known.
            writer.setPageMargins(QMarginsF());
            QVERIFY(fnPaintWidgetPage(*client, writer));
        }
        QProcess render;
        render.start(pdftoppm, {u"-r"_s, u"40"_s, u"-png"_s, pdf, dir.filePath(u"page"_s)});
        QVERIFY(render.waitForFinished());
        QCOMPARE(render.exitCode(), 0);
        const QStringList pages = QDir(dir.path()).entryList({u"page*.png"_s});
        QCOMPARE(pages.size(), 1);
        QImage page(dir.filePath(pages.constFirst()));
        QVERIFY(!page.isNull());

        // The printed image sits at the top-left, scaled to fit the page.
        const QImage screen = client->grab().toImage();
        const QSize printed = screen.size().scaled(page.size(), Qt::KeepAspectRatio);
        const QSize blocks(64, 32);
        const auto shrink = [blocks](const QImage &image) {
            return image.convertToFormat(QImage::Format_Grayscale8)
                .scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        const QImage onPage = shrink(page.copy(QRect(QPoint(0, 0), printed)));
        const QImage expected = shrink(screen);
        // How far the page is from the window's image, against how far a
        // blank page would be.
        double fromWindow = 0;
        double blankFromWindow = 0;
        for (int y = 0; y < blocks.height(); ++y) {
            for (int x = 0; x < blocks.width(); ++x) {
                const int want = qGray(expected.pixel(x, y));
                fromWindow += qAbs(qGray(onPage.pixel(x, y)) - want);
                blankFromWindow += 255 - want;
            }
        }
        QVERIFY2(blankFromWindow > 0, "the window's image is blank");
        QVERIFY2(fromWindow < blankFromWindow / 4,
                 qPrintable(u"%1 against %2"_s.arg(fromWindow).arg(blankFromWindow)));
    }
};

APPTEST_MAIN(CommandsTest)
#include "tst_app_commands.moc"
