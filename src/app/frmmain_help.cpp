// The Options menu's tooltip switch and the Help menu.
#include "frmmain.h"

#include "frmabout.h"
#include "helpwindow.h"
#include "routegrid.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

void frmMain::sbToolTipsSetup(bool checked)
{
    mnuToggleToolTips->setChecked(checked);
    if (checked) {
        grdList->setToolTip(
            u" Enter:   Flow, Dia;   Length or Loss Coef;   Qty and Description are optional "_s);
        cmdCalculate->setToolTip(u" Determines: SP , VP, Vel "_s);
        txtDescription->setToolTip(u" Route description is optional "_s);
    } else {
        grdList->setToolTip(QString());
        cmdCalculate->setToolTip(QString());
        txtDescription->setToolTip(QString());
    }
}

void frmMain::mnuToggleToolTips_Click()
{
    // The menu item has already flipped its own check mark.
    sbToolTipsSetup(mnuToggleToolTips->isChecked());
}

void frmMain::mnuHelpTopics_Click()
{
    sbHelpContentsShow(this, fnHelpFile());
}

void frmMain::mnuHelpAbout_Click()
{
    // Modal over this window, which takes no input until the dialog closes.
    frmAbout dialog(this);
    dialog.exec();
}
