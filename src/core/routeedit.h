// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routedocument.h"
#include "routetable.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What undo and redo need of a change to a route document, and the recorder
// that catches every change as it happens, whoever makes it.
namespace plenix {

// Where the cursor stood: current cell, selection end and scroll position.
struct CursorState
{
    Int16 row = 1;
    Int16 col = 1;
    Int16 selectionRow = 1;
    Int16 selectionCol = 1;
    Int16 topRow = 1;
    Int16 leftCol = 1;

    static CursorState of(const RouteTable &table);
    void restore(RouteTable &table) const;
    friend bool operator==(const CursorState &, const CursorState &) = default;
};

struct CellEdit
{
    int row = 0;
    int col = 0;
    std::string before;
    std::string after;
};

// One change: only the cells it wrote and the spans of the description it
// replaced, so that a keystroke costs one cell's texts or one character
// rather than the table's or the description's.
struct RouteEdit
{
    std::vector<CellEdit> cells;
    // In the order they were made; undo takes them back in reverse.
    std::vector<DescriptionSplice> description;
    CursorState cursorBefore;
    CursorState cursorAfter;
    // A keystroke in a cell or in the description box, which the next
    // keystroke of the same kind may join.
    bool typing = false;
    // Counts the table's reports, cursor moves included, up to this edit.
    unsigned long long serial = 0;

    bool isEmpty() const { return cells.empty() && description.empty(); }
    // The bytes the edit holds, texts and all: what keeping it in a history
    // costs.
    std::size_t memorySize() const;
    // Puts the texts and the cursor back as they were before, or after.
    void undo(RouteDocument &document) const;
    void redo(RouteDocument &document) const;
    // Joins the next change onto this one: each cell keeps its oldest
    // before and takes the newest after; cells back where they began drop
    // out. A description change that touches the last one's span becomes
    // one change with it, dropped when it leaves the text as it was.
    void append(const RouteEdit &next);
    // Whether the next change continues this one's typing: keystrokes in the
    // same cells with nothing in between, not even a cursor move, or in the
    // description.
    bool continuesTyping(const RouteEdit &next) const;
};

// Watches a document and hands each change of its cells or description to
// the sink as one edit: one per operation of the table (every operation is a
// batch), one per description change, or one per group.
class EditRecorder final
{
public:
    using Sink = std::function<void(RouteEdit)>;

    EditRecorder(RouteDocument &document, Sink sink);
    ~EditRecorder();
    EditRecorder(const EditRecorder &) = delete;
    EditRecorder &operator=(const EditRecorder &) = delete;

    // Joins everything done while it lives into one edit, which is never
    // typing: a command such as Calculate is one step however it writes.
    class Group final
    {
    public:
        explicit Group(EditRecorder &recorder) : m_recorder(recorder) { m_recorder.beginGroup(); }
        ~Group() { m_recorder.endGroup(); }
        Group(const Group &) = delete;
        Group &operator=(const Group &) = delete;

    private:
        EditRecorder &m_recorder;
    };

    // Nothing done while it lives is recorded: undo and redo themselves, and
    // Open and New, which start a fresh history.
    class Pause final
    {
    public:
        explicit Pause(EditRecorder &recorder) : m_recorder(recorder) { ++m_recorder.m_pauseDepth; }
        ~Pause() { --m_recorder.m_pauseDepth; }
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        EditRecorder &m_recorder;
    };

    // Applies an edit backwards or forwards without recording it.
    void undo(const RouteEdit &edit);
    void redo(const RouteEdit &edit);

private:
    void noteCell(int row, int col, const std::string &before);
    void noteDescription(DescriptionSplice change);
    void tableChanged();
    void add(RouteEdit edit);
    void beginGroup();
    void endGroup();

    RouteDocument &m_document;
    Sink m_sink;
    // The cursor at the last report of the table: where an operation began.
    CursorState m_cursor;
    unsigned long long m_reports = 0;
    // Cells written in the running operation, with their texts before it.
    std::vector<CellEdit> m_written;
    std::optional<RouteEdit> m_group;
    CursorState m_groupCursor;
    int m_groupDepth = 0;
    int m_pauseDepth = 0;
};

} // namespace plenix
