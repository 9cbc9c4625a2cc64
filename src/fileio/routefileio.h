// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "routefile.h"

#include <functional>
#include <optional>
#include <string>

class QIODevice;

namespace plenix {

class RouteDocument;

// Route files are read and written whole within one command. A failure comes
// back as the file's name and the system's description of the failure, ready
// for the "Error: " box. Only regular files are read or written, once
// symbolic links are followed: a pipe, socket or device is refused without
// waiting on it and without changing it.

// The core's limit on a route file, as a file size.
inline constexpr qint64 MaxRouteFileBytes = static_cast<qint64>(MaxFileTextBytes);

struct RouteFileRead
{
    QByteArray bytes;
    std::optional<QString> error;
};

RouteFileRead readRouteFile(const QString &path);

// Hands the bytes to the open file and returns how many it took, or -1.
// The program writes them in one go; tests put in one that stops part way.
using RouteFileWriteStep = std::function<qint64(QIODevice &file, QByteArrayView bytes)>;

// Writes the bytes to `path`; an existing file keeps its owner, group, mode
// bits and hard links, and a failed write leaves its old content. The text
// goes into a temporary file beside it that is renamed over it once written
// and synced; where that new file could not keep all of these, the file is
// written in place after its old content is copied to a backup, from which
// it is restored on failure. Returns the error, or nothing on success.
std::optional<QString> writeRouteFile(const QString &path, QByteArrayView bytes,
                                      const RouteFileWriteStep &writeStep = {});

// A path as the document keeps it (absolute, in the file system's encoding)
// and back.
std::string documentPath(const QString &path);
QString pathText(const std::string &documentPath);

// Open: the route and description of the file at `path`, which then names
// the document. A failure changes nothing.
std::optional<QString> openDocument(RouteDocument &document, const QString &path);

// Save and Save As: the document's file text written to `path`, which then
// names the document; the document counts as saved. A failure changes
// nothing, neither on disk nor in the document.
std::optional<QString> saveDocument(RouteDocument &document, const QString &path,
                                    const RouteFileWriteStep &writeStep = {});

} // namespace plenix
