// The Edit and Tools commands and what the route hands to other programs,
// chosen through the real window's menus: Insert Row, Clear List, Clear
// Description, the clipboard texts byte for byte, the file commands through
// the menus, and printing.
#include "apptest.h"

#include "windowprinter.h"

#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {
// What a used row holds: its own number in every data column, so that a
// moved row is recognised by where it came from.
QString rowText(int row, int col)
{
    return u"%1.%2"_s.arg(row).arg(col);
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

const QString headerLine = u"Item Qty\tFlow, cfm\tDiameter, in\tLength, ft\tDescription\tLoss "
                           "Coef.\tItem SP, in wg\tVP, in wg\tVel., fpm\tRoute SP, in wg\r"_s;
const QString EmptyRow = u"\t"_s.repeated(9);
} // namespace

class HandoverTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    QPlainTextEdit *description() { return m_app.control<QPlainTextEdit>(u"descriptionEdit"_s); }
    void fillRows(const QList<int> &rows)
    {
        for (const int row : rows) {
            for (int col = 1; col <= 10; ++col)
                m_app.setCell(row, col, rowText(row, col));
        }
    }
    void verifyHome()
    {
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
        QCOMPARE(m_app.viewSelection(), u"1,1 1,1"_s);
        QCOMPARE(m_app.table().topRow(), 1);
        QCOMPARE(m_app.table().leftCol(), 1);
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup() { m_app.finish(); }

    // Insert Row at the current row, through the menu: the used rows from
    // there down move down by one and the cursor goes home; the description
    // stays. Its cases are tested on the table.
    void insert_row()
    {
        fillRows({1, 2, 3, 4});
        description()->setPlainText(u"kept"_s);
        m_app.clickCell(2, 7);
        m_app.choose(u"insertRowAction"_s);
        const QStringList shown{m_app.shown(1, 1), m_app.shown(2, 1), m_app.shown(3, 1),
                                m_app.shown(5, 10)};
        QCOMPARE(shown, QStringList({rowText(1, 1), QString(), rowText(2, 1), rowText(4, 10)}));
        verifyHome();
        QCOMPARE(description()->toPlainText(), u"kept"_s);
    }

    void clear_list_and_clear_description()
    {
        fillRows({1, 2, 30});
        description()->setPlainText(u"two\nlines"_s);
        m_app.clickCell(30, 4);
        m_app.choose(u"clearDescriptionAction"_s);
        QCOMPARE(description()->toPlainText(), QString());
        QCOMPARE(m_app.cell(30, 4), rowText(30, 4));
        QCOMPARE(m_app.cursor(), u"30,4 30,4"_s);

        description()->setPlainText(u"kept"_s);
        m_app.choose(u"clearListAction"_s);
        for (int row = 1; row <= 60; ++row) {
            for (int col = 1; col <= 10; ++col)
                QCOMPARE(m_app.shown(row, col), QString());
        }
        QCOMPARE(m_app.cell(0, 2), u"Flow, cfm"_s);
        verifyHome();
        QCOMPARE(description()->toPlainText(), u"kept"_s);
    }

    void send_list_data()
    {
        QTest::addColumn<QPoint>("at"); // column, row; none at 0,0
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("rows");
        QTest::newRow("empty table") << QPoint() << QString() << QString();
        QTest::newRow("500 in row 3, flow")
            << QPoint(2, 3) << u"500"_s
            << EmptyRow + u'\r' + EmptyRow + u"\r\t500"_s + u"\t"_s.repeated(8);
        QTest::newRow("row 1, description, 8-bit characters")
            << QPoint(5, 1) << u"Caf\u00E9 \u20AC"_s
            << u"\t\t\t\tCaf\u00E9 \u20AC"_s + u"\t"_s.repeated(5);
        QTest::newRow("row 60, last column")
            << QPoint(10, 60) << u"0.42"_s
            << (EmptyRow + u'\r').repeated(59) + EmptyRow + u"0.42"_s;
    }

    // headerLine, then the used rows with CR between them; the cursor goes
    // home.
    void send_list()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, cell);
        QFETCH(QString, rows);
        if (!at.isNull())
            m_app.setCell(at.y(), at.x(), cell);
        m_app.clickCell(40, 4);
        m_app.clickCell(45, 6, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText(u"old"_s);
        m_app.choose(u"copyListAction"_s);
        QCOMPARE(clipboardText(), headerLine + rows);
        verifyHome();
    }

    void send_description_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one line") << u"Supply"_s << u"Supply"_s;
        QTest::newRow("three lines") << u"Supply\nto level 2\n"_s << u"Supply\r\nto level 2\r\n"_s;
        QTest::newRow("any character, no-break space kept")
            << u"a\u00A0\u2192\nb"_s << u"a\u00A0\u2192\r\nb"_s;
    }

    void send_description()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        description()->setPlainText(typed);
        QGuiApplication::clipboard()->setText(u"something else"_s);
        m_app.choose(u"copyDescriptionAction"_s);
        QCOMPARE(clipboardText(), sent);
    }

    // Return and Shift+Return typed into the box both go as CR LF.
    void send_description_typed()
    {
        description()->setFocus();
        QTest::keyClicks(description(), u"one"_s);
        QTest::keyClick(description(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(description(), u"two"_s);
        QTest::keyClick(description(), Qt::Key_Return);
        QTest::keyClicks(description(), u"three"_s);
        m_app.choose(u"copyDescriptionAction"_s);
        QCOMPARE(clipboardText(), u"one\r\ntwo\r\nthree"_s);
    }

    // Save, New, Open and Close through the menus: the route and caption
    // come back, and Send FileName gives the full path, or nothing once
    // untitled.
    void file_menu_and_send_file_name()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(u"Level 2 \u00e9.txt"_s);
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        const QString velocity = m_app.cell(1, 9);
        QVERIFY(!velocity.isEmpty());
        description()->setPlainText(u"Main\nrun"_s);

        m_app.dialogs.fileNames = {file};
        m_app.choose(u"saveAction"_s);
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls[0].kind, u"saveFileName"_s);
        QCOMPARE(m_app.title(), u"Plenix - Level 2 \u00e9"_s);
        m_app.choose(u"copyFileNameAction"_s);
        QCOMPARE(clipboardText(), file);

        m_app.choose(u"newAction"_s);
        QCOMPARE(m_app.title(), u"Plenix - Untitled"_s);
        QCOMPARE(m_app.shown(1, 2), QString());
        QCOMPARE(description()->toPlainText(), QString());
        m_app.choose(u"copyFileNameAction"_s);
        QCOMPARE(clipboardText(), QString());

        m_app.dialogs.fileNames = {file};
        m_app.choose(u"openAction"_s);
        QCOMPARE(m_app.dialogs.calls.last().initial, file);
        QCOMPARE(m_app.title(), u"Plenix - Level 2 \u00e9"_s);
        QCOMPARE(m_app.shown(1, 9), velocity);
        QCOMPARE(description()->toPlainText(), u"Main\nrun"_s);
        m_app.choose(u"closeAction"_s);
        QCOMPARE(m_app.title(), u"Plenix - Untitled"_s);
        QCOMPARE(m_app.cell(1, 2), QString());
    }

    void print_without_a_printer_says_so()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; printing on it is left to a person");
        m_app.choose(u"printAction"_s);
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls[0].title, u"plenix"_s);
        QVERIFY(m_app.dialogs.calls[0].text.startsWith(u"No printer"_s));
    }

    // A wide red widget with a blue block in its lower right quarter, printed
    // to a PDF as the menu prints the window: one landscape page showing the
    // widget scaled to fit, blue where it was.
    void print_to_pdf_gives_one_page_with_the_image()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(u"pdftoppm"_s);
        const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
        if (pdftoppm.isEmpty() || pdfinfo.isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdfinfo) is not installed");
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
        paint(widget, red);
        widget.resize(600, 300);
        auto *block = new QWidget(&widget);
        paint(*block, blue);
        block->setGeometry(300, 150, 300, 150);
        const QString pdf = dir.filePath(u"window.pdf"_s);
        {
            QPdfWriter writer(pdf);
            QVERIFY(paintWidgetPage(widget, writer));
        }
        QProcess info;
        info.start(pdfinfo, {pdf});
        QVERIFY(info.waitForFinished());
        const QString infoText = QString::fromLocal8Bit(info.readAllStandardOutput());
        QVERIFY2(infoText.contains(QRegularExpression(u"Pages:\\s+1\\n"_s)), qPrintable(infoText));
        QProcess render;
        render.start(pdftoppm,
                     {u"-r"_s, u"30"_s, u"-png"_s, u"-singlefile"_s, pdf, dir.filePath(u"page"_s)});
        QVERIFY(render.waitForFinished());
        const QImage page(dir.filePath(u"page.png"_s));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > page.height());

        const auto near = [](QRgb pixel, const QColor &color) {
            return qAbs(qRed(pixel) - color.red()) + qAbs(qGreen(pixel) - color.green()) +
                       qAbs(qBlue(pixel) - color.blue()) <
                   80;
        };
        QRect painted;
        int blueCount = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb pixel = page.pixel(x, y);
                if (near(pixel, red) || near(pixel, blue))
                    painted |= QRect(x, y, 1, 1);
                blueCount += near(pixel, blue) ? 1 : 0;
            }
        }
        // Scaled to fit, proportions kept, red above left and blue below right.
        const auto at = [&](int x, int y) {
            return page.pixel(painted.topLeft() +
                              QPoint(painted.width() * x / 4, painted.height() * y / 4));
        };
        QVERIFY(!painted.isEmpty());
        QVERIFY(painted.width() > page.width() * 7 / 10 ||
                painted.height() > page.height() * 7 / 10);
        QVERIFY(qAbs(painted.width() - 2 * painted.height()) <= 3);
        QVERIFY(near(at(1, 1), red) && near(at(3, 3), blue));
        const double blueShare = double(blueCount) / (painted.width() * painted.height());
        QVERIFY2(blueShare > 0.2 && blueShare < 0.3, qPrintable(QString::number(blueShare)));
    }
};

APPTEST_MAIN(HandoverTest)
#include "tst_app_handover.moc"
