// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's row and list commands and the Tools menu's clipboard commands.
#include "mainwindow.h"

#include "clipboardcommands.h"
#include "descriptionbox.h"
#include "dialogs.h"
#include "documentcommands.h"
#include "textcodec.h"

#include "editing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

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

// Cut, Copy and Paste serve the description box when it has the focus, and
// the grid's selection otherwise.
void MainWindow::cutCells()
{
    if (descriptionEdit->hasFocus())
        return descriptionEdit->cut();
    copyCells();
    m_documents->history().run(tr("Cut"), [this] { deleteSelection(m_document.table()); });
}

void MainWindow::copyCells()
{
    if (descriptionEdit->hasFocus())
        return descriptionEdit->copy();
    setClipboardText(toQString(copiedText(m_document.table())));
}

void MainWindow::pasteCells()
{
    if (descriptionEdit->hasFocus())
        return descriptionEdit->paste();
    QString offending;
    const std::optional<std::string> text =
        fromQString(QGuiApplication::clipboard()->text(), &offending);
    if (!text) {
        Dialogs::instance().message(
            this, u"plenix"_s,
            tr("The clipboard holds \"%1\", which a route cannot store.").arg(offending));
        return;
    }
    PasteOutcome outcome = PasteOutcome::Empty;
    m_documents->history().run(tr("Paste"),
                               [&] { outcome = pasteText(m_document.table(), *text); });
    QString refusal;
    switch (outcome) {
    case PasteOutcome::Pasted:
    case PasteOutcome::Empty:
    case PasteOutcome::OverTextLimit: // the table has told of it
        return;
    case PasteOutcome::BeyondLastRow:
        refusal = tr("The clipboard's rows would reach past row %1: nothing was pasted.")
                      .arg(RouteTable::DataRows);
        break;
    case PasteOutcome::BeyondLastCol:
        refusal = tr("The clipboard's cells would reach past the last column: nothing was "
                     "pasted.");
        break;
    }
    Dialogs::instance().message(this, u"plenix"_s, refusal);
}

void MainWindow::deleteRows()
{
    m_documents->history().run(tr("Delete Rows"),
                               [this] { plenix::deleteRows(m_document.table()); });
}

void MainWindow::moveRowsUp()
{
    m_documents->history().run(tr("Move Rows Up"), [this] { moveRows(m_document.table(), -1); });
}

void MainWindow::moveRowsDown()
{
    m_documents->history().run(tr("Move Rows Down"), [this] { moveRows(m_document.table(), 1); });
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
