#include "clipboardcommands.h"

#include "descriptionbox.h"
#include "textcodec.h"

#include "document.h"
#include "editing.h"
#include "routefile.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

QString fnDescriptionClipboardText(const QPlainTextEdit &box)
{
    // The clipboard takes any character, so the text goes as UTF-8 through
    // the same line-break rule the route file uses; CR and LF never occur
    // inside a UTF-8 sequence.
    const QByteArray text = fnDescriptionBoxText(box).toUtf8();
    return QString::fromStdString(plenix::fnDescriptionForFile(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
}

QString fnListClipboardText(plenix::RouteTable &table)
{
    return toQString(plenix::fnListText(table));
}

QString fnFileNameClipboardText(const plenix::DocumentState &state)
{
    return QFile::decodeName(QByteArray::fromStdString(state.DocPath));
}

void sbClipboardSetText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
