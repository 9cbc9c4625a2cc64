// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

#include <sys/stat.h>

namespace plenix {

// The small POSIX layer under the route file module: descriptors that close
// themselves, the system's wording of a failure with the file named in it,
// and what kind of thing a path leads to.
struct FileStamp;

namespace fileio {

class Descriptor final
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now; false with errno set when the close reports a failure,
    // which for a file just written means its bytes may not have arrived.
    bool close();

private:
    int m_fd;
};

QByteArray nativeName(const QString &path);
QString pathFromNative(QByteArrayView name);

// The path as a message shows it: on one line, quoted.
QString shownPath(const QString &path);
// "<path>": <the system's text for the error code>
QString failureText(const QString &path, int errorCode);
QString failureText(const QString &path, const QString &reason);

// Nothing for a regular file; otherwise why a route cannot live in what the
// status describes.
std::optional<QString> notAFileReason(const QString &path, const struct stat &status);

FileStamp stampOf(const struct stat &status);

// Reads until the buffer is full or the file ends; the count, or -1.
qint64 readFully(int fd, char *data, qint64 size);
// Writes everything at `offset` (the file's start unless given), or fails;
// false with errno set.
bool writeFully(int fd, const char *data, qint64 size, qint64 offset = 0);
// The first `size` bytes of one file written over the start of another.
bool copyContent(int from, int to, qint64 size);

} // namespace fileio

} // namespace plenix
