// SPDX-License-Identifier: GPL-3.0-or-later
// The report commands of the File menu, Qt's real print preview, and the
// pressure profile panel. What the report says is tested in the core; its
// pages, the exports' files and printing through a spooler in
// report/report.sh.
#include "apptest.h"

#include "layout.h"
#include "profilechart.h"

#include <QChartView>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString SixtyRows = QStringLiteral(PLENIX_TESTS_DIR "/report/sixty-rows.txt");

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(u"pdftotext"_s, {pdf, u"-"_s});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ReportWindowTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    QTemporaryDir m_dir;

    void openSixtyRows()
    {
        m_app.dialogs.fileNames = {SixtyRows};
        m_app.choose(u"openAction"_s);
        m_app.control<QPushButton>(u"calculateButton"_s)->click();
        QCOMPARE(m_app.table().lastUsedRow(1), 60);
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup() { m_app.finish(); }

    // Each command offers the route's name with its own extension and
    // writes its file; the preview carries the stale mark once a figure
    // has gone out of date.
    void commands_write_their_files()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("poppler-utils (pdftotext) is not installed");
        openSixtyRows();
        m_app.dialogs.fileNames = {m_dir.filePath(u"report"_s), m_dir.filePath(u"list"_s)};
        m_app.choose(u"exportPdfAction"_s);
        m_app.choose(u"exportCsvAction"_s);
        const QList<apptest::DialogCall> &calls = m_app.dialogs.calls;
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls[1].text, u"PDF Files (*.pdf)"_s);
        QCOMPARE(QFileInfo(calls[1].initial).fileName(), u"sixty-rows.pdf"_s);
        QCOMPARE(QFileInfo(calls[2].initial).fileName(), u"sixty-rows.csv"_s);
        QVERIFY(pdfText(m_dir.filePath(u"report.pdf"_s)).contains(u"Route total"_s));
        QFile csv(m_dir.filePath(u"list.csv"_s));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readLine().startsWith("\xEF\xBB\xBFItem Qty,"));

        m_app.dialogs.previewPdf = m_dir.filePath(u"preview.pdf"_s);
        m_app.choose(u"printReportAction"_s);
        QCOMPARE(calls.last().kind, u"printPreview"_s);
        QCOMPARE(calls.last().title, u"sixty-rows"_s);
        const QString caution = u"Figures out of date"_s;
        QVERIFY(!pdfText(m_app.dialogs.previewPdf).contains(caution));
        m_app.setCell(30, 2, u"900"_s);
        m_app.choose(u"printReportAction"_s);
        QVERIFY(pdfText(m_app.dialogs.previewPdf).contains(caution));

        // No export may replace the route file itself.
        m_app.dialogs.fileNames = {SixtyRows};
        m_app.choose(u"exportCsvAction"_s);
        QVERIFY(calls.last().text.startsWith(u"Error: "_s));
    }

    // Qt's own preview dialog shows the report's pages. With a printer
    // named in PLENIX_REPORT_PRINTER (the default printer of the spooler the
    // report test starts), the report is printed from it; with
    // PLENIX_PREVIEW_SHOT, a picture of the dialog is saved there.
    void preview_shows_and_prints_the_report()
    {
        openSixtyRows();
        const QString printer = qEnvironmentVariable("PLENIX_REPORT_PRINTER");
        const QString shot = qEnvironmentVariable("PLENIX_PREVIEW_SHOT");
        int pages = 0;
        m_app.guard.expect([&](QWidget *shown) {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(shown);
            QPrintPreviewWidget *preview =
                dialog ? dialog->findChild<QPrintPreviewWidget *>() : nullptr;
            if (!preview)
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
        });
        Dialogs::setInstance(nullptr);
        m_app.choose(u"printReportAction"_s);
        Dialogs::setInstance(&m_app.dialogs);
        QVERIFY(!m_app.guard.waiting());
        QVERIFY2(pages >= 2 && pages <= 3, qPrintable(QString::number(pages)));
    }

    // The panel takes the lower part of the window; the design controls keep
    // their shares of what is left. Its chart is redrawn by Calculate and
    // marked out of date by any change of the grid.
    void profile_panel_follows_the_route()
    {
        auto *panel = m_app.control(u"profilePanel"_s);
        auto *client = m_app.control(u"client"_s);
        QVERIFY(!panel->isVisible());
        m_app.choose(u"profileAction"_s);
        QTRY_VERIFY(panel->isVisible() &&
                    client->height() < m_app.window->centralWidget()->height() * 0.8);
        auto *chart =
            qobject_cast<ProfileChart *>(m_app.control<QChartView>(u"profileView"_s)->chart());
        const double scale = client->height() / double(plenix::DesignClientHeight);
        for (const plenix::DesignControl &design : plenix::DesignControls) {
            const QRect shown = m_app.control(QString::fromLatin1(design.name))->geometry();
            QVERIFY(qAbs(shown.top() - design.geometry.top * scale) <= 1.5);
            QVERIFY(qAbs(shown.height() - design.geometry.height * scale) <= 1.5);
        }

        m_app.typeAt(1, 2, u"1000"_s);
        QVERIFY(chart->isOutOfDate());
        m_app.typeAt(1, 3, u"12"_s);
        m_app.typeAt(1, 4, u"100"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        QVERIFY(!chart->isOutOfDate());
        QCOMPARE(chart->profile().points.size(), 1u);
        QVERIFY(chart->profile().points[0].routeTotal.has_value());
    }
};

APPTEST_MAIN(ReportWindowTest)
#include "tst_app_report.moc"
