// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentroutes.h"

#include <QSettings>

namespace plenix {

namespace {
const QString Key = QStringLiteral("recentRoutes");

// Named here rather than through the application's names, so that the
// settings are found whoever starts the window.
QSettings settings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("plenix"), QStringLiteral("plenix"));
}
} // namespace

QStringList RecentRoutes::paths() const
{
    return settings().value(Key).toStringList();
}

void RecentRoutes::add(const QString &path)
{
    QStringList list = paths();
    list.removeAll(path);
    list.prepend(path);
    store(list.mid(0, MaxCount));
}

void RecentRoutes::remove(const QString &path)
{
    QStringList list = paths();
    list.removeAll(path);
    store(list);
}

void RecentRoutes::store(const QStringList &list)
{
    settings().setValue(Key, list);
}

} // namespace plenix
