// SPDX-License-Identifier: GPL-3.0-or-later
#include "projectsession.h"

#include "edithistory.h"

#include "routedocument.h"

ProjectSession::ProjectSession(plenix::RouteDocument &shown, EditHistory &history, QObject *parent)
    : QObject(parent), m_document(shown), m_history(history)
{
    m_history.setRouteHooks([this] { return m_shown; }, [this](int route) { showRoute(route); });
}

ProjectSession::~ProjectSession()
{
    m_history.setRouteHooks({}, {});
}

const plenix::Project &ProjectSession::project()
{
    storeShown();
    return m_project;
}

void ProjectSession::open(plenix::Project project)
{
    m_project = std::move(project);
    m_isProject = true;
    m_shown = 0;
    m_history.runUnrecorded(
        [this] { plenix::copyRouteContent(*m_project.routes.front().document, m_document); });
    m_document.marks().reset();
    calculate();
}

void ProjectSession::closeProject()
{
    m_project = plenix::Project();
    m_isProject = false;
    m_hasFigures = false;
    m_shown = 0;
    Q_EMIT changed();
}

void ProjectSession::makeProject(const std::string &routeName)
{
    m_project = plenix::Project();
    m_project.routes.emplace_back().name = routeName;
    m_isProject = true;
    m_shown = 0;
    storeShown();
    Q_EMIT changed();
}

void ProjectSession::showRoute(int route)
{
    if (!m_isProject || route == m_shown || route < 0 ||
        route >= static_cast<int>(m_project.routes.size()))
        return;
    storeShown();
    const bool modified = m_document.isModified();
    m_shown = route;
    m_history.runUnrecorded([this] {
        plenix::copyRouteContent(*m_project.routes[static_cast<std::size_t>(m_shown)].document,
                                 m_document);
    });
    // The figures fetched are the ones last calculated for that route.
    m_document.marks().reset();
    m_document.setModified(modified);
    Q_EMIT descriptionReplaced();
    Q_EMIT changed();
}

plenix::CalculationOutcome ProjectSession::calculate()
{
    plenix::CalculationOutcome outcome;
    m_history.run([&] { outcome = m_document.calculate(); });
    if (!m_isProject)
        return outcome;
    storeShown();
    std::vector<bool> stopped(m_project.routes.size());
    for (std::size_t i = 0; i < m_project.routes.size(); ++i) {
        stopped[i] = static_cast<int>(i) == m_shown
                         ? outcome.stopped
                         : m_project.routes[i].document->calculate().stopped;
    }
    m_system = plenix::systemFigures(m_project, stopped);
    m_hasFigures = true;
    Q_EMIT changed();
    return outcome;
}

void ProjectSession::storeShown()
{
    if (m_isProject)
        plenix::copyRouteContent(m_document,
                                 *m_project.routes[static_cast<std::size_t>(m_shown)].document);
}
