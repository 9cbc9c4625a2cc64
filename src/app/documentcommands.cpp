// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentcommands.h"

#include "descriptionbox.h"
#include "dialogs.h"
#include "textcodec.h"

#include "project/project.h"
#include "project/projectfile.h"
#include "projectfileio.h"
#include "routedocument.h"
#include "routefile.h"
#include "routetable.h"

#include <QFileInfo>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QUndoStack>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
QString unstorableCharacterText(const QString &offending)
{
    const QList<uint> codePoints = offending.toUcs4();
    const uint codePoint = codePoints.isEmpty() ? 0 : codePoints.constFirst();
    return DocumentCommands::tr("the description holds the character \"%1\" (U+%2), which a "
                                "route file cannot store")
        .arg(offending)
        .arg(QString::number(codePoint, 16).toUpper(), 4, QLatin1Char('0'));
}
} // namespace

QString captionText(const RouteDocument &document)
{
    // Qt reads "[*]" in a window title as the place of the unsaved-changes
    // mark; doubled, it shows as typed, so a file named so keeps its name.
    // The file's name is in the file system's encoding, like its path.
    return pathText(document.caption()).replace(u"[*]"_s, u"[*][*]"_s) + u"[*]"_s;
}

DocumentCommands::DocumentCommands(RouteDocument &document, DescriptionEdit &description,
                                   QWidget &window)
    : m_document(document), m_description(description), m_window(window), m_history(document)
{
    m_description.setUndoRedoEnabled(false);
    // Connected after the box's own handler, which sets its marks first.
    m_boxEdits =
        QObject::connect(m_description.document(), &QTextDocument::contentsChange, &m_description,
                         [this](int position, int, int added) { followBox(position, added); });
    connect(&m_history, &EditHistory::modifiedChanged, this, &DocumentCommands::modifiedChanged);
    QObject::connect(&m_history, &EditHistory::descriptionRestored, &m_window,
                     [this] { showDescription(); });
    QObject::connect(&m_session, &ProjectSession::descriptionReplaced, &m_window,
                     [this] { showDescription(); });
    m_document.table().addListener(this, [this](const TableChange &change) {
        m_recovery.noteChange();
        if (change.refused)
            reportError(QLatin1StringView(TooLargeEditMessage));
    });
    connect(&m_history, &EditHistory::modifiedChanged, &m_recovery, &RecoveryCopy::setModified);
    m_watcher.setParent(this);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this,
            &DocumentCommands::fileChangedOnDisk);
    connect(&m_history.stack(), &QUndoStack::indexChanged, &m_recovery, &RecoveryCopy::noteChange);
}

RecoveryCopy::Snapshot DocumentCommands::recoverySnapshot()
{
    const QString path = m_document.isUntitled() ? QString() : pathText(m_document.path());
    if (m_session.isProject())
        return {projectFileText(m_session.project()), u"plenix"_s, path};
    return {m_document.fileText(), u"txt"_s, path};
}

bool DocumentCommands::restoreRecovery(const RecoveryCopy::LeftCopy &left)
{
    {
        // The copy is no file of the person's: not named, nor remembered.
        const QSignalBlocker quiet(this);
        if (!openPath(left.copy))
            return false;
        m_document.setPath(left.path.isEmpty() ? std::string() : documentPath(left.path));
        m_diskVersion = fileStamp(left.path);
    }
    RecoveryCopy::remove(left);
    m_history.markModified();
    showCaption();
    return true;
}

DocumentCommands::~DocumentCommands()
{
    m_document.table().removeListener(this);
    QObject::disconnect(m_boxEdits);
}

void DocumentCommands::newDocument()
{
    if (!mayDiscardChanges())
        return;
    m_history.runUnrecorded([this] { m_document.clear(); });
    m_session.closeProject();
    {
        QScopedValueRollback<bool> showing(m_showingDescription, true);
        m_description.clear();
    }
    m_wholeDescriptionNeeded = false;
    m_history.restart();
    watchFile();
    showCaption();
}

void DocumentCommands::watchFile()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_document.isUntitled())
        m_watcher.addPath(pathText(m_document.path()));
}

