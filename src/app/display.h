// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace plenix {

// Whether the program can open a window here: an X or Wayland display, or a
// Qt platform chosen explicitly (offscreen, VNC, ...).
bool isDisplayAvailable();

// What the program prints instead of a window when there is no display,
// naming how to start `program` in a virtual X server.
QString noDisplayMessage(const QString &program);

} // namespace plenix
