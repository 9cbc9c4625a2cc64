// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routeedit.h"

#include <QObject>
#include <QUndoStack>

#include <cstddef>
#include <functional>
#include <utility>

namespace plenix {

class RouteDocument;

// A step of the history. It has already happened when it is pushed, so the
// stack's first redo does nothing.
class HistoryStep : public QUndoCommand
{
public:
    using QUndoCommand::QUndoCommand;
    Q_DISABLE_COPY_MOVE(HistoryStep)

    void undo() final { undoStep(); }
    void redo() final
    {
        if (!std::exchange(m_made, false))
            redoStep();
    }
    // The bytes the step keeps, for the history's memory budget.
    virtual std::size_t memorySize() const = 0;
    // The same change as a new step, as made, for a history that drops the
    // steps before it. The two share what they keep.
    virtual HistoryStep *carriedOver() const = 0;

protected:
    virtual void undoStep() = 0;
    virtual void redoStep() = 0;

private:
    bool m_made = true;
};

// The document's undo history. Every change to the route or the description
// becomes one step on its own, whoever makes it: the core's recorder catches
// each operation of the table and each change of the description. A command
// that writes in several operations runs through run() to be one step.
// Keystrokes in the same cells, or in the description box, join into one
// step until something else happens in between.
//
// The history also knows what was last saved: the document has unsaved
// changes exactly when the stack is not at its clean index.
//
// It keeps within a memory budget: when its steps hold more bytes than
// that, the oldest go, though never the newest, so that editing a huge
// cell again and again cannot use up the memory the document needs.
class EditHistory final : public QObject
{
    Q_OBJECT

public:
    explicit EditHistory(RouteDocument &document, QObject *parent = nullptr);
    ~EditHistory() override;
    Q_DISABLE_COPY_MOVE(EditHistory)

    QUndoStack &stack() { return m_stack; }

    // One step for whatever the command changes, named as the Edit menu's
    // Undo and Redo show it; none if it changes nothing.
    void run(const QString &name, const std::function<void()> &command);
    // Changes that are no step: Open and New, which then restart.
    void runUnrecorded(const std::function<void()> &command);
    // A fresh history with nothing unsaved.
    void restart();
    // The present state is what the file holds.
    void markSaved();
    // Tells the window about unsaved changes that no step holds.
    void markModified();
    // Takes a step made outside the recorder, such as a change of the
    // project's structure.
    void push(HistoryStep *step);

    static constexpr std::size_t DefaultMemoryBudget = std::size_t{256} << 20;
    void setMemoryBudget(std::size_t bytes) { m_memoryBudget = bytes; }

    // In a project each edit belongs to the route shown when it was made,
    // and undoing or redoing it shows that route first. Without these hooks
    // there is one route.
    void setRouteHooks(std::function<int()> shownRoute, std::function<void(int)> showRoute)
    {
        m_shownRoute = std::move(shownRoute);
        m_showRoute = std::move(showRoute);
    }
    int shownRoute() const { return m_shownRoute ? m_shownRoute() : 0; }

Q_SIGNALS:
    void modifiedChanged(bool modified);
    // Open or New: no step before the present state.
    void restarted();
    // Undo or redo put another description into the document.
    void descriptionRestored();
    // The budget made the oldest steps go, for the first time since the
    // history restarted.
    void oldestStepsDropped();

private:
    friend class EditCommand;
    void apply(const RouteEdit &edit, bool backwards, int route);
    void followStack();
    void keepWithinBudget();

    RouteDocument &m_document;
    QUndoStack m_stack;
    EditRecorder m_recorder;
    QString m_stepName; // of the step run() is making
    std::size_t m_memoryBudget = DefaultMemoryBudget;
    bool m_droppedSteps = false;
    std::function<int()> m_shownRoute;
    std::function<void(int)> m_showRoute;
};

} // namespace plenix
