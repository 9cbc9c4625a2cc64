// SPDX-License-Identifier: GPL-3.0-or-later
#include "edithistory.h"

#include "routedocument.h"

#include <QScopedValueRollback>
#include <QUndoCommand>

#include <algorithm>

#include <utility>

namespace plenix {

// One recorded edit. It has already happened when it is pushed, so the
// stack's first redo does nothing.
class EditCommand final : public QUndoCommand
{
public:
    EditCommand(EditHistory &history, RouteEdit edit)
        : m_history(history), m_edit(std::move(edit)), m_route(history.shownRoute())
    {
    }
    Q_DISABLE_COPY_MOVE(EditCommand)

    void undo() override { m_history.apply(m_edit, true, m_route); }
    void redo() override
    {
        if (!std::exchange(m_pushed, false))
            m_history.apply(m_edit, false, m_route);
    }
    int id() const override { return m_edit.typing ? TypingId : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *command = static_cast<const EditCommand *>(other);
        const RouteEdit &next = command->m_edit;
        if (command->m_route != m_route || !m_edit.continuesTyping(next))
            return false;
        m_edit.append(next);
        // Typed and rubbed out again: no step at all.
        setObsolete(m_edit.isEmpty());
        return true;
    }

private:
    static constexpr int TypingId = 1;
    EditHistory &m_history;
    RouteEdit m_edit;
    // The route the edit was made in. The history is linear, so when the
    // step is undone or redone the project's routes stand where they stood
    // when it was made, and the index still names the same route.
    int m_route;
    bool m_pushed = true;
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
          auto *command = new EditCommand(*this, std::move(edit));
          command->setText(name);
          m_stack.push(command);
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
