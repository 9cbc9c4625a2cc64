// SPDX-License-Identifier: GPL-3.0-or-later
#include "routefileio.h"

#include "routedocument.h"
#include "routefile.h"

#include "filesystem.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenix {

using namespace fileio;

RouteFileRead readRouteFile(const QString &path)
{
    const QByteArray name = nativeName(path);
    // Looked at before it is opened: opening a device can already act on it.
    struct stat status
    {
    };
    if (::stat(name.constData(), &status) != 0)
        return {{}, failureText(path, errno)};
    if (std::optional<QString> reason = notAFileReason(path, status))
        return {{}, reason};
    // Non-blocking, and checked again once open, in case a pipe took the
    // file's place meanwhile: opening a pipe for reading would wait for a
    // writer for ever.
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0)
        return {{}, failureText(path, errno)};
    if (std::optional<QString> reason = notAFileReason(path, status))
        return {{}, reason};
    if (status.st_size > MaxRouteFileBytes)
        return {{}, failureText(path, EFBIG)};

    // One buffer of the file's size, and one byte more to see whether the
    // file grew past the limit while it was read.
    QByteArray bytes(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qint64 got = readFully(file.get(), bytes.data(), bytes.size());
    if (got < 0)
        return {{}, failureText(path, errno)};
    while (got == bytes.size()) {
        if (bytes.size() > MaxRouteFileBytes)
            return {{}, failureText(path, EFBIG)};
        bytes.resize(qMin(bytes.size() * 2, MaxRouteFileBytes + 1));
        const qint64 more = readFully(file.get(), bytes.data() + got, bytes.size() - got);
        if (more < 0)
            return {{}, failureText(path, errno)};
        got += more;
    }
    bytes.truncate(static_cast<qsizetype>(got));
    return {std::move(bytes), std::nullopt};
}

std::string documentPath(const QString &path)
{
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

QString pathText(const std::string &documentPath)
{
    return QFile::decodeName(QByteArray::fromStdString(documentPath));
}

std::optional<QString> openDocument(RouteDocument &document, const QString &path)
{
    RouteFileRead file = readRouteFile(path);
    if (file.error)
        return file.error;
    const bool understood = document.openText(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())));
    // The file's bytes are no longer needed by the time the window shows
    // the description.
    file.bytes = QByteArray();
    if (!understood)
        return failureText(path, QLatin1StringView(NotARouteFileMessage));
    document.setPath(documentPath(path));
    return std::nullopt;
}

std::optional<QString> saveDocument(RouteDocument &document, const QString &path,
                                    const RouteFileWriteStep &writeStep)
{
    // Refused before the disk is touched: Open would refuse the file.
    if (const std::size_t size = document.fileTextSize(); size > MaxFileTextBytes)
        return failureText(path, QStringLiteral("the route's file would hold %1 bytes, more than "
                                                "the %2 (64 MiB) a route file may hold")
                                     .arg(size)
                                     .arg(MaxFileTextBytes));
    const std::string text = document.fileText();
    if (std::optional<QString> error = writeRouteFile(
            path, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())), writeStep))
        return error;
    document.setPath(documentPath(path));
    document.markSaved();
    return std::nullopt;
}

} // namespace plenix
