#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QIODevice;

namespace plenix {
class RouteDocument;
} // namespace plenix

// Route files are read and written whole within one command. A failure comes
// back as the system's description of it, ready for the "Error: " box.

// No route file comes anywhere near this size. A larger file is refused
// before it is read, so a wrong pick in the Open dialog cannot eat the memory.
inline constexpr qint64 MaxRouteFileBytes = qint64{64} * 1024 * 1024;

struct RouteFileRead
{
    QByteArray bytes;
    std::optional<QString> error;
};

RouteFileRead readRouteFile(const QString &path);

// Hands the bytes to the open file and returns how many it took, or -1.
// The program writes them in one go; tests put in one that stops part way.
using RouteFileWriteStep = std::function<qint64(QIODevice &file, QByteArrayView bytes)>;

// Writes into a temporary file beside `path` and renames that over `path`
// only once every byte is written and flushed, so a failed write leaves the
// file that was there untouched. An existing file keeps its permissions.
// Returns the error, or nothing on success.
std::optional<QString> writeRouteFile(const QString &path, QByteArrayView bytes,
                                      const RouteFileWriteStep &writeStep = {});

// A path as the document keeps it (absolute, in the file system's encoding)
// and back.
std::string documentPath(const QString &path);
QString pathText(const std::string &documentPath);

// Open: the route and description of the file at `path`, which then names
// the document. A failure changes nothing.
std::optional<QString> openDocument(plenix::RouteDocument &document, const QString &path);

// Save and Save As: the document's file text written to `path`, which then
// names the document; the document counts as saved. A failure changes
// nothing, neither on disk nor in the document.
std::optional<QString> saveDocument(plenix::RouteDocument &document, const QString &path,
                                    const RouteFileWriteStep &writeStep = {});
