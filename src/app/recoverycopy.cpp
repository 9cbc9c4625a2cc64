// SPDX-License-Identifier: GPL-3.0-or-later
#include "recoverycopy.h"

#include "routefileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
constexpr int IntervalMs = 30'000;

QString pathFile(const QString &base)
{
    return base + u".path"_s;
}
} // namespace

RecoveryCopy::RecoveryCopy(std::function<Snapshot()> snapshot, QObject *parent)
    : QObject(parent), m_snapshot(std::move(snapshot))
{
    static std::atomic<int> made{0};
    m_base = folder() + u'/' + QString::number(::getpid()) + u'-' + QString::number(++made);
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::write);
}

RecoveryCopy::~RecoveryCopy()
{
    if (!m_keep)
        removeOwn();
}

QString RecoveryCopy::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/recovery"_s;
}

void RecoveryCopy::setModified(bool modified)
{
    if (modified) {
        if (!m_timer.isActive())
            m_timer.start();
        return;
    }
    m_timer.stop();
    removeOwn();
}

void RecoveryCopy::writeAndKeep()
{
    m_keep = true;
    if (m_timer.isActive())
        write();
}

void RecoveryCopy::write()
{
    if (m_writtenGeneration == m_generation)
        return;
    const Snapshot snapshot = m_snapshot();
    const QString copy = m_base + u'.' + snapshot.extension;
    if (!QDir().mkpath(folder()))
        return;
    // A failed copy is tried again on the next tick; the document itself is
    // untouched either way.
    if (writeRouteFile(copy,
                       QByteArrayView(snapshot.text.data(), qsizetype(snapshot.text.size()))) ||
        writeRouteFile(pathFile(m_base), snapshot.path.toUtf8()))
        return;
    if (!m_written.isEmpty() && m_written != copy)
        QFile::remove(m_written);
    m_written = copy;
    m_writtenGeneration = m_generation;
}

void RecoveryCopy::removeOwn()
{
    if (m_written.isEmpty())
        return;
    remove({m_written, {}});
    m_written.clear();
    m_writtenGeneration = 0;
}

std::vector<RecoveryCopy::LeftCopy> RecoveryCopy::leftCopies()
{
    std::vector<LeftCopy> left;
    const QFileInfoList files =
        QDir(folder()).entryInfoList({u"*.txt"_s, u"*.plenix"_s}, QDir::Files, QDir::Time);
    for (const QFileInfo &file : files) {
        bool isNumber = false;
        const pid_t pid = file.completeBaseName().section(u'-', 0, 0).toInt(&isNumber);
        // Another Plenix still running keeps its copy.
        if (!isNumber || pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        QFile path(pathFile(file.path() + u'/' + file.completeBaseName()));
        const QString document =
            path.open(QIODevice::ReadOnly) ? QString::fromUtf8(path.readAll()) : QString();
        left.push_back({file.filePath(), document});
    }
    return left;
}

void RecoveryCopy::remove(const LeftCopy &left)
{
    const QFileInfo copy(left.copy);
    QFile::remove(left.copy);
    QFile::remove(pathFile(copy.path() + u'/' + copy.completeBaseName()));
}

} // namespace plenix
