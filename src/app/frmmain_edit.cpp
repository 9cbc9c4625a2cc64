// The Edit menu's row and list commands and the Tools menu's clipboard commands.
#include "frmmain.h"

#include "clipboardcommands.h"

#include "editing.h"

#include <QPlainTextEdit>

void frmMain::mnuClearDescription_Click()
{
    txtDescription->clear();
}

void frmMain::mnuClearList_Click()
{
    m_table.sbGridClear();
}

void frmMain::mnuInsertRow_Click()
{
    plenix::sbInsertRow(m_table);
}

void frmMain::mnuToolsDescriptionClipboard_Click()
{
    sbClipboardSetText(fnDescriptionClipboardText(*txtDescription));
}

void frmMain::mnuToolsListClipboard_Click()
{
    sbClipboardSetText(fnListClipboardText(m_table));
}

void frmMain::mnuToolsFileNameClipboard_Click()
{
    sbClipboardSetText(fnFileNameClipboardText(m_document));
}