void DocumentCommands::fileChangedOnDisk(const QString &path)
{
    // A file replaced by a rename is no longer watched; its new self is.
    if (!m_watcher.files().contains(path) && QFileInfo::exists(path))
        m_watcher.addPath(path);
    const std::optional<FileStamp> now = fileStamp(path);
    if (!now || !m_diskVersion || *now == *m_diskVersion || now == m_declinedVersion)
        return;
    m_declinedVersion = now;
    const QString question =
        m_document.isModified()
            ? tr("%1 has changed on disk since it was opened. Reload it, and lose the changes "
                 "made here since the last save?")
            : tr("%1 has changed on disk since it was opened. Reload it?");
    if (Dialogs::instance().askYesNo(&m_window, u"plenix"_s,
                                     question.arg(pathText(m_document.name()))))
        openPath(path);
}

bool DocumentCommands::open()
{
    if (!mayDiscardChanges())
        return false;
    const QString path = chooseFile(false);
    return !path.isEmpty() && openPath(path);
}

bool DocumentCommands::openAfterAsking(const QString &path)
{
    return mayDiscardChanges() && openPath(path);
}

bool DocumentCommands::save()
{
    if (m_document.isUntitled())
        return saveAs();
    return writeDocument(pathText(m_document.path()));
}

bool DocumentCommands::saveAs()
{
    const QString path = chooseFile(true);
    return !path.isEmpty() && saveAsPath(path);
}

bool DocumentCommands::mayDiscardChanges()
{
    if (!m_document.isModified())
        return true;
    const QString name = m_document.isUntitled() ? tr("Untitled") : pathText(m_document.name());
    switch (Dialogs::instance().askSaveChanges(&m_window, name)) {
    case Dialogs::SaveChoice::Save:
        return save();
    case Dialogs::SaveChoice::Discard:
        return true;
    case Dialogs::SaveChoice::Cancel:
        break;
    }
    return false;
}

bool DocumentCommands::mayOverwrite(const QString &path)
{
    const std::optional<FileStamp> now = fileStamp(path);
    if (!now || !m_diskVersion || m_document.isUntitled() ||
        !isSameFile(path, pathText(m_document.path())) || *now == *m_diskVersion)
        return true;
    switch (Dialogs::instance().askChangedOnDisk(&m_window, pathText(m_document.name()))) {
    case Dialogs::DiskChoice::Overwrite:
        return true;
    case Dialogs::DiskChoice::Reload:
        openPath(path);
        return false;
    case Dialogs::DiskChoice::Cancel:
        break;
    }
    return false;
}

bool DocumentCommands::openPath(const QString &path)
{
    // A save of this file cut short put back first, and said.
    const SaveRecovery recovery = recoverInterruptedSave(path);
    if (recovery.error) {
        reportError(*recovery.error);
        return false;
    }
    if (recovery.notice)
        Dialogs::instance().information(&m_window, u"plenix"_s, *recovery.notice);
    const std::optional<FileStamp> version = fileStamp(path);
    std::optional<QString> error;
    if (isProjectPath(path)) {
        ProjectFileRead read = openProject(path);
        error = read.error;
        if (read.project) {
            m_history.runUnrecorded([&] {
                m_session.open(std::move(*read.project));
                m_document.setPath(documentPath(path));
            });
        }
    } else {
        m_history.runUnrecorded([&] { error = openDocument(m_document, path); });
        if (!error)
            m_session.closeProject();
    }
    if (error) {
        reportError(*error);
        return false;
    }
    m_history.restart();
    m_diskVersion = version;
    watchFile();
    showDescription();
    showCaption();
    Q_EMIT opened(pathText(m_document.path()));
    return true;
}

bool DocumentCommands::saveAsPath(const QString &path)
{
    if (!writeDocument(path))
        return false;
    showCaption();
    return true;
}

QString DocumentCommands::chooseFile(bool forSaving)
{
    Dialogs &dialogs = Dialogs::instance();
    // The format of a save follows the name's extension; a project is
    // offered its own format first.
    const QString routeFiles = tr("Text Files (*.txt)");
    const QString projectFiles = tr("Plenix Projects (*.plenix)");
    const QString saveFilters = m_session.isProject() ? projectFiles + u";;"_s + routeFiles
                                                      : routeFiles + u";;"_s + projectFiles;
    const QString openFilters =
        tr("Routes and Projects (*.txt *.plenix)") + u";;"_s + routeFiles + u";;"_s + projectFiles;
    const QString path =
        forSaving ? dialogs.saveFileName(&m_window, tr("Save As"), saveFilters, m_lastFileName)
                  : dialogs.openFileName(&m_window, tr("Open"), openFilters, m_lastFileName);
    if (!path.isEmpty())
        m_lastFileName = path;
    return path;
}

