// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow.h"

#include "calculation.h"
#include "calculation/darcy.h"
#include "descriptionbox.h"
#include "dialogs.h"
#include "documentcommands.h"
#include "fittings/rowfittings.h"
#include "layout.h"
#include "routeview.h"
#include "textcodec.h"
#include "usersettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
const QString ColumnWidthsKey = u"grid/columnWidths"_s;
const QString GeometryKey = u"window/geometry"_s;
const QString SplitKey = u"window/split"_s;
const QString ProfileKey = u"window/profile"_s;
const QString DistanceKey = u"window/profileByDistance"_s;

// "elbow90Action" for "Elbow 90 deg", "branchEntry45Action" for "Branch Entry
// 45 deg": the caption's words but the unit, run together.
QString fittingActionName(const Fitting &fitting)
{
    QStringList words = toQString(fitting.caption).split(u' ');
    words.removeAll(u"deg"_s);
    words.first() = words.first().toLower();
    return words.join(QString()) + u"Action"_s;
}
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    createWidgets();
    m_documents = std::make_unique<DocumentCommands>(m_document, *descriptionEdit, *this);
    connect(m_documents.get(), &DocumentCommands::captionChanged, this,
            &MainWindow::setWindowTitle);
    connect(m_documents.get(), &DocumentCommands::modifiedChanged, this,
            &MainWindow::setWindowModified);
    createProjectViews();
    createMenus();
    setUpWindow();
    restoreArrangement();
    m_document.table().addListener(this,
                                   [this](const TableChange &change) { followRoute(change); });
}

MainWindow::~MainWindow()
{
    m_document.table().removeListener(this);
    // The grid stops watching the table before either goes.
    delete routeView;
}

// ------------------------------------------------------------------ controls

void MainWindow::createWidgets()
{
    // The design controls fill the client area, or what the profile panel
    // below them leaves of it.
    auto *split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(u"split"_s);
    split->setChildrenCollapsible(false);
    setCentralWidget(split);
    m_client = new QWidget(split);
    m_client->setObjectName(u"client"_s);
    split->addWidget(m_client);
    createProfilePanel(split);

    descriptionLabel = new QLabel(m_client);
    descriptionLabel->setObjectName(u"descriptionLabel"_s);
    descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    descriptionEdit = new DescriptionEdit(m_client);
    descriptionEdit->setObjectName(u"descriptionEdit"_s);
    setUpDescriptionBox(*descriptionEdit);

    calculateButton = new QPushButton(tr("Calculate"), m_client);
    calculateButton->setObjectName(u"calculateButton"_s);
    connect(calculateButton, &QPushButton::clicked, this, &MainWindow::calculate);
    // Enter and Return press the button when it has the focus, as Space does.
    calculateButton->setAutoDefault(true);

    itemsLabel = new QLabel(m_client);
    itemsLabel->setObjectName(u"itemsLabel"_s);
    itemsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    routeView = new RouteView(m_document.table(), m_document.marks(), m_client);
    routeView->routeModel()->setFigureTips([this](int row) {
        return QString::fromStdString(
            darcy::figuresTipAt(m_document.table(), m_document.method(), row));
    });
    routeView->routeModel()->setFittingMarks(
        {[this](int row) {
             if (!m_documents->session().isProject())
                 return QString();
             return QString::fromStdString(fittings::rowTip(
                 m_document.table(), m_document.fittingRows(), row, m_document.method().units));
         },
         [this](int row) {
             const fittings::RowFitting *fitting =
                 fittings::currentFitting(m_document.table(), m_document.fittingRows(), row);
             return fitting != nullptr && (!fitting->clamps.empty() || !fitting->fault.empty());
         }});
    routeView->setObjectName(u"routeView"_s);
    connect(routeView, &RouteView::enterPressed, this, &MainWindow::calculate);
    connect(routeView, &RouteView::popUpRequested, this, &MainWindow::showPopUp);
    // The widths the user dragged the columns to, kept for the next start.
    QList<int> widths;
    for (const QVariant &width : userSettings().value(ColumnWidthsKey).toList())
        widths << width.toInt();
    routeView->setChosenWidths(widths);
    connect(routeView, &RouteView::chosenWidthsChanged, this, [this] {
        QVariantList chosen;
        for (const int width : routeView->chosenWidths())
            chosen << width;
        userSettings().setValue(ColumnWidthsKey, chosen);
    });

    arrangeControls();

    // Says why a command did nothing; it stands below the client area.
    statusBar()->setObjectName(u"statusBar"_s);

    // Grid, description, button; the labels take no focus. The grid has the
    // focus when the window first shows.
    setTabOrder(routeView, descriptionEdit);
    setTabOrder(descriptionEdit, calculateButton);
    routeView->setFocus();
}

