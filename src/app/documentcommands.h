// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edithistory.h"
#include "projectsession.h"
#include "recoverycopy.h"
#include "routefileio.h"

#include <QFileSystemWatcher>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace plenix {

class DescriptionEdit;

class RouteDocument;

// The main window's caption for a document.
QString captionText(const RouteDocument &document);

// New, Close, Open, Save and Save As of the main window's document, a route
// or a project (a file ending in .plenix) whose shown route it holds, which
// the description box mirrors: typing in the box changes the document's
// description, and a document opened or emptied shows in the box. The
// window's title is the caption. Every failure ends its command with one
// "Error: " box and leaves the document as it was: the route, the
// description, the caption and the current file change only after a file was
// read and understood, or written in full.
//
// The commands also keep the undo history (the box's own is off, so that
// the description's edits are steps of the one history), and say through
// their signals what the window shows of the document: its caption, its
// unsaved-changes mark and the files it was opened from and saved to. New,
// Open and a file opened by name ask before they discard unsaved changes, as
// Exit does through mayDiscardChanges().
class DocumentCommands final : public QObject
{
    Q_OBJECT

public:
    DocumentCommands(RouteDocument &document, DescriptionEdit &description, QWidget &window);
    ~DocumentCommands() override;
    Q_DISABLE_COPY_MOVE(DocumentCommands)

    EditHistory &history() { return m_history; }
    ProjectSession &session() { return m_session; }

    // New and Close are the same command.
    void newDocument();
    void closeDocument() { newDocument(); }
    // False when nothing was opened: cancelled, or failed and reported.
    bool open();
    bool save();
    bool saveAs();
    // Open of a file named elsewhere (the command line, the recent routes),
    // after asking about unsaved changes.
    bool openAfterAsking(const QString &path);

    // With unsaved changes, asks whether to save them first: true when they
    // were saved or may be discarded, false on Cancel or a failed Save.
    bool mayDiscardChanges();

    // Open and Save As of a name already chosen. False after a failure,
    // which has been reported.
    bool openPath(const QString &path);
    bool saveAsPath(const QString &path);

    // Opens a copy of unsaved work that a crash left, as the document it was
    // of, with its changes unsaved; the copy then goes.
    bool restoreRecovery(const RecoveryCopy::LeftCopy &left);
    // The copy of unsaved work written now and kept: the program is told
    // to end (SIGTERM, SIGHUP).
    void keepUnsavedWork() { m_recovery.writeAndKeep(); }

    // Shows the document's description in the box.
    void showDescription();

    // The name last chosen in either dialog; the next dialog offers it.
    QString lastFileName() const { return m_lastFileName; }
    // Lets a test make the write of the file fail.
    void setWriteStep(RouteFileWriteStep step) { m_writeStep = std::move(step); }

Q_SIGNALS:
    void captionChanged(const QString &caption);
    void modifiedChanged(bool modified);
    // The path of a file read into the document, or written from it.
    void opened(const QString &path);
    void saved(const QString &path);

private:
    QString chooseFile(bool forSaving);
    // False when the document's own file changed on disk since it was opened
    // or saved and the person chose not to overwrite it (or to reload it).
    bool mayOverwrite(const QString &path);
    // Watches the document's own file, to say at once when another program
    // changed it.
    void watchFile();
    void fileChangedOnDisk(const QString &path);
    bool writeDocument(const QString &path);
    bool writeProject(const QString &path);
    // After a write: nothing unsaved, and the file named.
    bool finishSave();
    RecoveryCopy::Snapshot recoverySnapshot();
    std::optional<std::string> storedDescription();
    void followBox(int position, int added);
    void takeWholeDescription();
    void showCaption();
    void reportError(const QString &description);

    RouteDocument &m_document;
    DescriptionEdit &m_description;
    QWidget &m_window;
    QString m_lastFileName;
    RouteFileWriteStep m_writeStep;
    QMetaObject::Connection m_boxEdits;
    EditHistory m_history;
    ProjectSession m_session{m_document, m_history};
    // The document's file as it was opened or last saved.
    std::optional<FileStamp> m_diskVersion;
    // The last version on disk that the person chose not to reload.
    std::optional<FileStamp> m_declinedVersion;
    QFileSystemWatcher m_watcher;
    RecoveryCopy m_recovery{[this] { return recoverySnapshot(); }};
    bool m_showingDescription = false;
    // The document's description is the box's text as a route file stores
    // it, so that an edit in the box is one change at an offset. It is not
    // while the box holds a character no route file can store, nor after
    // Open of a file whose line breaks are not all CR LF: every edit then
    // converts the whole text.
    bool m_wholeDescriptionNeeded = false;
};

// The end of the desktop session: with leave to ask, unsaved changes are
// asked about as Close asks, and Cancel keeps the session going. Session is
// a QSessionManager, or a stand-in with its three members.
template <typename Session> void askAtSessionEnd(Session &session, DocumentCommands &documents)
{
    // Without leave to ask, the session ends as the platform decides.
    if (!session.allowsInteraction())
        return;
    const bool mayEnd = documents.mayDiscardChanges();
    session.release();
    if (!mayEnd)
        session.cancel();
}

} // namespace plenix
