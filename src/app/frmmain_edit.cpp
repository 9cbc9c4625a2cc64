// The Edit menu's row and list commands and the Tools menu's clipboard commands.
#include "frmmain.h"

void frmMain::mnuClearDescription_Click()
{
}

void frmMain::mnuClearList_Click()
{
}

void frmMain::mnuInsertRow_Click()
{
}

void frmMain::mnuToolsDescriptionClipboard_Click()
{
}

void frmMain::mnuToolsListClipboard_Click()
{
}

void frmMain::mnuToolsFileNameClipboard_Click()
{
}