bool DocumentCommands::writeDocument(const QString &path)
{
    if (m_wholeDescriptionNeeded) {
        const std::optional<std::string> description = storedDescription();
        if (!description)
            return false;
        m_document.setDescription(*description);
    }
    if (!mayOverwrite(path))
        return false;
    // Saving ends at home, whether or not the write then succeeds.
    m_document.table().goHome();
    if (isProjectPath(path))
        return writeProject(path);
    if (m_session.isProject() && !m_session.project().fitsClassicRoute()) {
        reportError(tr("%1: a route file holds one route and nothing more, so this "
                       "project can only be saved as a project (.plenix)")
                        .arg(path));
        return false;
    }
    if (const std::optional<QString> error = saveDocument(m_document, path, m_writeStep)) {
        reportError(*error);
        return false;
    }
    m_session.closeProject();
    return finishSave();
}

bool DocumentCommands::writeProject(const QString &path)
{
    // The route of a classic document is named after the project's file
    // (names are UTF-8).
    if (!m_session.isProject())
        m_session.makeProject(QFileInfo(path).completeBaseName().toStdString());
    if (const std::optional<QString> error = saveProject(m_session.project(), path)) {
        reportError(*error);
        return false;
    }
    m_document.setPath(documentPath(path));
    return finishSave();
}

bool DocumentCommands::finishSave()
{
    m_history.markSaved();
    m_diskVersion = fileStamp(pathText(m_document.path()));
    watchFile();
    Q_EMIT saved(pathText(m_document.path()));
    return true;
}

// The description as the file stores it. A character the file's character set
// lacks is reported rather than silently replaced, and nothing is written.
std::optional<std::string> DocumentCommands::storedDescription()
{
    QString offending;
    const std::optional<std::string> bytes =
        fromQString(descriptionBoxText(m_description), &offending);
    if (!bytes) {
        reportError(unstorableCharacterText(offending));
        return std::nullopt;
    }
    return descriptionForFile(*bytes);
}

void DocumentCommands::followBox(int position, int added)
{
    if (m_showingDescription)
        return;
    m_recovery.noteChange();
    const int end = qMin(position + added, m_description.endPosition());
    const QString inserted = m_description.textBetween(position, end);
    std::optional<std::string> bytes;
    if (!m_wholeDescriptionNeeded)
        bytes = fromQString(inserted);
    if (!bytes) {
        takeWholeDescription();
        return;
    }
    const std::string stored = descriptionForFile(*bytes);
    // The text after the change is the same in the box and the document.
    const std::size_t start = m_description.storedOffset(position);
    const std::size_t newSize = m_description.storedOffset(m_description.endPosition());
    const std::size_t oldSize = m_document.description().size();
    if (newSize < start + stored.size() || oldSize + stored.size() < newSize) {
        takeWholeDescription();
        return;
    }
    const std::size_t following = newSize - start - stored.size();
    m_document.replaceDescription(start, oldSize - following - start, stored);
}

void DocumentCommands::takeWholeDescription()
{
    // A character the file cannot store still changes the route; Save
    // reports it.
    if (const std::optional<std::string> bytes = fromQString(descriptionBoxText(m_description))) {
        m_wholeDescriptionNeeded = false;
        m_document.setDescription(descriptionForFile(*bytes));
    } else {
        m_wholeDescriptionNeeded = true;
        m_history.markModified();
    }
}

void DocumentCommands::showDescription()
{
    QScopedValueRollback<bool> showing(m_showingDescription, true);
    m_description.showStored(m_document.description());
    m_wholeDescriptionNeeded = !isDescriptionAsSaved(m_document.description());
}

void DocumentCommands::showCaption()
{
    Q_EMIT captionChanged(captionText(m_document));
}

void DocumentCommands::reportError(const QString &description)
{
    Dialogs::instance().message(&m_window, u"plenix"_s, tr("Error: %1").arg(description));
}

} // namespace plenix
