#include "frmmain.h"

#include "calculation.h"
#include "dialogs.h"
#include "documentcommands.h"
#include "routegrid.h"
#include "textcodec.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <array>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    sbControlsSetup();
    m_documents = std::make_unique<DocumentCommands>(m_table, *txtDescription, m_document, *this);
    sbMenusSetup();
    Form_Load();
}

frmMain::~frmMain()
{
    // The grid stops watching the table before either goes.
    delete grdList;
}

// ------------------------------------------------------------------ controls

void frmMain::sbControlsSetup()
{
    m_client = new QWidget(this);
    m_client->setObjectName(u"client"_s);
    setCentralWidget(m_client);
    // The client area's size changes drive the proportional layout.
    m_client->installEventFilter(this);

    lblDescription = new QLabel(m_client);
    lblDescription->setObjectName(u"lblDescription"_s);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtDescription = new QPlainTextEdit(m_client);
    txtDescription->setObjectName(u"txtDescription"_s);
    txtDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box for the button instead of typing a TAB.
    txtDescription->setTabChangesFocus(true);

    cmdCalculate = new QPushButton(u"Calculate"_s, m_client);
    cmdCalculate->setObjectName(u"cmdCalculate"_s);
    connect(cmdCalculate, &QPushButton::clicked, this, &frmMain::cmdCalculate_Click);

    lblItems = new QLabel(m_client);
    lblItems->setObjectName(u"lblItems"_s);
    lblItems->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    grdList = new RouteGrid(m_table, m_client);
    grdList->setObjectName(u"grdList"_s);
    connect(grdList, &RouteGrid::enterPressed, this, &frmMain::grdList_EnterPressed);
    connect(grdList, &RouteGrid::rightButtonPressed, this, &frmMain::grdList_MouseDown);

    // Grid, description, button; the labels take no focus. The grid has the
    // focus when the window first shows.
    setTabOrder(grdList, txtDescription);
    setTabOrder(txtDescription, cmdCalculate);
    grdList->setFocus();
}

