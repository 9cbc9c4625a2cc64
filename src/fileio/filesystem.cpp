// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesystem.h"

#include "routefileio.h"

#include "routedocument.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace plenix {

namespace fileio {

Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Descriptor::close()
{
    const int fd = m_fd;
    m_fd = -1;
    // Linux frees the descriptor even when close fails, so it is never
    // retried.
    return fd < 0 || ::close(fd) == 0;
}

// A byte that is no part of a UTF-8 character travels in a QString as a lone
// low surrogate, U+DC80 to U+DCFF, and turns back into itself here: a name
// in another encoding then opens the file it names.
QByteArray nativeName(const QString &path)
{
    QByteArray name;
    name.reserve(path.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        const bool escaped = i < path.size() && path[i].unicode() >= 0xDC80 &&
                             path[i].unicode() <= 0xDCFF &&
                             (i == 0 || !path[i - 1].isHighSurrogate());
        if (!escaped && i < path.size())
            continue;
        name += QStringView(path).sliced(start, i - start).toUtf8();
        if (escaped)
            name += char(path[i].unicode() - 0xDC00);
        start = i + 1;
    }
    return name;
}

QString pathFromNative(QByteArrayView name)
{
    QString path;
    path.reserve(name.size());
    const std::string_view bytes(name.data(), static_cast<std::size_t>(name.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8CharLength(bytes.substr(i));
        if (length == 0) {
            path += QChar(char16_t(0xDC00 + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        path += QString::fromUtf8(bytes.data() + i, qsizetype(length));
        i += length;
    }
    return path;
}

QString shownPath(const QString &path)
{
    const QByteArray name = nativeName(path);
    const std::string oneLine =
        oneLineName(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    return QLatin1Char('"') + QString::fromStdString(oneLine) + QLatin1Char('"');
}

QString failureText(const QString &path, int errorCode)
{
    return failureText(path, QString::fromLocal8Bit(std::strerror(errorCode)));
}

QString failureText(const QString &path, const QString &reason)
{
    return shownPath(path) + QStringLiteral(": ") + reason;
}

std::optional<QString> notAFileReason(const QString &path, const struct stat &status)
{
    if (S_ISREG(status.st_mode))
        return std::nullopt;
    if (S_ISDIR(status.st_mode))
        return failureText(path, EISDIR);
    const char *kind = S_ISFIFO(status.st_mode)                             ? "a named pipe"
                       : S_ISSOCK(status.st_mode)                           ? "a socket"
                       : S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode) ? "a device"
                                                                            : "a special file";
    return failureText(path, QStringLiteral("this is %1, not a regular file; a route is read "
                                            "from and written to regular files only")
                                 .arg(QLatin1StringView(kind)));
}

FileStamp stampOf(const struct stat &status)
{
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

qint64 readFully(int fd, char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, data + done, static_cast<std::size_t>(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool writeFully(int fd, const char *data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t put =
            ::pwrite(fd, data + done, static_cast<std::size_t>(size - done), offset + done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        done += put;
    }
    return true;
}

bool copyContent(int from, int to, qint64 size)
{
    QByteArray chunk(qint64{1} << 20, Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const auto want = static_cast<std::size_t>(qMin(size - done, qint64{chunk.size()}));
        const ssize_t got = ::pread(from, chunk.data(), want, done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO; // the copy came up short
            return false;
        }
        for (qint64 put = 0; put < got;) {
            const ssize_t n = ::pwrite(to, chunk.constData() + put,
                                       static_cast<std::size_t>(got - put), done + put);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            put += n;
        }
        done += got;
    }
    return true;
}

} // namespace fileio

} // namespace plenix
