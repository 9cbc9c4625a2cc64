// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace plenix {

// A copy of a document's unsaved work that outlives a crash. While the
// document has unsaved changes, its text (as its file would hold it) is
// written at most every 30 s to the user's data folder, never beside the
// user's file; a save, a discard or a clean exit removes it. A copy whose
// process is gone was left by a crash, and the next start offers it.
class RecoveryCopy final : public QObject
{
    Q_OBJECT

public:
    struct Snapshot
    {
        std::string text;
        QString extension; // "txt" or "plenix"
        QString path;      // the document's own file; empty when untitled
    };

    explicit RecoveryCopy(std::function<Snapshot()> snapshot, QObject *parent = nullptr);
    ~RecoveryCopy() override;
    Q_DISABLE_COPY_MOVE(RecoveryCopy)

    // The document changed; the copy is brought up to date on the next tick.
    void noteChange() { ++m_generation; }
    // Unsaved changes started (the ticks begin) or ended (the copy goes).
    void setModified(bool modified);
    // Written at once, and kept when the program ends: a SIGTERM or SIGHUP.
    void writeAndKeep();

    struct LeftCopy
    {
        QString copy; // the recovery file
        QString path; // the document's own file; empty when untitled
    };
    // The copies of processes that are gone, newest first.
    static std::vector<LeftCopy> leftCopies();
    static void remove(const LeftCopy &left);
    static QString folder();

private:
    void write();
    void removeOwn();

    std::function<Snapshot()> m_snapshot;
    QTimer m_timer;
    QString m_base; // folder/PID-N: the copy is BASE.EXT, its document's path BASE.path
    QString m_written;
    quint64 m_generation = 1;
    quint64 m_writtenGeneration = 0;
    bool m_keep = false;
};

} // namespace plenix
