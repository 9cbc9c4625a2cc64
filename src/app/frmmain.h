#pragma once

#include "document.h"
#include "fittings.h"
#include "layouttable.h"
#include "routetable.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QString>

#include <cstddef>
#include <memory>

class DocumentCommands;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class RouteGrid;

// The main window: a coordinator. It owns the route table, the document
// state, the last elbow radius reply and the layout table for its whole life,
// and turns menu choices, button clicks, grid keys and mouse presses into
// calls of the core, whose results the widgets show. Every rule of arithmetic
// and text format lives in the core; the grid view, the layout table and the
// dialog seam are their own classes.
//
// The command handlers are grouped by menu: frmmain.cpp holds start-up,
// layout, the grid's events, Calculate, the fittings pop-up and shutdown;
// frmmain_file.cpp the File menu; frmmain_edit.cpp the Edit and Tools menus;
// frmmain_help.cpp the Options and Help menus.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;
    Q_DISABLE_COPY_MOVE(frmMain)

    // Switches the three tooltips and the check mark of Options > Show ToolTips.
    void sbToolTipsSetup(bool checked);

    plenix::RouteTable &routeTable() { return m_table; }
    const plenix::DocumentState &document() const { return m_document; }
    // The last reply to the elbow radius prompt, exactly as typed.
    const QString &elbowRadiusText() const { return m_elbowRadiusText; }
    const LayoutTable &layoutTable() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // File
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuPrint_Click();
    void mnuFileExit_Click();
    // Edit
    void mnuClearDescription_Click();
    void mnuClearList_Click();
    void mnuInsertRow_Click();
    // Tools
    void mnuToolsDescriptionClipboard_Click();
    void mnuToolsListClipboard_Click();
    void mnuToolsFileNameClipboard_Click();
    // Options and Help
    void mnuToggleToolTips_Click();
    void mnuHelpTopics_Click();
    void mnuHelpAbout_Click();
    // The fittings pop-up and the hint pop-up
    void mnuElbow90_Click();
    void mnuElbow60_Click();
    void mnuElbow45_Click();
    void mnuElbow30_Click();
    void mnuBranchEntry90_Click();
    void mnuBranchEntry60_Click();
    void mnuBranchEntry45_Click();
    void mnuBranchEntry30_Click();
    void mnuMsg_Click();
    // Controls
    void cmdCalculate_Click();
    void grdList_EnterPressed();
    void grdList_MouseDown(const QPoint &globalPos);

private:
    void sbControlsSetup();
    void sbMenusSetup();
    QAction *fnMenuItem(QMenu *menu, const char *name, const QString &caption,
                        void (frmMain::*handler)(), const QKeySequence &shortcut = {});
    void sbMenuSeparator(QMenu *menu, const char *name);

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void sbLabelsSetup();
    void sbLayoutSetup();
    void sbWindowSetup();

    // Runs Calculate as the button and the Enter key do.
    void sbCalculate();
    // Runs the fitting command of the pop-up's item.
    void sbFittingCommand(std::size_t item);
    void sbCaptionShow();

    // The window's data.
    plenix::RouteTable m_table;
    plenix::DocumentState m_document;
    QString m_elbowRadiusText;
    LayoutTable m_layout;
    // New, Open, Close, Save and Save As over the table, the description box
    // and the document state; made once the description box exists.
    std::unique_ptr<DocumentCommands> m_documents;

    // Controls.
    QWidget *m_client = nullptr;
    RouteGrid *grdList = nullptr;
    QPushButton *cmdCalculate = nullptr;
    QPlainTextEdit *txtDescription = nullptr;
    QLabel *lblItems = nullptr;
    QLabel *lblDescription = nullptr;

    // Menus; the two pop-ups never stand on the menu bar.
    QAction *mnuToggleToolTips = nullptr;
    QMenu *mnuPopUp = nullptr;
    QMenu *mnuPopup2 = nullptr;
};
