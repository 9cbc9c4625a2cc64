// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentroutes.h"

#include "usersettings.h"

#include <QDir>
#include <QFileInfo>

namespace plenix {

namespace {
const QString Key = QStringLiteral("recentRoutes");
} // namespace

QStringList RecentRoutes::paths() const
{
    return userSettings().value(Key).toStringList();
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
    userSettings().setValue(Key, list);
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
