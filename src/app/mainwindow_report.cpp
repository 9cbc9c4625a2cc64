// SPDX-License-Identifier: GPL-3.0-or-later
// The route report: printed through the preview, exported as PDF and CSV,
// and the pressure profile panel.
#include "mainwindow.h"

#include "calculation/darcy.h"
#include "fittings/rowfittings.h"
#include "project/projectoutput.h"

#include "dialogs.h"
#include "documentcommands.h"
#include "profilechart.h"
#include "report.h"
#include "reportpainter.h"
#include "routefileio.h"
#include "routemodel.h"
#include "routeview.h"
#include "textcodec.h"

#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
void reportExportError(QWidget *window, const QString &description)
{
    Dialogs::instance().message(window, u"plenix"_s, MainWindow::tr("Error: %1").arg(description));
}
} // namespace

void MainWindow::addReportActions(QMenu *fileMenu)
{
    addMenuAction(fileMenu, "printReportAction", tr("Print Repor&t..."), &MainWindow::printReport);
    addMenuAction(fileMenu, "exportPdfAction", tr("Export P&DF..."), &MainWindow::exportPdf);
    addMenuAction(fileMenu, "exportCsvAction", tr("Export CS&V..."), &MainWindow::exportCsv);
    addMenuAction(fileMenu, "exportFilledCsvAction", tr("Export Fi&lled CSV..."),
                  &MainWindow::exportFilledCsv);
}

void MainWindow::createViewMenu()
{
    QMenu *viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->setObjectName(u"viewMenu"_s);
    profileAction = viewMenu->addAction(tr("&Pressure Profile"));
    profileAction->setObjectName(u"profileAction"_s);
    profileAction->setCheckable(true);
    connect(profileAction, &QAction::toggled, this, &MainWindow::showProfile);
    // The chart and the report's chart go by the distance along the route
    // instead of the row.
    distanceAction = viewMenu->addAction(tr("Profile Along the &Distance"));
    distanceAction->setObjectName(u"distanceAction"_s);
    distanceAction->setCheckable(true);
    connect(distanceAction, &QAction::toggled, this, [this] {
        if (!profileChart)
            return;
        // The same figures on the other axis, as out of date as they were.
        const bool outOfDate = profileChart->isOutOfDate();
        profileChart->showProfile(profileChart->profile(), profileAxis());
        profileChart->setOutOfDate(outOfDate);
    });
    viewMenu->addSeparator();
    staticColumnAction = viewMenu->addAction(tr("&Static Pressure Column"));
    staticColumnAction->setObjectName(u"staticColumnAction"_s);
    staticColumnAction->setCheckable(true);
    staticColumnAction->setEnabled(false);
    connect(staticColumnAction, &QAction::toggled, this, &MainWindow::showStaticColumn);
}

void MainWindow::showStaticColumn()
{
    const method::Settings &settings = m_document.method();
    if (!staticColumnAction->isEnabled() || !staticColumnAction->isChecked()) {
        if (routeView->routeModel()->showsStaticPressures())
            routeView->showStaticPressures({}, {});
        return;
    }
    routeView->showStaticPressures(
        tr("Static, %1").arg(unitText(units::Quantity::Pressure, settings.units)), [this] {
            // The fittings' losses of the last Calculate, which the results
            // shown come from.
            const RowLosses losses = fittings::rowLosses(m_document.fittingRows());
            std::vector<QString> texts;
            for (const std::string &text :
                 darcy::staticPressureTexts(m_document.table(), m_document.method(), &losses))
                texts.push_back(QString::fromStdString(text));
            return texts;
        });
}

ProfileAxis MainWindow::profileAxis() const
{
    return distanceAction->isChecked() ? ProfileAxis::Distance : ProfileAxis::Row;
}

// A click on the chart selects the row in the grid, scrolled into view.
void MainWindow::showRowOfProfile(int row)
{
    routeView->showRow(row);
    routeView->setFocus();
}

void MainWindow::createProfilePanel(QSplitter *split)
{
    profilePanel = new QWidget(split);
    profilePanel->setObjectName(u"profilePanel"_s);
    auto *layout = new QVBoxLayout(profilePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    split->addWidget(profilePanel);
    // The design controls keep two thirds of the height.
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 1);
    profilePanel->hide();
}

void MainWindow::showProfile(bool shown)
{
    // The chart is made when it is first asked for: most sessions never show
    // it, and a chart costs the start-up its memory.
    if (shown && !profileChart) {
        profileChart = new ProfileChart;
        connect(profileChart, &ProfileChart::rowClicked, this, &MainWindow::showRowOfProfile);
        auto *view = new QChartView(profileChart, profilePanel);
        view->setObjectName(u"profileView"_s);
        view->setRenderHint(QPainter::Antialiasing);
        profilePanel->layout()->addWidget(view);
        redrawProfile();
        profileChart->setOutOfDate(m_document.marks().firstStaleRow() != 0);
        // Shown for the first time, the chart takes a third of the height,
        // whatever it would like; later the split stays where it was left.
        // Shown as the window starts, before it has a height, it waits for
        // the window's layout.
        profilePanel->show();
        const auto takeThird = [this] {
            const QList<int> sizes = splitter()->sizes();
            const int height = sizes.value(0) + sizes.value(1);
            splitter()->setSizes({height - height / 3, height / 3});
        };
        if (isVisible())
            takeThird();
        else
            QTimer::singleShot(0, this, takeThird);
    }
    profilePanel->setVisible(shown);
}

