// SPDX-License-Identifier: GPL-3.0-or-later
#include "projectsession.h"

#include "edithistory.h"

#include "routedocument.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace plenix {

namespace {

// A change of the project's structure. The project before and after are
// kept whole: a structure step is rare, and a whole copy cannot disagree
// with the routes' edits recorded around it.
class StructureCommand final : public HistoryStep
{
public:
    using Kept = std::shared_ptr<const Project>;

    StructureCommand(ProjectSession &session, const QString &name, Kept before, int shownBefore,
                     Kept after, int shownAfter)
        : HistoryStep(name), m_session(session), m_before(std::move(before)),
          m_after(std::move(after)), m_shownBefore(shownBefore), m_shownAfter(shownAfter)
    {
    }
    Q_DISABLE_COPY_MOVE(StructureCommand)

    std::size_t memorySize() const override
    {
        return m_before->memorySize() + m_after->memorySize();
    }
    HistoryStep *carriedOver() const override
    {
        return new StructureCommand(m_session, text(), m_before, m_shownBefore, m_after,
                                    m_shownAfter);
    }

private:
    void undoStep() override { m_session.restore(*m_before, m_shownBefore); }
    void redoStep() override { m_session.restore(*m_after, m_shownAfter); }

    ProjectSession &m_session;
    Kept m_before;
    Kept m_after;
    int m_shownBefore;
    int m_shownAfter;
};

} // namespace

ProjectSession::ProjectSession(RouteDocument &shown, EditHistory &history, QObject *parent)
    : QObject(parent), m_document(shown), m_history(history)
{
    m_history.setRouteHooks([this] { return m_shown; }, [this](int route) { showRoute(route); });
}

ProjectSession::~ProjectSession()
{
    m_history.setRouteHooks({}, {});
}

const Project &ProjectSession::project()
{
    storeShown();
    return m_project;
}

void ProjectSession::open(Project project)
{
    m_project = std::move(project);
    m_isProject = true;
    m_shown = 0;
    fetchShown();
    calculate();
}

void ProjectSession::closeProject()
{
    m_history.runUnrecorded([this] { m_document.setMethod({}); });
    m_project = Project();
    m_isProject = false;
    m_hasFigures = false;
    m_shown = 0;
    Q_EMIT changed();
}

void ProjectSession::makeProject(const std::string &routeName)
{
    m_project = Project();
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
    fetchShown();
    m_document.setModified(modified);
    Q_EMIT descriptionReplaced();
    Q_EMIT changed();
}

std::optional<std::string> ProjectSession::change(const QString &name, const Change &edit)
{
    storeShown();
    Project before = m_project.copy();
    const int shownBefore = m_shown;
    int shown = m_shown;
    edit(m_project, shown);
    if (std::optional<std::string> fault = m_project.structureError()) {
        m_project = std::move(before);
        return fault;
    }
    m_shown = std::clamp(shown, 0, static_cast<int>(m_project.routes.size()) - 1);
    m_history.push(new StructureCommand(
        *this, name, std::make_shared<const Project>(std::move(before)), shownBefore,
        std::make_shared<const Project>(m_project.copy()), m_shown));
    showAndCalculate();
    return std::nullopt;
}

void ProjectSession::restore(const Project &project, int shown)
{
    m_project = project.copy();
    m_shown = shown;
    showAndCalculate();
}

void ProjectSession::showAndCalculate()
{
    m_system = calculateProject(m_project).system;
    m_hasFigures = true;
    fetchShown();
    Q_EMIT descriptionReplaced();
    Q_EMIT changed();
}

CalculationOutcome ProjectSession::calculate()
{
    CalculationOutcome outcome;
    if (!m_isProject) {
        m_history.run(tr("Calculate"), [&] { outcome = m_document.calculate(); });
        return outcome;
    }
    // The shown route's fittings find their junctions among the project's
    // routes as they stand now.
    storeShown();
    const std::vector<fittings::RouteContext> contexts = fittingContexts(m_project);
    m_history.run(tr("Calculate"), [&] {
        outcome = m_document.calculate(&contexts[static_cast<std::size_t>(m_shown)]);
    });
    // The shown route's copy is calculated again with the others: the
    // same inputs give the same figures.
    storeShown();
    m_system = calculateProject(m_project).system;
    m_hasFigures = true;
    Q_EMIT changed();
    return outcome;
}

void ProjectSession::fetchShown()
{
    m_history.runUnrecorded([this] {
        const auto shown = static_cast<std::size_t>(m_shown);
        m_document.setMethod(m_project.routeSettings(shown));
        copyRouteContent(*m_project.routes[shown].document, m_document);
    });
    // The figures fetched are the ones last calculated for that route.
    m_document.marks().reset();
}

void ProjectSession::storeShown()
{
    if (!m_isProject)
        return;
    RouteDocument &stored = *m_project.routes[static_cast<std::size_t>(m_shown)].document;
    copyRouteContent(m_document, stored);
    // The copy's figures are the shown route's, not edits of its own.
    stored.marks().reset();
}

} // namespace plenix
