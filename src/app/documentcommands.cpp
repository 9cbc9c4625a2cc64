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

QString captionText(const plenix::DocumentState &state)
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

void DocumentCommands::newDocument()
{
    m_table.clear();
    m_description.clear();
    m_state.makeUntitled();
    showCaption();
}

void DocumentCommands::open()
{
    const QString path = chooseFile(false);
    if (!path.isEmpty())
        openPath(path);
}

void DocumentCommands::save()
{
    if (m_state.isUntitled()) {
        saveAs();
        return;
    }
    writeDocument(decodedPath(m_state.path));
}

void DocumentCommands::saveAs()
{
    const QString path = chooseFile(true);
    if (!path.isEmpty())
        saveAsPath(path);
}

bool DocumentCommands::openPath(const QString &path)
{
    const RouteFileRead file = readRouteFile(path);
    if (file.error) {
        reportError(*file.error);
        return false;
    }
    std::string docText = file.bytes.toStdString();
    const std::optional<std::string> description = plenix::unpackRoute(m_table, docText);
    if (!description) {
        reportError(toQString(plenix::NotARouteFileMessage));
        return false;
    }
    m_description.setPlainText(toQString(plenix::descriptionForBox(*description)));
    m_state.text = std::move(docText);
    m_state.setPath(encodedPath(path));
    showCaption();
    return true;
}

bool DocumentCommands::saveAsPath(const QString &path)
{
    if (!writeDocument(path))
        return false;
    m_state.setPath(encodedPath(path));
    showCaption();
    return true;
}

QString DocumentCommands::chooseFile(bool forSaving)
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

bool DocumentCommands::writeDocument(const QString &path)
{
    const std::optional<std::string> description = storedDescription();
    if (!description)
        return false;
    std::string docText = plenix::packRoute(m_table, *description);
    const std::optional<QString> error = writeRouteFile(
        path, QByteArrayView(docText.data(), static_cast<qsizetype>(docText.size())), m_writeStep);
    if (error) {
        reportError(*error);
        return false;
    }
    m_state.text = std::move(docText);
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
    return plenix::descriptionForFile(*bytes);
}

void DocumentCommands::showCaption()
{
    m_window.setWindowTitle(captionText(m_state));
}

void DocumentCommands::reportError(const QString &description)
{
    Dialogs::instance().message(&m_window, QStringLiteral("plenix"),
                                QStringLiteral("Error: ") + description);
}
