#include "editing.h"

namespace plenix {

namespace {
bool acceptedAnywhere(char32_t code)
{
    // 89 ends the range: capital Z goes into "Description" only, like every
    // small letter. The full stop stands apart from its neighbours.
    return (code >= 48 && code <= 89) || code == 46;
}

bool acceptedInDescription(char32_t code)
{
    return (code >= 32 && code <= 45) || code == 47 || (code >= 90 && code <= 126);
}
} // namespace

bool fnCharAccepted(char32_t code, int selectionEndCol)
{
    if (acceptedAnywhere(code))
        return true;
    return selectionEndCol == RouteTable::ColDescription && acceptedInDescription(code);
}

void sbTypeChar(RouteTable &table, char32_t code)
{
    if (code == BackspaceCode) {
        const std::string &text = table.CurrentText();
        if (!text.empty())
            table.setCurrentText(std::string_view(text).substr(0, text.size() - 1));
        return;
    }
    if (!fnCharAccepted(code, table.selectionCol()))
        return;
    std::string text = table.CurrentText();
    text += static_cast<char>(code);
    table.setCurrentText(text);
}

void sbDeleteSelection(RouteTable &table)
{
    table.setCurrentText("");
}

void sbInsertRow(RouteTable &table)
{
    RouteTable::Batch batch(table);
    const Int16 selected = table.currentRow();
    const Int16 lastUsed = table.fnLastUsedRow(selected);
    const int count = lastUsed - selected + 1;
    if (count >= 1 && selected + count <= RouteTable::DataRows) {
        table.sbRowsSelect(selected, lastUsed);
        const std::string moved = table.BlockText();
        table.setBlockText(std::string(RouteTable::DataCols, '\t'));
        table.sbRowsSelect(static_cast<Int16>(selected + 1), static_cast<Int16>(lastUsed + 1));
        table.setBlockText(moved);
    }
    table.sbGridHome();
}

std::string fnListText(RouteTable &table)
{
    RouteTable::Batch batch(table);
    std::string text = table.HeaderLine();
    if (const Int16 lastRow = table.fnLastUsedRow(1); lastRow >= 1) {
        table.sbRowsSelect(1, lastRow);
        text += table.BlockText();
    }
    table.sbGridHome();
    return text;
}

} // namespace plenix
