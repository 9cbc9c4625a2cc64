// The File menu's document and print commands.
#include "frmmain.h"

#include "documentcommands.h"
#include "windowprinter.h"

void frmMain::mnuFileNew_Click()
{
    m_documents->sbNew();
}

void frmMain::mnuFileOpen_Click()
{
    m_documents->sbOpen();
}

void frmMain::mnuFileClose_Click()
{
    m_documents->sbClose();
}

void frmMain::mnuFileSave_Click()
{
    m_documents->sbSave();
}

void frmMain::mnuFileSaveAs_Click()
{
    m_documents->sbSaveAs();
}

void frmMain::mnuPrint_Click()
{
    // The client area: the grid, the button, the labels and the description
    // box as they show, without the menu bar.
    sbPrintWindow(*m_client);
}