QAction *frmMain::fnMenuItem(QMenu *menu, const char *name, const QString &caption,
                             void (frmMain::*handler)(), const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void frmMain::sbMenuSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void frmMain::sbMenusSetup()
{
    QMenu *mnuFile = menuBar()->addMenu(u"&File"_s);
    mnuFile->setObjectName(u"mnuFile"_s);
    fnMenuItem(mnuFile, "mnuFileNew", u"&New"_s, &frmMain::mnuFileNew_Click,
               QKeySequence(Qt::CTRL | Qt::Key_N));
    fnMenuItem(mnuFile, "mnuFileOpen", u"&Open..."_s, &frmMain::mnuFileOpen_Click,
               QKeySequence(Qt::CTRL | Qt::Key_O));
    fnMenuItem(mnuFile, "mnuFileClose", u"&Close"_s, &frmMain::mnuFileClose_Click);
    sbMenuSeparator(mnuFile, "mnuFileBar0");
    fnMenuItem(mnuFile, "mnuFileSave", u"&Save"_s, &frmMain::mnuFileSave_Click,
               QKeySequence(Qt::CTRL | Qt::Key_S));
    fnMenuItem(mnuFile, "mnuFileSaveAs", u"Save &As..."_s, &frmMain::mnuFileSaveAs_Click);
    sbMenuSeparator(mnuFile, "mnuFileBar1");
    fnMenuItem(mnuFile, "mnuPrint", u"&Print"_s, &frmMain::mnuPrint_Click,
               QKeySequence(Qt::CTRL | Qt::Key_P));
    fnMenuItem(mnuFile, "mnuFileExit", u"E&xit"_s, &frmMain::mnuFileExit_Click);

    QMenu *mnuEdit = menuBar()->addMenu(u"&Edit"_s);
    mnuEdit->setObjectName(u"mnuEdit"_s);
    fnMenuItem(mnuEdit, "mnuClearDescription", u"Clear &Description"_s,
               &frmMain::mnuClearDescription_Click);
    fnMenuItem(mnuEdit, "mnuClearList", u"Clear &List"_s, &frmMain::mnuClearList_Click);
    fnMenuItem(mnuEdit, "mnuInsertRow", u"&Insert Row at Selected Cell"_s,
               &frmMain::mnuInsertRow_Click);

    QMenu *mnuTools = menuBar()->addMenu(u"&Tools"_s);
    mnuTools->setObjectName(u"mnuTools"_s);
    fnMenuItem(mnuTools, "mnuToolsDescriptionClipboard", u"Send &Description to Clipboard"_s,
               &frmMain::mnuToolsDescriptionClipboard_Click);
    fnMenuItem(mnuTools, "mnuToolsListClipboard",
               u"Send &List to Clipboard  (for pasting into other programs)"_s,
               &frmMain::mnuToolsListClipboard_Click);
    fnMenuItem(mnuTools, "mnuToolsFileNameClipboard", u"Send &FileName to Clipboard"_s,
               &frmMain::mnuToolsFileNameClipboard_Click);

    QMenu *mnuOptions = menuBar()->addMenu(u"&Options"_s);
    mnuOptions->setObjectName(u"mnuOptions"_s);
    mnuToggleToolTips = fnMenuItem(mnuOptions, "mnuToggleToolTips", u"Show &ToolTips"_s,
                                   &frmMain::mnuToggleToolTips_Click);
    mnuToggleToolTips->setCheckable(true);
    mnuToggleToolTips->setChecked(true);

    QMenu *mnuHelp = menuBar()->addMenu(u"&Help"_s);
    mnuHelp->setObjectName(u"mnuHelp"_s);
    fnMenuItem(mnuHelp, "mnuHelpTopics", u"&Help Topics"_s, &frmMain::mnuHelpTopics_Click);
    sbMenuSeparator(mnuHelp, "mnuFileBar2");
    fnMenuItem(mnuHelp, "mnuHelpAbout", u"&About "_s, &frmMain::mnuHelpAbout_Click);

    // The two pop-ups belong to the window but stand on no menu bar.
    mnuPopUp = new QMenu(u"MyPopupMenu"_s, this);
    mnuPopUp->setObjectName(u"mnuPopUp"_s);
    using Handler = void (frmMain::*)();
    constexpr std::array<Handler, plenix::FittingCommands.size()> fittingHandlers{
        &frmMain::mnuElbow90_Click,       &frmMain::mnuElbow60_Click,
        &frmMain::mnuElbow45_Click,       &frmMain::mnuElbow30_Click,
        &frmMain::mnuBranchEntry90_Click, &frmMain::mnuBranchEntry60_Click,
        &frmMain::mnuBranchEntry45_Click, &frmMain::mnuBranchEntry30_Click,
    };
    constexpr std::array<const char *, plenix::FittingCommands.size()> fittingNames{
        "mnuElbow90",       "mnuElbow60",       "mnuElbow45",       "mnuElbow30",
        "mnuBranchEntry90", "mnuBranchEntry60", "mnuBranchEntry45", "mnuBranchEntry30",
    };
    for (std::size_t item = 0; item < plenix::FittingCommands.size(); ++item) {
        const plenix::FittingCommand &command = plenix::FittingCommands[item];
        // The elbows come first; a line parts them from the branch entries.
        if (item > 0 && command.kind != plenix::FittingCommands[item - 1].kind)
            sbMenuSeparator(mnuPopUp, "mnuFileBar3");
        fnMenuItem(mnuPopUp, fittingNames[item], toQString(command.caption), fittingHandlers[item]);
    }

    mnuPopup2 = new QMenu(u"MyPopupMenu2"_s, this);
    mnuPopup2->setObjectName(u"mnuPopup2"_s);
    fnMenuItem(mnuPopup2, "mnuMsg",
               u"Select a cell in the Loss Coef column for Insert Fitting feature."_s,
               &frmMain::mnuMsg_Click);
}

// ------------------------------------------------------------------ start-up

void frmMain::Form_Load()
{
    // The platform's default icon stands in the title bar.
    setWindowIcon(QIcon());
    sbLabelsSetup();
    sbToolTipsSetup(true);
    // Taken while the window still has its design size, before it is resized.
    sbLayoutSetup();
    sbWindowSetup();
    m_table.sbGridSetup();
    m_document.CaptionPrefix = plenix::DefaultCaptionPrefix;
    sbCaptionShow();
}

void frmMain::sbLabelsSetup()
{
    lblItems->setText(u"Duct\nRoute\nItem\nList"_s);
    lblDescription->setText(u"Duct Route\nDescription"_s);
}

void frmMain::sbLayoutSetup()
{
    m_layout.clear();
    for (const plenix::DesignControl &design : plenix::DesignControls) {
        auto *control =
            m_client->findChild<QWidget *>(toQString(design.name), Qt::FindDirectChildrenOnly);
        if (control)
            m_layout.record(control, design.geometry, plenix::DesignClientWidth,
                            plenix::DesignClientHeight);
    }
}

void frmMain::sbWindowSetup()
{
    const QScreen *display = screen();
    if (!display)
        return;
    const QRect area = display->geometry();
    const double dpiX = display->logicalDotsPerInchX();
    const double dpiY = display->logicalDotsPerInchY();
    using plenix::fnPixelsToTwips;
    using plenix::fnTwipsToPixels;
    // The window keeps whole pixels, so each value is read back as it was set.
    const auto readBack = [dpiX](float twips) {
        return fnPixelsToTwips(fnTwipsToPixels(twips, dpiX), dpiX);
    };
    const plenix::Geometry window = plenix::fnWindowPlacement(
        fnPixelsToTwips(area.width(), dpiX), fnPixelsToTwips(area.height(), dpiY), readBack);
    resize(fnTwipsToPixels(window.width, dpiX), fnTwipsToPixels(window.height, dpiY));
    move(area.x() + fnTwipsToPixels(window.left, dpiX),
         area.y() + fnTwipsToPixels(window.top, dpiY));
}

void frmMain::sbCaptionShow()
{
    // Paths, and so the file's name, are in the file system's encoding.
    setWindowTitle(fnCaptionText(m_document));
}

// -------------------------------------------------------------------- layout

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Resize()
{
    m_layout.apply(m_client->size());
}

// ------------------------------------------------------------------ shutdown

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    // Closing is never refused, and nothing is asked or saved.
    event->accept();
}

