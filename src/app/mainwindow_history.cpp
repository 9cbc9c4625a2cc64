// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and Redo of the Edit menu, File > Recent Routes and the end of the
// desktop session.
#include "mainwindow.h"

#include "descriptionbox.h"
#include "dialogs.h"
#include "documentcommands.h"
#include "edithistory.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace plenix {

void MainWindow::createHistoryActions(QMenu *editMenu)
{
    QUndoStack &stack = m_documents->history().stack();
    undoAction = addMenuAction(editMenu, "undoAction", tr("&Undo"), &MainWindow::undo);
    redoAction = addMenuAction(editMenu, "redoAction", tr("&Redo"), &MainWindow::redo);
    // Set one by one: the platform's standard Redo may lack one of the two.
    undoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    undoAction->setEnabled(stack.canUndo());
    redoAction->setEnabled(stack.canRedo());
    connect(&stack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    // The Edit menu names the step: "Undo Calculate", "Redo Typing".
    connect(&stack, &QUndoStack::undoTextChanged, undoAction, [this](const QString &step) {
        undoAction->setText(step.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(step));
    });
    connect(&stack, &QUndoStack::redoTextChanged, redoAction, [this](const QString &step) {
        redoAction->setText(step.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(step));
    });
    connect(&m_documents->history(), &EditHistory::oldestStepsDropped, this, [this] {
        statusBar()->showMessage(
            tr("The oldest undo steps were dropped to keep the undo history within %1 MiB.")
                .arg(EditHistory::DefaultMemoryBudget >> 20));
    });
    addMenuSeparator(editMenu, "editSeparator0");
    leaveKeysToWindow(*descriptionEdit, undoAction->shortcuts() + redoAction->shortcuts());

    connect(qApp, &QGuiApplication::commitDataRequest, this, &MainWindow::commitSession);
}

void MainWindow::undo()
{
    m_documents->history().stack().undo();
}

void MainWindow::redo()
{
    m_documents->history().stack().redo();
}

void MainWindow::createRecentMenu(QMenu *fileMenu)
{
    recentMenu = fileMenu->addMenu(tr("Recent &Routes"));
    recentMenu->setObjectName(u"recentMenu"_s);
    connect(recentMenu, &QMenu::aboutToShow, this, &MainWindow::showRecentRoutes);
    const auto remember = [this](const QString &path) {
        m_recent.add(path);
        showRecentRoutes();
    };
    connect(m_documents.get(), &DocumentCommands::opened, this, remember);
    connect(m_documents.get(), &DocumentCommands::saved, this, remember);
    showRecentRoutes();
}

void MainWindow::showRecentRoutes()
{
    recentMenu->clear();
    const QStringList paths = m_recent.paths();
    const QStringList captions = recentCaptions(paths);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        const QString caption = QString(captions.at(i)).replace(u'&', u"&&"_s);
        QAction *item = recentMenu->addAction(u"&%1 %2"_s.arg(i + 1).arg(caption));
        item->setObjectName(u"recentAction%1"_s.arg(i + 1));
        item->setToolTip(path);
        connect(item, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    recentMenu->setEnabled(!paths.isEmpty());
}

void MainWindow::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_recent.remove(path);
        showRecentRoutes();
        Dialogs::instance().message(
            this, u"plenix"_s,
            tr("The route %1 no longer exists; it has been taken off the recent routes.")
                .arg(path));
        return;
    }
    if (m_documents->openAfterAsking(path))
        redrawProfile();
}

void MainWindow::commitSession(QSessionManager &session)
{
    askAtSessionEnd(session, *m_documents);
}

} // namespace plenix
