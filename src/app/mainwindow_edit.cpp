// The Edit menu's row and list commands and the Tools menu's clipboard commands.
#include "mainwindow.h"

#include "clipboardcommands.h"

#include "editing.h"

#include <QPlainTextEdit>

void MainWindow::clearDescription()
{
    descriptionEdit->clear();
}

void MainWindow::clearList()
{
    m_document.table().clear();
}

void MainWindow::insertRow()
{
    plenix::insertRow(m_document.table());
}

void MainWindow::copyDescription()
{
    setClipboardText(descriptionClipboardText(*descriptionEdit));
}

void MainWindow::copyList()
{
    setClipboardText(listClipboardText(m_document.table()));
    m_document.table().goHome();
}

void MainWindow::copyFileName()
{
    setClipboardText(fileNameClipboardText(m_document));
}
