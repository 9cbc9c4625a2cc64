// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a route without ever losing the file that was there. A new text
// normally goes into a temporary file beside the target, which is renamed
// over it once complete. That rename makes a new file, so it is used only
// when the new file can carry everything the old one had: its owner, its
// group, its mode bits (set-id and sticky bits included) and its only name.
// Otherwise the text is written into the file itself, after its old content
// has been copied to a backup from which it is restored on any failure.
#include "routefileio.h"

#include "filesystem.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenix {

using namespace fileio;

namespace {

// A file made here and removed again unless it is kept.
class ScratchFile final
{
public:
    // Opens a new file from a mkstemp pattern ending in "XXXXXX" and
    // `suffixLength` more bytes.
    ScratchFile(QByteArray pattern, int suffixLength)
        : m_name(std::move(pattern)), m_fd(::mkostemps(m_name.data(), suffixLength, O_CLOEXEC))
    {
    }
    ~ScratchFile()
    {
        if (m_made && !m_kept)
            ::unlink(m_name.constData());
    }
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    bool isMade() const { return m_made; }
    int fd() const { return m_fd.get(); }
    const QByteArray &name() const { return m_name; }
    bool close() { return m_fd.close(); }
    void keep() { m_kept = true; }

private:
    QByteArray m_name;
    Descriptor m_fd;
    bool m_made = m_fd.isOpen();
    bool m_kept = false;
};

QByteArray folderOf(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0    ? QByteArrayLiteral(".")
           : slash == 0 ? QByteArrayLiteral("/")
                        : name.left(slash);
}

// A short name, whatever the target's: a target name of 255 bytes leaves no
// room for one built from it.
QByteArray scratchPattern(const QByteArray &folder, const char *ending = "")
{
    return folder + "/.plenix-XXXXXX" + ending;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

void syncFolder(const QByteArray &folder)
{
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen())
        ::fsync(dir.get());
}

// The bytes written from the file's start, by the program or by a test's step.
std::optional<QString> putBytes(const QString &path, int fd, QByteArrayView bytes,
                                const RouteFileWriteStep &writeStep)
{
    if (!writeStep) {
        if (!writeFully(fd, bytes.data(), bytes.size()))
            return failureText(path, errno);
        return std::nullopt;
    }
    QFile file;
    if (::lseek(fd, 0, SEEK_SET) != 0 ||
        !file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return failureText(path, errno);
    const qint64 written = writeStep(file, bytes);
    if (written == bytes.size())
        return std::nullopt;
    if (file.error() != QFileDevice::NoError)
        return failureText(path, file.errorString());
    return failureText(path, QStringLiteral("only %1 of %2 bytes could be written")
                                 .arg(qMax(written, qint64{0}))
                                 .arg(bytes.size()));
}

// A file that did not exist: it appears complete or not at all.
std::optional<QString> createFile(const QString &path, const QByteArray &name, QByteArrayView bytes,
                                  const RouteFileWriteStep &writeStep)
{
    const QByteArray folder = folderOf(name);
    ScratchFile scratch(scratchPattern(folder), 0);
    if (!scratch.isMade())
        return failureText(path, errno);
    if (std::optional<QString> error = putBytes(path, scratch.fd(), bytes, writeStep))
        return error;
    // mkstemp makes the file private; a new route gets what any new file gets.
    if (::fchmod(scratch.fd(), 0666 & ~currentUmask()) != 0 || ::fsync(scratch.fd()) != 0 ||
        !scratch.close() || ::rename(scratch.name().constData(), name.constData()) != 0)
        return failureText(path, errno);
    scratch.keep();
    syncFolder(folder);
    return std::nullopt;
}

struct Attempt
{
    bool done = false; // false: write in place instead
    std::optional<QString> error;
};

Attempt replaceBeside(const QString &path, const QByteArray &target, const struct stat &old,
                      QByteArrayView bytes, const RouteFileWriteStep &writeStep)
{
    const QByteArray folder = folderOf(target);
    ScratchFile scratch(scratchPattern(folder), 0);
    if (!scratch.isMade())
        return {};
    if (std::optional<QString> error = putBytes(path, scratch.fd(), bytes, writeStep))
        return {true, error};
    // The owner before the mode: a new owner clears the set-id bits.
    struct stat made
    {
    };
    if (::fchown(scratch.fd(), old.st_uid, old.st_gid) != 0 ||
        ::fchmod(scratch.fd(), old.st_mode & 07777) != 0 || ::fstat(scratch.fd(), &made) != 0 ||
        made.st_uid != old.st_uid || made.st_gid != old.st_gid ||
        (made.st_mode & 07777) != (old.st_mode & 07777))
        return {};
    if (::fsync(scratch.fd()) != 0 || !scratch.close())
        return {true, failureText(path, errno)};
    if (::rename(scratch.name().constData(), target.constData()) != 0) {
        // A file mounted on its own cannot be renamed over, nor one in a
        // sticky folder that someone else owns.
        if (errno == EBUSY || errno == EXDEV || errno == EPERM || errno == EACCES)
            return {};
        return {true, failureText(path, errno)};
    }
    scratch.keep();
    syncFolder(folder);
    return {true, std::nullopt};
}

// A copy of the old content that survives a crash: beside the file, or in
// the user's cache folder when the file's folder takes no new file.
std::unique_ptr<ScratchFile> makeBackup(int fd, qint64 size, const QByteArray &target)
{
    auto backup = std::make_unique<ScratchFile>(scratchPattern(folderOf(target), ".bak"), 4);
    if (!backup->isMade()) {
        const QString cache =
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
            QStringLiteral("/plenix");
        if (!QDir().mkpath(cache))
            return backup;
        backup = std::make_unique<ScratchFile>(scratchPattern(nativeName(cache), ".bak"), 4);
        if (!backup->isMade())
            return backup;
    }
    if (!copyContent(fd, backup->fd(), size) || ::fsync(backup->fd()) != 0) {
        const int why = errno;
        backup.reset();
        errno = why;
    }
    return backup;
}

std::optional<QString> writeInPlace(const QString &path, const QByteArray &target,
                                    const struct stat &old, QByteArrayView bytes,
                                    const RouteFileWriteStep &writeStep)
{
    Descriptor file(::open(target.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    struct stat status
    {
    };
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0)
        return failureText(path, errno);
    if (std::optional<QString> reason = notAFileReason(path, status))
        return reason;

    const std::unique_ptr<ScratchFile> backup = makeBackup(file.get(), status.st_size, target);
    if (!backup || !backup->isMade())
        return failureText(path, QStringLiteral("no backup of the old content could be made (%1)")
                                     .arg(QString::fromLocal8Bit(std::strerror(errno))));

    std::optional<QString> error = putBytes(path, file.get(), bytes, writeStep);
    if (!error && (::ftruncate(file.get(), bytes.size()) != 0 || ::fsync(file.get()) != 0))
        error = failureText(path, errno);
    if (error) {
        const bool restored = copyContent(backup->fd(), file.get(), status.st_size) &&
                              ::ftruncate(file.get(), status.st_size) == 0 &&
                              ::fsync(file.get()) == 0;
        if (!restored) {
            backup->keep();
            return *error + QStringLiteral("; the old content is kept in %1")
                                .arg(shownPath(QFile::decodeName(backup->name())));
        }
        return error;
    }
    // Writing may have cleared the set-id bits; the owner can put them back.
    if (::fstat(file.get(), &status) == 0 && (status.st_mode & 07777) != (old.st_mode & 07777))
        ::fchmod(file.get(), old.st_mode & 07777);
    if (!file.close())
        return failureText(path, errno);
    return std::nullopt;
}

} // namespace

std::optional<QString> writeRouteFile(const QString &path, QByteArrayView bytes,
                                      const RouteFileWriteStep &writeStep)
{
    const QByteArray name = nativeName(path);
    struct stat old
    {
    };
    if (::stat(name.constData(), &old) != 0) {
        if (errno != ENOENT)
            return failureText(path, errno);
        return createFile(path, name, bytes, writeStep);
    }
    if (std::optional<QString> reason = notAFileReason(path, old))
        return reason;
    // The text goes to the file a link leads to; the link stays a link.
    char *const resolved = ::realpath(name.constData(), nullptr);
    if (!resolved)
        return failureText(path, errno);
    const QByteArray target(resolved);
    std::free(resolved);
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return failureText(path, errno);

    if (old.st_nlink == 1) {
        const Attempt attempt = replaceBeside(path, target, old, bytes, writeStep);
        if (attempt.done)
            return attempt.error;
    }
    return writeInPlace(path, target, old, bytes, writeStep);
}

} // namespace plenix
