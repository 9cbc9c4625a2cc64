// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentroutes.h"

#include <QDir>
#include <QFileInfo>
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

QStringList recentCaptions(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QFileInfo(path).fileName();
    QStringList captions;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QString caption = names.at(i);
        if (names.count(caption) > 1)
            caption += QStringLiteral(" \u2014 ") +
                       QDir::toNativeSeparators(QFileInfo(paths.at(i)).absolutePath());
        captions << caption;
    }
    return captions;
}

} // namespace plenix
