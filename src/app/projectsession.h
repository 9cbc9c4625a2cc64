// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/systemfigures.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

namespace plenix {

class EditHistory;

class RouteDocument;

// The project behind the window. The grid, the description box and the
// undo history all work on one route document, the window's; in a project
// that document holds the route shown, and the project's own copy of that
// route is brought up to date whenever the project is read as a whole.
// Showing another route stores the one shown and fetches the other.
//
// A classic route file is a project of one route that shows nothing of
// being one: the window looks as it always has.
class ProjectSession final : public QObject
{
    Q_OBJECT

public:
    ProjectSession(RouteDocument &shown, EditHistory &history, QObject *parent = nullptr);
    ~ProjectSession() override;
    Q_DISABLE_COPY_MOVE(ProjectSession)

    // Whether the window holds a project file's routes rather than a route.
    bool isProject() const { return m_isProject; }
    int shownRoute() const { return m_shown; }
    // The whole project, the route shown included.
    const Project &project();
    const SystemFigures &system() const { return m_system; }
    // Whether every route has been calculated since it was opened.
    bool hasFigures() const { return m_hasFigures; }

    // Open of a project file: its first route is shown. The history is the
    // caller's to restart.
    void open(Project project);
    // New, and Open of a classic route: the window's route alone.
    void closeProject();
    // Save As a project of the window's route alone: a project of one route
    // of that name.
    void makeProject(const std::string &routeName);

    // Shows another route; the step is no edit and leaves the unsaved mark
    // as it was.
    void showRoute(int route);

    // A change of the routes, their names and take-offs, the job information
    // or the fan side, as one undoable step named `name`. The edit may also
    // choose the route to show. A change that leaves the routes no sound
    // system is not made: the reason comes back.
    using Change = std::function<void(Project &project, int &shown)>;
    std::optional<std::string> change(const QString &name, const Change &edit);
    // Puts back the project as a step of the history holds it.
    void restore(const Project &project, int shown);

    // Calculate of the whole project: the route shown as one undoable step,
    // the others as they stand, then the system's figures. The outcome is
    // the shown route's.
    CalculationOutcome calculate();

Q_SIGNALS:
    // The routes, their names or figures changed, or another route is shown.
    void changed();
    // Another route's description is in the document: the box must show it.
    void descriptionReplaced();

private:
    void storeShown();
    // Puts the route to show into the window's document, as no edit.
    void fetchShown();
    // Fetches the route to show, then works out every route's figures and
    // the system's, as no step of the history.
    void showAndCalculate();

    RouteDocument &m_document;
    EditHistory &m_history;
    Project m_project;
    SystemFigures m_system;
    int m_shown = 0;
    bool m_isProject = false;
    bool m_hasFigures = false;
};

} // namespace plenix
