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
    m_table.clear();
}

void MainWindow::insertRow()
{
    plenix::insertRow(m_table);
}

void MainWindow::copyDescription()
{
    setClipboardText(descriptionClipboardText(*descriptionEdit));
}

void MainWindow::copyList()
{
    setClipboardText(listClipboardText(m_table));
}

void MainWindow::copyFileName()
{
    setClipboardText(fileNameClipboardText(m_document));
}
