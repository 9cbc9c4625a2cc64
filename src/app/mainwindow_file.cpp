// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's document and print commands.
#include "mainwindow.h"

#include "dialogs.h"
#include "documentcommands.h"
#include "windowprinter.h"

#include <QFileInfo>

namespace plenix {

void MainWindow::newRoute()
{
    m_documents->newDocument();
    redrawProfile();
}

void MainWindow::openRoute()
{
    if (m_documents->open())
        redrawProfile();
}

bool MainWindow::openFile(const QString &path)
{
    if (!m_documents->openAfterAsking(path))
        return false;
    redrawProfile();
    return true;
}

void MainWindow::offerRecovery()
{
    for (const RecoveryCopy::LeftCopy &left : RecoveryCopy::leftCopies()) {
        const QString name = left.path.isEmpty() ? tr("Untitled") : QFileInfo(left.path).fileName();
        if (!Dialogs::instance().askYesNo(
                this, tr("Restore Unsaved Work"),
                tr("Plenix ended without saving the changes to %1. Restore them?").arg(name))) {
            RecoveryCopy::remove(left);
            continue;
        }
        if (m_documents->restoreRecovery(left))
            redrawProfile();
        return; // one document a window; any other copy waits for the next start
    }
}

void MainWindow::closeRoute()
{
    m_documents->closeDocument();
    redrawProfile();
}

void MainWindow::saveRoute()
{
    m_documents->save();
}

void MainWindow::saveRouteAs()
{
    m_documents->saveAs();
}

void MainWindow::printWindow()
{
    // The client area: the grid, the button, the labels and the description
    // box as they show, without the menu bar.
    printWidget(*m_client);
}

} // namespace plenix
