// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a route without ever losing the file that was there. A new text
// normally goes into a temporary file beside the target, which is renamed
// over it once complete. That rename makes a new file, so it is used only
// when the new file can carry everything the old one had: its owner, its
// group, its mode bits (set-id and sticky bits included) and its only name.
// Otherwise the text is written into the file itself, after its old content
// has been copied to a backup from which it is restored on any failure, and
// from which the next Open or save restores it when the writer died half way.
//
// Writers of one file take turns: each holds an exclusive lock on the file
// for its write, and a reader a shared one, so that no reader sees a text
// half written and no two texts mix.
#include "routefileio.h"

#include "filesystem.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <climits>
#include <csignal>
#include <dirent.h>
#include <sys/file.h>
#include <sys/xattr.h>

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
// room for one built from it. The process number in it tells a stray, left
// by a save that was killed, from the file of a save still running.
constexpr QByteArrayView ScratchPrefix = ".plenix-";
constexpr QByteArrayView ScratchEnding = ".tmp";

QByteArray scratchPattern(const QByteArray &folder)
{
    return folder + '/' + ScratchPrefix.toByteArray() + QByteArray::number(::getpid()) + "-XXXXXX" +
           ScratchEnding.toByteArray();
}

// Removes the temporary files of this program's saves in `folder` whose
// process is gone; another user's files and every other file are left alone.
void removeStrays(const QByteArray &folder)
{
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(folder.constData()), ::closedir);
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir.get())) {
        // ".plenix-" PID "-" six random characters ".tmp"
        const QByteArrayView name(entry->d_name);
        const qsizetype pidLength = name.size() - ScratchPrefix.size() - 7 - ScratchEnding.size();
        if (pidLength <= 0 || !name.startsWith(ScratchPrefix) || !name.endsWith(ScratchEnding))
            continue;
        bool isNumber = false;
        const pid_t pid = name.sliced(ScratchPrefix.size(), pidLength).toInt(&isNumber);
        if (!isNumber || pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        struct stat status
        {
        };
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
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
std::optional<QString> putBytes(const QString &path, int fd, const TextPieces &bytes,
                                const RouteFileWriteStep &writeStep)
{
    if (!writeStep) {
        qint64 offset = 0;
        for (const QByteArrayView piece : bytes.pieces()) {
            if (!writeFully(fd, piece.data(), piece.size(), offset))
                return failureText(path, errno);
            offset += piece.size();
        }
        return std::nullopt;
    }
    QFile file;
    if (::lseek(fd, 0, SEEK_SET) != 0 ||
        !file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return failureText(path, errno);
    const qint64 written = writeStep(file, bytes.joined());
    if (written == bytes.size())
        return std::nullopt;
    if (file.error() != QFileDevice::NoError)
        return failureText(path, file.errorString());
    return failureText(path, QStringLiteral("only %1 of %2 bytes could be written")
                                 .arg(qMax(written, qint64{0}))
                                 .arg(bytes.size()));
}

// A file that did not exist: it appears complete or not at all.
std::optional<QString> createFile(const QString &path, const QByteArray &name,
                                  const TextPieces &bytes, const RouteFileWriteStep &writeStep)
{
    const QByteArray folder = folderOf(name);
    removeStrays(folder);
    ScratchFile scratch(scratchPattern(folder), int(ScratchEnding.size()));
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

// The extended attributes of the old file, POSIX ACLs among them, given to
// the new one; false when one cannot be, and the file is written in place.
bool copyAttributes(const QByteArray &target, int to)
{
    const ssize_t listSize = ::llistxattr(target.constData(), nullptr, 0);
    if (listSize <= 0)
        return listSize == 0 || errno == ENOTSUP;
    QByteArray names(listSize, Qt::Uninitialized);
    const ssize_t got = ::llistxattr(target.constData(), names.data(), std::size_t(names.size()));
    if (got < 0)
        return false;
    for (const QByteArray &attribute : names.left(got).split('\0')) {
        if (attribute.isEmpty())
            continue;
        const ssize_t size = ::lgetxattr(target.constData(), attribute.constData(), nullptr, 0);
        if (size < 0)
            return false;
        QByteArray value(size, Qt::Uninitialized);
        const ssize_t read = ::lgetxattr(target.constData(), attribute.constData(), value.data(),
                                         std::size_t(value.size()));
        if (read < 0 ||
            ::fsetxattr(to, attribute.constData(), value.constData(), std::size_t(read), 0) != 0)
            return false;
    }
    return true;
}

struct Attempt
{
    bool done = false; // false: write in place instead
    std::optional<QString> error;
};

Attempt replaceBeside(const QString &path, const QByteArray &target, const struct stat &old,
                      const TextPieces &bytes, const RouteFileWriteStep &writeStep)
{
    const QByteArray folder = folderOf(target);
    removeStrays(folder);
    ScratchFile scratch(scratchPattern(folder), int(ScratchEnding.size()));
    if (!scratch.isMade())
        return {};
    if (std::optional<QString> error = putBytes(path, scratch.fd(), bytes, writeStep))
        return {true, error};
    // The owner before the mode: a new owner clears the set-id bits.
    struct stat made
    {
    };
    if (::fchown(scratch.fd(), old.st_uid, old.st_gid) != 0 ||
        ::fchmod(scratch.fd(), old.st_mode & 07777) != 0 || !copyAttributes(target, scratch.fd()) ||
        ::fstat(scratch.fd(), &made) != 0 || made.st_uid != old.st_uid ||
        made.st_gid != old.st_gid || (made.st_mode & 07777) != (old.st_mode & 07777))
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

// The places of the backup of a file's old content: beside it, or in the
// user's cache folder when the file's folder takes no new file. The name
// follows the file's device and inode, which an in-place write keeps, so
// that whoever opens the file next finds it whatever name it is opened by.
QByteArray backupName(const QByteArray &folder, const struct stat &file)
{
    return folder + "/.plenix-backup-" + QByteArray::number(quint64(file.st_dev), 16) + '-' +
           QByteArray::number(quint64(file.st_ino), 16);
}

QByteArray cacheFolder()
{
    return nativeName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                      QStringLiteral("/plenix"));
}

// A copy of the old content that survives a crash, under its backup name
// only once it is complete and on disk: a save killed while copying leaves
// no backup, and the file untouched.
std::optional<QByteArray> makeBackup(int fd, const struct stat &file, const QByteArray &target)
{
    for (const QByteArray &folder : {folderOf(target), cacheFolder()}) {
        if (folder != folderOf(target) && !QDir().mkpath(pathFromNative(folder)))
            break;
        removeStrays(folder);
        ScratchFile copy(scratchPattern(folder), int(ScratchEnding.size()));
        if (!copy.isMade())
            continue;
        const QByteArray name = backupName(folder, file);
        if (!copyContent(fd, copy.fd(), file.st_size) || ::fsync(copy.fd()) != 0 || !copy.close() ||
            ::rename(copy.name().constData(), name.constData()) != 0)
            return std::nullopt;
        copy.keep();
        syncFolder(folder);
        return name;
    }
    return std::nullopt;
}

// The old content put back from a backup, which then goes; false, with the
// backup kept, when that fails.
bool restoreFrom(const QByteArray &backup, int fd)
{
    const Descriptor copy(::open(backup.constData(), O_RDONLY | O_CLOEXEC));
    struct stat status
    {
    };
    if (!copy.isOpen() || ::fstat(copy.get(), &status) != 0 ||
        !copyContent(copy.get(), fd, status.st_size) || ::ftruncate(fd, status.st_size) != 0 ||
        ::fsync(fd) != 0)
        return false;
    ::unlink(backup.constData());
    syncFolder(folderOf(backup));
    return true;
}

void removeBackup(const QByteArray &name)
{
    ::unlink(name.constData());
    syncFolder(folderOf(name));
}

// The backup of a save of this file that did not finish, if one is left.
std::optional<QByteArray> leftBackup(const QByteArray &target, const struct stat &file)
{
    for (const QByteArray &folder : {folderOf(target), cacheFolder()}) {
        const QByteArray name = backupName(folder, file);
        struct stat status
        {
        };
        if (::lstat(name.constData(), &status) == 0 && S_ISREG(status.st_mode))
            return name;
    }
    return std::nullopt;
}

std::optional<QString> writeInPlace(const QString &path, int fd, const QByteArray &target,
                                    const struct stat &old, const TextPieces &bytes,
                                    const RouteFileWriteStep &writeStep)
{
    const std::optional<QByteArray> backup = makeBackup(fd, old, target);
    if (!backup)
        return failureText(path, QStringLiteral("no backup of the old content could be made (%1)")
                                     .arg(QString::fromLocal8Bit(std::strerror(errno))));

    std::optional<QString> error = putBytes(path, fd, bytes, writeStep);
    if (!error && (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0))
        error = failureText(path, errno);
    if (error) {
        if (!restoreFrom(*backup, fd))
            return *error + QStringLiteral("; the old content is kept in %1")
                                .arg(shownPath(pathFromNative(*backup)));
        return error;
    }
    removeBackup(*backup);
    // Writing may have cleared the set-id bits; the owner can put them back.
    struct stat status
    {
    };
    if (::fstat(fd, &status) == 0 && (status.st_mode & 07777) != (old.st_mode & 07777))
        ::fchmod(fd, old.st_mode & 07777);
    return std::nullopt;
}

// The file a path leads to once every symbolic link is followed, also when
// the last one leads nowhere yet: a save then makes the file the link names
// and keeps the link, as editors do.
std::optional<QByteArray> finalName(const QByteArray &name)
{
    QByteArray current = name;
    for (int links = 0; links < 40; ++links) {
        struct stat status
        {
        };
        if (::lstat(current.constData(), &status) != 0)
            return errno == ENOENT ? std::optional(current) : std::nullopt;
        if (!S_ISLNK(status.st_mode)) {
            char *const resolved = ::realpath(current.constData(), nullptr);
            if (!resolved)
                return std::nullopt;
            const QByteArray target(resolved);
            std::free(resolved);
            return target;
        }
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t size = ::readlink(current.constData(), link.data(), std::size_t(PATH_MAX));
        if (size < 0)
            return std::nullopt;
        link.truncate(size);
        current = link.startsWith('/') ? link : folderOf(current) + '/' + link;
    }
    errno = ELOOP;
    return std::nullopt;
}

// The file at `target` opened and locked for a write. A writer that got the
// lock first may have renamed a new file over the name meanwhile; then the
// lock is taken again on that one.
Descriptor lockForWriting(const QByteArray &target, struct stat &status)
{
    for (;;) {
        Descriptor file(::open(target.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
        if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
            return file;
        while (::flock(file.get(), LOCK_EX) != 0)
            if (errno != EINTR)
                return Descriptor();
        // The writer before may have changed the file while this one waited.
        struct stat now
        {
        };
        if (::fstat(file.get(), &status) != 0 || ::stat(target.constData(), &now) != 0 ||
            (now.st_dev == status.st_dev && now.st_ino == status.st_ino))
            return file;
    }
}

} // namespace

qint64 TextPieces::size() const
{
    qint64 size = 0;
    for (const QByteArrayView piece : m_pieces)
        size += piece.size();
    return size;
}

QByteArray TextPieces::joined() const
{
    QByteArray whole;
    whole.reserve(size());
    for (const QByteArrayView piece : m_pieces)
        whole += piece;
    return whole;
}

std::optional<QString> writeRouteFile(const QString &path, const TextPieces &bytes,
                                      const RouteFileWriteStep &writeStep,
                                      const std::optional<FileStamp> &unchangedSince)
{
    const std::optional<QByteArray> target = finalName(nativeName(path));
    if (!target)
        return failureText(path, errno);
    struct stat old
    {
    };
    if (::stat(target->constData(), &old) != 0) {
        if (errno != ENOENT)
            return failureText(path, errno);
        if (unchangedSince)
            return failureText(path, QStringLiteral("the file has gone since it was read"));
        return createFile(path, *target, bytes, writeStep);
    }
    if (std::optional<QString> reason = notAFileReason(path, old))
        return reason;
    const Descriptor file = lockForWriting(*target, old);
    if (!file.isOpen())
        return failureText(path, errno);
    if (std::optional<QString> reason = notAFileReason(path, old))
        return reason;
    if (unchangedSince && stampOf(old) != *unchangedSince)
        return failureText(path, QStringLiteral("the file has changed on disk since it was read"));
    if (const std::optional<QByteArray> backup = leftBackup(*target, old)) {
        if (!restoreFrom(*backup, file.get()))
            return failureText(path, errno);
        ::fstat(file.get(), &old);
    }

    if (old.st_nlink == 1) {
        const Attempt attempt = replaceBeside(path, *target, old, bytes, writeStep);
        if (attempt.done)
            return attempt.error;
    }
    return writeInPlace(path, file.get(), *target, old, bytes, writeStep);
}

SaveRecovery recoverInterruptedSave(const QString &path)
{
    const std::optional<QByteArray> target = finalName(nativeName(path));
    struct stat status
    {
    };
    if (!target || ::stat(target->constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
        !leftBackup(*target, status))
        return {};
    const Descriptor file = lockForWriting(*target, status);
    // Under the lock, a backup still there is one whose save died.
    const std::optional<QByteArray> backup =
        file.isOpen() ? leftBackup(*target, status) : std::nullopt;
    if (!backup)
        return {};
    const QString backupText = shownPath(pathFromNative(*backup));
    if (!restoreFrom(*backup, file.get()))
        return {
            std::nullopt,
            failureText(path, QStringLiteral("a save was cut short, and the old content it "
                                             "kept in %1 could not be put back (%2)")
                                  .arg(backupText, QString::fromLocal8Bit(std::strerror(errno))))};
    return {QStringLiteral("%1 was restored from %2, the copy of its old content that a save "
                           "cut short had kept")
                .arg(shownPath(path), backupText),
            std::nullopt};
}

std::optional<FileStamp> fileStamp(const QString &path)
{
    struct stat status
    {
    };
    if (::stat(nativeName(path).constData(), &status) != 0)
        return std::nullopt;
    return stampOf(status);
}

} // namespace plenix
