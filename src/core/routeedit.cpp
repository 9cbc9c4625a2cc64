// SPDX-License-Identifier: GPL-3.0-or-later
#include "routeedit.h"

#include <algorithm>
#include <utility>

namespace plenix {

namespace {
// One character appended, or the last one dropped.
bool isKeystroke(const CellEdit &cell)
{
    const std::string &longer = cell.after.size() > cell.before.size() ? cell.after : cell.before;
    const std::string &shorter = cell.after.size() > cell.before.size() ? cell.before : cell.after;
    return longer.size() == shorter.size() + 1 && longer.starts_with(shorter);
}

// What a keystroke in the grid does: the current cell's text one character
// longer or shorter, and the same text in every selected cell.
bool isKeystroke(const RouteEdit &edit, const CursorState &cursor)
{
    const std::string &text = edit.cells.front().after;
    const bool filled = std::ranges::all_of(
        edit.cells, [&text](const CellEdit &cell) { return cell.after == text; });
    return filled && std::ranges::any_of(edit.cells, [&cursor](const CellEdit &cell) {
               return cell.row == cursor.row && cell.col == cursor.col && isKeystroke(cell);
           });
}

// Two description changes in a row as one, when the second touches what
// the first inserted.
void joinDescription(std::vector<DescriptionSplice> &changes, const DescriptionSplice &next)
{
    if (!changes.empty()) {
        DescriptionSplice &last = changes.back();
        const std::size_t lastEnd = last.offset + last.inserted.size();
        const std::size_t nextEnd = next.offset + next.removed.size();
        // Typing or rubbing out inside what the last change inserted: in
        // place, so that a keystroke after a long paste copies nothing long.
        if (next.offset >= last.offset && nextEnd <= lastEnd) {
            if (const std::size_t size = last.inserted.size() + next.inserted.size();
                size > last.inserted.capacity())
                last.inserted.reserve(size + size / 8);
            last.inserted.replace(next.offset - last.offset, next.removed.size(), next.inserted);
            if (last.removed == last.inserted)
                changes.pop_back();
            return;
        }
        if (next.offset <= lastEnd && nextEnd >= last.offset) {
            // Text the second removed on either side of the first's was there
            // before both.
            std::string removed;
            if (next.offset < last.offset)
                removed = next.removed.substr(0, last.offset - next.offset);
            removed += last.removed;
            if (nextEnd > lastEnd)
                removed += next.removed.substr(next.removed.size() - (nextEnd - lastEnd));
            std::string inserted;
            if (next.offset > last.offset)
                inserted = last.inserted.substr(0, next.offset - last.offset);
            inserted += next.inserted;
            if (nextEnd < lastEnd)
                inserted += last.inserted.substr(last.inserted.size() - (lastEnd - nextEnd));
            last = {std::min(last.offset, next.offset), std::move(removed), std::move(inserted)};
            if (last.removed == last.inserted)
                changes.pop_back();
            return;
        }
    }
    changes.push_back(next);
}

bool sameCells(const std::vector<CellEdit> &a, const std::vector<CellEdit> &b)
{
    return std::ranges::equal(a, b, [](const CellEdit &x, const CellEdit &y) {
        return x.row == y.row && x.col == y.col;
    });
}
} // namespace

CursorState CursorState::of(const RouteTable &table)
{
    return {.row = table.currentRow(),
            .col = table.currentCol(),
            .selectionRow = table.selectionRow(),
            .selectionCol = table.selectionCol(),
            .topRow = table.topRow(),
            .leftCol = table.leftCol()};
}

void CursorState::restore(RouteTable &table) const
{
    RouteTable::Batch batch(table);
    table.setCurrentCell(row, col);
    table.setSelectionEnd(selectionRow, selectionCol);
    table.setTopRow(topRow);
    table.setLeftCol(leftCol);
}

void RouteEdit::undo(RouteDocument &document) const
{
    RouteTable::Batch batch(document.table());
    for (const CellEdit &cell : cells)
        document.table().setCellText(cell.row, cell.col, cell.before);
    for (auto change = description.rbegin(); change != description.rend(); ++change)
        document.replaceDescription(change->offset, change->inserted.size(), change->removed);
    cursorBefore.restore(document.table());
}

void RouteEdit::redo(RouteDocument &document) const
{
    RouteTable::Batch batch(document.table());
    for (const CellEdit &cell : cells)
        document.table().setCellText(cell.row, cell.col, cell.after);
    for (const DescriptionSplice &change : description)
        document.replaceDescription(change.offset, change.removed.size(), change.inserted);
    cursorAfter.restore(document.table());
}

std::size_t RouteEdit::memorySize() const
{
    std::size_t size = sizeof(RouteEdit);
    for (const CellEdit &cell : cells)
        size += sizeof(CellEdit) + cell.before.size() + cell.after.size();
    for (const DescriptionSplice &splice : description)
        size += sizeof(DescriptionSplice) + splice.removed.size() + splice.inserted.size();
    return size;
}

void RouteEdit::append(const RouteEdit &next)
{
    for (const CellEdit &cell : next.cells) {
        const auto same = std::ranges::find_if(
            cells, [&cell](const CellEdit &c) { return c.row == cell.row && c.col == cell.col; });
        if (same == cells.end())
            cells.push_back(cell);
        else
            same->after = cell.after;
    }
    std::erase_if(cells, [](const CellEdit &cell) { return cell.before == cell.after; });
    for (const DescriptionSplice &change : next.description)
        joinDescription(description, change);
    cursorAfter = next.cursorAfter;
    serial = next.serial;
}

bool RouteEdit::continuesTyping(const RouteEdit &next) const
{
    if (!typing || !next.typing)
        return false;
    const bool describing = cells.empty() && next.cells.empty();
    const bool typingInCells = description.empty() && next.description.empty() && !cells.empty() &&
                               sameCells(cells, next.cells) && next.serial == serial + 1;
    return describing || typingInCells;
}

EditRecorder::EditRecorder(RouteDocument &document, Sink sink)
    : m_document(document), m_sink(std::move(sink)), m_cursor(CursorState::of(document.table()))
{
    RouteTable &table = m_document.table();
    table.addListener(this, [this](const TableChange &) { tableChanged(); });
    table.setWriteHook(
        [this](int row, int col, const std::string &before) { noteCell(row, col, before); });
    m_document.setDescriptionHook(
        [this](DescriptionSplice change) { noteDescription(std::move(change)); });
}

EditRecorder::~EditRecorder()
{
    m_document.setDescriptionHook({});
    m_document.table().setWriteHook({});
    m_document.table().removeListener(this);
}

void EditRecorder::undo(const RouteEdit &edit)
{
    Pause pause(*this);
    edit.undo(m_document);
}

void EditRecorder::redo(const RouteEdit &edit)
{
    Pause pause(*this);
    edit.redo(m_document);
}

void EditRecorder::noteCell(int row, int col, const std::string &before)
{
    if (m_pauseDepth > 0)
        return;
    // A cell written twice in one operation keeps the text it had before it.
    const bool seen = std::ranges::any_of(
        m_written, [row, col](const CellEdit &cell) { return cell.row == row && cell.col == col; });
    if (!seen)
        m_written.push_back({row, col, before, {}});
}

void EditRecorder::noteDescription(DescriptionSplice change)
{
    if (m_pauseDepth > 0)
        return;
    RouteEdit edit;
    edit.description.push_back(std::move(change));
    edit.cursorBefore = edit.cursorAfter = CursorState::of(m_document.table());
    edit.typing = true;
    add(std::move(edit));
}

void EditRecorder::tableChanged()
{
    const RouteTable &table = m_document.table();
    RouteEdit edit;
    edit.cells = std::exchange(m_written, {});
    for (CellEdit &cell : edit.cells)
        cell.after = table.cellText(cell.row, cell.col);
    std::erase_if(edit.cells, [](const CellEdit &cell) { return cell.before == cell.after; });
    edit.cursorBefore = m_cursor;
    edit.cursorAfter = m_cursor = CursorState::of(table);
    edit.serial = ++m_reports;
    if (edit.cells.empty())
        return;
    edit.typing = isKeystroke(edit, m_cursor);
    add(std::move(edit));
}

void EditRecorder::add(RouteEdit edit)
{
    if (m_groupDepth == 0) {
        m_sink(std::move(edit));
        return;
    }
    if (m_group)
        m_group->append(edit);
    else
        m_group = std::move(edit);
}

void EditRecorder::beginGroup()
{
    if (m_groupDepth++ == 0)
        m_groupCursor = CursorState::of(m_document.table());
}

void EditRecorder::endGroup()
{
    if (--m_groupDepth > 0 || !m_group)
        return;
    RouteEdit edit = std::move(*m_group);
    m_group.reset();
    edit.typing = false;
    edit.cursorBefore = m_groupCursor;
    edit.cursorAfter = CursorState::of(m_document.table());
    if (!edit.isEmpty())
        m_sink(std::move(edit));
}

} // namespace plenix
