// SPDX-License-Identifier: GPL-3.0-or-later
#include "edithistory.h"

#include "routedocument.h"

#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace plenix {

// One recorded edit.
class EditCommand final : public HistoryStep
{
public:
    EditCommand(EditHistory &history, std::shared_ptr<RouteEdit> edit, int route)
        : m_history(history), m_edit(std::move(edit)), m_route(route),
          m_memorySize(m_edit->memorySize())
    {
    }
    Q_DISABLE_COPY_MOVE(EditCommand)

    std::size_t memorySize() const override { return m_memorySize; }
    HistoryStep *carriedOver() const override
    {
        auto *step = new EditCommand(m_history, m_edit, m_route);
        step->setText(text());
        return step;
    }
    int id() const override { return m_edit->typing ? TypingId : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *command = static_cast<const EditCommand *>(other);
        const RouteEdit &next = *command->m_edit;
        if (command->m_route != m_route || !m_edit->continuesTyping(next))
            return false;
        m_edit->append(next);
        m_memorySize = m_edit->memorySize();
        // Typed and rubbed out again: no step at all.
        setObsolete(m_edit->isEmpty());
        return true;
    }

private:
    void undoStep() override { m_history.apply(*m_edit, true, m_route); }
    void redoStep() override { m_history.apply(*m_edit, false, m_route); }

    static constexpr int TypingId = 1;
    EditHistory &m_history;
    // Shared only while a history that drops its oldest steps is rebuilt.
    std::shared_ptr<RouteEdit> m_edit;
    // The route the edit was made in. The history is linear, so when the
    // step is undone or redone the project's routes stand where they stood
    // when it was made, and the index still names the same route.
    int m_route;
    std::size_t m_memorySize;
};

namespace {

// A step's name when no command gave it one.
QString editName(const RouteEdit &edit)
{
    if (edit.typing)
        return EditHistory::tr("Typing");
    const bool emptied =
        !edit.cells.empty() && edit.description.empty() &&
        std::ranges::all_of(edit.cells, [](const CellEdit &cell) { return cell.after.empty(); });
    return emptied ? EditHistory::tr("Delete") : EditHistory::tr("Edit");
}

} // namespace

EditHistory::EditHistory(RouteDocument &document, QObject *parent)
    : QObject(parent), m_document(document), m_recorder(document, [this](RouteEdit edit) {
          const QString name = m_stepName.isEmpty() ? editName(edit) : m_stepName;
          auto *command =
              new EditCommand(*this, std::make_shared<RouteEdit>(std::move(edit)), shownRoute());
          command->setText(name);
          push(command);
      })
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditHistory::followStack);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &EditHistory::followStack);
}

EditHistory::~EditHistory() = default;

void EditHistory::run(const QString &name, const std::function<void()> &command)
{
    // The name outlives the group, which pushes the step as it ends.
    const QScopedValueRollback<QString> named(m_stepName, name);
    EditRecorder::Group group(m_recorder);
    command();
}

void EditHistory::runUnrecorded(const std::function<void()> &command)
{
    EditRecorder::Pause pause(m_recorder);
    command();
}

void EditHistory::restart()
{
    m_stack.clear();
    m_droppedSteps = false;
    followStack();
    Q_EMIT restarted();
}

void EditHistory::markSaved()
{
    m_stack.setClean();
    followStack();
}

void EditHistory::markModified()
{
    m_document.markModified();
    Q_EMIT modifiedChanged(true);
}

void EditHistory::push(HistoryStep *step)
{
    m_stack.push(step);
    keepWithinBudget();
}

void EditHistory::keepWithinBudget()
{
    // Pushing cut off whatever could be redone: every step is done.
    const int count = m_stack.count();
    std::size_t kept = 0;
    int first = count - 1;
    for (; first >= 0; --first) {
        kept += static_cast<const HistoryStep *>(m_stack.command(first))->memorySize();
        if (kept > m_memoryBudget && first < count - 1)
            break;
    }
    const int dropped = first + 1;
    if (dropped == 0)
        return;

    // QUndoStack drops steps only by a count set while it is empty, so the
    // steps kept move to a fresh stack, where the saved state stays where
    // it was, or becomes unreachable when it went with the dropped steps.
    std::vector<HistoryStep *> steps;
    for (int i = dropped; i < count; ++i)
        steps.push_back(static_cast<const HistoryStep *>(m_stack.command(i))->carriedOver());
    const int clean = m_stack.cleanIndex() - dropped;
    {
        const QSignalBlocker quiet(m_stack);
        m_stack.clear();
        for (HistoryStep *step : steps) {
            if (m_stack.count() == clean)
                m_stack.setClean();
            m_stack.push(step);
        }
        if (m_stack.count() == clean)
            m_stack.setClean();
        else if (clean < 0)
            m_stack.resetClean();
    }
    // The step names and the Undo item's state are the same as before.
    followStack();
    if (!std::exchange(m_droppedSteps, true))
        Q_EMIT oldestStepsDropped();
}

void EditHistory::apply(const RouteEdit &edit, bool backwards, int route)
{
    if (m_showRoute && route != shownRoute())
        m_showRoute(route);
    backwards ? m_recorder.undo(edit) : m_recorder.redo(edit);
    if (!edit.description.empty())
        Q_EMIT descriptionRestored();
}

void EditHistory::followStack()
{
    m_document.setModified(!m_stack.isClean());
    Q_EMIT modifiedChanged(m_document.isModified());
}

} // namespace plenix
