// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardcommands.h"

#include "descriptionbox.h"
#include "textcodec.h"

#include "routefileio.h"

#include "editing.h"
#include "routedocument.h"
#include "routefile.h"

#include <QClipboard>
#include <QGuiApplication>

namespace plenix {

QString descriptionClipboardText(const DescriptionEdit &box)
{
    // The clipboard takes any character, so the text goes as UTF-8 through
    // the same line-break rule the route file uses; CR and LF never occur
    // inside a UTF-8 sequence.
    const QByteArray text = descriptionBoxText(box).toUtf8();
    return QString::fromStdString(descriptionForFile(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
}

QString listClipboardText(const RouteTable &table)
{
    return toQString(listText(table));
}

QString fileNameClipboardText(const RouteDocument &document)
{
    return pathText(document.path());
}

void setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace plenix