QAction *MainWindow::addMenuAction(QMenu *menu, const char *name, const QString &caption,
                                   void (MainWindow::*handler)(), const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void MainWindow::addMenuSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void MainWindow::createMenus()
{
    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(u"fileMenu"_s);
    addMenuAction(fileMenu, "newAction", tr("&New"), &MainWindow::newRoute,
                  QKeySequence(Qt::CTRL | Qt::Key_N));
    addMenuAction(fileMenu, "openAction", tr("&Open..."), &MainWindow::openRoute,
                  QKeySequence(Qt::CTRL | Qt::Key_O));
    createRecentMenu(fileMenu);
    addMenuAction(fileMenu, "closeAction", tr("&Close"), &MainWindow::closeRoute);
    addMenuSeparator(fileMenu, "fileOpenSeparator");
    addMenuAction(fileMenu, "saveAction", tr("&Save"), &MainWindow::saveRoute,
                  QKeySequence(Qt::CTRL | Qt::Key_S));
    addMenuAction(fileMenu, "saveAsAction", tr("Save &As..."), &MainWindow::saveRouteAs);
    addMenuAction(fileMenu, "importRouteAction", tr("&Import Route..."), &MainWindow::importRoute);
    addMenuAction(fileMenu, "projectPropertiesAction", tr("Pro&ject Properties..."),
                  &MainWindow::editProjectProperties);
    addMenuAction(fileMenu, "projectSettingsAction", tr("Project S&ettings..."),
                  &MainWindow::editProjectSettings);
    addMenuSeparator(fileMenu, "fileSaveSeparator");
    addMenuAction(fileMenu, "printAction", tr("&Print"), &MainWindow::printWindow,
                  QKeySequence(Qt::CTRL | Qt::Key_P));
    addReportActions(fileMenu);
    addMenuAction(fileMenu, "exitAction", tr("E&xit"), &MainWindow::exitProgram);

    QMenu *editMenu = menuBar()->addMenu(tr("&Edit"));
    editMenu->setObjectName(u"editMenu"_s);
    createHistoryActions(editMenu);
    addMenuAction(editMenu, "clearDescriptionAction", tr("Clear &Description"),
                  &MainWindow::clearDescription);
    addMenuAction(editMenu, "clearListAction", tr("Clear &List"), &MainWindow::clearList);
    addMenuAction(editMenu, "insertRowAction", tr("&Insert Row at Selected Cell"),
                  &MainWindow::insertRow);
    addMenuSeparator(editMenu, "editSeparator1");
    addMenuAction(editMenu, "cutAction", tr("Cu&t"), &MainWindow::cutCells, QKeySequence::Cut);
    addMenuAction(editMenu, "copyAction", tr("&Copy"), &MainWindow::copyCells, QKeySequence::Copy);
    addMenuAction(editMenu, "pasteAction", tr("&Paste"), &MainWindow::pasteCells,
                  QKeySequence::Paste);
    addMenuAction(editMenu, "deleteRowsAction", tr("Delete R&ows"), &MainWindow::deleteRows,
                  QKeySequence(Qt::CTRL | Qt::Key_Minus));
    addMenuAction(editMenu, "moveRowsUpAction", tr("Mo&ve Rows Up"), &MainWindow::moveRowsUp,
                  QKeySequence(Qt::ALT | Qt::Key_Up));
    addMenuAction(editMenu, "moveRowsDownAction", tr("Move Rows Do&wn"), &MainWindow::moveRowsDown,
                  QKeySequence(Qt::ALT | Qt::Key_Down));

    createViewMenu();

    QMenu *toolsMenu = menuBar()->addMenu(tr("&Tools"));
    toolsMenu->setObjectName(u"toolsMenu"_s);
    addMenuAction(toolsMenu, "copyDescriptionAction", tr("Send &Description to Clipboard"),
                  &MainWindow::copyDescription);
    addMenuAction(toolsMenu, "copyListAction",
                  tr("Send &List to Clipboard  (for pasting into other programs)"),
                  &MainWindow::copyList);
    addMenuAction(toolsMenu, "copyFileNameAction", tr("Send &FileName to Clipboard"),
                  &MainWindow::copyFileName);
    addMenuSeparator(toolsMenu, "toolsSeparator");
    addMenuAction(toolsMenu, "sizeDuctsAction", tr("Si&ze Ducts..."), &MainWindow::sizeDucts);
    fittingLibraryAction =
        addMenuAction(toolsMenu, "fittingLibraryAction", tr("Fitting Li&brary..."),
                      &MainWindow::pickFitting, QKeySequence(Qt::CTRL | Qt::Key_K));
    fittingLibraryAction->setEnabled(false);
    fittingLibraryAction->setVisible(false);

    QMenu *optionsMenu = menuBar()->addMenu(tr("&Options"));
    optionsMenu->setObjectName(u"optionsMenu"_s);
    toolTipsAction = addMenuAction(optionsMenu, "toolTipsAction", tr("Show &ToolTips"),
                                   &MainWindow::toggleToolTips);
    toolTipsAction->setCheckable(true);
    toolTipsAction->setChecked(true);

    QMenu *helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(u"helpMenu"_s);
    addMenuAction(helpMenu, "helpTopicsAction", tr("&Help Topics"), &MainWindow::showHelpTopics);
    addMenuSeparator(helpMenu, "helpSeparator");
    addMenuAction(helpMenu, "aboutAction", tr("&About "), &MainWindow::showAbout);

    // The two pop-ups belong to the window but stand on no menu bar.
    fittingsMenu = new QMenu(tr("Fittings"), this);
    fittingsMenu->setObjectName(u"fittingsMenu"_s);
    // In a project the library comes first; the classic eight stay as the
    // quick path.
    fittingsMenu->addAction(fittingLibraryAction);
    addMenuSeparator(fittingsMenu, "librarySeparator");
    for (std::size_t item = 0; item < Fittings.size(); ++item) {
        const Fitting &fitting = Fittings[item];
        // The elbows come first; a line parts them from the branch entries.
        if (item > 0 && fitting.coefficient != Fittings[item - 1].coefficient)
            addMenuSeparator(fittingsMenu, "fittingsSeparator");
        QAction *action = fittingsMenu->addAction(toQString(fitting.caption));
        action->setObjectName(fittingActionName(fitting));
        connect(action, &QAction::triggered, this, [this, &fitting] { insertFitting(fitting); });
    }

    // The hint only tells; choosing it just closes the pop-up.
    hintMenu = new QMenu(tr("Hint"), this);
    hintMenu->setObjectName(u"hintMenu"_s);
    hintMenu->addAction(tr("Select a cell in the Loss Coef column for Insert Fitting feature."))
        ->setObjectName(u"hintAction"_s);
}

// ------------------------------------------------------------------ start-up

void MainWindow::setUpWindow()
{
    // The platform's default icon stands in the title bar.
    setWindowIcon(QIcon());
    setUpLabels();
    setToolTipsShown(true);
    placeWindow();
    showCaption();
}

void MainWindow::setUpLabels()
{
    itemsLabel->setText(tr("Duct\nRoute\nItem\nList"));
    descriptionLabel->setText(tr("Duct Route\nDescription"));
}

void MainWindow::placeWindow()
{
    const QScreen *display = screen();
    if (!display)
        return;
    const QRect area = display->geometry();
    const double dpiX = display->logicalDotsPerInchX();
    const double dpiY = display->logicalDotsPerInchY();
    // The window keeps whole pixels, so each value is read back as it was set.
    const auto readBack = [dpiX](float twips) {
        return pixelsToTwips(twipsToPixels(twips, dpiX), dpiX);
    };
    const Geometry window = windowPlacement(pixelsToTwips(area.width(), dpiX),
                                            pixelsToTwips(area.height(), dpiY), readBack);
    resize(twipsToPixels(window.width, dpiX), twipsToPixels(window.height, dpiY));
    move(area.x() + twipsToPixels(window.left, dpiX), area.y() + twipsToPixels(window.top, dpiY));
}

void MainWindow::showCaption()
{
    // Paths, and so the file's name, are in the file system's encoding.
    setWindowTitle(captionText(m_document));
}

// -------------------------------------------------------------------- layout

// The classic arrangement: the description's label, box and the Calculate
// button in a row above the grid, the grid's label at its left. Spare room
// is shared in the design's proportions, but no label or button ever gets
// less than it needs to show in full, whatever the font or the scale.
void MainWindow::arrangeControls()
{
    const auto pixels = [this](float twips) { return twipsToPixels(twips, logicalDpiX()); };
    const float gridRight = design::Grid.left + design::Grid.width;
    const float editRight = design::DescriptionBox.left + design::DescriptionBox.width;
    const float buttonRight = design::Button.left + design::Button.width;
    // The design's gaps are the stretches that share spare width.
    const auto share = [](float twips) { return static_cast<int>(twips); };

    auto *top = new QHBoxLayout;
    top->setSpacing(pixels(design::DescriptionBox.left - design::DescriptionLabel.left -
                           design::DescriptionLabel.width));
    top->addStretch(share(design::DescriptionLabel.left - design::Grid.left));
    top->addWidget(descriptionLabel);
    top->addWidget(descriptionEdit, share(design::DescriptionBox.width));
    top->addStretch(share(design::Button.left - editRight));
    top->addWidget(calculateButton, 0, Qt::AlignTop);
    top->addStretch(share(gridRight - buttonRight));

    // The box shows four lines and the button keeps its design size, unless
    // the font asks for more.
    descriptionEdit->setFixedHeight(
        std::max(pixels(design::DescriptionBox.height), descriptionLabel->sizeHint().height()));
    calculateButton->setMinimumSize(pixels(design::Button.width), pixels(design::Button.height));

    auto *grid = new QGridLayout(m_client);
    grid->setContentsMargins(pixels(design::ItemsLabel.left), pixels(design::DescriptionBox.top),
                             pixels(DesignClientWidth - gridRight),
                             pixels(DesignClientHeight - design::Grid.top - design::Grid.height));
    grid->setHorizontalSpacing(
        pixels(design::Grid.left - design::ItemsLabel.left - design::ItemsLabel.width));
    grid->setVerticalSpacing(
        pixels(design::Grid.top - design::DescriptionBox.top - design::DescriptionBox.height));
    grid->addLayout(top, 0, 1);
    grid->addWidget(itemsLabel, 1, 0, Qt::AlignVCenter);
    grid->addWidget(routeView, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
}

// ------------------------------------------------------------------ shutdown

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Exit and the close box alike offer to save unsaved changes first.
    if (!m_documents->mayDiscardChanges()) {
        event->ignore();
        return;
    }
    closeOtherWindows();
    storeArrangement();
    event->accept();
}

// The window's size and place, the split between the controls and the
// profile, whether the profile shows and its axis, as the user left them.
void MainWindow::storeArrangement()
{
    QSettings settings = userSettings();
    settings.setValue(GeometryKey, saveGeometry());
    settings.setValue(SplitKey, splitter()->saveState());
    settings.setValue(ProfileKey, profileAction->isChecked());
    settings.setValue(DistanceKey, distanceAction->isChecked());
}

void MainWindow::restoreArrangement()
{
    const QSettings settings = userSettings();
    restoreGeometry(settings.value(GeometryKey).toByteArray());
    // The profile first, which shows it at its first height, then the split
    // as it was left, once the window has its size: a split put back
    // before would be stretched again as the window is laid out.
    distanceAction->setChecked(settings.value(DistanceKey, false).toBool());
    profileAction->setChecked(settings.value(ProfileKey, false).toBool());
    QTimer::singleShot(0, this, [this, split = settings.value(SplitKey).toByteArray()] {
        splitter()->restoreState(split);
    });
}

QSplitter *MainWindow::splitter() const
{
    return static_cast<QSplitter *>(centralWidget());
}

void MainWindow::closeOtherWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto window = windows.crbegin(); window != windows.crend(); ++window) {
        if (*window != this && (*window)->isVisible())
            (*window)->close();
    }
}

