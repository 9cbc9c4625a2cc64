// The File menu's document and print commands.
#include "mainwindow.h"

#include "documentcommands.h"
#include "windowprinter.h"

void MainWindow::newRoute()
{
    m_documents->newDocument();
    resultsRefreshed();
}

void MainWindow::openRoute()
{
    if (m_documents->open())
        resultsRefreshed();
}

void MainWindow::openFile(const QString &path)
{
    m_documents->openPath(path);
}

void MainWindow::closeRoute()
{
    m_documents->closeDocument();
    resultsRefreshed();
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
