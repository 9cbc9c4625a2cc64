// SPDX-License-Identifier: GPL-3.0-or-later
#include "routefileio.h"

#include "routedocument.h"
#include "routefile.h"

#include "filesystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenix {

using namespace fileio;

namespace {
RouteFileRead failedRead(std::optional<QString> error)
{
    return {{}, std::move(error), std::nullopt};
}

RouteFileRead readWholeFile(const QString &path)
{
    const QByteArray name = nativeName(path);
    // Looked at before it is opened: opening a device can already act on it.
    struct stat status
    {
    };
    if (::stat(name.constData(), &status) != 0)
        return failedRead(failureText(path, errno));
    if (std::optional<QString> reason = notAFileReason(path, status))
        return failedRead(reason);
    // Non-blocking, and checked again once open, in case a pipe took the
    // file's place meanwhile: opening a pipe for reading would wait for a
    // writer for ever.
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0)
        return failedRead(failureText(path, errno));
    if (std::optional<QString> reason = notAFileReason(path, status))
        return failedRead(reason);
    if (status.st_size > MaxRouteFileBytes)
        return failedRead(failureText(path, EFBIG));
    // A save under way holds the file's lock until its text is whole.
    while (::flock(file.get(), LOCK_SH) != 0)
        if (errno != EINTR)
            return failedRead(failureText(path, errno));

    // One buffer of the file's size, and one byte more to see whether the
    // file grew past the limit while it was read.
    QByteArray bytes(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qint64 got = readFully(file.get(), bytes.data(), bytes.size());
    if (got < 0)
        return failedRead(failureText(path, errno));
    while (got == bytes.size()) {
        if (bytes.size() > MaxRouteFileBytes)
            return failedRead(failureText(path, EFBIG));
        bytes.resize(qMin(bytes.size() * 2, MaxRouteFileBytes + 1));
        const qint64 more = readFully(file.get(), bytes.data() + got, bytes.size() - got);
        if (more < 0)
            return failedRead(failureText(path, errno));
        got += more;
    }
    bytes.truncate(static_cast<qsizetype>(got));
    return {std::move(bytes), std::nullopt, std::nullopt};
}
} // namespace

RouteFileRead readRouteFile(const QString &path)
{
    SaveRecovery recovery = recoverInterruptedSave(path);
    if (recovery.error)
        return failedRead(recovery.error);
    RouteFileRead read = readWholeFile(path);
    read.notice = std::move(recovery.notice);
    return read;
}

QString quotedPath(const QString &path)
{
    return shownPath(path);
}

QStringList argumentsFromNative(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << pathFromNative(QByteArrayView(argv[i]));
    return arguments;
}

std::optional<QString> specialFileReason(const QString &path)
{
    struct stat status
    {
    };
    if (::stat(nativeName(path).constData(), &status) != 0)
        return std::nullopt;
    return notAFileReason(path, status);
}

bool isSameFile(const QString &path, const QString &other)
{
    struct stat one
    {
    };
    struct stat two
    {
    };
    if (::stat(nativeName(path).constData(), &one) == 0 &&
        ::stat(nativeName(other).constData(), &two) == 0)
        return one.st_dev == two.st_dev && one.st_ino == two.st_ino;
    // A file not there yet is only the same as itself.
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(other).absoluteFilePath());
}

std::string documentPath(const QString &path)
{
    return nativeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

QString pathText(const std::string &documentPath)
{
    return pathFromNative(QByteArrayView(documentPath.data(), qsizetype(documentPath.size())));
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
                                    const RouteFileWriteStep &writeStep,
                                    const std::optional<FileStamp> &unchangedSince)
{
    // Refused before the disk is touched: Open would refuse the file.
    if (const std::size_t size = document.fileTextSize(); size > MaxFileTextBytes)
        return failureText(path, QStringLiteral("the route's file would hold %1 bytes, more than "
                                                "the %2 (64 MiB) a route file may hold")
                                     .arg(size)
                                     .arg(MaxFileTextBytes));
    const std::string head = document.fileTextHead();
    const std::string &description = document.description();
    const TextPieces text{QByteArrayView(head.data(), qsizetype(head.size())),
                          QByteArrayView(description.data(), qsizetype(description.size()))};
    if (std::optional<QString> error = writeRouteFile(path, text, writeStep, unchangedSince))
        return error;
    document.setPath(documentPath(path));
    document.markSaved();
    return std::nullopt;
}

} // namespace plenix
