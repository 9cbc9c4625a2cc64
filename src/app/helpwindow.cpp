// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpwindow.h"

#include "dialogs.h"
#include "helpconfig.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
QString cannotShow(const QString &helpFile, const QString &reason)
{
    return HelpWindow::tr("The help file %1 cannot be shown: %2.").arg(helpFile, reason);
}
} // namespace

HelpWindow::HelpWindow(QWidget *owner)
    : QWidget(owner, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(u"helpWindow"_s);
    setWindowTitle(tr("Plenix Help"));
    m_browser->setObjectName(u"helpBrowser"_s);
    m_browser->setOpenExternalLinks(true);

    auto *contents = new QPushButton(tr("&Contents"), this);
    auto *back = new QPushButton(tr("&Back"), this);
    auto *close = new QPushButton(tr("C&lose"), this);
    contents->setObjectName(u"helpContents"_s);
    back->setObjectName(u"helpBack"_s);
    close->setObjectName(u"helpClose"_s);
    back->setEnabled(false);
    for (QPushButton *button : {contents, back, close})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(m_browser);

    connect(contents, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // A page of text wants a reading width, not the width of the main window.
    QSize size(760, 680);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::showContents(const QString &helpFile, QString &error)
{
    // The browser says nothing when it cannot load a page, so the file is
    // tried here first, where the reason can still be told.
    const QFileInfo info(helpFile);
    if (info.isDir()) {
        error = cannotShow(helpFile, tr("it is a folder, not a file"));
        return false;
    }
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = cannotShow(helpFile, file.errorString());
        return false;
    }
    file.close();

    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (m_browser->source() == url)
        m_browser->reload();
    else
        m_browser->setSource(url, QTextDocument::HtmlResource);
    // The contents page is the top of the document, wherever the reader was.
    m_browser->clearHistory();
    m_browser->verticalScrollBar()->setValue(0);
    error.clear();
    return true;
}

void showHelpContents(QWidget *owner, const QString &helpFile)
{
    if (helpFile.isEmpty()) {
        Dialogs::instance().information(owner, owner->window()->windowTitle(),
                                        HelpWindow::tr("Unable to display Help Contents. There "
                                                       "is no Help associated with this project."));
        return;
    }

    auto *window = owner->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
    const bool made = window == nullptr;
    if (made)
        window = new HelpWindow(owner);
    QString error;
    if (!window->showContents(helpFile, error)) {
        if (made)
            delete window;
        Dialogs::instance().message(owner, u"plenix"_s, error);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QString helpFilePath(const QString &configured, const QString &sourceCopy,
                     const QString &buildProgramDir, const QString &programDir)
{
    if (configured.isEmpty())
        return {};
    if (!sourceCopy.isEmpty() && !buildProgramDir.isEmpty() && !programDir.isEmpty()) {
        const QString build = QFileInfo(buildProgramDir).canonicalFilePath();
        if (!build.isEmpty() && build == QFileInfo(programDir).canonicalFilePath())
            return sourceCopy;
    }
    return configured;
}

QString helpFilePath()
{
    return helpFilePath(QStringLiteral(PLENIX_HELP_FILE), QStringLiteral(PLENIX_HELP_SOURCE_COPY),
                        QStringLiteral(PLENIX_BUILD_PROGRAM_DIR),
                        QCoreApplication::applicationDirPath());
}

} // namespace plenix
