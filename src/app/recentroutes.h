// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace plenix {

// The routes last opened or saved, most recent first, kept in the user's
// settings: the program's one setting.
class RecentRoutes final
{
public:
    static constexpr int MaxCount = 8;

    QStringList paths() const;
    // Puts the path first, once.
    void add(const QString &path);
    void remove(const QString &path);

private:
    void store(const QStringList &paths);
};

// The menu's names of the paths: the file's name, and its folder after it
// when another path has the same name.
QStringList recentCaptions(const QStringList &paths);

} // namespace plenix
