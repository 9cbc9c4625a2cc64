// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's row and list commands and the Tools menu's clipboard commands.
#include "mainwindow.h"

#include "clipboardcommands.h"
#include "descriptionbox.h"
#include "documentcommands.h"

#include "editing.h"

namespace plenix {

void MainWindow::clearDescription()
{
    // One step of its own, not joined to the typing before it.
    m_documents->history().run(tr("Clear Description"), [this] { descriptionEdit->clear(); });
}

void MainWindow::clearList()
{
    m_documents->history().run(tr("Clear List"), [this] { m_document.table().clear(); });
}

void MainWindow::insertRow()
{
    m_documents->history().run(tr("Insert Row"), [this] { plenix::insertRow(m_document.table()); });
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

} // namespace plenix
