// SPDX-License-Identifier: GPL-3.0-or-later
// The route file module on real files: what it refuses to read or write,
// and that a save keeps the file's owner, group, mode bits and links, and
// its old content when the write fails. As root the test works in a mount
// namespace of its own, for a full disk and a file mounted on its own, and
// saves as other users by their numbers; without root those cases skip.
#include "filesystem.h"
#include "routefileio.h"

#include "routedocument.h"

#include "coretest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace plenix;
using coretest::readAll;
using coretest::writeAll;

namespace {
constexpr uid_t Owner = 54321;  // a user this process is not
constexpr uid_t Member = 54322; // another, in the shared group
constexpr gid_t Shared = 54400;

struct stat statOf(const QString &path)
{
    struct stat status = {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

bool own(const QString &path, uid_t uid, gid_t gid, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    return ::chown(name.constData(), uid, gid) == 0 && ::chmod(name.constData(), mode) == 0;
}

// Makes a pipe, socket or device at `path`, as the kind names it.
bool makeSpecial(const QString &kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == u"pipe")
        return ::mkfifo(name.constData(), 0666) == 0;
    if (kind == u"device")
        return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// Writes as another user in a child process; whether the write succeeded.
bool writeAs(uid_t uid, const std::vector<gid_t> &groups, const QString &path,
             const QByteArray &bytes)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const bool switched = ::setgroups(groups.size(), groups.data()) == 0 &&
                              ::setresgid(groups[0], groups[0], groups[0]) == 0 &&
                              ::setresuid(uid, uid, uid) == 0;
        ::_exit(switched && !writeRouteFile(path, bytes) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
// Saves as another user under a umask in a child process; the error, or
// nothing when the save succeeded.
std::optional<QString> saveAs(uid_t uid, gid_t group, mode_t mask, const QString &path,
                              const QByteArray &bytes)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return u"no pipe"_s;
    const pid_t child = ::fork();
    if (child == 0) {
        ::umask(mask);
        const gid_t groups[] = {group};
        if (::setgroups(1, groups) != 0 || ::setresgid(group, group, group) != 0 ||
            ::setresuid(uid, uid, uid) != 0)
            ::_exit(1);
        const QByteArray error = writeRouteFile(path, bytes).value_or(QString()).toUtf8();
        ::_exit(::write(channel[1], error.constData(), size_t(error.size())) < 0 ? 1 : 0);
    }
    ::close(channel[1]);
    QByteArray error(4096, '\0');
    const ssize_t got = ::read(channel[0], error.data(), size_t(error.size()));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || got < 0)
        return u"the child failed"_s;
    return got == 0 ? std::nullopt : std::optional(QString::fromUtf8(error.left(got)));
}
} // namespace

class FileIoTest final : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    bool m_root = ::geteuid() == 0;
    bool m_mounts = false;