void frmMain::Form_Unload()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto window = windows.crbegin(); window != windows.crend(); ++window) {
        if (*window != this && (*window)->isVisible())
            (*window)->close();
    }
}

void frmMain::mnuFileExit_Click()
{
    close();
}

// ------------------------------------------------------------- the grid

void frmMain::cmdCalculate_Click()
{
    sbCalculate();
}

void frmMain::grdList_EnterPressed()
{
    sbCalculate();
}

void frmMain::sbCalculate()
{
    const plenix::CalculationOutcome outcome = plenix::sbCalculate(m_table);
    if (!outcome.stopped)
        return;
    QString text = toQString(outcome.message);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Dialogs::instance().information(this, u"Plenix"_s, text);
}

void frmMain::grdList_MouseDown(const QPoint &globalPos)
{
    // The pop-up follows the current cell, not the cell under the pointer.
    QMenu *popup = m_table.currentCol() == plenix::RouteTable::ColLossCoef ? mnuPopUp : mnuPopup2;
    popup->exec(globalPos);
}

// --------------------------------------------------------------- fittings

void frmMain::sbFittingCommand(std::size_t item)
{
    const plenix::FittingCommand &command = plenix::FittingCommands[item];
    if (command.kind == plenix::FittingCommand::Kind::BranchEntry) {
        plenix::sbFittingInsert(m_table, command.coefficient, command.caption);
        return;
    }
    const float diameter = plenix::fnElbowDiameter(m_table);
    if (diameter == 0)
        return;
    const std::optional<QString> reply =
        Dialogs::instance().askText(this, u"plenix"_s, toQString(plenix::ElbowRadiusPrompt),
                                    toQString(plenix::ElbowRadiusDefault));
    // Cancel is an empty reply; either way the reply is kept as typed.
    m_elbowRadiusText = reply.value_or(QString());
    // A character the cells cannot hold makes no number.
    const std::optional<std::string> radius = fromQString(m_elbowRadiusText);
    if (!radius)
        return;
    const std::string coefficient = plenix::fnElbowCoefficient(command.angle, diameter, *radius);
    if (coefficient.empty())
        return;
    plenix::sbFittingInsert(m_table, coefficient,
                            plenix::fnElbowDescription(command.angle, *radius));
}

void frmMain::mnuElbow90_Click()
{
    sbFittingCommand(0);
}

void frmMain::mnuElbow60_Click()
{
    sbFittingCommand(1);
}

void frmMain::mnuElbow45_Click()
{
    sbFittingCommand(2);
}

void frmMain::mnuElbow30_Click()
{
    sbFittingCommand(3);
}

void frmMain::mnuBranchEntry90_Click()
{
    sbFittingCommand(4);
}

void frmMain::mnuBranchEntry60_Click()
{
    sbFittingCommand(5);
}

void frmMain::mnuBranchEntry45_Click()
{
    sbFittingCommand(6);
}

void frmMain::mnuBranchEntry30_Click()
{
    sbFittingCommand(7);
}

void frmMain::mnuMsg_Click()
{
    // The hint only tells; choosing it just closes the pop-up.
}
