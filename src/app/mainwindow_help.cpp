// SPDX-License-Identifier: GPL-3.0-or-later
// The Options menu's tooltip switch and the Help menu.
#include "mainwindow.h"

#include "aboutdialog.h"
#include "descriptionbox.h"
#include "helpwindow.h"
#include "routeview.h"

#include <QAction>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace plenix {

void MainWindow::setToolTipsShown(bool checked)
{
    toolTipsAction->setChecked(checked);
    if (checked) {
        routeView->setToolTip(
            u" Enter:   Flow, Dia;   Length or Loss Coef;   Qty and Description are optional "_s);
        calculateButton->setToolTip(tr(" Determines: SP , VP, Vel "));
        descriptionEdit->setToolTip(tr(" Route description is optional "));
    } else {
        routeView->setToolTip(QString());
        calculateButton->setToolTip(QString());
        descriptionEdit->setToolTip(QString());
    }
}

void MainWindow::toggleToolTips()
{
    // The menu item has already flipped its own check mark.
    setToolTipsShown(toolTipsAction->isChecked());
}

void MainWindow::showHelpTopics()
{
    showHelpContents(this, helpFilePath());
}

void MainWindow::showAbout()
{
    // Modal over this window, which takes no input until the dialog closes.
    AboutDialog dialog(this);
    dialog.exec();
}

} // namespace plenix
