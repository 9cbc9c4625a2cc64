// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace plenix {

class DescriptionEdit;

class RouteDocument;
class RouteTable;

// The texts the Tools menu hands to other programs. Each command replaces
// whatever the clipboard held with exactly one plain text.

// The description with CR LF line breaks, as a route file stores it.
QString descriptionClipboardText(const DescriptionEdit &box);
// The header line and the used rows, TAB between cells, CR between rows.
QString listClipboardText(const RouteTable &table);
// The current file's full path; empty for an untitled route.
QString fileNameClipboardText(const RouteDocument &document);

void setClipboardText(const QString &text);

} // namespace plenix
