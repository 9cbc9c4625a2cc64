// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "routefile.h"

#include <concepts>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

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
    // Said when the file was first put back from the backup of a save that
    // was cut short (see recoverInterruptedSave).
    std::optional<QString> notice;
};

RouteFileRead readRouteFile(const QString &path);

// What tells one version of a file from another: the same file, of the same
// size, last changed at the same instant.
struct FileStamp
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

std::optional<FileStamp> fileStamp(const QString &path);

// The path as a message names it: quoted, on one line.
QString quotedPath(const QString &path);

// A command line's words, the bytes given: a file name that is no valid
// UTF-8 still opens the file it names.
QStringList argumentsFromNative(int argc, char *argv[]);

// Why nothing may be written to `path`, when it leads to a pipe, a socket,
// a device or a folder rather than to a regular file or nothing.
std::optional<QString> specialFileReason(const QString &path);

// Whether two paths lead to one file, however they are spelt: a hard link,
// a symbolic link or a bind mount of it counts as the file itself.
bool isSameFile(const QString &path, const QString &other);

// A save that writes a file in place first keeps its old content in a
// backup beside it (or in the user's cache folder), and removes it once the
// new text is on disk. A backup left over means the writer died half way:
// the old content is put back whole. Says so, or why it could not be.
struct SaveRecovery
{
    std::optional<QString> notice;
    std::optional<QString> error;
};
SaveRecovery recoverInterruptedSave(const QString &path);

// A file's text in pieces written one after another, so that a route's rows
// and its description, however long, need no copy joined in memory.
class TextPieces
{
public:
    template <typename Whole>
    requires std::constructible_from<QByteArrayView, const Whole &> TextPieces(const Whole &whole)
        : m_pieces{QByteArrayView(whole)}
    {
    }
    TextPieces(std::initializer_list<QByteArrayView> pieces) : m_pieces(pieces) {}

    const std::vector<QByteArrayView> &pieces() const { return m_pieces; }
    qint64 size() const;
    // All of it in one piece, for a test's write step.
    QByteArray joined() const;

private:
    std::vector<QByteArrayView> m_pieces;
};

// Hands the bytes to the open file and returns how many it took, or -1.
// The program writes them in one go; tests put in one that stops part way.
using RouteFileWriteStep = std::function<qint64(QIODevice &file, QByteArrayView bytes)>;

// Writes the bytes to `path`; an existing file keeps its owner, group, mode
// bits, extended attributes (ACLs among them) and hard links, and a failed
// write leaves its old content. The text goes into a temporary file beside
// it that is renamed over it once written and synced; where that new file
// could not keep all of these, the file is written in place after its old
// content is copied to a backup, from which it is restored on failure. A
// symbolic link stays a link, also one to a file not made yet. With
// `unchangedSince`, a file that is no longer that version is refused.
// Returns the error, or nothing on success.
std::optional<QString> writeRouteFile(const QString &path, const TextPieces &bytes,
                                      const RouteFileWriteStep &writeStep = {},
                                      const std::optional<FileStamp> &unchangedSince = {});

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
                                    const RouteFileWriteStep &writeStep = {},
                                    const std::optional<FileStamp> &unchangedSince = {});

} // namespace plenix
