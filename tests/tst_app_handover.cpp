// What the route hands to other programs: the clipboard texts, byte for
// byte, and the printed page.
#include "apptest.h"

#include "clipboardcommands.h"
#include "windowprinter.h"

#include "document.h"
#include "routetable.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPalette>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

using plenix::RouteTable;

namespace {
const QString Tab = QStringLiteral("\t");
const QString Cr = QStringLiteral("\r");

// The ten headers, TAB between them, one CR after.
QString headerLine()
{
    return QStringList{QStringLiteral("Item Qty"),       QStringLiteral("Flow, cfm"),
                       QStringLiteral("Diameter, in"),   QStringLiteral("Length, ft"),
                       QStringLiteral("Description"),    QStringLiteral("Loss Coef."),
                       QStringLiteral("Item SP, in wg"), QStringLiteral("VP, in wg"),
                       QStringLiteral("Vel., fpm"),      QStringLiteral("Route SP, in wg")}
               .join(Tab) +
           Cr;
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QWidget *solidBlock(QWidget *parent, const QColor &color)
{
    auto *block = new QWidget(parent);
    QPalette palette = block->palette();
    palette.setColor(QPalette::Window, color);
    block->setPalette(palette);
    block->setAutoFillBackground(true);
    return block;
}

bool near(QRgb pixel, const QColor &color)
{
    return qAbs(qRed(pixel) - color.red()) < 40 && qAbs(qGreen(pixel) - color.green()) < 40 &&
           qAbs(qBlue(pixel) - color.blue()) < 40;
}
} // namespace

class HandoverTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void descriptionText_hasCrLfBreaks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one line") << QStringLiteral("Supply") << QStringLiteral("Supply");
        QTest::newRow("three lines")
            << QStringLiteral("Supply\nto level 2\n") << QStringLiteral("Supply\r\nto level 2\r\n");
        QTest::newRow("any character, no-break space kept")
            << QStringLiteral("a\u00A0\u2192\nb") << QStringLiteral("a\u00A0\u2192\r\nb");
    }

    void descriptionText_hasCrLfBreaks()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QPlainTextEdit box;
        box.setPlainText(typed);
        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));

        sbClipboardSetText(fnDescriptionClipboardText(box));

        QCOMPARE(clipboardText(), sent);
    }

    void descriptionText_lineBreakTypedAsShiftEnter()
    {
        QPlainTextEdit box;
        QTest::keyClicks(&box, QStringLiteral("one"));
        QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(&box, QStringLiteral("two"));
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, QStringLiteral("three"));
        QCOMPARE(fnDescriptionClipboardText(box), QStringLiteral("one\r\ntwo\r\nthree"));
    }

    void listText_headerAndUsedRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<QString>("rows");
        const QString nineTabs = Tab.repeated(9);
        QTest::newRow("empty table") << 0 << 0 << QByteArray() << QString();
        QTest::newRow("500 in row 3, flow")
            << 3 << 2 << QByteArray("500")
            << nineTabs + Cr + nineTabs + Cr + Tab + QStringLiteral("500") + Tab.repeated(8);
        QTest::newRow("row 1, description, 8-bit character")
            << 1 << 5 << QByteArray("Caf\xE9 \x80")
            << Tab.repeated(4) + QStringLiteral("Caf\u00E9 \u20AC") + Tab.repeated(5);
        QTest::newRow("row 60, last column")
            << 60 << 10 << QByteArray("0.42")
            << (nineTabs + Cr).repeated(59) + nineTabs + QStringLiteral("0.42");
    }

    void listText_headerAndUsedRows()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QByteArray, cell);
        QFETCH(QString, rows);
        RouteTable table;
        table.sbGridSetup();
        if (row > 0)
            table.setCellText(row, col, cell.toStdString());
        table.setCurrentCell(7, 4);
        table.setSelectionEnd(9, 6);
        table.setTopRow(20);

        sbClipboardSetText(fnListClipboardText(table));

        QCOMPARE(clipboardText(), headerLine() + rows);
        QCOMPARE(table.currentRow(), plenix::Int16{1});
        QCOMPARE(table.currentCol(), plenix::Int16{1});
        QCOMPARE(table.selectionRow(), plenix::Int16{1});
        QCOMPARE(table.selectionCol(), plenix::Int16{1});
        QCOMPARE(table.topRow(), plenix::Int16{1});
        QCOMPARE(table.leftCol(), plenix::Int16{1});
    }

    void fileNameText_isFullPath()
    {
        plenix::DocumentState state;
        state.sbNamed("/home/ann/Routes/Level 2 \xC3\xA9.txt");
        sbClipboardSetText(fnFileNameClipboardText(state));
        QCOMPARE(clipboardText(), QStringLiteral("/home/ann/Routes/Level 2 \u00E9.txt"));

        state.sbUntitled();
        sbClipboardSetText(fnFileNameClipboardText(state));
        QCOMPARE(clipboardText(), QString());
    }

    // A wide red widget with a blue block in its lower right quarter, printed
    // to a PDF: one landscape page that shows the widget, blue where it was.
    void print_toPdf_onePageWithTheWidgetsImage()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdftoppm.isEmpty() || pdfinfo.isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdfinfo) is not installed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QColor red(220, 30, 30);
        const QColor blue(20, 40, 210);
        QWidget *widget = solidBlock(nullptr, red);
        const std::unique_ptr<QWidget> owner(widget);
        widget->resize(600, 300);
        solidBlock(widget, blue)->setGeometry(300, 150, 300, 150);

        const QString pdf = dir.filePath(QStringLiteral("window.pdf"));
        {
            QPdfWriter writer(pdf);
            QVERIFY(fnPaintWidgetPage(*widget, writer));
        }

        QProcess info;
        info.start(pdfinfo, {pdf});
        QVERIFY(info.waitForFinished());
        const QString infoText = QString::fromLocal8Bit(info.readAllStandardOutput());
        QVERIFY2(infoText.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(infoText));

        QProcess render;
        render.start(pdftoppm,
                     {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
                      QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        QVERIFY(render.waitForFinished());
        QCOMPARE(render.exitCode(), 0);
        const QImage page(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > page.height());

        // Find the printed widget: the bounding box of its red and blue.
        QRect painted;
        int blueCount = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb pixel = page.pixel(x, y);
                if (near(pixel, red) || near(pixel, blue))
                    painted |= QRect(x, y, 1, 1);
                if (near(pixel, blue))
                    ++blueCount;
            }
        }
        QVERIFY(!painted.isEmpty());
        // Scaled to fit: the image fills most of the page's width or height.
        QVERIFY(painted.width() > page.width() * 7 / 10 ||
                painted.height() > page.height() * 7 / 10);
        QVERIFY(qAbs(painted.width() - 2 * painted.height()) <= 3);
        const QPoint upperLeft =
            painted.topLeft() + QPoint(painted.width() / 4, painted.height() / 4);
        const QPoint lowerRight =
            painted.topLeft() + QPoint(painted.width() * 3 / 4, painted.height() * 3 / 4);
        QVERIFY(near(page.pixel(upperLeft), red));
        QVERIFY(near(page.pixel(lowerRight), blue));
        const double blueShare = double(blueCount) / (painted.width() * painted.height());
        QVERIFY2(blueShare > 0.2 && blueShare < 0.3, qPrintable(QString::number(blueShare)));
    }

    void print_withoutPrinter_saysSo()
    {
        apptest::FakeDialogs dialogs;
        Dialogs::setInstance(&dialogs);
        QWidget window;
        window.resize(200, 100);

        sbPrintWindow(window, QPrinterInfo());
        Dialogs::setInstance(nullptr);

        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls.at(0).title, QStringLiteral("plenix"));
        QVERIFY2(dialogs.calls.at(0).text.contains(QStringLiteral("No printer")),
                 qPrintable(dialogs.calls.at(0).text));
    }
};

APPTEST_MAIN(HandoverTest)
#include "tst_app_handover.moc"
