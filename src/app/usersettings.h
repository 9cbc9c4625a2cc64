// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

namespace plenix {

// The user's settings: the recent routes and the window's arrangement.
// Named here rather than through the application's names, so that they are
// found whoever starts the window.
inline QSettings userSettings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("plenix"), QStringLiteral("plenix"));
}

} // namespace plenix
