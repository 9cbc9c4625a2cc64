#pragma once

#include "routefileio.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <string>

class QPlainTextEdit;
class QWidget;

namespace plenix {
class RouteTable;
struct DocumentState;
} // namespace plenix

// The main window's caption for a document state.
QString captionText(const plenix::DocumentState &state);

// New, Close, Open, Save and Save As over the main window's route table,
// description box and document state. The window's title is the caption.
// Every failure ends its command with one "Error: " box and leaves the
// document as it was: the route, the description, the caption and the
// current file change only after a file was read and understood, or written
// in full.
class DocumentCommands final
{
public:
    DocumentCommands(plenix::RouteTable &table, QPlainTextEdit &description,
                     plenix::DocumentState &state, QWidget &window);
    Q_DISABLE_COPY_MOVE(DocumentCommands)

    // New and Close are the same command.
    void newDocument();
    void closeDocument() { newDocument(); }
    void open();
    void save();
    void saveAs();

    // Open and Save As of a name already chosen. False after a failure,
    // which has been reported.
    bool openPath(const QString &path);
    bool saveAsPath(const QString &path);

    // The name last chosen in either dialog; the next dialog offers it.
    QString lastFileName() const { return m_lastFileName; }
    // Lets a test make the write of the file fail.
    void setWriteStep(RouteFileWriteStep step) { m_writeStep = std::move(step); }

private:
    QString chooseFile(bool forSaving);
    bool writeDocument(const QString &path);
    std::optional<std::string> storedDescription();
    void showCaption();
    void reportError(const QString &description);

    plenix::RouteTable &m_table;
    QPlainTextEdit &m_description;
    plenix::DocumentState &m_state;
    QWidget &m_window;
    QString m_lastFileName;
    RouteFileWriteStep m_writeStep;
};
