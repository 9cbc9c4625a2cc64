// The File menu's document and print commands.
#include "frmmain.h"

void frmMain::mnuFileNew_Click()
{
}

void frmMain::mnuFileOpen_Click()
{
}

void frmMain::mnuFileClose_Click()
{
}

void frmMain::mnuFileSave_Click()
{
}

void frmMain::mnuFileSaveAs_Click()
{
}

void frmMain::mnuPrint_Click()
{
}