void MainWindow::followRoute(const TableChange &change)
{
    if (profileChart && !change.cells.isEmpty())
        profileChart->setOutOfDate(true);
}

void MainWindow::redrawProfile()
{
    if (!profileChart)
        return;
    profileChart->showProfile(pressureProfile(m_document.table(), m_document.method().units),
                              profileAxis());
}

namespace {

// The file an export goes to: chosen in the Save dialog, which offers the
// route's own name with the export's extension, and given that extension
// when it has none. Empty when cancelled, or when it names the route's own
// file, which no export may touch (said in a message).
QString chooseExportFile(QWidget *window, const RouteDocument &document, const QString &title,
                         const QString &filter, const QString &extension)
{
    const QFileInfo route(pathText(document.path()));
    const QString offered = document.isUntitled()
                                ? u"Untitled."_s + extension
                                : route.dir().filePath(route.completeBaseName() + u'.' + extension);
    QString path = Dialogs::instance().saveFileName(window, title, filter, offered);
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + extension;
    if (!document.isUntitled() && isSameFile(path, route.filePath())) {
        reportExportError(window,
                          MainWindow::tr("the route's own file cannot be replaced by an export"));
        return {};
    }
    return path;
}

} // namespace

namespace {
// A printout sent to a file may land neither on a pipe or a device nor on
// the route itself; said in a message, and nothing is printed.
bool refusedPrintFile(QWidget *window, const QPrinter &printer, const RouteDocument &document)
{
    const QString file = printer.outputFileName();
    if (file.isEmpty())
        return false;
    std::optional<QString> reason = specialFileReason(file);
    if (!reason && !document.isUntitled() && isSameFile(file, pathText(document.path())))
        reason = MainWindow::tr("the route's own file cannot be replaced by a printout");
    if (reason)
        reportExportError(window, *reason);
    return reason.has_value();
}
// The paper the default printer is set up with; without a printer, the
// locale's.
QPageSize defaultPaper()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    return printer.isNull() ? localPaper() : printer.defaultPageSize();
}
} // namespace

void MainWindow::printReport()
{
    QPrinter printer(QPrinter::HighResolution);
    // The paper the printer is set up with, or the locale's, not Qt's guess.
    const QPrinterInfo info(printer);
    printer.setPageSize(info.isNull() ? localPaper() : info.defaultPageSize());
    ProjectSession &session = m_documents->session();
    if (session.isProject()) {
        const ProjectReport report = shownProjectReport();
        printer.setDocName(pathText(report.name));
        Dialogs::instance().printPreview(this, printer, [&](QPrinter &device) {
            if (!refusedPrintFile(this, device, m_document))
                paintProjectReport(device, report);
        });
        return;
    }
    const RouteReport report = shownRouteReport();
    printer.setDocName(pathText(report.content.routeName));
    Dialogs::instance().printPreview(this, printer, [&](QPrinter &device) {
        if (!refusedPrintFile(this, device, m_document))
            paintReport(device, report);
    });
}

RouteReport MainWindow::shownRouteReport() const
{
    RouteReport report = routeReport(m_document);
    report.profileAxis = profileAxis();
    return report;
}

ProjectReport MainWindow::shownProjectReport()
{
    ProjectSession &session = m_documents->session();
    // The figures must be the inputs' own: a project whose shown route was
    // edited since its last Calculate is calculated first, as Enter would.
    // The other routes change only through Calculate.
    if (!session.hasFigures() || m_document.marks().firstStaleRow() != 0)
        calculate();
    ProjectReport report = projectReport(session.project(), session.system(), m_document.path());
    report.setProfileAxis(profileAxis());
    return report;
}

void MainWindow::exportPdf()
{
    const QString path =
        chooseExportFile(this, m_document, tr("Export PDF"), tr("PDF Files (*.pdf)"), u"pdf"_s);
    if (path.isEmpty())
        return;
    const auto error = m_documents->session().isProject()
                           ? writeProjectReportPdf(path, shownProjectReport(), defaultPaper())
                           : writeReportPdf(path, shownRouteReport(), defaultPaper());
    if (error)
        reportExportError(this, *error);
}

void MainWindow::exportCsv()
{
    writeCsvExport(false);
}

void MainWindow::exportFilledCsv()
{
    writeCsvExport(true);
}

// The table as the grid shows it, or with the flow and diameter carried down
// onto every row, for a spreadsheet that recalculates each row on its own.
void MainWindow::writeCsvExport(bool filled)
{
    const QString path =
        chooseExportFile(this, m_document, tr("Export CSV"), tr("CSV Files (*.csv)"), u"csv"_s);
    if (path.isEmpty())
        return;
    // A project's routes in one table, the route's name first.
    const auto error =
        m_documents->session().isProject()
            ? writeCsv(path, projectListRows(m_documents->session().project(), filled))
            : writeRouteCsv(path, m_document.table(), filled);
    if (error)
        reportExportError(this, *error);
}

} // namespace plenix
