// SPDX-License-Identifier: GPL-3.0-or-later
// The project's views: the list of routes, which chooses the route the grid
// shows, and the system's figures. Both stay hidden for a classic route.
#include "mainwindow.h"

#include "dialogs.h"
#include "documentcommands.h"
#include "projectsession.h"

#include "project/projectfile.h"
#include "project/projectoutput.h"
#include "project/unitswitch.h"
#include "routefileio.h"
#include "textcodec.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plenix {

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

    auto *system = new QWidget(this);
    auto *systemLayout = new QVBoxLayout(system);
    systemLayout->setContentsMargins(0, 0, 0, 0);
    auto *fanButton = new QPushButton(tr("&Fan-Side Items..."), system);
    fanButton->setObjectName(u"fanSideButton"_s);
    connect(fanButton, &QPushButton::clicked, this, &MainWindow::editFanSide);
    systemLayout->addWidget(fanButton, 0, Qt::AlignLeft);
    systemTable = new QTableWidget(system);
    systemTable->setObjectName(u"systemTable"_s);
    systemLayout->addWidget(systemTable);
    systemTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    systemTable->horizontalHeader()->hide();
    systemTable->verticalHeader()->hide();
    systemTable->verticalHeader()->setDefaultSectionSize(systemTable->fontMetrics().height() + 6);
    systemTable->setShowGrid(false);
    systemDock = addDock(*this, tr("System"), u"systemDock"_s, system, Qt::BottomDockWidgetArea);
    createRouteActions();

    connect(&m_documents->session(), &ProjectSession::changed, this, &MainWindow::showProjectViews);
}

