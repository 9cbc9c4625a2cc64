// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fittings.h"
#include "projectsession.h"
#include "recentroutes.h"
#include "reportpainter.h"
#include "routedocument.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QDockWidget;
class QTableWidget;
class QTreeWidget;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QSessionManager;

namespace plenix {

class DocumentCommands;
class ProfileChart;
class DescriptionEdit;
class RouteView;

// The main window: a coordinator. It owns the route document (the route
// table, the description, the current file) and the last elbow radius reply for its whole life, and
// turns menu choices, button clicks, grid keys and mouse presses into calls of the core, whose
// results the widgets show. Every rule of arithmetic and text format lives in the core; the grid
// view and the dialog seam are their own classes.
//
// The command handlers are grouped by menu: mainwindow.cpp holds start-up,
// layout, the grid's events, Calculate, the fittings pop-up and shutdown;
// mainwindow_file.cpp the File menu; mainwindow_edit.cpp the Edit and Tools menus;
// mainwindow_help.cpp the Options and Help menus; mainwindow_report.cpp the
// report, the exports and the pressure profile panel; mainwindow_history.cpp
// undo and redo, the recent routes and the session's end.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;
    Q_DISABLE_COPY_MOVE(MainWindow)

    // Open of a file named at start: the route, or the "Error: " box. Asks
    // first about unsaved changes, as any Open does. False when it stays
    // unopened.
    bool openFile(const QString &path);
    // At start: offers the unsaved work that a Plenix which ended without
    // closing left behind, newest first. A copy turned down is deleted.
    void offerRecovery();

    // Switches the three tooltips and the check mark of Options > Show ToolTips.
    void setToolTipsShown(bool checked);

    RouteTable &routeTable() { return m_document.table(); }
    const RouteDocument &document() const { return m_document; }
    // The last reply to the elbow radius prompt, exactly as typed.
    const QString &elbowRadiusText() const { return m_elbowRadiusText; }
    DocumentCommands &documents() { return *m_documents; }

protected:
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    // File
    void newRoute();
    void openRoute();
    void closeRoute();
    void saveRoute();
    void saveRouteAs();
    void printWindow();
    void printReport();
    void exportPdf();
    void exportCsv();
    void exportFilledCsv();
    void exitProgram();
    // Edit
    void undo();
    void redo();
    void clearDescription();
    void clearList();
    void insertRow();
    void cutCells();
    void copyCells();
    void pasteCells();
    void deleteRows();
    void moveRowsUp();
    void moveRowsDown();
    // View
    void showProfile(bool shown);
    // Tools
    void copyDescription();
    void copyList();
    void copyFileName();
    // Options and Help
    void toggleToolTips();
    void showHelpTopics();
    void showAbout();
    // Controls: Calculate, by the button or the grid's Enter; in a project,
    // of every route and the system.
    void calculate();
    void showPopUp(const QPoint &globalPos);

private:
    void createWidgets();
    void createMenus();
    // The report commands of the File menu and the View menu; with their
    // handlers in mainwindow_report.cpp.
    void addReportActions(QMenu *fileMenu);
    ProfileAxis profileAxis() const;
    RouteReport shownRouteReport() const;
    void showRowOfProfile(int row);
    void writeCsvExport(bool filled);
    void createViewMenu();
    void createProfilePanel(QSplitter *split);
    // The report of the project the window holds, calculated.
    ProjectReport shownProjectReport();
    // The project's route list and system figures, and the commands on the
    // project's routes: mainwindow_project.cpp.
    void createProjectViews();
    void createRouteActions();
    void showProjectViews();
    void changeProject(const QString &name, const ProjectSession::Change &edit);
    // Makes the window's route a project of one route, named after its file.
    void becomeProject();
    void addRoute();
    void duplicateRoute();
    void renameRoute();
    void setTakeoff();
    void moveRoute(int by);
    void deleteRoute();
    void exportRoute();
    void importRoute();
    void editProjectProperties();
    void editProjectSettings();
    void sizeDucts();
    // Tools > Fitting Library: a fitting of the library into the current
    // row, its description and coefficient as one step.
    void pickFitting();
    void editFanSide();
    void followRoute(const TableChange &change);
    void redrawProfile();
    // The spare column shows the static pressure along the route when asked
    // for and the project's method works it out.
    void showStaticColumn();
    QAction *addMenuAction(QMenu *menu, const char *name, const QString &caption,
                           void (MainWindow::*handler)(), const QKeySequence &shortcut = {});
    void addMenuSeparator(QMenu *menu, const char *name);
    // Undo, Redo and the recent routes: mainwindow_history.cpp.
    void createHistoryActions(QMenu *editMenu);
    void createRecentMenu(QMenu *fileMenu);
    void showRecentRoutes();
    void openRecent(const QString &path);
    void commitSession(QSessionManager &session);

    void setUpWindow();
    void arrangeControls();
    void closeOtherWindows();
    void storeArrangement();
    void restoreArrangement();
    QSplitter *splitter() const;
    void setUpLabels();
    void placeWindow();

    // Runs a command of the fittings pop-up.
    void insertFitting(const Fitting &fitting);
    void showCaption();

    // The window's data.
    RouteDocument m_document;
    QString m_elbowRadiusText;
    // New, Open, Close, Save and Save As of the document, which the
    // description box mirrors; made once the box exists.
    std::unique_ptr<DocumentCommands> m_documents;
    RecentRoutes m_recent;

    // Controls.
    QWidget *m_client = nullptr;
    RouteView *routeView = nullptr;
    QPushButton *calculateButton = nullptr;
    DescriptionEdit *descriptionEdit = nullptr;
    QLabel *itemsLabel = nullptr;
    QLabel *descriptionLabel = nullptr;
    // The pressure profile panel below the design controls, hidden at first.
    QWidget *profilePanel = nullptr;
    ProfileChart *profileChart = nullptr;
    // A project's routes and system, docked beside the design controls.
    QDockWidget *routesDock = nullptr;
    QTreeWidget *routeList = nullptr;
    QDockWidget *systemDock = nullptr;
    QTableWidget *systemTable = nullptr;

    // Menus; the two pop-ups never stand on the menu bar.
    QAction *toolTipsAction = nullptr;
    QAction *fittingLibraryAction = nullptr;
    QAction *profileAction = nullptr;
    QAction *distanceAction = nullptr;
    QAction *staticColumnAction = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QMenu *recentMenu = nullptr;
    QMenu *fittingsMenu = nullptr;
    QMenu *hintMenu = nullptr;
};

} // namespace plenix