    QString path(const QString &name) const { return m_dir->filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        // Mounts made from here on are this process's own and go with it.
        m_mounts = m_root && ::unshare(CLONE_NEWNS) == 0 &&
                   ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }

    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        // Other users must reach the files.
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
    }

    void cleanup()
    {
        ::umount2(QFile::encodeName(path(u"full"_s)).constData(), MNT_DETACH);
        ::umount2(QFile::encodeName(path(u"mounted.txt"_s)).constData(), MNT_DETACH);
    }

    void only_regular_files_are_read_or_written_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("named pipe") << u"pipe"_s << false;
        QTest::newRow("link to a named pipe") << u"pipe"_s << true;
        QTest::newRow("socket") << u"socket"_s << false;
        QTest::newRow("device") << u"device"_s << false;
    }

    void only_regular_files_are_read_or_written()
    {
        QFETCH(QString, kind);
        QFETCH(bool, throughLink);
        if (kind == u"device" && !m_root)
            QSKIP("making a device takes root");
        const QString special = path(u"special.txt"_s);
        QVERIFY(makeSpecial(kind, special));
        const QString named = throughLink ? path(u"link.txt"_s) : special;
        if (throughLink)
            QVERIFY(QFile::link(special, named));
        const struct stat before = statOf(special);
        const QStringList filesBefore =
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

        // Reading a pipe that has no writer would wait for ever.
        const RouteFileRead read = readRouteFile(named);
        const std::optional<QString> written = writeRouteFile(named, "\t1\x80");
        QVERIFY(read.error && read.bytes.isEmpty() && written);
        for (const QString &error : {*read.error, *written})
            QVERIFY2(error.startsWith(u'"' + named + u"\": this is a"_s) &&
                         error.contains(u"not a regular file"_s),
                     qPrintable(error));
        const struct stat after = statOf(special);
        QVERIFY(after.st_mode == before.st_mode && after.st_ino == before.st_ino);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System),
                 filesBefore);
    }

    void save_keeps_the_file_and_all_it_was_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error"); // empty: the save succeeds
        // The setups: a user's file saved by root, one of mode 000, one with the
        // set-id and sticky bits, a second hard link (with a new text longer
        // and shorter than the old), a symbolic link, a name of 255 bytes, a
        // group member saving in a shared folder, a folder its owner cannot
        // write, and a file mounted on its own.
        for (const char *setup : {"owned", "mode 000", "set-id", "hard link", "hard link, shorter",
                                  "symlink", "long name", "group", "closed folder", "mounted"})
            QTest::newRow(setup) << QString::fromLatin1(setup) << QString();
        QTest::newRow("full disk") << u"full"_s << u"No space left on device"_s;
        QTest::newRow("full disk, in place")
            << u"full, hard link"_s << u"No space left on device"_s;
    }

    void save_keeps_the_file_and_all_it_was()
    {
        QFETCH(QString, setup);
        QFETCH(QString, error);
        if (!m_root)
            QSKIP("owners and mounts need root");
        if ((setup == u"mounted" || setup.startsWith(u"full")) && !m_mounts)
            QSKIP("no mount namespace here");
        const QByteArray old = "\t7\x80old route";
        const QByteArray text = setup.endsWith(u"shorter")
                                    ? QByteArray("\t1\x80")
                                    : QByteArray("\t1250\t8\x80new ") + QByteArray(256 * 1024, 'x');
        QString folder = m_dir->path();
        QString file = path(u"route.txt"_s);
        QString other; // a second name for the same content, or empty
        uid_t writer = 0;
        std::vector<gid_t> groups{0};

        if (setup.startsWith(u"full")) {
            folder = path(u"full"_s);
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                            "size=64k") == 0);
            file = folder + u"/route.txt"_s;
        } else if (setup == u"long name") {
            file = path(QString(251, u'n') + u".txt"_s);
        } else if (setup == u"closed folder") {
            folder = path(u"closed"_s);
            QVERIFY(QDir().mkdir(folder));
            file = folder + u"/route.txt"_s;
        }
        QVERIFY(writeAll(file, old));
        QVERIFY(own(file, Owner, Owner, 0640));
        if (setup == u"mode 000")
            QVERIFY(own(file, 0, 0, 0));
        if (setup == u"set-id")
            QVERIFY(own(file, Owner, Owner, 07755));
        if (setup.startsWith(u"hard link") || setup == u"full, hard link") {
            other = folder + u"/other.txt"_s;
            QVERIFY(::link(QFile::encodeName(file).constData(),
                           QFile::encodeName(other).constData()) == 0);
        }
        if (setup == u"symlink") {
            other = file;
            file = path(u"link.txt"_s);
            QVERIFY(QFile::link(other, file));
        }
        if (setup == u"group") {
            QVERIFY(own(folder, 0, Shared, 02775) && own(file, Owner, Shared, 0664));
            writer = Member;
            groups = {Shared};
        }
        if (setup == u"closed folder") {
            QVERIFY(own(file, Owner, Owner, 0644) && own(folder, Owner, Owner, 0555));
            QVERIFY(own(m_dir->path(), Owner, Owner, 0755)); // for the cache folder
            qputenv("XDG_CACHE_HOME", QFile::encodeName(path(u"cache"_s)));
            writer = Owner;
            groups = {Owner};
        }
        if (setup == u"mounted") {
            const QString mounted = path(u"mounted.txt"_s);
            QVERIFY(writeAll(mounted, "stand-in"));
            QVERIFY(::mount(QFile::encodeName(file).constData(),
                            QFile::encodeName(mounted).constData(), nullptr, MS_BIND,
                            nullptr) == 0);
            other = file;
            file = mounted;
        }
        const struct stat before = statOf(file);
        const QStringList filesBefore = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

        if (writer == 0) {
            const QString message = writeRouteFile(file, text).value_or(QString());
            QCOMPARE(message, error.isEmpty() ? error : u"\"%1\": %2"_s.arg(file, error));
        } else {
            QVERIFY(writeAs(writer, groups, file, text));
        }
        qunsetenv("XDG_CACHE_HOME");
        const QByteArray expected = error.isEmpty() ? text : old;
        QVERIFY(readAll(file) == expected);
        if (!other.isEmpty())
            QVERIFY(readAll(other) == expected);
        const struct stat after = statOf(file);
        const auto kept = [](const struct stat &s) {
            return std::tuple(s.st_uid, s.st_gid, s.st_mode, s.st_nlink);
        };
        QVERIFY(kept(after) == kept(before));
        if (setup == u"symlink")
            QVERIFY(QFileInfo(file).isSymLink());
        else if (!other.isEmpty())
            QCOMPARE(after.st_ino, before.st_ino);
        // No temporary file or backup left anywhere.
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), filesBefore);
        QCOMPARE(QDir(path(u"cache/plenix"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList());
    }

    void new_file_appears_whole_or_not_at_all()
    {
        if (!m_mounts)
            QSKIP("no mount namespace here");
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const QString folder = path(u"full"_s);
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") ==
                0);
        const QString file = folder + u"/new.txt"_s;
        QCOMPARE(writeRouteFile(file, QByteArray(256 * 1024, '\x80')),
                 u"\"%1\": No space left on device"_s.arg(file));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(writeRouteFile(file, "\x80new"), std::nullopt);
        QCOMPARE(readAll(file), QByteArray("\x80new"));
        QCOMPARE(statOf(file).st_mode & 0777, 0666 & ~mask);
        // Reading the umask leaves it as it was for the next new file.
        const QString second = folder + u"/second.txt"_s;
        QCOMPARE(writeRouteFile(second, "\x80"), std::nullopt);
        QCOMPARE(statOf(second).st_mode & 0777, 0666 & ~mask);
    }

    // An ordinary user's saves under the umasks users set: a new file's
    // mode, a read-only file or folder, and a folder shared by a group.
    void ordinary_user_saves_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("mode"); // the file's afterwards; 0 when it is not there
        for (const int mask : {022, 027, 002}) {
            const QByteArray umask = "umask 0" + QByteArray::number(mask, 8);
            const auto row = [&](const char *setup, bool saved, int mode) {
                QTest::addRow("%s, %s", setup, umask.constData())
                    << QString::fromLatin1(setup) << mask << saved << mode;
            };
            row("new file", true, 0666 & ~mask);
            row("read-only file", false, 0444);
            row("read-only folder, new file", false, 0);
            row("read-only folder, own file", true, 0640);
            row("group folder, new file", true, 0666 & ~mask);
            row("group folder, a member's file", true, 0664);
        }
    }

    void ordinary_user_saves()
    {
        QFETCH(QString, setup);
        QFETCH(int, mask);
        QFETCH(bool, saved);
        QFETCH(int, mode);
        if (!m_root)
            QSKIP("switching users needs root");
        const QString folder = path(u"folder"_s), file = folder + u"/route.txt"_s;
        const QByteArray old = "\t7\x80old", text = "\t1250\t8\x80new";
        QVERIFY(QDir().mkdir(folder));
        const bool group = setup.startsWith(u"group");
        QVERIFY(own(folder, Owner, group ? Shared : Owner, group ? 02775 : 0755));
        if (!setup.endsWith(u"new file")) {
            QVERIFY(writeAll(file, old));
            QVERIFY(own(file, Owner, group ? Shared : Owner,
                        setup == u"read-only file" ? 0444
                        : group                    ? 0664
                                                   : 0640));
        }
        if (setup.startsWith(u"read-only folder"))
            QVERIFY(own(folder, Owner, Owner, 0555));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(path(u"cache"_s)));
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777) == 0);
        const std::optional<QString> error =
            saveAs(group ? Member : Owner, group ? Shared : Owner, mode_t(mask), file, text);
        qunsetenv("XDG_CACHE_HOME");
        QCOMPARE(error.value_or(QString()),
                 saved ? QString() : u"\"%1\": Permission denied"_s.arg(file));
        QCOMPARE(readAll(file), saved ? text : mode ? old : QByteArray("<unreadable>"));
        const struct stat after = statOf(file);
        QCOMPARE(int(after.st_mode & 07777), mode ? mode : 0);
        if (mode)
            QVERIFY(after.st_gid == (group ? Shared : Owner) &&
                    after.st_uid == (setup == u"group folder, new file" ? Member : Owner));
    }

    void read_takes_a_file_up_to_the_size_limit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("small") << qint64(3) << true;
        QTest::newRow("at the limit") << MaxRouteFileBytes << true;
        QTest::newRow("over the limit") << MaxRouteFileBytes + 1 << false;
    }

    void read_takes_a_file_up_to_the_size_limit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, read);
        QFile file(path(u"sized.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        file.close();
        const RouteFileRead result = readRouteFile(file.fileName());
        QCOMPARE(result.bytes.size(), read ? size : 0);
        QCOMPARE(result.error.value_or(QString()),
                 read ? QString() : u"\"%1\": File too large"_s.arg(file.fileName()));
    }

    // A write that stops part way, and a route too large for Open to take.
    void failed_saves_keep_the_old_content()
    {
        const QString file = path(u"route.txt"_s);
        QVERIFY(writeAll(file, "\t7\x80old"));
        const auto halfWrite = [](QIODevice &device, QByteArrayView bytes) {
            return device.write(bytes.constData(), bytes.size() / 2);
        };
        QVERIFY(writeRouteFile(file, "\t1250\t8\x80new", halfWrite).has_value());
        plenix::RouteDocument huge;
        huge.setDescription(std::string(plenix::MaxFileTextBytes, 'd'));
        const std::optional<QString> refusal = saveDocument(huge, file);
        QVERIFY2(refusal && refusal->contains(u"would hold %1 bytes, more than the %2 (64 MiB)"_s
                                                  .arg(huge.fileTextSize())
                                                  .arg(plenix::MaxFileTextBytes)),
                 qPrintable(refusal.value_or(QString())));
        QCOMPARE(readAll(file), QByteArray("\t7\x80old"));
    }

    // A save killed half way, in place (a file with two names) or beside it:
    // the next read gets the whole old content back, and says so when it
    // had to put it back; the next save clears the dead save's leftovers.
    void killed_save_leaves_the_old_content_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("in place") << true;
        QTest::newRow("beside") << false;
    }

    void killed_save_leaves_the_old_content()
    {
        QFETCH(bool, inPlace);
        const QString file = path(u"route.txt"_s);
        const QByteArray old = "\t7\x80" + QByteArray(64 * 1024, 'o');
        QVERIFY(writeAll(file, old));
        if (inPlace)
            QVERIFY(::link(QFile::encodeName(file).constData(),
                           QFile::encodeName(path(u"alias.txt"_s)).constData()) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            writeRouteFile(file, "\t1\x80" + QByteArray(96 * 1024, 'n'),
                           [](QIODevice &device, QByteArrayView bytes) -> qint64 {
                               device.write(bytes.constData(), bytes.size() / 2);
                               ::_exit(9);
                           });
            ::_exit(0);
        }
        int status = 0;
        QVERIFY(::waitpid(child, &status, 0) == child && WEXITSTATUS(status) == 9);
        const QStringList left = QDir(m_dir->path()).entryList(QDir::Hidden | QDir::Files);
        QCOMPARE(left.filter(u".plenix-"_s).size(), 1);

        const RouteFileRead read = readRouteFile(file);
        QCOMPARE(read.bytes, old);
        QCOMPARE(read.notice.has_value(), inPlace);
        if (inPlace)
            QVERIFY2(read.notice->startsWith(u'"' + file + u"\" was restored from \""_s),
                     qPrintable(*read.notice));
        QCOMPARE(readRouteFile(file).notice, std::nullopt);
        // Another user's leftover of a dead save, in a folder they share, is theirs.
        QStringList theirs;
        if (!inPlace && ::geteuid() == 0) {
            theirs << left.filter(u".plenix-"_s).first().chopped(10) + u"other0.tmp"_s;
            QVERIFY(writeAll(path(theirs.first()), "theirs") &&
                    ::chown(QFile::encodeName(path(theirs.first())).constData(), 65534, 65534) ==
                        0);
        }
        QCOMPARE(writeRouteFile(file, "\t2\x80"), std::nullopt);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Hidden | QDir::Files).filter(u".plenix-"_s),
                 theirs);
    }

    // A save waits for the lock that another writer holds on the file, and
    // writes once it is let go.
    void save_waits_for_another_writer()
    {
        const QString file = path(u"route.txt"_s);
        QVERIFY(writeAll(file, "\t7\x80old"));
        const int held = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(held); // the lock stays with the parent's descriptor
            ::_exit(writeRouteFile(file, "\t1\x80new") ? 1 : 0);
        }
        // Time enough for an unlocked save to finish many times over.
        QTest::qWait(300);
        const QByteArray whileHeld = readAll(file);
        ::close(held);
        int status = 0;
        QVERIFY(::waitpid(child, &status, 0) == child && WEXITSTATUS(status) == 0);
        QCOMPARE(whileHeld, QByteArray("\t7\x80old"));
        QCOMPARE(readAll(file), QByteArray("\t1\x80new"));
    }

    // The guards of a save: a link that leads nowhere yet is written through
    // and kept; extended attributes stay; a file changed since it was read
    // is not overwritten; and one file under two names is the same file.
    void save_guards()
    {
        const QString target = path(u"made-later.txt"_s);
        const QString link = path(u"link.txt"_s);
        QVERIFY(QFile::link(u"made-later.txt"_s, link));
        QCOMPARE(writeRouteFile(link, "\t1\x80"), std::nullopt);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(target), QByteArray("\t1\x80"));

        const QByteArray name = QFile::encodeName(target);
        if (::setxattr(name.constData(), "user.plenix-test", "kept", 4, 0) == 0) {
            QCOMPARE(writeRouteFile(target, "\t2\x80"), std::nullopt);
            char value[8] = {};
            QCOMPARE(::getxattr(name.constData(), "user.plenix-test", value, sizeof value), 4);
            QCOMPARE(QByteArray(value), QByteArray("kept"));
        }

        // Read through the link, the file's own version counts: unchanged,
        // it is written; changed meanwhile, it is refused.
        QCOMPARE(writeRouteFile(link, "\t3\x80", {}, fileStamp(link)), std::nullopt);
        const std::optional<FileStamp> read = fileStamp(link);
        QVERIFY(writeAll(target, "\t3\x80"
                                 "changed meanwhile"));
        QCOMPARE(writeRouteFile(link, "\t4\x80", {}, read),
                 u"\"%1\": the file has changed on disk since it was read"_s.arg(link));
        QCOMPARE(readAll(target), QByteArray("\t3\x80"
                                             "changed meanwhile"));

        // A second name or other permissions are no change of what it holds.
        const std::optional<FileStamp> before = fileStamp(target);
        QVERIFY(::link(name.constData(), QFile::encodeName(path(u"alias.txt"_s)).constData()) == 0);
        QVERIFY(::chmod(name.constData(), 0640) == 0);
        QCOMPARE(writeRouteFile(target, "\t5\x80", {}, before), std::nullopt);
        QVERIFY(isSameFile(path(u"alias.txt"_s), link));
        QVERIFY(!isSameFile(path(u"alias.txt"_s), path(u"other.txt"_s)));
        QVERIFY(!isSameFile(path(u"missing.txt"_s), path(u"other.txt"_s)));
    }

    void file_name_in_a_message_stays_on_one_line()
    {
        const QString file = path(u"two\nlines.txt"_s);
        const RouteFileRead read = readRouteFile(file);
        QCOMPARE(*read.error,
                 u"\"%1\": No such file or directory"_s.arg(path(u"two\u240Alines.txt"_s)));
    }

    // A name's bytes survive the trip through a QString, whatever their
    // encoding: UTF-8 beyond U+FFFF, Latin-1, and stray bytes after either.
    void names_keep_their_bytes_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("ASCII") << QByteArray("plan.txt");
        QTest::newRow("U+1F480") << QByteArray("plan \xF0\x9F\x92\x80.txt");
        QTest::newRow("Latin-1") << QByteArray("caf\xE9.txt");
        QTest::newRow("a stray byte after U+1F480") << QByteArray("\xF0\x9F\x92\x80\x80");
    }

    void names_keep_their_bytes()
    {
        QFETCH(QByteArray, name);
        QCOMPARE(fileio::nativeName(fileio::pathFromNative(name)), name);
    }
};

QTEST_GUILESS_MAIN(FileIoTest)
#include "tst_fileio.moc"