void MainWindow::showProjectViews()
{
    ProjectSession &session = m_documents->session();
    const bool appearing = session.isProject() && !routesDock->isVisible();
    routesDock->setVisible(session.isProject());
    systemDock->setVisible(session.isProject());
    // The library's fittings are worked out in projects only; a route file
    // keeps its eight classic ones.
    fittingLibraryAction->setEnabled(session.isProject());
    fittingLibraryAction->setVisible(session.isProject());
    staticColumnAction->setEnabled(session.isProject() && !m_document.method().isClassic());
    showStaticColumn();
    if (!session.isProject())
        return;
    // The route shown, its settings or the system changed: its figures are
    // the ones last calculated, in the project's units.
    if (session.hasFigures())
        redrawProfile();
    if (appearing) {
        // The panels come beside the design controls, not out of them: the
        // window grows by their size as far as the screen has room.
        constexpr int routesWidth = 300;
        constexpr int systemHeight = 220;
        const QRect room = screen() ? screen()->availableGeometry() : QRect();
        QRect wanted(pos(), size() + QSize(routesWidth, systemHeight));
        if (room.isValid()) {
            wanted.setSize(wanted.size().boundedTo(room.size()));
            wanted.moveRight(std::min(wanted.right(), room.right()));
            wanted.moveBottom(std::min(wanted.bottom(), room.bottom()));
        }
        resize(wanted.size());
        move(wanted.topLeft());
        resizeDocks({routesDock}, {routesWidth}, Qt::Horizontal);
        resizeDocks({systemDock}, {systemHeight}, Qt::Vertical);
    }
    const Project &project = session.project();
    const SystemFigures &system = session.system();
    const bool figures = session.hasFigures() && system.paths.size() == project.routes.size();

    const QSignalBlocker quiet(routeList);
    routeList->clear();
    routeList->setHeaderLabels(
        {tr("Route"), tr("Takes off"),
         tr("Path SP, %1").arg(unitText(units::Quantity::Pressure, project.settings.units))});
    for (std::size_t i = 0; i < project.routes.size(); ++i) {
        const ProjectRoute &route = project.routes[i];
        const QString takeoff =
            route.takeoff
                ? tr("%1, after row %2").arg(text(route.takeoff->route)).arg(route.takeoff->row)
                : tr("the fan");
        const QString pressure =
            figures ? text(summaryPressureText(system.paths[i].pressure, project.settings))
                    : QString();
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
    const TextRows rows = figures ? systemSummaryRows(project, system) : TextRows{};
    systemTable->setRowCount(static_cast<int>(rows.size()));
    systemTable->setColumnCount(rows.empty() ? 0 : 9);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const bool bold = isSummaryEmphasis(rows, row);
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

void MainWindow::createRouteActions()
{
    // The route list's own commands, on its pop-up and keys.
    routeList->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto add = [this](const char *name, const QString &caption, auto handler,
                            const QKeySequence &shortcut = {}) {
        auto *action = new QAction(caption, routeList);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, handler);
        routeList->addAction(action);
    };
    add("addRouteAction", tr("&Add Route"), &MainWindow::addRoute, QKeySequence(Qt::Key_Insert));
    add("duplicateRouteAction", tr("D&uplicate Route"), &MainWindow::duplicateRoute);
    add("renameRouteAction", tr("&Rename Route..."), &MainWindow::renameRoute,
        QKeySequence(Qt::Key_F2));
    add("takeoffAction", tr("Set &Take-off..."), &MainWindow::setTakeoff);
    add(
        "moveRouteUpAction", tr("Move &Up"), [this] { moveRoute(-1); },
        QKeySequence(Qt::CTRL | Qt::Key_Up));
    add(
        "moveRouteDownAction", tr("Move Do&wn"), [this] { moveRoute(1); },
        QKeySequence(Qt::CTRL | Qt::Key_Down));
    add("deleteRouteAction", tr("&Delete Route"), &MainWindow::deleteRoute,
        QKeySequence(Qt::Key_Delete));
    add("exportRouteAction", tr("&Export Route..."), &MainWindow::exportRoute);
}

void MainWindow::changeProject(const QString &name, const ProjectSession::Change &edit)
{
    if (const std::optional<std::string> fault = m_documents->session().change(name, edit))
        Dialogs::instance().message(this, u"plenix"_s, tr("Error: %1").arg(text(*fault)));
}

void MainWindow::becomeProject()
{
    ProjectSession &session = m_documents->session();
    if (session.isProject())
        return;
    const std::string name = m_document.isUntitled() ? tr("Route").toStdString()
                                                     : pathText(m_document.name()).toStdString();
    session.makeProject(name);
}

// Each route command acts on the route shown; the list that offers them is
// there for a project only.
void MainWindow::addRoute()
{
    if (!m_documents->session().isProject())
        return;
    changeProject(tr("Add Route"), [](Project &project, int &shown) {
        const std::string name = project.unusedName(tr("Route").toStdString());
        project.insertBranch(project.routes.size(), std::size_t(shown), name);
        shown = int(project.routes.size()) - 1;
    });
}

void MainWindow::duplicateRoute()
{
    if (!m_documents->session().isProject())
        return;
    changeProject(tr("Duplicate Route"), [](Project &project, int &shown) {
        const ProjectRoute &original = project.routes[std::size_t(shown)];
        const std::string name = project.unusedName(original.name + tr(" copy").toStdString());
        // The first route's copy takes off it; another's takes off where it does.
        const std::optional<Takeoff> takeoff = original.takeoff;
        ProjectRoute &copy = project.insertBranch(std::size_t(shown) + 1, std::size_t(shown), name);
        copyRouteContent(*project.routes[std::size_t(shown)].document, *copy.document);
        if (takeoff)
            copy.takeoff = takeoff;
        ++shown;
    });
}

void MainWindow::renameRoute()
{
    if (!m_documents->session().isProject())
        return;
    ProjectSession &session = m_documents->session();
    const std::string old = session.project().routes[std::size_t(session.shownRoute())].name;
    const std::optional<QString> name =
        Dialogs::instance().askText(this, tr("Rename Route"), tr("Route name:"), text(old));
    if (!name || name->trimmed().toStdString() == old)
        return;
    changeProject(tr("Rename Route"), [&name](Project &project, int &shown) {
        project.renameRoute(std::size_t(shown), name->trimmed().toStdString());
    });
}

void MainWindow::setTakeoff()
{
    if (!m_documents->session().isProject())
        return;
    ProjectSession &session = m_documents->session();
    const Project &project = session.project();
    const ProjectRoute &route = project.routes[std::size_t(session.shownRoute())];
    if (!route.takeoff) {
        Dialogs::instance().message(this, u"plenix"_s,
                                    tr("Error: the first route starts at the fan"));
        return;
    }
    QStringList others;
    for (const ProjectRoute &other : project.routes) {
        if (&other != &route)
            others << text(other.name);
    }
    const std::optional<Takeoff> takeoff =
        Dialogs::instance().askTakeoff(this, others, *route.takeoff);
    if (!takeoff || *takeoff == *route.takeoff)
        return;
    changeProject(tr("Set Take-off"), [&takeoff](Project &changed, int &shown) {
        changed.routes[std::size_t(shown)].takeoff = takeoff;
    });
}

void MainWindow::moveRoute(int by)
{
    if (!m_documents->session().isProject())
        return;
    const int shown = m_documents->session().shownRoute();
    const int count = int(m_documents->session().project().routes.size());
    // The first route starts at the fan and stays first.
    if (shown == 0 || shown + by < 1 || shown + by >= count)
        return;
    changeProject(by < 0 ? tr("Move Route Up") : tr("Move Route Down"), [by](Project &project,
                                                                             int &current) {
        std::swap(project.routes[std::size_t(current)], project.routes[std::size_t(current + by)]);
        current += by;
    });
}

void MainWindow::deleteRoute()
{
    if (!m_documents->session().isProject())
        return;
    ProjectSession &session = m_documents->session();
    const Project &project = session.project();
    const auto shown = std::size_t(session.shownRoute());
    if (shown == 0) {
        Dialogs::instance().message(this, u"plenix"_s,
                                    tr("Error: the first route starts at the fan and cannot be "
                                       "deleted"));
        return;
    }
    const std::size_t branches = project.branchesOf(shown).size();
    if (branches > 0 &&
        !Dialogs::instance().askYesNo(
            this, tr("Delete Route"),
            tr("%n route(s) take off %1. Delete it and them?", nullptr, int(branches))
                .arg(text(project.routes[shown].name))))
        return;
    changeProject(tr("Delete Route"), [](Project &changed, int &current) {
        const std::string from = changed.routes[std::size_t(current)].takeoff->route;
        changed.removeRoute(std::size_t(current));
        current = int(changed.routeIndex(from).value_or(0));
    });
}

void MainWindow::exportRoute()
{
    if (!m_documents->session().isProject())
        return;
    ProjectSession &session = m_documents->session();
    const auto shown = static_cast<std::size_t>(session.shownRoute());
    const ProjectRoute &route = session.project().routes[shown];
    // A route file is read by the classic method, in inch-pound units: the
    // cells of any other would mean something else there.
    if (!session.project().routeSettings(shown).isClassic()) {
        Dialogs::instance().message(
            this, u"plenix"_s,
            tr("Error: a route file holds routes of the classic method only, and %1 is "
               "calculated by Darcy-Colebrook. Save the project instead.")
                .arg(text(quotedRouteName(route.name))));
        return;
    }
    const QString path = Dialogs::instance().saveFileName(
        this, tr("Export Route"), tr("Text Files (*.txt)"), text(route.name) + u".txt"_s);
    if (path.isEmpty())
        return;
    std::optional<QString> error;
    if (!m_document.isUntitled() && isSameFile(path, pathText(m_document.path())))
        error = tr("the project's own file cannot be replaced by a route");
    else
        error = writeRouteFile(path, QByteArray::fromStdString(route.document->fileText()));
    if (error)
        Dialogs::instance().message(this, u"plenix"_s, tr("Error: %1").arg(*error));
}

void MainWindow::importRoute()
{
    const QString path = Dialogs::instance().openFileName(this, tr("Import Route"),
                                                          tr("Text Files (*.txt)"), QString());
    if (path.isEmpty())
        return;
    const RouteFileRead read = readRouteFile(path);
    std::optional<Project> route;
    if (!read.error)
        route = projectFromRoute(read.bytes.toStdString(),
                                 QFileInfo(path).completeBaseName().toStdString());
    if (!route) {
        const QString reason = read.error.value_or(QLatin1StringView(NotARouteFileMessage));
        Dialogs::instance().message(this, u"plenix"_s, tr("Error: %1").arg(reason));
        return;
    }
    becomeProject();
    changeProject(tr("Import Route"), [&route](Project &project, int &shown) {
        ProjectRoute &imported =
            project.insertBranch(project.routes.size(), std::size_t(shown),
                                 project.unusedName(route->routes.front().name));
        copyRouteContent(*route->routes.front().document, *imported.document);
        // A route file is in inch-pound units, whatever the project's.
        if (project.settings.units != units::System::InchPound)
            convertRoute(imported.document->table(), method::Settings(), project.settings);
        shown = int(project.routes.size()) - 1;
    });
}

void MainWindow::editProjectProperties()
{
    const std::optional<JobInfo> job =
        Dialogs::instance().askJobInfo(this, m_documents->session().project().job);
    if (!job || *job == m_documents->session().project().job)
        return;
    becomeProject();
    changeProject(tr("Project Properties"),
                  [&job](Project &project, int &) { project.job = *job; });
}

void MainWindow::editProjectSettings()
{
    ProjectSession &session = m_documents->session();
    const Project &project = session.project();
    const auto shown = static_cast<std::size_t>(session.shownRoute());
    const ProjectSettingsChoice current{
        project.settings, project.routes.empty() ? std::string() : project.routes[shown].material};
    // A route that is not yet a project is named as it will be in one.
    const QString routeName = !project.routes.empty()   ? text(project.routes[shown].name)
                              : m_document.isUntitled() ? tr("Route")
                                                        : pathText(m_document.name());
    const std::optional<ProjectSettingsChoice> chosen =
        Dialogs::instance().askProjectSettings(this, current, routeName);
    if (!chosen || *chosen == current)
        return;
    becomeProject();
    changeProject(tr("Project Settings"), [&chosen](Project &changed, int &shownRoute) {
        convertInputs(changed, changed.settings, chosen->settings);
        changed.settings = chosen->settings;
        changed.routes[static_cast<std::size_t>(shownRoute)].material = chosen->routeMaterial;
    });
}

void MainWindow::sizeDucts()
{
    RouteTable &table = m_document.table();
    SizingRequest request;
    // A classic route keeps to round ducts, the only shape it reads.
    request.shapes = !m_document.method().isClassic();
    request.settings = sizing::sizingSettings(m_document.method());
    request.firstRow = std::min(table.currentRow(), table.selectionRow());
    request.lastRow = std::max(table.currentRow(), table.selectionRow());
    const sizing::Start start =
        sizing::startAt(table, table.currentRow(), static_cast<Int16>(request.firstRow),
                        static_cast<Int16>(request.lastRow), request.settings);
    request.flow = start.flow;
    request.ductRuns = start.ductRuns;
    const std::optional<SizingChoice> choice = Dialogs::instance().askSizing(this, request);
    if (!choice)
        return;
    sizing::RowsSized sized;
    m_documents->history().run(tr("Size Ducts"), [&] {
        sized = sizing::sizeRows(table, static_cast<Int16>(request.firstRow),
                                 static_cast<Int16>(request.lastRow), choice->criterion,
                                 request.settings, choice->rectangular, choice->height);
    });
    if (sized.unsized > 0)
        Dialogs::instance().message(
            this, u"plenix"_s,
            tr("%n duct run(s) need a larger size than the standard series holds; "
               "they were left as they were.",
               nullptr, sized.unsized));
}

void MainWindow::editFanSide()
{
    const Project &project = m_documents->session().project();
    const std::optional<Dialogs::FanSide> fan = Dialogs::instance().askFanSide(
        this, {project.fanItems, text(project.safetyFactor), project.settings.units});
    if (!fan)
        return;
    changeProject(tr("Fan-Side Items"), [&fan](Project &changed, int &) {
        changed.fanItems = fan->items;
        changed.safetyFactor = fan->safetyFactor.toStdString();
    });
}

} // namespace plenix
