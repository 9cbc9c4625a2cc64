// SPDX-License-Identifier: GPL-3.0-or-later
// The project's views: the list of routes, which chooses the route the grid
// shows, and the system's figures. Both stay hidden for a classic route.
#include "mainwindow.h"

#include "documentcommands.h"
#include "projectsession.h"

#include "project/projectoutput.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

QDockWidget *addDock(QMainWindow &window, const QString &title, const QString &name,
                     QWidget *contents, Qt::DockWidgetArea area)
{
    auto *dock = new QDockWidget(title, &window);
    dock->setObjectName(name);
    dock->setWidget(contents);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    window.addDockWidget(area, dock);
    dock->hide();
    return dock;
}

} // namespace

void MainWindow::createProjectViews()
{
    routeList = new QTreeWidget(this);
    routeList->setObjectName(u"routeList"_s);
    routeList->setColumnCount(3);
    routeList->setHeaderLabels({tr("Route"), tr("Takes off"), tr("Path SP, in wg")});
    routeList->setRootIsDecorated(false);
    routeList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(routeList, &QTreeWidget::currentItemChanged, this, [this] {
        m_documents->session().showRoute(routeList->indexOfTopLevelItem(routeList->currentItem()));
    });
    routesDock = addDock(*this, tr("Routes"), u"routesDock"_s, routeList, Qt::LeftDockWidgetArea);

    systemTable = new QTableWidget(this);
    systemTable->setObjectName(u"systemTable"_s);
    systemTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    systemTable->horizontalHeader()->hide();
    systemTable->verticalHeader()->hide();
    systemTable->verticalHeader()->setDefaultSectionSize(systemTable->fontMetrics().height() + 6);
    systemTable->setShowGrid(false);
    systemDock =
        addDock(*this, tr("System"), u"systemDock"_s, systemTable, Qt::BottomDockWidgetArea);

    connect(&m_documents->session(), &ProjectSession::changed, this, &MainWindow::showProjectViews);
}

void MainWindow::showProjectViews()
{
    ProjectSession &session = m_documents->session();
    routesDock->setVisible(session.isProject());
    systemDock->setVisible(session.isProject());
    if (!session.isProject())
        return;
    const plenix::Project &project = session.project();
    const plenix::SystemFigures &system = session.system();
    const bool figures = session.hasFigures() && system.paths.size() == project.routes.size();

    const QSignalBlocker quiet(routeList);
    routeList->clear();
    for (std::size_t i = 0; i < project.routes.size(); ++i) {
        const plenix::ProjectRoute &route = project.routes[i];
        const QString takeoff =
            route.takeoff
                ? tr("%1, after row %2").arg(text(route.takeoff->route)).arg(route.takeoff->row)
                : tr("the fan");
        const QString pressure =
            figures ? text(plenix::fixedText(system.paths[i].pressure, 2)) : QString();
        auto *item = new QTreeWidgetItem(routeList, {text(route.name), takeoff, pressure});
        // The critical path stands out.
        if (figures && i == system.critical) {
            QFont bold = item->font(0);
            bold.setBold(true);
            for (int col = 0; col < 3; ++col)
                item->setFont(col, bold);
            item->setToolTip(0, tr("The critical path: the greatest pressure from the fan"));
        }
    }
    routeList->setCurrentItem(routeList->topLevelItem(session.shownRoute()));

    systemTable->clear();
    const plenix::TextRows rows =
        figures ? plenix::systemSummaryRows(project, system) : plenix::TextRows{};
    systemTable->setRowCount(static_cast<int>(rows.size()));
    systemTable->setColumnCount(rows.empty() ? 0 : 9);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        // The headings of the paths' and the take-offs' tables (the fan's
        // lines between them are pairs), and the critical path, in bold.
        const bool heading = row == 0 || (rows[row - 1].empty() && rows[row].size() > 2);
        const bool bold = heading || (!rows[row].empty() && rows[row].back() == "critical");
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            auto *cell = new QTableWidgetItem(text(rows[row][col]));
            if (bold) {
                QFont font = cell->font();
                font.setBold(true);
                cell->setFont(font);
            }
            systemTable->setItem(static_cast<int>(row), static_cast<int>(col), cell);
        }
    }
    systemTable->resizeColumnsToContents();
}
