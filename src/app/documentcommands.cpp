#include "documentcommands.h"

#include "descriptionbox.h"
#include "dialogs.h"
#include "textcodec.h"

#include "document.h"
#include "routefile.h"
#include "routetable.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QWidget>

namespace {
const QString RouteFileFilter = QStringLiteral("Text Files (*.txt)");

std::string encodedPath(const QString &path)
{
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

QString decodedPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString unstorableCharacterText(const QString &offending)
{
    const QList<uint> codePoints = offending.toUcs4();
    const uint codePoint = codePoints.isEmpty() ? 0 : codePoints.constFirst();
    return QStringLiteral("the description holds the character \"%1\" (U+%2), which a route file "
                          "cannot store")
        .arg(offending)
        .arg(QString::number(codePoint, 16).toUpper(), 4, QLatin1Char('0'));
}
} // namespace

QString fnCaptionText(const plenix::DocumentState &state)
{
    // Qt reads "[*]" in a window title as the unsaved-changes mark and drops
    // it; doubled, it shows as typed, so a file named so keeps its name.
    return decodedPath(state.caption()).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

DocumentCommands::DocumentCommands(plenix::RouteTable &table, QPlainTextEdit &description,
                                   plenix::DocumentState &state, QWidget &window)
    : m_table(table), m_description(description), m_state(state), m_window(window)
{
}

void DocumentCommands::sbNew()
{
    m_table.sbGridClear();
    m_description.clear();
    m_state.sbUntitled();
    sbShowCaption();
}

void DocumentCommands::sbOpen()
{
    const QString path = fnChooseFile(false);
    if (!path.isEmpty())
        fnOpenPath(path);
}

void DocumentCommands::sbSave()
{
    if (m_state.isUntitled()) {
        sbSaveAs();
        return;
    }
    fnWriteDocument(decodedPath(m_state.DocPath));
}

void DocumentCommands::sbSaveAs()
{
    const QString path = fnChooseFile(true);
    if (!path.isEmpty())
        fnSaveAsPath(path);
}

bool DocumentCommands::fnOpenPath(const QString &path)
{
    const RouteFileRead file = fnReadRouteFile(path);
    if (file.error) {
        sbReportError(*file.error);
        return false;
    }
    std::string docText = file.bytes.toStdString();
    const std::optional<std::string> description = plenix::sbRouteUnpack(m_table, docText);
    if (!description) {
        sbReportError(toQString(plenix::NotARouteFileMessage));
        return false;
    }
    m_description.setPlainText(toQString(plenix::fnDescriptionForBox(*description)));
    m_state.DocText = std::move(docText);
    m_state.sbNamed(encodedPath(path));
    sbShowCaption();
    return true;
}

bool DocumentCommands::fnSaveAsPath(const QString &path)
{
    if (!fnWriteDocument(path))
        return false;
    m_state.sbNamed(encodedPath(path));
    sbShowCaption();
    return true;
}

QString DocumentCommands::fnChooseFile(bool forSaving)
{
    Dialogs &dialogs = Dialogs::instance();
    const QString path = forSaving ? dialogs.saveFileName(&m_window, QStringLiteral("Save As"),
                                                          RouteFileFilter, m_lastFileName)
                                   : dialogs.openFileName(&m_window, QStringLiteral("Open"),
                                                          RouteFileFilter, m_lastFileName);
    if (!path.isEmpty())
        m_lastFileName = path;
    return path;
}

bool DocumentCommands::fnWriteDocument(const QString &path)
{
    const std::optional<std::string> description = fnStoredDescription();
    if (!description)
        return false;
    std::string docText = plenix::sbRoutePack(m_table, *description);
    const std::optional<QString> error = fnWriteRouteFile(
        path, QByteArrayView(docText.data(), static_cast<qsizetype>(docText.size())), m_writeStep);
    if (error) {
        sbReportError(*error);
        return false;
    }
    m_state.DocText = std::move(docText);
    return true;
}

// The description as the file stores it. A character the file's character set
// lacks is reported rather than silently replaced, and nothing is written.
std::optional<std::string> DocumentCommands::fnStoredDescription()
{
    QString offending;
    const std::optional<std::string> bytes =
        fromQString(fnDescriptionBoxText(m_description), &offending);
    if (!bytes) {
        sbReportError(unstorableCharacterText(offending));
        return std::nullopt;
    }
    return plenix::fnDescriptionForFile(*bytes);
}

void DocumentCommands::sbShowCaption()
{
    m_window.setWindowTitle(fnCaptionText(m_state));
}

void DocumentCommands::sbReportError(const QString &description)
{
    Dialogs::instance().message(&m_window, QStringLiteral("plenix"),
                                QStringLiteral("Error: ") + description);
}