void MainWindow::exitProgram()
{
    close();
}

// ------------------------------------------------------------- the grid

void MainWindow::calculate()
{
    // In a project, every route and the system's figures.
    const CalculationOutcome outcome = m_documents->session().calculate();
    // A fitting's tint may change with no text of its row changing.
    routeView->routeModel()->notifyMarksChanged({1, 1, RouteTable::DataRows, RouteTable::DataCols});
    if (!outcome.stopped) {
        redrawProfile();
        return;
    }
    QString text = toQString(outcome.message);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Dialogs::instance().information(this, tr("Plenix"), text);
}

void MainWindow::showPopUp(const QPoint &globalPos)
{
    // The pop-up follows the current cell, not the cell under the pointer.
    QMenu *popup =
        m_document.table().currentCol() == RouteTable::ColLossCoef ? fittingsMenu : hintMenu;
    popup->exec(globalPos);
}

// --------------------------------------------------------------- fittings

void MainWindow::pickFitting()
{
    RouteTable &table = m_document.table();
    const std::optional<FittingChoice> choice = Dialogs::instance().askFitting(
        this, {m_document.method().units,
               table.cellText(table.currentRow(), RouteTable::ColDescription)});
    if (!choice)
        return;
    m_documents->history().run(tr("Insert Fitting"), [&] {
        RouteTable::Batch batch(table);
        table.setCellText(table.currentRow(), RouteTable::ColDescription, choice->description);
        table.setCellText(table.currentRow(), RouteTable::ColLossCoef, choice->coefficient);
    });
}

void MainWindow::insertFitting(const Fitting &fitting)
{
    RouteTable &table = m_document.table();
    FittingOutcome outcome = FittingOutcome::NoDiameter;
    const auto insert = [&](const auto &...radius) {
        m_documents->history().run(tr("Insert Fitting"), [&] {
            outcome = plenix::insertFitting(table, fitting, radius...);
        });
    };
    if (!fitting.asksForRadius()) {
        insert();
    } else if (const float diameter = elbowDiameter(table); diameter != 0) {
        const std::optional<QString> reply =
            Dialogs::instance().askElbowRadius(this, toQString(fitting.value), diameter);
        // Cancel is an empty reply; either way the reply is kept as typed.
        m_elbowRadiusText = reply.value_or(QString());
        // A character the cells cannot hold makes no number.
        const std::optional<std::string> radius = fromQString(m_elbowRadiusText);
        if (!reply)
            outcome = FittingOutcome::Cancelled;
        else if (radius)
            insert(diameter, std::string_view(*radius));
        else
            outcome = FittingOutcome::NotANumber;
    }
    statusBar()->showMessage(toQString(fittingOutcomeText(outcome)));
}

} // namespace plenix
